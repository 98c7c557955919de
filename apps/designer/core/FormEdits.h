#pragma once
// Every edit a user makes to the form, each a named operation that knows its undo text and when
// a run of it is one step. Views call these; none of them builds an undo step itself. The
// operations that act on "the selection" take the document's selection, whose first control is
// the reference of the Format commands. A step merges only into the step directly before it, of
// the same operation on the same controls (named by the form's ids for them, never by where
// they are in memory), within the document's pause; never across an undo, a redo or a save.
// Positions and sizes stop at the ends of their 32-bit range. No widget code.

#include "core/FormEditing.h"

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

class Document;
class TPalmoControl;
class FormModel;
class FormSelection;
enum class Arrangement;

class FormEdits final : public FormEditing {
public:
    explicit FormEdits(Document& document);

    Document& document() const { return m_document; }
    FormModel& form() const;
    FormSelection& selection() const;

    // A control of the class under the next free name, at the first place on the grid, row by
    // row within room, that keeps a grid step away from every other control (below the lowest
    // control when there is none), as "Add NAME"; it becomes the selection. Null for an unknown
    // class.
    TPalmoControl* add(const QString& className, const QSize& room);
    // The same with the control's top-left corner at the point (where it was dropped).
    TPalmoControl* addAt(const QString& className, const QPoint& at);
    // Deletes the selected controls ("Delete X"); false when none is selected.
    bool deleteSelected();
    // Deletes these controls as the step "Cut X" (they were copied first).
    void cut(const std::vector<TPalmoControl*>& controls);
    // Moves the selected controls: by a drag ("Move X", a step of its own), or by a key (nudge:
    // a run of presses on the same controls is one step).
    void move(int dx, int dy);
    void nudge(int dx, int dy);
    // Changes the selected controls' sizes by a key ("Resize X", a run is one step); never
    // below a pixel.
    void size(int dw, int dh);
    // Sizes the selected controls by a grid step for each key press; dx and dy say which way
    // (-1, 0 or 1). With toGridLine, the first selected's right or bottom edge goes to the next
    // grid line that way and the others change by as much. A run of these and of size() is one
    // step.
    void sizeByGrid(int dx, int dy, bool toGridLine);
    // Moves the selected controls' edges by a grab handle's drag ("Resize X").
    void moveEdges(int dLeft, int dTop, int dRight, int dBottom);
    // A Format command on the selection, the first selected the reference ("Align Rights (X)").
    // False when too few controls are selected for it.
    bool arrange(Arrangement arrangement);
    // Adds the controls of a snippet under free names as "Paste X" (or stepText) and selects
    // them. "" or why nothing was pasted.
    QString paste(const QByteArray& text, const QString& sourceName, const QString& stepText = QString());
    // Pastes a copy of the selected controls as "Duplicate X"; "" or why nothing was done.
    QString duplicate();
    // Puts the selected controls after all others ("Bring to Front X": painted over them, last in
    // the Tab walk and the file) or before them ("Send to Back X"), keeping their order among
    // themselves. False, with no step, when none is selected or they are there already.
    bool bringToFront();
    bool sendToBack();

    // FormEditing: the inspector's operations.
    const std::vector<TPalmoControl*>& formControls() const override;
    QString rename(TPalmoControl* control, const QString& newName) override;
    void setProperty(const QString& path, const std::vector<TPalmoControl*>& controls,
                     const std::function<void()>& write, bool typed) override;
    void resetProperty(const QString& path, const std::vector<TPalmoControl*>& controls, const QByteArray& name,
                       const std::vector<std::pair<QObject*, QVariant>>& defaults) override;
    std::size_t replaceColor(const QMetaProperty& property, const QVariant& old, const QVariant& replacement,
                             const QString& oldText, const QString& newText) override;
    void fixColor(ColorFix& fix) override;
    std::size_t fixAllColors(const ReadabilityThresholds& thresholds) override;

    // The Format menu's text of a command, with its access key ("Align &Rights").
    static QString arrangementText(Arrangement arrangement);
    // What makes two steps one: the operation and the ids of its controls, in order.
    QString mergeKey(const QString& operation, const std::vector<TPalmoControl*>& controls) const;

private:
    bool restack(bool toFront);
    // Gives the new control its place and adds it as one step; it becomes the selection.
    TPalmoControl* addPlaced(const QString& className, std::unique_ptr<TPalmoControl> control, const QPoint& at);
    // Writes new rectangles of the selected controls, from what each had, as one step.
    template <typename Change>
    void placeSelected(const QString& text, const QString& operation, Change change);

    Document& m_document;
};
