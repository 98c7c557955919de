#include "Walkthrough.h"

#include "MainWindow.h"
#include "PropertyInspector.h"
#include "ValueCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QTableWidget>
#include <QTest>

Walkthrough::Walkthrough(MainWindow& window, QString directory) : m_window(window), m_directory(std::move(directory)) {}

void Walkthrough::shoot(const QString& name)
{
    QApplication::processEvents();
    QPixmap shot = m_window.grab();
    // Open pop-ups are windows of their own: paint them where the user sees them.
    QPainter painter(&shot);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == &m_window || !top->isVisible() || !(top->windowFlags() & Qt::Popup))
            continue;
        painter.drawPixmap(m_window.mapFromGlobal(top->mapToGlobal(QPoint(0, 0))), top->grab());
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
    QTableWidget* table = inspector->table();
    const int row = inspector->rowOf(property);
    if (row < 0)
        return nullptr;
    // A click on the value cell: the table opens the in-place editor when the cell becomes current.
    const QModelIndex index = table->model()->index(row, 1);
    const QRect cell = table->visualRect(index);
    // The user steps onto the name first; a click on the value cell then opens the editor at once
    // (a click on the current cell would wait for a possible double click).
    table->setCurrentIndex(table->model()->index(row, 0));
    // Editors closed so far go first, so that the one found is the one just opened.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
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
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
    QApplication::processEvents();
    return true;
}

bool Walkthrough::run()
{
    QDir().mkpath(m_directory);
    m_window.show();
    m_window.activateWindow();
    QTest::qWaitForWindowActive(&m_window, 2000);
    shoot(QStringLiteral("designer"));

    check(m_window.selectControl(QStringLiteral("PalmoButton1.Appearance")), QStringLiteral("select the button"));
    shoot(QStringLiteral("button-properties"));

    // Drop the value list of the Color row.
    PropertyInspector* inspector = m_window.inspector();
    const int colorRow = inspector->rowOf(QStringLiteral("Color"));
    check(colorRow >= 0, QStringLiteral("the button has a Color row"));
    if (QPointer<ValueCombo> editor = openEditor(QStringLiteral("Color"))) {
        editor->combo()->showPopup();
        QApplication::processEvents();
        shoot(QStringLiteral("value-list"));
        if (editor)
            editor->combo()->hidePopup();
        QApplication::processEvents();
    } else {
        check(false, QStringLiteral("the Color row opens its value editor"));
    }

    check(typeValue(QStringLiteral("Color"), QStringLiteral("tomato")), QStringLiteral("type a web name"));
    check(inspector->valueTextAt(colorRow) == QStringLiteral("Tomato"), QStringLiteral("a web name is stored, not ") + inspector->valueTextAt(colorRow) + inspector->lastError());
    shoot(QStringLiteral("web-name-typed"));

    check(typeValue(QStringLiteral("Color"), QStringLiteral("$00336699")), QStringLiteral("type a number"));
    check(inspector->valueTextAt(colorRow) == QStringLiteral("$00336699"), QStringLiteral("a number is stored"));
    shoot(QStringLiteral("number-typed"));

    check(typeValue(QStringLiteral("Color"), QStringLiteral("not a colour")), QStringLiteral("type a bad text"));
    check(!inspector->lastError().isEmpty(), QStringLiteral("a bad text is refused with a message"));
    check(inspector->valueTextAt(colorRow) == QStringLiteral("$00336699"), QStringLiteral("a bad text changes nothing"));
    shoot(QStringLiteral("bad-text-refused"));

    return m_failures.isEmpty();
}
