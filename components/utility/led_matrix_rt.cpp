// Runtime 8x8 LED components: the controller's record and published picture.
#include "components/utility/led_matrix_rt.h"

#include <algorithm>

#include "algo/record_archive.h"
#include "runtime/rt_inputs.h"

namespace zor2 {

size_t CRModel8x8Controller::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    int32_t count = 0;
    if (ReadBase(in) && in.Bool(m_enabled) && in.I32(count))
        ReadRecords<CLedPatternRecord>(in, count, "picture", m_patterns,
                                       [](CPattern64Bit& p, const CLedPatternRecord& r) {
                                           p.m_id = r.m_id;
                                           p.m_number = r.m_number;
                                           p.m_cells = r.m_cells;
                                       });
    m_on = FindInput(10);
    return offset + (in.Position() - start);
}

int32_t CRModel8x8Controller::GetInputValues() {
    m_enabled = RuntimeOnOff(m_on);
    m_value = m_inputs.empty() ? 0.0 : RuntimeSourceValue(&m_inputs.back());
    return 0;
}

int32_t CRModel8x8Controller::Execute() {
    ControllerPicture(m_patterns, m_enabled, TriggerKey(m_value), m_picture);
    if (CRModelOutput* out = FirstOutput()) {
        out->m_arrayData = m_picture.data();
        out->m_arrayCount = kLedCells;
        const auto [low, high] = std::minmax_element(m_picture.begin(), m_picture.end());
        out->m_spareValue = *low;
        out->m_heldValue = *high;
    }
    return 0;
}

namespace {
template <class T>
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<T>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kType8x8Controller, Create<CRModel8x8Controller>},
                                   {kType8x8Display, Create<CRModel8x8Display>}};
}  // namespace

std::span<const CRuntimeType> LedMatrixRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
