// What the window says and how it fits: a file with many problems opens a list that fits the
// screen and names the file once, the window fits small screens with its title bar, long status
// texts are elided with the whole text as the tooltip, a failed save says what is on disk and
// offers Save As, recent files of the same name are told apart, and every menu entry and dialog
// button has an access key of its own.
#include "../contrast/ContrastForms.h"
#include "core/Document.h"
#include "views/ContrastView.h"
#include "views/ElidingStatusBar.h"
#include "views/ProblemsDialog.h"
#include "views/WindowFit.h"
#include "support/DesignerSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QDockWidget>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

namespace {

// The letters after a single '&' in each text; fails when a text has none or two share one.
void ExpectOwnAccessKeys(const QStringList& Texts)
{
    QString Used;
    for (const QString& Text : Texts) {
        const QRegularExpressionMatch Key = QRegularExpression("(?:^|[^&])(?:&&)*&([^&])").match(Text);
        ASSERT_TRUE(Key.hasMatch()) << "no access key in " << Text.toStdString();
        const QChar Letter = Key.captured(1).front().toLower();
        EXPECT_FALSE(Used.contains(Letter)) << Text.toStdString() << " repeats " << QString(Letter).toStdString();
        Used += Letter;
    }
}

QStringList ButtonTexts(const QWidget& Dialog)
{
    QStringList Texts;
    for (const QAbstractButton* Button : Dialog.findChildren<QAbstractButton*>())
        if (Button->isVisible())
            Texts << Button->text();
    return Texts;
}

QAbstractButton* ButtonNamed(const QWidget& Dialog, const QString& Text)
{
    for (QAbstractButton* Button : Dialog.findChildren<QAbstractButton*>())
        if (Button->text() == Text)
            return Button;
    return nullptr;
}

class WindowMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        QSettings().remove("recentFiles");
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }
    QString PathOf(const QString& Name) const { return Dir.filePath(Name); }

    QTemporaryDir Dir;
    MainWindow Window{CV_PACKAGE_PATH};
};

TEST_F(WindowMessages, AFileWithManyProblemsListsThemInADialogThatFitsTheScreenNamingTheFileOnce)
{
    struct Row {
        int Components;  // each an unknown class: one problem each
        const char* Dialog;
        int Rows;
        const char* Count;
    } const Rows[] = {
        {2, "errorBox", 0, ""},
        {60, "problemsDialog", 60, "60 problems"},
        {150, "problemsDialog", 101, "More than 100 problems; the first 100 are listed"},
    };
    const QRect Available = Window.screen()->availableGeometry();
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Components);
        const QString Path = PathOf(QStringLiteral("many%1.cvform").arg(R.Components));
        QByteArray Text = "{\n  \"format\": \"cvform\",\n  \"version\": 1,\n  \"components\": [\n";
        for (int I = 0; I < R.Components; ++I)
            Text += I + 1 < R.Components ? "    {\"class\": \"TNo\", \"name\": \"A\"},\n" : "    {\"class\": \"TNo\", \"name\": \"A\"}\n";
        Text += "  ]\n}\n";
        QFile File(Path);
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(Text);
        File.close();
        ModalDriver Driver([&](QDialog& Dialog) {
            EXPECT_EQ(Dialog.objectName(), R.Dialog);
            ExpectOwnAccessKeys(ButtonTexts(Dialog));
            auto* Problems = qobject_cast<ProblemsDialog*>(&Dialog);
            if (Problems) {
                EXPECT_LE(Dialog.frameGeometry().height(), Available.height());
                EXPECT_LE(Dialog.height() + WindowFit::AssumedFrame.top() + WindowFit::AssumedFrame.bottom(), Available.height());
                EXPECT_EQ(Problems->count()->text(), R.Count);
                // Copied lines carry the file, for an editor to jump to.
                Problems->list()->item(1)->setSelected(true);
                Problems->list()->item(0)->setSelected(true);
                QTest::mouseClick(ButtonNamed(Dialog, "&Copy Lines"), Qt::LeftButton);
                const QString Copied = QGuiApplication::clipboard()->text();
                EXPECT_EQ(Copied, Path + ':' + Problems->list()->item(0)->text() + '\n' + Path + ':' + Problems->list()->item(1)->text() + '\n');
                EXPECT_TRUE(Copied.startsWith(Path + ":5:15: unknown class 'TNo'")) << Copied.toStdString();
                ASSERT_EQ(Problems->list()->count(), R.Rows);
                EXPECT_TRUE(Problems->list()->item(0)->text().startsWith("5:15: unknown class 'TNo'"));
                EXPECT_TRUE(Problems->list()->item(59)->text().startsWith("64:15: unknown class 'TNo'"));
                // The path once, at the top; the lines start with where.
                QString Everything = Dialog.windowTitle();
                for (const QLabel* Label : Dialog.findChildren<QLabel*>())
                    Everything += '\n' + Label->text();
                for (int Line = 0; Line < Problems->list()->count(); ++Line)
                    Everything += '\n' + Problems->list()->item(Line)->text();
                EXPECT_EQ(Everything.count(Path), 1);
                EXPECT_TRUE(Problems->headline()->text().contains(Path));
                QAbstractButton* Ok = ButtonNamed(Dialog, "&OK");
                ASSERT_NE(Ok, nullptr);
                EXPECT_TRUE(Ok->isVisible() && Dialog.rect().contains(QRect(Ok->mapTo(&Dialog, QPoint()), Ok->size())))
                    << "the button is in view";
                QTest::mouseClick(Ok, Qt::LeftButton);
            } else {
                Dialog.accept();
            }
            if (Dialog.isVisible())
                Dialog.reject();
        });
        EXPECT_FALSE(Window.openForm(Path));
        EXPECT_EQ(Driver.Shown, 1);
        if (R.Rows > 0) {
            EXPECT_TRUE(Window.statusBar()->currentMessage().endsWith(QString(R.Count).section(';', 0, 0).toLower()))
                << "the count agrees: " << Window.statusBar()->currentMessage().toStdString();
        }
    }
}

