// A real desktop for the tests that need one: an X server (Xvfb) with a window manager
// (openbox) on a free display, so that windows are activated, stacked and given the focus as
// on a user's desktop, which the offscreen platform never does.
//
// Use: write the test class as usual, give it
//
//     void initTestCase() { QUORVALE_REQUIRE_DESKTOP(); ... }
//
// and end the file with QUORVALE_DESKTOP_TEST_MAIN(TestClass) instead of QUORVALE_TEST_MAIN.
// Its main starts Xvfb and openbox before the application object exists and runs the tests on
// them (the xcb platform); the servers end with the test program. Where no X server can be
// started (Xvfb or openbox missing, no free display) the program comes up offscreen and
// QUORVALE_REQUIRE_DESKTOP skips the whole test case with the reason.
#pragma once

#include "tests/support/TestMain.h"

#include <QString>
#include <QStringList>
#include <QTimer>
#include <sys/types.h>

class TDesktop {
public:
    TDesktop() = default;
    ~TDesktop();
    TDesktop(const TDesktop &) = delete;
    TDesktop &operator=(const TDesktop &) = delete;

    // Starts Xvfb on a free display and openbox on it, and waits until the window manager
    // manages windows. True when both run; Failure() then is empty.
    bool Start();
    // The display (":93"), empty when none runs.
    QString Display() const { return FDisplay; }
    // Why no desktop runs.
    QString Failure() const { return FFailure; }

    // The desktop of this test program (null before QUORVALE_DESKTOP_TEST_MAIN has run).
    static TDesktop *Current();

private:
    bool Fail(const QString &why);

    pid_t FServer = 0;
    pid_t FWindowManager = 0;
    QString FDisplay;
    QString FFailure;
};

// While it lives, message boxes are real windows, shown modally as in the program: each one
// is answered, once the window manager has made it the active window, by the Return key as a
// user would, and its text is recorded.
class TRealMessageBoxes : public QObject {
public:
    TRealMessageBoxes();
    ~TRealMessageBoxes() override;
    QStringList Texts() const { return FTexts; }

private:
    void Answer();
    TDialogResponder FPrevious;
    QStringList FTexts;
    QTimer *FTimer;
};

#define QUORVALE_REQUIRE_DESKTOP()                                                                 \
    do {                                                                                           \
        if (!TDesktop::Current() || TDesktop::Current()->Display().isEmpty())                      \
            QSKIP(qPrintable(QStringLiteral("no X server with a window manager: ") +               \
                             (TDesktop::Current() ? TDesktop::Current()->Failure()                 \
                                                  : QStringLiteral("not started"))));              \
    } while (false)

// Prepares the environment of the application object: the xcb platform on the started
// display, or the offscreen platform when none could be started.
void UseDesktop(TDesktop &desktop);

#define QUORVALE_DESKTOP_TEST_MAIN(TestObject)                                                     \
    int main(int argc, char **argv) {                                                              \
        TDesktop desktop;                                                                          \
        UseDesktop(desktop);                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return RunTests<TestObject>(argc, argv);                                                   \
    }
