// Runtime file export: exact bytes of the header and every record kind, the two
// connection entry forms, fixed-width names, the file write and the manifest.
#include "persistence/runtime_export.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "algo/bytes.h"
#include "support/scripted_prompter.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

using test::Drop;
using test::DropConstant;

int32_t I32At(const std::vector<uint8_t>& b, size_t offset) {
    int32_t v = 0;
    EXPECT_LE(offset + 4, b.size());
    if (offset + 4 <= b.size()) std::memcpy(&v, b.data() + offset, 4);
    return v;
}

double F64At(const std::vector<uint8_t>& b, size_t offset) {
    double v = 0;
    if (offset + 8 <= b.size()) std::memcpy(&v, b.data() + offset, 8);
    return v;
}

std::u16string NameAt(const std::vector<uint8_t>& b, size_t offset) {
    std::u16string s;
    for (size_t i = 0; i < 100; ++i) {
        const uint16_t u = static_cast<uint16_t>(b[offset + 2 * i] | (b[offset + 2 * i + 1] << 8));
        if (u == 0) break;
        s.push_back(static_cast<char16_t>(u));
    }
    return s;
}

class RuntimeExport : public ::testing::Test {
  protected:
    void SetUp() override {
        system.SetRandom(&random);
        system.SetPrompter(&prompter);
    }
    CLcgRandom random{11};
    test::CScriptedPrompter prompter;
    CSystem system;
};

TEST_F(RuntimeExport, EmptySystemIsTwentyBytes) {
    system.m_systemId = 4711;
    const auto b = ExportRuntimeBytes(system);
    ASSERT_EQ(b.size(), 20u);
    EXPECT_EQ(I32At(b, 0), 4711);
    for (size_t off : {4u, 8u, 12u, 16u}) EXPECT_EQ(I32At(b, off), 0) << off;
}

TEST_F(RuntimeExport, RecordSizesAndLayout) {
    CNetwork* m = system.CreateModule("M", 0, 0);
    CNetworkModel* k = DropConstant(*m, 3.0);
    CNetworkModel* a = Drop(*m, 21);
    CNetworkModel* b = Drop(*m, 21);
    test::Wire(*m, *k, *a);
    test::Wire(*m, *k, *b);
    ASSERT_NE(k->AddOutput(0), nullptr);  // a second output without connections
    CNetworkInput* mi = m->CreateInput("mi");
    CNetworkOutput* mo = test::ExposeOutput(*m, *a, "mo");
    CExternalInput* x = system.CreateSystemInput("x", 1);
    CExternalOutput* open = system.CreateSystemOutput("open", 1);
    CExternalOutput* wired = system.CreateSystemOutput("wired", 1);
    ASSERT_NE(system.ConnectSystemOutput(*m, *wired, mo), nullptr);
    ASSERT_TRUE(mi && x && open);

    const auto bytes = ExportRuntimeBytes(system);
    // header 20, module 220, Constant 8+28+(12+2*28)+12, Adds 8+28+12+(12+28) and 8+28+12+12,
    // module input 216, module output 212, system input 212, outputs 212 and 224.
    const size_t kConst = 240, kAddA = kConst + 116, kAddB = kAddA + 88, kModIn = kAddB + 60;
    const size_t kModOut = kModIn + 216, kSysIn = kModOut + 212, kOpen = kSysIn + 212, kWired = kOpen + 212;
    ASSERT_EQ(bytes.size(), kWired + 224);

    EXPECT_EQ(I32At(bytes, 4), 1);
    EXPECT_EQ(I32At(bytes, 8), 1);
    EXPECT_EQ(I32At(bytes, 12), 2);
    EXPECT_EQ(I32At(bytes, 16), 0);
    EXPECT_EQ(I32At(bytes, 20), m->m_id);
    EXPECT_EQ(NameAt(bytes, 24), u"M");
    EXPECT_EQ(I32At(bytes, 224), 1);  // level
    EXPECT_EQ(I32At(bytes, 228), 1);  // module inputs
    EXPECT_EQ(I32At(bytes, 232), 1);  // module outputs
    EXPECT_EQ(I32At(bytes, 236), 3);  // components

    EXPECT_EQ(I32At(bytes, kConst), k->m_id);
    EXPECT_EQ(I32At(bytes, kConst + 4), 41);
    EXPECT_EQ(F64At(bytes, kConst + 8), 3.0);
    EXPECT_EQ(I32At(bytes, kConst + 24), 1);  // stage
    EXPECT_EQ(I32At(bytes, kConst + 28), 0);  // inputs
    EXPECT_EQ(I32At(bytes, kConst + 32), 2);  // outputs
    EXPECT_EQ(I32At(bytes, kConst + 44), 2);  // connections of the first output
    const CModelConnection* toA = k->FirstOutput()->m_connections.Head();
    // Output form: id, kind, source component, destination component, source output, destination input, port.
    EXPECT_EQ(I32At(bytes, kConst + 48), toA->m_id);
    EXPECT_EQ(I32At(bytes, kConst + 52), 3);
    EXPECT_EQ(I32At(bytes, kConst + 56), k->m_id);
    EXPECT_EQ(I32At(bytes, kConst + 60), a->m_id);
    EXPECT_EQ(I32At(bytes, kConst + 68), a->FirstInput()->m_id);
    EXPECT_EQ(I32At(bytes, kConst + 104 + 8), 0);  // second output: no connections

    EXPECT_EQ(I32At(bytes, kAddA), a->m_id);
    EXPECT_EQ(I32At(bytes, kAddA + 24), 2);  // stage
    EXPECT_EQ(I32At(bytes, kAddA + 36), a->FirstInput()->m_id);
    EXPECT_EQ(I32At(bytes, kAddA + 40), toA->m_id);
    EXPECT_EQ(I32At(bytes, kAddA + 44), 3);

    EXPECT_EQ(I32At(bytes, kModIn), mi->m_id);
    EXPECT_EQ(NameAt(bytes, kModIn + 4), u"mi");
    EXPECT_EQ(I32At(bytes, kModIn + 212), 0);  // no connections
    EXPECT_EQ(I32At(bytes, kModOut), mo->m_id);
    EXPECT_EQ(I32At(bytes, kModOut + 204), 4);
    EXPECT_EQ(I32At(bytes, kModOut + 208), mo->m_sourceConnectionId);

    EXPECT_EQ(I32At(bytes, kSysIn), x->m_id);
    EXPECT_EQ(I32At(bytes, kSysIn + 4), 1);
    EXPECT_EQ(I32At(bytes, kSysIn + 208), 0);
    EXPECT_EQ(I32At(bytes, kOpen + 208), 0);  // unconnected: connection id 0, nothing more
    EXPECT_EQ(I32At(bytes, kWired + 208), wired->m_id);
    EXPECT_EQ(I32At(bytes, kWired + 212), wired->m_id);
    EXPECT_EQ(I32At(bytes, kWired + 216), m->m_id);
    EXPECT_EQ(I32At(bytes, kWired + 220), mo->m_id);
}

