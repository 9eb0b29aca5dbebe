// The designer window driven as a user drives it: settings on first start,
// opening a project and running it, palette drops, right-button connects,
// context menus, undo, and pictures of both view modes.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <tuple>

#include "components/decision/neural_network.h"
#include "designer/command_rows.h"
#include "designer/gui/dialogs.h"
#include "designer/gui/main_window.h"
#include "designer/gui/wizard_dialog.h"
#include "gui_scene.h"
#include "persistence/project_file.h"

using namespace zor2;
using namespace zor2::gui;

namespace {

QStringList MenuTexts(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            out << "-";
        else if (a->menu())
            out << ">" + a->text() << MenuTexts(a->menu()) << "<";
        else
            out << a->text();
    }
    return out;
}

/// A project with one module: two constants added into a math component
/// whose output is a module output wired to a system output.
QString WriteExampleProject(const QString& dir) {
    CSystem s;
    s.NewProject();
    CNetwork* m = s.CreateModule("Adder", 400, 200);
    CNetworkModel* a = m->DropComponent(41, 100, 100);
    CNetworkModel* b = m->DropComponent(41, 100, 220);
    CNetworkModel* sum = m->DropComponent(21, 300, 160);
    a->m_value = 2.0;
    b->m_value = 3.0;
    m->RequestConnect(*a, a->FirstOutput(), *sum, sum->FirstInput());
    m->RequestConnect(*b, b->FirstOutput(), *sum, nullptr);
    CNetworkOutput* mo = m->CreateOutput("total");
    m->RequestConnectToModuleOutput(*sum, sum->FirstOutput(), *mo);
    CExternalOutput* out = s.CreateSystemOutput("Total", 1);
    s.ConnectSystemOutput(*m, *out, mo);
    const QString path = QDir(dir).filePath("adder.zr2");
    const CFileResult r = SaveProjectFile(s, path.toStdString());
    if (!r) qFatal("example not written: %s", r.message.c_str());
    return path;
}

void RightDrag(CDesignView& view, QPoint from, QPoint to) {
    QTest::mousePress(view.viewport(), Qt::RightButton, Qt::NoModifier, from);
    QTest::mouseMove(view.viewport(), to);
    QTest::mouseRelease(view.viewport(), Qt::RightButton, Qt::NoModifier, to);
}

/// Shows the window at the size the mouse gestures of these tests are laid out for.
void ShowForMouse(CMainWindow& w) {
    w.resize(1600, 900);
    w.show();
}

void DoubleClick(CDesignView& view, QPoint at) {
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

/// Runs `cycles` single cycles through the ribbon's Run Once.
void RunOnce(CMainWindow& w, int cycles = 1) {
    for (int i = 0; i < cycles; ++i) w.CommandAction(kCmdRunOnce)->trigger();
}

/// What the first system output gains over four cycles after a first one.
double GainOverFourCycles(CMainWindow& w) {
    RunOnce(w);
    const double first = w.Document().System().m_outputs.Head()->m_value;
    RunOnce(w, 4);
    return w.Document().System().m_outputs.Head()->m_value - first;
}

bool Drop(CDesignView& view, int typeId, QPoint at) {
    // What a palette entry carries when dragged, handed to the view as its drop handler does.
    std::unique_ptr<QMimeData> mime(CPalette::MimeFor(typeId));
    return view.DropMime(mime.get(), at);
}

}  // namespace

class CDesignerWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void settingsDefaultsOnFirstStart();
    void rateIsStoredAndClamped();
    void openedExampleRunsThroughTheActions();
    void runStopAndPauseFollowTheState();
    void paletteDropNamesTheComponentAndUndoRestores();
    void rightDragConnectsOutputToInputOnly();
    void contextMenusCarryTheItems();
    void doubleClickAddsModulesAndSystemPorts();
    void unreadableProjectChangesNothing();
    void shippedExamplesOpenAndRun();
    void ribbonCarriesEveryCommand();
    void rectangleAndKeyboardGestures();
    void saveReopenAndExport();
    void buildRunSaveByMouse();
    void systemViewConnectGestures();
    void componentMenusByType();
    void displaySettingsPersist();
    void panesShowNewestFirstAndProjectText();
    void systemInputDialogAddsAndEdits();
    void loadDataWizardWalksItsSteps();
    void zoomKeepsHitTestingConsistent();
    void ribbonModuleGoesToTheVisibleCentre();
    void closingAModifiedProjectOffersToSave();
    void recentFilesKeepFourNewestFirst();
    void realTimeLinkToggles();
    void neuralNetworkLearnsWithVisibleProgress();
    void rendersBothModes();
    void clipboardCarriesComponentsToAnotherWindow();

  private:
    QTemporaryDir m_dir;
    int m_settingsRound = 0;
};

void CDesignerWindowTest::initTestCase() {
    QVERIFY(StartGuiTests(m_dir));
}

void CDesignerWindowTest::init() {
    UseFreshSettings(m_dir, m_settingsRound);
}

void CDesignerWindowTest::settingsDefaultsOnFirstStart() {
    CMainWindow w(nullptr, SceneLink());
    QCOMPARE(w.View().Options().gridSpacing, 16);
    QCOMPARE(w.View().Options().showGrid, true);
    QCOMPARE(w.View().Options().connectorType, 2);
    QCOMPARE(w.View().Options().showModuleValues, true);
    QCOMPARE(w.Simulation().Rate(), 10);
    QCOMPARE(w.RateSpin()->value(), 10);
    CDesignerSettings s;
    QCOMPARE(s.ReadInt(kShowWelcome), 1);
    // A folder is stored on first request and then returned as stored.
    const QString projects = s.Folder(EFolder::Projects);
    QVERIFY2(projects.endsWith("ZOR2/Projects"), qPrintable(projects));
    QVERIFY(!projects.startsWith(QCoreApplication::applicationDirPath()));
    QVERIFY(s.Folder(EFolder::Modules).endsWith("ZOR2/Custom Modules"));
    QVERIFY(s.Folder(EFolder::Runtime).endsWith("ZOR2/Runtime Files"));
    s.SetFolder(EFolder::Runtime, "/nonexistent/place");
    QCOMPARE(s.Folder(EFolder::Runtime), QString("/nonexistent/place"));
}

