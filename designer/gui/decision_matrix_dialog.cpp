// The decision matrix dialog: lists and buttons around the matrix canvas, which
// paints the editor's number lines and grid and forwards the mouse to it.
#include "designer/gui/decision_matrix_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "designer/gui/view_paint.h"

namespace zor2::gui {

namespace {

CPoint ToModel(const QPointF& p) {
    return {static_cast<int32_t>(p.x()), static_cast<int32_t>(p.y())};
}

QPushButton* Button(const QString& text, QWidget* parent, QLayout* layout) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(text);
    layout->addWidget(b);
    return b;
}

void PaintLine(QPainter& p, const CDecisionMatrixEditor& e, int input) {
    const CModelDecisionMatrix* c = e.Component();
    const QRectF r = ToQ(e.LineRect(input));
    const double y = r.center().y();
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    const auto [lo, hi] = e.LineRange(input);
    p.setPen(QColor(0x50, 0x50, 0x50));
    p.drawText(QRectF(r.left() - 56, r.top(), 52, r.height()), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Input %1").arg(input));
    p.drawText(QRectF(r.left() - 30, r.bottom(), 60, 12), Qt::AlignHCenter, QString::number(lo, 'g', 4));
    p.drawText(QRectF(r.right() - 30, r.bottom(), 60, 12), Qt::AlignHCenter, QString::number(hi, 'g', 4));
    if (!c) return;
    const auto& drag = e.Drag();
    for (const auto& t : c->Matrix().Input(input).m_thresholds) {
        const bool dragged = drag && drag->input == input && drag->id == t.m_id;
        const double value = dragged ? drag->value : t.m_value;
        const double x = e.XOfValue(input, value);
        p.setPen(QPen(dragged ? kSelected : QColor(0xB4, 0x32, 0x1E), 2));
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        p.drawText(QRectF(x - 40, r.top() - 13, 80, 12), Qt::AlignHCenter, QString::asprintf("%0.2f", value));
    }
}

}  // namespace

// --- the canvas ---------------------------------------------------------------------

CMatrixCanvas::CMatrixCanvas(CDecisionMatrixEditor& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor) {
    setObjectName(QStringLiteral("matrixCanvas"));
    setMouseTracking(false);
    setMinimumSize(420, 300);
}

void CMatrixCanvas::resizeEvent(QResizeEvent*) {
    const int32_t w = width(), h = height();
    m_editor.SetLayout({64, 22, w - 36, 42}, {64, 72, w - 36, 92}, {64, 118, w - 36, h - 8});
}

void CMatrixCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    QFont small = font();
    if (small.pointSizeF() > 0) small.setPointSizeF(small.pointSizeF() * 0.85);
    p.setFont(small);
    PaintLine(p, m_editor, 1);
    PaintLine(p, m_editor, 2);
    const int32_t columns = m_editor.Columns(), rows = m_editor.Rows();
    const auto& painting = m_editor.Painting();
    const CModelOutput* brush =
        m_editor.Component() ? m_editor.Component()->FindOutput(m_editor.SelectedOutput()) : nullptr;
    for (int32_t i = 0; i < columns; ++i) {
        for (int32_t j = 0; j < rows; ++j) {
            const CDecisionCell cell{i, j};
            const bool pending = std::find(painting.begin(), painting.end(), cell) != painting.end();
            const QRectF r = ToQ(m_editor.CellRect(cell)).adjusted(1, 1, -1, -1);
            p.fillRect(r, ColourOf(pending && brush ? brush->m_colour : m_editor.CellColour(cell)));
            p.setPen(pending ? QPen(kSelected, 2) : QPen(QColor(0x78, 0x78, 0x78)));
            p.drawRect(r);
            const CModelOutput* out =
                m_editor.Component() ? m_editor.Component()->FindOutput(m_editor.CellOutput(cell)) : nullptr;
            p.setPen(Qt::black);
            p.drawText(r, Qt::AlignCenter,
                       Q(CDecisionMatrixEditor::CellText(cell)) + (out ? "\n" + Q(out->m_name) : QString()));
        }
    }
    if (columns == 0 || rows == 0)
        p.drawText(ToQ(m_editor.GridRect()), Qt::AlignCenter,
                   tr("Each input needs at least one threshold to make decisions."));
}

void CMatrixCanvas::Done(ECmd outcome) {
    update();
    if (outcome == ECmd::Done) emit edited();
}

void CMatrixCanvas::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        m_editor.PressLeft(ToModel(e->position()));
        update();
    } else if (e->button() == Qt::RightButton) {
        Done(m_editor.PressRight(ToModel(e->position())));
    }
}

void CMatrixCanvas::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) return;
    m_editor.MoveTo(ToModel(e->position()));
    update();
}

void CMatrixCanvas::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) Done(m_editor.Release());
}

