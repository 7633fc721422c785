#include "controls/NumCtrl.h"
#include "platform/SysUtils.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/TestMain.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyle>

namespace {

// A window holding the box and a second control to tab to; the box shows 100000 and the
// focus starts in the other control.
struct TForm {
    QWidget window;
    TNumEdit *box = new TNumEdit(&window);
    QLineEdit *other = new QLineEdit(&window);
    int exits = 0;
    int enters = 0;

    TForm() {
        window.resize(200, 80);
        box->setGeometry(10, 10, 105, 21);
        QFont font("Arial");
        font.setPixelSize(11);
        box->setFont(font);
        other->setGeometry(10, 40, 105, 21);
        box->OnExit = [this](QObject *) {
            ++exits;
        };
        box->OnEnter = [this](QObject *) {
            ++enters;
        };
        box->SetValue(100000);
    }
    bool Show() {
        other->setFocus();
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window) && other->hasFocus();
    }
    void TabIn() { QTest::keyClick(other, Qt::Key_Tab); }
    // An error of the leave reaches the application's handler once Qt has finished the key.
    void TabOut() {
        QTest::keyClick(box, Qt::Key_Tab);
        QCoreApplication::sendPostedEvents();
    }
};

// The exceptions that reach the application's handler while it lives.
struct TErrorLog {
    QStringList Messages;
    QList<QObject *> Senders;
    bool AllConversionErrors = true;
    TErrorLog() {
        Application()->OnException = [this](QObject *sender, const std::exception &e) {
            Messages << QString::fromUtf8(e.what());
            Senders << sender;
            AllConversionErrors &= dynamic_cast<const EConvertError *>(&e) != nullptr;
        };
    }
    ~TErrorLog() { Application()->OnException = nullptr; }
};

