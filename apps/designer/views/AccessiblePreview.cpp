#include "views/AccessiblePreview.h"

#include "core/FormModel.h"
#include "views/AccessibleEvents.h"
#include "views/PreviewWidget.h"

#include "host/palmo/PalmoControl.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <array>

namespace {

// How many changed places are told one by one; a change of more (a move of all of a large
// selection) is told for these and said once for the whole.
constexpr int MostToldOneByOne = 32;

// The property at a path of one step into a part ("Appearance.Caption") or of the control itself.
QVariant valueAt(const TPalmoControl& control, const char* part, const char* name)
{
    const QObject* owner = &control;
    if (part) {
        owner = control.property(part).value<QObject*>();
        if (!owner)
            return QVariant();
    }
    return owner->property(name);
}

// Left, top, width and height as the form holds them (any int: no rectangle arithmetic).
std::array<int, 4> placeOf(const TPalmoControl& control)
{
    return {control.FLeft, control.FTop, control.FWidth, control.FHeight};
}

PreviewAccessibility* accessibilityOf(const PreviewWidget* preview)
{
    return preview ? preview->findChild<PreviewAccessibility*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

// One control of the form. It has no widget of its own: the preview's object keeps it
// registered and frees it with itself.
class FormControlAccessible : public QAccessibleInterface {
public:
    FormControlAccessible(PreviewWidget* preview, TPalmoControl* control) : m_preview(preview), m_control(control) {}

    TPalmoControl* control() const { return m_control; }
    bool isValid() const override { return m_preview && m_control && m_preview->form() && index() >= 0; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_preview ? m_preview->window()->windowHandle() : nullptr; }

    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_preview.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return QString();
        switch (kind) {
        case QAccessible::Name: return PreviewAccessibility::nameOf(*m_control);
        case QAccessible::Description: return PreviewAccessibility::descriptionOf(*m_control);
        case QAccessible::Value: {
            // A slider says its position; the others show their value in their name.
            const QVariant position = m_control->metaObject()->className() == QByteArrayLiteral("TPalmoTrackbar")
                                          ? valueAt(*m_control, "Appearance", "Position")
                                          : QVariant();
            return position.isValid() ? position.toString() : QString();
        }
        default: return QString();
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect place = m_preview->placeOf(m_control);
        return QRect(m_preview->mapToGlobal(place.topLeft()), place.size());
    }
    QAccessible::Role role() const override
    {
        return isValid() ? PreviewAccessibility::roleOf(*m_control) : QAccessible::NoRole;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const auto& selection = m_preview->selection();
        state.focusable = true;
        state.selectable = true;
        state.selected = std::find(selection.begin(), selection.end(), m_control) != selection.end();
        const PreviewAccessibility* told = accessibilityOf(m_preview);
        state.focused = m_preview->hasFocus() && told && told->current() == m_control;
        state.disabled = !m_control->FEnabled;
        state.invisible = !m_preview->isVisible();
        state.offscreen = state.invisible || !m_preview->visibleRegion().intersects(m_preview->placeOf(m_control));
        const QVariant checked = valueAt(*m_control, "Appearance", "Checked");
        if (checked.isValid() && checked.metaType().id() == QMetaType::Bool) {
            state.checkable = true;
            state.checked = checked.toBool();
        }
        return state;
    }

private:
    int index() const { return m_preview->form()->indexOf(m_control); }

    QPointer<PreviewWidget> m_preview;
    QPointer<TPalmoControl> m_control;
};

// The preview: a form whose children are its controls, in the form's order.
class PreviewAccessible : public QAccessibleWidget {
public:
    explicit PreviewAccessible(PreviewWidget* preview) : QAccessibleWidget(preview, QAccessible::Form) {}
    ~PreviewAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_children))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return preview()->form() ? preview()->form()->count() : 0; }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        TPalmoControl* control = preview()->form()->control(index);
        if (const auto found = m_children.constFind(control); found != m_children.constEnd()) {
            auto* known = static_cast<FormControlAccessible*>(QAccessible::accessibleInterface(*found));
            if (known && known->control() == control)
                return known;
            // A control that went, and another made where it was.
            QAccessible::deleteAccessibleInterface(*found);
        }
        auto* made = new FormControlAccessible(preview(), control);
        m_children.insert(control, QAccessible::registerAccessibleInterface(made));
        return made;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || child->role() == QAccessible::NoRole || child->parent() != this)
            return -1;
        const auto* control = static_cast<const FormControlAccessible*>(child)->control();
        return preview()->form() ? preview()->form()->indexOf(control) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        TPalmoControl* control = preview()->controlAt(preview()->mapFromGlobal(QPoint(x, y)));
        return control ? child(preview()->form()->indexOf(control)) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        const PreviewAccessibility* told = accessibilityOf(preview());
        TPalmoControl* current = preview()->hasFocus() && told ? told->current() : nullptr;
        return current ? child(preview()->form()->indexOf(current)) : nullptr;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.multiSelectable = true;
        return state;
    }

