#pragma once
// Editing a control's caption or name where the control is: a line over it in the preview, or its
// row in the control list (F2). Enter (or leaving the line) hands the text to the form core as one
// step (a caption through the set-property operation, a name through rename); Escape puts the
// line away with nothing changed. A refused name is said in the window's status bar and the
// control keeps its old name.

#include <QObject>
#include <QPointer>
#include <QString>

class FormEdits;
class PreviewWidget;
class QLineEdit;
class QListView;
class QMainWindow;
class TPalmoControl;

class InPlaceEditing : public QObject {
    Q_OBJECT
public:
    InPlaceEditing(QMainWindow* window, FormEdits& edits, PreviewWidget* preview, QListView* list);

    // Opens the line over the control holding its caption (captionPathOf). False when the control
    // shows no caption, or shows one of several lines, which a line could not hold.
    bool editCaption(TPalmoControl* control);
    // Opens the line over the control in the preview, or its row in the list, holding its name.
    void renameInPreview(TPalmoControl* control);
    void renameInList(TPalmoControl* control);
    // The line in the preview while it is open, else null.
    QLineEdit* editor() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Field { None, Caption, Name };
    void open(TPalmoControl* control, Field field, const QString& text);
    void commit();
    void close();
    void reportRefusal(const QString& why);

    QMainWindow* m_window;
    FormEdits& m_edits;
    PreviewWidget* m_preview;
    QListView* m_list;
    QLineEdit* m_line;
    QPointer<TPalmoControl> m_control;
    Field m_field = Field::None;
    QString m_path;      // the caption's property path while Field::Caption
    QString m_original;  // the text the line opened with
};
