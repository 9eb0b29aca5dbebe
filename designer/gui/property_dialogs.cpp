// The generic component property window: builds one control per sheet field,
// forwards every edit to the sheet and mirrors the sheet's rules back; its
// buttons ask through message boxes, file dialogs and the Load Data Wizard.
#include "designer/gui/property_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "designer/command_host.h"
#include "designer/commands_component.h"
#include "designer/commands_window.h"
#include "designer/document.h"
#include "designer/gui/prompter.h"
#include "designer/gui/view_paint.h"
#include "designer/gui/wizard_dialog.h"

namespace zor2::gui {
namespace {

QString Name(const std::string& key, const char* suffix = "") {
    return Q(key) + QLatin1String(suffix);
}

/// Buttons' questions as message boxes, their data files from a file dialog or the wizard.
class CWindowPropertyHost final : public IPropertyHost {
  public:
    explicit CWindowPropertyHost(QWidget* parent) : m_parent(parent), m_prompter(parent) {}
    IPrompter& Prompter() override { return m_prompter; }
    std::string ChooseDataFile(const std::string& title, bool wizard) override {
        if (wizard) return ChooseWithLoadDataWizard(m_parent);
        return QFileDialog::getOpenFileName(m_parent, Q(title), QString(), QStringLiteral("CSV Files(*.csv)"))
            .toStdString();
    }

