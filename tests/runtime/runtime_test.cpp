// Runtime library tests through the public C interface: lifecycle codes, hand-built
// files (chain, feedback, levels), damaged files and the host-facing records.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zor2runtime.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "algo/bytes.h"
#include "tests/runtime/z2r_builder.h"

namespace zor2::test {
namespace {

namespace fs = std::filesystem;

class RuntimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qxAISystem_Unload();
        // Memory-backed when the machine has it: the damaged-file loops write thousands of files.
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        m_dir = base / ("zor2_rt_" + std::to_string(::getpid()) + "_" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        qxAISystem_Unload();
        fs::remove_all(m_dir);
    }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }
    int32_t Load(const std::vector<uint8_t>& bytes, qxAISystemLoadResult* result = nullptr) {
        return qxAISystem_Load(Write("sys.z2r", bytes).c_str(), 0, result);
    }
    static double Out(int32_t id) {
        double v = -999.0;
        EXPECT_EQ(qxAISystem_GetSystemOutputValue(0, id, &v), 0) << "output " << id;
        return v;
    }
    fs::path m_dir;
};

std::string Message(const qxAISystemLoadResult& r) {
    std::u16string text;
    for (uint16_t u : r.message) {
        if (u == 0) break;
        text.push_back(static_cast<char16_t>(u));
    }
    return Utf16ToUtf8(text);
}

// ---- Lifecycle and status codes --------------------------------------------------

TEST_F(RuntimeTest, NothingLoadedGivesMinusOneEverywhere) {
    double v = 0.0;
    qxAISystemPortInfo info{};
    EXPECT_EQ(qxAISystem_Execute(), -1);
    EXPECT_EQ(qxAISystem_SetValue(1, 1.0), -1);
    EXPECT_EQ(qxAISystem_SetArrayValues(1, &v, 1), -1);
    EXPECT_EQ(qxAISystem_GetCountSystemInputs(), -1);
    EXPECT_EQ(qxAISystem_GetCountSystemOutputs(), -1);
    EXPECT_EQ(qxAISystem_GetSystemInputInfo(0, 1, &info), -1);
    EXPECT_EQ(qxAISystem_GetSystemInputValue(0, 1, &v), -1);
    EXPECT_EQ(qxAISystem_GetSystemOutputInfo(0, 1, &info), -1);
    EXPECT_EQ(qxAISystem_GetSystemOutputValue(0, 1, &v), -1);
    EXPECT_EQ(qxAISystem_GetAllSystemInputs(0, &info), -1);
    EXPECT_EQ(qxAISystem_GetAllSystemOutputs(0, &info), -1);
    EXPECT_EQ(qxAISystem_GetSystemOutputValues(1, &v, 1), -1);
    EXPECT_EQ(qxAISystem_Unload(), 0);
}

TEST(RuntimeRecords, NaturalAlignmentFieldOrder) {
    // Field order is fixed; natural alignment with native pointers.
    EXPECT_EQ(offsetof(qxAISystemLoadResult, status), 0u);
    EXPECT_EQ(offsetof(qxAISystemLoadResult, loaded), 4u);
    EXPECT_EQ(offsetof(qxAISystemLoadResult, message), 6u);
    EXPECT_EQ(sizeof(qxAISystemLoadResult), 520u);
    EXPECT_EQ(offsetof(qxAISystemPortInfo, id), 0u);
    EXPECT_EQ(offsetof(qxAISystemPortInfo, kind), 4u);
    EXPECT_EQ(offsetof(qxAISystemPortInfo, value), 8u);
    EXPECT_EQ(offsetof(qxAISystemPortInfo, name), 16u);
    EXPECT_EQ(offsetof(qxAISystemPortInfo, data), 216u);
    EXPECT_EQ(offsetof(qxAISystemPortInfo, count), 216u + sizeof(void*));
}

TEST_F(RuntimeTest, VersionIsExactly213) {
    EXPECT_EQ(qxAISystem_GetVersion(), 2.13);
}

