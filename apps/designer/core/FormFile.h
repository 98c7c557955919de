#pragma once
// Form files (.cvform): a form's controls and every property that differs from its class's
// default, as JSON (docs/form-format.md). Reading refuses a bad file whole and says where each
// problem is; writing replaces the file atomically, so a failed save leaves the old file as it was.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class FormModel;
class TPalmoControl;

struct FormProblem {
    QString file;
    int line = 1;
    int column = 1;
    QString message;
    // "FILE:LINE:COLUMN: message"
    QString text() const;
};

// Where something starts in a form file: 1-based line and column, as FormProblem counts them.
struct FormPosition {
    int line = 1;
    int column = 1;
    friend bool operator==(const FormPosition&, const FormPosition&) = default;
};

// Where one control of a read form came from: its object in "components", and the value of each
// property the file gives (by path, as the file's key spells it). A property at its default is
// not in the file and so not here.
struct FormControlSource {
    FormPosition object;
    QHash<QString, FormPosition> values;
};

struct FormReadResult {
    std::unique_ptr<FormModel> form;    // null when the file was refused
    std::vector<FormProblem> problems;  // empty when the form was read
    // One per control of form, in the form's order; empty when the file was refused.
    std::vector<FormControlSource> sources;
    QStringList messages() const;       // the problems' texts
};

namespace FormFile {

inline constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
inline constexpr int Version = 1;
inline constexpr const char* Extension = "cvform";
// A refused file reports at most this many problems, then one that says the rest were left out.
inline constexpr int MaxProblems = 100;

// Reads the file at path into a new form. Refuses what is not a regular file (a folder, a FIFO, a
// device) and a file larger than MaxFileSize, before reading it, and a file that grows beyond
// MaxFileSize while it is read (whole: it is never cut at the limit).
// contents, when given, receives the bytes read.
FormReadResult readFormFile(const QString& path, QByteArray* contents = nullptr);
// The same for file contents already in memory; fileName is what the messages start with.
FormReadResult parse(const QByteArray& contents, const QString& fileName);

// The file contents of a form: two-space indentation, keys in the inspector's order, a final
// newline. The same form always gives the same bytes.
QByteArray serialize(const FormModel& form);
// The same for some controls, in the order given: a form file holding just them.
QByteArray serialize(const std::vector<TPalmoControl*>& controls);
// Writes the form to path atomically. Returns "" on success; otherwise why it failed, and
// whatever was at path before is unchanged.
QString writeFormFile(const FormModel& form, const QString& path);
// The same for contents serialize gave.
QString writeContents(const QByteArray& contents, const QString& path);

// Every property of every control, defaults included: one "Name.Path=Value" line each (value
// texts as valueText gives them, escaped so that two different values never print alike: "\" as
// "\\", a newline as "\n", another control character as "\x1f", half a surrogate pair alone as
// "\udc00").
QStringList dump(const FormModel& form);

}  // namespace FormFile
