// The designer's dialogs offscreen: "New Input Connection" and the connection
// it makes, "Edit Category", the value window settings and the graphic text
// editor, each filled and confirmed the way a user does.
#include "designer/gui/dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "designer/commands_component.h"
#include "designer/commands_graphics.h"
#include "designer/commands_module.h"
#include "designer/commands_system.h"
#include "designer/document.h"
#include "engine/editor_data.h"

using namespace zor2;
using namespace zor2::gui;

namespace {

/// Runs `fill` on the next modal dialog once it is open.
void WhenModal(std::function<void(QWidget*)> fill) {
    QTimer::singleShot(0, [fill] {
        QWidget* d = QApplication::activeModalWidget();
        QVERIFY(d);
        fill(d);
    });
}

void PressOk(QWidget* d) {
    auto* buttons = d->findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    buttons->button(QDialogButtonBox::Ok)->click();
}

void Retype(QLineEdit* edit, const QString& text) {
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

/// Two modules ("Network 1" designed, with a free input, and "Network 2" with
/// one output) and one system input.
struct CTwoModules {
    CTwoModules() {
        AddModule(doc);
        source = doc.Editor().CurrentModule(doc.System());
        AddModuleOutput(doc, "out1");
        AddModule(doc);
        target = doc.Editor().CurrentModule(doc.System());
        AddModuleInput(doc, "in1");
        CSystemInputData data;
        data.name = "speed";
        AddSystemInput(doc, data);
        speed = doc.System().m_inputs.Head();
        doc.Editor().ClearSelection();
        doc.Editor().SelectModules({target->m_id});
    }
    Czor2Doc doc;
    CNetwork* source = nullptr;
    CNetwork* target = nullptr;
    CExternalInput* speed = nullptr;
};

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void NewInputConnectionBuildsTheRequest();
    void NewInputConnectionRefusesWhatCannotConnect();
    void NewInputConnectionThroughItsFunction();
    void EditCategoryRenames();
    void ValueWindowSettingsAreOneUndoLevel();
    void GraphicTextIsEditedAndApplied();
};

void DialogsTest::NewInputConnectionBuildsTheRequest() {
    struct Case {
        const char* name;
        std::function<void(CdlgNewInputConnection&)> fill;
        bool existingInput;
        const char* newInput;
        bool fromSystemInput;
        bool existingOutput;
        const char* newOutput;
    } cases[] = {
        {"defaults: free input from the system input", [](CdlgNewInputConnection&) {}, true, "", true, false,
         ""},
        {"new input from an existing module output",
         [](CdlgNewInputConnection& d) {
             d.findChild<QRadioButton*>("newInput")->click();
             Retype(d.findChild<QLineEdit*>("inputName"), "fresh");
             d.findChild<QRadioButton*>("fromModule")->click();
         },
         false, "fresh", false, true, ""},
        {"free input from a new module output",
         [](CdlgNewInputConnection& d) {
             d.findChild<QRadioButton*>("fromModule")->click();
             d.findChild<QRadioButton*>("newOutput")->click();
             Retype(d.findChild<QLineEdit*>("outputName"), "made");
         },
         true, "", false, false, "made"},
    };
    for (const Case& c : cases) {
        CTwoModules w;
        CdlgNewInputConnection d(w.doc.System(), *w.target);
        QCOMPARE(d.windowTitle(), QString("New Input Connection"));
        c.fill(d);
        PressOk(&d);
        QVERIFY2(d.result() == QDialog::Accepted, c.name);
        const CDataConnectionRequest r = d.Request();
        QCOMPARE(r.inputId, c.existingInput ? w.target->m_inputs.Head()->m_id : 0);
        QCOMPARE(r.newInputName, std::string(c.newInput));
        QCOMPARE(r.systemInputId, c.fromSystemInput ? w.speed->m_id : 0);
        QCOMPARE(r.sourceModuleId, c.fromSystemInput ? 0 : w.source->m_id);
        QCOMPARE(r.sourceOutputId, c.existingOutput ? w.source->m_outputs.Head()->m_id : 0);
        QCOMPARE(r.newOutputName, std::string(c.newOutput));

        // The request connects through the command, as one undo level.
        const size_t levels = w.doc.UndoListSize();
        QCOMPARE(AddDataConnection(w.doc, r), ECmd::Done);
        QCOMPARE(w.doc.UndoListSize(), levels + 1);
        const CNetworkInput* in = c.existingInput ? w.target->m_inputs.Head() : w.target->m_inputs.Tail();
        QCOMPARE(in->m_name, std::string(c.existingInput ? "in1" : c.newInput));
        QVERIFY2(in->m_sourceKind != kSourceNone, c.name);
        if (*c.newOutput) QCOMPARE(w.source->m_outputs.Tail()->m_name, std::string(c.newOutput));
    }
}

void DialogsTest::NewInputConnectionRefusesWhatCannotConnect() {
    struct Case {
        const char* name;
        std::function<void(CdlgNewInputConnection&)> fill;
        const char* error;
    } cases[] = {
        {"new input without a name",
         [](CdlgNewInputConnection& d) {
             d.findChild<QRadioButton*>("newInput")->click();
             d.findChild<QLineEdit*>("inputName")->clear();
         },
         "module input"},
        {"new output without a name",
         [](CdlgNewInputConnection& d) {
             d.findChild<QRadioButton*>("fromModule")->click();
             d.findChild<QRadioButton*>("newOutput")->click();
             d.findChild<QLineEdit*>("outputName")->setText("   ");
         },
         "module output"},
    };
    for (const Case& c : cases) {
        CTwoModules w;
        CdlgNewInputConnection d(w.doc.System(), *w.target);
        d.show();
        c.fill(d);
        PressOk(&d);
        QVERIFY2(d.isVisible(), c.name);
        QVERIFY2(d.LastError().contains(c.error), c.name);
        QVERIFY(d.findChild<QLabel*>("error")->isVisible());
    }

    // A lone module in a system without inputs has nothing to connect from.
    Czor2Doc doc;
    AddModule(doc);
    CNetwork* lone = doc.Editor().CurrentModule(doc.System());
    CdlgNewInputConnection d(doc.System(), *lone);
    d.show();
    QVERIFY(!d.findChild<QRadioButton*>("fromSystemInput")->isEnabled());
    QVERIFY(!d.findChild<QRadioButton*>("fromModule")->isEnabled());
    QVERIFY(!d.findChild<QRadioButton*>("existingInput")->isEnabled());
    PressOk(&d);
    QVERIFY(d.isVisible());
    QVERIFY(d.LastError().contains("no data source"));
}

void DialogsTest::NewInputConnectionThroughItsFunction() {
    CTwoModules w;
    // The input that already has a source is no longer offered.
    CDataConnectionRequest first;
    first.inputId = w.target->m_inputs.Head()->m_id;
    first.systemInputId = w.speed->m_id;
    QCOMPARE(AddDataConnection(w.doc, first), ECmd::Done);
    WhenModal([](QWidget* d) {
        QVERIFY(!d->findChild<QRadioButton*>("existingInput")->isEnabled());
        QVERIFY(d->findChild<QRadioButton*>("newInput")->isChecked());
        PressOk(d);
    });
    CDataConnectionRequest r;
    QVERIFY(NewInputConnectionDialog(nullptr, w.doc.System(), *w.target, r));
    QCOMPARE(r.inputId, 0);
    QCOMPARE(r.newInputName, std::string("input2"));
    WhenModal(
        [](QWidget* d) { d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click(); });
    QVERIFY(!NewInputConnectionDialog(nullptr, w.doc.System(), *w.target, r));
}

void DialogsTest::EditCategoryRenames() {
    Czor2Doc doc;
    AddInputCategory(doc, "first");
    CExternalInputCategory* category = doc.System().m_inputCategories.Tail();
    doc.Editor().SelectInputCategory(category->m_id);
    std::string name = category->m_name;
    WhenModal([](QWidget* d) {
        QCOMPARE(d->windowTitle(), QString("Edit Category"));
        auto* edit = d->findChild<QLineEdit*>("name");
        QCOMPARE(edit->text(), QString("first"));
        edit->clear();
        PressOk(d);  // an empty name is refused
        QVERIFY(d->isVisible());
        QVERIFY(d->findChild<QLabel*>("error")->isVisible());
        Retype(edit, " Sensors ");
        PressOk(d);
    });
    QVERIFY(EditCategoryDialog(nullptr, name));
    QCOMPARE(name, std::string("Sensors"));
    const size_t levels = doc.UndoListSize();
    QCOMPARE(EditInputCategory(doc, name), ECmd::Done);
    QCOMPARE(category->m_name, std::string("Sensors"));
    QCOMPARE(doc.System().Feedback().build.Top(), std::string("Modified inputs category: Sensors"));
    QCOMPARE(doc.UndoListSize(), levels + 1);
}

void DialogsTest::ValueWindowSettingsAreOneUndoLevel() {
    Czor2Doc doc;
    AddModule(doc);
    doc.Editor().DesignModule(doc.Editor().CurrentModule(doc.System())->m_id);
    AddComponent(doc, 41, 100, 100);
    CNetworkModel* k = doc.Editor().SelectedComponent(doc.System());
    doc.Editor().SelectComponentOutput(k->m_id, k->FirstOutput()->m_id);
    QCOMPARE(ShowValueWindow(doc), ECmd::Done);
    CValueWindow* window = doc.System().m_valueWindows.m_windows.Tail();
    doc.Editor().m_valueWindows = {window->m_id};

    using F = EValueWindowField;
    using T = EValueWindowText;
    const CValueWindowSettings before = ValueWindowSettings(*window);
    CValueWindowSettings settings = before;
    QCOMPARE(settings.Text(T::Title), k->FirstOutput()->m_name);
    WhenModal([](QWidget* d) {
        d->findChild<QSpinBox*>("precision")->setValue(3);
        d->findChild<QSpinBox*>("fontSize")->setValue(20);
        Retype(d->findChild<QLineEdit*>("suffix"), "Hz");
        Retype(d->findChild<QLineEdit*>("title"), "Level");
        d->findChild<QCheckBox*>("showComponentName")->setChecked(false);
        d->findChild<QCheckBox*>("transparent")->setChecked(true);
        WhenModal([](QWidget* colours) {
            auto* picker = qobject_cast<QColorDialog*>(colours);
            QVERIFY(picker);
            picker->setCurrentColor(QColor(0x10, 0x20, 0x30));
            picker->accept();
        });
        d->findChild<QPushButton*>("background")->click();
        PressOk(d);
    });
    QVERIFY(EditValueWindowSettings(nullptr, settings));
    struct Case {
        F field;
        int32_t value;
    } cases[] = {
        {F::Precision, 3},   {F::FontSize, 20},  {F::ShowComponentName, 0},
        {F::Transparent, 1}, {F::ShowSuffix, 1}, {F::Background, 0x302010},  // stored as 0x00BBGGRR
    };
    for (const Case& c : cases) QCOMPARE(settings.Field(c.field), c.value);
    QCOMPARE(settings.Text(T::Suffix), std::string("Hz"));
    QCOMPARE(settings.Text(T::Title), std::string("Level"));
    QCOMPARE(settings.Text(T::FontName), before.texts[static_cast<size_t>(T::FontName)]);

    // The dialog's settings go to the window as one undo level.
    const size_t levels = doc.UndoListSize();
    QCOMPARE(ApplyValueWindowSettings(doc, window->m_id, settings), ECmd::Done);
    QCOMPARE(doc.UndoListSize(), levels + 1);
    QCOMPARE(window->FormatValue(1.5), std::string("1.500 Hz"));
    QCOMPARE(window->m_title, std::string("Level"));

    // Cancel leaves the settings as they were.
    CValueWindowSettings unchanged = settings;
    WhenModal([](QWidget* d) {
        d->findChild<QSpinBox*>("precision")->setValue(9);
        d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    QVERIFY(!EditValueWindowSettings(nullptr, unchanged));
    QCOMPARE(unchanged.fields, settings.fields);
}

void DialogsTest::GraphicTextIsEditedAndApplied() {
    Czor2Doc doc;
    AddModule(doc);
    doc.Editor().DesignModule(doc.Editor().CurrentModule(doc.System())->m_id);
    QCOMPARE(AddGraphic(doc, 10, 10), ECmd::Done);
    CGraphic* g = doc.System().m_graphics.m_graphics.Tail();
    std::string text = g->m_text;
    WhenModal([](QWidget* d) {
        auto* edit = d->findChild<QPlainTextEdit*>("text");
        QVERIFY(edit);
        edit->setPlainText("Inputs\nand filters");
        PressOk(d);
    });
    QVERIFY(EditGraphicText(nullptr, text));
    QCOMPARE(text, std::string("Inputs\nand filters"));
    QCOMPARE(SetGraphicText(doc, g->m_id, text), ECmd::Done);
    QCOMPARE(g->m_text, text);
    WhenModal([](QWidget* d) {
        d->findChild<QPlainTextEdit*>("text")->setPlainText("discarded");
        d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    QVERIFY(!EditGraphicText(nullptr, text));
    QCOMPARE(text, std::string("Inputs\nand filters"));
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
