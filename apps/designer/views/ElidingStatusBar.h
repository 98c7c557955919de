#pragma once
// A status bar and a label for it that never cut a long text off at their edge: the text is
// elided to the room there is, with the whole of it as the tooltip. Qt draws a temporary message
// and a label's text clipped at the edge, mid-glyph, with nothing to say that there is more.
// Both work out what fits when they paint (laying a text out is what costs), and set the tooltip
// then.

#include <QLabel>
#include <QStatusBar>

class ElidingStatusBar : public QStatusBar {
    Q_OBJECT
public:
    using QStatusBar::QStatusBar;
    // The temporary message as drawn: the whole of it, or elided in the middle (paths keep their
    // file names); "" when there is none.
    QString shownMessage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where QStatusBar draws the message: from the left, up to the first permanent widget or the
    // size grip.
    QRect messageArea() const;
};

// A one-line label that elides its text at the end when it is wider than the label; text()
// stays the whole text, which is also the tooltip while it is elided. It asks for no width of
// its own, so a long text never widens the window.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);
    // The text as drawn.
    QString shownText() const;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
