// The system and module records of the project file, loading into a spare
// system that replaces the open one only on success, and safe file writing.
#include "persistence/project_file.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "algo/platform.h"
#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

// Smallest size of each record, used to check a count before anything is made.
constexpr size_t kConnectionRecordBytes = 7 * 4;
constexpr size_t kComponentMin =
    (4 + 4 + kMinStringBytes + 8) + (4 + 3 * kMinStringBytes + 16 + 4 + 8 + 8 + 8 + 4 + 3 + 4 + 8 + 4 * 4);
constexpr size_t kModuleInputMin = 4 + 2 * kMinStringBytes + 4 + 4 + 4;
constexpr size_t kModuleOutputMin = 4 + 2 * kMinStringBytes + 4 + 4;
constexpr size_t kTiePointMin = 4 + 4 + 16 + kMinStringBytes;
constexpr size_t kTieBlockMin = 1 + 4 * 4 + 4;
constexpr size_t kModuleMin = 4 + 3 * kMinStringBytes + 8 + 3 + 8 + 3 * 4 + kTieBlockMin;
constexpr size_t kModuleConnectionBytes = 5 * 4;
constexpr size_t kExternalConnectionBytes = 4 * 4;
constexpr size_t kSystemInputMin = 4 + 3 * kMinStringBytes + 3 * 4 + 8 + 4;
constexpr size_t kSystemOutputMin = 4 + 4 + 2 * kMinStringBytes + 4 + 4 + 1;
constexpr size_t kCategoryMin = 4 + 2 * kMinStringBytes + 4 + 1 + 1;

int32_t Count(size_t n) {
    return static_cast<int32_t>(n);
}

/// Moves `count` records of a list: writes each member, or (loading) checks
/// the count (read at `countAt`) and reads that many fresh members, appending
/// each one read.
template <class T, class Fields>
void Records(CArchive& ar, CObList<T>& list, int32_t count, size_t countAt, size_t minBytes, const char* what,
             Fields fields) {
    if (ar.IsStoring()) {
        for (T* item : list) {
            ar.Mark(what);
            fields(*item);
        }
        return;
    }
    if (!ar.CheckCount(count, minBytes, what, countAt)) return;
    list.Reserve(list.Size() + static_cast<size_t>(count));
    for (int32_t i = 0; i < count && !ar.Failed(); ++i) {
        auto item = std::make_unique<T>();
        ar.Mark(what);
        fields(*item);
        list.Append(std::move(item));
    }
}

void ExternalConnectionFields(CArchive& ar, CExternalConnection& c) {
    ar.I32(c.m_id);
    ar.I32(c.m_systemPortId);
    ar.I32(c.m_moduleId);
    ar.I32(c.m_modulePortId);
}

void TiePoints(CArchive& ar, CTiePointManager& t) {
    ar.Mark("tie points");
    ar.Bool(t.flag);
    for (int32_t& s : t.settings) ar.I32(s);
    int32_t count = Count(t.points.size());
    ar.I32(count);
    auto fields = [&ar](CTiePoint& p) {
        ar.I32(p.id);
        ar.I32(p.value);
        ar.Rect(p.rect);
        ar.Str(p.text);
    };
    if (ar.IsStoring()) {
        for (CTiePoint& p : t.points) fields(p);
        return;
    }
    if (!ar.CheckCount(count, kTiePointMin, "tie point")) return;
    t.points.clear();
    t.points.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count && !ar.Failed(); ++i) fields(t.points.emplace_back());
}

/// One component: the header that names its class, then its own record.
void ComponentRecord(CArchive& ar, CNetwork& module, CNetworkModel* c) {
    ar.Mark("component");
    if (ar.IsStoring()) {
        ar.WriteI32(c->m_id);
        ar.WriteI32(c->m_typeId);
        ar.Str(c->m_name);
        ar.Point(c->m_position);
        c->Serialize(ar);
        return;
    }
    const size_t headerAt = ar.Position();
    int32_t id = 0, typeId = 0;
    std::string name;
    CPoint position;
    ar.I32(id);
    const size_t typeAt = ar.Position();
    ar.I32(typeId);
    ar.Str(name);
    ar.Point(position);
    if (ar.Failed()) return;
    // The record read next carries the id again; a header id of 0 must not
    // make the factory draw one.
    c = module.CreateComponent(typeId, id != 0 ? id : -1, name, position.x, position.y);
    if (!c) {
        // A record has no length, so a type without a class cannot be skipped.
        ar.Fail("unknown component type id " + std::to_string(typeId), typeAt);
        return;
    }
    c->Serialize(ar);
    if (ar.Failed()) return;
    if (c->m_typeId != typeId) {
        ar.Fail("component record of type " + std::to_string(c->m_typeId) +
                    " stands under a header of type " + std::to_string(typeId),
                headerAt);
        return;
    }
    c->m_owner = &module;
    c->CalcSize();
    c->SetPosition(c->m_position.x, c->m_position.y);
}

}  // namespace

