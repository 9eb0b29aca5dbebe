// The window's document: system, path, modified mark and undo snapshots.
#include "designer/gui/document_seam.h"

#include <QFileInfo>

namespace zor2::gui {

CGuiDocument::CGuiDocument() {
    m_system.SetRecorder(this);
    NewProject();
}

void CGuiDocument::NewProject() {
    m_system.NewProject();
    m_path.clear();
    m_modified = false;
    m_undo.clear();
    m_redo.clear();
    CheckPoint();
}

CFileResult CGuiDocument::Open(const QString& path) {
    CFileResult r = LoadProjectFile(m_system, path.toStdString());
    if (!r) return r;
    m_system.ComputeLevels();
    m_path = path;
    m_modified = false;
    m_undo.clear();
    m_redo.clear();
    CheckPoint();
    return r;
}

CFileResult CGuiDocument::Save(const QString& path) {
    const std::string name = QFileInfo(path).completeBaseName().toStdString();
    const std::string previous = m_system.m_name;
    m_system.m_name = name;
    CFileResult r = SaveProjectFile(m_system, path.toStdString());
    if (!r) {
        m_system.m_name = previous;
        return r;
    }
    m_path = path;
    m_modified = false;
    return r;
}

void CGuiDocument::RecordChange(const std::string& line) {
    m_modified = true;
    m_system.Feedback().build.Add(line);
    CheckPoint();
}

void CGuiDocument::CheckPoint() {
    m_undo.push_front(SaveProjectBytes(m_system));
    if (m_undo.size() > kUndoLevels + 1) m_undo.pop_back();
    m_redo.clear();
}

bool CGuiDocument::Load(const std::vector<uint8_t>& bytes) {
    if (!LoadProjectBytes(m_system, bytes)) return false;
    m_system.ComputeLevels();
    m_modified = true;
    return true;
}

bool CGuiDocument::Undo() {
    if (!CanUndo()) return false;
    if (!Load(m_undo[1])) return false;
    m_redo.push_front(std::move(m_undo.front()));
    m_undo.pop_front();
    return true;
}

bool CGuiDocument::Redo() {
    if (!CanRedo()) return false;
    if (!Load(m_redo.front())) return false;
    m_undo.push_front(std::move(m_redo.front()));
    m_redo.pop_front();
    if (m_undo.size() > kUndoLevels + 1) m_undo.pop_back();
    return true;
}

QString CGuiDocument::Title() const {
    if (!m_path.isEmpty()) return QFileInfo(m_path).completeBaseName();
    return QString::fromStdString(m_system.m_name);
}

}  // namespace zor2::gui
