// Czor2Doc: the designer's document. It owns the one system, the editor
// state, the file path and modified flag, runs the new/open/save/export flows
// and is the single change-recording routine (modified, feedback line, undo
// checkpoint) behind every editing command.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "designer/change_recorder.h"
#include "designer/editor_state.h"
#include "designer/neural_learning.h"
#include "designer/undo.h"
#include "engine/report.h"
#include "engine/system.h"
#include "persistence/project_file.h"
#include "realtime/udp_link.h"

namespace zor2 {

/// The real-time link as the document sees it. The document announces the
/// numbers of system inputs and outputs ("$ZOR_COUNTIO") after the edits that
/// may change them and after a project was created or opened.
class ILinkNotifier {
  public:
    virtual ~ILinkNotifier() = default;
    virtual void SendCountIO(int32_t systemInputs, int32_t systemOutputs) = 0;
    /// A project was loaded from a file: the link announces it ("$ZOR_PRESENT",
    /// the counts and the port details).
    virtual void OnProjectLoaded(const CSystem& system) = 0;
};

/// The real-time link behind the document's announcements.
class CUdpLinkNotifier final : public ILinkNotifier {
  public:
    explicit CUdpLinkNotifier(CUdpLink& link) : m_link(link) {}
    void SendCountIO(int32_t, int32_t) override { m_link.SendCountIO(); }
    void OnProjectLoaded(const CSystem&) override { m_link.AnnounceProject(); }

  private:
    CUdpLink& m_link;
};

/// What the GUI refreshes when the document changes. Defaults do nothing.
class IDocumentObserver {
  public:
    virtual ~IDocumentObserver() = default;
    /// After every recorded change (the system structure pane).
    virtual void OnChangeRecorded(const std::string& feedbackLine) {}
    /// After the system was replaced (new, open, undo, redo): every view and pane.
    virtual void OnDocumentReloaded() {}
};

/// What the "Successful Runtime Export" dialog shows.
struct CRuntimeExportInfo {
    std::string runtimeFileName;   // "%s.%s": name and extension
    std::string manifestFileName;  // "ZOR2_RT_MANIFEST_%s.txt"
    std::string projectName;
};

class Czor2Doc : public CSystemUndo, public IChangeRecorder {
  public:
    Czor2Doc();
    ~Czor2Doc() override;
    Czor2Doc(const Czor2Doc&) = delete;
    Czor2Doc& operator=(const Czor2Doc&) = delete;

    CSystem& System() { return m_system; }
    const CSystem& System() const { return m_system; }
    CEditorState& Editor() { return m_editor; }
    const CEditorState& Editor() const { return m_editor; }

    // Services; the document does not own them. Null restores the default
    // (a prompter that answers Yes and shows nothing; no link; no observer).
    void SetPrompter(IPrompter* prompter) { m_system.SetPrompter(prompter); }
    IPrompter& Prompter() const { return m_system.Prompter(); }
    void SetLink(ILinkNotifier* link) { m_link = link; }
    void SetObserver(IDocumentObserver* observer) { m_observer = observer; }
    /// Chooses a path for saving an untitled project when the user agrees to
    /// save it (the save dialog). An empty result means the dialog was cancelled.
    void SetSavePathChooser(std::function<std::string()> chooser) { m_choosePath = std::move(chooser); }

    const std::string& Path() const { return m_path; }
    bool IsModified() const { return m_recorder.Modified(); }
    void SetModified(bool modified) { m_recorder.SetModified(modified); }

    // --- recording ---------------------------------------------------------
    /// The single change-recording routine: marks the document modified, puts
    /// `feedbackLine` on top of "System Build Feedback" (an empty line adds
    /// none) and takes one undo checkpoint. Inside a CChangeBatch nothing is
    /// written and no checkpoint is taken; the batch's owner records once.
    void RecordChange(const std::string& feedbackLine) override;
    /// Sends "$ZOR_COUNTIO" with the current counts through the link.
    void NotifyCountIO();