void CDesignerWindowTest::rateIsStoredAndClamped() {
    {
        CMainWindow w(nullptr, SceneLink());
        w.RateSpin()->setValue(4);
        QCOMPARE(w.Simulation().Rate(), 4);
        QCOMPARE(w.SimPane().Value("Cycles per second:"), QString("4"));
        QCOMPARE(w.SimPane().Value("Cycle duration:"), QString("250.00 ms"));
        // A number outside 1..20 never reaches the rate.
        w.RateSpin()->setValue(0);
        QCOMPARE(w.RateSpin()->value(), 1);
        w.SetRate(99);
        QCOMPARE(w.Simulation().Rate(), 20);
        w.SetRate(4);
    }
    QCOMPARE(CDesignerSettings().ReadInt(kCyclesPerSecond), 4);
    CMainWindow again(nullptr, SceneLink());
    QCOMPARE(again.Simulation().Rate(), 4);
    QCOMPARE(again.RateSpin()->value(), 4);
}

void CDesignerWindowTest::openedExampleRunsThroughTheActions() {
    const QString path = WriteExampleProject(m_dir.path());
    CMainWindow w(nullptr, SceneLink());
    QVERIFY(w.OpenProject(path));
    QVERIFY(!w.Document().CanUndo());
    QVERIFY(w.windowTitle().startsWith("adder"));
    CSystem& s = w.Document().System();
    QCOMPARE(s.m_modules.Size(), size_t(1));
    QVERIFY(s.Feedback().build.Top().find("About to open Corvel Mindlatch2 file: ") == 0);
    RunOnce(w, 3);
    QCOMPARE(w.SimPane().Value("Cycles completed:"), QString("3"));
    QCOMPARE(w.SimPane().Value("Cycle duration:"), QString("100.00 ms"));
    QCOMPARE(w.SimPane().Value("Time elapsed:"), QString("00:00.30"));
    QCOMPARE(s.m_outputs.Head()->m_value, 5.0);
    w.CommandAction(kCmdReset)->trigger();
    QCOMPARE(w.SimPane().Value("Cycles completed:"), QString("0"));
    w.CommandAction(kCmdRunStep)->trigger();
    QCOMPARE(w.SimPane().Value("Cycles completed:"), QString("0"));
}