TEST_F(WindowMessages, TheWindowFitsSmallScreensWithItsTitleBarEvenBeforeItIsShown)
{
    EXPECT_EQ(WindowFit::AssumedFrame, QMargins(8, 40, 8, 8));
    struct Row {
        QRect Available;
        QSize Expected;
    } const Rows[] = {
        {{0, 0, 1366, 768}, {1060, 720}},   // 768 - 40 - 8
        {{0, 0, 1024, 600}, {1008, 552}},   // 1024 - 8 - 8, 600 - 40 - 8
        {{0, 27, 1366, 741}, {1060, 693}},  // a panel takes the top 27 pixels
        {{0, 0, 1920, 1080}, {1060, 760}},  // room to spare: as wanted
    };
    for (const Row& R : Rows)
        EXPECT_EQ(MainWindow::fittingSize({1060, 760}, R.Available, WindowFit::AssumedFrame), R.Expected) << R.Available.height();

    MainWindow Unshown(CV_PACKAGE_PATH);
    ASSERT_EQ(Unshown.frameGeometry(), Unshown.geometry()) << "no frame known before it is shown";
    const QRect Available = Unshown.screen()->availableGeometry();
    EXPECT_TRUE(Available.contains(QRect(Unshown.pos(), Unshown.size().grownBy(WindowFit::AssumedFrame))))
        << Unshown.width() << "x" << Unshown.height() << " on " << Available.width() << "x" << Available.height();
}

