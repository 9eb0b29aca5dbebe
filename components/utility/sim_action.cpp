// Sim actions: type table, the four property sheets, the input phase, the
// actions on the system, its sounds and its canvas, and the records.
#include "components/utility/sim_action.h"

#include <cmath>
#include <cstdio>

#include "algo/bytes.h"
#include "algo/platform.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"
#include "engine/system.h"
#include "persistence/archive.h"
#include "simulation/sim_sounds.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kTrigger[] = {{10, "Trigger"}};
constexpr CPortTemplate kPlayStop[] = {{10, "Play"}, {20, "Stop"}};

std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelSimAction>();
}

std::string Printf(const char* format, auto... args) {
    const int n = std::snprintf(nullptr, 0, format, args...);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0u, '\0');
    if (n > 0) std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

constexpr const char* kDragNote =
    "The target can also be attached by dragging a connection from this component onto it in the module view.";

// --- Sound -------------------------------------------------------------------

void ReadSoundSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* a = dynamic_cast<const CModelSimAction*>(&c);
    if (!a) return;
    CPropField& path =
        sheet.Add(prop::Field(EPropKind::Path, "soundPath", "WAV Filename:", a->Fields().soundPath));
    path.options = {"Open WAV file for Action Component(WAV)", "WAV Files(*.wav)", "wav"};
    sheet.Add(prop::Field(EPropKind::Button, "testSound", "Test Sound"));
}

void PressSoundSheet(const CNetworkModel& c, const CPropertySheet& sheet, std::string_view key) {
    // "Test Sound" plays the file named in the dialog once, when it is there.
    const CSystem* s = c.System();
    const CPropField* path = sheet.Find("soundPath");
    if (key != "testSound" || !s || !s->Sounds() || !path || !CheckWaveFile(path->text).Ok()) return;
    s->Sounds()->PlayFile(path->text);
}

std::string ApplySoundSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* a = dynamic_cast<CModelSimAction*>(&c);
    if (!a || !sheet.Changed("soundPath")) return {};
    const std::string path = sheet.Find("soundPath")->text;
    a->SetSoundPath(path);
    const CSoundResult opened = a->ReopenSound();
    // Declining a file the player cannot open leaves the action without one (it then beeps).
    if (!opened.Ok() && c.System() &&
        c.System()->Prompter().Ask(SoundOpenQuestion(opened, path), EButtons::YesNo) == EAnswer::No)
        a->SetSoundPath({});
    a->ResetValues();
    return {};
}

// --- Message and Format targets ----------------------------------------------------------

std::string FirstLine(const std::string& text) {
    std::string line = text.substr(0, text.find_first_of("\r\n"));
    if (line.size() > 40) line = line.substr(0, 40) + "...";
    return line;
}

/// A list of the system's graphics (or of the module's value windows) with the target chosen.
CPropField TargetList(const char* key, const CNetworkModel& c, bool windows, int32_t targetId) {
    CPropField f = prop::Field(EPropKind::List, key, windows ? "Data Value Window:" : "Graphic Shape:");
    f.choice = -1;
    auto add = [&](int32_t id, const std::string& text) {
        if (id == targetId) f.choice = static_cast<int32_t>(f.values.size());
        f.values.push_back(id);
        f.options.push_back(Printf("%d: %s", id, FirstLine(text).c_str()));
    };
    if (const CSystem* s = c.System()) {
        if (windows) {
            for (const CValueWindow* w : s->m_valueWindows.m_windows)
                if (c.m_owner && w->m_moduleId == c.m_owner->m_id) add(w->m_id, w->m_title);
        } else {
            for (const CGraphic* g : s->m_graphics.m_graphics) add(g->m_id, g->m_text);
        }
    }
    return f;
}

/// The id chosen in a target list, or `otherwise` when none is.
int32_t ChosenId(const CPropertySheet& sheet, std::string_view key, int32_t otherwise) {
    const CPropField* f = sheet.Find(key);
    if (!f || f->choice < 0 || f->choice >= static_cast<int32_t>(f->values.size())) return otherwise;
    return f->values[static_cast<size_t>(f->choice)];
}

void ReadMessageSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* a = dynamic_cast<const CModelSimAction*>(&c);
    if (!a) return;
    CPropField list = TargetList("targetGraphic", c, false, a->Fields().targetId);
    list.label = "Select or create the graphic that the custom message should be displayed in:";
    sheet.Add(std::move(list));
    sheet.Add(
        prop::Field(EPropKind::LongText, "message",
                    "Enter the message to be displayed within the selected graphic:", a->Fields().message));
    sheet.Add(prop::Note("dragNote", kDragNote));
}

std::string ApplyMessageSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    if (auto* a = dynamic_cast<CModelSimAction*>(&c))
        a->SetMessage(ChosenId(sheet, "targetGraphic", a->Fields().targetId), sheet.Find("message")->text);
    return {};
}

