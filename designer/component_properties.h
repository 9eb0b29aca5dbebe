// Applying a component property sheet to the document: OK of a property dialog
// as one recorded change. The sheets themselves are the families' (engine/property_sheet.h);
// the Qt window only renders a sheet.
#pragma once

#include "designer/commands_common.h"
#include "engine/property_sheet.h"

namespace zor2 {

class Czor2Doc;
class CNetworkModel;

/// OK of a property dialog. A sheet with a field that does not validate is
/// refused with its message and changes nothing; a sheet read from another
/// component is refused too. Only edited fields are written back, then the
/// change is recorded as one undo level. Nothing edited: Unavailable, no undo
/// level. A type whose profile executes on OK (the Constant) executes once on
/// every OK so that its output shows the value at once.
ECmd ApplyComponentProperties(Czor2Doc& doc, CNetworkModel& component, const CPropertySheet& sheet);

}  // namespace zor2
