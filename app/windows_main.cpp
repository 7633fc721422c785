// Quorvale Pro's windows: the program that the command-line program "quorvale" (main.cpp)
// replaces itself with when it is started without a command of its own. It takes the process,
// the arguments and the environment as they were; beyond Qt's own options it ignores the
// arguments. Started by a quorvale of another version (an installation half replaced), it
// says so and ends.
#include "app/About.h"
#include "app/Close.h"
#include "app/Disclaim.h"
#include "app/Launch.h"
#include "app/Main.h"
#include "app/URL.h"
#include "app/splash.h"
#include "platform/Forms.h"
#include "printing/Preview.h"
#include "printing/Qrchart.h"
#include "update/WUpdate.h"

#include <QTimer>
#include <cstdlib>
#include <memory>

namespace {

// Runs one step of start-up. Nothing that escapes it may end the program: it is reported once
// the message loop runs, by the main window's error hook when that has been installed by then,
// else by the plain report, and start-up goes on. False when the step failed.
template <class Step> bool StartupStep(TApplication &application, Step step) {
    try {
        step();
        return true;
    } catch (...) {
        application.PostException(nullptr, std::current_exception());
        return false;
    }
}

} // namespace

int main(int argc, char **argv) {
    const std::string mismatch = VersionMismatch(std::getenv(LauncherVersionVariable));
    if (!mismatch.empty()) {
        ShowStartError(mismatch);
        return 1;
    }
    unsetenv(LauncherVersionVariable); // not for the programs these windows start
    TApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);

    StartupStep(application, [&] {
        SplashScreen = new TSplashScreen;
        SplashScreen->Timer1->start();
        SplashScreen->show();
        SplashScreen->repaint();
        application.ProcessMessages(); // visible before the slow steps below
    });
    StartupStep(application, [&] { application.SetTitle(ProgramName); });

    // The application's windows, in their fixed order; only the main window is shown. The
    // hidden ones are made once it is on the screen, so that they do not delay it.
    std::unique_ptr<TfrmMain> mainWindow;
    std::unique_ptr<TAboutBox> aboutBox;
    std::unique_ptr<TfrmPreview> preview;
    std::unique_ptr<TQRPaymentChart> chart;
    std::unique_ptr<TfrmUpdate> updateWindow;
    std::unique_ptr<TfrmDisclaim> disclaimer;
    std::unique_ptr<TfrmClose> thanks;
    if (!StartupStep(application, [&] { mainWindow = std::make_unique<TfrmMain>(); })) {
        // Without its main window the program cannot run: the report, then the end.
        QCoreApplication::sendPostedEvents();
        return 1;
    }
    QObject::connect(mainWindow.get(), &TfrmMain::Closed, &application,
                     [&application] { application.Terminate(); });

    mainWindow->show();
    QTimer::singleShot(0, mainWindow.get(), [&] {
        Guard(mainWindow.get(), [&] {
            aboutBox = std::make_unique<TAboutBox>(mainWindow.get());
            preview = std::make_unique<TfrmPreview>(mainWindow.get());
            chart = std::make_unique<TQRPaymentChart>(*mainWindow, *mainWindow->rgCalculate,
                                                      *mainWindow->grdLS, MakerAddresses().Host);
            updateWindow = std::make_unique<TfrmUpdate>(mainWindow->WebFileInfo, mainWindow.get());
            disclaimer = std::make_unique<TfrmDisclaim>(mainWindow.get());
            thanks = std::make_unique<TfrmClose>(mainWindow.get());
        });
    });
    if (SplashScreen)
        SplashScreen->raise(); // stays on top until its timer hides it
    const int result = application.exec();
    delete SplashScreen;
    return result;
}
