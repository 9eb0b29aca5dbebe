// Segmenters: type table, the thresholds dialog, input phase, execution and records.
#include "components/decision/segmenter.h"

#include <cmath>
#include <cstdio>

#include "algo/bytes.h"
#include "algo/record_archive.h"
#include "components/decision/pattern_kernel.h"
#include "engine/catalogue.h"
#include "engine/port_helpers.h"
#include "engine/property_sheet.h"
#include "engine/report.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kInputs[] = {{10, "Input Value"}};
constexpr CPortTemplate kSingleOutputs[] = {{10, "Integer Out", kDataInteger, 0}};

std::string Fixed2(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%0.2f", v);
    return text;
}

// --- the thresholds dialog ---------------------------------------------------------------

constexpr const char* kNote = "(Ranges adjacent to thresholds return the integer value shown in center.)";

void ShowThresholds(CPropertySheet& sheet) {
    const CSegmentation* seg = sheet.Data<CSegmentation>();
    CPropField* list = sheet.Edit("thresholds");
    list->options.clear();
    for (const CThreshold& t : seg->m_thresholds) list->options.push_back(Fixed2(t.m_value));
    if (list->choice >= static_cast<int32_t>(list->options.size())) list->choice = -1;
    CPropField* segments = sheet.Edit("segments");
    segments->options.clear();
    for (size_t i = 0; i < seg->m_segments.size(); ++i)
        segments->options.push_back(std::to_string(i) + ":  " + SegmentLabel(*seg, i));
    sheet.Edit("change")->enabled = sheet.Edit("delete")->enabled = list->choice >= 0;
}

void ReadSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* s = dynamic_cast<const CModelSegmenter*>(&c);
    if (!s) return;
    sheet.SetData(s->Segmentation());
    sheet.Add(prop::Note("note", kNote));
    sheet.Add(prop::List("thresholds", "Thresholds:", {}));
    sheet.Add(prop::List("segments", "Ranges:", {}));
    sheet.Add(prop::Number("value", "Threshold value:", Fixed2(0.0)));
    sheet.Add(prop::Button("add", "Add Threshold"));
    sheet.Add(prop::Button("change", "Change Selected"));
    sheet.Add(prop::Button("delete", "Delete Selected"));
    sheet.Add(prop::Button("deleteAll", "Delete All"));
    ShowThresholds(sheet);
}

void Rule(CPropertySheet& sheet, std::string_view key) {
    if (key == "thresholds") {
        const CPropField* list = sheet.Find("thresholds");
        const CSegmentation* seg = sheet.Data<CSegmentation>();
        if (list->choice >= 0)
            sheet.Edit("value")->text = Fixed2(seg->m_thresholds[static_cast<size_t>(list->choice)].m_value);
    }
    ShowThresholds(sheet);
}

/// The typed threshold value, or a message when it is not one the sort can place.
bool TypedValue(const CPropertySheet& sheet, IPropertyHost& host, double& v) {
    const std::string& text = sheet.Find("value")->text;
    if (!ParsePropertyNumber(text, v)) {
        host.Prompter().Tell("Please enter a number for the threshold value (\"" + text +
                             "\" is not a number).");
        return false;
    }
    if (v > kThresholdLimit) {
        host.Prompter().Tell(
            "The threshold value " + text +
            " is too large: thresholds can be at most 1000000000 (one billion). Please enter a smaller value.");
        return false;
    }
    return true;
}

