// A module's compiled steps give exactly what its components' own operations
// give: two systems built alike, one run each way, agree on every port's value
// and text after every cycle, also across wiring edits between cycles.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "engine/system.h"
#include "support/scripted_prompter.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

bool Same(double a, double b) {
    return (a == b && std::signbit(a) == std::signbit(b)) || (std::isnan(a) && std::isnan(b));
}

// The compiled types many times over, beside types that run through their own
// operations (Range Check, logic, timer, statistics) and feed them.
constexpr int32_t kTypes[] = {21, 21, 22, 22, 23, 23, 24, 86, 87, 88, 41, 41, 56, 56, 2,  2,  15,
                              16, 17, 18, 19, 20, 25, 26, 89, 3,  14, 28, 34, 90, 21, 22, 23, 56};

/// One side of the comparison: a system with its own draws and clock.
struct CSide {
    CLcgRandom random{7};
    CManualClock clock;
    test::CScriptedPrompter prompter;
    CSystem system;
    std::vector<CNetworkModel*> comps;

    CSide() {
        system.SetRandom(&random);
        system.SetClock(&clock);
        system.SetPrompter(&prompter);
        system.m_behaviorsEnabled = false;
    }
};

/// Builds a random two-module system through the editor's connect requests
/// (refusals are skipped); the same seed builds the same system.
void Build(CSide& side, uint32_t seed) {
    std::mt19937 rng(seed);
    CSystem& system = side.system;
    CNetworkOutput* upstream = nullptr;
    for (int mi = 0; mi < 2; ++mi) {
        CNetwork* m = system.CreateModule("M" + std::to_string(mi), 0, 0);
        std::vector<CNetworkInput*> feeds;
        CExternalInput* x = system.CreateSystemInput("x" + std::to_string(mi), 1);
        feeds.push_back(system.ConnectSystemInput(*x, *m)->m_moduleInput);
        if (upstream)
            feeds.push_back(system.ConnectModules(*upstream->m_owner, *m, upstream, nullptr)->m_dstInput);
        std::vector<CNetworkModel*> comps;
        const int count = 10 + static_cast<int>(rng() % 20);
        for (int i = 0; i < count; ++i) {
            CNetworkModel* c = test::Drop(*m, kTypes[rng() % std::size(kTypes)]);
            if (c->m_typeId == 41) c->m_value = static_cast<double>(static_cast<int>(rng() % 9) - 4) * 0.75;
            comps.push_back(c);
        }
        for (CNetworkModel* dst : comps) {
            const int sources = static_cast<int>(rng() % 4);
            for (int s = 0; s < sources; ++s) {
                CModelInput* in = nullptr;
                for (CModelInput* candidate : dst->m_inputs)
                    if (!candidate->HasSource()) {
                        in = candidate;
                        break;
                    }
                if (!in && dst->InputsFull()) break;
                if (rng() % 4 == 0) {
                    m->RequestConnectModuleInput(*feeds[rng() % feeds.size()], *dst, in);
                } else if (CNetworkModel* src = comps[rng() % comps.size()]; src != dst) {
                    m->RequestConnect(*src, src->FirstOutput(), *dst, in);
                }
            }
        }
        upstream = m->CreateOutput("out");
        CNetworkModel* last = comps[rng() % comps.size()];
        m->RequestConnectToModuleOutput(*last, last->FirstOutput(), *upstream);
        CExternalOutput* q = system.CreateSystemOutput("q" + std::to_string(mi), 1);
        system.ConnectSystemOutput(*m, *q, upstream);
        side.comps.insert(side.comps.end(), comps.begin(), comps.end());
    }
    system.ResetSystem();
}

/// Edits between cycles, made alike on both sides: the wiring changes under
/// the compiled steps.
enum class EEdit { None, AddInput, Disconnect, DeleteComponent, Reconnect };

