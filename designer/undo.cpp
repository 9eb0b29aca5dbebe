// Snapshot lists of undo and redo and their level limit.
#include "designer/undo.h"

#include "algo/platform.h"
#include "engine/system.h"
#include "persistence/project_file.h"

namespace zor2 {

void CUndo::TraceLevels() const {
    Trace("Number of Undo Levels: %d\n", static_cast<int>(m_undo.size()));
}

void CUndo::CheckPoint() {
    // The snapshot that falls out (the oldest level, or a redo level that is
    // discarded anyway) lends its memory to the new one.
    std::vector<uint8_t> snapshot;
    if (m_undo.size() > kMaxLevels) {
        snapshot = std::move(m_undo.back());
        m_undo.pop_back();
    } else if (!m_redo.empty()) {
        snapshot = std::move(m_redo.back());
        m_redo.pop_back();
    }
    snapshot.clear();
    WriteSnapshot(snapshot);
    m_undo.push_front(std::move(snapshot));
    m_redo.clear();
    TraceLevels();
}

bool CUndo::Restore(const std::vector<uint8_t>& bytes) {
    std::string error;
    if (!ReadSnapshot(bytes, error)) {
        Trace("Undo snapshot not restored: %s\n", error.c_str());
        return false;
    }
    AfterRestore();
    return true;
}

bool CUndo::Undo() {
    if (!CanUndo()) return false;
    m_redo.push_front(std::move(m_undo.front()));
    m_undo.pop_front();
    if (Restore(m_undo.front())) {
        TraceLevels();
        return true;
    }
    // The document did not change, so neither do the lists.
    m_undo.push_front(std::move(m_redo.front()));
    m_redo.pop_front();
    return false;
}

bool CUndo::Redo() {
    if (!CanRedo()) return false;
    std::vector<uint8_t> snapshot = std::move(m_redo.front());
    m_redo.pop_front();
    if (!Restore(snapshot)) {
        m_redo.push_front(std::move(snapshot));
        return false;
    }
    if (m_undo.size() > kMaxLevels) m_undo.pop_back();
    m_undo.push_front(std::move(snapshot));
    TraceLevels();
    return true;
}

void CSystemUndo::WriteSnapshot(std::vector<uint8_t>& bytes) {
    SaveProjectBytes(m_system, bytes);
}

bool CSystemUndo::ReadSnapshot(const std::vector<uint8_t>& bytes, std::string& error) {
    const CFileResult r = LoadProjectBytes(m_system, bytes);
    if (!r) error = r.message;
    return r.ok;
}

}  // namespace zor2
