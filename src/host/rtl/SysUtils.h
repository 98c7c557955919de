#pragma once
// Runtime library: the string type, the runtime's exceptions and integer text conversion.

#include <QByteArray>
#include <QString>

#include <exception>

using String = QString;

// Base of every error the runtime and the toolkit raise. The message is what the user sees.
class Exception : public std::exception {
public:
    explicit Exception(const String& message);
    const String& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    String FMessage;
    QByteArray FUtf8;
};

// A text that is not a number of the required kind.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A user's text as an error message quotes it: in single quotes, control characters shown as
// "\xNN" escapes, cut after 64 characters with an ellipsis.
String QuoteForMessage(const String& S);

// Optional "-" then decimal digits, or "$" then one or more hexadecimal digits of either case,
// giving a signed 32-bit value ("$" texts may use all 32 bits: "$FFFFFFFF" is -1). Anything else
// (empty text, blanks, "+", other prefixes, digits other than ASCII ones, "$" texts of more than
// eight significant digits, decimal values beyond the signed 32-bit range) raises EConvertError
// whose message quotes the text: "'12a' is not a valid integer value".
int StrToInt(const String& S);
// The same forms without raising: true and Value on success, false and Value untouched otherwise.
bool TryStrToInt(const String& S, int& Value);

// Equal texts when ASCII letters are compared without regard to case. Other characters must match
// exactly: Unicode case folding would make, for instance, the Kelvin sign equal to "k".
bool SameText(const String& A, const String& B);
// The same against a Latin-1 name from a table, without building a string for it.
bool SameText(const String& A, QLatin1String B);

// The value of an ASCII hexadecimal digit of either case, or -1 for any other character.
int AsciiHexDigitValue(QChar C);

String IntToStr(int Value);
// Upper-case hexadecimal of the 32-bit pattern, zero-filled to at least Digits digits.
String IntToHex(int Value, int Digits);
