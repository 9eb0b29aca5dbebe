// Writes the example projects through the engine's own editing operations and
// the project file writer, so the shipped files are always what the code saves.
// Usage: zor2-make-examples OUTPUT_FOLDER
#include <cstdio>
#include <string>

#include "engine/system.h"
#include "persistence/project_file.h"
#include "simulation/behaviors.h"

namespace zor2 {
namespace {

bool g_ok = true;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "zor2-make-examples: %s failed\n", what);
        g_ok = false;
    }
}

CNetworkModel* Drop(CNetwork& m, int32_t type, int32_t x, int32_t y) {
    CNetworkModel* c = m.DropComponent(type, x, y);
    Check(c != nullptr, "dropping a component");
    return c;
}

CNetworkModel* Constant(CNetwork& m, double value, int32_t x, int32_t y) {
    CNetworkModel* c = Drop(m, 41, x, y);
    if (c) c->m_value = value;
    return c;
}

void Wire(CNetwork& m, CNetworkModel* src, CNetworkModel* dst) {
    if (!src || !dst) return;
    // A free template input takes the wire; otherwise the component grows a new input.
    CModelInput* free = nullptr;
    for (CModelInput* in : dst->m_inputs)
        if (!free && !in->HasSource()) free = in;
    const int32_t refused = m.RequestConnect(*src, src->FirstOutput(), *dst, free);
    if (refused != 0) {
        std::fprintf(stderr, "zor2-make-examples: wiring %s to %s refused: %s\n", src->m_name.c_str(),
                     dst->m_name.c_str(), RefusalMessage(refused));
        g_ok = false;
    }
}

CExternalInput* Input(CSystem& s, const char* name, double initial) {
    CExternalInput* p = s.CreateSystemInput(name, 1);
    Check(p != nullptr, "creating a system input");
    if (p) {
        p->m_initialValue = initial;
        p->SetValue(initial);
    }
    return p;
}

/// Feeds `dst` from system input `p` through a new module input.
void FeedFromInput(CSystem& s, CExternalInput* p, CNetwork& m, CNetworkModel* dst) {
    if (!p || !dst) return;
    CExternalConnection* c = s.ConnectSystemInput(*p, m);
    Check(c != nullptr && c->m_moduleInput != nullptr, "connecting a system input");
    if (c && c->m_moduleInput)
        Check(m.RequestConnectModuleInput(*c->m_moduleInput, *dst, nullptr) == 0, "feeding a component");
}

/// Publishes `src`'s result as module output `name` and system output `name`.
CNetworkOutput* Publish(CSystem& s, CNetwork& m, CNetworkModel* src, const char* name) {
    if (!src) return nullptr;
    CNetworkOutput* mo = m.CreateOutput(name);
    Check(mo && m.RequestConnectToModuleOutput(*src, src->FirstOutput(), *mo) == 0, "exposing a result");
    CExternalOutput* q = s.CreateSystemOutput(name, 1);
    Check(q && mo && s.ConnectSystemOutput(m, *q, mo) != nullptr, "connecting a system output");
    return mo;
}

void Begin(CSystem& s, CLcgRandom& random, const char* name, const char* description) {
    s.SetRandom(&random);
    s.NewProject();
    s.m_name = name;
    s.m_description = description;
}

/// celsius: fahrenheit = celsius * 1.8 + 32, one module.
void Celsius(CSystem& s) {
    CNetwork* m = s.CreateModule("convert", 200, 120);
    CNetworkModel* times = Drop(*m, 23, 140, 60);
    CNetworkModel* plus = Drop(*m, 21, 300, 80);
    FeedFromInput(s, Input(s, "celsius", 20.0), *m, times);
    Wire(*m, Constant(*m, 1.8, 20, 140), times);
    Wire(*m, times, plus);
    Wire(*m, Constant(*m, 32.0, 140, 180), plus);
    Publish(s, *m, plus, "fahrenheit");
}