void SerializeModule(CArchive& ar, CNetwork& m) {
    int32_t components = Count(m.m_components.Size());
    int32_t inputs = Count(m.m_inputs.Size());
    int32_t outputs = Count(m.m_outputs.Size());
    ar.I32(m.m_id);
    ar.Str(m.m_name);
    ar.Str(m.m_description);
    ar.Str(m.m_thirdText);
    ar.Point(m.m_position);
    ar.Bool(m.m_display1);
    ar.Bool(m.m_display2);
    ar.Bool(m.m_display3);
    ar.I32(m.m_saved1);
    ar.I32(m.m_saved2);
    const size_t countsAt = ar.Position();
    ar.I32(components);
    ar.I32(inputs);
    ar.I32(outputs);

    if (ar.IsStoring()) {
        for (CNetworkModel* c : m.m_components) ComponentRecord(ar, m, c);
    } else if (ar.CheckCount(components, kComponentMin, "component", countsAt)) {
        m.m_components.Reserve(static_cast<size_t>(components));
        for (int32_t i = 0; i < components && !ar.Failed(); ++i) ComponentRecord(ar, m, nullptr);
    }

    Records(ar, m.m_inputs, inputs, countsAt + 4, kModuleInputMin, "module input",
            [&ar, &m](CNetworkInput& in) {
                in.m_owner = &m;
                const size_t at = ar.Position();
                ar.I32(in.m_id);
                ar.Str(in.m_name);
                ar.Str(in.m_description);
                ar.I32(in.m_sourceConnectionId);
                ar.I32(in.m_sourceKind);
                SerializeConnectionList(ar, in.m_connections);
                if (ar.IsLoading() && !ar.Failed()) {
                    // A module input only ever feeds component inputs (kind 4); anything
                    // else would be followed as a component output that does not exist.
                    for (const CModelConnection* c : in.m_connections) {
                        if (c->m_kind != kSourceModuleInput) {
                            ar.Fail("module input " + std::to_string(in.m_id) +
                                        " holds a connection of kind " + std::to_string(c->m_kind),
                                    at);
                            return;
                        }
                    }
                }
            });
    Records(ar, m.m_outputs, outputs, countsAt + 8, kModuleOutputMin, "module output",
            [&ar, &m](CNetworkOutput& out) {
                out.m_owner = &m;
                ar.I32(out.m_id);
                ar.Str(out.m_name);
                ar.Str(out.m_description);
                ar.I32(out.m_sourceKind);
                ar.I32(out.m_sourceConnectionId);
            });
    TiePoints(ar, m.m_tiePoints);

    if (ar.IsLoading() && !ar.Failed()) {
        m.RebuildReferences();
        m.LayoutBox();
        m.ComputeStages();
    }
}

namespace {
/// Input and output categories share one record layout.
template <class Category>
void CategoryFields(CArchive& ar, Category& c) {
    ar.I32(c.m_id);
    ar.Str(c.m_name);
    ar.Str(c.m_secondText);
    ar.I32(c.m_colour);
    ar.Bool(c.m_flag);
    ar.Bool(c.m_default);
}
}  // namespace

