// The document's history and file as a user relies on them: each form starts with no history, a
// change outside the history still counts as unsaved, undo puts deleted controls back where they
// were, undo waits while a change is being recorded, and a save that fails at any step leaves the
// file and the unsaved state as they were.
#include "core/Document.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "support/FaultSeams.h"

#include "host/palmo/PalmoFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace {

QStringList NamesOn(const FormModel& Form)
{
    QStringList Names;
    for (const TPalmoControl* Control : Form.controls())
        Names << Control->Name();
    return Names;
}

TPalmoControl* Add(Document& Doc, const char* Name)
{
    std::unique_ptr<TPalmoControl> Control = CreatePalmoControl(QStringLiteral("TPalmoButton"));
    TPalmoControl* Added = Control.get();
    Control->SetName(QString::fromLatin1(Name));
    EXPECT_EQ(Doc.addControl(std::move(Control)), QString());
    return Added;
}

QByteArray Contents(const QString& Path)
{
    QFile File(Path);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

TEST(DocumentHistory, EachFormStartsWithNoHistoryAndUnsavedMeansDifferentFromTheFile)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("form.cvform");
    Document Doc;
    Add(Doc, "A")->setProperty("Left", 40);
    ASSERT_TRUE(Doc.isModified());
    ASSERT_EQ(Doc.save(Path), QString());

    // A change that no step records (a property set by code) still makes the form unsaved.
    Doc.form()->control(0)->setProperty("Top", 9);
    EXPECT_TRUE(Doc.isModified());

    ASSERT_TRUE(Doc.open(Path).isEmpty());
    EXPECT_FALSE(Doc.canUndo()) << "after Open, Undo is disabled";
    EXPECT_FALSE(Doc.isModified());
    Add(Doc, "B");
    Doc.newForm();
    EXPECT_FALSE(Doc.canUndo()) << "after New, Undo is disabled";
    EXPECT_FALSE(Doc.canRedo());
}

TEST(DocumentHistory, UndoingADeletePutsEveryControlBackAtItsPlace)
{
    Document Doc;
    for (const char* Name : {"A", "B", "C", "D", "E"})
        Add(Doc, Name);
    FormModel& Form = *Doc.form();
    // Selected out of form order.
    Doc.removeControls({Form.find("E"), Form.find("B"), Form.find("D")});
    EXPECT_EQ(NamesOn(Form), (QStringList{"A", "C"}));
    Doc.undo();
    EXPECT_EQ(NamesOn(Form), (QStringList{"A", "B", "C", "D", "E"}));
}

TEST(DocumentHistory, UndoWaitsWhileAChangeIsBeingRecorded)
{
    Document Doc;
    TPalmoControl* Control = Add(Doc, "A");
    const int Width = Control->property("Width").toInt();
    Doc.recordChange(QStringLiteral("Set Width"), {Control}, [&] { Control->setProperty("Width", Width + 20); });
    Doc.recordChange(QStringLiteral("Set Left"), {Control}, [&] {
        Control->setProperty("Left", 77);
        // What a queued Ctrl+Z inside a property editor's dialog does.
        EXPECT_FALSE(Doc.canUndo());
        Doc.undo();
    });
    EXPECT_EQ(Control->property("Width").toInt(), Width + 20) << "the Width step was not undone meanwhile";
    Doc.undo();
    EXPECT_NE(Control->property("Left").toInt(), 77);
    EXPECT_EQ(Control->property("Width").toInt(), Width + 20) << "undoing Left leaves Width alone";
    Doc.undo();
    EXPECT_EQ(Control->property("Width").toInt(), Width);
}

// Steps a person expects: changes of the same kind (one key) to the same controls, each within two
// seconds of the one before, are one undo step back to where the run began; another key, a
// pause, or no key starts a new step; a run that ends where it began leaves no step.
TEST(DocumentHistory, ARunOfLikeChangesWithoutAPauseIsOneStep)
{
    const struct Change {
        const char* key;
        qint64 after;  // ms since the change before
        int dx;
    } nudge{"nudge", 100, 1}, typed{"type Left", 100, 5}, late{"nudge", 2500, 1}, back{"nudge", 100, -1},
        keyless{"", 100, 1};
    const struct {
        std::vector<Change> changes;
        int steps;
    } cases[] = {
        {{nudge, nudge, nudge}, 1},
        {{nudge, late}, 2},
        {{nudge, typed, nudge}, 3},
        {{keyless, keyless}, 2},
        {{nudge, back}, 0},
        {{typed, typed, typed}, 1},
    };
    for (const auto& c : cases) {
        Document doc;
        auto clock = std::make_unique<TestClock>();
        TestClock* time = clock.get();
        doc.setClock(std::move(clock));
        TPalmoControl* button = Add(doc, "B");
        button->FLeft = 10;
        doc.undoStack()->clear();
        int left = 10;
        for (const Change& change : c.changes) {
            time->advance(change.after);
            doc.recordChange(QStringLiteral("Move"), {button}, [&] { button->FLeft += change.dx; }, QLatin1String(change.key));
            left += change.dx;
        }
        EXPECT_EQ(doc.undoStack()->count(), c.steps) << c.changes.size() << " changes";
        EXPECT_EQ(button->FLeft, left);
        while (doc.canUndo())
            doc.undo();
        EXPECT_EQ(button->FLeft, 10);
    }
}

TEST(DocumentFile, ASaveThatFailsAtAnyStepLeavesTheFileAndTheChangesUnsaved)
{
    for (const FailingStep Step : {FailingStep::Open, FailingStep::Write, FailingStep::Commit}) {
        SCOPED_TRACE(static_cast<int>(Step));
        QTemporaryDir Dir;
        const QString Path = Dir.filePath("form.cvform");
        Document Doc;
        Add(Doc, "A");
        ASSERT_EQ(Doc.save(Path), QString());
        const QByteArray Saved = Contents(Path);
        Add(Doc, "B");
        {
            const FailingWrites Fault(Step);
            EXPECT_FALSE(Doc.save().isEmpty()) << "the failure is reported";
        }
        EXPECT_EQ(Contents(Path), Saved);
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"form.cvform"}) << "no temporary left";
        EXPECT_TRUE(Doc.isModified());
        EXPECT_EQ(Doc.save(), QString()) << "the next save works";
        EXPECT_EQ(Contents(Path), FormFile::serialize(*Doc.form()));
    }
}

}  // namespace