/// accumulator: total grows by step every cycle through a Feedback Flow loop.
void Accumulator(CSystem& s) {
    CNetwork* m = s.CreateModule("integrate", 200, 120);
    CNetworkModel* sum = Drop(*m, 21, 160, 60);
    CNetworkModel* lag = Drop(*m, 56, 320, 160);
    FeedFromInput(s, Input(s, "step", 0.5), *m, sum);
    Wire(*m, sum, lag);
    Wire(*m, lag, sum);
    Publish(s, *m, sum, "total");
}

/// two_stage: a + b in one module, -(a + b) * 10 in a second module of level 2.
void TwoStage(CSystem& s) {
    CNetwork* first = s.CreateModule("sum", 120, 120);
    CNetwork* second = s.CreateModule("scale", 420, 120);
    CNetworkModel* plus = Drop(*first, 21, 160, 80);
    FeedFromInput(s, Input(s, "a", 3.0), *first, plus);
    FeedFromInput(s, Input(s, "b", 4.0), *first, plus);
    CNetworkOutput* sumOut = Publish(s, *first, plus, "sum");

    CNetworkModel* times = Drop(*second, 23, 160, 80);
    CNetworkModel* negate = Drop(*second, 88, 320, 80);
    CNetworkConnection* link = sumOut ? s.ConnectModules(*first, *second, sumOut) : nullptr;
    Check(link && link->m_dstInput, "connecting the two modules");
    if (link && link->m_dstInput && times)
        Check(second->RequestConnectModuleInput(*link->m_dstInput, *times, nullptr) == 0,
              "feeding the second module");
    Wire(*second, Constant(*second, 10.0, 20, 160), times);
    Wire(*second, times, negate);
    Publish(s, *second, negate, "scaled");
}

/// ramp: a behaviour raises level by 1 per simulated second; doubled = level * 2.
void Ramp(CSystem& s) {
    CNetwork* m = s.CreateModule("double", 200, 120);
    CNetworkModel* times = Drop(*m, 23, 160, 80);
    CExternalInput* level = Input(s, "level", 0.0);
    FeedFromInput(s, level, *m, times);
    Wire(*m, Constant(*m, 2.0, 20, 160), times);
    Publish(s, *m, times, "doubled");
    CSimBehavior* rise = level ? s.m_behaviors.AddBehavior(0, "rise", s.Random()) : nullptr;
    Check(rise != nullptr, "adding a behaviour");
    if (rise) {
        rise->m_targetInputId = level->m_id;
        rise->m_target = level;
        rise->m_type = kBehaviorAscending;
        rise->m_rate = 1.0;
    }
}

}  // namespace
}  // namespace zor2

int main(int argc, char** argv) {
    using namespace zor2;
    if (argc != 2) {
        std::fputs("usage: zor2-make-examples OUTPUT_FOLDER\n", stderr);
        return 1;
    }
    struct Example {
        const char* file;
        const char* description;
        void (*build)(CSystem&);
        uint32_t seed;
    };
    const Example examples[] = {
        {"celsius", "Converts a temperature in degrees Celsius to degrees Fahrenheit.", Celsius, 11},
        {"accumulator", "Adds its step input to a running total every cycle through a Feedback Flow loop.",
         Accumulator, 12},
        {"two_stage", "Adds two inputs in one module and scales the sum by -10 in a second module.", TwoStage,
         13},
        {"ramp", "A simulation behaviour raises the level input by 1 per second; the output doubles it.",
         Ramp, 14},
    };
    for (const Example& e : examples) {
        CSystem system;
        CLcgRandom random(e.seed);
        Begin(system, random, e.file, e.description);
        e.build(system);
        const std::string path = std::string(argv[1]) + "/" + e.file + ".zr2";
        const CFileResult r = SaveProjectFile(system, path);
        if (!r) {
            std::fprintf(stderr, "zor2-make-examples: %s\n", r.message.c_str());
            return 1;
        }
        system.SetRandom(nullptr);
    }
    return g_ok ? 0 : 1;
}
