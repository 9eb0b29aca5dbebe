// The nearest free spot for a new chart or value window.
#include "designer/free_spot.h"

#include <algorithm>
#include <cmath>

#include "designer/label_layout.h"
#include "designer/view_layout.h"
#include "engine/system.h"

namespace zor2 {
namespace {

constexpr int32_t kStep = 20;
constexpr int32_t kRings = 20;
constexpr int32_t kMargin = 10;

CRect Grown(const CRect& r, int32_t by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

bool Meet(const CRect& a, const CRect& b) {
    return Overlap(CRectD::Of(a), CRectD::Of(b));
}

}  // namespace

CRect FreeSpotNear(const CRect& preferred, const CRect& anchor, std::span<const CRect> taken) {
    const int32_t w = preferred.right - preferred.left, h = preferred.bottom - preferred.top;
    // Only what lies within reach of the search can be in the way.
    const CRect reach = Grown(preferred, kStep * kRings + kMargin);
    std::vector<CRect> near{Grown(anchor, kMargin)};
    for (const CRect& r : taken)
        if (Meet(r, reach)) near.push_back(Grown(r, kMargin));
    struct CCandidate {
        int32_t dx, dy;
        int64_t distance;
    };
    std::vector<CCandidate> candidates;
    candidates.reserve((2 * kRings + 1) * (2 * kRings + 1));
    for (int32_t i = -kRings; i <= kRings; ++i)
        for (int32_t j = -kRings; j <= kRings; ++j)
            candidates.push_back({i * kStep, j * kStep, int64_t(i) * i + int64_t(j) * j});
    // Nearest first; among equals, the side away from the component and then downwards.
    std::stable_sort(candidates.begin(), candidates.end(), [](const CCandidate& a, const CCandidate& b) {
        if (a.distance != b.distance) return a.distance < b.distance;
        if (a.dx != b.dx) return a.dx > b.dx;
        return a.dy > b.dy;
    });
    for (const CCandidate& c : candidates) {
        const CRect spot{preferred.left + c.dx, preferred.top + c.dy, preferred.left + c.dx + w,
                         preferred.top + c.dy + h};
        if (std::none_of(near.begin(), near.end(), [&](const CRect& r) { return Meet(r, spot); }))
            return spot;
    }
    return preferred;
}

std::vector<CRect> TakenInModule(const CSystem& system, const CNetwork& module) {
    std::vector<CRect> taken;
    for (const CNetworkModel* c : module.m_components) {
        if (IsConsolidated(*c)) continue;
        CRectD r = ComponentBox(*c);
        for (bool output : {false, true}) {
            const int count = static_cast<int>(output ? c->m_outputs.Size() : c->m_inputs.Size());
            if (count > 0) {
                const CRectD port = ComponentPortRect(*c, 0, output);
                r.left = std::min(r.left, port.left);
                r.right = std::max(r.right, port.right);
            }
        }
        taken.push_back({static_cast<int32_t>(std::floor(r.left)), static_cast<int32_t>(std::floor(r.top)),
                         static_cast<int32_t>(std::ceil(r.right)),
                         static_cast<int32_t>(std::ceil(r.bottom))});
    }
    for (const CChart* chart : system.m_charts.m_charts)
        if (chart->m_moduleId == module.m_id) taken.push_back(chart->m_rect);
    for (const CValueWindow* v : system.m_valueWindows.m_windows)
        if (v->m_moduleId == module.m_id) taken.push_back(v->m_rect);
    return taken;
}

}  // namespace zor2
