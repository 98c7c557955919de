#include "views/PreviewWidget.h"

#include "core/Arrange.h"
#include "core/ControlClasses.h"
#include "core/FormModel.h"
#include "views/PaletteDrag.h"

#include "host/palmo/PalmoControls.h"
#include "host/vcl/ColorType.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
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
// - A control class dragged from the palette shows as a dashed outline of a new control's size,
//   its top-left corner at the pointer (the place to aim with), on the nearest grid line when
//   snapping. Only the designer's own drags of a class are taken. Dropped, the control is added
//   there and the preview takes the keyboard; dropped elsewhere, or Escape, adds nothing.

namespace {

// The canvas: a light surface with a dot on every crossing of the layout grid's lines.
const QColor CanvasColor(0xF4, 0xF4, 0xF4);
const QColor GridDotColor(0xC8, 0xC8, 0xC8);
// The selection's colour; the white halo beside it keeps it visible on blue controls too.
const QColor HighlightColor(0x1A, 0x5F, 0xD0);
const QColor HaloColor(Qt::white);
constexpr int HandleSize = 6;
constexpr double HiddenOpacity = 0.35;
// How far from the preview's origin a control's edges are followed (see rectOf).
constexpr std::int64_t ShownReach = std::int64_t{1} << 24;
// How far the preview grows to show controls far from the origin (a million pixels either way),
// and the room it leaves beyond the farthest control.
constexpr std::int64_t ScrollReach = std::int64_t{1} << 20;
constexpr int ScrollMargin = 4 * GridStep;

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

// Where a control dragged from the palette would go: the selection's colour, faint inside, with
// a dashed edge, so it does not pass for a selected control.
void paintDropOutline(QPainter& p, const QRect& outline)
{
    QColor fill = HighlightColor;
    fill.setAlpha(40);
    p.fillRect(outline, fill);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(HaloColor, 1));
    p.drawRect(outline.adjusted(0, 0, -1, -1));
    p.setPen(QPen(HighlightColor, 1, Qt::DashLine));
    p.drawRect(outline.adjusted(0, 0, -1, -1));
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

PreviewWidget::PreviewWidget(FormModel* form, QWidget* parent)
    : QWidget(parent), m_form(form)
{
    setObjectName(QStringLiteral("preview"));
    setAccessibleName(tr("Form preview"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, CanvasColor);
    setPalette(pal);
    // A click gives the preview the keyboard, so the arrow keys and Delete reach it.
    setFocusPolicy(Qt::StrongFocus);
    // The pointer's shape tells a handle and a selected control before anything is pressed.
    setMouseTracking(true);
    // Control classes dragged from the palette.
    setAcceptDrops(true);
    connect(form, &FormModel::changed, this, qOverload<>(&QWidget::update));
    connect(form, &FormModel::changed, this, [this] {
        if (m_extentPending)
            return;
        m_extentPending = true;
        QTimer::singleShot(0, this, &PreviewWidget::updateExtent);
    });
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
    const std::vector<TPalmoControl*> before = std::exchange(m_selection, std::move(selection));
    // A drag of a handle or of the selection is about the controls it started with.
    if (m_gesture == Gesture::Size || m_gesture == Gesture::Move)
        if (m_selection.empty() || (m_grabbed && !isSelected(m_grabbed)))
            cancelDrag();
    update();
    emit selectionShown(before);
    scrollSelectionIntoView();
}

void PreviewWidget::updateExtent()
{
    m_extentPending = false;
    // Alone (not in a scroll area) the preview shows the form from its origin at the size given.
    QScrollArea* area = scrollArea();
    if (!m_form || !area)
        return;
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    for (const TPalmoControl* control : m_form->controls()) {
        left = std::min<std::int64_t>(left, control->FLeft);
        top = std::min<std::int64_t>(top, control->FTop);
        right = std::max(right, std::int64_t{control->FLeft} + std::max(control->FWidth, 0));
        bottom = std::max(bottom, std::int64_t{control->FTop} + std::max(control->FHeight, 0));
    }
    // The origin on a grid line, so that the grid's dots and snapping stay where they were.
    const auto reach = [](std::int64_t edge) { return std::clamp(edge, -ScrollReach, ScrollReach); };
    const auto originOf = [&](std::int64_t least) {
        return least >= 0 ? 0 : static_cast<int>(snappedToGrid(static_cast<int>(reach(least)) - ScrollMargin - GridStep / 2));
    };
    const QPoint origin(originOf(left), originOf(top));
    const QPoint shift = m_origin - origin;
    m_origin = origin;
    setMinimumSize(static_cast<int>(reach(right) - origin.x()) + ScrollMargin,
                   static_cast<int>(reach(bottom) - origin.y()) + ScrollMargin);
    // The scroll area lays the preview out again at once (it would wait for its next resize).
    if (area->widgetResizable())
        area->setWidgetResizable(true);
    if (!shift.isNull()) {
        // The form moved within the preview: scrolled by as much, what was in view stays there.
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->value() + shift.x());
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->value() + shift.y());
        update();
    }
    scrollSelectionIntoView();
}

