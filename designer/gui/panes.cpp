// Palettes, structure tree, feedback lists and simulation pane.
#include "designer/gui/panes.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QVBoxLayout>

#include "designer/gui/design_view.h"
#include "designer/palette_filter.h"
#include "engine/catalogue.h"
#include "simulation/sim_controller.h"

namespace zor2::gui {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
constexpr int kTypeRole = Qt::UserRole + 1;
constexpr int kModuleRole = Qt::UserRole + 2;
constexpr int kFeedbackShown = 1000;

}  // namespace

namespace {

/// The palette's list: a drag carries the type id of the entry.
class CPaletteTree : public QTreeWidget {
  public:
    using QTreeWidget::QTreeWidget;

  protected:
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override {
        if (items.isEmpty() || !items.front()->data(0, kTypeRole).isValid()) return nullptr;
        return CPalette::MimeFor(items.front()->data(0, kTypeRole).toInt());
    }
};

constexpr struct {
    int group;
    const char* title;
} kPaletteGroups[] = {{kGroupLogic, "Logic"},
                      {kGroupMath, "Math"},
                      {kGroupSignals, "Signals"},
                      {kGroupUtility, "Utility"},
                      {kGroupDecision, "Decision"}};

}  // namespace

CPalette::CPalette(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    m_search = new QLineEdit(this);
    m_search->setObjectName("PaletteSearch");
    m_search->setPlaceholderText(tr("Search components"));
    m_search->setClearButtonEnabled(true);
    m_tree = new CPaletteTree(this);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setDragEnabled(true);
    m_tree->setDragDropMode(QAbstractItemView::DragOnly);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    column->addWidget(m_search);
    column->addWidget(m_tree, 1);
    connect(m_search, &QLineEdit::textChanged, this, &CPalette::SetFilter);
}

void CPalette::Fill(const CSystem& system) {
    m_system = &system;
    SetFilter(m_search->text());
}

void CPalette::SetFilter(const QString& text) {
    if (!m_system) return;
    m_tree->clear();
    const std::string filter = text.toStdString();
    for (const auto& g : kPaletteGroups) {
        if (m_hiddenGroups.contains(g.group)) continue;
        const std::vector<CPaletteEntry> entries = PaletteEntries(*m_system, g.group, filter);
        // While searching, a group without matches makes no heading.
        if (entries.empty() && !text.trimmed().isEmpty()) continue;
        auto* heading = new QTreeWidgetItem(m_tree, {tr(g.title)});
        heading->setFlags(Qt::ItemIsEnabled);
        QFont bold = heading->font(0);
        bold.setBold(true);
        heading->setFont(0, bold);
        for (const CPaletteEntry& e : entries) {
            auto* item = new QTreeWidgetItem(heading, {Q(e.name)});
            item->setData(0, kTypeRole, e.typeId);
            // The whole name first: a narrow pane cuts long ones.
            item->setToolTip(0, Q(e.name) + '\n' + Q(e.tip));
            // An entry that cannot be added stays readable with its reason, but cannot be dragged.
            item->setFlags(e.available ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled
                                       : Qt::ItemIsEnabled);
            if (!e.available) item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
        }
        heading->setExpanded(true);
    }
}

void CPalette::SetGroupShown(int group, bool shown) {
    if (shown == GroupShown(group)) return;
    if (shown)
        m_hiddenGroups.removeAll(group);
    else
        m_hiddenGroups.append(group);
    SetFilter(m_search->text());
}

bool CPalette::GroupShown(int group) const {
    return !m_hiddenGroups.contains(group);
}

QList<int> CPalette::Listed() const {
    QList<int> ids;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        for (int j = 0; j < m_tree->topLevelItem(i)->childCount(); ++j)
            ids << m_tree->topLevelItem(i)->child(j)->data(0, kTypeRole).toInt();
    return ids;
}

QMimeData* CPalette::MimeFor(int typeId) {
    auto* data = new QMimeData;
    data->setData(kComponentMime, QByteArray::number(typeId));
    return data;
}

CStructureTree::CStructureTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const QVariant id = item->data(0, kModuleRole);
        if (id.isValid()) emit openModule(id.toInt());
    });
}

