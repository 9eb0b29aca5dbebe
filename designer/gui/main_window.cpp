// The designer's main window.
#include "designer/gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstring>

#include "designer/commands_align.h"
#include "designer/commands_behaviors.h"
#include "designer/commands_charts.h"
#include "designer/commands_component.h"
#include "designer/commands_graphics.h"
#include "designer/commands_module.h"
#include "designer/commands_system.h"
#include "designer/commands_view.h"
#include "designer/gui/commands_table.h"
#include "designer/gui/dialogs.h"
#include "designer/gui/miniview.h"
#include "designer/gui/printing.h"
#include "designer/gui/property_dialogs.h"
#include "engine/catalogue.h"
#include "realtime/udp_protocol.h"

namespace zor2::gui {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
constexpr int kRibbonRows = 3;

/// The numeric value of a command identifier.
int Value(const char* ident) {
    for (const CCommandRow& r : CommandRows())
        if (std::strcmp(r.ident, ident) == 0) return r.value;
    return 0;
}

/// What a selection-driven command needs before it is enabled.
enum class ENeed {
    Module,
    SystemInput,
    SystemOutput,
    InputCategory,
    OutputCategory,
    ModuleInput,
    ModuleOutput,
    Component,
    ComponentInput,
    ComponentOutput,
    Components,
    Behaviors
};

/// Commands that run one document command on the current selection.
struct CSelectionCommand {
    const char* ident;
    ENeed need;
    ECmd (*run)(Czor2Doc&);
};

const CSelectionCommand kSelectionCommands[] = {
    {"ID_BUTTON_DELETEMODULE", ENeed::Module, [](Czor2Doc& d) { return DeleteModule(d); }},
    {"ID_BUTTON_VIEWMODULE", ENeed::Module, [](Czor2Doc& d) { return DesignSelectedModule(d); }},
    {"ID_BUTTON_MODULEEXECUTE", ENeed::Module, [](Czor2Doc& d) { return ExecuteModule(d); }},
    {"ID_BUTTON_MODULE_ADDINPUT", ENeed::Module, [](Czor2Doc& d) { return AddModuleInput(d); }},
    {"ID_BUTTON_MODULE_ADDOUTPUT", ENeed::Module, [](Czor2Doc& d) { return AddModuleOutput(d); }},
    {"ID_BUTTON_MODULE_EXPOSEINPUTS", ENeed::Module, [](Czor2Doc& d) { return ExposeModuleInputs(d); }},
    {"ID_BUTTON_MODULE_EXPOSEOUTPUTS", ENeed::Module, [](Czor2Doc& d) { return ExposeModuleOutputs(d); }},
    {"ID_BUTTON_NETWORK_REMOVE_INCONNECTIONS", ENeed::ModuleInput,
     [](Czor2Doc& d) { return RemoveIncomingConnections(d); }},
    {"ID_BUTTON_NETWORK_DELETE_OUTCONNECTIONS", ENeed::ModuleOutput,
     [](Czor2Doc& d) { return RemoveOutgoingConnections(d); }},
    {"ID_BUTTON_MODULE_DELETEINPUT", ENeed::ModuleInput, [](Czor2Doc& d) { return DeleteModuleInput(d); }},
    {"ID_BUTTON_MODULE_DELETEOUTPUT", ENeed::ModuleOutput, [](Czor2Doc& d) { return DeleteModuleOutput(d); }},
    {"ID_BUTTON_MODULE_DELETESELECTEDINPUTCONNS", ENeed::ModuleInput,
     [](Czor2Doc& d) { return RemoveInternalInputConnections(d); }},
    {"ID_BTN_NETWORK_DELETE_INTERNALINPUTCONNS", ENeed::ModuleInput,
     [](Czor2Doc& d) { return RemoveIncomingConnections(d); }},
    {"ID_BUTTON_MODULE_DELSECTEDOUTPUTCONNS", ENeed::ModuleOutput,
     [](Czor2Doc& d) { return RemoveInternalOutputConnection(d); }},
    {"ID_BTN_NETWORK_DELETE_INTERNALOUTPUTCONNS", ENeed::ModuleOutput,
     [](Czor2Doc& d) { return RemoveOutgoingConnections(d); }},
    {"ID_BUTTON_DELETE_SYSTEMINPUT", ENeed::SystemInput, [](Czor2Doc& d) { return DeleteSystemInput(d); }},
    {"ID_BUTTON_DELETE_SYSTEMOUTPUT", ENeed::SystemOutput, [](Czor2Doc& d) { return DeleteSystemOutput(d); }},
    {"ID_BUTTON_DELETEBEHAVIORS", ENeed::SystemInput, [](Czor2Doc& d) { return DeleteInputBehaviors(d); }},
    {"ID_BUTTON_DELETEALLBEHAVIORS", ENeed::Behaviors, [](Czor2Doc& d) { return DeleteAllBehaviors(d); }},
    {"ID_BUTTON_MODEL_DELETE", ENeed::Component, [](Czor2Doc& d) { return DeleteComponent(d); }},
    {"ID_BUTTON_REMOVE_ALLCONNECTIONS", ENeed::Component,
     [](Czor2Doc& d) { return RemoveAllConnections(d); }},
    {"ID_BUTTON_MODEL_DELETEALLINPUTS", ENeed::Component, [](Czor2Doc& d) { return DeleteAllInputs(d); }},
    {"ID_BUTTON_MODEL_DELETEALLOUTPUTS", ENeed::Component, [](Czor2Doc& d) { return DeleteAllOutputs(d); }},
    {"ID_BUTTON_ADDMODELINPUT", ENeed::Component, [](Czor2Doc& d) { return AddComponentInput(d); }},
    {"ID_BUTTON_ADDMODELOUTPUT", ENeed::Component, [](Czor2Doc& d) { return AddComponentOutput(d); }},
    {"ID_BUTTON_EXPOSEALLINPUTS", ENeed::Component, [](Czor2Doc& d) { return ExposeAllComponentInputs(d); }},
    {"ID_BUTTON_EXPOSEALLMODELOUTPUTS", ENeed::Component,
     [](Czor2Doc& d) { return ExposeAllComponentOutputs(d); }},
    {"ID_BUTTON_REMOVEMODEL_INPUTCONNECTION", ENeed::ComponentInput,
     [](Czor2Doc& d) { return DisconnectComponentInput(d); }},
    {"ID_BUTTON_DELETE_MODELINPUT", ENeed::ComponentInput,
     [](Czor2Doc& d) { return DeleteComponentInput(d); }},
    {"ID_BUTTON_EXPOSEINPUT", ENeed::ComponentInput, [](Czor2Doc& d) { return ExposeComponentInput(d); }},
    {"ID_BUTTON_REMOVEMODEL_OUTPUTCONNECTION", ENeed::ComponentOutput,
     [](Czor2Doc& d) { return DisconnectComponentOutput(d); }},
    {"ID_BUTTON_DELETE_MODELOUTPUT", ENeed::ComponentOutput,
     [](Czor2Doc& d) { return DeleteComponentOutput(d); }},
    {"ID_BUTTON_EXPOSEMODELOUTPUT", ENeed::ComponentOutput,
     [](Czor2Doc& d) { return ExposeComponentOutput(d); }},
    {"ID_BUTTON_SHOWGRAPH", ENeed::ComponentOutput, [](Czor2Doc& d) { return ShowChart(d); }},
    {"ID_BUTTON_SHOWVALUE", ENeed::ComponentOutput, [](Czor2Doc& d) { return ShowValueWindow(d); }},
    {"ID_BUTTON_ALIGNLEFT", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Left); }},
    {"ID_BUTTON_ALIGNRIGHT", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Right); }},
    {"ID_BUTTON_ALIGNTOP", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Top); }},
    {"ID_BUTTON_ALIGNBOTTOM", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Bottom); }},
    {"ID_BUTTON_ALIGNVERTICAL", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Vertical); }},
    {"ID_BUTTON_ALIGNHORZ", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Horizontal); }},
    {"ID_BUTTON_DISTRIBUTEVERT", ENeed::Components, [](Czor2Doc& d) { return DistributeVertically(d); }},
    {"ID_BUTTON_DISTRIBUTEHORZ", ENeed::Components, [](Czor2Doc& d) { return DistributeHorizontally(d); }},
};

// --- the view, visual-aid and category commands --------------------------------

/// What one of these commands needs before it is enabled.
enum class EAidNeed {
    Always,
    SystemView,
    ModuleView,
    Graphics,     // one or more selected graphics
    TwoGraphics,  // at least two
    Charts,       // one or more selected charts
    ChartsShown,  // a chart in the designed module (in the system view: any chart)
    ValueWindows,
    Components,
    Module,
    InputCategory,
    OutputCategory,
};

/// A command of the view and the visual aids: `run` carries it out (null when
/// the window first asks for a value: a colour, a text, a dialog); `state` is
/// the check state a check box shows (null for plain buttons).
struct CAidCommand {
    const char* ident;
    EAidNeed need;
    ECmd (*run)(Czor2Doc&, bool checked);
    bool (*state)(const Czor2Doc&);
};

template <class T>
T* FirstOf(const CObList<T>& list, const std::vector<int32_t>& ids) {
    for (int32_t id : ids)
        if (T* t = list.Find(id)) return t;
    return nullptr;
}
CGraphic* FirstGraphic(const Czor2Doc& d) {
    return FirstOf(d.System().m_graphics.m_graphics, d.Editor().m_graphics);
}
CChart* FirstChart(const Czor2Doc& d) {
    return FirstOf(d.System().m_charts.m_charts, d.Editor().m_charts);
}
CValueWindow* FirstValueWindow(const Czor2Doc& d) {
    return FirstOf(d.System().m_valueWindows.m_windows, d.Editor().m_valueWindows);
}
bool GraphicOn(const Czor2Doc& d, EGraphicField f) {
    const CGraphic* g = FirstGraphic(d);
    return g && GraphicField(*g, f) != 0;
}
bool ChartOn(const Czor2Doc& d, EChartField f) {
    const CChart* c = FirstChart(d);
    return c && ChartField(*c, f) != 0;
}
bool WindowOn(const Czor2Doc& d, EValueWindowField f) {
    const CValueWindow* v = FirstValueWindow(d);
    return v && ValueWindowField(*v, f) != 0;
}
/// Runs a command on the first selected graphic (none: nothing to act on).
ECmd OnFirstGraphic(Czor2Doc& d, ECmd (*run)(Czor2Doc&, int32_t)) {
    const CGraphic* g = FirstGraphic(d);
    return g ? run(d, g->m_id) : ECmd::Unavailable;
}
ECmd Toggle(bool& option) {
    option = !option;
    return ECmd::Done;
}
/// Deletes every selected graphic, each with its own confirmation.
ECmd DeleteSelectedGraphics(Czor2Doc& d) {
    ECmd last = ECmd::Unavailable;
    for (int32_t id : std::vector<int32_t>(d.Editor().m_graphics)) last = DeleteGraphic(d, id);
    return last;
}