void CDesignerWindowTest::runStopAndPauseFollowTheState() {
    const QString path = WriteExampleProject(m_dir.path());
    CMainWindow w(nullptr, SceneLink());
    QVERIFY(w.OpenProject(path));
    w.SetRate(20);
    QVERIFY(w.CommandAction(kCmdRun)->isEnabled());
    QVERIFY(!w.CommandAction(kCmdStop)->isEnabled());
    w.CommandAction(kCmdRun)->trigger();
    QVERIFY(w.SimTimer().IsActive());
    QCOMPARE(w.SimTimer().Interval(), 50);
    QVERIFY(!w.CommandAction(kCmdRun)->isEnabled());
    QVERIFY(w.CommandAction(kCmdStop)->isEnabled());
    QVERIFY(w.CommandAction(kCmdPause)->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(w.SimPane().Value("Cycles completed:").toInt() >= 3, 5000);
    w.CommandAction(kCmdPause)->trigger();
    QVERIFY(!w.SimTimer().IsActive());
    const int paused = w.Document().System().m_cycleCount;
    // Run after Pause goes on counting; Run after Stop starts from a reset.
    w.CommandAction(kCmdRun)->trigger();
    QVERIFY(w.Document().System().m_cycleCount >= paused);
    w.CommandAction(kCmdStop)->trigger();
    QVERIFY(!w.SimTimer().IsActive());
    QVERIFY(w.CommandAction(kCmdRun)->isEnabled());
    w.CommandAction(kCmdRun)->trigger();
    QCOMPARE(w.Document().System().m_cycleCount, 0);
    w.CommandAction(kCmdStop)->trigger();
}

void CDesignerWindowTest::paletteDropNamesTheComponentAndUndoRestores() {
    CMainWindow w(nullptr, SceneLink());
    ShowForMouse(w);
    CDesignView& v = w.View();
    DoubleClick(v, QPoint(v.viewport()->width() / 2, 200));
    CSystem& s = w.Document().System();
    QCOMPARE(s.m_modules.Size(), size_t(1));
    QCOMPARE(QString::fromStdString(s.m_modules.Head()->m_name), QString("Module 1"));
    QCOMPARE(QString::fromStdString(s.Feedback().build.Top()), QString("Added System Module: Module 1"));
    v.ShowModule(s.m_modules.Head());
    QVERIFY(Drop(v, 41, QPoint(400, 200)));
    CNetwork* m = s.m_modules.Head();
    QCOMPARE(m->m_components.Size(), size_t(1));
    QVERIFY(QString::fromStdString(m->m_components.Head()->m_name).startsWith("M1 "));
    QCOMPARE(QString::fromStdString(m->m_components.Head()->m_name), QString("M1 Constant (k)"));
    // The component lands where it was dropped.
    QCOMPARE(v.HitTest(QPoint(400, 200)).kind, EHit::Component);
    QVERIFY(w.CommandAction(kCmdUndo)->isEnabled());
    w.CommandAction(kCmdUndo)->trigger();
    QCOMPARE(v.Module(), s.m_modules.Head());
    QVERIFY(s.m_modules.Head()->m_components.Empty());
    QVERIFY(w.CommandAction(kCmdRedo)->isEnabled());
    w.CommandAction(kCmdRedo)->trigger();
    QCOMPARE(s.m_modules.Head()->m_components.Size(), size_t(1));
    // A drop of something that is not a component type changes nothing.
    QVERIFY(!Drop(v, 60, QPoint(600, 300)));
    QCOMPARE(s.m_modules.Head()->m_components.Size(), size_t(1));
}

void CDesignerWindowTest::rightDragConnectsOutputToInputOnly() {
    CMainWindow w(nullptr, SceneLink());
    ShowForMouse(w);
    CSystem& s = w.Document().System();
    CDesignView& v = w.View();
    CNetwork* m = s.CreateModule("M", 0, 0);
    v.ShowModule(m);
    QVERIFY(Drop(v, 41, QPoint(350, 200)));
    QVERIFY(Drop(v, 24, QPoint(650, 260)));
    QVERIFY(Drop(v, 24, QPoint(650, 460)));
    CNetworkModel* k = m->m_components.At(0);
    CNetworkModel* sum = m->m_components.At(1);
    CNetworkModel* other = m->m_components.At(2);
    CModelInput* in1 = sum->m_inputs.At(0);
    CModelInput* in2 = other->m_inputs.At(0);
    QVERIFY(in1 && in2);
    const QPoint out =
        v.CentreOf({.kind = EHit::ComponentOutput, .module = m, .component = k, .output = k->FirstOutput()});
    const QPoint inA =
        v.CentreOf({.kind = EHit::ComponentInput, .module = m, .component = sum, .input = in1});
    const QPoint inB =
        v.CentreOf({.kind = EHit::ComponentInput, .module = m, .component = other, .input = in2});
    QCOMPARE(v.HitTest(out).kind, EHit::ComponentOutput);
    QCOMPARE(v.HitTest(inA).kind, EHit::ComponentInput);

    // Input to input names no connect request: a beep, no change.
    const auto before = SaveProjectBytes(s);
    const size_t levels = w.Document().UndoListSize();
    const int beeps = w.Prompter().m_beeps;
    RightDrag(v, inA, inB);
    QCOMPARE(w.Prompter().m_beeps, beeps + 1);
    QVERIFY(SaveProjectBytes(s) == before);
    QCOMPARE(w.Document().UndoListSize(), levels);

    RightDrag(v, out, inA);
    QVERIFY(in1->HasSource());
    QCOMPARE(in1->SourceOutput(), k->FirstOutput());
    QCOMPARE(w.Document().UndoListSize(), levels + 1);
    QCOMPARE(w.Prompter().m_beeps, beeps + 1);

    // A second feed into the same input is refused by the model's rule.
    QVERIFY(Drop(v, 41, QPoint(350, 420)));
    CNetworkModel* k2 = m->m_components.At(3);
    const QPoint out2 = v.CentreOf(
        {.kind = EHit::ComponentOutput, .module = m, .component = k2, .output = k2->FirstOutput()});
    const auto beforeRefusal = SaveProjectBytes(s);
    RightDrag(v, out2, inA);
    QCOMPARE(w.Prompter().m_beeps, beeps + 2);
    QCOMPARE(
        QString::fromStdString(s.Feedback().build.Top()),
        QString(
            "Connection Not allowed: Model input already has an active connection. No new connection made."));
    QVERIFY(SaveProjectBytes(s) == beforeRefusal);
}

void CDesignerWindowTest::contextMenusCarryTheItems() {
    CMainWindow w(nullptr, SceneLink());
    CSystem& s = w.Document().System();
    CNetwork* m = s.CreateModule("M", 0, 0);
    CNetworkModel* c = m->DropComponent(41, 100, 100);
    std::unique_ptr<QMenu> module(w.View().BuildContextMenu({.kind = EHit::Module, .module = m}, &w));
    // The menu is built item for item, submenus included, from the view's list.
    const CHit moduleHit{.kind = EHit::Module, .module = m};
    QVERIFY(!CDesignView::ContextMenuItems(moduleHit).isEmpty());
    QCOMPARE(MenuTexts(module.get()), CDesignView::ContextMenuItems(moduleHit));
    // Items the window carries out are enabled; the others are shown disabled.
    auto find = [](QMenu* menu, const QString& text) -> QAction* {
        for (QAction* a : menu->actions()) {
            if (a->text() == text) return a;
            if (a->menu())
                for (QAction* b : a->menu()->actions())
                    if (a->text() + "/" + b->text() == text) return b;
        }
        return nullptr;
    };
    for (const char* item :
         {"Module Properties...", "Export Module...", "Inputs/Add New Input...", "Inputs/Add Connection...",
          "Inputs/Remove Connections", "Outputs/Add New Output...", "Outputs/Group All Outputs",
          "Outputs/Expose All Externally...", "Outputs/Remove Connections...", "View Components...",
          "Delete"})
        QVERIFY2(find(module.get(), item), item);
    QVERIFY(find(module.get(), "Execute")->isEnabled());
    QVERIFY(find(module.get(), "Inputs/Expose All Externally...")->isEnabled());
    QVERIFY(find(module.get(), "Inputs/Group All Inputs")->isEnabled());
    std::unique_ptr<QMenu> comp(
        w.View().BuildContextMenu({.kind = EHit::Component, .module = m, .component = c}, &w));
    QCOMPARE(MenuTexts(comp.get()),
             QStringList({"Properties...", "Show Reduced", "-", "Execute", "Delete", "-",
                          "Expose All Inputs to Module Inputs Layer",
                          "Expose All Outputs to Module Outputs Layer", "-", "Remove Input Connections",
                          "Remove Output Connections", "-", "Delete All Outputs"}));
    // A right-button press and release on the same component opens its menu and connects nothing.
    ShowForMouse(w);
    w.View().ShowModule(m);
    const auto before = SaveProjectBytes(s);
    const QPoint at = w.View().CentreOf({.kind = EHit::Component, .module = m, .component = c});
    QTimer::singleShot(50, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    RightDrag(w.View(), at, at);
    QVERIFY(SaveProjectBytes(s) == before);
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
}

void CDesignerWindowTest::doubleClickAddsModulesAndSystemPorts() {
    CMainWindow w(nullptr, SceneLink());
    ShowForMouse(w);
    CDesignView& v = w.View();
    CSystem& s = w.Document().System();
    DoubleClick(v, QPoint(400, 200));
    DoubleClick(v, QPoint(700, 450));
    DoubleClick(v, QPoint(500, 650));
    QCOMPARE(QString::fromStdString(s.m_modules.Tail()->m_name), QString("Module 3"));
    // Double clicks on the bars add a system input and a system output.
    DoubleClick(v, v.CentreOf({.kind = EHit::InputsBar}));
    QCOMPARE(QString::fromStdString(s.m_inputs.Head()->m_name), QString("Input: 1"));
    QCOMPARE(QString::fromStdString(s.Feedback().build.Top()), QString("Added System Input: 1"));
    DoubleClick(v, v.CentreOf({.kind = EHit::OutputsBar}));
    QCOMPARE(QString::fromStdString(s.m_outputs.Head()->m_name), QString("Output: 1"));
    // The input dragged onto a module connects through a new module input.
    CNetwork* first = s.m_modules.Head();
    RightDrag(v, v.CentreOf({.kind = EHit::SystemInput, .systemInput = s.m_inputs.Head()}),
              v.CentreOf({.kind = EHit::Module, .module = first}));
    QCOMPARE(first->m_inputs.Size(), size_t(1));
    QVERIFY(first->m_inputs.Head()->HasSource());
    // Pressing an unselected module without Shift leaves only it selected.
    QTest::mouseClick(v.viewport(), Qt::LeftButton, Qt::NoModifier,
                      v.CentreOf({.kind = EHit::Module, .module = first}));
    QTest::mouseClick(v.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      v.CentreOf({.kind = EHit::Module, .module = s.m_modules.At(1)}));
    QCOMPARE(s.m_selectedModules.Size(), size_t(2));
    QTest::mouseClick(v.viewport(), Qt::LeftButton, Qt::NoModifier,
                      v.CentreOf({.kind = EHit::Module, .module = s.m_modules.At(2)}));
    QCOMPARE(s.m_selectedModules.Size(), size_t(1));
    QCOMPARE(s.m_modulesByCreation.Items().back(), s.m_modules.At(2));
}

void CDesignerWindowTest::clipboardCarriesComponentsToAnotherWindow() {
    const QString path = WriteExampleProject(m_dir.path());
    CMainWindow from(nullptr, SceneLink());
    QVERIFY(from.OpenProject(path));
    Czor2Doc& doc = from.Document();
    CNetwork* adder = doc.System().m_modules.Head();
    doc.Editor().DesignModule(adder->m_id);
    std::vector<int32_t> all;
    for (const CNetworkModel* c : adder->m_components) all.push_back(c->m_id);
    doc.Editor().SelectComponents(all);
    // The four commands are in the menu bar and the ribbon with their usual keys.
    for (const auto& [id, text, key] : {std::tuple{kCmdCopy, "Copy", QKeySequence(QKeySequence::Copy)},
                                        {kCmdCut, "Cut", QKeySequence(QKeySequence::Cut)},
                                        {kCmdPaste, "Paste", QKeySequence(QKeySequence::Paste)},
                                        {kCmdDuplicate, "Duplicate", QKeySequence(Qt::CTRL | Qt::Key_D)}}) {
        QAction* a = from.CommandAction(id);
        QVERIFY(a != nullptr);
        QCOMPARE(a->text(), QString(text));
        QVERIFY(from.CommandActions(id).size() >= 2);
        bool keyed = false;
        for (QAction* each : from.CommandActions(id)) keyed = keyed || each->shortcuts().contains(key);
        QVERIFY(keyed);
    }
    from.UpdateCommandStates();
    from.CommandAction(kCmdCopy)->trigger();
    CMainWindow into(nullptr, SceneLink());
    QCOMPARE(AddModule(into.Document()), ECmd::Done);
    CNetwork* target = into.Document().System().m_modules.Head();
    into.Document().Editor().DesignModule(target->m_id);
    into.UpdateCommandStates();
    QVERIFY(into.CommandEnabled(kCmdPaste));
    into.CommandAction(kCmdPaste)->trigger();
    QCOMPARE(target->m_components.Size(), size_t(3));
    into.Document().System().ResetSystem();
    into.Document().System().RunCycle();
    double total = 0;
    for (const CNetworkModel* c : target->m_components)
        if (c->m_typeId == 21) total = c->FirstOutput()->m_value;
    QCOMPARE(total, 5.0);  // both constants wired into the sum, as copied
    QAction* verify = from.CommandAction(kCmdVerifyRuntime);
    QVERIFY(verify != nullptr);
    QCOMPARE(verify->text(), QString("Verify Runtime Equivalence..."));
}

void CDesignerWindowTest::unreadableProjectChangesNothing() {
    CMainWindow w(nullptr, SceneLink());
    w.Prompter().m_answerHook = [](const QString&) { return EAnswer::Ok; };
    CSystem& s = w.Document().System();
    s.CreateModule("Keep", 0, 0);
    const auto before = SaveProjectBytes(s);
    const QString bad = QDir(m_dir.path()).filePath("broken.zr2");
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("this is no project file");
    f.close();
    QVERIFY(!w.OpenProject(bad));
    QCOMPARE(w.Prompter().m_told.size(), 1);
    QVERIFY2(w.Prompter().m_told.front().contains("unchanged"), qPrintable(w.Prompter().m_told.front()));
    QVERIFY(SaveProjectBytes(s) == before);
    QVERIFY(!w.OpenProject(QDir(m_dir.path()).filePath("missing.zr2")));
    QVERIFY(!w.OpenProject(QDir(m_dir.path()).filePath("missing.zr2"), true));
    QVERIFY(SaveProjectBytes(s) == before);
}

void CDesignerWindowTest::shippedExamplesOpenAndRun() {
    const QDir examples(QStringLiteral(ZOR2_SOURCE_DIR) + "/examples");
    const QStringList files = examples.entryList({"*.zr2"}, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& file : files) {
        CMainWindow w(nullptr, SceneLink());
        QVERIFY2(w.OpenProject(examples.filePath(file)), qPrintable(file));
        QVERIFY2(!w.Document().IsModified(), qPrintable(file));
        RunOnce(w, 3);
        QCOMPARE(w.SimPane().Value("Cycles completed:"), QString("3"));
        if (file == "two_stage.zr2") {
            // (a + b) in the first module, * 10 and negated in the second, level by level.
            const CExternalOutput* scaled = nullptr;
            for (const CExternalOutput* q : w.Document().System().m_outputs)
                if (q->m_name == "scaled") scaled = q;
            QVERIFY(scaled);
            QCOMPARE(scaled->m_value, -70.0);
        }
    }
}

void CDesignerWindowTest::rendersBothModes() {
    const QString path = QStringLiteral(ZOR2_SOURCE_DIR) + "/examples/two_stage.zr2";
    CMainWindow w(nullptr, SceneLink());
    w.resize(1400, 900);
    w.show();
    QVERIFY(w.OpenProject(path));
    QVERIFY2(w.width() <= 1400, "the ribbon must not widen the window");
    RunOnce(w, 2);
    QCoreApplication::processEvents();
    const QString out = QStringLiteral(ZOR2_GUI_TEST_OUT);
    QVERIFY(w.grab().save(out + "/designer_system_view.png"));
    // A chart and a value window on the scaled output show in the module view.
    CNetwork* scale = w.Document().System().m_modules.At(1);
    w.View().ShowModule(scale);
    CNetworkModel* negate = scale->m_components.At(1);
    for (int cmd : {33044, 33112}) {
        w.Document().Editor().SelectComponentOutput(negate->m_id, negate->FirstOutput()->m_id);
        w.RunCommand(cmd);
    }
    QCOMPARE(w.Document().System().m_charts.m_charts.Size(), size_t(1));
    RunOnce(w, 20);
    QCOMPARE(w.Document().System().m_charts.m_charts.Head()->Processed(), 20);
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(out + "/designer_module_view.png"));
}

void CDesignerWindowTest::ribbonCarriesEveryCommand() {
    CMainWindow w(nullptr, SceneLink());
    QCOMPARE(w.RibbonTabs(), QStringList({"Home", "System", "Module", "Component", "Simulation", "Graphics",
                                          "Charts", "Data Windows", "View", "Help"}));
    for (const CRibbonRow& row : RibbonRows()) {
        if (QString(row.category) == "File") continue;
        bool found = false;
        for (QAction* a : w.CommandActions(row.id)) {
            if (a->objectName() == row.ident && a->text() == QString::fromUtf8(row.label)) found = true;
            QCOMPARE(a->data().toInt(), row.id);
        }
        QVERIFY2(found, row.ident);
    }
    // One command in several panels is one command: its places share the enabled state.
    const QList<QAction*> undo = w.CommandActions(kCmdUndo);
    QVERIFY(undo.size() >= 5);
    for (QAction* a : undo) QVERIFY(!a->isEnabled());
    // The tip names the command, then says what it does, as the status bar does.
    const QString runPrompt(
        "Run Simulation. Cycles will continue until simulator is stopped. Watch values change and plot changes in outputs as simulation continues.");
    QCOMPARE(w.CommandAction(kCmdRun)->statusTip(), runPrompt);
    QCOMPARE(w.CommandAction(kCmdRun)->toolTip(),
             QString::fromUtf8(CommandTipTitle(kCmdRun)) + "\n" + runPrompt);
    QVERIFY(w.CommandAction(kCmdRate)->toolTip().endsWith("\nSet the logic cycles per second (1-20)"));
    QCOMPARE(w.CommandAction(kCmdRate)->text(), QString("Cycles / sec:"));
    // The component context category appears with a selected component.
    CSystem& s = w.Document().System();
    CNetwork* m = s.CreateModule("M", 0, 0);
    CNetworkModel* c = m->DropComponent(41, 100, 100);
    w.View().ShowModule(m);
    QVERIFY(!w.RibbonTabs().contains("Modify Selected Component"));
    w.Document().Editor().SelectComponents({c->m_id});
    w.UpdateCommandStates();
    QVERIFY(w.RibbonTabs().contains("Modify Selected Component"));
    QVERIFY(w.CommandAction(kCmdComponentProperties)->isEnabled());
    QVERIFY(!w.RibbonTabs().contains("Modify Neural Network"));
}

void CDesignerWindowTest::rectangleAndKeyboardGestures() {
    CMainWindow w(nullptr, SceneLink());
    ShowForMouse(w);
    w.Prompter().m_answerHook = [](const QString&) { return EAnswer::Yes; };
    CSystem& s = w.Document().System();
    CDesignView& v = w.View();
    DoubleClick(v, QPoint(500, 300));
    v.ShowModule(s.m_modules.Head());
    QVERIFY(Drop(v, 41, QPoint(400, 200)));
    QVERIFY(Drop(v, 41, QPoint(400, 400)));
    CNetwork* m = s.m_modules.Head();
    // Shift over empty space: exactly one graphic holding "Text here", no component selected.
    const size_t levels = w.Document().UndoListSize();
    QTest::mousePress(v.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(600, 150));
    QTest::mouseMove(v.viewport(), QPoint(700, 250));
    QTest::mouseRelease(v.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(700, 250));
    QCOMPARE(s.m_graphics.m_graphics.Size(), size_t(1));
    QCOMPARE(QString::fromStdString(s.m_graphics.m_graphics.Head()->m_text), QString("Text here"));
    QVERIFY(w.Document().Editor().m_components.empty());
    QCOMPARE(w.Document().UndoListSize(), levels + 1);
    // A plain rectangle over both components selects them.
    QTest::mousePress(v.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 120));
    QTest::mouseMove(v.viewport(), QPoint(450, 450));
    QTest::mouseRelease(v.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(450, 450));
    QCOMPARE(w.Document().Editor().m_components.size(), size_t(2));
    // Pressing a selected component keeps the group; the arrow keys move it by 2 pixels.
    CNetworkModel* first = m->m_components.At(0);
    CNetworkModel* second = m->m_components.At(1);
    QTest::mouseClick(v.viewport(), Qt::LeftButton, Qt::NoModifier,
                      v.CentreOf({.kind = EHit::Component, .module = m, .component = first}));
    QCOMPARE(w.Document().Editor().m_components.size(), size_t(2));
    const CPoint a = first->m_position, b = second->m_position;
    QTest::keyClick(&v, Qt::Key_Right);
    QTest::keyClick(&v, Qt::Key_Up);
    QCOMPARE(first->m_position.x, a.x + 2);
    QCOMPARE(first->m_position.y, a.y - 2);
    QCOMPARE(second->m_position.x, b.x + 2);
    // Pressing an unselected component without Shift leaves only it selected.
    w.Document().Editor().SelectComponents({first->m_id});
    QTest::mouseClick(v.viewport(), Qt::LeftButton, Qt::NoModifier,
                      v.CentreOf({.kind = EHit::Component, .module = m, .component = second}));
    QCOMPARE(w.Document().Editor().m_components, std::vector<int32_t>({second->m_id}));
    // Delete asks, then deletes the selection.
    QTest::keyClick(&v, Qt::Key_Delete);
    QCOMPARE(w.Prompter().m_asked.back(),
             QString("Are you sure you want to delete the currently selected items?"));
    QCOMPARE(m->m_components.Size(), size_t(1));
    QCOMPARE(m->m_components.Head(), first);
}