TEST_F(RuntimeTest, MissingFileGivesEightAndAnEmptySystem) {
    qxAISystemLoadResult r{};
    r.status = 77;
    r.loaded = 0;
    EXPECT_EQ(qxAISystem_Load((m_dir / "absent.z2r").c_str(), 0, &r), 8);
    EXPECT_EQ(Message(r), "qxMindlatch2 Runtime could not open file.\n\n Reason: No such file or directory");
    EXPECT_EQ(r.status, 77);  // failure writes only the message
    EXPECT_EQ(r.loaded, 0);
    EXPECT_EQ(qxAISystem_GetCountSystemInputs(), 0);
    EXPECT_EQ(qxAISystem_GetCountSystemOutputs(), 0);
    EXPECT_EQ(qxAISystem_Execute(), 0);
    EXPECT_EQ(qxAISystem_Unload(), 0);
    EXPECT_EQ(qxAISystem_Execute(), -1);
}

TEST_F(RuntimeTest, MissingFileWithoutRecordStillGivesEight) {
    EXPECT_EQ(qxAISystem_Load((m_dir / "absent.z2r").c_str(), 0, nullptr), 8);
}

TEST_F(RuntimeTest, OnlyRegularFilesAreRead) {
    // A device or a FIFO would stream without end or wait for a writer.
    const std::string fifo = (m_dir / "pipe.z2r").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {m_dir.string(), std::string("/dev/zero"), fifo}) {
        SCOPED_TRACE(path);
        qxAISystemLoadResult r{};
        EXPECT_EQ(qxAISystem_Load(path.c_str(), 0, &r), 64);
        EXPECT_EQ(Message(r), "qxMindlatch2 Runtime could not open file.\n\n Reason: Not a regular file");
        EXPECT_EQ(qxAISystem_GetCountSystemInputs(), 0);
    }
}

TEST_F(RuntimeTest, FilesTheDesignerDoesNotWriteAreRefusedWithTheirOffset) {
    const auto good = WriteZ2r(TwoModuleSystem());
    ZSystem zeroId = TwoModuleSystem();
    zeroId.inputs[1].id = 0;  // no call by id could reach it
    const auto zero = WriteZ2r(zeroId);
    // Counted from the end: two input records with one connection each, the
    // connected and the unconnected output, the module connections.
    const size_t inputRecord = 4 + 4 + 200 + 4 + 16;
    const size_t secondInput = zero.size() - (inputRecord * 2 + 224 + 212 + 20 * zeroId.connections.size());
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string message;
    };
    std::vector<uint8_t> tail = good;
    tail.push_back(0);
    const Case cases[] = {
        {"a byte after the last record", tail,
         "qxMindlatch2 Runtime could not read file (1 bytes follow the last record at byte offset " +
             std::to_string(good.size()) + ").\n\n Reason: Corrupt file"},
        {"a system input with id 0", zero,
         "qxMindlatch2 Runtime could not read file (system input id 0 at byte offset " +
             std::to_string(secondInput) + "; ids start at 1).\n\n Reason: Corrupt file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qxAISystemLoadResult r{};
        EXPECT_EQ(Load(c.bytes, &r), 32);
        EXPECT_EQ(Message(r), c.message);
    }
}

TEST_F(RuntimeTest, SuccessfulLoadFillsTheRecord) {
    qxAISystemLoadResult r{};
    r.status = 5;
    const std::string path = Write("chain.z2r", WriteZ2r(ChainSystem()));
    ASSERT_EQ(qxAISystem_Load(path.c_str(), 1234, &r), 1);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.loaded, 1);
    EXPECT_EQ(
        Message(r),
        "Successfully opened runtime file (chain.z2r) - 1 module(s), 1 system input(s), 1 system output(s)");
}

TEST_F(RuntimeTest, EmptySystemIsTwentyBytesAndRuns) {
    ZSystem s;
    s.id = 42;
    const auto bytes = WriteZ2r(s);
    ASSERT_EQ(bytes.size(), 20u);
    ASSERT_EQ(Load(bytes), 1);
    EXPECT_EQ(qxAISystem_GetCountSystemInputs(), 0);
    EXPECT_EQ(qxAISystem_Execute(), 0);
}