// The rows' actions, one template per kind of setting.
template <EGraphicField F, int32_t V>
ECmd SetGraphic(Czor2Doc& d, bool) {
    return SetGraphicField(d, F, V);
}
template <EGraphicField F>
ECmd CheckGraphic(Czor2Doc& d, bool on) {
    return SetGraphicField(d, F, on ? 1 : 0);
}
template <EGraphicField F>
bool GraphicState(const Czor2Doc& d) {
    return GraphicOn(d, F);
}
template <EChartField F>
ECmd CheckChart(Czor2Doc& d, bool on) {
    return SetChartField(d, F, on ? 1 : 0);
}
template <EChartField F>
bool ChartState(const Czor2Doc& d) {
    return ChartOn(d, F);
}
template <EValueWindowField F>
ECmd CheckWindow(Czor2Doc& d, bool on) {
    return SetValueWindowField(d, F, on ? 1 : 0);
}
template <EValueWindowField F>
bool WindowState(const Czor2Doc& d) {
    return WindowOn(d, F);
}
template <EViewSwitch S>
ECmd CheckSwitch(Czor2Doc& d, bool on) {
    return SetViewSwitch(d, S, on);
}
template <EViewSwitch S>
bool SwitchState(const Czor2Doc& d) {
    return ViewSwitch(d, S);
}
/// Display options of the view only: no edit of the project.
template <bool CViewOptions::*M>
ECmd ToggleOption(Czor2Doc& d, bool) {
    return Toggle(d.Editor().m_options.*M);
}
template <bool CViewOptions::*M>
bool OptionState(const Czor2Doc& d) {
    return d.Editor().m_options.*M;
}

const CAidCommand kAidCommands[] = {
    // Graphics / Text Options.
    {"ID_BUTTON_GRAPHIC_TEXT_LEFT", EAidNeed::Graphics, SetGraphic<EGraphicField::AlignH, 0>, nullptr},
    {"ID_BUTTON_GRAPHIC_TEXT_HCENTER", EAidNeed::Graphics, SetGraphic<EGraphicField::AlignH, 1>, nullptr},
    {"ID_BUTTON_GRAPHIC_TEXT_RIGHT", EAidNeed::Graphics, SetGraphic<EGraphicField::AlignH, 2>, nullptr},
    {"ID_BUTTON_GRAPHIC_TEXT_TOP", EAidNeed::Graphics, SetGraphic<EGraphicField::AlignV, 0>, nullptr},
    {"ID_BUTTON_GRAPHIC_TEXT_VCENTER", EAidNeed::Graphics, SetGraphic<EGraphicField::AlignV, 1>, nullptr},
    {"ID_BUTTON_GRAPHIC_TEXT_BOTTOM", EAidNeed::Graphics, SetGraphic<EGraphicField::AlignV, 2>, nullptr},
    {"ID_COMBO_FONT", EAidNeed::Graphics, nullptr, nullptr},
    {"ID_CHECK_BOLDTEXT", EAidNeed::Graphics, CheckGraphic<EGraphicField::Bold>,
     GraphicState<EGraphicField::Bold>},
    {"ID_BUTTON_GRAPHICFONT_INC", EAidNeed::Graphics,
     [](Czor2Doc& d, bool) { return StepGraphicFontSize(d, 1); }, nullptr},
    {"ID_BUTTON_GRAPHICFONT_DEC", EAidNeed::Graphics,
     [](Czor2Doc& d, bool) { return StepGraphicFontSize(d, -1); }, nullptr},
    {"ID_BUTTON_GRAPHICDELETETEXT", EAidNeed::Graphics, [](Czor2Doc& d, bool) { return ClearGraphicText(d); },
     nullptr},
    // Graphics / Options.
    {"ID_BUTTON_ADDGRAPHIC", EAidNeed::ModuleView, nullptr, nullptr},
    {"ID_BTN_GRAPHIC_DELETE", EAidNeed::Graphics, [](Czor2Doc& d, bool) { return DeleteSelectedGraphics(d); },
     nullptr},
    {"ID_BUTTON_GRAPHIC_TRANS", EAidNeed::Graphics, CheckGraphic<EGraphicField::Transparent>,
     GraphicState<EGraphicField::Transparent>},
    {"ID_BUTTON_CLR_GRAPHIC_BACK", EAidNeed::Graphics, nullptr, nullptr},
    {"ID_CHECK_GRAPHIC3D", EAidNeed::Graphics, CheckGraphic<EGraphicField::Edges3d>,
     GraphicState<EGraphicField::Edges3d>},
    {"ID_CHECK_OUTLINE", EAidNeed::Graphics, CheckGraphic<EGraphicField::Outline>,
     GraphicState<EGraphicField::Outline>},
    {"ID_SPIN_LINEWIDTH_GRAPHICS", EAidNeed::Graphics, nullptr, nullptr},
    {"ID_BUTTON_GRAPHICCONSOLIDATE", EAidNeed::Graphics,
     [](Czor2Doc& d, bool) { return OnFirstGraphic(d, ConsolidateComponents); }, nullptr},
    {"ID_BUTTON_GRAPHICSHOWCOMPS", EAidNeed::Graphics,
     [](Czor2Doc& d, bool) { return OnFirstGraphic(d, ReleaseComponents); }, nullptr},
    {"ID_CHECK_SHOWCOMPCOUNT", EAidNeed::ModuleView, CheckSwitch<EViewSwitch::GraphicCount>,
     SwitchState<EViewSwitch::GraphicCount>},
    // Graphics / Size and Position.
    {"ID_BUTTON_GRAPHIC_ALIGNLEFT", EAidNeed::Graphics,
     [](Czor2Doc& d, bool) { return Align(d, EAlign::Left, EAlignTarget::Graphics); }, nullptr},
    {"ID_BUTTON_GRAPHIC_ALIGNRIGHT", EAidNeed::Graphics,
     [](Czor2Doc& d, bool) { return Align(d, EAlign::Right, EAlignTarget::Graphics); }, nullptr},
    {"ID_BUTTON_GRAPHIC_ALIGNTOP", EAidNeed::Graphics,
     [](Czor2Doc& d, bool) { return Align(d, EAlign::Top, EAlignTarget::Graphics); }, nullptr},
    {"ID_BUTTON_GRAPHIC_ALIGNBOTTOM", EAidNeed::Graphics,
     [](Czor2Doc& d, bool) { return Align(d, EAlign::Bottom, EAlignTarget::Graphics); }, nullptr},
    {"ID_BUTTON_GRAPHIC_ALIGNCENTERV", EAidNeed::Graphics,
     [](Czor2Doc& d, bool) { return Align(d, EAlign::Vertical, EAlignTarget::Graphics); }, nullptr},
    {"ID_BUTTON_GRAPHIC_ALIGNCENTERH", EAidNeed::Graphics,
     [](Czor2Doc& d, bool) { return Align(d, EAlign::Horizontal, EAlignTarget::Graphics); }, nullptr},
    {"ID_BUTTON_GRAPHIC_DISTVERT", EAidNeed::TwoGraphics,
     [](Czor2Doc& d, bool) { return DistributeVertically(d, EAlignTarget::Graphics); }, nullptr},
    {"ID_BUTTON_GRAPHIC_DISTHORZ", EAidNeed::TwoGraphics,
     [](Czor2Doc& d, bool) { return DistributeHorizontally(d, EAlignTarget::Graphics); }, nullptr},
    {"ID_BUTTON_GRAPHIC_SAMEWIDTH", EAidNeed::TwoGraphics,
     [](Czor2Doc& d, bool) { return MakeGraphicsSameSize(d, ESameSize::Width); }, nullptr},
    {"ID_BUTTON_GRAPHIC_SAMEHEIGHT", EAidNeed::TwoGraphics,
     [](Czor2Doc& d, bool) { return MakeGraphicsSameSize(d, ESameSize::Height); }, nullptr},
    {"ID_BUTTON_GRAPHIC_SAMESIZE", EAidNeed::TwoGraphics,
     [](Czor2Doc& d, bool) { return MakeGraphicsSameSize(d, ESameSize::Size); }, nullptr},
    // Charts.
    {"ID_BUTTON_CHARTDELETE", EAidNeed::Charts, [](Czor2Doc& d, bool) { return DeleteSelectedCharts(d); },
     nullptr},
    {"ID_BUTTON_CHARTSDELETEALL", EAidNeed::ChartsShown, [](Czor2Doc& d, bool) { return DeleteAllCharts(d); },
     nullptr},
    {"ID_CHECK_GRAPHCONNECTORS", EAidNeed::Always, CheckSwitch<EViewSwitch::ChartConnectors>,
     SwitchState<EViewSwitch::ChartConnectors>},
    {"ID_BUTTON_COLORCHART_BACK", EAidNeed::Always, nullptr, nullptr},
    {"ID_BUTTON_COLORCHART_DATA", EAidNeed::Always, nullptr, nullptr},
    {"ID_BUTTON_COLORCHART_GRID", EAidNeed::Always, nullptr, nullptr},
    {"ID_CHECK_CHART_AUTOSCALE", EAidNeed::Charts, CheckChart<EChartField::AutoScale>,
     ChartState<EChartField::AutoScale>},
    {"ID_EDIT_CHARTMAX", EAidNeed::Charts, nullptr, nullptr},
    {"ID_EDIT_CHARTMIN", EAidNeed::Charts, nullptr, nullptr},
    {"ID_EDIT_MAJORINC", EAidNeed::Charts, nullptr, nullptr},
    {"ID_EDIT_MINORINC", EAidNeed::Charts, nullptr, nullptr},
    {"ID_BUTTON_APPLYCHARTSCALE", EAidNeed::Charts, nullptr, nullptr},
    {"ID_CHECK_CHART_SHOWRANGE", EAidNeed::Charts, CheckChart<EChartField::ShowRange>,
     ChartState<EChartField::ShowRange>},
    {"ID_CHECK_CHART_SHOWLABELS", EAidNeed::Charts, CheckChart<EChartField::ShowAxis>,
     ChartState<EChartField::ShowAxis>},
    {"ID_CHECK_CHART_SHOWGRID", EAidNeed::Charts, CheckChart<EChartField::ShowGridlines>,
     ChartState<EChartField::ShowGridlines>},
    {"ID_CHECK_CHARTLOCK", EAidNeed::Charts, CheckChart<EChartField::LockLocation>,
     ChartState<EChartField::LockLocation>},
    {"ID_BTN_CHARTS_APPLYOPTIONSTOALL", EAidNeed::Charts,
     [](Czor2Doc& d, bool) { return ApplyChartOptionsToAll(d); }, nullptr},
    {"ID_BUTTON_UPDATESUFFIX", EAidNeed::ValueWindows, nullptr, nullptr},
    // Data Windows.
    {"ID_CHECK_TRANSPARENT", EAidNeed::ValueWindows, CheckWindow<EValueWindowField::Transparent>,
     WindowState<EValueWindowField::Transparent>},
    {"ID_BUTTON_CLR_VALUE_BACK", EAidNeed::ValueWindows, nullptr, nullptr},
    {"ID_COMBO_FONTVALUES", EAidNeed::ValueWindows, nullptr, nullptr},
    {"ID_SPIN_FONTSIZE", EAidNeed::ValueWindows, nullptr, nullptr},
    {"ID_SPIN_PRECISION", EAidNeed::ValueWindows, nullptr, nullptr},
    {"ID_EDIT_SUFFIX", EAidNeed::ValueWindows, nullptr, nullptr},
    {"ID_CHECK_USESUFFIX", EAidNeed::ValueWindows, CheckWindow<EValueWindowField::ShowSuffix>,
     WindowState<EValueWindowField::ShowSuffix>},
    {"ID_EDIT_VALUECAPTION", EAidNeed::ValueWindows, nullptr, nullptr},
    {"ID_CHECK_SHOWTITLE", EAidNeed::ValueWindows, CheckWindow<EValueWindowField::ShowTitle>,
     WindowState<EValueWindowField::ShowTitle>},
    {"ID_CHECK_VALUEWINCONNECTORS", EAidNeed::Always, CheckSwitch<EViewSwitch::ValueWindowConnectors>,
     SwitchState<EViewSwitch::ValueWindowConnectors>},
    {"ID_CHECK_SHOWOUTLINE", EAidNeed::ValueWindows, CheckWindow<EValueWindowField::ShowOutline>,
     WindowState<EValueWindowField::ShowOutline>},
    {"ID_CHECK_SHOWCOMPNAME", EAidNeed::ValueWindows, CheckWindow<EValueWindowField::ShowComponentName>,
     WindowState<EValueWindowField::ShowComponentName>},
    {"ID_BUTTON_REMOVEVALUE", EAidNeed::ValueWindows,
     [](Czor2Doc& d, bool) { return RemoveSelectedValueWindows(d); }, nullptr},
    // Reduced components, categories, module connections.
    {"ID_BUTTON_REDUCEALL", EAidNeed::ModuleView, [](Czor2Doc& d, bool) { return ReduceAllComponents(d); },
     nullptr},
    {"ID_BUTTON_EXPANDALL", EAidNeed::ModuleView, [](Czor2Doc& d, bool) { return ExpandAllComponents(d); },
     nullptr},
    {"ID_BUTTON_MODELREDUCE", EAidNeed::Components,
     [](Czor2Doc& d, bool) { return ReduceSelectedComponents(d); }, nullptr},
    {"ID_BUTTON_MODELEXPAND", EAidNeed::Components,
     [](Czor2Doc& d, bool) { return ExpandSelectedComponents(d); }, nullptr},
    {"ID_CHECK_INPUTCAT_DETAIL", EAidNeed::SystemView, CheckSwitch<EViewSwitch::InputCategoryDetail>,
     SwitchState<EViewSwitch::InputCategoryDetail>},
    {"ID_CHECK_OUTPUTCAT_DETAIL", EAidNeed::SystemView, CheckSwitch<EViewSwitch::OutputCategoryDetail>,
     SwitchState<EViewSwitch::OutputCategoryDetail>},
    {"ID_BUTTON_INPUTCATEGORY_EDIT", EAidNeed::InputCategory, nullptr, nullptr},
    {"ID_BUTTON_OUTPUTCATEGORY_EDIT", EAidNeed::OutputCategory, nullptr, nullptr},
    {"ID_BUTTON_ADD_CONNECTION_IN", EAidNeed::Module, nullptr, nullptr},
    {"ID_CHECK_SHOWACTIVEOUTPUTS", EAidNeed::Always, CheckSwitch<EViewSwitch::HighlightActiveOutputs>,
     SwitchState<EViewSwitch::HighlightActiveOutputs>},
    // View.
    {"ID_BUTTON_COLORBACKGROUND", EAidNeed::Always, nullptr, nullptr},
    {"ID_BUTTON_COLORGRID", EAidNeed::Always, nullptr, nullptr},
    {"ID_CHECK_COMP_NAMES", EAidNeed::Always, ToggleOption<&CViewOptions::componentNames>,
     OptionState<&CViewOptions::componentNames>},
    {"ID_CHECK_COMP_HELPERTEXT", EAidNeed::Always, ToggleOption<&CViewOptions::helperText>,
     OptionState<&CViewOptions::helperText>},
    {"ID_CHECK_COMPINPUT_NAMES", EAidNeed::Always, ToggleOption<&CViewOptions::inputNames>,
     OptionState<&CViewOptions::inputNames>},
    {"ID_CHECK_COMP_OUTPUTNAMES", EAidNeed::Always, ToggleOption<&CViewOptions::outputNames>,
     OptionState<&CViewOptions::outputNames>},
    {"ID_CHECK_COMP_CONNECTIONS", EAidNeed::Always, ToggleOption<&CViewOptions::connections>,
     OptionState<&CViewOptions::connections>},
    {"ID_CHECK_SHOWMINIVIEW", EAidNeed::Always, ToggleOption<&CViewOptions::showMiniview>,
     OptionState<&CViewOptions::showMiniview>},
    {"ID_BUTTON_MVOPTIONS_INCONNS", EAidNeed::Always, ToggleOption<&CViewOptions::miniviewIncoming>,
     OptionState<&CViewOptions::miniviewIncoming>},
    {"ID_BUTTON_MVOPTIONS_OUTCONNS", EAidNeed::Always, ToggleOption<&CViewOptions::miniviewOutgoing>,
     OptionState<&CViewOptions::miniviewOutgoing>},
    {"ID_BUTTON_MVOPTIONS_NTONCONNS", EAidNeed::Always, ToggleOption<&CViewOptions::miniviewModuleLinks>,
     OptionState<&CViewOptions::miniviewModuleLinks>},
    {"ID_BUTTON_MVOPTIONS_NETNAMES", EAidNeed::Always, ToggleOption<&CViewOptions::miniviewNames>,
     OptionState<&CViewOptions::miniviewNames>},
};

