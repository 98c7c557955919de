// Form files: the exact text written, the random round trip of every property of every control
// class, bad files refused at the right line and column, and saves that fail without harm.
#include "core/FileAccess.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/FormProperties.h"
#include "core/PropertyDefaults.h"

#include "support/FormRoundTrip.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoCollection.h"
#include "host/palmo/PalmoControls.h"
#include "host/palmo/PalmoFactory.h"
#include "host/vcl/Graphics.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(FormFileWrite, EmptyFormAndChangedValuesOnlyInInspectorOrder)
{
    FormModel form;
    EXPECT_EQ(FormFile::serialize(form), QByteArray("{\n  \"format\": \"cvform\",\n  \"version\": 1,\n  \"components\": []\n}\n"));

    auto* button = static_cast<TPalmoButton*>(form.add(QStringLiteral("TPalmoButton")));
    button->Appearance()->FBorderColor = TCVColor{0x00123456};
    button->Appearance()->FColor = TCVColor{0x4763FF};  // Tomato: red FF, green 63, blue 47
    button->Appearance()->FShadowColor = TColorValue{clBtnFace};
    button->FLeft = 16;
    button->Appearance()->FCaption = QStringLiteral("Say \"hi\"\\\n");
    auto* spinner = static_cast<TPalmoSpinner*>(form.add(QStringLiteral("TPalmoSpinner")));
    spinner->Slots()->SetCount(4);
    spinner->Slot(3)->FWidth = 70;
    spinner->Slot(3)->FColor = CVColorOf("AliceBlue");  // its default: not written
    form.add(QStringLiteral("TPalmoPopup"));

    const QByteArray expected = R"({
  "format": "cvform",
  "version": 1,
  "components": [
    {
      "class": "TPalmoButton",
      "name": "PalmoButton1",
      "properties": {
        "Left": 16,
        "Appearance.Color": "Tomato",
        "Appearance.BorderColor": "$00123456",
        "Appearance.ShadowColor": "clBtnFace",
        "Appearance.Caption": "Say \"hi\"\\\n"
      }
    },
    {
      "class": "TPalmoSpinner",
      "name": "PalmoSpinner1",
      "properties": {
        "Slots.Count": 4,
        "Slots[3].Width": 70
      }
    },
    {
      "class": "TPalmoPopup",
      "name": "PalmoPopup1",
      "properties": {}
    }
  ]
}
)";
    EXPECT_EQ(FormFile::serialize(form), expected);
}

// Each path has one default, whatever the size of its collection: a control changed only in its
// collections' sizes has every other value at its default and saves nothing else.
TEST(FormFileWrite, ItemsBeyondAFreshCollectionAreComparedWithFreshItems)
{
    for (const QString& className : PalmoControlClasses())
        for (const int count : {0, 1, 5, TPalmoCollection::MaxCount}) {
            FormModel form;
            TPalmoControl* control = form.add(className);
            QStringList counts;
            std::vector<TPalmoCollection*> collections;
            for (const FormProperty& property : propertiesOf(control))
                if (auto* collection = qobject_cast<TPalmoCollection*>(property.owner)) {
                    collections.push_back(collection);
                    counts << property.path;
                }
            for (TPalmoCollection* collection : collections)
                collection->SetCount(count);
            counts << QStringLiteral("Name");  // the form names each control
            PropertyDefaults defaults;
            const QByteArray saved = FormFile::serialize(form);
            for (const FormProperty& property : propertiesOf(control)) {
                const std::optional<QVariant> initial = defaults.of(*control, property.path);
                ASSERT_TRUE(initial) << property.path.toStdString();
                if (counts.contains(property.path))
                    continue;
                EXPECT_EQ(*initial, property.property.read(property.owner)) << property.path.toStdString();
                EXPECT_FALSE(saved.contains('"' + property.path.toUtf8() + '"')) << property.path.toStdString();
            }
        }
}

