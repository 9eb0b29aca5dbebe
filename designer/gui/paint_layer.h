// What the view keeps between paints: the still layer (the background, the
// grid, the background graphics and the connections, which a simulation cycle
// leaves as they were, and zoomed far out most components too) in a pixmap,
// and the places of the module's names.
#pragma once

#include <QPainter>
#include <QPixmap>
#include <QPointF>
#include <QSize>
#include <cstdint>
#include <functional>
#include <optional>

#include "designer/label_layout.h"

namespace zor2::gui {

struct CPaintScene;

/// What the still layer was drawn from; any difference draws it afresh.
struct CLayerKey {
    double zoom = 0;
    QPointF scroll;
    QSize size;
    double pixelRatio = 1;
    uint64_t revision = 0;     // bumped by every edit the view hears of
    uint64_t fingerprint = 0;  // of the drawn objects, for changes no edit announced
    bool operator==(const CLayerKey&) const = default;
};

/// A fingerprint of what the still layer and the names are drawn from: the
/// options, the font, the selection, the objects and boxes the connections end on, the wiring's counts
/// and the background graphics (a sim action changes a graphic's text and
/// colour while the simulation runs).
uint64_t StillFingerprint(const CPaintScene& scene);

class CStillLayer {
  public:
    /// Copies the layer to `p` at the viewport's origin, drawn first with `paint`
    /// (on a painter over a pixmap of the key's size) unless it was drawn for `key`.
    void Paint(QPainter& p, const CLayerKey& key, const std::function<void(QPainter&)>& paint);
    /// Forgets the pixmap; the next paint draws it.
    void Clear();
    /// How often the layer was drawn afresh (tests tell reuse from redrawing).
    int Draws() const { return m_draws; }

  private:
    QPixmap m_pixmap;
    std::optional<CLayerKey> m_key;
    int m_draws = 0;
};

/// The places of the designed module's names, placed afresh when an edit, the
/// fingerprint or the view's font changed (placing measures every name).
class CKeptLabels {
  public:
    const CModuleLabels& For(const CPaintScene& scene, uint64_t revision, uint64_t fingerprint);
    void Clear() { m_key.reset(); }

  private:
    struct CKey {
        uint64_t revision = 0;
        uint64_t fingerprint = 0;
        QString font;
        bool operator==(const CKey&) const = default;
    };
    CModuleLabels m_labels;
    std::optional<CKey> m_key;
};

}  // namespace zor2::gui
