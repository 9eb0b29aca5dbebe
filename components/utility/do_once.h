// Do Once (type 90): the "Trigger" output is 1 in the first cycle whose
// "Event" input is true after a reset, and 0 otherwise.
#pragma once

#include "components/utility/do_once_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelDoOnce : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelDoOnce"; }
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;

    bool Done() const { return m_state.done; }
    bool Event() const { return m_state.event; }

  private:
    CDoOnceState m_state;
};

}  // namespace zor2
