#pragma once
// What the property inspector may do to the form: read its controls, and the form's operations
// on property values and names. Each is one undo step whose text and merging the form core
// decides. The inspector is given one at construction; the designer gives its FormEdits.

#include <QString>
#include <QVariant>

#include <functional>
#include <utility>
#include <vector>

struct ColorFix;
struct ReadabilityThresholds;
class QMetaProperty;
class QObject;
class TPalmoControl;

class FormEditing {
public:
    // The form's controls in form order.
    virtual const std::vector<TPalmoControl*>& formControls() const = 0;
    // Gives the control a new name ("Rename A to B"); "" or why the name is refused (nothing
    // changes then).
    virtual QString rename(TPalmoControl* control, const QString& newName) = 0;
    // Runs write, in which a property editor sets the property at path of these controls itself
    // (a text typed, a value chosen from its list, a colour picked in its dialog), and records
    // the values before and after as "Set PATH of CONTROLS". Texts typed one after another into
    // the same property of the same controls (typed) are one step.
    virtual void setProperty(const QString& path, const std::vector<TPalmoControl*>& controls,
                             const std::function<void()>& write, bool typed) = 0;
    // Writes each object's default by the property's name, as "Reset PATH of CONTROLS".
    virtual void resetProperty(const QString& path, const std::vector<TPalmoControl*>& controls, const QByteArray& name,
                               const std::vector<std::pair<QObject*, QVariant>>& defaults) = 0;
    // Writes replacement to every colour property of the form's kind of property that holds old,
    // as "Replace OLDTEXT with NEWTEXT on N properties". Returns N (0: nothing done).
    virtual std::size_t replaceColor(const QMetaProperty& property, const QVariant& old, const QVariant& replacement,
                                     const QString& oldText, const QString& newText) = 0;

    // Gives one colour of a readability finding the colour that mends it, as "Fix PATH of CONTROL".
    virtual void fixColor(ColorFix& fix) = 0;
    // Mends every readability finding of the form as one step, "Fix All Readability". Returns how
    // many colours changed (0: nothing recorded).
    virtual std::size_t fixAllColors(const ReadabilityThresholds& thresholds) = 0;

protected:
    ~FormEditing() = default;
};
