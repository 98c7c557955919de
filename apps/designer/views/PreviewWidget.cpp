#include "views/PreviewWidget.h"

#include "core/Arrange.h"
#include "core/FormModel.h"

#include "host/palmo/PalmoControls.h"
#include "host/vcl/ColorType.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <iterator>

// How the preview behaves where a designer has choices to make:
// - A control whose Visible is false is still drawn (the user must be able to find, select and
//   move it) but faded, as a whole, to about a third of its opacity, so it does not pass for a
//   visible one.
// - A press on a control that is not selected asks for it to become the selection (or, with Ctrl
//   or Shift, to be added) at once, so press-and-drag moves it in one gesture.
// - A press without modifiers on a control that is already selected asks for nothing yet: it may
//   be the start of a drag of the whole selection. Only when the button comes up without a drag
//   does it ask for that control alone to be the selection, and only when the selection is more
//   than that control.
// - A drag only starts once the pointer has moved QApplication::startDragDistance() pixels, so
//   the small jitter of a click does not move anything. Escape cancels a drag; the controls
//   return to where they are.
// - The first selected control has a solid outline and filled grab squares; the others a dashed
//   outline and hollow squares. Each outline runs one pixel outside the control, with a white
//   line outside it, so it shows on any colour.
// - Every selected control has eight grab handles, on the outline's corners and the middles of its
//   sides; a handle takes a pixel more around it than it shows, and wins over the control beneath
//   (unless Ctrl or Shift is held: that press is a click that selects).
//   Dragging one moves the same edges of every selected control by the same amount (with the grid
//   on, the grabbed control's edge goes to the nearest grid line and the others follow it). A drag
//   of the whole selection snaps the grabbed control's top-left corner the same way.
// - A drag that starts on the background draws a band; the controls it touches (any pixel in it,
//   not only those wholly inside, so a long control need not be swept whole) become the selection,
//   or with Ctrl or Shift held join it. They are outlined while the band is drawn.
// - Tab and Shift+Tab select the next or previous control in the form's order alone, from the
//   first selected, round from the last to the first; Ctrl+Tab leaves the preview. With the
//   keyboard, a 2-pixel frame in the selection's colour runs inside the preview's edge, so the
//   keys are never sent to a target the user cannot see.

namespace {

QColor qcolor(TCVColor color) { return QColorOf(color.Value); }
QColor qcolor(TColorValue color) { return QColorOf(color.Value); }

// The canvas: a light surface with a dot on every crossing of the layout grid's lines.
const QColor CanvasColor(0xF4, 0xF4, 0xF4);
const QColor GridDotColor(0xC8, 0xC8, 0xC8);
// The selection's colour; the white halo beside it keeps it visible on blue controls too.
const QColor HighlightColor(0x1A, 0x5F, 0xD0);
const QColor HaloColor(Qt::white);
constexpr int HandleSize = 6;
constexpr double HiddenOpacity = 0.35;

// Black or white, whichever reads better on background.
QColor legibleOn(const QColor& background)
{
    const double luma = 0.299 * background.redF() + 0.587 * background.greenF() + 0.114 * background.blueF();
    return luma > 0.6 ? QColor(0x20, 0x20, 0x20) : QColor(Qt::white);
}

void paintButton(QPainter& p, const TPalmoButton& control, const QRectF& area)
{
    const TPalmoButtonAppearance& a = *control.Appearance();
    // Room for the shadow below and to the right of the body.
    const QRectF body = area.adjusted(1, 1, -3, -4);
    const double radius = std::clamp<double>(a.FCornerRadius, 0, std::min(body.width(), body.height()) / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(a.FShadowColor));
    p.drawRoundedRect(body.translated(2, 3), radius, radius);
    p.setBrush(qcolor(a.FColor));
    p.setPen(QPen(qcolor(a.FBorderColor), 1.5));
    p.drawRoundedRect(body, radius, radius);
    p.setPen(qcolor(a.FTextColor));
    p.drawText(body, Qt::AlignCenter | Qt::TextSingleLine, a.FCaption);
}

void paintOnOffButton(QPainter& p, const TPalmoOnOffButton& control, const QRectF& area)
{
    const TPalmoOnOffButtonAppearance& a = *control.Appearance();
    const QRectF track = area.adjusted(1, 1, -1, -1);
    const double radius = std::min(track.width(), track.height()) / 2;
    const QColor trackColor = qcolor(a.FChecked ? a.FOnColor : a.FOffColor);
    p.setPen(QPen(qcolor(a.FBorderColor), 1.5));
    p.setBrush(trackColor);
    p.drawRoundedRect(track, radius, radius);

    // The knob sits at the right end when on, at the left when off; the text on the other side.
    const double knob = std::max(0.0, track.height() - 4);
    const QRectF knobRect(a.FChecked ? track.right() - 2 - knob : track.left() + 2, track.top() + 2, knob, knob);
    p.setPen(QPen(qcolor(a.FBorderColor), 1));
    p.setBrush(qcolor(a.FKnobColor));
    p.drawEllipse(knobRect);

    QFont small = p.font();
    small.setPointSizeF(small.pointSizeF() * 0.75);
    small.setBold(true);
    p.setFont(small);
    p.setPen(legibleOn(trackColor));
    const QRectF textRect = a.FChecked ? QRectF(track.left(), track.top(), knobRect.left() - track.left(), track.height())
                                       : QRectF(knobRect.right(), track.top(), track.right() - knobRect.right(), track.height());
    p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, a.FChecked ? control.FOnText : control.FOffText);
}

