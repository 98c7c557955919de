// Every edit as an operation of the form core, without widgets: one table of what a user does
// (on which selection), the form it leaves, how many undo steps it makes and that undoing them
// all brings back the form as it was. Expected places are worked out by hand beside each row.
#include "core/Arrange.h"
#include "core/Document.h"
#include "core/FormEdits.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/FormSelection.h"
#include "support/FaultSeams.h"

#include "host/palmo/PalmoFactory.h"

#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <utility>

namespace {

// A form of three buttons: A (16, 16, 75 x 25), B (120, 40, 60 x 20), C (40, 100, 100 x 30).
struct Bench {
    Document doc;
    FormEdits edits{doc};
    TestClock* clock = nullptr;

    Bench()
    {
        auto owned = std::make_unique<TestClock>();
        clock = owned.get();
        doc.setClock(std::move(owned));
        const struct { const char* name; int x, y, w, h; } places[] = {
            {"A", 16, 16, 75, 25}, {"B", 120, 40, 60, 20}, {"C", 40, 100, 100, 30}};
        for (const auto& p : places) {
            std::unique_ptr<TPalmoControl> control = CreatePalmoControl(QStringLiteral("TPalmoButton"));
            control->SetName(QString::fromLatin1(p.name));
            control->FLeft = p.x;
            control->FTop = p.y;
            control->FWidth = p.w;
            control->FHeight = p.h;
            EXPECT_EQ(doc.addControl(std::move(control)), QString());
        }
        doc.undoStack()->clear();
    }
    TPalmoControl* operator[](const char* name) const { return doc.form()->find(QString::fromLatin1(name)); }
    // "A 16 16 75 25; B …" in form order.
    std::string form() const
    {
        QStringList out;
        for (const TPalmoControl* c : doc.form()->controls())
            out << QStringLiteral("%1 %2 %3 %4 %5").arg(c->Name()).arg(c->FLeft).arg(c->FTop).arg(c->FWidth).arg(c->FHeight);
        return out.join(QStringLiteral("; ")).toStdString();
    }
    std::string selection() const
    {
        QStringList out;
        for (const TPalmoControl* c : doc.selection()->controls())
            out << c->Name();
        return out.join(u' ').toStdString();
    }
};

const std::string Initial = "A 16 16 75 25; B 120 40 60 20; C 40 100 100 30";

using Gesture = std::function<void(Bench&)>;

// The form's file, saved, then changed by another program: A moved to 50, 60 and C gone.
QString saveThenChangeOnDisk(Bench& b, const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("form.cvform"));
    EXPECT_EQ(b.doc.save(path), QString());
    Document other;
    EXPECT_EQ(other.open(path), QStringList());
    other.form()->find(QStringLiteral("A"))->setProperty("Left", 50);
    other.form()->find(QStringLiteral("A"))->setProperty("Top", 60);
    other.removeControls({other.form()->find(QStringLiteral("C"))});
    EXPECT_EQ(other.save(), QString());
    return path;
}

void typeLeft(Bench& b, bool typed, int left)
{
    b.edits.setProperty(QStringLiteral("Left"), {b["A"]}, [&] { b["A"]->setProperty("Left", left); }, typed);
}