// The smallest rectangle holding the dark pixels of an area.
QRect Ink(const QImage &image, const QRect &area) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The ink of a text drawn with its origin (left end of the character cell's top) at 0, 0.
QRect TextInk(const QString &text, const QFont &font) {
    QImage image(300, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(20, 20 + QFontMetrics(font).ascent(), text);
    painter.end();
    return Ink(image, image.rect()).translated(-20, -20);
}

} // namespace

class TestNumCtrl : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetFormatSettings(UnitedStatesFormatSettings()); }

    void enteringShowsTheEditingFormAndLeavingReformatsAndRaisesExitOnce() {
        TForm form;
        QVERIFY(form.Show());
        QCOMPARE(form.box->text(), "$100,000.00");
        QCOMPARE(form.box->Alignment(), Qt::AlignRight);
        form.TabIn();
        QCOMPARE(form.box->text(), "100,000.00");
        QCOMPARE(form.box->selectedText(), "100,000.00");
        QCOMPARE(form.box->Alignment(), Qt::AlignLeft);
        QCOMPARE(form.enters, 1);
        QTest::keyClicks(form.box, "250000");
        form.TabOut();
        QVERIFY(form.other->hasFocus());
        QCOMPARE(form.box->text(), "$250,000.00");
        QCOMPARE(form.box->Value(), 250000.0);
        QCOMPARE(form.box->Alignment(), Qt::AlignRight);
        QCOMPARE(form.exits, 1);
    }

    void typedCharactersAreFilteredAndReadOnLeaving_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("display");
        QTest::newRow("separators anywhere") << "1,2,3"
                                             << "1,2,3" << 123.0 << "$123.00";
        QTest::newRow("second point dropped") << "1.2.3"
                                              << "1.23" << 1.23 << "$1.23";
        QTest::newRow("second minus dropped") << "-5-"
                                              << "-5" << -5.0 << "($5.00)";
        QTest::newRow("letters and blanks dropped") << "12ab 3"
                                                    << "123" << 123.0 << "$123.00";
        QTest::newRow("point over the selection") << ".5"
                                                  << ".5" << 0.5 << "$0.50";
        QTest::newRow("two decimals") << "786.7"
                                      << "786.7" << 786.7 << "$786.70";
        QTest::newRow("empty") << "\b"
                               << "" << 0.0 << "$0.00";
    }
    void typedCharactersAreFilteredAndReadOnLeaving() {
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        QFETCH(double, value);
        QFETCH(QString, display);
        TForm form;
        QVERIFY(form.Show());
        form.TabIn();
        QTest::keyClicks(form.box, keys);
        QCOMPARE(form.box->text(), typed);
        form.TabOut();
        QCOMPARE(form.box->Value(), value);
        QCOMPARE(form.box->text(), display);
        QCOMPARE(form.exits, 1);
    }

    void typingStopsAtTheDigitsLimitWithRoomForSignAndPoint_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("valueAfter");
        QTest::newRow("point present") << 100000.0 << 2 << "9999.-9"
                                       << "100,000.0099-" << -100000.0099;
        QTest::newRow("no point yet") << 0.0 << 0 << "123456789019.9-9"
                                      << "012345678901.-" << -12345678901.0;
        // 13 characters: the text in the box is never cut to the limit
        QTest::newRow("longer than the limit") << 12345678.91 << 2 << "9"
                                               << "12,345,678.91" << 12345678.91;
    }
    void typingStopsAtTheDigitsLimitWithRoomForSignAndPoint() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        QFETCH(double, valueAfter);
        TForm form;
        form.box->SetDecimals(decimals);
        form.box->SetValue(value);
        QVERIFY(form.Show());
        form.TabIn();
        QTest::keyClick(form.box, Qt::Key_End);
        QTest::keyClicks(form.box, keys);
        QCOMPARE(form.box->text(), typed);
        form.TabOut();
        QCOMPARE(form.box->Value(), valueAfter);
    }

    void theDisplayFormFollowsTypeDecimalsRoundingAndMasks_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("rounding");
        QTest::addColumn<QStringList>("masks");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("display");
        const QStringList standard{"#,##0", "", ""};
        const QStringList three{"#,##0.00", "(#,##0.00)", "'nil'"};
        QTest::newRow("cut") << int(ntCurrency) << 3 << false << standard << 1.2349 << "$1.234";
        QTest::newRow("tie to even")
            << int(ntCurrency) << 2 << true << standard << 0.125 << "$0.12";
        QTest::newRow("percentage")
            << int(ntPercentage) << 2 << true << standard << 0.0875 << "8.75%";
        QTest::newRow("positive mask")
            << int(ntGeneral) << 2 << true << standard << 1234.4 << "1,234";
        QTest::newRow("no negative mask")
            << int(ntGeneral) << 2 << true << standard << -1234.4 << "-1,234";
        QTest::newRow("three masks +")
            << int(ntGeneral) << 2 << true << three << 1234.5 << "1,234.50";
        QTest::newRow("three masks -")
            << int(ntGeneral) << 2 << true << three << -1234.5 << "(1,234.50)";
        QTest::newRow("three masks 0") << int(ntGeneral) << 2 << true << three << 0.0 << "nil";
        QTest::newRow("no positive mask")
            << int(ntGeneral) << 2 << true << QStringList{"", "", ""} << 1234.5 << "1234.5";
    }
    void theDisplayFormFollowsTypeDecimalsRoundingAndMasks() {
        QFETCH(int, type);
        QFETCH(int, decimals);
        QFETCH(bool, rounding);
        QFETCH(QStringList, masks);
        QFETCH(double, value);
        QFETCH(QString, display);
        TNumEdit box;
        box.SetValue(value);
        box.SetNumericType(TNumericType(type));
        box.SetDecimals(decimals);
        box.SetUseRounding(rounding);
        box.Masks().SetPositiveMask(masks[0]);
        box.Masks().SetNegativeMask(masks[1]);
        box.Masks().SetZeroMask(masks[2]);
        QCOMPARE(box.text(), display);
    }

    void aNegativeValueKeepsItsSignThroughTheEditingForm() {
        TForm form;
        form.box->SetNumericType(ntGeneral);
        form.box->Masks().SetPositiveMask("#,##0.00");
        form.box->Masks().SetNegativeMask("(#,##0.00)");
        form.box->SetValue(-1234.5);
        QVERIFY(form.Show());
        form.TabIn();
        QCOMPARE(form.box->text(), "-1,234.50");
        form.TabOut();
        QCOMPARE(form.box->Value(), -1234.5);
        QCOMPARE(form.box->text(), "(1,234.50)");
    }

    void aValueOutOfRangeKeepsTheFocusWithTheTextSelected() {
        DialogRecorder dialogs;
        TForm form;
        form.box->SetValue(1000);
        form.box->SetMax(5000);
        form.box->SetValidate(true);
        int otherEntered = 0;
        QObject::connect(qApp, &QApplication::focusChanged, form.box,
                         [&](QWidget *, QWidget *now) { otherEntered += now == form.other; });
        QVERIFY(form.Show());
        otherEntered = 0;
        form.TabIn();
        QTest::keyClicks(form.box, "6000");
        form.TabOut();
        QCOMPARE(dialogs.Texts(), QStringList{"Value must be between 0 and 5000"});
        QCOMPARE(dialogs.Requests()[0].Type, mtInformation);
        QCOMPARE(dialogs.Requests()[0].Buttons, mbOK);
        QVERIFY(form.box->hasFocus());
        QCOMPARE(form.box->selectedText(), "6000");
        QCOMPARE(form.box->Value(), 1000.0);
        QCOMPARE(form.exits, 0);
        QCOMPARE(otherEntered, 0);
        QTest::keyClicks(form.box, "4000");
        form.TabOut();
        QCOMPARE(form.box->text(), "$4,000.00");
        QCOMPARE(form.exits, 1);
    }

    void aBoxThatCannotKeepTheFocusRefusesAValueOutOfRange() {
        DialogRecorder dialogs;
        TForm form;
        form.box->SetValue(1000);
        form.box->SetMax(5000);
        form.box->SetValidate(true);
        QVERIFY(form.Show());
        form.TabIn();
        QTest::keyClicks(form.box, "6000");
        form.box->hide();
        QCOMPARE(dialogs.Texts(), QStringList{"Value must be between 0 and 5000"});
        form.box->show();
        QCOMPARE(form.box->text(), "$1,000.00");
        QCOMPARE(form.box->Alignment(), Qt::AlignRight);
        QCOMPARE(form.exits, 0);
    }

    void settersKeepTheValueInRange() {
        DialogRecorder dialogs;
        TNumEdit box;
        int changes = 0;
        box.OnChange = [&](QObject *sender) {
            changes += sender == &box;
        };
        box.SetValue(100000);
        box.SetValue(100000);
        QCOMPARE(changes, 1);
        box.SetMax(5000);
        QCOMPARE(box.text(), "$5,000.00");
        box.SetMin(1000);
        box.SetValue(-3); // not checked while Validate is off
        box.SetValidate(true);
        QCOMPARE(box.Value(), 1000.0);
        box.SetValue(6000);
        QCOMPARE(box.Value(), 1000.0);
        QCOMPARE(dialogs.Texts(), QStringList{"Value must be between 1000 and 5000"});
    }

    void aChangedMaskIsCutTo25CharactersAndReformatsTheBox() {
        TNumEdit box;
        box.SetNumericType(ntGeneral);
        box.SetValue(1234.5);
        box.Masks().SetPositiveMask("0.00" + QString(30, u'x'));
        QCOMPARE(box.Masks().PositiveMask(), "0.00" + QString(21, u'x'));
        QCOMPARE(box.text(), "1234.50" + QString(21, u'x'));
        TMasks masks;
        masks.SetPositiveMask("0.0");
        box.SetMasks(masks);
        QCOMPARE(box.text(), "1234.5");
    }

    void aPercentageIsCheckedInTheUnitsOfTheValue() {
        DialogRecorder dialogs;
        TForm form;
        form.box->SetNumericType(ntPercentage);
        form.box->SetValue(0.25);
        form.box->SetMax(1);
        form.box->SetValidate(true);
        QVERIFY(form.Show());
        form.TabIn();
        QTest::keyClicks(form.box, "50");
        form.TabOut();
        QCOMPARE(dialogs.Texts(), QStringList());
        QCOMPARE(form.box->Value(), 0.5);
        QCOMPARE(form.box->text(), "50.00%");
    }

    void aTextThatIsNoNumberRaisesAConversionErrorAndNoExit_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("message");
        QTest::newRow("lone minus") << "-"
                                    << ""
                                    << "'-' is not a valid floating point value";
        QTest::newRow("two pasted points") << ""
                                           << "1.2.3"
                                           << "'1.2.3' is not a valid floating point value";
    }
    void aTextThatIsNoNumberRaisesAConversionErrorAndNoExit() {
        QFETCH(QString, keys);
        QFETCH(QString, pasted);
        QFETCH(QString, message);
        TErrorLog errors;
        TForm form;
        QVERIFY(form.Show());
        form.TabIn();
        QTest::keyClicks(form.box, keys);
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(form.box, Qt::Key_V, Qt::ControlModifier);
        }
        form.TabOut();
        QCOMPARE(errors.Messages, QStringList{message});
        QVERIFY(errors.AllConversionErrors);
        QCOMPARE(errors.Senders.value(0), static_cast<QObject *>(form.box));
        QCOMPARE(form.exits, 0);
        // the leave is abandoned: the box shows its unchanged value again
        QCOMPARE(form.box->Value(), 100000.0);
        QCOMPARE(form.box->text(), "$100,000.00");
        QCOMPARE(form.box->Alignment(), Qt::AlignRight);
    }

    void aFailingExitEventStillRestoresTheUnfocusedAlignment() {
        TErrorLog errors;
        TForm form;
        form.box->OnExit = [&](QObject *) {
            if (++form.exits == 1)
                throw EZeroDivide();
        };
        QVERIFY(form.Show());
        form.TabIn();
        QTest::keyClicks(form.box, "5");
        form.TabOut();
        QCOMPARE(errors.Messages, QStringList{"Floating point division by zero"});
        QCOMPARE(form.box->text(), "$5.00");
        QCOMPARE(form.box->Alignment(), Qt::AlignRight);
        form.TabIn();
        form.TabOut();
        QCOMPARE(form.exits, 2);
        QCOMPARE(form.box->Alignment(), Qt::AlignRight);
    }

    void aValueSetWhileEditingShowsInTheEditingForm() {
        TForm form;
        QVERIFY(form.Show());
        form.TabIn();
        form.box->SetValue(-5);
        QCOMPARE(form.box->text(), "-5.00");
        form.TabOut();
        QCOMPARE(form.box->Value(), -5.0);
    }

    // Only the keyboard selects everything on entry; the mouse acts at once on the editing form.
    void aMouseEntryPlacesTheCaretOrSelectsWhereTheMouseIs() {
        TForm form;
        QVERIFY(form.Show());
        const int x = form.box->fontMetrics().horizontalAdvance("100,") + 3;
        QTest::mouseClick(form.box, Qt::LeftButton, {}, QPoint(x, 10));
        QVERIFY(form.box->hasFocus());
        QVERIFY(!form.box->hasSelectedText());
        QCOMPARE(form.box->cursorPosition(), 4);
        form.TabOut();
        QTest::mousePress(form.box, Qt::LeftButton, {}, QPoint(x, 10));
        QTest::mouseMove(form.box, QPoint(100, 10));
        QTest::mouseRelease(form.box, Qt::LeftButton, {}, QPoint(100, 10));
        QCOMPARE(form.box->selectedText(), "000.00");
    }

    // A value beyond the significant digits shows in the scientific form; its editing form
    // still reads back as the same number.
    void aHugeValueKeepsItsMagnitudeThroughTheEditingForm_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("editing");
        QTest::addColumn<double>("reread"); // the shown value
        QTest::newRow("1E12") << 1e12 << "1,000,000,000,000.00" << 1e12;
        QTest::newRow("-1E12") << -1e12 << "-1,000,000,000,000.00" << -1e12;
        QTest::newRow("13 digits") << 1234567890123.0 << "1,234,567,890,120.00" << 1234567890120.0;
    }
    void aHugeValueKeepsItsMagnitudeThroughTheEditingForm() {
        QFETCH(double, value);
        QFETCH(QString, editing);
        QFETCH(double, reread);
        TForm form;
        form.box->SetValue(value);
        QVERIFY(form.Show());
        const QString display = form.box->text();
        form.TabIn();
        QCOMPARE(form.box->text(), editing);
        form.TabOut();
        QCOMPARE(form.box->text(), display);
        QCOMPARE(form.box->Value(), reread);
    }

    void theContextMenuDoesNotLeaveTheBoxAndPastesIntoTheEditingForm() {
        TForm form;
        QVERIFY(form.Show());
        form.TabIn();
        QTest::keyClicks(form.box, "5");
        QGuiApplication::clipboard()->setText("00");
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(50, 10),
                                     form.box->mapToGlobal(QPoint(50, 10)));
        QApplication::sendEvent(form.box, &rightClick);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(form.exits, 0);
        const QList<QAction *> actions = menu->actions();
        const auto paste = std::find_if(actions.begin(), actions.end(), [](QAction *action) {
            return action->text().startsWith("&Paste");
        });
        QVERIFY(paste != actions.end());
        (*paste)->trigger();
        menu->close();
        QVERIFY(form.box->hasFocus());
        QCOMPARE(form.exits, 0);
        QCOMPARE(form.box->text(), "500");
        form.TabOut();
        QCOMPARE(form.box->text(), "$500.00");
        QCOMPARE(form.exits, 1);
    }

    void undoNeverBringsBackTheDisplayForm() {
        TForm form;
        QVERIFY(form.Show());
        form.TabIn();
        QTest::keyClicks(form.box, "7");
        QTest::keyClick(form.box, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(form.box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.box->text(), "100,000.00");
        QTest::keyClick(form.box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(form.box->text(), "7");
        form.TabOut();
        QCOMPARE(form.box->text(), "$7.00");
    }

    void textDroppedOnTheUnfocusedBoxIsRefused() {
        TForm form;
        QVERIFY(form.Show());
        QMimeData data;
        data.setText("999");
        QDragEnterEvent enter(QPoint(50, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(form.box, &enter);
        QDropEvent drop(QPointF(50, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(form.box, &drop);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(form.box->text(), "$100,000.00");
        form.TabIn();
        QCOMPARE(form.box->text(), "100,000.00");
    }

    void textCommittedByAnInputMethodPassesTheKeyFilter() {
        TForm form;
        QVERIFY(form.Show());
        form.TabIn();
        QInputMethodEvent commit;
        commit.setCommitString("12a.3.4");
        QApplication::sendEvent(form.box, &commit);
        QCOMPARE(form.box->text(), "12.34");
    }

    void anotherWindowTakingTheKeyboardDoesNotLeaveTheBox() {
        TForm form;
        QVERIFY(form.Show());
        form.TabIn();
        QTest::keyClicks(form.box, "5");
        QWidget dialog;
        auto activate = [](QWidget *w) {
            w->show();
            w->activateWindow();
            return QTest::qWaitForWindowActive(w);
        };
        QVERIFY(activate(&dialog));
        QVERIFY(activate(&form.window));
        QVERIFY(form.box->hasFocus());
        QCOMPARE(form.box->text(), "5");
        QCOMPARE(form.exits, 0);
        // the focus moved on while the window was inactive: the box is left on return
        QVERIFY(activate(&dialog));
        form.other->setFocus();
        QVERIFY(activate(&form.window));
        QTRY_COMPARE(form.exits, 1);
        QCOMPARE(form.box->text(), "$5.00");
    }

    void theUnfocusedTextIsDrawnAtTheMargin_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("frame");
        QTest::newRow("right") << int(Qt::AlignRight) << true;
        QTest::newRow("centre") << int(Qt::AlignHCenter) << true;
        QTest::newRow("right without border") << int(Qt::AlignRight) << false;
    }
    void theUnfocusedTextIsDrawnAtTheMargin() {
        QFETCH(int, alignment);
        QFETCH(bool, frame);
        TForm form;
        form.box->SetAlignment(Qt::Alignment(alignment));
        form.box->setFrame(frame);
        QVERIFY(form.Show());
        const QFont font = form.box->font();
        const int margin =
            frame
                ? std::min(
                      QFontMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).height(),
                      QFontMetrics(font).height()) /
                      4
                : 0;
        QCOMPARE(form.box->TextMargin(), margin);
        const int border =
            frame ? form.box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, form.box)
                  : 0;
        const QRect client = form.box->rect().adjusted(border, border, -border, -border);
        const int width = QFontMetrics(font).horizontalAdvance("$100,000.00");
        const int x = alignment == Qt::AlignRight ? client.width() - width - margin
                                                  : (client.width() - width) / 2;
        const QRect expected =
            TextInk("$100,000.00", font).translated(client.left() + x, client.top() + margin);
        QCOMPARE(Ink(form.box->grab().toImage(), client), expected);
        // focused, it paints as an ordinary edit box: the editing form at the left
        form.TabIn();
        const QRect focused = Ink(form.box->grab().toImage(), client);
        QVERIFY(focused.left() < client.left() + 6);
    }
};

QUORVALE_TEST_MAIN(TestNumCtrl)
#include "tst_NumCtrl.moc"
