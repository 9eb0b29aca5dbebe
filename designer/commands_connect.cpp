// Connections made by dragging.
#include "designer/commands_connect.h"

#include "designer/document.h"

namespace zor2 {

namespace {
ECmd AfterRequest(Czor2Doc& doc, int32_t code) {
    if (code != kConnectOk) return ECmd::Refused;
    doc.RecordChange("");
    return ECmd::Done;
}
}  // namespace

ECmd ConnectComponents(Czor2Doc& doc, int32_t srcId, int32_t outputId, int32_t dstId, int32_t inputId) {
    CNetwork* m = doc.Editor().DesignedModule(doc.System());
    CNetworkModel* s = m ? m->FindComponent(srcId) : nullptr;
    CNetworkModel* d = m ? m->FindComponent(dstId) : nullptr;
    if (!s || !d) return ECmd::Unavailable;
    CModelOutput* out = outputId ? s->FindOutput(outputId) : nullptr;
    CModelInput* in = inputId ? d->FindInput(inputId) : nullptr;
    if ((outputId && !out) || (inputId && !in)) return ECmd::Unavailable;
    return AfterRequest(doc, m->RequestConnect(*s, out, *d, in));
}

ECmd ConnectModuleInputToComponent(Czor2Doc& doc, int32_t moduleInputId, int32_t dstId, int32_t inputId) {
    CNetwork* m = doc.Editor().DesignedModule(doc.System());
    CNetworkInput* mi = m ? m->m_inputs.Find(moduleInputId) : nullptr;
    CNetworkModel* d = m ? m->FindComponent(dstId) : nullptr;
    if (!mi || !d) return ECmd::Unavailable;
    CModelInput* in = inputId ? d->FindInput(inputId) : nullptr;
    if (inputId && !in) return ECmd::Unavailable;
    return AfterRequest(doc, m->RequestConnectModuleInput(*mi, *d, in));
}

ECmd ConnectComponentToModuleOutput(Czor2Doc& doc, int32_t srcId, int32_t outputId, int32_t moduleOutputId) {
    CNetwork* m = doc.Editor().DesignedModule(doc.System());
    CNetworkModel* s = m ? m->FindComponent(srcId) : nullptr;
    CNetworkOutput* mo = m ? m->m_outputs.Find(moduleOutputId) : nullptr;
    if (!s || !mo) return ECmd::Unavailable;
    CModelOutput* out = outputId ? s->FindOutput(outputId) : nullptr;
    if (outputId && !out) return ECmd::Unavailable;
    return AfterRequest(doc, m->RequestConnectToModuleOutput(*s, out, *mo));
}

ECmd ConnectModuleToModule(Czor2Doc& doc, int32_t srcId, int32_t srcOutputId, int32_t dstId,
                           int32_t dstInputId) {
    CSystem& system = doc.System();
    CNetwork* s = system.FindModule(srcId);
    CNetwork* d = system.FindModule(dstId);
    if (!s || !d) return ECmd::Unavailable;
    CNetworkOutput* out = srcOutputId ? s->m_outputs.Find(srcOutputId) : nullptr;
    CNetworkInput* in = dstInputId ? d->m_inputs.Find(dstInputId) : nullptr;
    if ((srcOutputId && !out) || (dstInputId && !in)) return ECmd::Unavailable;
    return system.ConnectModules(*s, *d, out, in) ? ECmd::Done : ECmd::Refused;
}

ECmd ConnectSystemInputToModule(Czor2Doc& doc, int32_t systemInputId, int32_t dstId, int32_t dstInputId) {
    CSystem& system = doc.System();
    CExternalInput* p = system.FindSystemInput(systemInputId);
    CNetwork* d = system.FindModule(dstId);
    if (!p || !d) return ECmd::Unavailable;
    CNetworkInput* in = dstInputId ? d->m_inputs.Find(dstInputId) : nullptr;
    if (dstInputId && !in) return ECmd::Unavailable;
    return system.ConnectSystemInput(*p, *d, in) ? ECmd::Done : ECmd::Refused;
}

ECmd ConnectNewSystemInputToModule(Czor2Doc& doc, int32_t dstModuleId) {
    CSystem& system = doc.System();
    CNetwork* d = system.FindModule(dstModuleId);
    if (!d) return ECmd::Unavailable;
    // The system's drop records its own line through the document.
    if (!system.DropNewSystemInput(*d)) return ECmd::Refused;
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd ConnectModuleToSystemOutput(Czor2Doc& doc, int32_t srcId, int32_t srcOutputId, int32_t systemOutputId) {
    CSystem& system = doc.System();
    CNetwork* s = system.FindModule(srcId);
    CExternalOutput* q = system.FindSystemOutput(systemOutputId);
    if (!s || !q) return ECmd::Unavailable;
    CNetworkOutput* out = srcOutputId ? s->m_outputs.Find(srcOutputId) : nullptr;
    if (srcOutputId && !out) return ECmd::Unavailable;
    return system.ConnectSystemOutput(*s, *q, out) ? ECmd::Done : ECmd::Refused;
}

}  // namespace zor2
