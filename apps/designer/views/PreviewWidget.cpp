#include "views/PreviewWidget.h"

#include "core/ControlClasses.h"
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

// The canvas: a light surface with a dot every GridStep pixels, as designers lay out forms.
constexpr int GridStep = 8;
const QColor CanvasColor(0xF4, 0xF4, 0xF4);
const QColor GridDotColor(0xC8, 0xC8, 0xC8);
// The selection's colour; the white halo beside it keeps it visible on blue controls too.
const QColor HighlightColor(0x1A, 0x5F, 0xD0);
const QColor HaloColor(Qt::white);
constexpr int HandleSize = 6;
constexpr double HiddenOpacity = 0.35;

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
