// CdlgComponentProperties: one window that renders any component property
// sheet (labels, edits, check boxes, radio groups, up-down controls, group
// boxes, notes, lists, lists of picks, buttons, cell grids, colours and file
// paths), and the call the main window makes for "Component Properties".
#pragma once

#include <QDialog>
#include <QString>
#include <map>
#include <memory>
#include <string>

#include "designer/component_properties.h"

class QLabel;
class QListWidget;
class QWidget;

namespace zor2 {
class IPropertyHost;
}

namespace zor2 {
class Czor2Doc;
class CNetworkModel;
}  // namespace zor2

namespace zor2::gui {

class CdlgComponentProperties : public QDialog {
    Q_OBJECT
  public:
    /// Edits `sheet` in place; every control is named after its field's key
    /// (radio buttons "<key>.<index>", up and down buttons "<key>.up"/"<key>.down",
    /// a grid's paint codes "<key>.paint<code>", a path's button "<key>.browse").
    /// Buttons ask through `host`; without one, through message boxes and file
    /// dialogs of their own.
    CdlgComponentProperties(CPropertySheet& sheet, QWidget* parent = nullptr, IPropertyHost* host = nullptr);
    ~CdlgComponentProperties() override;

    /// OK: closes only when every edited field holds an acceptable value;
    /// otherwise shows the message under the fields and stays open.
    void accept() override;
    /// The last message a refused OK showed (empty when none).
    const QString& LastError() const { return m_error; }

  private:
    QWidget* Build(const CPropField& field);
    /// Brings every control in line with the sheet after an edit ran its rules.
    void Sync();
    void SyncPicks(QListWidget& list, const CPropField& field);

    /// A click on cell `index` of a grid: toggles an on/off grid, paints the chosen code otherwise.
    void PaintCell(const std::string& key, int index);

    CPropertySheet& m_sheet;
    std::unique_ptr<IPropertyHost> m_ownHost;
    IPropertyHost* m_host = nullptr;
    std::map<std::string, QWidget*> m_controls;
    std::map<std::string, int> m_paint;  // a grid's chosen paint code
    QString m_error;
    QLabel* m_errorLabel = nullptr;
    bool m_syncing = false;
};

/// Shows the property window of a sheet; true when it was closed with OK.
bool RunPropertiesDialog(QWidget* parent, CPropertySheet& sheet);

/// "Component Properties" or a double click on a component, as the document's
/// command runs it: refused while the simulator runs; opens the dialog of the
/// component's type and applies it on OK (one undo level when something
/// changed). Returns true when a change was recorded.
bool EditComponentProperties(QWidget* parent, Czor2Doc& doc, CNetworkModel& component);

}  // namespace zor2::gui
