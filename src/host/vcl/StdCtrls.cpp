// The edit, the label and the push button.
#include "host/vcl/StdCtrls.h"

#include "host/vcl/FocusFrame.h"
#include "host/vcl/TextLengthGuard.h"

#include <QEvent>
#include <QKeyEvent>

#include <QPointer>

TEdit::TEdit(QWidget* parent)
    : QLineEdit(parent)
{
    RegisterControlTypes();
    // A text too long for the entry is refused whole and reported as the toolkit reports errors.
    auto* Guard = new TextLengthGuard(this);
    connect(Guard, &TextLengthGuard::refused, this,
            [](const QString& Message) { Application->HandleException(Exception(Message)); });
    // textChanged is emitted synchronously for user edits and for setText, re-entrantly too.
    connect(this, &QLineEdit::textChanged, this, [this] { CallHandler([this] { emit Change(); }); });
}

void TEdit::SetText(const String& S)
{
    // setText with the text already held would move the caret to the end; the toolkit keeps it.
    if (S == text())
        return;
    setText(S);
}

TLabel::TLabel(QWidget* parent)
    : QLabel(parent)
{
    // No rich text, and without a buddy "&" is no mnemonic: the caption shows as written.
    setTextFormat(Qt::PlainText);
}

void TLabel::SetCaption(const String& S)
{
    setText(S);
    AdjustBounds();
    NameFocusControl();
}

bool TLabel::event(QEvent* Event)
{
    // A caption set by a stored layout (through QLabel::setText) is measured when the label is
    // shown or its font changes.
    if (Event->type() == QEvent::Show || Event->type() == QEvent::FontChange)
        AdjustBounds();
    return QLabel::event(Event);
}

void TLabel::NameFocusControl()
{
    QWidget* Control = buddy();
    if (!Control)
        return;
    String Name = text();
    Name.remove(QLatin1Char('&'));
    Name = Name.trimmed();
    if (Name.endsWith(QLatin1Char(':')))
        Name.chop(1);
    Name = Name.trimmed();
    const String Current = Control->accessibleName();
    if (!Current.isEmpty() && Current != FGivenName)
        return;
    FGivenName = Name;
    if (Current != Name)
        Control->setAccessibleName(Name);
}

void TLabel::AdjustBounds()
{
    resize(sizeHint());
}

TButton::TButton(QWidget* parent)
    : QPushButton(parent)
{
    RegisterControlTypes();
    connect(this, &QPushButton::clicked, this, &TButton::Clicked);
}

void TButton::keyPressEvent(QKeyEvent* Event)
{
    // Qt's button takes Enter only when it is a default or auto-default button, and otherwise lets
    // it reach the dialog, which presses its default button; the toolkit's focused button always
    // takes Enter itself.
    if (IsEnterKey(Event)) {
        Event->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(Event);
}

void TButton::paintEvent(QPaintEvent* Event)
{
    QPushButton::paintEvent(Event);
    if (hasFocus())
        DrawFocusFrame(this, rect().adjusted(4, 4, -4, -4));
}

void TButton::Clicked()
{
    const QPointer<TButton> Self(this);
    CallHandler([this] { emit Click(); });
    // A Click handler may have freed the form and the button with it.
    if (!Self || FModalResult == mrNone)
        return;
    if (auto* Form = qobject_cast<TForm*>(window()))
        Form->SetModalResult(FModalResult);
}
