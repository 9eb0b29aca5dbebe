// The main view driven with the mouse and its context menus: reduced
// components, contracted categories, graphic, chart and value window gestures,
// the graphic menu, the miniview, printing, and the user controls and sim
// action targets.
#include <QAction>
#include <QDialog>
#include <QDockWidget>
#include <QFileInfo>
#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "components/utility/sim_action.h"
#include "components/utility/user_control.h"
#include "designer/command_rows.h"
#include "designer/commands.h"
#include "designer/gui/main_window.h"
#include "gui_scene.h"

using namespace zor2;
using namespace zor2::gui;

namespace {

QRectF ToQ(const CRect& r) {
    return QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QPoint ViewportPoint(CDesignView& v, QPointF world) {
    return v.ToViewport(world).toPoint();
}

void LeftDrag(QWidget* w, QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mousePress(w, Qt::LeftButton, mods, from);
    QTest::mouseMove(w, (from + to) / 2);
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, mods, to);
}

}  // namespace

class CViewTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void reducedComponentsHitTestTheirSmallBox();
    void contractedCategoriesHideTheirPorts();
    void graphicGestures();
    void chartAndValueWindowGestures();
    void graphicMenuItems();
    void everyMenuItemIsLiveButTheMissingComponents();
    void moduleMenuGroupsAndConnects();
    void moduleInputExposesItself();
    void miniviewClickScrollsTheView();
    void printsBothModesToPdf();
    void fittingShowsEverythingBetweenTheBars();
    void runningControlsAndActionTargetsByMouse();
    void scrolledViewDrawsWhatStraddlesItsEdges();
    void keptStillLayerPaintsAsDrawnAfresh();

  private:
    QTemporaryDir m_dir;
    int m_round = 0;
};

void CViewTest::initTestCase() {
    QVERIFY(StartGuiTests(m_dir));
}

void CViewTest::init() {
    UseFreshSettings(m_dir, m_round);
}

void CViewTest::reducedComponentsHitTestTheirSmallBox() {
    struct Case {
        const char* name;
        std::function<void(CScene&)> reduce;
        std::function<void(CScene&)> expand;
    };
    auto menu = [](CScene& s) {
        s.w->View().RunMenuItem({.kind = EHit::Component, .module = s.module, .component = s.sum},
                                "Show Reduced");
    };
    const Case cases[] = {
        {"Reduce All / Expand All", [](CScene& s) { s.Trigger("ID_BUTTON_REDUCEALL"); },
         [](CScene& s) { s.Trigger("ID_BUTTON_EXPANDALL"); }},
        {"Reduce View / Expand View on the selection",
         [](CScene& s) {
             s.w->Document().Editor().SelectComponents({s.sum->m_id});
             s.w->UpdateCommandStates();
             s.Trigger("ID_BUTTON_MODELREDUCE");
         },
         [](CScene& s) {
             s.w->Document().Editor().SelectComponents({s.sum->m_id});
             s.w->UpdateCommandStates();
             s.Trigger("ID_BUTTON_MODELEXPAND");
         }},
        {"Show Reduced from the context menu", menu, menu},
    };
    for (const Case& c : cases) {
        CScene s;
        CDesignView& v = s.w->View();
        s.Design();
        v.CenterView();
        const QRectF full = ToQ(s.sum->m_box);
        // A point inside the full box, near its bottom-left corner.
        const QPoint corner = ViewportPoint(v, full.bottomLeft() + QPointF(4, -4));
        QVERIFY2(v.HitTest(corner).component == s.sum, c.name);
        const size_t levels = s.w->Document().UndoListSize();
        c.reduce(s);
        QVERIFY2(IsReduced(*s.sum), c.name);
        QVERIFY2(s.w->Document().UndoListSize() == levels + 1, c.name);
        const QRectF reduced = ToQ(ShownBox(*s.sum));
        QVERIFY2(reduced.width() * reduced.height() < full.width() * full.height(), c.name);
        QVERIFY2(v.HitTest(corner).component != s.sum, c.name);
        // A selection rectangle takes the reduced box: touching only the full box selects nothing.
        s.w->Document().Editor().ClearSelection();
        LeftDrag(v.viewport(), ViewportPoint(v, full.bottomLeft() + QPointF(-20, 20)), corner);
        QVERIFY2(s.w->Document().Editor().m_components.empty(), c.name);
        LeftDrag(v.viewport(), ViewportPoint(v, full.bottomLeft() + QPointF(-20, 20)),
                 ViewportPoint(v, reduced.center()));
        QVERIFY2(s.w->Document().Editor().m_components == std::vector<int32_t>{s.sum->m_id}, c.name);
        const CHit centre = v.HitTest(ViewportPoint(v, reduced.center()));
        QVERIFY2(centre.kind == EHit::Component && centre.component == s.sum, c.name);
        // A reduced box has no ports of its own: its edge is the component.
        QVERIFY2(v.HitTest(ViewportPoint(v, QPointF(reduced.left() + 1, reduced.center().y()))).kind ==
                     EHit::Component,
                 c.name);
        c.expand(s);
        QVERIFY2(!IsReduced(*s.sum), c.name);
        QVERIFY2(v.HitTest(corner).component == s.sum, c.name);
    }
}

