// Commands on the selected background graphics, one settings table for the
// plain fields.
#include "designer/commands_graphics.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "designer/commands_fields.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr int32_t kMinFontSize = 1;
constexpr int32_t kMaxFontSize = 200;
constexpr int32_t kMaxColour = 0xFFFFFF;

using CGraphicField = fields::CIntField<CGraphic>;

/// One row per EGraphicField, in its order.
constexpr CGraphicField kGraphicFields[] = {
    {0, 2, [](const CGraphic& g) { return g.m_alignH; }, [](CGraphic& g, int32_t v) { g.m_alignH = v; }},
    {0, 2, [](const CGraphic& g) { return g.m_alignV; }, [](CGraphic& g, int32_t v) { g.m_alignV = v; }},
    {0, 1, [](const CGraphic& g) { return int32_t{g.m_bold}; }, [](CGraphic& g, int32_t v) { g.m_bold = v; }},
    {kMinFontSize, kMaxFontSize, [](const CGraphic& g) { return g.m_fontSize; },
     [](CGraphic& g, int32_t v) { g.m_fontSize = v; }},
    {0, 1, [](const CGraphic& g) { return int32_t{g.m_transparent}; },
     [](CGraphic& g, int32_t v) { g.m_transparent = v; }},
    {0, kMaxColour, [](const CGraphic& g) { return g.m_background; },
     [](CGraphic& g, int32_t v) { g.m_background = v; }},
    {0, 1, [](const CGraphic& g) { return int32_t{g.m_edges3d}; },
     [](CGraphic& g, int32_t v) { g.m_edges3d = v; }},
    {0, 1, [](const CGraphic& g) { return int32_t{g.m_outline}; },
     [](CGraphic& g, int32_t v) { g.m_outline = v; }},
    // The outline follows the width, so a width equal to the current one still
    // changes a graphic whose outline was switched by hand.
    {0, 10, [](const CGraphic& g) { return g.m_lineWidth; },
     [](CGraphic& g, int32_t v) { g.SetLineWidth(v); },
     [](const CGraphic& g, int32_t v) { return g.m_lineWidth == v && g.m_outline == (v > 0); }},
};

static_assert(std::size(kGraphicFields) == kGraphicFieldCount);

std::vector<CGraphic*> Selected(Czor2Doc& doc) {
    return fields::Resolve(doc.System().m_graphics.m_graphics, doc.Editor().m_graphics);
}

/// `r` moved by `d` in both directions; coordinates stop at the int32 limits
/// (the clipboard may hold anything).
CRect Shifted(const CRect& r, int32_t d) {
    auto add = [d](int32_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(int64_t{v} + d, INT32_MIN, INT32_MAX));
    };
    return {add(r.left), add(r.top), add(r.right), add(r.bottom)};
}

/// Keeps the settings of a graphic read from outside within what the commands allow.
void Sanitize(CGraphic& g) {
    g.m_alignH = std::clamp(g.m_alignH, 0, 2);
    g.m_alignV = std::clamp(g.m_alignV, 0, 2);
    g.m_fontSize = std::clamp(g.m_fontSize, kMinFontSize, kMaxFontSize);
    g.m_background = std::clamp(g.m_background, 0, kMaxColour);
    const bool outline = g.m_outline;
    g.SetLineWidth(g.m_lineWidth);
    g.m_outline = outline;
}

}  // namespace

ECmd SetGraphicField(Czor2Doc& doc, EGraphicField field, int32_t value) {
    return fields::SetIntField<CGraphic>(doc, kGraphicFields, static_cast<size_t>(field), Selected(doc),
                                         value);
}

int32_t GraphicField(const CGraphic& graphic, EGraphicField field) {
    return fields::GetIntField<CGraphic>(kGraphicFields, static_cast<size_t>(field), graphic);
}

CGraphicSettings GraphicSettings(const CGraphic& graphic) {
    CGraphicSettings out;
    for (size_t i = 0; i < kGraphicFieldCount; ++i) out.fields[i] = kGraphicFields[i].get(graphic);
    out.fontName = graphic.m_fontName;
    out.text = graphic.m_text;
    return out;
}

ECmd ApplyGraphicSettings(Czor2Doc& doc, int32_t graphicId, const CGraphicSettings& settings) {
    CGraphic* g = doc.System().m_graphics.m_graphics.Find(graphicId);
    if (!g) return ECmd::Unavailable;
    if (settings.fontName.empty()) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    return fields::SetAllFields<CGraphic>(
        doc, kGraphicFields, *g, settings.fields, [&settings](CGraphic& graphic) {
            if (graphic.m_fontName == settings.fontName && graphic.m_text == settings.text) return false;
            graphic.m_fontName = settings.fontName;
            graphic.m_text = settings.text;
            return true;
        });
}

ECmd StepGraphicFontSize(Czor2Doc& doc, int32_t delta) {
    if (delta == 0) return ECmd::Unavailable;
    return fields::ChangeEach(doc, Selected(doc), [delta](CGraphic& g) {
        const int32_t size = static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{g.m_fontSize} + delta, kMinFontSize, kMaxFontSize));
        if (size == g.m_fontSize) return false;
        g.m_fontSize = size;
        return true;
    });
}

