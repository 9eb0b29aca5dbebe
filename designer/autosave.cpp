// The autosave session: its files, their lock, the timer rule and recovery.
#include "designer/autosave.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "designer/document.h"
#include "persistence/project_file.h"

namespace zor2 {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "autosave-";

/// Opens a session's lock file; -1 when it cannot be opened.
int OpenLock(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

/// Whether no living designer holds the lock of the session.
bool Abandoned(const std::string& lockPath) {
    const int fd = OpenLock(lockPath);
    if (fd < 0) return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

std::string ReadText(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (ReadInputFile(path, bytes, 64 * 1024) != 0) return {};
    return std::string(bytes.begin(), bytes.end());
}

void Remove(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

}  // namespace

CAutosave::CAutosave(Czor2Doc& doc, IClock& clock, const IUserFolder& folder, uint32_t intervalMs)
    : m_doc(doc), m_clock(clock), m_folder(folder.Path()), m_intervalMs(intervalMs) {
    static std::atomic<int> sessions{0};
    m_session = std::to_string(::getpid()) + "-" + std::to_string(++sessions);
    m_file = m_folder + "/" + kPrefix + m_session + ".zr2";
    m_lock = m_folder + "/" + kPrefix + m_session + ".lock";
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    m_lockFd = OpenLock(m_lock);
    if (m_lockFd >= 0) ::flock(m_lockFd, LOCK_EX | LOCK_NB);
    m_lastWriteMs = m_clock.TickMs();
    m_doc.SetCleanListener([this] { Discard(); });
}

CAutosave::~CAutosave() {
    m_doc.SetCleanListener(nullptr);
    if (m_lockFd < 0) return;
    // With nothing to recover the session leaves no trace.
    std::error_code ec;
    if (!fs::exists(m_file, ec)) Remove(m_lock);
    ::close(m_lockFd);
}

std::vector<CRecoverable> CAutosave::FindRecoverable() const {
    struct CFound {
        CRecoverable r;
        fs::file_time_type time;
    };
    std::vector<CFound> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(m_folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kPrefix, 0) != 0 || entry.path().extension() != ".zr2") continue;
        const std::string stem = m_folder + "/" + entry.path().stem().string();
        if (stem + ".zr2" == m_file || !entry.is_regular_file(ec) || !Abandoned(stem + ".lock")) continue;
        found.push_back({{entry.path().string(), ReadText(stem + ".path")}, entry.last_write_time(ec)});
    }
    std::sort(found.begin(), found.end(), [](const CFound& a, const CFound& b) { return a.time > b.time; });
    std::vector<CRecoverable> out;
    for (CFound& f : found) out.push_back(std::move(f.r));
    return out;
}

bool CAutosave::OfferRecovery() {
    for (const CRecoverable& r : FindRecoverable()) {
        const std::string stem = r.autosavePath.substr(0, r.autosavePath.size() - 4);
        const std::string what = r.originalPath.empty() ? "an untitled project" : r.originalPath;
        const EAnswer answer = m_doc.Prompter().Ask(
            "The designer did not close normally. Unsaved changes to " + what +
                " were kept. Recover them?\n\nYes opens them as a modified project; No discards them; Cancel keeps them for the next start.",
            EButtons::YesNoCancel);
        if (answer == EAnswer::Cancel) continue;
        if (answer == EAnswer::Yes) {
            const CFileResult opened = m_doc.OpenRecovered(r.autosavePath, r.originalPath);
            // The recovered work is this session's autosave before the old one goes.
            if (!opened || !WriteNow()) return false;
        }
        Remove(r.autosavePath);
        Remove(stem + ".path");
        Remove(stem + ".lock");
        if (answer == EAnswer::Yes) return true;
    }
    return false;
}

bool CAutosave::Tick() {
    // The interval runs from the first tick that finds the project modified.
    if (!m_doc.IsModified()) {
        m_lastWriteMs = m_clock.TickMs();
        return false;
    }
    if (m_clock.TickMs() - m_lastWriteMs < m_intervalMs) return false;
    return WriteNow();
}

bool CAutosave::WriteNow() {
    m_lastWriteMs = m_clock.TickMs();
    std::vector<uint8_t> bytes = SaveProjectBytes(m_doc.System());
    if (bytes == m_written) return false;
    const std::string original = m_doc.Path();
    CFileResult r = WriteFileAtomically(m_folder + "/" + kPrefix + m_session + ".path",
                                        std::vector<uint8_t>(original.begin(), original.end()));
    if (r) r = WriteFileAtomically(m_file, bytes);
    if (!r) {
        m_doc.System().BuildFeedback("Autosave failed: " + r.message + "\n");
        return false;
    }
    m_written = std::move(bytes);
    return true;
}

void CAutosave::Discard() {
    m_written.clear();
    m_lastWriteMs = m_clock.TickMs();
    Remove(m_file);
    Remove(m_folder + "/" + kPrefix + m_session + ".path");
}

void CAutosave::OnCleanExit() {
    Discard();
    if (m_lockFd >= 0) ::close(m_lockFd);
    m_lockFd = -1;
    Remove(m_lock);
}

}  // namespace zor2
