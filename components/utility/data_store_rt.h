// Runtime Data Value Storage: stores as the designer does; both time stamps
// are the process clock in seconds (the runtime has no simulated time).
#pragma once

#include "components/utility/data_store_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelDataStore final : public CRNetworkModel {
  public:
    explicit CRModelDataStore(int32_t typeId) : CRNetworkModel(typeId) {}
    /// Base record, then the 26 bytes of the stored fields.
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;
    /// The component's own reset (its "Reset" input, or disabled with nothing stored).
    void Reset();

  private:
    CDataStoreFields m_fields;
    CRModelInput* m_in[3] = {};    // inputs 10, 20, 30
    CRModelOutput* m_out[5] = {};  // outputs 10 … 50
};

}  // namespace zor2
