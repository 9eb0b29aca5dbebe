// The document: change recording, the project flows (new, open, save, save
// as, runtime export) and the undo snapshots of the whole system.
#include "designer/document.h"

#include <sys/stat.h>

#include <cstring>

#include "engine/catalogue.h"
#include "persistence/runtime_export.h"
#include "simulation/sim_sounds.h"

namespace zor2 {

namespace {

/// The file name without its folder.
std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// The file name without folder and extension.
std::string FileTitle(const std::string& path) {
    std::string name = FileName(path);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

Czor2Doc::Czor2Doc() : CSystemUndo(m_system) {
    // The recorder attached itself to the system; the document sits in front
    // of it so that batches and lines without text are handled here.
    m_system.SetRecorder(this);
    m_system.NewProject();
    CheckPoint();
}

Czor2Doc::~Czor2Doc() {
    // The project closes: its sounds stop. An owner destroys its player only
    // after detaching it from the system.
    if (ISimSounds* sounds = m_system.Sounds()) sounds->CloseAll();
    m_learning.Stop();
    m_system.SetRecorder(nullptr);
    ClearUndoList();
    ClearRedoList();
}

// --- recording --------------------------------------------------------------

void Czor2Doc::RecordChange(const std::string& feedbackLine) {
    if (m_batchDepth > 0) return;
    if (m_learning.Running()) {
        // The checkpoint follows when the run is collected.
        if (!feedbackLine.empty()) m_system.BuildFeedback(feedbackLine);
        m_recorder.SetModified(true);
    } else if (!feedbackLine.empty()) {
        m_recorder.RecordChange(feedbackLine);
    } else {
        m_recorder.SetModified(true);
        CheckPoint();
    }
    if (m_observer) m_observer->OnChangeRecorded(feedbackLine);
}

void Czor2Doc::NotifyCountIO() {
    if (m_link)
        m_link->SendCountIO(static_cast<int32_t>(m_system.m_inputs.Size()),
                            static_cast<int32_t>(m_system.m_outputs.Size()));
}

// --- neural network learning ----------------------------------------------

bool Czor2Doc::StopLearning() {
    if (!m_learning.Stop()) return false;
    RecordChange("");
    return true;
}

bool Czor2Doc::PollLearning() {
    if (!m_learning.Poll()) return false;
    RecordChange("");
    return true;
}

// --- undo -------------------------------------------------------------------

void Czor2Doc::AfterRestore() {
    m_editor.Prune(m_system);
    m_system.ComputeLevels();
    if (m_observer) m_observer->OnDocumentReloaded();
}

bool Czor2Doc::UndoChange() {
    if (!Undo()) return false;
    SetModified(true);
    return true;
}

bool Czor2Doc::RedoChange() {
    if (!Redo()) return false;
    SetModified(true);
    return true;
}

// --- project flows ----------------------------------------------------------

bool Czor2Doc::SaveModified() {
    if (!IsModified()) return true;
    const std::string title = m_path.empty() ? m_system.m_name : FileName(m_path);
    switch (Prompter().Ask("Save changes to " + title + "?", EButtons::YesNoCancel)) {
        case EAnswer::No:
            return true;
        case EAnswer::Yes:
            break;
        default:
            return false;
    }
    std::string path = m_path;
    if (path.empty()) {
        if (!m_choosePath) return false;
        path = m_choosePath();
        if (path.empty()) return false;
    }
    return static_cast<bool>(Save(path));
}

void Czor2Doc::StartFresh(const std::string& path) {
    // A new or loaded project starts unmodified in the system view, its
    // present state the only undo level; the sounds of the one it replaced stop.
    if (ISimSounds* sounds = m_system.Sounds()) sounds->CloseAll();
    m_path = path;
    SetModified(false);
    m_editor.ShowSystem();
    ClearUndoList();
    ClearRedoList();
    CheckPoint();
    AfterRestore();
    if (m_onClean) m_onClean();
}

bool Czor2Doc::NewProject() {
    // Closing the project ends a learning run; its result may still be saved.
    StopLearning();
    if (!SaveModified()) return false;
    m_system.NewProject();
    StartFresh({});
    NotifyCountIO();
    return true;
}

CFileResult Czor2Doc::LoadAndReplace(const std::string& path) {
    CFileResult r = LoadProjectFile(m_system, path);
    if (!r) return r;
    m_system.ComputeLevels();
    StartFresh(path);
    if (m_link) m_link->OnProjectLoaded(m_system);
    return r;
}

CFileResult Czor2Doc::Open(const std::string& path) {
    StopLearning();
    m_system.BuildFeedback("About to open Corvel Mindlatch2 file: " + path + "\n");
    CFileResult r = LoadAndReplace(path);
    if (!r) Prompter().Warn(r.message + ". The current project was kept unchanged.");
    return r;
}

CFileResult Czor2Doc::OpenThroughFramework(const std::string& path) {
    if (!FileExists(path)) return CFileResult::Failure("No file " + path);
    StopLearning();
    if (!SaveModified()) return CFileResult::Failure("Cancelled");
    CFileResult r = LoadAndReplace(path);
    if (!r) Prompter().Warn(r.message + ". The current project was kept unchanged.");
    return r;
}

CFileResult Czor2Doc::SaveTo(const std::string& path) {
    CFileResult r = SaveProjectFile(m_system, path);
    if (!r) {
        Prompter().Warn(r.message);
        return r;
    }
    m_path = path;
    SetModified(false);
    if (m_onClean) m_onClean();
    return r;
}

CFileResult Czor2Doc::OpenRecovered(const std::string& autosavePath, const std::string& originalPath) {
    CFileResult r = LoadAndReplace(autosavePath);
    if (!r) {
        Prompter().Warn(r.message + ". The current project was kept unchanged.");
        return r;
    }
    m_path = originalPath;
    SetModified(true);
    m_system.BuildFeedback("Recovered unsaved changes from " + autosavePath + "\n");
    return r;
}

CFileResult Czor2Doc::SaveRenamed(const std::string& path) {
    // A file chosen in the save dialog names the system after its title; a
    // failed save keeps the old name.
    const std::string oldName = m_system.m_name;
    m_system.m_name = FileTitle(path);
    CFileResult r = SaveTo(path);
    if (!r) m_system.m_name = oldName;
    return r;
}

CFileResult Czor2Doc::Save(const std::string& pathIfUntitled) {
    if (!m_path.empty()) return SaveTo(m_path);
    if (pathIfUntitled.empty()) return CFileResult::Failure("Cancelled Save!");
    return SaveRenamed(pathIfUntitled);
}

CFileResult Czor2Doc::SaveAs(const std::string& path) {
    if (path.empty()) {
        Trace("Cancelled Save!\n");
        return CFileResult::Failure("Cancelled Save!");
    }
    // The same dialog as Save's, with the same effect on the system's name.
    return SaveRenamed(path);
}

CFileResult Czor2Doc::ExportRuntime(const std::string& path, CRuntimeExportInfo* info) {
    bool csvComponents = false;
    for (const CNetwork* m : m_system.m_modules)
        for (const CNetworkModel* c : m->m_components)
            if (TypeTraits(c->m_typeId).notExported) csvComponents = true;
    if (csvComponents)
        Prompter().Tell(
            "Your AI System currently utilizes one or more CSV Log Models. NOTE: These models will not be exported as they are for in-IDE use only, and not supported in the runtime module.");
    if (path.empty()) return CFileResult::Failure("Cancelled");
    if (std::string why = RuntimeExportRefusal(m_system); !why.empty())
        return CFileResult::Failure(std::move(why));
    if (const int e = ExportRuntimeFile(m_system, path); e != 0) {
        CFileResult r =
            CFileResult::Failure("Cannot write the runtime file " + path + ": " + std::strerror(e));
        Prompter().Warn(r.message);
        return r;
    }
    if (const int e = WriteManifest(m_system, path); e != 0)
        Prompter().Warn("There was an error (e: " + std::to_string(e) +
                        ") in trying to create the manifest file.");
    if (info) {
        info->runtimeFileName = FileName(path);
        info->manifestFileName = ManifestFileName(path);
        info->projectName = m_system.m_name;
    }
    SetModified(true);
    return {};
}

}  // namespace zor2
