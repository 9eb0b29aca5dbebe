// The ribbon of the designer window driven as a user drives it: which commands
// a selection enables, and the graphics, chart and value-window commands
// changing the model through their buttons, checks, spins, font boxes and edits.
#include <QAction>
#include <QDialog>
#include <QFontComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "designer/command_rows.h"
#include "designer/commands.h"
#include "designer/gui/main_window.h"
#include "gui_scene.h"

using namespace zor2;
using namespace zor2::gui;

class CRibbonTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void enabledStatesFollowTheSelection();
    void graphicsCommandsChangeTheModelOnceEach();
    void graphicValueWidgetsShowTheSelectedGraphic();
    void chartOptionsThroughTheRibbon();
    void chartScaleRefusesWhatIsNotANumber();
    void valueWindowOptionsThroughTheRibbon();
    void viewOptionsAreTheEditorsOptions();
    void categoryEditRenamesTheSelectedCategory();
    void neuralNetworkCommandsNeedANetwork();

  private:
    QTemporaryDir m_dir;
    int m_round = 0;
};

void CRibbonTest::initTestCase() {
    QVERIFY(StartGuiTests(m_dir));
}

void CRibbonTest::init() {
    UseFreshSettings(m_dir, m_round);
}

void CRibbonTest::enabledStatesFollowTheSelection() {
    CScene scene;
    CMainWindow& w = *scene.w;
    CEditorState& e = w.Document().Editor();
    struct Case {
        const char* name;
        std::function<void()> select;
        QStringList enabled;
        QStringList disabled;
    };
    const Case cases[] = {
        {"system view, nothing selected",
         [&] {
             w.View().ShowSystem();
             e.ClearSelection();
         },
         {"ID_CHECK_INPUTCAT_DETAIL", "ID_CHECK_OUTPUTCAT_DETAIL", "ID_CHECK_SHOWACTIVEOUTPUTS",
          "ID_CHECK_SHOWMINIVIEW", "ID_BUTTON_COLORBACKGROUND", "ID_BUTTON_CHARTSDELETEALL"},
         {"ID_BUTTON_ADDGRAPHIC", "ID_BUTTON_GRAPHIC_TEXT_LEFT", "ID_BUTTON_CHARTDELETE",
          "ID_BUTTON_REMOVEVALUE", "ID_BUTTON_REDUCEALL", "ID_BUTTON_MODELREDUCE",
          "ID_BUTTON_INPUTCATEGORY_EDIT", "ID_BUTTON_ADD_CONNECTION_IN", "ID_CHECK_SHOWCOMPCOUNT"}},
        {"system view, a module",
         [&] {
             w.View().ShowSystem();
             e.ClearSelection();
             e.SelectModules({scene.module->m_id});
         },
         {"ID_BUTTON_ADD_CONNECTION_IN"},
         {"ID_BUTTON_INPUTCATEGORY_EDIT", "ID_BUTTON_OUTPUTCATEGORY_EDIT"}},
        {"system view, an input category",
         [&] {
             w.View().ShowSystem();
             e.ClearSelection();
             e.SelectInputCategory(w.Document().System().m_inputCategories.Head()->m_id);
         },
         {"ID_BUTTON_INPUTCATEGORY_EDIT"},
         {"ID_BUTTON_OUTPUTCATEGORY_EDIT", "ID_BUTTON_ADD_CONNECTION_IN"}},
        {"module view, nothing selected",
         [&] {
             scene.Design();
             e.ClearSelection();
         },
         {"ID_BUTTON_ADDGRAPHIC", "ID_BUTTON_REDUCEALL", "ID_BUTTON_EXPANDALL", "ID_CHECK_SHOWCOMPCOUNT",
          "ID_BUTTON_CHARTSDELETEALL", "ID_CHECK_GRAPHCONNECTORS", "ID_BUTTON_COLORCHART_DATA"},
         {"ID_BUTTON_GRAPHIC_TEXT_LEFT", "ID_CHECK_BOLDTEXT", "ID_BUTTON_CHARTDELETE", "ID_EDIT_CHARTMAX",
          "ID_BUTTON_REMOVEVALUE", "ID_BUTTON_MODELREDUCE", "ID_CHECK_INPUTCAT_DETAIL"}},
        {"module view, one graphic",
         [&] {
             scene.Design();
             e.ClearSelection();
             e.m_graphics = {scene.g1->m_id};
         },
         {"ID_BUTTON_GRAPHIC_TEXT_LEFT", "ID_BUTTON_GRAPHIC_TEXT_BOTTOM", "ID_CHECK_BOLDTEXT",
          "ID_COMBO_FONT", "ID_SPIN_LINEWIDTH_GRAPHICS", "ID_BUTTON_GRAPHICCONSOLIDATE",
          "ID_BUTTON_GRAPHICSHOWCOMPS", "ID_BUTTON_CLR_GRAPHIC_BACK", "ID_BTN_GRAPHIC_DELETE",
          "ID_BUTTON_GRAPHIC_ALIGNLEFT"},
         {"ID_BUTTON_GRAPHIC_SAMESIZE", "ID_BUTTON_GRAPHIC_DISTVERT", "ID_BUTTON_CHARTDELETE"}},
        {"module view, two graphics",
         [&] {
             scene.Design();
             e.ClearSelection();
             e.m_graphics = {scene.g1->m_id, scene.g2->m_id};
         },
         {"ID_BUTTON_GRAPHIC_SAMESIZE", "ID_BUTTON_GRAPHIC_SAMEWIDTH", "ID_BUTTON_GRAPHIC_DISTVERT",
          "ID_BUTTON_GRAPHIC_DISTHORZ"},
         {"ID_BUTTON_REMOVEVALUE"}},
        {"module view, a chart",
         [&] {
             scene.Design();
             e.ClearSelection();
             e.m_charts = {scene.chart->m_id};
         },
         {"ID_BUTTON_CHARTDELETE", "ID_CHECK_CHART_AUTOSCALE", "ID_EDIT_CHARTMAX", "ID_EDIT_MINORINC",
          "ID_BUTTON_APPLYCHARTSCALE", "ID_CHECK_CHARTLOCK", "ID_BTN_CHARTS_APPLYOPTIONSTOALL"},
         {"ID_BUTTON_REMOVEVALUE", "ID_BUTTON_UPDATESUFFIX", "ID_BUTTON_GRAPHIC_TEXT_LEFT"}},
        {"module view, a value window",
         [&] {
             scene.Design();
             e.ClearSelection();
             e.m_valueWindows = {scene.window->m_id};
         },
         {"ID_BUTTON_REMOVEVALUE", "ID_SPIN_PRECISION", "ID_SPIN_FONTSIZE", "ID_EDIT_SUFFIX",
          "ID_BUTTON_UPDATESUFFIX", "ID_CHECK_USESUFFIX", "ID_COMBO_FONTVALUES", "ID_BUTTON_CLR_VALUE_BACK"},
         {"ID_BUTTON_CHARTDELETE", "ID_EDIT_CHARTMAX"}},
        {"module view, a component",
         [&] {
             scene.Design();
             e.ClearSelection();
             e.SelectComponents({scene.a->m_id});
         },
         {"ID_BUTTON_MODELREDUCE", "ID_BUTTON_MODELEXPAND"},
         {"ID_BUTTON_CHARTDELETE", "ID_BUTTON_GRAPHIC_TEXT_LEFT"}},
    };
    for (const Case& c : cases) {
        c.select();
        w.UpdateCommandStates();
        for (const QString& ident : c.enabled)
            QVERIFY2(scene.Action(ident)->isEnabled(),
                     qPrintable(QString(c.name) + ": " + ident + " disabled"));
        for (const QString& ident : c.disabled)
            QVERIFY2(!scene.Action(ident)->isEnabled(),
                     qPrintable(QString(c.name) + ": " + ident + " enabled"));
        // A widget follows its command: the value boxes are usable exactly when it is enabled.
        for (const char* ident : {"ID_EDIT_CHARTMAX", "ID_SPIN_PRECISION", "ID_COMBO_FONT"}) {
            QWidget* widget = w.findChild<QWidget*>(ident);
            QVERIFY(widget);
            QCOMPARE(widget->isEnabled(), scene.Action(ident)->isEnabled());
        }
    }
    // The "Charts" context category appears with a chart or value window selected.
    scene.Design();
    e.ClearSelection();
    w.UpdateCommandStates();
    QVERIFY(!w.RibbonTabs().contains("Charts") || w.RibbonTabs().count("Charts") == 1);
    const int without = w.RibbonTabs().count("Charts");
    e.m_charts = {scene.chart->m_id};
    w.UpdateCommandStates();
    QVERIFY2(w.RibbonTabs().count("Charts") == without + 1, qPrintable(w.RibbonTabs().join(",")));
}

