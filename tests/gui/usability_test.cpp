// The designer as a person meets it: a ribbon that fits the window at common
// widths with every text whole, context categories that come and go with the
// selection, the palette search, the wire drawn during a connection drag and
// the reason of a refusal, and the rate box clamping what is typed.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "designer/commands_behaviors.h"
#include "designer/gui/dialogs.h"
#include "designer/gui/ribbon.h"
#include "gui_scene.h"
#include "persistence/project_file.h"

using namespace zor2;
using namespace zor2::gui;

class CUsabilityTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void ribbonFitsCommonWidths_data();
    void ribbonFitsCommonWidths();
    void contextCategoryOnFirstSelection();
    void paletteSearch();
    void liveWireAndRefusalHint();
    void rateBoxClampsWhatIsTyped();
    void manageBehaviorsShowsTheSelectedOne();
    void manifestWithoutAViewer();
    void missingFileOnTheCommandLineIsSaid();
    void examplesAtTheSmallestWidth();

  private:
    QTemporaryDir m_dir;
    int m_round = 0;
};

void CUsabilityTest::initTestCase() {
    QVERIFY(StartGuiTests(m_dir));
}

void CUsabilityTest::init() {
    UseFreshSettings(m_dir, m_round);
}

void CUsabilityTest::ribbonFitsCommonWidths_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("1280") << 1280 << 720;
    QTest::newRow("1400") << 1400 << 900;
    QTest::newRow("1920") << 1920 << 1080;
}

void CUsabilityTest::ribbonFitsCommonWidths() {
    QFETCH(int, width);
    QFETCH(int, height);
    CScene scene;
    CMainWindow& w = *scene.w;
    w.resize(width, height);
    QCoreApplication::processEvents();
    CRibbon& ribbon = w.Ribbon();
    // Spans the window above the side panes.
    QVERIFY2(ribbon.width() >= width - 16, qPrintable(QString::number(ribbon.width())));
    QTabBar* tabs = ribbon.Tabs();
    for (int i = 0; i < tabs->count(); ++i) {
        if (!tabs->isTabVisible(i)) continue;
        tabs->setCurrentIndex(i);
        QCoreApplication::processEvents();
        const QString tab = tabs->tabText(i);
        QVERIFY2(tabs->tabRect(i).right() <= tabs->width(), qPrintable(tab));
        for (CRibbonPanel* panel : ribbon.Panels(i)) {
            // Every panel lies inside the ribbon: nothing scrolls or hides behind the edge.
            const QRect r(panel->mapTo(&ribbon, QPoint(0, 0)), panel->size());
            QVERIFY2(r.right() <= ribbon.width(), qPrintable(tab + "/" + panel->Title()));
            // A collapsed panel's commands are checked in its drop-down, opened as a click opens it.
            const bool collapsed = panel->Size() == EPanelSize::Collapsed;
            if (collapsed) panel->DropButton()->click();
            int checked = 0;
            for (QToolButton* b : panel->findChildren<QToolButton*>()) {
                if (!b->isVisible() || b == panel->DropButton()) continue;
                ++checked;
                // The text in full: its width and the icon beside it fit the button.
                int need = b->fontMetrics().horizontalAdvance(b->text());
                if (b->toolButtonStyle() == Qt::ToolButtonTextBesideIcon) need += b->iconSize().width();
                QVERIFY2(need <= b->width(),
                         qPrintable(tab + "/" + b->text() +
                                    QString(" needs %1, has %2").arg(need).arg(b->width())));
                QVERIFY2(!b->icon().isNull(), qPrintable(tab + "/" + b->text()));
            }
            if (collapsed) {
                QVERIFY2(checked > 0, qPrintable(tab + "/" + panel->Title()));
                QApplication::activePopupWidget()->close();
            }
        }
        if (tab == "Home" || tab == "System")
            w.grab().save(QStringLiteral(ZOR2_GUI_TEST_OUT "/window_%1_%2.png").arg(width).arg(tab));
    }
    // A toggle that is on looks checked.
    QToolButton* values = w.findChild<QToolButton*>("ID_CHECK_MODULE_SHOWVALUES");
    QVERIFY(values);
    QCOMPARE(values->isChecked(), w.View().Options().showModuleValues);
}

