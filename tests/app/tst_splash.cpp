#include "app/splash.h"

#include "tests/support/TestMain.h"

#include <QLabel>
#include <QTimer>

class TestSplash : public QObject {
    Q_OBJECT

private slots:
    void theSplashIsABorderlessPictureOnTop() {
        TSplashScreen splash;
        QCOMPARE(splash.size(), QSize(326, 194));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(splash.Image1->size(), QSize(314, 182));
        QVERIFY(!splash.Image1->pixmap().isNull());
        QCOMPARE(splash.Image1->pixmap().size(), QSize(314, 182));
        QCOMPARE(splash.Timer1->interval(), 5000);
        QVERIFY(!splash.Timer1->isActive()); // the program entry starts it
        const QRect screen = splash.screen()->geometry();
        QCOMPARE(splash.geometry().center(), screen.center());
    }

    void itsTimerHidesItOnce() {
        TSplashScreen splash;
        splash.Timer1->setInterval(20);
        splash.Timer1->start();
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTRY_VERIFY(!splash.isVisible());
        QVERIFY(!splash.Timer1->isActive());
    }
};

QUORVALE_TEST_MAIN(TestSplash)
#include "tst_splash.moc"
