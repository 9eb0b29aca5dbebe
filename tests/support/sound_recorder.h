// Test double for the sound player of the Sim Action Sound components: it
// records every command as one line and fails the files whose path says "bad".
#pragma once

#include <string>
#include <vector>

#include "engine/component.h"
#include "simulation/sim_sounds.h"

namespace zor2::test {

/// Records every sound command as one line ("play 123 /x.wav", "stop 123", ...);
/// files whose path contains "bad" fail to open and play.
class CSoundRecorder final : public ISimSounds {
  public:
    CSoundResult OpenSound(const CNetworkModel& c, const std::string& path) override {
        return Log("open", c, path);
    }
    CSoundResult PlaySound(const CNetworkModel& c, const std::string& path) override {
        return Log("play", c, path);
    }
    void StopSound(CNetworkModel& c) override { Log("stop", c, ""); }
    void CloseSound(const CNetworkModel& c) override { Log("close", c, ""); }
    void CloseAll() override { m_log.push_back("close all"); }
    void PlayFile(const std::string& path) override { m_log.push_back("test " + path); }
    void Beep() override { m_log.push_back("beep"); }

    std::vector<std::string> m_log;

  private:
    CSoundResult Log(const char* what, const CNetworkModel& c, const std::string& path) {
        m_log.push_back(std::string(what) + " " + std::to_string(c.m_id) + (path.empty() ? "" : " " + path));
        if (path.find("bad") == std::string::npos) return {};
        return {kSoundNotWave, "not a wave file"};
    }
};

}  // namespace zor2::test
