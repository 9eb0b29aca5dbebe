// Random value sources: type table, input phase, schedule, reset and records.
#include "components/utility/rand_gen.h"

#include <cmath>
#include <cstdio>

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/value_text.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kRandInputs[] = {{10, "On Off"}};
constexpr CPortTemplate kRandOutputs[] = {{10, "Rand Number", kDataDouble, 0}};
constexpr CPortTemplate kDynamicInputs[] = {{10, "Enable"}};
constexpr CPortTemplate kDynamicOutputs[] = {{10, "Cumulative Number", kDataDouble, 2}};
std::unique_ptr<CNetworkModel> CreateRandGen(int32_t) {
    return std::make_unique<CModelRandGen>();
}
std::unique_ptr<CNetworkModel> CreateDynamic(int32_t) {
    return std::make_unique<CModelDynamicNumber>();
}
constexpr CComponentType kTypes[] = {
    {kTypeRandGen, kRandInputs, kRandOutputs, 1, 1, CreateRandGen},
    {kTypeDynamicNumber, kDynamicInputs, kDynamicOutputs, 1, 1, CreateDynamic},
};

/// The shared input phase: input 10 switches the component (on without a source).
bool ReadEnable(CNetworkModel& c) {
    CModelInput* in = c.FindInput(10);
    if (!in) return true;
    const bool on = in->HasSource() ? CNetworkModel::SourceValue(*in) != 0.0 : true;
    in->m_value = on ? 1.0 : 0.0;
    in->m_text.SetText(on ? "On" : "Off");
    return on;
}

/// The draw and the seconds of one enabled Execute.
double DrawNow(const CNetworkModel& c, const CRandomDraw& draw, bool enabled, uint32_t& seconds) {
    seconds = 0;
    if (!enabled) return 0.0;
    const double v = DrawRandom(draw, c.Random());
    if (draw.timing == kTimingSeconds) seconds = DesignerSeconds(c.Clock().TickMs());
    return v;
}

/// Mode 1 and 2 fix the range as the dialog shows it.
void FixRange(CRandomDraw& draw) {
    if (draw.mode == kRandFloatUnit) draw.low = 0.0, draw.high = 1.0;
    if (draw.mode == kRandFloatSigned) draw.low = -1.0, draw.high = 1.0;
}

std::vector<std::string> DrawHelperText(const CRandomDraw& draw) {
    std::vector<std::string> lines;
    char line[96];
    std::snprintf(line, sizeof line,
                  draw.timing == kTimingSeconds ? "Each %d sec(s):" : "Each %d cycle(s):", draw.interval);
    lines.emplace_back(line);
    if (draw.mode == kRandFloatUnit) {
        lines.emplace_back("Float 0.0 to 1.0");
    } else if (draw.mode == kRandFloatSigned) {
        lines.emplace_back("Float -1.0 to 1.0");
    } else {
        std::snprintf(line, sizeof line, "Int %d to %d", TruncToInt32(draw.low), TruncToInt32(draw.high));
        lines.emplace_back(line);
    }
    return lines;
}

}  // namespace

std::span<const CComponentType> RandomComponentTypes() {
    return kTypes;
}

// --- RandNum Generator -------------------------------------------------------

void CModelRandGen::Serialize(CArchive& ar) {
    SerializeBase(ar);
    RandGenFieldList(ar, m_fields);
}

void CModelRandGen::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    RandGenFieldList(w, m_fields);
}

void CModelRandGen::GetInputValues() {
    m_fields.enabled = ReadEnable(*this);
}

void CModelRandGen::Execute() {
    uint32_t seconds = 0;
    const double v = DrawNow(*this, m_fields.draw, m_fields.enabled, seconds);
    const double out = RandGenStep(m_fields.draw, m_state, m_fields.enabled, v, seconds);
    if (CModelOutput* o = FirstOutput()) o->SetValue(out);
}

void CModelRandGen::ResetValues() {
    CNetworkModel::ResetValues();
    m_value = 0.0;
    m_state.Reset();
}

bool CModelRandGen::SetDraw(CRandomDraw draw) {
    FixRange(draw);
    if (!ValidRandomDraw(draw)) return false;
    m_fields.draw = draw;
    if (CModelOutput* o = FirstOutput()) o->m_decimals = draw.mode == kRandInteger ? 0 : 3;
    return true;
}

std::vector<std::string> CModelRandGen::HelperText() const {
    std::vector<std::string> lines = DrawHelperText(m_fields.draw);
    lines.emplace_back(m_fields.draw.zeroWhileWaiting ? "(Reset to zero)" : "(Leave last)");
    return lines;
}

// --- Dynamic Sim Value -------------------------------------------------------

void CModelDynamicNumber::Serialize(CArchive& ar) {
    SerializeBase(ar);
    DynamicFieldList(ar, m_fields);
}

void CModelDynamicNumber::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    DynamicFieldList(w, m_fields);
}

void CModelDynamicNumber::GetInputValues() {
    m_fields.enabled = ReadEnable(*this);
}

void CModelDynamicNumber::Execute() {
    uint32_t seconds = 0;
    const double v = DrawNow(*this, m_fields.draw, m_fields.enabled, seconds);
    m_value = DynamicStep(m_fields, m_state, v, seconds, m_value);
    if (CModelOutput* o = FirstOutput()) o->SetValue(m_value);
}

void CModelDynamicNumber::ResetValues() {
    CNetworkModel::ResetValues();
    m_value = m_fields.start;
    m_state.Reset();
}

bool CModelDynamicNumber::SetFields(const CDynamicFields& fields) {
    CDynamicFields f = fields;
    FixRange(f.draw);
    f.enabled = m_fields.enabled;
    if (!ValidRandomDraw(f.draw) || !std::isfinite(f.start)) return false;
    if ((f.useFloor && !std::isfinite(f.floor)) || (f.useCeiling && !std::isfinite(f.ceiling))) return false;
    m_fields = f;
    return true;
}

std::vector<std::string> CModelDynamicNumber::HelperText() const {
    std::vector<std::string> lines = DrawHelperText(m_fields.draw);
    char line[96];
    if (m_fields.useFloor) {
        std::snprintf(line, sizeof line, "Using Floor: %0.2f", m_fields.floor);
        lines.emplace_back(line);
    }
    if (m_fields.useCeiling) {
        std::snprintf(line, sizeof line, "Using Ceiling: %0.2f", m_fields.ceiling);
        lines.emplace_back(line);
    }
    return lines;
}

}  // namespace zor2
