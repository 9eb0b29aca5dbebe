// One runtime cycle over flat execution lists built once after loading.
#include "runtime/rt_system.h"

#include <algorithm>

#include "components/logic/feedback_rt.h"

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
}

void CRNetwork::Execute() {
    // Module inputs take their values from their sources; arrays are not looked at here.
    for (CRNetworkInput& in : m_inputs) {
        if (in.m_source) in.m_value = *in.m_source;
    }
    // A primed Feedback Flow pushes its first output's held value (never set, so 0)
    // into the inputs it feeds; consumers that pull overwrite it.
    for (CRModelFeedback* fb : m_feedback) {
        if (!fb->Primed() || fb->m_outputs.empty()) continue;
        const CRModelOutput& out = fb->m_outputs.front();
        for (const CRModelConnection& c : out.m_connections) {
            if (c.m_destInput) c.m_destInput->m_value = out.m_heldValue;
        }
    }
    m_plan.Run();
    for (CRNetworkOutput& out : m_outputs) {
        const CRModelOutput* src = out.m_sourceOutput;
        if (!src) continue;
        if (src->m_dataType == kDataTypeArray) {
            out.m_arrayData = src->m_arrayData;
            out.m_arrayCount = src->m_arrayCount;
        } else {
            out.m_value = src->m_value;
        }
    }
    for (CRModelFeedback* fb : m_feedback) {
        fb->GetInputValues();
        fb->Execute();
    }
    // The value is copied once more, after the Feedback Flow components ran.
    for (CRNetworkOutput& out : m_outputs) {
        if (out.m_sourceOutput) out.m_value = out.m_sourceOutput->m_value;
    }
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
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        if (m_outputs[i].m_id >= 1) m_outputIndex.emplace(m_outputs[i].m_id, i);
    }
}

void CRSystem::Execute() {
    for (CRNetwork* m : m_order) m->Execute();
    m_currentLevel = 1;
    for (CRSystemOutput& out : m_outputs) {
        if (const CRNetworkOutput* src = out.Source()) out.m_value = src->m_value;
    }
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
