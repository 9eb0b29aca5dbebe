// Runtime Quantity Diminishing: record fields, input phase and the container step.
#include "components/utility/quantity_diminish_rt.h"

namespace zor2 {

size_t CRModelQuantityDiminish::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    QuantityFieldList(in, m_fields);
    m_reset = FindInput(20);
    m_consume = FindInput(30);
    m_fill = FindInput(40);
    for (int k = 0; k < 4; ++k) {
        for (CRModelOutput& out : m_outputs) {
            if (out.m_id == 10 * (k + 1)) {
                m_outs[k] = &out;
                break;
            }
        }
    }
    return offset + (in.Position() - start);
}

int32_t CRModelQuantityDiminish::GetInputValues() {
    if (CRModelInput* enable = FirstInput()) {
        enable->Pull();
        m_fields.enabled = enable->HasSource() ? enable->m_value != 0.0 : true;
        enable->m_value = m_fields.enabled ? 1.0 : 0.0;
    }
    if (m_fill) {
        if (m_fill->HasSource())
            m_fill->Pull();
        else
            m_fill->m_value = 0.0;
    }
    if (m_consume) {
        if (m_consume->HasSource()) {
            m_consume->Pull();
            m_autoMode = false;
        } else {
            m_consume->m_value = m_autoMode ? m_autoRate : 0.0;
        }
    }
    if (m_reset) {
        m_reset->Pull();
        m_reset->m_value = (m_reset->HasSource() && m_reset->m_value != 0.0) ? 1.0 : 0.0;
    }
    return 0;
}

int32_t CRModelQuantityDiminish::Execute() {
    if (m_reset && m_reset->m_value > kQuantityResetThreshold) {
        Reset();
    } else {
        m_value = QuantityCycle(m_value, m_fields, m_autoMode, m_autoRate,
                                m_consume ? m_consume->m_value : 0.0, m_fill ? m_fill->m_value : 0.0);
    }
    double values[4];
    QuantityOutputs(m_value, m_fields, values);
    for (int k = 0; k < 4; ++k) {
        if (m_outs[k]) m_outs[k]->m_value = values[k];
    }
    return 0;
}

void CRModelQuantityDiminish::Reset() {
    m_value = m_fields.maximum;
    if (m_outs[0]) m_outs[0]->m_value = m_value;
}

namespace {
std::unique_ptr<CRNetworkModel> CreateQuantity(int32_t typeId) {
    return std::make_unique<CRModelQuantityDiminish>(typeId);
}
constexpr CRuntimeType kQuantityTypes[] = {{kTypeQuantityDiminish, CreateQuantity}};
}  // namespace

std::span<const CRuntimeType> QuantityDiminishRuntimeTypes() {
    return kQuantityTypes;
}

}  // namespace zor2
