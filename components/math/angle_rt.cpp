// Runtime trigonometric functions: unconnected "Enable" and "Radians?" count as true.
#include "components/math/angle_rt.h"

#include "components/logic/truth_check_kernel.h"

namespace zor2 {

namespace {
bool ReadFlag(CRModelInput& in) {
    const bool on = !in.HasSource() || IsTrue(*in.m_source);
    in.m_value = on ? 1.0 : 0.0;
    return on;
}
}  // namespace

size_t CRModelAngle::ReadRuntime(CByteReader& in, size_t offset) {
    offset = CRNetworkModel::ReadRuntime(in, offset);
    m_radiansInput = FindInput(20);
    m_valueInput = FindInput(30);
    return offset;
}

int32_t CRModelAngle::GetInputValues() {
    if (CRModelInput* enable = FirstInput()) m_enabled = ReadFlag(*enable);
    if (m_radiansInput) m_radians = ReadFlag(*m_radiansInput);
    if (CRModelInput* v = m_valueInput) {
        if (v->HasSource())
            v->Pull();
        else
            v->m_value = 0.0;
        m_value = v->m_value;
    }
    return 0;
}

int32_t CRModelAngle::Execute() {
    if (CRModelOutput* out = FirstOutput())
        out->m_value = AngleCompute(m_function, m_enabled, m_radians, m_value);
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelAngle>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kAngleSine, Create}, {kAngleCosine, Create}, {kAngleTangent, Create}};
}  // namespace

std::span<const CRuntimeType> AngleRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
