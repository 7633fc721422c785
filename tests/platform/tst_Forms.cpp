#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/TestMain.h"

#include <QButtonGroup>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolTip>

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

    void aGuardedHandlerFailsOnlyAfterQtHasFinishedTheEvent() {
        QRadioButton first("First"), second("Second");
        QButtonGroup group;
        group.addButton(&first);
        group.addButton(&second);
        first.setChecked(true);
        std::function<void(QObject *)> OnClick = [](QObject *) {
            throw EInvalidOp();
        };
        QObject::connect(&second, &QRadioButton::clicked, &second,
                         [&] { CallEvent(OnClick, &second); });
        QList<QObject *> senders;
        bool secondCheckedWhenReported = false;
        Application()->OnException = [&](QObject *s, const std::exception &) {
            senders.append(s);
            secondCheckedWhenReported = second.isChecked() && !first.isChecked();
        };
        second.show();
        QTest::mouseClick(&second, Qt::LeftButton);
        QVERIFY(senders.isEmpty()); // not inside Qt's handling of the click
        QCoreApplication::sendPostedEvents();
        QCOMPARE(senders, QList<QObject *>{&second});
        QVERIFY(secondCheckedWhenReported);

        // a sender gone before the report arrives is reported as null
        auto *gone = new QObject;
        QVERIFY(!Guard(gone, [] { throw EZeroDivide(); }));
        delete gone;
        QCoreApplication::sendPostedEvents();
        Application()->OnException = nullptr;
        QCOMPARE(senders, (QList<QObject *>{&second, nullptr}));
    }

    void theSameFailureTwiceBeforeTheReportIsReportedOnce() {
        QStringList reported;
        Application()->OnException = [&](QObject *, const std::exception &e) {
            reported << QString::fromUtf8(e.what());
        };
        for (int i = 0; i < 2; ++i) {
            Guard(nullptr, [] { throw EInvalidOp(); });
            Guard(nullptr, [] { throw EZeroDivide(); });
            Guard(nullptr, [] { throw EConvertError("'x' is not a valid floating point value"); });
        }
        QCoreApplication::sendPostedEvents();
        Guard(nullptr, [] { throw EInvalidOp(); }); // after the report: a failure of its own
        QCoreApplication::sendPostedEvents();
        Application()->OnException = nullptr;
        QCOMPARE(reported,
                 QStringList({"Invalid floating point operation", "Floating point division by zero",
                              "'x' is not a valid floating point value",
                              "Invalid floating point operation"}));
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

    void theHintFollowsTheControlUnderTheMouse() {
        QWidget window;
        window.resize(300, 200);
        QWidget panel(&window); // no hint of its own
        panel.setGeometry(0, 0, 300, 100);
        QLabel box("box", &panel);
        box.setGeometry(10, 10, 80, 20);
        box.setToolTip(" Enter the amount of the loan");
        QLabel inner("inner", &window); // no hint, inside a parent that has one
        inner.setGeometry(10, 150, 40, 20);
        window.setToolTip(" Window hint");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        int changes = 0;
        Application()->OnHint = [&](QObject *) {
            ++changes;
        };

        QTest::mouseMove(&window, QPoint(20, 20));
        QTRY_COMPARE(Application()->Hint(), QString(" Enter the amount of the loan"));
        QTest::mouseMove(&window, QPoint(200, 50)); // bare part of the panel: its parent's hint
        QTRY_COMPARE(Application()->Hint(), QString(" Window hint"));
        window.setToolTip(QString());
        QTRY_COMPARE(Application()->Hint(), QString()); // a hint changed under the mouse
        QTest::mouseMove(&window, QPoint(20, 155));
        QTest::mouseMove(&window, QPoint(21, 156));
        QTest::qWait(10);
        QCOMPARE(Application()->Hint(), QString());
        QCOMPARE(changes, 3);
        Application()->OnHint = nullptr;
    }

    void tooltipsShowOnlyForControlsThatShowHints() {
        QWidget window;
        window.resize(200, 100);
        SetShowHint(&window, false);
        QLabel quiet("quiet", &window), loud("loud", &window);
        quiet.setGeometry(0, 0, 50, 20);
        loud.setGeometry(100, 0, 50, 20);
        quiet.setToolTip("quiet hint");
        loud.setToolTip("loud hint");
        SetShowHint(&loud, true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!ShowsHint(&quiet));
        QVERIFY(ShowsHint(&loud));

        auto askForTip = [](QLabel &label) {
            QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), label.mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(&label, &tip);
        };
        askForTip(quiet);
        QVERIFY(!QToolTip::isVisible());
        askForTip(loud);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString("loud hint"));
        QToolTip::hideText();
    }

    void hintPauseSetsTheTooltipDelay() {
        Application()->SetHintPause(500);
        QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
    }

    void designFontsAreSizedAt96DotsPerInch() {
        QCOMPARE(DesignFont("Arial", 8).pixelSize(), 11);
        QCOMPARE(DesignFont("Arial", 10).pixelSize(), 13);
        QCOMPARE(DesignFont("Arial", 14, true).pixelSize(), 19);
        QVERIFY(DesignFont("Arial", 14, true).bold());
        // the old dialog font is drawn as Arial, whatever the system offers for its name
        QCOMPARE(QFontInfo(DesignFont("MS Sans Serif", 8)).family(),
                 QFontInfo(DesignFont("Arial", 8)).family());
    }

    // A picture is drawn for the screen's pixel ratio at its design size: an 8 x 6 picture, red
    // on its left half, at a ratio of 2 is 16 x 12 pixels, red up to the 8th column.
    void designPicturesAreDrawnForTheScreen_data() {
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<QSize>("design");
        QTest::newRow("own size") << QSize() << QSize(8, 6);
        QTest::newRow("drawn larger") << QSize(16, 12) << QSize(16, 12);
    }
    void designPicturesAreDrawnForTheScreen() {
        QFETCH(QSize, asked);
        QFETCH(QSize, design);
        QTemporaryDir folder;
        const QString name = folder.filePath("half.svg");
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<svg xmlns='http://www.w3.org/2000/svg' width='8' height='6' "
                   "viewBox='0 0 8 6'><rect width='4' height='6' fill='#FF0000'/></svg>");
        file.close();
        const qreal ratio = qApp->devicePixelRatio();
        const QImage picture = DesignPicture(name, asked);
        QCOMPARE(picture.devicePixelRatio(), ratio);
        QCOMPARE(picture.size(), design * ratio);
        const int half = design.width() * ratio / 2;
        for (int y = 0; y < picture.height(); ++y) {
            QCOMPARE(picture.pixelColor(half - 1, y), QColor(Qt::red));
            QCOMPARE(picture.pixelColor(half, y).alpha(), 0);
        }
        QVERIFY(DesignPicture(folder.filePath("missing.svg")).isNull());
    }

    void aHandlerThatFailsFallsBackToThePlainReport() {
        DialogRecorder dialogs;
        QPushButton button("Go");
        QObject::connect(&button, &QPushButton::clicked, [] { throw EOverflow(); });
        Application()->OnException = [](QObject *, const std::exception &) {
            throw EConvertError("the handler broke");
        };
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        Application()->OnException = nullptr;
        QCOMPARE(dialogs.Texts(), QStringList({"Floating point overflow"}));
    }

    void longHint() {
        QCOMPARE(GetLongHint("short|long part"), QString("long part"));
        QCOMPARE(GetLongHint(" Print ..."), QString(" Print ..."));
    }
};

QUORVALE_TEST_MAIN(TestForms)
#include "tst_Forms.moc"