TEST_F(WindowMessages, LongStatusTextsAreElidedToTheBarWithTheWholeTextAsTooltip)
{
    auto* Bar = qobject_cast<ElidingStatusBar*>(Window.statusBar());
    ASSERT_NE(Bar, nullptr);
    const QString Long = "Saved /home/user/" + QString("folder/").repeated(60) + "form.cvform";
    // What fits is worked out as the bar paints.
    Bar->showMessage("Saved form.cvform");
    Bar->grab();
    EXPECT_EQ(Bar->shownMessage(), "Saved form.cvform");
    EXPECT_EQ(Bar->toolTip(), "");
    Bar->showMessage(Long);
    Bar->grab();
    EXPECT_EQ(Bar->currentMessage(), Long);
    EXPECT_EQ(Bar->toolTip(), Long);
    const QString Shown = Bar->shownMessage();
    EXPECT_TRUE(Shown.startsWith("Saved /home/user/") && Shown.endsWith("form.cvform") && Shown.contains(QChar(0x2026)))
        << Shown.toStdString();
    EXPECT_LE(Bar->fontMetrics().horizontalAdvance(Shown), Bar->width());
    Bar->clearMessage();
    Bar->grab();
    EXPECT_EQ(Bar->toolTip(), "");

    // The label that says what the inspector shows: a long name is elided at the end.
    Window.addControl("TPalmoButton");
    const QString Name = QString("VeryLong").repeated(30);
    PropertyInspector& Inspector = *Window.inspector();
    ASSERT_TRUE(Inspector.commitText(Inspector.rowOf("Name"), Name));
    auto* Hint = Window.findChild<ElidedLabel*>("selectionHint");
    ASSERT_NE(Hint, nullptr);
    EXPECT_EQ(Hint->text(), "Editing " + Name);
    Hint->grab();
    EXPECT_EQ(Hint->toolTip(), "Editing " + Name);
    EXPECT_TRUE(Hint->shownText().startsWith("Editing VeryLong") && Hint->shownText().endsWith(QChar(0x2026)));
    EXPECT_LE(Window.minimumSizeHint().width(), Window.screen()->availableGeometry().width()) << "the name does not widen the window";
}

TEST_F(WindowMessages, ARefusalStaysUntilTheNextActionWithItsWholeTextReachable)
{
    auto* Bar = qobject_cast<ElidingStatusBar*>(Window.statusBar());
    ASSERT_NE(Bar, nullptr);
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(Window.paste());
    const QString Refusal = Bar->currentMessage();
    ASSERT_TRUE(Refusal.startsWith("Nothing pasted")) << Refusal.toStdString();
    // Updates that are no action of the user's leave it.
    Window.addControl("TPalmoButton");
    EXPECT_FALSE(Bar->showReadout("12, 34"));
    EXPECT_EQ(Bar->currentMessage(), Refusal);
    const QString Long = "Nothing moved: " + QString("the control is locked in place; ").repeated(20);
    Bar->showRefusal(Long);
    Bar->grab();
    EXPECT_TRUE(Bar->shownMessage().startsWith("Nothing moved: the control")) << "read from its start";
    EXPECT_EQ(Bar->toolTip(), Long);
    EXPECT_EQ(Bar->accessibleDescription(), Long);
    QTest::keyClick(Window.controlList(), Qt::Key_Up);
    EXPECT_EQ(Bar->currentMessage(), "") << "the next key takes it away";
    EXPECT_TRUE(Bar->showReadout("12, 34"));
    EXPECT_EQ(Bar->currentMessage(), "12, 34");
}

TEST_F(WindowMessages, AFailedSaveSaysWhatIsOnDiskAndOffersSaveAs)
{
    ASSERT_TRUE(QDir().mkpath(PathOf("taken.cvform")));
    struct Row {
        QString Target;
        const char* Said;
        const char* Answer;
        bool Saved;
    } const Rows[] = {
        {PathOf("missing/form.cvform"), "%1 was not saved: the folder", "Save &As...", true},
        {PathOf("taken.cvform"), "%1 was not saved: it is a folder", "&OK", false},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Target.toStdString());
        Window.addControl("TPalmoButton");
        const QString Other = PathOf(QStringLiteral("other%1.cvform").arg(R.Saved));
        QString Said, Why;
        ModalDriver Driver({[&](QDialog& Dialog) {
                                auto* Box = qobject_cast<QMessageBox*>(&Dialog);
                                ASSERT_NE(Box, nullptr);
                                Said = Box->text();
                                Why = Box->informativeText();
                                ExpectOwnAccessKeys(ButtonTexts(Dialog));
                                QAbstractButton* Answer = ButtonNamed(Dialog, R.Answer);
                                ASSERT_NE(Answer, nullptr);
                                QTest::mouseClick(Answer, Qt::LeftButton);
                            },
                            [&](QDialog& Dialog) {
                                auto* Chooser = qobject_cast<QFileDialog*>(&Dialog);
                                ASSERT_NE(Chooser, nullptr) << "Save As asks where";
                                // Not where it failed: the user's documents folder, at a name no file has.
                                const QString Documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
                                EXPECT_EQ(Chooser->directory().absolutePath(),
                                          QFileInfo(QFileInfo(Documents).isDir() ? Documents : QDir::homePath()).absoluteFilePath());
                                const QString Start = Chooser->selectedFiles().value(0);
                                EXPECT_TRUE(QFileInfo(Start).fileName().startsWith(QFileInfo(R.Target).completeBaseName())) << Start.toStdString();
                                EXPECT_FALSE(QFileInfo::exists(Start)) << Start.toStdString();
                                Chooser->selectFile(Other);
                                Dialog.accept();  // the file dialog's own accept: it checks the file
                            }});
        EXPECT_EQ(Window.saveAs(R.Target), R.Saved);
        EXPECT_TRUE(Said.startsWith(QString(R.Said).arg(R.Target))) << Said.toStdString();
        EXPECT_EQ((Said + Why).count(R.Target), 1) << "said once: " << (Said + Why).toStdString();
        EXPECT_EQ((Said + Why).count("unchanged") + (Said + Why).count("as it was"), R.Saved ? 0 : 1);
        EXPECT_EQ(Driver.Shown, R.Saved ? 2 : 1);
        EXPECT_EQ(QFileInfo::exists(Other), R.Saved);
        EXPECT_EQ(Window.document()->isModified(), !R.Saved);
        EXPECT_FALSE(QFileInfo(R.Target).isFile()) << "nothing was written there";
    }
}

