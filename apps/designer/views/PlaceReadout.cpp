#include "views/PlaceReadout.h"

#include "core/FormModel.h"
#include "core/FormSelection.h"
#include "views/PreviewWidget.h"
#include "views/PropertyModel.h"

#include <QHash>

#include <algorithm>
#include <cstdint>

PlaceReadout::PlaceReadout(PreviewWidget* preview, FormModel* form, FormSelection* selection, PropertyModel* inspector,
                           QWidget* parent)
    : QLabel(parent), m_preview(preview), m_selection(selection), m_inspector(inspector)
{
    setObjectName(QStringLiteral("placeReadout"));
    setAccessibleName(tr("Position and size"));
    setTextFormat(Qt::PlainText);
    // Room for four-digit numbers, so the bar does not shift at every pixel of a drag.
    setMinimumWidth(fontMetrics().horizontalAdvance(placeText({8888, 8888, 8888, 8888})));
    // During a drag at once, as the pointer goes; otherwise once the change is over.
    connect(preview, &PreviewWidget::shownPlacesChanged, this, [this] {
        if (m_preview->showsDraggedPlaces() || !m_preview->dropOutline().isEmpty())
            showPlaces();
        else
            showPlacesSoon();
    });
    connect(form, &FormModel::changed, this, &PlaceReadout::showPlacesSoon);
    connect(selection, &FormSelection::changed, this, &PlaceReadout::showPlacesSoon);
    showPlaces();
}

QString PlaceReadout::placeText(const ::Box& place, std::size_t count)
{
    const QString text =
        tr("Left %1, Top %2, Width %3, Height %4").arg(place.left).arg(place.top).arg(place.width).arg(place.height);
    return count == 1 ? text : tr("%1 controls: %2").arg(count).arg(text);
}

std::optional<::Box> PlaceReadout::boundsOf(const std::vector<::Box>& boxes)
{
    if (boxes.empty())
        return std::nullopt;
    std::int64_t left = boxes.front().left;
    std::int64_t top = boxes.front().top;
    std::int64_t right = boxes.front().right();
    std::int64_t bottom = boxes.front().bottom();
    for (const ::Box& box : boxes) {
        left = std::min<std::int64_t>(left, box.left);
        top = std::min<std::int64_t>(top, box.top);
        right = std::max(right, box.right());
        bottom = std::max(bottom, box.bottom());
    }
    return ::Box{int(left), int(top), clampToInt(right - left), clampToInt(bottom - top)};
}

void PlaceReadout::showPlacesSoon()
{
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(this, [this] { if (m_pending) showPlaces(); }, Qt::QueuedConnection);
}

void PlaceReadout::showPlaces()
{
    m_pending = false;
    const QRect outline = m_preview->dropOutline();
    if (!outline.isEmpty()) {
        setText(placeText({outline.x(), outline.y(), outline.width(), outline.height()}));
        show();
        return;
    }
    std::vector<::Box> places;
    places.reserve(m_selection->size());
    for (const TPalmoControl* control : m_selection->controls())
        places.push_back(m_preview->shownPlaceOf(control));
    const std::optional<::Box> bounds = boundsOf(places);
    setText(bounds ? placeText(*bounds, places.size()) : QString());
    // Nothing to say: no empty box in the bar, and the bar's messages have its room.
    setVisible(bounds.has_value());

    // The inspector's rows show the dragged places too: a value the controls share, or nothing.
    QHash<QString, QString> shown;
    if (m_preview->showsDraggedPlaces() && !places.empty()) {
        const auto shared = [&](const QString& path, int ::Box::*field) {
            const bool same = std::all_of(places.begin(), places.end(),
                                          [&](const ::Box& box) { return box.*field == places.front().*field; });
            shown.insert(path, same ? QString::number(places.front().*field) : QString());
        };
        shared(QStringLiteral("Left"), &::Box::left);
        shared(QStringLiteral("Top"), &::Box::top);
        shared(QStringLiteral("Width"), &::Box::width);
        shared(QStringLiteral("Height"), &::Box::height);
    }
    m_inspector->setShownTexts(shown);
}
