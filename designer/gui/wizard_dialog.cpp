// The "Load Data Wizard" window.
#include "designer/gui/wizard_dialog.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zor2::gui {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* Text(const char* text, QWidget* parent) {
    auto* l = new QLabel(QObject::tr(text), parent);
    l->setWordWrap(true);
    return l;
}

QRadioButton* Radio(const char* text, QWidget* parent, QButtonGroup* group, QLayout* layout) {
    auto* b = new QRadioButton(QObject::tr(text), parent);
    group->addButton(b);
    layout->addWidget(b);
    return b;
}

}  // namespace

CdlgLoadDataWizard::CdlgLoadDataWizard(CLoadDataWizard& wizard, QWidget* parent)
    : QDialog(parent), m_wizard(wizard) {
    resize(720, 560);
    auto* layout = new QVBoxLayout(this);
    m_heading = new QLabel(this);
    QFont f = m_heading->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    m_heading->setFont(f);
    layout->addWidget(m_heading);
    m_pages = new QStackedWidget(this);
    layout->addWidget(m_pages);

    // Step 1: the data file.
    auto* p1 = new QWidget;
    auto* l1 = new QVBoxLayout(p1);
    l1->addWidget(Text(
        "The required format of the CSV file is such that each row constitutes the values of a featurevector, and each column represents an individual feature.",
        p1));
    l1->addWidget(Text(
        "To import your data file, press the browse button. File types supported are comma, tab or semi-colon delimited text files. Default type is CSV format. (*.CSV) ",
        p1));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Import File:"), p1));
    m_file = new QLineEdit(p1);
    m_file->setReadOnly(true);
    row->addWidget(m_file);
    auto* browse = new QPushButton(tr("Browse..."), p1);
    row->addWidget(browse);
    l1->addLayout(row);
    m_status = new QLabel(p1);
    l1->addWidget(m_status);
    connect(browse, &QPushButton::clicked, this, [this] {
        BrowseTo(QFileDialog::getOpenFileName(this, tr("Open CSV file for Import (CSV)"), QString(),
                                              tr("CSV Files(*.csv)")));
    });
    m_pages->addWidget(p1);

    // Step 2: the header row.
    auto* p2 = new QWidget;
    auto* l2 = new QVBoxLayout(p2);
    l2->addWidget(Text("Does your data file have a header row? \n(highlighted in yellow below)", p2));
    auto* g2a = new QButtonGroup(p2);
    m_headerYes = Radio("Yes", p2, g2a, l2);
    m_headerNo = Radio("No", p2, g2a, l2);
    l2->addWidget(Text("What information is in the header row?", p2));
    auto* g2b = new QButtonGroup(p2);
    m_headerNames = Radio("Feature Names", p2, g2b, l2);
    m_headerIds = Radio("Feature ID's", p2, g2b, l2);
    connect(m_headerYes, &QRadioButton::toggled, this, [this](bool on) {
        m_wizard.SetHasHeaderRow(on);
        Show();
    });
    connect(m_headerNames, &QRadioButton::toggled, this,
            [this](bool on) { m_wizard.SetHeaderHoldsNames(on); });
    m_pages->addWidget(p2);

    // Step 3: the first column.
    auto* p3 = new QWidget;
    auto* l3 = new QVBoxLayout(p3);
    l3->addWidget(
        Text("What information does the first column of data (highlighted in yellow) contain?", p3));
    auto* g3 = new QButtonGroup(p3);
    m_first[0] = Radio("Names of Profiles / Classes", p3, g3, l3);
    m_first[1] = Radio("Names of Feature Vectors", p3, g3, l3);
    m_first[2] = Radio("First column of Feature Values", p3, g3, l3);
    for (int i = 0; i < 3; ++i)
        connect(m_first[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) m_wizard.SetFirstColumn(i + 1);
        });
    m_pages->addWidget(p3);

    // Step 4: the second column.
    auto* p4 = new QWidget;
    auto* l4 = new QVBoxLayout(p4);
    l4->addWidget(
        Text("What information does the second column of data (highlighted in yellow) contain?", p4));
    auto* g4 = new QButtonGroup(p4);
    m_secondNames = Radio("Names of Feature Vectors", p4, g4, l4);
    m_secondValues = Radio("First column of Feature Values", p4, g4, l4);
    connect(m_secondNames, &QRadioButton::toggled, this, [this](bool on) {
        if (on) m_wizard.SetSecondColumnVectorNames(true);
    });
    connect(m_secondValues, &QRadioButton::toggled, this, [this](bool on) {
        if (on) m_wizard.SetSecondColumnVectorNames(false);
    });
    m_pages->addWidget(p4);

    // Step 5: the summary.
    auto* p5 = new QWidget;
    auto* l5 = new QVBoxLayout(p5);
    m_summary = new QLabel(p5);
    m_summary->setWordWrap(true);
    l5->addWidget(m_summary);
    l5->addStretch(1);
    m_pages->addWidget(p5);

    m_caption = new QLabel(this);
    layout->addWidget(m_caption);
    m_grid = new QTableWidget(CLoadDataWizard::kPreviewLines, CLoadDataWizard::kPreviewColumns, this);
    QStringList letters;
    for (int c = 0; c < CLoadDataWizard::kPreviewColumns; ++c) letters << QString(QChar('A' + c));
    m_grid->setHorizontalHeaderLabels(letters);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_grid, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_back = new QPushButton(tr("< Back"), this);
    m_next = new QPushButton(tr("Next >"), this);
    m_finish = new QPushButton(tr("Finish"), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    for (QPushButton* b : {m_back, m_next, m_finish, cancel}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(m_back, &QPushButton::clicked, this, &CdlgLoadDataWizard::ClickBack);
    connect(m_next, &QPushButton::clicked, this, &CdlgLoadDataWizard::ClickNext);
    connect(m_finish, &QPushButton::clicked, this, &CdlgLoadDataWizard::ClickFinish);
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_wizard.Cancel();
        reject();
    });
    Show();
}

