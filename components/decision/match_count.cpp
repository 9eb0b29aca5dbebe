// Match Count: type table, input phase, bins and pairs, records.
#include "components/decision/match_count.h"

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kOutputs[] = {
    {10, "Unique Pairs", kDataInteger, 0},  {20, "Unique values", kDataInteger, 0},
    {30, "Most Frequent", kDataDouble, 2},  {40, "Hits of most", kDataInteger, 0},
    {50, "Least Frequent", kDataDouble, 2}, {60, "Hits of least", kDataInteger, 0}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelMatchCount>();
}
constexpr CPropertyProfile kSheet{"Component Properties - Match Count"};
constexpr CComponentType kTypes[] = {{kTypeMatchCount, {}, kOutputs, -1, 6, Create, &kSheet}};
}  // namespace

std::span<const CComponentType> MatchCountComponentTypes() {
    return kTypes;
}

void CModelMatchCount::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.Bool(m_enabled);
}

void CModelMatchCount::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.Bool(m_enabled);
}

void CModelMatchCount::GetInputValues() {
    if (m_inputs.Empty()) {
        m_value = 0.0;
        return;
    }
    m_values.clear();
    m_connected.clear();
    for (CModelInput* in : m_inputs) {
        if (PullInput(*in)) in->m_text.SetNumber("%0.2f", in->m_value);
        m_values.push_back(in->m_value);
        m_connected.push_back(in->HasSource() ? 1 : 0);
    }
    m_count.Count(m_values, m_connected, m_tolerance);
    m_value = m_count.m_pairs;
}

void CModelMatchCount::Execute() {
    if (!m_enabled) {
        m_value = 0.0;
        for (int32_t id : {10, 20, 30, 40})
            if (CModelOutput* out = FindOutput(id)) out->m_text.SetText("--");
        return;
    }
    auto set = [this](int32_t id, double v) {
        if (CModelOutput* out = FindOutput(id)) out->SetValue(v);
    };
    set(10, m_count.m_pairs);
    set(20, static_cast<double>(m_count.m_bins.size()));
    if (const CBin* most = m_count.MostFrequent()) {
        set(30, most->m_value);
        set(40, most->m_hits);
    }
    if (const CBin* least = m_count.LeastFrequent()) {
        set(50, least->m_value);
        set(60, least->m_hits);
    }
}

}  // namespace zor2