QScrollArea* PreviewWidget::scrollArea() const
{
    for (QWidget* above = parentWidget(); above; above = above->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(above))
            return area;
    return nullptr;
}

void PreviewWidget::scrollSelectionIntoView()
{
    const QRect lead = m_selection.empty() ? QRect() : rectOf(m_selection.front());
    if (lead == m_shownLead)
        return;
    m_shownLead = lead;
    QScrollArea* area = scrollArea();
    if (!area || lead.isNull() || (area->widget() != this && !area->widget()->isAncestorOf(this)))
        return;
    const QPoint center = area->widget() == this ? lead.center() : mapTo(area->widget(), lead.center());
    area->ensureVisible(center.x(), center.y(), std::min(lead.width() / 2 + ScrollMargin, area->viewport()->width() / 2),
                        std::min(lead.height() / 2 + ScrollMargin, area->viewport()->height() / 2));
}

void PreviewWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (hasFocus())
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
    // A form may place a control anywhere in int's range, where QRect's own arithmetic (its
    // width, adjusted, translated) would overflow. The edges are worked out in 64 bits and held
    // within ShownReach of the preview's origin: what lies beyond is never on screen, and the
    // handles, the outline and a drag's offsets stay far inside int's range. (A control larger
    // than that is painted as if it ended there.)
    const auto held = [](std::int64_t edge) { return static_cast<int>(std::clamp(edge, -ShownReach, ShownReach)); };
    const std::int64_t x = std::int64_t{control->FLeft} - m_origin.x();
    const std::int64_t y = std::int64_t{control->FTop} - m_origin.y();
    const int left = held(x);
    const int top = held(y);
    const int right = held(x + control->FWidth);
    const int bottom = held(y + control->FHeight);
    return right > left && bottom > top ? QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) : QRect(left, top, 0, 0);
}

QRect PreviewWidget::shownRectOf(const TPalmoControl* control) const
{
    const QRect rect = rectOf(control);
    if (!m_dragging || !isSelected(control))
        return rect;
    if (m_gesture == Gesture::Move)
        return rect.translated(m_dragOffset);
    if (m_gesture == Gesture::Size)
    {
        // The shown rectangle is held well inside the range, so the box converts back safely.
        const Box moved = withEdgesMoved({rect.x(), rect.y(), rect.width(), rect.height()}, m_edgeMoves.left(),
                                         m_edgeMoves.top(), m_edgeMoves.right(), m_edgeMoves.bottom());
        return QRect(moved.left, moved.top, moved.width, moved.height);
    }
    return rect;
}

bool PreviewWidget::isSelected(const TPalmoControl* control) const
{
    return std::find(m_selection.begin(), m_selection.end(), control) != m_selection.end();
}

bool PreviewWidget::showsDraggedPlaces() const
{
    return m_dragging && (m_gesture == Gesture::Move || m_gesture == Gesture::Size);
}

Box PreviewWidget::shownPlaceOf(const TPalmoControl* control) const
{
    // As the form core works out a move and a handle's drag: the readout shows what will be written.
    const Box place{control->FLeft, control->FTop, control->FWidth, control->FHeight};
    if (!showsDraggedPlaces() || !isSelected(control))
        return place;
    if (m_gesture == Gesture::Move)
        return {saturatingAdd(place.left, m_dragOffset.x()), saturatingAdd(place.top, m_dragOffset.y()), place.width,
                place.height};
    return withEdgesMoved(place, m_edgeMoves.left(), m_edgeMoves.top(), m_edgeMoves.right(), m_edgeMoves.bottom());
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
    if (wasDragging) {
        update();
        emit shownPlacesChanged();
    }
}