void paintTrackbar(QPainter& p, const TPalmoTrackbar& control, const QRectF& area)
{
    const TPalmoTrackbarAppearance& a = *control.Appearance();
    const double thumb = std::clamp(area.height() / 2 - 2, 2.0, 11.0);
    const double left = area.left() + thumb + 1;
    const double length = std::max(0.0, area.width() - 2 * thumb - 2);
    const double centre = area.center().y();
    // Position's place between Min and Max; a range that is empty or backwards shows the start.
    const double fraction = control.FMax > control.FMin
        ? std::clamp(double(a.FPosition - control.FMin) / double(control.FMax - control.FMin), 0.0, 1.0)
        : 0.0;
    const double thumbX = left + length * fraction;

    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(a.FTrackColor));
    p.drawRoundedRect(QRectF(left, centre - 3, length, 6), 3, 3);
    p.setBrush(qcolor(a.FProgressColor));
    p.drawRoundedRect(QRectF(left, centre - 3, thumbX - left, 6), 3, 3);
    p.setPen(QPen(qcolor(a.FThumbBorderColor), 1.5));
    p.setBrush(qcolor(a.FThumbColor));
    p.drawEllipse(QPointF(thumbX, centre), thumb, thumb);
}

// One row of a list: the row takes the control's rectangle (ItemHeight is the height rows get
// when a list stacks them).
void paintListItem(QPainter& p, const TPalmoListItem& control, const QRectF& area)
{
    const TPalmoListItemAppearance& a = *control.Appearance();
    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(control.FSelected ? a.FSelectedColor : a.FColor));
    p.drawRect(area);
    const QRectF text = area.adjusted(8, 0, -8, -1);
    p.setPen(qcolor(a.FDetailTextColor));
    QRectF detailRect;
    p.drawText(text, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, control.FDetail, &detailRect);
    p.setPen(qcolor(a.FTextColor));
    // The text takes the row up to the detail, or the whole row when there is none.
    const qreal textRight = control.FDetail.isEmpty() ? text.right() : detailRect.left() - 6;
    const QRectF mainText(text.left(), text.top(), std::max(0.0, textRight - text.left()), text.height());
    p.drawText(mainText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, control.FText);
    p.setPen(QPen(qcolor(a.FSeparatorColor), 1));
    p.drawLine(QPointF(area.left() + 8, area.bottom() - 0.5), QPointF(area.right(), area.bottom() - 0.5));
}