bool Action(CPropertySheet& sheet, std::string_view key, IPropertyHost& host) {
    CSegmentation* seg = sheet.Data<CSegmentation>();
    CPropField* list = sheet.Edit("thresholds");
    auto& ts = seg->m_thresholds;
    double v = 0.0;
    if (key == "add") {
        if (!TypedValue(sheet, host, v)) return false;
        for (const CThreshold& t : ts)
            if (std::fabs(t.m_value - v) <= kThresholdSameWithin) return false;
        ts.push_back({0, v});
    } else if (key == "change") {
        if (list->choice < 0 || !TypedValue(sheet, host, v)) return false;
        ts[static_cast<size_t>(list->choice)].m_value = v;
    } else if (key == "delete") {
        if (list->choice < 0) return false;
        ts.erase(ts.begin() + list->choice);
        list->choice = -1;
    } else if (key == "deleteAll") {
        if (ts.empty() || host.Prompter().Ask("Are you sure you want to delete all current thresholds?",
                                              EButtons::YesNo) != EAnswer::Yes)
            return false;
        ts.clear();
        list->choice = -1;
    } else {
        return false;
    }
    seg->Sort();
    seg->Rebuild();
    if (key == "add" || key == "change") {
        // Keep the edited threshold selected where the sort put it.
        list->choice = -1;
        for (size_t i = 0; i < ts.size(); ++i)
            if (ts[i].m_value == v) list->choice = static_cast<int32_t>(i);
    }
    return true;
}

std::string Apply(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* s = dynamic_cast<CModelSegmenter*>(&c);
    const CSegmentation* seg = sheet.Data<CSegmentation>();
    // Only a change of the thresholds rebuilds the ranges (and a Segmenter Multiple's outputs).
    if (s && seg && sheet.DataEdited()) s->SetThresholds(seg->m_thresholds);
    return {};
}

constexpr CPropertyProfile kSingleSheet{
    "Segmenter Single - Thresholds", ReadSheet, Rule, Apply, false, Action};
constexpr CPropertyProfile kMultipleSheet{
    "Segmenter Multiple - Thresholds", ReadSheet, Rule, Apply, false, Action, EOpenCheck::SegmentOutputs};

std::unique_ptr<CNetworkModel> CreateSingle(int32_t) {
    return std::make_unique<CModelSegmenterSingle>();
}
std::unique_ptr<CNetworkModel> CreateMultiple(int32_t) {
    return std::make_unique<CModelSegmenterMultiple>();
}

/// A new Segmenter Single's constructor threshold gets its id; a new Segmenter
/// Multiple gets its first threshold at 0.0 with its two outputs.
void NewSingle(CNetworkModel& c) {
    if (auto* s = dynamic_cast<CModelSegmenter*>(&c)) s->GiveThresholdIds();
}
void NewMultiple(CNetworkModel& c) {
    if (auto* s = dynamic_cast<CModelSegmenter*>(&c)) s->SetThresholds({{0, 0.0}});
}

constexpr CComponentType kTypes[] = {
    {kTypeSegmenterSingle,
     kInputs,
     kSingleOutputs,
     1,
     1,
     CreateSingle,
     &kSingleSheet,
     {},
     NewSingle,
     SkipSegmenterBody},
    {kTypeSegmenterMultiple,
     kInputs,
     {},
     1,
     0,
     CreateMultiple,
     &kMultipleSheet,
     {},
     NewMultiple,
     SkipSegmenterBody},
};

}  // namespace

std::span<const CComponentType> SegmenterComponentTypes() {
    return kTypes;
}

std::string SegmentLabel(const CSegmentation& seg, size_t index) {
    if (index >= seg.m_segments.size()) return {};
    const size_t n = seg.m_thresholds.size();
    if (index == 0) return "x <= " + Fixed2(seg.m_thresholds[0].m_value);
    if (index >= n) return Fixed2(seg.m_thresholds[n - 1].m_value) + " < x";
    return Fixed2(seg.m_thresholds[index - 1].m_value) + " < x <= " + Fixed2(seg.m_thresholds[index].m_value);
}

// --- both types -------------------------------------------------------------------------

void CModelSegmenter::GetInputValues() {
    CModelInput* in = FirstInput();
    if (!in) return;
    if (PullInput(*in)) {
        in->m_text.SetNumber("%0.2f", in->m_value);
    } else {
        in->m_value = 0.0;
        in->m_text.SetText("-");
    }
}

int32_t CModelSegmenter::LookupInput() const {
    return m_seg.Lookup(FirstInput()->m_value);
}

void CModelSegmenter::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.I32(static_cast<int32_t>(m_seg.m_thresholds.size()));
    for (const CThreshold& t : m_seg.m_thresholds) WriteRecord(w, CThresholdRecord{t.m_id, t.m_value});
}

