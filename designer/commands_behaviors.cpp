// Simulation behaviour commands.
#include "designer/commands_behaviors.h"

#include "designer/document.h"

namespace zor2 {

CBehaviorData NewBehaviorData(const CSystem& system, int32_t inputId) {
    CBehaviorData d;
    d.name = system.m_behaviors.DefaultName(inputId);
    return d;
}

CBehaviorData BehaviorData(const CSimBehavior& b) {
    CBehaviorData d;
    d.name = b.m_name;
    d.type = b.m_type;
    d.enabled = b.m_enabled;
    d.rate = b.m_rate;
    d.floor = b.m_floor;
    d.ceiling = b.m_ceiling;
    d.randomLow = b.m_randomLow;
    d.randomHigh = b.m_randomHigh;
    return d;
}

namespace {
void Apply(CSimBehavior& b, const CBehaviorData& d) {
    b.m_name = d.name;
    b.m_type = d.type;
    b.m_enabled = d.enabled;
    b.m_rate = d.rate;
    b.m_floor = d.floor;
    b.m_ceiling = d.ceiling;
    b.m_randomLow = d.randomLow;
    b.m_randomHigh = d.randomHigh;
}

CExternalInput* FirstSelectedInput(const Czor2Doc& doc) {
    return doc.Editor().SelectedSystemInput(doc.System());
}
}  // namespace

ECmd AddBehaviorTo(Czor2Doc& doc, int32_t inputId, const CBehaviorData& data) {
    CSystem& system = doc.System();
    CExternalInput* input = system.FindSystemInput(inputId);
    if (!input) return ECmd::Unavailable;
    CSimBehavior* b = system.m_behaviors.AddBehavior(0, data.name, system.Random());
    if (!b) {
        doc.Prompter().Tell("No free identifier is left for a new behavior.");
        return ECmd::Refused;
    }
    Apply(*b, data);
    b->m_targetInputId = input->m_id;
    b->m_target = input;
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd AddBehavior(Czor2Doc& doc, const CBehaviorData& data) {
    CExternalInput* input = FirstSelectedInput(doc);
    if (!input) return ECmd::Unavailable;
    return AddBehaviorTo(doc, input->m_id, data);
}

ECmd EditBehavior(Czor2Doc& doc, int32_t behaviorId, const CBehaviorData& data) {
    CSimBehavior* b = doc.System().m_behaviors.m_behaviors.Find(behaviorId);
    if (!b) return ECmd::Unavailable;
    Apply(*b, data);
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd DeleteAllBehaviors(Czor2Doc& doc) {
    CSimBehaviorMgr& mgr = doc.System().m_behaviors;
    if (mgr.m_behaviors.Empty()) return ECmd::Unavailable;
    if (doc.Prompter().Ask(Fmt("Currently there are %d behaviors. Are you sure you want to delete all?",
                               static_cast<int>(mgr.m_behaviors.Size())),
                           EButtons::YesNoCancel) != EAnswer::Yes)
        return ECmd::Cancelled;
    mgr.Clear();
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd DeleteInputBehaviors(Czor2Doc& doc) {
    CExternalInput* input = FirstSelectedInput(doc);
    if (!input) return ECmd::Unavailable;
    CSimBehaviorMgr& mgr = doc.System().m_behaviors;
    const int32_t n = mgr.CountForInput(input->m_id);
    if (n == 0) return ECmd::Unavailable;
    if (doc.Prompter().Ask(Fmt("Currently there are %d behaviors. Are you sure you want to delete all?", n),
                           EButtons::YesNoCancel) != EAnswer::Yes)
        return ECmd::Cancelled;
    mgr.DeleteInputBehaviors(input->m_id);
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd DeleteBehavior(Czor2Doc& doc, int32_t behaviorId) {
    if (!doc.System().m_behaviors.m_behaviors.RemoveId(behaviorId)) return ECmd::Unavailable;
    doc.RecordChange("");
    return ECmd::Done;
}

std::optional<CBehaviorSummary> BehaviorSummary(const CSystem& system, int index) {
    if (index < 0) return std::nullopt;
    for (const CSimBehavior* b : system.m_behaviors.m_behaviors) {
        if (index-- > 0) continue;
        CBehaviorSummary s{.id = b->m_id,
                           .name = b->m_name,
                           .type = CSimBehaviorMgr::BehaviorTypeName(b->m_type),
                           .enabled = b->m_enabled};
        // The first system input with the target id, as loading binds it; ids below 1 match nothing.
        if (b->m_targetInputId >= 1)
            for (const CExternalInput* in : system.m_inputs)
                if (in->m_id == b->m_targetInputId) {
                    s.targetInput = in->m_name;
                    break;
                }
        return s;
    }
    return std::nullopt;
}

std::vector<std::string> InputBehaviorLines(const CSystem& system, int32_t inputId) {
    std::vector<std::string> lines;
    for (const CSimBehavior* b : system.m_behaviors.m_behaviors)
        if (b->m_targetInputId == inputId)
            lines.push_back(b->m_name + (b->m_enabled ? " (enabled)" : " (disabled)"));
    return lines;
}

std::vector<std::string> ManageBehaviorLines(const CSystem& system) {
    std::vector<std::string> lines;
    for (const CSimBehavior* b : system.m_behaviors.m_behaviors)
        lines.push_back(Fmt(b->m_enabled ? "(ON) %s (%s)" : "(OFF) %s (%s)", b->m_name.c_str(),
                            CSimBehaviorMgr::BehaviorTypeName(b->m_type)));
    return lines;
}

bool ToggleBehaviors(Czor2Doc& doc) {
    CSystem& system = doc.System();
    system.m_behaviorsEnabled = !system.m_behaviorsEnabled;
    doc.SetModified(true);
    return system.m_behaviorsEnabled;
}

bool CanResetInputValue(const Czor2Doc& doc) {
    const CExternalInput* input = doc.Editor().SelectedSystemInput(doc.System());
    return input && input->m_array.empty() && input->m_value != input->m_initialValue;
}

ECmd ResetInputValue(Czor2Doc& doc) {
    if (!CanResetInputValue(doc)) return ECmd::Unavailable;
    CSystem& system = doc.System();
    CExternalInput* input = doc.Editor().SelectedSystemInput(system);
    input->SetValue(input->m_initialValue);
    const bool enabled = system.m_behaviorsEnabled;
    system.m_behaviorsEnabled = false;
    system.RunCycle();
    system.m_behaviorsEnabled = enabled;
    return ECmd::Done;
}

}  // namespace zor2