void paintPageIndicator(QPainter& p, const TPalmoPageIndicator& control, const QRectF& area)
{
    const TPalmoIndicator& a = *control.Appearance();
    // More dots than fit are clipped anyway; the bound keeps a silly Count from costing time.
    const int count = std::clamp(a.FCount, 0, 256);
    const double dot = std::clamp(area.height() - 6, 3.0, 8.0);
    const double spacing = std::max(0, control.FSpacing);
    const double width = count * dot + std::max(0, count - 1) * spacing;
    double x = area.center().x() - width / 2;
    const double y = area.center().y() - dot / 2;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i, x += dot + spacing) {
        p.setBrush(qcolor(i == a.FActiveIndex ? a.FActiveColor : a.FInactiveColor));
        p.drawEllipse(QRectF(x, y, dot, dot));
    }
}

// The wheels side by side inside the frame, each in its own colours, with the selection band
// across them at the middle row and the shade at the top and bottom rows.
void paintSpinner(QPainter& p, const TPalmoSpinner& control, const QRectF& area)
{
    const TPalmoSpinnerAppearance& a = *control.Appearance();
    const QRectF frame = area.adjusted(1, 1, -1, -1);
    p.setPen(QPen(qcolor(a.FFrameColor), 2));
    p.setBrush(qcolor(a.FColor));
    p.drawRoundedRect(frame, 6, 6);

    const QRectF inner = frame.adjusted(5, 5, -5, -5);
    const int rows = std::clamp(control.FVisibleRows, 1, 99);
    const double rowHeight = inner.height() / rows;
    const int middle = rows / 2;
    const QRectF band(inner.left() - 3, inner.top() + middle * rowHeight, inner.width() + 6, rowHeight);
    const int slotCount = control.Slots()->Count();

    p.save();
    p.setClipRect(inner, Qt::IntersectClip);
    double x = inner.left();
    for (int i = 0; i < slotCount && x < inner.right(); ++i) {
        const TPalmoSpinnerSlot& slot = *control.Slot(i);
        const QRectF column(x, inner.top(), std::max(0, slot.FWidth), inner.height());
        p.setPen(Qt::NoPen);
        p.setBrush(qcolor(slot.FColor));
        p.drawRect(column.adjusted(0, 0, -1, 0));
        x = column.right() + 2;
    }
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(a.FSelectionColor));
    p.drawRect(band);
    p.setPen(QPen(qcolor(a.FHighlightColor), 1));
    p.drawLine(QPointF(band.left(), band.top() + 0.5), QPointF(band.right(), band.top() + 0.5));

    p.save();
    p.setClipRect(inner, Qt::IntersectClip);
    x = inner.left();
    for (int i = 0; i < slotCount && x < inner.right(); ++i) {
        const TPalmoSpinnerSlot& slot = *control.Slot(i);
        const double width = std::max(0, slot.FWidth);
        for (int row = 0; row < rows; ++row) {
            // Sample values: consecutive numbers around a different start for each wheel.
            const int value = ((i * 17 + 12 + row - middle) % 60 + 60) % 60;
            p.setPen(qcolor(row == middle ? slot.FSelectedTextColor : slot.FTextColor));
            p.drawText(QRectF(x, inner.top() + row * rowHeight, width, rowHeight),
                       Qt::AlignCenter | Qt::TextSingleLine, QString::number(value).rightJustified(2, u'0'));
        }
        x += width + 2;
    }
    p.restore();
    if (slotCount == 0) {
        p.setPen(qcolor(a.FTextColor));
        p.drawText(band, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("(no slots)"));
    }

    // The shade darkens the rows farthest from the selection, as a wheel turning away would.
    QColor shade = qcolor(a.FShadeColor);
    QLinearGradient top(0, inner.top(), 0, inner.top() + rowHeight);
    shade.setAlpha(150);
    top.setColorAt(0, shade);
    shade.setAlpha(0);
    top.setColorAt(1, shade);
    p.fillRect(QRectF(inner.left(), inner.top(), inner.width(), rowHeight), top);
    QLinearGradient bottom(0, inner.bottom(), 0, inner.bottom() - rowHeight);
    bottom.setStops(top.stops());
    p.fillRect(QRectF(inner.left(), inner.bottom() - rowHeight, inner.width(), rowHeight), bottom);
}

