// CGuiActions: the view's gestures on the document — each selects its objects in
// the editor state and runs the document's command, drags and the Shift
// rectangle included.
#pragma once

#include <string>

#include "designer/commands_view.h"
#include "designer/document.h"

namespace zor2::gui {

class CGuiActions {
  public:
    explicit CGuiActions(Czor2Doc& doc) : m_doc(doc) {}

    Czor2Doc& Doc() { return m_doc; }
    CSystem& System() { return m_doc.System(); }
    CEditorState& Editor() { return m_doc.Editor(); }
    IPrompter& Prompter() { return m_doc.Prompter(); }

    // System view.
    bool AddModuleAt(int x, int y);
    /// A double click on the system inputs bar: "Input: %d" in the default category.
    bool AddSystemInputFromBar();
    /// A double click on the system outputs bar: "Output: %d" in the default category.
    bool AddSystemOutputFromBar();
    bool ConnectSystemInput(CExternalInput& input, CNetwork& dst, CNetworkInput* in);
    bool ConnectCategory(CExternalInputCategory& category, CNetwork& dst);
    bool ConnectModules(CNetwork& src, CNetworkOutput* out, CNetwork& dst, CNetworkInput* in);
    bool ConnectToSystemOutput(CNetwork& src, CNetworkOutput* out, CExternalOutput& output);
    bool ConnectModuleToOutputsBar(CNetwork& src);
    /// The system inputs bar dragged onto a module: a new system input feeding it.
    bool DropNewSystemInput(CNetwork& dst);
    bool DeleteModule(CNetwork& module);

    // Module design view.
    bool DropComponent(int typeId, int x, int y);
    bool ConnectComponents(CNetworkModel& src, CModelOutput* out, CNetworkModel& dst, CModelInput* in);
    bool ConnectModuleInput(CNetworkInput& mi, CNetworkModel& dst, CModelInput* in);
    bool ConnectToModuleOutput(CNetworkModel& src, CModelOutput* out, CNetworkOutput* mo);
    bool DeleteSelected();
    bool ExposeAllInputs(CNetworkModel& component);
    /// A drag in progress moves the selected objects of `kind`, or a graphic's
    /// corner; the finished drag is recorded once, and not at all when nothing moved.
    void Drag(EDragKind kind, int dx, int dy);
    void DragGraphicCorner(CGraphic& graphic, int corner, int dx, int dy);
    bool FinishDrag();
    /// A Shift selection rectangle: a graphic holding "Text here" that fills it.
    bool AddGraphicRect(const CRect& rect);
    /// Whether a left press on the component operates it (a user control while the simulation runs).
    bool OperatesControl(const CNetworkModel& component);
    /// A press of a running user control at a model point, and the button-up after it.
    bool PressControl(CNetworkModel& component, int x, int y);
    bool ReleaseControl();
    /// A connection from a sim action dropped on a graphic or a value window.
    bool TargetGraphic(CNetworkModel& action, CGraphic& graphic);
    bool TargetValueWindow(CNetworkModel& action, CValueWindow& window);

    /// Tells why and returns true while a neural network learns (the gestures
    /// then change nothing).
    bool Refused();

  private:
    Czor2Doc& m_doc;
    bool m_dragRefused = false;
};

}  // namespace zor2::gui
