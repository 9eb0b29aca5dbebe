// Title placement over a grid of cells, so each name is checked against its
// neighbours only.
#include "designer/label_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "designer/commands_view.h"
#include "designer/editor_state.h"
#include "designer/view_layout.h"
#include "engine/catalogue.h"
#include "engine/system.h"

namespace zor2 {
namespace {

constexpr double kCell = 128;
constexpr double kGap = 2;  // between a name and its box

class CGrid {
  public:
    void Insert(const CRectD& r, size_t owner) {
        const size_t index = m_rects.size();
        m_rects.push_back({r, owner});
        ForCells(r, [&](int64_t key) { m_cells[key].push_back(index); });
    }
    /// Whether `r` overlaps a rectangle of another owner than `owner`.
    bool Blocked(const CRectD& r, size_t owner) const {
        bool blocked = false;
        ForCells(r, [&](int64_t key) {
            const auto it = m_cells.find(key);
            if (blocked || it == m_cells.end()) return;
            for (size_t i : it->second)
                if (m_rects[i].second != owner && Overlap(m_rects[i].first, r)) blocked = true;
        });
        return blocked;
    }

  private:
    template <class F>
    static void ForCells(const CRectD& r, F&& f) {
        // Cells are clamped so a stray far-off box costs no long walk.
        auto cell = [](double v) {
            return static_cast<int64_t>(std::clamp(std::floor(v / kCell), -1e6, 1e6));
        };
        const int64_t x0 = cell(r.left), x1 = std::min(cell(r.right), x0 + 64);
        const int64_t y0 = cell(r.top), y1 = std::min(cell(r.bottom), y0 + 64);
        for (int64_t y = y0; y <= y1; ++y)
            for (int64_t x = x0; x <= x1; ++x) f(y * 4'000'000 + x);
    }

