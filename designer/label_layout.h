// Where the names above component boxes go so that no name covers another box
// or another name: above its box where there is room, else shortened to the
// box's width, else in the top line of its own box.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "designer/view_geometry.h"

namespace zor2 {

struct CTitlePlace {
    CRectD rect;
    bool cut = false;  // the name is wider than its place and is shown shortened
};

/// The places of the names of `footprints` (each box with its ports, model
/// units) whose texts are `widths` wide and `lineHeight` high. Expected
/// linear time: the boxes are looked up in a grid of cells.
std::vector<CTitlePlace> PlaceTitles(std::span<const CRectD> footprints, std::span<const CRectD> boxes,
                                     std::span<const double> widths, double lineHeight);

class CNetwork;
class CNetworkModel;

struct CComponentTitle {
    const CNetworkModel* component;
    CTitlePlace place;
};

/// The name of port `index` of a component, beside the port.
struct CPortName {
    const CNetworkModel* component;
    bool output;
    int index;
    CRectD rect;
    bool cut;  // narrower than the name: shown shortened
};

struct CModuleLabels {
    std::vector<CComponentTitle> titles;
    std::vector<CPortName> ports;  // only those with room; hover shows any
};

using TextWidth = std::function<double(const std::string&)>;

/// The names of a module's shown components, placed with `width` measuring a
/// name in model units; a component's footprint is its box with its ports.
/// Then the names of the inputs (`inputNames`) and outputs (`outputNames`, or
/// the component's own wish) beside their ports, at most `maxWidth` wide and
/// clear of every other box and name.
CModuleLabels ModuleLabels(const CNetwork& module, const TextWidth& width, double lineHeight, bool inputNames,
                           bool outputNames, double maxWidth);
/// The titles alone.
std::vector<CComponentTitle> ComponentTitles(const CNetwork& module, const TextWidth& width,
                                             double lineHeight);

struct CHit;
class CSystem;
struct CViewOptions;
/// Whether module boxes show their ports' values rather than their names:
/// when the option asks for values and a cycle has produced some.
bool ModulePortsShowValues(const CSystem& system, const CViewOptions& options);

/// What hovering over an object shows: its whole name (a drawn name may be
/// cut), with a port's value and a component's type. Empty for other objects.
std::string HoverText(const CHit& hit);

/// Whether two rectangles share more than an edge.
inline bool Overlap(const CRectD& a, const CRectD& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace zor2