void CRibbonTest::graphicsCommandsChangeTheModelOnceEach() {
    CScene scene;
    CMainWindow& w = *scene.w;
    w.m_colourHook = [](int32_t) { return std::optional<int32_t>(0x123456); };
    CGraphic& g = *scene.g1;
    struct Case {
        const char* name;
        std::function<void()> act;
        std::function<bool()> changed;
    };
    const Case cases[] = {
        {"centre the text", [&] { scene.Trigger("ID_BUTTON_GRAPHIC_TEXT_HCENTER"); },
         [&] { return g.m_alignH == 1; }},
        {"bottom text", [&] { scene.Trigger("ID_BUTTON_GRAPHIC_TEXT_BOTTOM"); },
         [&] { return g.m_alignV == 2; }},
        {"bold", [&] { scene.Trigger("ID_CHECK_BOLDTEXT"); }, [&] { return g.m_bold; }},
        {"larger font", [&] { scene.Trigger("ID_BUTTON_GRAPHICFONT_INC"); },
         [&] { return g.m_fontSize == 11; }},
        {"3D edges", [&] { scene.Trigger("ID_CHECK_GRAPHIC3D"); }, [&] { return g.m_edges3d; }},
        {"opaque", [&] { scene.Trigger("ID_BUTTON_GRAPHIC_TRANS"); },
         [&] { return !g.m_transparent && !scene.Action("ID_BUTTON_GRAPHIC_TRANS")->isChecked(); }},
        {"background colour", [&] { scene.Trigger("ID_BUTTON_CLR_GRAPHIC_BACK"); },
         [&] { return g.m_background == 0x123456; }},
        {"line width 3 turns the outline on",
         [&] { w.findChild<QWidget*>("ID_SPIN_LINEWIDTH_GRAPHICS")->findChild<QSpinBox*>()->setValue(3); },
         [&] { return g.m_lineWidth == 3 && g.m_outline; }},
        {"line width 0 turns it off",
         [&] { w.findChild<QWidget*>("ID_SPIN_LINEWIDTH_GRAPHICS")->findChild<QSpinBox*>()->setValue(0); },
         [&] { return g.m_lineWidth == 0 && !g.m_outline; }},
        {"font", [&] { emit w.findChild<QFontComboBox*>("ID_COMBO_FONT")->textActivated("DejaVu Serif"); },
         [&] { return g.m_fontName == "DejaVu Serif"; }},
        {"delete text", [&] { scene.Trigger("ID_BUTTON_GRAPHICDELETETEXT"); },
         [&] { return g.m_text.empty(); }},
    };
    scene.Design();
    w.Document().Editor().m_graphics = {g.m_id};
    w.UpdateCommandStates();
    for (const Case& c : cases) {
        const size_t levels = w.Document().UndoListSize();
        QVERIFY2(!c.changed(), c.name);
        c.act();
        QVERIFY2(c.changed(), c.name);
        QVERIFY2(w.Document().UndoListSize() == levels + 1, c.name);
        // The other graphic was not selected and keeps its settings.
        QVERIFY2(scene.g2->m_alignH == 0 && !scene.g2->m_bold && scene.g2->m_fontSize == 10, c.name);
    }
    // Same size needs two graphics; the first selected is the pattern.
    w.Document().Editor().m_graphics = {scene.g2->m_id, g.m_id};
    w.UpdateCommandStates();
    scene.Trigger("ID_BUTTON_GRAPHIC_SAMESIZE");
    QCOMPARE(g.m_rect.right - g.m_rect.left, scene.g2->m_rect.right - scene.g2->m_rect.left);
    QCOMPARE(g.m_rect.bottom - g.m_rect.top, scene.g2->m_rect.bottom - scene.g2->m_rect.top);
    // Undo steps back exactly the last command (the system is reloaded, so by id).
    const int32_t id = g.m_id;
    w.CommandAction(kCmdUndo)->trigger();
    CGraphic* restored = w.Document().System().m_graphics.m_graphics.Find(id);
    QVERIFY(restored);
    QCOMPARE(restored->m_rect.right - restored->m_rect.left, 200);
    QVERIFY(restored->m_text.empty());
}