void FormatRule(CPropertySheet& sheet, std::string_view) {
    const int32_t kind = sheet.Find("targetKind")->choice;
    sheet.Edit("targetWindow")->visible = kind == 0;
    sheet.Edit("targetGraphic")->visible = kind == 1;
}

void ReadFormatSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* a = dynamic_cast<const CModelSimAction*>(&c);
    if (!a) return;
    const int32_t kind = a->TargetKind();
    sheet.Add(prop::Note("kindNote", "Select the Type of Target Object:"));
    sheet.Add(prop::Radio("targetKind",
                          kind == kTargetValueWindow ? 0
                          : kind == kTargetGraphic   ? 1
                                                     : -1,
                          {"Data Value Window", "Graphic Shape"}));
    sheet.Add(TargetList("targetWindow", c, true, kind == kTargetValueWindow ? a->Fields().targetId : 0));
    sheet.Add(TargetList("targetGraphic", c, false, kind == kTargetValueWindow ? 0 : a->Fields().targetId));
    sheet.Add(prop::Field(EPropKind::Colour, "colour", "Background Color:")).number = a->Fields().colour;
    sheet.Add(prop::Note("dragNote", kDragNote));
    FormatRule(sheet, {});
}

std::string ApplyFormatSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* a = dynamic_cast<CModelSimAction*>(&c);
    if (!a) return {};
    const int32_t choice = sheet.Find("targetKind")->choice;
    const int32_t kind = choice == 0 ? kTargetValueWindow : choice == 1 ? kTargetGraphic : a->TargetKind();
    // A new kind of target drops the old target unless one of the new kind is chosen.
    const int32_t kept = kind == a->TargetKind() ? a->Fields().targetId : 0;
    const int32_t target =
        ChosenId(sheet, kind == kTargetValueWindow ? "targetWindow" : "targetGraphic", kept);
    a->SetFormat(kind == kTargetValueWindow || kind == kTargetGraphic ? kind : kTargetGraphic, target,
                 sheet.Find("colour")->number);
    return {};
}

constexpr CPropertyProfile kSoundSheet{.caption = "Component Properties",
                                       .read = ReadSoundSheet,
                                       .apply = ApplySoundSheet,
                                       .press = PressSoundSheet};
constexpr CPropertyProfile kMessageSheet{"Component Properties - Sim Action Message", ReadMessageSheet,
                                         nullptr, ApplyMessageSheet};
constexpr CPropertyProfile kFormatSheet{"Component Properties - Sim Action Format", ReadFormatSheet,
                                        FormatRule, ApplyFormatSheet};

constexpr CComponentType kTypes[] = {
    {kTypeSimActionStop, kTrigger, {}, 1, 0, Create},
    {kTypeSimActionSound, kPlayStop, {}, 2, 0, Create, &kSoundSheet, {.playsSound = true}},
    {kTypeSimActionMessage, kTrigger, {}, 1, 0, Create, &kMessageSheet},
    {kTypeSimActionFormat, kTrigger, {}, 1, 0, Create, &kFormatSheet},
};

template <class Ar>
void ProjectFields(Ar& ar, CSimActionFields& f) {
    ar.I32(f.targetId);
    ar.Str(f.message);
    ar.Str(f.soundPath);
    ar.Str(f.soundFile);
    ar.Bool(f.enabled);
    ar.I32(f.colour);
    ar.I32(f.offColour);
}

/// A trigger-like input: 1 when fed a true value, with its two texts.
double ReadTrigger(CModelInput& in, const char* onText, const char* offText) {
    in.m_value = TriggerValue(in.HasSource(), CNetworkModel::SourceValue(in));
    in.m_text.SetText(in.m_value != 0.0 ? onText : offText);
    return in.m_value;
}

}  // namespace

std::span<const CComponentType> SimActionComponentTypes() {
    return kTypes;
}

std::string SoundOpenQuestion(const CSoundResult& r, const std::string& path) {
    return Printf(
        "Sound system has identified an error code:\n %d\n\n with the file: \n[%s] \n\nand will not be able to play this selection. \n\nThe message is [%s]. \n\nDo you want to continue anyway?",
        r.code, path.c_str(), r.text.c_str());
}

void CModelSimAction::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ProjectFields(ar, m_fields);
}

void CModelSimAction::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    SimActionRuntimeFields(w, m_fields.enabled);
}

void CModelSimAction::GetInputValues() {
    m_value = 0.0;
    if (CModelInput* trigger = FirstInput()) m_value = std::trunc(ReadTrigger(*trigger, "Event!", "-"));
    if (m_typeId != kTypeSimActionSound) return;
    if (CModelInput* stop = LastInput(); stop && ReadTrigger(*stop, "Stop!", "--") == 1.0) StopSound();
}

