// The widget with a persistent image: when to render, and how to show the image.
#include "host/vcl/BackingImageWidget.h"

#include <QPaintEvent>
#include <QPainter>

BackingImageWidget::BackingImageWidget(QWidget* parent)
    : QWidget(parent), FCanvas(std::make_unique<TCanvas>(FImage))
{
    // Drawing outside a render reaches the screen by the next paint event.
    FCanvas->OnChange = [this] {
        if (!FRendering)
            update();
    };
    // Every pixel comes from the image: Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

BackingImageWidget::~BackingImageWidget()
{
    FCanvas.reset();
}

TCanvas& BackingImageWidget::canvas()
{
    followWidgetSize();
    return *FCanvas;
}

void BackingImageWidget::followWidgetSize()
{
    // A hidden widget gets its resize event only when shown, so the size is compared here too.
    if (FImage.size() == size())
        return;
    FCanvas->SetImageSize(width(), height());
    FRenderPending = true;
}

void BackingImageWidget::runRender()
{
    followWidgetSize();
    FRenderPending = false;
    FRendering = true;
    FCanvas->ChangeNotificationSuspended = true;
    renderImage(*FCanvas);
    FCanvas->ChangeNotificationSuspended = false;
    FRendering = false;
}

void BackingImageWidget::renderNow()
{
    // Asked from inside a render, the render under way is the one asked for.
    if (FRendering)
        return;
    runRender();
    update();
}

void BackingImageWidget::requestRender()
{
    FRenderPending = true;
    update();
}

void BackingImageWidget::paintEvent(QPaintEvent* Event)
{
    followWidgetSize();
    if (FRenderPending && !FRendering)
        runRender();
    QPainter Painter(this);
    // On a scaled (high-density) device the image is enlarged by repeating pixels, never smoothed.
    Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect Area = Event->rect() & rect();
    Painter.drawImage(Area, FImage, Area);
}

void BackingImageWidget::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    followWidgetSize();
}

void BackingImageWidget::showEvent(QShowEvent* Event)
{
    QWidget::showEvent(Event);
    requestRender();
}
