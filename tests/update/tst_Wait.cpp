#include "update/Wait.h"

#include "tests/support/TestMain.h"

class TestWait : public QObject {
    Q_OBJECT

private slots:
    void countsDownAndReportsTheTimeout() {
        TWait wait;
        int timeouts = 0;
        wait.OnTimeout = [&](QObject *sender) {
            QCOMPARE(sender, &wait);
            ++timeouts;
        };
        wait.SetSeconds(2);
        wait.Start();
        QCOMPARE(wait.text(), QString("2"));
        QTRY_COMPARE_WITH_TIMEOUT(wait.text(), QString("1"), 1500);
        QTRY_COMPARE_WITH_TIMEOUT(wait.text(), QString("Timeout"), 1500);
        QCOMPARE(timeouts, 1);
        QVERIFY(!wait.Running());

        wait.Start();
        wait.Stop();
        QTest::qWait(1200);
        QCOMPARE(wait.text(), QString("2"));
        QCOMPARE(timeouts, 1);
    }
};

QUORVALE_TEST_MAIN(TestWait)
#include "tst_Wait.moc"