void CDesignerWindowTest::saveReopenAndExport() {
    const QString example = QStringLiteral(ZOR2_SOURCE_DIR) + "/examples/celsius.zr2";
    CMainWindow w(nullptr, SceneLink());
    QVERIFY(w.OpenProject(example));
    QVERIFY(!w.isWindowModified());
    QTest::mouseDClick(w.View().viewport(), Qt::LeftButton, Qt::NoModifier,
                       w.View().CentreOf({.kind = EHit::InputsBar}));
    QVERIFY(w.isWindowModified());
    QVERIFY(w.windowTitle().contains("[*]"));
    const QString copy = QDir(m_dir.path()).filePath("copy.zr2");
    QVERIFY(w.SaveProjectTo(copy));
    QVERIFY(!w.isWindowModified());
    const auto saved = SaveProjectBytes(w.Document().System());
    CMainWindow other(nullptr, SceneLink());
    QVERIFY(other.OpenProject(copy));
    QVERIFY(SaveProjectBytes(other.Document().System()) == saved);
    QCOMPARE(CDesignerSettings().RecentFiles().front(), QFileInfo(copy).absoluteFilePath());
    const QString runtime = QDir(m_dir.path()).filePath("copy.z2r");
    QVERIFY(other.ExportRuntimeTo(runtime, false));
    QVERIFY(QFileInfo(runtime).size() > 0);
    QVERIFY(QFileInfo::exists(QDir(m_dir.path()).filePath("ZOR2_RT_MANIFEST_copy.txt")));
    QVERIFY(other.Document().IsModified());
}