TEST(FormFileRoundTrip, EveryPropertyOfEveryClassSurvivesSaveAndOpen)
{
    for (unsigned seed = 1; seed <= 40; ++seed)
        ExpectRoundTrip(seed);
}

TEST(FormFileRoundTrip, TextsOtherThanTheWrittenOnesReadAsTheSameColour)
{
    const QByteArray text = R"({"format": "cvform", "version": 1, "components": [
      {"class": "TPalmoButton", "name": "B", "properties": {
        "Appearance.Color": "tomato", "Appearance.PressedColor": "#FF6347", "Appearance.BorderColor": "$004763ff",
        "Appearance.TextColor": "4678655", "Appearance.ShadowColor": "clred"}}]})";
    const FormReadResult read = FormFile::parse(text, QStringLiteral("texts.cvform"));
    ASSERT_TRUE(read.form) << read.messages().join(u'\n').toStdString();
    auto* button = static_cast<TPalmoButton*>(read.form->control(0));
    EXPECT_EQ(button->Appearance()->FColor.Value, 0x4763FF);
    EXPECT_EQ(button->Appearance()->FPressedColor.Value, 0x4763FF);
    EXPECT_EQ(button->Appearance()->FBorderColor.Value, 0x4763FF);
    EXPECT_EQ(button->Appearance()->FTextColor.Value, 0x4763FF);
    EXPECT_EQ(button->Appearance()->FShadowColor.Value, 0x0000FF);
}

// A file laid out as the designer writes it: the component's class on line 6 (value at column
// 16), its name on line 7 (value at column 15), property k on line 9 + k (key at column 9).
QByteArray OneComponent(const char* className, const char* name, const QByteArray& propertyLines)
{
    return QByteArray("{\n  \"format\": \"cvform\",\n  \"version\": 1,\n  \"components\": [\n    {\n") +
           "      \"class\": \"" + className + "\",\n      \"name\": \"" + name + "\",\n      \"properties\": {\n" +
           propertyLines + "\n      }\n    }\n  ]\n}\n";
}

struct BadFile {
    const char* what;
    QByteArray text;
    int line;
    int column;
    const char* says;
};

