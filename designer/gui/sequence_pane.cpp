// The sequence pane: lists, buttons, status lines and the timeline canvas over
// the core's sequence editor, with the sequence and action dialogs.
#include "designer/gui/sequence_pane.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "designer/command_rows.h"
#include "designer/decision_matrix_editor.h"
#include "designer/gui/dialogs.h"
#include "designer/gui/view_paint.h"

namespace zor2::gui {

namespace {

const QColor kBar(0x4A, 0x86, 0xC8);
const QColor kMarker(0xD2, 0x28, 0x28);

CPoint ToModel(const QPointF& p) {
    return {static_cast<int32_t>(p.x()), static_cast<int32_t>(p.y())};
}

QPushButton* Button(const QString& text, const QString& name, QWidget* parent, QLayout* layout) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    layout->addWidget(b);
    return b;
}

}  // namespace

// --- the timeline ----------------------------------------------------------------------

CTimelineCanvas::CTimelineCanvas(CSequenceEditor& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor) {
    setObjectName(QStringLiteral("timeline"));
    setFocusPolicy(Qt::ClickFocus);
    setMinimumHeight(120);
}

void CTimelineCanvas::resizeEvent(QResizeEvent*) {
    m_editor.SetTimelineArea({0, 0, width() - 1, height() - 1});
}

void CTimelineCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const std::string empty = m_editor.EmptyText();
    if (!empty.empty()) {
        p.setPen(QColor(0x50, 0x50, 0x50));
        p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, Q(empty));
        return;
    }
    const int32_t left = CSequenceEditor::kLabelWidth;
    const int32_t top = CSequenceEditor::kHeaderHeight;
    const std::vector<int32_t> rows = m_editor.Rows();
    const int32_t bottom = m_editor.RowRect(rows.size()).top;
    // Columns: one per cycle, a darker line and a label at every second.
    const int32_t perSecond = m_editor.CyclesPerSecond();
    for (int32_t k = 0;; ++k) {
        const int32_t x = left + k * m_editor.ColumnWidth();
        if (x > width()) break;
        const bool second = k % perSecond == 0;
        p.setPen(second ? QColor(0x96, 0x96, 0x96) : QColor(0xE6, 0xE6, 0xE6));
        p.drawLine(x, second ? 0 : top, x, bottom);
        if (second)
            p.drawText(QRectF(x + 2, 0, 60, top), Qt::AlignVCenter | Qt::AlignLeft,
                       QStringLiteral("%1 s").arg(m_editor.ScrollSeconds() + k / perSecond));
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        const QRectF r = ToQ(m_editor.RowRect(i));
        p.setPen(QColor(0xC8, 0xC8, 0xC8));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        const std::vector<std::string> label = m_editor.RowLabel(rows[i]);
        p.setPen(Qt::black);
        if (label.size() == 2)
            p.drawText(QRectF(r.left() + 3, r.top(), left - 6, r.height()), Qt::AlignVCenter | Qt::AlignLeft,
                       Q(label[0]) + "\n" + Q(label[1]));
    }
    p.setPen(QColor(0x64, 0x64, 0x64));
    p.drawLine(left, 0, left, bottom);
    p.setClipRect(QRect(left, 0, width() - left, height()));
    const auto& drag = m_editor.Drag();
    for (const CTimelineBar& b : m_editor.Bars()) {
        p.setPen(b.selected ? QPen(Qt::black, 2) : QPen(kBar.darker(140)));
        p.setBrush(drag && drag->actionId == b.actionId ? kBar.lighter(150) : kBar);
        p.drawRect(ToQ(b.rect));
    }
    if (drag) {
        const auto row = std::find(rows.begin(), rows.end(), drag->outputId);
        if (row != rows.end()) {
            const CRect r = m_editor.RowRect(static_cast<size_t>(row - rows.begin()));
            p.setPen(QPen(kSelected, 2, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(m_editor.XOfTime(drag->start), r.top + 4,
                              m_editor.XOfTime(drag->start + drag->duration) - m_editor.XOfTime(drag->start),
                              r.bottom - r.top - 8));
        }
    }
    if (const auto x = m_editor.MarkerX()) {
        p.setPen(QPen(kMarker, 2));
        p.drawLine(*x, 0, *x, bottom);
        p.setBrush(kMarker);
        p.drawPolygon(QPolygonF({QPointF(*x - 5, 0), QPointF(*x + 5, 0), QPointF(*x, 8)}));
    }
}

