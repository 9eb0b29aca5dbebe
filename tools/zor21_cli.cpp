// zor21-cli, the headless designer: runs a project in the simulator, resaves
// and exports it, summarises files, and serves the real-time link. Standard
// output carries only results; errors go to standard error with exit code 1.
#include <poll.h>
#include <signal.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "algo/csv.h"
#include "algo/number_text.h"
#include "designer/commands_system.h"
#include "designer/document.h"
#include "engine/catalogue.h"
#include "engine/system.h"
#include "persistence/csv_file.h"
#include "persistence/module_file.h"
#include "persistence/project_file.h"
#include "persistence/project_text.h"
#include "persistence/runtime_export.h"
#include "realtime/udp_link.h"
#include "simulation/sim_controller.h"
#include "tools/cli_info.h"
#include "tools/runtime_report.h"
#include "tools/runtime_verify.h"

namespace zor2 {
namespace {

constexpr const char* kProgram = "zor21-cli";

constexpr const char* kUsage =
    "usage: zor21-cli COMMAND ...\n"
    "\n"
    "commands:\n"
    "  run PROJECT.zr2 --cycles N [--rate C] [--set ID=VALUE]... [--inputs FILE.csv]\n"
    "                  [--no-behaviors] [--save OUT.zr2]\n"
    "  resave IN.zr2 OUT.zr2\n"
    "  export PROJECT.zr2 OUT.z2r\n"
    "  info FILE                 (.zr2, .zrm or .z2r)\n"
    "  serve PROJECT.zr2 [--rate C] [--run] [--cycles N]\n"
    "  verify PROJECT.zr2 [--cycles N] [--inputs FILE.csv] [--seed S]\n"
    "  to-json PROJECT.zr2 OUT.json\n"
    "  from-json IN.json OUT.zr2\n"
    "  import-inputs PROJECT.zr2 FILE.csv [-o OUT.zr2] [--answer yes|no|cancel]\n"
    "  import-outputs PROJECT.zr2 FILE.csv [-o OUT.zr2] [--answer yes|no|cancel]\n"
    "\n"
    "`zor21-cli COMMAND --help` describes one command.\n";

constexpr const char* kRunHelp =
    "usage: zor21-cli run PROJECT.zr2 --cycles N [--rate C] [--set ID=VALUE]... [--inputs FILE.csv]\n"
    "                     [--no-behaviors] [--save OUT.zr2]\n"
    "\n"
    "Loads the project, resets the system, applies each --set to the system input with that id, then\n"
    "runs N single cycles as the simulator's Run Once does: simulated time grows by 1000/C ms per cycle\n"
    "(C cycles per second, 1 to 20, default 10), and the system clock follows simulated time so runs\n"
    "repeat exactly.\n"
    "\n"
    "  --cycles N        number of cycles (0 or more)\n"
    "  --rate C          cycles per second, 1 to 20\n"
    "  --set ID=VALUE    value of a system input before the first cycle (repeatable)\n"
    "  --inputs FILE     CSV whose header names system input ids; row k is applied before cycle k\n"
    "  --no-behaviors    run without the simulation behaviours\n"
    "  --save OUT.zr2    save the project after the run\n"
    "\n"
    "Standard output: the line `cycle,<id of each system output>`, then per cycle the cycle count\n"
    "after the cycle and each system output's value (%.17g), comma separated.\n";

constexpr const char* kResaveHelp =
    "usage: zor21-cli resave IN.zr2 OUT.zr2\n"
    "\n"
    "Loads a project and saves it again (OUT is replaced only by a complete file).\n";

constexpr const char* kExportHelp =
    "usage: zor21-cli export PROJECT.zr2 OUT.z2r\n"
    "\n"
    "Writes the runtime file and, beside it, its manifest ZOR2_RT_MANIFEST_<name>.txt. A note on\n"
    "standard error says when the system uses CSV components, which the runtime does not run.\n"
    "Standard output names both files, then reports the file's size, the components by type, the\n"
    "memory the runtime library holds once it has loaded the file and the cost of one cycle (both\n"
    "measured), and every designer-only component with what the runtime does instead.\n";

constexpr const char* kInfoHelp =
    "usage: zor21-cli info FILE\n"
    "\n"
    "Summarises a project (.zr2), module (.zrm) or runtime (.z2r) file: modules with their levels,\n"
    "components with type names and stages, system inputs and outputs with their ids.\n";

constexpr const char* kServeHelp =
    "usage: zor21-cli serve PROJECT.zr2 [--rate C] [--run] [--cycles N]\n"
    "\n"
    "Runs the designer's simulation with the real-time link and no window. Reads udp.conf from the\n"
    "current directory (address, then receive port; defaults 127.0.0.1 and 27020), binds, announces\n"
    "the project to the peer (which listens on port 27019) and answers it. The peer may start and\n"
    "stop the simulation.\n"
    "\n"
    "  --rate C      cycles per second, 1 to 20 (default 10)\n"
    "  --run         start the simulation at once\n"
    "  --cycles N    stop after N cycles; otherwise run until SIGINT or SIGTERM\n"
    "\n"
    "On the way out it stops a running simulation, sends $ZOR_SHUTDOWN and closes its sockets.\n";

constexpr const char* kVerifyHelp =
    "usage: zor21-cli verify PROJECT.zr2 [--cycles N] [--inputs FILE.csv] [--seed S]\n"
    "\n"
    "Exports the project to a temporary runtime file and runs the designer engine and the runtime\n"
    "library side by side from a reset, with the same inputs and random seed and the system input\n"
    "behaviours off, comparing every system output after every cycle bit for bit.\n"
    "\n"
    "  --cycles N        number of cycles (default 100)\n"
    "  --inputs FILE     CSV whose header names system input ids; row k is applied before cycle k\n"
    "  --seed S          seed of both random sources (default 1)\n"
    "\n"
    "Standard output: \"equivalent for N cycles\" (exit 0), or the first cycle, output and both values\n"
    "that differ (exit 2); then the components whose runtime behaviour differs by definition.\n";

constexpr const char* kToJsonHelp =
    "usage: zor21-cli to-json PROJECT.zr2 OUT.json\n"
    "\n"
    "Writes the project's text form: every field of the project file in file order, one record per\n"
    "line as {\"<record>\": [values]}, so that `from-json` gives back the same bytes.\n";

constexpr const char* kFromJsonHelp =
    "usage: zor21-cli from-json IN.json OUT.zr2\n"
    "\n"
    "Reads a project's text form and saves the project. A malformed or incomplete text is refused\n"
    "with the line and the record key at fault; OUT is then not written.\n";

constexpr const char* kImportHelp =
    "usage: zor21-cli import-inputs PROJECT.zr2 FILE.csv [-o OUT.zr2] [--answer yes|no|cancel]\n"
    "\n"
    "Runs the designer's \"Import Inputs...\" (\"Import Outputs...\") on the project: the header line\n"
    "is skipped, then every line makes a system input (output) named by its first field in the\n"
    "category its second field names (made when missing). The project is saved to OUT, or over\n"
    "PROJECT without -o. A file that cannot be read or a line with fewer than two fields writes\n"
    "nothing and exits 1. The designer's messages go to standard error; a question it asks is\n"
    "answered with --answer (default cancel).\n"
    "\n"
    "Standard output: the feedback line, e.g. \"Imported: 3 system inputs\".\n";

constexpr const char* kImportOutputsHelp =
    "usage: zor21-cli import-outputs PROJECT.zr2 FILE.csv [-o OUT.zr2] [--answer yes|no|cancel]\n"
    "\n"
    "As import-inputs (`zor21-cli import-inputs --help`), for system outputs and output categories.\n";

/// A command's failure: printed on standard error, exit code 1.
struct CCliError {
    std::string message;
};

[[noreturn]] void Fail(std::string message) {
    throw CCliError{std::move(message)};
}

bool IsHelp(std::string_view a) {
    return a == "--help" || a == "-h";
}

int64_t ParseInteger(std::string_view text, const char* what, int64_t min, int64_t max) {
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < min || v > max)
        Fail(std::string(what) + " must be a whole number from " + std::to_string(min) + " to " +
             std::to_string(max) + ", not \"" + std::string(text) + "\"");
    return v;
}

/// A value by the same rule as the inputs file: a finite decimal number.
double ParseNumber(std::string_view text, const std::string& what) {
    double v = 0.0;
    if (!ParseCsvNumber(text, v)) Fail(what + " is not a number: \"" + std::string(text) + "\"");
    return v;
}

/// Walks the arguments after the command name.
class CArgs {
  public:
    CArgs(int argc, char** argv) : m_args(argv + 2, argv + argc) {}
    bool WantsHelp() const {
        for (const std::string& a : m_args)
            if (IsHelp(a)) return true;
        return false;
    }
    bool Done() const { return m_next >= m_args.size(); }
    const std::string& Next() { return m_args[m_next++]; }
    const std::string& Value(const std::string& option) {
        if (Done()) Fail(option + " needs a value");
        return Next();
    }

