// The verdict on a connection gesture before the button is released.
#include "designer/connect_preview.h"

#include "engine/network.h"

namespace zor2 {
namespace {

constexpr const char* kNoConnection = "These two cannot be connected: drag from an output onto an input";
constexpr const char* kSelfConnection = "A module cannot be connected to itself";

CConnectPreview Verdict(int32_t code) {
    if (code == kConnectOk) return {EConnectVerdict::Accepted, {}};
    return {EConnectVerdict::Refused, RefusalMessage(code)};
}

CConnectPreview Accepted() {
    return {EConnectVerdict::Accepted, {}};
}

bool IsComponentTarget(EHit k) {
    return k == EHit::Component || k == EHit::ComponentInput;
}

CConnectPreview InModule(const CNetwork& m, const CHit& s, const CHit& t) {
    const bool fromComponent = s.kind == EHit::Component || s.kind == EHit::ComponentOutput;
    if (fromComponent && IsComponentTarget(t.kind))
        return Verdict(m.CheckOutputToInput(*s.component, s.output, *t.component, t.input));
    if (s.kind == EHit::ModInput && IsComponentTarget(t.kind))
        return Verdict(m.CheckModuleInputToInput(*s.moduleInput, *t.component, t.input));
    if (fromComponent && t.kind == EHit::ModOutput && t.moduleOutput)
        return Verdict(m.CheckOutputToModuleOutput(*s.component, s.output, *t.moduleOutput));
    if (fromComponent && (t.kind == EHit::ModOutput || t.kind == EHit::ModOutputsBar)) return Accepted();
    if (s.kind == EHit::ModInputsBar && t.kind == EHit::Component) return Accepted();
    // A sim action's target: whether it takes the object is its own rule, told on release.
    if (s.kind == EHit::Component && (t.kind == EHit::Graphic || t.kind == EHit::ValueWindow)) return {};
    return {EConnectVerdict::Refused, kNoConnection};
}

CConnectPreview InSystem(const CHit& s, const CHit& t) {
    const bool toModule = t.kind == EHit::Module || t.kind == EHit::ModuleInput;
    if (s.kind == EHit::SystemInput && toModule) return Accepted();
    if ((s.kind == EHit::InputCategory || s.kind == EHit::InputsBar) && t.kind == EHit::Module)
        return Accepted();
    const bool fromModule = s.kind == EHit::Module || s.kind == EHit::ModuleOutput;
    if (fromModule && toModule)
        return t.module == s.module ? CConnectPreview{EConnectVerdict::Refused, kSelfConnection} : Accepted();
    if (fromModule && (t.kind == EHit::SystemOutput || t.kind == EHit::OutputsBar)) return Accepted();
    return {EConnectVerdict::Refused, kNoConnection};
}

}  // namespace

bool StartsConnection(EHit kind) {
    switch (kind) {
        case EHit::Component:
        case EHit::ComponentOutput:
        case EHit::ModInput:
        case EHit::ModInputsBar:
        case EHit::SystemInput:
        case EHit::InputCategory:
        case EHit::InputsBar:
        case EHit::Module:
        case EHit::ModuleOutput:
            return true;
        default:
            return false;
    }
}

CConnectPreview PreviewConnect(const CViewLayout& layout, const CHit& source, const CHit& target) {
    if (!StartsConnection(source.kind) || target.kind == EHit::None || source == target) return {};
    // A press and release on one object opens its menu; no verdict on its own parts either.
    if (source.component && source.component == target.component) return {};
    if (source.module && source.module == target.module && !layout.Module()) return {};
    return layout.Module() ? InModule(*layout.Module(), source, target) : InSystem(source, target);
}

CPointD WireStart(const CViewLayout& layout, const CHit& source) {
    if (const std::optional<CPointD> anchor = layout.PortAnchor(source)) return *anchor;
    return layout.CentreOf(source);
}

CRectD TargetRect(const CViewLayout& layout, const CHit& hit) {
    auto toViewport = [&](const CRectD& r) {
        const CPointD a = layout.ToViewport({r.left, r.top}), b = layout.ToViewport({r.right, r.bottom});
        return CRectD{a.x, a.y, b.x, b.y};
    };
    switch (hit.kind) {
        case EHit::ComponentInput:
        case EHit::ComponentOutput:
        case EHit::ModuleInput:
        case EHit::ModuleOutput:
            return toViewport(layout.PortRect(hit));
        case EHit::Component:
            return toViewport(ComponentBox(*hit.component));
        case EHit::Module:
            return toViewport(ModuleBox(*hit.module));
        default: {
            const CPointD c = layout.CentreOf(hit);
            return {c.x - 8, c.y - 8, c.x + 8, c.y + 8};
        }
    }
}

}  // namespace zor2
