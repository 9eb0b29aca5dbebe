// The designer's dialogs: generic properties (name and description), system
// properties, the runtime-export report, the application options, system ports,
// the new input connection, categories, value window settings and graphic text.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "designer/commands_charts.h"
#include "designer/commands_common.h"
#include "designer/commands_module.h"
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

/// "Successful Runtime Export" with "View Manifest..." and "OK", and the export report when given.
class CdlgExportSuccess : public QDialog {
    Q_OBJECT
  public:
    CdlgExportSuccess(QWidget* parent, const QString& runtimePath, const QString& manifestPath,
                      const QString& project, const QString& report = {});
    /// "View Manifest...": the platform's viewer, or our own read-only window
    /// when none starts; returns that window (null when a viewer took it).
    QDialog* ViewManifest();
    /// Replaces the platform's viewer (tests): false means it could not start.
    std::function<bool(const QUrl&)> m_openUrl;

  private:
    QString m_manifest;
};

/// "Application Options": the three working folders.
bool EditFolders(QWidget* parent, CDesignerSettings& settings);

}  // namespace zor2::gui

namespace zor2 {
struct CBehaviorData;
class Czor2Doc;
}  // namespace zor2

namespace zor2::gui {

/// "Sim Behavior Properties": edits `data` for the input named `targetInput`.
bool EditBehaviorDialog(QWidget* parent, const QString& targetInput, CBehaviorData& data);
/// "Manage Behavaiors": the system's behaviours, one line each; the selected one
/// shown in "Selected Behavior", edited through `edit` or deleted there.
void ShowBehaviors(QWidget* parent, Czor2Doc& doc,
                   const std::function<bool(const std::string& inputName, CBehaviorData&)>& edit);

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

namespace zor2 {
class CNetwork;
}  // namespace zor2

class QComboBox;
class QLabel;
class QRadioButton;

namespace zor2::gui {

/// "New Input Connection" for `module`: the receiving module input (an
/// existing one without a source, or a new one with the typed name) and the
/// data source (a system input, or another module with one of its outputs or a
/// new output with the typed name). Controls are named for tests: "existingInput",
/// "inputCombo", "newInput", "inputName", "fromSystemInput", "systemInputCombo",
/// "fromModule", "moduleCombo", "existingOutput", "outputCombo", "newOutput", "outputName".
class CdlgNewInputConnection : public QDialog {
    Q_OBJECT
  public:
    CdlgNewInputConnection(const CSystem& system, const CNetwork& module, QWidget* parent = nullptr);
    /// The connection as the controls stand.
    CDataConnectionRequest Request() const;
    /// OK: closes only with a source chosen and a name for every new port;
    /// otherwise shows why under the controls.
    void accept() override;
    const QString& LastError() const { return m_error; }

  private:
    void FillOutputs();
    void UpdateEnabled();

    const CSystem& m_system;
    QRadioButton* m_existingInput = nullptr;
    QRadioButton* m_newInput = nullptr;
    QComboBox* m_inputs = nullptr;
    QLineEdit* m_inputName = nullptr;
    QRadioButton* m_fromSystemInput = nullptr;
    QRadioButton* m_fromModule = nullptr;
    QComboBox* m_systemInputs = nullptr;
    QComboBox* m_modules = nullptr;
    QRadioButton* m_existingOutput = nullptr;
    QRadioButton* m_newOutput = nullptr;
    QComboBox* m_outputs = nullptr;
    QLineEdit* m_outputName = nullptr;
    QLabel* m_errorLabel = nullptr;
    QString m_error;
};

/// "Add Data Connection": the dialog for `module`; OK fills `request`.
bool NewInputConnectionDialog(QWidget* parent, const CSystem& system, const CNetwork& module,
                              CDataConnectionRequest& request);

/// "Edit Category" for an input or output category: OK returns true with the
/// edited name (an empty name is refused under the field). The caller applies
/// it with EditInputCategory / EditOutputCategory.
bool EditCategoryDialog(QWidget* parent, std::string& name);

/// The value window settings dialog ("Data Value Window"): caption, font,
/// font size, precision, suffix, the show flags, transparency and background
/// colour. OK returns true with the edited settings; the caller applies them
/// with ApplyValueWindowSettings. Controls are named "title", "fontName",
/// "fontSize", "precision", "suffix", "showSuffix", "showTitle", "showOutline",
/// "showComponentName", "transparent" and "background".
bool EditValueWindowSettings(QWidget* parent, CValueWindowSettings& settings);

/// The text editor of a background graphic (a double click on it): OK returns
/// true with the edited text; the caller applies it with SetGraphicText.
bool EditGraphicText(QWidget* parent, std::string& text);

}  // namespace zor2::gui
