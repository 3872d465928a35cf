#pragma once
// Picture1, the height-map view: shows its picture stretched over the whole
// widget and reports mouse positions in terrain points (0 .. Size across).

#include <QImage>
#include <QPointF>
#include <QWidget>

#include <functional>

class TerrainView : public QWidget {
    Q_OBJECT
public:
    explicit TerrainView(QWidget* parent = nullptr);

    // The picture shown, one pixel per terrain point.
    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }
    void setImage(const QImage& img);

    // The terrain's Size: mouse positions are scaled to 0 .. size.
    void setTerrainSize(int size) { m_size = size; }
    int terrainSize() const { return m_size; }
    // Side of the view in pixels.
    void setViewSide(int pixels);

    // Converts a widget position into terrain coordinates.
    QPointF toTerrain(QPointF pixel) const;

    // Drawn over the picture (brush cursor, selection frame), in widget pixels.
    std::function<void(QPainter&)> overlay;

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF point);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage m_image;
    int m_size = 256;
};