void CUsabilityTest::contextCategoryOnFirstSelection() {
    CScene scene;
    CMainWindow& w = *scene.w;
    QTabBar* tabs = w.Ribbon().Tabs();
    auto index = [&](const QString& text) {
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == text) return i;
        return -1;
    };
    const int context = index("Modify Selected Component");
    const int module = index("Module");
    scene.DesignAtFullSize();
    tabs->setCurrentIndex(module);
    for (int round = 0; round < 2; ++round) {
        // A click on the component shows the category at once, with room for its tab.
        QTest::mouseClick(w.View().viewport(), Qt::LeftButton, Qt::NoModifier,
                          w.View().CentreOf({.kind = EHit::Component, .component = scene.sum}));
        QVERIFY(tabs->isTabVisible(context));
        QVERIFY(tabs->tabRect(context).width() >
                tabs->fontMetrics().horizontalAdvance(tabs->tabText(context)));
        QCOMPARE(tabs->currentIndex(), module);
        // Made current and then left by clearing the selection: back to the category before.
        tabs->setCurrentIndex(context);
        w.View().ClearSelection();
        w.UpdateCommandStates();
        QVERIFY(!tabs->isTabVisible(context));
        QCOMPARE(tabs->currentIndex(), module);
    }
}

void CUsabilityTest::paletteSearch() {
    CScene scene;
    CMainWindow& w = *scene.w;
    CPalette& palette = w.Palette();
    QTreeWidget* tree = palette.Tree();
    // Every group is a heading of one list: none hides behind a tab.
    QStringList headings;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) headings << tree->topLevelItem(i)->text(0);
    QCOMPARE(headings, QStringList({"Logic", "Math", "Signals", "Utility", "Decision"}));
    const qsizetype all = palette.Listed().size();
    QCOMPARE(all, qsizetype(w.Document().System().m_catalogue.Size()));
    struct Case {
        const char* typed;
        int expected;  // a type id that must be listed
        qsizetype most;
    };
    for (const Case& c : {Case{"const", 41, all / 4}, Case{"TIMER", 0, 3}, Case{"", 41, all}}) {
        QTest::keyClicks(palette.Search(), c.typed);
        const QList<int> listed = palette.Listed();
        QVERIFY2(listed.size() <= c.most, c.typed);
        if (c.expected) QVERIFY2(listed.contains(c.expected), c.typed);
        palette.Search()->clear();
    }
    // The group's command hides its heading, and shows it again.
    w.RunCommand(kCmdPaletteUtility);
    QVERIFY(!palette.GroupShown(kGroupUtility));
    QVERIFY(!w.CommandAction(kCmdPaletteUtility)->isChecked());
    w.RunCommand(kCmdPaletteUtility);
    QVERIFY(palette.GroupShown(kGroupUtility));
    QCOMPARE(palette.Listed().size(), all);
}

void CUsabilityTest::liveWireAndRefusalHint() {
    CScene scene;
    CMainWindow& w = *scene.w;
    QWidget* viewport = scene.DesignAtFullSize();
    CDesignView& view = w.View();
    CNetworkModel* b = view.Module()->DropComponent(41, 140, 260);
    w.Refresh();
    const QPoint from =
        view.CentreOf({.kind = EHit::ComponentOutput, .component = b, .output = b->FirstOutput()});
    const CHit busy{
        .kind = EHit::ComponentInput, .component = scene.sum, .input = scene.sum->m_inputs.Head()};
    struct Case {
        const char* name;
        CHit target;
        EConnectVerdict verdict;
    };
    const Case cases[] = {
        {"an input with a connection", busy, EConnectVerdict::Refused},
        {"the component: a new input",
         {.kind = EHit::Component, .component = scene.sum},
         EConnectVerdict::Accepted},
    };
    for (const Case& c : cases) {
        const QPoint to = view.CentreOf(c.target);
        QTest::mousePress(viewport, Qt::RightButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::RightButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        // While the button is down the wire and the verdict follow the cursor.
        const std::optional<CConnectPreview> preview = view.WirePreview();
        QVERIFY2(preview && preview->verdict == c.verdict, c.name);
        const size_t inputs = scene.sum->m_inputs.Size();
        QTest::mouseRelease(viewport, Qt::RightButton, Qt::NoModifier, to);
        QVERIFY2(!view.WirePreview(), c.name);
        if (c.verdict == EConnectVerdict::Refused) {
            QCOMPARE(view.ConnectHint(), QString::fromUtf8(RefusalMessage(kRefuseInputBusy)));
            QCOMPARE(scene.sum->m_inputs.Size(), inputs);
        } else {
            QCOMPARE(scene.sum->m_inputs.Size(), inputs + 1);
        }
    }
}

void CUsabilityTest::rateBoxClampsWhatIsTyped() {
    CScene scene;
    CMainWindow& w = *scene.w;
    QSpinBox* rate = w.RateSpin();
    rate->setValue(5);
    QLineEdit* edit = rate->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, "25");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(rate->value(), 20);
    QCOMPARE(w.Document().System().m_cyclesPerSecond, 20);
    QVERIFY2(w.statusBar()->currentMessage().contains("25"), qPrintable(w.statusBar()->currentMessage()));
}

