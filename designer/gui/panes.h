// The docking panes: system structure tree, component palettes, the three
// feedback lists and the simulation control pane.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <vector>

#include "engine/system.h"

namespace zor2::gui {

/// One palette group; entries drag their type id onto the module design view.
class CPaletteList : public QListWidget {
    Q_OBJECT
  public:
    CPaletteList(int group, QWidget* parent = nullptr);
    void Fill(const CSystem& system);
    int Group() const { return m_group; }
    /// The mime data a drag of the entry of `typeId` carries.
    static QMimeData* MimeFor(int typeId);

  protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

  private:
    int m_group;
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
