// The neural network's vectors pane: buttons, counters and the vector list.
#include "designer/gui/neural_pane.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "components/decision/neural_network.h"
#include "designer/commands_neural.h"

namespace zor2::gui {
namespace {

constexpr const char* kLabels[] = {"Iterations:", "Total Vectors:", "Learned:", "Learn Time:"};

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

CPaneNeuralNetwork::CPaneNeuralNetwork(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    m_learn = new QPushButton(tr("Learn"), this);
    m_erase = new QPushButton(tr("Erase"), this);
    m_import = new QPushButton(tr("Import Additional Vectors"), this);
    for (QPushButton* b : {m_learn, m_erase, m_import}) buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    auto* form = new QFormLayout;
    for (int i = 0; i < 4; ++i) {
        m_values[i] = new QLabel(this);
        m_values[i]->setObjectName(QString::fromLatin1(kLabels[i]));
        form->addRow(new QLabel(QString::fromLatin1(kLabels[i]), this), m_values[i]);
    }
    layout->addLayout(form);
    m_list = new QTableWidget(this);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->verticalHeader()->setVisible(false);
    layout->addWidget(m_list, 1);
    connect(m_learn, &QPushButton::clicked, this, &CPaneNeuralNetwork::learnClicked);
    connect(m_erase, &QPushButton::clicked, this, &CPaneNeuralNetwork::eraseClicked);
    connect(m_import, &QPushButton::clicked, this, &CPaneNeuralNetwork::importClicked);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, [this] {
        std::vector<size_t> rows;
        for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
            rows.push_back(static_cast<size_t>(index.row()));
        emit rowsSelected(rows);
    });
    Show(nullptr);
}

void CPaneNeuralNetwork::Show(const CModelNeuralNetwork* nn) {
    for (QPushButton* b : {m_learn, m_erase, m_import}) b->setEnabled(nn != nullptr);
    if (!nn) {
        for (QLabel* v : m_values) v->clear();
        m_list->clear();
        m_list->setRowCount(0);
        m_list->setColumnCount(0);
        return;
    }
    ShowProgress(*nn);
    // While the network learns, its vectors belong to the worker.
    if (nn->m_learning) return;
    const QSignalBlocker block(m_list);
    const std::vector<std::string> columns = NNVectorColumns(*nn);
    m_list->clear();
    m_list->setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    for (const std::string& c : columns) titles << Q(c);
    m_list->setHorizontalHeaderLabels(titles);
    const size_t rows = nn->Network().m_vectors.size();
    m_list->setRowCount(static_cast<int>(rows));
    for (size_t r = 0; r < rows; ++r) {
        const std::vector<std::string> cells = NNVectorRow(*nn, r);
        for (size_t c = 0; c < cells.size(); ++c)
            m_list->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(Q(cells[c])));
    }
    for (size_t r : nn->m_selectedVectors)
        m_list->selectionModel()->select(m_list->model()->index(static_cast<int>(r), 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void CPaneNeuralNetwork::ShowProgress(const CModelNeuralNetwork& nn) {
    const CNNPaneFields f = NNPaneFields(nn);
    const std::string* values[] = {&f.iterations, &f.totalVectors, &f.learned, &f.learnTime};
    for (int i = 0; i < 4; ++i) m_values[i]->setText(Q(*values[i]));
}

QString CPaneNeuralNetwork::Value(const QString& label) const {
    for (int i = 0; i < 4; ++i)
        if (label == QLatin1String(kLabels[i])) return m_values[i]->text();
    return QString();
}

}  // namespace zor2::gui
