// Editing helpers of the example writer (see example_builder.h).
#include "examples/example_builder.h"

#include <cstdio>
#include <fstream>

namespace zor2::examples {
namespace {

bool g_ok = true;
std::string g_folder;
std::string g_relative;

CModelInput* FreeTemplateInput(CNetworkModel* dst) {
    for (CModelInput* in : dst->m_inputs)
        if (!in->HasSource()) return in;
    return nullptr;
}

CModelInput* TargetInput(CNetworkModel* dst, int32_t inId) {
    if (inId == 0) return FreeTemplateInput(dst);
    if (inId < 0) return nullptr;  // the component grows a new input
    CModelInput* in = dst->FindInput(inId);
    Check(in != nullptr, "finding an input by id");
    return in;
}

}  // namespace

bool AllSucceeded() {
    return g_ok;
}

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
    WireTo(m, src, 0, dst, 0);
}

void WireTo(CNetwork& m, CNetworkModel* src, int32_t outId, CNetworkModel* dst, int32_t inId) {
    if (!src || !dst) return;
    CModelOutput* out = outId == 0 ? src->FirstOutput() : src->FindOutput(outId);
    Check(out != nullptr, "finding an output by id");
    const int32_t refused = m.RequestConnect(*src, out, *dst, TargetInput(dst, inId));
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

CNetworkInput* Bring(CSystem& s, CExternalInput* p, CNetwork& m) {
    if (!p) return nullptr;
    CExternalConnection* c = s.ConnectSystemInput(*p, m);
    Check(c != nullptr && c->m_moduleInput != nullptr, "connecting a system input");
    return c ? c->m_moduleInput : nullptr;
}

void FeedTo(CNetwork& m, CNetworkInput* mi, CNetworkModel* dst, int32_t inId) {
    if (!mi || !dst) return;
    Check(m.RequestConnectModuleInput(*mi, *dst, inId == 0 ? nullptr : TargetInput(dst, inId)) == 0,
          "feeding a component");
}

void FeedFromInput(CSystem& s, CExternalInput* p, CNetwork& m, CNetworkModel* dst) {
    FeedTo(m, Bring(s, p, m), dst, 0);
}

CNetworkOutput* PublishOutput(CSystem& s, CNetwork& m, CNetworkModel* src, int32_t outId, const char* name) {
    if (!src) return nullptr;
    CModelOutput* out = outId == 0 ? src->FirstOutput() : src->FindOutput(outId);
    CNetworkOutput* mo = m.CreateOutput(name);
    Check(out && mo && m.RequestConnectToModuleOutput(*src, out, *mo) == 0, "exposing a result");
    CExternalOutput* q = s.CreateSystemOutput(name, 1);
    Check(q && mo && s.ConnectSystemOutput(m, *q, mo) != nullptr, "connecting a system output");
    return mo;
}

CNetworkOutput* Publish(CSystem& s, CNetwork& m, CNetworkModel* src, const char* name) {
    return PublishOutput(s, m, src, 0, name);
}

void SetDataFolder(const std::string& folder, const std::string& relativeName) {
    g_folder = folder;
    g_relative = relativeName;
}

std::string WriteDataFile(const std::string& name, const std::string& text) {
    std::ofstream file(g_folder + "/" + name, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    Check(static_cast<bool>(file), "writing a data file");
    return g_relative + "/" + name;
}

}  // namespace zor2::examples