void CModelSimAction::Execute() {
    CSystem* s = System();
    if (!m_fields.enabled || !s) return;
    const bool on = m_value != 0.0;
    switch (m_typeId) {
        case kTypeSimActionStop:
            if (!on) return;
            // The run ends at the next timer tick; the rest of this cycle still runs.
            s->m_running = false;
            s->RecordAction(*this);
            return;
        case kTypeSimActionSound:
            if (on && s->m_running) Play();
            return;
        case kTypeSimActionMessage:
            if (!on) return;
            if (CGraphic* g = s->m_graphics.m_graphics.Find(m_fields.targetId)) g->m_text = m_fields.message;
            s->RecordAction(*this);
            return;
        case kTypeSimActionFormat:
            if (TargetKind() == kTargetValueWindow) {
                if (CValueWindow* w = s->m_valueWindows.m_windows.Find(m_fields.targetId))
                    w->m_background = on ? m_fields.colour : m_fields.offColour;
            } else if (on) {
                if (CGraphic* g = s->m_graphics.m_graphics.Find(m_fields.targetId))
                    g->m_background = m_fields.colour;
            }
            s->RecordAction(*this);
            return;
    }
}

void CModelSimAction::Play() {
    CSystem* s = System();
    ISimSounds* sounds = s->Sounds();
    if (!sounds) return;
    if (!HasSoundFile()) {
        sounds->Beep();
        return;
    }
    const CSoundResult played = sounds->PlaySound(*this, m_fields.soundPath);
    if (played.Ok()) return;
    // A file that cannot be played beeps instead, and is reported once per run.
    sounds->Beep();
    Trace("%s\n", played.text.c_str());
    if (m_reportedRun == s->m_runNumber) return;
    m_reportedRun = s->m_runNumber;
    s->BuildFeedback(Printf("Sim Action Sound [%s] cannot play the file [%s]: %s", m_name.c_str(),
                            m_fields.soundPath.c_str(), played.text.c_str()));
}

void CModelSimAction::StopSound() {
    const CSystem* s = System();
    if (HasSoundFile() && s && s->Sounds()) s->Sounds()->StopSound(*this);
}

CSoundResult CModelSimAction::ReopenSound() {
    const CSystem* s = System();
    ISimSounds* sounds = s ? s->Sounds() : nullptr;
    if (!sounds) return {};
    sounds->CloseSound(*this);
    return m_fields.soundPath.size() > 3 ? sounds->OpenSound(*this, m_fields.soundPath) : CSoundResult{};
}

void CModelSimAction::SetSoundPath(const std::string& path) {
    m_fields.soundPath = path;
    const size_t slash = path.find_last_of("/\\");
    m_fields.soundFile = slash == std::string::npos ? path : path.substr(slash + 1);
}

bool CModelSimAction::TargetGraphic(int32_t graphicId) {
    if (m_typeId != kTypeSimActionMessage && m_typeId != kTypeSimActionFormat) return false;
    m_fields.targetId = graphicId;
    if (m_typeId == kTypeSimActionFormat) m_paramInt = kTargetGraphic;
    return true;
}

bool CModelSimAction::TargetValueWindow(int32_t windowId) {
    if (m_typeId != kTypeSimActionFormat) return false;
    m_fields.targetId = windowId;
    m_paramInt = kTargetValueWindow;
    return true;
}

void CModelSimAction::SetMessage(int32_t graphicId, std::string message) {
    m_fields.targetId = graphicId;
    m_fields.message = std::move(message);
}

bool CModelSimAction::SetFormat(int32_t kind, int32_t targetId, int32_t colour) {
    if (kind != kTargetValueWindow && kind != kTargetGraphic) return false;
    m_paramInt = kind;
    m_fields.targetId = targetId;
    m_fields.colour = colour & 0xFFFFFF;
    return true;
}

std::vector<std::string> CModelSimAction::HelperText() const {
    std::vector<std::string> lines{"Sim Event Response:"};
    switch (m_typeId) {
        case kTypeSimActionStop:
            lines.emplace_back("Stop Sim");
            break;
        case kTypeSimActionSound:
            if (m_fields.soundPath.empty()) {
                lines.emplace_back("Select Sound...");
            } else {
                lines.push_back(Printf("Full Path: %s", m_fields.soundPath.c_str()));
                lines.push_back(Printf("File: %s", m_fields.soundFile.c_str()));
            }
            break;
        case kTypeSimActionMessage:
            lines.push_back(m_fields.targetId == 0 ? std::string("Msg - (target graphic needed)")
                                                   : Printf("Msg: target graphic id: %d", m_fields.targetId));
            break;
        case kTypeSimActionFormat:
            lines.push_back(m_fields.targetId == 0 ? std::string("No Value Window target?")
                                                   : Printf("Value window id: %d", m_fields.targetId));
            break;
    }
    return lines;
}

}  // namespace zor2
