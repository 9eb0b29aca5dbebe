// Sound keys and the wave-file check the players make before opening a file.
#include "simulation/sim_sounds.h"

#include <cstring>
#include <fstream>

#include "engine/component.h"
#include "engine/network.h"

namespace zor2 {

uint64_t SoundKey(const CNetworkModel& c) {
    const uint32_t module = c.m_owner ? static_cast<uint32_t>(c.m_owner->m_id) : 0u;
    return (static_cast<uint64_t>(module) << 32) | static_cast<uint32_t>(c.m_id);
}

CSoundResult CheckWaveFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {kSoundFileUnreadable, "The file does not exist or cannot be read."};
    char header[12] = {};
    in.read(header, sizeof header);
    if (in.gcount() != static_cast<std::streamsize>(sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return {kSoundNotWave, "The file is not a wave (RIFF/WAVE) sound file."};
    return {};
}

}  // namespace zor2
