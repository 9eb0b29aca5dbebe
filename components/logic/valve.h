// The valve (type 9): passes "ValueIN" while "Enabler" is true.
#pragma once

#include "engine/component.h"

namespace zor2 {

class CModelValve : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelValve"; }
    void GetInputValues() override;
    void Execute() override;

    bool IsOpen() const { return m_open; }

  private:
    bool m_open = false;  // "Enabler" in this cycle
};

}  // namespace zor2