/// The command value of each row of kAidCommands, looked up once.
const std::vector<int>& AidValues() {
    static const std::vector<int> values = [] {
        std::vector<int> v;
        for (const CAidCommand& c : kAidCommands) v.push_back(Value(c.ident));
        return v;
    }();
    return values;
}

const CAidCommand* FindAidCommand(int value) {
    const std::vector<int>& values = AidValues();
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i] == value) return &kAidCommands[i];
    return nullptr;
}

}  // namespace

CQtSimTimer::CQtSimTimer(CSimController*& controller) {
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, this, [&controller] {
        if (controller) controller->OnTimerTick();
    });
}

void CQtSimTimer::Start(int32_t periodMs) {
    m_timer.start(periodMs);
}

CMainWindow::CMainWindow(QWidget* parent, std::optional<CUdpConfig> link)
    : QMainWindow(parent), m_prompter(this), m_actions(m_doc) {
    m_doc.SetPrompter(&m_prompter);
    m_doc.SetObserver(this);
    m_doc.SetSavePathChooser(
        [this] { return ChooseSavePath(tr("Save Corvel Project (ZR2)")).toStdString(); });
    m_simOwner = std::make_unique<CSimController>(m_doc.System());
    m_sim = m_simOwner.get();
    m_timer = std::make_unique<CQtSimTimer>(m_sim);
    m_sim->SetTimer(m_timer.get());
    m_sim->SetView(this);
    // The real-time link binds its socket at start; datagrams arrive through
    // the window's event loop.
    m_link = std::make_unique<CUdpLink>(m_doc.System(), link ? *link : ReadUdpConfig("udp.conf"));
    m_link->Attach(m_sim);
    m_linkNotifier = std::make_unique<CUdpLinkNotifier>(*m_link);
    m_doc.SetLink(m_linkNotifier.get());
    if (m_link->Start()) {
        m_linkWatch = std::make_unique<QSocketNotifier>(m_link->ReadFd(), QSocketNotifier::Read);
        connect(m_linkWatch.get(), &QSocketNotifier::activated, this, [this] {
            m_link->OnReadReady();
            Refresh();
        });
    }
    WatchLink();

    CViewHost host;
    host.modeChanged = [this] { Refresh(); };
    host.selectionChanged = [this] { UpdateCommandStates(); };
    host.modelChanged = [this] { Refresh(); };
    host.editObject = [this](const CHit& h) { EditObject(h); };
    host.menuCommand = [this](const CHit& h, const QString& item) { MenuCommand(h, item); };
    host.menuItemAvailable = [this](const CHit& h, const QString& item) {
        return MenuItemAvailable(h, item);
    };
    host.simulationActive = [this] { return m_sim->IsActive(); };
    m_view = new CDesignView(m_actions, host, this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_ribbonTabs = new QTabBar(central);
    m_ribbonPages = new QStackedWidget(central);
    layout->addWidget(m_ribbonTabs);
    layout->addWidget(m_ribbonPages);
    layout->addWidget(m_view, 1);
    setCentralWidget(central);
    BuildRibbon();
    BuildMenus();
    BuildDocks();
    statusBar()->showMessage(tr("Ready"));
    setAcceptDrops(true);
    resize(1400, 900);
    ApplySettings();
    Refresh();
}

CMainWindow::~CMainWindow() {
    // Docks report their hiding while the base class tears the window down.
    for (QDockWidget* d : findChildren<QDockWidget*>()) disconnect(d, nullptr, this, nullptr);
    m_linkWatch.reset();
    m_link->Shutdown();
    m_doc.SetLink(nullptr);
    m_doc.SetObserver(nullptr);
    m_sim->SetView(nullptr);
    m_timer->Stop();
}

void CMainWindow::WatchLink() {
    if (m_linkWatch) m_linkWatch->setEnabled(m_link->WantsRead());
}

void CMainWindow::OnChangeRecorded(const std::string&) {
    Refresh();
}

void CMainWindow::OnDocumentReloaded() {
    m_refillValues = true;  // the same ids may now carry other values
    m_view->DocumentReplaced();
    Refresh();
}

// --- ribbon ----------------------------------------------------------------

void CMainWindow::BuildRibbon() {
    QMap<QString, QWidget*> pages;
    QMap<QString, QGroupBox*> panels;
    QMap<QGroupBox*, int> panelCounts;
    for (const char* category : RibbonCategories()) {
        const QString name = QString::fromLatin1(category);
        if (name == "File") continue;
        auto* page = new QWidget;
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(4, 2, 4, 2);
        row->addStretch(1);
        pages[name] = page;
        const int index = m_ribbonTabs->addTab(name == "Charts (context)" ? QStringLiteral("Charts") : name);
        m_categories << name;
        // A category wider than the window scrolls sideways instead of widening it.
        auto* scroller = new QScrollArea;
        scroller->setWidget(page);
        scroller->setWidgetResizable(true);
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_ribbonPages->addWidget(scroller);
        if (IsContextCategory(category)) m_ribbonTabs->setTabVisible(index, false);
    }
    for (const CCommandRow& r : CommandRows()) {
        const QString category = QString::fromLatin1(r.category);
        if (category == "File") continue;
        QWidget* page = pages.value(category);
        if (!page) continue;
        const QString key = category + '/' + QString::fromLatin1(r.panel);
        QGroupBox* panel = panels.value(key);
        if (!panel) {
            panel = new QGroupBox(QString::fromLatin1(r.panel), page);
            auto* grid = new QGridLayout(panel);
            grid->setContentsMargins(4, 2, 4, 2);
            grid->setSpacing(2);
            auto* row = static_cast<QHBoxLayout*>(page->layout());
            row->insertWidget(row->count() - 1, panel);
            panels[key] = panel;
        }
        auto* action = new QAction(QString::fromUtf8(r.label), this);
        action->setObjectName(QString::fromLatin1(r.ident));
        action->setData(r.value);
        const char* tip = CommandTip(r.value);
        const char* title = CommandTipTitle(r.value);
        action->setToolTip(tip ? QString::fromUtf8(tip) : QString::fromUtf8(r.label));
        action->setStatusTip(tip ? QString::fromUtf8(tip) : QString::fromUtf8(r.label));
        if (title) action->setWhatsThis(QString::fromUtf8(title));
        const CAidCommand* aid = FindAidCommand(r.value);
        if (r.kind == ECommandKind::Check || (aid && aid->state)) action->setCheckable(true);
        m_actionsByValue.insert(r.value, action);
        const int value = r.value;
        auto* grid = static_cast<QGridLayout*>(panel->layout());
        const int n = panelCounts[panel]++;
        QWidget* widget = nullptr;
        switch (r.kind) {
            case ECommandKind::Spin: {
                auto* box = new QWidget(panel);
                auto* h = new QHBoxLayout(box);
                h->setContentsMargins(0, 0, 0, 0);
                h->addWidget(new QLabel(action->text(), box));
                auto* spin = new QSpinBox(box);
                spin->setToolTip(action->toolTip());
                h->addWidget(spin);
                if (value == kCmdRate) {
                    spin->setRange(kMinCyclesPerSecond, kMaxCyclesPerSecond);
                    m_rateSpin = spin;
                    connect(spin, &QSpinBox::valueChanged, this, [this](int v) {
                        if (m_sim->Rate() != v) SetRate(v);
                    });
                } else if (aid) {
                    const bool lineWidth = std::strcmp(r.ident, "ID_SPIN_LINEWIDTH_GRAPHICS") == 0;
                    const bool precision = std::strcmp(r.ident, "ID_SPIN_PRECISION") == 0;
                    spin->setRange(lineWidth || precision ? 0 : 1, lineWidth ? 10 : precision ? 15 : 200);
                    connect(spin, &QSpinBox::valueChanged, this,
                            [this, value](int v) { ApplySpin(value, v); });
                    m_valueWidgets.insert(value, box);
                } else if (value == kCmdGridSpacing) {
                    spin->setRange(4, 128);
                    m_gridSpin = spin;
                    connect(spin, &QSpinBox::valueChanged, this, [this](int v) {
                        m_view->Options().gridSpacing = v;
                        m_settings.WriteInt(kGridWidth, v);
                        m_view->viewport()->update();
                    });
                }
                connect(action, &QAction::changed, box,
                        [box, action] { box->setEnabled(action->isEnabled()); });
                widget = box;
                break;
            }
            case ECommandKind::Combo: {
                if (aid) {
                    // The two font boxes.
                    auto* fonts = new QFontComboBox(panel);
                    fonts->setToolTip(action->toolTip());
                    fonts->setMaximumWidth(150);
                    connect(fonts, &QComboBox::textActivated, this,
                            [this, value](const QString& family) { ApplyFont(value, family); });
                    connect(action, &QAction::changed, fonts,
                            [fonts, action] { fonts->setEnabled(action->isEnabled()); });
                    m_valueWidgets.insert(value, fonts);
                    widget = fonts;
                    break;
                }
                auto* combo = new QComboBox(panel);
                combo->setToolTip(action->toolTip());
                if (value == kCmdConnectorType) {
                    combo->addItems({tr("Straight Lines"), tr("Right Angles"), tr("Curved Lines")});
                    m_connectorCombo = combo;
                    connect(combo, &QComboBox::currentIndexChanged, this, [this](int i) {
                        if (i < 0) return;
                        m_view->Options().connectorType = i;
                        m_settings.WriteInt(kConnectorType, i);
                        m_view->viewport()->update();
                    });
                }
                connect(action, &QAction::changed, combo,
                        [combo, action] { combo->setEnabled(action->isEnabled()); });
                widget = combo;
                break;
            }
            case ECommandKind::Edit: {
                auto* edit = new QLineEdit(panel);
                edit->setPlaceholderText(action->text());
                edit->setMaximumWidth(90);
                edit->setToolTip(action->toolTip());
                m_valueWidgets.insert(value, edit);
                // The same field in another panel shows the same text.
                connect(edit, &QLineEdit::textEdited, this, [this, value, edit](const QString& text) {
                    for (QWidget* w : m_valueWidgets.values(value))
                        if (auto* other = qobject_cast<QLineEdit*>(w); other && other != edit)
                            other->setText(text);
                });
                // The caption and the suffix apply on Return; the scale by its Apply button.
                if (std::strcmp(r.ident, "ID_EDIT_VALUECAPTION") == 0 ||
                    std::strcmp(r.ident, "ID_EDIT_SUFFIX") == 0)
                    connect(edit, &QLineEdit::returnPressed, this, [this, value] {
                        if (RunValueCommand(value)) Refresh();
                    });
                connect(action, &QAction::changed, edit,
                        [edit, action] { edit->setEnabled(action->isEnabled()); });
                widget = edit;
                break;
            }
            default: {
                auto* button = new QToolButton(panel);
                button->setDefaultAction(action);
                button->setToolButtonStyle(Qt::ToolButtonTextOnly);
                button->setAutoRaise(true);
                widget = button;
                connect(action, &QAction::triggered, this, [this, value] { RunCommand(value); });
                break;
            }
        }
        widget->setObjectName(QString::fromLatin1(r.ident));
        grid->addWidget(widget, n % kRibbonRows, n / kRibbonRows);
    }
    auto wrap = [this](int i) { m_ribbonPages->setCurrentIndex(i); };
    connect(m_ribbonTabs, &QTabBar::currentChanged, this, wrap);
    m_ribbonTabs->setExpanding(false);
    m_ribbonTabs->setDrawBase(false);
    m_ribbonPages->setFixedHeight(118);
}

QStringList CMainWindow::RibbonTabs() const {
    QStringList tabs;
    for (int i = 0; i < m_ribbonTabs->count(); ++i)
        if (m_ribbonTabs->isTabVisible(i)) tabs << m_ribbonTabs->tabText(i);
    return tabs;
}

QAction* CMainWindow::CommandAction(int value) const {
    const auto list = m_actionsByValue.values(value);
    return list.isEmpty() ? nullptr : list.back();
}

void CMainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    struct CItem {
        int value;
        const char* label;
        QKeySequence key;
    } items[] = {
        {kCmdFileNew, "New", QKeySequence::New},
        {kCmdFileOpen, "Open...", QKeySequence::Open},
        {kCmdFileSave, "Save", QKeySequence::Save},
        {kCmdFileSaveAs, "Save As...", QKeySequence::SaveAs},
    };
    for (const CItem& item : items) {
        QAction* a = file->addAction(tr(item.label));
        a->setShortcut(item.key);
        a->setData(item.value);
        const int value = item.value;
        connect(a, &QAction::triggered, this, [this, value] { RunCommand(value); });
        m_actionsByValue.insert(value, a);
    }
    file->addSeparator();
    const CItem printing[] = {
        {kCmdFilePrint, "Print", QKeySequence::Print},
        {kCmdFilePrintDirect, "Quick Print", QKeySequence()},
        {kCmdFilePrintPreview, "Print Preview", QKeySequence()},
        {kCmdFilePrintSetup, "Print Setup", QKeySequence()},
    };
    for (const CItem& item : printing) {
        QAction* a = file->addAction(tr(item.label));
        a->setShortcut(item.key);
        a->setData(item.value);
        const int value = item.value;
        connect(a, &QAction::triggered, this, [this, value] { RunCommand(value); });
        m_actionsByValue.insert(value, a);
    }
    file->addSeparator();
    m_recentMenu = file->addMenu(tr("Recent Files"));
    file->addSeparator();
    QAction* exit = file->addAction(tr("Exit"));
    exit->setData(kCmdAppExit);
    exit->setShortcut(QKeySequence::Quit);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    m_actionsByValue.insert(kCmdAppExit, exit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = edit->addAction(tr("Undo"));
    undo->setData(kCmdUndo);
    undo->setShortcut(QKeySequence::Undo);
    connect(undo, &QAction::triggered, this, [this] { RunCommand(kCmdUndo); });
    m_actionsByValue.insert(kCmdUndo, undo);
    QAction* redo = edit->addAction(tr("Redo"));
    redo->setData(kCmdRedo);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    connect(redo, &QAction::triggered, this, [this] { RunCommand(kCmdRedo); });
    m_actionsByValue.insert(kCmdRedo, redo);
    QAction* system = edit->addAction(tr("System View"));
    system->setShortcut(Qt::Key_Escape);
    connect(system, &QAction::triggered, this, [this] { m_view->ShowSystem(); });
    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* zoomIn = view->addAction(tr("Zoom In"));
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    connect(zoomIn, &QAction::triggered, this, [this] { m_view->SetZoom(m_view->Zoom() * 1.25); });
    QAction* zoomOut = view->addAction(tr("Zoom Out"));
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(zoomOut, &QAction::triggered, this, [this] { m_view->SetZoom(m_view->Zoom() / 1.25); });
    QAction* zoomReset = view->addAction(tr("Actual Size"));
    zoomReset->setShortcut(Qt::CTRL | Qt::Key_0);
    connect(zoomReset, &QAction::triggered, this, [this] { m_view->SetZoom(1.0); });
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* about = help->addAction(tr("About Mindlatch"));
    connect(about, &QAction::triggered, this, [this] { RunCommand(kCmdAppAbout); });
    UpdateRecentMenu();
}

void CMainWindow::BuildDocks() {
    m_tree = new CStructureTree(this);
    connect(m_tree, &CStructureTree::openModule, this, [this](int id) {
        if (CNetwork* m = m_doc.System().FindModule(id)) m_view->ShowModule(m);
    });
    m_treeDock = new QDockWidget(tr("System Structure"), this);
    m_treeDock->setObjectName("SystemStructure");
    m_treeDock->setWidget(m_tree);
    addDockWidget(Qt::LeftDockWidgetArea, m_treeDock);

    m_simPane = new CSimPane(this);
    m_simDock = new QDockWidget(tr("Simulation Controls"), this);
    m_simDock->setObjectName("SimulationControls");
    m_simDock->setWidget(m_simPane);
    addDockWidget(Qt::LeftDockWidgetArea, m_simDock);

    const struct {
        int group;
        const char* title;
    } palettes[] = {{kGroupLogic, "Logic"},
                    {kGroupMath, "Math"},
                    {kGroupSignals, "Signals"},
                    {kGroupUtility, "Utility"},
                    {kGroupDecision, "Decision"}};
    for (int i = 0; i < 5; ++i) {
        auto* list = new CPaletteList(palettes[i].group, this);
        list->Fill(m_doc.System());
        auto* dock = new QDockWidget(tr(palettes[i].title), this);
        dock->setObjectName(QStringLiteral("Palette%1").arg(palettes[i].title));
        dock->setWidget(list);
        dock->setMinimumWidth(190);
        addDockWidget(Qt::RightDockWidgetArea, dock);
        if (i > 0) tabifyDockWidget(m_paletteDocks[0], dock);
        m_paletteDocks[i] = dock;
    }
    m_paletteDocks[0]->raise();

    m_miniview = new CMiniview(*m_view, this);
    m_miniDock = new QDockWidget(tr("Miniview"), this);
    m_miniDock->setObjectName("Miniview");
    m_miniDock->setWidget(m_miniview);
    addDockWidget(Qt::LeftDockWidgetArea, m_miniDock);
    connect(m_view, &CDesignView::viewChanged, m_miniview, qOverload<>(&QWidget::update));
    // Closing the dock is the same as switching the miniview off.
    connect(m_miniDock, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (!shown && isVisible() && !m_miniDock->isFloating() && m_miniDock->isHidden())
            m_view->Options().showMiniview = false;
    });

    m_feedback = new CFeedbackPane(this);
    m_feedbackDock = new QDockWidget(tr("Feedback Windows"), this);
    m_feedbackDock->setObjectName("Feedback");
    m_feedbackDock->setWidget(m_feedback);
    addDockWidget(Qt::BottomDockWidgetArea, m_feedbackDock);
    resizeDocks({m_feedbackDock}, {150}, Qt::Vertical);
    resizeDocks({m_treeDock, m_paletteDocks[0]}, {230, 200}, Qt::Horizontal);
    for (QDockWidget* d : findChildren<QDockWidget*>())
        connect(d, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandStates(); });
}

