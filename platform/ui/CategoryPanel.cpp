#include "platform/ui/CategoryPanel.h"

#include <QEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TCategoryPanel

TCategoryPanel::TCategoryPanel(TCategoryPanelGroup *group)
    : QWidget(group ? group->widget() : nullptr), m_group(group), m_surface(new QWidget(this))
{
    setMouseTracking(true);
    m_surface->setAutoFillBackground(true);
    m_color = palette().color(QPalette::Window);
    if (m_group)
        m_group->addPanel(this);
    applyHeight();
}

TCategoryPanel::~TCategoryPanel()
{
    if (m_group)
        m_group->removePanel(this);
}

void TCategoryPanel::SetCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update(HeaderRect());
}

void TCategoryPanel::SetHeight(int height)
{
    const int minimum = m_group ? m_group->HeaderHeight() : 0;
    height = std::max(height, minimum);
    if (height == m_fullHeight)
        return;
    m_fullHeight = height;
    applyHeight();
}

int TCategoryPanel::Height() const
{
    if (m_collapsed)
        return m_group ? m_group->HeaderHeight() : 0;
    return m_fullHeight;
}

void TCategoryPanel::SetCollapsed(bool collapsed)
{
    if (collapsed == m_collapsed)
        return;
    m_collapsed = collapsed;
    applyHeight();
    update(HeaderRect());
    if (m_collapsed) {
        if (OnCollapse)
            OnCollapse(this);
    } else if (OnExpand) {
        OnExpand(this);
    }
}

void TCategoryPanel::SetColor(const QColor &color)
{
    m_color = color;
    QPalette pal = m_surface->palette();
    pal.setColor(QPalette::Window, color);
    m_surface->setPalette(pal);
    update();
}

QRect TCategoryPanel::HeaderRect() const
{
    return QRect(0, 0, width(), m_group ? m_group->HeaderHeight() : 0);
}

void TCategoryPanel::applyHeight()
{
    const int header = m_group ? m_group->HeaderHeight() : 0;
    m_surface->setVisible(!m_collapsed);
    resize(width(), Height());
    m_surface->setGeometry(0, header, width(), std::max(0, m_fullHeight - header));
    if (m_group)
        m_group->Restack();
}

void TCategoryPanel::setHot(bool hot)
{
    if (hot == m_hot)
        return;
    m_hot = hot;
    update(HeaderRect());
}

bool TCategoryPanel::event(QEvent *e)
{
    const bool result = QWidget::event(e);
    if ((e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent) && m_group)
        m_group->Restack();
    return result;
}

void TCategoryPanel::paintEvent(QPaintEvent *)
{
    if (!m_group)
        return;
    QPainter p(this);
    const QRect header = HeaderRect();
    QLinearGradient grad(header.topLeft(), header.bottomLeft());
    grad.setColorAt(0, m_group->GradientBaseColor());
    grad.setColorAt(1, m_group->GradientColor());
    p.fillRect(header, grad);
    p.setPen(m_group->GradientColor().darker(130));
    p.drawLine(header.bottomLeft(), header.bottomRight());

    const bool chevronLeft = m_group->ChevronAlignment() & Qt::AlignLeft;
    const int chevronSize = 9;
    int textLeft = 6;
    int textRight = header.right() - 6;

    // Chevron: two stacked arrows pointing up when expanded, down when collapsed.
    const int cx = chevronLeft ? 6 : header.right() - 6 - chevronSize;
    if (chevronLeft)
        textLeft += chevronSize + 6;
    else
        textRight -= chevronSize + 6;
    QPen pen(m_hot ? m_group->ChevronHotColor() : m_group->ChevronColor());
    pen.setWidth(2);
    p.setPen(pen);
    p.setRenderHint(QPainter::Antialiasing, true);
    const int cy = header.center().y();
    for (int k = 0; k < 2; ++k) {
        const int off = k * 4 - 4;
        if (m_collapsed) {
            p.drawLine(cx, cy + off, cx + chevronSize / 2, cy + off + 3);
            p.drawLine(cx + chevronSize / 2, cy + off + 3, cx + chevronSize, cy + off);
        } else {
            p.drawLine(cx, cy + off + 3, cx + chevronSize / 2, cy + off);
            p.drawLine(cx + chevronSize / 2, cy + off, cx + chevronSize, cy + off + 3);
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);

    const QPixmap image = m_collapsed ? m_group->CollapsedImage() : m_group->ExpandedImage();
    if (!image.isNull()) {
        p.drawPixmap(textLeft, header.top() + (header.height() - image.height()) / 2, image);
        textLeft += image.width() + 4;
    }

    p.setFont(m_group->HeaderFont());
    p.setPen(m_group->HeaderFontColor());
    const QRect textRect(textLeft, header.top(), std::max(0, textRight - textLeft),
                         header.height());
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               p.fontMetrics().elidedText(m_caption, Qt::ElideRight, textRect.width()));
}

