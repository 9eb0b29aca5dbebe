// The "Action Sequencer" pane (shown by "Action Sequence Timeline"): the
// sequences of the selected Pattern Sequencer, its outputs, the status lines and
// the timeline where actions are bars that drag and resize. The core's
// CSequenceEditor holds the rules; this pane draws it and forwards gestures.
#pragma once

#include <QWidget>
#include <functional>

#include "designer/sequence_editor.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace zor2::gui {

/// The time axis with one row per output, cycles as columns and actions as bars.
class CTimelineCanvas : public QWidget {
    Q_OBJECT
  public:
    CTimelineCanvas(CSequenceEditor& editor, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {640, 180}; }

  signals:
    void edited();
    /// A bar was double-clicked: the pane opens its "Action Properties".
    void editAction(int32_t actionId);
    /// A row's label was clicked: the output becomes the pane's selected output.
    void outputChosen(int32_t outputId);

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

  private:
    void Done(ECmd outcome);

    CSequenceEditor& m_editor;
};

class CPaneActionSequencer : public QWidget {
    Q_OBJECT
  public:
    /// `simulate` runs a simulator command ("Run", "Pause", "Stop") as the ribbon does.
    CPaneActionSequencer(Czor2Doc& doc, const CSimController* sim, std::function<void(int)> simulate,
                         QWidget* parent = nullptr);
    CSequenceEditor& Editor() { return m_editor; }
    CTimelineCanvas& Timeline() { return *m_timeline; }
    QListWidget* Sequences() const { return m_sequences; }
    QString Status() const;
    /// Reads the component selected in the view again (after edits, selection changes, undo).
    void Refresh();
    /// After a simulation cycle: the time marker and the status follow the sequence.
    void FollowSimulation();

  private:
    int32_t SelectedOutput() const;
    bool AskSequence(CSequenceSettings& settings);
    bool AskAction(CActionSettings& settings, double start, double duration);

    CSequenceEditor m_editor;
    std::function<void(int)> m_simulate;
    QListWidget* m_sequences = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_output = nullptr;
    CTimelineCanvas* m_timeline = nullptr;
    QWidget* m_controls = nullptr;
    int32_t m_outputId = 0;
    bool m_filling = false;
};

}  // namespace zor2::gui