void PreviewWidget::showDropOutline(const QPoint& point, const QSize& size)
{
    const QPoint corner = m_snapToGrid ? QPoint(snappedToGrid(point.x()), snappedToGrid(point.y())) : point;
    const QRect outline = size.isEmpty() ? QRect() : QRect(corner, size);
    if (outline == m_dropOutline)
        return;
    update(m_dropOutline);
    m_dropOutline = outline;
    update(m_dropOutline);
    emit shownPlacesChanged();
}

void PreviewWidget::dragEnterEvent(QDragEnterEvent* event)
{
    const ControlClass* controlClass = controlClassNamed(controlClassIn(event->mimeData()));
    if (!controlClass || !m_form) {
        event->ignore();
        return;
    }
    // The button that started the drag is held: no press of the preview's is under way.
    cancelDrag();
    m_dropClass = controlClass->name();
    // The outline has the size a new control of the class has.
    const std::unique_ptr<TPalmoControl> sample = controlClass->create();
    m_dropOutline = QRect();
    showDropOutline(event->position().toPoint(), QSize(std::max(1, sample->FWidth), std::max(1, sample->FHeight)));
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void PreviewWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_dropClass.isEmpty()) {
        event->ignore();
        return;
    }
    showDropOutline(event->position().toPoint(), m_dropOutline.size());
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void PreviewWidget::dragLeaveEvent(QDragLeaveEvent* event)
{
    // Gone from the preview, or Escape pressed: nothing is added.
    m_dropClass.clear();
    showDropOutline(QPoint(), QSize());
    event->accept();
}

void PreviewWidget::dropEvent(QDropEvent* event)
{
    if (m_dropClass.isEmpty()) {
        event->ignore();
        return;
    }
    showDropOutline(event->position().toPoint(), m_dropOutline.size());
    const QString className = m_dropClass;
    const QPoint at = m_dropOutline.topLeft();
    m_dropClass.clear();
    showDropOutline(QPoint(), QSize());
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The new control is the selection: the keys that move and size it go to the preview.
    setFocus(Qt::MouseFocusReason);
    emit addRequested(className, at);
}

void PreviewWidget::paintFaded(QPainter& p, const TPalmoControl& control, const QRect& rect, const QRect& dirty) const
{
    // The layer covers only the part being painted, however large the control claims to be (the
    // preview itself may be as large as the form reaches).
    const QRect shown = rect.intersected(dirty);
    if (shown.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    QImage layer(shown.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    QPainter lp(&layer);
    lp.setRenderHint(QPainter::Antialiasing);
    lp.setFont(font());
    lp.translate(rect.topLeft() - shown.topLeft());
    paintControl(lp, control, QRectF(QPointF(0, 0), QSizeF(rect.size())));
    lp.end();
    if (!control.FEnabled)
        toGreys(layer);
    p.save();
    p.setOpacity(control.FVisible ? 1.0 : HiddenOpacity);
    p.drawImage(shown.topLeft(), layer);
    p.restore();
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
                paintFaded(p, *control, rect, dirty);
            }
        }

        p.setRenderHint(QPainter::Antialiasing, false);
        const std::vector<TPalmoControl*> outlined = shownSelection();
        for (std::size_t i = outlined.size(); i-- > 0;) {  // the first drawn last, on top
            // Only the outlines the repaint reaches: with 10,000 selected, most are far away.
            const QRect rect = shownRectOf(outlined[i]);
            if (rect.adjusted(-HandleSize, -HandleSize, HandleSize, HandleSize).intersects(dirty))
                paintSelection(p, rect, i == 0);
        }
        if (m_gesture == Gesture::Band && m_dragging)
            paintBand(p, QRect(m_dragStart, m_dragPoint).normalized());
        if (!m_dropOutline.isEmpty())
            paintDropOutline(p, m_dropOutline);
    }
    // In a scroll area, on the edges of what shows.
    if (hasFocus())
        paintFocusFrame(p, visibleRegion().boundingRect());
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
    if (showsDraggedPlaces())
        emit shownPlacesChanged();
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

void PreviewWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    TPalmoControl* hit = event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier
                             ? controlAt(event->position().toPoint())
                             : nullptr;
    if (!hit) {
        QWidget::mouseDoubleClickEvent(event);  // a press, as before
        return;
    }
    event->accept();
    cancelDrag();
    emit captionEditRequested(hit);
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
    // the next grid line that way (the others keep their places relative to it); with Ctrl+Shift
    // they size by the grid's step in the same way.
    if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        emit gridResizeRequested(dx, dy);
    } else if (modifiers == Qt::NoModifier) {
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
