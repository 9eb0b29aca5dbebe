// Helpers that build systems through the engine's own operations.
#include "support/system_builder.h"

#include <gtest/gtest.h>

namespace zor2::test {

CNetworkModel* Drop(CNetwork& module, int32_t typeId, int32_t x, int32_t y) {
    CNetworkModel* c = module.DropComponent(typeId, x, y);
    EXPECT_NE(c, nullptr) << "type " << typeId;
    return c;
}

CNetworkModel* DropConstant(CNetwork& module, double value) {
    CNetworkModel* c = Drop(module, 41);
    if (c) c->m_value = value;
    return c;
}

void Wire(CNetwork& module, CNetworkModel& src, CNetworkModel& dst) {
    EXPECT_EQ(module.RequestConnect(src, src.FirstOutput(), dst, nullptr), 0);
}

CNetworkOutput* ExposeOutput(CNetwork& module, CNetworkModel& src, const std::string& name) {
    CNetworkOutput* mo = module.CreateOutput(name);
    EXPECT_EQ(module.RequestConnectToModuleOutput(src, src.FirstOutput(), *mo), 0);
    return mo;
}

}  // namespace zor2::test
