#include "views/PreviewWidget.h"

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

namespace {

QColor qcolor(TCVColor color) { return QColorOf(color.Value); }
QColor qcolor(TColorValue color) { return QColorOf(color.Value); }

// The canvas: a light surface with a dot every GridStep pixels, as designers lay out forms.
constexpr int GridStep = 8;
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

// The outline of a selected control: one pixel outside its rectangle, with grab squares centred
// on the outline's corners. The first selected is drawn solid with filled squares.
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

    const QPoint corners[] = {outline.topLeft(), QPoint(outline.left() + outline.width(), outline.top()),
                              QPoint(outline.left(), outline.top() + outline.height()),
                              QPoint(outline.left() + outline.width(), outline.top() + outline.height())};
    p.setPen(QPen(primary ? HaloColor : HighlightColor, 1));
    p.setBrush(primary ? HighlightColor : HaloColor);
    for (const QPoint& corner : corners)
        p.drawRect(QRect(corner.x() - HandleSize / 2, corner.y() - HandleSize / 2, HandleSize - 1, HandleSize - 1));
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
    if (m_selection.empty())
        cancelDrag();
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

bool PreviewWidget::isSelected(const TPalmoControl* control) const
{
    return std::find(m_selection.begin(), m_selection.end(), control) != m_selection.end();
}

void PreviewWidget::forget(TPalmoControl* control)
{
    m_selection.erase(std::remove(m_selection.begin(), m_selection.end(), control), m_selection.end());
    if (m_pressed == control)
        m_pressed = nullptr;
    if (m_selection.empty())
        cancelDrag();
    update();
}

void PreviewWidget::cancelDrag()
{
    const bool wasDragging = m_dragging;
    m_armed = false;
    m_dragging = false;
    m_dragOffset = QPoint();
    m_pressed = nullptr;
    if (wasDragging)
        update();
}

void PreviewWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);

    // The canvas with its grid's dots, tiled from one cell (a dot per point would cost
    // milliseconds on every frame of a drag).
    const QRect dirty = event->rect();
    QImage cell(GridStep, GridStep, QImage::Format_RGB32);
    cell.fill(CanvasColor);
    cell.setPixelColor(0, 0, GridDotColor);
    p.fillRect(dirty, QBrush(cell));

    if (!m_form)
        return;
    p.setRenderHint(QPainter::Antialiasing);
    for (const TPalmoControl* control : m_form->controls()) {
        QRect rect = rectOf(control);
        if (m_dragging && isSelected(control))
            rect.translate(m_dragOffset);
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
    for (std::size_t i = m_selection.size(); i-- > 0;) {  // the first drawn last, on top
        QRect rect = rectOf(m_selection[i]);
        if (m_dragging)
            rect.translate(m_dragOffset);
        paintSelection(p, rect, i == 0);
    }
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
    const bool toggle = event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::ShiftModifier);
    TPalmoControl* hit = controlAt(point);
    if (!hit) {
        emit selectionRequested(nullptr, toggle);
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
    m_armed = true;
    m_dragStart = point;
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_armed || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    event->accept();
    const QPoint offset = event->position().toPoint() - m_dragStart;
    if (!m_dragging && offset.manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    if (offset != m_dragOffset) {
        m_dragOffset = offset;
        update();
    }
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    const bool dragged = m_dragging;
    const QPoint offset = m_dragOffset;
    TPalmoControl* pressed = m_pressed;
    cancelDrag();
    if (dragged) {
        if (!offset.isNull())
            emit moveRequested(offset.x(), offset.y());
    } else if (pressed && !(m_selection.size() == 1 && m_selection.front() == pressed)) {
        // A click (no drag) on a control of a larger selection makes it the only one.
        emit selectionRequested(pressed, false);
    }
}

void PreviewWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_armed) {
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
    // Arrows move by a pixel; with Shift they size by a pixel (right and down make larger).
    const bool sizing = (event->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
    const auto step = [&](int dx, int dy) {
        if (sizing)
            emit resizeRequested(dx, dy);
        else
            emit moveRequested(dx, dy, true);
    };
    switch (event->key()) {
    case Qt::Key_Left: step(-1, 0); break;
    case Qt::Key_Right: step(1, 0); break;
    case Qt::Key_Up: step(0, -1); break;
    case Qt::Key_Down: step(0, 1); break;
    case Qt::Key_Delete: emit deleteRequested(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}
