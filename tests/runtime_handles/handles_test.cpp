// The handle interface: every status a host can meet, and eight systems stepped on
// eight threads at once giving what the same systems give one after another.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zor2rt.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "components/utility/rand_gen.h"
#include "persistence/runtime_export.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

namespace fs = std::filesystem;

int32_t PortId(const zor2rt_system* s, int32_t direction, int32_t index) {
    zor2rt_port port{};
    EXPECT_EQ(zor2rt_port_info(s, direction, index, &port), ZOR2RT_OK);
    return port.id;
}

class RuntimeHandles : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("zor2_handles_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        m_path = (m_dir / "system.z2r").string();
        // x and y in; a random draw, a random walk, a running sum through a Feedback Flow out.
        CNetwork* m = m_system.CreateModule("Threads", 0, 0);
        CNetworkInput* x = Into(*m, "x");
        CNetworkInput* y = Into(*m, "y");
        auto* rand = static_cast<CModelRandGen*>(test::Drop(*m, 43));
        ASSERT_TRUE(rand->SetDraw({0, 1000, kRandInteger, kTimingCycles, 1, false}));
        auto* walk = static_cast<CModelDynamicNumber*>(test::Drop(*m, 81));
        CDynamicFields f;
        f.draw = {1.0, 1.0, kRandInteger, kTimingCycles, 1, true};
        ASSERT_TRUE(walk->SetFields(f));
        CNetworkModel* sum = test::Drop(*m, 21);
        CNetworkModel* fb = test::Drop(*m, 56);
        ASSERT_EQ(m->RequestConnectModuleInput(*x, *sum, nullptr), 0);
        ASSERT_EQ(m->RequestConnectModuleInput(*y, *sum, nullptr), 0);
        test::Wire(*m, *rand, *sum);
        ASSERT_EQ(m->RequestConnect(*sum, sum->FirstOutput(), *fb, fb->FirstInput()), 0);
        test::Wire(*m, *fb, *sum);
        for (auto [c, name] :
             {std::pair<CNetworkModel*, const char*>{rand, "rand"}, {walk, "walk"}, {sum, "sum"}}) {
            CNetworkOutput* mo = test::ExposeOutput(*m, *c, name);
            ASSERT_NE(m_system.ConnectSystemOutput(*m, *m_system.CreateSystemOutput(name, 1), mo), nullptr);
        }
        m_system.ResetSystem();
        ASSERT_EQ(ExportRuntimeFile(m_system, m_path), 0);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    CNetworkInput* Into(CNetwork& m, const std::string& name) {
        CExternalConnection* c = m_system.ConnectSystemInput(*m_system.CreateSystemInput(name, 1), m);
        return c ? c->m_moduleInput : nullptr;
    }

    /// Runs system `k` (its own seed and inputs) for `cycles` cycles; every output of every cycle.
    std::vector<double> Run(int k, int cycles) const {
        zor2rt_status status = ZOR2RT_CORRUPT_FILE;
        zor2rt_system* s = zor2rt_open(m_path.c_str(), &status);
        if (!s || status != ZOR2RT_OK) return {};
        zor2rt_set_seed(s, 100u + static_cast<uint32_t>(k));
        const int32_t n = zor2rt_output_count(s);
        std::vector<double> values(static_cast<size_t>(cycles * n));
        const int32_t x = PortId(s, ZOR2RT_INPUT, 0), y = PortId(s, ZOR2RT_INPUT, 1);
        for (int c = 0; c < cycles; ++c) {
            zor2rt_set_input(s, x, k + 0.5 * c);
            zor2rt_set_input(s, y, -k);
            zor2rt_step(s);
            zor2rt_get_outputs(s, values.data() + static_cast<size_t>(c * n), n);
        }
        zor2rt_close(s);
        return values;
    }

    CLcgRandom m_random{7};
    CSystem m_system;
    fs::path m_dir;
    std::string m_path;
};

TEST_F(RuntimeHandles, EightThreadsGiveTheSingleThreadedResults) {
    constexpr int kSystems = 8, kCycles = 2000;
    std::vector<std::vector<double>> alone(kSystems), threaded(kSystems);
    for (int k = 0; k < kSystems; ++k) alone[k] = Run(k, kCycles);
    std::vector<std::thread> threads;
    for (int k = 0; k < kSystems; ++k) threads.emplace_back([&, k] { threaded[k] = Run(k, kCycles); });
    for (std::thread& t : threads) t.join();
    for (int k = 0; k < kSystems; ++k) {
        SCOPED_TRACE(k);
        ASSERT_EQ(alone[k].size(), static_cast<size_t>(3 * kCycles));
        EXPECT_EQ(alone[k], threaded[k]);
    }
    // Each handle draws from its own seed: the systems differ from each other.
    EXPECT_NE(alone[0], alone[1]);
}

