#pragma once
// A typical edit, played through the real widgets with real key and mouse events, with a
// screenshot of each step. The designer runs it when it has no display to show itself on.

#include <QString>
#include <QStringList>

#include <functional>

class MainWindow;
class QDialog;
class QWidget;
class ValueCombo;

class Walkthrough {
public:
    Walkthrough(MainWindow& window, QString directory);

    // Plays every step; returns false (with failures() saying why) when a step did not do what
    // a user would expect. Screenshots are saved either way.
    bool run();
    const QStringList& screenshots() const { return m_shots; }
    const QStringList& failures() const { return m_failures; }

private:
    void shoot(const QString& name);
    void shootWidget(QWidget* widget, const QString& name);
    // Clicks the "..." button of a property's row and, once the dialog is up, plays the steps
    // (which end by closing it). Returns whether the dialog came up.
    bool inDialog(const QString& property, const std::function<void(QDialog*)>& steps);
    void playEditSteps();
    void playDialogSteps();
    void playPickingSteps();
    void playCustomColourSteps(int row);
    void playFormSteps();
    void check(bool ok, const QString& what);
    // Clicks the value cell of a property and returns its in-place editor.
    ValueCombo* openEditor(const QString& property);
    bool typeValue(const QString& property, const QString& text);

    MainWindow& m_window;
    QString m_directory;
    QStringList m_shots;
    QStringList m_failures;
};