void CUsabilityTest::manageBehaviorsShowsTheSelectedOne() {
    CScene scene;
    CMainWindow& w = *scene.w;
    Czor2Doc& doc = w.Document();
    CExternalInput* input = doc.System().CreateSystemInput("Speed", 1);
    for (const char* name : {"rise", "fall"}) {
        CBehaviorData data;
        data.name = name;
        QVERIFY(AddBehaviorTo(doc, input->m_id, data) == ECmd::Done);
    }
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        auto* list = d->findChild<QListWidget*>();
        auto label = [&](const char* name) { return d->findChild<QLabel*>(name)->text(); };
        // Nothing selected: nothing to edit or delete.
        QVERIFY(!d->findChild<QPushButton*>("delete")->isEnabled());
        list->setCurrentRow(1);
        seen << label("name") << label("target") << label("type");
        QVERIFY(d->findChild<QCheckBox*>("enable")->isChecked());
        QVERIFY(d->findChild<QPushButton*>("edit")->isEnabled());
        d->findChild<QPushButton*>("delete")->click();
        seen << QString::number(list->count()) << label("name");
        d->accept();
    });
    w.RunCommand(kCmdViewBehaviors);
    QCOMPARE(seen,
             QStringList({"fall", "Speed", QString(CSimBehaviorMgr::BehaviorTypeName(kBehaviorAscending)),
                          "1", "rise"}));
    QCOMPARE(doc.System().m_behaviors.m_behaviors.Size(), size_t(1));
}

void CUsabilityTest::manifestWithoutAViewer() {
    QTemporaryDir dir;
    const QString manifest = dir.filePath("plant.txt");
    QFile file(manifest);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Inputs: 1\n");
    file.close();
    CdlgExportSuccess dialog(nullptr, dir.filePath("plant.z2r"), manifest, "plant");
    for (const bool viewerStarts : {true, false}) {
        dialog.m_openUrl = [viewerStarts](const QUrl&) { return viewerStarts; };
        QDialog* own = dialog.ViewManifest();
        QCOMPARE(own == nullptr, viewerStarts);
        if (own) QCOMPARE(own->findChild<QPlainTextEdit*>("manifest")->toPlainText(), QString("Inputs: 1\n"));
    }
}

void CUsabilityTest::missingFileOnTheCommandLineIsSaid() {
    CScene scene;
    CMainWindow& w = *scene.w;
    w.Prompter().m_answerHook = [](const QString&) { return EAnswer::Ok; };
    const std::vector<uint8_t> before = SaveProjectBytes(w.Document().System());
    QVERIFY(!w.OpenFromCommandLine("/nonexistent/plant.zr2"));
    QVERIFY(w.Prompter().m_told.back().contains("no such file"));
    QCOMPARE(SaveProjectBytes(w.Document().System()), before);
}

void CUsabilityTest::examplesAtTheSmallestWidth() {
    // Pictures of each shipped example's first module at 1280 x 720, for the eye.
    for (const char* name : {"celsius", "two_stage", "accumulator", "ramp"}) {
        CMainWindow w(nullptr, SceneLink());
        w.resize(1280, 720);
        w.show();
        QVERIFY2(w.OpenProject(QStringLiteral(ZOR2_SOURCE_DIR "/examples/%1.zr2").arg(name)), name);
        w.grab().save(QStringLiteral(ZOR2_GUI_TEST_OUT "/example_%1_system.png").arg(name));
        w.View().ShowModule(w.Document().System().m_modules.Head());
        w.grab().save(QStringLiteral(ZOR2_GUI_TEST_OUT "/example_%1_module.png").arg(name));
    }
}

QTEST_MAIN(CUsabilityTest)
#include "usability_test.moc"