void CMatrixCanvas::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    ECmd outcome = ECmd::Unavailable;
    const CMatrixClick click = m_editor.DoubleClick(ToModel(e->position()), &outcome);
    Done(outcome);
    if (click.thresholdId) emit editThreshold(click.input, click.thresholdId);
}

// --- the dialog ----------------------------------------------------------------------

CdlgModelDecisionMatrix::CdlgModelDecisionMatrix(CDecisionMatrixEditor& editor, CPropertySheet& sheet,
                                                 QWidget* parent)
    : QDialog(parent), m_editor(editor), m_sheet(sheet) {
    setWindowTitle(Q(sheet.Caption()));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* name = new QLineEdit(Q(sheet.Find("name") ? sheet.Find("name")->text : std::string()), this);
    name->setObjectName(QStringLiteral("name"));
    auto* description = new QPlainTextEdit(
        Q(sheet.Find("description") ? sheet.Find("description")->text : std::string()), this);
    description->setObjectName(QStringLiteral("description"));
    description->setMaximumHeight(54);
    connect(name, &QLineEdit::textChanged, this,
            [this](const QString& t) { m_sheet.SetText("name", t.toStdString()); });
    connect(description, &QPlainTextEdit::textChanged, this, [this, description] {
        m_sheet.SetText("description", description->toPlainText().toStdString());
    });
    form->addRow(tr("Name:"), name);
    form->addRow(tr("Description:"), description);
    layout->addLayout(form);

    auto* columns = new QHBoxLayout;
    columns->addWidget(BuildInput(1));
    columns->addWidget(BuildInput(2));
    columns->addWidget(BuildOutputs());
    layout->addLayout(columns);

    auto* matrix = new QGroupBox(tr("Decision Matrix"), this);
    auto* matrixLayout = new QVBoxLayout(matrix);
    m_canvas = new CMatrixCanvas(editor, matrix);
    matrixLayout->addWidget(m_canvas, 1);
    auto* note = new QLabel(
        tr("Drag a threshold along its line; double click a line to add one. Click or drag over cells to give them the selected output; right click gives Default."),
        matrix);
    note->setWordWrap(true);
    matrixLayout->addWidget(note);
    auto* reset = new QPushButton(tr("Reset"), matrix);
    reset->setObjectName(QStringLiteral("Reset"));
    matrixLayout->addWidget(reset, 0, Qt::AlignLeft);
    layout->addWidget(matrix, 1);
    connect(reset, &QPushButton::clicked, this, [this] {
        m_editor.ResetDecisions();
        Sync();
    });
    connect(m_canvas, &CMatrixCanvas::edited, this, &CdlgModelDecisionMatrix::Sync);
    connect(m_canvas, &CMatrixCanvas::editThreshold, this, [this](int input, int32_t id) {
        const auto* t =
            m_editor.Component() ? m_editor.Component()->Matrix().Input(input).FindThreshold(id) : nullptr;
        double value = 0.0;
        if (t && AskThreshold(t->m_value, value)) m_editor.EditThreshold(input, id, value);
        Sync();
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 680);
    Sync();
}

QWidget* CdlgModelDecisionMatrix::BuildInput(int input) {
    auto* box = new QGroupBox(input == 1 ? tr("Input 1 Ranges") : tr("Input 2 Ranges"), this);
    auto* layout = new QVBoxLayout(box);
    m_thresholds[input - 1] = new QListWidget(box);
    m_thresholds[input - 1]->setObjectName(QStringLiteral("thresholds%1").arg(input));
    layout->addWidget(m_thresholds[input - 1]);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    connect(Button(tr("New"), box, row), &QPushButton::clicked, this, [this, input] {
        double value = 0.0;
        if (AskThreshold(0.0, value)) m_editor.AddThreshold(input, value);
        Sync();
    });
    connect(Button(tr("Edit"), box, row), &QPushButton::clicked, this, [this, input] {
        const int32_t id = SelectedThreshold(input);
        const auto* t = id && m_editor.Component()
                            ? m_editor.Component()->Matrix().Input(input).FindThreshold(id)
                            : nullptr;
        double value = 0.0;
        if (t && AskThreshold(t->m_value, value)) m_editor.EditThreshold(input, id, value);
        Sync();
    });
    connect(Button(tr("Delete"), box, row), &QPushButton::clicked, this, [this, input] {
        if (const int32_t id = SelectedThreshold(input)) m_editor.DeleteThreshold(input, id);
        Sync();
    });
    connect(Button(tr("Delete All"), box, row), &QPushButton::clicked, this, [this, input] {
        m_editor.DeleteAllThresholds(input);
        Sync();
    });
    return box;
}

QWidget* CdlgModelDecisionMatrix::BuildOutputs() {
    auto* box = new QGroupBox(tr("Decision Outputs"), this);
    auto* layout = new QVBoxLayout(box);
    m_outputs = new QListWidget(box);
    m_outputs->setObjectName(QStringLiteral("outputs"));
    layout->addWidget(m_outputs);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    connect(m_outputs, &QListWidget::currentRowChanged, this, [this] {
        if (const int32_t id = SelectedOutputId()) m_editor.SelectOutput(id);
        m_canvas->update();
    });
    auto editSelected = [this] {
        const CModelOutput* out =
            m_editor.Component() ? m_editor.Component()->FindOutput(SelectedOutputId()) : nullptr;
        if (!out) return;
        std::string name = out->m_name;
        int32_t colour = out->m_colour;
        if (AskOutput(tr("Edit Output"), name, colour)) m_editor.EditOutput(out->m_id, name, colour);
        Sync();
    };
    connect(Button(tr("Add New..."), box, row), &QPushButton::clicked, this, [this] {
        if (!m_editor.Component()) return;
        std::string name = m_editor.Component()->NextOutputName();
        int32_t colour = 0xFFFFFF;
        if (AskOutput(tr("New Output"), name, colour)) m_editor.AddOutput(name, colour);
        Sync();
    });
    connect(Button(tr("Edit..."), box, row), &QPushButton::clicked, this, editSelected);
    connect(m_outputs, &QListWidget::itemDoubleClicked, this, editSelected);
    connect(Button(tr("Delete"), box, row), &QPushButton::clicked, this, [this] {
        if (const int32_t id = SelectedOutputId()) m_editor.DeleteOutput(id);
        Sync();
    });
    return box;
}

void CdlgModelDecisionMatrix::Sync() {
    for (int input : {1, 2}) {
        QListWidget* list = m_thresholds[input - 1];
        const int row = list->currentRow();
        list->clear();
        for (const std::string& item : m_editor.ThresholdItems(input)) list->addItem(Q(item));
        list->setCurrentRow(std::min(row, list->count() - 1));
    }
    const QSignalBlocker block(m_outputs);
    m_outputs->clear();
    const std::vector<int32_t> ids = m_editor.OutputIds();
    const std::vector<std::string> items = m_editor.OutputItems();
    for (size_t i = 0; i < items.size(); ++i) {
        m_outputs->addItem(Q(items[i]));
        if (ids[i] == m_editor.SelectedOutput()) m_outputs->setCurrentRow(static_cast<int>(i));
    }
    m_canvas->update();
}

int32_t CdlgModelDecisionMatrix::SelectedThreshold(int input) const {
    const std::vector<int32_t> ids = m_editor.ThresholdIds(input);
    const int row = m_thresholds[input - 1]->currentRow();
    return row >= 0 && row < static_cast<int>(ids.size()) ? ids[static_cast<size_t>(row)] : 0;
}

int32_t CdlgModelDecisionMatrix::SelectedOutputId() const {
    const std::vector<int32_t> ids = m_editor.OutputIds();
    const int row = m_outputs->currentRow();
    return row >= 0 && row < static_cast<int>(ids.size()) ? ids[static_cast<size_t>(row)] : 0;
}

bool CdlgModelDecisionMatrix::AskThreshold(double current, double& value) {
    QDialog d(this);
    d.setWindowTitle(tr("Threshold"));
    auto* form = new QFormLayout(&d);
    form->addRow(new QLabel(tr("Enter new value and click ok:"), &d));
    auto* edit = new QLineEdit(QString::asprintf("%0.2f", current), &d);
    edit->setObjectName(QStringLiteral("thresholdValue"));
    form->addRow(tr("Threshold Value:"), edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    form->addRow(buttons);
    if (d.exec() != QDialog::Accepted) return false;
    value = ReadDecimal(edit->text().toStdString());
    return true;
}

bool CdlgModelDecisionMatrix::AskOutput(const QString& title, std::string& name, int32_t& colour) {
    QDialog d(this);
    d.setWindowTitle(title);
    auto* form = new QFormLayout(&d);
    auto* edit = new QLineEdit(Q(name), &d);
    edit->setObjectName(QStringLiteral("outputName"));
    form->addRow(tr("Output Name:"), edit);
    auto* swatch = new QPushButton(&d);
    auto show = [swatch](int32_t c) {
        swatch->setStyleSheet(QStringLiteral("background:%1").arg(ColourOf(c).name()));
    };
    int32_t chosen = colour;
    show(chosen);
    connect(swatch, &QPushButton::clicked, &d, [&d, &chosen, show] {
        const QColor c = QColorDialog::getColor(ColourOf(chosen), &d, QObject::tr("Colour"));
        if (!c.isValid()) return;
        chosen = c.red() | (c.green() << 8) | (c.blue() << 16);
        show(chosen);
    });
    form->addRow(tr("Colour:"), swatch);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    form->addRow(buttons);
    if (d.exec() != QDialog::Accepted) return false;
    name = edit->text().toStdString();
    colour = chosen;
    return true;
}

}  // namespace zor2::gui