TEST(FormFileRead, BadFilesAreRefusedAtTheOffendingValue)
{
    const BadFile cases[] = {
        {"not JSON", "{\n  \"format\": \"cvform\"\n  \"version\": 1\n}\n", 3, 3, "not valid JSON"},
        {"a word", "x", 1, 1, "not valid JSON"},
        {"a comma missing", "{\n  \"format\": \"cvform\",\n  \"version\": 1\n  \"components\": []\n}", 4, 3, "not valid JSON"},
        {"a misspelt literal", "{\n  \"format\": \"cvform\",\n  \"version\": tru,\n  \"components\": []\n}", 3, 14, "not valid JSON"},
        {"a text cut short", "{\n  \"format\": \"cv", 2, 16, "not valid JSON"},
        {"a raw control character", OneComponent("TPalmoButton", "A", "        \"Hint\": \"a\x1F\""), 9, 19, "not valid JSON"},
        {"a number beyond a double", OneComponent("TPalmoButton", "A", "        \"Top\": 1e400"), 9, 16, "out of range"},
        {"an array", "[]", 1, 1, "one JSON object"},
        {"another format", "{\n  \"format\": \"ui\",\n  \"version\": 1,\n  \"components\": []\n}", 2, 13, "must be \"cvform\""},
        {"a newer version", "{\n  \"format\": \"cvform\",\n  \"version\": 2,\n  \"components\": []\n}", 3, 14, "newer"},
        {"version 0", "{\n  \"format\": \"cvform\",\n  \"version\": 0,\n  \"components\": []\n}", 3, 14, "from 1 on"},
        {"an unknown top key", "{\n  \"format\": \"cvform\",\n  \"version\": 1,\n  \"components\": [],\n  \"extra\": 0\n}", 5, 3, "unknown key"},
        {"an unknown class", OneComponent("TPalmoSlider", "A", "        \"Left\": 1"), 6, 16, "unknown class"},
        {"a bad name", OneComponent("TPalmoButton", "1A", "        \"Left\": 1"), 7, 15, "not a valid name"},
        {"an unknown property", OneComponent("TPalmoButton", "A", "        \"Colour\": \"Red\""), 9, 9, "no property"},
        {"the name as a property", OneComponent("TPalmoButton", "A", "        \"Name\": \"B\""), 9, 9, "given by"},
        {"a string for an integer", OneComponent("TPalmoButton", "A", "        \"Left\": \"16\""), 9, 17, "needs an integer"},
        {"a fraction", OneComponent("TPalmoButton", "A", "        \"Left\": 1.5"), 9, 17, "whole number"},
        {"an integer too large", OneComponent("TPalmoButton", "A", "        \"Top\": 2147483648"), 9, 16, "out of range"},
        {"an integer too small", OneComponent("TPalmoButton", "A", "        \"Top\": -2147483649"), 9, 16, "out of range"},
        {"an exponent beyond 64 bits", OneComponent("TPalmoButton", "A", "        \"Top\": 1e22"), 9, 16, "out of range"},
        {"a negative exponent beyond 64 bits", OneComponent("TPalmoButton", "A", "        \"Top\": -9.5e18"), 9, 16, "out of range"},
        {"a number for a boolean", OneComponent("TPalmoButton", "A", "        \"Enabled\": 1"), 9, 20, "true or false"},
        {"an unknown colour", OneComponent("TPalmoButton", "A", "        \"Appearance.Color\": \"Tomatoo\""), 9, 29, "not a colour"},
        {"a number colour", OneComponent("TPalmoButton", "A", "        \"Appearance.Color\": 255"), 9, 29, "colour as a string"},
        {"a CSS text for a toolkit colour", OneComponent("TPalmoButton", "A", "        \"Appearance.ShadowColor\": \"#112233\""), 9, 35, "not a colour"},
        {"an item beyond the count", OneComponent("TPalmoSpinner", "A", "        \"Slots[3].Color\": \"Red\""), 9, 9, "Slots has 3 items"},
        {"a count too large", OneComponent("TPalmoSpinner", "A", "        \"Slots.Count\": 65"), 9, 24, "out of range (0 to 64)"},
        {"half a surrogate pair", OneComponent("TPalmoButton", "A", "        \"Hint\": \"a\\uD800\""), 9, 19, "surrogate pair"},
        {"a low half alone", OneComponent("TPalmoButton", "A", "        \"Hint\": \"a\\udc00b\""), 9, 19, "surrogate pair"},
        {"a high half before a letter", OneComponent("TPalmoButton", "A", "        \"Hint\": \"\\ud800x\""), 9, 18, "surrogate pair"},
        {"a high half before a pair", OneComponent("TPalmoButton", "A", "        \"Hint\": \"\\uD800\\uD83D\\uDE00\""), 9, 18, "surrogate pair"},
        {"a NUL byte after the document", OneComponent("TPalmoButton", "A", "        \"Left\": 1") + QByteArray("\0}", 2), 14, 1, "NUL byte after"},
        {"a second document", OneComponent("TPalmoButton", "A", "        \"Left\": 1") + "  {}", 14, 3, "after the end"},
        {"a raw NUL in a string", OneComponent("TPalmoButton", "A", QByteArray("        \"Hint\": \"a") + QByteArray("\0\"", 2)), 9, 19, "control character (U+0000)"},
        {"a column after an escaped quote", OneComponent("TPalmoButton", "A", "        \"Hint\": \"say \\\"hi\\\"\", \"Top\": \"x\""), 9, 38, "needs an integer"},
        {"a column after an escaped backslash", OneComponent("TPalmoButton", "A", "        \"Hint\": \"a\\\\\", \"Top\": \"x\""), 9, 31, "needs an integer"},
        {"a column after a quote as \\u0022", OneComponent("TPalmoButton", "A", "        \"Hint\": \"\\u0022\", \"Top\": \"x\""), 9, 34, "needs an integer"},
        {"a property twice", OneComponent("TPalmoButton", "A", "        \"Left\": 1,\n        \"Left\": 2"), 10, 9, "twice"},
        {"a column after wide characters", OneComponent("TPalmoButton", "A", "        \"Hint\": \"\xC3\x84\xE2\x82\xAC\", \"Top\": \"x\""), 9, 30, "needs an integer"},
    };
    FormModel open;
    open.add(QStringLiteral("TPalmoTrackbar"))->setProperty("Left", 7);
    const QByteArray openBefore = FormFile::serialize(open);
    for (const BadFile& bad : cases) {
        const FormReadResult read = FormFile::parse(bad.text, QStringLiteral("bad.cvform"));
        EXPECT_FALSE(read.form) << bad.what;
        ASSERT_EQ(read.problems.size(), 1u) << bad.what << ": " << read.messages().join(u'\n').toStdString();
        const FormProblem& problem = read.problems.front();
        EXPECT_EQ(problem.line, bad.line) << bad.what;
        EXPECT_EQ(problem.column, bad.column) << bad.what;
        EXPECT_TRUE(problem.message.contains(QLatin1String(bad.says))) << bad.what << ": " << problem.message.toStdString();
        EXPECT_TRUE(problem.text().startsWith(QStringLiteral("bad.cvform:%1:%2: ").arg(bad.line).arg(bad.column)));
        EXPECT_EQ(FormFile::serialize(open), openBefore) << bad.what;
    }
}

