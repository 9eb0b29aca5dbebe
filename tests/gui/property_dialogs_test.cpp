// The component property window offscreen: it shows the type's caption and
// fields, its controls follow the sheet's rules, OK writes the edits back.
#include "designer/gui/property_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "components/math/delay.h"
#include "components/utility/quantity_diminish.h"
#include "components/utility/rand_gen.h"
#include "components/utility/sim_action.h"
#include "components/utility/timer.h"
#include "designer/commands_component.h"
#include "designer/commands_system.h"
#include "designer/document.h"

using namespace zor2;
using namespace zor2::gui;

namespace {

/// A document with one designed module.
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

void TypeInto(QLineEdit* edit, const QString& text) {
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void PressOk(QDialog& d) {
    auto* buttons = d.findChild<QDialogButtonBox*>("buttons");
    QVERIFY(buttons);
    buttons->button(QDialogButtonBox::Ok)->click();
}

}  // namespace

class PropertyDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void ShowsCaptionAndGroups();
    void TypedNumbersAreAppliedOnOk();
    void BadNumberKeepsTheDialogOpen();
    void RandomModeButtonsLockTheRange();
    void DelayButtonsStepTheFactor();
    void ComponentPropertiesRecordsOneUndoLevel();
    void ListsColoursPathsAndButtonsFollowTheSheet();
    void MfccFilterListFollowsTheBank();
};

void PropertyDialogsTest::ShowsCaptionAndGroups() {
    struct Case {
        int32_t typeId;
        const char* caption;
        const char* group;  // a group box the window must show, or empty
    } cases[] = {
        {3, "Component Properties - Logic Gate", ""},
        {68, "Component Properties - Diminishing Quantity", "Container Parameters"},
        {43, "Component Properties - Random Number Generator", ""},
        {18, "Compare to Constant Component", ""},
    };
    CDocWithModule w;
    for (const Case& c : cases) {
        CNetworkModel* comp = w.Add(c.typeId);
        QVERIFY(comp);
        CPropertySheet sheet = ReadComponentProperties(*comp);
        CdlgComponentProperties d(sheet);
        QCOMPARE(d.windowTitle(), QString(c.caption));
        auto* name = d.findChild<QLineEdit*>("name");
        QVERIFY(name);
        QCOMPARE(name->text(), QString::fromStdString(comp->m_name));
        bool found = *c.group == '\0';
        for (QGroupBox* box : d.findChildren<QGroupBox*>()) found |= box->title() == c.group;
        QVERIFY2(found, c.caption);
    }
}

void PropertyDialogsTest::TypedNumbersAreAppliedOnOk() {
    struct Case {
        int32_t typeId;
        const char* key;
        const char* text;
        std::function<bool(CNetworkModel&)> check;
    } cases[] = {
        {14, "delay", "250", [](CNetworkModel& c) { return dynamic_cast<CModelTimer&>(c).Delay() == 250.0; }},
        {41, "value", "2.5",
         [](CNetworkModel& c) { return c.m_value == 2.5 && c.FirstOutput()->m_value == 2.5; }},
        {68, "maximum", "40",
         [](CNetworkModel& c) { return dynamic_cast<CModelQuantityDiminish&>(c).Maximum() == 40.0; }},
        {3, "name", "Gate B", [](CNetworkModel& c) { return c.m_name == "Gate B"; }},
    };
    CDocWithModule w;
    for (const Case& c : cases) {
        CNetworkModel* comp = w.Add(c.typeId);
        CPropertySheet sheet = ReadComponentProperties(*comp);
        CdlgComponentProperties d(sheet);
        TypeInto(d.findChild<QLineEdit*>(c.key), c.text);
        PressOk(d);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(ApplyComponentProperties(w.doc, *comp, sheet), ECmd::Done);
        QVERIFY2(c.check(*comp), c.key);
    }
}