void CRibbonTest::graphicValueWidgetsShowTheSelectedGraphic() {
    CScene scene;
    CMainWindow& w = *scene.w;
    scene.g1->m_lineWidth = 4;
    scene.g2->m_lineWidth = 7;
    scene.g2->m_bold = true;
    QSpinBox* spin = w.findChild<QWidget*>("ID_SPIN_LINEWIDTH_GRAPHICS")->findChild<QSpinBox*>();
    scene.Design();
    const size_t levels = w.Document().UndoListSize();
    struct Case {
        CGraphic* graphic;
        int width;
        bool bold;
    };
    for (const Case& c : {Case{scene.g1, 4, false}, Case{scene.g2, 7, true}, Case{scene.g1, 4, false}}) {
        w.Document().Editor().m_graphics = {c.graphic->m_id};
        w.UpdateCommandStates();
        QCOMPARE(spin->value(), c.width);
        QCOMPARE(scene.Action("ID_CHECK_BOLDTEXT")->isChecked(), c.bold);
    }
    // Showing the selection's values is no edit.
    QCOMPARE(w.Document().UndoListSize(), levels);
    QCOMPARE(scene.g1->m_lineWidth, 4);
}

void CRibbonTest::chartOptionsThroughTheRibbon() {
    CScene scene;
    CMainWindow& w = *scene.w;
    CChart& chart = *scene.chart;
    CSystem& s = w.Document().System();
    scene.Design();
    w.Document().Editor().m_charts = {chart.m_id};
    w.UpdateCommandStates();
    struct Case {
        const char* ident;
        std::function<bool()> value;
    };
    const Case checks[] = {
        {"ID_CHECK_CHART_AUTOSCALE", [&] { return chart.m_autoScale; }},
        {"ID_CHECK_CHART_SHOWRANGE", [&] { return chart.m_showRange; }},
        {"ID_CHECK_CHART_SHOWLABELS", [&] { return chart.m_showAxis; }},
        {"ID_CHECK_CHART_SHOWGRID", [&] { return chart.m_showGridlines; }},
        {"ID_CHECK_CHARTLOCK", [&] { return chart.m_lockLocation; }},
    };
    for (const Case& c : checks) {
        const bool before = c.value();
        QCOMPARE(scene.Action(c.ident)->isChecked(), before);
        const size_t levels = w.Document().UndoListSize();
        scene.Trigger(c.ident);
        QVERIFY2(c.value() != before, c.ident);
        QCOMPARE(scene.Action(c.ident)->isChecked(), !before);
        QCOMPARE(w.Document().UndoListSize(), levels + 1);
    }
    // Each place of a check, the "Charts" context category's included, switches the setting.
    const QList<QAction*> places = w.CommandActions(CommandId("ID_CHECK_CHART_SHOWRANGE"));
    QCOMPARE(places.size(), 2);
    for (QAction* a : places) {
        const bool before = chart.m_showRange;
        a->trigger();
        QCOMPARE(chart.m_showRange, !before);
        for (QAction* other : places) QCOMPARE(other->isChecked(), !before);
    }
    // The scale from the edits; Apply switches auto scale off.
    scene.SetEdit("ID_EDIT_CHARTMIN", "-5");
    scene.SetEdit("ID_EDIT_CHARTMAX", "25");
    scene.SetEdit("ID_EDIT_MAJORINC", "5");
    scene.SetEdit("ID_EDIT_MINORINC", "1");
    scene.Trigger("ID_BUTTON_APPLYCHARTSCALE");
    QCOMPARE(chart.m_min, -5.0);
    QCOMPARE(chart.m_max, 25.0);
    QCOMPARE(chart.m_majorIncrement, 5.0);
    QCOMPARE(chart.m_minorIncrement, 1.0);
    QVERIFY(!chart.m_autoScale);
    // The three chart colours are the system's, through the colour chooser.
    struct Colour {
        const char* ident;
        int32_t* field;
    };
    int32_t next = 0x010203;
    for (const Colour& c : {Colour{"ID_BUTTON_COLORCHART_BACK", &s.m_chartBackground},
                            Colour{"ID_BUTTON_COLORCHART_DATA", &s.m_chartData},
                            Colour{"ID_BUTTON_COLORCHART_GRID", &s.m_chartGrid}}) {
        w.m_colourHook = [next](int32_t) { return std::optional<int32_t>(next); };
        scene.Trigger(c.ident);
        QCOMPARE(*c.field, next);
        next += 0x010101;
    }
    // A cancelled colour dialog changes nothing.
    const size_t levels = w.Document().UndoListSize();
    w.m_colourHook = [](int32_t) { return std::optional<int32_t>(); };
    scene.Trigger("ID_BUTTON_COLORCHART_BACK");
    QCOMPARE(s.m_chartBackground, 0x010203);
    QCOMPARE(w.Document().UndoListSize(), levels);
    // Size buttons in the chart's title bar.
    w.View().CenterView();
    const QPoint button = w.View().CentreOf({.kind = EHit::ChartSizeButton, .chart = &chart, .part = 2});
    QCOMPARE(w.View().HitTest(button).kind, EHit::ChartSizeButton);
    const CRect before = chart.m_rect;
    QTest::mouseClick(w.View().viewport(), Qt::LeftButton, Qt::NoModifier, button);
    QCOMPARE(chart.m_sizeCode, 2);
    QCOMPARE(chart.m_rect.left, before.left);
    QCOMPARE(chart.m_rect.top, before.top);
    QCOMPARE(chart.m_rect.right - chart.m_rect.left, 360);
    QCOMPARE(chart.m_rect.bottom - chart.m_rect.top, 216);
    // Delete Chart removes the selected chart only.
    w.Document().Editor().m_charts = {chart.m_id};
    w.UpdateCommandStates();
    w.Prompter().m_answerHook = [](const QString&) { return EAnswer::Yes; };
    scene.Trigger("ID_BUTTON_CHARTDELETE");
    QVERIFY(s.m_charts.m_charts.Empty());
    QCOMPARE(s.m_valueWindows.m_windows.Size(), size_t(1));
}

