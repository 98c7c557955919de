#include "app/Walkthrough.h"

#include "app/UserInput.h"

#include "core/FormFile.h"
#include "core/FormModel.h"
#include "views/MainWindow.h"
#include "views/PropertyInspector.h"
#include "views/ValueCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QToolBar>
#include <QAction>
#include <QWindow>

Walkthrough::Walkthrough(MainWindow& window, QString directory) : m_window(window), m_directory(std::move(directory)) {}

void Walkthrough::shoot(const QString& name)
{
    shootWidget(&m_window, name);
}

void Walkthrough::shootWidget(QWidget* widget, const QString& name)
{
    QApplication::processEvents();
    QPixmap shot = widget->grab();
    // Open pop-ups are windows of their own: paint them where the user sees them.
    QPainter painter(&shot);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == widget || !top->isVisible() || (top->windowType() != Qt::Popup && top->windowType() != Qt::ToolTip))
            continue;
        painter.drawPixmap(widget->mapFromGlobal(top->mapToGlobal(QPoint(0, 0))), top->grab());
    }
    painter.end();
    const QString file = QDir(m_directory).filePath(QStringLiteral("%1-%2.png").arg(m_shots.size() + 1, 2, 10, QLatin1Char('0')).arg(name));
    shot.save(file);
    m_shots << file;
}

void Walkthrough::check(bool ok, const QString& what)
{
    if (!ok)
        m_failures << what;
}

ValueCombo* Walkthrough::openEditor(const QString& property)
{
    PropertyInspector* inspector = m_window.inspector();
    QTreeView* table = inspector->view();
    const int row = inspector->rowOf(property);
    if (row < 0)
        return nullptr;
    // A click on the value cell: the view opens the in-place editor when the cell becomes current.
    const QModelIndex index = inspector->valueIndex(row);
    table->scrollTo(index);
    const QRect cell = table->visualRect(index);
    // The user steps onto the name first; a click on the value cell then opens the editor at once
    // (a click on the current cell would wait for a possible double click).
    table->setCurrentIndex(index.siblingAtColumn(0));
    // Editors closed so far go first, so that the one found is the one just opened.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    UserInput::click(table->viewport(), cell.center());
    QApplication::processEvents();
    if (!table->viewport()->findChild<ValueCombo*>())
        table->edit(index);
    return table->viewport()->findChild<ValueCombo*>();
}

bool Walkthrough::typeValue(const QString& property, const QString& text)
{
    ValueCombo* editor = openEditor(property);
    if (!editor)
        return false;
    QLineEdit* line = editor->combo()->lineEdit();
    line->selectAll();
    UserInput::type(line, text);
    UserInput::key(line, Qt::Key_Return);
    QApplication::processEvents();
    return true;
}

bool Walkthrough::run()
{
    QDir().mkpath(m_directory);
    playEditSteps();
    playDialogSteps();
    playFormSteps();
    return m_failures.isEmpty();
}

void Walkthrough::playEditSteps()
{
    m_window.show();
    m_window.activateWindow();
    check(UserInput::waitFor([this] { return m_window.isActiveWindow(); }, 2000),
          QStringLiteral("the designer window becomes active"));
    shoot(QStringLiteral("designer"));

    // The walk needs one control of each kind; an empty form gets them from the palette.
    for (const char* className : {"TPalmoButton", "TPalmoPopup", "TPalmoSpinner"})
        if (!m_window.form()->find(QString::fromLatin1(className + 1) + QStringLiteral("1")))
            m_window.addControl(QString::fromLatin1(className));
    check(m_window.selectControl(QStringLiteral("PalmoButton1")), QStringLiteral("select the button"));
    shoot(QStringLiteral("button-properties"));

    // Drop the value list of the Color row.
    PropertyInspector* inspector = m_window.inspector();
    const int colorRow = inspector->rowOf(QStringLiteral("Appearance.Color"));
    check(colorRow >= 0, QStringLiteral("the button has a Color row"));
    if (QPointer<ValueCombo> editor = openEditor(QStringLiteral("Appearance.Color"))) {
        editor->combo()->showPopup();
        QApplication::processEvents();
        shoot(QStringLiteral("value-list"));
        if (editor)
            editor->combo()->hidePopup();
        QApplication::processEvents();
    } else {
        check(false, QStringLiteral("the Color row opens its value editor"));
    }

    check(typeValue(QStringLiteral("Appearance.Color"), QStringLiteral("tomato")), QStringLiteral("type a web name"));
    check(inspector->valueTextAt(colorRow) == QStringLiteral("Tomato"), QStringLiteral("a web name is stored, not ") + inspector->valueTextAt(colorRow) + inspector->lastError());
    shoot(QStringLiteral("web-name-typed"));

    check(typeValue(QStringLiteral("Appearance.Color"), QStringLiteral("$00336699")), QStringLiteral("type a number"));
    check(inspector->valueTextAt(colorRow) == QStringLiteral("$00336699"), QStringLiteral("a number is stored"));
    shoot(QStringLiteral("number-typed"));

    check(typeValue(QStringLiteral("Appearance.Color"), QStringLiteral("not a colour")), QStringLiteral("type a bad text"));
    check(!inspector->lastError().isEmpty(), QStringLiteral("a bad text is refused with a message"));
    check(inspector->valueTextAt(colorRow) == QStringLiteral("$00336699"), QStringLiteral("a bad text changes nothing"));
    shoot(QStringLiteral("bad-text-refused"));
}

