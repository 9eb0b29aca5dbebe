// Test helper: describes a runtime system as plain records and writes its .z2r
// bytes field by field, so tests can build files by hand (also damaged ones).
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "algo/bytes.h"

namespace zor2::test {

struct ZConn {  // connection entry inside a module (28 bytes); written in each form's own field order
    int32_t id, kind, srcComp, dstComp, srcOut, dstIn, modulePort;
};
struct ZInput {
    int32_t id, srcConn = 0, srcKind = 0;
};
struct ZOutput {
    int32_t id, dataType = 0;
    std::vector<ZConn> conns;
};
struct ZComponent {
    int32_t id, type;
    double value = 0.0;
    int32_t stage = 1;
    std::vector<ZInput> inputs;
    std::vector<ZOutput> outputs;
    double tolerance = 0.00001;
    std::vector<uint8_t> extra;  // the type's own fields after the ports
};
struct ZModuleInput {
    int32_t id;
    std::u16string name;
    int32_t srcConn = 0, srcKind = 0;
    std::vector<ZConn> conns;
};
struct ZModuleOutput {
    int32_t id;
    std::u16string name;
    int32_t srcKind = 0, srcConn = 0;
};
struct ZModule {
    int32_t id;
    std::u16string name;
    int32_t level = 1;
    std::vector<ZComponent> components;
    std::vector<ZModuleInput> inputs;
    std::vector<ZModuleOutput> outputs;
};
struct ZExtConn {
    int32_t id, systemPort, module, modulePort;
};
struct ZSystemInput {
    int32_t id, kind = 1;
    std::u16string name;
    std::vector<ZExtConn> conns;
};
struct ZSystemOutput {
    int32_t id, kind = 1;
    std::u16string name;
    int32_t module = 0, moduleOutput = 0;  // module 0: unconnected
};
struct ZModuleConn {
    int32_t id, srcModule, dstModule, srcOut, dstIn;
};
struct ZSystem {
    int32_t id = 0;
    std::vector<ZModule> modules;
    std::vector<ZSystemInput> inputs;
    std::vector<ZSystemOutput> outputs;
    std::vector<ZModuleConn> connections;
};

inline std::vector<uint8_t> WriteZ2r(const ZSystem& s) {
    CByteWriter w;
    w.I32(s.id);
    w.I32(static_cast<int32_t>(s.modules.size()));
    w.I32(static_cast<int32_t>(s.inputs.size()));
    w.I32(static_cast<int32_t>(s.outputs.size()));
    w.I32(static_cast<int32_t>(s.connections.size()));
    for (const ZModule& m : s.modules) {
        w.I32(m.id);
        w.FixedName(m.name);
        w.I32(m.level);
        w.I32(static_cast<int32_t>(m.inputs.size()));
        w.I32(static_cast<int32_t>(m.outputs.size()));
        w.I32(static_cast<int32_t>(m.components.size()));
        for (const ZComponent& c : m.components) {
            w.I32(c.id);
            w.I32(c.type);
            w.F64(c.value);
            w.F64(c.tolerance);
            w.I32(c.stage);
            w.I32(static_cast<int32_t>(c.inputs.size()));
            w.I32(static_cast<int32_t>(c.outputs.size()));
            for (const ZInput& in : c.inputs) {
                w.I32(in.id);
                w.I32(in.srcConn);
                w.I32(in.srcKind);
            }
            for (const ZOutput& out : c.outputs) {
                w.I32(out.id);
                w.I32(out.dataType);
                w.I32(static_cast<int32_t>(out.conns.size()));
                for (const ZConn& k : out.conns) {
                    for (int32_t v : {k.id, k.kind, k.srcComp, k.dstComp, k.srcOut, k.dstIn, k.modulePort})
                        w.I32(v);
                }
            }
            for (uint8_t b : c.extra) w.Byte(b);
        }
        for (const ZModuleInput& in : m.inputs) {
            w.I32(in.id);
            w.FixedName(in.name);
            w.I32(in.srcConn);
            w.I32(in.srcKind);
            w.I32(static_cast<int32_t>(in.conns.size()));
            for (const ZConn& k : in.conns) {
                for (int32_t v : {k.id, k.srcComp, k.dstComp, k.srcOut, k.dstIn, k.modulePort, k.kind})
                    w.I32(v);
            }
        }
        for (const ZModuleOutput& out : m.outputs) {
            w.I32(out.id);
            w.FixedName(out.name);
            w.I32(out.srcKind);
            w.I32(out.srcConn);
        }
    }
    for (const ZSystemInput& in : s.inputs) {
        w.I32(in.id);
        w.I32(in.kind);
        w.FixedName(in.name);
        w.I32(static_cast<int32_t>(in.conns.size()));
        for (const ZExtConn& k : in.conns) {
            for (int32_t v : {k.id, k.systemPort, k.module, k.modulePort}) w.I32(v);
        }
    }
    for (const ZSystemOutput& out : s.outputs) {
        w.I32(out.id);
        w.I32(out.kind);
        w.FixedName(out.name);
        if (out.module == 0) {
            w.I32(0);
        } else {
            w.I32(out.id);
            w.I32(out.id);
            w.I32(out.module);
            w.I32(out.moduleOutput);
        }
    }
    for (const ZModuleConn& k : s.connections) {
        for (int32_t v : {k.id, k.srcModule, k.dstModule, k.srcOut, k.dstIn}) w.I32(v);
    }
    return w.Bytes();
}

/// Constant(5) -> Add <- module input <- system input 11; Add -> module output ->
/// system output 21. Output = 5 + input.
inline ZSystem ChainSystem() {
    ZSystem s;
    s.id = 7;
    ZModule m{.id = 1, .name = u"Main"};
    m.components.push_back({.id = 1,
                            .type = 41,
                            .value = 5.0,
                            .stage = 1,
                            .outputs = {{.id = 10, .conns = {{501, 3, 1, 2, 10, 1, 0}}}}});
    m.components.push_back({.id = 2,
                            .type = 21,
                            .stage = 2,
                            .inputs = {{1, 501, 3}, {2, 601, 4}},
                            .outputs = {{.id = 10, .conns = {{502, 4, 2, 0, 10, 0, 200}}}}});
    m.inputs.push_back(
        {.id = 100, .name = u"Ext: In", .srcConn = 701, .srcKind = 2, .conns = {{601, 4, 0, 2, 0, 2, 100}}});
    m.outputs.push_back({.id = 200, .name = u"Ext: Out", .srcKind = 4, .srcConn = 502});
    s.modules.push_back(m);
    s.inputs.push_back({.id = 11, .kind = 1, .name = u"In", .conns = {{701, 11, 1, 100}}});
    s.outputs.push_back({.id = 21, .kind = 1, .name = u"Out", .module = 1, .moduleOutput = 200});
    return s;
}

/// Accumulator through a Feedback Flow: Add(Constant 1, Feedback) -> Feedback;
/// Add -> module output -> system output 31 (1, 2, 3, ...), and the Feedback
/// output itself -> system output 32 (after each cycle it holds that cycle's sum;
/// the Add reads the previous cycle's).
inline ZSystem FeedbackSystem() {
    ZSystem s;
    s.id = 3;
    ZModule m{.id = 5, .name = u"Loop"};
    m.components.push_back({.id = 1,
                            .type = 41,
                            .value = 1.0,
                            .stage = 1,
                            .outputs = {{.id = 10, .conns = {{801, 3, 1, 2, 10, 1, 0}}}}});
    m.components.push_back(
        {.id = 2,
         .type = 21,
         .stage = 2,
         .inputs = {{1, 801, 3}, {2, 803, 3}},
         .outputs = {{.id = 10, .conns = {{802, 3, 2, 3, 10, 10, 0}, {804, 4, 2, 0, 10, 0, 300}}}}});
    m.components.push_back(
        {.id = 3,
         .type = 56,
         .stage = 0,
         .inputs = {{10, 802, 3}},
         .outputs = {{.id = 10, .conns = {{803, 3, 3, 2, 10, 2, 0}, {805, 4, 3, 0, 10, 0, 301}}}}});
    m.outputs.push_back({.id = 300, .name = u"Sum", .srcKind = 4, .srcConn = 804});
    m.outputs.push_back({.id = 301, .name = u"Lagged", .srcKind = 4, .srcConn = 805});
    s.modules.push_back(m);
    s.outputs.push_back({.id = 31, .name = u"Sum", .module = 5, .moduleOutput = 300});
    s.outputs.push_back({.id = 32, .name = u"Lagged", .module = 5, .moduleOutput = 301});
    return s;
}

/// Two modules, listed level 2 first: B (level 2) multiplies A's output by a
/// system input; A (level 1) adds two system inputs. Output 41 = (x + y) * z.
inline ZSystem TwoModuleSystem() {
    ZSystem s;
    s.id = 9;
    ZModule b{.id = 20, .name = u"B", .level = 2};
    b.components.push_back({.id = 1,
                            .type = 23,
                            .stage = 1,
                            .inputs = {{1, 901, 4}, {2, 902, 4}},
                            .outputs = {{.id = 10, .conns = {{903, 4, 1, 0, 10, 0, 250}}}}});
    b.inputs.push_back(
        {.id = 210, .name = u"A out", .srcConn = 1001, .srcKind = 1, .conns = {{901, 4, 0, 1, 0, 1, 210}}});
    b.inputs.push_back(
        {.id = 211, .name = u"Ext: z", .srcConn = 1103, .srcKind = 2, .conns = {{902, 4, 0, 1, 0, 2, 211}}});
    b.outputs.push_back({.id = 250, .name = u"Ext: Product", .srcKind = 4, .srcConn = 903});
    ZModule a{.id = 10, .name = u"A", .level = 1};
    a.components.push_back({.id = 1,
                            .type = 21,
                            .stage = 1,
                            .inputs = {{1, 911, 4}, {2, 912, 4}},
                            .outputs = {{.id = 10, .conns = {{913, 4, 1, 0, 10, 0, 150}}}}});
    a.inputs.push_back(
        {.id = 110, .name = u"Ext: x", .srcConn = 1101, .srcKind = 2, .conns = {{911, 4, 0, 1, 0, 1, 110}}});
    a.inputs.push_back(
        {.id = 111, .name = u"Ext: y", .srcConn = 1102, .srcKind = 2, .conns = {{912, 4, 0, 1, 0, 2, 111}}});
    a.outputs.push_back({.id = 150, .name = u"out", .srcKind = 4, .srcConn = 913});
    s.modules = {b, a};
    s.inputs.push_back({.id = 1, .name = u"x", .conns = {{1101, 1, 10, 110}}});
    s.inputs.push_back({.id = 2, .name = u"y", .conns = {{1102, 2, 10, 111}}});
    s.inputs.push_back({.id = 3, .name = u"z", .conns = {{1103, 3, 20, 211}}});
    s.outputs.push_back({.id = 41, .name = u"Product", .module = 20, .moduleOutput = 250});
    s.outputs.push_back({.id = 42, .name = u"Unconnected"});
    s.connections.push_back({1001, 10, 20, 150, 210});
    return s;
}

/// A random system: modules at random levels fed by system inputs and by earlier
/// modules, components of the base-record types at random stages with 0-4 inputs
/// each wired to nothing, a module input or any component output (their own
/// included), and 1-3 outputs; every module output goes to a system output.
inline std::vector<uint8_t> RandomSystem(uint32_t seed) {
    std::mt19937 rng(seed);
    const int32_t types[] = {21, 22, 23, 24, 86, 87, 21, 22, 23, 87, 88, 89, 41, 41, 56, 3,  4,  5,  6, 7,
                             8,  9,  10, 11, 25, 26, 2,  28, 29, 30, 90, 15, 16, 17, 18, 19, 20, 80, 14};
    ZSystem s;
    int32_t conn = 1;
    std::vector<std::pair<int32_t, int32_t>> exposed;  // (module id, module output id)
    const int modules = 1 + static_cast<int>(rng() % 3);
    for (int mi = 0; mi < modules; ++mi) {
        const int32_t moduleId = 10 + mi;
        ZModule m{.id = moduleId, .name = u"M", .level = 1 + static_cast<int32_t>(rng() % 3)};
        const int32_t sysIn = 100 + mi;
        s.inputs.push_back({.id = sysIn, .name = u"x", .conns = {{conn++, sysIn, moduleId, 1}}});
        m.inputs.push_back({.id = 1, .name = u"x", .srcKind = 2});
        m.inputs.push_back({.id = 2, .name = u"up"});
        if (!exposed.empty()) {
            const auto& [srcModule, srcOut] = exposed[rng() % exposed.size()];
            s.connections.push_back({conn++, srcModule, moduleId, srcOut, 2});
        }
        const int count = 3 + static_cast<int>(rng() % 25);
        for (int c = 0; c < count; ++c) {
            ZComponent comp{.id = c + 1, .type = types[rng() % std::size(types)]};
            comp.value = static_cast<double>(static_cast<int>(rng() % 9) - 4);
            // Mostly in list order, so that chains form; sometimes equal, out of order or 0.
            comp.stage = rng() % 4 != 0 ? c + 1 : (rng() % 6 == 0 ? 0 : 1 + static_cast<int32_t>(rng() % 6));
            if (comp.type == 56) comp.stage = 0;
            const int inputs = comp.type == 41 ? 0 : static_cast<int>(rng() % 5);
            for (int k = 0; k < inputs; ++k) comp.inputs.push_back({10 * (k + 1)});
            const int outputs = 1 + (rng() % 4 == 0 ? static_cast<int>(rng() % 3) : 0);
            for (int k = 0; k < outputs; ++k) comp.outputs.push_back({.id = 10 * (k + 1)});
            if (comp.type >= 15 && comp.type <= 20) {
                CByteWriter w;
                w.Bool(true);
                w.F64(static_cast<double>(static_cast<int>(rng() % 5) - 2));
                comp.extra = w.Bytes();
            }
            m.components.push_back(comp);
        }
        for (size_t d = 0; d < m.components.size(); ++d) {
            ZComponent& dst = m.components[d];
            for (const ZInput& in : dst.inputs) {
                if (d > 0 && in.id == 10 && rng() % 2 == 0) {
                    ZComponent& previous = m.components[d - 1];
                    previous.outputs[0].conns.push_back({conn++, 3, previous.id, dst.id, 10, in.id, 0});
                    continue;
                }
                const uint32_t pick = rng() % 5;
                if (pick == 0) continue;
                if (pick == 1) {
                    m.inputs[rng() % 2].conns.push_back({conn++, 4, 0, dst.id, 0, in.id, 0});
                    continue;
                }
                ZComponent& src = m.components[rng() % m.components.size()];
                ZOutput& out = src.outputs[rng() % src.outputs.size()];
                out.conns.push_back({conn++, 3, src.id, dst.id, out.id, in.id, 0});
            }
        }
        for (ZModuleInput& in : m.inputs) {
            for (ZConn& c : in.conns) c.modulePort = in.id;
        }
        for (int o = 0; o < 3; ++o) {
            ZComponent& src = m.components[rng() % m.components.size()];
            ZOutput& out = src.outputs[rng() % src.outputs.size()];
            const int32_t portId = 50 + o;
            out.conns.push_back({conn, 4, src.id, 0, out.id, 0, portId});
            m.outputs.push_back({.id = portId, .name = u"o", .srcKind = 4, .srcConn = conn++});
            exposed.emplace_back(moduleId, portId);
            s.outputs.push_back({.id = static_cast<int32_t>(s.outputs.size()) + 1,
                                 .name = u"y",
                                 .module = moduleId,
                                 .moduleOutput = portId});
        }
        s.modules.push_back(m);
    }
    return WriteZ2r(s);
}

}  // namespace zor2::test
