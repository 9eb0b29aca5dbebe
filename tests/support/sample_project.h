// A sample project that holds every kind of project-file record, built through
// the engine's own operations, for the persistence and undo tests.
#pragma once

#include <cstdint>

#include "engine/system.h"

namespace zor2::test {

/// Fills a new project with two wired modules, system ports in extra
/// categories, tie points, events, charts, behaviours, graphics and value
/// windows, and texts that need every string form.
void BuildSampleProject(CSystem& system);

}  // namespace zor2::test