  private:
    QWidget* m_parent;
    CMessageBoxPrompter m_prompter;
};

/// What a grid cell shows: on/off grids green or grey, code grids the LED colours.
QColor CellColour(const CPropField& field, double code) {
    if (field.maximum == 1) return code != 0.0 ? QColor(0x3C, 0xB4, 0x50) : QColor(0xE6, 0xE6, 0xE6);
    return LedCodeColour(code);
}

void ShowColour(QPushButton* button, int32_t colour) {
    const QColor c = ColourOf(colour);
    button->setText(c.name());
    button->setStyleSheet(
        QStringLiteral("background-color: %1; color: %2")
            .arg(c.name(), c.lightness() > 128 ? QStringLiteral("black") : QStringLiteral("white")));
}

}  // namespace

CdlgComponentProperties::~CdlgComponentProperties() = default;

CdlgComponentProperties::CdlgComponentProperties(CPropertySheet& sheet, QWidget* parent, IPropertyHost* host)
    : QDialog(parent), m_sheet(sheet), m_host(host) {
    if (!m_host) {
        m_ownHost = std::make_unique<CWindowPropertyHost>(this);
        m_host = m_ownHost.get();
    }
    setWindowTitle(Q(sheet.Caption()));
    auto* layout = new QVBoxLayout(this);
    QFormLayout* form = nullptr;
    std::string group = "\x01";  // no form yet
    for (const CPropField& field : sheet.Fields()) {
        if (!form || field.group != group) {
            group = field.group;
            form = new QFormLayout;
            if (group.empty()) {
                layout->addLayout(form);
            } else {
                auto* box = new QGroupBox(Q(group), this);
                box->setLayout(form);
                layout->addWidget(box);
            }
        }
        QWidget* control = Build(field);
        const bool labelled = !field.label.empty() && field.kind != EPropKind::Check &&
                              field.kind != EPropKind::Note && field.kind != EPropKind::Button;
        if (labelled) {
            auto* label = new QLabel(Q(field.label), this);
            label->setObjectName(Name(field.key, ".label"));
            label->setWordWrap(true);
            form->addRow(label, control);
        } else {
            form->addRow(control);
        }
    }
    m_errorLabel = new QLabel(this);
    m_errorLabel->setObjectName(QStringLiteral("error"));
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    m_errorLabel->hide();
    layout->addWidget(m_errorLabel);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CdlgComponentProperties::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    Sync();
}

QWidget* CdlgComponentProperties::Build(const CPropField& field) {
    const std::string key = field.key;
    QWidget* control = nullptr;
    switch (field.kind) {
        case EPropKind::Text:
        case EPropKind::Number: {
            auto* edit = new QLineEdit(Q(field.text), this);
            if (field.maxLength > 0) edit->setMaxLength(field.maxLength);
            connect(edit, &QLineEdit::textEdited, this, [this, key](const QString& text) {
                if (m_syncing) return;
                m_sheet.SetText(key, text.toStdString());
                Sync();
            });
            control = edit;
            break;
        }
        case EPropKind::LongText: {
            auto* edit = new QPlainTextEdit(Q(field.text), this);
            edit->setTabChangesFocus(true);
            connect(edit, &QPlainTextEdit::textChanged, this, [this, key, edit] {
                if (m_syncing) return;
                m_sheet.SetText(key, edit->toPlainText().toStdString());
            });
            control = edit;
            break;
        }
        case EPropKind::Check: {
            auto* box = new QCheckBox(Q(field.label), this);
            connect(box, &QCheckBox::toggled, this, [this, key](bool on) {
                if (m_syncing) return;
                m_sheet.SetChecked(key, on);
                Sync();
            });
            control = box;
            break;
        }
        case EPropKind::Radio: {
            auto* holder = new QWidget(this);
            auto* column = new QVBoxLayout(holder);
            column->setContentsMargins(0, 0, 0, 0);
            auto* buttons = new QButtonGroup(holder);
            for (size_t i = 0; i < field.options.size(); ++i) {
                auto* radio = new QRadioButton(Q(field.options[i]), holder);
                radio->setObjectName(Name(key, ".") + QString::number(i));
                buttons->addButton(radio, static_cast<int>(i));
                column->addWidget(radio);
            }
            connect(buttons, &QButtonGroup::idToggled, this, [this, key](int id, bool on) {
                if (m_syncing || !on) return;
                m_sheet.Choose(key, id);
                Sync();
            });
            control = holder;
            break;
        }
        case EPropKind::Spin: {
            auto* spin = new QSpinBox(this);
            spin->setRange(field.minimum, field.maximum);
            connect(spin, &QSpinBox::valueChanged, this, [this, key](int value) {
                if (m_syncing) return;
                m_sheet.SetSpin(key, value);
                Sync();
            });
            control = spin;
            break;
        }
        case EPropKind::Stepper: {
            auto* holder = new QWidget(this);
            auto* row = new QHBoxLayout(holder);
            row->setContentsMargins(0, 0, 0, 0);
            auto* edit = new QLineEdit(holder);
            edit->setReadOnly(true);
            edit->setObjectName(Name(key, ".text"));
            row->addWidget(edit);
            for (const bool up : {true, false}) {
                auto* button = new QToolButton(holder);
                button->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
                button->setObjectName(Name(key, up ? ".up" : ".down"));
                connect(button, &QToolButton::clicked, this, [this, key, up] {
                    m_sheet.Step(key, up);
                    Sync();
                });
                row->addWidget(button);
            }
            control = holder;
            break;
        }
        case EPropKind::Note: {
            auto* label = new QLabel(Q(field.label), this);
            label->setWordWrap(true);
            control = label;
            break;
        }
        case EPropKind::List: {
            auto* list = new QListWidget(this);
            for (const std::string& option : field.options) list->addItem(Q(option));
            list->setMinimumHeight(90);
            list->setMaximumHeight(160);
            connect(list, &QListWidget::currentRowChanged, this, [this, key](int row) {
                if (m_syncing) return;
                const CPropField* f = m_sheet.Find(key);
                if (f && !f->values.empty()) {
                    if (row >= 0) m_sheet.Choose(key, row);
                } else {
                    m_sheet.Select(key, row);
                }
                Sync();
            });
            control = list;
            break;
        }
        case EPropKind::Picks: {
            auto* list = new QListWidget(this);
            connect(list, &QListWidget::itemChanged, this, [this, key, list](QListWidgetItem* item) {
                if (m_syncing) return;
                m_sheet.SetPicked(key, list->row(item), item->checkState() == Qt::Checked);
                Sync();
            });
            control = list;
            break;
        }
        case EPropKind::Button: {
            auto* button = new QPushButton(Q(field.label), this);
            connect(button, &QPushButton::clicked, this, [this, key] {
                m_sheet.Press(key, *m_host);
                Sync();
            });
            control = button;
            break;
        }
        case EPropKind::Grid: {
            auto* holder = new QWidget(this);
            auto* column = new QVBoxLayout(holder);
            column->setContentsMargins(0, 0, 0, 0);
            auto* grid = new QTableWidget(holder);
            grid->setObjectName(Name(key, ".cells"));
            grid->horizontalHeader()->hide();
            grid->verticalHeader()->hide();
            grid->horizontalHeader()->setDefaultSectionSize(22);
            grid->verticalHeader()->setDefaultSectionSize(22);
            grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
            grid->setSelectionMode(QAbstractItemView::NoSelection);
            connect(grid, &QTableWidget::cellClicked, this,
                    [this, key, grid](int row, int col) { PaintCell(key, row * grid->columnCount() + col); });
            column->addWidget(grid);
            if (!field.options.empty()) {
                // The codes a click paints with.
                auto* palette = new QHBoxLayout;
                auto* codes = new QButtonGroup(holder);
                for (size_t i = 0; i < field.options.size(); ++i) {
                    auto* radio = new QRadioButton(Q(field.options[i]), holder);
                    radio->setObjectName(Name(key, ".paint") +
                                         QString::number(field.minimum + static_cast<int>(i)));
                    codes->addButton(radio, field.minimum + static_cast<int>(i));
                    palette->addWidget(radio);
                }
                m_paint[key] = std::min(field.maximum, field.minimum + 1);
                if (auto* b = codes->button(m_paint[key])) b->setChecked(true);
                connect(codes, &QButtonGroup::idClicked, this,
                        [this, key](int code) { m_paint[key] = code; });
                column->addLayout(palette);
            }
            control = holder;
            break;
        }
        case EPropKind::Colour: {
            auto* button = new QPushButton(this);
            button->setFixedWidth(64);
            connect(button, &QPushButton::clicked, this, [this, key] {
                const CPropField* f = m_sheet.Find(key);
                const QColor chosen = QColorDialog::getColor(ColourOf(f ? f->number : 0), this);
                if (!chosen.isValid()) return;
                m_sheet.SetColour(key, chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16));
                Sync();
            });
            control = button;
            break;
        }
        case EPropKind::Path: {
            auto* holder = new QWidget(this);
            auto* row = new QHBoxLayout(holder);
            row->setContentsMargins(0, 0, 0, 0);
            auto* edit = new QLineEdit(Q(field.text), holder);
            edit->setObjectName(Name(key, ".text"));
            edit->setMinimumWidth(320);
            connect(edit, &QLineEdit::textEdited, this, [this, key](const QString& text) {
                if (m_syncing) return;
                m_sheet.SetText(key, text.toStdString());
                Sync();
            });
            row->addWidget(edit, 1);
            auto* browse = new QPushButton(tr("Browse..."), holder);
            browse->setObjectName(Name(key, ".browse"));
            connect(browse, &QPushButton::clicked, this, [this, key] {
                const CPropField* f = m_sheet.Find(key);
                if (!f) return;
                const auto option = [f](size_t i) { return i < f->options.size() ? f->options[i] : std::string(); };
                std::string path;
                if (f->checked) {
                    const std::string filter = option(1).empty() ? "CSV Files(*.csv)" : option(1);
                    path = QFileDialog::getSaveFileName(this, Q(option(0)), Q(f->text), Q(filter)).toStdString();
                } else if (!option(1).empty()) {
                    QFileDialog dialog(this, Q(option(0)), QString(), Q(option(1)));
                    dialog.setDefaultSuffix(Q(option(2)));
                    dialog.setFileMode(QFileDialog::ExistingFile);
                    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
                        path = dialog.selectedFiles().front().toStdString();
                } else {
                    path = m_host->ChooseDataFile(option(0), false);
                }
                if (path.empty()) return;
                m_sheet.SetText(key, path);
                Sync();
            });
            row->addWidget(browse);
            control = holder;
            break;
        }
    }
    control->setObjectName(Q(key));
    m_controls[key] = control;
    return control;
}

