// What a rewrite of a form keeps, through --format and through Save alike: its mode bits (a
// read-only form stays read-only, setuid and setgid stay), its owner and group (also when root
// writes it), its other names (every hard link sees the new text) and its symbolic links; nothing
// is left beside it. A form another program changes while --format runs is left as that program
// wrote it, and the other forms are still formatted. Run as root, as CI runs.
#include "app/FormatCommand.h"
#include "core/Document.h"
#include "support/FaultSeams.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Loose = R"({"format": "cvform", "version": 1, "components": []})";
// Worked by hand from the form format's layout.
const QByteArray Canonical = "{\n  \"format\": \"cvform\",\n  \"version\": 1,\n  \"components\": []\n}\n";

QByteArray Contents(const QString& Path)
{
    QFile File(Path);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray("(unreadable)");
}

void Put(const QString& Path, const QByteArray& Bytes)
{
    QFile File(Path);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
    File.write(Bytes);
}

struct stat StatOf(const QString& Path)
{
    struct stat Status {};
    EXPECT_EQ(::lstat(QFile::encodeName(Path).constData(), &Status), 0) << Path.toStdString();
    return Status;
}

enum class Link { None, Hard, Symbolic };

struct KeepingRule {
    const char* Rule;
    mode_t Mode;
    uid_t Owner;
    gid_t Group;
    Link Other;
};

const KeepingRule Rules[] = {
    {"a plain form keeps its mode", 0640, 0, 0, Link::None},
    {"a read-only form stays read-only", 0444, 0, 0, Link::None},
    {"another user's form stays theirs", 0664, 1234, 2345, Link::None},
    {"setuid and setgid stay", 06755, 1234, 2345, Link::None},
    {"every hard link sees the new text", 0644, 0, 0, Link::Hard},
    {"another user's hard-linked form keeps both", 0600, 1234, 2345, Link::Hard},
    {"a symbolic link stays a link to the formatted form", 0640, 1234, 2345, Link::Symbolic},
};

enum class Path { Format, Save };

TEST(FileKeeping, ARewriteKeepsWhatTheFileWas)
{
    ASSERT_EQ(::geteuid(), 0u) << "the owner rows need root, as in CI";
    for (const Path Through : {Path::Format, Path::Save})
        for (const KeepingRule& Row : Rules) {
            SCOPED_TRACE(std::string(Row.Rule) + (Through == Path::Format ? " (--format)" : " (Save)"));
            QTemporaryDir Dir;
            const QString Form = Dir.filePath(QStringLiteral("form.cvform"));
            const QString Other = Dir.filePath(QStringLiteral("other.cvform"));
            Put(Form, Loose);
            ASSERT_EQ(::chown(QFile::encodeName(Form).constData(), Row.Owner, Row.Group), 0);
            ASSERT_EQ(::chmod(QFile::encodeName(Form).constData(), Row.Mode), 0);
            if (Row.Other == Link::Hard) {
                ASSERT_EQ(::link(QFile::encodeName(Form).constData(), QFile::encodeName(Other).constData()), 0);
            } else if (Row.Other == Link::Symbolic) {
                ASSERT_TRUE(QFile::link(Form, Other));
            }
            const QString Given = Row.Other == Link::Symbolic ? Other : Form;

            if (Through == Path::Format) {
                QStringList Said;
                EXPECT_EQ(formatFiles({Given}, false, [&](const QString& Line) { Said << Line; }), 0) << Said.join('\n').toStdString();
            } else {
                Document Doc;
                ASSERT_EQ(Doc.open(Given), QStringList());
                EXPECT_EQ(Doc.save(), QString());
            }

            const struct stat After = StatOf(Form);
            EXPECT_EQ(Contents(Form), Canonical);
            EXPECT_EQ(After.st_mode & 07777, Row.Mode);
            EXPECT_EQ(After.st_uid, Row.Owner);
            EXPECT_EQ(After.st_gid, Row.Group);
            EXPECT_EQ(After.st_nlink, Row.Other == Link::Hard ? 2u : 1u);
            if (Row.Other != Link::None) {
                EXPECT_EQ(Contents(Other), Canonical);
            }
            if (Row.Other == Link::Symbolic) {
                EXPECT_TRUE(S_ISLNK(StatOf(Other).st_mode));
            }
            const QStringList Left = QDir(Dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            const QStringList Expected = Row.Other == Link::None ? QStringList{"form.cvform"} : QStringList{"form.cvform", "other.cvform"};
            EXPECT_EQ(Left, Expected) << "nothing is left beside the form";
        }
}

TEST(FileKeeping, FormatLeavesAFormAnotherProgramChangesMeanwhile)
{
    QTemporaryDir Dir;
    const QString Changed = Dir.filePath(QStringLiteral("changed.cvform"));
    const QString Kept = Dir.filePath(QStringLiteral("kept.cvform"));
    const QString Plain = Dir.filePath(QStringLiteral("plain.cvform"));
    for (const QString& Path : {Changed, Kept, Plain})
        Put(Path, Loose);
    // Kept has a second name, so it is written in place: the check holds there too.
    ASSERT_EQ(::link(QFile::encodeName(Kept).constData(), QFile::encodeName(Dir.filePath("kept-too.cvform")).constData()), 0);
    const QByteArray Theirs = Loose + "\n";
    QStringList Said;
    int Status = 0;
    {
        const ChangingWrites Meanwhile([&](const QString& Path) {
            if (Path != Plain)
                Put(Path, Theirs);
        });
        Status = formatFiles({Changed, Kept, Plain}, false, [&](const QString& Line) { Said << Line; });
    }
    EXPECT_EQ(Status, 1);
    EXPECT_EQ(Contents(Changed), Theirs);
    EXPECT_EQ(Contents(Kept), Theirs);
    EXPECT_EQ(Contents(Plain), Canonical) << "the other forms are still formatted";
    ASSERT_EQ(Said.size(), 2);
    EXPECT_TRUE(Said[0].startsWith(Changed + QStringLiteral(": ")) && Said[0].contains(QStringLiteral("changed"))) << Said[0].toStdString();
    EXPECT_TRUE(Said[1].startsWith(Kept + QStringLiteral(": "))) << Said[1].toStdString();
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 4);
}

}  // namespace
