// Summaries for `zor21-cli info`: systems and modules from the engine's own
// objects, and a bounds-checked walk over the records of a runtime file.
#include "tools/cli_info.h"

#include <cstdio>
#include <memory>
#include <unordered_map>

#include "algo/bytes.h"
#include "algo/runtime_records.h"
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
        rtfile::CHeader header;
        if (!ReadRecord(m_r, header)) return false;
        out += Printf("runtime file (system id %d)\n", header.m_systemId);
        out += Printf("modules: %d\n", header.m_moduleCount);
        if (!Count<rtfile::CModule>(header.m_moduleCount, "module count")) return false;
        for (int32_t i = 0; i < header.m_moduleCount; ++i)
            if (!Module(out)) return false;
        out += Printf("system inputs: %d\n", header.m_systemInputCount);
        if (!Count<rtfile::CSystemInput>(header.m_systemInputCount, "system input count")) return false;
        for (int32_t i = 0; i < header.m_systemInputCount; ++i) {
            const size_t at = m_r.Position();
            rtfile::CSystemInput in;
            if (!ReadRecord(m_r, in)) return false;
            // The runtime library refuses such an input too: no call by id reaches it.
            if (in.m_id < 1) {
                m_r.Fail(Printf("system input id %d in the record at byte %zu; ids start at 1", in.m_id, at));
                return false;
            }
            if (!Skip<rtfile::CSystemInputConnection>(in.m_connectionCount, "system input connection count"))
                return false;
            out += Printf("  input %d \"%s\": kind %d, %d %s\n", in.m_id, Utf16ToUtf8(in.m_name).c_str(),
                          in.m_kind, in.m_connectionCount,
                          Plural(size_t(in.m_connectionCount), "connection", "connections"));
        }
        out += Printf("system outputs: %d\n", header.m_systemOutputCount);
        if (!Count<rtfile::CSystemOutput>(header.m_systemOutputCount, "system output count")) return false;
        for (int32_t i = 0; i < header.m_systemOutputCount; ++i) {
            rtfile::CSystemOutput o;
            ReadRecord(m_r, o);
            out += Printf("  output %d \"%s\": kind %d, ", o.m_id, Utf16ToUtf8(o.m_name).c_str(), o.m_kind);
            out += o.m_connectionId > 0 ? Printf("from module %d\n", o.m_moduleId)
                                        : std::string("not connected\n");
        }
        out += Printf("module connections: %d\n", header.m_moduleConnectionCount);
        if (!Skip<rtfile::CModuleConnection>(header.m_moduleConnectionCount, "module connection count"))
            return false;
        if (m_r.Failed()) return false;
        if (m_r.Remaining() != 0) {
            m_r.Fail(Printf("%zu bytes follow the last record", m_r.Remaining()));
            return false;
        }
        return true;
    }

    std::string Error() const { return Printf("%s (at byte %zu)", m_r.Error().c_str(), m_r.ErrorOffset()); }

  private:
    /// Whether `count` records of at least `minBytes` each can still follow.
    bool Count(int32_t count, size_t minBytes, const char* what) {
        if (m_r.Failed()) return false;
        if (!m_r.CanHold(count, minBytes)) {
            m_r.Fail(Printf("impossible %s %d", what, count));
            return false;
        }
        return true;
    }
    template <class Record>
    bool Count(int32_t count, const char* what) {
        return Count(count, kRecordBytes<Record>, what);
    }
    /// Reads past `count` records that the summary does not show.
    template <class Record>
    bool Skip(int32_t count, const char* what) {
        if (!Count<Record>(count, what)) return false;
        for (int32_t i = 0; i < count; ++i) {
            Record unused;
            if (!ReadRecord(m_r, unused)) return false;
        }
        return true;
    }
    bool Module(std::string& out) {
        rtfile::CModule m;
        ReadRecord(m_r, m);
        if (!Count(m.m_componentCount, rtfile::kComponentMinBytes, "component count")) return false;
        out += Printf("  module %d \"%s\": level %d, %d %s, %d %s, %d %s\n", m.m_id,
                      Utf16ToUtf8(m.m_name).c_str(), m.m_level, m.m_componentCount,
                      Plural(size_t(m.m_componentCount), "component", "components"), m.m_inputCount,
                      Plural(size_t(m.m_inputCount), "input", "inputs"), m.m_outputCount,
                      Plural(size_t(m.m_outputCount), "output", "outputs"));
        for (int32_t i = 0; i < m.m_componentCount; ++i)
            if (!Component(out)) return false;
        if (!Count<rtfile::CModuleInput>(m.m_inputCount, "module input count")) return false;
        for (int32_t i = 0; i < m.m_inputCount; ++i) {
            rtfile::CModuleInput in;
            ReadRecord(m_r, in);
            if (!Skip<rtfile::CInputConnection>(in.m_connectionCount, "module input connection count"))
                return false;
            out += Printf("    module input %d \"%s\"\n", in.m_id, Utf16ToUtf8(in.m_name).c_str());
        }
        if (!Count<rtfile::CModuleOutput>(m.m_outputCount, "module output count")) return false;
        for (int32_t i = 0; i < m.m_outputCount; ++i) {
            rtfile::CModuleOutput o;
            ReadRecord(m_r, o);
            out += Printf("    module output %d \"%s\"\n", o.m_id, Utf16ToUtf8(o.m_name).c_str());
        }
        return !m_r.Failed();
    }

    bool Component(std::string& out) {
        const size_t at = m_r.Position();
        rtfile::CComponent c;
        rtfile::CComponentBase base;
        ReadRecord(m_r, c);
        ReadRecord(m_r, base);
        if (!Skip<rtfile::CInputEntry>(base.m_inputCount, "component input count")) return false;
        if (!Count<rtfile::COutputEntry>(base.m_outputCount, "component output count")) return false;
        for (int32_t k = 0; k < base.m_outputCount; ++k) {
            rtfile::COutputEntry o;
            ReadRecord(m_r, o);
            if (!Skip<rtfile::COutputConnection>(o.m_connectionCount, "component connection count"))
                return false;
        }
        const CComponentType* type = FindComponentType(c.m_typeId);
        if (type && type->skipRuntimeBody) {
            if (!type->skipRuntimeBody(m_r))
                m_r.Fail(Printf("component %d at byte %zu has a damaged body", c.m_id, at));
        } else {
            const long extra = ExtraBytes(c.m_typeId);
            if (extra < 0) {
                m_r.Fail(Printf("component %d at byte %zu has type %d, which this designer does not know",
                                c.m_id, at, c.m_typeId));
                return false;
            }
            m_r.Skip(static_cast<size_t>(extra));
        }
        out += Printf("    component %d: type %d (%s), stage %d\n", c.m_id, c.m_typeId, TypeName(c.m_typeId),
                      base.m_stage);
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
