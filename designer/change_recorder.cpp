// The change-recording routine every editing operation ends with.
#include "designer/change_recorder.h"

#include "designer/undo.h"
#include "engine/system.h"

namespace zor2 {

CChangeRecorder::CChangeRecorder(CSystem& system, CUndo& undo) : m_system(system), m_undo(undo) {
    m_system.SetRecorder(this);
}

CChangeRecorder::~CChangeRecorder() {
    m_system.SetRecorder(nullptr);
}

void CChangeRecorder::RecordChange(const std::string& feedbackLine) {
    m_modified = true;
    m_system.Feedback().build.Add(feedbackLine);
    m_undo.CheckPoint();
    if (m_afterRecord) m_afterRecord(feedbackLine);
}

}  // namespace zor2
