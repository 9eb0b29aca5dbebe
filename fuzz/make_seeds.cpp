// Writes the fuzz seed corpora: small real files of every kind the fuzz
// targets read, made by the engine itself, one folder per target.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/system.h"
#include "persistence/csv_file.h"
#include "persistence/module_file.h"
#include "persistence/project_file.h"
#include "persistence/runtime_export.h"
#include "realtime/udp_protocol.h"
#include "support/sample_project.h"
#include "support/system_builder.h"

namespace {

namespace fs = std::filesystem;
using namespace zor2;

void Put(const fs::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::create_directories(folder);
    if (std::FILE* f = std::fopen((folder / name).c_str(), "wb")) {
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

void Put(const fs::path& folder, const std::string& name, const std::string& text) {
    Put(folder, name, std::vector<uint8_t>(text.begin(), text.end()));
}

/// A small project: one module with a constant into an add, exposed as a system output.
void BuildSmall(CSystem& s) {
    CNetwork* m = s.CreateModule("Small", 100, 100);
    CNetworkModel* k = test::DropConstant(*m, 2.5);
    CNetworkModel* add = test::Drop(*m, 21);
    test::Wire(*m, *k, *add);
    test::ExposeOutput(*m, *add, "sum");
    s.CreateSystemInput("in", 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zor2_fuzz_seeds FOLDER\n");
        return 2;
    }
    const fs::path root = argv[1];
    CSystem empty, small, sample;
    BuildSmall(small);
    test::BuildSampleProject(sample);
    const std::pair<const char*, CSystem*> systems[] = {
        {"empty", &empty}, {"small", &small}, {"sample", &sample}};
    for (const auto& [name, system] : systems) {
        Put(root / "project_load", std::string(name) + ".zr2", SaveProjectBytes(*system));
        Put(root / "runtime_load", std::string(name) + ".z2r", ExportRuntimeBytes(*system));
        int k = 0;
        for (CNetwork* m : system->m_modules)
            Put(root / "module_load", std::string(name) + "_" + std::to_string(k++) + ".zrm",
                ExportModuleBytes(*m));
    }

    const fs::path csv = root / "csv_read";
    Put(csv, "inputs.csv", "11,12\n1,2\n,3.5e2\n\n-4,\n");
    Put(csv, "bom.csv",
        "\xEF\xBB\xBF"
        "11\r\n+1\r\n");
    Put(csv, "import.csv",
        CCSVFile::JoinLine({"Name", "Category"}) + "\n" + CCSVFile::JoinLine({"Speed", "Sensors"}) + "\n" +
            CCSVFile::JoinLine({"Lift \"main\"", "Motors, left"}) + "\n");
    Put(csv, "data.csv", "t,a,b\n0,1.5,2\n1,-3,4e-2\n");

    const fs::path udp = root / "udp_datagram";
    const std::string datagrams[] = {
        FrameUdpMessage("$QXRAW," + std::to_string(sample.m_inputs.Head()->m_id) + ",1.25"),
        FrameUdpMessage("$QXSENDER_STARTSIM"),
        FrameUdpMessage("$QXSENDER_STOPPING"),
        FrameUdpMessage("$ZOR_QUERYPRESENT"),
        FrameUdpMessage("$ZOR_QUERYINOUT"),
        FrameUdpMessage("$ZOR_QUERYINPUTS"),
        FrameUdpMessage("$ZOR_QUERYOUTPUTS"),
    };
    int k = 0;
    for (const std::string& d : datagrams) Put(udp, "datagram_" + std::to_string(k++), d);
    return 0;
}