void CDesignerWindowTest::buildRunSaveByMouse() {
    CMainWindow w(nullptr, SceneLink());
    ShowForMouse(w);
    // The question about a new category is answered No: the default category.
    w.Prompter().m_answerHook = [](const QString&) { return EAnswer::No; };
    CSystem& s = w.Document().System();
    CDesignView& v = w.View();
    DoubleClick(v, QPoint(600, 300));
    CNetwork* m = s.m_modules.Head();
    DoubleClick(v, v.CentreOf({.kind = EHit::Module, .module = m}));
    QCOMPARE(v.Module(), m);
    QVERIFY(Drop(v, 41, QPoint(400, 250)));
    QVERIFY(Drop(v, 56, QPoint(400, 450)));
    QVERIFY(Drop(v, 21, QPoint(650, 300)));
    CNetworkModel* k = m->m_components.At(0);
    CNetworkModel* lag = m->m_components.At(1);
    CNetworkModel* add = m->m_components.At(2);
    k->m_value = 1.5;
    auto centre = [&](CNetworkModel* c) {
        return v.CentreOf({.kind = EHit::Component, .module = m, .component = c});
    };
    auto out = [&](CNetworkModel* c) {
        return v.CentreOf(
            {.kind = EHit::ComponentOutput, .module = m, .component = c, .output = c->FirstOutput()});
    };
    // An output dropped on a component body feeds a new input; the adder feeds back through the Feedback
    // Flow.
    RightDrag(v, out(k), centre(add));
    RightDrag(v, out(add),
              v.CentreOf(
                  {.kind = EHit::ComponentInput, .module = m, .component = lag, .input = lag->FirstInput()}));
    QVERIFY(lag->FirstInput()->HasSource());
    RightDrag(v, out(lag), centre(add));
    QCOMPARE(add->m_inputs.Size(), size_t(2));
    RightDrag(v, out(add), v.CentreOf({.kind = EHit::ModOutputsBar}));
    QCOMPARE(m->m_outputs.Size(), size_t(1));
    // Back in the system view the module's outputs are exposed from its context menu.
    v.ShowSystem();
    std::unique_ptr<QMenu> menu(v.BuildContextMenu({.kind = EHit::Module, .module = m}, &w));
    QAction* expose = nullptr;
    for (QAction* a : menu->actions())
        if (a->menu() && a->text() == "Outputs")
            for (QAction* b : a->menu()->actions())
                if (b->text() == "Expose All Externally...") expose = b;
    QVERIFY(expose && expose->isEnabled());
    w.Document().Editor().SelectModules({m->m_id});
    expose->trigger();
    QCOMPARE(s.m_outputs.Size(), size_t(1));
    // The total grows by the constant every cycle.
    QCOMPARE(GainOverFourCycles(w), 6.0);
    const QString path = QDir(m_dir.path()).filePath("mouse.zr2");
    QVERIFY(w.SaveProjectTo(path));
    QVERIFY(w.ExportRuntimeTo(QDir(m_dir.path()).filePath("mouse.z2r"), false));
    CMainWindow reopened(nullptr, SceneLink());
    QVERIFY(reopened.OpenProject(path));
    QCOMPARE(reopened.Document().System().m_modules.Head()->m_components.Size(), size_t(3));
    QCOMPARE(GainOverFourCycles(reopened), 6.0);
}

