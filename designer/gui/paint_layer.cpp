// The still layer's pixmap and the fingerprint that tells when what it shows
// may have changed without an edit the view heard of.
#include "designer/gui/paint_layer.h"

#include <QPainter>
#include <bit>
#include <cstdint>
#include <string_view>

#include "designer/commands_view.h"
#include "designer/gui/view_paint.h"

namespace zor2::gui {
namespace {

/// FNV-1a over 64-bit words: cheap, and any changed field changes it.
class CMixer {
  public:
    void Add(uint64_t v) { m_hash = (m_hash ^ v) * 0x100000001B3ULL; }
    void Add(double v) { Add(std::bit_cast<uint64_t>(v)); }
    void Add(const CRect& r) {
        Add(static_cast<uint64_t>(static_cast<uint32_t>(r.left)) << 32 | static_cast<uint32_t>(r.top));
        Add(static_cast<uint64_t>(static_cast<uint32_t>(r.right)) << 32 | static_cast<uint32_t>(r.bottom));
    }
    void Add(std::string_view s) {
        Add(static_cast<uint64_t>(s.size()));
        for (const char ch : s) m_hash = (m_hash ^ static_cast<unsigned char>(ch)) * 0x100000001B3ULL;
    }
    uint64_t Hash() const { return m_hash; }

  private:
    uint64_t m_hash = 0xCBF29CE484222325ULL;
};

void AddOptions(CMixer& mix, const CViewOptions& o) {
    for (const int32_t v : {o.gridSpacing, o.backgroundColour, o.gridColour, o.connectorType})
        mix.Add(static_cast<uint64_t>(static_cast<uint32_t>(v)));
    uint64_t flags = 0;
    for (const bool b : {o.showGrid, o.showSystemInputsBar, o.showSystemOutputsBar, o.showModuleInputsBar,
                         o.showModuleOutputsBar, o.inputCategoryDetail, o.outputCategoryDetail, o.connections,
                         o.graphicCount, o.inputNames, o.outputNames, o.highlightActiveOutputs,
                         o.componentNames, o.helperText})
        flags = flags << 1 | (b ? 1 : 0);
    mix.Add(flags);
}

void AddGraphic(CMixer& mix, const CPaintScene& scene, CGraphic& g) {
    mix.Add(g.m_rect);
    mix.Add(g.m_text);
    mix.Add(g.m_fontName);
    for (const int32_t v :
         {g.m_background, g.m_lineColour, g.m_fontSize, g.m_lineWidth, g.m_alignH, g.m_alignV})
        mix.Add(static_cast<uint64_t>(static_cast<uint32_t>(v)));
    mix.Add(static_cast<uint64_t>(g.m_bold) | uint64_t{g.m_outline} << 1 | uint64_t{g.m_transparent} << 2 |
            uint64_t{g.m_edges3d} << 3 |
            uint64_t{scene.IsSelected({.kind = EHit::Graphic, .graphic = &g})} << 4);
}

}  // namespace

uint64_t StillFingerprint(const CPaintScene& scene) {
    CMixer mix;
    AddOptions(mix, scene.Options());
    mix.Add(scene.font.key().toStdString());
    const CSystem& s = scene.layout.System();
    if (const CNetwork* m = scene.layout.Module()) {
        mix.Add(reinterpret_cast<uintptr_t>(m));
        mix.Add(static_cast<uint64_t>(m->m_inputs.Size()) << 32 | m->m_outputs.Size());
        for (const CNetworkModel* c : m->m_components) {
            mix.Add(reinterpret_cast<uintptr_t>(c));
            mix.Add(c->m_box);
            mix.Add(static_cast<uint64_t>(c->m_graphicId) << 1 | (IsReduced(*c) ? 1 : 0));
            // Selected boxes and ports are drawn with another pen.
            mix.Add(c->m_selectedInputs.Size() << 33 | c->m_selectedOutputs.Size() << 1 |
                    (c->m_selected ? 1 : 0));
            for (const CModelOutput* out : c->m_outputs)
                mix.Add(static_cast<uint64_t>(out->m_connections.Size()));
        }
        for (const CNetworkInput* in : m->m_inputs) mix.Add(static_cast<uint64_t>(in->m_connections.Size()));
        for (CGraphic* g : s.m_graphics.m_graphics) AddGraphic(mix, scene, *g);
    } else {
        for (const CNetwork* m : s.m_modules) {
            mix.Add(reinterpret_cast<uintptr_t>(m));
            mix.Add(static_cast<uint64_t>(static_cast<uint32_t>(m->m_position.x)) << 32 |
                    static_cast<uint32_t>(m->m_position.y));
            mix.Add(static_cast<uint64_t>(m->m_boxWidth) << 40 | m->m_inputs.Size() << 20 |
                    m->m_outputs.Size());
        }
        mix.Add(static_cast<uint64_t>(s.m_moduleConnections.Size()));
        for (const CExternalInput* in : s.m_inputs) mix.Add(static_cast<uint64_t>(in->m_connections.Size()));
        for (const CExternalOutput* out : s.m_outputs)
            mix.Add(static_cast<uint64_t>(out->m_connection != nullptr));
    }
    return mix.Hash();
}

void CStillLayer::Paint(QPainter& p, const CLayerKey& key, const std::function<void(QPainter&)>& paint) {
    if (key.size.isEmpty()) return;
    if (m_key != key || m_pixmap.isNull()) {
        const QSize pixels = key.size * key.pixelRatio;
        if (m_pixmap.size() != pixels) m_pixmap = QPixmap(pixels);
        m_pixmap.setDevicePixelRatio(key.pixelRatio);
        QPainter q(&m_pixmap);
        paint(q);
        m_key = key;
        ++m_draws;
    }
    p.drawPixmap(QPointF(0, 0), m_pixmap);
}

const CModuleLabels& CKeptLabels::For(const CPaintScene& scene, uint64_t revision, uint64_t fingerprint) {
    CKey key{revision, fingerprint, scene.font.key()};
    if (m_key != key) {
        m_labels = PlaceLabels(scene);
        m_key = std::move(key);
    }
    return m_labels;
}

void CStillLayer::Clear() {
    m_pixmap = QPixmap();
    m_key.reset();
}

}  // namespace zor2::gui