void paintPopup(QPainter& p, const TPalmoPopup& control, const QRectF& area)
{
    const TPalmoPopupAppearance& a = *control.Appearance();
    // A modal popup dims what lies under it with its overlay.
    if (control.FModal) {
        QColor overlay = qcolor(a.FOverlayColor);
        overlay.setAlpha(160);
        p.fillRect(area, overlay);
    }
    const double marginX = std::min(24.0, area.width() / 8);
    const double marginY = std::min(24.0, area.height() / 8);
    const QRectF box = area.adjusted(marginX, marginY, -marginX, -marginY);
    p.setPen(QPen(qcolor(a.FBorderColor), 2));
    p.setBrush(qcolor(a.FColor));
    p.drawRoundedRect(box, 8, 8);

    QFont bold = p.font();
    bold.setBold(true);
    p.setFont(bold);
    const QRectF text = box.adjusted(10, 8, -10, -8);
    QRectF titleRect;
    p.setPen(qcolor(a.FTitleColor));
    p.drawText(text, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, a.FTitle, &titleRect);
    bold.setBold(false);
    p.setFont(bold);
    p.setPen(qcolor(a.FTextColor));
    p.drawText(text.adjusted(0, titleRect.height() + 6, 0, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               control.FMessage);
}

// A control of a class the preview does not know: its name in a plain frame.
void paintUnknown(QPainter& p, const TPalmoControl& control, const QRectF& area)
{
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
    p.setBrush(QColor(0xE0, 0xE0, 0xE0));
    p.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, control.Name());
}

// Every pixel as the grey of its brightness, its coverage kept: how a disabled control looks.
void toGreys(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // Premultiplied: the grey of the premultiplied channels is the premultiplied grey.
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
}

void paintControl(QPainter& p, const TPalmoControl& control, const QRectF& area)
{
    if (const auto* c = qobject_cast<const TPalmoButton*>(&control))
        paintButton(p, *c, area);
    else if (const auto* c = qobject_cast<const TPalmoOnOffButton*>(&control))
        paintOnOffButton(p, *c, area);
    else if (const auto* c = qobject_cast<const TPalmoTrackbar*>(&control))
        paintTrackbar(p, *c, area);
    else if (const auto* c = qobject_cast<const TPalmoListItem*>(&control))
        paintListItem(p, *c, area);
    else if (const auto* c = qobject_cast<const TPalmoPageIndicator*>(&control))
        paintPageIndicator(p, *c, area);
    else if (const auto* c = qobject_cast<const TPalmoSpinner*>(&control))
        paintSpinner(p, *c, area);
    else if (const auto* c = qobject_cast<const TPalmoPopup*>(&control))
        paintPopup(p, *c, area);
    else
        paintUnknown(p, control, area);
}

