// The ribbon widget: category tabs, pages of panels fitted to the width, the
// drop-down of a collapsed panel, and the command icons drawn in code.
#include "designer/gui/ribbon.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace zor2::gui {
namespace {

constexpr int kRows = 3;
constexpr int kPanelGap = 2;
constexpr int kLargeIcon = 32;
constexpr int kSmallIcon = 16;

// --- icons: drawn on a 16 x 16 grid, scaled to the pixmap -------------------------

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
    p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::max(1.0, std::hypot(d.x(), d.y()));
    const QPointF u = d / len, n(-u.y(), u.x());
    p.drawPolyline(QPolygonF{to - u * 4 + n * 3, to, to - u * 4 - n * 3});
}

void Curve(QPainter& p, bool mirror, const QColor& c) {
    p.save();
    if (mirror) p.setTransform(QTransform(-1, 0, 0, 1, 16, 0), true);
    p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path(QPointF(4, 6));
    path.cubicTo(QPointF(9, 2), QPointF(15, 6), QPointF(12, 13));
    p.drawPath(path);
    p.drawPolyline(QPolygonF{QPointF(3, 2), QPointF(4, 6), QPointF(8, 7)});
    p.restore();
}

void Draw(QPainter& p, EGlyph glyph, QChar letter) {
    const QColor ink(0x40, 0x40, 0x48), blue(0x2A, 0x6C, 0xC0), green(0x2E, 0x9A, 0x46),
        red(0xC8, 0x3C, 0x32), amber(0xE0, 0xA0, 0x28);
    auto pen = [&](const QColor& c, double w = 1.2) {
        p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    };
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
        case EGlyph::New:
            pen(ink);
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF{{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}});
            p.drawPolyline(QPolygonF{{10, 1}, {10, 4}, {13, 4}});
            break;
        case EGlyph::Open:
            pen(ink);
            p.setBrush(amber);
            p.drawPolygon(QPolygonF{{1, 3}, {6, 3}, {7, 5}, {15, 5}, {15, 14}, {1, 14}});
            break;
        case EGlyph::Save:
            pen(blue.darker());
            p.setBrush(blue);
            p.drawRect(QRectF(2, 2, 12, 12));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(5, 2, 6, 4));
            p.drawRect(QRectF(4, 9, 8, 5));
            break;
        case EGlyph::Print:
            pen(ink);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4, 1, 8, 5));
            p.setBrush(QColor(0xB0, 0xB0, 0xB8));
            p.drawRoundedRect(QRectF(1, 6, 14, 6), 1.5, 1.5);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4, 10, 8, 5));
            break;
        case EGlyph::Exit:
            pen(ink);
            p.drawRect(QRectF(2, 2, 7, 12));
            Arrow(p, {6, 8}, {15, 8}, red);
            break;
        case EGlyph::Undo:
        case EGlyph::Redo:
            Curve(p, glyph == EGlyph::Redo, blue);
            break;
        case EGlyph::Add:
            p.setPen(Qt::NoPen);
            p.setBrush(green);
            p.drawRect(QRectF(6.5, 2, 3, 12));
            p.drawRect(QRectF(2, 6.5, 12, 3));
            break;
        case EGlyph::Delete:
            pen(red, 2.6);
            p.drawLine(QPointF(3, 3), QPointF(13, 13));
            p.drawLine(QPointF(13, 3), QPointF(3, 13));
            break;
        case EGlyph::Edit:
            pen(ink);
            p.setBrush(amber);
            p.drawPolygon(QPolygonF{{11, 1}, {15, 5}, {6, 14}, {2, 14}, {2, 10}});
            break;
        case EGlyph::Import:
        case EGlyph::Export:
            pen(ink);
            p.drawPolyline(QPolygonF{{1, 10}, {1, 15}, {15, 15}, {15, 10}});
            if (glyph == EGlyph::Import)
                Arrow(p, {8, 1}, {8, 11}, green);
            else
                Arrow(p, {8, 12}, {8, 1}, blue);
            break;
        case EGlyph::Run:
            p.setPen(Qt::NoPen);
            p.setBrush(green);
            p.drawPolygon(QPolygonF{{3, 2}, {14, 8}, {3, 14}});
            break;
        case EGlyph::Stop:
            p.setPen(Qt::NoPen);
            p.setBrush(red);
            p.drawRect(QRectF(3, 3, 10, 10));
            break;
        case EGlyph::Pause:
            p.setPen(Qt::NoPen);
            p.setBrush(blue);
            p.drawRect(QRectF(3, 2, 4, 12));
            p.drawRect(QRectF(9, 2, 4, 12));
            break;
        case EGlyph::Step:
            p.setPen(Qt::NoPen);
            p.setBrush(green);
            p.drawPolygon(QPolygonF{{2, 2}, {10, 8}, {2, 14}});
            p.drawRect(QRectF(11, 2, 3, 12));
            break;
        case EGlyph::Reset:
            pen(blue, 2);
            p.drawArc(QRectF(2, 2, 12, 12), 90 * 16, 270 * 16);
            p.drawPolyline(QPolygonF{{6, 0}, {8, 2}, {6, 4}});
            break;
        case EGlyph::Connect:
        case EGlyph::Disconnect: {
            const QColor c = glyph == EGlyph::Connect ? blue : red;
            pen(c, 1.6);
            if (glyph == EGlyph::Connect) {
                p.drawLine(QPointF(4, 12), QPointF(12, 4));
            } else {
                p.drawLine(QPointF(4, 12), QPointF(7, 9));
                p.drawLine(QPointF(9, 7), QPointF(12, 4));
            }
            p.setBrush(c);
            p.drawEllipse(QPointF(3.5, 12.5), 2.2, 2.2);
            p.drawEllipse(QPointF(12.5, 3.5), 2.2, 2.2);
            break;
        }
        case EGlyph::Chart:
            pen(ink);
            p.drawPolyline(QPolygonF{{1, 1}, {1, 15}, {15, 15}});
            pen(blue, 1.6);
            p.drawPolyline(QPolygonF{{3, 12}, {6, 7}, {9, 10}, {14, 3}});
            break;
        case EGlyph::Value:
            pen(ink);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1, 4, 14, 8));
            p.setFont(QFont(QStringLiteral("DejaVu Sans"), 5, QFont::Bold));
            p.drawText(QRectF(1, 4, 14, 8), Qt::AlignCenter, QStringLiteral("1.2"));
            break;
        case EGlyph::Colour:
            p.setPen(Qt::NoPen);
            p.setBrush(red);
            p.drawEllipse(QPointF(5.5, 6), 4, 4);
            p.setBrush(green);
            p.drawEllipse(QPointF(10.5, 6), 4, 4);
            p.setBrush(blue);
            p.drawEllipse(QPointF(8, 10.5), 4, 4);
            break;
        case EGlyph::Grid:
            pen(ink, 1);
            for (double x : {2.0, 6.0, 10.0, 14.0}) {
                p.drawLine(QPointF(x, 2), QPointF(x, 14));
                p.drawLine(QPointF(2, x), QPointF(14, x));
            }
            break;
        case EGlyph::Text:
            p.setPen(ink);
            p.setFont(QFont(QStringLiteral("DejaVu Serif"), 12, QFont::Bold));
            p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("A"));
            break;
        case EGlyph::Align:
            pen(ink, 1.6);
            for (int i = 0; i < 4; ++i)
                p.drawLine(QPointF(2, 3 + i * 3.3), QPointF(i % 2 ? 10 : 14, 3 + i * 3.3));
            break;
        case EGlyph::Show:
            pen(ink);
            p.drawEllipse(QRectF(1, 4, 14, 8));
            p.setBrush(blue);
            p.drawEllipse(QPointF(8, 8), 2.5, 2.5);
            break;
        case EGlyph::Module:
            pen(blue.darker());
            p.setBrush(QColor(0xDD, 0xE8, 0xF6));
            p.drawRoundedRect(QRectF(3, 2, 10, 12), 1.5, 1.5);
            p.setBrush(blue);
            for (double y : {5.0, 10.0}) {
                p.drawRect(QRectF(1, y - 1, 2, 2));
                p.drawRect(QRectF(13, y - 1, 2, 2));
            }
            break;
        case EGlyph::Help:
            p.setPen(Qt::NoPen);
            p.setBrush(blue);
            p.drawEllipse(QRectF(1, 1, 14, 14));
            p.setPen(Qt::white);
            p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9, QFont::Bold));
            p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
            break;
        case EGlyph::Letter:
            pen(ink.lighter(150));
            p.setBrush(QColor(0xE8, 0xEC, 0xF2));
            p.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
            p.setPen(ink);
            p.setFont(QFont(QStringLiteral("DejaVu Sans"), 8, QFont::Bold));
            p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QString(letter));
            break;
    }
}

