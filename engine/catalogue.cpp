// The catalogue of the 89 component types, the type registry built from the
// families' tables, the construction step of the factory and AddTemplatePorts.
#include "engine/catalogue.h"

#include <algorithm>
#include <array>

#include "components/families.h"
#include "engine/component.h"

namespace zor2 {

// Each family's designer table, declared from the one list of families.
#define ZOR2_DECLARE_FAMILY(Name) std::span<const CComponentType> Name##ComponentTypes();
ZOR2_COMPONENT_FAMILIES(ZOR2_DECLARE_FAMILY)
#undef ZOR2_DECLARE_FAMILY

namespace {

constexpr CCatalogueRow kCatalogue[] = {
    {3, "All True [AND]", kGroupLogic},
    {6, "Any False [NAND]", kGroupLogic},
    {4, "Any True [OR]", kGroupLogic},
    {5, "All False [NOR]", kGroupLogic},
    {7, "Exclusive OR [EXOR]", kGroupLogic},
    {8, "Invert", kGroupLogic},
    {9, "Valve", kGroupLogic},
    {10, "Toggle - Single Pole", kGroupLogic},
    {11, "Toggle - Dual Pole", kGroupLogic},
    {28, "8-Bit Extractor", kGroupLogic},
    {29, "16-Bit Extractor", kGroupLogic},
    {30, "32-Bit Extractor", kGroupLogic},
    {2, "Delay", kGroupMath},
    {15, "Compare to Input (=)", kGroupMath},
    {16, "Compare to Input(>)", kGroupMath},
    {17, "Compare to Input (<)", kGroupMath},
    {18, "Compare to Constant (=)", kGroupMath},
    {19, "Compare to Constant (>)", kGroupMath},
    {20, "Compare to Constant (<)", kGroupMath},
    {21, "Add Input Values", kGroupMath},
    {22, "Subtract Input Values", kGroupMath},
    {23, "Multiply Input Values", kGroupMath},
    {24, "Divide Input Values", kGroupMath},
    {27, "Running Stats", kGroupMath},
    {34, "Delta", kGroupMath},
    {47, "Absolute Value", kGroupMath},
    {48, "Raise to Power", kGroupMath},
    {49, "Square Root", kGroupMath},
    {57, "Running Total", kGroupMath},
    {58, "Moving Average", kGroupMath},
    {61, "Vector 2D Magnitude", kGroupMath},
    {62, "Vector 3D Magnitude", kGroupMath},
    {63, "Vector 2D Normalize", kGroupMath},
    {64, "Vector 3D Normalize", kGroupMath},
    {65, "Vector 2D \n[+ - * ^]", kGroupMath},
    {66, "Vector 3D \n[+ - * ^]", kGroupMath},
    {82, "Sine", kGroupMath},
    {83, "Cosine", kGroupMath},
    {84, "Tangent", kGroupMath},
    {31, "Signal Stats", kGroupSignals},
    {32, "Signal FFT", kGroupSignals},
    {33, "Voice MFCC", kGroupSignals},
    {35, "Signal Generator", kGroupSignals},
    {36, "Signal Mixer", kGroupSignals},
    {37, "Signal Gain", kGroupSignals},
    {38, "Signal Windowing", kGroupSignals},
    {39, "Signal Pre-emphasis", kGroupSignals},
    {40, "Signal Delay/Echo", kGroupSignals},
    {42, "Signal Modulation", kGroupSignals},
    {56, "Feedback Flow", kGroupDecision},
    {80, "Target Input Comparator", kGroupDecision},
    {12, "Segmenter Single", kGroupDecision},
    {13, "Segmenter Multiple", kGroupDecision},
    {46, "Match Count", kGroupDecision},
    {70, "Pattern Generator", kGroupDecision},
    {71, "Pattern Analyzer", kGroupDecision},
    {72, "Pattern Recorder", kGroupDecision},
    {79, "Decision Matrix", kGroupDecision},
    {1, "Neural Network", kGroupDecision},
    {85, "Pattern Sequencer", kGroupDecision},
    {41, "Constant (k)", kGroupUtility},
    {43, "RandNum Generator", kGroupUtility},
    {81, "Dynamic Sim Value", kGroupUtility},
    {25, "Counter Reset on Value", kGroupUtility},
    {26, "Counter Reset on Event", kGroupUtility},
    {68, "Quantity Diminishing", kGroupUtility},
    {59, "User Control Button", kGroupUtility},
    {78, "User Button Up Down", kGroupUtility},
    {73, "Indicator Light", kGroupUtility},
    {14, "Timer", kGroupUtility},
    {45, "CSV Data Input", kGroupUtility},
    {44, "CSV Data Output", kGroupUtility},
    {50, "Sim Action Stop", kGroupUtility},
    {51, "Sim Action Sound", kGroupUtility},
    {52, "Sim Action Message", kGroupUtility},
    {53, "Sim Info SimTime", kGroupUtility},
    {54, "Sim Info Count", kGroupUtility},
    {55, "Sim Info LocalTime", kGroupUtility},
    {67, "Data Value Storage", kGroupUtility},
    {69, "Sim Action Format", kGroupUtility},
    {74, "7-Segment LED", kGroupUtility},
    {75, "Integrated Column Chart", kGroupUtility},
    {76, "8x8 LED Controller", kGroupUtility},
    {77, "8x8 LED Display", kGroupUtility},
    {86, "Get Min", kGroupMath},
    {87, "Get Max", kGroupMath},
    {88, "Reverse Sign", kGroupMath},
    {89, "Range Check", kGroupMath},
    {90, "Do Once", kGroupUtility},
};
static_assert(std::size(kCatalogue) == 89);

constexpr int32_t kMaxTypeId = [] {
    int32_t highest = 0;
    for (const CCatalogueRow& row : kCatalogue) highest = std::max(highest, row.typeId);
    return highest;
}();

struct CRegistry {
    std::array<const CComponentType*, kMaxTypeId + 1> byId{};
    std::array<const CCatalogueRow*, kMaxTypeId + 1> rowById{};
    std::vector<const CComponentType*> all;
};

const CRegistry& Registry() {
    static const CRegistry registry = [] {
        CRegistry r;
        for (const CCatalogueRow& row : kCatalogue) r.rowById[row.typeId] = &row;
        for (auto family : ComponentFamilyTables()) {
            for (const CComponentType& t : family) {
                // A type needs its catalogue row, and the first row of a type wins;
                // the registry test reports any row left out.
                if (t.typeId < 1 || t.typeId > kMaxTypeId || !r.rowById[t.typeId] || r.byId[t.typeId])
                    continue;
                r.byId[t.typeId] = &t;
                r.all.push_back(&t);
            }
        }
        return r;
    }();
    return registry;
}

}  // namespace

const char* PaletteGroupName(int32_t group) {
    switch (group) {
        case kGroupMath:
            return "Math";
        case kGroupLogic:
            return "Logic";
        case kGroupDecision:
            return "Decision";
        case kGroupSignals:
            return "Signals";
        case kGroupUtility:
            return "Utility";
        default:
            return "";
    }
}

std::span<const CCatalogueRow> CatalogueRows() {
    return kCatalogue;
}

const char* CatalogueName(int32_t typeId) {
    if (typeId < 1 || typeId > kMaxTypeId) return nullptr;
    const CCatalogueRow* row = Registry().rowById[typeId];
    return row ? row->name : nullptr;
}

void BuildCatalogue(CObList<CModelTemplate>& list) {
    list.Clear();
    for (const CCatalogueRow& row : kCatalogue) {
        auto t = std::make_unique<CModelTemplate>();
        t->m_id = row.typeId;
        t->m_name = row.name;
        t->m_imageIndex = row.typeId - 1;
        t->m_group = row.group;
        list.Append(std::move(t));
    }
}

const CComponentType* FindComponentType(int32_t typeId) {
    if (typeId < 1 || typeId > kMaxTypeId) return nullptr;
    return Registry().byId[typeId];
}

const CTypeTraits& TypeTraits(int32_t typeId) {
    static const CTypeTraits kDefaults;
    const CComponentType* type = FindComponentType(typeId);
    return type ? type->traits : kDefaults;
}

const std::vector<const CComponentType*>& RegisteredComponentTypes() {
    return Registry().all;
}

const std::vector<std::span<const CComponentType>>& ComponentFamilyTables() {
#define ZOR2_FAMILY_TABLE(Name) Name##ComponentTypes(),
    static const std::vector<std::span<const CComponentType>> tables = {
        ZOR2_COMPONENT_FAMILIES(ZOR2_FAMILY_TABLE)};
#undef ZOR2_FAMILY_TABLE
    return tables;
}

std::unique_ptr<CNetworkModel> ConstructComponent(int32_t typeId) {
    const CComponentType* type = FindComponentType(typeId);
    if (!type || !type->create) return nullptr;
    auto component = type->create(typeId);
    if (component) component->m_typeId = typeId;
    return component;
}

void AddTemplatePorts(CNetworkModel& component) {
    const CComponentType* type = FindComponentType(component.m_typeId);
    if (!type) return;
    for (const CPortTemplate& t : type->inputs) {
        CModelInput* in = component.AddInput(t.id);
        if (!in) continue;
        in->m_name = t.label;
        in->m_template = true;
        in->m_arrayInput = t.arrayInput;
        if (t.sourceKind) in->m_sourceKind = t.sourceKind;
    }
    for (const CPortTemplate& t : type->outputs) {
        CModelOutput* out = component.AddOutput(t.id);
        if (!out) continue;
        out->m_name = t.label;
        out->m_template = true;
        out->m_dataType = t.dataType;
        out->m_decimals = t.decimals;
    }
    component.m_maxInputs = type->maxInputs;
    component.m_maxOutputs = type->maxOutputs;
    if (type->afterTemplatePorts) type->afterTemplatePorts(component);
}

}  // namespace zor2
