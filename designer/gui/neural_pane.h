// CPaneNeuralNetwork: the docking pane "Neural Network Feature Vectors" — the
// learning buttons, the run's counters and the list of the network's vectors.
#pragma once

#include <QWidget>
#include <cstddef>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace zor2 {
class CModelNeuralNetwork;
}

namespace zor2::gui {

class CPaneNeuralNetwork : public QWidget {
    Q_OBJECT
  public:
    explicit CPaneNeuralNetwork(QWidget* parent = nullptr);
    /// Shows `network` with its vector list, or an empty pane for null. The list
    /// is rebuilt only while the network does not learn.
    void Show(const CModelNeuralNetwork* network);
    /// The counters alone (each tick of a learning run).
    void ShowProgress(const CModelNeuralNetwork& network);
    /// The value beside "Iterations:", "Total Vectors:", "Learned:" or "Learn Time:".
    QString Value(const QString& label) const;
    QTableWidget* List() const { return m_list; }
    QPushButton* LearnButton() const { return m_learn; }
    QPushButton* EraseButton() const { return m_erase; }
    QPushButton* ImportButton() const { return m_import; }

  signals:
    void learnClicked();
    void eraseClicked();
    void importClicked();
    void rowsSelected(const std::vector<size_t>& rows);

  private:
    QPushButton* m_learn = nullptr;
    QPushButton* m_erase = nullptr;
    QPushButton* m_import = nullptr;
    QLabel* m_values[4] = {};
    QTableWidget* m_list = nullptr;
};

}  // namespace zor2::gui
