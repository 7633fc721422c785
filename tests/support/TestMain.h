// The main function of a test program that needs the application object: every exception
// escaping an event handler then reaches TApplication::OnException, as in the program. A
// dialog that no test expected (no DialogRecorder is alive) ends the program at once with its
// text, rather than waiting forever for a click that never comes.
#pragma once

#include "platform/Dialogs.h"
#include "platform/Forms.h"

#include <QTest>

[[noreturn]] inline int UnexpectedDialog(const TDialogRequest &request) {
    qFatal("Unexpected dialog \"%s\": %s", qPrintable(request.Title), qPrintable(request.Text));
}

// Runs the test object's functions under the application object of the tests; it is what the
// main functions of QUORVALE_TEST_MAIN and QUORVALE_DESKTOP_TEST_MAIN do.
template <class TestObject> int RunTests(int argc, char **argv) {
    TApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    SetDialogResponder(UnexpectedDialog);
    TestObject tc;
    return QTest::qExec(&tc, argc, argv);
}

#define QUORVALE_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char **argv) {                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return RunTests<TestObject>(argc, argv);                                                   \
    }
