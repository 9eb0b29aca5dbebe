// 8x8 LED components: type table, the controller's picture dialog, the array it
// publishes, the display's shifted copy and the records.
#include "components/utility/led_matrix.h"

#include <algorithm>

#include "algo/bytes.h"
#include "algo/record_archive.h"
#include "components/decision/pattern_sheet.h"
#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/port_helpers.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kControllerInputs[] = {{10, "Enable"}, {20, "Pattern Number"}};
constexpr CPortTemplate kControllerOutputs[] = {{10, "LED 8x8 Command", kDataArray, 0}};
constexpr CPortTemplate kDisplayInputs[] = {
    {10, "Enable"}, {20, "LED 8x8 Command", 0, 2, true}, {30, "Shift x"}, {40, "Shift y"}};

// --- the controller's dialog ---------------------------------------------------------------

struct CControllerEdit {
    std::vector<CPattern64Bit> patterns;
};

const CPatternListTexts kControllerTexts{"Are you sure you want to delete all current patterns?",
                                         [](size_t before) { return "Pattern " + std::to_string(before); }};

void ShowCells(CPropertySheet& sheet) {
    const CPattern64Bit* p = pattern_sheet::Selected<CControllerEdit>(sheet);
    CPropField* cells = sheet.Edit("cells");
    if (p)
        cells->cells.assign(p->m_cells.begin(), p->m_cells.end());
    else
        cells->cells.assign(kLedCells, 0.0);
    cells->enabled = p != nullptr;
}

void ReadControllerSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* k = dynamic_cast<const CModel8x8Controller*>(&c);
    if (!k) return;
    sheet.SetData(CControllerEdit{k->Patterns()});
    pattern_sheet::AddFields<CControllerEdit>(sheet);
    CPropField cells = prop::Field(EPropKind::Grid, "cells", "Picture:", {}, "Patterns");
    cells.columns = kLedSide;
    cells.maximum = kLedCodes - 1;
    cells.options = {"Off", "Red", "Green", "Blue", "Yellow", "White"};
    cells.cells.assign(kLedCells, 0.0);
    sheet.Add(std::move(cells));
    ShowCells(sheet);
}

void ControllerRule(CPropertySheet& sheet, std::string_view key) {
    if (key == "cells") {
        if (CPattern64Bit* p = pattern_sheet::Selected<CControllerEdit>(sheet)) {
            const std::vector<double>& cells = sheet.Find("cells")->cells;
            std::copy_n(cells.begin(), std::min<size_t>(cells.size(), kLedCells), p->m_cells.begin());
            sheet.MarkDataEdited();
        }
        return;
    }
    pattern_sheet::Rule<CControllerEdit>(sheet, key);
    ShowCells(sheet);
}

bool ControllerAction(CPropertySheet& sheet, std::string_view key, IPropertyHost& host) {
    return pattern_sheet::Action<CControllerEdit>(sheet, key, host, kControllerTexts);
}

std::string ApplyControllerSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* k = dynamic_cast<CModel8x8Controller*>(&c);
    const CControllerEdit* edit = sheet.Data<CControllerEdit>();
    if (k && edit) k->SetPatterns(edit->patterns);
    return {};
}

// --- the display's dialog ------------------------------------------------------------------

void ReadDisplaySheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* d = dynamic_cast<const CModel8x8Display*>(&c);
    if (!d) return;
    sheet.Add(prop::Colour("background", "Background colour:", d->Background()));
    const int32_t size = d->Size() >= 0 && d->Size() <= 2 ? d->Size() : 1;
    sheet.Add(prop::Radio("size", size, {"Large", "Medium", "Small"}));
}

std::string ApplyDisplaySheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* d = dynamic_cast<CModel8x8Display*>(&c);
    if (!d) return {};
    d->SetLook(sheet.Find("background")->number,
               sheet.Changed("size") ? sheet.Find("size")->choice : d->Size());
    return {};
}

constexpr CPropertyProfile kControllerSheet{"8x8 LED Controller Properties",
                                            ReadControllerSheet,
                                            ControllerRule,
                                            ApplyControllerSheet,
                                            false,
                                            ControllerAction};
constexpr CPropertyProfile kDisplaySheet{"8x8 LED Display Properties", ReadDisplaySheet, nullptr,
                                         ApplyDisplaySheet};

template <class T>
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<T>();
}

constexpr CComponentType kTypes[] = {
    {kType8x8Controller,
     kControllerInputs,
     kControllerOutputs,
     2,
     1,
     Create<CModel8x8Controller>,
     &kControllerSheet,
     {},
     nullptr,
     SkipLedControllerBody},
    {kType8x8Display, kDisplayInputs, {}, 4, 0, Create<CModel8x8Display>, &kDisplaySheet},
};

}  // namespace

std::span<const CComponentType> LedMatrixComponentTypes() {
    return kTypes;
}