void CViewTest::contractedCategoriesHideTheirPorts() {
    struct Case {
        const char* name;
        bool inputs;
        std::function<void(CDesignView&, const CHit&)> contract;
        std::function<void(CDesignView&, const CHit&)> expand;
    };
    const Case cases[] = {
        {"input category menu", true, [](CDesignView& v, const CHit& h) { v.RunMenuItem(h, "Contract"); },
         [](CDesignView& v, const CHit& h) { v.RunMenuItem(h, "Expand"); }},
        {"inputs bar menu", true,
         [](CDesignView& v, const CHit&) { v.RunMenuItem({.kind = EHit::InputsBar}, "Contract all"); },
         [](CDesignView& v, const CHit&) { v.RunMenuItem({.kind = EHit::InputsBar}, "Expand All"); }},
        {"output category menu", false, [](CDesignView& v, const CHit& h) { v.RunMenuItem(h, "Contract"); },
         [](CDesignView& v, const CHit& h) { v.RunMenuItem(h, "Expand"); }},
        {"outputs bar menu", false,
         [](CDesignView& v, const CHit&) { v.RunMenuItem({.kind = EHit::OutputsBar}, "Contract All"); },
         [](CDesignView& v, const CHit&) { v.RunMenuItem({.kind = EHit::OutputsBar}, "Expand All"); }},
    };
    for (const Case& c : cases) {
        CScene s;
        CDesignView& v = s.w->View();
        Czor2Doc& d = s.w->Document();
        v.ShowSystem();
        if (c.inputs)
            AddSystemInputFromBar(d);
        else
            AddSystemOutputFromBar(d);
        s.w->Refresh();
        CSystem& sys = d.System();
        const CHit port = c.inputs ? CHit{.kind = EHit::SystemInput, .systemInput = sys.m_inputs.Head()}
                                   : CHit{.kind = EHit::SystemOutput, .systemOutput = sys.m_outputs.Head()};
        const CHit category =
            c.inputs ? CHit{.kind = EHit::InputCategory, .inputCategory = sys.m_inputCategories.Head()}
                     : CHit{.kind = EHit::OutputCategory, .outputCategory = sys.m_outputCategories.Head()};
        const QPoint at = v.CentreOf(port);
        QVERIFY2(v.HitTest(at) == port, c.name);
        const size_t levels = d.UndoListSize();
        c.contract(v, category);
        QVERIFY2(!(v.HitTest(at) == port), c.name);
        // The category row itself stays.
        QVERIFY2(v.HitTest(v.CentreOf(category)) == category, c.name);
        c.expand(v, category);
        QVERIFY2(v.HitTest(at) == port, c.name);
        // Contracting is a way of looking, not an edit.
        QVERIFY2(d.UndoListSize() == levels, c.name);
    }
}

