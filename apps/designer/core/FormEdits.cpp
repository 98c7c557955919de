#include "core/FormEdits.h"
#include "core/ReadabilityFix.h"

#include "core/Arrange.h"
#include "core/ControlClasses.h"
#include "core/Document.h"
#include "core/FormColors.h"
#include "core/FormModel.h"
#include "core/FormProperties.h"
#include "core/FormSelection.h"
#include "core/IntRange.h"
#include "core/Snippet.h"

#include "host/palmo/PalmoCollection.h"
#include "host/palmo/PalmoControl.h"

#include <QCoreApplication>
#include <QMetaProperty>
#include <QSet>

#include <algorithm>
#include <cstdint>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("FormEdits", text);
}

// The four values that make a control's place: a move, a size or an arrangement writes no other.
const QStringList& placePaths()
{
    static const QStringList paths{QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Width"),
                                   QStringLiteral("Height")};
    return paths;
}

// The paths a write of the property at path may change: that one alone, except that a
// collection's Count makes or drops items (every path then, which an empty list means).
QStringList scopeOf(TPalmoControl* control, const QString& path)
{
    const std::optional<FormProperty> property = propertyAt(control, path);
    if (!property || qobject_cast<const TPalmoCollection*>(property->owner))
        return {};
    return {path};
}

// A control's place as plain numbers: a QRect's right edge would overflow at the end of the range.
Box placeOf(const TPalmoControl* control)
{
    return {control->FLeft, control->FTop, control->FWidth, control->FHeight};
}

// The place moved by dx, dy, stopping at the ends of the range.
Box movedBy(const Box& p, int dx, int dy)
{
    return {saturatingAdd(p.left, dx), saturatingAdd(p.top, dy), p.width, p.height};
}

void place(TPalmoControl* control, int left, int top, int width, int height)
{
    control->setProperty("Left", left);
    control->setProperty("Top", top);
    control->setProperty("Width", width);
    control->setProperty("Height", height);
}

// Whether the rectangle (64-bit: a place near the end of the range) comes nearer than a grid step
// to a control.
bool crowdsAny(const FormModel& form, std::int64_t left, std::int64_t top, int width, int height)
{
    for (const TPalmoControl* other : form.controls())
        if (left < std::int64_t{other->FLeft} + other->FWidth + GridStep && other->FLeft < left + width + GridStep
            && top < std::int64_t{other->FTop} + other->FHeight + GridStep && other->FTop < top + height + GridStep)
            return true;
    return false;
}

// Where a new control of this size goes: the first place row by row on the grid within room, from
// (16, 16), with a grid step of space all round it; below the lowest control when there is none.
QPoint placeFor(const FormModel& form, int width, int height, const QSize& room)
{
    const std::int64_t right = std::max(room.width(), 300);
    const std::int64_t bottom = std::max(room.height(), 400);
    for (std::int64_t top = 16; top + height <= bottom; top += 8)
        for (std::int64_t left = 16; left + width <= right; left += 8)
            if (!crowdsAny(form, left, top, width, height))
                return QPoint(int(left), int(top));
    std::int64_t below = 16;
    for (const TPalmoControl* other : form.controls())
        below = std::max(below, std::int64_t{other->FTop} + other->FHeight + GridStep);
    // On the first grid line there (below is positive).
    return QPoint(16, clampToInt((below + GridStep - 1) / GridStep * GridStep));
}

}  // namespace

FormEdits::FormEdits(Document& document) : m_document(document) {}

FormModel& FormEdits::form() const
{
    return *m_document.form();
}

FormSelection& FormEdits::selection() const
{
    return *m_document.selection();
}

const std::vector<TPalmoControl*>& FormEdits::formControls() const
{
    return form().controls();
}

QString FormEdits::mergeKey(const QString& operation, const std::vector<TPalmoControl*>& controls) const
{
    QString key = operation;
    for (const TPalmoControl* control : controls)
        key += u' ' + QString::number(form().idOf(control));
    return key;
}

TPalmoControl* FormEdits::add(const QString& className, const QSize& room)
{
    const ControlClass* controlClass = controlClassNamed(className);
    if (!controlClass)
        return nullptr;
    std::unique_ptr<TPalmoControl> control = controlClass->create();
    const QPoint at = placeFor(form(), control->FWidth, control->FHeight, room);
    return addPlaced(className, std::move(control), at);
}

TPalmoControl* FormEdits::addAt(const QString& className, const QPoint& at)
{
    const ControlClass* controlClass = controlClassNamed(className);
    return controlClass ? addPlaced(className, controlClass->create(), at) : nullptr;
}