bool InputFrame(const CModelInput& in, const double*& data, int32_t& count) {
    const CModelConnection* c = in.m_sourceConnection;
    if (!c) return false;
    if (in.m_sourceKind != kSourceModuleInput) {
        if (!c->m_srcOutput || !c->m_srcOutput->m_arrayData) return false;
        data = c->m_srcOutput->m_arrayData;
        count = c->m_srcOutput->m_arrayCount;
        return true;
    }
    const CNetworkInput* mi = c->m_moduleInput;
    if (!mi) return false;
    if (mi->m_sourceKind == kSourceSystemInput && mi->m_sourceExtConnection) {
        const CExternalInput* p = mi->m_sourceExtConnection->m_systemInput;
        if (!p || p->m_kind != 2 || p->m_array.empty()) return false;
        data = p->m_array.data();
        count = static_cast<int32_t>(p->m_array.size());
        return true;
    }
    if (mi->m_sourceKind == kSourceModuleOutput && mi->m_sourceNetConnection) {
        const CNetworkOutput* o = mi->m_sourceNetConnection->m_srcOutput;
        if (!o || !o->CarriesArray()) return false;
        data = o->m_arrayData;
        count = o->m_arrayCount;
        return true;
    }
    return false;
}

// --- 8x8 LED Controller ------------------------------------------------------------------

void CModel8x8Controller::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.Bool(m_enabled);
    int32_t count = static_cast<int32_t>(m_patterns.size());
    ar.I32(count);
    if (ar.IsLoading()) {
        if (!ar.CheckCount(count, 8 + kMinStringBytes + 8 * kLedCells, "picture")) return;
        m_patterns.assign(static_cast<size_t>(count), CPattern64Bit{});
    }
    for (CPattern64Bit& p : m_patterns) {
        ar.I32(p.m_id);
        ar.I32(p.m_number);
        ar.Str(p.m_name);
        for (double& cell : p.m_cells) ar.F64(cell);
    }
}

void CModel8x8Controller::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.Bool(m_enabled);
    w.I32(static_cast<int32_t>(m_patterns.size()));
    for (const CPattern64Bit& p : m_patterns)
        WriteRecord(w, CLedPatternRecord{p.m_id, p.m_number, p.m_cells});
}

void CModel8x8Controller::GetInputValues() {
    m_value = 0.0;
    m_enabled = ReadOnOffInput(*this);
    if (CModelInput* number = LastInput()) {
        const double v = number->HasSource() ? SourceValue(*number) : 0.0;
        number->m_value = v;
        number->m_text.SetInt("%d", TriggerKey(v));
        m_value = v;
    }
}

void CModel8x8Controller::Execute() {
    ControllerPicture(m_patterns, m_enabled, TriggerKey(m_value), m_picture);
    if (CModelOutput* out = FirstOutput()) {
        out->m_arrayData = m_picture.data();
        out->m_arrayCount = kLedCells;
        const auto [low, high] = std::minmax_element(m_picture.begin(), m_picture.end());
        out->m_spareValue = *low;
        out->m_heldValue = *high;
        out->m_text.SetText("Array");
    }
}

void CModel8x8Controller::SetPatterns(std::vector<CPattern64Bit> patterns) {
    pattern_sheet::GiveIds(patterns, Random());
    m_patterns = std::move(patterns);
}

// --- 8x8 LED Display ------------------------------------------------------------------------

int32_t LedDisplaySide(int32_t size) {
    switch (size) {
        case 0:
            return 178;
        case 1:
            return 130;
        case 2:
            return 94;
        default:
            return 194;
    }
}

void CModel8x8Display::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.I32(m_background);
    ar.I32(m_size);
    ar.Bool(m_display);
}

void CModel8x8Display::CalcSize() {
    const int32_t side = LedDisplaySide(m_size);
    m_box = {0, 0, side, side};
    m_connectionsOut = CountConnectionsOut();
    SetPosition(m_position.x, m_position.y);
}

void CModel8x8Display::SetLook(int32_t background, int32_t size) {
    m_background = background;
    m_size = size;
    CalcSize();
}

void CModel8x8Display::GetInputValues() {
    m_enabled = ReadOnOffInput(*this);
    auto shift = [this](int32_t id) {
        CModelInput* in = FindInput(id);
        if (!in) return 0;
        const double v = in->HasSource() ? SourceValue(*in) : 0.0;
        in->m_value = v;
        const int32_t s = TriggerKey(v);
        in->m_text.SetInt("%d", s);
        return s;
    };
    m_shiftX = shift(30);
    m_shiftY = shift(40);
    const double* frame = nullptr;
    int32_t count = 0;
    CModelInput* command = FindInput(20);
    if (command && InputFrame(*command, frame, count)) command->m_text.SetText("Received");
    ShiftFrame(frame, count, m_shiftX, m_shiftY, m_cells);
}

}  // namespace zor2