TEST_F(RuntimeTest, BadIdsGiveMinusTwoAndChangeNothing) {
    ASSERT_EQ(Load(WriteZ2r(ChainSystem())), 1);
    double v = 0.0;
    qxAISystemPortInfo info{};
    for (int32_t id : {0, -5, 12345, 21 /* an output id, not an input */}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(qxAISystem_SetValue(id, 1.0), -2);
        EXPECT_EQ(qxAISystem_SetArrayValues(id, &v, 1), -2);
        EXPECT_EQ(qxAISystem_GetSystemInputInfo(0, id, &info), -2);
        EXPECT_EQ(qxAISystem_GetSystemInputValue(0, id, &v), -2);
    }
    for (int32_t id : {0, -1, 999, 11 /* an input id */}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(qxAISystem_GetSystemOutputInfo(0, id, &info), -2);
        EXPECT_EQ(qxAISystem_GetSystemOutputValue(0, id, &v), -2);
        EXPECT_EQ(qxAISystem_GetSystemOutputValues(id, &v, 1), -2);
    }
    EXPECT_EQ(qxAISystem_GetSystemInputValue(0, 11, &v), 0);
    EXPECT_EQ(v, 0.0);
}

TEST_F(RuntimeTest, NullPointersGiveMinusThreeAndChangeNothing) {
    EXPECT_EQ(qxAISystem_Load(nullptr, 0, nullptr), -3);
    EXPECT_EQ(qxAISystem_Execute(), -1);  // nothing was loaded by the null call
    ASSERT_EQ(Load(WriteZ2r(ChainSystem())), 1);
    ASSERT_EQ(qxAISystem_SetValue(11, 2.0), 0);
    EXPECT_EQ(qxAISystem_Load(nullptr, 0, nullptr), -3);
    EXPECT_EQ(qxAISystem_GetCountSystemInputs(), 1);  // still loaded
    EXPECT_EQ(qxAISystem_GetSystemInputInfo(0, 11, nullptr), -3);
    EXPECT_EQ(qxAISystem_GetSystemInputValue(0, 11, nullptr), -3);
    EXPECT_EQ(qxAISystem_GetSystemOutputInfo(0, 21, nullptr), -3);
    EXPECT_EQ(qxAISystem_GetSystemOutputValue(0, 21, nullptr), -3);
    EXPECT_EQ(qxAISystem_GetAllSystemInputs(0, nullptr), -3);
    EXPECT_EQ(qxAISystem_GetAllSystemOutputs(0, nullptr), -3);
    EXPECT_EQ(qxAISystem_SetArrayValues(11, nullptr, 3), -3);
    double one = 1.0;
    EXPECT_EQ(qxAISystem_SetArrayValues(11, &one, -1), -3);
    EXPECT_EQ(qxAISystem_GetSystemOutputValues(21, nullptr, 1), -3);
    EXPECT_EQ(qxAISystem_GetSystemOutputValues(21, &one, -1), -3);
    EXPECT_EQ(qxAISystem_GetSystemOutputValues(21, nullptr, 0), 1);  // size query
    EXPECT_EQ(qxAISystem_SetArrayValues(11, nullptr, 0), 0);         // clears the array
    double v = 0.0;
    EXPECT_EQ(qxAISystem_GetSystemInputValue(0, 11, &v), 0);
    EXPECT_EQ(v, 2.0);
}

TEST_F(RuntimeTest, LoadReplacesAndUnloadEnds) {
    ASSERT_EQ(Load(WriteZ2r(ChainSystem())), 1);
    EXPECT_EQ(qxAISystem_GetCountSystemOutputs(), 1);
    ASSERT_EQ(Load(WriteZ2r(TwoModuleSystem())), 1);
    EXPECT_EQ(qxAISystem_GetCountSystemOutputs(), 2);
    EXPECT_EQ(qxAISystem_GetCountSystemInputs(), 3);
    EXPECT_EQ(qxAISystem_Unload(), 0);
    EXPECT_EQ(qxAISystem_Execute(), -1);
    EXPECT_EQ(qxAISystem_Unload(), 0);
}

