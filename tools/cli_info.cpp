// Summaries for `zor21-cli info`: systems and modules from the engine's own
// objects, and a bounds-checked walk over the records of a runtime file.
#include "tools/cli_info.h"

#include <cstdio>
#include <memory>
#include <unordered_map>

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/system.h"
#include "simulation/behaviors.h"

namespace zor2 {

namespace {

std::string Printf(const char* format, auto... args) {
    const int n = std::snprintf(nullptr, 0, format, args...);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    std::snprintf(out.data(), out.size() + 1, format, args...);
    return out;
}

const char* TypeName(int32_t typeId) {
    const char* name = CatalogueName(typeId);
    return name ? name : "unknown type";
}

const char* Plural(size_t n, const char* one, const char* many) {
    return n == 1 ? one : many;
}

}  // namespace

std::string DescribeModule(const CNetwork& m) {
    std::string out =
        Printf("  module %d \"%s\": level %d, %zu %s, %zu %s, %zu %s\n", m.m_id, m.m_name.c_str(), m.m_level,
               m.m_components.Size(), Plural(m.m_components.Size(), "component", "components"),
               m.m_inputs.Size(), Plural(m.m_inputs.Size(), "input", "inputs"), m.m_outputs.Size(),
               Plural(m.m_outputs.Size(), "output", "outputs"));
    for (const CNetworkModel* c : m.m_components)
        out += Printf("    component %d \"%s\": type %d (%s), stage %d\n", c->m_id, c->m_name.c_str(),
                      c->m_typeId, TypeName(c->m_typeId), c->m_stage);
    for (const CNetworkInput* in : m.m_inputs)
        out += Printf("    module input %d \"%s\"\n", in->m_id, in->m_name.c_str());
    for (const CNetworkOutput* o : m.m_outputs)
        out += Printf("    module output %d \"%s\"\n", o->m_id, o->m_name.c_str());
    return out;
}

std::string DescribeSystem(const CSystem& s) {
    std::string out = Printf("project \"%s\" (system id %d)\n", s.m_name.c_str(), s.m_systemId);
    if (!s.m_description.empty()) out += "description: " + s.m_description + "\n";
    out += Printf("behaviours enabled: %s\n", s.m_behaviorsEnabled ? "yes" : "no");
    out += Printf("modules: %zu (highest level %d)\n", s.m_modules.Size(), s.m_highestLevel);
    for (const CNetwork* m : s.m_modules) out += DescribeModule(*m);
    out += Printf("system inputs: %zu\n", s.m_inputs.Size());
    for (const CExternalInput* p : s.m_inputs)
        out += Printf("  input %d \"%s\": kind %d, value %.17g, initial %.17g\n", p->m_id, p->m_name.c_str(),
                      p->m_kind, p->m_value, p->m_initialValue);
    out += Printf("system outputs: %zu\n", s.m_outputs.Size());
    for (const CExternalOutput* q : s.m_outputs) {
        const CExternalConnection* c = q->m_connection.get();
        out += Printf("  output %d \"%s\": kind %d, ", q->m_id, q->m_name.c_str(), q->m_kind);
        out +=
            c && c->m_module ? Printf("from module %d\n", c->m_module->m_id) : std::string("not connected\n");
    }
    out += Printf("module connections: %zu\n", s.m_moduleConnections.Size());
    out += Printf("behaviours: %zu\n", s.m_behaviors.m_behaviors.Size());
    for (const CSimBehavior* b : s.m_behaviors.m_behaviors)
        out += Printf("  behaviour %d \"%s\": %s, type %d (%s), rate %.17g, on input %d\n", b->m_id,
                      b->m_name.c_str(), b->m_enabled ? "enabled" : "disabled", b->m_type,
                      CSimBehaviorMgr::BehaviorTypeName(b->m_type), b->m_rate, b->m_targetInputId);
    return out;
}

// --- runtime files ----------------------------------------------------------

namespace {

/// Reads a runtime file's records into text, failing at the first impossible field.
class CRuntimeWalker {
  public:
    explicit CRuntimeWalker(const std::vector<uint8_t>& bytes) : m_r(bytes) {}