    std::vector<std::pair<CRectD, size_t>> m_rects;
    std::unordered_map<int64_t, std::vector<size_t>> m_cells;
};

}  // namespace

namespace {

std::vector<CTitlePlace> PlaceTitlesIn(CGrid& grid, std::span<const CRectD> footprints,
                                       std::span<const CRectD> boxes, std::span<const double> widths,
                                       double lineHeight) {
    const size_t n = std::min({footprints.size(), boxes.size(), widths.size()});
    for (size_t i = 0; i < n; ++i) grid.Insert(footprints[i], i);
    std::vector<CTitlePlace> places(n);
    for (size_t i = 0; i < n; ++i) {
        const CRectD& box = boxes[i];
        const double cx = (box.left + box.right) / 2;
        const double bottom = box.top - kGap;
        const double boxWidth = box.right - box.left;
        const CTitlePlace whole{{cx - widths[i] / 2, bottom - lineHeight, cx + widths[i] / 2, bottom}, false};
        const double narrow = std::min(widths[i], boxWidth);
        const CTitlePlace shortened{{cx - narrow / 2, bottom - lineHeight, cx + narrow / 2, bottom},
                                    narrow < widths[i]};
        if (!grid.Blocked(whole.rect, i)) {
            places[i] = whole;
        } else if (!grid.Blocked(shortened.rect, i)) {
            places[i] = shortened;
        } else {
            // Boxes closer than a line: the name takes the top line of its own box.
            places[i] = {{box.left, box.top, box.right, box.top + lineHeight}, widths[i] > boxWidth};
        }
        grid.Insert(places[i].rect, i);
    }
    return places;
}

}  // namespace

std::vector<CTitlePlace> PlaceTitles(std::span<const CRectD> footprints, std::span<const CRectD> boxes,
                                     std::span<const double> widths, double lineHeight) {
    CGrid grid;
    return PlaceTitlesIn(grid, footprints, boxes, widths, lineHeight);
}

CModuleLabels ModuleLabels(const CNetwork& module, const TextWidth& width, double lineHeight, bool inputNames,
                           bool outputNames, double maxWidth) {
    std::vector<const CNetworkModel*> shown;
    std::vector<CRectD> feet, boxes;
    std::vector<double> widths;
    for (const CNetworkModel* c : module.m_components) {
        if (IsConsolidated(*c)) continue;
        const CRectD box = ComponentBox(*c);
        CRectD foot = box;
        if (!IsReduced(*c)) {
            for (bool output : {false, true}) {
                const int count = static_cast<int>(output ? c->m_outputs.Size() : c->m_inputs.Size());
                for (int i = 0; i < count; ++i) {
                    const CRectD r = ComponentPortRect(*c, i, output);
                    foot = {std::min(foot.left, r.left), std::min(foot.top, r.top),
                            std::max(foot.right, r.right), std::max(foot.bottom, r.bottom)};
                }
            }
        }
        shown.push_back(c);
        boxes.push_back(box);
        feet.push_back(foot);
        widths.push_back(width(c->m_name));
    }
    CGrid grid;
    const std::vector<CTitlePlace> places = PlaceTitlesIn(grid, feet, boxes, widths, lineHeight);
    CModuleLabels labels;
    labels.titles.reserve(places.size());
    for (size_t i = 0; i < places.size(); ++i) labels.titles.push_back({shown[i], places[i]});
    // Port names beside their ports, after the titles: as wide as the name (up to
    // `maxWidth`) where nothing is in the way, narrower where something is, else none.
    for (size_t i = 0; i < shown.size(); ++i) {
        const CNetworkModel& c = *shown[i];
        if (IsReduced(c)) continue;
        for (bool output : {false, true}) {
            if (output ? !(outputNames || c.ShowsOutputNames()) : !inputNames) continue;
            int index = 0;
            auto place = [&](const std::string& name) {
                const CRectD port = ComponentPortRect(c, index, output);
                const double full = std::min(width(name), maxWidth);
                const double cy = (port.top + port.bottom) / 2;
                for (double w : {full, full * 0.6, full * 0.35}) {
                    if (w < 16) break;
                    const double left = output ? port.right + kGap : port.left - kGap - w;
                    const CRectD r{left, cy - lineHeight / 2, left + w, cy + lineHeight / 2};
                    if (grid.Blocked(r, i)) continue;
                    grid.Insert(r, i);
                    labels.ports.push_back({&c, output, index, r, w < width(name)});
                    break;
                }
                ++index;
            };
            if (output)
                for (const CModelOutput* o : c.m_outputs) place(o->m_name);
            else
                for (const CModelInput* in : c.m_inputs) place(in->m_name);
        }
    }
    return labels;
}

std::vector<CComponentTitle> ComponentTitles(const CNetwork& module, const TextWidth& width,
                                             double lineHeight) {
    return ModuleLabels(module, width, lineHeight, false, false, 0).titles;
}

bool ModulePortsShowValues(const CSystem& system, const CViewOptions& options) {
    // Before the first cycle every value is blank or "-": the names say more.
    return options.showModuleValues && system.m_cycleCount > 0;
}

std::string HoverText(const CHit& h) {
    auto port = [](const std::string& name, const std::string& value) {
        return value.empty() ? name : name + ": " + value;
    };
    switch (h.kind) {
        case EHit::Component: {
            const char* type = CatalogueName(h.component->m_typeId);
            std::string typeName = type ? type : "";
            std::replace(typeName.begin(), typeName.end(), '\n', ' ');
            return typeName.empty() ? h.component->m_name : h.component->m_name + "\n" + typeName;
        }
        case EHit::ComponentInput:
            return port(h.input->m_name, h.input->ValueString());
        case EHit::ComponentOutput:
            return port(h.output->m_name, h.output->ValueString());
        case EHit::Module:
            return h.module->m_name;
        case EHit::ModuleInput:
        case EHit::ModInput:
            return h.moduleInput ? port(h.moduleInput->m_name, h.moduleInput->ValueString()) : std::string();
        case EHit::ModuleOutput:
        case EHit::ModOutput:
            return h.moduleOutput ? port(h.moduleOutput->m_name, h.moduleOutput->ValueString())
                                  : std::string();
        case EHit::SystemInput:
            return port(h.systemInput->m_name, h.systemInput->ValueString());
        case EHit::SystemOutput:
            return h.systemOutput->m_name;
        default:
            return {};
    }
}

}  // namespace zor2
