#pragma once
// Toolkit standard controls: the edit, the label and the push button.

#include "host/vcl/Forms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// A one-line text entry whose Change fires on every change of its text, from the user or from
// code, before the change returns; writing the text it already holds changes nothing.
class TEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TEdit(QWidget* parent = nullptr);

    String Text() const { return text(); }
    void SetText(const String& S);

signals:
    // Emitted synchronously on every change of the text, also re-entrantly when a Change handler
    // writes the text again.
    void Change();
};

// A static text shown as written: "&" is shown as it is, as long as the label has no buddy.
// A label with a buddy (its focus control) gives that control its accessible name: the caption
// without "&" and without the closing colon, so an entry captioned "Hue:" is read as "Hue". Qt
// would name it by the caption as written, colon included; a name set on the control stays. The
// form names them when it is shown (TForm), and a new caption renames.
class TLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TLabel(QWidget* parent = nullptr);

    String Caption() const { return text(); }
    // The label sizes itself to its caption, keeping its top left corner, as the toolkit's
    // auto-sizing labels do; a stored layout's width is only where it starts.
    void SetCaption(const String& S);
    // Gives the buddy, if any, its name from the caption.
    void NameFocusControl();

protected:
    bool event(QEvent* Event) override;

private:
    void AdjustBounds();

    // The name this label last gave its buddy, to tell it from a name set by someone else.
    String FGivenName;
};

// A push button. A click runs Click, then a non-zero ModalResult closes the form it sits on with
// that result. Enter presses the focused button, whichever it is; Enter anywhere else on the form
// presses the Default button, and Escape the Cancel button (TForm). While it has the keyboard focus
// a dotted frame runs inside its edge (the style's own mark is too faint to be seen).
class TButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)

public:
    explicit TButton(QWidget* parent = nullptr);

    String Caption() const { return text(); }
    void SetCaption(const String& S) { setText(S); }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    bool Default() const { return isDefault(); }
    void SetDefault(bool Value) { setDefault(Value); }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }

signals:
    void Click();

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void Clicked();

    int FModalResult = mrNone;
    bool FCancel = false;
};
