// The promises of recovery copies, on a clock the test moves: a copy holds the form as it was at
// most two seconds ago even while the user edits without a pause, and the last change once they
// stop; no copy outlives a save or a clean exit; a copy that cannot be written is said once and
// tried again; and only copies of designers that are gone, in this format, are offered.
#include "core/Document.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/RecoveryStore.h"
#include "support/FaultSeams.h"

#include "host/palmo/PalmoFactory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

namespace {

class RecoveryRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        qputenv("CV_RECOVERY_DIR", Dir.path().toLocal8Bit());
        auto Owned = std::make_unique<TestClock>();
        Clock = Owned.get();
        Store = std::make_unique<RecoveryStore>(&Doc, nullptr, std::move(Owned));
    }
    void TearDown() override { qunsetenv("CV_RECOVERY_DIR"); }

    // One step of the user's: a control one pixel to the right (a new one on an empty form).
    void Nudge()
    {
        if (Doc.form()->count() == 0) {
            std::unique_ptr<TPalmoControl> Button = CreatePalmoControl(QStringLiteral("TPalmoButton"));
            Button->SetName(QStringLiteral("B"));
            ASSERT_EQ(Doc.addControl(std::move(Button)), QString());
        }
        TPalmoControl* Control = Doc.form()->control(0);
        Doc.recordChange(QStringLiteral("Move"), {Control}, [Control] { Control->setProperty("Left", Control->FLeft + 1); });
    }
    // The form in this designer's copy, or "" when there is none.
    QByteArray Copied()
    {
        Store->flush();
        QFile File(Store->path());
        if (!File.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(File.readAll()).object().value("form").toString().toUtf8();
    }
    QStringList FilesInFolder() const { return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    QTemporaryDir Dir;
    Document Doc;
    TestClock* Clock = nullptr;
    std::unique_ptr<RecoveryStore> Store;
};

TEST_F(RecoveryRules, TheCopyIsNeverMoreThanTwoSecondsBehindAndHoldsTheLastChange)
{
    // A key held down: a change every 100 ms for 5 s, then nothing.
    std::map<qint64, QByteArray> FormAt;  // the form after the change at each moment
    for (qint64 Now = 0; Now < 5000; Now += 100) {
        Nudge();
        FormAt[Now] = FormFile::serialize(*Doc.form());
        Clock->advance(100);
        const qint64 Later = Now + 100;
        if (Later < RecoveryStore::LatestMs)
            continue;
        const QByteArray Copy = Copied();
        bool Recent = false;
        for (const auto& [At, Form] : FormAt)
            Recent = Recent || (At >= Later - RecoveryStore::LatestMs && Form == Copy);
        ASSERT_TRUE(Recent) << "at " << Later << " ms the copy is older than " << RecoveryStore::LatestMs << " ms";
    }
    Clock->advance(RecoveryStore::QuietMs);
    EXPECT_EQ(Copied(), FormFile::serialize(*Doc.form())) << "the copy holds the last change";
}

TEST_F(RecoveryRules, NoCopyOutlivesASaveNewOrACleanExit)
{
    const std::vector<std::pair<const char*, std::function<void()>>> Ends = {
        {"Save", [&] { ASSERT_EQ(Doc.save(Dir.filePath("saved.cvform")), QString()); }},
        {"New", [&] { Doc.newForm(); }},
        {"exit without saving", [&] { Store.reset(); }},
    };
    for (const auto& [What, End] : Ends) {
        SCOPED_TRACE(What);
        Nudge();
        Clock->advance(RecoveryStore::LatestMs);
        ASSERT_FALSE(Copied().isEmpty());
        End();
        if (Store)
            Store->flush();
        EXPECT_EQ(FilesInFolder().filter(".cvrecovery"), QStringList());
    }
    EXPECT_EQ(FilesInFolder().filter(".lock"), QStringList()) << "the lock goes with a clean exit";
}

TEST_F(RecoveryRules, ACopyThatCannotBeWrittenIsSaidOnceAndTriedAgain)
{
    const QString PlainFile = Dir.filePath("plain");
    const std::vector<std::pair<const char*, FailingStep>> Faults = {
        {"the folder is a plain file", FailingStep::None},
        {"the folder vanished", FailingStep::Open},
        {"the disk is full", FailingStep::Write},
        {"the commit fails", FailingStep::Commit},
    };
    for (const auto& [What, Step] : Faults) {
        SCOPED_TRACE(What);
        if (Step == FailingStep::None) {
            ASSERT_TRUE(QFile(PlainFile).open(QIODevice::WriteOnly));
            qputenv("CV_RECOVERY_DIR", PlainFile.toLocal8Bit());
        }
        auto Owned = std::make_unique<TestClock>();
        TestClock& Time = *Owned;
        RecoveryStore Failing(&Doc, nullptr, std::move(Owned));
        QSignalSpy Failed(&Failing, &RecoveryStore::writingFailed);
        QSignalSpy Resumed(&Failing, &RecoveryStore::writingResumed);
        {
            std::optional<FailingWrites> Fault;
            if (Step != FailingStep::None)
                Fault.emplace(Step);
            for (int Try = 0; Try < 3; ++Try) {
                Nudge();
                Time.advance(RecoveryStore::RetryMs);
                Failing.flush();
            }
        }
        EXPECT_EQ(Failed.count(), 1) << "said once";
        EXPECT_TRUE(Failing.isFailing());
        QFile::remove(PlainFile);
        Time.advance(RecoveryStore::RetryMs);
        Failing.flush();
        EXPECT_EQ(Resumed.count(), 1) << "tried again without another change";
        EXPECT_FALSE(Failing.isFailing());
        EXPECT_TRUE(QFile::exists(Failing.path()));
        qputenv("CV_RECOVERY_DIR", Dir.path().toLocal8Bit());
    }
}

TEST_F(RecoveryRules, OnlyCopiesOfDesignersThatAreGoneInThisFormatAreOfferedNewestFirst)
{
    const auto Write = [&](const QString& Name, const QJsonValue& Version, const QString& Written, qint64 Pid) {
        const QJsonObject Copy{{"format", "cvrecovery"}, {"version", Version}, {"file", Name}, {"written", Written},
                               {"pid", Pid}, {"form", QString::fromUtf8(FormFile::serialize(*Doc.form()))}};
        QFile File(Dir.filePath(Name + ".cvrecovery"));
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(QJsonDocument(Copy).toJson());
    };
    const qint64 Own = QCoreApplication::applicationPid();
    Write("older", 1, "2026-01-01T10:00:00.000Z", 999999);
    Write("newer", 1, "2026-01-02T10:00:00.000Z", 999999);
    Write("init-pid", 1, "2025-12-01T10:00:00.000Z", 1);         // pid 1 always runs: not a sign of life
    Write("own-pid", 1, "2025-11-01T10:00:00.000Z", Own);        // a pid come round again
    Write("version-0", 0, "2026-01-03T10:00:00.000Z", 999999);
    Write("version-2", 2, "2026-01-03T10:00:00.000Z", 999999);
    Write("version-text", "1", "2026-01-03T10:00:00.000Z", 999999);
    ASSERT_TRUE(QFile::link(Dir.filePath("newer.cvrecovery"), Dir.filePath("link.cvrecovery")));
    ASSERT_TRUE(QFile::link("/dev/zero", Dir.filePath("zero.cvrecovery")));
    ASSERT_EQ(mkfifo(QFile::encodeName(Dir.filePath("fifo.cvrecovery")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.cvrecovery"));
    // This designer's own copy: its lock is held.
    Nudge();
    Clock->advance(RecoveryStore::LatestMs);
    ASSERT_FALSE(Copied().isEmpty());

    QStringList Offered;
    for (const RecoveryCopy& Copy : RecoveryStore::leftBehind())
        Offered << Copy.originalFile;
    EXPECT_EQ(Offered, (QStringList{"newer", "older", "init-pid", "own-pid"}));
}

// A designer that was killed leaves its lock file; the next start removes the lock files no
// running designer holds, whatever process id their names carry, and keeps the held ones and
// every copy (still to be offered).
TEST_F(RecoveryRules, TheNextStartRemovesTheLockFilesOfDesignersThatAreGone)
{
    const auto Touch = [&](const QString& Name) {
        QFile File(Dir.filePath(Name));
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    };
    Touch("form-999999-0000dead.lock");
    Touch("form-999999-0000dead.cvrecovery");
    Touch("form-1-00000001.lock");  // pid 1 always runs: its name is no sign of life
    // Another designer that runs: it holds its lock.
    Touch("form-4242-0000live.lock");
    const int Live = ::open(QFile::encodeName(Dir.filePath("form-4242-0000live.lock")).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(Live, 0);
    ASSERT_EQ(::flock(Live, LOCK_EX | LOCK_NB), 0);
    // This designer's own, held since its first copy.
    Nudge();
    Clock->advance(RecoveryStore::LatestMs);
    ASSERT_FALSE(Copied().isEmpty());
    const QString Own = QFileInfo(Store->path()).completeBaseName() + ".lock";

    EXPECT_EQ(RecoveryStore::removeDeadLocks(), 2);
    QStringList Left = FilesInFolder();
    Left.sort();
    QStringList Expected{"form-4242-0000live.lock", "form-999999-0000dead.cvrecovery", Own, QFileInfo(Store->path()).fileName()};
    Expected.sort();
    EXPECT_EQ(Left, Expected);
    ::close(Live);
    EXPECT_EQ(RecoveryStore::removeDeadLocks(), 1) << "once its designer is gone, its lock goes at the next start";
    Store.reset();
    EXPECT_EQ(FilesInFolder(), QStringList{"form-999999-0000dead.cvrecovery"}) << "a clean exit removes its own";
}

}  // namespace

namespace {

mode_t ModeOf(const QString& Path)
{
    struct stat Status {};
    EXPECT_EQ(::lstat(QFile::encodeName(Path).constData(), &Status), 0) << Path.toStdString();
    return Status.st_mode & 07777;
}

}  // namespace

// The copies hold the user's unsaved work: their folder is the user's alone, each copy is
// readable by the user only, and a link planted at a copy's path is refused and said, its target
// never written.
TEST_F(RecoveryRules, CopiesAreTheUsersAloneAndNeverWrittenThroughALink)
{
    ASSERT_TRUE(QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                                      | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    Nudge();
    Clock->advance(RecoveryStore::LatestMs);
    ASSERT_FALSE(Copied().isEmpty());
    EXPECT_EQ(ModeOf(Dir.path()), 0700u) << "a looser folder of the user's is tightened";
    EXPECT_EQ(ModeOf(Store->path()), 0600u);

    const QString Target = Dir.filePath("planted-target");
    ASSERT_TRUE(QFile(Target).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::remove(Store->path()));
    ASSERT_TRUE(QFile::link(Target, Store->path()));
    QSignalSpy Failed(Store.get(), &RecoveryStore::writingFailed);
    Nudge();
    Clock->advance(RecoveryStore::LatestMs);
    Store->flush();
    ASSERT_EQ(Failed.count(), 1) << "the link is refused and said";
    EXPECT_TRUE(Failed.at(0).at(0).toString().contains("symbolic link")) << Failed.at(0).at(0).toString().toStdString();
    EXPECT_EQ(QFileInfo(Target).size(), 0) << "the link's target is never written";
    EXPECT_TRUE(QFileInfo(Store->path()).isSymLink());
}