// The edges each grab handle moves (x: -1 left, 1 right; y: -1 top, 1 bottom), from the top-left
// corner row by row.
const QPoint HandleSides[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

// The centre of a handle: on the outline, which runs one pixel outside the rectangle.
QPoint handleCenter(const QRect& rect, const QPoint& sides)
{
    const auto at = [](int start, int length, int side) {
        return side < 0 ? start - 1 : side > 0 ? start + length : start + length / 2;
    };
    return {at(rect.x(), rect.width(), sides.x()), at(rect.y(), rect.height(), sides.y())};
}

// The square drawn for a handle; hitting it takes a pixel more all round.
QRect handleSquare(const QRect& rect, const QPoint& sides)
{
    const QPoint center = handleCenter(rect, sides);
    return QRect(center.x() - HandleSize / 2, center.y() - HandleSize / 2, HandleSize, HandleSize);
}

Qt::CursorShape cursorFor(const QPoint& sides)
{
    if (sides.y() == 0)
        return Qt::SizeHorCursor;
    if (sides.x() == 0)
        return Qt::SizeVerCursor;
    return sides.x() == sides.y() ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
}

// The outline of a selected control: one pixel outside its rectangle, with its grab handles
// centred on the outline's corners and the middles of its sides. The first selected is drawn
// solid with filled squares.
void paintSelection(QPainter& p, const QRect& rect, bool primary)
{
    const QRect outline = rect.adjusted(-1, -1, 0, 0);  // drawRect covers x … x + w inclusive
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(HaloColor, 1));
    p.drawRect(outline.adjusted(-1, -1, 1, 1));
    if (primary) {
        p.setPen(QPen(HighlightColor, 1));
    } else {
        p.setPen(QPen(HaloColor, 1));
        p.drawRect(outline);
        p.setPen(QPen(HighlightColor, 1, Qt::DashLine));
    }
    p.drawRect(outline);

    p.setPen(QPen(primary ? HaloColor : HighlightColor, 1));
    p.setBrush(primary ? HighlightColor : HaloColor);
    for (const QPoint& sides : HandleSides)
        p.drawRect(handleSquare(rect, sides).adjusted(0, 0, -1, -1));
}