void CRibbonTest::chartScaleRefusesWhatIsNotANumber() {
    struct Case {
        const char* name;
        QString min, max;
    };
    const Case cases[] = {
        {"not a number", "abc", "10"},
        {"maximum below minimum", "10", "5"},
        {"empty field", "", "10"},
    };
    for (const Case& c : cases) {
        CScene scene;
        CMainWindow& w = *scene.w;
        w.Prompter().m_answerHook = [](const QString&) { return EAnswer::Ok; };
        scene.Design();
        w.Document().Editor().m_charts = {scene.chart->m_id};
        w.UpdateCommandStates();
        const size_t levels = w.Document().UndoListSize();
        const double min = scene.chart->m_min, max = scene.chart->m_max;
        scene.SetEdit("ID_EDIT_CHARTMIN", c.min);
        scene.SetEdit("ID_EDIT_CHARTMAX", c.max);
        scene.Trigger("ID_BUTTON_APPLYCHARTSCALE");
        QVERIFY2(scene.chart->m_min == min && scene.chart->m_max == max, c.name);
        QVERIFY2(scene.chart->m_autoScale, c.name);
        QVERIFY2(w.Document().UndoListSize() == levels, c.name);
    }
}

void CRibbonTest::valueWindowOptionsThroughTheRibbon() {
    CScene scene;
    CMainWindow& w = *scene.w;
    CValueWindow& v = *scene.window;
    scene.a->FirstOutput()->SetValue(1.5);
    scene.Design();
    w.Document().Editor().m_valueWindows = {v.m_id};
    w.UpdateCommandStates();
    auto spin = [&](const char* ident) { return w.findChild<QWidget*>(ident)->findChild<QSpinBox*>(); };
    QCOMPARE(spin("ID_SPIN_PRECISION")->value(), 2);
    spin("ID_SPIN_PRECISION")->setValue(3);
    QCOMPARE(v.m_precision, 3);
    scene.SetEdit("ID_EDIT_SUFFIX", "Hz");
    scene.Trigger("ID_BUTTON_UPDATESUFFIX");
    QCOMPARE(QString::fromStdString(v.ValueText()), QString("1.500 Hz"));
    scene.Trigger("ID_CHECK_USESUFFIX");
    QCOMPARE(QString::fromStdString(v.ValueText()), QString("1.500"));
    spin("ID_SPIN_FONTSIZE")->setValue(20);
    QCOMPARE(v.m_fontSize, 20);
    struct Case {
        const char* ident;
        std::function<bool()> value;
    };
    for (const Case& c : {Case{"ID_CHECK_TRANSPARENT", [&] { return v.m_transparent; }},
                          Case{"ID_CHECK_SHOWTITLE", [&] { return v.m_showTitle; }},
                          Case{"ID_CHECK_SHOWOUTLINE", [&] { return v.m_showOutline != 0; }},
                          Case{"ID_CHECK_SHOWCOMPNAME", [&] { return v.m_showComponentName; }}}) {
        const bool before = c.value();
        scene.Trigger(c.ident);
        QVERIFY2(c.value() != before, c.ident);
    }
    // The caption applies on Return.
    QLineEdit* caption = w.findChild<QLineEdit*>("ID_EDIT_VALUECAPTION");
    caption->setText("Speed");
    emit caption->returnPressed();
    QCOMPARE(QString::fromStdString(v.m_title), QString("Speed"));
    // The edits show the next selected window's texts, not what was typed before.
    w.Document().Editor().m_valueWindows.clear();
    w.UpdateCommandStates();
    QCOMPARE(w.findChild<QLineEdit*>("ID_EDIT_SUFFIX")->text(), QString());
    w.Document().Editor().m_valueWindows = {v.m_id};
    w.UpdateCommandStates();
    QCOMPARE(w.findChild<QLineEdit*>("ID_EDIT_SUFFIX")->text(), QString("Hz"));
    // Undo brings the previous caption back into its edit as well (the window is reloaded).
    const QString outputName = QString::fromStdString(scene.a->FirstOutput()->m_name);
    w.CommandAction(kCmdUndo)->trigger();
    QCOMPARE(w.findChild<QLineEdit*>("ID_EDIT_VALUECAPTION")->text(), outputName);
    w.CommandAction(kCmdRedo)->trigger();
    QCOMPARE(w.findChild<QLineEdit*>("ID_EDIT_VALUECAPTION")->text(), QString("Speed"));
    scene.Trigger("ID_BUTTON_REMOVEVALUE");
    QVERIFY(w.Document().System().m_valueWindows.m_windows.Empty());
}