TEST_F(RuntimeHandles, StatusCodes) {
    const std::string folder = m_dir.string();
    const std::string corrupt = (m_dir / "corrupt.z2r").string();
    FILE* f = std::fopen(corrupt.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a runtime file at all, just text", f);
    std::fclose(f);
    struct Case {
        const char* name;
        const char* path;
        zor2rt_status expected;
    } const opens[] = {
        {"null path", nullptr, ZOR2RT_NULL_ARGUMENT},
        {"missing", "/nonexistent/zor2/x.z2r", ZOR2RT_NO_SUCH_FILE},
        {"folder", folder.c_str(), ZOR2RT_NOT_A_FILE},
        {"corrupt", corrupt.c_str(), ZOR2RT_CORRUPT_FILE},
    };
    for (const Case& c : opens) {
        SCOPED_TRACE(c.name);
        zor2rt_status status = ZOR2RT_OK;
        EXPECT_EQ(zor2rt_open(c.path, &status), nullptr);
        EXPECT_EQ(status, c.expected);
        EXPECT_STRNE(zor2rt_status_text(status), "unknown status");
    }

    zor2rt_system* s = zor2rt_open(m_path.c_str(), nullptr);
    ASSERT_NE(s, nullptr);
    const int32_t x = PortId(s, ZOR2RT_INPUT, 0), sum = PortId(s, ZOR2RT_OUTPUT, 2);
    double v = 0.0, buffer[4] = {};
    int32_t count = 0;
    zor2rt_port port{};
    struct Call {
        const char* name;
        zor2rt_status got;
        zor2rt_status expected;
    } const calls[] = {
        {"step null", zor2rt_step(nullptr), ZOR2RT_NULL_ARGUMENT},
        {"set input", zor2rt_set_input(s, x, 4.5), ZOR2RT_OK},
        {"set input bad id", zor2rt_set_input(s, 0, 1.0), ZOR2RT_BAD_ID},
        {"array bad id", zor2rt_set_input_array(s, 99, buffer, 4), ZOR2RT_BAD_ID},
        {"array null block", zor2rt_set_input_array(s, x, nullptr, 2), ZOR2RT_NULL_ARGUMENT},
        {"array negative", zor2rt_set_input_array(s, x, buffer, -1), ZOR2RT_BAD_ARGUMENT},
        {"array copied", zor2rt_set_input_array(s, x, buffer, 4), ZOR2RT_OK},
        {"array cleared", zor2rt_set_input_array(s, x, nullptr, 0), ZOR2RT_OK},
        {"step", zor2rt_step(s), ZOR2RT_OK},
        {"output null value", zor2rt_get_output(s, sum, nullptr), ZOR2RT_NULL_ARGUMENT},
        {"output", zor2rt_get_output(s, sum, &v), ZOR2RT_OK},
        {"output bad id", zor2rt_get_output(s, -1, &v), ZOR2RT_BAD_ID},
        {"outputs too small", zor2rt_get_outputs(s, buffer, 2), ZOR2RT_BAD_ARGUMENT},
        {"outputs", zor2rt_get_outputs(s, buffer, 4), ZOR2RT_OK},
        {"array size only", zor2rt_get_output_array(s, sum, nullptr, 0, &count), ZOR2RT_OK},
        {"array no count", zor2rt_get_output_array(s, sum, buffer, 1, nullptr), ZOR2RT_NULL_ARGUMENT},
        {"port bad index", zor2rt_port_info(s, ZOR2RT_OUTPUT, 3, &port), ZOR2RT_BAD_ID},
        {"port bad direction", zor2rt_port_info(s, 7, 0, &port), ZOR2RT_BAD_ID},
        {"port", zor2rt_port_info(s, ZOR2RT_OUTPUT, 2, &port), ZOR2RT_OK},
    };
    for (const Call& c : calls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.expected);
    }
    EXPECT_EQ(count, 1);
    EXPECT_EQ(buffer[2], v);  // the running sum as the list of all outputs gave it
    EXPECT_STREQ(port.name, "sum");
    EXPECT_EQ(zor2rt_input_count(s), 2);
    EXPECT_EQ(zor2rt_output_count(nullptr), -1);
    zor2rt_close(s);
    zor2rt_close(nullptr);
}

}  // namespace
}  // namespace zor2
