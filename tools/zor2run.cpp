// zor2run: loads a runtime file through the public C interface, applies input
// values and prints the system outputs of each cycle as CSV.
#include <zor2runtime.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "algo/csv.h"
#include "algo/number_text.h"

namespace {

constexpr int kExitLoad = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: zor2run FILE.z2r --cycles N [--set ID=VALUE]... [--inputs FILE.csv]\n"
    "\n"
    "Loads an exported runtime file and runs N cycles. Prints the line\n"
    "  cycle,<id of each system output>\n"
    "then, per cycle, the cycle number (1..N) and each system output's value (%.17g).\n"
    "\n"
    "  --cycles N          number of cycles to run (required, 0 or more)\n"
    "  --set ID=VALUE      sets system input ID before the first cycle (repeatable)\n"
    "  --inputs FILE.csv   header line: system input ids; row k is applied before cycle k\n"
    "                      (an empty field leaves that input unchanged)\n"
    "  --help              shows this text\n"
    "\n"
    "Exit codes: 0 done, 1 the file did not load, 2 bad arguments or input file.\n";

struct CSetting {
    int32_t id;
    double value;
};

bool ParseInt(const std::string& text, long long& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

std::string Utf16ToNarrow(const uint16_t* text, size_t units) {
    std::string out;
    for (size_t i = 0; i < units && text[i] != 0; ++i) {
        const uint32_t u = text[i];
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else {
            // Surrogates are not paired here: the message texts are plain BMP text.
            out.push_back(static_cast<char>(0xE0 | (u >> 12)));
            out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

bool SetInput(int32_t id, double value) {
    if (qxAISystem_SetValue(id, value) == 0) return true;
    std::fprintf(stderr, "zor2run: the system has no input with id %d\n", id);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const char* file = nullptr;
    const char* inputsPath = nullptr;
    long long cycles = -1;
    std::vector<CSetting> settings;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--cycles" || arg == "--set" || arg == "--inputs") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zor2run: %s needs a value\n\n%s", arg.c_str(), kUsage);
                return kExitUsage;
            }
            const std::string value = argv[++i];
            if (arg == "--cycles") {
                if (!ParseInt(value, cycles) || cycles < 0 || cycles > INT32_MAX) {
                    std::fprintf(stderr, "zor2run: --cycles needs a whole number of 0 or more, not '%s'\n",
                                 value.c_str());
                    return kExitUsage;
                }
            } else if (arg == "--set") {
                // The same rule as the inputs file: a whole id, a finite decimal number.
                const size_t eq = value.find('=');
                int32_t id = 0;
                double v = 0.0;
                if (eq == std::string::npos || !zor2::ParseCsvId(std::string_view(value).substr(0, eq), id) ||
                    !zor2::ParseCsvNumber(std::string_view(value).substr(eq + 1), v)) {
                    std::fprintf(stderr, "zor2run: --set needs ID=VALUE with an id of 1 or more, not '%s'\n",
                                 value.c_str());
                    return kExitUsage;
                }
                settings.push_back({id, v});
            } else {
                inputsPath = argv[i];
            }
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "zor2run: unknown option %s\n\n%s", arg.c_str(), kUsage);
            return kExitUsage;
        } else if (!file) {
            file = argv[i];
        } else {
            std::fprintf(stderr, "zor2run: only one runtime file may be given\n\n%s", kUsage);
            return kExitUsage;
        }
    }
    if (!file || cycles < 0) {
        std::fprintf(stderr, "zor2run: %s\n\n%s", file ? "--cycles is required" : "no runtime file given",
                     kUsage);
        return kExitUsage;
    }

    zor2::CInputTable inputs;
    if (inputsPath) {
        std::string error;
        if (!inputs.Read(inputsPath, error)) {
            std::fprintf(stderr, "zor2run: inputs file %s\n", error.c_str());
            return kExitUsage;
        }
    }

    qxAISystemLoadResult result{};
    const int32_t status = qxAISystem_Load(file, 0, &result);
    if (status != 1) {
        std::fprintf(stderr, "zor2run: %s did not load (code %d): %s\n", file, status,
                     Utf16ToNarrow(result.message, 256).c_str());
        qxAISystem_Unload();
        return kExitLoad;
    }

    const int32_t outputCount = qxAISystem_GetCountSystemOutputs();
    std::vector<qxAISystemPortInfo> outputs(static_cast<size_t>(outputCount > 0 ? outputCount : 0));
    if (!outputs.empty()) qxAISystem_GetAllSystemOutputs(0, outputs.data());
    for (const CSetting& s : settings) {
        if (!SetInput(s.id, s.value)) return kExitUsage;
    }
    for (int32_t id : inputs.Ids()) {
        double v = 0.0;
        if (qxAISystem_GetSystemInputValue(0, id, &v) != 0) {
            std::fprintf(stderr, "zor2run: inputs file: the system has no input with id %d\n", id);
            return kExitUsage;
        }
    }

    std::string header = "cycle";
    for (const qxAISystemPortInfo& out : outputs) header += "," + std::to_string(out.id);
    std::puts(header.c_str());
    // One line per cycle, written into a buffer sized once: the cycle number,
    // then ",%.17g" per output.
    std::vector<char> line(24 + outputs.size() * (1 + zor2::kG17Chars) + 1);
    for (long long cycle = 1; cycle <= cycles; ++cycle) {
        inputs.Apply(static_cast<size_t>(cycle - 1),
                     [](int32_t id, double v) { qxAISystem_SetValue(id, v); });
        qxAISystem_Execute();
        char* end = std::to_chars(line.data(), line.data() + 24, cycle).ptr;
        for (const qxAISystemPortInfo& out : outputs) {
            qxAISystemPortInfo info{};
            double scratch = 0.0;
            info.data = &scratch;
            qxAISystem_GetSystemOutputInfo(0, out.id, &info);
            *end++ = ',';
            end = zor2::FormatG17(end, info.value);
        }
        *end++ = '\n';
        std::fwrite(line.data(), 1, static_cast<size_t>(end - line.data()), stdout);
    }
    qxAISystem_Unload();
    return 0;
}
