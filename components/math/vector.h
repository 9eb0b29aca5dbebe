// The vector components (types 61-66): one designer class whose behaviour the
// type id chooses — magnitude, normalisation, or the arithmetic of two vectors.
#pragma once

#include <string>
#include <vector>

#include "components/math/vector_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelVector2 : public CNetworkModel {
  public:
    explicit CModelVector2(int32_t typeId);
    const char* ClassName() const override { return "CModelVector2"; }
    /// Base part, then operation, dimension, enabled.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;

    int32_t Operation() const { return m_fields.operation; }
    int32_t Dimension() const { return m_fields.dimension; }
    bool Enabled() const { return m_fields.enabled; }
    bool Ready() const { return m_ready; }
    const CVectorOperands& Operands() const { return m_operands; }
    /// The dialog's choice (3 to 6). The outputs keep their ids and labels: an
    /// operation with a single result then writes output 10 only. Other values
    /// are refused (false).
    bool SetOperation(int32_t operation);
    /// "Process:" and the process line drawn under the box.
    std::vector<std::string> HelperText() const override;

  private:
    CVectorOperands m_operands;
    CVectorFields m_fields;
    bool m_ready = false;  // every operand input was found in this cycle's input phase
};

}  // namespace zor2