void CMainWindow::ApplySettings() {
    CViewOptions& o = m_view->Options();
    o.connectorType = std::clamp(m_settings.ReadInt(kConnectorType), 0, 2);
    o.gridSpacing = std::clamp(m_settings.ReadInt(kGridWidth), 4, 128);
    o.showGrid = m_settings.ReadInt(kShowGrid) != 0;
    o.showModuleValues = m_settings.ReadInt(kShowModuleValues) != 0;
    m_sim->SetRate(m_settings.ReadInt(kCyclesPerSecond));
    if (m_connectorCombo) m_connectorCombo->setCurrentIndex(o.connectorType);
    if (m_gridSpin) m_gridSpin->setValue(o.gridSpacing);
    if (m_rateSpin) {
        const QSignalBlocker b(m_rateSpin);
        m_rateSpin->setValue(m_sim->Rate());
    }
}

void CMainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (m_settingsApplied) return;
    m_settingsApplied = true;
    if (m_settings.ReadInt(kShowWelcome) != 0 && !qEnvironmentVariableIsSet("ZOR2_NO_WELCOME"))
        QTimer::singleShot(0, this, [this] { ShowWelcome(); });
}

void CMainWindow::ShowWelcome() {
    auto* box = new QMessageBox(
        QMessageBox::Information, tr("Welcome"),
        tr("Welcome to the ZOR2 designer.\n\n"
           "Double click empty space of the system view to add a module, double click a module to design it, drag components from the palettes onto it and connect outputs to inputs by dragging with the right mouse button. Run the system from the Simulation tab."),
        QMessageBox::Ok, this);
    QCheckBox* again = new QCheckBox(tr("Show this screen at start"), box);
    again->setChecked(m_settings.ReadInt(kShowWelcome) != 0);
    box->setCheckBox(again);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this,
            [this, again] { m_settings.WriteInt(kShowWelcome, again->isChecked()); });
    box->open();
}

