// Where a new chart or value window goes: the free spot nearest to its place
// beside its component, clear of the module's boxes, charts and value windows.
#pragma once

#include <span>
#include <vector>

#include "engine/object.h"

namespace zor2 {

class CSystem;
class CNetwork;

/// `preferred` moved to the nearest place (in steps of 20 units) that overlaps
/// neither `anchor` nor any of `taken` with a margin of 10; `preferred`
/// itself when no place within 400 units of it is free.
CRect FreeSpotNear(const CRect& preferred, const CRect& anchor, std::span<const CRect> taken);

/// What a new chart or value window of `module` must not cover: its component
/// boxes with their ports, its charts and its value windows.
std::vector<CRect> TakenInModule(const CSystem& system, const CNetwork& module);

}  // namespace zor2