    bool Walk(std::string& out) {
        int32_t systemId = 0, modules = 0, inputs = 0, outputs = 0, connections = 0;
        m_r.I32(systemId);
        m_r.I32(modules);
        m_r.I32(inputs);
        m_r.I32(outputs);
        m_r.I32(connections);
        if (m_r.Failed()) return false;
        out += Printf("runtime file (system id %d)\n", systemId);
        out += Printf("modules: %d\n", modules);
        if (!Count(modules, 220, "module count")) return false;
        for (int32_t i = 0; i < modules; ++i)
            if (!Module(out)) return false;
        out += Printf("system inputs: %d\n", inputs);
        if (!Count(inputs, 212, "system input count")) return false;
        for (int32_t i = 0; i < inputs; ++i) {
            int32_t id = 0, kind = 0, count = 0;
            std::u16string name;
            m_r.I32(id);
            m_r.I32(kind);
            m_r.FixedName(name);
            m_r.I32(count);
            if (!Count(count, 16, "system input connection count")) return false;
            for (int32_t k = 0; k < count * 4; ++k) Skip32();
            out += Printf("  input %d \"%s\": kind %d, %d %s\n", id, Utf16ToUtf8(name).c_str(), kind, count,
                          Plural(size_t(count), "connection", "connections"));
        }
        out += Printf("system outputs: %d\n", outputs);
        if (!Count(outputs, 212, "system output count")) return false;
        for (int32_t i = 0; i < outputs; ++i) {
            int32_t id = 0, kind = 0, connection = 0, portId = 0, moduleId = 0, moduleOutputId = 0;
            std::u16string name;
            m_r.I32(id);
            m_r.I32(kind);
            m_r.FixedName(name);
            m_r.I32(connection);
            if (connection > 0) {
                m_r.I32(portId);
                m_r.I32(moduleId);
                m_r.I32(moduleOutputId);
            }
            out += Printf("  output %d \"%s\": kind %d, ", id, Utf16ToUtf8(name).c_str(), kind);
            out += connection > 0 ? Printf("from module %d\n", moduleId) : std::string("not connected\n");
        }
        out += Printf("module connections: %d\n", connections);
        if (!Count(connections, 20, "module connection count")) return false;
        for (int32_t i = 0; i < connections * 5; ++i) Skip32();
        if (m_r.Failed()) return false;
        if (m_r.Remaining() != 0) {
            m_r.Fail(Printf("%zu bytes follow the last record", m_r.Remaining()));
            return false;
        }
        return true;
    }

    std::string Error() const { return Printf("%s (at byte %zu)", m_r.Error().c_str(), m_r.ErrorOffset()); }

  private:
    bool Count(int32_t count, size_t minBytes, const char* what) {
        if (m_r.Failed()) return false;
        if (!m_r.CanHold(count, minBytes)) {
            m_r.Fail(Printf("impossible %s %d", what, count));
            return false;
        }
        return true;
    }
    void Skip32() {
        int32_t unused = 0;
        m_r.I32(unused);
    }
    void SkipBytes(size_t n) {
        if (n > m_r.Remaining()) {
            m_r.Fail("unexpected end of data");
            return;
        }
        std::vector<uint8_t> sink(n);
        m_r.Raw(sink.data(), n);
    }

