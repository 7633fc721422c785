// Quorvale Pro: the program entry. No arguments; everything else happens in the windows.
#include "app/Main.h"
#include "app/About.h"
#include "app/Close.h"
#include "app/Disclaim.h"
#include "app/URL.h"
#include "app/splash.h"
#include "platform/Forms.h"
#include "printing/Preview.h"
#include "printing/Qrchart.h"

#include <QTimer>
#include <memory>

int main(int argc, char **argv) {
    TApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);

    SplashScreen = new TSplashScreen;
    SplashScreen->Timer1->start();
    SplashScreen->show();
    SplashScreen->repaint();
    application.ProcessMessages(); // visible before the slow steps below

    application.SetTitle(ProgramName);
    application.SetHelpFile(QStringLiteral(QUORVALE_BUILD_HELP_FILE));

    // The application's windows, in their fixed order; only the main window is shown.
    auto mainWindow = std::make_unique<TfrmMain>();
    auto aboutBox = std::make_unique<TAboutBox>(mainWindow.get());
    auto preview = std::make_unique<TfrmPreview>(mainWindow.get());
    auto chart = std::make_unique<TQRPaymentChart>(*mainWindow, *mainWindow->rgCalculate,
                                                   *mainWindow->grdLS, MakerAddresses().Host);
    auto disclaimer = std::make_unique<TfrmDisclaim>(mainWindow.get());
    auto thanks = std::make_unique<TfrmClose>(mainWindow.get());
    QObject::connect(mainWindow.get(), &TfrmMain::Closed, &application,
                     [&application] { application.Terminate(); });

    mainWindow->show();
    SplashScreen->raise(); // stays on top until its timer hides it
    const int result = application.exec();
    delete SplashScreen;
    return result;
}
