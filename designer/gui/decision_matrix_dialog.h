// "Component Properties - Decision Matrix": the two inputs' thresholds, the
// outputs, and the matrix canvas with two number lines (thresholds drag along
// them) and the grid whose cells pick their output. Every edit runs through the
// core's CDecisionMatrixEditor as it is made; OK applies name and description.
#pragma once

#include <QDialog>
#include <QWidget>

#include "designer/decision_matrix_editor.h"
#include "engine/property_sheet.h"

class QListWidget;
class QLineEdit;
class QPlainTextEdit;

namespace zor2::gui {

/// The number lines and the grid: draws the editor's model and hands it the mouse.
class CMatrixCanvas : public QWidget {
    Q_OBJECT
  public:
    CMatrixCanvas(CDecisionMatrixEditor& editor, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {560, 380}; }

  signals:
    /// An edit was made (the dialog refreshes its lists).
    void edited();
    /// A threshold marker was double-clicked: the dialog asks for its value.
    void editThreshold(int input, int32_t thresholdId);

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

  private:
    void Done(ECmd outcome);

    CDecisionMatrixEditor& m_editor;
};

class CdlgModelDecisionMatrix : public QDialog {
    Q_OBJECT
  public:
    CdlgModelDecisionMatrix(CDecisionMatrixEditor& editor, CPropertySheet& sheet, QWidget* parent = nullptr);
    CMatrixCanvas& Canvas() { return *m_canvas; }
    QListWidget* ThresholdList(int input) const { return m_thresholds[input - 1]; }
    QListWidget* OutputList() const { return m_outputs; }
    /// Fills the lists again from the component after an edit.
    void Sync();

  private:
    QWidget* BuildInput(int input);
    QWidget* BuildOutputs();
    int32_t SelectedThreshold(int input) const;
    int32_t SelectedOutputId() const;
    /// The "Threshold" dialog; false when cancelled.
    bool AskThreshold(double current, double& value);
    /// The output's name and colour; false when cancelled.
    bool AskOutput(const QString& title, std::string& name, int32_t& colour);

    CDecisionMatrixEditor& m_editor;
    CPropertySheet& m_sheet;
    CMatrixCanvas* m_canvas = nullptr;
    QListWidget* m_thresholds[2] = {};
    QListWidget* m_outputs = nullptr;
};

}  // namespace zor2::gui
