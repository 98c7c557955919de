#pragma once
// Toolkit forms: the application object that reports a handler's exception, the guard every
// control adapter runs its handlers in, and the modal form.

#include "host/rtl/SysUtils.h"
#include "host/vcl/Controls.h"

#include <QDialog>
#include <QPointer>

class QKeyEvent;

#include <exception>
#include <functional>
#include <utility>

// The toolkit's application: it reports an exception that a handler let escape, as the toolkit's
// event loop would, and keeps the last message so that it can be checked.
class TApplication {
public:
    // The window a form created with the application as its owner belongs to: the active window,
    // so that a modal form stays above the window it was opened from. Null when none is active.
    QWidget* OwnerWindow() const;

    // Records E's message (Exception::Message for the runtime's exceptions, what() otherwise) and
    // hands it to OnException when set, or writes it to standard error.
    void HandleException(const std::exception& E);
    // The same for an exception that is not a std::exception.
    void HandleUnknownException();

    String LastExceptionMessage() const { return FLastMessage; }
    int ExceptionCount() const { return FExceptionCount; }
    void ClearExceptions();

    // Shows a reported message; an exception it throws is written to standard error, never passed on.
    std::function<void(const String&)> OnException;

private:
    void Report(const String& Message);

    String FLastMessage;
    int FExceptionCount = 0;
};

// The one application object of the process.
extern TApplication* Application;

// Runs a handler; an exception it lets escape goes to Application->HandleException, so that it
// never unwinds through Qt's event loop. True when the handler returned normally.
template <class F>
bool CallHandler(F&& Handler) noexcept
{
    try {
        std::forward<F>(Handler)();
        return true;
    } catch (const std::exception& E) {
        Application->HandleException(E);
    } catch (...) {
        Application->HandleUnknownException();
    }
    return false;
}

// Enter or Return, alone or from the keypad: the key that presses a button.
bool IsEnterKey(const QKeyEvent* Event);

// Modal results.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

// Where a form appears when it is shown.
enum TPosition { poDesigned, poDesktopCenter, poScreenCenter };

// A form shown modally. It stays above the window it was created for (its owner) but is not a Qt
// child of it: the owner may go while the form's modal loop runs, and the form must outlive it
// until whoever created it frees it. Enter on a focused button presses that button (TButton);
// Enter anywhere else reaches QDialog, which clicks the visible, enabled Default button. Escape
// clicks the visible, enabled Cancel button when there is one and otherwise closes the form with
// mrCancel; closing the window is mrCancel too.
class TForm : public QDialog {
    Q_OBJECT

public:
    explicit TForm(QWidget* parent = nullptr);

    // Shows the form modally and returns its modal result: mrOk when accepted, mrCancel when
    // rejected or closed, or the result a button or SetModalResult closed it with.
    int ShowModal();
    int ModalResult() const { return FModalResult; }
    // A non-zero result closes the form with that result.
    void SetModalResult(int Value);

    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    // A dialog border: the client area gets this size and cannot be resized.
    void SetFixedClientSize(int ClientWidth, int ClientHeight);

    void setVisible(bool Visible) override;

signals:
    // The mouse moved over the form's own area (not over a control that takes the move itself),
    // with or without a button held.
    void MouseMove(TShiftState Shift, int X, int Y);

protected:
    void mouseMoveEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void PlaceOnScreen();

    QPointer<QWidget> FOwner;
    int FModalResult = mrNone;
    TPosition FPosition = poDesigned;
};
