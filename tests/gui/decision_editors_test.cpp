// The decision matrix dialog and the Action Sequencer pane offscreen: they draw
// their models and turn mouse gestures into the core's edits (one undo level
// each); the View ribbon shows the pane. Renders are saved under the build folder.
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "components/decision/action_sequence.h"
#include "designer/commands_component.h"
#include "designer/commands_system.h"
#include "designer/document.h"
#include "designer/gui/decision_matrix_dialog.h"
#include "designer/gui/main_window.h"
#include "designer/gui/sequence_pane.h"

using namespace zor2;
using namespace zor2::gui;

namespace {

struct CDocWithModule {
    CDocWithModule() {
        AddModule(doc);
        doc.Editor().DesignModule(doc.Editor().CurrentModule(doc.System())->m_id);
    }
    CNetworkModel* Add(int32_t typeId) {
        AddComponent(doc, typeId, 120, 80);
        return doc.Editor().SelectedComponent(doc.System());
    }
    Czor2Doc doc;
};

QPoint Centre(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

QString Out(const char* name) {
    return QDir(QStringLiteral(ZOR2_GUI_TEST_OUT)).filePath(name);
}

}  // namespace

class DecisionEditorsTest : public QObject {
    Q_OBJECT
  private slots:
    void MatrixDialogPaintsCellsWithTheDraggedOutput();
    void SequencePaneAddsAndMovesBars();
    void ViewRibbonShowsThePane();
};

void DecisionEditorsTest::MatrixDialogPaintsCellsWithTheDraggedOutput() {
    CDocWithModule w;
    CNetworkModel* c = w.Add(kTypeDecisionMatrix);
    QVERIFY(c);
    CDecisionMatrixEditor editor(w.doc, c->m_owner->m_id, c->m_id);
    QCOMPARE(editor.AddOutput("Go", 0x40C040), ECmd::Done);
    CPropertySheet sheet = ReadComponentProperties(*c);
    CdlgModelDecisionMatrix d(editor, sheet);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.ThresholdList(1)->item(0)->text(), QString("0.00"));
    QCOMPARE(d.OutputList()->count(), 2);
    d.OutputList()->setCurrentRow(1);
    const int32_t go = c->LastOutput()->m_id;
    QCOMPARE(editor.SelectedOutput(), go);

    const size_t levels = w.doc.UndoListSize();
    CMatrixCanvas& canvas = d.Canvas();
    QTest::mousePress(&canvas, Qt::LeftButton, {}, Centre(editor.CellRect({0, 0})));
    QTest::mouseMove(&canvas, Centre(editor.CellRect({1, 0})));
    QTest::mouseMove(&canvas, Centre(editor.CellRect({1, 1})));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, Centre(editor.CellRect({1, 1})));
    QCOMPARE(w.doc.UndoListSize(), levels + 1);
    QCOMPARE(editor.CellOutput({1, 0}), go);
    QCOMPARE(editor.CellOutput({0, 1}), kDecisionDefaultOutputId);
    QVERIFY(d.grab().save(Out("decision_matrix_dialog.png")));
    // A right click hands the cell back to Default.
    QTest::mouseClick(&canvas, Qt::RightButton, {}, Centre(editor.CellRect({1, 0})));
    QCOMPARE(editor.CellOutput({1, 0}), kDecisionDefaultOutputId);
    QCOMPARE(w.doc.UndoListSize(), levels + 2);
}

void DecisionEditorsTest::SequencePaneAddsAndMovesBars() {
    CDocWithModule w;
    CPaneActionSequencer pane(w.doc, nullptr, {});
    pane.resize(900, 300);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QCOMPARE(pane.Status(),
             QString("Select an Action Sequence Component to create and edit Pattern Sequences"));
    auto* seq = dynamic_cast<CModelActionSequence*>(w.Add(kTypeActionSequence));
    QVERIFY(seq);
    pane.Refresh();
    pane.findChild<QPushButton*>("newOutput")->click();
    pane.findChild<QPushButton*>("newSequence")->click();
    QCOMPARE(pane.Sequences()->count(), 1);
    QVERIFY(pane.Status().startsWith("Current Sequence:   Seq "));

    CSequenceEditor& e = pane.Editor();
    CTimelineCanvas& timeline = pane.Timeline();
    const CRect row = e.RowRect(0);
    const int y = (row.top + row.bottom) / 2;
    const int x = CSequenceEditor::kLabelWidth + 2 * e.ColumnWidth() + 3;
    QTest::mouseClick(&timeline, Qt::LeftButton, {}, QPoint(x, y));
    QCOMPARE(e.Sequence()->m_actions.size(), size_t(1));
    QCOMPARE(e.Sequence()->m_actions[0].m_start, 200.0);
    // Dragged one column on.
    QTest::mousePress(&timeline, Qt::LeftButton, {}, QPoint(x + 4, y));
    QTest::mouseMove(&timeline, QPoint(x + 4 + e.ColumnWidth(), y));
    QTest::mouseRelease(&timeline, Qt::LeftButton, {}, QPoint(x + 4 + e.ColumnWidth(), y));
    QCOMPARE(e.Sequence()->m_actions[0].m_start, 300.0);
    QCoreApplication::processEvents();  // the layout follows the status lines
    QVERIFY(pane.grab().save(Out("sequence_pane.png")));
}

void DecisionEditorsTest::ViewRibbonShowsThePane() {
    CMainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* dock = w.findChild<QDockWidget*>("ActionSequencer");
    QVERIFY(dock);
    QVERIFY(!dock->isVisible());
    QVERIFY(w.CommandEnabled(33165));
    w.RunCommand(33165);
    QVERIFY(dock->isVisible());
}

QTEST_MAIN(DecisionEditorsTest)
#include "decision_editors_test.moc"