void CdlgComponentProperties::Sync() {
    m_syncing = true;
    for (const CPropField& field : m_sheet.Fields()) {
        QWidget* control = m_controls[field.key];
        if (!control) continue;
        control->setEnabled(field.enabled);
        control->setVisible(field.visible);
        if (auto* label = findChild<QLabel*>(Name(field.key, ".label"))) label->setVisible(field.visible);
        switch (field.kind) {
            case EPropKind::Text:
            case EPropKind::Number:
                if (auto* edit = qobject_cast<QLineEdit*>(control); edit && edit->text() != Q(field.text))
                    edit->setText(Q(field.text));
                break;
            case EPropKind::LongText:
                if (auto* edit = qobject_cast<QPlainTextEdit*>(control);
                    edit && edit->toPlainText() != Q(field.text))
                    edit->setPlainText(Q(field.text));
                break;
            case EPropKind::Check:
                if (auto* box = qobject_cast<QCheckBox*>(control)) box->setChecked(field.checked);
                break;
            case EPropKind::Radio:
                for (size_t i = 0; i < field.options.size() && i < 32; ++i)
                    if (auto* radio =
                            control->findChild<QRadioButton*>(Name(field.key, ".") + QString::number(i)))
                        radio->setEnabled(!((field.disabledOptions >> i) & 1u));
                if (auto* radio = control->findChild<QRadioButton*>(Name(field.key, ".") +
                                                                    QString::number(field.choice)))
                    radio->setChecked(true);
                break;
            case EPropKind::Spin:
                if (auto* spin = qobject_cast<QSpinBox*>(control)) spin->setValue(field.number);
                break;
            case EPropKind::Stepper:
                if (auto* edit = control->findChild<QLineEdit*>(Name(field.key, ".text")))
                    edit->setText(Q(field.text));
                break;
            case EPropKind::Note:
                if (auto* label = qobject_cast<QLabel*>(control); label && label->text() != Q(field.label))
                    label->setText(Q(field.label));
                break;
            case EPropKind::List:
                if (auto* list = qobject_cast<QListWidget*>(control)) {
                    QStringList lines;
                    for (const std::string& line : field.options) lines << Q(line);
                    bool same = list->count() == lines.size();
                    for (int i = 0; same && i < lines.size(); ++i) same = list->item(i)->text() == lines[i];
                    if (!same) {
                        list->clear();
                        list->addItems(lines);
                    }
                    list->setCurrentRow(field.choice);
                }
                break;
            case EPropKind::Button:
                break;
            case EPropKind::Grid:
                if (auto* grid = control->findChild<QTableWidget*>(Name(field.key, ".cells"))) {
                    const int columns = std::max(1, static_cast<int>(field.columns));
                    const int cells = static_cast<int>(field.cells.size());
                    grid->setColumnCount(columns);
                    grid->setRowCount((cells + columns - 1) / columns);
                    for (int i = 0; i < grid->rowCount() * columns; ++i) {
                        auto* item = grid->item(i / columns, i % columns);
                        if (!item) {
                            item = new QTableWidgetItem;
                            grid->setItem(i / columns, i % columns, item);
                        }
                        const bool used = i < cells;
                        item->setBackground(used ? CellColour(field, field.cells[static_cast<size_t>(i)])
                                                 : palette().color(QPalette::Window));
                        item->setToolTip(used && static_cast<size_t>(i) < field.cellLabels.size()
                                             ? Q(field.cellLabels[static_cast<size_t>(i)])
                                             : QString());
                    }
                    grid->setFixedSize(columns * 22 + 4, std::max(1, grid->rowCount()) * 22 + 4);
                }
                break;
            case EPropKind::Colour:
                if (auto* button = qobject_cast<QPushButton*>(control)) ShowColour(button, field.number);
                break;
            case EPropKind::Path:
                if (auto* edit = control->findChild<QLineEdit*>(Name(field.key, ".text"));
                    edit && edit->text() != Q(field.text))
                    edit->setText(Q(field.text));
                break;
            case EPropKind::Picks:
                if (auto* list = qobject_cast<QListWidget*>(control)) SyncPicks(*list, field);
                break;
        }
    }
    m_syncing = false;
}