TEST(FormFileRead, AByteOrderMarkInsideATextIsKeptWhereverItStands)
{
    // U+FEFF after an escape, at the start of a text and after plain characters; only the one
    // that opens the file is not part of the form.
    const QByteArray text = "\xEF\xBB\xBF" + OneComponent("TPalmoButton", "A",
                                                        "        \"Hint\": \"a\\n\xEF\xBB\xBF" "b\",\n"
                                                        "        \"Appearance.Caption\": \"\xEF\xBB\xBF" "c\xEF\xBB\xBF\"");
    const FormReadResult read = FormFile::parse(text, QStringLiteral("bom.cvform"));
    ASSERT_TRUE(read.form) << read.messages().join(u'\n').toStdString();
    QObject* button = read.form->control(0);
    EXPECT_EQ(button->property("Hint").toString(), QStringLiteral(u"a\n\uFEFFb"));
    EXPECT_EQ(read.form->control(0)->findChild<QObject*>()->property("Caption").toString(), QStringLiteral(u"\uFEFFc\uFEFF"));
    const QByteArray saved = FormFile::serialize(*read.form);
    const FormReadResult again = FormFile::parse(saved, QStringLiteral("saved.cvform"));
    ASSERT_TRUE(again.form);
    EXPECT_EQ(FormFile::serialize(*again.form), saved);
}

TEST(FormFileRead, EveryProblemOfAFileIsReported)
{
    // Two components, each five lines: the second starts on line 10, its name is on line 12.
    const QByteArray text = "{\n  \"format\": \"cvform\",\n  \"version\": 1,\n  \"components\": [\n"
                            "    {\n      \"class\": \"TPalmoButton\",\n      \"name\": \"Same\",\n"
                            "      \"properties\": {\"Top\": true, \"Hint\": \"\\udc00\", \"Width\": 2e400}\n    },\n"
                            "    {\n      \"class\": \"TPalmoPopup\",\n      \"name\": \"same\",\n      \"properties\": {\"Left\": 1e400}\n    }\n  ]\n}\n";
    // Half a surrogate pair, a second number beyond a double and a NUL after the document each
    // leave the rest of the file to be checked.
    const FormReadResult read = FormFile::parse(text + QByteArray("\0", 1), QStringLiteral("f"));
    EXPECT_FALSE(read.form);
    EXPECT_EQ(read.messages(), (QStringList{QStringLiteral("f:8:29: Top needs an integer, not a boolean"),
                                            QStringLiteral("f:8:44: \"\\udc00\" is half of a surrogate pair without the other half: a text holds whole characters"),
                                            QStringLiteral("f:8:62: Width 2e400 is out of range (-2147483648 to 2147483647)"),
                                            QStringLiteral("f:12:15: A control named 'Same' already exists"),
                                            QStringLiteral("f:13:30: Left 1e400 is out of range (-2147483648 to 2147483647)"),
                                            QStringLiteral("f:17:1: a NUL byte after the end of the JSON value: nothing may follow it")}));
}

