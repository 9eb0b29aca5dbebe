// Dialog implementations: properties, options, behaviours, system ports, the
// new input connection, categories, value window settings and graphic text.
#include "designer/gui/dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdlib>

#include "designer/commands_behaviors.h"
#include "designer/commands_charts.h"
#include "designer/commands_system.h"
#include "designer/document.h"

namespace zor2::gui {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QDialogButtonBox* OkCancel(QDialog* d) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
    QObject::connect(buttons, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return buttons;
}

}  // namespace

bool EditNameDescription(QWidget* parent, const QString& title, std::string& name, std::string& description) {
    QDialog d(parent);
    d.setWindowTitle(title);
    auto* form = new QFormLayout(&d);
    auto* nameEdit = new QLineEdit(Q(name), &d);
    nameEdit->setMaxLength(99);
    auto* descEdit = new QPlainTextEdit(Q(description), &d);
    form->addRow(QObject::tr("Name:"), nameEdit);
    form->addRow(QObject::tr("Description:"), descEdit);
    form->addRow(OkCancel(&d));
    if (d.exec() != QDialog::Accepted) return false;
    name = nameEdit->text().toStdString();
    description = descEdit->toPlainText().toStdString();
    return true;
}

QString SystemPropertiesText(const CSystem& s) {
    QString t;
    t += QStringLiteral("System ID: %1\n").arg(s.m_systemId);
    t += QStringLiteral("Modules: %1\n").arg(s.m_modules.Size());
    int n = 1;
    for (CNetwork* m : s.m_modules) t += QString::asprintf("[ %d ] %s\n", n++, m->m_name.c_str());
    t += QStringLiteral("System Inputs: %1\n").arg(s.m_inputs.Size());
    t += QStringLiteral("System Outputs: %1\n").arg(s.m_outputs.Size());
    for (CNetwork* m : s.m_modules) {
        for (CNetworkModel* c : m->m_components) {
            t += QString::asprintf("(Type: %d) ID: %d, Module: %s, Name: %s", c->m_typeId, c->m_id,
                                   m->m_name.c_str(), c->m_name.c_str());
            if (!c->HasConnectionsOut()) t += QStringLiteral(" (No output connect)");
            if (c->m_graphicId != 0) t += QStringLiteral(" (hidden)");
            t += '\n';
        }
    }
    return t;
}

bool ShowSystemProperties(QWidget* parent, const CSystem& s, std::string& description) {
    QDialog d(parent);
    d.setWindowTitle(QObject::tr("System Properties"));
    d.resize(560, 480);
    auto* layout = new QVBoxLayout(&d);
    auto* info = new QPlainTextEdit(SystemPropertiesText(s), &d);
    info->setReadOnly(true);
    layout->addWidget(info, 3);
    layout->addWidget(new QLabel(QObject::tr("Project Description:"), &d));
    auto* desc = new QPlainTextEdit(Q(description), &d);
    layout->addWidget(desc, 1);
    layout->addWidget(OkCancel(&d));
    if (d.exec() != QDialog::Accepted) return false;
    description = desc->toPlainText().toStdString();
    return true;
}

