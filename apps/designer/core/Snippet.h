#pragma once
// Controls as text to copy and paste: a snippet is exactly the form file of a form holding just
// those controls, so that it pastes into a text editor and back, and between two designers.
// Reading one goes through the form file's reader; a text it refuses changes nothing and is
// answered with the reader's positioned message. Pasted controls get names not yet used on the
// form they go to, and move off the controls they would cover.

#include <QByteArray>
#include <QPoint>
#include "core/IntRange.h"
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class Document;
class FormModel;
class TPalmoControl;

namespace Snippet {

// The clipboard's format for snippets; the same text goes as plain text too.
inline constexpr const char* MimeType = "application/x-cvform";
// What the messages about a pasted text start with, where a file's name would stand.
inline constexpr const char* ClipboardName = "<clipboard>";
// How far each step moves pasted controls off the ones they would cover.
inline constexpr int OffsetStep = 8;

// The form file holding these controls, in the order given (the form's order, for a selection).
QByteArray snippetOf(const std::vector<TPalmoControl*>& controls);

// The names the controls named names get on target: a name free on target stays (names are
// compared as the form compares them, without regard to ASCII case); a taken one becomes its stem
// (the name without its trailing digits) and the smallest number from 1 that neither target nor
// another of the names uses.
QStringList pastedNames(const FormModel& target, const QStringList& names);

// The offset (n·OffsetStep, n·OffsetStep) with the smallest n ≥ 0 at which no pasted control
// (given by its rectangle) has exactly the position and size of a control on target.
QPoint pastedOffset(const FormModel& target, const std::vector<Box>& pasted);

struct ReadResult {
    // Ready to go on the target form: renamed and moved; empty when the text was refused.
    std::vector<std::unique_ptr<TPalmoControl>> controls;
    // "SOURCE:LINE:COLUMN: message" when the text was refused (the first problem, and how many
    // more there are).
    QString error;
};
// Reads text as controls to put on target, named and placed as pastedNames and pastedOffset say.
// A text that holds no control is refused too.
ReadResult readSnippet(const QByteArray& text, const FormModel& target, const QString& sourceName = QLatin1String(ClipboardName));

struct PasteResult {
    std::vector<TPalmoControl*> controls;  // the pasted controls, now on the form
    QString error;                         // why nothing was pasted, or ""
};
// Reads text and adds its controls at the end of the document's form as one undo step, named
// stepText ("Paste …" when empty). A text that is refused leaves the form and its history as
// they were.
PasteResult paste(Document& document, const QByteArray& text, const QString& sourceName = QLatin1String(ClipboardName),
                  const QString& stepText = QString());

}  // namespace Snippet