private:
    PreviewWidget* preview() const { return static_cast<PreviewWidget*>(widget()); }

    // Registered children by control; made when first asked for.
    mutable QHash<const TPalmoControl*, QAccessible::Id> m_children;
};

QAccessibleInterface* previewFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("PreviewWidget"))
        if (auto* preview = qobject_cast<PreviewWidget*>(object))
            return new PreviewAccessible(preview);
    return nullptr;
}

}  // namespace

PreviewAccessibility::PreviewAccessibility(PreviewWidget* preview, FormModel* form)
    : QObject(preview), m_preview(preview), m_form(form)
{
    static const bool installed = [] {
        QAccessible::installFactory(previewFactory);
        return true;
    }();
    (void)installed;
    // An object made for the preview before the factory was there knows no children: it goes,
    // and the next question makes the preview's own.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(preview); made && !dynamic_cast<PreviewAccessible*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    preview->installEventFilter(this);
    connect(preview, &PreviewWidget::selectionShown, this, &PreviewAccessibility::selectionChanged);
    connect(form, &FormModel::changed, this, [this] {
        // A burst of changes (a drag's end, an undo of many) is looked at once.
        if (m_places.isEmpty() || m_changePending)
            return;
        m_changePending = true;
        QTimer::singleShot(0, this, [this] {
            m_changePending = false;
            formChanged();
        });
    });
}

QAccessible::Role PreviewAccessibility::roleOf(const TPalmoControl& control)
{
    static const QHash<QByteArray, QAccessible::Role> roles = {
        {"TPalmoButton", QAccessible::Button},         {"TPalmoOnOffButton", QAccessible::CheckBox},
        {"TPalmoTrackbar", QAccessible::Slider},       {"TPalmoListItem", QAccessible::ListItem},
        {"TPalmoPageIndicator", QAccessible::PageTabList}, {"TPalmoSpinner", QAccessible::SpinBox},
        {"TPalmoPopup", QAccessible::Dialog},
    };
    return roles.value(QByteArray(control.metaObject()->className()), QAccessible::Client);
}

QString PreviewAccessibility::nameOf(const TPalmoControl& control)
{
    // The text the control shows: a caption, a line's text, a popup's title, the switch's text
    // for the state it is in.
    QString shown;
    const QVariant checked = valueAt(control, "Appearance", "Checked");
    if (checked.isValid() && checked.metaType().id() == QMetaType::Bool)
        shown = valueAt(control, nullptr, checked.toBool() ? "OnText" : "OffText").toString();
    for (const auto& [part, name] : {std::pair{"Appearance", "Caption"}, {nullptr, "Text"}, {"Appearance", "Title"}})
        if (shown.isEmpty())
            shown = valueAt(control, part, name).toString();
    shown = shown.simplified();
    return shown.isEmpty() || shown == control.Name() ? control.Name() : QStringLiteral("%1, %2").arg(control.Name(), shown);
}