void CTimelineCanvas::Done(ECmd outcome) {
    update();
    if (outcome == ECmd::Done) emit edited();
}

void CTimelineCanvas::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const CPoint p = ToModel(e->position());
    if (p.x < CSequenceEditor::kLabelWidth) {
        const std::vector<int32_t> rows = m_editor.Rows();
        for (size_t i = 0; i < rows.size(); ++i) {
            const CRect r = m_editor.RowRect(i);
            if (p.y >= r.top && p.y < r.bottom) emit outputChosen(rows[i]);
        }
        return;
    }
    Done(m_editor.Press(p));
}

void CTimelineCanvas::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) return;
    m_editor.MoveTo(ToModel(e->position()));
    update();
}

void CTimelineCanvas::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) Done(m_editor.Release());
}

void CTimelineCanvas::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (const int32_t id = m_editor.DoubleClick(ToModel(e->position()))) emit editAction(id);
    update();
}

void CTimelineCanvas::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete || e->key() == Qt::Key_Backspace)
        Done(m_editor.DeleteAction(m_editor.SelectedAction()));
    else if (e->key() == Qt::Key_Escape) {
        m_editor.CancelGesture();
        update();
    } else {
        QWidget::keyPressEvent(e);
    }
}

// --- the pane --------------------------------------------------------------------------

