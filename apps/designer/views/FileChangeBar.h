#pragma once
// The line above the form that says its file was changed on disk by another program, with
// Reload and Keep Mine. It watches the document's file (and its folder, since a program that
// saves by writing a new file and renaming it over the old one ends the watch of the old one)
// and shows itself only when the file's bytes differ from those the document read or saved last:
// the designer's own saves never show it.

#include <QTimer>
#include <QWidget>

class Document;
class QFileSystemWatcher;
class QLabel;
class QPushButton;

class FileChangeBar : public QWidget {
    Q_OBJECT
public:
    explicit FileChangeBar(Document* document, QWidget* parent = nullptr);

    // Compares the file with what the document knows of it now, and shows or hides the line.
    void check();
    QPushButton* reloadButton() const { return m_reload; }
    QPushButton* keepButton() const { return m_keep; }

signals:
    void reloadRequested();
    void keepMineRequested();

private:
    // Watches the document's file and folder afresh (after a rename over the file, or another file).
    void rearm();

    Document* m_document;
    QFileSystemWatcher* m_watcher;
    // A program writes a file in several pieces: the check comes once they have stopped.
    QTimer m_settle;
    QLabel* m_text;
    QPushButton* m_reload;
    QPushButton* m_keep;
};
