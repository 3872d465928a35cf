#include "app/frmTerView.h"

#include "app/Zoom.h"

#include <QMouseEvent>
#include <QPainter>

TerrainView::TerrainView(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void TerrainView::setImage(const QImage& img)
{
    m_image = img;
    update();
}

void TerrainView::setViewSide(int pixels)
{
    setFixedSize(pixels, pixels);
    update();
}

QPointF TerrainView::toTerrain(QPointF pixel) const
{
    return Zoom::viewToTerrain(pixel, m_size, width());
}

void TerrainView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_image.isNull()) {
        p.fillRect(rect(), Qt::black);
    } else {
        // Shrunk views average neighbouring points; enlarged ones show each point as a block.
        const bool shrinking = width() < m_image.width();
        p.setRenderHint(QPainter::SmoothPixmapTransform, shrinking);
        p.drawImage(rect(), m_image);
    }
    if (overlay) overlay(p);
}

void TerrainView::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event->button(), event->modifiers(), toTerrain(event->position()));
}

void TerrainView::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMove(event->buttons(), event->modifiers(), toTerrain(event->position()));
}

void TerrainView::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseUp(event->button(), event->modifiers(), toTerrain(event->position()));
}

void TerrainView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}