CPaneActionSequencer::CPaneActionSequencer(Czor2Doc& doc, const CSimController* sim,
                                           std::function<void(int)> simulate, QWidget* parent)
    : QWidget(parent), m_editor(doc, sim), m_simulate(std::move(simulate)) {
    setObjectName(QStringLiteral("ActionSequencer"));
    auto* layout = new QHBoxLayout(this);
    auto* side = new QVBoxLayout;
    layout->addLayout(side);

    auto* sequences = new QGroupBox(tr("Sequences"), this);
    auto* sequenceLayout = new QVBoxLayout(sequences);
    m_sequences = new QListWidget(sequences);
    m_sequences->setObjectName(QStringLiteral("sequences"));
    sequenceLayout->addWidget(m_sequences);
    auto* sequenceButtons = new QHBoxLayout;
    sequenceLayout->addLayout(sequenceButtons);
    side->addWidget(sequences, 1);
    auto editSequence = [this] {
        CSequenceSettings settings = m_editor.SequenceSettings();
        if (m_editor.Sequence() && AskSequence(settings)) m_editor.EditSequence(settings);
        Refresh();
    };
    connect(m_sequences, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_filling) return;
        const std::vector<int32_t> ids = m_editor.SequenceIds();
        if (row >= 0 && row < static_cast<int>(ids.size()))
            m_editor.SelectSequence(ids[static_cast<size_t>(row)]);
        Refresh();
    });
    connect(m_sequences, &QListWidget::itemDoubleClicked, this, editSequence);
    connect(Button(tr("New"), "newSequence", sequences, sequenceButtons), &QPushButton::clicked, this,
            [this] {
                m_editor.NewSequence();
                Refresh();
            });
    connect(Button(tr("Edit..."), "editSequence", sequences, sequenceButtons), &QPushButton::clicked, this,
            editSequence);
    connect(Button(tr("Delete"), "deleteSequence", sequences, sequenceButtons), &QPushButton::clicked, this,
            [this] {
                m_editor.DeleteSequence();
                Refresh();
            });
    connect(Button(tr("Clear"), "clearSequence", sequences, sequenceButtons), &QPushButton::clicked, this,
            [this] {
                m_editor.ClearSequence();
                Refresh();
            });

    auto* outputs = new QGroupBox(tr("Outputs"), this);
    auto* outputLayout = new QVBoxLayout(outputs);
    m_output = new QLabel(outputs);
    outputLayout->addWidget(m_output);
    auto* outputButtons = new QHBoxLayout;
    outputLayout->addLayout(outputButtons);
    side->addWidget(outputs);
    connect(Button(tr("New"), "newOutput", outputs, outputButtons), &QPushButton::clicked, this, [this] {
        m_editor.NewOutput();
        Refresh();
    });
    connect(Button(tr("Edit..."), "editOutput", outputs, outputButtons), &QPushButton::clicked, this, [this] {
        const CModelActionSequence* c = m_editor.Component();
        const CModelOutput* out = c ? c->FindOutput(SelectedOutput()) : nullptr;
        std::string name = out ? out->m_name : std::string(), description;
        if (out && EditNameDescription(this, tr("Edit Output"), name, description))
            m_editor.RenameOutput(out->m_id, name);
        Refresh();
    });
    connect(Button(tr("Clear"), "clearOutput", outputs, outputButtons), &QPushButton::clicked, this, [this] {
        m_editor.ClearOutput(SelectedOutput());
        Refresh();
    });
    connect(Button(tr("Delete"), "deleteOutput", outputs, outputButtons), &QPushButton::clicked, this,
            [this] {
                m_editor.DeleteOutput(SelectedOutput());
                Refresh();
            });

    auto* right = new QVBoxLayout;
    layout->addLayout(right, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    right->addWidget(m_status);
    m_timeline = new CTimelineCanvas(m_editor, this);
    right->addWidget(m_timeline, 1);
    m_controls = new QWidget(this);
    auto* controls = new QHBoxLayout(m_controls);
    controls->setContentsMargins(0, 0, 0, 0);
    right->addWidget(m_controls);
    connect(Button(QStringLiteral("<-"), "scrollLeft", m_controls, controls), &QPushButton::clicked, this,
            [this] {
                m_editor.ScrollLeft();
                m_timeline->update();
            });
    connect(Button(QStringLiteral("->"), "scrollRight", m_controls, controls), &QPushButton::clicked, this,
            [this] {
                m_editor.ScrollRight();
                m_timeline->update();
            });
    connect(Button(QStringLiteral("+"), "zoomIn", m_controls, controls), &QPushButton::clicked, this, [this] {
        m_editor.ZoomIn();
        m_timeline->update();
    });
    connect(Button(QStringLiteral("-"), "zoomOut", m_controls, controls), &QPushButton::clicked, this,
            [this] {
                m_editor.ZoomOut();
                m_timeline->update();
            });
    controls->addStretch(1);
    const std::pair<const char*, int> simulation[] = {
        {"Run", kCmdRun}, {"Pause", kCmdPause}, {"Stop", kCmdStop}};
    for (const auto& [label, command] : simulation)
        connect(Button(tr(label), label, m_controls, controls), &QPushButton::clicked, this,
                [this, command = command] {
                    if (m_simulate) m_simulate(command);
                });
    connect(Button(tr("Step"), "Step", m_controls, controls), &QPushButton::clicked, this, [this] {
        if (const CActionSequence* s = m_editor.Sequence()) m_editor.Preview(s->m_t);
        Refresh();
    });

    connect(m_timeline, &CTimelineCanvas::edited, this, &CPaneActionSequencer::Refresh);
    connect(m_timeline, &CTimelineCanvas::outputChosen, this, [this](int32_t id) {
        m_outputId = id;
        Refresh();
    });
    connect(m_timeline, &CTimelineCanvas::editAction, this, [this](int32_t id) {
        CActionSettings settings = m_editor.ActionSettings(id);
        CActionSequence* s = m_editor.Sequence();
        const CAction* a = s ? s->FindAction(id) : nullptr;
        if (a && AskAction(settings, a->m_start, a->m_duration) &&
            m_editor.EditAction(id, settings) == ECmd::Done)
            m_editor.Preview(a->m_start);
        Refresh();
    });
    Refresh();
}

int32_t CPaneActionSequencer::SelectedOutput() const {
    const std::vector<int32_t> rows = m_editor.Rows();
    if (std::find(rows.begin(), rows.end(), m_outputId) != rows.end()) return m_outputId;
    return rows.empty() ? 0 : rows.front();
}

QString CPaneActionSequencer::Status() const {
    return m_status->text();
}

void CPaneActionSequencer::Refresh() {
    const bool bound = m_editor.Component() != nullptr;
    for (QWidget* w : findChildren<QGroupBox*>()) w->setEnabled(bound);
    m_controls->setEnabled(bound);
    QStringList lines;
    for (const std::string& line : m_editor.StatusLines()) lines << Q(line);
    m_status->setText(lines.join('\n'));
    m_filling = true;
    m_sequences->clear();
    const std::vector<std::string> items = m_editor.SequenceItems();
    const std::vector<int32_t> ids = m_editor.SequenceIds();
    const CActionSequence* shown = m_editor.Sequence();
    for (size_t i = 0; i < items.size(); ++i) {
        m_sequences->addItem(Q(items[i]));
        if (shown && ids[i] == shown->m_id) m_sequences->setCurrentRow(static_cast<int>(i));
    }
    m_filling = false;
    const CModelActionSequence* c = m_editor.Component();
    const CModelOutput* out = c ? c->FindOutput(SelectedOutput()) : nullptr;
    m_output->setText(out ? tr("Selected: %1").arg(Q(out->m_name)) : tr("No output selected"));
    m_timeline->update();
}