TPalmoControl* FormEdits::addPlaced(const QString& className, std::unique_ptr<TPalmoControl> created, const QPoint& at)
{
    TPalmoControl* control = created.get();
    control->SetName(form().nextFreeName(className));
    control->setProperty("Left", at.x());
    control->setProperty("Top", at.y());
    // Adding it is one step: the control arrives already placed.
    if (!m_document.addControl(std::move(created)).isEmpty())
        return nullptr;
    selection().select(control);
    return control;
}

bool FormEdits::deleteSelected()
{
    const std::vector<TPalmoControl*> doomed = selection().controls();
    if (doomed.empty())
        return false;
    m_document.removeControls(doomed, tr("Delete %1").arg(Document::describe(doomed)));
    return true;
}

void FormEdits::cut(const std::vector<TPalmoControl*>& controls)
{
    m_document.removeControls(controls, tr("Cut %1").arg(Document::describe(controls)));
}

template <typename Change>
void FormEdits::placeSelected(const QString& text, const QString& operation, Change change)
{
    const std::vector<TPalmoControl*> controls = selection().controls();
    if (controls.empty())
        return;
    m_document.recordChange(text.arg(Document::describe(controls)), controls, [&] {
        for (TPalmoControl* control : controls) {
            const Box now = change(placeOf(control));
            place(control, now.left, now.top, now.width, now.height);
        }
    }, operation.isEmpty() ? QString() : mergeKey(operation, controls), placePaths());
}

void FormEdits::move(int dx, int dy)
{
    placeSelected(tr("Move %1"), QString(), [&](const Box& p) { return movedBy(p, dx, dy); });
}

void FormEdits::nudge(int dx, int dy)
{
    placeSelected(tr("Move %1"), QStringLiteral("nudge"), [&](const Box& p) { return movedBy(p, dx, dy); });
}

void FormEdits::size(int dw, int dh)
{
    // Never below a pixel: a control of no size could not be seen or clicked again.
    placeSelected(tr("Resize %1"), QStringLiteral("size"), [&](const Box& p) {
        return Box{p.left, p.top, std::max(1, saturatingAdd(p.width, dw)), std::max(1, saturatingAdd(p.height, dh))};
    });
}

void FormEdits::sizeByGrid(int dx, int dy, bool toGridLine)
{
    const TPalmoControl* reference = selection().reference();
    if (!reference)
        return;
    if (!toGridLine) {
        size(dx * GridStep, dy * GridStep);
        return;
    }
    // The reference's far edge to the next line; an edge past the end of the range counts as at it.
    const auto toNextLine = [](std::int64_t edge, int direction) {
        return direction ? clampToInt(nextGridLine(clampToInt(edge), direction) - edge) : 0;
    };
    const Box lead = placeOf(reference);
    size(toNextLine(lead.right(), dx), toNextLine(lead.bottom(), dy));
}

void FormEdits::moveEdges(int dLeft, int dTop, int dRight, int dBottom)
{
    placeSelected(tr("Resize %1"), QString(), [&](const Box& p) {
        return withEdgesMoved(p, dLeft, dTop, dRight, dBottom);
    });
}

bool FormEdits::arrange(Arrangement arrangement)
{
    const std::vector<TPalmoControl*> controls = selection().controls();
    if (controls.size() < leastCountFor(arrangement))
        return false;
    std::vector<Box> boxes;
    for (const TPalmoControl* control : controls)
        boxes.push_back(placeOf(control));
    const std::vector<Box> placed = arranged(arrangement, boxes);
    const QString name = arrangementText(arrangement).remove(u'&');
    m_document.recordChange(tr("%1 (%2)").arg(name, Document::describe(controls)), controls, [&] {
        for (std::size_t i = 0; i < controls.size(); ++i)
            place(controls[i], placed[i].left, placed[i].top, placed[i].width, placed[i].height);
    }, QString(), placePaths());
    return true;
}

QString FormEdits::paste(const QByteArray& text, const QString& sourceName, const QString& stepText)
{
    const Snippet::PasteResult pasted = Snippet::paste(m_document, text, sourceName, stepText);
    if (pasted.error.isEmpty())
        selection().setControls(pasted.controls);
    return pasted.error;
}

QString FormEdits::duplicate()
{
    const std::vector<TPalmoControl*> originals = selection().inFormOrder();
    if (originals.empty())
        return tr("select the controls to duplicate first");
    return paste(Snippet::snippetOf(originals), tr("<selection>"), tr("Duplicate %1").arg(Document::describe(originals)));
}

