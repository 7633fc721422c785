// The main function of a test program that needs the application object: every exception
// escaping an event handler then reaches TApplication::OnException, as in the program.
#pragma once

#include "platform/Forms.h"

#include <QTest>

#define QUORVALE_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char **argv) {                                                              \
        TApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
