// Shared helpers of the data and display component tests: a temporary folder
// with files, a system with one module, and value comparison that knows NaN.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/system.h"
#include "support/scripted_prompter.h"
#include "support/system_builder.h"

namespace zor2::test {

inline bool SameValue(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

/// A folder that goes away with the test.
class CTempDir {
  public:
    CTempDir() {
        char dir[] = "/tmp/zor2_data_XXXXXX";
        m_dir = mkdtemp(dir) ? dir : "/tmp";
    }
    ~CTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    /// Writes `content` to `name` and returns its path.
    std::string Write(const std::string& name, const std::string& content) const {
        std::ofstream(Path(name), std::ios::binary) << content;
        return Path(name);
    }
    std::string Read(const std::string& name) const {
        std::ifstream f(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }

  private:
    std::string m_dir;
};

/// A system with one module and a seeded random source; questions answered Yes.
struct CDataSystem {
    CLcgRandom random{11};
    CScriptedPrompter prompter = CScriptedPrompter::AnsweringEvery(EAnswer::Yes);
    CSystem system;
    CNetwork* module = nullptr;

    CDataSystem() {
        system.SetRandom(&random);
        system.SetPrompter(&prompter);
        module = system.CreateModule("Data", 100, 100);
    }
    CNetworkModel* Constant(double v) { return DropConstant(*module, v); }
    /// `src`'s first output to input `inputId` of `dst` (0: a new input).
    void Wire(CNetworkModel& src, CNetworkModel& dst, int32_t inputId = 0) {
        EXPECT_EQ(
            module->RequestConnect(src, src.FirstOutput(), dst, inputId ? dst.FindInput(inputId) : nullptr),
            0);
    }
    double Out(const CNetworkModel& c, int32_t outputId) const {
        const CModelOutput* out = c.FindOutput(outputId);
        return out ? out->m_value : -12345.0;
    }
    std::string Text(const CNetworkModel& c, int32_t outputId) const {
        const CModelOutput* out = c.FindOutput(outputId);
        return out ? out->ValueString() : "?";
    }
};

}  // namespace zor2::test
