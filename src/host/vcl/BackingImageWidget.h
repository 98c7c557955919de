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
// A see-through widget starts every render from what its ancestors show beneath it, so that the
// pixels renderImage leaves untouched show the parent, and inverting one inverts what is seen.
class BackingImageWidget : public QWidget {
    Q_OBJECT

public:
    explicit BackingImageWidget(QWidget* parent = nullptr);
    ~BackingImageWidget() override;

protected:
    // For the adapters, which offer them under the toolkit's names (Canvas, Image, Repaint).
    // The canvas on the image, valid for the widget's life; the image follows the widget's size.
    TCanvas& canvas();
    // The image as last drawn.
    const QImage& image() const { return FImage; }
    // Renders the image now, then schedules showing it; inside a render it does nothing more.
    void renderNow();

    // Draws the whole image.
    virtual void renderImage(TCanvas& Canvas) = 0;
    // Renders the image before it is next shown.
    void requestRender();
    bool rendering() const { return FRendering; }
    void setSeeThrough(bool Value);

    void changeEvent(QEvent* Event) override;
    void moveEvent(QMoveEvent* Event) override;

    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

private:
    void followWidgetSize();
    void runRender();
    void captureBackground();

    QImage FImage;
    // What the ancestors draw beneath the widget, at its size, and whether it must be taken again.
    QImage FBackground;
    bool FBackgroundStale = true;
    bool FSeeThrough = false;
    std::unique_ptr<TCanvas> FCanvas;
    bool FRenderPending = true;
    bool FRendering = false;
};
