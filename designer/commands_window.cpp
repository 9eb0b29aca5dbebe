// The project file flows and the object dialogs, asked through the host.
#include "designer/commands_window.h"

#include <filesystem>

#include "designer/commands_behaviors.h"
#include "designer/commands_charts.h"
#include "designer/commands_component.h"
#include "designer/commands_graphics.h"
#include "designer/commands_module.h"
#include "designer/commands_neural.h"
#include "designer/commands_system.h"
#include "designer/component_properties.h"
#include "designer/decision_matrix_editor.h"
#include "designer/document.h"
#include "simulation/sim_controller.h"

namespace zor2 {
namespace {

void StopSimulation(CCommandContext& ctx) {
    if (ctx.sim && ctx.sim->IsActive()) ctx.sim->Stop();
}

/// Edits a name and description and hands them to `apply` on OK.
template <class Apply>
ECmd EditNamed(CCommandContext& ctx, const char* title, std::string name, std::string description,
               Apply apply) {
    if (!ctx.host.EditNameDescription(title, name, description)) return ECmd::Cancelled;
    return apply(name, description);
}

}  // namespace

std::string DocumentName(const Czor2Doc& doc) {
    if (!doc.Path().empty()) return std::filesystem::path(doc.Path()).stem().string();
    return doc.System().m_name;
}

ECmd NewProject(CCommandContext& ctx) {
    StopSimulation(ctx);
    if (!ctx.doc.NewProject()) return ECmd::Cancelled;
    ctx.host.ShowSystem();
    return ECmd::Done;
}

ECmd OpenProject(CCommandContext& ctx) {
    // Closing the project ends a learning run before its result is offered for saving.
    ctx.doc.StopLearning();
    if (!ctx.doc.SaveModified()) return ECmd::Cancelled;
    const std::string path = ctx.host.ChooseOpenPath(EPathKind::Project);
    return path.empty() ? ECmd::Cancelled : OpenProjectFile(ctx, path, false);
}

ECmd OpenProjectFile(CCommandContext& ctx, const std::string& path, bool fromFramework) {
    StopSimulation(ctx);
    const CFileResult r = fromFramework ? ctx.doc.OpenThroughFramework(path) : ctx.doc.Open(path);
    // The document has told the user why; nothing else changed.
    if (!r) return ECmd::Refused;
    ctx.host.FileUsed(path);
    ctx.host.ShowSystem();
    ctx.host.CenterView();
    return ECmd::Done;
}

ECmd SaveProject(CCommandContext& ctx) {
    std::string path;
    if (ctx.doc.Path().empty()) {
        path = ctx.host.ChooseSavePath(EPathKind::Project, DocumentName(ctx.doc));
        if (path.empty()) return ECmd::Cancelled;
    }
    const CFileResult r = ctx.doc.Save(path);
    if (!r) {
        ctx.doc.Prompter().Tell(Fmt("Could not save:\n%s", r.message.c_str()));
        return ECmd::Refused;
    }
    ctx.host.FileUsed(ctx.doc.Path());
    return ECmd::Done;
}

ECmd SaveProjectAs(CCommandContext& ctx) {
    const std::string path = ctx.host.ChooseSavePath(EPathKind::Project, DocumentName(ctx.doc));
    return path.empty() ? ECmd::Cancelled : SaveProjectTo(ctx, path);
}

ECmd SaveProjectTo(CCommandContext& ctx, const std::string& path) {
    const CFileResult r = ctx.doc.SaveAs(path);
    if (!r) {
        ctx.doc.Prompter().Tell(Fmt("Could not save %s:\n%s", path.c_str(), r.message.c_str()));
        return ECmd::Refused;
    }
    ctx.host.FileUsed(path);
    return ECmd::Done;
}

ECmd ExportRuntimeSystem(CCommandContext& ctx) {
    const std::string path = ctx.host.ChooseSavePath(EPathKind::Runtime, DocumentName(ctx.doc));
    return path.empty() ? ECmd::Cancelled : ExportRuntimeTo(ctx, path, true);
}

ECmd ExportRuntimeTo(CCommandContext& ctx, const std::string& path, bool report) {
    CRuntimeExportInfo info;
    const CFileResult r = ctx.doc.ExportRuntime(path, &info);
    if (!r) {
        ctx.doc.Prompter().Tell(
            Fmt("The runtime file %s could not be written:\n%s", path.c_str(), r.message.c_str()));
        return ECmd::Refused;
    }
    if (report) ctx.host.ShowExportSuccess(path, info);
    return ECmd::Done;
}

ECmd VerifyRuntimeEquivalence(CCommandContext& ctx) {
    const std::optional<std::string> report = ctx.host.VerifyRuntimeEquivalence(ctx.doc.System());
    if (!report) return ECmd::Unavailable;
    ctx.host.ShowReport("Verify Runtime Equivalence", *report);
    return ECmd::Done;
}

ECmd EditComponentProperties(CCommandContext& ctx, CNetworkModel& component) {
    if (!HasPropertyDialog(component)) return ECmd::Unavailable;
    if (!CanEditComponentProperties(ctx.doc)) return ECmd::Refused;
    switch (PropertyProfile(component.m_typeId).openCheck) {
        case EOpenCheck::None:
            break;
        case EOpenCheck::SegmentOutputs:
            if (!ConfirmSegmentOutputsChange(ctx.doc, component)) return ECmd::Cancelled;
            break;
        case EOpenCheck::DataSource:
            if (!ConfirmDataSourceChange(ctx.doc, component)) return ECmd::Cancelled;
            break;
    }
    CPropertySheet sheet = ReadComponentProperties(component);
    if (TypeTraits(component.m_typeId).editor == EComponentEditor::DecisionMatrix && component.m_owner) {
        // The table's edits are recorded one by one while the dialog is open.
        CDecisionMatrixEditor editor(ctx.doc, component.m_owner->m_id, component.m_id);
        if (!ctx.host.EditDecisionMatrix(editor, sheet)) return ECmd::Cancelled;
        CNetworkModel* edited = editor.Component();
        return edited ? ApplyComponentProperties(ctx.doc, *edited, sheet) : ECmd::Unavailable;
    }
    if (!ctx.host.EditProperties(sheet)) return ECmd::Cancelled;
    return ApplyComponentProperties(ctx.doc, component, sheet);
}

ECmd EditObject(CCommandContext& ctx, const CHit& h) {
    Czor2Doc& doc = ctx.doc;
    if (h.kind != EHit::None && RefusedWhileLearning(doc)) return ECmd::Refused;
    CEditorState& e = doc.Editor();
    CSystem& s = doc.System();
    switch (h.kind) {
        case EHit::Component:
            if (!h.component) break;
            e.SelectComponents({h.component->m_id});
            return EditComponentProperties(ctx, *h.component);
        case EHit::Module:
            if (!h.module) break;
            e.ClearSelection();
            e.SelectModules({h.module->m_id});
            return EditNamed(
                ctx, "Module Properties", h.module->m_name, h.module->m_description,
                [&](const std::string& n, const std::string& d) { return EditModuleProperties(doc, n, d); });
        case EHit::ModuleInput:
        case EHit::ModInput:
            if (!h.module || !h.moduleInput) break;
            e.SelectModuleInput(h.module->m_id, h.moduleInput->m_id);
            return EditNamed(
                ctx, "Module Input", h.moduleInput->m_name, h.moduleInput->m_description,
                [&](const std::string& n, const std::string& d) { return EditModuleInput(doc, n, d); });
        case EHit::ModuleOutput:
        case EHit::ModOutput:
            if (!h.module || !h.moduleOutput) break;
            e.SelectModuleOutput(h.module->m_id, h.moduleOutput->m_id);
            return EditNamed(
                ctx, "Module Output", h.moduleOutput->m_name, h.moduleOutput->m_description,
                [&](const std::string& n, const std::string& d) { return EditModuleOutput(doc, n, d); });
        case EHit::SystemInput: {
            if (!h.systemInput) break;
            const int32_t id = h.systemInput->m_id;
            e.SelectSystemInput(id);
            CSystemInputData data = SystemInputData(*h.systemInput);
            // The dialog may add behaviours to the input, each a change of its own.
            if (!ctx.host.EditSystemInput("Edit Input", data, id) || !s.FindSystemInput(id))
                return ECmd::Cancelled;
            e.SelectSystemInput(id);
            return EditSystemInput(doc, data);
        }
        case EHit::SystemOutput: {
            if (!h.systemOutput) break;
            e.SelectSystemOutput(h.systemOutput->m_id);
            CSystemOutputData data = SystemOutputData(*h.systemOutput);
            if (!ctx.host.EditSystemOutput("Edit Output", data)) return ECmd::Cancelled;
            return EditSystemOutput(doc, data);
        }
        case EHit::InputCategory: {
            if (!h.inputCategory) break;
            CSystemInputData data;
            data.categoryId = h.inputCategory->m_id;
            if (!ctx.host.EditSystemInput("Add System Input", data, 0)) return ECmd::Cancelled;
            return AddSystemInput(doc, data);
        }
        case EHit::OutputCategory: {
            if (!h.outputCategory) break;
            CSystemOutputData data;
            data.categoryId = h.outputCategory->m_id;
            if (!ctx.host.EditSystemOutput("Add System Output", data)) return ECmd::Cancelled;
            return AddSystemOutput(doc, data);
        }
        case EHit::Graphic: {
            if (!h.graphic) break;
            std::string text = h.graphic->m_text;
            if (!ctx.host.EditGraphicText(text)) return ECmd::Cancelled;
            return SetGraphicText(doc, h.graphic->m_id, text);
        }
        case EHit::ValueWindow: {
            if (!h.valueWindow) break;
            e.ClearSelection();
            e.m_valueWindows = {h.valueWindow->m_id};
            CValueWindowSettings settings = ValueWindowSettings(*h.valueWindow);
            if (!ctx.host.EditValueWindow(settings)) return ECmd::Cancelled;
            return ApplyValueWindowSettings(doc, h.valueWindow->m_id, settings);
        }
        case EHit::ComponentInput:
            if (!h.component || !h.input) break;
            e.SelectComponentInput(h.component->m_id, h.input->m_id);
            return EditNamed(
                ctx, "Edit Input", h.input->m_name, {},
                [&](const std::string& n, const std::string&) { return EditComponentInput(doc, n); });
        case EHit::ComponentOutput:
            if (!h.component || !h.output) break;
            e.SelectComponentOutput(h.component->m_id, h.output->m_id);
            return EditNamed(
                ctx, "Edit Output", h.output->m_name, {},
                [&](const std::string& n, const std::string&) { return EditComponentOutput(doc, n); });
        default:
            break;
    }
    return ECmd::Unavailable;
}

}  // namespace zor2