// Another program changes the open form's file (writing a new file over it, as editors do): a
// line above the form says so; Reload is one undo step back to the form as it was shown. The
// designer's own saves never show the line.
TEST_F(WindowMessages, AFileChangedOnDiskIsSaidAboveTheFormAndReloadIsOneUndoStep)
{
    const QString Path = PathOf("watched.cvform");
    Window.addControl("TPalmoButton");
    ASSERT_TRUE(Window.saveAs(Path));
    auto* Line = Window.findChild<QWidget*>("fileChangeBar");
    ASSERT_NE(Line, nullptr);
    const auto ChangeOnDisk = [&](int Left) {
        Document Other;
        ASSERT_EQ(Other.open(Path), QStringList());
        Other.form()->control(0)->setProperty("Left", Left);
        ASSERT_EQ(Other.save(), QString());
    };
    for (int Left : {300, 301}) {
        SCOPED_TRACE(Left);
        ChangeOnDisk(Left);
        QTRY_VERIFY(Line->isVisible());
        QTest::mouseClick(Line->findChild<QAbstractButton*>("reloadButton"), Qt::LeftButton);
        EXPECT_FALSE(Line->isVisible());
        EXPECT_EQ(Window.form()->control(0)->FLeft, Left);
        EXPECT_FALSE(Window.document()->isModified());
        ASSERT_TRUE(Window.save());  // its own save, over the file just reloaded
        QTest::qWait(400);
        EXPECT_FALSE(Line->isVisible());
    }
    Window.document()->undo();
    EXPECT_EQ(Window.form()->control(0)->FLeft, 300) << "one undo: the form as shown before the second reload";
    ChangeOnDisk(500);
    QTRY_VERIFY(Line->isVisible());
    QTest::mouseClick(Line->findChild<QAbstractButton*>("keepMineButton"), Qt::LeftButton);
    EXPECT_FALSE(Line->isVisible());
    EXPECT_EQ(Window.form()->control(0)->FLeft, 300);
    EXPECT_TRUE(Window.document()->isModified());
    EXPECT_FALSE(Window.document()->changedOnDisk()) << "saving replaces the file without asking again";
}

// With no docks kept from a last run, the Readability dock shows eight lines of findings.
TEST(FirstStart, TheReadabilityDockShowsEightLines)
{
    QSettings().remove("window");
    MainWindow Window(CV_PACKAGE_PATH);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    // Two lines of findings, to measure a line as the list lays it out.
    for (const char* Name : {"Pale", "Paler"})
        ASSERT_NE(AddColored(*Window.form(), "TPalmoButton", Name, {{"Appearance.Color", "White"}, {"Appearance.TextColor", "Silver"}}),
                  nullptr);
    auto* Readability = Window.findChild<ContrastView*>();
    ASSERT_NE(Readability, nullptr);
    QTRY_VERIFY(Readability->lines()->rowCount() >= 2);
    QTreeView* List = Readability->list();
    const int Line = List->visualRect(Readability->lines()->index(1, 0)).top() - List->visualRect(Readability->lines()->index(0, 0)).top();
    ASSERT_GT(Line, 0);
    QTRY_COMPARE(List->viewport()->height(), 8 * Line);
    Window.document()->setModified(false);
}

