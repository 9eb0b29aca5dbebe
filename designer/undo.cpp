// Snapshot lists of undo and redo and their level limit.
#include "designer/undo.h"

#include <algorithm>
#include <iterator>

#include "algo/platform.h"
#include "engine/component.h"
#include "engine/network.h"
#include "engine/system.h"
#include "persistence/archive.h"
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

// Settings that project records cannot carry ride behind the project bytes of
// a snapshot: entries (module id, component id, the type's settings), then the
// entry count, the length of the entries and a marker. A snapshot without such
// settings is exactly the project file.
namespace {

constexpr uint8_t kUnsavedMarker[8] = {'Z', 'O', 'R', '2', 'U', 'N', 'D', 'O'};
constexpr size_t kTrailerBytes = 4 + 4 + sizeof(kUnsavedMarker);

void AppendUnsavedSettings(CSystem& system, std::vector<uint8_t>& bytes) {
    CArchive ar;
    int32_t count = 0;
    for (CNetwork* module : system.m_modules) {
        for (CNetworkModel* component : module->m_components) {
            const size_t start = ar.Position();
            int32_t moduleId = module->m_id;
            int32_t componentId = component->m_id;
            ar.I32(moduleId);
            ar.I32(componentId);
            if (component->UnsavedSettings(ar)) {
                ++count;
            } else {
                ar.Rewind(start);
            }
        }
    }
    if (count == 0) return;
    int32_t length = static_cast<int32_t>(ar.Position());
    ar.I32(count);
    ar.I32(length);
    const std::vector<uint8_t>& tail = ar.Bytes();
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    bytes.insert(bytes.end(), std::begin(kUnsavedMarker), std::end(kUnsavedMarker));
}

// The length of the project part of a snapshot and where its entries start.
size_t ProjectPart(const std::vector<uint8_t>& bytes, size_t& entriesAt, int32_t& count) {
    count = 0;
    entriesAt = bytes.size();
    if (bytes.size() < kTrailerBytes || !std::equal(std::begin(kUnsavedMarker), std::end(kUnsavedMarker),
                                                    bytes.end() - sizeof(kUnsavedMarker)))
        return bytes.size();
    CArchive counts(bytes.data() + bytes.size() - kTrailerBytes, 8);
    int32_t length = 0;
    counts.I32(count);
    counts.I32(length);
    if (counts.Failed() || count < 0 || length < 0 ||
        static_cast<size_t>(length) > bytes.size() - kTrailerBytes) {
        count = 0;
        return bytes.size();
    }
    entriesAt = bytes.size() - kTrailerBytes - static_cast<size_t>(length);
    return entriesAt;
}

// The entries were written in the order of the module and component lists,
// which a snapshot restores, so one walk in that order meets them in turn.
void ApplyUnsavedSettings(CSystem& system, const uint8_t* data, size_t size, int32_t count) {
    CArchive ar(data, size);
    int32_t moduleId = 0;
    int32_t componentId = 0;
    auto next = [&] {
        if (count-- <= 0) return false;
        ar.I32(moduleId);
        ar.I32(componentId);
        return !ar.Failed();
    };
    if (!next()) return;
    for (CNetwork* module : system.m_modules) {
        if (module->m_id != moduleId) continue;
        for (CNetworkModel* component : module->m_components) {
            if (module->m_id != moduleId || component->m_id != componentId) continue;
            // Entries carry no lengths: one a component does not read back ends the walk.
            if (!component->UnsavedSettings(ar) || ar.Failed() || !next()) return;
        }
    }
}

}  // namespace

void CSystemUndo::WriteSnapshot(std::vector<uint8_t>& bytes) {
    SaveProjectBytes(m_system, bytes);
    AppendUnsavedSettings(m_system, bytes);
}

bool CSystemUndo::ReadSnapshot(const std::vector<uint8_t>& bytes, std::string& error) {
    size_t entriesAt = 0;
    int32_t count = 0;
    const size_t projectSize = ProjectPart(bytes, entriesAt, count);
    const CFileResult r = LoadProjectBytes(m_system, bytes.data(), projectSize);
    if (!r) {
        error = r.message;
        return false;
    }
    if (count > 0)
        ApplyUnsavedSettings(m_system, bytes.data() + entriesAt, bytes.size() - kTrailerBytes - entriesAt,
                             count);
    return true;
}

}  // namespace zor2
