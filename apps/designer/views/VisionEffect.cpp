#include "views/VisionEffect.h"

#include "core/SimulatedImage.h"

#include <QPainter>

VisionEffect::VisionEffect(QObject* parent) : QGraphicsEffect(parent)
{
    // With normal vision the widget paints straight to the screen, as with no effect at all.
    setEnabled(false);
}

void VisionEffect::setVision(Vision vision)
{
    if (vision == m_vision)
        return;
    m_vision = vision;
    setEnabled(vision != Vision::Normal);
    update();
}

void VisionEffect::draw(QPainter* painter)
{
    if (m_vision == Vision::Normal) {
        drawSource(painter);
        return;
    }
    // The widget's own pixels, in device coordinates so that a high-density screen keeps its
    // detail, simulated and put back where they came from.
    QPoint offset;
    const QPixmap painted = sourcePixmap(Qt::DeviceCoordinates, &offset, QGraphicsEffect::NoPad);
    if (painted.isNull())
        return;
    QImage image = painted.toImage();
    simulateImage(m_vision, image);
    painter->save();
    painter->setWorldTransform(QTransform());
    painter->drawImage(offset, image);
    painter->restore();
}
