#include "views/InPlaceEditing.h"

#include "views/ControlListModel.h"
#include "views/PreviewWidget.h"
#include "core/ControlClasses.h"
#include "core/FormEdits.h"
#include "core/FormModel.h"
#include "core/FormProperties.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QStatusBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstdint>
#include <functional>

namespace {

// The list's editor of a name: what is typed goes to the form's rename, never straight into the
// model, so that a refused name is said and the old one stays.
class NameDelegate : public QStyledItemDelegate {
public:
    NameDelegate(std::function<void(TPalmoControl*, const QString&)> rename, QObject* parent)
        : QStyledItemDelegate(parent), m_rename(std::move(rename))
    {
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        const auto* model = qobject_cast<const ControlListModel*>(index.model());
        const auto* line = qobject_cast<QLineEdit*>(editor);
        if (TPalmoControl* control = model ? model->controlAt(index) : nullptr; control && line)
            m_rename(control, line->text());
    }

private:
    std::function<void(TPalmoControl*, const QString&)> m_rename;
};

// Where the control is drawn in the preview, held to the widget's reach as the preview holds it.
QRect placeInPreview(const TPalmoControl& control)
{
    static constexpr std::int64_t reach = std::int64_t{1} << 24;
    const auto held = [](std::int64_t edge) { return static_cast<int>(std::clamp(edge, -reach, reach)); };
    const int left = held(control.FLeft);
    const int top = held(control.FTop);
    return QRect(QPoint(left, top), QPoint(held(std::int64_t{control.FLeft} + control.FWidth) - 1,
                                           held(std::int64_t{control.FTop} + control.FHeight) - 1));
}

}  // namespace

InPlaceEditing::InPlaceEditing(QMainWindow* window, FormEdits& edits, PreviewWidget* preview, QListView* list)
    : QObject(window), m_window(window), m_edits(edits), m_preview(preview), m_list(list), m_line(new QLineEdit(preview))
{
    m_line->setObjectName(QStringLiteral("inPlaceEditor"));
    m_line->hide();
    m_line->installEventFilter(this);
    // Enter keeps what was typed (so does a click elsewhere: see eventFilter).
    connect(m_line, &QLineEdit::returnPressed, this, &InPlaceEditing::commit);
    // A control that leaves the form (an undo, another file) takes its line with it.
    connect(&edits.form(), &FormModel::controlRemoved, this, [this](int, TPalmoControl* control) {
        if (control == m_control)
            close();
    });

    list->setItemDelegate(new NameDelegate([this](TPalmoControl* control, const QString& name) {
        if (name != control->Name())
            reportRefusal(m_edits.rename(control, name));
    }, list));
    // F2 renames; a click only selects, as before.
    list->setEditTriggers(QAbstractItemView::EditKeyPressed);
}

QLineEdit* InPlaceEditing::editor() const
{
    return m_field == Field::None ? nullptr : m_line;
}

bool InPlaceEditing::editCaption(TPalmoControl* control)
{
    const QString path = control ? captionPathOf(*control) : QString();
    const std::optional<FormProperty> property = path.isEmpty() ? std::nullopt : propertyAt(control, path);
    if (!property) {
        if (control)
            m_window->statusBar()->showMessage(tr("%1 shows no text to edit").arg(control->Name()), 5000);
        return false;
    }
    const QString text = property->property.read(property->owner).toString();
    if (text.contains(u'\n') || text.contains(u'\r')) {
        m_window->statusBar()->showMessage(tr("%1 of %2 has several lines: edit it in the inspector")
                                               .arg(path, control->Name()), 8000);
        return false;
    }
    m_path = path;
    open(control, Field::Caption, text);
    return true;
}

void InPlaceEditing::renameInPreview(TPalmoControl* control)
{
    if (control)
        open(control, Field::Name, control->Name());
}

void InPlaceEditing::renameInList(TPalmoControl* control)
{
    const int row = control ? m_edits.form().indexOf(control) : -1;
    if (row < 0)
        return;
    const QModelIndex index = m_list->model()->index(row, 0);
    m_list->setCurrentIndex(index);
    m_list->edit(index);
}

void InPlaceEditing::open(TPalmoControl* control, Field field, const QString& text)
{
    close();
    m_control = control;
    m_field = field;
    m_original = text;
    m_line->setText(text);
    m_line->selectAll();
    // Over the control, at least wide enough for a word and tall enough for a line, inside the
    // preview.
    const QRect place = placeInPreview(*control);
    const int height = m_line->sizeHint().height();
    QRect line(place.left(), place.center().y() - height / 2, std::max(place.width(), 96), height);
    line.moveLeft(std::clamp(line.left(), 0, std::max(0, m_preview->width() - line.width())));
    line.moveTop(std::clamp(line.top(), 0, std::max(0, m_preview->height() - line.height())));
    m_line->setGeometry(line);
    m_line->show();
    m_line->raise();
    m_line->setFocus(Qt::OtherFocusReason);
}

void InPlaceEditing::commit()
{
    if (m_field == Field::None)
        return;
    const Field field = std::exchange(m_field, Field::None);
    const QPointer<TPalmoControl> control = m_control;
    const QString text = m_line->text();
    close();
    if (!control || text == m_original)
        return;
    if (field == Field::Name) {
        reportRefusal(m_edits.rename(control, text));
        return;
    }
    const QString path = m_path;
    m_edits.setProperty(path, {control.data()}, [&] {
        if (const std::optional<FormProperty> property = propertyAt(control.data(), path))
            property->property.write(property->owner, text);
    }, false);
}

void InPlaceEditing::close()
{
    m_field = Field::None;
    m_control = nullptr;
    if (!m_line->isVisible())
        return;
    // The keyboard goes back to the preview, where the arrow keys move the control again; first,
    // for a focused line that hides passes the keyboard on as Tab does, which in the preview
    // selects the next control.
    if (m_line->hasFocus())
        m_preview->setFocus(Qt::OtherFocusReason);
    m_line->hide();
}

void InPlaceEditing::reportRefusal(const QString& why)
{
    if (!why.isEmpty())
        m_window->statusBar()->showMessage(tr("Not renamed: %1").arg(why), 10000);
}

bool InPlaceEditing::eventFilter(QObject* watched, QEvent* event)
{
    // A click elsewhere keeps what was typed; the line's own menu or another window does not end
    // the edit.
    if (watched == m_line && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            commit();
    }
    if (watched == m_line && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            close();
            return true;
        }
        // Tab would walk the preview's controls under the line: it ends the edit instead.
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            commit();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
