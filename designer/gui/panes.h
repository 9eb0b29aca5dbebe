// The docking panes: system structure tree, component palettes, the three
// feedback lists and the simulation control pane.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <vector>

#include "engine/system.h"

namespace zor2::gui {

/// The component palette: a search field over every palette group, each group
/// a heading in one list; entries drag their type id onto the module design view.
class CPalette : public QWidget {
    Q_OBJECT
  public:
    explicit CPalette(QWidget* parent = nullptr);
    void Fill(const CSystem& system);
    /// Shows only the components whose names hold every word typed.
    void SetFilter(const QString& text);
    void SetGroupShown(int group, bool shown);
    bool GroupShown(int group) const;
    QLineEdit* Search() const { return m_search; }
    QTreeWidget* Tree() const { return m_tree; }
    /// The type ids listed now, in order (the filter and hidden groups applied).
    QList<int> Listed() const;
    /// The mime data a drag of the entry of `typeId` carries.
    static QMimeData* MimeFor(int typeId);

  private:
    const CSystem* m_system = nullptr;
    QLineEdit* m_search;
    QTreeWidget* m_tree;
    QList<int> m_hiddenGroups;
};

class CStructureTree : public QTreeWidget {
    Q_OBJECT
  public:
    explicit CStructureTree(QWidget* parent = nullptr);
    void Rebuild(const CSystem& system);

  signals:
    void openModule(int moduleId);
};

/// The three feedback lists, newest line on top.
class CFeedbackPane : public QTabWidget {
    Q_OBJECT
  public:
    explicit CFeedbackPane(QWidget* parent = nullptr);
    void Refresh(const CFeedback& feedback);
    QListWidget* List(int index) const { return m_lists[index]; }

  private:
    QListWidget* m_lists[3];
    size_t m_shown[3] = {0, 0, 0};
    std::string m_top[3];
    bool m_filled = false;
};

/// Labels and values of the simulation control pane.
class CSimPane : public QWidget {
    Q_OBJECT
  public:
    explicit CSimPane(QWidget* parent = nullptr);
    void Refresh(const CSystem& system);
    /// The value shown beside `label`, for tests and the status bar.
    QString Value(const QString& label) const;

  private:
    std::vector<std::pair<QLabel*, QLabel*>> m_rows;
};

}  // namespace zor2::gui