void CDesignerWindowTest::systemViewConnectGestures() {
    CMainWindow w(nullptr, SceneLink());
    ShowForMouse(w);
    w.Prompter().m_answerHook = [](const QString&) { return EAnswer::No; };
    CSystem& s = w.Document().System();
    CDesignView& v = w.View();
    DoubleClick(v, QPoint(450, 250));
    DoubleClick(v, QPoint(800, 250));
    DoubleClick(v, v.CentreOf({.kind = EHit::InputsBar}));
    DoubleClick(v, v.CentreOf({.kind = EHit::OutputsBar}));
    CNetwork* first = s.m_modules.At(0);
    CNetwork* second = s.m_modules.At(1);
    auto box = [&](CNetwork* m) { return v.CentreOf({.kind = EHit::Module, .module = m}); };
    struct Case {
        const char* name;
        CHit source;
        CHit target;
        bool connects;
    };
    const Case cases[] = {
        {"category to module",
         {.kind = EHit::InputCategory, .inputCategory = s.m_inputCategories.Head()},
         {.kind = EHit::Module, .module = first},
         true},
        {"module to module",
         {.kind = EHit::Module, .module = first},
         {.kind = EHit::Module, .module = second},
         true},
        {"system input to system output",
         {.kind = EHit::SystemInput, .systemInput = s.m_inputs.Head()},
         {.kind = EHit::SystemOutput, .systemOutput = s.m_outputs.Head()},
         false},
        {"system output to module",
         {.kind = EHit::SystemOutput, .systemOutput = s.m_outputs.Head()},
         {.kind = EHit::Module, .module = second},
         false},
    };
    for (const Case& c : cases) {
        const auto before = SaveProjectBytes(s);
        const int beeps = w.Prompter().m_beeps;
        const QPoint from = c.source.kind == EHit::Module ? box(c.source.module) : v.CentreOf(c.source);
        const QPoint to = c.target.kind == EHit::Module ? box(c.target.module) : v.CentreOf(c.target);
        QCOMPARE(v.HitTest(from).kind, c.source.kind);
        QCOMPARE(v.HitTest(to).kind, c.target.kind);
        RightDrag(v, from, to);
        QVERIFY2((SaveProjectBytes(s) != before) == c.connects, c.name);
        if (!c.connects) QVERIFY2(w.Prompter().m_beeps == beeps + 1, c.name);
    }
    QCOMPARE(QString::fromStdString(s.m_moduleConnections.Head()->m_dstModule->m_name), QString("Module 2"));
    QCOMPARE(second->m_level, 2);
    // A module dropped on the outputs bar gives each of its outputs a system output.
    const size_t outputs = s.m_outputs.Size();
    RightDrag(v, box(first), v.CentreOf({.kind = EHit::OutputsBar}));
    QCOMPARE(first->m_outputs.Size(), size_t(1));
    QCOMPARE(s.m_outputs.Size(), outputs + 1);
    QCOMPARE(s.m_outputs.Tail()->SourceOutput(), first->m_outputs.Head());
}

