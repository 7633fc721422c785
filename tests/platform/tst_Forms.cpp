#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/TestMain.h"

#include <QPushButton>

class TestForms : public QObject {
    Q_OBJECT

private slots:
    void anExceptionFromAnEventHandlerReachesTheHandlerWithItsSender() {
        QPushButton button("Go");
        QObject::connect(&button, &QPushButton::clicked, [] { throw EZeroDivide(); });
        QObject *sender = nullptr;
        QString message;
        bool wasMathError = false;
        Application()->OnException = [&](QObject *s, const std::exception &e) {
            sender = s;
            message = QString::fromUtf8(e.what());
            wasMathError = dynamic_cast<const EMathError *>(&e) != nullptr;
        };
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        Application()->OnException = nullptr;
        QCOMPARE(sender, &button);
        QVERIFY(wasMathError);
        QCOMPARE(message, QString("Floating point division by zero"));
        // the program goes on: the button still works
        QVERIFY(button.isEnabled());
    }

    void withNoHandlerTheMessageIsShownAndTheProgramGoesOn() {
        DialogRecorder dialogs;
        QPushButton button("Go");
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            throw EConvertError("'x' is not a valid floating point value");
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(dialogs.Texts(), QStringList(2, "'x' is not a valid floating point value"));
    }
};

QUORVALE_TEST_MAIN(TestForms)
#include "tst_Forms.moc"
