// Runtime file reader: header, modules (with their components and ports), system
// inputs, system outputs, module connections, then the links between them.
#include "runtime/rt_loader.h"

#include <algorithm>
#include <vector>

#include "algo/platform.h"
#include "runtime/rt_registry.h"

namespace zor2 {

namespace {

uint64_t Key(size_t owner, int32_t id) {
    return (static_cast<uint64_t>(owner) << 32) | static_cast<uint32_t>(id);
}

/// Values by id (or owner and id, see Key), added while reading, sorted once,
/// then found by binary search: one block of memory instead of a hash node per
/// id. Of equal ids the first added wins.
template <class Value>
class CIdIndex {
  public:
    void Clear() { m_entries.clear(); }
    void Add(uint64_t id, Value value) {
        m_entries.push_back({id, static_cast<uint32_t>(m_entries.size()), value});
    }
    void Sort() {
        std::sort(m_entries.begin(), m_entries.end(), [](const CEntry& a, const CEntry& b) {
            return a.id != b.id ? a.id < b.id : a.order < b.order;
        });
    }
    /// The value of `id`, or nullptr when nothing was added under it.
    const Value* Find(uint64_t id) const {
        if (m_entries.empty()) return nullptr;
        // A lower bound without branches on the data: the ids are random
        // numbers, so a branch on each comparison would be mispredicted half the time.
        const CEntry* base = m_entries.data();
        for (size_t n = m_entries.size(); n > 1;) {
            const size_t half = n / 2;
            base = base[half].id < id ? base + half : base;
            n -= half;
        }
        base += base->id < id;
        return base != m_entries.data() + m_entries.size() && base->id == id ? &base->value : nullptr;
    }

  private:
    struct CEntry {
        uint64_t id;
        uint32_t order;
        Value value;
    };
    std::vector<CEntry> m_entries;
};

/// One module's components and their inputs by id, for linking its
/// connections. Of equal ids the first wins; ids below 1 never match.
class CModuleIds {
  public:
    void Index(const CRNetwork& module);
    /// Sets `index` to the place of the component with `id` in the module; false when there is none.
    bool Component(int32_t id, size_t& index) const {
        const size_t* found = id >= 1 ? m_components.Find(static_cast<uint64_t>(id)) : nullptr;
        if (found) index = *found;
        return found != nullptr;
    }
    /// The input with `id` of the component at `index`, or nullptr.
    CRModelInput* Input(CRNetwork& module, size_t index, int32_t id) const;

  private:
    CIdIndex<size_t> m_components;
    std::vector<uint8_t> m_inputsRise;      // by component: its input ids rise strictly
    CIdIndex<CRModelInput*> m_otherInputs;  // the inputs of components whose ids do not
};

void CModuleIds::Index(const CRNetwork& module) {
    const size_t count = module.m_components.size();
    m_components.Clear();
    m_inputsRise.assign(count, 1);
    m_otherInputs.Clear();
    for (size_t i = 0; i < count; ++i) {
        CRNetworkModel& comp = *module.m_components[i];
        if (comp.m_id >= 1) m_components.Add(static_cast<uint64_t>(comp.m_id), i);
        for (size_t k = 1; k < comp.m_inputs.size(); ++k) {
            if (comp.m_inputs[k].m_id <= comp.m_inputs[k - 1].m_id) m_inputsRise[i] = 0;
        }
        if (m_inputsRise[i]) continue;
        for (CRModelInput& in : comp.m_inputs) {
            if (in.m_id >= 1) m_otherInputs.Add(Key(i, in.m_id), &in);
        }
    }
    m_components.Sort();
    m_otherInputs.Sort();
}

CRModelInput* CModuleIds::Input(CRNetwork& module, size_t index, int32_t id) const {
    if (id < 1) return nullptr;
    std::vector<CRModelInput>& inputs = module.m_components[index]->m_inputs;
    if (!m_inputsRise[index]) {
        CRModelInput* const* found = m_otherInputs.Find(Key(index, id));
        return found ? *found : nullptr;
    }
    // Ids 1, 2, 3, ... stand at their place; any other rising ids are searched.
    const size_t place = static_cast<size_t>(id) - 1;
    if (place < inputs.size() && inputs[place].m_id == id) return &inputs[place];
    const auto it = std::lower_bound(inputs.begin(), inputs.end(), id,
                                     [](const CRModelInput& in, int32_t key) { return in.m_id < key; });
    return it != inputs.end() && it->m_id == id ? &*it : nullptr;
}

class CRLoader {
  public:
    CRLoader(CRSystem& system, const uint8_t* data, size_t size) : m_system(system), m_in(data, size) {}