// --- commands --------------------------------------------------------------

void CMainWindow::RunCommand(int value) {
    CSystem& s = m_doc.System();
    CEditorState& e = m_doc.Editor();
    CNetwork* module = m_view->Module();
    CNetwork* selectedModule = e.CurrentModule(s);
    CNetworkModel* component = module ? e.SelectedComponent(s) : nullptr;
    QAction* action = CommandAction(value);
    const bool checked = action && action->isChecked();
    CViewOptions& o = m_view->Options();
    if (const CAidCommand* aid = FindAidCommand(value); aid && aid->run) {
        if (!CommandEnabled(value)) return;
        e.ApplyToModel(s);
        aid->run(m_doc, checked);
        m_refillValues = true;
        Refresh();
        return;
    }
    for (const CSelectionCommand& c : kSelectionCommands) {
        if (Value(c.ident) != value) continue;
        e.ApplyToModel(s);
        c.run(m_doc);
        if (value == Value("ID_BUTTON_VIEWMODULE")) m_view->DocumentReplaced();
        Refresh();
        return;
    }
    switch (value) {
        case kCmdFileNew:
        case kCmdNewProject:
            NewProject();
            break;
        case kCmdFileOpen:
        case kCmdOpen:
            Open();
            break;
        case kCmdFileSave:
        case kCmdSave:
            Save();
            break;
        case kCmdFileSaveAs:
        case kCmdSaveAs:
            SaveAs();
            break;
        case kCmdExit:
        case kCmdAppExit:
            close();
            return;
        case kCmdAppAbout:
            QMessageBox::about(this, tr("About Mindlatch"),
                               tr("ZOR2 designer %1").arg(QApplication::applicationVersion()));
            break;
        case kCmdProjectInfo:
            ShowProjectInfo();
            break;
        case kCmdAppOptions:
            ShowOptions();
            break;
        case kCmdExportRuntime:
            ExportRuntime();
            break;
        case kCmdWelcome:
            ShowWelcome();
            break;
        case kCmdUndo:
            m_doc.UndoChange();
            break;
        case kCmdRedo:
            m_doc.RedoChange();
            break;
        case kCmdAddModule:
            AddModule(m_doc);
            break;
        case kCmdEnableRealtime:
            m_link->ToggleEnabled();
            WatchLink();
            break;
        case kCmdAddInputCategory:
        case kCmdAddOutputCategory: {
            std::string name = kDefaultCategoryName, description;
            if (!EditNameDescription(this, tr("Category"), name, description)) return;
            if (value == kCmdAddInputCategory)
                AddInputCategory(m_doc, name);
            else
                AddOutputCategory(m_doc, name);
            break;
        }
        case kCmdImportInputs:
        case kCmdImportOutputs: {
            const QString path = QFileDialog::getOpenFileName(this, tr("Open CSV file for Import (CSV)"),
                                                              QString(), tr("CSV Files(*.csv)"));
            if (path.isEmpty()) return;
            if (value == kCmdImportInputs)
                ImportSystemInputs(m_doc, path.toStdString());
            else
                ImportSystemOutputs(m_doc, path.toStdString());
            break;
        }
        case kCmdImportModule: {
            const QString path = QFileDialog::getOpenFileName(this, tr("Load Corvel System Module (ZRM)"),
                                                              m_settings.Folder(EFolder::Modules),
                                                              tr("System Module Files(*.zrm)"));
            if (!path.isEmpty()) ImportModule(m_doc, path.toStdString());
            break;
        }
        case kCmdExportModule: {
            if (!selectedModule) return;
            const QString start = m_settings.Folder(EFolder::Modules);
            QDir().mkpath(start);
            QString path = QFileDialog::getSaveFileName(
                this, tr("Save Corvel System Module (ZRM)"),
                QDir(start).filePath(Q(selectedModule->m_name) + ".zrm"), tr("System Module Files(*.zrm)"));
            if (path.isEmpty()) return;
            if (QFileInfo(path).suffix().isEmpty()) path += ".zrm";
            ExportModule(m_doc, path.toStdString());
            break;
        }
        case kCmdEditSystemInput:
            if (CExternalInput* p = e.SelectedSystemInput(s))
                EditObject(CHit{.kind = EHit::SystemInput, .systemInput = p});
            break;
        case kCmdEditSystemOutput:
            if (CExternalOutput* q = e.SelectedSystemOutput(s))
                EditObject(CHit{.kind = EHit::SystemOutput, .systemOutput = q});
            break;
        case kCmdModuleEditInput:
            if (CNetworkInput* in = e.SelectedModuleInput(s))
                EditObject(CHit{.kind = EHit::ModInput, .module = in->m_owner, .moduleInput = in});
            break;
        case kCmdModuleEditOutput:
            if (CNetworkOutput* out = e.SelectedModuleOutput(s))
                EditObject(CHit{.kind = EHit::ModOutput, .module = out->m_owner, .moduleOutput = out});
            break;
        case 32960:  // Edit Input of a component
            if (CModelInput* in = e.SelectedComponentInput(s))
                EditObject(CHit{
                    .kind = EHit::ComponentInput, .module = module, .component = in->m_owner, .input = in});
            break;
        case 32943:  // Edit Output of a component
            if (CModelOutput* out = e.SelectedComponentOutput(s))
                EditObject(CHit{.kind = EHit::ComponentOutput,
                                .module = module,
                                .component = out->m_owner,
                                .output = out});
            break;
        case kCmdModuleProperties:
            if (selectedModule) EditObject(CHit{.kind = EHit::Module, .module = selectedModule});
            break;
        case kCmdModuleShowValues:
            m_view->Options().showModuleValues = checked;
            m_settings.WriteInt(kShowModuleValues, checked ? 1 : 0);
            break;
        case kCmdAddSystemInput: {
            CSystemInputData data;
            if (!EditSystemInputDialog(this, tr("Add System Input"), s, data, {}, {})) return;
            AddSystemInput(m_doc, data);
            break;
        }
        case kCmdAddSystemOutput: {
            CSystemOutputData data;
            if (!EditSystemOutputDialog(this, tr("Add System Output"), s, data)) return;
            AddSystemOutput(m_doc, data);
            break;
        }
        case kCmdSelectAll:
            m_view->SelectAllComponents();
            break;
        case kCmdCenterView:
            m_view->CenterView();
            break;
        case kCmdComponentProperties:
            if (component)
                EditObject(CHit{.kind = EHit::Component, .module = module, .component = component});
            break;
        case kCmdRun:
            m_sim->Run();
            break;
        case kCmdStop:
            m_sim->Stop();
            break;
        case kCmdPause:
            m_sim->Pause();
            break;
        case kCmdRunOnce:
            m_sim->RunOnce();
            break;
        case kCmdRunStep:
            m_sim->RunStep();
            break;
        case kCmdReset:
            m_sim->Reset();
            break;
        case kCmdPreventRender:
            m_sim->m_preventRender = checked;
            break;
        case kCmdEnableBehaviors:
            ToggleBehaviors(m_doc);
            break;
        case kCmdAddBehavior: {
            CExternalInput* input = e.SelectedSystemInput(s);
            if (!input) return;
            CBehaviorData data = NewBehaviorData(s, input->m_id);
            if (!EditBehaviorDialog(this, Q(input->m_name), data)) return;
            AddBehavior(m_doc, data);
            break;
        }
        case kCmdViewBehaviors:
            ShowBehaviors(this, s);
            break;
        case kCmdResetInput:
            ResetInputValue(m_doc);
            break;
        case kCmdPaneSystem:
            m_treeDock->setVisible(checked);
            break;
        case kCmdPaneSimulation:
            m_simDock->setVisible(checked);
            break;
        case kCmdPaneFeedback:
            m_feedbackDock->setVisible(checked);
            break;
        case kCmdStatusBar:
            statusBar()->setVisible(checked);
            break;
        case kCmdPaletteLogic:
            m_paletteDocks[0]->setVisible(checked);
            break;
        case kCmdPaletteMath:
            m_paletteDocks[1]->setVisible(checked);
            break;
        case kCmdPaletteSignals:
            m_paletteDocks[2]->setVisible(checked);
            break;
        case kCmdPaletteUtility:
            m_paletteDocks[3]->setVisible(checked);
            break;
        case kCmdPaletteDecision:
            m_paletteDocks[4]->setVisible(checked);
            break;
        case kCmdClearFeedbackAll:
            s.Feedback().build.Clear();
            s.Feedback().execution.Clear();
            s.Feedback().results.Clear();
            break;
        case kCmdClearFeedbackSystem:
            s.Feedback().build.Clear();
            break;
        case kCmdClearFeedbackExecute:
            s.Feedback().execution.Clear();
            break;
        case kCmdShowGrid:
            m_view->Options().showGrid = !m_view->Options().showGrid;
            m_settings.WriteInt(kShowGrid, m_view->Options().showGrid ? 1 : 0);
            break;
        case kCmdRestoreColours:
            m_view->Options().backgroundColour = CViewOptions{}.backgroundColour;
            m_view->Options().gridColour = CViewOptions{}.gridColour;
            break;
        case kCmdShowInputsBar:
        case kCmdShowModuleInputs:
            if (value == kCmdShowInputsBar)
                o.showSystemInputsBar = !o.showSystemInputsBar;
            else
                o.showModuleInputsBar = !o.showModuleInputsBar;
            break;
        case kCmdShowOutputsBar:
        case kCmdShowModuleOutputs:
            if (value == kCmdShowOutputsBar)
                o.showSystemOutputsBar = !o.showSystemOutputsBar;
            else
                o.showModuleOutputsBar = !o.showModuleOutputsBar;
            break;
        case kCmdFilePrint:
        case kCmdFilePrintDirect:
        case kCmdFilePrintPreview:
        case kCmdFilePrintSetup:
            Print(value);
            return;
        default:
            if (!RunValueCommand(value)) return;
            break;
    }
    Refresh();
}

bool CMainWindow::CommandEnabled(int value) const {
    const auto list = m_actionsByValue.values(value);
    return !list.isEmpty() && list.front()->isEnabled();
}