TEST(FormFileRead, TooManyProblemsAreCut)
{
    QByteArray lines;
    for (int i = 0; i < 150; ++i)
        lines += QByteArray(i ? ",\n" : "") + "        \"Bad" + QByteArray::number(i) + "\": 1";
    const FormReadResult read = FormFile::parse(OneComponent("TPalmoButton", "A", lines), QStringLiteral("f"));
    ASSERT_EQ(read.problems.size(), size_t(FormFile::MaxProblems) + 1);
    EXPECT_EQ(read.problems[99].line, 9 + 99);
    EXPECT_TRUE(read.problems.back().message.contains(QStringLiteral("too many")));
}

TEST(FormFileRead, AFileOverTheLimitIsRefusedByItsSize)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.cvform"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(FormFile::MaxFileSize + 1));  // sparse: no data is written
    file.close();
    const FormReadResult read = FormFile::readFormFile(path);
    EXPECT_FALSE(read.form);
    EXPECT_EQ(read.messages(), QStringList{path + QStringLiteral(":1:1: the file has 16777217 bytes; a form file has at most 16 MiB (16777216 bytes)")});

    const FormReadResult missing = FormFile::readFormFile(dir.filePath(QStringLiteral("none.cvform")));
    ASSERT_EQ(missing.problems.size(), 1u);
    EXPECT_TRUE(missing.problems[0].message.contains(QStringLiteral("no such file")));
}

// A kernel file claims 0 bytes and holds more: as a file that grows while it is read, it is
// refused whole once it passes the limit, never cut at it.
TEST(FormFileRead, AFileThatGrowsBeyondTheLimitWhileReadIsRefusedNotCut)
{
    const QString status = QStringLiteral("/proc/self/status");
    const FileContents whole = readRegularFile(status, 1 << 20);
    ASSERT_EQ(whole.error, QString());
    ASSERT_GT(whole.bytes.size(), 64);
    const FileContents cut = readRegularFile(status, 64);
    EXPECT_TRUE(cut.tooLarge);
    EXPECT_TRUE(cut.grew);
    EXPECT_TRUE(cut.bytes.isEmpty());
    EXPECT_TRUE(cut.error.contains(QStringLiteral("grew beyond 64 bytes"))) << cut.error.toStdString();
}

TEST(FormFileRead, WhatIsNotARegularFileIsRefusedWithoutWaitingOrReading)
{
    // A FIFO would block the open until something writes; /dev/zero would never end.
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.cvform"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("zero.cvform"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const std::pair<QString, const char*> cases[] = {
        {fifo, "named pipe"}, {zero, "device"}, {dir.path(), "folder"}};
    for (const auto& [path, says] : cases) {
        const FormReadResult read = FormFile::readFormFile(path);
        EXPECT_FALSE(read.form) << says;
        ASSERT_EQ(read.problems.size(), 1u) << says;
        EXPECT_TRUE(read.problems[0].message.contains(QLatin1String(says))) << read.problems[0].message.toStdString();
    }
}

