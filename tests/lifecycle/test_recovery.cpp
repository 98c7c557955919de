// Work survives a crash: a designer with unsaved changes is killed (SIGKILL, nothing runs on its
// way out), and the next designer restores every value from the copy it kept; a declined copy is
// removed, and a designer that exits cleanly leaves none.
#include "core/Document.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/RecoveryStore.h"
#include "support/DesignerSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>

namespace {

// Answers the recovery question with the button of that caption.
std::function<void(QDialog&)> Press(const QString& Caption, QString* Asked = nullptr)
{
    return [Caption, Asked](QDialog& Dialog) {
        auto* Box = qobject_cast<QMessageBox*>(&Dialog);
        ASSERT_NE(Box, nullptr);
        if (Asked)
            *Asked = Box->text();
        for (QAbstractButton* Button : Box->buttons())
            if (Button->text() == Caption) {
                QTest::mouseClick(Button, Qt::LeftButton);
                return;
            }
        ADD_FAILURE() << "no button " << Caption.toStdString();
        Box->reject();
    };
}

// The edits the killed designer makes: something of every kind of value.
void MakeEdits(MainWindow& Window)
{
    PropertyInspector& Inspector = *Window.inspector();
    const auto Set = [&](const char* Path, const QString& Text) {
        const int Row = Inspector.rowOf(QString::fromLatin1(Path));
        ASSERT_GE(Row, 0) << Path;
        ASSERT_TRUE(Inspector.commitText(Row, Text)) << Path << ": " << Inspector.lastError().toStdString();
    };
    Window.addControl("TPalmoButton");
    Set("Appearance.Color", "Tomato");
    Set("Left", "77");
    Set("Appearance.Caption", QString::fromUtf8("Sp\u00E4ter \"bitte\""));
    Window.addControl("TPalmoSpinner");
    Set("Slots[1].TextColor", "#123456");
    Window.addControl("TPalmoListItem");
    Set("Selected", "True");
    Set("Name", "Greeting");
}

bool CopyHolds(const QString& Path, const QStringList& Expected)
{
    QFile File(Path);
    if (!File.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject Copy = QJsonDocument::fromJson(File.readAll()).object();
    const FormReadResult Read = FormFile::parse(Copy.value("form").toString().toUtf8(), Path);
    return Read.form && FormFile::dump(*Read.form) == Expected;
}

// Runs only as the child of the test below, which kills it once its copy is written.
TEST(RecoveryChild, EditsAndWaitsToBeKilled)
{
    if (qEnvironmentVariableIsEmpty("CV_RECOVERY_CHILD"))
        GTEST_SKIP() << "run by RecoveryAfterAKill as a process of its own";
    MainWindow Window{CV_PACKAGE_PATH};
    Window.show();
    MakeEdits(Window);
    const QStringList Expected = FormFile::dump(*Window.form());
    ASSERT_TRUE(QTest::qWaitFor([&] { return CopyHolds(Window.recovery()->path(), Expected); }, 10000))
        << "no recovery copy was written";
    std::printf("READY\n");
    std::fflush(stdout);
    QTest::qWait(120000);
    ADD_FAILURE() << "the child was not killed";
}

class RecoveryAfterAKill : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        qputenv("CV_RECOVERY_DIR", Dir.path().toLocal8Bit());
    }
    void TearDown() override { qunsetenv("CV_RECOVERY_DIR"); }
    QStringList CopiesInFolder() const { return QDir(Dir.path()).entryList({"*.cvrecovery"}, QDir::Files); }

    QTemporaryDir Dir;
};

TEST_F(RecoveryAfterAKill, TheNextDesignerRestoresEveryValue)
{
    // What the child will hold: the same edits, made here first.
    QStringList Expected;
    {
        MainWindow Reference{CV_PACKAGE_PATH};
        MakeEdits(Reference);
        Expected = FormFile::dump(*Reference.form());
        Reference.document()->setModified(false);
    }
    ASSERT_TRUE(CopiesInFolder().isEmpty()) << "a designer that goes cleanly leaves no copy";

    QProcess Child;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert("CV_RECOVERY_CHILD", "1");
    Environment.insert("CV_RECOVERY_DIR", Dir.path());
    Environment.insert("QT_QPA_PLATFORM", "offscreen");
    Child.setProcessEnvironment(Environment);
    Child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=RecoveryChild.*"});
    ASSERT_TRUE(Child.waitForStarted());
    QByteArray Output;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        Child.waitForReadyRead(50);
        Output += Child.readAllStandardOutput();
        return Output.contains("READY") || Child.state() == QProcess::NotRunning;
    }, 60000));
    ASSERT_TRUE(Output.contains("READY")) << Output.toStdString();
    ::kill(static_cast<pid_t>(Child.processId()), SIGKILL);
    ASSERT_TRUE(Child.waitForFinished(10000));
    ASSERT_EQ(CopiesInFolder().size(), 1) << "the killed designer's copy stays";

    MainWindow Window{CV_PACKAGE_PATH};
    QString Asked;
    {
        ModalDriver Driver(Press("&Restore", &Asked));
        EXPECT_TRUE(Window.offerRecovery());
        EXPECT_EQ(Driver.Shown, 1);
    }
    EXPECT_TRUE(Asked.contains("an untitled form")) << "the question says which form: " << Asked.toStdString();
    EXPECT_EQ(FormFile::dump(*Window.form()), Expected) << "every value as it was when the designer was killed";
    EXPECT_TRUE(Window.document()->isModified()) << "restored changes are still unsaved";
    EXPECT_TRUE(Window.isWindowModified());
    EXPECT_TRUE(RecoveryStore::leftBehind().empty()) << "the restored copy is removed";
}

