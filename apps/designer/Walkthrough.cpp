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

bool Walkthrough::typeValue(const QString& property, const QString& text)
{
    PropertyInspector* inspector = m_window.inspector();
    QTableWidget* table = inspector->table();
    const int row = inspector->rowOf(property);
    if (row < 0)
        return false;
    const QModelIndex index = table->model()->index(row, 1);
    table->setCurrentIndex(index);
    table->edit(index);
    QApplication::processEvents();
    auto* editor = qobject_cast<ValueCombo*>(table->indexWidget(index));
    if (!editor)
        editor = table->viewport()->findChild<ValueCombo*>();
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
    QApplication::processEvents();
    shoot(QStringLiteral("designer"));

    check(m_window.selectControl(QStringLiteral("PalmoButton1.Appearance")), QStringLiteral("select the button"));
    shoot(QStringLiteral("button-properties"));

    // Drop the value list of the Color row.
    PropertyInspector* inspector = m_window.inspector();
    QTableWidget* table = inspector->table();
    const int colorRow = inspector->rowOf(QStringLiteral("Color"));
    check(colorRow >= 0, QStringLiteral("the button has a Color row"));
    const QModelIndex colorIndex = table->model()->index(colorRow, 1);
    table->setCurrentIndex(colorIndex);
    table->edit(colorIndex);
    QApplication::processEvents();
    if (auto* editor = table->viewport()->findChild<ValueCombo*>()) {
        editor->combo()->showPopup();
        QApplication::processEvents();
        shoot(QStringLiteral("value-list"));
        editor->combo()->hidePopup();
        QTest::keyClick(editor->combo(), Qt::Key_Escape);
    } else {
        check(false, QStringLiteral("the Color row opens its value editor"));
    }

    check(typeValue(QStringLiteral("Color"), QStringLiteral("tomato")), QStringLiteral("type a web name"));
    check(inspector->valueTextAt(colorRow) == QStringLiteral("Tomato"), QStringLiteral("a web name is stored"));
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
