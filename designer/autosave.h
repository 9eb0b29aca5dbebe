// Autosave: the open project, while modified, written every few minutes to a
// file in the user's settings folder; offered for recovery at the next start
// after an exit that was not clean; removed after a clean save or exit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "algo/platform.h"

namespace zor2 {

class Czor2Doc;

/// Where the designer keeps its per-user files (beside its settings).
class IUserFolder {
  public:
    virtual ~IUserFolder() = default;
    virtual std::string Path() const = 0;
};

/// An autosave left by a designer that did not exit cleanly.
struct CRecoverable {
    std::string autosavePath;  // the project as it was last autosaved
    std::string originalPath;  // the project's own file, empty when it was untitled
};

class CAutosave {
  public:
    /// Minutes between two autosaves of a project that stays modified.
    static constexpr uint32_t kDefaultIntervalMs = 3 * 60 * 1000;

    /// Starts this designer's session in the folder: its autosave file is
    /// claimed (locked while the session lives, so another designer running
    /// at the same time never takes it for an abandoned one).
    CAutosave(Czor2Doc& doc, IClock& clock, const IUserFolder& folder,
              uint32_t intervalMs = kDefaultIntervalMs);
    /// Releases the session without removing its autosave: only a clean exit does.
    ~CAutosave();
    CAutosave(const CAutosave&) = delete;
    CAutosave& operator=(const CAutosave&) = delete;

    /// The autosaves of sessions that ended without a clean exit, newest first.
    std::vector<CRecoverable> FindRecoverable() const;
    /// Asks about each one through the document's prompter, newest first:
    /// Yes opens it as the modified project of its original file (and stops),
    /// No removes it, Cancel keeps it for the next start. True when one was opened.
    bool OfferRecovery();

    /// The window's timer: writes the autosave when the project is modified,
    /// differs from the last autosave and the interval has passed since the
    /// last write or since a tick first found it modified. True when it wrote.
    bool Tick();
    /// Writes the autosave now (atomically); false with the reason in the
    /// build feedback when it cannot.
    bool WriteNow();
    /// The project was saved, created or opened: its autosave is no longer needed.
    void Discard();
    /// A clean exit: the autosave is removed and the session ends.
    void OnCleanExit();

    const std::string& FilePath() const { return m_file; }

  private:
    Czor2Doc& m_doc;
    IClock& m_clock;
    std::string m_folder;
    std::string m_session;
    std::string m_file;  // <folder>/autosave-<session>.zr2
    std::string m_lock;  // <folder>/autosave-<session>.lock
    int m_lockFd = -1;
    uint32_t m_intervalMs;
    uint32_t m_lastWriteMs = 0;
    std::vector<uint8_t> m_written;  // the bytes last autosaved
};

}  // namespace zor2
