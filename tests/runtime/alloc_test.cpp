// A runtime cycle allocates nothing: counts every operator new in the process
// (the library's too) while Execute runs.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zor2runtime.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "support/alloc_counter.h"
#include "tests/runtime/z2r_builder.h"

namespace zor2::test {
namespace {

TEST(RuntimeCycle, ExecuteAllocatesNothing) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("zor2_alloc_" + std::to_string(::getpid()) + ".z2r"))
            .string();
    std::vector<std::vector<uint8_t>> files = {WriteZ2r(ChainSystem()), WriteZ2r(FeedbackSystem()),
                                               WriteZ2r(TwoModuleSystem())};
    // Random systems reach every compiled step kind and the call-through ones.
    for (uint32_t seed = 1; seed <= 5; ++seed) files.push_back(RandomSystem(seed));
    for (const auto& bytes : files) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        const long beforeLoad = AllocationCount();
        ASSERT_EQ(qxAISystem_Load(path.c_str(), 0, nullptr), 1);
        const long before = AllocationCount();
        ASSERT_GT(before, beforeLoad);  // the counter sees the library's own allocations
        for (int i = 0; i < 100; ++i) ASSERT_EQ(qxAISystem_Execute(), 0);
        EXPECT_EQ(AllocationCount(), before);
    }
    qxAISystem_Unload();
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace zor2::test
