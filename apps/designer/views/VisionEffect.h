#pragma once
// Shows a widget as seen with a colour vision deficiency: the widget paints as always, and the
// effect passes what it painted through the simulation (ColorVision.h) on its way to the screen.
// Only what is shown changes; no value of the form, nothing saved.

#include "core/ColorVision.h"

#include <QGraphicsEffect>

class VisionEffect : public QGraphicsEffect {
    Q_OBJECT
public:
    explicit VisionEffect(QObject* parent = nullptr);
    Vision vision() const { return m_vision; }
    void setVision(Vision vision);

protected:
    void draw(QPainter* painter) override;

private:
    Vision m_vision = Vision::Normal;
};