void PropertyDialogsTest::BadNumberKeepsTheDialogOpen() {
    CDocWithModule w;
    CNetworkModel* k = w.Add(41);
    CPropertySheet sheet = ReadComponentProperties(*k);
    CdlgComponentProperties d(sheet);
    d.show();
    auto* value = d.findChild<QLineEdit*>("value");
    TypeInto(value, "ten");
    PressOk(d);
    QVERIFY(d.isVisible());
    QVERIFY(d.LastError().contains("Constant Value"));
    QVERIFY(d.findChild<QLabel*>("error")->isVisible());
    QCOMPARE(k->m_value, 10.0);
    TypeInto(value, "11");
    PressOk(d);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

void PropertyDialogsTest::RandomModeButtonsLockTheRange() {
    CDocWithModule w;
    CNetworkModel* r = w.Add(43);
    CPropertySheet sheet = ReadComponentProperties(*r);
    CdlgComponentProperties d(sheet);
    auto* low = d.findChild<QLineEdit*>("low");
    auto* high = d.findChild<QLineEdit*>("high");
    QVERIFY(low && high && low->isEnabled());
    QCOMPARE(low->text(), QString("1"));
    d.findChild<QRadioButton*>("mode.1")->click();
    QVERIFY(!low->isEnabled());
    QCOMPARE(low->text(), QString("-1.000"));
    QCOMPARE(high->text(), QString("1.000"));
    d.findChild<QRadioButton*>("mode.2")->click();
    QVERIFY(low->isEnabled());
    QCOMPARE(high->text(), QString("6"));
    d.findChild<QRadioButton*>("mode.0")->click();
    d.findChild<QRadioButton*>("timing.1")->click();
    d.findChild<QSpinBox*>("interval")->setValue(7);
    d.findChild<QCheckBox*>("zero")->setChecked(true);
    PressOk(d);
    QCOMPARE(ApplyComponentProperties(w.doc, *r, sheet), ECmd::Done);
    const CRandomDraw& draw = dynamic_cast<CModelRandGen&>(*r).Draw();
    QCOMPARE(draw.mode, 1);
    QCOMPARE(draw.timing, 1);
    QCOMPARE(draw.interval, 7);
    QVERIFY(draw.zeroWhileWaiting);
    QCOMPARE(r->FirstOutput()->m_decimals, 3);
}

void PropertyDialogsTest::DelayButtonsStepTheFactor() {
    CDocWithModule w;
    CNetworkModel* dl = w.Add(2);
    CPropertySheet sheet = ReadComponentProperties(*dl);
    CdlgComponentProperties d(sheet);
    auto* text = d.findChild<QLineEdit*>("factor.text");
    QVERIFY(text && text->isReadOnly());
    QCOMPARE(text->text(), QString("0.75"));
    d.findChild<QToolButton*>("factor.up")->click();
    d.findChild<QToolButton*>("factor.up")->click();
    d.findChild<QToolButton*>("factor.down")->click();
    QCOMPARE(text->text(), QString("0.76"));
    PressOk(d);
    QCOMPARE(ApplyComponentProperties(w.doc, *dl, sheet), ECmd::Done);
    QCOMPARE(QString::number(dynamic_cast<CModelDelay&>(*dl).FeedbackFactor(), 'f', 2), QString("0.76"));
}

void PropertyDialogsTest::ComponentPropertiesRecordsOneUndoLevel() {
    CDocWithModule w;
    CNetworkModel* t = w.Add(14);
    const size_t levels = w.doc.UndoListSize();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<CdlgComponentProperties*>(QApplication::activeModalWidget());
        QVERIFY(d);
        seen = true;
        TypeInto(d->findChild<QLineEdit*>("delay"), "125");
        PressOk(*d);
    });
    QVERIFY(EditComponentProperties(nullptr, w.doc, *t));
    QVERIFY(seen);
    QCOMPARE(dynamic_cast<CModelTimer&>(*t).Delay(), 125.0);
    QCOMPARE(w.doc.UndoListSize(), levels + 1);

    // While the simulator runs the window does not open.
    w.doc.System().m_running = true;
    QVERIFY(!EditComponentProperties(nullptr, w.doc, *t));
    w.doc.System().m_running = false;
    QCOMPARE(w.doc.UndoListSize(), levels + 1);
}