TEST_F(RuntimeExport, ModuleInputEntriesCarryTheKindLast) {
    CNetwork* m = system.CreateModule("M", 0, 0);
    CNetworkModel* add = Drop(*m, 21);
    CExternalInput* x = system.CreateSystemInput("x", 1);
    CExternalConnection* ext = system.ConnectSystemInput(*x, *m);
    ASSERT_NE(ext, nullptr);
    CNetworkInput* mi = ext->m_moduleInput;
    ASSERT_EQ(m->RequestConnectModuleInput(*mi, *add, nullptr), 0);
    const auto bytes = ExportRuntimeBytes(system);
    const size_t kModIn = 240 + 8 + 28 + 12 + 12;  // after the Add with one input and no connections out
    ASSERT_EQ(bytes.size(), kModIn + 216 + 28 + 212 + 16);
    EXPECT_EQ(I32At(bytes, kModIn + 204), ext->m_id);  // source connection id
    EXPECT_EQ(I32At(bytes, kModIn + 208), 2);          // source kind: system input
    EXPECT_EQ(I32At(bytes, kModIn + 212), 1);
    const CModelConnection* c = mi->m_connections.Head();
    const size_t entry = kModIn + 216;
    EXPECT_EQ(I32At(bytes, entry), c->m_id);
    EXPECT_EQ(I32At(bytes, entry + 4), 0);  // source component
    EXPECT_EQ(I32At(bytes, entry + 8), add->m_id);
    EXPECT_EQ(I32At(bytes, entry + 16), add->FirstInput()->m_id);
    EXPECT_EQ(I32At(bytes, entry + 20), mi->m_id);
    EXPECT_EQ(I32At(bytes, entry + 24), 4);  // kind last
    const size_t sysIn = entry + 28;
    EXPECT_EQ(I32At(bytes, sysIn + 208), 1);
    EXPECT_EQ(I32At(bytes, sysIn + 212), ext->m_id);
    EXPECT_EQ(I32At(bytes, sysIn + 216), x->m_id);
    EXPECT_EQ(I32At(bytes, sysIn + 220), m->m_id);
    EXPECT_EQ(I32At(bytes, sysIn + 224), mi->m_id);
}

