// What the designer's commands ask of the window that hosts them (file paths,
// colours, dialog answers, panes, printing), and the one context value the
// command rows read and run with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zor2 {

class Czor2Doc;
class CSimController;
class CUdpLink;
class CNetwork;
class CSystem;
struct CGraphicClipboard;
struct CSystemInputData;
struct CSystemOutputData;
struct CBehaviorData;
struct CValueWindowSettings;
struct CDataConnectionRequest;
struct CRuntimeExportInfo;
class CPropertySheet;
class CLoadDataWizard;
class CDecisionMatrixEditor;

/// The files a command asks a path for.
enum class EPathKind {
    Project,  // ".zr2"
    Module,   // ".zrm"
    Runtime,  // ".z2r"
    Csv,      // system inputs or outputs to import
};

/// The window's panes and bars whose visibility a command shows and switches.
enum class EPane {
    SystemStructure,
    SimulationControls,
    Feedback,
    StatusBar,
    PaletteLogic,
    PaletteMath,
    PaletteSignals,
    PaletteUtility,
    PaletteDecision,
    NeuralNetwork,     // "Neural Network Feature Vectors"
    SequenceTimeline,  // "Action Sequence Timeline"
};
/// One past the last pane: arrays indexed by pane take this size.
inline constexpr int kPaneCount = static_cast<int>(EPane::SequenceTimeline) + 1;

enum class EPrintJob { Print, QuickPrint, Preview, Setup };

/// The window side of the commands. Every question defaults to a cancelled
/// dialog and every request to nothing, so a host overrides what it offers
/// (the Qt window all of it, a test the answers it scripts).
class ICommandHost {
  public:
    virtual ~ICommandHost() = default;

    // Paths; empty when the dialog was cancelled.
    virtual std::string ChooseOpenPath(EPathKind) { return {}; }
    /// `name` is the suggested file name without its extension.
    virtual std::string ChooseSavePath(EPathKind, const std::string& name) { return {}; }
    /// A colour stored 0xBBGGRR; nothing when cancelled.
    virtual std::optional<int32_t> ChooseColour(int32_t current) { return std::nullopt; }
    /// The text typed into a ribbon field of the command `id`.
    virtual std::string FieldText(int id) const { return {}; }

    // Dialogs: true when confirmed, with the edited values.
    virtual bool EditNameDescription(const std::string& title, std::string& name, std::string& description) {
        return false;
    }
    /// The system input dialog; `inputId` names an existing input (its
    /// behaviours are listed and may be added to), 0 a new one.
    virtual bool EditSystemInput(const std::string& title, CSystemInputData&, int32_t inputId) {
        return false;
    }
    virtual bool EditSystemOutput(const std::string& title, CSystemOutputData&) { return false; }
    virtual bool EditBehavior(const std::string& inputName, CBehaviorData&) { return false; }
    virtual bool EditCategory(std::string& name) { return false; }
    virtual bool EditGraphicText(std::string& text) { return false; }
    virtual bool EditValueWindow(CValueWindowSettings&) { return false; }
    /// The property sheet of a component's type.
    virtual bool EditProperties(CPropertySheet&) { return false; }
    /// The decision matrix dialog: the table's edits run through `editor` as
    /// they are made; true when closed with OK (the sheet's name and description apply).
    virtual bool EditDecisionMatrix(CDecisionMatrixEditor&, CPropertySheet&) { return false; }
    virtual bool AskDataConnection(const CNetwork& module, CDataConnectionRequest&) { return false; }
    /// "System Properties": true with the edited description.
    virtual bool EditProjectInfo(std::string& description) { return false; }
    /// Runs the "Load Data Wizard"; true when it ended with Finish and a file.
    virtual bool RunLoadDataWizard(CLoadDataWizard&) { return false; }
    virtual void ShowBehaviors() {}
    virtual void EditOptions() {}
    virtual void ShowExportSuccess(const std::string& runtimePath, const CRuntimeExportInfo&) {}
    /// Runs the designer engine and the runtime library side by side on `system`
    /// and returns the report; nothing when this host has no runtime library.
    virtual std::optional<std::string> VerifyRuntimeEquivalence(CSystem&) { return std::nullopt; }
    /// Shows a finished report in a window of its own.
    virtual void ShowReport(const std::string& title, const std::string& text) {}
    virtual void ShowWelcome() {}
    virtual void About() {}

    // The window.
    virtual bool PaneVisible(EPane) const { return false; }
    virtual void SetPaneVisible(EPane, bool) {}
    virtual void Print(EPrintJob) {}
    virtual void Close() {}
    /// A project file was opened or saved (the recent-file list).
    virtual void FileUsed(const std::string& path) {}

    // The clipboard of copied components and modules (project-file records).
    virtual void PutOnClipboard(const std::vector<uint8_t>& bytes) {}
    virtual std::vector<uint8_t> ClipboardBytes() const { return {}; }
    /// Cheaper than reading the bytes: whether the clipboard holds copied items.
    virtual bool ClipboardHoldsItems() const { return !ClipboardBytes().empty(); }
    /// Where a paste goes, in world coordinates; false leaves it to the command.
    virtual bool PastePoint(int32_t& x, int32_t& y) const { return false; }

    // The view: scrolling and mode changes the editor state does not hold.
    virtual void ShowSystem() {}
    virtual void ShowModule(CNetwork&) {}
    virtual void CenterView() {}
};

/// Everything a command row reads and acts on. The rules are functions of it
/// alone; the simulator, the link and the clipboard may be absent.
struct CCommandContext {
    Czor2Doc& doc;
    ICommandHost& host;
    CSimController* sim = nullptr;
    CUdpLink* link = nullptr;
    CGraphicClipboard* clipboard = nullptr;
};

}  // namespace zor2