std::optional<int32_t> CMainWindow::ChooseColour(int32_t current) {
    if (m_colourHook) return m_colourHook(current);
    const QColor c = QColorDialog::getColor(
        QColor(current & 0xFF, (current >> 8) & 0xFF, (current >> 16) & 0xFF), this, tr("Colour"));
    if (!c.isValid()) return std::nullopt;
    return c.red() | (c.green() << 8) | (c.blue() << 16);  // stored 0xBBGGRR
}

std::optional<QString> CMainWindow::AskText(const QString& title, const QString& current) {
    if (m_textHook) return m_textHook(title, current);
    bool ok = false;
    const QString text = QInputDialog::getMultiLineText(this, title, title, current, &ok);
    if (!ok) return std::nullopt;
    return text;
}

QString CMainWindow::ValueText(const char* ident) const {
    for (QWidget* w : m_valueWidgets.values(Value(ident)))
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    return QString();
}

bool CMainWindow::RunValueCommand(int value) {
    CSystem& s = m_doc.System();
    CEditorState& e = m_doc.Editor();
    const CAidCommand* aid = FindAidCommand(value);
    if (!aid || !CommandEnabled(value)) return false;
    e.ApplyToModel(s);
    const std::string ident = aid->ident;
    std::optional<int32_t> colour;
    auto pick = [&](int32_t current) { return (colour = ChooseColour(current)).has_value(); };
    if (ident == "ID_BUTTON_ADDGRAPHIC") {
        const CRect& v = e.m_visible;
        AddGraphic(m_doc, (v.left + v.right) / 2 - 100, (v.top + v.bottom) / 2 - 50);
    } else if (ident == "ID_BUTTON_CLR_GRAPHIC_BACK") {
        const CGraphic* g = FirstGraphic(m_doc);
        if (g && pick(g->m_background)) SetGraphicField(m_doc, EGraphicField::Background, *colour);
    } else if (ident == "ID_BUTTON_COLORCHART_BACK") {
        if (pick(s.m_chartBackground)) SetChartColour(m_doc, EChartColour::Background, *colour);
    } else if (ident == "ID_BUTTON_COLORCHART_DATA") {
        if (pick(s.m_chartData)) SetChartColour(m_doc, EChartColour::Data, *colour);
    } else if (ident == "ID_BUTTON_COLORCHART_GRID") {
        if (pick(s.m_chartGrid)) SetChartColour(m_doc, EChartColour::Grid, *colour);
    } else if (ident == "ID_BUTTON_CLR_VALUE_BACK") {
        const CValueWindow* v = FirstValueWindow(m_doc);
        if (v && pick(v->m_background)) SetValueWindowField(m_doc, EValueWindowField::Background, *colour);
    } else if (ident == "ID_BUTTON_COLORBACKGROUND") {
        if (pick(e.m_options.backgroundColour)) e.m_options.backgroundColour = *colour;
    } else if (ident == "ID_BUTTON_COLORGRID") {
        if (pick(e.m_options.gridColour)) e.m_options.gridColour = *colour;
    } else if (ident == "ID_BUTTON_APPLYCHARTSCALE") {
        // A field that does not read as a number reaches the command as NaN, which it refuses.
        auto number = [this](const char* field) {
            bool ok = false;
            const double v = ValueText(field).trimmed().toDouble(&ok);
            return ok ? v : std::nan("");
        };
        ApplyChartScale(m_doc, CChartScale{number("ID_EDIT_CHARTMIN"), number("ID_EDIT_CHARTMAX"),
                                           number("ID_EDIT_MAJORINC"), number("ID_EDIT_MINORINC")});
    } else if (ident == "ID_BUTTON_UPDATESUFFIX" || ident == "ID_EDIT_SUFFIX") {
        SetValueWindowText(m_doc, EValueWindowText::Suffix, ValueText("ID_EDIT_SUFFIX").toStdString());
    } else if (ident == "ID_EDIT_VALUECAPTION") {
        SetValueWindowText(m_doc, EValueWindowText::Title, ValueText("ID_EDIT_VALUECAPTION").toStdString());
    } else if (ident == "ID_BUTTON_INPUTCATEGORY_EDIT" || ident == "ID_BUTTON_OUTPUTCATEGORY_EDIT") {
        const bool input = ident == "ID_BUTTON_INPUTCATEGORY_EDIT";
        std::string name, description;
        if (input) {
            if (CExternalInputCategory* c = s.m_inputCategories.Find(e.m_objectId)) name = c->m_name;
        } else if (CExternalOutputCategory* c = s.m_outputCategories.Find(e.m_objectId)) {
            name = c->m_name;
        }
        (void)description;
        if (!EditCategoryDialog(this, name)) return false;
        if (input)
            EditInputCategory(m_doc, name);
        else
            EditOutputCategory(m_doc, name);
    } else if (ident == "ID_BUTTON_ADD_CONNECTION_IN") {
        CDataConnectionRequest request;
        if (!AskDataConnection(request)) return false;
        AddDataConnection(m_doc, request);
    } else {
        return false;
    }
    m_refillValues = true;
    return true;
}

void CMainWindow::ApplySpin(int value, int number) {
    if (m_filling || !CommandEnabled(value)) return;
    m_doc.Editor().ApplyToModel(m_doc.System());
    if (value == Value("ID_SPIN_LINEWIDTH_GRAPHICS"))
        SetGraphicField(m_doc, EGraphicField::LineWidth, number);
    else if (value == Value("ID_SPIN_FONTSIZE"))
        SetValueWindowField(m_doc, EValueWindowField::FontSize, number);
    else if (value == Value("ID_SPIN_PRECISION"))
        SetValueWindowField(m_doc, EValueWindowField::Precision, number);
    m_refillValues = true;
    Refresh();
}

void CMainWindow::ApplyFont(int value, const QString& family) {
    if (m_filling || !CommandEnabled(value) || family.isEmpty()) return;
    m_doc.Editor().ApplyToModel(m_doc.System());
    if (value == Value("ID_COMBO_FONT"))
        SetGraphicFont(m_doc, family.toStdString());
    else
        SetValueWindowText(m_doc, EValueWindowText::FontName, family.toStdString());
    m_refillValues = true;
    Refresh();
}

void CMainWindow::FillValueWidgets() {
    const CGraphic* g = FirstGraphic(m_doc);
    const CChart* c = FirstChart(m_doc);
    const CValueWindow* v = FirstValueWindow(m_doc);
    const std::array<int32_t, 3> key{g ? g->m_id : 0, c ? c->m_id : 0, v ? v->m_id : 0};
    if (!m_refillValues && key == m_filledFor) return;
    m_refillValues = false;
    m_filledFor = key;
    m_filling = true;
    const CChartScale scale = c ? ChartScale(*c) : CChartScale{};
    auto setText = [this](const char* ident, const QString& text) {
        for (QWidget* w : m_valueWidgets.values(Value(ident)))
            if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(text);
    };
    auto setSpin = [this](const char* ident, int number) {
        for (QWidget* w : m_valueWidgets.values(Value(ident)))
            if (auto* spin = w->findChild<QSpinBox*>()) spin->setValue(number);
    };
    auto setFont = [this](const char* ident, const std::string& family) {
        for (QWidget* w : m_valueWidgets.values(Value(ident)))
            if (auto* combo = qobject_cast<QFontComboBox*>(w)) combo->setCurrentFont(QFont(Q(family)));
    };
    auto number = [](double x) { return QString::number(x, 'g', 10); };
    setText("ID_EDIT_CHARTMIN", c ? number(scale.minimum) : QString());
    setText("ID_EDIT_CHARTMAX", c ? number(scale.maximum) : QString());
    setText("ID_EDIT_MAJORINC", c ? number(scale.majorIncrement) : QString());
    setText("ID_EDIT_MINORINC", c ? number(scale.minorIncrement) : QString());
    setText("ID_EDIT_SUFFIX", v ? Q(v->m_suffix) : QString());
    setText("ID_EDIT_VALUECAPTION", v ? Q(v->m_title) : QString());
    if (g) setSpin("ID_SPIN_LINEWIDTH_GRAPHICS", GraphicField(*g, EGraphicField::LineWidth));
    if (v) setSpin("ID_SPIN_FONTSIZE", ValueWindowField(*v, EValueWindowField::FontSize));
    if (v) setSpin("ID_SPIN_PRECISION", ValueWindowField(*v, EValueWindowField::Precision));
    if (g) setFont("ID_COMBO_FONT", g->m_fontName);
    if (v) setFont("ID_COMBO_FONTVALUES", v->m_fontName);
    m_filling = false;
}

bool CMainWindow::AskDataConnection(CDataConnectionRequest& request) {
    if (m_connectionHook) return m_connectionHook(request);
    CNetwork* module = m_doc.Editor().CurrentModule(m_doc.System());
    return module && NewInputConnectionDialog(this, m_doc.System(), *module, request);
}

QPrinter& CMainWindow::Printer() {
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void CMainWindow::Print(int value) {
    QPrinter& printer = Printer();
    switch (value) {
        case kCmdFilePrintSetup: {
            QPageSetupDialog dialog(&printer, this);
            dialog.exec();
            return;
        }
        case kCmdFilePrintPreview: {
            QPrintPreviewDialog preview(&printer, this);
            connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                    [this](QPrinter* p) { PrintView(*m_view, *p); });
            preview.exec();
            return;
        }
        case kCmdFilePrint: {
            QPrintDialog dialog(&printer, this);
            if (dialog.exec() != QDialog::Accepted) return;
            break;
        }
        default:
            break;  // Quick Print: the current printer, no dialog
    }
    if (!PrintView(*m_view, printer)) m_prompter.Tell(tr("The view could not be printed.").toStdString());
}