void CPaneActionSequencer::FollowSimulation() {
    m_editor.FollowTime();
    QStringList lines;
    for (const std::string& line : m_editor.StatusLines()) lines << Q(line);
    m_status->setText(lines.join('\n'));
    m_timeline->update();
}

bool CPaneActionSequencer::AskSequence(CSequenceSettings& settings) {
    QDialog d(this);
    d.setWindowTitle(tr("Action Sequence Properties"));
    auto* form = new QFormLayout(&d);
    auto* name = new QLineEdit(Q(settings.name), &d);
    name->setObjectName(QStringLiteral("sequenceName"));
    auto* description = new QPlainTextEdit(Q(settings.description), &d);
    description->setMaximumHeight(60);
    auto* trigger = new QLineEdit(QString::number(settings.trigger), &d);
    trigger->setObjectName(QStringLiteral("trigger"));
    auto* repeat = new QCheckBox(tr("Auto-repeat"), &d);
    repeat->setChecked(settings.repeat);
    form->addRow(tr("Sequence Name:"), name);
    form->addRow(tr("Description:"), description);
    form->addRow(tr("Unique Integer Tigger Value:"), trigger);
    auto* note = new QLabel(
        tr("Optionally, check this box if the action sequence pattern should automatically repeat itself:"),
        &d);
    note->setWordWrap(true);
    form->addRow(note);
    form->addRow(repeat);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    form->addRow(buttons);
    if (d.exec() != QDialog::Accepted) return false;
    settings.name = name->text().toStdString();
    settings.description = description->toPlainText().toStdString();
    // Read as an integer; text that is no number in range reads as 0.
    settings.trigger = 0;
    SequenceKey(ReadDecimal(trigger->text().toStdString()), settings.trigger);
    settings.repeat = repeat->isChecked();
    return true;
}

bool CPaneActionSequencer::AskAction(CActionSettings& settings, double start, double duration) {
    QDialog d(this);
    d.setWindowTitle(tr("Action Properties"));
    auto* form = new QFormLayout(&d);
    form->addRow(tr("Event Start Time:"), new QLabel(QString::asprintf("%0.2f", start), &d));
    form->addRow(tr("Event Duration:"), new QLabel(QString::asprintf("%0.2f", duration), &d));
    form->addRow(new QLabel(tr("(To change the start time or duration, use the timeline editor)"), &d));
    auto* types = new QGroupBox(tr("Event Type"), &d);
    auto* typeLayout = new QFormLayout(types);
    auto* group = new QButtonGroup(&d);
    const char* labels[] = {"On (value of 1)", "Custom Constant Value", "Custom Dynamic Value"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(tr(labels[i]), types);
        group->addButton(radio, i);
        typeLayout->addRow(radio);
    }
    auto* constant = new QLineEdit(QString::asprintf("%0.2f", settings.constantValue), types);
    auto* from = new QLineEdit(QString::asprintf("%0.2f", settings.startValue), types);
    auto* to = new QLineEdit(QString::asprintf("%0.2f", settings.endValue), types);
    typeLayout->addRow(tr("Constant Value:"), constant);
    typeLayout->addRow(tr("Start Value:"), from);
    typeLayout->addRow(tr("End Value:"), to);
    form->addRow(types);
    auto follow = [constant, from, to](int type) {
        constant->setEnabled(type == kActionConstant);
        from->setEnabled(type == kActionDynamic);
        to->setEnabled(type == kActionDynamic);
    };
    connect(group, &QButtonGroup::idClicked, &d, follow);
    if (QAbstractButton* b = group->button(settings.type)) b->setChecked(true);
    follow(settings.type);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    form->addRow(buttons);
    if (d.exec() != QDialog::Accepted) return false;
    settings.type = std::max(0, group->checkedId());
    settings.constantValue = ReadDecimal(constant->text().toStdString());
    settings.startValue = ReadDecimal(from->text().toStdString());
    settings.endValue = ReadDecimal(to->text().toStdString());
    return true;
}

}  // namespace zor2::gui