void CRibbonTest::viewOptionsAreTheEditorsOptions() {
    CScene scene;
    CMainWindow& w = *scene.w;
    CViewOptions& o = w.Document().Editor().m_options;
    QCOMPARE(&w.View().Options(), &o);
    struct Case {
        const char* ident;
        bool* option;
    };
    const Case cases[] = {
        {"ID_CHECK_COMP_NAMES", &o.componentNames},
        {"ID_CHECK_COMP_HELPERTEXT", &o.helperText},
        {"ID_CHECK_COMPINPUT_NAMES", &o.inputNames},
        {"ID_CHECK_COMP_OUTPUTNAMES", &o.outputNames},
        {"ID_CHECK_COMP_CONNECTIONS", &o.connections},
        {"ID_BUTTON_MVOPTIONS_INCONNS", &o.miniviewIncoming},
        {"ID_BUTTON_MVOPTIONS_OUTCONNS", &o.miniviewOutgoing},
        {"ID_BUTTON_MVOPTIONS_NTONCONNS", &o.miniviewModuleLinks},
        {"ID_BUTTON_MVOPTIONS_NETNAMES", &o.miniviewNames},
        {"ID_CHECK_SHOWACTIVEOUTPUTS", &o.highlightActiveOutputs},
    };
    const size_t levels = w.Document().UndoListSize();
    for (const Case& c : cases) {
        const bool before = *c.option;
        scene.Trigger(c.ident);
        QVERIFY2(*c.option != before, c.ident);
        QVERIFY2(scene.Action(c.ident)->isChecked() == *c.option, c.ident);
    }
    // Display options are no edit of the project.
    QCOMPARE(w.Document().UndoListSize(), levels);
    // The grid, the connector type and module values go to the settings as they change.
    w.RunCommand(kCmdShowGrid);
    QVERIFY(!o.showGrid);
    QCOMPARE(CDesignerSettings().ReadInt(kShowGrid), 0);
    w.findChild<QWidget*>("ID_SPIN_GRIDWIDTH")->findChild<QSpinBox*>()->setValue(24);
    QCOMPARE(o.gridSpacing, 24);
    QCOMPARE(CDesignerSettings().ReadInt(kGridWidth), 24);
    scene.Trigger("ID_CHECK_MODULE_SHOWVALUES");
    QVERIFY(!o.showModuleValues);
    QCOMPARE(CDesignerSettings().ReadInt(kShowModuleValues), 0);
    w.m_colourHook = [](int32_t) { return std::optional<int32_t>(0x00FF00); };
    scene.Trigger("ID_BUTTON_COLORGRID");
    QCOMPARE(o.gridColour, 0x00FF00);
    w.RunCommand(kCmdRestoreColours);
    QCOMPARE(o.gridColour, CViewOptions{}.gridColour);
    // The bars of the two views are separate options.
    scene.Design();
    w.RunCommand(kCmdShowModuleInputs);
    QVERIFY(!o.showModuleInputsBar);
    QVERIFY(o.showSystemInputsBar);
}

