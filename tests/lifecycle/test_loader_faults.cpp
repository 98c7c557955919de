// Packages that fail while they load or unload: every kind of exception is reported with its
// message, nothing of the package stays registered or mapped, and the designer goes on.
#include "LifecycleSupport.h"
#include "packages/PackageLoader.h"
#include "views/PackagesView.h"

#include "host/designide/DesignIntf.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QLabel>
#include <QTemporaryDir>

namespace {

struct Fault {
    const char* Path;
    const char* Expected;  // part of the message the loader must give
};

class LoaderFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(LoaderFaults, ALoadThatFailsIsReportedAndLeavesNothingBehind)
{
    const Fault F = GetParam();
    const int Baseline = RegisteredEditorCount();
    PackageLoader Loader;
    QString Message;
    try {
        Loader.load(F.Path);
        ADD_FAILURE() << "the load succeeded";
    } catch (const Exception& E) {
        Message = E.Message();
    }
    // The message is read after the package is gone: it must not point into it.
    EXPECT_TRUE(Message.contains(QString::fromUtf8(F.Expected))) << Message.toStdString();
    EXPECT_TRUE(Message.contains(QString::fromUtf8(F.Path))) << "the message names the package";
    EXPECT_FALSE(Loader.isLoaded());
    EXPECT_EQ(RegisteredEditorCount(), Baseline) << "a failed load leaves no registration";
    EXPECT_FALSE(IsMapped(F.Path)) << "a failed load leaves the library unmapped";
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfFailure, LoaderFaults,
    ::testing::Values(Fault{CV_INIT_RUNTIME_PACKAGE, "failed to initialise: the unit's initialisation refused to run"},
                      Fault{CV_INIT_STD_PACKAGE, "failed to initialise: a standard error in the unit's initialisation"},
                      Fault{CV_INIT_UNKNOWN_PACKAGE, "failed to initialise: an exception of an unknown type"},
                      Fault{CV_REGISTER_OOM_PACKAGE, "failed to register: out of memory"},
                      Fault{CV_NO_REGISTER_PACKAGE, "does not export Register"}));

TEST(LoaderFaults, AFinalisationThatFailsStillUnloads)
{
    const int Baseline = RegisteredEditorCount();
    PackageLoader Loader;
    Loader.load(CV_FINALIZE_RUNTIME_PACKAGE);
    EXPECT_EQ(RegisteredEditorCount(), Baseline + 1);
    QString Message;
    try {
        Loader.unload();
        ADD_FAILURE() << "the failing finalisation went unreported";
    } catch (const Exception& E) {
        Message = E.Message();
    }
    EXPECT_TRUE(Message.contains("failed to finalise: the unit's finalisation refused to run")) << Message.toStdString();
    EXPECT_FALSE(Loader.isLoaded());
    EXPECT_EQ(RegisteredEditorCount(), Baseline);
    EXPECT_FALSE(IsMapped(CV_FINALIZE_RUNTIME_PACKAGE));
}

TEST(LoaderFaults, AFileThatIsNoLibraryIsReported)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("libNotAPackage.so");
    QFile File(Path);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("this is text, not a shared library\n");
    File.close();
    // A named pipe would block dlopen until something writes into it.
    const QString Pipe = Dir.filePath("libPipe.so");
    ASSERT_EQ(mkfifo(QFile::encodeName(Pipe).constData(), 0600), 0);
    for (const QString& Bad : {Path, Pipe}) {
        PackageLoader Loader;
        try {
            Loader.load(Bad);
            ADD_FAILURE() << "loaded as a package: " << Bad.toStdString();
        } catch (const Exception& E) {
            EXPECT_TRUE(E.Message().startsWith("Cannot load package " + Bad)) << E.Message().toStdString();
        }
        EXPECT_FALSE(Loader.isLoaded());
    }
}

TEST(LoaderFaults, ThePackagesViewShowsTheFailureAndTheDesignerGoesOn)
{
    PackageLoader Loader;
    PackagesView View(&Loader, CV_INIT_STD_PACKAGE);
    EXPECT_FALSE(View.loadPackage());
    bool Shown = false;
    for (QLabel* Label : View.findChildren<QLabel*>())
        Shown = Shown || Label->text().contains("a standard error in the unit's initialisation");
    EXPECT_TRUE(Shown) << "the message is in the view";
    EXPECT_FALSE(Loader.isLoaded());
    // The real package still loads after a faulty one.
    PackagesView Good(&Loader, CV_PACKAGE_PATH);
    EXPECT_TRUE(Good.loadPackage());
    EXPECT_TRUE(Loader.isLoaded());
    Loader.unload();
}

}  // namespace
