// CMiniview: the whole system (or the designed module) drawn small, with a
// rectangle for the part the main view shows; a click scrolls the main view.
#pragma once

#include <QWidget>

#include "designer/view_geometry.h"

namespace zor2::gui {

class CDesignView;

class CMiniview : public QWidget {
    Q_OBJECT
  public:
    explicit CMiniview(CDesignView& view, QWidget* parent = nullptr);

    /// The model rectangle the miniview shows (every object plus the visible part).
    QRectF WorldBounds() const;
    /// Model point under a miniview point, and back.
    QPointF ToWorld(const QPointF& local) const;
    QPointF ToLocal(const QPointF& world) const;
    QSize sizeHint() const override { return QSize(220, 160); }

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;

  private:
    double Scale(const QRectF& bounds) const;
    /// Model to miniview: the world bounds scaled into the widget inside its margin.
    CViewTransform Transform() const;

    CDesignView& m_view;
};

}  // namespace zor2::gui