    // --- project flows (the caller has asked for any path) -----------------
    /// Offers to save a modified project: "Save changes to %s?" with Yes, No
    /// and Cancel. Returns false when the user cancelled (or a save failed).
    bool SaveModified();
    /// "New": offers to save, then empties the system (catalogue, default
    /// categories), clears the undo history and takes the first checkpoint.
    /// Returns false when the offer to save was cancelled.
    bool NewProject();
    /// The open command after its file dialog. The file is read into a spare
    /// system first: a file that cannot be read is reported and the current
    /// project, its path and its undo history stay as they were. On success the
    /// undo history restarts with the loaded state as its first level.
    CFileResult Open(const std::string& path);
    /// Opening from the recent-file list, the command line or a dropped file:
    /// nothing happens when the file does not exist; no feedback line.
    CFileResult OpenThroughFramework(const std::string& path);
    /// Recovery of an autosave: the file at `autosavePath` replaces the project
    /// as Open does, then the project takes `originalPath` (empty: untitled)
    /// and stays modified, so that nothing is lost until the user saves it.
    CFileResult OpenRecovered(const std::string& autosavePath, const std::string& originalPath);
    /// Called whenever the project stops differing from a file or is new: after
    /// a successful save, a new project and an opened one (the autosave).
    void SetCleanListener(std::function<void()> listener) { m_onClean = std::move(listener); }
    /// The save command: saves to the document's path; an untitled project is
    /// saved to `pathIfUntitled` and takes that file's title as system name.
    CFileResult Save(const std::string& pathIfUntitled = {});
    /// The save-as command after its dialog.
    CFileResult SaveAs(const std::string& path);
    /// "Export Runtime System" after its dialog: the CSV-component notice,
    /// the runtime file, the manifest, then the project is marked modified.
    CFileResult ExportRuntime(const std::string& path, CRuntimeExportInfo* info = nullptr);

    // --- neural network learning --------------------------------------------
    /// The learning run. While it runs the commands refuse every edit
    /// (RefusedWhileLearning), and a change recorded all the same takes no
    /// undo checkpoint, since the snapshot would read the network the worker writes.
    CNeuralLearning& Learning() { return m_learning; }
    const CNeuralLearning& Learning() const { return m_learning; }
    /// Stops the run; the learned weights are recorded as one change. False
    /// when no network was learning.
    bool StopLearning();
    /// The window's timer tick: true when the run ended by itself and has been
    /// recorded (the window then refreshes everything).
    bool PollLearning();

    // --- undo ---------------------------------------------------------------
    /// Steps back or forward one recorded change; the editor selection is
    /// pruned and the levels recomputed. False when there is nothing to do.
    bool UndoChange();
    bool RedoChange();

  protected:
    /// After an undo or redo replaced the system (snapshots are read into a
    /// spare system and swapped in only when complete): prunes the selection,
    /// recomputes the levels and tells the observer.
    void AfterRestore() override;

  private:
    friend class CChangeBatch;
    CFileResult SaveTo(const std::string& path);
    /// Saves to a file chosen in the save dialog: the system takes the file's title as its name.
    CFileResult SaveRenamed(const std::string& path);
    CFileResult LoadAndReplace(const std::string& path);
    /// After the system was replaced: `path`, unmodified, system view, one undo level.
    void StartFresh(const std::string& path);

    CSystem m_system;
    CChangeRecorder m_recorder{m_system, *this};
    CEditorState m_editor;
    std::string m_path;
    ILinkNotifier* m_link = nullptr;
    IDocumentObserver* m_observer = nullptr;
    std::function<std::string()> m_choosePath;
    std::function<void()> m_onClean;
    int m_batchDepth = 0;
    // Last, so that it is destroyed first: the worker stops before the system goes.
    CNeuralLearning m_learning;
};

/// Groups engine operations that each record a change into one command: while
/// a batch lives, RecordChange writes nothing and takes no checkpoint. The
/// command records its own single line afterwards.
class CChangeBatch {
  public:
    explicit CChangeBatch(Czor2Doc& doc) : m_doc(doc) { ++m_doc.m_batchDepth; }
    ~CChangeBatch() { --m_doc.m_batchDepth; }
    CChangeBatch(const CChangeBatch&) = delete;
    CChangeBatch& operator=(const CChangeBatch&) = delete;

  private:
    Czor2Doc& m_doc;
};

}  // namespace zor2
