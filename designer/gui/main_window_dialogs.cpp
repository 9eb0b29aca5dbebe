// The window's answers to the commands' questions: the object and property
// dialogs, the colour chooser, the ribbon's text fields, printing, the
// welcome screen and the about box.
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "designer/commands_behaviors.h"
#include "designer/commands_system.h"
#include "designer/gui/decision_matrix_dialog.h"
#include "designer/gui/dialogs.h"
#include "designer/gui/main_window.h"
#include "designer/gui/printing.h"
#include "designer/gui/property_dialogs.h"
#include "designer/gui/wizard_dialog.h"

namespace zor2::gui {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

std::optional<int32_t> CMainWindow::ChooseColour(int32_t current) {
    if (m_colourHook) return m_colourHook(current);
    const QColor c = QColorDialog::getColor(
        QColor(current & 0xFF, (current >> 8) & 0xFF, (current >> 16) & 0xFF), this, tr("Colour"));
    if (!c.isValid()) return std::nullopt;
    return c.red() | (c.green() << 8) | (c.blue() << 16);  // stored 0xBBGGRR
}

std::string CMainWindow::FieldText(int id) const {
    for (QWidget* w : m_fields.values(id))
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
    return {};
}

bool CMainWindow::EditNameDescription(const std::string& title, std::string& name, std::string& description) {
    return gui::EditNameDescription(this, Q(title), name, description);
}

bool CMainWindow::EditSystemInput(const std::string& title, CSystemInputData& data, int32_t inputId) {
    const CSystem& s = m_doc.System();
    if (inputId == 0) return EditSystemInputDialog(this, Q(title), s, data, {}, {});
    // The dialog lists the input's behaviours; its "Add..." adds one, a change of its own.
    const CExternalInput* input = s.FindSystemInput(inputId);
    const QString inputName = input ? Q(input->m_name) : QString();
    auto addBehavior = [this, inputId, inputName]() {
        CBehaviorData b = NewBehaviorData(m_doc.System(), inputId);
        if (EditBehaviorDialog(this, inputName, b)) AddBehaviorTo(m_doc, inputId, b);
        return InputBehaviorLines(m_doc.System(), inputId);
    };
    return EditSystemInputDialog(this, Q(title), s, data, InputBehaviorLines(s, inputId), addBehavior);
}

bool CMainWindow::EditSystemOutput(const std::string& title, CSystemOutputData& data) {
    return EditSystemOutputDialog(this, Q(title), m_doc.System(), data);
}

bool CMainWindow::EditBehavior(const std::string& inputName, CBehaviorData& data) {
    return EditBehaviorDialog(this, Q(inputName), data);
}

bool CMainWindow::EditCategory(std::string& name) {
    return EditCategoryDialog(this, name);
}

bool CMainWindow::EditGraphicText(std::string& text) {
    if (!m_textHook) return gui::EditGraphicText(this, text);
    const auto answer = m_textHook(tr("Graphic Text"), Q(text));
    if (answer) text = answer->toStdString();
    return answer.has_value();
}

bool CMainWindow::EditValueWindow(CValueWindowSettings& settings) {
    return EditValueWindowSettings(this, settings);
}

bool CMainWindow::EditProperties(CPropertySheet& sheet) {
    return RunPropertiesDialog(this, sheet);
}

bool CMainWindow::EditDecisionMatrix(CDecisionMatrixEditor& editor, CPropertySheet& sheet) {
    CdlgModelDecisionMatrix dialog(editor, sheet, this);
    return dialog.exec() == QDialog::Accepted;
}

bool CMainWindow::AskDataConnection(const CNetwork& module, CDataConnectionRequest& request) {
    if (m_connectionHook) return m_connectionHook(request);
    return NewInputConnectionDialog(this, m_doc.System(), module, request);
}

bool CMainWindow::RunLoadDataWizard(CLoadDataWizard& wizard) {
    if (m_wizardHook) return m_wizardHook(wizard);
    CdlgLoadDataWizard dialog(wizard, this);
    return dialog.exec() == QDialog::Accepted && wizard.Finished() && wizard.Result().fileChosen;
}

bool CMainWindow::EditProjectInfo(std::string& description) {
    return ShowSystemProperties(this, m_doc.System(), description);
}

void CMainWindow::ShowBehaviors() {
    gui::ShowBehaviors(this, m_doc, [this](const std::string& input, CBehaviorData& data) {
        return EditBehaviorDialog(this, Q(input), data);
    });
    Refresh();
}

void CMainWindow::EditOptions() {
    EditFolders(this, m_settings);
}

void CMainWindow::ShowWelcome() {
    auto* box = new QMessageBox(
        QMessageBox::Information, tr("Welcome"),
        tr("Welcome to the ZOR2 designer.\n\nDouble click empty space of the system view to add a module, double click a module to design it, drag components from the palettes onto it and connect outputs to inputs by dragging with the right mouse button. Run the system from the Simulation tab."),
        QMessageBox::Ok, this);
    QCheckBox* again = new QCheckBox(tr("Show this screen at start"), box);
    again->setChecked(m_settings.ReadInt(kShowWelcome) != 0);
    box->setCheckBox(again);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this,
            [this, again] { m_settings.WriteInt(kShowWelcome, again->isChecked()); });
    box->open();
}

void CMainWindow::About() {
    QMessageBox::about(this, tr("About Mindlatch"),
                       tr("ZOR2 designer %1").arg(QApplication::applicationVersion()));
}

QPrinter& CMainWindow::Printer() {
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void CMainWindow::Print(EPrintJob job) {
    QPrinter& printer = Printer();
    switch (job) {
        case EPrintJob::Setup: {
            QPageSetupDialog dialog(&printer, this);
            dialog.exec();
            return;
        }
        case EPrintJob::Preview: {
            QPrintPreviewDialog preview(&printer, this);
            connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                    [this](QPrinter* p) { PrintView(*m_view, *p); });
            preview.exec();
            return;
        }
        case EPrintJob::Print: {
            QPrintDialog dialog(&printer, this);
            if (dialog.exec() != QDialog::Accepted) return;
            break;
        }
        case EPrintJob::QuickPrint:
            break;  // the current printer, no dialog
    }
    if (!PrintView(*m_view, printer)) m_prompter.Tell(tr("The view could not be printed.").toStdString());
}

}  // namespace zor2::gui
