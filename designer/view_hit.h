// What a point of the design view can hit: the kinds of objects the gestures,
// the context menus and the commands tell apart, and the hit record itself.
#pragma once

#include "engine/editor_data.h"
#include "engine/system.h"

namespace zor2 {

/// Kinds of objects the gestures tell apart.
enum class EHit {
    None,
    // System view.
    Module,
    ModuleInput,
    ModuleOutput,
    InputsBar,
    OutputsBar,
    InputCategory,
    OutputCategory,
    SystemInput,
    SystemOutput,
    // Module design view.
    Component,
    ComponentInput,
    ComponentOutput,
    ModInput,
    ModOutput,
    ModInputsBar,
    ModOutputsBar,
    Graphic,
    GraphicHandle,  // a corner clasp of a selected graphic
    Chart,
    ChartSizeButton,  // one of the size buttons 1/2/3 in a chart's title bar
    ValueWindow,
};

struct CHit {
    EHit kind = EHit::None;
    CNetwork* module = nullptr;
    CNetworkInput* moduleInput = nullptr;
    CNetworkOutput* moduleOutput = nullptr;
    CExternalInput* systemInput = nullptr;
    CExternalOutput* systemOutput = nullptr;
    CExternalInputCategory* inputCategory = nullptr;
    CExternalOutputCategory* outputCategory = nullptr;
    CNetworkModel* component = nullptr;
    CModelInput* input = nullptr;
    CModelOutput* output = nullptr;
    CGraphic* graphic = nullptr;
    CChart* chart = nullptr;
    CValueWindow* valueWindow = nullptr;
    /// The corner of a graphic handle (0 top-left, 1 top-right, 2 bottom-right,
    /// 3 bottom-left) or the size code of a chart size button.
    int part = 0;
    bool operator==(const CHit&) const = default;
};

}  // namespace zor2
