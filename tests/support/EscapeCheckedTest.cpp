#include "tests/support/EscapeCheckedTest.h"

#include "platform/Forms.h"

#include <QTest>

void EscapeCheckedTest::init() {
    FEscaped.clear();
    Application()->OnException = [this](QObject *, const std::exception &E) {
        FEscaped << QString::fromUtf8(E.what());
    };
}

void EscapeCheckedTest::cleanup() {
    QCOMPARE(FEscaped, QStringList());
}