void PropertyDialogsTest::ListsColoursPathsAndButtonsFollowTheSheet() {
    CDocWithModule w;
    // The 2D arithmetic dialog greys out the cross product.
    CNetworkModel* vector = w.Add(65);
    CPropertySheet vectorSheet = ReadComponentProperties(*vector);
    CdlgComponentProperties vectorDialog(vectorSheet);
    QVERIFY(!vectorDialog.findChild<QRadioButton*>("operation.2")->isEnabled());
    QVERIFY(vectorDialog.findChild<QRadioButton*>("operation.3")->isEnabled());

    // The Format dialog shows the list of the kind chosen, and its colour.
    CNetwork* module = w.doc.Editor().DesignedModule(w.doc.System());
    CValueWindow* window = w.doc.System().m_valueWindows.AddValueWindow(w.doc.System().Random());
    window->m_moduleId = module->m_id;
    auto* format = static_cast<CModelSimAction*>(w.Add(69));
    CPropertySheet sheet = ReadComponentProperties(*format);
    CdlgComponentProperties d(sheet);
    d.show();
    auto* windows = d.findChild<QListWidget*>("targetWindow");
    QVERIFY(windows && !windows->isVisible());
    d.findChild<QRadioButton*>("targetKind.0")->click();
    QVERIFY(windows->isVisible());
    QVERIFY(!d.findChild<QListWidget*>("targetGraphic")->isVisible());
    QCOMPARE(windows->count(), 1);
    windows->setCurrentRow(0);
    QVERIFY(d.findChild<QPushButton*>("colour")->styleSheet().contains("#3399ff"));
    PressOk(d);
    QCOMPARE(ApplyComponentProperties(w.doc, *format, sheet), ECmd::Done);
    QCOMPARE(format->Fields().targetId, window->m_id);
    QCOMPARE(format->TargetKind(), kTargetValueWindow);

    // The Sound dialog: a path typed or browsed for, and "Test Sound".
    auto* sound = static_cast<CModelSimAction*>(w.Add(51));
    CPropertySheet soundSheet = ReadComponentProperties(*sound);
    CdlgComponentProperties s(soundSheet);
    QCOMPARE(s.findChild<QPushButton*>("soundPath.browse")->text(), QString("Browse..."));
    QCOMPARE(s.findChild<QPushButton*>("testSound")->text(), QString("Test Sound"));
    TypeInto(s.findChild<QLineEdit*>("soundPath.text"), "/nowhere/ping.wav");
    s.findChild<QPushButton*>("testSound")->click();  // no such file: nothing plays
    PressOk(s);
    QCOMPARE(ApplyComponentProperties(w.doc, *sound, soundSheet), ECmd::Done);
    QCOMPARE(sound->Fields().soundFile, std::string("ping.wav"));
}

void PropertyDialogsTest::MfccFilterListFollowsTheBank() {
    CDocWithModule w;
    CNetworkModel* mfcc = w.Add(33);
    CPropertySheet sheet = ReadComponentProperties(*mfcc);
    CdlgComponentProperties d(sheet);
    auto* list = d.findChild<QListWidget*>("selected");
    QVERIFY(list);
    QCOMPARE(list->count(), 22);
    list->item(0)->setCheckState(Qt::Checked);
    d.findChild<QSpinBox*>("filters")->setValue(6);
    QCOMPARE(list->count(), 4);
    QVERIFY(list->item(0)->text().startsWith("2: f: "));
    QCOMPARE(list->item(0)->checkState(), Qt::Checked);
    PressOk(d);
    QCOMPARE(ApplyComponentProperties(w.doc, *mfcc, sheet), ECmd::Done);
    QCOMPARE(static_cast<int>(mfcc->m_outputs.Size()), 1);
}

QTEST_MAIN(PropertyDialogsTest)
#include "property_dialogs_test.moc"
