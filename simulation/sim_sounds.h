// The sound service of the Sim Action Sound components: the interface the engine
// plays and silences wave files through (the designer supplies a player, tests a
// recorder), and the check a player makes before it opens a file.
#pragma once

#include <cstdint>
#include <string>

namespace zor2 {

class CNetworkModel;

/// The outcome of a sound command: code 0 and no text on success.
struct CSoundResult {
    int32_t code = 0;
    std::string text;
    bool Ok() const { return code == 0; }
};

/// Error codes the players report.
inline constexpr int32_t kSoundFileUnreadable = 1;
inline constexpr int32_t kSoundNotWave = 2;
inline constexpr int32_t kSoundUnavailable = 3;

/// Plays and silences the sounds of Sim Action Sound components. A component's
/// sound is addressed by the component (SoundKey: its module and its id, so it
/// survives an undo that rebuilds the objects). Every call but StopSound does
/// nothing by default.
class ISimSounds {
  public:
    virtual ~ISimSounds() = default;
    /// Opens `path` for the component, closing what it had open.
    virtual CSoundResult OpenSound(const CNetworkModel& component, const std::string& path) { return {}; }
    /// Plays the component's file from its start, opening `path` first when the
    /// component has nothing, or another file, open.
    virtual CSoundResult PlaySound(const CNetworkModel& component, const std::string& path) { return {}; }
    virtual void StopSound(CNetworkModel& soundComponent) = 0;
    virtual void CloseSound(const CNetworkModel& component) {}
    /// Stops and closes every sound (the project closes).
    virtual void CloseAll() {}
    /// Plays a file once for no component (the dialog's "Test Sound").
    virtual void PlayFile(const std::string& path) {}
    /// The system's asterisk sound, played when there is no file to play.
    virtual void Beep() {}
};

/// The address of a component's sound: its module's id and its own.
uint64_t SoundKey(const CNetworkModel& component);

/// Whether `path` names a readable RIFF/WAVE file: code 0, or kSoundFileUnreadable
/// or kSoundNotWave with the reason.
CSoundResult CheckWaveFile(const std::string& path);

}  // namespace zor2
