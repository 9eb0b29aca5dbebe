// Palettes, structure tree, feedback lists and simulation pane.
#include "designer/gui/panes.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QMimeData>

#include "designer/gui/design_view.h"
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

CPaletteList::CPaletteList(int group, QWidget* parent) : QListWidget(parent), m_group(group) {
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void CPaletteList::Fill(const CSystem& system) {
    clear();
    for (const CModelTemplate* t : system.m_catalogue) {
        if (t->m_group != m_group) continue;
        auto* item = new QListWidgetItem(Q(t->m_name), this);
        item->setData(kTypeRole, t->m_id);
        if (!FindComponentType(t->m_id)) {
            // Listed with its group, but no class for it is built in.
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsDragEnabled));
            item->setToolTip(tr("Not available in this build"));
        } else {
            item->setToolTip(tr("Drag onto a module's design view to add (type %1)").arg(t->m_id));
        }
    }
}

QMimeData* CPaletteList::MimeFor(int typeId) {
    auto* data = new QMimeData;
    data->setData(kComponentMime, QByteArray::number(typeId));
    return data;
}

QMimeData* CPaletteList::mimeData(const QList<QListWidgetItem*>& items) const {
    if (items.isEmpty()) return nullptr;
    return MimeFor(items.front()->data(kTypeRole).toInt());
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
