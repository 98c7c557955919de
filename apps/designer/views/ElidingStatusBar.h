#pragma once
// A status bar and a label for it that never cut a long text off at their edge: the text is
// elided to the room there is, with the whole of it as the tooltip and, for the bar, as its
// accessible description. Qt draws a temporary message
// and a label's text clipped at the edge, mid-glyph, with nothing to say that there is more.
// Both work out what fits when they paint (laying a text out is what costs), and set the tooltip
// then.

#include <QLabel>
#include <QStatusBar>

//
// Three kinds of text go there:
// - showMessage(text, ms): a passing note ("Saved form.cvform"), gone after ms; elided in the
//   middle, so that a path keeps its file name.
// - showRefusal(text): why something the user asked for was not done. It stays until the user's
//   next action (a key or a mouse button pressed anywhere in the application), whatever updates
//   come meanwhile; elided at its end, so that it reads from its start.
// - showReadout(text): a live value (a position while dragging). Shown unless a refusal stands;
//   it never replaces one.
class ElidingStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit ElidingStatusBar(QWidget* parent = nullptr);
    ~ElidingStatusBar() override;
    // The temporary message as drawn: the whole of it, or elided; "" when there is none.
    QString shownMessage() const;

    void showRefusal(const QString& text);
    // showRefusal on bar when it is an ElidingStatusBar; a message that stays on any other.
    static void refuse(QStatusBar* bar, const QString& text);
    // False when a refusal stands and the readout was not shown.
    bool showReadout(const QString& text);
    // The refusal shown now, or "".
    QString refusal() const { return m_refusal; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void messageChanged(const QString& message);

    // Where QStatusBar draws the message: from the left, up to the first permanent widget or the
    // size grip.
    QRect messageArea() const;

    QString m_refusal;
    // The press last seen, so that one press passed on from a widget to its parent counts once.
    struct Press {
        const QEvent* event = nullptr;
        int type = 0;
        quint64 timestamp = 0;
    } m_lastPress;
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