// The band being drawn: the selection's colour, faint inside.
void paintBand(QPainter& p, const QRect& band)
{
    QColor fill = HighlightColor;
    fill.setAlpha(40);
    p.fillRect(band, fill);
    p.setPen(QPen(HighlightColor, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(band.adjusted(0, 0, -1, -1));
}

// The keyboard's mark: a frame FocusFrameWidth pixels wide just inside the preview's edge.
constexpr int FocusFrameWidth = 2;
void paintFocusFrame(QPainter& p, const QRect& area)
{
    const int w = FocusFrameWidth;
    p.fillRect(QRect(area.left(), area.top(), area.width(), w), HighlightColor);
    p.fillRect(QRect(area.left(), area.bottom() - w + 1, area.width(), w), HighlightColor);
    p.fillRect(QRect(area.left(), area.top(), w, area.height()), HighlightColor);
    p.fillRect(QRect(area.right() - w + 1, area.top(), w, area.height()), HighlightColor);
}

}  // namespace

PreviewWidget::PreviewWidget(FormModel* form, QWidget* parent) : QWidget(parent), m_form(form)
{
    setObjectName(QStringLiteral("preview"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, CanvasColor);
    setPalette(pal);
    // A click gives the preview the keyboard, so the arrow keys and Delete reach it.
    setFocusPolicy(Qt::StrongFocus);
    // The pointer's shape tells a handle and a selected control before anything is pressed.
    setMouseTracking(true);
    connect(form, &FormModel::changed, this, qOverload<>(&QWidget::update));
    connect(form, &FormModel::controlRemoved, this,
            [this](int, TPalmoControl* control) { forget(control); });
    connect(form, &QObject::destroyed, this, [this] {
        m_form = nullptr;
        m_selection.clear();
        cancelDrag();
    });
}

void PreviewWidget::setSelection(const std::vector<TPalmoControl*>& controls)
{
    // Only controls of this form, each once: anything else could not be outlined and could be
    // deleted without the preview hearing of it.
    std::vector<TPalmoControl*> selection;
    for (TPalmoControl* control : controls)
        if (control && m_form && m_form->indexOf(control) >= 0
            && std::find(selection.begin(), selection.end(), control) == selection.end())
            selection.push_back(control);
    m_selection = std::move(selection);
    // A drag of a handle or of the selection is about the controls it started with.
    if (m_gesture == Gesture::Size || m_gesture == Gesture::Move)
        if (m_selection.empty() || (m_grabbed && !isSelected(m_grabbed)))
            cancelDrag();
    update();
}

void PreviewWidget::setShowGrid(bool show)
{
    m_showGrid = show;
    update();
}

TPalmoControl* PreviewWidget::controlAt(const QPoint& point) const
{
    if (!m_form)
        return nullptr;
    const auto& controls = m_form->controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if (rectOf(*it).contains(point))
            return *it;
    return nullptr;
}

QRect PreviewWidget::rectOf(const TPalmoControl* control) const
{
    return QRect(control->FLeft, control->FTop, control->FWidth, control->FHeight);
}

QRect PreviewWidget::shownRectOf(const TPalmoControl* control) const
{
    const QRect rect = rectOf(control);
    if (!m_dragging || !isSelected(control))
        return rect;
    if (m_gesture == Gesture::Move)
        return rect.translated(m_dragOffset);
    if (m_gesture == Gesture::Size)
        return withEdgesMoved(rect, m_edgeMoves.left(), m_edgeMoves.top(), m_edgeMoves.right(), m_edgeMoves.bottom());
    return rect;
}

bool PreviewWidget::isSelected(const TPalmoControl* control) const
{
    return std::find(m_selection.begin(), m_selection.end(), control) != m_selection.end();
}

TPalmoControl* PreviewWidget::handleAt(const QPoint& point, QPoint* sides) const
{
    // The first selected is drawn on top; of one control's handles, the bottom and right ones
    // first, so that a control shrunk to a pixel can still be made larger.
    for (TPalmoControl* control : m_selection)
        for (auto it = std::rbegin(HandleSides); it != std::rend(HandleSides); ++it)
            if (handleSquare(rectOf(control), *it).adjusted(-1, -1, 1, 1).contains(point)) {
                *sides = *it;
                return control;
            }
    return nullptr;
}

std::vector<TPalmoControl*> PreviewWidget::controlsInBand() const
{
    std::vector<TPalmoControl*> touched;
    if (!m_form || m_gesture != Gesture::Band || !m_dragging)
        return touched;
    const QRect band = QRect(m_dragStart, m_dragPoint).normalized();
    for (TPalmoControl* control : m_form->controls())
        if (rectOf(control).intersects(band))
            touched.push_back(control);
    return touched;
}

std::vector<TPalmoControl*> PreviewWidget::shownSelection() const
{
    if (m_gesture != Gesture::Band || !m_dragging)
        return m_selection;
    std::vector<TPalmoControl*> shown = m_bandAdds ? m_selection : std::vector<TPalmoControl*>{};
    for (TPalmoControl* control : controlsInBand())
        if (std::find(shown.begin(), shown.end(), control) == shown.end())
            shown.push_back(control);
    return shown;
}

void PreviewWidget::updateCursor(const QPoint& point)
{
    QPoint sides;
    if (handleAt(point, &sides)) {
        setCursor(cursorFor(sides));
    } else if (TPalmoControl* control = controlAt(point); control && isSelected(control)) {
        setCursor(Qt::SizeAllCursor);
    } else {
        unsetCursor();
    }
}

void PreviewWidget::forget(TPalmoControl* control)
{
    m_selection.erase(std::remove(m_selection.begin(), m_selection.end(), control), m_selection.end());
    if (m_pressed == control)
        m_pressed = nullptr;
    if (m_selection.empty() || m_grabbed == control)
        cancelDrag();
    update();
}

void PreviewWidget::cancelDrag()
{
    const bool wasDragging = m_dragging;
    m_gesture = Gesture::None;
    m_dragging = false;
    m_dragOffset = QPoint();
    m_edgeMoves = QMargins();
    m_pressed = nullptr;
    m_grabbed = nullptr;
    m_bandAdds = false;
    if (wasDragging)
        update();
}

void PreviewWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);

    // The canvas with its grid's dots, tiled from one cell (a dot per point would cost
    // milliseconds on every frame of a drag). The tiles start at the preview's origin, which is
    // the form's: the dots are where snapped edges go.
    const QRect dirty = event->rect();
    if (m_showGrid) {
        QImage cell(GridStep, GridStep, QImage::Format_RGB32);
        cell.fill(CanvasColor);
        cell.setPixelColor(0, 0, GridDotColor);
        p.fillRect(dirty, QBrush(cell));
    } else {
        p.fillRect(dirty, CanvasColor);
    }

    if (m_form) {
        p.setRenderHint(QPainter::Antialiasing);
        for (const TPalmoControl* control : m_form->controls()) {
            const QRect rect = shownRectOf(control);
            if (rect.isEmpty() || !rect.intersects(dirty))
                continue;
            if (control->FVisible && control->FEnabled) {
                p.save();
                p.setClipRect(rect);
                p.setFont(font());
                paintControl(p, *control, QRectF(rect));
                p.restore();
            } else {
                // Hidden: faded as a whole; disabled: in greys. Painted into a layer first, so that
                // its own parts (a button's shadow under its body) do not show through each other.
                // The layer covers only the part on screen, however large the control claims to be.
                const QRect shown = rect.intersected(this->rect());
                if (shown.isEmpty())
                    continue;
                const qreal ratio = devicePixelRatioF();
                QImage layer(shown.size() * ratio, QImage::Format_ARGB32_Premultiplied);
                layer.setDevicePixelRatio(ratio);
                layer.fill(Qt::transparent);
                QPainter lp(&layer);
                lp.setRenderHint(QPainter::Antialiasing);
                lp.setFont(font());
                lp.translate(rect.topLeft() - shown.topLeft());
                paintControl(lp, *control, QRectF(QPointF(0, 0), QSizeF(rect.size())));
                lp.end();
                if (!control->FEnabled)
                    toGreys(layer);
                p.save();
                p.setOpacity(control->FVisible ? 1.0 : HiddenOpacity);
                p.drawImage(shown.topLeft(), layer);
                p.restore();
            }
        }

        p.setRenderHint(QPainter::Antialiasing, false);
        const std::vector<TPalmoControl*> outlined = shownSelection();
        for (std::size_t i = outlined.size(); i-- > 0;)  // the first drawn last, on top
            paintSelection(p, shownRectOf(outlined[i]), i == 0);
        if (m_gesture == Gesture::Band && m_dragging)
            paintBand(p, QRect(m_dragStart, m_dragPoint).normalized());
    }
    if (hasFocus())
        paintFocusFrame(p, rect());
}

void PreviewWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    cancelDrag();
    const QPoint point = event->position().toPoint();
    m_dragStart = point;
    m_dragPoint = point;
    const bool toggle = event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::ShiftModifier);
    if (!toggle) {
        if (TPalmoControl* control = handleAt(point, &m_handle)) {
            m_gesture = Gesture::Size;
            m_grabbed = control;
            return;
        }
    }
    TPalmoControl* hit = controlAt(point);
    if (!hit) {
        emit selectionRequested(nullptr, toggle);
        m_gesture = Gesture::Band;
        m_bandAdds = toggle;
        return;
    }
    if (!toggle && isSelected(hit)) {
        // Possibly the start of a drag of the whole selection: decide on release.
        m_pressed = hit;
    } else {
        emit selectionRequested(hit, toggle);
        // The owner may have changed the form, or not selected the control at all.
        if (!isSelected(hit))
            return;
    }
    m_gesture = Gesture::Move;
    m_grabbed = hit;
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_gesture == Gesture::None || !(event->buttons() & Qt::LeftButton)) {
        updateCursor(point);
        QWidget::mouseMoveEvent(event);
        return;
    }
    event->accept();
    const QPoint offset = point - m_dragStart;
    if (!m_dragging && offset.manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    m_dragPoint = point;
    // With the grid on, the grabbed control's moving edges go to the nearest grid line.
    const auto edgeMove = [this](int edge, int by) { return m_snapToGrid ? snappedToGrid(edge + by) - edge : by; };
    if (m_gesture == Gesture::Move && m_grabbed) {
        const QRect rect = rectOf(m_grabbed);
        m_dragOffset = QPoint(edgeMove(rect.x(), offset.x()), edgeMove(rect.y(), offset.y()));
        setCursor(Qt::SizeAllCursor);
    } else if (m_gesture == Gesture::Size && m_grabbed) {
        const QRect rect = rectOf(m_grabbed);
        const int dx = edgeMove(m_handle.x() < 0 ? rect.x() : rect.x() + rect.width(), offset.x());
        const int dy = edgeMove(m_handle.y() < 0 ? rect.y() : rect.y() + rect.height(), offset.y());
        m_edgeMoves = QMargins(m_handle.x() < 0 ? dx : 0, m_handle.y() < 0 ? dy : 0, m_handle.x() > 0 ? dx : 0,
                               m_handle.y() > 0 ? dy : 0);
    }
    update();
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    const Gesture gesture = m_dragging ? m_gesture : Gesture::None;
    const QPoint offset = m_dragOffset;
    const QMargins edges = m_edgeMoves;
    const std::vector<TPalmoControl*> band = controlsInBand();
    const bool bandAdds = m_bandAdds;
    TPalmoControl* pressed = m_pressed;
    cancelDrag();
    switch (gesture) {
    case Gesture::Move:
        if (!offset.isNull())
            emit moveRequested(offset.x(), offset.y());
        break;
    case Gesture::Size:
        if (!edges.isNull())
            emit edgesMoveRequested(edges.left(), edges.top(), edges.right(), edges.bottom());
        break;
    case Gesture::Band:
        emit bandSelectionRequested(band, bandAdds);
        break;
    case Gesture::None:
        // A click (no drag) on a control of a larger selection makes it the only one.
        if (pressed && !(m_selection.size() == 1 && m_selection.front() == pressed))
            emit selectionRequested(pressed, false);
        break;
    }
    updateCursor(event->position().toPoint());
}