void CRibbonTest::categoryEditRenamesTheSelectedCategory() {
    struct Case {
        const char* ident;
        bool inputs;
        QString typed;
        bool accept;
        QString expected;
    };
    const Case cases[] = {
        {"ID_BUTTON_INPUTCATEGORY_EDIT", true, "Sensors", true, "Sensors"},
        {"ID_BUTTON_OUTPUTCATEGORY_EDIT", false, "Actuators", true, "Actuators"},
        {"ID_BUTTON_INPUTCATEGORY_EDIT", true, "Ignored", false, ""},
    };
    for (const Case& c : cases) {
        CScene scene;
        CMainWindow& w = *scene.w;
        CSystem& s = w.Document().System();
        w.View().ShowSystem();
        CEditorState& e = w.Document().Editor();
        const std::string before =
            c.inputs ? s.m_inputCategories.Head()->m_name : s.m_outputCategories.Head()->m_name;
        if (c.inputs)
            e.SelectInputCategory(s.m_inputCategories.Head()->m_id);
        else
            e.SelectOutputCategory(s.m_outputCategories.Head()->m_id);
        w.UpdateCommandStates();
        const size_t levels = w.Document().UndoListSize();
        QTimer::singleShot(0, [&c] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            if (auto* name = dialog->findChild<QLineEdit*>("name")) name->setText(c.typed);
            if (c.accept)
                dialog->accept();
            else
                dialog->reject();
        });
        scene.Trigger(c.ident);
        const std::string after =
            c.inputs ? s.m_inputCategories.Head()->m_name : s.m_outputCategories.Head()->m_name;
        QCOMPARE(QString::fromStdString(after), c.accept ? c.expected : QString::fromStdString(before));
        QCOMPARE(w.Document().UndoListSize(), levels + (c.accept ? 1 : 0));
    }
}

