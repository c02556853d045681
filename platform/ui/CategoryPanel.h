// A scrolling column of collapsible panels: each panel has a header bar with a caption, an
// optional image and a chevron, and a client surface below it for the panel's controls.
// Clicking a header collapses or expands its panel; panels are stacked top to bottom in the
// group's order and restacked whenever one is shown, hidden, resized, collapsed or expanded.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QScrollArea>
#include <QString>
#include <QWidget>

#include <functional>

class TCategoryPanelGroup;

class TCategoryPanel : public QWidget
{
    Q_OBJECT

public:
    // The panel appends itself to the group's order.
    explicit TCategoryPanel(TCategoryPanelGroup *group);
    ~TCategoryPanel() override;

    TCategoryPanelGroup *PanelGroup() const { return m_group; }

    // Controls go on the surface; their positions are relative to it (below the header).
    QWidget *Surface() const { return m_surface; }

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);

    // Height of the expanded panel, header included. While collapsed the panel shows only its
    // header and keeps this value for the next expansion.
    int FullHeight() const { return m_fullHeight; }
    void SetHeight(int height);
    // The height the panel takes in the group now.
    int Height() const;
    int Top() const { return y(); }

    bool Collapsed() const { return m_collapsed; }
    void SetCollapsed(bool collapsed);
    void Expand() { SetCollapsed(false); }
    void Collapse() { SetCollapsed(true); }

    // Background of the surface.
    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);

    // Whether the pointer is over the header (the chevron then shows in the hot colour).
    bool HeaderHot() const { return m_hot; }
    QRect HeaderRect() const;

    std::function<void(TCategoryPanel *)> OnExpand;
    std::function<void(TCategoryPanel *)> OnCollapse;

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    friend class TCategoryPanelGroup;
    void applyHeight();
    void setHot(bool hot);
    void groupGone() { m_group = nullptr; }

    TCategoryPanelGroup *m_group;
    QWidget *m_surface;
    QString m_caption;
    QColor m_color;
    int m_fullHeight = 200;
    bool m_collapsed = false;
    bool m_hot = false;
};

class TCategoryPanelGroup : public QScrollArea
{
    Q_OBJECT

public:
    explicit TCategoryPanelGroup(QWidget *parent = nullptr);
    ~TCategoryPanelGroup() override;

    // Every panel in stacking order, hidden ones included.
    QList<TCategoryPanel *> Panels() const { return m_panels; }
    // The shown panels in stacking order.
    QList<TCategoryPanel *> VisiblePanels() const;
    // Puts these panels first, in this order; the others follow in their previous order.
    void SetPanelOrder(const QList<TCategoryPanel *> &order);

    // Height of every panel header.
    int HeaderHeight() const { return m_headerHeight; }
    void SetHeaderHeight(int height);

    QFont HeaderFont() const { return m_headerFont; }
    void SetHeaderFont(const QFont &font);
    QColor HeaderFontColor() const { return m_headerFontColor; }
    void SetHeaderFontColor(const QColor &color);

    // Qt::AlignLeft or Qt::AlignRight.
    Qt::Alignment ChevronAlignment() const { return m_chevronAlignment; }
    void SetChevronAlignment(Qt::Alignment alignment);
    QColor ChevronColor() const { return m_chevronColor; }
    void SetChevronColor(const QColor &color);
    QColor ChevronHotColor() const { return m_chevronHotColor; }
    void SetChevronHotColor(const QColor &color);

    // The header is shaded from the base colour at the top to the gradient colour at the bottom.
    QColor GradientBaseColor() const { return m_gradientBase; }
    void SetGradientBaseColor(const QColor &color);
    QColor GradientColor() const { return m_gradient; }
    void SetGradientColor(const QColor &color);

    // Images drawn at the header's left for an expanded and a collapsed panel; null: none.
    void SetHeaderImages(const QPixmap &expanded, const QPixmap &collapsed);
    QPixmap ExpandedImage() const { return m_expandedImage; }
    QPixmap CollapsedImage() const { return m_collapsedImage; }

    // One line of the vertical scroll bar up or down, then the end of the scroll.
    void ScrollLine(bool up);
    int ScrollPosition() const;

    // Places the shown panels one below the other from the top, in stacking order.
    void Restack();

private:
    friend class TCategoryPanel;
    void addPanel(TCategoryPanel *panel);
    void removePanel(TCategoryPanel *panel);
    void repaintHeaders();

protected:
    bool viewportEvent(QEvent *e) override;

private:
    QWidget *m_content;
    QList<TCategoryPanel *> m_panels;
    int m_headerHeight = 24;
    QFont m_headerFont;
    QColor m_headerFontColor = Qt::black;
    Qt::Alignment m_chevronAlignment = Qt::AlignRight;
    QColor m_chevronColor = Qt::black;
    QColor m_chevronHotColor = Qt::gray;
    QColor m_gradientBase = QColor(0xF0, 0xF0, 0xF0);
    QColor m_gradient = QColor(0xD8, 0xD8, 0xD8);
    QPixmap m_expandedImage;
    QPixmap m_collapsedImage;
    bool m_restacking = false;
};