  private:
    std::vector<std::string> m_args;
    size_t m_next = 0;
};

/// The system of a command whose end ends the process. It is never freed:
/// taking 10,000 components apart one by one (about 2 ms) only delays the exit,
/// which hands all memory back at once.
CSystem& ProcessSystem() {
    static CSystem* const system = new CSystem;
    return *system;
}

void Load(CSystem& system, const std::string& path) {
    const CFileResult r = LoadProjectFile(system, path);
    if (!r) Fail(r.message.empty() ? "cannot load " + path : r.message);
}

void Save(CSystem& system, const std::string& path) {
    const CFileResult r = SaveProjectFile(system, path);
    if (!r) Fail(r.message.empty() ? "cannot save " + path : r.message);
}

/// Load and Save through one buffer: the file read in takes the bytes written
/// out, already of about their size.
void Resave(CSystem& system, const std::string& in, const std::string& out) {
    std::vector<uint8_t> bytes;
    CFileResult r = ReadWholeFile(in, bytes);
    if (r) {
        r = LoadProjectBytes(system, bytes);
        if (!r) r.message = "Cannot load " + in + ": " + r.message;
    }
    if (!r) Fail(r.message.empty() ? "cannot load " + in : r.message);
    SaveProjectBytes(system, bytes);
    r = WriteFileAtomically(out, bytes);
    if (!r) Fail(r.message.empty() ? "cannot save " + out : r.message);
}

CExternalInput& InputById(CSystem& system, int32_t id, const std::string& context) {
    CExternalInput* p = system.FindSystemInput(id);
    if (!p) Fail(context + ": the project has no system input with id " + std::to_string(id));
    return *p;
}

// --- run ------------------------------------------------------------------

/// The rows of an inputs CSV, checked before anything runs.
struct CInputRows {
    CInputTable table;
    std::unordered_map<int32_t, CExternalInput*> inputs;  // by the header's ids
};

void ReadInputRows(CSystem& system, const std::string& path, CInputRows& rows) {
    std::string error;
    if (!rows.table.Read(path, error)) Fail(error);
    for (int32_t id : rows.table.Ids()) rows.inputs.emplace(id, &InputById(system, id, path + " header"));
}

/// The system clock of a headless run: it follows simulated time.
class CSimulatedClock final : public IClock {
  public:
    uint32_t TickMs() override { return m_now; }
    void Follow(double simulatedMs) {
        m_now = static_cast<uint32_t>(static_cast<uint64_t>(simulatedMs + 0.5));
    }