void CMainWindow::UpdateCommandStates() {
    CSystem& s = m_doc.System();
    const CEditorState& e = m_doc.Editor();
    CNetwork* module = m_view->Module();
    const bool systemView = module == nullptr;
    CNetworkModel* component = module ? e.SelectedComponent(s) : nullptr;
    const bool active = m_sim->IsActive();
    auto set = [this](int value, bool enabled) {
        for (QAction* a : m_actionsByValue.values(value)) a->setEnabled(enabled);
    };
    auto check = [this](int value, bool on) {
        for (QAction* a : m_actionsByValue.values(value)) {
            const QSignalBlocker b(a);
            a->setChecked(on);
        }
    };
    // Everything starts disabled; the commands this window carries out are enabled by their conditions.
    for (QAction* a : m_actionsByValue) a->setEnabled(false);
    for (int v : {kCmdFileNew,
                  kCmdFileOpen,
                  kCmdFileSave,
                  kCmdFileSaveAs,
                  kCmdAppExit,
                  kCmdAppAbout,
                  kCmdExit,
                  kCmdNewProject,
                  kCmdOpen,
                  kCmdSave,
                  kCmdSaveAs,
                  kCmdProjectInfo,
                  kCmdAppOptions,
                  kCmdExportRuntime,
                  kCmdWelcome,
                  kCmdRunOnce,
                  kCmdRunStep,
                  kCmdReset,
                  kCmdRate,
                  kCmdPreventRender,
                  kCmdEnableBehaviors,
                  kCmdPaneSystem,
                  kCmdStatusBar,
                  kCmdPaneSimulation,
                  kCmdPaneFeedback,
                  kCmdPaletteLogic,
                  kCmdPaletteMath,
                  kCmdPaletteSignals,
                  kCmdPaletteUtility,
                  kCmdPaletteDecision,
                  kCmdClearFeedbackAll,
                  kCmdClearFeedbackSystem,
                  kCmdClearFeedbackExecute,
                  kCmdGridSpacing,
                  kCmdShowGrid,
                  kCmdRestoreColours,
                  kCmdConnectorType,
                  kCmdShowInputsBar,
                  kCmdShowOutputsBar,
                  kCmdModuleShowValues,
                  kCmdCenterView,
                  kCmdImportModule})
        set(v, true);
    set(kCmdEnableRealtime, m_link->Bound());
    set(kCmdUndo, m_doc.CanUndo() && !active);
    set(kCmdRedo, m_doc.CanRedo() && !active);
    for (int v : {kCmdAddModule, kCmdAddSystemInput, kCmdAddSystemOutput, kCmdAddInputCategory,
                  kCmdAddOutputCategory, kCmdImportInputs, kCmdImportOutputs})
        set(v, systemView);
    CNetwork* current = e.CurrentModule(s);
    set(kCmdModuleProperties, current != nullptr);
    set(kCmdExportModule, current != nullptr);
    set(kCmdEditSystemInput, e.SelectedSystemInput(s) != nullptr);
    set(kCmdEditSystemOutput, e.SelectedSystemOutput(s) != nullptr);
    set(kCmdModuleEditInput, e.SelectedModuleInput(s) != nullptr);
    set(kCmdModuleEditOutput, e.SelectedModuleOutput(s) != nullptr);
    set(Value("ID_BUTTON_EDITMODELINPUT"), module && e.SelectedComponentInput(s));
    set(Value("ID_BUTTON_EDITMODELOUTPUT"), module && e.SelectedComponentOutput(s));
    set(kCmdSelectAll, module != nullptr);
    set(kCmdShowModuleInputs, module != nullptr);
    set(kCmdShowModuleOutputs, module != nullptr);
    set(kCmdComponentProperties, component != nullptr && !active);
    for (const CSelectionCommand& c : kSelectionCommands) {
        bool ok = false;
        switch (c.need) {
            case ENeed::Module:
                ok = current != nullptr;
                break;
            case ENeed::SystemInput:
                ok = e.SelectedSystemInput(s) != nullptr;
                break;
            case ENeed::SystemOutput:
                ok = e.SelectedSystemOutput(s) != nullptr;
                break;
            case ENeed::InputCategory:
                ok = e.m_kind == ESelectionKind::InputCategory;
                break;
            case ENeed::OutputCategory:
                ok = e.m_kind == ESelectionKind::OutputCategory;
                break;
            case ENeed::ModuleInput:
                ok = !e.SelectedModuleInputs(s).empty();
                break;
            case ENeed::ModuleOutput:
                ok = !e.SelectedModuleOutputs(s).empty();
                break;
            case ENeed::Component:
                ok = component != nullptr;
                break;
            case ENeed::ComponentInput:
                ok = module && e.SelectedComponentInput(s);
                break;
            case ENeed::ComponentOutput:
                ok = module && e.SelectedComponentOutput(s);
                break;
            case ENeed::Components:
                ok = systemView ? !e.m_modules.empty() : !e.m_components.empty();
                break;
            case ENeed::Behaviors:
                ok = !s.m_behaviors.m_behaviors.Empty();
                break;
        }
        set(Value(c.ident), ok);
    }
    set(Value("ID_BUTTON_VIEWMODULE"), systemView && current != nullptr);
    set(kCmdRun, m_sim->CanRun());
    set(kCmdStop, m_sim->CanStop());
    set(kCmdPause, m_sim->CanPause());
    set(kCmdResetInput, CanResetInputValue(m_doc));
    set(kCmdAddBehavior, e.SelectedSystemInput(s) != nullptr);
    set(kCmdViewBehaviors, !s.m_behaviors.m_behaviors.Empty());
    check(kCmdEnableRealtime, m_link->Enabled());
    check(kCmdPreventRender, m_sim->m_preventRender);
    check(kCmdEnableBehaviors, s.m_behaviorsEnabled);
    check(kCmdModuleShowValues, m_view->Options().showModuleValues);
    check(kCmdShowGrid, m_view->Options().showGrid);
    check(kCmdShowInputsBar, m_view->Options().showSystemInputsBar);
    check(kCmdShowOutputsBar, m_view->Options().showSystemOutputsBar);
    check(kCmdShowModuleInputs, m_view->Options().showModuleInputsBar);
    check(kCmdShowModuleOutputs, m_view->Options().showModuleOutputsBar);
    check(kCmdPaneSystem, m_treeDock->isVisible());
    check(kCmdPaneSimulation, m_simDock->isVisible());
    check(kCmdPaneFeedback, m_feedbackDock->isVisible());
    check(kCmdStatusBar, statusBar()->isVisible());
    for (int i = 0; i < 5; ++i) {
        static const int values[] = {kCmdPaletteLogic, kCmdPaletteMath, kCmdPaletteSignals,
                                     kCmdPaletteUtility, kCmdPaletteDecision};
        check(values[i], m_paletteDocks[i]->isVisible());
    }
    const size_t graphics = [&] {
        size_t n = 0;
        for (int32_t id : e.m_graphics) n += s.m_graphics.m_graphics.Find(id) != nullptr;
        return n;
    }();
    const bool charts = FirstChart(m_doc) != nullptr;
    const bool windows = FirstValueWindow(m_doc) != nullptr;
    bool chartsShown = false;
    for (const CChart* c : s.m_charts.m_charts) chartsShown |= systemView || c->m_module == module;
    for (const CAidCommand& c : kAidCommands) {
        bool ok = false;
        switch (c.need) {
            case EAidNeed::Always:
                ok = true;
                break;
            case EAidNeed::SystemView:
                ok = systemView;
                break;
            case EAidNeed::ModuleView:
                ok = !systemView;
                break;
            case EAidNeed::Graphics:
                ok = !systemView && graphics > 0;
                break;
            case EAidNeed::TwoGraphics:
                ok = !systemView && graphics > 1;
                break;
            case EAidNeed::Charts:
                ok = charts;
                break;
            case EAidNeed::ChartsShown:
                ok = chartsShown;
                break;
            case EAidNeed::ValueWindows:
                ok = windows;
                break;
            case EAidNeed::Components:
                ok = !systemView && !e.SelectedComponents(s).empty();
                break;
            case EAidNeed::Module:
                ok = current != nullptr;
                break;
            case EAidNeed::InputCategory:
                ok = e.m_kind == ESelectionKind::InputCategory;
                break;
            case EAidNeed::OutputCategory:
                ok = e.m_kind == ESelectionKind::OutputCategory;
                break;
        }
        const int value = AidValues()[static_cast<size_t>(&c - kAidCommands)];
        set(value, ok);
        if (c.state) check(value, c.state(m_doc));
    }
    for (int v : {kCmdFilePrint, kCmdFilePrintDirect, kCmdFilePrintPreview, kCmdFilePrintSetup}) set(v, true);
    if (m_miniDock && m_miniDock->isVisible() != m_view->Options().showMiniview && isVisible())
        m_miniDock->setVisible(m_view->Options().showMiniview);
    FillValueWidgets();
    // Context categories follow the selection.
    for (int i = 0; i < m_ribbonTabs->count(); ++i) {
        const QString& c = m_categories[i];
        if (c == "Modify Selected Component") m_ribbonTabs->setTabVisible(i, component != nullptr);
        if (c == "Charts (context)") m_ribbonTabs->setTabVisible(i, charts || windows);
        if (c == "Modify Neural Network")
            m_ribbonTabs->setTabVisible(
                i, component && TypeTraits(component->m_typeId).menu == EComponentMenu::NeuralNetwork);
    }
}

// --- simulation ------------------------------------------------------------

void CMainWindow::RedrawViews() {
    m_view->viewport()->update();
}

void CMainWindow::RedrawPane() {
    m_simPane->Refresh(m_doc.System());
    m_feedback->Refresh(m_doc.System().Feedback());
    UpdateCommandStates();
}

void CMainWindow::MarkModified() {
    m_doc.SetModified(true);
    UpdateTitle();
}

void CMainWindow::RateChanged(int32_t rate) {
    m_settings.WriteInt(kCyclesPerSecond, rate);
    if (m_rateSpin && m_rateSpin->value() != rate) {
        const QSignalBlocker b(m_rateSpin);
        m_rateSpin->setValue(rate);
    }
}

void CMainWindow::SetRate(int rate) {
    m_sim->SetRateText(std::to_string(rate));
}

// --- files -----------------------------------------------------------------

bool CMainWindow::MaySave() {
    return m_doc.SaveModified();
}

QString CMainWindow::ChooseSavePath(const QString& title) {
    const QString start = m_settings.Folder(EFolder::Projects);
    QDir().mkpath(start);
    QString path = QFileDialog::getSaveFileName(this, title, QDir(start).filePath(DocumentTitle() + ".zr2"),
                                                tr("ZR2 Files(*.zr2)"));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += ".zr2";
    return path;
}

QString CMainWindow::DocumentTitle() const {
    if (!m_doc.Path().empty()) return QFileInfo(Q(m_doc.Path())).completeBaseName();
    return Q(m_doc.System().m_name);
}

void CMainWindow::NewProject() {
    if (m_sim->IsActive()) m_sim->Stop();
    if (!m_doc.NewProject()) return;
    m_view->ShowSystem();
    Refresh();
}

void CMainWindow::Open() {
    if (!MaySave()) return;
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Load Corvel Project (ZR2)"), m_settings.Folder(EFolder::Projects), tr("ZR2 Files(*.zr2)"));
    if (path.isEmpty()) return;
    OpenProject(path);
}

bool CMainWindow::OpenProject(const QString& path, bool fromFramework) {
    if (m_sim->IsActive()) m_sim->Stop();
    const CFileResult r =
        fromFramework ? m_doc.OpenThroughFramework(path.toStdString()) : m_doc.Open(path.toStdString());
    if (!r) {
        // The document has told the user why; nothing else changed.
        Refresh();
        return false;
    }
    m_settings.AddRecentFile(QFileInfo(path).absoluteFilePath());
    UpdateRecentMenu();
    m_view->ShowSystem();
    m_view->CenterView();
    Refresh();
    return true;
}

bool CMainWindow::Save() {
    std::string path;
    if (m_doc.Path().empty()) {
        path = ChooseSavePath(tr("Save Corvel Project (ZR2)")).toStdString();
        if (path.empty()) return false;
    }
    const CFileResult r = m_doc.Save(path);
    if (!r) m_prompter.Tell(tr("Could not save:\n%1").arg(Q(r.message)).toStdString());
    if (r) m_settings.AddRecentFile(QFileInfo(Q(m_doc.Path())).absoluteFilePath());
    UpdateRecentMenu();
    Refresh();
    return static_cast<bool>(r);
}

bool CMainWindow::SaveAs() {
    const QString path = ChooseSavePath(tr("Save Corvel Project (ZR2)"));
    if (path.isEmpty()) return false;
    return SaveProjectTo(path);
}

bool CMainWindow::SaveProjectTo(const QString& path) {
    const CFileResult r = m_doc.SaveAs(path.toStdString());
    if (!r) {
        m_prompter.Tell(tr("Could not save %1:\n%2").arg(path, Q(r.message)).toStdString());
        return false;
    }
    m_settings.AddRecentFile(QFileInfo(path).absoluteFilePath());
    UpdateRecentMenu();
    Refresh();
    return true;
}

