// CGuiDocument: what the window needs of the document — the one system, its
// path and modified mark, the change-recording routine and undo snapshots in
// project-file bytes — kept behind one class so the window reaches the
// document through a single seam.
#pragma once

#include <QString>
#include <cstdint>
#include <deque>
#include <vector>

#include "engine/report.h"
#include "engine/system.h"
#include "persistence/project_file.h"

namespace zor2::gui {

class CGuiDocument final : public IChangeRecorder {
public:
    static constexpr size_t kUndoLevels = 20;

    CGuiDocument();
    CSystem& System() { return m_system; }

    /// A new empty project: catalogue, default categories, first checkpoint.
    void NewProject();
    /// Loads a project; on failure nothing changes and the result says why.
    CFileResult Open(const QString& path);
    /// Saves to `path` (the path becomes the document's path).
    CFileResult Save(const QString& path);

    void RecordChange(const std::string& feedbackLine) override;
    void CheckPoint();
    bool CanUndo() const { return m_undo.size() > 1; }
    bool CanRedo() const { return !m_redo.empty(); }
    bool Undo();
    bool Redo();
    size_t UndoLevels() const { return m_undo.size(); }

    const QString& Path() const { return m_path; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    /// The project name for the title: the file's base name, or the system name.
    QString Title() const;

private:
    bool Load(const std::vector<uint8_t>& bytes);

    CSystem m_system;
    QString m_path;
    bool m_modified = false;
    std::deque<std::vector<uint8_t>> m_undo;  // head: current state
    std::deque<std::vector<uint8_t>> m_redo;
};

}  // namespace zor2::gui
