// Port behaviour: source pulls, array feeds, clearing sources, value texts.
#include "engine/ports.h"

#include "engine/component.h"
#include "engine/network.h"

namespace zor2 {

const char* DataTypeLabel(int32_t dataType) {
    switch (dataType) {
        case kDataDouble:
            return "Double";
        case kDataArray:
            return "Array";
        case kDataInteger:
            return "Integer";
        case kDataOnOff:
            return "On/Off";
        case kDataNeuralNode:
            return "Neural Net Node";
        case kDataYesNo:
            return "Yes/No";
        default:
            return "Unkown data type";
    }
}

void CModelInput::ClearSource() {
    NoteWiringChange();
    m_sourceConnectionId = 0;
    m_sourceConnection = nullptr;
    m_sourceKind = kSourceNone;
    if (!m_template) m_name = "open";
}

CModelOutput* CModelInput::SourceOutput() const {
    return (m_sourceConnection && m_sourceKind == kSourceComponent) ? m_sourceConnection->m_srcOutput
                                                                    : nullptr;
}

CNetworkInput* CModelInput::SourceModuleInput() const {
    return (m_sourceConnection && m_sourceKind == kSourceModuleInput) ? m_sourceConnection->m_moduleInput
                                                                      : nullptr;
}

bool CNetworkInput::HasArraySource() const {
    if (m_sourceKind == kSourceSystemInput && m_sourceExtConnection) {
        const CExternalInput* p = m_sourceExtConnection->m_systemInput;
        return p && p->m_kind == 2;
    }
    if (m_sourceKind == kSourceModuleOutput && m_sourceNetConnection) {
        const CNetworkOutput* o = m_sourceNetConnection->m_srcOutput;
        return o && o->CarriesArray();
    }
    return false;
}

bool CNetworkInput::IsArrayFeed() const {
    return m_arrayCarrier || HasArraySource();
}

void CNetworkInput::Pull() {
    if (m_sourceKind == kSourceModuleOutput && m_sourceNetConnection) {
        const CNetworkOutput* o = m_sourceNetConnection->m_srcOutput;
        if (o && !o->CarriesArray()) m_value = o->m_value;
    } else if (m_sourceKind == kSourceSystemInput && m_sourceExtConnection) {
        if (const CExternalInput* p = m_sourceExtConnection->m_systemInput) m_value = p->m_value;
    }
    m_text.SetNumber("%.3f", m_value);
}

void CNetworkInput::ClearSource() {
    NoteWiringChange();
    m_sourceConnectionId = 0;
    m_sourceNetConnection = nullptr;
    m_sourceExtConnection = nullptr;
    m_sourceKind = kSourceNone;
}

CModelOutput* CNetworkOutput::SourceOutput() const {
    return m_sourceConnection ? m_sourceConnection->m_srcOutput : nullptr;
}

void CNetworkOutput::ClearSource() {
    m_sourceConnectionId = 0;
    m_sourceConnection = nullptr;
    m_sourceKind = kSourceNone;
}

void CExternalInput::SetValue(double v) {
    m_value = v;
    static const char* const kFormats[] = {"%.0f", "%.1f", "%.2f", "%.3f", "%.4f"};
    if (m_decimals >= 0 && m_decimals <= 4) m_text.SetNumber(kFormats[m_decimals], v);
}

}  // namespace zor2