void CViewTest::graphicGestures() {
    CScene s;
    CDesignView& v = s.w->View();
    Czor2Doc& d = s.w->Document();
    QWidget* vp = s.DesignAtFullSize();
    // Ctrl rectangle: the graphics it touches, nothing else.
    const QRectF g1 = ToQ(s.g1->m_rect), g2 = ToQ(s.g2->m_rect);
    LeftDrag(vp, ViewportPoint(v, g1.center() + QPointF(0, 70)),
             ViewportPoint(v, g1.center() + QPointF(20, 30)), Qt::ControlModifier);
    QCOMPARE(d.Editor().m_graphics, std::vector<int32_t>{s.g1->m_id});
    QVERIFY(d.Editor().m_components.empty());
    LeftDrag(vp, ViewportPoint(v, QPointF(g1.left() + 20, g1.bottom() + 40)),
             ViewportPoint(v, QPointF(g2.right() - 10, g2.top() + 10)), Qt::ControlModifier);
    QCOMPARE(d.Editor().m_graphics.size(), size_t(2));
    // The corner clasps of a selected graphic resize it; one undo level.
    d.Editor().ClearSelection();
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier,
                      v.CentreOf({.kind = EHit::Graphic, .graphic = s.g1}));
    QCOMPARE(d.Editor().m_graphics, std::vector<int32_t>{s.g1->m_id});
    const CHit clasp{.kind = EHit::GraphicHandle, .module = s.module, .graphic = s.g1, .part = 2};
    QCOMPARE(v.HitTest(v.CentreOf(clasp)).kind, EHit::GraphicHandle);
    size_t levels = d.UndoListSize();
    const CRect before = s.g1->m_rect;
    LeftDrag(vp, v.CentreOf(clasp), v.CentreOf(clasp) + QPoint(30, 20));
    QCOMPARE(s.g1->m_rect.left, before.left);
    QCOMPARE(s.g1->m_rect.top, before.top);
    QCOMPARE(s.g1->m_rect.right, before.right + 30);
    QCOMPARE(s.g1->m_rect.bottom, before.bottom + 20);
    QCOMPARE(d.UndoListSize(), levels + 1);
    // A corner never crosses the opposite one.
    const CHit topLeft{.kind = EHit::GraphicHandle, .module = s.module, .graphic = s.g1, .part = 0};
    LeftDrag(vp, v.CentreOf(topLeft), v.CentreOf(topLeft) + QPoint(600, 400));
    QVERIFY(s.g1->m_rect.right - s.g1->m_rect.left >= 16);
    QVERIFY(s.g1->m_rect.bottom - s.g1->m_rect.top >= 16);
    // A double click edits the text.
    s.w->m_textHook = [](const QString&, const QString&) { return std::optional<QString>("Inputs stage"); };
    QTest::mouseDClick(vp, Qt::LeftButton, Qt::NoModifier,
                       v.CentreOf({.kind = EHit::Graphic, .graphic = s.g2}));
    QCOMPARE(QString::fromStdString(s.g2->m_text), QString("Inputs stage"));
    // A cancelled editor changes nothing.
    levels = d.UndoListSize();
    s.w->m_textHook = [](const QString&, const QString&) { return std::optional<QString>(); };
    QTest::mouseDClick(vp, Qt::LeftButton, Qt::NoModifier,
                       v.CentreOf({.kind = EHit::Graphic, .graphic = s.g2}));
    QCOMPARE(QString::fromStdString(s.g2->m_text), QString("Inputs stage"));
    QCOMPARE(d.UndoListSize(), levels);
}

void CViewTest::chartAndValueWindowGestures() {
    CScene s;
    CDesignView& v = s.w->View();
    Czor2Doc& d = s.w->Document();
    QWidget* vp = s.DesignAtFullSize();
    struct Case {
        const char* name;
        CHit hit;
        std::function<CRect()> rect;
        std::function<const std::vector<int32_t>&()> selection;
    };
    const Case cases[] = {
        {"chart",
         {.kind = EHit::Chart, .module = s.module, .chart = s.chart},
         [&] { return s.chart->m_rect; },
         [&]() -> const std::vector<int32_t>& { return d.Editor().m_charts; }},
        {"value window",
         {.kind = EHit::ValueWindow, .module = s.module, .valueWindow = s.window},
         [&] { return s.window->m_rect; },
         [&]() -> const std::vector<int32_t>& { return d.Editor().m_valueWindows; }},
    };
    for (const Case& c : cases) {
        const QPoint at = v.CentreOf(c.hit);
        QVERIFY2(v.HitTest(at) == c.hit, c.name);
        QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY2(c.selection().size() == 1, c.name);
        QVERIFY2(d.Editor().m_components.empty() && d.Editor().m_graphics.empty(), c.name);
        const CRect before = c.rect();
        const size_t levels = d.UndoListSize();
        LeftDrag(vp, at, at + QPoint(40, 30));
        QVERIFY2(c.rect().left == before.left + 40 && c.rect().top == before.top + 30, c.name);
        QVERIFY2(c.rect().right - c.rect().left == before.right - before.left, c.name);
        QVERIFY2(d.UndoListSize() == levels + 1, c.name);
        // A click without a move records nothing.
        QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, v.CentreOf(c.hit));
        QVERIFY2(d.UndoListSize() == levels + 1, c.name);
    }
    // A locked chart is not dragged.
    s.chart->m_lockLocation = true;
    const CRect locked = s.chart->m_rect;
    const size_t before = d.UndoListSize();
    const QPoint at = v.CentreOf({.kind = EHit::Chart, .module = s.module, .chart = s.chart});
    LeftDrag(vp, at, at + QPoint(40, 30));
    QCOMPARE(s.chart->m_rect.left, locked.left);
    QCOMPARE(s.chart->m_rect.top, locked.top);
    QCOMPARE(d.UndoListSize(), before);
    // A double click on a value window opens its settings dialog.
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened = true;
            dialog->reject();
        }
    });
    const size_t levels = d.UndoListSize();
    QTest::mouseDClick(vp, Qt::LeftButton, Qt::NoModifier,
                       v.CentreOf({.kind = EHit::ValueWindow, .module = s.module, .valueWindow = s.window}));
    QVERIFY(opened);
    QCOMPARE(d.UndoListSize(), levels);
}

