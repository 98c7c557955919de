// The application object's exception report and the modal form.
#include "host/vcl/Forms.h"

#include "host/vcl/StdCtrls.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include <cmath>
#include <cstdio>

namespace {
TApplication TheApplication;
} // namespace

TApplication* Application = &TheApplication;

QWidget* TApplication::OwnerWindow() const
{
    return QApplication::activeWindow();
}

void TApplication::HandleException(const std::exception& E)
{
    const auto* RuntimeError = dynamic_cast<const Exception*>(&E);
    Report(RuntimeError ? RuntimeError->Message() : String::fromUtf8(E.what()));
}

void TApplication::HandleUnknownException()
{
    Report(String("Unknown exception"));
}

void TApplication::ClearExceptions()
{
    FLastMessage.clear();
    FExceptionCount = 0;
}

void TApplication::Report(const String& Message)
{
    FLastMessage = Message;
    ++FExceptionCount;
    if (OnException) {
        try {
            OnException(Message);
            return;
        } catch (...) {
            // The report must not raise in its turn: fall through to standard error.
        }
    }
    std::fprintf(stderr, "%s\n", Message.toLocal8Bit().constData());
}

TForm::TForm(QWidget* parent)
    : QDialog(nullptr), FOwner(parent ? parent->window() : nullptr)
{
    RegisterControlTypes();
    // Without tracking Qt sends no move events while no button is held.
    setMouseTracking(true);
}

int TForm::ShowModal()
{
    FModalResult = mrNone;
    const int Result = exec();
    // QDialog reports a rejection (Escape, the window's close box) as 0; the toolkit calls it mrCancel.
    if (FModalResult == mrNone)
        FModalResult = Result == QDialog::Rejected ? mrCancel : Result;
    return FModalResult;
}

void TForm::SetModalResult(int Value)
{
    FModalResult = Value;
    if (Value == mrNone)
        return;
    if (Value == mrOk)
        accept();
    else if (Value == mrCancel)
        reject();
    else
        done(Value);
}

void TForm::SetFixedClientSize(int ClientWidth, int ClientHeight)
{
    setSizeGripEnabled(false);
    setFixedSize(ClientWidth, ClientHeight);
}

void TForm::setVisible(bool Visible)
{
    const bool Placing = Visible && !isVisible() && FPosition != poDesigned;
    // Placed before showing (so QDialog does not place it) and again once the frame is known.
    if (Placing)
        PlaceOnScreen();
    // A stored layout sets the labels' buddies after their captions, and Qt tells a label of
    // neither; the controls are named before anyone can see them, on hidden pages too.
    if (Visible)
        for (TLabel* Label : findChildren<TLabel*>())
            Label->NameFocusControl();
    if (Visible && FOwner && FOwner->windowHandle()) {
        // Stacked above the owner as a child dialog would be, without the owner owning it.
        create();
        windowHandle()->setTransientParent(FOwner->windowHandle());
    }
    QDialog::setVisible(Visible);
    if (Placing)
        PlaceOnScreen();
}

void TForm::PlaceOnScreen()
{
    const QScreen* Screen = QGuiApplication::primaryScreen();
    if (!Screen)
        return;
    // The desktop's work area leaves out panels; the screen centre is the whole screen's.
    const QRect Area = FPosition == poDesktopCenter ? Screen->availableGeometry() : Screen->geometry();
    QRect Frame(QPoint(0, 0), frameGeometry().size());
    Frame.moveCenter(Area.center());
    if (Frame.topLeft() != frameGeometry().topLeft())
        move(Frame.topLeft());
}

void TForm::mouseMoveEvent(QMouseEvent* Event)
{
    const QPointF At = Event->position();
    const TShiftState Shift = ShiftStateOf(Event->buttons(), Event->modifiers());
    CallHandler([&] { emit MouseMove(Shift, int(std::floor(At.x())), int(std::floor(At.y()))); });
}

bool IsEnterKey(const QKeyEvent* Event)
{
    const Qt::KeyboardModifiers Modifiers = Event->modifiers() & ~Qt::KeypadModifier;
    return (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) && Modifiers == Qt::NoModifier;
}

void TForm::keyPressEvent(QKeyEvent* Event)
{
    if (Event->key() == Qt::Key_Escape && Event->modifiers() == Qt::NoModifier) {
        // The toolkit's Escape clicks the Cancel button, running its handler; QDialog would only reject.
        for (TButton* Button : findChildren<TButton*>()) {
            if (Button->Cancel() && Button->isVisible() && Button->isEnabled()) {
                Button->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(Event);
}
