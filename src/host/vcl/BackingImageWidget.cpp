// The widget with a persistent image: when to render, and how to show the image.
#include "host/vcl/BackingImageWidget.h"

#include <QPaintEvent>
#include <QPainter>

#include <cstring>
#include <utility>
#include <vector>

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

void BackingImageWidget::setSeeThrough(bool Value)
{
    FSeeThrough = Value;
    FBackgroundStale = true;
    requestRender();
}

void BackingImageWidget::captureBackground()
{
    // Drawing the ancestors may deliver their pending move and resize events, which mark the
    // background stale again: it is then taken anew at the next render.
    FBackgroundStale = false;
    QImage Background(FImage.size(), FImage.format());
    if (Background.isNull())
        return;
    Background.fill(palette().color(backgroundRole()));
    // The ancestors from the window down to the parent, each drawn without its children (this
    // widget and its siblings) over the widget's rectangle, as the screen is built up beneath it.
    std::vector<QWidget*> Ancestors;
    for (QWidget* Ancestor = parentWidget(); Ancestor; Ancestor = Ancestor->parentWidget()) {
        Ancestors.push_back(Ancestor);
        if (Ancestor->isWindow())
            break;
    }
    QPainter Painter(&Background);
    for (auto It = Ancestors.rbegin(); It != Ancestors.rend(); ++It) {
        QWidget* Ancestor = *It;
        const QRect Beneath(mapTo(Ancestor, QPoint(0, 0)), size());
        // Only a window or a widget that fills its background draws one; the others are
        // transparent where they draw nothing.
        const bool Fills = Ancestor->isWindow() || Ancestor->autoFillBackground();
        Ancestor->render(&Painter, QPoint(0, 0), QRegion(Beneath),
                         Fills ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
    }
    Painter.end();
    FBackground = std::move(Background);
}

void BackingImageWidget::runRender()
{
    followWidgetSize();
    FRenderPending = false;
    if (FSeeThrough && !FImage.isNull()) {
        if (FBackgroundStale || FBackground.size() != FImage.size() || FBackground.format() != FImage.format())
            captureBackground();
        // Same size and format: the scan lines are copied as they are.
        if (FBackground.size() == FImage.size() && FBackground.format() == FImage.format())
            std::memcpy(FImage.bits(), FBackground.constBits(), std::size_t(FImage.sizeInBytes()));
    }
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
    // The ancestors are laid out for showing only now: what lies beneath is taken again.
    FBackgroundStale = true;
    requestRender();
}

void BackingImageWidget::moveEvent(QMoveEvent* Event)
{
    QWidget::moveEvent(Event);
    if (FSeeThrough) {
        FBackgroundStale = true;
        requestRender();
    }
}

void BackingImageWidget::changeEvent(QEvent* Event)
{
    QWidget::changeEvent(Event);
    const QEvent::Type Type = Event->type();
    if (FSeeThrough && (Type == QEvent::ParentChange || Type == QEvent::PaletteChange || Type == QEvent::StyleChange)) {
        FBackgroundStale = true;
        requestRender();
    }
}
