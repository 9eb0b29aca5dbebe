// A scratch file for the fuzz targets whose readers take a path: the input is
// written to memory-backed storage when the machine has it.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace zor2::fuzz {

inline const std::string& ScratchPath(const char* extension) {
    static const std::string path = [extension] {
        const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(dir) + "/zor2_fuzz_" + std::to_string(::getpid()) + extension;
    }();
    return path;
}

/// Writes the input to the scratch file and returns its path.
inline const std::string& WriteScratch(const uint8_t* data, size_t size, const char* extension) {
    const std::string& path = ScratchPath(extension);
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

}  // namespace zor2::fuzz
