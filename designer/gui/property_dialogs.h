// CdlgComponentProperties: one window that renders any component property
// sheet (labels, edits, check boxes, radio groups, up-down controls, lists of
// picks, group boxes and notes), and the call the main window makes for "Component Properties".
#pragma once

#include <QDialog>
#include <QString>
#include <map>
#include <string>

#include "designer/component_properties.h"

class QLabel;
class QListWidget;
class QWidget;

namespace zor2 {
class Czor2Doc;
class CNetworkModel;
}  // namespace zor2

namespace zor2::gui {

class CdlgComponentProperties : public QDialog {
    Q_OBJECT
  public:
    /// Edits `sheet` in place; every control is named after its field's key
    /// (radio buttons "<key>.<index>", up and down buttons "<key>.up"/"<key>.down").
    CdlgComponentProperties(CPropertySheet& sheet, QWidget* parent = nullptr);

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

    CPropertySheet& m_sheet;
    std::map<std::string, QWidget*> m_controls;
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