void CModelSegmenter::GiveThresholdIds() {
    for (CThreshold& t : m_seg.m_thresholds)
        if (t.m_id == 0) t.m_id = FreshListId(Random(), m_seg.m_thresholds);
    m_seg.Rebuild();
}

void CModelSegmenter::SetThresholds(std::vector<CThreshold> thresholds) {
    m_seg.m_thresholds = std::move(thresholds);
    m_seg.Sort();
    GiveThresholdIds();
    RebuildOutputs();
}

// --- Segmenter Single ---------------------------------------------------------------------

CModelSegmenterSingle::CModelSegmenterSingle() {
    m_seg.m_thresholds.push_back({0, 0.0});
    m_seg.Rebuild();
}

void CModelSegmenterSingle::Serialize(CArchive& ar) {
    SerializeBase(ar);
    int32_t count = static_cast<int32_t>(m_seg.m_thresholds.size());
    ar.I32(count);
    if (ar.IsLoading()) {
        if (!ar.CheckCount(count, 12, "threshold")) return;
        m_seg.m_thresholds.assign(static_cast<size_t>(count), CThreshold{});
    }
    for (CThreshold& t : m_seg.m_thresholds) {
        ar.I32(t.m_id);
        ar.F64(t.m_value);
    }
    if (ar.IsLoading()) m_seg.Rebuild();  // in the stored order, not sorted again
}

void CModelSegmenterSingle::Execute() {
    CModelInput* in = FirstInput();
    if (!in || !in->HasSource()) return;
    if (CModelOutput* out = FirstOutput()) out->SetValue(LookupInput());
}

// --- Segmenter Multiple -------------------------------------------------------------------

void CModelSegmenterMultiple::Serialize(CArchive& ar) {
    SerializeBase(ar);
    int32_t thresholds = static_cast<int32_t>(m_seg.m_thresholds.size());
    int32_t segments = static_cast<int32_t>(m_seg.m_segments.size());
    ar.I32(thresholds);
    ar.I32(segments);
    if (ar.IsLoading()) {
        if (!ar.CheckCount(thresholds, 20, "threshold")) return;
        m_seg.m_thresholds.assign(static_cast<size_t>(thresholds), CThreshold{});
    }
    for (CThreshold& t : m_seg.m_thresholds) {
        ar.I32(t.m_id);
        ar.F64(t.m_value);
        ar.I32(t.m_segmentAbove);
        ar.I32(t.m_segmentBelow);
    }
    if (ar.IsLoading()) {
        if (!ar.CheckCount(segments, 16, "segment")) return;
        m_seg.m_segments.assign(static_cast<size_t>(segments), CThresholdSegment{});
    }
    for (CThresholdSegment& s : m_seg.m_segments) {
        ar.I32(s.m_id);
        ar.I32(s.m_index);
        ar.I32(s.m_lowerId);
        ar.I32(s.m_upperId);
    }
    if (ar.IsLoading()) m_seg.Resolve();
}

void CModelSegmenterMultiple::Execute() {
    CModelInput* in = FirstInput();
    if (!in || !in->HasSource()) return;
    const int32_t at = LookupInput();
    const int32_t id = at >= 0 ? m_seg.m_segments[static_cast<size_t>(at)].m_id : 0;
    for (CModelOutput* out : m_outputs) out->SetValue(at >= 0 && out->m_id == id ? 1.0 : 0.0);
}

void CModelSegmenterMultiple::RebuildOutputs() {
    for (CModelOutput* out : m_outputs.Snapshot()) RemoveComponentOutput(*this, out);
    for (size_t i = 0; i < m_seg.m_segments.size(); ++i) {
        CModelOutput* out = AddOutput(m_seg.m_segments[i].m_id);
        if (!out) continue;
        out->m_name = SegmentLabel(m_seg, i);
        out->m_template = true;
        out->m_decimals = 0;
    }
    m_maxOutputs = static_cast<int32_t>(m_outputs.Size());
    CalcSize();
}

}  // namespace zor2
