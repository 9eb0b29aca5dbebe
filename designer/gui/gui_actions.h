// CGuiActions: the editing operations the window and the view invoke. Each
// one calls the model operation that makes and records the change; the
// window never changes the model by any other path.
#pragma once

#include <string>

#include "designer/gui/document_seam.h"

namespace zor2::gui {

class CGuiActions {
public:
    CGuiActions(CGuiDocument& doc, IPrompter& prompter) : m_doc(doc), m_prompter(prompter) {}

    CSystem& System() { return m_doc.System(); }
    IPrompter& Prompter() { return m_prompter; }

    // System view.
    /// A module named by `pattern` ("Module %d" or "Network %d") with the count plus one.
    CNetwork* AddModule(const char* pattern, int x, int y);
    CExternalInput* AddSystemInputFromBar();
    CExternalOutput* AddSystemOutputFromBar();
    /// Connect gestures between modules and system ports; false when refused.
    bool ConnectSystemInput(CExternalInput& input, CNetwork& dst, CNetworkInput* in);
    bool ConnectCategory(CExternalInputCategory& category, CNetwork& dst);
    bool ConnectModules(CNetwork& src, CNetworkOutput* out, CNetwork& dst, CNetworkInput* in);
    bool ConnectToSystemOutput(CNetwork& src, CNetworkOutput* out, CExternalOutput& output);
    bool ConnectModuleToOutputsBar(CNetwork& src, CNetworkOutput* out);
    bool DropNewSystemInput(CNetwork& dst);
    void ExecuteModule(CNetwork& module);
    bool DeleteModule(CNetwork& module);

    // Module design view.
    CNetworkModel* DropComponent(CNetwork& module, int typeId, int x, int y);
    bool ConnectComponents(CNetwork& module, CNetworkModel& src, CModelOutput* out, CNetworkModel& dst,
                           CModelInput* in);
    bool ConnectModuleInput(CNetwork& module, CNetworkInput& mi, CNetworkModel& dst, CModelInput* in);
    bool ConnectToModuleOutput(CNetwork& module, CNetworkModel& src, CModelOutput* out, CNetworkOutput* mo);
    bool DeleteComponent(CNetwork& module, CNetworkModel& component);
    bool DeleteSelected(CNetwork& module);
    void ExecuteComponent(CNetworkModel& component);
    int ExposeAllInputs(CNetworkModel& component);
    int ExposeAllInputsReconnect(CNetworkModel& component);
    void MoveGraphics(int dx, int dy);
    /// Moves the selected components (or modules) of the current view by `dx`, `dy`.
    void MoveComponents(CNetwork& module, int dx, int dy);
    void MoveModules(int dx, int dy);
    /// A graphic holding "Text here" that fills the rectangle.
    CGraphic* AddGraphic(CNetwork& module, const CRect& rect);

    // Properties edited by the generic dialogs.
    void RenameComponent(CNetworkModel& c, const std::string& name, const std::string& description);
    void SetProjectDescription(const std::string& description);
    void RenameModule(CNetwork& m, const std::string& name, const std::string& description);
    void RenameModuleInput(CNetworkInput& p, const std::string& name, const std::string& description);
    void RenameModuleOutput(CNetworkOutput& p, const std::string& name, const std::string& description);
    void RenameSystemInput(CExternalInput& p, const std::string& name, const std::string& description);
    void RenameSystemOutput(CExternalOutput& p, const std::string& name, const std::string& description);
    void RenameComponentInput(CModelInput& p, const std::string& name);
    void RenameComponentOutput(CModelOutput& p, const std::string& name);

private:
    void Changed(const std::string& line) { m_doc.RecordChange(line); }

    CGuiDocument& m_doc;
    IPrompter& m_prompter;
};

}  // namespace zor2::gui
