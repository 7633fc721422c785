#include "app/URLLabel.h"
#include "platform/ShellApi.h"
#include "tests/support/ShellRecorder.h"
#include "tests/support/TestMain.h"

#include <optional>

#include <QWidget>

namespace {
const QColor Purple(0x80, 0x00, 0x80);
}

class TestURLLabel : public QObject {
    Q_OBJECT

    std::optional<ShellRecorder> FShell;

private slots:
    void init() { FShell.emplace(); }
    void cleanup() { FShell.reset(); }

    void aNewLabelIsBlackWithNoStyleAndLinksToTheMakersHomePage() {
        QWidget window;
        QFont bold = window.font();
        bold.setBold(true);
        bold.setItalic(true);
        window.setFont(bold);
        TURLLabel label(&window);
        QCOMPARE(label.FontColor(), QColor(Qt::black));
        QCOMPARE(label.FontStyle(), 0);
        QCOMPARE(label.MouseOverFont(), fsBold | fsItalic); // the style it was created with
        QCOMPARE(label.MouseOverColor(), QColor(Qt::blue));
        QCOMPARE(label.URL(), QString("http://www.tamblewick.example/"));
    }

    void theMouseOverTheLabelChangesItsLookUntilItLeaves_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("overStyle");
        QTest::newRow("underlined, purple and underlined over it")
            << int(fsUnderline) << int(fsUnderline);
        QTest::newRow("plain, bold and italic over it") << 0 << int(fsBold | fsItalic);
        QTest::newRow("struck out, plain over it") << int(fsStrikeOut) << 0;
    }

    void theMouseOverTheLabelChangesItsLookUntilItLeaves() {
        QFETCH(int, style);
        QFETCH(int, overStyle);
        QWidget window;
        window.resize(300, 100);
        TURLLabel label(&window);
        label.setGeometry(10, 10, 107, 13);
        label.setText("www.tamblewick.example");
        label.SetFontColor(Qt::blue);
        label.SetFontStyle(style);
        label.SetMouseOverColor(Purple);
        label.SetMouseOverFont(overStyle);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::mouseMove(&window, QPoint(200, 80));
        QTest::mouseMove(&label, QPoint(20, 6));
        QTRY_COMPARE(label.FontColor(), Purple);
        QCOMPARE(label.FontStyle(), overStyle);
        QCOMPARE(label.font().underline(), bool(overStyle & fsUnderline));

        QTest::mouseMove(&window, QPoint(200, 80));
        QTRY_COMPARE(label.FontColor(), QColor(Qt::blue));
        QCOMPARE(label.FontStyle(), style);
        QVERIFY(FShell->Requests().isEmpty()); // moving over it opens nothing
    }

    void aLeaveWithoutAnEnterKeepsTheLook() {
        TURLLabel label;
        label.SetFontColor(Qt::blue);
        label.SetFontStyle(fsUnderline);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&label, &leave);
        QCOMPARE(label.FontColor(), QColor(Qt::blue));
        QCOMPARE(label.FontStyle(), int(fsUnderline));
    }

    void aPressOfAnyButtonOpensTheAddress_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }

    void aPressOfAnyButtonOpensTheAddress() {
        QFETCH(Qt::MouseButton, button);
        QWidget window;
        TURLLabel label(&window);
        label.setGeometry(10, 10, 107, 13);
        label.setText("www.tamblewick.example");
        label.SetURL("http://www.tamblewick.example/suggest.htm");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::mousePress(&label, button, {}, QPoint(20, 6));
        QCOMPARE(FShell->Requests().size(), 1);
        const TShellRequest &r = FShell->Requests().first();
        QCOMPARE(r.Operation, QString("open"));
        QCOMPARE(r.File, QString("http://www.tamblewick.example/suggest.htm"));
        QVERIFY(r.Parameters.isEmpty());
        QVERIFY(r.Directory.isEmpty());
        QCOMPARE(r.ShowCmd, int(SW_SHOWNORMAL));
        QCOMPARE(r.Owner, &window);
        QTest::mouseRelease(&label, button, {}, QPoint(20, 6));
        QCOMPARE(FShell->Requests().size(), 1); // the press opened it, the release adds nothing
    }
};

QUORVALE_TEST_MAIN(TestURLLabel)
#include "tst_URLLabel.moc"
