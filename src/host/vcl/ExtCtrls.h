#pragma once
// Toolkit extra controls: the paint box.

#include "host/vcl/BackingImageWidget.h"
#include "host/vcl/Forms.h"

#include <functional>

// A surface its owner paints in the Paint handler. It has no background of its own: what Paint
// leaves untouched shows the parent beneath it. It keeps what was painted in an image of its own
// size: when it is shown, moved or resized, and on Repaint, the image starts again from what lies
// beneath and Paint draws it anew; drawing through Canvas() at any other time goes into the image
// and appears on screen without Paint running again.
class TPaintBox : public BackingImageWidget {
    Q_OBJECT
    Q_PROPERTY(int Color READ Color WRITE SetColor)

public:
    explicit TPaintBox(QWidget* parent = nullptr);

    // The canvas on the image; the same object for the paint box's life.
    TCanvas& Canvas() { return canvas(); }
    // The image as last drawn.
    const QImage& Image() const { return image(); }

    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetWidth(int Value);
    void SetHeight(int Value);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    // The canvas's brush colour when Paint starts; clBtnFace unless set. It paints nothing itself.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);

    // Runs Paint into the image now, then shows it.
    void Repaint() { renderNow(); }

    // What the box shows, in words, for assistive technology (its accessible value); a box
    // without it offers no value.
    std::function<String()> AccessibleValue;
    // What AccessibleValue says; empty when it is unset or raises.
    String ValueText() const;

signals:
    void Paint();
    // A button went down; Shift holds the buttons held, the pressed one included (ssLeft for mbLeft).
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    // The mouse moved over the box, with or without a button held.
    void MouseMove(TShiftState Shift, int X, int Y);

protected:
    void renderImage(TCanvas& Canvas) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;

private:
    TColor FColor = clBtnFace;
};