TEST_F(RecoveryAfterAKill, ADeclinedCopyIsRemovedAndNothingIsRestored)
{
    // A copy as a designer that no longer runs would have left it: this process's own, with the
    // id of a process that has ended.
    QString Kept;
    {
        MainWindow Earlier{CV_PACKAGE_PATH};
        Earlier.addControl("TPalmoPopup");
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(Earlier.recovery()->path()); }, 10000));
        Earlier.recovery()->flush();
        QFile Copy(Earlier.recovery()->path());
        ASSERT_TRUE(Copy.open(QIODevice::ReadOnly));
        QJsonObject Object = QJsonDocument::fromJson(Copy.readAll()).object();
        QProcess Ended;
        Ended.start("true");
        ASSERT_TRUE(Ended.waitForFinished());
        Object.insert("pid", static_cast<qint64>(Ended.processId()));
        Kept = Dir.filePath("form-ended.cvrecovery");
        QFile Out(Kept);
        ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
        Out.write(QJsonDocument(Object).toJson());
        Earlier.document()->setModified(false);
    }
    ASSERT_EQ(CopiesInFolder(), QStringList{"form-ended.cvrecovery"}) << "the clean exit removed its own copy";
    MainWindow Window{CV_PACKAGE_PATH};
    {
        ModalDriver Driver(Press("&Discard"));
        EXPECT_FALSE(Window.offerRecovery());
        EXPECT_EQ(Driver.Shown, 1);
    }
    EXPECT_EQ(Window.form()->count(), 0);
    EXPECT_FALSE(QFile::exists(Kept));
}

TEST_F(RecoveryAfterAKill, EveryCopyCanBeRestoredInTurnAndARestoredFileIsSavedOnlyWhereTheUserConfirms)
{
    const QString Target = Dir.filePath("target.cvform");
    {
        QFile File(Target);
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
        File.write("keep me");
    }
    const auto Write = [&](const char* Name, const QString& File, const char* Written, const char* Class) {
        FormModel Form;
        Form.add(Class);
        const QJsonObject Copy{{"format", "cvrecovery"}, {"version", 1}, {"file", File}, {"written", Written},
                               {"form", QString::fromUtf8(FormFile::serialize(Form))}};
        QFile Out(Dir.filePath(Name));
        ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
        Out.write(QJsonDocument(Copy).toJson());
    };
    Write("a.cvrecovery", QString(), "2026-03-02T10:00:00.000Z", "TPalmoPopup");
    Write("b.cvrecovery", Target, "2026-03-01T10:00:00.000Z", "TPalmoSpinner");

    MainWindow Window{CV_PACKAGE_PATH};
    QString First, Second, Unsaved;
    {
        ModalDriver Driver({Press("&Restore", &First), Press("&Restore", &Second), [&](QDialog& Box) {
                                Unsaved = Box.objectName();
                                auto* Question = qobject_cast<QMessageBox*>(&Box);
                                ASSERT_NE(Question, nullptr);
                                QTest::mouseClick(Question->button(QMessageBox::Discard), Qt::LeftButton);
                            }});
        EXPECT_TRUE(Window.offerRecovery());
        EXPECT_EQ(Driver.Shown, 3);
    }
    EXPECT_TRUE(First.contains("an untitled form")) << "newest first: " << First.toStdString();
    EXPECT_TRUE(Second.contains(Target)) << Second.toStdString();
    EXPECT_EQ(Unsaved, "saveChangesBox") << "the first restored form is asked about before it goes";
    ASSERT_EQ(Window.form()->count(), 1);
    EXPECT_EQ(Window.form()->control(0)->metaObject()->className(), QByteArray("TPalmoSpinner"));
    EXPECT_TRUE(RecoveryStore::leftBehind().empty());
    EXPECT_EQ(Window.document()->fileName(), Target) << "the restored form keeps its file's name";

    // That name came from a file anybody could have written: Save asks where, starting there.
    QStringList Offered;
    {
        ModalDriver Driver([&](QDialog& Dialog) {
            auto* Files = qobject_cast<QFileDialog*>(&Dialog);
            ASSERT_NE(Files, nullptr);
            Offered = Files->selectedFiles();
            Dialog.reject();
        });
        EXPECT_FALSE(Window.save());
        EXPECT_EQ(Driver.Shown, 1);
    }
    EXPECT_EQ(Offered, QStringList{Target});
    QFile Kept(Target);
    ASSERT_TRUE(Kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(Kept.readAll(), "keep me");
}

TEST_F(RecoveryAfterAKill, AFolderThatTakesNoCopyIsSaidInTheWindow)
{
    const QString Plain = Dir.filePath("plain");
    ASSERT_TRUE(QFile(Plain).open(QIODevice::WriteOnly));
    qputenv("CV_RECOVERY_DIR", Plain.toLocal8Bit());
    MainWindow Window{CV_PACKAGE_PATH};
    Window.addControl("TPalmoButton");
    auto* Warning = Window.findChild<QLabel*>("recoveryWarning");
    ASSERT_NE(Warning, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Warning->isHidden(); }, 10000));
    EXPECT_TRUE(Warning->text().contains("not protected")) << Warning->text().toStdString();
    EXPECT_TRUE(Window.statusBar()->currentMessage().contains("not protected"));
    Window.document()->setModified(false);
}

}  // namespace
