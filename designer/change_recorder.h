// The designer side of the single change-recording routine: mark the document
// modified, put the line on top of "System Build Feedback", take a checkpoint.
#pragma once

#include <functional>
#include <string>

#include "engine/report.h"

namespace zor2 {

class CSystem;
class CUndo;

class CChangeRecorder final : public IChangeRecorder {
  public:
    /// Attaches itself to `system` as its recorder; detaches when destroyed.
    CChangeRecorder(CSystem& system, CUndo& undo);
    ~CChangeRecorder() override;
    CChangeRecorder(const CChangeRecorder&) = delete;
    CChangeRecorder& operator=(const CChangeRecorder&) = delete;

    void RecordChange(const std::string& feedbackLine) override;

    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    /// Called last for every recorded change (the GUI refreshes its panes).
    std::function<void(const std::string&)> m_afterRecord;

  private:
    CSystem& m_system;
    CUndo& m_undo;
    bool m_modified = false;
};

}  // namespace zor2