void CRibbonTest::neuralNetworkCommandsNeedANetwork() {
    CScene scene;
    CMainWindow& w = *scene.w;
    scene.Design();
    w.Document().Editor().SelectComponents({scene.a->m_id});
    w.UpdateCommandStates();
    for (const CRibbonRow& r : RibbonRows()) {
        if (std::strcmp(r.category, "Modify Neural Network") != 0) continue;
        // The vectors pane and the view's option are the window's own, enabled everywhere.
        if (FindCommand(r.id)->need != ENeed::NeuralNetwork) continue;
        QVERIFY2(!w.CommandAction(r.id)->isEnabled(), r.ident);
    }
    QVERIFY(!w.RibbonTabs().contains("Modify Neural Network"));
    // A network shows the category; without vectors it has nothing to learn.
    AddComponent(w.Document(), 1, 600, 300);
    w.UpdateCommandStates();
    QVERIFY(w.RibbonTabs().contains("Modify Neural Network"));
    QVERIFY(w.CommandAction(kCmdImportVectors)->isEnabled());
    QVERIFY(w.CommandAction(kCmdNetworkAddInput)->isEnabled());
    QVERIFY(!w.CommandAction(kCmdStartLearning)->isEnabled());
    QVERIFY(!w.CommandAction(kCmdStopLearning)->isEnabled());
}

QTEST_MAIN(CRibbonTest)
#include "ribbon_test.moc"
