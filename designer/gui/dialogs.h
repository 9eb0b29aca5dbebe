// The designer's dialogs: generic properties (name and description), system
// properties, the runtime-export report and the application options.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "designer/gui/settings.h"
#include "engine/system.h"

class QLineEdit;
class QPlainTextEdit;

namespace zor2::gui {

/// A name and description editor with the given title ("Component Properties",
/// module or system port dialogs). OK returns true with the edited texts.
bool EditNameDescription(QWidget* parent, const QString& title, std::string& name, std::string& description);

/// The text of the "System Properties" dialog for the system.
QString SystemPropertiesText(const CSystem& system);
/// "System Properties": shows the project information; OK returns the edited description.
bool ShowSystemProperties(QWidget* parent, const CSystem& system, std::string& description);

/// "Successful Runtime Export" with "View Manifest..." and "OK".
class CdlgExportSuccess : public QDialog {
    Q_OBJECT
  public:
    CdlgExportSuccess(QWidget* parent, const QString& runtimePath, const QString& manifestPath,
                      const QString& project);

  private:
    QString m_manifest;
};

/// "Application Options": the three working folders.
bool EditFolders(QWidget* parent, CDesignerSettings& settings);

}  // namespace zor2::gui

namespace zor2 {
struct CBehaviorData;
}

namespace zor2::gui {

/// "Sim Behavior Properties": edits `data` for the input named `targetInput`.
bool EditBehaviorDialog(QWidget* parent, const QString& targetInput, CBehaviorData& data);
/// "Manage Behavaiors": the system's behaviours, one line each.
void ShowBehaviors(QWidget* parent, const CSystem& system);

}  // namespace zor2::gui

namespace zor2 {
struct CSystemInputData;
struct CSystemOutputData;
}  // namespace zor2

namespace zor2::gui {

/// The system input dialog ("Add System Input" or "Edit Input"): name,
/// category, initial value, decimals, description, or a data file column.
/// `behaviorLines` fills the "Simulation Behaviors" list of an existing input;
/// `addBehavior` (may be empty) is the list's "Add..." button and returns the
/// refreshed lines.
bool EditSystemInputDialog(QWidget* parent, const QString& title, const CSystem& system,
                           CSystemInputData& data, const std::vector<std::string>& behaviorLines,
                           std::function<std::vector<std::string>()> addBehavior);
/// The system output dialog: name, category, description.
bool EditSystemOutputDialog(QWidget* parent, const QString& title, const CSystem& system,
                            CSystemOutputData& data);

}  // namespace zor2::gui