TEST_F(WindowMessages, RecentFilesOfTheSameNameShowTheirFolders)
{
    ASSERT_TRUE(QDir().mkpath(PathOf("a")) && QDir().mkpath(PathOf("b")));
    Window.addControl("TPalmoButton");
    for (const char* Name : {"a/form.cvform", "b/form.cvform", "R&D.cvform"})
        ASSERT_TRUE(Window.saveAs(PathOf(Name)));
    auto* Recent = Window.findChild<QMenu*>("recentMenu");
    ASSERT_NE(Recent, nullptr);
    const QString Dash = QStringLiteral(" \u2014 ");
    struct Row {
        QString Text, Path;
    } const Rows[] = {
        {"R&&D.cvform", PathOf("R&D.cvform")},
        {"form.cvform" + Dash + QDir::toNativeSeparators(PathOf("b")), PathOf("b/form.cvform")},
        {"form.cvform" + Dash + QDir::toNativeSeparators(PathOf("a")), PathOf("a/form.cvform")},
    };
    const QList<QAction*> Entries = Recent->actions();
    ASSERT_EQ(Entries.size(), 3);
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(Entries[I]->text(), Rows[I].Text);
        EXPECT_EQ(Entries[I]->toolTip(), QFileInfo(Rows[I].Path).absoluteFilePath());
    }
}

TEST_F(WindowMessages, EveryMenuEntryHasItsOwnAccessKeyAndInsertAddsLikeThePalette)
{
    for (QAction* Menu : Window.menuBar()->actions()) {
        SCOPED_TRACE(Menu->text().toStdString());
        QStringList Texts;
        for (const QAction* Entry : Menu->menu()->actions())
            if (!Entry->isSeparator())
                Texts << Entry->text();
        ExpectOwnAccessKeys(Texts);
    }
    auto* View = Window.findChild<QMenu*>("viewMenu");
    ASSERT_NE(View, nullptr);
    for (QDockWidget* Dock : Window.findChildren<QDockWidget*>())
        EXPECT_TRUE(View->actions().contains(Dock->toggleViewAction())) << "View shows or hides " << Dock->windowTitle().toStdString();
    auto* Insert = Window.findChild<QMenu*>("insertMenu");
    ASSERT_NE(Insert, nullptr);
    QStringList Texts;
    for (const QAction* Entry : Insert->actions())
        Texts << Entry->text();
    EXPECT_EQ(Texts, (QStringList{"&Button", "&OnOffButton", "&Trackbar", "&ListItem", "&PageIndicator", "&Spinner", "Pop&up"}));

    QUndoStack* Stack = Window.document()->undoStack();
    for (const char* Class : {"TPalmoPopup", "TPalmoPopup", "TPalmoTrackbar"}) {
        SCOPED_TRACE(Class);
        const int Steps = Stack->count();
        Window.findChild<QAction*>(QStringLiteral("insert_%1").arg(Class))->trigger();
        ASSERT_EQ(Window.selection().size(), 1u);
        EXPECT_EQ(QLatin1String(Window.selection().front()->metaObject()->className()), QLatin1String(Class));
        EXPECT_EQ(Stack->count(), Steps + 1);
        EXPECT_EQ(Stack->undoText(), "Add " + Window.selection().front()->Name());
    }
    EXPECT_EQ(Window.form()->control(1)->Name(), "PalmoPopup2");

    // The question before dropping changes: each answer has its own key.
    ModalDriver Driver([](QDialog& Dialog) {
        ExpectOwnAccessKeys(ButtonTexts(Dialog));
        QAbstractButton* Cancel = ButtonNamed(Dialog, "&Cancel");
        ASSERT_NE(Cancel, nullptr);
        QTest::mouseClick(Cancel, Qt::LeftButton);
    });
    EXPECT_FALSE(Window.newForm());
    EXPECT_EQ(Driver.Shown, 1);
}

}  // namespace
