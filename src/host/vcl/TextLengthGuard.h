#pragma once
// Refuses, whole, a typed, pasted or dropped text that would make an entry longer than it takes.
// A QLineEdit cuts such a text at its maximum length and accepts the rest, which turns a long
// number into another one ("0" x 40,000 + "1" would read as 0); here the entry holds any length
// while the guard, as its validator, refuses the change before it is made: the old text stays,
// no change handler runs, and the refusal is shown at the entry and signalled.

#include <QValidator>

class QLineEdit;

class TextLengthGuard : public QValidator {
    Q_OBJECT

public:
    // The most characters an entry takes; the length a QLineEdit holds by default.
    static constexpr int Limit = 32767;

    // Guards Edit (which becomes its parent). Edit must have no validator of its own.
    explicit TextLengthGuard(QLineEdit* Edit);

    State validate(QString& Input, int& Pos) const override;

    // The message shown for a refused text of Length characters.
    static QString RefusalMessage(qsizetype Length);

signals:
    void refused(const QString& Message) const;

private:
    QLineEdit* FEdit;
};