// ---- Execution --------------------------------------------------------------------

TEST_F(RuntimeTest, ConstantThroughAddToSystemOutput) {
    ASSERT_EQ(Load(WriteZ2r(ChainSystem())), 1);
    EXPECT_EQ(Out(21), 0.0);  // nothing runs before the first Execute
    struct Case {
        double input, expected;
    } cases[] = {{0.0, 5.0}, {2.5, 7.5}, {-5.0, 0.0}, {1e300, 1e300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        ASSERT_EQ(qxAISystem_SetValue(11, c.input), 0);
        ASSERT_EQ(qxAISystem_Execute(), 0);
        EXPECT_EQ(Out(21), c.expected);
    }
}

TEST_F(RuntimeTest, FeedbackFlowCarriesTheSumIntoTheNextCycle) {
    ASSERT_EQ(Load(WriteZ2r(FeedbackSystem())), 1);
    for (int cycle = 1; cycle <= 5; ++cycle) {
        SCOPED_TRACE(cycle);
        ASSERT_EQ(qxAISystem_Execute(), 0);
        EXPECT_EQ(Out(31), cycle);
        EXPECT_EQ(Out(32), cycle);
    }
}

TEST_F(RuntimeTest, ConsumerOfFeedbackSeesZeroThenTheValue) {
    // Constant 5 -> Feedback Flow -> Add (one input) -> system output.
    ZSystem s;
    ZModule m{.id = 1, .name = u"M"};
    m.components.push_back({.id = 1,
                            .type = 41,
                            .value = 5.0,
                            .stage = 1,
                            .outputs = {{.id = 10, .conns = {{1, 3, 1, 2, 10, 10, 0}}}}});
    m.components.push_back({.id = 2,
                            .type = 56,
                            .stage = 0,
                            .inputs = {{10, 1, 3}},
                            .outputs = {{.id = 10, .conns = {{2, 3, 2, 3, 10, 1, 0}}}}});
    m.components.push_back({.id = 3,
                            .type = 21,
                            .stage = 1,
                            .inputs = {{1, 2, 3}},
                            .outputs = {{.id = 10, .conns = {{3, 4, 3, 0, 10, 0, 50}}}}});
    m.outputs.push_back({.id = 50, .name = u"o", .srcKind = 4, .srcConn = 3});
    s.modules.push_back(m);
    s.outputs.push_back({.id = 1, .name = u"o", .module = 1, .moduleOutput = 50});
    ASSERT_EQ(Load(WriteZ2r(s)), 1);
    const double expected[] = {0.0, 5.0, 5.0};
    for (double e : expected) {
        ASSERT_EQ(qxAISystem_Execute(), 0);
        EXPECT_EQ(Out(1), e);
    }
}

TEST_F(RuntimeTest, ModulesRunByLevelNotByFileOrder) {
    ASSERT_EQ(Load(WriteZ2r(TwoModuleSystem())), 1);
    qxAISystem_SetValue(1, 2.0);
    qxAISystem_SetValue(2, 3.0);
    qxAISystem_SetValue(3, 4.0);
    ASSERT_EQ(qxAISystem_Execute(), 0);
    EXPECT_EQ(Out(41), 20.0);  // same cycle: B sees A's fresh sum
    EXPECT_EQ(Out(42), 0.0);   // unconnected output keeps 0
}

struct MathCase {
    const char* name;
    int32_t type;
    std::vector<double> inputs;  // one connected input per value, in list order
    double expected;
};

class MathFamilyTest : public RuntimeTest, public ::testing::WithParamInterface<MathCase> {};

TEST_P(MathFamilyTest, ComputesFromConstants) {
    const MathCase& c = GetParam();
    ZSystem s;
    ZModule m{.id = 1, .name = u"M"};
    ZComponent op{.id = 100, .type = c.type, .stage = 2};
    for (size_t i = 0; i < c.inputs.size(); ++i) {
        const int32_t conn = static_cast<int32_t>(i + 1);
        const int32_t inputId = c.type == 89 || c.type == 24 || c.type == 88
                                    ? static_cast<int32_t>(10 * (i + 1))
                                    : static_cast<int32_t>(i + 1);
        m.components.push_back(
            {.id = static_cast<int32_t>(i + 1),
             .type = 41,
             .value = c.inputs[i],
             .stage = 1,
             .outputs = {
                 {.id = 10, .conns = {{conn, 3, static_cast<int32_t>(i + 1), 100, 10, inputId, 0}}}}});
        op.inputs.push_back({inputId, conn, 3});
    }
    op.outputs.push_back({.id = 10, .conns = {{99, 4, 100, 0, 10, 0, 7}}});
    m.components.push_back(op);
    m.outputs.push_back({.id = 7, .name = u"r", .srcKind = 4, .srcConn = 99});
    s.modules.push_back(m);
    s.outputs.push_back({.id = 1, .name = u"r", .module = 1, .moduleOutput = 7});
    ASSERT_EQ(Load(WriteZ2r(s)), 1);
    ASSERT_EQ(qxAISystem_Execute(), 0);
    EXPECT_EQ(Out(1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Runtime, MathFamilyTest,
    ::testing::Values(MathCase{"AddThree", 21, {1.5, 2.25, 0.0}, 3.75}, MathCase{"AddNone", 21, {}, 0.0},
                      MathCase{"Subtract", 22, {10, 3, 2}, 5.0}, MathCase{"SubtractOne", 22, {7}, 7.0},
                      // The designer's rule, shared through the kernel: one factor gives 0, zeros count.
                      MathCase{"MultiplyOne", 23, {4}, 0.0}, MathCase{"MultiplyZero", 23, {2, 0, 3}, 0.0},
                      MathCase{"MultiplyTwo", 23, {2, -3}, -6.0},
                      MathCase{"DivideByZeroSkipped", 24, {8, 0}, 8.0}, MathCase{"Divide", 24, {8, 2}, 4.0},
                      MathCase{"Min", 86, {-1, 5, -3}, -3.0}, MathCase{"MinNone", 86, {}, 0.0},
                      MathCase{"Max", 87, {-1, 5, -3}, 5.0}, MathCase{"ReverseSign", 88, {2.5}, -2.5},
                      MathCase{"ReverseSignOpen", 88, {}, 0.0}, MathCase{"RangeOpenInputs", 89, {}, 1.0},
                      MathCase{"RangeInclusive", 89, {1, 0, 1}, 1.0},
                      MathCase{"RangeOutside", 89, {1.5, 0, 1}, 0.0}),
    [](const ::testing::TestParamInfo<MathCase>& info) { return std::string(info.param.name); });

TEST_F(RuntimeTest, TenThousandComponentsInOneModule) {
    // A chain of 10,000 Adds after a Constant, listed in reverse so that stage
    // order and list order differ, plus one Add fed by the Constant 10,000 times.
    constexpr int32_t kChain = 10000;
    ZSystem s;
    ZModule m{.id = 1, .name = u"Big"};
    ZComponent k{.id = 1, .type = 41, .value = 0.5, .stage = 1, .outputs = {{.id = 10}}};
    ZComponent fan{.id = 3 + kChain, .type = 21, .stage = 2};
    for (int32_t i = 0; i < kChain; ++i) {
        k.outputs[0].conns.push_back({100000 + i, 3, 1, fan.id, 10, i + 1, 0});
        fan.inputs.push_back({i + 1, 100000 + i, 3});
    }
    k.outputs[0].conns.push_back({1, 3, 1, 2, 10, 1, 0});
    fan.outputs.push_back({.id = 10, .conns = {{2, 4, fan.id, 0, 10, 0, 501}}});
    std::vector<ZComponent> chain;
    for (int32_t i = 0; i < kChain; ++i) {
        const int32_t id = 2 + i;
        ZComponent add{.id = id, .type = 21, .stage = 2 + i, .inputs = {{1, id - 1, 3}}};
        add.outputs.push_back({.id = 10});
        if (i + 1 < kChain) {
            add.outputs[0].conns.push_back({id, 3, id, id + 1, 10, 1, 0});
        } else {
            add.outputs[0].conns.push_back({id, 4, id, 0, 10, 0, 500});
        }
        chain.push_back(add);
    }
    m.components.push_back(k);
    m.components.push_back(fan);
    m.components.insert(m.components.end(), chain.rbegin(), chain.rend());
    m.outputs.push_back({.id = 500, .name = u"end", .srcKind = 4, .srcConn = 1 + kChain});
    m.outputs.push_back({.id = 501, .name = u"fan", .srcKind = 4, .srcConn = 2});
    s.modules.push_back(m);
    s.outputs.push_back({.id = 1, .name = u"end", .module = 1, .moduleOutput = 500});
    s.outputs.push_back({.id = 2, .name = u"fan", .module = 1, .moduleOutput = 501});
    ASSERT_EQ(Load(WriteZ2r(s)), 1);
    ASSERT_EQ(qxAISystem_Execute(), 0);
    EXPECT_EQ(Out(1), 0.5);
    EXPECT_EQ(Out(2), 0.5 * kChain);
}

// ---- Records for the host -----------------------------------------------------------

TEST_F(RuntimeTest, InputInfoPointsAtTheLiveValue) {
    ASSERT_EQ(Load(WriteZ2r(ChainSystem())), 1);
    qxAISystemPortInfo info{};
    info.count = -7;
    ASSERT_EQ(qxAISystem_GetSystemInputInfo(0, 11, &info), 0);
    EXPECT_EQ(info.id, 11);
    EXPECT_EQ(info.kind, 1);
    EXPECT_EQ(info.name[0], u'I');
    EXPECT_EQ(info.name[1], u'n');
    EXPECT_EQ(info.name[2], 0);
    EXPECT_EQ(info.count, -7);  // not written for inputs
    ASSERT_NE(info.data, nullptr);
    *info.data = 10.0;  // writing through it sets the input
    ASSERT_EQ(qxAISystem_Execute(), 0);
    EXPECT_EQ(Out(21), 15.0);
}

TEST_F(RuntimeTest, OutputInfoByIdAndAll) {
    ASSERT_EQ(Load(WriteZ2r(TwoModuleSystem())), 1);
    qxAISystem_SetValue(1, 1.0);
    qxAISystem_SetValue(2, 1.0);
    qxAISystem_SetValue(3, 3.0);
    ASSERT_EQ(qxAISystem_Execute(), 0);

    double copy = 0.0;
    qxAISystemPortInfo info{};
    info.data = &copy;
    ASSERT_EQ(qxAISystem_GetSystemOutputInfo(0, 41, &info), 0);
    EXPECT_EQ(info.value, 6.0);
    EXPECT_EQ(copy, 6.0);  // the value is also stored at the caller's address
    EXPECT_EQ(info.count, 1);
    EXPECT_EQ(info.kind, 1);
    info.data = nullptr;  // a null address is skipped
    EXPECT_EQ(qxAISystem_GetSystemOutputInfo(0, 41, &info), 0);

    std::vector<qxAISystemPortInfo> all(2);
    ASSERT_EQ(qxAISystem_GetAllSystemOutputs(0, all.data()), 0);
    EXPECT_EQ(all[0].id, 41);
    EXPECT_EQ(all[1].id, 42);
    ASSERT_NE(all[0].data, nullptr);
    EXPECT_EQ(*all[0].data, 6.0);  // live value
    qxAISystem_SetValue(3, 4.0);
    qxAISystem_Execute();
    EXPECT_EQ(*all[0].data, 8.0);

    std::vector<qxAISystemPortInfo> ins(3);
    ASSERT_EQ(qxAISystem_GetAllSystemInputs(0, ins.data()), 0);
    EXPECT_EQ(ins[2].id, 3);
    EXPECT_EQ(ins[2].value, 4.0);

    double values[4] = {-1, -1, -1, -1};
    EXPECT_EQ(qxAISystem_GetSystemOutputValues(41, values, 4), 1);
    EXPECT_EQ(values[0], 8.0);
    EXPECT_EQ(values[1], -1.0);
}

TEST_F(RuntimeTest, NamesAreCutToNinetyNineUnits) {
    ZSystem s;
    s.inputs.push_back({.id = 1, .name = std::u16string(150, u'x')});
    ASSERT_EQ(Load(WriteZ2r(s)), 1);
    qxAISystemPortInfo info{};
    ASSERT_EQ(qxAISystem_GetSystemInputInfo(0, 1, &info), 0);
    EXPECT_EQ(info.name[98], u'x');
    EXPECT_EQ(info.name[99], 0);
}

// ---- Damaged files -------------------------------------------------------------------

TEST_F(RuntimeTest, UnknownAndDesignerOnlyTypesStopTheLoad) {
    struct Case {
        int32_t type;
        const char* expected;
    } cases[] = {
        {99,
         "qxMindlatch2 Runtime could not read file (unknown component type 99 at byte offset 240).\n\n Reason: Corrupt file"},
        {55,
         "qxMindlatch2 Runtime could not read file (component type 55 at byte offset 240 runs only in the designer).\n\n Reason: Unsupported component type"},
        {0,
         "qxMindlatch2 Runtime could not read file (unknown component type 0 at byte offset 240).\n\n Reason: Corrupt file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ZSystem s = ChainSystem();
        s.modules[0].components[0].type = c.type;  // first record: 20 header + 220 module bytes
        qxAISystemLoadResult r{};
        EXPECT_EQ(Load(WriteZ2r(s), &r), 32);
        EXPECT_EQ(Message(r), c.expected);
        EXPECT_EQ(r.loaded, 0);
        EXPECT_EQ(qxAISystem_Execute(), 0);  // what was read stays loaded (here: nothing)
    }
}

TEST_F(RuntimeTest, CountFaultsNameTheirSection) {
    const auto good = WriteZ2r(TwoModuleSystem());
    struct Case {
        const char* name;
        size_t headerField;  // which header count to break
        const char* section;
        int32_t modules, inputs;  // what stays loaded
    } cases[] = {
        {"modules", 1, "module count", 0, 0},
        {"inputs", 2, "system input count", 2, 0},
        {"outputs", 3, "system output count", 2, 3},
        {"connections", 4, "system connection count", 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto bytes = good;
        const int32_t huge = 0x7fffffff;  // would be gigabytes if allocated blindly
        std::memcpy(bytes.data() + 4 * c.headerField, &huge, 4);
        qxAISystemLoadResult r{};
        EXPECT_EQ(Load(bytes, &r), 32);
        EXPECT_EQ(Message(r), std::string("qxMindlatch2 Runtime could not read file (error in ") + c.section +
                                  ").\n\n Reason: Corrupt file");
        EXPECT_EQ(qxAISystem_GetCountSystemInputs(), c.inputs);
        EXPECT_EQ(qxAISystem_Execute(), 0);
    }
}

TEST_F(RuntimeTest, DanglingIdsLeaveReferencesEmpty) {
    ZSystem s = TwoModuleSystem();
    s.modules[0].components[0].outputs[0].conns[0].modulePort = 9999;  // module output that does not exist
    s.modules[1].inputs[0].conns[0].dstComp = 4242;                    // component that does not exist
    s.modules[1].components[0].outputs[0].conns[0].dstIn = 0;
    s.inputs[2].conns[0].module = 777;  // module that does not exist
    s.outputs[1].module = 20;           // connected to a missing port
    s.outputs[1].moduleOutput = 31999;
    s.connections[0].srcOut = -1;
    ASSERT_EQ(Load(WriteZ2r(s)), 1);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(qxAISystem_Execute(), 0);
    EXPECT_EQ(Out(41), 0.0);
    EXPECT_EQ(Out(42), 0.0);
}

TEST_F(RuntimeTest, ComponentsAndInputsAreFoundByIdInAnyOrderAndTheFirstOfEqualIdsWins) {
    // The chain: Constant 5 feeds the Add's input 1, the system input 11 its input 2.
    struct Case {
        const char* name;
        void (*change)(ZModule&);
        double expected;  // output 21 with input 2.5
    };
    const Case cases[] = {
        {"inputs listed falling",
         [](ZModule& m) { std::swap(m.components[1].inputs[0], m.components[1].inputs[1]); }, 7.5},
        {"input ids far apart",
         [](ZModule& m) {
             m.components[1].inputs = {{5, 501, 3}, {9000, 601, 4}};
             m.components[0].outputs[0].conns[0].dstIn = 5;
             m.inputs[0].conns[0].dstIn = 9000;
         },
         7.5},
        {"a later component with the Add's id",
         [](ZModule& m) {
             m.components.push_back({.id = 2, .type = 23, .stage = 3, .inputs = {{1}, {2}}});
         },
         7.5},
        {"two inputs with one id: both connections reach the first, the constant's last",
         [](ZModule& m) { m.components[1].inputs[1].id = 1; }, 5.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ZSystem s = ChainSystem();
        c.change(s.modules[0]);
        ASSERT_EQ(Load(WriteZ2r(s)), 1);
        ASSERT_EQ(qxAISystem_SetValue(11, 2.5), 0);
        ASSERT_EQ(qxAISystem_Execute(), 0);
        EXPECT_EQ(Out(21), c.expected);
    }
}

TEST_F(RuntimeTest, DamagedStagesAndLevelsDoNotHang) {
    ZSystem s = ChainSystem();
    s.modules[0].components[0].stage = 0x7fffffff;  // the constant runs last, after the add
    s.modules[0].components[1].stage = -4;          // never runs
    ZSystem t = TwoModuleSystem();
    t.modules[0].level = 0;
    t.modules[1].level = 1000000;
    for (const ZSystem* sys : {&s, &t}) {
        ASSERT_EQ(Load(WriteZ2r(*sys)), 1);
        for (int i = 0; i < 3; ++i) ASSERT_EQ(qxAISystem_Execute(), 0);
    }
}

TEST_F(RuntimeTest, EveryTruncationLoadsOrFailsCleanly) {
    const std::vector<std::vector<uint8_t>> samples = {WriteZ2r(ChainSystem()), WriteZ2r(FeedbackSystem()),
                                                       WriteZ2r(TwoModuleSystem())};
    for (const auto& full : samples) {
        for (size_t n = 0; n < full.size(); ++n) {
            SCOPED_TRACE(n);
            std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
            qxAISystemLoadResult r{};
            ASSERT_EQ(Load(cut, &r), 32);
            ASSERT_NE(r.message[0], 0);
            ASSERT_EQ(qxAISystem_Execute(), 0);
            ASSERT_GE(qxAISystem_GetCountSystemOutputs(), 0);
        }
        ASSERT_EQ(Load(full), 1);
    }
}

TEST_F(RuntimeTest, RandomByteFlipsLoadOrFailCleanly) {
    const std::vector<std::vector<uint8_t>> samples = {WriteZ2r(ChainSystem()), WriteZ2r(FeedbackSystem()),
                                                       WriteZ2r(TwoModuleSystem())};
    std::mt19937 rng(20261209);
    int loaded = 0, failed = 0;
    for (int round = 0; round < 1500; ++round) {
        auto bytes = samples[static_cast<size_t>(round) % samples.size()];
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f)
            bytes[rng() % bytes.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
        const int32_t code = Load(bytes);
        ASSERT_TRUE(code == 1 || code == 32) << "round " << round << " code " << code;
        (code == 1 ? loaded : failed)++;
        ASSERT_EQ(qxAISystem_Execute(), 0);
        ASSERT_EQ(qxAISystem_Execute(), 0);
        const int32_t outs = qxAISystem_GetCountSystemOutputs();
        std::vector<qxAISystemPortInfo> infos(static_cast<size_t>(outs) + 1);
        ASSERT_EQ(qxAISystem_GetAllSystemOutputs(0, infos.data()), 0);
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(failed, 0);
}

}  // namespace
}  // namespace zor2::test