TEST_F(RuntimeExport, NamesAreCutToNinetyNineUnits) {
    const std::string emoji = "\xF0\x9F\x98\x80";  // one character, two UTF-16 units
    struct Case {
        const char* name;
        std::string text;
        size_t units;  // code units kept
    } cases[] = {
        {"99 fits", std::string(99, 'a'), 99},           {"100 cut", std::string(100, 'b'), 99},
        {"300 cut", std::string(300, 'c'), 99},          {"pair not split", std::string(98, 'd') + emoji, 98},
        {"pair fits", std::string(97, 'e') + emoji, 99}, {"empty", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSystem s;
        s.SetRandom(&random);
        s.CreateModule(c.text, 0, 0);
        const auto bytes = ExportRuntimeBytes(s);
        ASSERT_EQ(bytes.size(), 20u + 220u);  // the field never grows
        const std::u16string name = NameAt(bytes, 24);
        EXPECT_EQ(name.size(), c.units);
        EXPECT_EQ(I32At(bytes, 224), 1);  // the level follows the 200-byte field
    }
}

class RuntimeExportFiles : public RuntimeExport {
  protected:
    void SetUp() override {
        RuntimeExport::SetUp();
        dir = std::filesystem::temp_directory_path() / ("zor2_export_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

std::vector<uint8_t> ReadAll(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

TEST_F(RuntimeExportFiles, FileIsReplacedWholeAndFailuresAreReported) {
    system.CreateModule("M", 0, 0);
    const std::string path = (dir / "sys.z2r").string();
    std::ofstream(path) << "old contents that are longer than nothing";
    ASSERT_EQ(ExportRuntimeFile(system, path), 0);
    EXPECT_EQ(ReadAll(path), ExportRuntimeBytes(system));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    EXPECT_EQ(ExportRuntimeFile(system, (dir / "missing" / "sys.z2r").string()), ENOENT);
}

TEST_F(RuntimeExportFiles, ManifestTextAndEncoding) {
    system.m_name = "Demo";
    CNetwork* m = system.CreateModule("M", 0, 0);
    CNetworkModel* k = DropConstant(*m, 1.0);
    CNetworkOutput* mo = test::ExposeOutput(*m, *k, "mo");
    CExternalInput* speed = system.CreateSystemInput("speed", 1);
    speed->m_description = "metres per second";
    CExternalInput* other = system.CreateSystemInput("other", 1);
    CExternalOutput* y = system.CreateSystemOutput("y", 1);
    ASSERT_NE(system.ConnectSystemOutput(*m, *y, mo), nullptr);

    const std::string path = (dir / "demo.z2r").string();
    EXPECT_EQ(ManifestFileName(path), "ZOR2_RT_MANIFEST_demo.txt");
    const std::string u = std::string(67, '_') + "\n";
    const std::string expected =
        "Interface manifest file:\t[ZOR2_RT_MANIFEST_demo.txt]\n\n"
        "This is the interface manifest file for your exported runtime file (demo.z2r) for the (Demo.zr2) project.\n\n" +
        u +
        "This file provides detail about your project, including project name, project description, \n"
        "a listing of all system inputs and all system outputs, with the names and descriptions \n"
        "you provided, along with the unique identifier id's that you will use to access, modify \n"
        "and update in your host application using the ZOR2 Runtime API.\n" +
        u +
        "Exported Runtime file:\t[demo.z2r]\n\n"
        "Original Project file:\t[Demo.zr2]\n\n"
        "Project Description:\tNo Project Description (go to Project Info in Home Tab to add description)\n\n" +
        u + "Number of System Inputs:\t2\nName\tID\tDescription\n" + "speed\t" + std::to_string(speed->m_id) +
        "\tmetres per second\n" + "other\t" + std::to_string(other->m_id) + "\tNo Desc Provided\n" + "\n" +
        u + "Number of System Outputs:\t1\nName\tID\tDescription\n" + "y\t" + std::to_string(y->m_id) +
        "\tnon-array\tNo Desc Provided\n";
    EXPECT_EQ(Utf16ToUtf8(ManifestText(system, path)), expected);

    ASSERT_EQ(WriteManifest(system, path), 0);
    const auto bytes = ReadAll(dir / "ZOR2_RT_MANIFEST_demo.txt");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    std::u16string decoded;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        decoded.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    std::string withCrLf;
    for (char ch : expected) {
        if (ch == '\n') withCrLf += '\r';
        withCrLf += ch;
    }
    EXPECT_EQ(Utf16ToUtf8(decoded), withCrLf);

    system.m_description = "A demo";
    EXPECT_NE(Utf16ToUtf8(ManifestText(system, path)).find("Project Description:\tA demo\n\n"),
              std::string::npos);
    EXPECT_EQ(WriteManifest(system, (dir / "nowhere" / "x.z2r").string()), ENOENT);
}

}  // namespace
}  // namespace zor2
