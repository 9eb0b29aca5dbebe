// The three connection classes: inside a module (CModelConnection), between
// modules (CNetworkConnection) and to system ports (CExternalConnection).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/object.h"

namespace zor2 {

class CNetworkModel;
class CModelInput;
class CModelOutput;
class CNetwork;
class CNetworkInput;
class CNetworkOutput;
class CExternalInput;
class CExternalOutput;

/// Source kinds of a component input.
inline constexpr int32_t kSourceNone = 0;
inline constexpr int32_t kSourceModuleOutput = 1;  // module input fed by another module
inline constexpr int32_t kSourceSystemInput = 2;   // module input fed by a system input
inline constexpr int32_t kSourceComponent = 3;     // component input fed by a component output
inline constexpr int32_t kSourceModuleInput =
    4;  // component input fed by a module input; module output fed by a component
inline constexpr int32_t kSourceSelf = 5;  // the component fills the input itself

/// Component output -> component input (kind 3); module input -> component
/// input, or component output -> module output (kind 4).
class CModelConnection : public CObject {
  public:
    CModelConnection() { NoteWiringChange(); }
    ~CModelConnection() override { NoteWiringChange(); }
    CModelConnection(const CModelConnection&) = delete;
    CModelConnection& operator=(const CModelConnection&) = delete;

    int32_t m_srcComponentId = 0;
    int32_t m_dstComponentId = 0;
    int32_t m_srcOutputId = 0;
    int32_t m_dstInputId = 0;
    int32_t m_modulePortId = 0;  // the module input it leaves or the module output it enters
    CNetworkModel* m_srcComponent = nullptr;
    CNetworkModel* m_dstComponent = nullptr;
    CNetworkInput* m_moduleInput = nullptr;    // module port when held by a module input
    CNetworkOutput* m_moduleOutput = nullptr;  // module port when entering a module output
    CModelOutput* m_srcOutput = nullptr;
    CModelInput* m_dstInput = nullptr;
    std::vector<CPoint> m_path;  // editor
    int32_t m_kind = kSourceComponent;
};

/// Module output of one module -> module input of another.
class CBaseConnection : public CObject {
  public:
    int32_t m_srcModuleId = 0;
    int32_t m_dstModuleId = 0;
    CNetwork* m_srcModule = nullptr;
    CNetwork* m_dstModule = nullptr;
    CNetworkOutput* m_srcOutput = nullptr;
    int32_t m_srcOutputId = 0;
    CNetworkInput* m_dstInput = nullptr;
    int32_t m_dstInputId = 0;
    std::vector<CPoint> m_path;  // editor
};

class CNetworkConnection : public CBaseConnection {};

/// System input -> module input, or module output -> system output.
class CExternalConnection : public CObject {
  public:
    int32_t m_systemPortId = 0;
    CExternalInput* m_systemInput = nullptr;    // when held by a system input
    CExternalOutput* m_systemOutput = nullptr;  // when held by a system output
    int32_t m_moduleId = 0;
    CNetwork* m_module = nullptr;
    int32_t m_modulePortId = 0;
    CNetworkInput* m_moduleInput = nullptr;
    CNetworkOutput* m_moduleOutput = nullptr;
    std::vector<CPoint> m_path;  // editor
};

}  // namespace zor2
