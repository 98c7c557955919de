#include "host/vcl/TextLengthGuard.h"

#include <QLineEdit>
#include <QLocale>
#include <QToolTip>

#include <limits>

TextLengthGuard::TextLengthGuard(QLineEdit* Edit)
    : QValidator(Edit), FEdit(Edit)
{
    // The entry itself cuts nothing; whether a text fits is decided here, before it is taken.
    Edit->setMaxLength(std::numeric_limits<int>::max());
    Edit->setValidator(this);
}

QValidator::State TextLengthGuard::validate(QString& Input, int&) const
{
    if (Input.size() <= Limit)
        return Acceptable;
    const QString Message = RefusalMessage(Input.size());
    if (FEdit->isVisible())
        QToolTip::showText(FEdit->mapToGlobal(QPoint(0, FEdit->height())), Message, FEdit);
    emit refused(Message);
    return Invalid;
}

QString TextLengthGuard::RefusalMessage(qsizetype Length)
{
    const QLocale Locale(QLocale::English);
    return tr("A text of %1 characters is too long: the entry takes at most %2. The entry was left as it was.")
        .arg(Locale.toString(qlonglong(Length)), Locale.toString(Limit));
}