void CViewTest::graphicMenuItems() {
    CScene s;
    CDesignView& v = s.w->View();
    Czor2Doc& d = s.w->Document();
    CSystem& sys = d.System();
    s.w->Prompter().m_answerHook = [](const QString&) { return EAnswer::Yes; };
    s.Design();
    const CHit g1{.kind = EHit::Graphic, .module = s.module, .graphic = s.g1};
    // Every item of the graphic menu is live; Paste only once something was copied.
    std::unique_ptr<QMenu> menu(v.BuildContextMenu(g1, s.w.get()));
    QStringList dead;
    for (QAction* a : menu->actions()) {
        if (a->menu())
            for (QAction* b : a->menu()->actions())
                if (!b->isSeparator() && !b->isEnabled()) dead << b->text();
        if (!a->isSeparator() && !a->menu() && !a->isEnabled()) dead << a->text();
    }
    QCOMPARE(dead, QStringList({"Paste"}));
    d.Editor().m_graphics = {s.g1->m_id};
    v.RunMenuItem(g1, "Copy");
    QVERIFY(!v.GraphicClipboard().Empty());
    size_t levels = d.UndoListSize();
    v.RunMenuItem(g1, "Paste");
    QCOMPARE(sys.m_graphics.m_graphics.Size(), size_t(3));
    CGraphic* pasted = sys.m_graphics.m_graphics.Tail();
    QCOMPARE(pasted->m_rect.left, s.g1->m_rect.left + kPasteOffset);
    QCOMPARE(d.UndoListSize(), levels + 1);
    // Send To Back puts the graphic first in the drawing order.
    const CHit last{.kind = EHit::Graphic, .module = s.module, .graphic = pasted};
    d.Editor().m_graphics = {pasted->m_id};
    v.RunMenuItem(last, "Send To Back");
    QCOMPARE(sys.m_graphics.m_graphics.Head(), pasted);
    v.RunMenuItem(last, "Clear Text");
    QVERIFY(pasted->m_text.empty());
    // Consolidate hides the component the graphic encloses; Release shows it again.
    const CRect box = s.a->m_box;
    s.g1->m_rect = {box.left - 10, box.top - 10, box.right + 10, box.bottom + 10};
    d.Editor().m_graphics = {s.g1->m_id};
    v.CenterView();
    const QPoint centre = v.CentreOf({.kind = EHit::Component, .component = s.a});
    QCOMPARE(v.HitTest(centre).component, s.a);
    v.RunMenuItem(g1, "Consolidate Enclosed Components");
    QCOMPARE(s.a->m_graphicId, s.g1->m_id);
    QCOMPARE(v.HitTest(centre).kind, EHit::Graphic);
    v.RunMenuItem(g1, "Release Consolidated Components");
    QCOMPARE(s.a->m_graphicId, 0);
    QCOMPARE(v.HitTest(centre).component, s.a);
    // Size and Position acts on the selected graphics.
    d.Editor().m_graphics = {s.g1->m_id, s.g2->m_id};
    v.RunMenuItem(g1, "Size and Position/Align Top");
    QCOMPARE(s.g2->m_rect.top, std::min(box.top - 10, 320));
    // Delete asks and removes.
    levels = d.UndoListSize();
    const int32_t id = s.g2->m_id;
    v.RunMenuItem({.kind = EHit::Graphic, .module = s.module, .graphic = s.g2}, "Delete");
    QVERIFY(sys.m_graphics.m_graphics.Find(id) == nullptr);
    QCOMPARE(d.UndoListSize(), levels + 1);
}

