// One runtime cycle over flat execution lists built once after loading.
#include "runtime/rt_system.h"

#include <algorithm>
#include <functional>

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
    // The Feedback Flow components run last, in list order.
    run.insert(run.end(), m_feedback.begin(), m_feedback.end());
    for (CRNetworkModel* c : run) {
        if (compile) {
            c->Compile(m_plan);
        } else {
            m_plan.AddCallThrough(*c);
        }
    }
    m_plan.Finish();

    m_pulls.clear();
    for (CRNetworkInput& in : m_inputs) {
        if (in.m_source) m_pulls.push_back({in.m_source, &in.m_value});
    }
    // A compiled step reads its sources, never its inputs' values, so a push into
    // a component that runs as compiled steps alone would reach no one.
    std::vector<const CRNetworkModel*> calledThrough;
    for (const CRStep& step : m_plan.Steps()) {
        if (step.m_kind == kStepCallThrough) calledThrough.push_back(step.m_model);
    }
    std::sort(calledThrough.begin(), calledThrough.end(), std::less<const CRNetworkModel*>());
    std::sort(run.begin(), run.end(), std::less<const CRNetworkModel*>());
    const auto readsInputValues = [&](const CRNetworkModel* c) {
        return !std::binary_search(run.begin(), run.end(), c, std::less<const CRNetworkModel*>()) ||
               std::binary_search(calledThrough.begin(), calledThrough.end(), c,
                                  std::less<const CRNetworkModel*>());
    };
    m_pushes.clear();
    for (const CRModelFeedback* fb : m_feedback) {
        if (fb->m_outputs.empty()) continue;
        const CRModelOutput& out = fb->m_outputs.front();
        for (const CRModelConnection& c : out.m_connections) {
            if (c.m_destInput && readsInputValues(c.m_destComponent))
                m_pushes.push_back({fb, &out.m_heldValue, &c.m_destInput->m_value});
        }
    }
    m_arrayOutputs.clear();
    m_outputValues.clear();
    for (CRNetworkOutput& out : m_outputs) {
        const CRModelOutput* src = out.m_sourceOutput;
        if (!src) continue;
        if (src->m_dataType == kDataTypeArray) m_arrayOutputs.push_back(&out);
        m_outputValues.push_back({m_plan.Resolve(&src->m_value), &out.m_value});
    }
}

void CRNetwork::Execute(uint32_t now) {
    // Module inputs take their values from their sources; arrays are not looked at here.
    for (const CRCopy& c : m_pulls) *c.m_to = *c.m_from;
    // A primed Feedback Flow pushes its first output's held value (never set, so 0)
    // into the inputs it feeds; consumers that pull overwrite it.
    for (const CRFeedbackPush& p : m_pushes) {
        if (p.m_feedback->Primed()) *p.m_to = *p.m_from;
    }
    m_plan.Run(now);
    for (CRNetworkOutput* out : m_arrayOutputs) {
        out->m_arrayData = out->m_sourceOutput->m_arrayData;
        out->m_arrayCount = out->m_sourceOutput->m_arrayCount;
    }
    // The values are copied after the Feedback Flow components ran; nothing in the
    // module reads a module output, so one copy is enough.
    for (const CRCopy& c : m_outputValues) *c.m_to = *c.m_from;
}

void CRSystem::BuildOrder(bool compile) {
    m_order.clear();
    m_needsTick = false;
    for (auto& m : m_modules) {
        // A level below 1 comes only from a damaged file; such a module never runs.
        if (m->m_level >= 1) m_order.push_back(m.get());
        m->BuildOrder(compile);
        m_needsTick = m_needsTick || (m->m_level >= 1 && m->Plan().NeedsTick());
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
    // Every Timer of the cycle fires against one reading of the millisecond tick.
    const uint32_t now = m_needsTick ? Clock().TickMs() : 0;
    for (CRNetwork* m : m_order) m->Execute(now);
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