void Edit(CSide& side, EEdit edit, size_t pick) {
    if (side.comps.empty()) return;
    CNetworkModel* c = side.comps[pick % side.comps.size()];
    CNetwork& m = *c->m_owner;
    switch (edit) {
        case EEdit::None:
            break;
        case EEdit::AddInput:
            if (!c->InputsFull()) c->AddInput(0);
            break;
        case EEdit::Disconnect:
            m.RemoveInputConnections(*c);
            break;
        case EEdit::DeleteComponent:
            side.comps.erase(side.comps.begin() + static_cast<ptrdiff_t>(pick % side.comps.size()));
            m.DeleteComponent(c);
            m.ComputeStages();
            break;
        case EEdit::Reconnect: {
            CNetworkModel* src = side.comps[(pick * 7 + 3) % side.comps.size()];
            if (src != c && src->m_owner == &m) m.RequestConnect(*src, src->FirstOutput(), *c, nullptr);
            break;
        }
    }
}

void ExpectSame(const CSide& a, const CSide& b, int cycle) {
    ASSERT_EQ(a.comps.size(), b.comps.size());
    for (size_t i = 0; i < a.comps.size(); ++i) {
        const CNetworkModel& x = *a.comps[i];
        const CNetworkModel& y = *b.comps[i];
        SCOPED_TRACE("cycle " + std::to_string(cycle) + ", " + x.m_name);
        ASSERT_TRUE(Same(x.m_value, y.m_value)) << x.m_value << " / " << y.m_value;
        ASSERT_EQ(x.m_inputs.Size(), y.m_inputs.Size());
        for (size_t k = 0; k < x.m_inputs.Size(); ++k) {
            ASSERT_TRUE(Same(x.m_inputs.At(k)->m_value, y.m_inputs.At(k)->m_value)) << "input " << k;
            ASSERT_EQ(x.m_inputs.At(k)->ValueString(), y.m_inputs.At(k)->ValueString()) << "input " << k;
        }
        for (size_t k = 0; k < x.m_outputs.Size(); ++k) {
            ASSERT_TRUE(Same(x.m_outputs.At(k)->m_value, y.m_outputs.At(k)->m_value)) << "output " << k;
            ASSERT_EQ(x.m_outputs.At(k)->ValueString(), y.m_outputs.At(k)->ValueString()) << "output " << k;
        }
    }
    const CFeedbackList& fa = a.system.Feedback().execution;
    const CFeedbackList& fb = b.system.Feedback().execution;
    ASSERT_EQ(fa.Size(), fb.Size());
    for (size_t k = 0; k < std::min<size_t>(fa.Size(), 8); ++k) ASSERT_EQ(fa.Line(k), fb.Line(k));
    for (const CExternalOutput* q : a.system.m_outputs)
        ASSERT_TRUE(Same(q->m_value, b.system.m_outputs.Find(q->m_id)->m_value));
}

class CompiledCycle : public ::testing::TestWithParam<uint32_t> {
  protected:
    void TearDown() override { CNetwork::UseCompiledSteps(true); }
};

TEST_P(CompiledCycle, GivesWhatTheComponentsOwnOperationsGive) {
    CSide compiled, own;
    Build(compiled, GetParam());
    Build(own, GetParam());
    std::mt19937 rng(GetParam() * 31 + 5);
    const double choices[] = {0.0, 1.0, -1.0, 0.5, 2.25, -3.75, 1e-3, 100.0, 7.0, -0.0};
    const EEdit edits[] = {EEdit::None, EEdit::None,       EEdit::AddInput,
                           EEdit::None, EEdit::Disconnect, EEdit::DeleteComponent,
                           EEdit::None, EEdit::Reconnect};
    for (int cycle = 1; cycle <= 40; ++cycle) {
        if (cycle % 5 == 0) {
            const EEdit edit = edits[rng() % std::size(edits)];
            const size_t pick = rng();
            Edit(compiled, edit, pick);
            Edit(own, edit, pick);
        }
        for (CSide* side : {&compiled, &own}) {
            size_t k = 0;
            for (CExternalInput* in : side->system.m_inputs) in->SetValue(choices[(cycle * 3 + k++) % 10]);
            side->clock.Advance(37);
        }
        CNetwork::UseCompiledSteps(true);
        compiled.system.RunCycle();
        CNetwork::UseCompiledSteps(false);
        own.system.RunCycle();
        ExpectSame(compiled, own, cycle);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, CompiledCycle, ::testing::Range(1u, 41u));

}  // namespace
}  // namespace zor2