void CViewTest::everyMenuItemIsLiveButTheMissingComponents() {
    CScene s;
    CDesignView& v = s.w->View();
    CSystem& sys = s.w->Document().System();
    AddSystemInputFromBar(s.w->Document());
    AddSystemOutputFromBar(s.w->Document());
    // The sequencer's own menu item opens its timeline editor.
    CNetworkModel* sequencer = s.module->DropComponent(85, 700, 500);
    s.module->CreateInput("in");
    s.module->CreateOutput("out");
    struct Case {
        const char* name;
        CHit hit;
        QStringList dead;  // items whose operation does not exist yet
    };
    std::vector<Case> cases = {
        {"module", {.kind = EHit::Module, .module = s.module}, {}},
        {"module input",
         {.kind = EHit::ModuleInput, .module = s.module, .moduleInput = s.module->m_inputs.Head()},
         {}},
        {"module output",
         {.kind = EHit::ModuleOutput, .module = s.module, .moduleOutput = s.module->m_outputs.Head()},
         {}},
        {"inputs bar", {.kind = EHit::InputsBar}, {}},
        {"outputs bar", {.kind = EHit::OutputsBar}, {}},
        {"system input", {.kind = EHit::SystemInput, .systemInput = sys.m_inputs.Head()}, {}},
        {"system output", {.kind = EHit::SystemOutput, .systemOutput = sys.m_outputs.Head()}, {}},
        {"input category", {.kind = EHit::InputCategory, .inputCategory = sys.m_inputCategories.Head()}, {}},
        {"output category",
         {.kind = EHit::OutputCategory, .outputCategory = sys.m_outputCategories.Head()},
         {}},
        {"component", {.kind = EHit::Component, .module = s.module, .component = s.sum}, {}},
        {"component input",
         {.kind = EHit::ComponentInput,
          .module = s.module,
          .component = s.sum,
          .input = s.sum->m_inputs.Head()},
         {}},
        {"component output",
         {.kind = EHit::ComponentOutput, .module = s.module, .component = s.a, .output = s.a->FirstOutput()},
         {}},
        {"graphic", {.kind = EHit::Graphic, .module = s.module, .graphic = s.g1}, {"Paste"}},
    };
    if (sequencer)
        cases.push_back(
            {"sequencer", {.kind = EHit::Component, .module = s.module, .component = sequencer}, {}});
    QStringList mismatches;
    for (const Case& c : cases) {
        std::unique_ptr<QMenu> menu(v.BuildContextMenu(c.hit, s.w.get()));
        QVERIFY2(menu, c.name);
        QStringList dead;
        for (QAction* a : menu->actions()) {
            if (a->menu()) {
                for (QAction* b : a->menu()->actions())
                    if (!b->isSeparator() && !b->isEnabled()) dead << a->text() + "/" + b->text();
            } else if (!a->isSeparator() && !a->isEnabled()) {
                dead << a->text();
            }
        }
        if (dead != c.dead) mismatches << QString(c.name) + ": " + dead.join(", ");
    }
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join("; ")));
}

void CViewTest::moduleMenuGroupsAndConnects() {
    CScene s;
    CDesignView& v = s.w->View();
    Czor2Doc& d = s.w->Document();
    CSystem& sys = d.System();
    v.ShowSystem();
    d.Editor().ClearSelection();
    d.Editor().SelectModules({s.module->m_id});
    s.w->UpdateCommandStates();
    AddModuleInput(d, "a");
    AddModuleInput(d, "b");
    s.w->Refresh();
    const CHit m{.kind = EHit::Module, .module = s.module};
    const double tall = v.ModuleBox(*s.module).height();
    v.RunMenuItem(m, "Inputs/Group All Inputs");
    QVERIFY(s.module->m_collapsedInputs);
    v.RunMenuItem(m, "Inputs/Group All Inputs");
    QVERIFY(!s.module->m_collapsedInputs);
    QCOMPARE(v.ModuleBox(*s.module).height(), tall);
    // "Add Connection..." asks through the connection dialog and connects.
    AddSystemInputFromBar(d);
    const int32_t inputId = sys.m_inputs.Head()->m_id;
    s.w->m_connectionHook = [inputId](CDataConnectionRequest& r) {
        r.newInputName = "from outside";
        r.systemInputId = inputId;
        return true;
    };
    std::unique_ptr<QMenu> menu(v.BuildContextMenu(m, s.w.get()));
    QAction* add = nullptr;
    for (QAction* a : menu->actions())
        if (a->menu() && a->text() == "Inputs")
            for (QAction* b : a->menu()->actions())
                if (b->text() == "Add Connection...") add = b;
    QVERIFY(add && add->isEnabled());
    const size_t inputs = s.module->m_inputs.Size();
    add->trigger();
    QCOMPARE(s.module->m_inputs.Size(), inputs + 1);
    QVERIFY(s.module->m_inputs.Tail()->HasSource());

    // "Outputs/Remove Connections..." disconnects every output, asking for each.
    s.w->Prompter().m_answerHook = [](const QString&) { return EAnswer::Yes; };
    for (const char* name : {"x", "y"}) {
        CNetworkOutput* out = s.module->CreateOutput(name);
        sys.ConnectSystemOutput(*s.module, *sys.CreateSystemOutput(name, 1), out);
    }
    s.module->CreateOutput("unconnected");
    auto connected = [&] {
        int n = 0;
        for (const CExternalOutput* q : sys.m_outputs) n += q->SourceOutput() != nullptr;
        return n;
    };
    QCOMPARE(connected(), 2);
    const size_t levels = d.UndoListSize();
    const int asked = s.w->Prompter().m_asked.size();
    v.RunMenuItem(m, "Outputs/Remove Connections...");
    QCOMPARE(connected(), 0);
    QCOMPARE(s.w->Prompter().m_asked.size(), asked + 2);
    QCOMPARE(d.UndoListSize(), levels + 2);
    // Nothing left to remove: told so, nothing recorded.
    v.RunMenuItem(m, "Outputs/Remove Connections...");
    QCOMPARE(s.w->Prompter().m_told.back(), QString("No outgoing connections to delete..."));
    QCOMPARE(d.UndoListSize(), levels + 2);
}

