// The track bar, the page control and the status bar.
#include "host/vcl/ComCtrls.h"

#include "host/vcl/FocusFrame.h"

#include <QTabBar>

namespace {

class PageTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    void paintEvent(QPaintEvent* Event) override
    {
        QTabBar::paintEvent(Event);
        if (hasFocus() && currentIndex() >= 0)
            DrawFocusFrame(this, tabRect(currentIndex()).adjusted(3, 3, -3, -3));
    }
};

}  // namespace

TTrackBar::TTrackBar(QWidget* parent)
    : QSlider(Qt::Vertical, parent)
{
    RegisterControlTypes();
    // The toolkit's defaults: positions 0 to 10, a tick at every position.
    setRange(0, 10);
    setTickInterval(1);
    setTickPosition(QSlider::TicksRight);
    // valueChanged is emitted synchronously, for drags and for setValue alike, and only when the
    // clamped value differs.
    connect(this, &QSlider::valueChanged, this, [this] { CallHandler([this] { emit Change(); }); });
}

void TTrackBar::paintEvent(QPaintEvent* Event)
{
    QSlider::paintEvent(Event);
    if (hasFocus())
        DrawFocusFrame(this, rect());
}

TPageControl::TPageControl(QWidget* parent)
    : QTabWidget(parent)
{
    RegisterControlTypes();
    setTabBar(new PageTabBar(this));
}

TStatusBar::TStatusBar(QWidget* parent)
    : QStatusBar(parent)
{
    RegisterControlTypes();
    setSizeGripEnabled(false);
}

void TStatusBar::SetSimpleText(const String& S)
{
    // A message without a timeout stays until it is replaced or cleared.
    if (S.isEmpty())
        clearMessage();
    else
        showMessage(S);
}