bool FormEdits::bringToFront()
{
    return restack(true);
}

bool FormEdits::sendToBack()
{
    return restack(false);
}

bool FormEdits::restack(bool toFront)
{
    std::vector<TPalmoControl*> chosen;
    std::vector<TPalmoControl*> others;
    for (TPalmoControl* control : form().controls())
        (selection().contains(control) ? chosen : others).push_back(control);
    if (chosen.empty())
        return false;
    std::vector<TPalmoControl*>& first = toFront ? others : chosen;
    const std::vector<TPalmoControl*>& last = toFront ? chosen : others;
    const QString text = (toFront ? tr("Bring to Front %1") : tr("Send to Back %1")).arg(Document::describe(chosen));
    first.insert(first.end(), last.begin(), last.end());
    return m_document.reorderControls(first, text);
}

QString FormEdits::rename(TPalmoControl* control, const QString& newName)
{
    return m_document.renameControl(control, newName);
}

namespace {

// "PalmoButton1" or "3 controls", as the steps of property changes name them.
QString namesOf(const std::vector<TPalmoControl*>& controls)
{
    return controls.size() == 1 ? controls.front()->Name() : tr("%1 controls").arg(controls.size());
}

}  // namespace

void FormEdits::setProperty(const QString& path, const std::vector<TPalmoControl*>& controls,
                            const std::function<void()>& write, bool typed)
{
    if (controls.empty()) {
        write();
        return;
    }
    const QString key = typed ? mergeKey(QStringLiteral("type ") + path, controls) : QString();
    m_document.recordChange(tr("Set %1 of %2").arg(path, namesOf(controls)), controls, write, key,
                            scopeOf(controls.front(), path));
}

void FormEdits::fixColor(ColorFix& fix)
{
    m_document.recordChange(tr("Fix %1 of %2").arg(fix.path, fix.control->Name()), {fix.control},
                            [&fix] { ReadabilityFix::apply(fix); });
}

std::size_t FormEdits::fixAllColors(const ReadabilityThresholds& thresholds)
{
    std::size_t changed = 0;
    m_document.recordChange(tr("Fix All Readability"), form().controls(),
                            [&] { changed = ReadabilityFix::fixAll(form().controls(), thresholds).size(); });
    return changed;
}

void FormEdits::resetProperty(const QString& path, const std::vector<TPalmoControl*>& controls, const QByteArray& name,
                              const std::vector<std::pair<QObject*, QVariant>>& defaults)
{
    const auto write = [&] {
        for (const auto& [object, value] : defaults)
            object->setProperty(name.constData(), value);
    };
    if (controls.empty()) {
        write();
        return;
    }
    m_document.recordChange(tr("Reset %1 of %2").arg(path, namesOf(controls)), controls, write, QString(),
                            scopeOf(controls.front(), path));
}

std::size_t FormEdits::replaceColor(const QMetaProperty& property, const QVariant& old, const QVariant& replacement,
                                    const QString& oldText, const QString& newText)
{
    const std::vector<ColorHolder> holders = FormColors::holders(form().controls(), property, old);
    if (holders.empty())
        return 0;
    std::vector<TPalmoControl*> controls;
    QSet<const TPalmoControl*> seen;
    for (const ColorHolder& holder : holders)
        if (!seen.contains(holder.control)) {
            seen.insert(holder.control);
            controls.push_back(holder.control);
        }
    m_document.recordChange(tr("Replace %1 with %2 on %3 properties").arg(oldText, newText).arg(holders.size()), controls,
                            [&] {
                                for (const ColorHolder& holder : holders)
                                    holder.property.property.write(holder.property.owner, replacement);
                            });
    return holders.size();
}

QString FormEdits::arrangementText(Arrangement arrangement)
{
    switch (arrangement) {
    case Arrangement::AlignLefts: return tr("Align &Lefts");
    case Arrangement::AlignRights: return tr("Align &Rights");
    case Arrangement::AlignTops: return tr("Align &Tops");
    case Arrangement::AlignBottoms: return tr("Align &Bottoms");
    case Arrangement::AlignHorizontalCenters: return tr("Align &Horizontal Centres");
    case Arrangement::AlignVerticalCenters: return tr("Align &Vertical Centres");
    case Arrangement::SameWidth: return tr("Make Same &Width");
    case Arrangement::SameHeight: return tr("Make Same H&eight");
    case Arrangement::SameSize: return tr("Make Same &Size");
    case Arrangement::SpaceAcross: return tr("Space Evenly &Across");
    case Arrangement::SpaceDown: return tr("Space Evenly &Down");
    }
    return {};
}
