// Controls as clipboard text: a snippet is the form file of just the copied controls; pasting it
// gives each control a name free on the target (the stem of a taken name and the smallest free
// number), moves the controls off those they would cover exactly, adds them all as one step, and
// a text that is no snippet is refused with where it went wrong, changing nothing.
#include "core/Document.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/Snippet.h"

#include "host/palmo/PalmoFactory.h"

#include <QRect>
#include <QUndoStack>
#include <QVariant>

#include <gtest/gtest.h>

namespace {

// A button of that name at (left, top), width by height, on form.
TPalmoControl* Put(FormModel& Form, const QString& Name, const QRect& Place = QRect(16, 16, 80, 30))
{
    std::unique_ptr<TPalmoControl> Control = CreatePalmoControl(QStringLiteral("TPalmoButton"));
    TPalmoControl* Added = Control.get();
    Control->SetName(Name);
    Control->setProperty("Left", Place.x());
    Control->setProperty("Top", Place.y());
    Control->setProperty("Width", Place.width());
    Control->setProperty("Height", Place.height());
    EXPECT_EQ(Form.insert(Form.count(), std::move(Control)), QString());
    return Added;
}

TEST(Snippet, PastedNamesKeepFreeNamesAndGiveTakenOnesTheSmallestFreeNumberOfTheirStem)
{
    const QString Long(FormModel::MaxNameLength, u'N');
    struct Row {
        QStringList OnForm, Pasted, Expected;
    } const Rows[] = {
        {{}, {"Button1"}, {"Button1"}},
        {{"Button1"}, {"Button1"}, {"Button2"}},
        {{"Button1", "Button2"}, {"Button2"}, {"Button3"}},
        {{"Button1", "Button3"}, {"Button3"}, {"Button2"}},         // the smallest free number
        {{"OkButton"}, {"OkButton"}, {"OkButton1"}},                // a name without digits
        {{"okbutton"}, {"OKBUTTON"}, {"OKBUTTON1"}},                // compared without regard to case
        {{"Item007"}, {"Item007"}, {"Item1"}},                      // the stem drops every trailing digit
        {{"Button1"}, {"Button1", "Button2"}, {"Button3", "Button2"}},  // a free name stays, the renamed one goes round it
        {{"A1", "A2"}, {"A1", "A2"}, {"A3", "A4"}},                 // unique among themselves too
        {{"Top"}, {"Top", "Top1"}, {"Top2", "Top1"}},
        {{Long}, {Long}, {Long.left(FormModel::MaxNameLength - 1) + "1"}},  // never longer than a name may be
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE((R.OnForm.join(',') + " <- " + R.Pasted.join(',')).toStdString());
        FormModel Target;
        for (const QString& Name : R.OnForm)
            Put(Target, Name);
        EXPECT_EQ(Snippet::pastedNames(Target, R.Pasted), R.Expected);
    }
}

TEST(Snippet, PastedControlsMoveByEightUntilNoneSitsExactlyOnAControlOfTheSameSize)
{
    struct Row {
        const char* What;
        std::vector<Box> OnForm, Pasted;
        QPoint Expected;
    } const Rows[] = {
        {"an empty form", {}, {{16, 16, 80, 30}}, {0, 0}},
        {"on the original", {{16, 16, 80, 30}}, {{16, 16, 80, 30}}, {8, 8}},
        {"on the original and an earlier paste", {{16, 16, 80, 30}, {24, 24, 80, 30}}, {{16, 16, 80, 30}}, {16, 16}},
        {"same place, other size", {{16, 16, 80, 30}}, {{16, 16, 80, 31}}, {0, 0}},
        {"overlapping is not covering", {{20, 20, 80, 30}}, {{16, 16, 80, 30}}, {0, 0}},
        {"the second control moves them on", {{16, 16, 80, 30}, {40, 40, 10, 10}}, {{16, 16, 80, 30}, {32, 32, 10, 10}}, {16, 16}},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        FormModel Target;
        for (const Box& Place : R.OnForm)
            Put(Target, Target.nextFreeName(QStringLiteral("TPalmoButton")), QRect(Place.left, Place.top, Place.width, Place.height));
        EXPECT_EQ(Snippet::pastedOffset(Target, R.Pasted), R.Expected);
    }
}

// What is copied is exactly the form file of a form holding just those controls, in form order
// (pasting it, one step, is the clipboard test's).
TEST(Snippet, CopiedControlsAreTheFormFileOfJustThem)
{
    FormModel Form;
    TPalmoControl* A = Put(Form, "A", {16, 16, 80, 30});
    Put(Form, "B", {16, 60, 80, 30});
    TPalmoControl* C = Put(Form, "Button1", {16, 104, 40, 20});
    FormModel Alone;
    Put(Alone, "A", {16, 16, 80, 30});
    Put(Alone, "Button1", {16, 104, 40, 20});
    EXPECT_EQ(Snippet::snippetOf({A, C}), FormFile::serialize(Alone));
}

TEST(Snippet, ATextThatIsNoSnippetIsRefusedWithWhereAndChangesNothing)
{
    const QByteArray Unknown = "{\n  \"format\": \"cvform\",\n  \"version\": 1,\n  \"components\": [\n"
                               "    {\"class\": \"TNoSuchThing\", \"name\": \"A\"}\n  ]\n}\n";
    const QByteArray BadName = "{\"format\": \"cvform\", \"version\": 1, \"components\": [{\"class\": \"TPalmoButton\", \"name\": \"2x\"}]}";
    struct Row {
        QByteArray Text;
        const char* Said;
    } const Rows[] = {
        {"", "<clipboard>:1:1: not valid JSON"},
        {"PalmoButton1", "<clipboard>:1:1: not valid JSON"},
        {"[1, 2]", "<clipboard>:1:1: a form file holds one JSON object, not an array"},
        {"{\"format\": \"cvform\"}", "<clipboard>:1:1: missing \"version\""},
        {Unknown, "<clipboard>:5:15: unknown class 'TNoSuchThing'"},
        {BadName, "<clipboard>:1:85: '2x' is not a valid name"},
        {"{\"format\": \"cvform\", \"version\": 1, \"components\": []}", "<clipboard>:1:1: the text holds no controls to paste"},
    };
    Document Doc;
    Put(*Doc.form(), "A");
    Put(*Doc.form(), "B", {16, 60, 80, 30});
    const QStringList Before = FormFile::dump(*Doc.form());
    const int Steps = Doc.undoStack()->count();
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Text.toStdString());
        const Snippet::PasteResult Pasted = Snippet::paste(Doc, R.Text);
        EXPECT_TRUE(Pasted.error.startsWith(QLatin1String(R.Said))) << Pasted.error.toStdString();
        EXPECT_TRUE(Pasted.controls.empty());
        EXPECT_EQ(FormFile::dump(*Doc.form()), Before);
        EXPECT_EQ(Doc.undoStack()->count(), Steps);
    }
}

}  // namespace
