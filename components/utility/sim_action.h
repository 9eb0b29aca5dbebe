// The sim actions (types 50, 51, 52, 69): one designer class whose trigger stops
// the run, plays a wave file, writes a message into a graphic, or colours a
// graphic or value window.
#pragma once

#include <string>
#include <vector>

#include "components/utility/sim_action_kernel.h"
#include "engine/component.h"

namespace zor2 {

struct CSoundResult;

/// The sim action's fields beyond the component base.
struct CSimActionFields {
    int32_t targetId = 0;  // graphic (Message, Format) or value window (Format)
    std::string message;
    std::string soundPath;
    std::string soundFile;  // the file name part of the path, shown under the box
    bool enabled = true;
    int32_t colour = 0xFF9933;     // red 51, green 153, blue 255 (red in the lowest byte)
    int32_t offColour = 0xFFFFFF;  // white
};

class CModelSimAction : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelSimAction"; }
    /// Base part, then target id, message, sound path, sound file name, enabled, colour, off colour.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;

    const CSimActionFields& Fields() const { return m_fields; }
    /// Format only: 60 a value window, 25 a graphic (kept in the base's parameter integer).
    int32_t TargetKind() const { return m_paramInt; }
    /// A connection dropped on a graphic (Message or Format) or a value window
    /// (Format) makes it the target; false, nothing changed, for any other pairing.
    bool TargetGraphic(int32_t graphicId);
    bool TargetValueWindow(int32_t windowId);
    /// The Message dialog's OK.
    void SetMessage(int32_t graphicId, std::string message);
    /// The Format dialog's OK: a kind of 60 or 25, else refused (false).
    bool SetFormat(int32_t kind, int32_t targetId, int32_t colour);
    /// Sets the sound path and the file name shown with it (nothing is opened).
    void SetSoundPath(const std::string& path);
    bool HasSoundFile() const { return m_fields.soundPath.size() >= 4; }
    /// Closes the sound opened before, then opens the current path when it is
    /// longer than 3 characters ("close" and "open" of the player).
    CSoundResult ReopenSound();
    /// Stops the playing sound, when a file is set.
    void StopSound();
    /// Lines drawn under the box while "Helper Text" is on.
    std::vector<std::string> HelperText() const override;

  private:
    void Play();

    CSimActionFields m_fields;
    int32_t m_reportedRun = -1;  // the run in which a failed play was reported
};

/// "Sound system has identified an error code: ..." for a file the player could not open.
std::string SoundOpenQuestion(const CSoundResult& result, const std::string& path);

}  // namespace zor2