    CRReadResult Read(int32_t systemId);

  private:
    bool ReadModule();
    void TakeModuleInput(CRNetworkInput& in, rtfile::CModuleInput& r);
    void LinkModule(CRNetwork& module);
    void IndexModules();
    bool ReadSystemInputs(int32_t count);
    bool ReadSystemOutputs(int32_t count);
    bool ReadModuleConnections(int32_t count);
    void LinkSystemInputs();
    CRNetwork* FindModule(int32_t id) const;
    CRNetworkInput* FindModuleInput(const CRNetwork* module, int32_t id) const;
    CRNetworkOutput* FindModuleOutput(const CRNetwork* module, int32_t id) const;
    bool Fail(int32_t code);

    CRSystem& m_system;
    CByteReader m_in;
    CRReadResult m_result;
    CIdIndex<size_t> m_moduleIndex;
    CIdIndex<CRNetworkInput*> m_moduleInputs;
    CIdIndex<CRNetworkOutput*> m_moduleOutputs;
    // One module's ids while it is linked; kept to reuse their memory.
    CModuleIds m_ids;
    CIdIndex<CRNetworkOutput*> m_outputs;
};

bool CRLoader::Fail(int32_t code) {
    if (m_result.code == 0) {
        m_result.code = code;
        if (code != kReadUnsupportedType) {
            m_result.offset = m_in.Failed() ? m_in.ErrorOffset() : m_in.Position();
            m_result.detail = m_in.Failed() ? m_in.Error() : "record count mismatch";
        }
    }
    return false;
}

CRReadResult CRLoader::Read(int32_t systemId) {
    Trace("Setting SystemID: %d\n", systemId);
    rtfile::CHeader header;
    const bool read = ReadRecord(m_in, header);
    m_system.m_systemId = header.m_systemId;
    if (!read || !m_in.CheckCount(header.m_moduleCount, kRecordBytes<rtfile::CModule>, "module")) {
        Fail(-2);
        return m_result;
    }
    m_system.m_modules.reserve(static_cast<size_t>(header.m_moduleCount));
    for (int32_t i = 0; i < header.m_moduleCount; ++i) {
        if (!ReadModule()) {
            if (m_result.code == 0) Fail(-2);
            return m_result;
        }
    }
    IndexModules();
    if (!ReadSystemInputs(header.m_systemInputCount)) return m_result;
    if (!ReadSystemOutputs(header.m_systemOutputCount)) return m_result;
    if (!ReadModuleConnections(header.m_moduleConnectionCount)) return m_result;
    LinkSystemInputs();
    if (m_in.Remaining() != 0) {
        m_result.code = kReadTrailingBytes;
        m_result.trailing = m_in.Remaining();
        m_result.offset = m_in.Position();
        m_result.detail = "bytes after the last record";
        return m_result;
    }
    Trace("Finished reading %d inputs, %d outputs, %d connections and %d modules for systemID: %d\n",
          static_cast<int>(m_system.m_inputs.size()), static_cast<int>(m_system.m_outputs.size()),
          static_cast<int>(m_system.m_connections.size()), static_cast<int>(m_system.m_modules.size()),
          m_system.m_systemId);
    return m_result;
}

bool CRLoader::ReadModule() {
    auto module = std::make_unique<CRNetwork>();
    module->m_owner = &m_system;
    rtfile::CModule record;
    if (!ReadRecord(m_in, record)) return false;
    module->m_id = record.m_id;
    module->m_name = std::move(record.m_name);
    module->m_level = record.m_level;
    if (!m_in.CheckCount(record.m_componentCount, rtfile::kComponentMinBytes, "component")) return false;
    module->m_components.reserve(static_cast<size_t>(record.m_componentCount));
    for (int32_t i = 0; i < record.m_componentCount; ++i) {
        const size_t recordOffset = m_in.Position();
        rtfile::CComponent start;
        if (!ReadRecord(m_in, start)) return false;
        std::unique_ptr<CRNetworkModel> comp = CreateRuntimeComponent(start.m_typeId);
        if (!comp) {
            // Records carry no length, so nothing after an unknown type can be read.
            m_result.code = kReadUnsupportedType;
            m_result.componentType = start.m_typeId;
            m_result.offset = recordOffset;
            m_result.detail = "component type without a runtime class";
            return false;
        }
        comp->m_id = start.m_id;
        comp->m_owner = module.get();
        comp->ReadRuntime(m_in, m_in.Position());
        if (m_in.Failed()) return false;
        module->m_components.push_back(std::move(comp));
    }
    Trace("Finished reading %d models\n", record.m_componentCount);
    auto takeOutput = [](CRNetworkOutput& out, rtfile::CModuleOutput& r) {
        out.m_id = r.m_id;
        out.m_name = std::move(r.m_name);
        out.m_sourceKind = r.m_sourceKind;
        out.m_sourceConnectionId = r.m_sourceConnectionId;
    };
    if (!ReadRecords<rtfile::CModuleInput>(
            m_in, record.m_inputCount, "module input", module->m_inputs,
            [this](CRNetworkInput& in, rtfile::CModuleInput& r) { TakeModuleInput(in, r); }) ||
        !ReadRecords<rtfile::CModuleOutput>(m_in, record.m_outputCount, "module output", module->m_outputs,
                                            takeOutput))
        return false;
    LinkModule(*module);
    m_system.m_modules.push_back(std::move(module));
    return true;
}

void CRLoader::TakeModuleInput(CRNetworkInput& in, rtfile::CModuleInput& r) {
    in.m_id = r.m_id;
    in.m_name = std::move(r.m_name);
    in.m_sourceConnectionId = r.m_sourceConnectionId;
    in.m_sourceKind = r.m_sourceKind;
    ReadRecords<rtfile::CInputConnection>(m_in, r.m_connectionCount, "connection", in.m_connections,
                                          TakeConnectionIds<rtfile::CInputConnection>);
}

void CRLoader::LinkModule(CRNetwork& module) {
    // Id maps for this module; the first of equal ids wins and ids below 1 never match.
    m_ids.Index(module);
    m_outputs.Clear();
    for (CRNetworkOutput& out : module.m_outputs) {
        if (out.m_id >= 1) m_outputs.Add(static_cast<uint64_t>(out.m_id), &out);
    }
    m_outputs.Sort();
    auto findComponent = [&](int32_t id, size_t& index) -> CRNetworkModel* {
        return m_ids.Component(id, index) ? module.m_components[index].get() : nullptr;
    };
    auto findInput = [&](size_t index, int32_t id) { return m_ids.Input(module, index, id); };

    for (CRNetworkInput& mi : module.m_inputs) {
        for (CRModelConnection& c : mi.m_connections) {
            c.m_moduleInput = &mi;
            size_t index = 0;
            c.m_destComponent = findComponent(c.m_destComponentId, index);
            c.m_destInput = c.m_destComponent ? findInput(index, c.m_destInputId) : nullptr;
            if (CRModelInput* dest = c.m_destInput) {
                dest->m_sourceConnectionId = c.m_id;
                dest->m_sourceConnection = &c;
                dest->m_sourceKind = c.m_kind;
                dest->m_source = &mi.m_value;
            }
        }
    }
    for (auto& comp : module.m_components) {
        for (CRModelOutput& out : comp->m_outputs) {
            for (CRModelConnection& c : out.m_connections) {
                c.m_sourceComponent = comp.get();
                c.m_sourceOutput = &out;
                if (c.m_kind == kSourceComponent) {
                    size_t index = 0;
                    c.m_destComponent = findComponent(c.m_destComponentId, index);
                    c.m_destInput = c.m_destComponent ? findInput(index, c.m_destInputId) : nullptr;
                    if (CRModelInput* dest = c.m_destInput) {
                        dest->m_sourceConnectionId = c.m_id;
                        dest->m_sourceConnection = &c;
                        dest->m_sourceKind = kSourceComponent;
                        dest->m_source = &out.m_value;
                    }
                } else {
                    CRNetworkOutput* const* found =
                        c.m_modulePortId >= 1 ? m_outputs.Find(static_cast<uint64_t>(c.m_modulePortId))
                                              : nullptr;
                    c.m_moduleOutput = found ? *found : nullptr;
                    if (CRNetworkOutput* mo = c.m_moduleOutput) {
                        mo->m_sourceConnectionId = c.m_id;
                        mo->m_sourceConnection = &c;
                        mo->m_sourceKind = kSourceModulePort;
                        mo->m_sourceOutput = &out;
                    }
                }
            }
        }
    }
}

void CRLoader::IndexModules() {
    for (size_t i = 0; i < m_system.m_modules.size(); ++i) {
        CRNetwork& m = *m_system.m_modules[i];
        if (m.m_id >= 1) m_moduleIndex.Add(static_cast<uint64_t>(m.m_id), i);
        for (CRNetworkInput& in : m.m_inputs) {
            if (in.m_id >= 1) m_moduleInputs.Add(Key(i, in.m_id), &in);
        }
        for (CRNetworkOutput& out : m.m_outputs) {
            if (out.m_id >= 1) m_moduleOutputs.Add(Key(i, out.m_id), &out);
        }
    }
    m_moduleIndex.Sort();
    m_moduleInputs.Sort();
    m_moduleOutputs.Sort();
}

CRNetwork* CRLoader::FindModule(int32_t id) const {
    const size_t* found = id >= 1 ? m_moduleIndex.Find(static_cast<uint64_t>(id)) : nullptr;
    return found ? m_system.m_modules[*found].get() : nullptr;
}

CRNetworkInput* CRLoader::FindModuleInput(const CRNetwork* module, int32_t id) const {
    if (!module || id < 1) return nullptr;
    const size_t* index =
        module->m_id >= 1 ? m_moduleIndex.Find(static_cast<uint64_t>(module->m_id)) : nullptr;
    CRNetworkInput* const* found = index ? m_moduleInputs.Find(Key(*index, id)) : nullptr;
    return found ? *found : nullptr;
}

CRNetworkOutput* CRLoader::FindModuleOutput(const CRNetwork* module, int32_t id) const {
    if (!module || id < 1) return nullptr;
    const size_t* index =
        module->m_id >= 1 ? m_moduleIndex.Find(static_cast<uint64_t>(module->m_id)) : nullptr;
    CRNetworkOutput* const* found = index ? m_moduleOutputs.Find(Key(*index, id)) : nullptr;
    return found ? *found : nullptr;
}

bool CRLoader::ReadSystemInputs(int32_t count) {
    if (!m_in.CheckCount(count, kRecordBytes<rtfile::CSystemInput>, "system input")) return Fail(-3);
    m_system.m_inputs.reserve(static_cast<size_t>(count));
    auto takeConnection = [](CRExternalConnection& c, const rtfile::CSystemInputConnection& r) {
        c.m_id = r.m_id;
        c.m_systemPortId = r.m_systemInputId;
        c.m_moduleId = r.m_moduleId;
        c.m_modulePortId = r.m_moduleInputId;
    };
    for (int32_t i = 0; i < count; ++i) {
        const size_t recordOffset = m_in.Position();
        rtfile::CSystemInput record;
        if (!ReadRecord(m_in, record)) return Fail(-3);
        if (record.m_id < 1) {
            m_result.code = kReadBadInputId;
            m_result.inputId = record.m_id;
            m_result.offset = recordOffset;
            m_result.detail = "system input id below 1";
            return false;
        }
        CRSystemInput in;
        in.m_id = record.m_id;
        in.m_kind = record.m_kind;
        in.m_name = std::move(record.m_name);
        if (!ReadRecords<rtfile::CSystemInputConnection>(
                m_in, record.m_connectionCount, "system input connection", in.m_connections, takeConnection))
            return Fail(-3);
        m_system.m_inputs.push_back(std::move(in));
    }
    return true;
}

bool CRLoader::ReadSystemOutputs(int32_t count) {
    if (!m_in.CheckCount(count, kRecordBytes<rtfile::CSystemOutput>, "system output")) return Fail(-4);
    m_system.m_outputs.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        rtfile::CSystemOutput record;
        if (!ReadRecord(m_in, record)) return Fail(-4);
        CRSystemOutput out;
        out.m_id = record.m_id;
        out.m_kind = record.m_kind;
        out.m_name = std::move(record.m_name);
        out.m_connectionId = record.m_connectionId;
        if (record.m_connectionId > 0) {
            CRExternalConnection& c = out.m_connection;
            c.m_id = record.m_connectionId;
            c.m_systemPortId = record.m_systemOutputId;
            c.m_moduleId = record.m_moduleId;
            c.m_modulePortId = record.m_moduleOutputId;
            out.m_connected = true;
            c.m_module = FindModule(c.m_moduleId);
            c.m_moduleOutput = FindModuleOutput(c.m_module, c.m_modulePortId);
        }
        m_system.m_outputs.push_back(std::move(out));
        m_system.m_outputs.back().m_connection.m_systemOutput = &m_system.m_outputs.back();
    }
    return true;
}

bool CRLoader::ReadModuleConnections(int32_t count) {
    if (!m_in.CheckCount(count, kRecordBytes<rtfile::CModuleConnection>, "module connection"))
        return Fail(-5);
    m_system.m_connections.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        rtfile::CModuleConnection record;
        if (!ReadRecord(m_in, record)) return Fail(-5);
        CRNetworkConnection c;
        c.m_id = record.m_id;
        c.m_sourceModuleId = record.m_sourceModuleId;
        c.m_destModuleId = record.m_destModuleId;
        c.m_sourceOutputId = record.m_sourceOutputId;
        c.m_destInputId = record.m_destInputId;
        c.m_sourceModule = FindModule(c.m_sourceModuleId);
        c.m_sourceOutput = FindModuleOutput(c.m_sourceModule, c.m_sourceOutputId);
        c.m_destModule = FindModule(c.m_destModuleId);
        c.m_destInput = FindModuleInput(c.m_destModule, c.m_destInputId);
        m_system.m_connections.push_back(c);
        CRNetworkConnection& kept = m_system.m_connections.back();
        if (CRNetworkInput* dest = kept.m_destInput) {
            dest->m_sourceConnectionId = kept.m_id;
            dest->m_networkConnection = &kept;
            dest->m_externalConnection = nullptr;
            dest->m_sourceKind = kSourceModuleOutput;
            dest->m_sourceModuleOutput = kept.m_sourceOutput;
            dest->m_sourceSystemInput = nullptr;
            dest->m_source = kept.m_sourceOutput ? &kept.m_sourceOutput->m_value : nullptr;
        }
    }
    return true;
}

void CRLoader::LinkSystemInputs() {
    for (CRSystemInput& in : m_system.m_inputs) {
        for (CRExternalConnection& c : in.m_connections) {
            c.m_systemInput = &in;
            c.m_module = FindModule(c.m_moduleId);
            c.m_moduleInput = FindModuleInput(c.m_module, c.m_modulePortId);
            if (CRNetworkInput* dest = c.m_moduleInput) {
                dest->m_sourceConnectionId = c.m_id;
                dest->m_externalConnection = &c;
                dest->m_networkConnection = nullptr;
                dest->m_sourceKind = kSourceSystemInput;
                dest->m_sourceSystemInput = &in;
                dest->m_sourceModuleOutput = nullptr;
                dest->m_source = &in.m_value;
            }
        }
    }
}

}  // namespace

CRReadResult ReadRuntimeSystem(CRSystem& system, const uint8_t* data, size_t size, int32_t systemId) {
    CRLoader loader(system, data, size);
    return loader.Read(systemId);
}

}  // namespace zor2
