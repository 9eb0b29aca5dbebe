// CRibbon: the category tabs over pages of panels that shrink step by step as
// the window narrows (large buttons, small buttons, a drop-down), and the
// icons of the commands, drawn here.
#pragma once

#include <QFrame>
#include <QIcon>
#include <QTabBar>
#include <vector>

#include "designer/ribbon_fit.h"

class QGridLayout;
class QLabel;
class QStackedWidget;
class QToolButton;
class QHBoxLayout;

namespace zor2::gui {

/// The icon of a command: its glyph, or its label's first letter on a tile.
QIcon CommandIcon(const char* ident, const QString& label);

/// One panel of a category: its buttons and fields, and its caption below.
class CRibbonPanel : public QFrame {
    Q_OBJECT
  public:
    CRibbonPanel(const QString& title, QWidget* parent);
    /// Buttons change their shape with the panel's size; fields keep theirs.
    void AddItem(QWidget* item, bool button);
    void SetSize(EPanelSize size);
    EPanelSize Size() const { return m_size; }
    /// The width in each size (measured once, after the last item).
    const CPanelWidths& Widths();
    QToolButton* DropButton() const { return m_drop; }
    QString Title() const { return m_title; }

  private:
    void LayOut(EPanelSize size);
    void ShowDropDown();

    QString m_title;
    QWidget* m_content;
    QGridLayout* m_grid;
    QToolButton* m_drop;
    QLabel* m_caption;
    QFrame* m_popup;
    std::vector<std::pair<QWidget*, bool>> m_items;
    EPanelSize m_size = EPanelSize::Small;
    CPanelWidths m_widths;
    bool m_measured = false;
};

class CRibbon : public QWidget {
    Q_OBJECT
  public:
    explicit CRibbon(QWidget* parent = nullptr);
    /// A category's tab and page; a context category shows only when asked.
    int AddCategory(const QString& tab, bool context);
    CRibbonPanel* Panel(int category, const QString& title);
    /// Shows or hides categories; the current one stays unless hidden, and a
    /// hidden context category gives way to the category current before it.
    void SetShown(const std::vector<bool>& shown);
    QTabBar* Tabs() const { return m_tabs; }
    std::vector<CRibbonPanel*> Panels(int category) const;
    QStringList ShownTabs() const;
    /// Shrinks or widens the current page's panels to the ribbon's width.
    void Fit();

  protected:
    void resizeEvent(QResizeEvent* e) override;

  private:
    QTabBar* m_tabs;
    QStackedWidget* m_pages;
    std::vector<bool> m_context;
    std::vector<bool> m_shown;
    std::vector<QHBoxLayout*> m_rows;
    int m_lastRegular = 0;
};

}  // namespace zor2::gui
