#pragma once
// Writes every property of every control to a file, one "<control>.<path>=<text>" line each,
// whenever something changes, so that a program driving the designer from outside can read what
// it holds.

#include <QObject>
#include <QString>

class MainWindow;

class PropertyReport : public QObject {
    Q_OBJECT
public:
    PropertyReport(MainWindow& window, QString path);
    // Writes the report now (atomically: a reader never sees half a file). False on failure.
    bool write();

private:
    MainWindow& m_window;
    QString m_path;
};