void CViewTest::moduleInputExposesItself() {
    CScene s;
    CDesignView& v = s.w->View();
    Czor2Doc& d = s.w->Document();
    CSystem& sys = d.System();
    v.ShowSystem();
    s.w->Prompter().m_answerHook = [](const QString&) { return EAnswer::Ok; };
    CNetworkInput* in = s.module->CreateInput("speed");
    const CHit hit{.kind = EHit::ModuleInput, .module = s.module, .moduleInput = in};
    const size_t levels = d.UndoListSize();
    v.RunMenuItem(hit, "Expose as External Input");
    QCOMPARE(sys.m_inputs.Size(), size_t(1));
    QCOMPARE(QString::fromStdString(sys.m_inputs.Head()->m_name), QString("speed"));
    QVERIFY(in->HasSource());
    QCOMPARE(d.UndoListSize(), levels + 1);
    QCOMPARE(QString::fromStdString(sys.Feedback().build.Top()),
             QString("Exposed inputs for system module: ") + QString::fromStdString(s.module->m_name));
    // Once fed, it is refused and nothing changes.
    v.RunMenuItem(hit, "Expose as External Input");
    QCOMPARE(sys.m_inputs.Size(), size_t(1));
    QCOMPARE(d.UndoListSize(), levels + 1);
    QCOMPARE(s.w->Prompter().m_told.back(),
             QString("Cannot expose externally, as this input is already connected to a given data source."));
    // One undo takes back both the system input and its connection.
    s.w->CommandAction(kCmdUndo)->trigger();
    QVERIFY(sys.m_inputs.Empty());
}

