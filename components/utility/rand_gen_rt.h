// Runtime RandNum Generator (type 43) and Dynamic Sim Value (type 81): compute
// as the designer does, drawing from the process's random source; the whole
// seconds of the second timing are computed in single precision.
#pragma once

#include "components/utility/rand_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelRandGen final : public CRNetworkModel {
  public:
    explicit CRModelRandGen(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;
    /// Clears the schedule (counter, last time, last number).
    void Reset() { m_state.Reset(); }

  private:
    CRandGenFields m_fields;
    CRandomState m_state;
    CRModelInput* m_enable = nullptr;  // input 10
};

class CRModelDynamicNumber final : public CRNetworkModel {
  public:
    explicit CRModelDynamicNumber(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;
    /// Back to the start value with a cleared schedule.
    void Reset() {
        m_value = m_fields.start;
        m_state.Reset();
    }

  private:
    CDynamicFields m_fields;
    CRandomState m_state;
    CRModelInput* m_enable = nullptr;  // input 10
};

}  // namespace zor2
