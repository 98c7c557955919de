#pragma once
// A widget that shows a persistent image of its own size, drawn through a canvas.

#include "host/vcl/Graphics.h"

#include <QImage>
#include <QWidget>

#include <memory>

// The image is rendered (by renderImage) when the widget is shown or resized, and when
// renderNow is called; a paint event caused by anything else only shows the image as it is.
// Drawing through canvas() at any other time goes into the image and is then shown, without a
// new render. On a high-density screen each image pixel becomes a sharp block of device pixels.
class BackingImageWidget : public QWidget {
    Q_OBJECT

public:
    explicit BackingImageWidget(QWidget* parent = nullptr);
    ~BackingImageWidget() override;

    // The canvas on the image, valid for the widget's life; the image follows the widget's size.
    TCanvas& canvas();
    // The image as last drawn.
    const QImage& image() const { return FImage; }
    // Renders the image now, then schedules showing it; inside a render it does nothing more.
    void renderNow();

protected:
    // Draws the whole image.
    virtual void renderImage(TCanvas& Canvas) = 0;
    // Renders the image before it is next shown.
    void requestRender();
    bool rendering() const { return FRendering; }

    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

private:
    void followWidgetSize();
    void runRender();

    QImage FImage;
    std::unique_ptr<TCanvas> FCanvas;
    bool FRenderPending = true;
    bool FRendering = false;
};
