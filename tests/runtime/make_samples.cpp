// Writes the hand-built sample runtime files into a folder, for the C host
// example and the install check that run as tests.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/runtime/z2r_builder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zor2_make_samples FOLDER\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const struct {
        const char* name;
        zor2::test::ZSystem system;
    } samples[] = {
        {"chain.z2r", zor2::test::ChainSystem()},
        {"feedback.z2r", zor2::test::FeedbackSystem()},
        {"two_modules.z2r", zor2::test::TwoModuleSystem()},
    };
    for (const auto& s : samples) {
        const auto bytes = zor2::test::WriteZ2r(s.system);
        std::ofstream out(dir + "/" + s.name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), s.name);
            return 1;
        }
    }
    return 0;
}
