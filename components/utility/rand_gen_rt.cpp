// Runtime random value sources: record fields, enable input and the shared schedule.
#include "components/utility/rand_gen_rt.h"

namespace zor2 {

namespace {

bool ReadEnable(CRModelInput* in) {
    if (!in) return true;
    in->Pull();
    const bool on = in->HasSource() ? in->m_value != 0.0 : true;
    in->m_value = on ? 1.0 : 0.0;
    return on;
}

double DrawNow(const CRNetworkModel& self, const CRandomDraw& draw, bool enabled, uint32_t& seconds) {
    seconds = 0;
    if (!enabled) return 0.0;
    const double v = DrawRandom(draw, self.Random());
    if (draw.timing == kTimingSeconds) seconds = RuntimeSeconds(self.Clock().TickMs());
    return v;
}

}  // namespace

size_t CRModelRandGen::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    RandGenFieldList(in, m_fields);
    m_enable = FindInput(10);
    return offset + (in.Position() - start);
}

int32_t CRModelRandGen::GetInputValues() {
    m_fields.enabled = ReadEnable(m_enable);
    return 0;
}

int32_t CRModelRandGen::Execute() {
    uint32_t seconds = 0;
    const double v = DrawNow(*this, m_fields.draw, m_fields.enabled, seconds);
    const double out = RandGenStep(m_fields.draw, m_state, m_fields.enabled, v, seconds);
    if (CRModelOutput* o = FirstOutput()) o->m_value = out;
    return 0;
}

size_t CRModelDynamicNumber::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    DynamicFieldList(in, m_fields);
    m_enable = FindInput(10);
    return offset + (in.Position() - start);
}

int32_t CRModelDynamicNumber::GetInputValues() {
    m_fields.enabled = ReadEnable(m_enable);
    return 0;
}

int32_t CRModelDynamicNumber::Execute() {
    uint32_t seconds = 0;
    const double v = DrawNow(*this, m_fields.draw, m_fields.enabled, seconds);
    m_value = DynamicStep(m_fields, m_state, v, seconds, m_value);
    if (CRModelOutput* o = FirstOutput()) o->m_value = m_value;
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> CreateRandGen(int32_t typeId) {
    return std::make_unique<CRModelRandGen>(typeId);
}
std::unique_ptr<CRNetworkModel> CreateDynamic(int32_t typeId) {
    return std::make_unique<CRModelDynamicNumber>(typeId);
}
constexpr CRuntimeType kRandomTypes[] = {{kTypeRandGen, CreateRandGen}, {kTypeDynamicNumber, CreateDynamic}};
}  // namespace

std::span<const CRuntimeType> RandomRuntimeTypes() {
    return kRandomTypes;
}

}  // namespace zor2
