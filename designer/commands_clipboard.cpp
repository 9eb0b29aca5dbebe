// Copy and paste of components and modules through project-file records: a copy
// cuts a scratch copy of the module down to the selection, a paste reads it into
// a scratch module, gives it fresh ids and moves its components over.
#include "designer/commands_clipboard.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "algo/platform.h"
#include "designer/document.h"
#include "engine/system.h"
#include "persistence/archive.h"
#include "persistence/module_file.h"
#include "persistence/project_file.h"

namespace zor2 {

namespace {

constexpr int32_t kTag = 0x43325A52;  // "RZ2C" read as a little-endian integer
constexpr int32_t kKindComponents = 1;
constexpr int32_t kKindModules = 2;
constexpr size_t kLinkBytes = 4 * 4;

/// A module connection between two copied modules, by ids.
struct CLink {
    int32_t srcModule, srcOutput, dstModule, dstInput;
};

/// The clipboard read back: scratch modules owned by a scratch system.
struct CClip {
    int32_t kind = 0;
    CSystem scratch;
    std::vector<CNetwork*> modules;
    std::vector<CLink> links;
};

std::vector<uint8_t> Write(int32_t kind, const std::vector<CNetwork*>& modules,
                           const std::vector<CLink>& links) {
    CArchive ar;
    int32_t tag = kTag, n = static_cast<int32_t>(modules.size()), l = static_cast<int32_t>(links.size());
    ar.I32(tag);
    ar.I32(kind);
    ar.I32(n);
    for (CNetwork* m : modules) SerializeModule(ar, *m);
    ar.I32(l);
    for (CLink k : links) {
        ar.I32(k.srcModule);
        ar.I32(k.srcOutput);
        ar.I32(k.dstModule);
        ar.I32(k.dstInput);
    }
    return ar.TakeBytes();
}

/// Reads everything first, so that bytes that do not read cleanly add nothing.
bool Read(const CProjectClipboard& clipboard, CClip& clip) {
    CArchive ar(clipboard.bytes.data(), clipboard.bytes.size());
    int32_t tag = 0, count = 0, links = 0;
    ar.I32(tag);
    ar.I32(clip.kind);
    ar.I32(count);
    if (ar.Failed() || tag != kTag || (clip.kind != kKindComponents && clip.kind != kKindModules) ||
        count < 1 || (clip.kind == kKindComponents && count != 1) || !ar.CheckCount(count, 1, "module"))
        return false;
    for (int32_t i = 0; i < count && !ar.Failed(); ++i) {
        CNetwork* m = clip.scratch.m_modules.Append(std::make_unique<CNetwork>());
        m->m_owner = &clip.scratch;
        SerializeModule(ar, *m);
        clip.modules.push_back(m);
    }
    ar.I32(links);
    if (ar.Failed() || !ar.CheckCount(links, kLinkBytes, "module connection")) return false;
    for (int32_t i = 0; i < links; ++i) {
        CLink k{};
        ar.I32(k.srcModule);
        ar.I32(k.srcOutput);
        ar.I32(k.dstModule);
        ar.I32(k.dstInput);
        clip.links.push_back(k);
    }
    return !ar.Failed() && ar.Remaining() == 0;
}

/// A copy of `module` in `scratch`, read from its own record.
CNetwork* ScratchModule(CSystem& scratch, CNetwork& module) {
    const std::vector<uint8_t> bytes = ExportModuleBytes(module);
    CNetwork* copy = nullptr;
    return ImportModuleBytes(scratch, bytes.data(), bytes.size(), &copy) ? copy : nullptr;
}

/// An id in 1..kMaxDrawnId that `taken` does not hold (then added), drawn as the
/// editor draws ids; 0 when every id is taken.
int32_t FreshId(IRandomSource& random, std::unordered_set<int32_t>& taken) {
    if (taken.size() >= static_cast<size_t>(kMaxDrawnId)) return 0;
    for (int tries = 0; tries < 1000; ++tries) {
        const int32_t id = IdFromDraw(random.Next15());
        if (taken.insert(id).second) return id;
    }
    for (int32_t id = 1; id <= kMaxDrawnId; ++id)
        if (taken.insert(id).second) return id;
    return 0;
}

ECmd CopyComponents(Czor2Doc& doc, CNetwork& module, CProjectClipboard& clipboard) {
    std::vector<CNetworkModel*> selected = doc.Editor().SelectedComponents(doc.System());
    if (selected.empty()) return ECmd::Unavailable;
    std::unordered_set<int32_t> keep;
    for (const CNetworkModel* c : selected) keep.insert(c->m_id);
    CSystem scratch;
    CNetwork* copy = ScratchModule(scratch, module);
    if (!copy) return ECmd::Refused;
    // What is not copied goes, and with it every wire that leaves the copied group.
    for (CNetworkModel* c : copy->m_components.Snapshot())
        if (!keep.count(c->m_id)) copy->DeleteComponent(c);
    for (CNetworkInput* in : copy->m_inputs.Snapshot()) scratch.DeleteModuleInput(in);
    for (CNetworkOutput* out : copy->m_outputs.Snapshot()) scratch.DeleteModuleOutput(out);
    clipboard.bytes = Write(kKindComponents, {copy}, {});
    return ECmd::Done;
}

ECmd CopyModules(Czor2Doc& doc, CProjectClipboard& clipboard) {
    CSystem& system = doc.System();
    std::vector<CNetwork*> modules = doc.Editor().SelectedModules(system);
    if (modules.empty()) return ECmd::Unavailable;
    std::unordered_set<int32_t> ids;
    for (const CNetwork* m : modules) ids.insert(m->m_id);
    std::vector<CLink> links;
    for (const CNetworkConnection* c : system.m_moduleConnections)
        if (ids.count(c->m_srcModuleId) && ids.count(c->m_dstModuleId))
            links.push_back({c->m_srcModuleId, c->m_srcOutputId, c->m_dstModuleId, c->m_dstInputId});
    clipboard.bytes = Write(kKindModules, modules, links);
    return ECmd::Done;
}

ECmd PasteComponents(Czor2Doc& doc, CNetwork& target, CClip& clip, int32_t x, int32_t y) {
    CNetwork& source = *clip.modules.front();
    if (source.m_components.Empty()) return ECmd::Unavailable;
    std::unordered_set<int32_t> taken;
    for (const CNetworkModel* c : target.m_components) taken.insert(c->m_id);
    for (const CNetworkModel* c : source.m_components) taken.insert(c->m_id);
    std::unordered_map<int32_t, int32_t> fresh;
    for (const CNetworkModel* c : source.m_components) {
        const int32_t id = FreshId(doc.System().Random(), taken);
        if (id == 0) {
            doc.Prompter().Beep();
            return ECmd::Refused;
        }
        fresh.emplace(c->m_id, id);
    }
    int32_t left = INT32_MAX, top = INT32_MAX;
    for (const CNetworkModel* c : source.m_components) {
        left = std::min(left, c->m_position.x);
        top = std::min(top, c->m_position.y);
    }
    for (CNetworkModel* c : source.m_components) {
        c->m_id = fresh.at(c->m_id);
        c->m_position = {c->m_position.x - left + x, c->m_position.y - top + y};
        for (CModelOutput* out : c->m_outputs) {
            for (CModelConnection* k : out->m_connections) {
                k->m_srcComponentId = fresh.at(k->m_srcComponentId);
                if (auto it = fresh.find(k->m_dstComponentId); it != fresh.end())
                    k->m_dstComponentId = it->second;
            }
        }
    }
    // Read once more from its record, so that every component takes its new id as a load does.
    CSystem again;
    CNetwork* renumbered = ScratchModule(again, source);
    if (!renumbered) return ECmd::Refused;
    std::vector<int32_t> pasted;
    for (CNetworkModel* c : renumbered->m_components.Snapshot()) {
        std::unique_ptr<CNetworkModel> owned = renumbered->m_components.Detach(c);
        owned->m_owner = &target;
        pasted.push_back(owned->m_id);
        target.m_components.Append(std::move(owned));
    }
    target.RebuildReferences();
    target.ComputeStages();
    doc.Editor().SelectComponents(pasted);
    doc.RecordChange(Fmt("Pasted %d components into %s system module", static_cast<int>(pasted.size()),
                         target.m_name.c_str()));
    return ECmd::Done;
}

ECmd PasteModules(Czor2Doc& doc, CClip& clip, int32_t x, int32_t y) {
    CSystem& system = doc.System();
    int32_t left = INT32_MAX, top = INT32_MAX;
    for (const CNetwork* m : clip.modules) {
        left = std::min(left, m->m_position.x);
        top = std::min(top, m->m_position.y);
    }
    std::unordered_map<int32_t, CNetwork*> pasted;
    {
        CChangeBatch batch(doc);
        for (CNetwork* m : clip.modules) {
            const int32_t oldId = m->m_id;
            m->m_position = {m->m_position.x - left + x, m->m_position.y - top + y};
            const std::vector<uint8_t> bytes = ExportModuleBytes(*m);
            CNetwork* added = nullptr;
            if (!ImportModuleBytes(system, bytes.data(), bytes.size(), &added) || !added) break;
            pasted.emplace(oldId, added);
        }
        if (pasted.size() != clip.modules.size()) {
            for (auto& [id, m] : pasted) system.DeleteModule(m);
            doc.Prompter().Beep();
            return ECmd::Refused;
        }
        for (const CLink& k : clip.links) {
            CNetwork* src = pasted.count(k.srcModule) ? pasted.at(k.srcModule) : nullptr;
            CNetwork* dst = pasted.count(k.dstModule) ? pasted.at(k.dstModule) : nullptr;
            if (!src || !dst) continue;
            CNetworkOutput* out = src->m_outputs.Find(k.srcOutput);
            CNetworkInput* in = dst->m_inputs.Find(k.dstInput);
            if (out && in) system.ConnectModules(*src, *dst, out, in);
        }
        system.ComputeLevels();
    }
    std::vector<int32_t> ids;
    for (CNetwork* m : clip.modules)
        for (auto& [old, added] : pasted)
            if (old == m->m_id) ids.push_back(added->m_id);
    doc.Editor().SelectModules(ids);
    doc.RecordChange(Fmt("Pasted %d system modules", static_cast<int>(ids.size())));
    return ECmd::Done;
}

}  // namespace

ECmd CopySelection(Czor2Doc& doc, CProjectClipboard& clipboard) {
    if (CNetwork* module = doc.Editor().DesignedModule(doc.System()))
        return CopyComponents(doc, *module, clipboard);
    return CopyModules(doc, clipboard);
}

ECmd CutSelection(Czor2Doc& doc, CProjectClipboard& clipboard) {
    const ECmd copied = CopySelection(doc, clipboard);
    if (copied != ECmd::Done) return copied;
    CSystem& system = doc.System();
    CEditorState& editor = doc.Editor();
    if (CNetwork* module = editor.DesignedModule(system)) {
        const std::vector<CNetworkModel*> components = editor.SelectedComponents(system);
        for (CNetworkModel* c : components) module->DeleteComponent(c);
        module->ComputeStages();
        editor.m_components.clear();
        editor.Prune(system);
        doc.RecordChange(Fmt("Cut %d components from %s system module", static_cast<int>(components.size()),
                             module->m_name.c_str()));
        return ECmd::Done;
    }
    const std::vector<CNetwork*> modules = editor.SelectedModules(system);
    for (CNetwork* m : modules) system.DeleteModule(m);
    system.ComputeLevels();
    editor.m_modules.clear();
    editor.Prune(system);
    doc.RecordChange(Fmt("Cut %d system modules", static_cast<int>(modules.size())));
    return ECmd::Done;
}

ECmd PasteClipboard(Czor2Doc& doc, const CProjectClipboard& clipboard, int32_t x, int32_t y) {
    if (clipboard.Empty()) return ECmd::Unavailable;
    CClip clip;
    if (!Read(clipboard, clip)) {
        doc.Prompter().Tell("The clipboard does not hold components or modules that can be pasted.");
        return ECmd::Refused;
    }
    CNetwork* designed = doc.Editor().DesignedModule(doc.System());
    if (clip.kind == kKindComponents)
        return designed ? PasteComponents(doc, *designed, clip, x, y) : ECmd::Unavailable;
    return designed ? ECmd::Unavailable : PasteModules(doc, clip, x, y);
}

ECmd DuplicateSelection(Czor2Doc& doc) {
    CProjectClipboard clipboard;
    const ECmd copied = CopySelection(doc, clipboard);
    if (copied != ECmd::Done) return copied;
    CSystem& system = doc.System();
    int32_t left = INT32_MAX, top = INT32_MAX;
    if (doc.Editor().DesignedModule(system)) {
        for (const CNetworkModel* c : doc.Editor().SelectedComponents(system)) {
            left = std::min(left, c->m_position.x);
            top = std::min(top, c->m_position.y);
        }
    } else {
        for (const CNetwork* m : doc.Editor().SelectedModules(system)) {
            left = std::min(left, m->m_position.x);
            top = std::min(top, m->m_position.y);
        }
    }
    return PasteClipboard(doc, clipboard, left + kDuplicateOffset, top + kDuplicateOffset);
}

}  // namespace zor2
