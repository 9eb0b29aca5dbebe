// CDesignView: the main view in its two modes — the system view (modules
// between the system inputs and outputs bars) and the module design view
// (components between the module's inputs and outputs bars) — with zoom,
// scrolling and the mouse and keyboard gestures over the core layout.
#pragma once

#include <QAbstractScrollArea>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>

#include "designer/commands_graphics.h"
#include "designer/connect_preview.h"
#include "designer/context_menus.h"
#include "designer/gui/gui_actions.h"
#include "designer/gui/paint_layer.h"
#include "designer/view_hit.h"
#include "designer/view_layout.h"

namespace zor2::gui {

/// Drag-and-drop format of a palette entry: the component type id as text.
inline constexpr const char* kComponentMime = "application/x-zor2-component-type";

/// What the view asks of its window (dialogs, mode changes, menus).
struct CViewHost {
    std::function<void()> modeChanged;
    std::function<void()> selectionChanged;
    std::function<void()> modelChanged;
    std::function<void(const CHit&)> editObject;  // double click that opens a dialog
    /// A context-menu item chosen on an object (the object is the selection).
    std::function<void(const CHit&, const CMenuAction&)> runMenuAction;
    std::function<bool(const CMenuAction&)> menuActionAvailable;
    std::function<bool()> simulationActive;
};

class CDesignView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    CDesignView(CGuiActions& actions, CViewHost host, QWidget* parent = nullptr);

    // Mode.
    void ShowSystem();
    void ShowModule(CNetwork* module);
    /// The module being designed, or null in the system view.
    CNetwork* Module() const;
    bool IsSystemView() const { return Module() == nullptr; }
    /// Whether the editor state has the object selected.
    bool IsSelected(const CHit& hit) const;
    /// After the document was replaced (open, new, undo): back to a valid mode.
    void DocumentReplaced();

    /// The display options the view draws with: the editor state's, which the
    /// commands and the settings change.
    CViewOptions& Options() { return m_actions.Editor().m_options; }
    const CViewOptions& Options() const { return m_actions.Editor().m_options; }
    CEditorState& Editor() const { return m_actions.Editor(); }
    CSystem& System() const { return m_actions.System(); }
    /// The box a module shows in the system view.
    QRectF ModuleBox(const CNetwork& m) const;
    /// Scrolls so that a model point is at the centre of the viewport.
    void ScrollToCentre(const QPointF& world);
    double Zoom() const { return m_zoom; }
    void SetZoom(double zoom);
    /// The model point at the viewport's top-left corner.
    QPointF Scroll() const { return m_scroll; }
    /// Returns to a zoom and scroll position taken before.
    void SetPlace(double zoom, QPointF scroll);
    /// The model rectangle of everything the current mode shows.
    QRectF ContentBounds() const;
    /// Zooms and scrolls so that everything the current mode shows fits between
    /// the bars; `anyZoom` allows zooming out further than the mouse can (printing).
    void FitContent(bool anyZoom = false);
    void CenterView();

    /// The object under a viewport point.
    CHit HitTest(const QPoint& viewportPos) const;
    /// Viewport point of the centre of an object (for tests and scripted gestures).
    QPoint CentreOf(const CHit& hit) const;
    QPointF ToWorld(const QPointF& viewportPos) const;
    QPointF ToViewport(const QPointF& worldPos) const;

    /// The context menu of an object, built as it opens (items and submenus).
    QMenu* BuildContextMenu(const CHit& hit, QWidget* parent);
    /// The items that menu is built from: "-" separates, ">Name" opens and "<"
    /// closes a submenu. Empty for objects without a menu.
    static QStringList ContextMenuItems(const CHit& hit);
    /// The items of a component box's menu of the given kind.
    static const QStringList& ComponentMenuItems(EComponentMenu menu);
    /// Drawing order of the modules.
    std::vector<CNetwork*> ModulesInDrawOrder() const;

    /// A palette entry dropped at a viewport point: the component is created
    /// there in the module being designed. False when nothing was created.
    bool DropMime(const QMimeData* mime, const QPoint& at);

    void ClearSelection();
    void SelectAllComponents();
    /// The graphics the graphic context menu's "Copy" took (its "Paste" pastes them).
    CGraphicClipboard& GraphicClipboard() { return m_clipboard; }
    /// Runs a context-menu item on an object as choosing it in the menu does.
    void RunMenuItem(const CHit& hit, const QString& item);
    /// While a right-button drag draws a wire: the verdict on the object under the cursor.
    std::optional<CConnectPreview> WirePreview() const;
    /// Why the last connection was refused, shown beside the cursor for a moment; empty when none.
    QString ConnectHint() const { return m_hint; }

    /// Repaints after an edit: the still layer (grid, graphics, connections) is
    /// drawn afresh. A plain viewport update, as a simulation cycle asks for,
    /// reuses it while the view and the drawn objects are as they were.
    void Redraw();
    /// Whether the still layer is kept between paints (on unless a test compares).
    void SetStillLayerKept(bool kept);
    /// How often the still layer was drawn afresh.
    int StillLayerDraws() const { return m_still.Draws(); }

  signals:
    void statusMessage(const QString& text);
    /// The visible part or the mode changed (the miniview follows).
    void viewChanged();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void dragEnterEvent(QDragEnterEvent*) override;
    void dragMoveEvent(QDragMoveEvent*) override;
    void dropEvent(QDropEvent*) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent*) override;
    bool viewportEvent(QEvent* e) override;

  private:
    /// The core layout of the current mode at the current zoom and scroll.
    CViewLayout Layout() const;

    /// The object under the cursor becomes the selection and the item's row runs.
    void RunMenuAction(const CHit& hit, const CMenuAction& action);

    /// A press or double click on a running user control operates it; false for anything else.
    bool OperateControl(const CHit& hit, const QPointF& world);
    void PressLeft(QMouseEvent* e, const CHit& hit);
    void FinishRectangle(Qt::KeyboardModifiers mods);
    void RightGesture(const CHit& source, const CHit& target, const QPoint& at);
    bool Connect(const CHit& source, const CHit& target);
    void DoubleClick(const CHit& hit, const QPointF& world);
    void SelectHit(const CHit& hit, bool add);
    void PaintWire(QPainter& p, const CViewLayout& layout);
    void UpdateScrollRange();
    /// Tells the editor which part of the model is visible (new modules go to its centre).
    void UpdateVisible();
    void Changed();

    CGuiActions& m_actions;
    CViewHost m_host;
    double m_zoom = 1.0;
    QPointF m_scroll{0, 0};  // world point at the viewport's top-left

    // Gesture state.
    CHit m_pressHit;
    CHit m_rightSource;
    QPointF m_pressWorld;
    QPoint m_pressViewport;
    bool m_dragging = false;
    bool m_rubberBand = false;
    bool m_wiring = false;  // a right-button drag from an object that connects
    QPointF m_wireEnd;      // viewport
    QString m_hint;
    QPointF m_hintAt;
    QTimer m_hintTimer;
    CGraphicClipboard m_clipboard;  // graphics copied from the graphic context menu
    QRectF m_rubberRect;            // viewport coordinates
    QPointF m_lastMoveWorld;

    CStillLayer m_still;
    CKeptLabels m_labels;
    // Whether the still layer holds the components that no cycle changes, judged once per key.
    std::optional<CLayerKey> m_splitKey;
    bool m_split = false;
    bool m_stillKept = true;
    uint64_t m_revision = 0;  // every edit the view hears of draws the still layer afresh
};

}  // namespace zor2::gui