  private:
    uint32_t m_now = 0;
};

int Run(CArgs& args) {
    std::string project, inputsPath, savePath;
    std::optional<int64_t> cycles;
    int32_t rate = kDefaultCyclesPerSecond;
    bool noBehaviors = false;
    std::vector<std::pair<int32_t, double>> sets;
    while (!args.Done()) {
        const std::string& a = args.Next();
        if (a == "--cycles")
            cycles = ParseInteger(args.Value(a), "--cycles", 0, INT32_MAX);
        else if (a == "--rate")
            rate = static_cast<int32_t>(
                ParseInteger(args.Value(a), "--rate", kMinCyclesPerSecond, kMaxCyclesPerSecond));
        else if (a == "--set") {
            const std::string& v = args.Value(a);
            const size_t eq = v.find('=');
            if (eq == std::string::npos) Fail("--set needs ID=VALUE, not \"" + v + "\"");
            const int32_t id = static_cast<int32_t>(ParseInteger(v.substr(0, eq), "--set id", 1, INT32_MAX));
            sets.emplace_back(id,
                              ParseNumber(std::string_view(v).substr(eq + 1), "--set " + v.substr(0, eq)));
        } else if (a == "--inputs")
            inputsPath = args.Value(a);
        else if (a == "--no-behaviors")
            noBehaviors = true;
        else if (a == "--save")
            savePath = args.Value(a);
        else if (!a.empty() && a[0] == '-')
            Fail("unknown option " + a);
        else if (project.empty())
            project = a;
        else
            Fail("unexpected argument " + a);
    }
    if (project.empty()) Fail("the project file is missing");
    if (!cycles) Fail("--cycles N is required");

    CSystem& system = ProcessSystem();
    Load(system, project);
    CSimulatedClock clock;
    system.SetClock(&clock);
    CInputRows rows;
    if (!inputsPath.empty()) ReadInputRows(system, inputsPath, rows);
    std::vector<CExternalInput*> setTargets;
    for (const auto& [id, value] : sets) setTargets.push_back(&InputById(system, id, "--set"));

    CSimController sim(system);
    sim.SetRate(rate);
    const bool behaviors = system.m_behaviorsEnabled;
    if (noBehaviors) system.m_behaviorsEnabled = false;
    system.ResetSystem();
    for (size_t i = 0; i < sets.size(); ++i) setTargets[i]->SetValue(sets[i].second);

    std::string header = "cycle";
    for (const CExternalOutput* q : system.m_outputs) header += "," + std::to_string(q->m_id);
    std::fputs((header + "\n").c_str(), stdout);
    // One line per cycle, written into a buffer sized once: the cycle number,
    // then ",%.17g" per output.
    std::vector<char> line(24 + system.m_outputs.Size() * (1 + kG17Chars) + 1);
    for (int64_t k = 0; k < *cycles; ++k) {
        rows.table.Apply(static_cast<size_t>(k),
                         [&rows](int32_t id, double v) { rows.inputs[id]->SetValue(v); });
        sim.RunOnce();
        clock.Follow(system.m_simulatedTime);
        char* end = std::to_chars(line.data(), line.data() + 24, system.m_cycleCount).ptr;
        for (const CExternalOutput* q : system.m_outputs) {
            *end++ = ',';
            end = FormatG17(end, q->m_value);
        }
        *end++ = '\n';
        std::fwrite(line.data(), 1, static_cast<size_t>(end - line.data()), stdout);
    }
    system.m_behaviorsEnabled = behaviors;
    if (!savePath.empty()) Save(system, savePath);
    system.SetClock(nullptr);
    return 0;
}

// --- resave, export, info -------------------------------------------------

std::vector<std::string> Positionals(CArgs& args, size_t count) {
    std::vector<std::string> out;
    while (!args.Done()) {
        const std::string& a = args.Next();
        if (!a.empty() && a[0] == '-') Fail("unknown option " + a);
        out.push_back(a);
    }
    if (out.size() != count)
        Fail(std::string("expected ") + std::to_string(count) + " file " + (count == 1 ? "name" : "names") +
             ", got " + std::to_string(out.size()));
    return out;
}

int Resave(CArgs& args) {
    const auto files = Positionals(args, 2);
    Resave(ProcessSystem(), files[0], files[1]);
    return 0;
}

int Export(CArgs& args) {
    const auto files = Positionals(args, 2);
    CSystem system;
    Load(system, files[0]);
    bool csv = false;
    for (const CNetwork* m : system.m_modules)
        for (const CNetworkModel* c : m->m_components)
            if (TypeTraits(c->m_typeId).notExported) csv = true;
    if (csv)
        std::fputs(
            "Your AI System currently utilizes one or more CSV Log Models. NOTE: These models will not be exported as they are for in-IDE use only, and not supported in the runtime module.\n",
            stderr);
    if (const std::string why = RuntimeExportRefusal(system); !why.empty()) Fail(why);
    if (const int e = ExportRuntimeFile(system, files[1]))
        Fail("cannot write " + files[1] + ": " + std::strerror(e));
    if (const int e = WriteManifest(system, files[1]))
        Fail("There was an error (e: " + std::to_string(e) + ") in trying to create the manifest file.");
    std::printf("Runtime AI File: %s\nManifest File: %s\nCurrent Project: %s\n", files[1].c_str(),
                ManifestFileName(files[1]).c_str(), system.m_name.c_str());
    std::fputs(ReportRuntimeExport(system, files[1]).Text().c_str(), stdout);
    return 0;
}

std::string LowerExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

int Info(CArgs& args) {
    const std::string path = Positionals(args, 1)[0];
    const std::string ext = LowerExtension(path);
    std::string summary;
    if (ext == ".zr2") {
        CSystem system;
        Load(system, path);
        summary = DescribeSystem(system);
    } else if (ext == ".zrm") {
        CSystem system;
        CNetwork* module = nullptr;
        const CFileResult r = ImportModuleFile(system, path, &module);
        if (!r || !module) Fail(r.message.empty() ? "cannot read " + path : r.message);
        system.ComputeLevels();
        summary = "module file\n" + DescribeModule(*module);
    } else if (ext == ".z2r") {
        std::vector<uint8_t> bytes;
        const CFileResult r = ReadWholeFile(path, bytes);
        if (!r) Fail(r.message.empty() ? "cannot read " + path : r.message);
        std::string error;
        if (!DescribeRuntimeFile(bytes, summary, error)) Fail(path + ": " + error);
    } else {
        Fail(path + " is not a .zr2, .zrm or .z2r file");
    }
    std::fputs(summary.c_str(), stdout);
    return 0;
}

// --- verify ---------------------------------------------------------------

/// An argument no option took: the project file, given once.
void TakeProject(const std::string& a, std::string& project) {
    if (!a.empty() && a[0] == '-') Fail("unknown option " + a);
    if (!project.empty()) Fail("unexpected argument " + a);
    project = a;
}

int Verify(CArgs& args) {
    std::string project, inputsPath;
    CVerifyOptions options;
    while (!args.Done()) {
        const std::string& a = args.Next();
        if (a == "--cycles")
            options.cycles = ParseInteger(args.Value(a), "--cycles", 0, INT32_MAX);
        else if (a == "--seed")
            options.seed = static_cast<uint32_t>(ParseInteger(args.Value(a), "--seed", 0, UINT32_MAX));
        else if (a == "--inputs")
            inputsPath = args.Value(a);
        else
            TakeProject(a, project);
    }
    if (project.empty()) Fail("the project file is missing");
    CSystem system;
    Load(system, project);
    CInputRows rows;
    if (!inputsPath.empty()) {
        ReadInputRows(system, inputsPath, rows);
        options.inputs = &rows.table;
    }
    const CVerifyReport report = VerifyRuntime(system, options);
    if (report.result == CVerifyReport::EResult::NotRun) {
        std::string text = report.Text();
        text.pop_back();
        Fail(text);
    }
    std::fputs(report.Text().c_str(), stdout);
    return report.result == CVerifyReport::EResult::Equivalent ? 0 : 2;
}

// --- to-json, from-json ----------------------------------------------------

int ToJson(CArgs& args) {
    const auto files = Positionals(args, 2);
    CSystem system;
    Load(system, files[0]);
    const std::string text = ProjectToText(system);
    const CFileResult r = WriteFileAtomically(files[1], std::vector<uint8_t>(text.begin(), text.end()));
    if (!r) Fail(r.message);
    return 0;
}

int FromJson(CArgs& args) {
    const auto files = Positionals(args, 2);
    std::vector<uint8_t> bytes;
    if (const CFileResult r = ReadWholeFile(files[0], bytes); !r) Fail(r.message);
    CSystem system;
    const CFileResult r =
        ProjectFromText(system, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!r) Fail(files[0] + ": " + r.message);
    Save(system, files[1]);
    return 0;
}

// --- import-inputs, import-outputs --------------------------------------------

/// The designer's questions answered by an option; its messages on standard error.
class CCliPrompter final : public IPrompter {
  public:
    EAnswer m_answer = EAnswer::Cancel;
    EAnswer Ask(std::string_view question, EButtons) override {
        std::fprintf(stderr, "%s: %.*s -> %s\n", kProgram, static_cast<int>(question.size()), question.data(),
                     m_answer == EAnswer::Yes  ? "yes"
                     : m_answer == EAnswer::No ? "no"
                                               : "cancel");
        return m_answer;
    }
    bool m_told = false;
    void Tell(std::string_view message) override {
        m_told = true;
        std::fprintf(stderr, "%s: %.*s\n", kProgram, static_cast<int>(message.size()), message.data());
    }
    void Beep() override {}
};

int Import(CArgs& args, ECmd (*command)(Czor2Doc&, const std::string&)) {
    std::vector<std::string> files;
    std::string out;
    CCliPrompter prompter;
    while (!args.Done()) {
        const std::string& a = args.Next();
        if (a == "-o") {
            out = args.Value(a);
        } else if (a == "--answer") {
            const std::string& v = args.Value(a);
            if (v == "yes")
                prompter.m_answer = EAnswer::Yes;
            else if (v == "no")
                prompter.m_answer = EAnswer::No;
            else if (v == "cancel")
                prompter.m_answer = EAnswer::Cancel;
            else
                Fail("--answer must be yes, no or cancel, not \"" + v + "\"");
        } else if (!a.empty() && a[0] == '-') {
            Fail("unknown option " + a);
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2)
        Fail("expected PROJECT.zr2 and FILE.csv, got " + std::to_string(files.size()) + " file names");
    if (out.empty()) out = files[0];
    Czor2Doc doc;
    doc.SetPrompter(&prompter);
    if (const CFileResult r = doc.Open(files[0]); !r)
        Fail(r.message.empty() ? "cannot load " + files[0] : r.message);
    const ECmd r = command(doc, files[1]);
    // The designer tells only of a failure. A stopped import keeps what it made
    // there, for the user to see; a script gets no file rather than part of one.
    if (prompter.m_told || (r != ECmd::Done && r != ECmd::Unavailable))
        Fail("the import did not complete; " + out + " is not written");
    Save(doc.System(), out);
    std::printf("%s\n", r == ECmd::Done ? doc.System().Feedback().build.Top().c_str() : "Imported: nothing");
    return 0;
}

int ImportInputs(CArgs& args) {
    return Import(args, ImportSystemInputs);
}

int ImportOutputs(CArgs& args) {
    return Import(args, ImportSystemOutputs);
}

// --- serve ----------------------------------------------------------------

volatile sig_atomic_t g_stopSignal = 0;
void OnStopSignal(int signal) {
    g_stopSignal = signal;
}

int Serve(CArgs& args) {
    std::string project;
    int32_t rate = kDefaultCyclesPerSecond;
    bool runAtOnce = false;
    std::optional<int64_t> cycles;
    while (!args.Done()) {
        const std::string& a = args.Next();
        if (a == "--rate")
            rate = static_cast<int32_t>(
                ParseInteger(args.Value(a), "--rate", kMinCyclesPerSecond, kMaxCyclesPerSecond));
        else if (a == "--run")
            runAtOnce = true;
        else if (a == "--cycles")
            cycles = ParseInteger(args.Value(a), "--cycles", 1, INT32_MAX);
        else if (!a.empty() && a[0] == '-')
            Fail("unknown option " + a);
        else if (project.empty())
            project = a;
        else
            Fail("unexpected argument " + a);
    }
    if (project.empty()) Fail("the project file is missing");

    // Signals are blocked except while the loop waits, so none is lost between checks.
    sigset_t stopSignals, waitMask;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    // The project loads before the link starts, so a file that does not load
    // sends nothing to the peer.
    CSystem system;
    Load(system, project);
    const CUdpConfig config = ReadUdpConfig("udp.conf");
    CUdpLink link(system, config);
    CSimController sim(system);
    CPollTimer timer(system.Clock());
    sim.SetTimer(&timer);
    link.Attach(&sim);
    if (!link.Start())
        std::fprintf(stderr, "%s: warning: cannot bind %s:%u; running without incoming datagrams\n", kProgram,
                     FormatIpv4(config.address).c_str(), unsigned(config.receivePort));
    sim.SetRate(rate);
    link.AnnounceProject();
    std::fprintf(stderr, "%s: serving \"%s\": receiving on %s:%u, sending to port %u\n", kProgram,
                 system.m_name.c_str(), FormatIpv4(config.address).c_str(), unsigned(link.BoundPort()),
                 unsigned(config.sendPort));
    if (runAtOnce) sim.Run();

    int64_t done = 0;
    while (!g_stopSignal && (!cycles || done < *cycles)) {
        pollfd fd{link.WantsRead() ? link.ReadFd() : -1, POLLIN, 0};
        const int32_t wait = timer.WaitMs();
        const timespec timeout{wait < 0 ? 1 : wait / 1000, wait < 0 ? 0 : (wait % 1000) * 1000000L};
        const int ready = ppoll(&fd, 1, &timeout, &waitMask);
        if (ready < 0 && errno != EINTR)
            Fail(std::string("waiting for events failed: ") + std::strerror(errno));
        if (ready > 0 && (fd.revents & POLLIN)) link.OnReadReady();
        if (timer.TakeDue()) {
            if (system.m_running) ++done;
            sim.OnTimerTick();
        }
    }
    if (sim.IsActive()) sim.Stop();
    link.Shutdown();
    sigprocmask(SIG_UNBLOCK, &stopSignals, nullptr);
    std::fprintf(stderr, "%s: stopped after %lld cycles\n", kProgram, static_cast<long long>(done));
    return 0;
}

struct CCommand {
    const char* name;
    const char* help;
    int (*run)(CArgs&);
};

constexpr CCommand kCommands[] = {
    {"run", kRunHelp, Run},
    {"resave", kResaveHelp, Resave},
    {"export", kExportHelp, Export},
    {"info", kInfoHelp, Info},
    {"serve", kServeHelp, Serve},
    {"verify", kVerifyHelp, Verify},
    {"to-json", kToJsonHelp, ToJson},
    {"from-json", kFromJsonHelp, FromJson},
    {"import-inputs", kImportHelp, ImportInputs},
    {"import-outputs", kImportOutputsHelp, ImportOutputs},
};

int Main(int argc, char** argv) {
    if (argc < 2 || IsHelp(argv[1])) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 1 : 0;
    }
    for (const CCommand& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        CArgs args(argc, argv);
        if (args.WantsHelp()) {
            std::fputs(c.help, stdout);
            return 0;
        }
        try {
            return c.run(args);
        } catch (const CCliError& e) {
            std::fflush(stdout);
            std::fprintf(stderr, "%s %s: %s\n", kProgram, c.name, e.message.c_str());
            return 1;
        }
    }
    std::fprintf(stderr, "%s: unknown command \"%s\"\n%s", kProgram, argv[1], kUsage);
    return 1;
}

}  // namespace
}  // namespace zor2

int main(int argc, char** argv) {
    return zor2::Main(argc, argv);
}