ECmd SetGraphicFont(Czor2Doc& doc, const std::string& fontName) {
    std::vector<CGraphic*> graphics = Selected(doc);
    if (graphics.empty()) return ECmd::Unavailable;
    if (fontName.empty()) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    return fields::ChangeEach(doc, graphics, [&fontName](CGraphic& g) {
        if (g.m_fontName == fontName) return false;
        g.m_fontName = fontName;
        return true;
    });
}

ECmd ClearGraphicText(Czor2Doc& doc) {
    return fields::ChangeEach(doc, Selected(doc), [](CGraphic& g) {
        if (g.m_text.empty()) return false;
        g.m_text.clear();
        return true;
    });
}

ECmd SetGraphicText(Czor2Doc& doc, int32_t graphicId, const std::string& text) {
    CGraphic* g = doc.System().m_graphics.m_graphics.Find(graphicId);
    if (!g || g->m_text == text) return ECmd::Unavailable;
    g->m_text = text;
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd SendGraphicsToBack(Czor2Doc& doc) {
    CObList<CGraphic>& list = doc.System().m_graphics.m_graphics;
    std::vector<CGraphic*> all = list.Snapshot();
    std::vector<CGraphic*> back, rest;
    for (CGraphic* g : all) {
        const bool selected = std::find(doc.Editor().m_graphics.begin(), doc.Editor().m_graphics.end(),
                                        g->m_id) != doc.Editor().m_graphics.end();
        (selected ? back : rest).push_back(g);
    }
    if (back.empty() || std::equal(back.begin(), back.end(), all.begin())) return ECmd::Unavailable;
    std::vector<std::unique_ptr<CGraphic>> owned;
    owned.reserve(all.size());
    for (CGraphic* g : back) owned.push_back(list.Detach(g));
    for (CGraphic* g : rest) owned.push_back(list.Detach(g));
    for (auto& p : owned) list.Append(std::move(p));
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd MakeGraphicsSameSize(Czor2Doc& doc, ESameSize which) {
    std::vector<CGraphic*> graphics = Selected(doc);
    if (graphics.size() < 2) return ECmd::Unavailable;
    const CRect pattern = graphics.front()->m_rect;
    const int32_t width = pattern.right - pattern.left, height = pattern.bottom - pattern.top;
    graphics.erase(graphics.begin());
    return fields::ChangeEach(doc, graphics, [which, width, height](CGraphic& g) {
        CRect r = g.m_rect;
        if (which != ESameSize::Height) r.right = r.left + width;
        if (which != ESameSize::Width) r.bottom = r.top + height;
        if (r == g.m_rect) return false;
        g.m_rect = r;
        return true;
    });
}

ECmd CopyGraphics(Czor2Doc& doc, CGraphicClipboard& clipboard) {
    std::vector<CGraphic*> graphics = Selected(doc);
    if (graphics.empty()) return ECmd::Unavailable;
    CArchive ar;
    int32_t count = static_cast<int32_t>(graphics.size());
    ar.I32(count);
    for (CGraphic* g : graphics) g->Serialize(ar);
    clipboard.bytes = ar.TakeBytes();
    return ECmd::Done;
}

ECmd PasteGraphics(Czor2Doc& doc, const CGraphicClipboard& clipboard) {
    CSystem& system = doc.System();
    if (clipboard.Empty() || !doc.Editor().DesignedModule(system)) return ECmd::Unavailable;

    // Read everything first: a clipboard that does not read cleanly adds nothing.
    CArchive ar(clipboard.bytes.data(), clipboard.bytes.size());
    int32_t count = 0;
    ar.I32(count);
    std::vector<std::unique_ptr<CGraphic>> pasted;
    if (!ar.Failed() && ar.CheckCount(count, GraphicRecordMinBytes(), "graphic")) {
        pasted.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count && !ar.Failed(); ++i) {
            pasted.push_back(std::make_unique<CGraphic>());
            pasted.back()->Serialize(ar);
        }
    }
    if (ar.Failed() || ar.Remaining() != 0 || count <= 0) {
        doc.Prompter().Tell("The clipboard does not hold graphics that can be pasted.");
        return ECmd::Refused;
    }

    CObList<CGraphic>& list = system.m_graphics.m_graphics;
    std::vector<int32_t> ids;
    for (auto& g : pasted) {
        g->m_id = DrawFreeId(system.Random(), list);
        if (g->m_id == 0) {
            // Every id is taken: take back what this paste added.
            for (int32_t id : ids) list.RemoveId(id);
            doc.Prompter().Beep();
            return ECmd::Refused;
        }
        Sanitize(*g);
        g->m_rect = Shifted(g->m_rect, kPasteOffset);
        for (CRect& h : g->m_handles) h = Shifted(h, kPasteOffset);
        ids.push_back(list.Append(std::move(g))->m_id);
    }
    doc.Editor().m_components.clear();
    doc.Editor().m_graphics = ids;
    doc.RecordChange("");
    return ECmd::Done;
}

}  // namespace zor2