void SerializeSystem(CArchive& ar, CSystem& s) {
    int32_t modules = Count(s.m_modules.Size());
    int32_t moduleConnections = Count(s.m_moduleConnections.Size());
    int32_t inputs = Count(s.m_inputs.Size());
    int32_t outputs = Count(s.m_outputs.Size());
    int32_t inputCategories = Count(s.m_inputCategories.Size());
    int32_t outputCategories = Count(s.m_outputCategories.Size());
    ar.Mark("system");
    ar.I32(s.m_systemId);
    ar.Str(s.m_name);
    ar.Str(s.m_thirdText);
    ar.Str(s.m_description);
    const size_t modulesAt = ar.Position();
    ar.I32(modules);
    ar.I32(s.m_saved1);
    ar.I32(s.m_saved2);
    const size_t countsAt = ar.Position();  // the five counts after the saved integers
    ar.I32(moduleConnections);
    ar.I32(inputs);
    ar.I32(outputs);
    ar.I32(inputCategories);
    ar.I32(outputCategories);
    ar.I32(s.m_chartBackground);
    ar.I32(s.m_chartGrid);
    ar.I32(s.m_chartData);
    ar.Bool(s.m_behaviorsEnabled);
    ar.Point(s.m_scroll);

    Records(ar, s.m_modules, modules, modulesAt, kModuleMin, "module", [&ar, &s](CNetwork& m) {
        m.m_owner = &s;
        SerializeModule(ar, m);
        if (ar.IsLoading()) s.m_modulesByCreation.Append(&m);
    });
    Records(ar, s.m_moduleConnections, moduleConnections, countsAt, kModuleConnectionBytes,
            "module connection", [&ar](CNetworkConnection& c) {
                ar.I32(c.m_id);
                ar.I32(c.m_srcModuleId);
                ar.I32(c.m_dstModuleId);
                ar.I32(c.m_srcOutputId);
                ar.I32(c.m_dstInputId);
            });
    Records(ar, s.m_inputs, inputs, countsAt + 4, kSystemInputMin, "system input", [&ar](CExternalInput& p) {
        ar.I32(p.m_id);
        ar.Str(p.m_name);
        ar.Str(p.m_description);
        ar.Str(p.m_dataFilePath);
        ar.I32(p.m_categoryId);
        ar.I32(p.m_kind);
        ar.I32(p.m_dataColumn);
        ar.F64(p.m_value);
        int32_t connections = Count(p.m_connections.Size());
        const size_t connectionsAt = ar.Position();
        ar.I32(connections);
        Records(ar, p.m_connections, connections, connectionsAt, kExternalConnectionBytes,
                "system input connection",
                [&ar](CExternalConnection& c) { ExternalConnectionFields(ar, c); });
        if (ar.IsLoading()) {
            // The value saved is where the input starts again after a reset.
            p.m_initialValue = p.m_value;
            p.SetValue(p.m_value);
        }
    });
    Records(ar, s.m_outputs, outputs, countsAt + 8, kSystemOutputMin, "system output",
            [&ar](CExternalOutput& q) {
                ar.I32(q.m_id);
                ar.I32(q.m_kind);
                ar.Str(q.m_name);
                ar.Str(q.m_description);
                ar.I32(q.m_categoryId);
                ar.I32(q.m_connectionId);
                bool connected = q.m_connection != nullptr;
                ar.Bool(connected);
                if (ar.IsLoading() && connected && !ar.Failed())
                    q.m_connection = std::make_unique<CExternalConnection>();
                if (q.m_connection) ExternalConnectionFields(ar, *q.m_connection);
            });
    // Loading replaces the default categories of a new project.
    if (ar.IsLoading()) {
        s.m_inputCategories.Clear();
        s.m_outputCategories.Clear();
    }
    Records(ar, s.m_inputCategories, inputCategories, countsAt + 12, kCategoryMin, "input category",
            [&ar](CExternalInputCategory& c) { CategoryFields(ar, c); });
    Records(ar, s.m_outputCategories, outputCategories, countsAt + 16, kCategoryMin, "output category",
            [&ar](CExternalOutputCategory& c) { CategoryFields(ar, c); });
    ar.Mark("events");
    s.m_events.Serialize(ar, s.Random());
    ar.Mark("charts");
    s.m_charts.Serialize(ar);
    ar.Mark("behaviors");
    s.m_behaviors.Serialize(ar, s.Random());
    ar.Mark("graphics");
    s.m_graphics.Serialize(ar);
    ar.Mark("value windows");
    s.m_valueWindows.Serialize(ar);

    if (ar.IsLoading() && !ar.Failed()) {
        s.RebuildReferences();
        s.ComputeLevels();
    }
}