void CViewTest::miniviewClickScrollsTheView() {
    CScene s;
    CDesignView& v = s.w->View();
    CMiniview& mini = s.w->Miniview();
    QVERIFY(s.w->MiniviewDock()->isVisible());
    struct Case {
        const char* name;
        bool system;
        QPointF target;
    };
    for (const Case& c :
         {Case{"module view", false, QPointF(600, 300)}, Case{"system view", true, QPointF(0, 0)}}) {
        if (c.system)
            v.ShowSystem();
        else
            s.Design();
        QApplication::processEvents();
        const QPointF target = c.system ? v.ModuleBox(*s.module).center() : c.target;
        QTest::mouseClick(&mini, Qt::LeftButton, Qt::NoModifier, mini.ToLocal(target).toPoint());
        const CRect& r = s.w->Document().Editor().m_visible;
        const QPointF centre((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
        QVERIFY2(std::abs(centre.x() - target.x()) < 4 && std::abs(centre.y() - target.y()) < 4,
                 qPrintable(QString("%1: %2,%3").arg(c.name).arg(centre.x()).arg(centre.y())));
    }
    // The miniview check shows and hides it.
    s.Trigger("ID_CHECK_SHOWMINIVIEW");
    QVERIFY(!s.w->MiniviewDock()->isVisible());
    s.Trigger("ID_CHECK_SHOWMINIVIEW");
    QVERIFY(s.w->MiniviewDock()->isVisible());
}

void CViewTest::printsBothModesToPdf() {
    CScene s;
    struct Case {
        const char* name;
        bool system;
    };
    for (const Case& c : {Case{"system", true}, Case{"module", false}}) {
        if (c.system)
            s.w->View().ShowSystem();
        else
            s.Design();
        const QString path = QDir(m_dir.path()).filePath(QStringLiteral("%1.pdf").arg(c.name));
        QPrinter& printer = s.w->Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(96);  // a screen-sized page keeps the test quick
        printer.setOutputFileName(path);
        QVERIFY(s.w->CommandAction(kCmdFilePrintDirect)->isEnabled());
        const double zoom = s.w->View().Zoom();
        const QPointF scroll = s.w->View().Scroll();
        const int draws = s.w->View().StillLayerDraws();
        s.w->RunCommand(kCmdFilePrintDirect);
        // The page shows the whole mode, drawn in vectors rather than copied from
        // the screen's kept layer; the view stays where the user left it.
        QCOMPARE(s.w->View().StillLayerDraws(), draws);
        QCOMPARE(s.w->View().Zoom(), zoom);
        QCOMPARE(s.w->View().Scroll(), scroll);
        QVERIFY2(QFileInfo(path).size() > 1000, c.name);
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY2(pdf.read(5) == "%PDF-", c.name);
    }
    QVERIFY(s.w->Prompter().m_told.isEmpty());
    // A picture of the module view with its visual aids, for looking at.
    s.g1->m_edges3d = true;
    s.g1->SetLineWidth(2);
    s.g2->m_alignH = 1;
    s.g2->m_alignV = 1;
    s.w->Document().Editor().m_graphics = {s.g2->m_id};
    s.w->View().viewport()->update();
    QVERIFY(s.w->grab().save(QDir(QStringLiteral(ZOR2_GUI_TEST_OUT)).filePath("designer_visual_aids.png")));
}

void CViewTest::fittingShowsEverythingBetweenTheBars() {
    CScene s;
    CDesignView& v = s.w->View();
    s.Design();
    // Far apart: a graphic well to the right and below, a chart to the left.
    s.g1->m_rect = {1300, 800, 1500, 900};
    s.chart->m_rect = {-400, -200, -200, -80};
    v.SetZoom(2.0);
    v.FitContent();
    const QRect inner = v.viewport()->rect().adjusted(172, 0, -172, 0);
    struct Case {
        const char* name;
        CHit hit;
    };
    for (const Case& c :
         {Case{"graphic", {.kind = EHit::Graphic, .module = s.module, .graphic = s.g1}},
          Case{"chart", {.kind = EHit::Chart, .module = s.module, .chart = s.chart}},
          Case{"component", {.kind = EHit::Component, .module = s.module, .component = s.sum}}}) {
        const QPoint at = v.CentreOf(c.hit);
        QVERIFY2(inner.contains(at), c.name);
        QVERIFY2(v.HitTest(at).kind == c.hit.kind, c.name);
    }
    QVERIFY(v.Zoom() < 1.0);
}

void CViewTest::runningControlsAndActionTargetsByMouse() {
    CScene s;
    CDesignView& v = s.w->View();
    Czor2Doc& d = s.w->Document();
    AddComponent(d, kTypeUserButton, 140, 220);
    auto* button = static_cast<CModelUserButton*>(s.module->m_components.Tail());
    QVERIFY(button->SetMode(kButtonToggle));
    AddComponent(d, kTypeSimActionFormat, 380, 220);
    auto* format = static_cast<CModelSimAction*>(s.module->m_components.Tail());
    QWidget* vp = s.DesignAtFullSize();
    const QPoint at = v.CentreOf({.kind = EHit::Component, .component = button});
    // Stopped, a click selects the button as any component.
    d.Editor().ClearSelection();
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(d.Editor().m_components, std::vector<int32_t>{button->m_id});
    QCOMPARE(button->m_value, 0.0);
    // Running, a click toggles it at once and leaves nothing selected; a double
    // click (down, up, double click, up) presses it twice and opens no dialog.
    QVERIFY(s.w->Simulation().Run());
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(button->FirstOutput()->m_value, 1.0);
    QVERIFY(d.Editor().m_components.empty());
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(button->m_value, 0.0);
    QTest::mouseDClick(vp, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(button->m_value, 1.0);
    QVERIFY(s.w->Simulation().Stop());
    // A connection from the Format dropped on a graphic makes the graphic its target.
    QTest::mousePress(vp, Qt::RightButton, Qt::NoModifier,
                      v.CentreOf({.kind = EHit::Component, .component = format}));
    QTest::mouseRelease(vp, Qt::RightButton, Qt::NoModifier,
                        v.CentreOf({.kind = EHit::Graphic, .graphic = s.g1}));
    QCOMPARE(format->Fields().targetId, s.g1->m_id);
    QCOMPARE(format->TargetKind(), kTargetGraphic);
}

void CViewTest::scrolledViewDrawsWhatStraddlesItsEdges() {
    // Without the bars and the grid, which keep to the viewport, and without the
    // dotted chart lines, whose dashes restart where the painter clips them, a
    // scrolled view is the whole view shifted: what the culling skipped is missing.
    CScene s;
    CDesignView& v = s.w->View();
    s.Design();
    CViewOptions& o = v.Options();
    o.showGrid = o.showModuleInputsBar = o.showModuleOutputsBar = false;
    o.chartConnectors = o.valueWindowConnectors = false;
    v.SetPlace(1.0, QPointF(0, 0));
    const QPointF origin = v.Scroll();
    auto render = [&v] {
        QImage image(v.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        v.viewport()->render(&image);
        return image;
    };
    const QImage whole = render();
    // Edges through the constant's input names and box, between the two
    // components, through the sum's box and port names, and below the boxes' tops.
    for (const QPoint shift : {QPoint(90, 0), QPoint(150, 0), QPoint(230, 0), QPoint(300, 0), QPoint(420, 0),
                               QPoint(480, 0), QPoint(0, 110), QPoint(0, 150), QPoint(160, 140)}) {
        v.SetPlace(1.0, origin + shift);
        const QPoint moved = (v.Scroll() - origin).toPoint();
        QCOMPARE(moved, shift);
        const QImage scrolled = render();
        const QRect overlap(QPoint(0, 0), whole.size() - QSize(shift.x(), shift.y()));
        QVERIFY2(scrolled.copy(overlap) == whole.copy(overlap.translated(shift)),
                 qPrintable(QStringLiteral("shift %1,%2").arg(shift.x()).arg(shift.y())));
    }
}

void CViewTest::keptStillLayerPaintsAsDrawnAfresh() {
    // The still layer kept from the last paint must give the picture a paint
    // from scratch gives, whatever changed in between and however the change
    // asked for the repaint; a cycle alone reuses it.
    CScene s;
    CDesignView& v = s.w->View();
    QWidget* vp = s.DesignAtFullSize();
    CSystem& system = s.w->Document().System();
    auto render = [&v] {
        QImage image(v.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        v.viewport()->render(&image);
        return image;
    };
    auto button = [&] { return static_cast<CModelUserButton*>(s.module->m_components.Tail()); };
    struct Case {
        const char* name;
        std::function<void()> change;
        bool reused;  // the change leaves the still layer as it was
    };
    const Case cases[] = {
        {"a cycle", [&] { system.RunCycle(); }, true},
        {"active outputs marked", [&] { v.Options().highlightActiveOutputs = true; }, false},
        {"a cycle marking them", [&] { system.RunCycle(); }, true},
        {"a sim action's colour on a graphic", [&] { s.g1->m_background = 0x3050E0; }, false},
        {"a sim action's message in a graphic", [&] { s.g2->m_text = "Tank full"; }, false},
        {"a component dragged",
         [&] { LeftDrag(vp, v.CentreOf({.kind = EHit::Component, .component = s.sum}), QPoint(700, 500)); },
         false},
        {"a graphic selected",
         [&] {
             QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier,
                               v.CentreOf({.kind = EHit::Graphic, .graphic = s.g1}));
         },
         false},
        {"a wire being drawn",
         [&] {
             QTest::mousePress(vp, Qt::RightButton, Qt::NoModifier,
                               v.CentreOf({.kind = EHit::Component, .component = s.a}));
             QTest::mouseMove(vp, QPoint(300, 450));
         },
         true},
        {"the wire dropped, a connection tried",
         [&] { QTest::mouseRelease(vp, Qt::RightButton, Qt::NoModifier, QPoint(300, 450)); }, false},
        {"connections drawn straight", [&] { v.Options().connectorType = 0; }, false},
        {"zoomed out where text is left out", [&] { v.SetPlace(0.25, QPointF(-800, -300)); }, false},
        {"the marks cleared: the still components join the layer",
         [&] { v.Options().highlightActiveOutputs = false; }, false},
        {"a user button added", [&] { AddComponent(s.w->Document(), kTypeUserButton, 140, 260); }, false},
        {"the button pressed", [&] { button()->m_value = 1.0; }, true},
        {"the button dragged onto a box",
         [&] {
             LeftDrag(vp, v.CentreOf({.kind = EHit::Component, .component = button()}),
                      v.CentreOf({.kind = EHit::Component, .component = s.a}));
         },
         false},
        {"the button released", [&] { button()->m_value = 0.0; }, true},
    };
    for (const Case& c : cases) {
        render();  // the layer as it stands before the change
        const int draws = v.StillLayerDraws();
        c.change();
        const QImage kept = render();
        QVERIFY2((v.StillLayerDraws() == draws) == c.reused, c.name);
        v.SetStillLayerKept(false);
        const QImage afresh = render();
        v.SetStillLayerKept(true);
        QVERIFY2(kept == afresh, c.name);
    }
}

QTEST_MAIN(CViewTest)
#include "view_test.moc"