void TCategoryPanel::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && HeaderRect().contains(e->position().toPoint())) {
        SetCollapsed(!m_collapsed);
        e->accept();
        return;
    }
    QWidget::mousePressEvent(e);
}

void TCategoryPanel::mouseMoveEvent(QMouseEvent *e)
{
    setHot(HeaderRect().contains(e->position().toPoint()));
    QWidget::mouseMoveEvent(e);
}

void TCategoryPanel::leaveEvent(QEvent *e)
{
    setHot(false);
    QWidget::leaveEvent(e);
}

void TCategoryPanel::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    const int header = m_group ? m_group->HeaderHeight() : 0;
    m_surface->setGeometry(0, header, width(), std::max(0, m_fullHeight - header));
}

// ---------------------------------------------------------------------------------------------
// TCategoryPanelGroup

TCategoryPanelGroup::TCategoryPanelGroup(QWidget *parent)
    : QScrollArea(parent), m_content(new QWidget)
{
    setWidget(m_content);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameShape(QFrame::NoFrame);
    verticalScrollBar()->setTracking(true);
    verticalScrollBar()->setSingleStep(8);
    m_headerFont.setBold(true);
}

TCategoryPanelGroup::~TCategoryPanelGroup()
{
    // The panels go with the content widget; they must not call back into a group half gone.
    for (TCategoryPanel *panel : std::as_const(m_panels))
        panel->groupGone();
    m_panels.clear();
}

QList<TCategoryPanel *> TCategoryPanelGroup::VisiblePanels() const
{
    QList<TCategoryPanel *> result;
    for (TCategoryPanel *panel : m_panels)
        if (!panel->isHidden())
            result.append(panel);
    return result;
}

void TCategoryPanelGroup::SetPanelOrder(const QList<TCategoryPanel *> &order)
{
    QList<TCategoryPanel *> rest = m_panels;
    QList<TCategoryPanel *> result;
    for (TCategoryPanel *panel : order) {
        if (rest.removeOne(panel))
            result.append(panel);
    }
    result.append(rest);
    m_panels = result;
    Restack();
}

void TCategoryPanelGroup::SetHeaderHeight(int height)
{
    if (height == m_headerHeight)
        return;
    m_headerHeight = height;
    for (TCategoryPanel *panel : std::as_const(m_panels))
        panel->applyHeight();
    Restack();
}

void TCategoryPanelGroup::SetHeaderFont(const QFont &font)
{
    m_headerFont = font;
    repaintHeaders();
}

void TCategoryPanelGroup::SetHeaderFontColor(const QColor &color)
{
    m_headerFontColor = color;
    repaintHeaders();
}

void TCategoryPanelGroup::SetChevronAlignment(Qt::Alignment alignment)
{
    m_chevronAlignment = alignment;
    repaintHeaders();
}

void TCategoryPanelGroup::SetChevronColor(const QColor &color)
{
    m_chevronColor = color;
    repaintHeaders();
}

void TCategoryPanelGroup::SetChevronHotColor(const QColor &color)
{
    m_chevronHotColor = color;
    repaintHeaders();
}

void TCategoryPanelGroup::SetGradientBaseColor(const QColor &color)
{
    m_gradientBase = color;
    repaintHeaders();
}

void TCategoryPanelGroup::SetGradientColor(const QColor &color)
{
    m_gradient = color;
    repaintHeaders();
}

void TCategoryPanelGroup::SetHeaderImages(const QPixmap &expanded, const QPixmap &collapsed)
{
    m_expandedImage = expanded;
    m_collapsedImage = collapsed;
    repaintHeaders();
}

void TCategoryPanelGroup::ScrollLine(bool up)
{
    QScrollBar *bar = verticalScrollBar();
    bar->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                          : QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderNoAction);
}

int TCategoryPanelGroup::ScrollPosition() const
{
    return verticalScrollBar()->value();
}

void TCategoryPanelGroup::Restack()
{
    // Moving panels fires their own events; one pass is enough.
    if (m_restacking)
        return;
    m_restacking = true;
    const int width = viewport()->width();
    int top = 0;
    for (TCategoryPanel *panel : std::as_const(m_panels)) {
        if (panel->isHidden())
            continue;
        panel->setGeometry(0, top, width, panel->Height());
        top += panel->Height();
    }
    m_content->resize(width, top);
    m_restacking = false;
}

void TCategoryPanelGroup::addPanel(TCategoryPanel *panel)
{
    m_panels.append(panel);
    panel->show();
    Restack();
}

void TCategoryPanelGroup::removePanel(TCategoryPanel *panel)
{
    m_panels.removeOne(panel);
    Restack();
}

void TCategoryPanelGroup::repaintHeaders()
{
    for (TCategoryPanel *panel : std::as_const(m_panels))
        panel->update(panel->HeaderRect());
}

bool TCategoryPanelGroup::viewportEvent(QEvent *e)
{
    // The viewport narrows when the scroll bar appears; the panels follow its width.
    if (e->type() == QEvent::Resize)
        Restack();
    return QScrollArea::viewportEvent(e);
}