    bool Module(std::string& out) {
        int32_t id = 0, level = 0, inputs = 0, outputs = 0, components = 0;
        std::u16string name;
        m_r.I32(id);
        m_r.FixedName(name);
        m_r.I32(level);
        m_r.I32(inputs);
        m_r.I32(outputs);
        m_r.I32(components);
        if (!Count(components, 36, "component count")) return false;
        out += Printf("  module %d \"%s\": level %d, %d %s, %d %s, %d %s\n", id, Utf16ToUtf8(name).c_str(),
                      level, components, Plural(size_t(components), "component", "components"), inputs,
                      Plural(size_t(inputs), "input", "inputs"), outputs,
                      Plural(size_t(outputs), "output", "outputs"));
        for (int32_t i = 0; i < components; ++i)
            if (!Component(out)) return false;
        if (!Count(inputs, 216, "module input count")) return false;
        for (int32_t i = 0; i < inputs; ++i) {
            int32_t inputId = 0, count = 0;
            std::u16string inputName;
            m_r.I32(inputId);
            m_r.FixedName(inputName);
            Skip32();
            Skip32();
            m_r.I32(count);
            if (!Count(count, 28, "module input connection count")) return false;
            for (int32_t k = 0; k < count * 7; ++k) Skip32();
            out += Printf("    module input %d \"%s\"\n", inputId, Utf16ToUtf8(inputName).c_str());
        }
        if (!Count(outputs, 212, "module output count")) return false;
        for (int32_t i = 0; i < outputs; ++i) {
            int32_t outputId = 0;
            std::u16string outputName;
            m_r.I32(outputId);
            m_r.FixedName(outputName);
            Skip32();
            Skip32();
            out += Printf("    module output %d \"%s\"\n", outputId, Utf16ToUtf8(outputName).c_str());
        }
        return !m_r.Failed();
    }

    bool Component(std::string& out) {
        int32_t id = 0, type = 0, stage = 0, inputs = 0, outputs = 0;
        double value = 0.0, tolerance = 0.0;
        const size_t at = m_r.Position();
        m_r.I32(id);
        m_r.I32(type);
        m_r.F64(value);
        m_r.F64(tolerance);
        m_r.I32(stage);
        m_r.I32(inputs);
        m_r.I32(outputs);
        if (!Count(inputs, 12, "component input count")) return false;
        for (int32_t k = 0; k < inputs * 3; ++k) Skip32();
        if (!Count(outputs, 12, "component output count")) return false;
        for (int32_t k = 0; k < outputs; ++k) {
            int32_t count = 0;
            Skip32();
            Skip32();
            m_r.I32(count);
            if (!Count(count, 28, "component connection count")) return false;
            for (int32_t c = 0; c < count * 7; ++c) Skip32();
        }
        const long extra = ExtraBytes(type);
        if (extra < 0) {
            m_r.Fail(Printf("component %d at byte %zu has type %d, which this designer does not know", id, at,
                            type));
            return false;
        }
        SkipBytes(static_cast<size_t>(extra));
        out += Printf("    component %d: type %d (%s), stage %d\n", id, type, TypeName(type), stage);
        return !m_r.Failed();
    }

    /// Bytes a type writes after its base record, measured on a fresh
    /// component of that type dropped into a scratch module; -1 when unknown.
    long ExtraBytes(int32_t type) {
        auto it = m_extra.find(type);
        if (it != m_extra.end()) return it->second;
        long extra = -1;
        if (FindComponentType(type)) {
            if (!m_scratch) {
                m_scratch = std::make_unique<CSystem>();
                m_scratchModule = m_scratch->CreateModule("scratch", 0, 0);
            }
            if (CNetworkModel* c = m_scratchModule->DropComponent(type, 0, 0)) {
                CByteWriter whole, base;
                c->ExportRuntime(whole);
                c->ExportRuntimeBase(base);
                extra = static_cast<long>(whole.Size()) - static_cast<long>(base.Size());
                m_scratchModule->DeleteComponent(c);
            }
        }
        m_extra.emplace(type, extra);
        return extra;
    }

    CByteReader m_r;
    std::unordered_map<int32_t, long> m_extra;
    std::unique_ptr<CSystem> m_scratch;
    CNetwork* m_scratchModule = nullptr;
};

}  // namespace

bool DescribeRuntimeFile(const std::vector<uint8_t>& bytes, std::string& summary, std::string& error) {
    CRuntimeWalker walker(bytes);
    std::string out;
    if (!walker.Walk(out)) {
        error = walker.Error();
        return false;
    }
    summary = std::move(out);
    return true;
}

}  // namespace zor2