// --dump shows each value on one line, and two different values never alike.
TEST(FormFileDump, TwoDifferentValuesNeverPrintAlike)
{
    const std::pair<QString, QString> hints[] = {
        {QStringLiteral("a\nb"), QStringLiteral("a\\nb")},
        {QStringLiteral("a\\nb"), QStringLiteral("a\\\\nb")},
        {QStringLiteral("\x01\r\t\x7F"), QStringLiteral("\\x01\\x0d\\x09\\x7f")},
        {QStringLiteral("\\x01"), QStringLiteral("\\\\x01")},
        {QString(QChar(0xD800)) + u'x', QStringLiteral("\\ud800x")},
        {QStringLiteral("x") + QChar(0xDFFF), QStringLiteral("x\\udfff")},
        {QStringLiteral("\\ud800x"), QStringLiteral("\\\\ud800x")},
        {QStringLiteral(u"\U0001F600 \u00C4"), QStringLiteral(u"\U0001F600 \u00C4")},
    };
    for (const auto& [hint, shown] : hints) {
        FormModel form;
        form.add(QStringLiteral("TPalmoButton"))->setProperty("Hint", hint);
        EXPECT_TRUE(FormFile::dump(form).contains(QStringLiteral("PalmoButton1.Hint=") + shown)) << shown.toStdString();
    }
}

class FormFileSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.add(QStringLiteral("TPalmoButton"))->setProperty("Left", 12);
        oldPath = dir.filePath(QStringLiteral("old.cvform"));
        ASSERT_TRUE(WriteAll(oldPath, oldBytes));
    }
    QTemporaryDir dir;
    FormModel form;
    QString oldPath;
    const QByteArray oldBytes = "the previous contents\n";
};

TEST_F(FormFileSave, SavesAndSavesAgainToTheSameBytes)
{
    EXPECT_EQ(FormFile::writeFormFile(form, oldPath), QString());
    const QByteArray first = ReadAll(oldPath);
    EXPECT_EQ(first, FormFile::serialize(form));
    const FormReadResult read = FormFile::readFormFile(oldPath);
    ASSERT_TRUE(read.form);
    EXPECT_EQ(FormFile::writeFormFile(*read.form, oldPath), QString());
    EXPECT_EQ(ReadAll(oldPath), first);
}

TEST_F(FormFileSave, ReadOnlyFolderLeavesTheOldFile)
{
    // Root writes into any folder: as root the write is made as an ordinary user, for whom the
    // folder (readable and searchable by all, writable by none) is read-only.
    const bool asRoot = geteuid() == 0;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    ASSERT_TRUE(!asRoot || seteuid(65534) == 0);
    const QString message = FormFile::writeFormFile(form, oldPath);
    ASSERT_TRUE(!asRoot || seteuid(0) == 0);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(message.contains(QStringLiteral("read-only"))) << message.toStdString();
    EXPECT_EQ(ReadAll(oldPath), oldBytes);
}

TEST_F(FormFileSave, FullDiskLeavesTheOldFile)
{
    // A file size limit makes the write come up short, as a full disk does.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit small = limit;
    small.rlim_cur = 40;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString message = FormFile::writeFormFile(form, oldPath);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(message.contains(QStringLiteral("is the disk full"))) << message.toStdString();
    EXPECT_EQ(ReadAll(oldPath), oldBytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.cvform")});
}

TEST_F(FormFileSave, PathsThatCannotBeWrittenSayWhy)
{
    const QString inFile = oldPath + QStringLiteral("/form.cvform");
    EXPECT_TRUE(FormFile::writeFormFile(form, inFile).contains(QStringLiteral("is not a folder")));
    EXPECT_TRUE(FormFile::writeFormFile(form, dir.filePath(QStringLiteral("no/form.cvform"))).contains(QStringLiteral("does not exist")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.cvform")));
    EXPECT_TRUE(FormFile::writeFormFile(form, dir.filePath(QStringLiteral("taken.cvform"))).contains(QStringLiteral("is a folder")));
    EXPECT_EQ(ReadAll(oldPath), oldBytes);
}

}  // namespace
