// Commands that go through the window hosting them: the project file flows
// (new, open, save, export) and the dialogs of the objects in the view.
#pragma once

#include <string>

#include "designer/command_host.h"
#include "designer/commands_common.h"
#include "designer/view_hit.h"

namespace zor2 {

/// The title of the project: its file's name without extension, else the system's name.
std::string DocumentName(const Czor2Doc& doc);

// --- project files ------------------------------------------------------------
/// "New": stops the simulation, offers to save, starts an empty project in the system view.
ECmd NewProject(CCommandContext& ctx);
/// "Open...": offers to save, asks for the file and opens it.
ECmd OpenProject(CCommandContext& ctx);
/// Opens `path`; `fromFramework` is the recent-file list, the command line or
/// a dropped file (a missing file does nothing). A file that cannot be read is
/// reported by the document and changes nothing (Refused).
ECmd OpenProjectFile(CCommandContext& ctx, const std::string& path, bool fromFramework);
/// "Save": an untitled project asks for its file first. A failure is told.
ECmd SaveProject(CCommandContext& ctx);
ECmd SaveProjectAs(CCommandContext& ctx);
ECmd SaveProjectTo(CCommandContext& ctx, const std::string& path);
/// "Export Runtime System": asks for the runtime file, writes it with its
/// manifest and, with `report`, shows where they went.
ECmd ExportRuntimeSystem(CCommandContext& ctx);
ECmd ExportRuntimeTo(CCommandContext& ctx, const std::string& path, bool report);
/// "Verify Runtime Equivalence...": the host runs the check and its report is shown.
ECmd VerifyRuntimeEquivalence(CCommandContext& ctx);

// --- object dialogs -----------------------------------------------------------
/// The dialog of an object in the view (a double click, a "Properties..."
/// item): the object becomes the selection, its dialog opens and OK runs the
/// matching edit. A category opens the "Add System Input" ("Add System
/// Output") dialog with that category chosen.
ECmd EditObject(CCommandContext& ctx, const CHit& hit);
/// "Component Properties": refused while the simulator runs; the type's
/// property sheet, applied on OK.
ECmd EditComponentProperties(CCommandContext& ctx, CNetworkModel& component);

}  // namespace zor2