void CMainWindow::ExportRuntime() {
    const QString start = m_settings.Folder(EFolder::Runtime);
    QDir().mkpath(start);
    QString path =
        QFileDialog::getSaveFileName(this, tr("Create Corvel Mindlatch2 Runtime (ZR2R)"),
                                     QDir(start).filePath(DocumentTitle() + ".z2r"), tr("ZR2R Files(*.z2r)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".z2r";
    ExportRuntimeTo(path);
}

bool CMainWindow::ExportRuntimeTo(const QString& path, bool showDialog) {
    CRuntimeExportInfo info;
    const CFileResult r = m_doc.ExportRuntime(path.toStdString(), &info);
    if (!r) {
        m_prompter.Tell(
            tr("The runtime file %1 could not be written:\n%2").arg(path, Q(r.message)).toStdString());
        Refresh();
        return false;
    }
    if (showDialog) {
        const QString manifest = QFileInfo(path).dir().filePath(Q(info.manifestFileName));
        CdlgExportSuccess dlg(this, path, manifest, Q(info.projectName));
        dlg.exec();
    }
    Refresh();
    return true;
}

void CMainWindow::ShowProjectInfo() {
    std::string description = m_doc.System().m_description;
    if (ShowSystemProperties(this, m_doc.System(), description)) SetProjectDescription(m_doc, description);
}

void CMainWindow::ShowOptions() {
    EditFolders(this, m_settings);
}

void CMainWindow::UpdateRecentMenu() {
    if (!m_recentMenu) return;
    m_recentMenu->clear();
    int n = 1;
    for (const QString& path : m_settings.RecentFiles()) {
        QAction* a =
            m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(QDir::toNativeSeparators(path)));
        connect(a, &QAction::triggered, this, [this, path] { OpenProject(path, true); });
    }
    m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}

// --- dialogs from the view -------------------------------------------------

void CMainWindow::EditObject(const CHit& h) {
    CEditorState& e = m_doc.Editor();
    CSystem& s = m_doc.System();
    std::string name, description;
    switch (h.kind) {
        case EHit::Component:
            e.SelectComponents({h.component->m_id});
            EditComponentProperties(this, m_doc, *h.component);
            break;
        case EHit::Module:
            e.ClearSelection();
            e.SelectModules({h.module->m_id});
            name = h.module->m_name;
            description = h.module->m_description;
            if (EditNameDescription(this, tr("Module Properties"), name, description))
                EditModuleProperties(m_doc, name, description);
            break;
        case EHit::ModuleInput:
        case EHit::ModInput:
            e.SelectModuleInput(h.module->m_id, h.moduleInput->m_id);
            name = h.moduleInput->m_name;
            description = h.moduleInput->m_description;
            if (EditNameDescription(this, tr("Module Input"), name, description))
                EditModuleInput(m_doc, name, description);
            break;
        case EHit::ModuleOutput:
        case EHit::ModOutput:
            e.SelectModuleOutput(h.module->m_id, h.moduleOutput->m_id);
            name = h.moduleOutput->m_name;
            description = h.moduleOutput->m_description;
            if (EditNameDescription(this, tr("Module Output"), name, description))
                EditModuleOutput(m_doc, name, description);
            break;
        case EHit::SystemInput: {
            e.SelectSystemInput(h.systemInput->m_id);
            CSystemInputData data = SystemInputData(*h.systemInput);
            const int32_t id = h.systemInput->m_id;
            const QString inputName = Q(h.systemInput->m_name);
            auto addBehavior = [this, id, inputName]() {
                CBehaviorData b = NewBehaviorData(m_doc.System(), id);
                if (EditBehaviorDialog(this, inputName, b)) AddBehaviorTo(m_doc, id, b);
                return InputBehaviorLines(m_doc.System(), id);
            };
            if (EditSystemInputDialog(this, tr("Edit Input"), s, data, InputBehaviorLines(s, id),
                                      addBehavior) &&
                s.FindSystemInput(id)) {
                e.SelectSystemInput(id);
                EditSystemInput(m_doc, data);
            }
            break;
        }
        case EHit::SystemOutput: {
            e.SelectSystemOutput(h.systemOutput->m_id);
            CSystemOutputData data = SystemOutputData(*h.systemOutput);
            if (EditSystemOutputDialog(this, tr("Edit Output"), s, data)) EditSystemOutput(m_doc, data);
            break;
        }
        case EHit::InputCategory: {
            // A double click on a category: a new system input in that category.
            CSystemInputData data;
            data.categoryId = h.inputCategory->m_id;
            if (EditSystemInputDialog(this, tr("Add System Input"), s, data, {}, {}))
                AddSystemInput(m_doc, data);
            break;
        }
        case EHit::OutputCategory: {
            CSystemOutputData data;
            data.categoryId = h.outputCategory->m_id;
            if (EditSystemOutputDialog(this, tr("Add System Output"), s, data)) AddSystemOutput(m_doc, data);
            break;
        }
        case EHit::Graphic: {
            std::string text = h.graphic->m_text;
            if (m_textHook) {
                const auto answer = m_textHook(tr("Graphic Text"), Q(text));
                if (!answer) break;
                text = answer->toStdString();
            } else if (!EditGraphicText(this, text)) {
                break;
            }
            SetGraphicText(m_doc, h.graphic->m_id, text);
            break;
        }
        case EHit::ValueWindow: {
            e.ClearSelection();
            e.m_valueWindows = {h.valueWindow->m_id};
            CValueWindowSettings settings = ValueWindowSettings(*h.valueWindow);
            if (EditValueWindowSettings(this, settings))
                ApplyValueWindowSettings(m_doc, h.valueWindow->m_id, settings);
            m_refillValues = true;
            break;
        }
        case EHit::ComponentInput:
            e.SelectComponentInput(h.component->m_id, h.input->m_id);
            name = h.input->m_name;
            if (EditNameDescription(this, tr("Edit Input"), name, description))
                EditComponentInput(m_doc, name);
            break;
        case EHit::ComponentOutput:
            e.SelectComponentOutput(h.component->m_id, h.output->m_id);
            name = h.output->m_name;
            if (EditNameDescription(this, tr("Edit Output"), name, description))
                EditComponentOutput(m_doc, name);
            break;
        default:
            return;
    }
    e.ApplyToModel(s);
    Refresh();
}

namespace {

/// Context-menu items that run a document command on the object under the
/// cursor (the view has made it the selection). Items inside a submenu are
/// named "submenu/item".
struct CMenuCommand {
    EHit kind;
    const char* item;
    int command;  // a ribbon command run as the ribbon runs it
};

const CMenuCommand kMenuCommands[] = {
    {EHit::Module, "Export Module...", kCmdExportModule},
    {EHit::Module, "Inputs/Add New Input...", kCmdModuleAddInput},
    {EHit::Module, "Inputs/Add Connection...", 32984},
    {EHit::Graphic, "Properties...", 0},
    {EHit::Module, "Inputs/Expose All Externally...", kCmdModuleExposeInputs},
    {EHit::Module, "Outputs/Add New Output...", kCmdModuleAddOutput},
    {EHit::Module, "Outputs/Expose All Externally...", kCmdModuleExposeOutputs},
    {EHit::ModuleInput, "Remove Input Connection", 32985},
    {EHit::ModuleInput, "Remove All Internal Connections", 32969},
    {EHit::ModuleInput, "Delete Module Input", kCmdModuleDeleteInput},
    {EHit::ModInput, "Remove Input Connection", 32985},
    {EHit::ModInput, "Remove All Internal Connections", 32969},
    {EHit::ModInput, "Delete Module Input", kCmdModuleDeleteInput},
    {EHit::ModuleOutput, "Remove Outgoing Connections from Output", 32986},
    {EHit::ModuleOutput, "Remove Internal Connection to Output", 32970},
    {EHit::ModuleOutput, "Delete Output", kCmdModuleDeleteOutput},
    {EHit::ModOutput, "Remove Outgoing Connections from Output", 32986},
    {EHit::ModOutput, "Remove Internal Connection to Output", 32970},
    {EHit::ModOutput, "Delete Output", kCmdModuleDeleteOutput},
    {EHit::InputsBar, "Add Category...", kCmdAddInputCategory},
    {EHit::InputsBar, "Add System Input...", kCmdAddSystemInput},
    {EHit::InputsBar, "Import System Inputs...", kCmdImportInputs},
    {EHit::OutputsBar, "Add Category...", kCmdAddOutputCategory},
    {EHit::OutputsBar, "Add System Output...", kCmdAddSystemOutput},
    {EHit::OutputsBar, "Import System Outputs...", kCmdImportOutputs},
    {EHit::SystemInput, "Add SimBehavior...", kCmdAddBehavior},
    {EHit::SystemInput, "Delete", kCmdDeleteSystemInput},
    {EHit::SystemOutput, "Delete", kCmdDeleteSystemOutput},
    {EHit::Component, "Expose All Outputs to Module Outputs Layer", 33011},
    {EHit::Component, "Expose All Outputs", 33011},
    {EHit::Component, "Delete All Outputs", 32912},
    {EHit::Component, "Delete All Inputs", 32976},
    {EHit::ComponentInput, "Remove Connection", 32974},
    {EHit::ComponentOutput, "Show Graph of Output", 33044},
    {EHit::ComponentOutput, "Show Value Window", 33112},
    {EHit::ComponentOutput, "Expose to Module Outputs Layer", 33010},
    {EHit::ComponentOutput, "Remove All Connections", 32975},
    {EHit::ComponentOutput, "Delete Output", 32947},
};

const CMenuCommand* FindMenuCommand(EHit kind, const QString& item) {
    for (const CMenuCommand& c : kMenuCommands)
        if (c.kind == kind && item == QLatin1String(c.item)) return &c;
    return nullptr;
}

}  // namespace

bool CMainWindow::MenuItemAvailable(const CHit& h, const QString& item) const {
    if (item == "Reset Value") return h.kind == EHit::SystemInput;
    if (item == "Add New Input...") return h.kind == EHit::InputCategory;
    if (item == "Add New Output...") return h.kind == EHit::OutputCategory;
    return FindMenuCommand(h.kind, item) != nullptr;
}

void CMainWindow::MenuCommand(const CHit& h, const QString& item) {
    if (item == "Reset Value" && h.systemInput) {
        m_doc.Editor().SelectSystemInput(h.systemInput->m_id);
        m_doc.Editor().ApplyToModel(m_doc.System());
        m_sim->ResetValueOnly();
    } else if (item == "Add New Input..." || item == "Add New Output...") {
        EditObject(h);  // the category's add dialog
    } else if (h.kind == EHit::Graphic && item == "Properties...") {
        EditObject(h);  // the graphic's text
    } else if (const CMenuCommand* c = FindMenuCommand(h.kind, item)) {
        UpdateCommandStates();  // the view has just selected the object under the cursor
        RunCommand(c->command);
        return;
    }
    Refresh();
}

// --- window ----------------------------------------------------------------

void CMainWindow::Refresh() {
    m_tree->Rebuild(m_doc.System());
    m_simPane->Refresh(m_doc.System());
    m_feedback->Refresh(m_doc.System().Feedback());
    m_view->viewport()->update();
    // The miniview shows no values, so only edits and view changes redraw it.
    m_miniview->update();
    UpdateTitle();
    UpdateCommandStates();
}

void CMainWindow::UpdateTitle() {
    QString where;
    if (CNetwork* m = m_view->Module()) where = QStringLiteral(" — ") + Q(m->m_name);
    setWindowTitle(QStringLiteral("%1[*]%2 - zor21").arg(DocumentTitle(), where));
    setWindowModified(m_doc.IsModified());
}

void CMainWindow::closeEvent(QCloseEvent* e) {
    if (!MaySave()) {
        e->ignore();
        return;
    }
    m_sim->Stop();
    e->accept();
}

void CMainWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void CMainWindow::dropEvent(QDropEvent* e) {
    const auto urls = e->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return;
    OpenProject(urls.front().toLocalFile(), true);
}

}  // namespace zor2::gui