void CdlgComponentProperties::SyncPicks(QListWidget& list, const CPropField& field) {
    // The rules may replace the options (the Voice MFCC relists its filters).
    bool same = list.count() == static_cast<int>(field.options.size());
    for (int i = 0; same && i < list.count(); ++i) same = list.item(i)->text() == Q(field.options[i]);
    if (!same) {
        list.clear();
        for (const std::string& option : field.options) list.addItem(Q(option));
    }
    for (int i = 0; i < list.count(); ++i) {
        QListWidgetItem* item = list.item(i);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(field.picks[static_cast<size_t>(i)] ? Qt::Checked : Qt::Unchecked);
    }
}

void CdlgComponentProperties::PaintCell(const std::string& key, int index) {
    const CPropField* f = m_sheet.Find(key);
    if (!f || index < 0 || static_cast<size_t>(index) >= f->cells.size()) return;
    const double now = f->cells[static_cast<size_t>(index)];
    const double code = f->maximum == 1 ? (now != 0.0 ? 0.0 : 1.0) : m_paint[key];
    m_sheet.SetCell(key, static_cast<size_t>(index), code);
    Sync();
}

void CdlgComponentProperties::accept() {
    m_error = Q(m_sheet.Validate());
    m_errorLabel->setText(m_error);
    m_errorLabel->setVisible(!m_error.isEmpty());
    if (!m_error.isEmpty()) return;
    QDialog::accept();
}

bool RunPropertiesDialog(QWidget* parent, CPropertySheet& sheet) {
    CdlgComponentProperties dialog(sheet, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool EditComponentProperties(QWidget* parent, Czor2Doc& doc, CNetworkModel& component) {
    // The document's command with a host that answers nothing but the property window.
    struct CDialogHost final : ICommandHost {
        QWidget* parent;
        explicit CDialogHost(QWidget* p) : parent(p) {}
        bool EditProperties(CPropertySheet& sheet) override { return RunPropertiesDialog(parent, sheet); }
    } host(parent);
    CCommandContext ctx{doc, host};
    return zor2::EditComponentProperties(ctx, component) == ECmd::Done;
}

}  // namespace zor2::gui