QString CdlgLoadDataWizard::Heading() const {
    return m_heading->text();
}

void CdlgLoadDataWizard::BrowseTo(const QString& path) {
    m_wizard.Browse(path.toStdString());
    Show();
}

void CdlgLoadDataWizard::ClickNext() {
    if (m_wizard.Next()) Show();
}

void CdlgLoadDataWizard::ClickBack() {
    if (m_wizard.Back()) Show();
}

void CdlgLoadDataWizard::ClickFinish() {
    if (m_wizard.Finish()) accept();
}

void CdlgLoadDataWizard::Show() {
    const CWizardResult& r = m_wizard.Result();
    const int step = m_wizard.Step();
    setWindowTitle(QString::fromUtf8(m_wizard.Title()));
    m_heading->setText(QString::fromUtf8(m_wizard.Heading()));
    m_pages->setCurrentIndex(step - 1);
    m_file->setText(Q(m_wizard.FileField()));
    m_status->setText(Q(m_wizard.Status()));
    m_caption->setText(Q(m_wizard.PreviewCaption()));
    m_summary->setText(Q(m_wizard.SummaryText()));
    // Entering a step shows the answers held so far.
    for (QRadioButton* b :
         {m_headerYes, m_headerNo, m_headerNames, m_headerIds, m_secondNames, m_secondValues})
        b->blockSignals(true);
    m_headerYes->setChecked(r.hasHeaderRow);
    m_headerNo->setChecked(!r.hasHeaderRow);
    m_headerNames->setChecked(r.headerHoldsNames);
    m_headerIds->setChecked(!r.headerHoldsNames);
    m_headerNames->setEnabled(r.hasHeaderRow);
    m_headerIds->setEnabled(r.hasHeaderRow);
    m_secondNames->setChecked(r.layout == kLayoutClassThenVectorNames);
    m_secondValues->setChecked(r.layout == kLayoutClassThenValues);
    for (QRadioButton* b :
         {m_headerYes, m_headerNo, m_headerNames, m_headerIds, m_secondNames, m_secondValues})
        b->blockSignals(false);
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker block(m_first[i]);
        const int code = i == 0   ? (r.layout <= kLayoutClassThenValues)
                         : i == 1 ? (r.layout == kLayoutVectorNames)
                                  : (r.layout == kLayoutValues);
        m_first[i]->setChecked(code != 0);
    }
    // The preview, with the row or column the step asks about in yellow.
    m_grid->clearContents();
    const auto& preview = m_wizard.Preview();
    QStringList numbers;
    for (int line = 0; line < CLoadDataWizard::kPreviewLines; ++line) numbers << QString::number(line + 1);
    m_grid->setVerticalHeaderLabels(numbers);
    const int dataTop = r.hasHeaderRow ? 1 : 0;
    for (int line = 0; line < static_cast<int>(preview.size()) && line < CLoadDataWizard::kPreviewLines;
         ++line) {
        for (int c = 0; c < static_cast<int>(preview[line].size()) && c < CLoadDataWizard::kPreviewColumns;
             ++c) {
            auto* item = new QTableWidgetItem(Q(preview[line][c]));
            const bool yellow = (step == 2 && line == 0 && r.hasHeaderRow) ||
                                (step == 3 && c == 0 && line >= dataTop) ||
                                (step == 4 && c == 1 && line >= dataTop);
            if (yellow) item->setBackground(QColor(0xFF, 0xFF, 0x80));
            m_grid->setItem(line, c, item);
        }
    }
    m_back->setEnabled(m_wizard.CanBack());
    m_next->setEnabled(m_wizard.CanNext());
    m_finish->setEnabled(m_wizard.CanFinish());
}

std::string ChooseWithLoadDataWizard(QWidget* parent) {
    CLoadDataWizard wizard;
    CdlgLoadDataWizard dialog(wizard, parent);
    if (dialog.exec() != QDialog::Accepted || !wizard.Finished() || !wizard.Result().fileChosen) return {};
    return wizard.Result().path;
}

}  // namespace zor2::gui