QPixmap GlyphPixmap(EGlyph glyph, QChar letter, int size, double ratio) {
    QPixmap pm(QSize(size, size) * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    Draw(p, glyph, letter);
    return pm;
}

}  // namespace

QIcon CommandIcon(const char* ident, const QString& label) {
    const EGlyph glyph = CommandGlyph(ident ? ident : "");
    const QChar letter = label.isEmpty() ? QChar('?') : label.at(0).toUpper();
    QIcon icon;
    for (int size : {kSmallIcon, kLargeIcon})
        for (double ratio : {1.0, 2.0}) icon.addPixmap(GlyphPixmap(glyph, letter, size, ratio));
    return icon;
}

// --- a panel ------------------------------------------------------------------------

CRibbonPanel::CRibbonPanel(const QString& title, QWidget* parent) : QFrame(parent), m_title(title) {
    setObjectName(QStringLiteral("RibbonPanel"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(3, 1, 3, 0);
    column->setSpacing(0);
    m_content = new QWidget(this);
    m_grid = new QGridLayout(m_content);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setHorizontalSpacing(2);
    m_grid->setVerticalSpacing(0);
    m_drop = new QToolButton(this);
    m_drop->setText(title + QStringLiteral(" \u25BE"));
    m_drop->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_drop->setIconSize(QSize(kLargeIcon, kLargeIcon));
    m_drop->setAutoRaise(true);
    m_drop->setToolTip(title);
    m_drop->hide();
    connect(m_drop, &QToolButton::clicked, this, &CRibbonPanel::ShowDropDown);
    m_caption = new QLabel(title, this);
    m_caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_caption->setObjectName(QStringLiteral("RibbonCaption"));
    column->addWidget(m_content, 0, Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(m_drop, 0, Qt::AlignHCenter | Qt::AlignTop);
    column->addStretch(1);
    column->addWidget(m_caption);
    m_popup = new QFrame(this, Qt::Popup);
    m_popup->setFrameShape(QFrame::StyledPanel);
    auto* popupLayout = new QVBoxLayout(m_popup);
    popupLayout->setContentsMargins(4, 4, 4, 4);
}

void CRibbonPanel::AddItem(QWidget* item, bool button) {
    m_items.emplace_back(item, button);
    if (auto* b = qobject_cast<QToolButton*>(item); b && button) {
        // A command run from the drop-down closes it, as a menu would.
        connect(b, &QToolButton::clicked, m_popup, &QWidget::hide);
        if (m_drop->icon().isNull()) m_drop->setIcon(b->icon());
    }
    m_measured = false;
    LayOut(m_size);
}

void CRibbonPanel::LayOut(EPanelSize size) {
    while (QLayoutItem* item = m_grid->takeAt(0)) delete item;
    int row = 0, col = 0;
    for (auto [widget, button] : m_items) {
        auto* b = button ? qobject_cast<QToolButton*>(widget) : nullptr;
        if (b && size == EPanelSize::Large) {
            if (row > 0) ++col;
            row = 0;
            b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            b->setIconSize(QSize(kLargeIcon, kLargeIcon));
            m_grid->addWidget(b, 0, col++, kRows, 1, Qt::AlignTop);
            continue;
        }
        if (b) {
            b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            b->setIconSize(QSize(kSmallIcon, kSmallIcon));
        }
        m_grid->addWidget(widget, row, col, Qt::AlignLeft | Qt::AlignVCenter);
        if (++row == kRows) {
            row = 0;
            ++col;
        }
    }
    auto* column = static_cast<QVBoxLayout*>(layout());
    const bool collapsed = size == EPanelSize::Collapsed;
    if (collapsed && m_content->parent() != m_popup) {
        column->removeWidget(m_content);
        m_popup->layout()->addWidget(m_content);
        m_content->show();
    } else if (!collapsed && m_content->parent() != this) {
        m_popup->layout()->removeWidget(m_content);
        m_content->setParent(this);
        column->insertWidget(0, m_content, 0, Qt::AlignLeft | Qt::AlignTop);
        m_content->show();
    }
    m_drop->setVisible(collapsed);
    m_size = size;
    m_grid->invalidate();
    column->invalidate();
    m_content->updateGeometry();
}

void CRibbonPanel::SetSize(EPanelSize size) {
    if (size != m_size) LayOut(size);
}

const CPanelWidths& CRibbonPanel::Widths() {
    if (m_measured) return m_widths;
    ensurePolished();
    const EPanelSize kept = m_size;
    auto measure = [this](EPanelSize size) {
        LayOut(size);
        // Asked of the parts themselves: the panel's own layout keeps the sizes it saw last.
        const int inner =
            size == EPanelSize::Collapsed ? m_drop->sizeHint().width() : m_grid->sizeHint().width();
        const QMargins m = layout()->contentsMargins();
        return std::max(inner, m_caption->sizeHint().width()) + m.left() + m.right();
    };
    m_widths = {measure(EPanelSize::Large), measure(EPanelSize::Small), measure(EPanelSize::Collapsed)};
    LayOut(kept);
    m_measured = true;
    return m_widths;
}

void CRibbonPanel::ShowDropDown() {
    m_popup->adjustSize();
    m_popup->move(m_drop->mapToGlobal(QPoint(0, m_drop->height())));
    m_popup->show();
}

// --- the ribbon ------------------------------------------------------------------------

CRibbon::CRibbon(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Ribbon"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_tabs = new QTabBar(this);
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    m_tabs->setElideMode(Qt::ElideNone);
    m_tabs->setUsesScrollButtons(true);
    m_pages = new QStackedWidget(this);
    column->addWidget(m_tabs);
    column->addWidget(m_pages);
    // Three rows of fields and the captions below them, in every size.
    const int line = fontMetrics().height();
    m_pages->setFixedHeight(kRows * (line + 10) + line + 8);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumWidth(1);
    // A checked toggle reads as pressed in every style, not only as a faint frame.
    setStyleSheet(QStringLiteral(
        "QToolButton:checked { background: palette(highlight); color: palette(highlighted-text);"
        " border: 1px solid palette(dark); border-radius: 3px; }"
        "QFrame#RibbonPanel { border-right: 1px solid palette(mid); }"
        "QLabel#RibbonCaption { color: palette(dark); }"));
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int i) {
        if (i < 0) return;
        if (!m_context[i]) m_lastRegular = i;
        m_pages->setCurrentIndex(i);
        Fit();
    });
}

int CRibbon::AddCategory(const QString& tab, bool context) {
    auto* page = new QWidget;
    // The panels shrink to the width instead of widening the window.
    page->setMinimumWidth(1);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(kPanelGap);
    row->addStretch(1);
    m_rows.push_back(row);
    m_pages->addWidget(page);
    m_context.push_back(context);
    m_shown.push_back(!context);
    const int index = m_tabs->addTab(tab);
    if (context) m_tabs->setTabVisible(index, false);
    return index;
}

CRibbonPanel* CRibbon::Panel(int category, const QString& title) {
    for (CRibbonPanel* p : Panels(category))
        if (p->Title() == title) return p;
    QHBoxLayout* row = m_rows[category];
    auto* panel = new CRibbonPanel(title, row->parentWidget());
    row->insertWidget(row->count() - 1, panel);
    return panel;
}

std::vector<CRibbonPanel*> CRibbon::Panels(int category) const {
    std::vector<CRibbonPanel*> out;
    QHBoxLayout* row = m_rows[category];
    for (int i = 0; i < row->count(); ++i)
        if (auto* p = qobject_cast<CRibbonPanel*>(row->itemAt(i)->widget())) out.push_back(p);
    return out;
}

void CRibbon::SetShown(const std::vector<bool>& shown) {
    if (shown == m_shown) return;
    m_shown = shown;
    for (int i = 0; i < m_tabs->count(); ++i)
        if (shown[i]) m_tabs->setTabVisible(i, true);
    const int current = m_tabs->currentIndex();
    const int next = CategoryAfterChange(current, m_lastRegular, shown);
    // Chosen before hiding, or the tab bar would pick a neighbour of its own.
    if (next >= 0 && next != current) m_tabs->setCurrentIndex(next);
    for (int i = 0; i < m_tabs->count(); ++i)
        if (!shown[i]) m_tabs->setTabVisible(i, false);
    // Showing a tab leaves the bar's tab rectangles as they were until its next
    // layout; setting the elide mode lays the tabs out again now.
    m_tabs->setElideMode(Qt::ElideNone);
}

QStringList CRibbon::ShownTabs() const {
    QStringList tabs;
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->isTabVisible(i)) tabs << m_tabs->tabText(i);
    return tabs;
}

void CRibbon::Fit() {
    const int index = m_pages->currentIndex();
    if (index < 0) return;
    const std::vector<CRibbonPanel*> panels = Panels(index);
    std::vector<CPanelWidths> widths;
    widths.reserve(panels.size());
    for (CRibbonPanel* p : panels) widths.push_back(p->Widths());
    const QMargins m = m_rows[index]->contentsMargins();
    const std::vector<EPanelSize> sizes = FitRibbonPanels(widths, width() - m.left() - m.right(), kPanelGap);
    bool changed = false;
    for (size_t i = 0; i < panels.size(); ++i) {
        if (panels[i]->Size() == sizes[i]) continue;
        panels[i]->SetSize(sizes[i]);
        panels[i]->layout()->activate();
        panels[i]->updateGeometry();
        changed = true;
    }
    // Laid out now, not after the next round of events, so that no panel is
    // ever shown squeezed below its width.
    if (changed) {
        m_rows[index]->invalidate();
        m_rows[index]->activate();
    }
}

void CRibbon::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Fit();
}

}  // namespace zor2::gui