CdlgExportSuccess::CdlgExportSuccess(QWidget* parent, const QString& runtimePath, const QString& manifestPath,
                                     const QString& project, const QString& report)
    : QDialog(parent), m_manifest(manifestPath) {
    setWindowTitle(tr("Successful Runtime Export"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(tr("Successful Runtime File Export: Information Below"), this);
    QFont f = heading->font();
    f.setBold(true);
    heading->setFont(f);
    layout->addWidget(heading);
    for (
        const char* text :
        {"You have successfully exported your runtime AI system. Mindlatch has automatically created a manifest file and stored it in the same directory as the target export file. ",
         "The manifest file provides a listing of all system inputs and outputs with ids, names and descriptions to be used as convenient reference when integrating into a host application."}) {
        auto* l = new QLabel(tr(text), this);
        l->setWordWrap(true);
        layout->addWidget(l);
    }
    auto* form = new QFormLayout;
    const QFileInfo rt(runtimePath);
    form->addRow(tr("Runtime AI File:"),
                 new QLabel(QStringLiteral("%1.%2").arg(rt.completeBaseName(), rt.suffix())));
    form->addRow(tr("Manifest File:"), new QLabel(QFileInfo(manifestPath).fileName()));
    form->addRow(tr("Current Project:"), new QLabel(project));
    layout->addLayout(form);
    if (!report.isEmpty()) {
        auto* text = new QPlainTextEdit(report, this);
        text->setObjectName(QStringLiteral("exportReport"));
        text->setReadOnly(true);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        layout->addWidget(text);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* view = buttons->addButton(tr("View Manifest..."), QDialogButtonBox::ActionRole);
    connect(view, &QPushButton::clicked, this, [this] { ViewManifest(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QDialog* CdlgExportSuccess::ViewManifest() {
    const QUrl url = QUrl::fromLocalFile(m_manifest);
    if (m_openUrl ? m_openUrl(url) : QDesktopServices::openUrl(url)) return nullptr;
    // No program to show it: the manifest in a window of our own, so the button never does nothing.
    auto* window = new QDialog(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QFileInfo(m_manifest).fileName());
    window->resize(640, 480);
    auto* column = new QVBoxLayout(window);
    auto* text = new QPlainTextEdit(window);
    text->setObjectName("manifest");
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFile file(m_manifest);
    if (file.open(QIODevice::ReadOnly))
        text->setPlainText(QString::fromUtf8(file.readAll()));
    else
        text->setPlainText(tr("The manifest %1 cannot be read: %2").arg(m_manifest, file.errorString()));
    column->addWidget(text);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, window);
    connect(close, &QDialogButtonBox::rejected, window, &QDialog::close);
    column->addWidget(close);
    window->show();
    return window;
}

bool EditFolders(QWidget* parent, CDesignerSettings& settings) {
    QDialog d(parent);
    d.setWindowTitle(QObject::tr("Application Options"));
    d.resize(620, 180);
    auto* form = new QFormLayout(&d);
    struct CRow {
        EFolder folder;
        const char* label;
        const char* prompt;
        QLineEdit* edit;
    } rows[] = {
        {EFolder::Projects,
         "Projects:", "Please select a folder for storing your Corvel ZOR2 project files:", nullptr},
        {EFolder::Modules, "Custom Modules:",
         "Please select a folder for storing your custom Corvel ZOR2 system modules:", nullptr},
        {EFolder::Runtime,
         "Runtime Files:", "Please select a folder for storing your Corvel ZOR2 runtime files:", nullptr},
    };
    for (CRow& row : rows) {
        auto* line = new QHBoxLayout;
        row.edit = new QLineEdit(settings.Folder(row.folder), &d);
        auto* browse = new QPushButton(QObject::tr("Browse..."), &d);
        QLineEdit* edit = row.edit;
        const char* prompt = row.prompt;
        QObject::connect(browse, &QPushButton::clicked, &d, [&d, edit, prompt] {
            const QString dir = QFileDialog::getExistingDirectory(&d, QObject::tr(prompt), edit->text());
            if (!dir.isEmpty()) edit->setText(dir);
        });
        line->addWidget(row.edit);
        line->addWidget(browse);
        form->addRow(QObject::tr(row.label), line);
    }
    form->addRow(OkCancel(&d));
    if (d.exec() != QDialog::Accepted) return false;
    for (const CRow& row : rows) settings.SetFolder(row.folder, row.edit->text());
    return true;
}

namespace {

/// Text to double by the C library's rules: the longest leading number, 0 when there is none.
double ToDouble(const QString& text) {
    return std::strtod(text.toStdString().c_str(), nullptr);
}

}  // namespace

bool EditBehaviorDialog(QWidget* parent, const QString& targetInput, CBehaviorData& data) {
    QDialog d(parent);
    d.setWindowTitle(QObject::tr("Sim Behavior Properties"));
    auto* layout = new QVBoxLayout(&d);
    auto* note = new QLabel(
        QObject::tr(
            "Select the type of simulation behavior below. The change will be implemented once per second, independent of the simulation speed."),
        &d);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* form = new QFormLayout;
    auto* name = new QLineEdit(Q(data.name), &d);
    form->addRow(QObject::tr("Behavior Name:"), name);
    form->addRow(QObject::tr("Target System Input:"), new QLabel(targetInput, &d));
    auto* enabled = new QCheckBox(QObject::tr("Enable Behavior"), &d);
    enabled->setChecked(data.enabled);
    form->addRow(QString(), enabled);
    layout->addLayout(form);
    auto* types = new QGroupBox(QObject::tr("Behavior Types:"), &d);
    auto* typeLayout = new QVBoxLayout(types);
    auto* group = new QButtonGroup(&d);
    const struct {
        int type;
        const char* label;
    } kinds[] = {{1, "Ascending Infinite"},
                 {2, "Descending Infinite"},
                 {4, "Ascending to Max"},
                 {5, "Descending to Min"},
                 {6, "Random Range"}};
    for (const auto& k : kinds) {
        auto* b = new QRadioButton(QObject::tr(k.label), types);
        b->setChecked(data.type == k.type);
        group->addButton(b, k.type);
        typeLayout->addWidget(b);
    }
    layout->addWidget(types);
    auto* values = new QFormLayout;
    auto* rate = new QLineEdit(QString::asprintf("%0.2f", data.rate), &d);
    auto* floor = new QLineEdit(QString::asprintf("%0.2f", data.floor), &d);
    auto* ceiling = new QLineEdit(QString::asprintf("%0.2f", data.ceiling), &d);
    auto* low = new QLineEdit(QString::asprintf("%d", static_cast<int>(data.randomLow)), &d);
    auto* high = new QLineEdit(QString::asprintf("%d", static_cast<int>(data.randomHigh)), &d);
    auto* range = new QHBoxLayout;
    range->addWidget(low);
    range->addWidget(new QLabel(QObject::tr("to"), &d));
    range->addWidget(high);
    values->addRow(QObject::tr("Value:"), rate);
    values->addRow(QObject::tr("Floor:"), floor);
    values->addRow(QObject::tr("Ceiling:"), ceiling);
    values->addRow(QObject::tr("Rand Range:"), range);
    layout->addLayout(values);
    // The fields a type uses are enabled, the others not.
    auto apply = [=](int type) {
        rate->setEnabled(type != 6);
        ceiling->setEnabled(type == 4);
        floor->setEnabled(type == 5);
        low->setEnabled(type == 6);
        high->setEnabled(type == 6);
    };
    int type = data.type;
    if (group->button(type)) apply(type);
    QObject::connect(group, &QButtonGroup::idClicked, &d, [&type, apply](int id) {
        type = id;
        apply(id);
    });
    layout->addWidget(OkCancel(&d));
    if (d.exec() != QDialog::Accepted) return false;
    data.name = name->text().toStdString();
    data.type = type;
    data.enabled = enabled->isChecked();
    data.rate = ToDouble(rate->text());
    data.floor = ToDouble(floor->text());
    data.ceiling = ToDouble(ceiling->text());
    data.randomLow = ToDouble(low->text());
    data.randomHigh = ToDouble(high->text());
    return true;
}

void ShowBehaviors(QWidget* parent, Czor2Doc& doc,
                   const std::function<bool(const std::string& inputName, CBehaviorData&)>& edit) {
    QDialog d(parent);
    d.setObjectName("ManageBehaviors");
    d.setWindowTitle(QObject::tr("Manage Behavaiors"));
    d.resize(560, 420);
    auto* layout = new QVBoxLayout(&d);
    auto* note = new QLabel(
        QObject::tr(
            "Add modify and or delete selected behaviors. Use the list box below to navigate and select behaviors associated with current system inputs."),
        &d);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(new QLabel(QObject::tr("Behaviors:"), &d));
    auto* list = new QListWidget(&d);
    layout->addWidget(list);
    // "Selected Behavior": what the selected line is, and what can be done with it.
    auto* box = new QGroupBox(QObject::tr("Selected Behavior"), &d);
    auto* form = new QFormLayout(box);
    auto* name = new QLabel(box);
    auto* target = new QLabel(box);
    auto* type = new QLabel(box);
    auto* enable = new QCheckBox(QObject::tr("Enable"), box);
    enable->setEnabled(false);  // shows the flag; "Edit..." changes it
    name->setObjectName("name");
    target->setObjectName("target");
    type->setObjectName("type");
    enable->setObjectName("enable");
    form->addRow(QObject::tr("Name:"), name);
    form->addRow(QObject::tr("Target Input:"), target);
    form->addRow(QObject::tr("Type:"), type);
    form->addRow(enable);
    auto* actions = new QHBoxLayout;
    auto* editButton = new QPushButton(QObject::tr("Edit..."), box);
    auto* deleteButton = new QPushButton(QObject::tr("Delete"), box);
    editButton->setObjectName("edit");
    deleteButton->setObjectName("delete");
    actions->addWidget(editButton);
    actions->addWidget(deleteButton);
    actions->addStretch(1);
    form->addRow(actions);
    layout->addWidget(box);
    auto fill = [&](int keep) {
        list->clear();
        for (const std::string& line : ManageBehaviorLines(doc.System())) list->addItem(Q(line));
        list->setCurrentRow(std::min(keep, list->count() - 1));
    };
    auto show = [&] {
        const std::optional<CBehaviorSummary> b = BehaviorSummary(doc.System(), list->currentRow());
        name->setText(b ? Q(b->name) : QString());
        target->setText(b ? Q(b->targetInput) : QString());
        type->setText(b ? Q(b->type) : QString());
        enable->setChecked(b && b->enabled);
        editButton->setEnabled(b.has_value());
        deleteButton->setEnabled(b.has_value());
    };
    QObject::connect(list, &QListWidget::currentRowChanged, &d, show);
    QObject::connect(editButton, &QPushButton::clicked, &d, [&] {
        const int row = list->currentRow();
        const std::optional<CBehaviorSummary> b = BehaviorSummary(doc.System(), row);
        const CSimBehavior* behavior = b ? doc.System().m_behaviors.m_behaviors.Find(b->id) : nullptr;
        if (!behavior) return;
        CBehaviorData data = BehaviorData(*behavior);
        if (edit(b->targetInput, data)) EditBehavior(doc, b->id, data);
        fill(row);
    });
    QObject::connect(deleteButton, &QPushButton::clicked, &d, [&] {
        const int row = list->currentRow();
        if (const std::optional<CBehaviorSummary> b = BehaviorSummary(doc.System(), row))
            DeleteBehavior(doc, b->id);
        fill(row);
    });
    fill(-1);
    show();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &d);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    layout->addWidget(buttons);
    d.exec();
}

bool EditSystemInputDialog(QWidget* parent, const QString& title, const CSystem& system,
                           CSystemInputData& data, const std::vector<std::string>& behaviorLines,
                           std::function<std::vector<std::string>()> addBehavior) {
    QDialog d(parent);
    d.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* name = new QLineEdit(Q(data.name), &d);
    name->setMaxLength(99);
    auto* category = new QComboBox(&d);
    for (const CExternalInputCategory* c : system.m_inputCategories) {
        category->addItem(Q(c->m_name), c->m_id);
        if (c->m_id == data.categoryId) category->setCurrentIndex(category->count() - 1);
    }
    auto* value = new QDoubleSpinBox(&d);
    value->setRange(-1e12, 1e12);
    value->setDecimals(6);
    value->setValue(data.initialValue);
    auto* decimals = new QSpinBox(&d);
    decimals->setRange(0, 4);
    decimals->setValue(std::clamp(data.decimals, 0, 4));
    auto* fromFile = new QCheckBox(QObject::tr("Read the values from a data file column"), &d);
    fromFile->setChecked(data.fromDataFile);
    auto* file = new QLineEdit(Q(data.dataFilePath), &d);
    auto* browse = new QPushButton(QObject::tr("Browse..."), &d);
    auto* column = new QSpinBox(&d);
    column->setRange(1, 1000);
    column->setValue(std::max(1, data.dataColumn));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file);
    fileRow->addWidget(browse);
    QObject::connect(browse, &QPushButton::clicked, &d, [&d, file] {
        const QString path = QFileDialog::getOpenFileName(&d, QObject::tr("Open CSV file for Import (CSV)"),
                                                          file->text(), QObject::tr("CSV Files(*.csv)"));
        if (!path.isEmpty()) file->setText(path);
    });
    auto* description = new QPlainTextEdit(Q(data.description), &d);
    description->setMaximumHeight(70);
    form->addRow(QObject::tr("Name:"), name);
    form->addRow(QObject::tr("Category:"), category);
    form->addRow(QObject::tr("Initial Value:"), value);
    form->addRow(QObject::tr("Decimals:"), decimals);
    form->addRow(QString(), fromFile);
    form->addRow(QObject::tr("Data File:"), fileRow);
    form->addRow(QObject::tr("Column:"), column);
    form->addRow(QObject::tr("Description:"), description);
    layout->addLayout(form);
    auto sourceChanged = [=](bool fileSource) {
        value->setEnabled(!fileSource);
        file->setEnabled(fileSource);
        browse->setEnabled(fileSource);
        column->setEnabled(fileSource);
    };
    sourceChanged(data.fromDataFile);
    QObject::connect(fromFile, &QCheckBox::toggled, &d, sourceChanged);
    if (addBehavior || !behaviorLines.empty()) {
        auto* box = new QGroupBox(QObject::tr("Simulation Behaviors"), &d);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->addWidget(
            new QLabel(QObject::tr("Add edit or delete simulation behaviors for this System Input."), box));
        auto* list = new QListWidget(box);
        auto fill = [list](const std::vector<std::string>& lines) {
            list->clear();
            for (const std::string& line : lines) list->addItem(Q(line));
        };
        fill(behaviorLines);
        boxLayout->addWidget(list);
        if (addBehavior) {
            auto* add = new QPushButton(QObject::tr("Add..."), box);
            QObject::connect(add, &QPushButton::clicked, &d, [fill, addBehavior] { fill(addBehavior()); });
            boxLayout->addWidget(add);
        }
        layout->addWidget(box);
    }
    layout->addWidget(OkCancel(&d));
    if (d.exec() != QDialog::Accepted) return false;
    data.name = name->text().toStdString();
    data.categoryId = category->currentData().toInt();
    data.initialValue = value->value();
    data.decimals = decimals->value();
    data.fromDataFile = fromFile->isChecked();
    data.dataFilePath = file->text().toStdString();
    data.dataColumn = column->value();
    data.description = description->toPlainText().toStdString();
    return true;
}

bool EditSystemOutputDialog(QWidget* parent, const QString& title, const CSystem& system,
                            CSystemOutputData& data) {
    QDialog d(parent);
    d.setWindowTitle(title);
    auto* form = new QFormLayout(&d);
    auto* name = new QLineEdit(Q(data.name), &d);
    name->setMaxLength(99);
    auto* category = new QComboBox(&d);
    for (const CExternalOutputCategory* c : system.m_outputCategories) {
        category->addItem(Q(c->m_name), c->m_id);
        if (c->m_id == data.categoryId) category->setCurrentIndex(category->count() - 1);
    }
    auto* description = new QPlainTextEdit(Q(data.description), &d);
    form->addRow(QObject::tr("Name:"), name);
    form->addRow(QObject::tr("Category:"), category);
    form->addRow(QObject::tr("Description:"), description);
    form->addRow(OkCancel(&d));
    if (d.exec() != QDialog::Accepted) return false;
    data.name = name->text().toStdString();
    data.categoryId = category->currentData().toInt();
    data.description = description->toPlainText().toStdString();
    return true;
}

}  // namespace zor2::gui

namespace zor2::gui {

// --- New Input Connection -------------------------------------------------------

CdlgNewInputConnection::CdlgNewInputConnection(const CSystem& system, const CNetwork& module, QWidget* parent)
    : QDialog(parent), m_system(system) {
    setWindowTitle(tr("New Input Connection"));
    auto* layout = new QVBoxLayout(this);
    auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };

    auto* receiving = new QGroupBox(tr("Receiving Module Input (%1)").arg(Q(module.m_name)), this);
    auto* inForm = new QFormLayout(receiving);
    m_existingInput = named(new QRadioButton(tr("Existing input:"), receiving), "existingInput");
    m_inputs = named(new QComboBox(receiving), "inputCombo");
    for (const CNetworkInput* in : module.m_inputs)
        if (in->m_sourceKind == kSourceNone) m_inputs->addItem(Q(in->m_name), in->m_id);
    m_newInput = named(new QRadioButton(tr("New input named:"), receiving), "newInput");
    m_inputName = named(new QLineEdit(Q(DefaultModuleInputName(module)), receiving), "inputName");
    m_inputName->setMaxLength(99);
    inForm->addRow(m_existingInput, m_inputs);
    inForm->addRow(m_newInput, m_inputName);
    auto* inGroup = new QButtonGroup(receiving);
    inGroup->addButton(m_existingInput);
    inGroup->addButton(m_newInput);
    (m_inputs->count() > 0 ? m_existingInput : m_newInput)->setChecked(true);
    m_existingInput->setEnabled(m_inputs->count() > 0);
    layout->addWidget(receiving);

    auto* source = new QGroupBox(tr("Data Source"), this);
    auto* srcForm = new QFormLayout(source);
    m_fromSystemInput = named(new QRadioButton(tr("System input:"), source), "fromSystemInput");
    m_systemInputs = named(new QComboBox(source), "systemInputCombo");
    for (const CExternalInput* in : system.m_inputs) m_systemInputs->addItem(Q(in->m_name), in->m_id);
    m_fromModule = named(new QRadioButton(tr("Output of module:"), source), "fromModule");
    m_modules = named(new QComboBox(source), "moduleCombo");
    for (const CNetwork* other : system.m_modules)
        if (other != &module) m_modules->addItem(Q(other->m_name), other->m_id);
    m_existingOutput = named(new QRadioButton(tr("Existing output:"), source), "existingOutput");
    m_outputs = named(new QComboBox(source), "outputCombo");
    m_newOutput = named(new QRadioButton(tr("New output named:"), source), "newOutput");
    m_outputName = named(new QLineEdit(source), "outputName");
    m_outputName->setMaxLength(99);
    srcForm->addRow(m_fromSystemInput, m_systemInputs);
    srcForm->addRow(m_fromModule, m_modules);
    srcForm->addRow(m_existingOutput, m_outputs);
    srcForm->addRow(m_newOutput, m_outputName);
    auto* srcGroup = new QButtonGroup(source);
    srcGroup->addButton(m_fromSystemInput);
    srcGroup->addButton(m_fromModule);
    auto* outGroup = new QButtonGroup(source);
    outGroup->addButton(m_existingOutput);
    outGroup->addButton(m_newOutput);
    m_fromSystemInput->setEnabled(m_systemInputs->count() > 0);
    m_fromModule->setEnabled(m_modules->count() > 0);
    if (m_systemInputs->count() > 0)
        m_fromSystemInput->setChecked(true);
    else if (m_modules->count() > 0)
        m_fromModule->setChecked(true);
    layout->addWidget(source);

    m_errorLabel = named(new QLabel(this), "error");
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    m_errorLabel->hide();
    layout->addWidget(m_errorLabel);
    auto* buttons =
        named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this), "buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &CdlgNewInputConnection::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_modules, &QComboBox::currentIndexChanged, this, [this] { FillOutputs(); });
    for (QRadioButton* b :
         {m_existingInput, m_newInput, m_fromSystemInput, m_fromModule, m_existingOutput, m_newOutput})
        connect(b, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
    FillOutputs();
}

void CdlgNewInputConnection::FillOutputs() {
    m_outputs->clear();
    const CNetwork* source = m_system.FindModule(m_modules->currentData().toInt());
    if (source) {
        for (const CNetworkOutput* out : source->m_outputs) m_outputs->addItem(Q(out->m_name), out->m_id);
        m_outputName->setText(Q(DefaultModuleOutputName(*source)));
    }
    (m_outputs->count() > 0 ? m_existingOutput : m_newOutput)->setChecked(true);
    UpdateEnabled();
}

void CdlgNewInputConnection::UpdateEnabled() {
    m_inputs->setEnabled(m_existingInput->isChecked());
    m_inputName->setEnabled(m_newInput->isChecked());
    const bool fromModule = m_fromModule->isChecked();
    m_systemInputs->setEnabled(m_fromSystemInput->isChecked());
    m_modules->setEnabled(fromModule);
    m_existingOutput->setEnabled(fromModule && m_outputs->count() > 0);
    m_newOutput->setEnabled(fromModule);
    m_outputs->setEnabled(fromModule && m_existingOutput->isChecked());
    m_outputName->setEnabled(fromModule && m_newOutput->isChecked());
}

CDataConnectionRequest CdlgNewInputConnection::Request() const {
    CDataConnectionRequest r;
    if (m_existingInput->isChecked())
        r.inputId = m_inputs->currentData().toInt();
    else
        r.newInputName = m_inputName->text().trimmed().toStdString();
    if (m_fromSystemInput->isChecked()) {
        r.systemInputId = m_systemInputs->currentData().toInt();
    } else if (m_fromModule->isChecked()) {
        r.sourceModuleId = m_modules->currentData().toInt();
        if (m_existingOutput->isChecked())
            r.sourceOutputId = m_outputs->currentData().toInt();
        else
            r.newOutputName = m_outputName->text().trimmed().toStdString();
    }
    return r;
}

void CdlgNewInputConnection::accept() {
    const CDataConnectionRequest r = Request();
    m_error.clear();
    if (r.inputId == 0 && r.newInputName.empty())
        m_error = tr("Please enter a name for the new module input.");
    else if (r.systemInputId == 0 && r.sourceModuleId == 0)
        m_error = tr("There is no data source to connect: add a system input or another module first.");
    else if (r.sourceModuleId != 0 && r.sourceOutputId == 0 && r.newOutputName.empty())
        m_error = tr("Please enter a name for the new module output.");
    m_errorLabel->setText(m_error);
    m_errorLabel->setVisible(!m_error.isEmpty());
    if (m_error.isEmpty()) QDialog::accept();
}

bool NewInputConnectionDialog(QWidget* parent, const CSystem& system, const CNetwork& module,
                              CDataConnectionRequest& request) {
    CdlgNewInputConnection d(system, module, parent);
    if (d.exec() != QDialog::Accepted) return false;
    request = d.Request();
    return true;
}

// --- Edit Category --------------------------------------------------------------

bool EditCategoryDialog(QWidget* parent, std::string& name) {
    QDialog d(parent);
    d.setWindowTitle(QObject::tr("Edit Category"));
    auto* form = new QFormLayout(&d);
    auto* edit = new QLineEdit(Q(name), &d);
    edit->setObjectName(QStringLiteral("name"));
    edit->setMaxLength(99);
    auto* error = new QLabel(QObject::tr("Please enter a name for the category."), &d);
    error->setObjectName(QStringLiteral("error"));
    error->hide();
    form->addRow(QObject::tr("Category Name:"), edit);
    form->addRow(error);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    buttons->setObjectName(QStringLiteral("buttons"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &d, [&d, edit, error] {
        if (edit->text().trimmed().isEmpty()) {
            error->show();
            return;
        }
        d.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    form->addRow(buttons);
    if (d.exec() != QDialog::Accepted) return false;
    name = edit->text().trimmed().toStdString();
    return true;
}

// --- value window settings -------------------------------------------------------

namespace {

QColor FromColourRef(int32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int32_t ToColourRef(const QColor& c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

void ShowSwatch(QPushButton* button, int32_t colour) {
    button->setStyleSheet(QStringLiteral("background-color: %1").arg(FromColourRef(colour).name()));
}

}  // namespace

bool EditValueWindowSettings(QWidget* parent, CValueWindowSettings& settings) {
    using F = EValueWindowField;
    using T = EValueWindowText;
    QDialog d(parent);
    d.setWindowTitle(QObject::tr("Data Value Window"));
    auto* form = new QFormLayout(&d);
    auto* title = new QLineEdit(Q(settings.Text(T::Title)), &d);
    auto* font = new QFontComboBox(&d);
    font->setCurrentFont(QFont(Q(settings.Text(T::FontName))));
    font->setEditText(Q(settings.Text(T::FontName)));
    auto* fontSize = new QSpinBox(&d);
    fontSize->setRange(1, 200);
    fontSize->setValue(settings.Field(F::FontSize));
    auto* precision = new QSpinBox(&d);
    precision->setRange(0, 15);
    precision->setValue(settings.Field(F::Precision));
    auto* suffix = new QLineEdit(Q(settings.Text(T::Suffix)), &d);
    struct CFlag {
        const char* name;
        const char* label;
        F field;
        QCheckBox* box;
    } flags[] = {
        {"showSuffix", "Show Suffix", F::ShowSuffix, nullptr},
        {"showTitle", "Show Title", F::ShowTitle, nullptr},
        {"showOutline", "Show Outline", F::ShowOutline, nullptr},
        {"showComponentName", "Show Component Name", F::ShowComponentName, nullptr},
        {"transparent", "Transparent", F::Transparent, nullptr},
    };
    int32_t background = settings.Field(F::Background);
    auto* colour = new QPushButton(QObject::tr("Background..."), &d);
    ShowSwatch(colour, background);
    QObject::connect(colour, &QPushButton::clicked, &d, [&d, colour, &background] {
        const QColor chosen =
            QColorDialog::getColor(FromColourRef(background), &d, QObject::tr("Background"));
        if (!chosen.isValid()) return;
        background = ToColourRef(chosen);
        ShowSwatch(colour, background);
    });
    title->setObjectName(QStringLiteral("title"));
    font->setObjectName(QStringLiteral("fontName"));
    fontSize->setObjectName(QStringLiteral("fontSize"));
    precision->setObjectName(QStringLiteral("precision"));
    suffix->setObjectName(QStringLiteral("suffix"));
    colour->setObjectName(QStringLiteral("background"));
    form->addRow(QObject::tr("Caption:"), title);
    form->addRow(QObject::tr("Font"), font);
    form->addRow(QObject::tr("Font Size"), fontSize);
    form->addRow(QObject::tr("Precision"), precision);
    form->addRow(QObject::tr("Suffix:"), suffix);
    for (CFlag& f : flags) {
        f.box = new QCheckBox(QObject::tr(f.label), &d);
        f.box->setObjectName(QLatin1String(f.name));
        f.box->setChecked(settings.Field(f.field) != 0);
        form->addRow(f.box);
    }
    form->addRow(colour);
    form->addRow(OkCancel(&d));
    if (d.exec() != QDialog::Accepted) return false;
    settings.Text(T::Title) = title->text().toStdString();
    const QString fontName = font->currentText().trimmed();
    if (!fontName.isEmpty()) settings.Text(T::FontName) = fontName.toStdString();
    settings.Field(F::FontSize) = fontSize->value();
    settings.Field(F::Precision) = precision->value();
    settings.Text(T::Suffix) = suffix->text().toStdString();
    for (const CFlag& f : flags) settings.Field(f.field) = f.box->isChecked() ? 1 : 0;
    settings.Field(F::Background) = background;
    return true;
}

// --- graphic text ------------------------------------------------------------------

bool EditGraphicText(QWidget* parent, std::string& text) {
    QDialog d(parent);
    d.setWindowTitle(QObject::tr("Graphic Text"));
    d.resize(420, 240);
    auto* layout = new QVBoxLayout(&d);
    auto* edit = new QPlainTextEdit(Q(text), &d);
    edit->setObjectName(QStringLiteral("text"));
    edit->selectAll();
    layout->addWidget(edit);
    layout->addWidget(OkCancel(&d));
    if (d.exec() != QDialog::Accepted) return false;
    text = edit->toPlainText().toStdString();
    return true;
}

}  // namespace zor2::gui
