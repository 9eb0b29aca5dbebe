// One runtime cycle over flat execution lists built once after loading.
#include "runtime/rt_system.h"

#include <algorithm>

#include "components/decision/feedback_rt.h"

namespace zor2 {

void CRNetwork::BuildOrder(bool compile) {
    std::vector<CRNetworkModel*> run;
    m_feedback.clear();
    for (auto& c : m_components) {
        if (c->m_type == kTypeFeedbackFlow) {
            m_feedback.push_back(static_cast<CRModelFeedback*>(c.get()));
        } else if (c->m_stage >= 1) {
            // A stage below 1 comes only from a damaged file; such a component
            // never runs rather than stalling the cycle.
            run.push_back(c.get());
        }
    }
    // Stages may have gaps or be huge; a stable sort walks them in order.
    std::stable_sort(run.begin(), run.end(), [](const CRNetworkModel* a, const CRNetworkModel* b) {
        return a->m_stage < b->m_stage;
    });
    m_plan.Clear();
    for (CRNetworkModel* c : run) {
        if (compile) {
            c->Compile(m_plan);
        } else {
            m_plan.AddCallThrough(*c);
        }
    }

    m_pulls.clear();
    for (CRNetworkInput& in : m_inputs) {
        if (in.m_source) m_pulls.push_back({in.m_source, &in.m_value});
    }
    m_pushes.clear();
    for (const CRModelFeedback* fb : m_feedback) {
        if (fb->m_outputs.empty()) continue;
        const CRModelOutput& out = fb->m_outputs.front();
        for (const CRModelConnection& c : out.m_connections) {
            if (c.m_destInput) m_pushes.push_back({fb, &out.m_heldValue, &c.m_destInput->m_value});
        }
    }
    m_arrayOutputs.clear();
    m_outputValues.clear();
    for (CRNetworkOutput& out : m_outputs) {
        const CRModelOutput* src = out.m_sourceOutput;
        if (!src) continue;
        if (src->m_dataType == kDataTypeArray) m_arrayOutputs.push_back(&out);
        m_outputValues.push_back({&src->m_value, &out.m_value});
    }
}

void CRNetwork::Execute() {
    // Module inputs take their values from their sources; arrays are not looked at here.
    for (const CRCopy& c : m_pulls) *c.m_to = *c.m_from;
    // A primed Feedback Flow pushes its first output's held value (never set, so 0)
    // into the inputs it feeds; consumers that pull overwrite it.
    for (const CRFeedbackPush& p : m_pushes) {
        if (p.m_feedback->Primed()) *p.m_to = *p.m_from;
    }
    m_plan.Run();
    for (CRNetworkOutput* out : m_arrayOutputs) {
        out->m_arrayData = out->m_sourceOutput->m_arrayData;
        out->m_arrayCount = out->m_sourceOutput->m_arrayCount;
    }
    for (CRModelFeedback* fb : m_feedback) {
        fb->GetInputValues();
        fb->Execute();
    }
    // The values are copied after the Feedback Flow components ran; nothing in the
    // module reads a module output, so one copy is enough.
    for (const CRCopy& c : m_outputValues) *c.m_to = *c.m_from;
}

void CRSystem::BuildOrder(bool compile) {
    m_order.clear();
    for (auto& m : m_modules) {
        // A level below 1 comes only from a damaged file; such a module never runs.
        if (m->m_level >= 1) m_order.push_back(m.get());
        m->BuildOrder(compile);
    }
    std::stable_sort(m_order.begin(), m_order.end(),
                     [](const CRNetwork* a, const CRNetwork* b) { return a->m_level < b->m_level; });
    m_inputIndex.clear();
    m_outputIndex.clear();
    for (size_t i = 0; i < m_inputs.size(); ++i) {
        if (m_inputs[i].m_id >= 1) m_inputIndex.emplace(m_inputs[i].m_id, i);
    }
    m_published.clear();
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        if (m_outputs[i].m_id >= 1) m_outputIndex.emplace(m_outputs[i].m_id, i);
        if (const CRNetworkOutput* src = m_outputs[i].Source())
            m_published.push_back({&src->m_value, &m_outputs[i].m_value});
    }
}

void CRSystem::Execute() {
    for (CRNetwork* m : m_order) m->Execute();
    m_currentLevel = 1;
    for (const CRCopy& c : m_published) *c.m_to = *c.m_from;
    ++m_cycleCount;
    ++m_cycleCount2;
}

CRSystemInput* CRSystem::FindInput(int32_t id) {
    if (id < 1) return nullptr;
    auto it = m_inputIndex.find(id);
    return it == m_inputIndex.end() ? nullptr : &m_inputs[it->second];
}

CRSystemOutput* CRSystem::FindOutput(int32_t id) {
    if (id < 1) return nullptr;
    auto it = m_outputIndex.find(id);
    return it == m_outputIndex.end() ? nullptr : &m_outputs[it->second];
}

}  // namespace zor2
