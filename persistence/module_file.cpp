// Module export and import: the module record alone, read into a module that
// joins the system only once the whole record has been read.
#include "persistence/module_file.h"

#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

std::vector<uint8_t> ExportModuleBytes(CNetwork& module) {
    CArchive ar;
    SerializeModule(ar, module);
    return ar.TakeBytes();
}

CFileResult ExportModuleFile(CNetwork& module, const std::string& path) {
    return WriteFileAtomically(path, ExportModuleBytes(module));
}

CFileResult ImportModuleBytes(CSystem& system, const uint8_t* data, size_t size, CNetwork** imported) {
    if (imported) *imported = nullptr;
    auto module = std::make_unique<CNetwork>();
    module->m_owner = &system;
    CArchive ar(data, size);
    SerializeModule(ar, *module);
    if (ar.Failed()) return CFileResult::Failure(ar.Describe(), ar.ErrorOffset());
    // Nothing outside the module travelled with it.
    for (CNetworkInput* in : module->m_inputs) {
        in->ClearSource();
        in->m_name = "open";
    }
    if (system.m_modules.HasId(module->m_id) || module->m_id < 1) {
        const int32_t id = DrawFreeId(system.Random(), system.m_modules);
        if (id == 0) return CFileResult::Failure("no free module id left (31999 modules in use)");
        module->m_id = id;
    }
    CNetwork* p = system.m_modules.Append(std::move(module));
    system.m_modulesByCreation.Append(p);
    system.ComputeLevels();
    system.RecordChange("Imported system module: " + p->m_name);
    if (imported) *imported = p;
    return {};
}

CFileResult ImportModuleFile(CSystem& system, const std::string& path, CNetwork** imported) {
    std::vector<uint8_t> bytes;
    CFileResult r = ReadWholeFile(path, bytes);
    if (!r) return r;
    r = ImportModuleBytes(system, bytes.data(), bytes.size(), imported);
    if (!r) r.message = "Cannot import " + path + ": " + r.message;
    return r;
}

}  // namespace zor2