void CStructureTree::Rebuild(const CSystem& s) {
    clear();
    auto* root = new QTreeWidgetItem(this, {QStringLiteral("System: ") + Q(s.m_name)});
    auto* inputs = new QTreeWidgetItem(root, {tr("System Inputs (%1)").arg(s.m_inputs.Size())});
    for (CExternalInputCategory* cat : s.m_inputCategories) {
        auto* c = new QTreeWidgetItem(inputs, {Q(cat->m_name)});
        for (CExternalInput* in : cat->m_members.Items()) new QTreeWidgetItem(c, {Q(in->m_name)});
    }
    auto* modules = new QTreeWidgetItem(root, {tr("Modules (%1)").arg(s.m_modules.Size())});
    for (CNetwork* m : s.m_modules) {
        auto* mi =
            new QTreeWidgetItem(modules, {QStringLiteral("%1 (L%2)").arg(Q(m->m_name)).arg(m->m_level)});
        mi->setData(0, kModuleRole, m->m_id);
        for (CNetworkModel* c : m->m_components) {
            auto* ci =
                new QTreeWidgetItem(mi, {QStringLiteral("%1 [S%2]").arg(Q(c->m_name)).arg(c->m_stage)});
            ci->setData(0, kModuleRole, m->m_id);
        }
    }
    auto* outputs = new QTreeWidgetItem(root, {tr("System Outputs (%1)").arg(s.m_outputs.Size())});
    for (CExternalOutputCategory* cat : s.m_outputCategories) {
        auto* c = new QTreeWidgetItem(outputs, {Q(cat->m_name)});
        for (CExternalOutput* out : cat->m_members.Items()) new QTreeWidgetItem(c, {Q(out->m_name)});
    }
    root->setExpanded(true);
    inputs->setExpanded(true);
    modules->setExpanded(true);
    outputs->setExpanded(true);
}

CFeedbackPane::CFeedbackPane(QWidget* parent) : QTabWidget(parent) {
    const char* titles[] = {"System Build Feedback", "System Execution Feedback", "Output Results"};
    for (int i = 0; i < 3; ++i) {
        m_lists[i] = new QListWidget(this);
        m_lists[i]->setUniformItemSizes(true);
        addTab(m_lists[i], tr(titles[i]));
    }
}

void CFeedbackPane::Refresh(const CFeedback& f) {
    const CFeedbackList* lists[] = {&f.build, &f.execution, &f.results};
    for (int i = 0; i < 3; ++i) {
        const CFeedbackList& l = *lists[i];
        // Rebuild only when the list changed (count or newest line).
        const std::string top = l.Empty() ? std::string() : l.Line(0);
        if (m_filled && l.Size() == m_shown[i] && top == m_top[i]) continue;
        m_lists[i]->clear();
        const size_t n = std::min<size_t>(l.Size(), kFeedbackShown);
        for (size_t k = 0; k < n; ++k) {
            QString line = Q(l.Line(k));
            while (line.endsWith('\n')) line.chop(1);
            m_lists[i]->addItem(line);
        }
        m_shown[i] = l.Size();
        m_top[i] = top;
    }
    m_filled = true;
}

CSimPane::CSimPane(QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout(this);
    CSystem empty;
    for (const CSimPaneRow& row : SimPaneRows(empty)) {
        auto* label = new QLabel(Q(row.label), this);
        auto* value = new QLabel(this);
        value->setObjectName(Q(row.label));
        if (row.value.empty()) {
            QFont f = label->font();
            f.setBold(true);
            label->setFont(f);
        }
        form->addRow(label, value);
        m_rows.emplace_back(label, value);
    }
}

void CSimPane::Refresh(const CSystem& system) {
    const auto rows = SimPaneRows(system);
    for (size_t i = 0; i < rows.size() && i < m_rows.size(); ++i) m_rows[i].second->setText(Q(rows[i].value));
}

QString CSimPane::Value(const QString& label) const {
    for (const auto& [l, v] : m_rows)
        if (l->text() == label) return v->text();
    return QString();
}

}  // namespace zor2::gui