void CDesignerWindowTest::componentMenusByType() {
    CMainWindow w(nullptr, SceneLink());
    CSystem& s = w.Document().System();
    CNetwork* m = s.CreateModule("M", 0, 0);
    struct Case {
        EComponentMenu menu;
        QString third;  // the item after "Show Reduced" and its separator
        QString last;
    };
    const Case cases[] = {{EComponentMenu::Standard, "Execute", "Delete All Outputs"},
                          {EComponentMenu::Mfcc, "Execute", "Delete All Outputs"},
                          {EComponentMenu::NeuralNetwork, "Execute", "Delete"},
                          {EComponentMenu::Sequencer, "Show Sequence Timeline Editor", "Delete All Outputs"}};
    for (const Case& c : cases) {
        const QStringList& items = CDesignView::ComponentMenuItems(c.menu);
        QCOMPARE(items.mid(0, 3), QStringList({"Properties...", "Show Reduced", "-"}));
        QCOMPARE(items.at(3), c.third);
        QCOMPARE(items.back(), c.last);
    }
    // A component's box opens the menu of its type's kind.
    auto component = std::make_unique<CNetworkModel>();
    component->m_typeId = 41;
    component->m_owner = m;
    std::unique_ptr<QMenu> menu(
        w.View().BuildContextMenu({.kind = EHit::Component, .module = m, .component = component.get()}, &w));
    const QStringList items = MenuTexts(menu.get());
    QCOMPARE(items.at(3), QStringLiteral("Execute"));
    QCOMPARE(items.back(), QStringLiteral("Delete All Outputs"));
    std::unique_ptr<QMenu> output(
        w.View().BuildContextMenu({.kind = EHit::ComponentOutput, .module = m}, &w));
    QCOMPARE(MenuTexts(output.get()),
             QStringList({"Output Properties...", "-", "Show Graph of Output", "Show Value Window", "-",
                          "Expose to Module Outputs Layer", "-", "Remove All Connections", "Delete Output"}));
    std::unique_ptr<QMenu> bar(w.View().BuildContextMenu({.kind = EHit::InputsBar}, &w));
    QCOMPARE(MenuTexts(bar.get()),
             QStringList({"Add Category...", "Add System Input...", "-", "Import System Inputs...", "-",
                          "Expand All", "Contract all"}));
    QVERIFY(w.View().BuildContextMenu({.kind = EHit::None}, &w) == nullptr);
}

void CDesignerWindowTest::displaySettingsPersist() {
    {
        CMainWindow w(nullptr, SceneLink());
        w.RunCommand(kCmdShowGrid);
        QCOMPARE(w.View().Options().showGrid, false);
        w.findChild<QComboBox*>("ID_COMBO_CONNECTORTYPE")->setCurrentIndex(0);
        QCOMPARE(w.View().Options().connectorType, 0);
    }
    CDesignerSettings settings;
    QCOMPARE(settings.ReadInt(kShowGrid), 0);
    QCOMPARE(settings.ReadInt(kConnectorType), 0);
    CMainWindow again(nullptr, SceneLink());
    QCOMPARE(again.View().Options().showGrid, false);
    QCOMPARE(again.View().Options().connectorType, 0);
    // A stored value outside the combo's entries falls back into range.
    settings.WriteInt(kConnectorType, 9);
    CMainWindow third(nullptr, SceneLink());
    QCOMPARE(third.View().Options().connectorType, 2);
}

void CDesignerWindowTest::panesShowNewestFirstAndProjectText() {
    const QString path = WriteExampleProject(m_dir.path());
    CMainWindow w(nullptr, SceneLink());
    QVERIFY(w.OpenProject(path));
    CSystem& s = w.Document().System();
    s.Feedback().build.Add("older");
    s.Feedback().build.Add("newest");
    w.Refresh();
    QCOMPARE(w.FeedbackPane().List(0)->item(0)->text(), QString("newest"));
    QCOMPARE(w.FeedbackPane().List(0)->item(1)->text(), QString("older"));
    const QStringList lines = SystemPropertiesText(s).split('\n');
    QVERIFY(lines.contains(QStringLiteral("System ID: %1").arg(s.m_systemId)));
    QVERIFY(lines.contains("[ 1 ] Adder"));
    const CNetworkModel* sum = s.m_modules.Head()->m_components.At(2);
    QVERIFY(lines.contains(QStringLiteral("(Type: 21) ID: %1, Module: Adder, Name: %2")
                               .arg(sum->m_id)
                               .arg(QString::fromStdString(sum->m_name))));
    const CNetworkModel* k = s.m_modules.Head()->m_components.At(0);
    QVERIFY(lines.contains(QStringLiteral("(Type: 41) ID: %1, Module: Adder, Name: %2")
                               .arg(k->m_id)
                               .arg(QString::fromStdString(k->m_name))));
}

void CDesignerWindowTest::systemInputDialogAddsAndEdits() {
    CMainWindow w(nullptr, SceneLink());
    w.show();
    CSystem& s = w.Document().System();
    // The dialog is answered as a user would: a name, an initial value, OK.
    auto answer = [](const QString& name, double value, bool ok) {
        QTimer::singleShot(0, [=] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->findChildren<QLineEdit*>().front()->setText(name);
            d->findChild<QDoubleSpinBox*>()->setValue(value);
            ok ? d->accept() : d->reject();
        });
    };
    answer("temperature", 21.5, true);
    w.RunCommand(kCmdAddSystemInput);
    QCOMPARE(s.m_inputs.Size(), size_t(1));
    CExternalInput* p = s.m_inputs.Head();
    QCOMPARE(QString::fromStdString(p->m_name), QString("temperature"));
    QCOMPARE(p->m_initialValue, 21.5);
    QCOMPARE(QString::fromStdString(s.Feedback().build.Top()),
             QString("Added System Input: temperature to category: ") +
                 QString::fromStdString(s.m_inputCategories.Head()->m_name));
    const size_t levels = w.Document().UndoListSize();
    answer("ignored", 1.0, false);
    w.RunCommand(kCmdAddSystemInput);
    QCOMPARE(s.m_inputs.Size(), size_t(1));
    QCOMPARE(w.Document().UndoListSize(), levels);
    // A double click on the input edits it.
    answer("outside", 3.0, true);
    QTest::mouseDClick(w.View().viewport(), Qt::LeftButton, Qt::NoModifier,
                       w.View().CentreOf({.kind = EHit::SystemInput, .systemInput = p}));
    QCOMPARE(QString::fromStdString(s.m_inputs.Head()->m_name), QString("outside"));
    QCOMPARE(QString::fromStdString(s.Feedback().build.Top()), QString("Modified System Input: outside"));
}

void CDesignerWindowTest::loadDataWizardWalksItsSteps() {
    const QString path = QDir(m_dir.path()).filePath("vectors.csv");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("class,f1,f2,f3\nred,1,2,3\nblue,4,5,6\n");
    f.close();
    CLoadDataWizard wizard;
    CdlgLoadDataWizard dlg(wizard);
    QCOMPARE(dlg.windowTitle(), QString("New Project Wizard - Welcome"));
    QVERIFY(!dlg.BackButton()->isEnabled());
    QVERIFY(!dlg.NextButton()->isEnabled());
    QVERIFY(!dlg.FinishButton()->isEnabled());
    dlg.BrowseTo(QDir(m_dir.path()).filePath("absent.csv"));
    QVERIFY(!dlg.NextButton()->isEnabled());
    dlg.BrowseTo(path);
    QVERIFY(dlg.NextButton()->isEnabled());
    QCOMPARE(dlg.PreviewGrid()->item(1, 0)->text(), QString("red"));
    dlg.ClickNext();
    QCOMPARE(dlg.windowTitle(), QString("New Project Wizard - Step 2"));
    QCOMPARE(dlg.Heading(), QString("Header Information"));
    // The header row is highlighted on step 2.
    QCOMPARE(dlg.PreviewGrid()->item(0, 0)->background().color(), QColor(0xFF, 0xFF, 0x80));
    dlg.ClickNext();
    QCOMPARE(dlg.windowTitle(), QString("New Project Wizard - Step 3"));
    dlg.ClickNext();
    dlg.ClickNext();
    QCOMPARE(dlg.windowTitle(), QString("New Project Wizard - Finish"));
    QVERIFY(dlg.FinishButton()->isEnabled());
    QVERIFY(!dlg.NextButton()->isEnabled());
    dlg.ClickFinish();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(wizard.Result().fileChosen);
}