TEST(FormEdits, EachOperationIsItsStepsAndUndoBringsTheFormBack)
{
    const struct Row {
        const char* what;
        std::vector<const char*> selected;
        Gesture run;
        std::string form;
        int steps;
        std::string selectionAfter;
    } rows[] = {
        {"three nudges in a run are one step", {"A"},
         [](Bench& b) { for (int i = 0; i < 3; ++i) { b.clock->advance(100); b.edits.nudge(1, 0); } },
         "A 19 16 75 25; B 120 40 60 20; C 40 100 100 30", 1, "A"},
        {"a nudge after a pause is a step of its own", {"A"},
         [](Bench& b) { b.edits.nudge(1, 0); b.clock->advance(2500); b.edits.nudge(0, 1); },
         "A 17 17 75 25; B 120 40 60 20; C 40 100 100 30", 2, "A"},
        {"nudges then a size by key are two steps", {"A"},
         [](Bench& b) { b.edits.nudge(1, 0); b.edits.nudge(1, 0); b.edits.size(1, 0); },
         "A 18 16 76 25; B 120 40 60 20; C 40 100 100 30", 2, "A"},
        {"nudges of another selection do not merge", {"A"},
         [](Bench& b) { b.edits.nudge(1, 0); b.doc.selection()->add(b["B"]); b.edits.nudge(1, 0); },
         "A 18 16 75 25; B 121 40 60 20; C 40 100 100 30", 2, "A B"},
        {"two drags are two steps", {"A", "C"},
         [](Bench& b) { b.edits.move(5, 5); b.edits.move(5, 5); },
         "A 26 26 75 25; B 120 40 60 20; C 50 110 100 30", 2, "A C"},
        // Right edge of B: 120 + 60 = 180; A's left 180 - 75 = 105.
        {"align rights follows the first selected", {"B", "A"},
         [](Bench& b) { b.edits.arrange(Arrangement::AlignRights); },
         "A 105 16 75 25; B 120 40 60 20; C 40 100 100 30", 1, "B A"},
        {"same size takes the first selected's", {"C", "A"},
         [](Bench& b) { b.edits.arrange(Arrangement::SameSize); },
         "A 16 16 100 30; B 120 40 60 20; C 40 100 100 30", 1, "C A"},
        // By left: A (16), C (40), B (120 … 180). Room 164 - 235 widths = -71: gaps -35, -36.
        {"space evenly across keeps the outer two", {"A", "B", "C"},
         [](Bench& b) { b.edits.arrange(Arrangement::SpaceAcross); },
         "A 16 16 75 25; B 120 40 60 20; C 56 100 100 30", 1, "A B C"},
        {"sizing by key stops at a pixel", {"A"},
         [](Bench& b) { b.edits.size(-100, -1); },
         "A 16 16 1 24; B 120 40 60 20; C 40 100 100 30", 1, "A"},
        {"a move past the edge of the coordinates stops at it", {"A"},
         [](Bench& b) { b.edits.move(INT_MAX, INT_MIN); b.edits.move(INT_MAX, INT_MIN); b.edits.nudge(1, -1); },
         QStringLiteral("A %1 %2 75 25; B 120 40 60 20; C 40 100 100 30").arg(INT_MAX).arg(INT_MIN).toStdString(), 2, "A"},
        {"delete takes the selection away in one step", {"C", "A"},
         [](Bench& b) { b.edits.deleteSelected(); },
         "B 120 40 60 20", 1, ""},
        // A's place is taken: the copy goes 8 px down and right, named A1, and is selected.
        {"duplicate pastes a copy beside and selects it", {"A"},
         [](Bench& b) { b.edits.duplicate(); },
         Initial + "; A1 24 24 75 25", 1, "A1"},
        {"two duplicates are two steps", {"A"},
         [](Bench& b) { b.edits.duplicate(); b.edits.duplicate(); },
         Initial + "; A1 24 24 75 25; A2 32 32 75 25", 2, "A2"},
        {"texts typed into one property are one step", {},
         [](Bench& b) { typeLeft(b, true, 30); typeLeft(b, true, 31); },
         "A 31 16 75 25; B 120 40 60 20; C 40 100 100 30", 1, ""},
        {"values chosen from a list are a step each", {},
         [](Bench& b) { typeLeft(b, false, 30); typeLeft(b, false, 31); },
         "A 31 16 75 25; B 120 40 60 20; C 40 100 100 30", 2, ""},
        // A new button is 96 x 36. Row by row from (16, 16) on the grid, a grid step clear of
        // A (… 91 + 8) and of B (… 180 + 8): the first free left is 192.
        {"a new control keeps a grid step from the others", {"C"},
         [](Bench& b) { b.edits.add(QStringLiteral("TPalmoButton"), QSize(300, 400)); },
         Initial + "; PalmoButton1 192 16 96 36", 1, "PalmoButton1"},
        {"a control dropped at a place is added there alone selected", {"A", "B"},
         [](Bench& b) { b.edits.addAt(QStringLiteral("TPalmoButton"), QPoint(200, 48)); },
         Initial + "; PalmoButton1 200 48 96 36", 1, "PalmoButton1"},
        // 75 + 1 + 8 + 8 wide, 25 - 8 high: a run with Shift+arrows is one step.
        {"grid-step sizing by key runs with pixel sizing as one step", {"A"},
         [](Bench& b) {
             b.edits.size(1, 0);
             for (const auto& [dx, dy] : {std::pair{1, 0}, {1, 0}, {0, -1}}) {
                 b.clock->advance(100);
                 b.edits.sizeByGrid(dx, dy, false);
             }
         },
         "A 16 16 92 17; B 120 40 60 20; C 40 100 100 30", 1, "A"},
        // B's right edge 180 goes to the line at 184, its bottom 60 to 64; A grows by as much.
        {"grid-step sizing to the grid lines follows the first selected", {"B", "A"},
         [](Bench& b) { b.edits.sizeByGrid(1, 0, true); b.edits.sizeByGrid(0, 1, true); },
         "A 16 16 79 29; B 120 40 64 24; C 40 100 100 30", 1, "B A"},
        {"a reload of the file changed on disk is one step", {"B"},
         [](Bench& b) {
             const QTemporaryDir dir;
             saveThenChangeOnDisk(b, dir);
             EXPECT_TRUE(b.doc.changedOnDisk());
             EXPECT_EQ(b.doc.reload(), QStringList());
         },
         "A 50 60 75 25; B 120 40 60 20", 1, ""},
        {"a rename is a step", {"B"},
         [](Bench& b) { EXPECT_EQ(b.edits.rename(b["B"], QStringLiteral("Ok")), QString()); },
         "A 16 16 75 25; Ok 120 40 60 20; C 40 100 100 30", 1, "Ok"},
        // The order of the form is the order of painting (the last on top), of Tab and of the file.
        {"bring to front puts the selected last, in the order they had", {"C", "A"},
         [](Bench& b) {
             EXPECT_TRUE(b.edits.bringToFront());
             EXPECT_EQ(b.doc.undoStack()->undoText(), QStringLiteral("Bring to Front 2 controls"));
         },
         "B 120 40 60 20; A 16 16 75 25; C 40 100 100 30", 1, "C A"},
        // C to the back (C A B), then B and C, which keep their order in the form: C B A.
        {"send to back puts the selected first, in the order they had", {"C"},
         [](Bench& b) {
             EXPECT_TRUE(b.edits.sendToBack());
             EXPECT_EQ(b.doc.undoStack()->undoText(), QStringLiteral("Send to Back C"));
             b.doc.selection()->setControls({b["B"], b["C"]});
             EXPECT_TRUE(b.edits.sendToBack());
         },
         "C 40 100 100 30; B 120 40 60 20; A 16 16 75 25", 2, "B C"},
        {"bringing the frontmost to the front is no step", {"C"},
         [](Bench& b) { EXPECT_FALSE(b.edits.bringToFront()); EXPECT_FALSE(b.edits.bringToFront()); },
         Initial, 0, "C"},
        {"to the front and to the back again are two steps", {"A"},
         [](Bench& b) { b.edits.bringToFront(); b.edits.sendToBack(); },
         Initial, 2, "A"},
        {"nothing selected, nothing restacked", {},
         [](Bench& b) { EXPECT_FALSE(b.edits.sendToBack()); },
         Initial, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Bench b;
        std::vector<TPalmoControl*> chosen;
        for (const char* name : row.selected)
            chosen.push_back(b[name]);
        b.doc.selection()->setControls(chosen);
        row.run(b);
        EXPECT_EQ(b.form(), row.form);
        EXPECT_EQ(b.doc.undoStack()->count(), row.steps);
        EXPECT_EQ(b.selection(), row.selectionAfter);
        while (b.doc.canUndo())
            b.doc.undo();
        EXPECT_EQ(b.form(), Initial) << "undo brings the form back";
        while (b.doc.canRedo())
            b.doc.redo();
        EXPECT_EQ(b.form(), row.form) << "redo makes the same form again";
    }
}

// Reloaded, the form is the file: saved; one undo brings back the form as shown before, changed.
// Restored from a recovery copy, the form is the copy; one undo steps back to the file.
TEST(FormEdits, ReloadAndRestoreAreOneStepAboveTheFileOnDisk)
{
    Bench b;
    const QTemporaryDir dir;
    const QString path = saveThenChangeOnDisk(b, dir);
    b.edits.selection().select(b["A"]);
    b.edits.nudge(1, 0);
    const std::string shown = "A 17 16 75 25; B 120 40 60 20; C 40 100 100 30";
    ASSERT_EQ(b.doc.reload(), QStringList());
    EXPECT_FALSE(b.doc.isModified() || b.doc.changedOnDisk());
    b.doc.undo();
    EXPECT_EQ(b.form(), shown);
    EXPECT_TRUE(b.doc.isModified());

    // A copy of the form as shown, restored over the file as it is on disk.
    FormReadResult copy = FormFile::parse(FormFile::serialize(*b.doc.form()), QStringLiteral("copy"));
    ASSERT_TRUE(copy.form);
    Bench restored;
    restored.doc.adoptRecovered(*copy.form, path);
    EXPECT_EQ(restored.form(), shown);
    EXPECT_TRUE(restored.doc.isModified());
    EXPECT_FALSE(restored.doc.fileConfirmed()) << "the first save still asks where";
    EXPECT_EQ(restored.doc.undoStack()->count(), 1);
    restored.doc.undo();
    EXPECT_EQ(restored.form(), "A 50 60 75 25; B 120 40 60 20");
    EXPECT_FALSE(restored.doc.isModified()) << "that is what the file holds";
}

// Right ×3, Shift+Right ×2, Ctrl+Z, then at once Down ×2 and Ctrl+Z: the new run does not join
// the run before the undone step, so the last undo takes back only the Downs.
TEST(FormEdits, AStepNeverMergesAcrossAnUndo)
{
    Bench b;
    b.doc.selection()->select(b["A"]);
    for (int i = 0; i < 3; ++i) {
        b.clock->advance(100);
        b.edits.nudge(1, 0);
    }
    for (int i = 0; i < 2; ++i) {
        b.clock->advance(100);
        b.edits.size(1, 0);
    }
    b.doc.undo();
    for (int i = 0; i < 2; ++i) {
        b.clock->advance(100);
        b.edits.nudge(0, 1);
    }
    b.doc.undo();
    EXPECT_EQ(b["A"]->FLeft, 19);
    EXPECT_EQ(b["A"]->FTop, 16);
    EXPECT_EQ(b["A"]->FWidth, 75);
}

// Ctrl+clicks make the first clicked the reference; a Ctrl+click on a selected control takes it
// out; a control that leaves the form leaves the selection, and an undo that takes many away is
// one change of the selection.
TEST(FormEdits, TheSelectionKeepsTheOrderOfTheClicks)
{
    Bench b;
    FormSelection& s = *b.doc.selection();
    int changes = 0;
    QObject::connect(&s, &FormSelection::changed, [&] { ++changes; });
    s.select(b["C"]);
    s.toggle(b["A"]);
    s.toggle(b["B"]);
    s.toggle(b["A"]);
    EXPECT_EQ(b.selection(), "C B");
    EXPECT_EQ(s.reference(), b["C"]);
    EXPECT_EQ(changes, 4);
    b.edits.duplicate();
    EXPECT_EQ(b.selection(), "B1 C1");
    changes = 0;
    b.doc.undo();
    EXPECT_EQ(b.selection(), "");
    EXPECT_EQ(changes, 1);
}

}  // namespace