std::vector<uint8_t> SaveProjectBytes(CSystem& system, size_t expectedSize) {
    CArchive ar;
    if (expectedSize) ar.Reserve(expectedSize);
    SerializeSystem(ar, system);
    return ar.TakeBytes();
}

void SaveProjectBytes(CSystem& system, std::vector<uint8_t>& bytes) {
    CArchive ar;
    ar.Adopt(std::move(bytes));
    SerializeSystem(ar, system);
    bytes = ar.TakeBytes();
}

namespace {
/// Loads through `ar` into a spare system that replaces `system`'s contents on
/// success. A failure in a binary file names the byte at fault (or how much is
/// missing); a text form's error names its line and key itself.
CFileResult LoadProject(CSystem& system, CArchive& ar, bool binary) {
    CSystem fresh;
    fresh.SetRandom(&system.Random());
    SerializeSystem(ar, fresh);
    if (ar.Failed()) return CFileResult::Failure(binary ? ar.Describe() : ar.Error(), ar.ErrorOffset());
    system.SwapContents(fresh);
    // Notes the components made while loading (repairs of damaged records)
    // were written into the spare system; they belong to the loaded one.
    const auto& notes = fresh.Feedback().build.Lines();
    for (auto line = notes.rbegin(); line != notes.rend(); ++line) system.BuildFeedback(*line);
    return {};
}
}  // namespace

CFileResult LoadProjectBytes(CSystem& system, const uint8_t* data, size_t size) {
    CArchive ar(data, size);
    return LoadProject(system, ar, true);
}

CFileResult LoadProjectFields(CSystem& system, IFieldStream& stream) {
    CArchive ar(stream, true);
    return LoadProject(system, ar, false);
}

void SaveProjectFields(CSystem& system, IFieldStream& stream) {
    CArchive ar(stream, false);
    SerializeSystem(ar, system);
}

// --- files ----------------------------------------------------------------

namespace {

CFileResult SystemError(const std::string& what, const std::string& path) {
    const int error = errno;
    CFileResult r = CFileResult::Failure(what + " " + path + ": " + std::strerror(error));
    r.error = error;
    return r;
}

/// The name a save writes to: `path` after every symbolic link on the way,
/// one at a time, so that a link whose file does not exist yet leads to it too.
bool SaveTarget(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::vector<char> link(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<size_t>(n) >= link.size()) return true;
        std::string next(link.data(), static_cast<size_t>(n));
        if (next.empty()) return true;
        if (next.front() != '/') {
            const size_t slash = target.find_last_of('/');
            if (slash != std::string::npos) next = target.substr(0, slash + 1) + next;
        }
        target = std::move(next);
    }
    errno = ELOOP;
    return false;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

CFileResult WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    // Through a symbolic link the file it names is replaced, not the link.
    std::string target;
    if (!SaveTarget(path, target)) return SystemError("Cannot save", path);
    const size_t slash = target.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));

    // The temporary file is created like any new file (the umask applies).
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return SystemError("Cannot create a temporary file for", path);
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);

    auto abandon = [&](const char* what) {
        const CFileResult r = SystemError(what, path);
        ::close(fd);
        ::unlink(temp.c_str());
        return r;
    };
    if (!WriteAll(fd, bytes.data(), bytes.size())) return abandon("Cannot write");
    if (::fsync(fd) != 0) return abandon("Cannot flush");
    if (::close(fd) != 0) {
        const CFileResult r = SystemError("Cannot close", path);
        ::unlink(temp.c_str());
        return r;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const CFileResult r = SystemError("Cannot replace", path);
        ::unlink(temp.c_str());
        return r;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

CFileResult ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    const int error = ReadInputFile(path, bytes);
    if (error == 0) return {};
    return CFileResult::Failure(std::string(error == EIO ? "Cannot read " : "Cannot open ") + path + ": " +
                                InputFileErrorText(error));
}

CFileResult SaveProjectFile(CSystem& system, const std::string& path) {
    return WriteFileAtomically(path, SaveProjectBytes(system));
}

CFileResult LoadProjectFile(CSystem& system, const std::string& path) {
    std::vector<uint8_t> bytes;
    CFileResult r = ReadWholeFile(path, bytes);
    if (!r) return r;
    r = LoadProjectBytes(system, bytes);
    if (!r) r.message = "Cannot load " + path + ": " + r.message;
    return r;
}

}  // namespace zor2
