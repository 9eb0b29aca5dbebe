// Runtime file writer (fixed byte layout, fixed write order) and the manifest.
#include "persistence/runtime_export.h"

#include <cerrno>
#include <cstdio>
#include <string_view>

#include "algo/bytes.h"
#include "algo/runtime_records.h"
#include "engine/system.h"
#include "persistence/project_file.h"

namespace zor2 {

namespace {

int32_t Count(size_t n) {
    return static_cast<int32_t>(n);
}

void WriteModule(CByteWriter& w, const CNetwork& m) {
    WriteRecord(w, rtfile::CModule{m.m_id, Utf8ToUtf16(m.m_name), m.m_level, Count(m.m_inputs.Size()),
                                   Count(m.m_outputs.Size()), Count(m.m_components.Size())});
    for (const CNetworkModel* c : m.m_components) {
        WriteRecord(w, rtfile::CComponent{c->m_id, c->m_typeId});
        c->ExportRuntime(w);
    }
    for (const CNetworkInput* in : m.m_inputs) {
        WriteRecord(w, rtfile::CModuleInput{in->m_id, Utf8ToUtf16(in->m_name), in->m_sourceConnectionId,
                                            in->m_sourceKind, Count(in->m_connections.Size())});
        for (const CModelConnection* c : in->m_connections)
            WriteRecord(w, RuntimeConnectionRecord<rtfile::CInputConnection>(*c));
    }
    for (const CNetworkOutput* out : m.m_outputs) {
        WriteRecord(w, rtfile::CModuleOutput{out->m_id, Utf8ToUtf16(out->m_name), out->m_sourceKind,
                                             out->m_sourceConnectionId});
    }
}

void WriteSystemInput(CByteWriter& w, const CExternalInput& in) {
    WriteRecord(
        w, rtfile::CSystemInput{in.m_id, in.m_kind, Utf8ToUtf16(in.m_name), Count(in.m_connections.Size())});
    for (const CExternalConnection* c : in.m_connections)
        WriteRecord(
            w, rtfile::CSystemInputConnection{c->m_id, c->m_systemPortId, c->m_moduleId, c->m_modulePortId});
}

void WriteSystemOutput(CByteWriter& w, const CExternalOutput& out) {
    const CNetworkOutput* source = out.SourceOutput();
    rtfile::CSystemOutput r;
    r.m_id = out.m_id;
    r.m_kind = source && source->CarriesArray() ? 2 : out.m_kind;
    r.m_name = Utf8ToUtf16(out.m_name);
    // The connection id of a connected output is its own id; the reader takes
    // the three fields that follow only when it is above 0, so both agree.
    if (out.m_connection) {
        r.m_connectionId = out.m_id;
        r.m_systemOutputId = out.m_connection->m_systemPortId;
        r.m_moduleId = out.m_connection->m_moduleId;
        r.m_moduleOutputId = out.m_connection->m_modulePortId;
    }
    WriteRecord(w, r);
}

/// Writes `bytes` to `path` as a project is saved (through a temporary file
/// and a rename, following symbolic links); 0 or the system's error number.
int WriteExportFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const CFileResult r = WriteFileAtomically(path, bytes);
    return r ? 0 : (r.error ? r.error : EIO);
}

std::string_view BaseName(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string StemOf(const std::string& path) {
    std::string_view name = BaseName(path);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string DesignerOnlyNote(const CNetworkModel& c) {
    const char* type = CatalogueName(c.m_typeId);
    char line[1024];
    std::snprintf(
        line, sizeof line,
        "Runtime export: \"%s\" (%s) in module \"%s\" runs only in the designer; the runtime library cannot load this file while it holds such a component.",
        c.m_name.c_str(), type ? type : "?", c.m_owner ? c.m_owner->m_name.c_str() : "");
    return line;
}

}  // namespace

std::vector<uint8_t> ExportRuntimeBytes(CSystem& system) {
    system.ComputeLevels();
    CByteWriter w;
    WriteRecord(
        w, rtfile::CHeader{system.m_systemId, Count(system.m_modules.Size()), Count(system.m_inputs.Size()),
                           Count(system.m_outputs.Size()), Count(system.m_moduleConnections.Size())});
    for (const CNetwork* m : system.m_modules) WriteModule(w, *m);
    for (const CExternalInput* in : system.m_inputs) WriteSystemInput(w, *in);
    for (const CExternalOutput* out : system.m_outputs) WriteSystemOutput(w, *out);
    for (const CNetworkConnection* c : system.m_moduleConnections)
        WriteRecord(w, rtfile::CModuleConnection{c->m_id, c->m_srcModuleId, c->m_dstModuleId,
                                                 c->m_srcOutputId, c->m_dstInputId});
    return std::move(w.Bytes());
}

std::string RuntimeExportRefusal(const CSystem& system) {
    for (const CNetwork* m : system.m_modules)
        for (const CNetworkModel* c : m->m_components)
            if (std::string why = c->RuntimeExportRefusal(); !why.empty()) return why;
    return {};
}

int ExportRuntimeFile(CSystem& system, const std::string& path) {
    if (!RuntimeExportRefusal(system).empty()) return EINVAL;
    const int err = WriteExportFile(path, ExportRuntimeBytes(system));
    if (err == 0) {
        // Settings the runtime file has no field for (a Timer's delay, a Delay's factor),
        // and components the runtime library has no class for, which keep it from loading the file.
        for (const CNetwork* m : system.m_modules) {
            for (const CNetworkModel* c : m->m_components) {
                if (std::string note = c->RuntimeExportNote(); !note.empty()) system.BuildFeedback(note);
                if (TypeTraits(c->m_typeId).designerOnly) system.BuildFeedback(DesignerOnlyNote(*c));
            }
        }
    }
    return err;
}

std::string ManifestFileName(const std::string& runtimePath) {
    return "ZOR2_RT_MANIFEST_" + StemOf(runtimePath) + ".txt";
}

std::u16string ManifestText(const CSystem& system, const std::string& runtimePath) {
    const std::string separator = std::string(67, '_') + "\n";
    const std::string runtimeName = StemOf(runtimePath);
    std::string t;
    t += "Interface manifest file:\t[" + ManifestFileName(runtimePath) + "]\n\n";
    t += "This is the interface manifest file for your exported runtime file (" + runtimeName +
         ".z2r) for the (" + system.m_name + ".zr2) project.\n\n";
    t += separator;
    t += "This file provides detail about your project, including project name, project description, \n";
    t += "a listing of all system inputs and all system outputs, with the names and descriptions \n";
    t += "you provided, along with the unique identifier id's that you will use to access, modify \n";
    t += "and update in your host application using the ZOR2 Runtime API.\n";
    t += separator;
    t += "Exported Runtime file:\t[" + runtimeName + ".z2r]\n\n";
    t += "Original Project file:\t[" + system.m_name + ".zr2]\n\n";
    t += "Project Description:\t" +
         (system.m_description.empty()
              ? std::string("No Project Description (go to Project Info in Home Tab to add description)")
              : system.m_description) +
         "\n\n";
    t += separator;
    t += "Number of System Inputs:\t" + std::to_string(system.m_inputs.Size()) + "\n";
    t += "Name\tID\tDescription\n";
    for (const CExternalInput* in : system.m_inputs) {
        t += in->m_name + "\t" + std::to_string(in->m_id) + "\t" +
             (in->m_description.empty() ? std::string("No Desc Provided") : in->m_description) + "\n";
    }
    t += "\n";
    t += separator;
    t += "Number of System Outputs:\t" + std::to_string(system.m_outputs.Size()) + "\n";
    t += "Name\tID\tDescription\n";
    for (const CExternalOutput* out : system.m_outputs) {
        const CNetworkOutput* source = out->SourceOutput();
        const std::string arrayText = source && source->CarriesArray()
                                          ? "Array (" + std::to_string(source->m_arrayCount) + " elements)"
                                          : std::string("non-array");
        t += out->m_name + "\t" + std::to_string(out->m_id) + "\t" + arrayText + "\t" +
             (out->m_description.empty() ? std::string("No Desc Provided") : out->m_description) + "\n";
    }
    return Utf8ToUtf16(t);
}

int WriteManifest(const CSystem& system, const std::string& runtimePath) {
    const std::u16string text = ManifestText(system, runtimePath);
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    bytes.reserve(2 + text.size() * 4);
    auto unit = [&](char16_t u) {
        bytes.push_back(static_cast<uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<uint8_t>(u >> 8));
    };
    for (char16_t u : text) {
        if (u == u'\n') unit(u'\r');
        unit(u);
    }
    return WriteExportFile(FolderOf(runtimePath) + ManifestFileName(runtimePath), bytes);
}

}  // namespace zor2
