// Data Value Storage (type 67): holds a value with the cycle count and time
// stamps of the last enabled cycle.
#pragma once

#include "components/utility/data_store_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelDataStore : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelDataStore"; }
    /// Base part, then stored value, two reserved doubles, stored flag, enabled.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;

    const CDataStoreFields& Fields() const { return m_fields; }

  private:
    /// Forgets the stored value; outputs 10-40 show "-", output 50 goes to 0.
    void Clear();

    CDataStoreFields m_fields;
};

}  // namespace zor2
