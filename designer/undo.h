// Multi-level undo and redo by snapshots: each level is the whole document in
// the project-file format, 20 levels plus the current state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace zor2 {

class CSystem;

class CUndo {
  public:
    /// Levels that can be undone; the undo list holds one more (the current state).
    static constexpr size_t kMaxLevels = 20;

    virtual ~CUndo() = default;

    /// Records the current state as a new level and discards every redo level.
    void CheckPoint();
    /// Steps back one level. False (nothing changes) when not enabled or when
    /// the snapshot could not be read.
    bool Undo();
    /// Steps forward one level; false when not enabled.
    bool Redo();
    bool CanUndo() const { return m_undo.size() > 1; }
    bool CanRedo() const { return !m_redo.empty(); }
    void ClearUndoList() { m_undo.clear(); }
    void ClearRedoList() { m_redo.clear(); }

    size_t UndoListSize() const { return m_undo.size(); }
    size_t RedoListSize() const { return m_redo.size(); }
    /// The snapshot of the current state (null before the first checkpoint).
    const std::vector<uint8_t>* Current() const { return m_undo.empty() ? nullptr : &m_undo.front(); }

  protected:
    /// Writes the whole document in the project-file format into `bytes`
    /// (empty; its memory may come from a discarded snapshot).
    virtual void WriteSnapshot(std::vector<uint8_t>& bytes) = 0;
    /// Replaces the document by a snapshot; on failure the document is unchanged
    /// and `error` says why.
    virtual bool ReadSnapshot(const std::vector<uint8_t>& bytes, std::string& error) = 0;
    /// Rebuilds what depends on the document after an undo or redo (views, panes).
    virtual void AfterRestore() {}

  private:
    bool Restore(const std::vector<uint8_t>& bytes);
    void TraceLevels() const;

    std::deque<std::vector<uint8_t>> m_undo;  // newest at the front: the current state
    std::deque<std::vector<uint8_t>> m_redo;  // most recently undone at the front
};

/// Undo over one system: snapshots are its project-file bytes.
class CSystemUndo : public CUndo {
  public:
    explicit CSystemUndo(CSystem& system) : m_system(system) {}
    CSystem& System() const { return m_system; }

  protected:
    void WriteSnapshot(std::vector<uint8_t>& bytes) override;
    bool ReadSnapshot(const std::vector<uint8_t>& bytes, std::string& error) override;

  private:
    CSystem& m_system;
};

}  // namespace zor2
