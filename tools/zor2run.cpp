// zor2run: loads a runtime file through the public C interface, applies input
// values and prints the system outputs of each cycle as CSV.
#include <zor2runtime.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

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

bool ParseDouble(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return *end == '\0';
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        fields.push_back(
            Trim(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return fields;
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

/// Reads the inputs CSV: ids from the header, one row of optional values per cycle.
using CRow = std::vector<std::optional<double>>;

bool ReadInputs(const char* path, std::vector<int32_t>& ids, std::vector<CRow>& rows) {
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "zor2run: cannot open inputs file %s\n", path);
        return false;
    }
    std::string line;
    if (!std::getline(file, line)) {
        std::fprintf(stderr, "zor2run: inputs file %s has no header line\n", path);
        return false;
    }
    for (const std::string& field : SplitCsv(line)) {
        long long id = 0;
        if (!ParseInt(field, id) || id < 1 || id > INT32_MAX) {
            std::fprintf(stderr, "zor2run: inputs file %s: header field '%s' is not a system input id\n",
                         path, field.c_str());
            return false;
        }
        ids.push_back(static_cast<int32_t>(id));
    }
    while (std::getline(file, line)) {
        if (Trim(line).empty()) continue;
        std::vector<std::string> fields = SplitCsv(line);
        if (fields.size() > ids.size()) {
            std::fprintf(stderr, "zor2run: inputs file %s: row %zu has more fields than the header\n", path,
                         rows.size() + 1);
            return false;
        }
        CRow row;
        for (size_t k = 0; k < fields.size(); ++k) {
            double v = 0.0;
            if (fields[k].empty()) {
                row.emplace_back();
            } else if (ParseDouble(fields[k], v)) {
                row.emplace_back(v);
            } else {
                std::fprintf(stderr, "zor2run: inputs file %s: row %zu field %zu '%s' is not a number\n",
                             path, rows.size() + 1, k + 1, fields[k].c_str());
                return false;
            }
        }
        rows.push_back(std::move(row));
    }
    return true;
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
                const size_t eq = value.find('=');
                long long id = 0;
                double v = 0.0;
                if (eq == std::string::npos || !ParseInt(value.substr(0, eq), id) || id < 1 ||
                    id > INT32_MAX || !ParseDouble(value.substr(eq + 1), v)) {
                    std::fprintf(stderr, "zor2run: --set needs ID=VALUE with an id of 1 or more, not '%s'\n",
                                 value.c_str());
                    return kExitUsage;
                }
                settings.push_back({static_cast<int32_t>(id), v});
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

    std::vector<int32_t> inputIds;
    std::vector<CRow> rows;
    if (inputsPath && !ReadInputs(inputsPath, inputIds, rows)) return kExitUsage;

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
    for (int32_t id : inputIds) {
        double v = 0.0;
        if (qxAISystem_GetSystemInputValue(0, id, &v) != 0) {
            std::fprintf(stderr, "zor2run: inputs file: the system has no input with id %d\n", id);
            return kExitUsage;
        }
    }

    std::string line = "cycle";
    for (const qxAISystemPortInfo& out : outputs) line += "," + std::to_string(out.id);
    std::puts(line.c_str());
    char number[64];
    for (long long cycle = 1; cycle <= cycles; ++cycle) {
        if (static_cast<size_t>(cycle) <= rows.size()) {
            const CRow& row = rows[static_cast<size_t>(cycle - 1)];
            for (size_t k = 0; k < row.size(); ++k) {
                if (row[k]) qxAISystem_SetValue(inputIds[k], *row[k]);
            }
        }
        qxAISystem_Execute();
        line = std::to_string(cycle);
        for (const qxAISystemPortInfo& out : outputs) {
            qxAISystemPortInfo info{};
            double scratch = 0.0;
            info.data = &scratch;
            qxAISystem_GetSystemOutputInfo(0, out.id, &info);
            std::snprintf(number, sizeof number, "%.17g", info.value);
            line += ',';
            line += number;
        }
        std::puts(line.c_str());
    }
    qxAISystem_Unload();
    return 0;
}
