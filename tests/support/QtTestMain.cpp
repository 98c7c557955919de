// Test main for GUI tests: a QApplication on Qt's offscreen platform, then every test (built with
// CV_WITHOUT_WIDGETS, a QGuiApplication: the form core's tests show it needs no widgets). Settings
// and data folders are Qt's test locations, never the user's own.
//
// Built with CV_FAIL_ON_QT_WARNINGS (the designer's programs), every warning or critical message
// Qt prints while a test runs fails that test.
#include <gtest/gtest.h>

#ifdef CV_WITHOUT_WIDGETS
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QApplication>
using TestApplication = QApplication;
#endif
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <mutex>

#ifdef CV_FAIL_ON_QT_WARNINGS
namespace {

QtMessageHandler PreviousHandler = nullptr;
std::mutex HandlerLock;
bool LateWarning = false;

// Notes of the offscreen platform itself, not of the designer: it lacks features a real display
// has, and a test environment has no runtime folder.
bool IsPlatformNote(const QString& Message)
{
    return Message.startsWith(QLatin1String("This plugin does not support"))
           || Message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void FailOnWarning(QtMsgType Type, const QMessageLogContext& Context, const QString& Message)
{
    if (PreviousHandler)
        PreviousHandler(Type, Context, Message);
    if ((Type != QtWarningMsg && Type != QtCriticalMsg) || IsPlatformNote(Message))
        return;
    std::lock_guard<std::mutex> Guard(HandlerLock);
    if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << "Qt warned: " << Message.toStdString();
    else
        LateWarning = true;
}

}  // namespace
#endif

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true);
#ifdef CV_FAIL_ON_QT_WARNINGS
    PreviousHandler = qInstallMessageHandler(FailOnWarning);
#endif
    // Settings in a folder of this process's own: ctest runs each test as a process of its own,
    // two at a time, and one clearing or writing the settings must not change another's.
    const QTemporaryDir settings;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    TestApplication app(argc, argv);
    // Every run starts from no saved settings; a process a test starts (a child run of this
    // program) starts the same way.
    QSettings().clear();
    ::testing::InitGoogleTest(&argc, argv);
    int Result = RUN_ALL_TESTS();
#ifdef CV_FAIL_ON_QT_WARNINGS
    if (LateWarning) {
        std::fprintf(stderr, "Qt warned outside any test (see above)\n");
        Result = 1;
    }
#endif
    return Result;
}