bool Walkthrough::inDialog(const QString& property, const std::function<void(QDialog*)>& steps)
{
    ValueCombo* editor = openEditor(property);
    if (!editor || !editor->dialogButton())
        return false;
    bool shown = false;
    // The dialog runs modally: a timer started before it waits for it and plays the steps from
    // inside its loop.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || shown)
            return;
        shown = true;
        poll.stop();
        const auto exposed = [dialog] { return dialog->windowHandle() && dialog->windowHandle()->isExposed(); };
        check(UserInput::waitFor(exposed, 5000), QStringLiteral("the dialog is shown"));
        steps(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start();
    UserInput::click(editor->dialogButton());
    // The button closes the in-place editor and opens the dialog from the event loop.
    check(UserInput::waitFor([&] { return shown; }, 5000), QStringLiteral("the dialog comes up"));
    poll.stop();
    QApplication::processEvents();
    return shown;
}

void Walkthrough::playDialogSteps()
{
    PropertyInspector* inspector = m_window.inspector();
    check(m_window.selectControl(QStringLiteral("PalmoPopup1")), QStringLiteral("select the popup"));
    const int borderRow = inspector->rowOf(QStringLiteral("Appearance.BorderColor"));
    const QString before = inspector->valueTextAt(borderRow);

    // A web-named value: the dialog opens on the custom page with its defaults and shows the
    // web colour as the selection. Typing into the entries and moving the track bar compose a
    // colour but choose nothing, so OK writes the value back unchanged.
    const bool opened = inDialog(QStringLiteral("Appearance.BorderColor"), [&](QDialog* dialog) {
        shootWidget(dialog, QStringLiteral("dialog-on-web-name"));
        auto* hue = dialog->findChild<QLineEdit*>(QStringLiteral("EditHue"));
        auto* sat = dialog->findChild<QLineEdit*>(QStringLiteral("EditSat"));
        auto* track = dialog->findChild<QSlider*>(QStringLiteral("TrackBright"));
        if (!hue || !sat || !track) {
            check(false, QStringLiteral("the dialog has its entries and track bar"));
            return;
        }
        hue->setFocus();
        hue->selectAll();
        UserInput::type(hue, QStringLiteral("120"));
        sat->setFocus();
        sat->selectAll();
        UserInput::type(sat, QStringLiteral("160"));
        check(dialog->findChild<QLineEdit*>(QStringLiteral("editRed"))->text() != QStringLiteral("191"),
              QStringLiteral("typed hue and saturation recompute red, green and blue"));
        shootWidget(dialog, QStringLiteral("dialog-hue-and-saturation-typed"));
        track->setFocus();
        for (int i = 0; i < 4; ++i)
            UserInput::key(track, Qt::Key_PageUp);
        shootWidget(dialog, QStringLiteral("dialog-track-bar-moved"));
        UserInput::click(dialog->findChild<QPushButton*>(QStringLiteral("Button1")));
    });
    check(opened, QStringLiteral("the dialog opens from the ... button"));
    check(inspector->valueTextAt(borderRow) == before, QStringLiteral("OK without a choice writes the value back unchanged"));
    shoot(QStringLiteral("after-dialog-ok"));

    // A numbered value: red, green and blue, and hue, saturation and brightness come from it.
    check(typeValue(QStringLiteral("Appearance.BorderColor"), QStringLiteral("$00336699")), QStringLiteral("type a number"));
    inDialog(QStringLiteral("Appearance.BorderColor"), [&](QDialog* dialog) {
        auto* red = dialog->findChild<QLineEdit*>(QStringLiteral("editRed"));
        check(red && red->text() == QStringLiteral("153"), QStringLiteral("a numbered value loads the red entry"));
        shootWidget(dialog, QStringLiteral("dialog-on-number"));
        UserInput::click(dialog->findChild<QPushButton*>(QStringLiteral("Button1")));
    });
    check(inspector->valueTextAt(borderRow) == QStringLiteral("$00336699"), QStringLiteral("OK keeps the number"));

    playPickingSteps();
}

namespace {

QPoint cellCentre(int index, int columns)
{
    // Cells are 24 pixels square with a one-pixel grid line around each.
    const int col = index % columns;
    const int row = index / columns;
    return {1 + col * 25 + 12, 1 + row * 25 + 12};
}

void sendMove(QWidget* widget, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

}  // namespace

void Walkthrough::playPickingSteps()
{
    PropertyInspector* inspector = m_window.inspector();
    check(m_window.selectControl(QStringLiteral("PalmoSpinner1")), QStringLiteral("select the spinner"));
    const int row = inspector->rowOf(QStringLiteral("Appearance.SelectionColor"));

    // The box: a click picks hue and saturation, a drag moves the cross with the pointer.
    inDialog(QStringLiteral("Appearance.SelectionColor"), [&](QDialog* dialog) {
        QWidget* box = dialog->findChild<QWidget*>(QStringLiteral("PaintBoxColor"));
        auto* hue = dialog->findChild<QLineEdit*>(QStringLiteral("EditHue"));
        auto* sat = dialog->findChild<QLineEdit*>(QStringLiteral("EditSat"));
        UserInput::click(box, QPoint(40, 30));
        check(hue->text() == QStringLiteral("39") && sat->text() == QStringLiteral("170"),
              QStringLiteral("a click in the box picks hue 39 and saturation 170"));
        shootWidget(dialog, QStringLiteral("box-clicked"));
        UserInput::mousePress(box, QPoint(60, 60));
        for (int x = 60; x <= 150; x += 10)
            sendMove(box, QPoint(x, 60 + (x - 60) / 2), Qt::LeftButton);
        UserInput::mouseRelease(box, QPoint(150, 105));
        check(hue->text() == QStringLiteral("149") && sat->text() == QStringLiteral("95"),
              QStringLiteral("a drag ends at hue 149 and saturation 95"));
        shootWidget(dialog, QStringLiteral("box-dragged"));
        UserInput::click(dialog->findChild<QPushButton*>(QStringLiteral("Button2")));
    });

    // The web and system pages, a hovered cell named in the status bar, a chosen web colour.
    inDialog(QStringLiteral("Appearance.SelectionColor"), [&](QDialog* dialog) {
        auto* pages = dialog->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        auto* status = dialog->findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
        pages->setCurrentIndex(0);
        QWidget* web = dialog->findChild<QWidget*>(QStringLiteral("WebColorsGrid"));
        const QPoint hovered = cellCentre(30, 12);
        sendMove(web, hovered, Qt::NoButton);
        check(!status->currentMessage().isEmpty(), QStringLiteral("hovering a web cell names it in the status bar"));
        shootWidget(dialog, QStringLiteral("web-colors-hovered"));
        pages->setCurrentIndex(1);
        QWidget* sys = dialog->findChild<QWidget*>(QStringLiteral("SysColorsGrid"));
        sendMove(sys, cellCentre(24, 9), Qt::NoButton);
        shootWidget(dialog, QStringLiteral("system-colors-hovered"));
        pages->setCurrentIndex(0);
        UserInput::click(web, hovered);
        shootWidget(dialog, QStringLiteral("web-color-chosen"));
        UserInput::click(dialog->findChild<QPushButton*>(QStringLiteral("Button1")));
    });
    const QString webChoice = inspector->valueTextAt(row);
    check(!webChoice.startsWith(QLatin1Char('$')), QStringLiteral("OK stores the chosen web colour"));
    shoot(QStringLiteral("web-color-stored"));

    playCustomColourSteps(row);
}

// "Add" keeps the picked colour in a custom slot; choosing that slot and OK stores it.
void Walkthrough::playCustomColourSteps(int row)
{
    PropertyInspector* inspector = m_window.inspector();
    inDialog(QStringLiteral("Appearance.SelectionColor"), [&](QDialog* dialog) {
        auto* red = dialog->findChild<QLineEdit*>(QStringLiteral("editRed"));
        auto* green = dialog->findChild<QLineEdit*>(QStringLiteral("editGreen"));
        auto* blue = dialog->findChild<QLineEdit*>(QStringLiteral("editBlue"));
        for (auto [entry, text] : {std::pair{red, "32"}, std::pair{green, "160"}, std::pair{blue, "96"}}) {
            entry->setFocus();
            entry->selectAll();
            UserInput::type(entry, QString::fromLatin1(text));
        }
        QWidget* custom = dialog->findChild<QWidget*>(QStringLiteral("GridCustomColors"));
        UserInput::click(custom, cellCentre(3, 14));
        UserInput::click(dialog->findChild<QPushButton*>(QStringLiteral("ButtonAdd")));
        UserInput::click(custom, cellCentre(3, 14));
        shootWidget(dialog, QStringLiteral("custom-color-added-and-chosen"));
        UserInput::click(dialog->findChild<QPushButton*>(QStringLiteral("Button1")));
    });
    check(inspector->valueTextAt(row) == QStringLiteral("$0060A020"), QStringLiteral("OK stores the custom colour"));
    shoot(QStringLiteral("custom-color-stored"));
}

void Walkthrough::playFormSteps()
{
    // Two new controls from the palette, one coloured, the form saved, then opened again in a
    // fresh form: every value as it was left.
    auto* palette = m_window.findChild<QToolBar*>(QStringLiteral("palette"));
    check(palette != nullptr, QStringLiteral("the designer has a control palette"));
    if (!palette)
        return;
    const int before = m_window.form()->count();
    for (const char* className : {"TPalmoListItem", "TPalmoOnOffButton"})
        if (QAction* action = palette->findChild<QAction*>(QStringLiteral("palette_%1").arg(QString::fromLatin1(className))))
            action->trigger();
    check(m_window.form()->count() == before + 2, QStringLiteral("the palette adds two controls"));
    shoot(QStringLiteral("two-controls-added"));

    const QString listItem = m_window.form()->control(m_window.form()->count() - 2)->Name();
    check(m_window.selectControl(listItem), QStringLiteral("select the new list item"));
    check(typeValue(QStringLiteral("Appearance.SelectedColor"), QStringLiteral("Gold")), QStringLiteral("colour the list item"));
    shoot(QStringLiteral("list-item-coloured"));

    const QString saved = QDir(m_directory).filePath(QStringLiteral("walkthrough.cvform"));
    check(m_window.saveAs(saved), QStringLiteral("save the form"));
    check(!m_window.isWindowModified(), QStringLiteral("a saved form shows no unsaved changes"));
    shoot(QStringLiteral("form-saved"));
    const QStringList expected = FormFile::dump(*m_window.form());

    check(m_window.newForm(), QStringLiteral("start a fresh form"));
    check(m_window.form()->count() == 0, QStringLiteral("a fresh form is empty"));
    shoot(QStringLiteral("fresh-form"));
    check(m_window.openForm(saved), QStringLiteral("open the saved form"));
    check(FormFile::dump(*m_window.form()) == expected, QStringLiteral("the saved form opens with every value as it was left"));
    check(m_window.selectControl(listItem), QStringLiteral("select the list item again"));
    check(m_window.inspector()->valueTextAt(m_window.inspector()->rowOf(QStringLiteral("Appearance.SelectedColor")))
              == QStringLiteral("Gold"),
          QStringLiteral("the list item is still gold"));
    shoot(QStringLiteral("saved-form-reopened"));

    // The preview as seen with deuteranopia, then as before; the form itself never changes.
    auto* simulate = m_window.findChild<QMenu*>(QStringLiteral("simulateMenu"));
    auto* deuteranopia = simulate ? simulate->findChild<QAction*>(QStringLiteral("simulateDeuteranopia")) : nullptr;
    auto* normal = simulate ? simulate->findChild<QAction*>(QStringLiteral("simulateNormal")) : nullptr;
    check(deuteranopia && normal, QStringLiteral("View > Simulate offers deuteranopia and normal vision"));
    if (deuteranopia && normal) {
        deuteranopia->trigger();
        shoot(QStringLiteral("simulated-deuteranopia"));
        normal->trigger();
    }
    check(FormFile::dump(*m_window.form()) == expected && !m_window.isWindowModified(),
          QStringLiteral("simulating a colour vision deficiency changes nothing on the form"));
}
