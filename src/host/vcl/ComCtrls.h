#pragma once
// Toolkit common controls: the track bar, the page control and the status bar.

#include "host/vcl/Forms.h"

#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>

// A vertical track bar with tick marks every Frequency positions. Change fires whenever the
// position changes, from the user or from code, before the change returns. A position set
// beyond Min..Max is clamped to the range (the bar shows the end), and Change fires only when
// the clamped position differs from the current one. While it has the keyboard focus it is framed
// with a dotted line (the style marks no focus on a slider).
class TTrackBar : public QSlider {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Frequency READ Frequency WRITE SetFrequency)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)

public:
    explicit TTrackBar(QWidget* parent = nullptr);

    int Min() const { return minimum(); }
    void SetMin(int Value) { setMinimum(Value); }
    int Max() const { return maximum(); }
    void SetMax(int Value) { setMaximum(Value); }
    int Frequency() const { return tickInterval(); }
    void SetFrequency(int Value) { setTickInterval(Value); }
    int Position() const { return value(); }
    void SetPosition(int Value) { setValue(Value); }

signals:
    void Change();

protected:
    void paintEvent(QPaintEvent* Event) override;
};

// Pages with tabs; the active page is counted from 0. While the tab bar has the keyboard focus,
// the active tab is framed with a dotted line (the style marks it only after a focus change by key).
class TPageControl : public QTabWidget {
    Q_OBJECT
    Q_PROPERTY(int ActivePageIndex READ ActivePageIndex WRITE SetActivePageIndex)

public:
    explicit TPageControl(QWidget* parent = nullptr);

    int ActivePageIndex() const { return currentIndex(); }
    // An index outside the pages changes nothing.
    void SetActivePageIndex(int Index) { setCurrentIndex(Index); }
    int PageCount() const { return count(); }
};

// A status line in simple-panel mode: one line of text, no panels, no size grip.
class TStatusBar : public QStatusBar {
    Q_OBJECT
    Q_PROPERTY(QString SimpleText READ SimpleText WRITE SetSimpleText)

public:
    explicit TStatusBar(QWidget* parent = nullptr);

    String SimpleText() const { return currentMessage(); }
    // The empty text clears the line.
    void SetSimpleText(const String& S);
};