QString PreviewAccessibility::descriptionOf(const TPalmoControl& control)
{
    QString text = tr("Left %1, Top %2, Width %3, Height %4")
                       .arg(control.FLeft)
                       .arg(control.FTop)
                       .arg(control.FWidth)
                       .arg(control.FHeight);
    if (!control.FVisible)
        text += tr(", hidden");
    if (!control.FEnabled)
        text += tr(", disabled");
    return text;
}

TPalmoControl* PreviewAccessibility::current() const
{
    const auto& selection = m_preview->selection();
    if (m_current && std::find(selection.begin(), selection.end(), m_current) != selection.end())
        return m_current;
    return selection.empty() ? nullptr : selection.front();
}

void PreviewAccessibility::raiseFor(TPalmoControl* control, QAccessible::Event type)
{
    const int index = m_form->indexOf(control);
    if (index < 0)
        return;
    QAccessibleEvent event(m_preview, type);
    event.setChild(index);
    raiseAccessibleEvent(&event);
}

void PreviewAccessibility::selectionChanged(const std::vector<TPalmoControl*>& before)
{
    const auto& after = m_preview->selection();
    // Sets: a selection of thousands changes in one pass.
    const QSet<const TPalmoControl*> wereSelected(before.begin(), before.end());
    const QSet<const TPalmoControl*> areSelected(after.begin(), after.end());
    std::vector<TPalmoControl*> added;
    std::vector<TPalmoControl*> removed;
    for (TPalmoControl* control : after)
        if (!wereSelected.contains(control))
            added.push_back(control);
    for (TPalmoControl* control : before)
        if (!areSelected.contains(control))
            removed.push_back(control);
    TPalmoControl* const wasCurrent = m_current && wereSelected.contains(m_current) ? m_current
                                      : before.empty()                              ? nullptr
                                                                                    : before.front();
    if (!added.empty())
        m_current = added.back();
    if (added.size() + removed.size() > MostToldOneByOne) {
        // Select All on a large form: one event for the whole, not one per control.
        QAccessibleEvent event(m_preview, QAccessible::SelectionWithin);
        raiseAccessibleEvent(&event);
    } else if (after.size() == 1 && added.size() == 1) {
        raiseFor(after.front(), QAccessible::Selection);
    } else {
        for (TPalmoControl* control : removed)
            raiseFor(control, QAccessible::SelectionRemove);
        for (TPalmoControl* control : added)
            raiseFor(control, QAccessible::SelectionAdd);
    }
    if (m_preview->hasFocus() && current() && current() != wasCurrent)
        raiseFor(current(), QAccessible::Focus);
    rememberPlaces();
}

void PreviewAccessibility::rememberPlaces()
{
    m_places.clear();
    const auto& selection = m_preview->selection();
    for (std::size_t i = 0; i < selection.size() && i < MostToldOneByOne; ++i)
        m_places.insert(selection[i], placeOf(*selection[i]));
}

void PreviewAccessibility::formChanged()
{
    std::vector<TPalmoControl*> moved;
    for (auto it = m_places.constBegin(); it != m_places.constEnd(); ++it) {
        auto* control = const_cast<TPalmoControl*>(it.key());
        if (m_form->indexOf(control) < 0)
            continue;
        if (placeOf(*control) != it.value())
            moved.push_back(control);
    }
    rememberPlaces();
    for (TPalmoControl* control : moved) {
        raiseFor(control, QAccessible::LocationChanged);
        // Its description says its place; the announcement below is what is spoken.
        raiseFor(control, QAccessible::DescriptionChanged);
    }
    if (!moved.empty())
        announce(m_preview, nameOf(*moved.front()) + QStringLiteral(": ") + descriptionOf(*moved.front()));
}

bool PreviewAccessibility::eventFilter(QObject* watched, QEvent* event)
{
    // The keyboard comes to the preview: the screen reader's focus goes on to its current control,
    // after Qt has told of the preview's own focus.
    if (watched == m_preview && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, this, [this] {
            if (m_preview->hasFocus() && current())
                raiseFor(current(), QAccessible::Focus);
        });
    return QObject::eventFilter(watched, event);
}
