// Alignment, distribution and keyboard moves over one interface for
// components, modules and background graphics.
#include "designer/commands_align.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "designer/document.h"

namespace zor2 {

namespace {

/// A selected component, module or graphic seen as a box that moves by whole pixels.
struct CBox {
    CNetworkModel* component = nullptr;
    CNetwork* module = nullptr;
    CGraphic* graphic = nullptr;

    CRect Rect() const {
        if (component) return component->m_box;
        return module ? module->m_boxRect : graphic->m_rect;
    }
    void MoveBy(int32_t dx, int32_t dy) const {
        if (graphic) {
            const CRect& r = graphic->m_rect;
            graphic->m_rect = {ClampCoordinate(int64_t{r.left} + dx), ClampCoordinate(int64_t{r.top} + dy),
                               ClampCoordinate(int64_t{r.right} + dx),
                               ClampCoordinate(int64_t{r.bottom} + dy)};
        } else if (component) {
            // SetPosition centres the box on the point, so shifting the point
            // shifts every edge by the same whole number of pixels.
            component->SetPosition(ClampCoordinate(int64_t{component->m_position.x} + dx),
                                   ClampCoordinate(int64_t{component->m_position.y} + dy));
            component->CalcSize();
        } else {
            module->m_position.x = ClampCoordinate(int64_t{module->m_position.x} + dx);
            module->m_position.y = ClampCoordinate(int64_t{module->m_position.y} + dy);
            module->LayoutBox();
        }
    }
};

std::vector<CBox> Selection(Czor2Doc& doc, EAlignTarget target = EAlignTarget::Selection) {
    std::vector<CBox> boxes;
    const CEditorState& e = doc.Editor();
    if (target == EAlignTarget::Graphics) {
        const CObList<CGraphic>& graphics = doc.System().m_graphics.m_graphics;
        for (int32_t id : e.m_graphics)
            if (CGraphic* g = graphics.Find(id)) boxes.push_back({nullptr, nullptr, g});
    } else if (e.m_mode == EViewMode::ModuleDesign) {
        for (CNetworkModel* c : e.SelectedComponents(doc.System())) boxes.push_back({c, nullptr, nullptr});
    } else {
        for (CNetwork* m : e.SelectedModules(doc.System())) boxes.push_back({nullptr, m, nullptr});
    }
    return boxes;
}

ECmd Distribute(Czor2Doc& doc, bool vertical, EAlignTarget target) {
    std::vector<CBox> boxes = Selection(doc, target);
    const int32_t n = static_cast<int32_t>(boxes.size());
    // With one object there is no gap to share (and nothing to divide by).
    if (n < 2) return ECmd::Unavailable;
    int32_t low = INT32_MAX, high = INT32_MIN;
    int64_t sizes = 0;
    for (const CBox& b : boxes) {
        const CRect r = b.Rect();
        const int32_t a = vertical ? r.top : r.left, z = vertical ? r.bottom : r.right;
        low = std::min(low, a);
        high = std::max(high, z);
        sizes += z - a;
    }
    int64_t free = static_cast<int64_t>(high) - low - sizes;
    if (free < n) free = n;
    const int32_t gap = static_cast<int32_t>(free / (n - 1));
    std::stable_sort(boxes.begin(), boxes.end(), [vertical](const CBox& a, const CBox& b) {
        return vertical ? a.Rect().top < b.Rect().top : a.Rect().left < b.Rect().left;
    });
    int32_t next = low;
    for (const CBox& b : boxes) {
        const CRect r = b.Rect();
        const int32_t start = vertical ? r.top : r.left;
        if (vertical)
            b.MoveBy(0, next - start);
        else
            b.MoveBy(next - start, 0);
        const CRect moved = b.Rect();
        next = (vertical ? moved.bottom : moved.right) + gap;
    }
    doc.RecordChange("");
    return ECmd::Done;
}

}  // namespace

ECmd Align(Czor2Doc& doc, EAlign how, EAlignTarget target) {
    std::vector<CBox> boxes = Selection(doc, target);
    if (boxes.empty()) return ECmd::Unavailable;
    int32_t L = INT32_MAX, R = INT32_MIN, T = INT32_MAX, B = INT32_MIN;
    for (const CBox& b : boxes) {
        const CRect r = b.Rect();
        L = std::min(L, r.left);
        R = std::max(R, r.right);
        T = std::min(T, r.top);
        B = std::max(B, r.bottom);
    }
    for (const CBox& b : boxes) {
        const CRect r = b.Rect();
        switch (how) {
            case EAlign::Left:
                b.MoveBy(L - r.left, 0);
                break;
            case EAlign::Right:
                b.MoveBy(R - r.right, 0);
                break;
            case EAlign::Top:
                b.MoveBy(0, T - r.top);
                break;
            case EAlign::Bottom:
                b.MoveBy(0, B - r.bottom);
                break;
            case EAlign::Vertical:
                b.MoveBy(L + (R - L) / 2 - (r.left + (r.right - r.left) / 2), 0);
                break;
            case EAlign::Horizontal:
                b.MoveBy(0, T + (B - T) / 2 - (r.top + (r.bottom - r.top) / 2));
                break;
        }
    }
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd DistributeVertically(Czor2Doc& doc, EAlignTarget target) {
    return Distribute(doc, true, target);
}
ECmd DistributeHorizontally(Czor2Doc& doc, EAlignTarget target) {
    return Distribute(doc, false, target);
}

ECmd MoveSelection(Czor2Doc& doc, EArrowKey key) {
    std::vector<CBox> boxes = Selection(doc);
    if (boxes.empty()) return ECmd::Unavailable;
    const int32_t dx = key == EArrowKey::Left ? -2 : key == EArrowKey::Right ? 2 : 0;
    const int32_t dy = key == EArrowKey::Up ? -2 : key == EArrowKey::Down ? 2 : 0;
    for (const CBox& b : boxes) b.MoveBy(dx, dy);
    doc.RecordChange("");
    return ECmd::Done;
}

}  // namespace zor2