bool PreviewWidget::focusNextPrevChild(bool next)
{
    const int count = m_form ? m_form->count() : 0;
    // An empty form has nothing to walk: the keyboard goes on to the next widget.
    if (count == 0)
        return QWidget::focusNextPrevChild(next);
    if (m_gesture == Gesture::None) {
        const int lead = m_selection.empty() ? -1 : m_form->indexOf(m_selection.front());
        const int index = lead < 0 ? (next ? 0 : count - 1) : (lead + (next ? 1 : count - 1)) % count;
        emit selectionRequested(m_form->control(index), false);
    }
    return true;
}

void PreviewWidget::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) && modifiers.testFlag(Qt::ControlModifier)) {
        // Tab walks the controls: Ctrl+Tab is the way out to the window's other widgets.
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab && !modifiers.testFlag(Qt::ShiftModifier));
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape && m_gesture != Gesture::None) {
        cancelDrag();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::SelectAll) && !m_dragging) {
        emit selectAllRequested();
        event->accept();
        return;
    }
    if (m_selection.empty() || m_dragging) {
        QWidget::keyPressEvent(event);
        return;
    }
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    case Qt::Key_Delete:
        emit deleteRequested();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    // Arrows move by a pixel; with Shift they size by a pixel (right and down make larger); with
    // Ctrl they move by the grid's step, or with the grid on take the first selected control to
    // the next grid line that way (the others keep their places relative to it).
    if (modifiers == Qt::NoModifier) {
        emit moveRequested(dx, dy, true);
    } else if (modifiers == Qt::ShiftModifier) {
        emit resizeRequested(dx, dy);
    } else if (modifiers == Qt::ControlModifier) {
        const QRect lead = rectOf(m_selection.front());
        if (m_snapToGrid)
            emit moveRequested(dx ? nextGridLine(lead.x(), dx) - lead.x() : 0, dy ? nextGridLine(lead.y(), dy) - lead.y() : 0,
                               true);
        else
            emit moveRequested(dx * GridStep, dy * GridStep, true);
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