void CDesignerWindowTest::zoomKeepsHitTestingConsistent() {
    const QString path = QStringLiteral(ZOR2_SOURCE_DIR) + "/examples/two_stage.zr2";
    CMainWindow w(nullptr, SceneLink());
    ShowForMouse(w);
    QVERIFY(w.OpenProject(path));
    CDesignView& v = w.View();
    CNetwork* scale = w.Document().System().m_modules.At(1);
    for (double zoom : {0.5, 1.0, 1.5, 2.0}) {
        v.SetZoom(zoom);
        v.ShowSystem();
        v.CenterView();
        const QPoint box = v.CentreOf({.kind = EHit::Module, .module = scale});
        QCOMPARE(v.HitTest(box).module, scale);
        const QPointF back = v.ToViewport(v.ToWorld(QPointF(box)));
        QVERIFY(qAbs(back.x() - box.x()) < 0.01 && qAbs(back.y() - box.y()) < 0.01);
        const CHit in{.kind = EHit::ModuleInput, .module = scale, .moduleInput = scale->m_inputs.Head()};
        QCOMPARE(v.HitTest(v.CentreOf(in)).moduleInput, scale->m_inputs.Head());
        v.ShowModule(scale);
        CNetworkModel* c = scale->m_components.Head();
        QCOMPARE(v.HitTest(v.CentreOf({.kind = EHit::Component, .module = scale, .component = c})).component,
                 c);
    }
}

void CDesignerWindowTest::ribbonModuleGoesToTheVisibleCentre() {
    CMainWindow w(nullptr, SceneLink());
    ShowForMouse(w);
    CDesignView& v = w.View();
    v.SetZoom(1.5);
    w.CommandAction(kCmdAddModule)->trigger();
    CSystem& s = w.Document().System();
    QCOMPARE(s.m_modules.Size(), size_t(1));
    QCOMPARE(QString::fromStdString(s.m_modules.Head()->m_name), QString("Network 1"));
    const QPoint centre = v.viewport()->rect().center();
    const QPoint placed = v.CentreOf({.kind = EHit::Module, .module = s.m_modules.Head()});
    QVERIFY2((placed - centre).manhattanLength() < 20,
             qPrintable(QString("%1,%2").arg(placed.x()).arg(placed.y())));
}

void CDesignerWindowTest::closingAModifiedProjectOffersToSave() {
    CMainWindow w(nullptr, SceneLink());
    w.show();
    EAnswer answer = EAnswer::Cancel;
    w.Prompter().m_answerHook = [&answer](const QString&) { return answer; };
    w.CommandAction(kCmdAddModule)->trigger();
    QVERIFY(w.Document().IsModified());
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(w.Prompter().m_asked.back(), QString("Save changes to Untitled?"));
    answer = EAnswer::No;
    QVERIFY(w.close());
}

void CDesignerWindowTest::recentFilesKeepFourNewestFirst() {
    CDesignerSettings s;
    for (const char* f : {"/a.zr2", "/b.zr2", "/c.zr2", "/d.zr2", "/e.zr2", "/c.zr2"}) s.AddRecentFile(f);
    QCOMPARE(s.RecentFiles(), QStringList({"/c.zr2", "/e.zr2", "/d.zr2", "/b.zr2"}));
}

void CDesignerWindowTest::realTimeLinkToggles() {
    CMainWindow w(nullptr, SceneLink());
    QAction* toggle = w.CommandAction(kCmdEnableRealtime);
    if (!w.Link().Bound()) QSKIP("the link's port is taken on this machine");
    QVERIFY(toggle->isEnabled());
    QVERIFY(w.Link().Enabled());
    toggle->trigger();
    QVERIFY(!w.Link().Enabled());
    toggle->trigger();
    QVERIFY(w.Link().Enabled());
}

void CDesignerWindowTest::neuralNetworkLearnsWithVisibleProgress() {
    CMainWindow w(nullptr, SceneLink());
    w.show();
    w.Prompter().m_answerHook = [](const QString&) { return EAnswer::Yes; };
    Czor2Doc& d = w.Document();
    AddModule(d);
    CNetwork* m = d.System().m_modules.Head();
    w.View().ShowModule(m);
    AddComponent(d, 1, 300, 200);
    auto* nn = dynamic_cast<CModelNeuralNetwork*>(m->m_components.Head());
    QVERIFY(nn);
    // Import through the wizard: a file whose last vector contradicts the first.
    const QString csv = m_dir.filePath("vectors.csv");
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("name,a,b,class\nv1,1,5,up\nv2,9,1,down\nv3,1,5,down\n");
    file.close();
    w.m_wizardHook = [csv](CLoadDataWizard& wizard) {
        wizard.Browse(csv.toStdString());
        while (wizard.Next()) {
        }
        return wizard.Finish();
    };
    w.RunCommand(kCmdImportVectors);
    QCOMPARE(nn->Network().m_vectors.size(), size_t(3));
    w.RunCommand(kCmdPaneNeuralNetwork);
    CPaneNeuralNetwork& pane = w.NeuralPane();
    QVERIFY(pane.isVisible());
    QCOMPARE(pane.List()->rowCount(), 3);
    QCOMPARE(pane.Value("Total Vectors:"), QString("3"));

    // The run goes on (v1 and v3 cannot both be learned) until the pane's Learn stops it.
    pane.LearnButton()->click();
    QVERIFY(d.Learning().Running());
    QVERIFY(w.LearningTimer().isActive());
    QCOMPARE(w.LearningTimer().interval(), 50);
    while (pane.Value("Iterations:").toInt() < 2) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    w.RunCommand(kCmdSave);
    QVERIFY(w.Prompter().m_told.back().contains("is learning"));
    pane.LearnButton()->click();
    QVERIFY(!d.Learning().Running());
    QVERIFY(!w.LearningTimer().isActive());
    QVERIFY(d.IsModified());
    QVERIFY(pane.Value("Iterations:").toInt() >= 2);
}

QTEST_MAIN(CDesignerWindowTest)
#include "designer_window_test.moc"
