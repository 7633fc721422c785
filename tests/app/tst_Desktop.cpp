// The main window on a real X server with a window manager: start-up with bad saved values,
// clicks whose handler fails, the focus after a message box and after a mode switch by the
// keyboard, the grid's buttons, a message box during the splash, the schedule of a cell.
#include "app/Main.h"

#include "app/Schedule.h"

#include "app/splash.h"
#include "controls/Aligrid.h"
#include "controls/ExplBtn.h"
#include "controls/FnpNumericEdit.h"
#include "controls/NumCtrl.h"
#include "platform/ExtCtrls.h"
#include "platform/WinHelp.h"
#include "printing/Preview.h"
#include "printing/Qrchart.h"
#include "printing/Quickrep.h"
#include "tests/support/Desktop.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/PdfPrinter.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <array>
#include <memory>

namespace {

const QString MathMessage = "Valid results cannot be calculated using\n\rthe variables you have "
                            "entered.\n\r\n\rPlease try again with reasonable values.";

// Counts the paint events of a widget.
struct TPaintCounter : QObject {
    int Count = 0;
    explicit TPaintCounter(QWidget *w) { w->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *e) override {
        Count += e->type() == QEvent::Paint;
        return false;
    }
};

// How the user opens a menu and leaves it.
enum TMenuGesture { mgAlt, mgAltFEscape, mgAltFExit, mgClickEscape };

// How the user asks for a cell's schedule.
enum TReach { rcDoubleClick, rcPopupMenu, rcReturnKey, rcShiftF10, rcMenuKey };

// The summary lines the schedule window shows.
QStringList Summary(const TfrmSchedule &w) {
    QStringList lines;
    for (int i = 0; i < w.lblCaptions.size(); ++i)
        if (w.lblCaptions[i]->isVisible())
            lines << w.lblCaptions[i]->text() + " " + w.lblValues[i]->text();
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(TReach)
Q_DECLARE_METATYPE(TMenuGesture)

class TestDesktop : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FFolder;
    std::unique_ptr<TfrmMain> F;

    TfrmMain &Open(const QByteArray &savedValues = {}) {
        if (!savedValues.isEmpty()) {
            QFile ini(FFolder->filePath("Vormex.Ini"));
            if (ini.open(QIODevice::WriteOnly))
                ini.write(savedValues);
        }
        F = std::make_unique<TfrmMain>(FFolder->path());
        F->show();
        F->activateWindow();
        if (!QTest::qWaitForWindowActive(F.get()))
            qWarning("main window not active");
        QCoreApplication::sendPostedEvents();
        return *F;
    }
    // What a user sees settle after an event: Qt's handling, then the error path.
    static void Settle() {
        QCoreApplication::sendPostedEvents();
        QTest::qWait(50);
    }
    void Click(QWidget *w, Qt::MouseButton button = Qt::LeftButton, QPoint at = QPoint(5, 5)) {
        QTest::mouseClick(w, button, {}, at);
        Settle();
    }
    void Key(int key) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        Settle();
    }
    static int CheckedCount(const TRadioGroup *g) {
        int n = 0;
        for (int i = 0; g->Button(i); ++i)
            n += g->Button(i)->isChecked();
        return n;
    }
    bool PrintingEnabled() const { return F->btnPrint->isEnabled(); }

private slots:
    void initTestCase() {
        QUORVALE_REQUIRE_DESKTOP();
        SetFormatSettings(UnitedStatesFormatSettings());
    }
    void init() { FFolder = std::make_unique<QTemporaryDir>(); }
    void cleanup() {
        if (F) {
            F->DrawForThanks = [] {
                return 7;
            };
            DialogRecorder quiet; // the saved values may be unwritable on purpose
            F.reset();
        }
        FFolder.reset();
    }

    // ---- Start-up never ends the program ----------------------------------------------------

    // Whatever fails, the inputs of the mode are put back and the grid is filled.
    void startUpWithBadSavedValuesReportsAndComesUp_data() {
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("centre"); // the grid's centre after the report
        QTest::newRow("rate below -1200%: reset")
            << QByteArray("[LastValues]\nInterest=-1300\n") << MathMessage << " $786.70";
        QTest::newRow("term beyond 32 bits: reset") << QByteArray("[LastValues]\nTerm=3000000000\n")
                                                    << "An unidentified error has occurred."
                                                    << " $786.70";
    }
    void startUpWithBadSavedValuesReportsAndComesUp() {
        QFETCH(QByteArray, saved);
        QFETCH(QString, message);
        QFETCH(QString, centre);
        TRealMessageBoxes boxes;
        TfrmMain &f = Open(saved);
        QTRY_COMPARE(boxes.Texts(), QStringList{MessageDlgDisplayText(message)});
        QVERIFY(f.isVisible());
        QVERIFY(Application()->OnException != nullptr);
        QCOMPARE(f.grdLS->Cells(4, 6), centre);
        QCOMPARE(f.edtLoan->Value(), 100000.0);
        QCOMPARE(f.edtTerm->Value(), 360.0);
        QVERIFY(!PrintingEnabled());
        QTRY_VERIFY(f.isActiveWindow());
        QTRY_VERIFY(f.edtLoan->hasFocus());
    }

    // ---- A failing handler does not break Qt's own handling of the click ----------------

    void aClickWhoseCalculationFailsStillCompletes() {
        TfrmMain &f = Open();
        TRealMessageBoxes boxes;
        QTRY_VERIFY(f.edtLoan->hasFocus());
        QTest::keyClicks(f.edtLoan, "5");
        Key(Qt::Key_Tab);
        QRadioButton *rates = f.rgCalculate->Button(2);
        Click(rates); // no rate for a loan of $5
        QTRY_COMPARE(boxes.Texts(), QStringList{MessageDlgDisplayText(MathMessage)});
        QCOMPARE(f.rgCalculate->ItemIndex(), 2);
        QCOMPARE(CheckedCount(f.rgCalculate), 1);
        // the button finished its click: it is drawn again when its state changes
        TPaintCounter paints(rates);
        Click(f.rgCalculate->Button(0));
        QTRY_VERIFY(paints.Count > 0);

        // mode 3 with a payment typed and not left: the click on a payment step leaves the box,
        // which fails, and is still carried out
        Click(f.rgCalculate->Button(3));
        f.edtPayment->setFocus();
        QTRY_VERIFY(f.edtPayment->hasFocus());
        f.edtPayment->selectAll();
        QTest::keyClicks(f.edtPayment, "0");
        QRadioButton *step100 = f.rgPayments->Button(4);
        Click(step100);
        QTRY_COMPARE(boxes.Texts().size(), 2);
        QCOMPARE(f.rgPayments->ItemIndex(), 4);
        QCOMPARE(CheckedCount(f.rgPayments), 1);
        QVERIFY(!step100->isDown());
    }

    // ---- The focus ----------------------------------------------------------------------------

    void theMonthsMessageGivesTheFocusBackToTheTermBox_data() {
        QTest::addColumn<QString>("months");
        QTest::newRow("0") << "0";
        QTest::newRow("1000") << "1000";
    }
    void theMonthsMessageGivesTheFocusBackToTheTermBox() {
        QFETCH(QString, months);
        TfrmMain &f = Open();
        TRealMessageBoxes boxes;
        f.edtTerm->setFocus();
        QTRY_VERIFY(f.edtTerm->hasFocus());
        QTest::keyClick(f.edtTerm, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f.edtTerm, Qt::Key_Delete);
        if (months != "0")
            QTest::keyClicks(f.edtTerm, months);
        Key(Qt::Key_Tab);
        QTRY_COMPARE(boxes.Texts().size(), 1);
        QCOMPARE(boxes.Texts().first(), QString("The number of months must be between 1 and 999."));
        QTRY_VERIFY(f.isActiveWindow());
        QTest::qWait(300); // the window manager's reactivation has come and gone
        QVERIFY(f.edtTerm->hasFocus());
        QCOMPARE(f.edtLoan->Value(), 100000.0);
    }

    // The menus, opened and left by the keyboard or closed by Escape after a click, with the
    // window manager moving the activation: the box being typed in is not left. Its typed value
    // is neither calculated with nor, after File > Exit, saved; the focus comes back to it.
    void aMenuIsNotLeavingTheBox_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<TMenuGesture>("gesture");
        const std::pair<const char *, TMenuGesture> gestures[] = {{"Alt", mgAlt},
                                                                  {"Alt+F, Escape", mgAltFEscape},
                                                                  {"Alt+F, X", mgAltFExit},
                                                                  {"click, Escape", mgClickEscape}};
        for (const char *box : {"edtLoan", "edtTerm", "edtInterest", "edtPayment"})
            for (const auto &[name, gesture] : gestures)
                QTest::addRow("%s: %s", box, name) << QString(box) << gesture;
    }
    void aMenuIsNotLeavingTheBox() {
        QFETCH(QString, box);
        QFETCH(TMenuGesture, gesture);
        TfrmMain &f = Open();
        f.DrawForThanks = [] {
            return 7;
        };
        if (box == "edtPayment")
            Click(f.rgCalculate->Button(1)); // the payment box is shown in mode 1
        auto *edit = f.findChild<QLineEdit *>(box);
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        const std::array<double, 4> last{f.LastLoan, f.LastTerm, f.LastInterest, f.LastPayment};
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, "99");
        QWindow *window = f.windowHandle();
        if (gesture == mgAlt) {
            QTest::keyClick(window, Qt::Key_Alt);
            QTRY_VERIFY(f.MainMenu1->hasFocus());
        } else if (gesture == mgClickEscape) {
            const QRect file = f.MainMenu1->actionGeometry(f.MainMenu1->actions().first());
            QTest::mouseClick(f.MainMenu1, Qt::LeftButton, {}, file.center());
        } else {
            QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
        }
        if (gesture != mgAlt) {
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::qWait(200); // the window manager and the keyboard grab have had their say
            QTest::keyClick(QApplication::activePopupWidget(),
                            gesture == mgAltFExit ? Qt::Key_X : Qt::Key_Escape);
        }
        Settle();
        if (gesture == mgAltFExit) {
            QTRY_VERIFY(!f.isVisible());
            QFile saved(FFolder->filePath("Vormex.Ini"));
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QVERIFY2(!saved.readAll().contains("99"), "the typed value was saved");
            return;
        }
        if (f.MainMenu1->hasFocus())
            QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE((std::array<double, 4>{f.LastLoan, f.LastTerm, f.LastInterest, f.LastPayment}),
                 last);
    }

    void anArrowKeyInTheModeGroupSwitchesAndMovesTheFocus() {
        TfrmMain &f = Open();
        QRadioButton *first = f.rgCalculate->Button(0);
        first->setFocus();
        QTRY_VERIFY(first->hasFocus());
        Key(Qt::Key_Down);
        QCOMPARE(f.CalcMode, TCalcMode::Loans);
        QTRY_VERIFY(f.edtPayment->hasFocus());
        QTest::qWait(100);
        QVERIFY(f.edtPayment->hasFocus());
    }

    // ---- The grid's click ----------------------------------------------------------------

    void onlyTheLeftButtonAndTheKeysClickTheGrid_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("recalculates");
        QTest::newRow("left") << int(Qt::LeftButton) << true;
        QTest::newRow("right") << int(Qt::RightButton) << false;
        QTest::newRow("middle") << int(Qt::MiddleButton) << false;
    }
    void onlyTheLeftButtonAndTheKeysClickTheGrid() {
        QFETCH(int, button);
        QFETCH(bool, recalculates);
        TfrmMain &f = Open();
        f.DisallowPrinting(); // as after a failure
        f.grdLS->SetCells(4, 6, "mark");
        const QPoint cell = f.grdLS->CellRect(2, 3).center();
        QTest::mouseClick(f.grdLS, Qt::MouseButton(button), {}, cell);
        Settle();
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        QCOMPARE(f.grdLS->Cells(4, 6) != "mark", recalculates);
        QCOMPARE(PrintingEnabled(), recalculates);
    }

    // ---- A message during the splash -----------------------------------------------------

    void aMessageBoxDuringTheSplashIsNotHiddenByIt() {
        TSplashScreen splash;
        splash.Timer1->start();
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        bool splashHidden = false;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (QApplication::activeModalWidget())
                splashHidden = !splash.isVisible();
        });
        probe.start(10);
        {
            TRealMessageBoxes boxes;
            MessageDlg("'lots' is not a valid floating point value", mtError, mbOK);
            QCOMPARE(boxes.Texts().size(), 1);
        }
        QVERIFY(splashHidden);
        QTRY_VERIFY(splash.isVisible()); // back on top for the rest of its time
    }

    // ---- Printing -----------------------------------------------------------------------

    void filePrintPreviewsPagesAndPrintsThenTheFocusComesBack() {
        TfrmMain &f = Open();
        TfrmPreview preview(&f);
        TQRPaymentChart chart(f, *f.rgCalculate, *f.grdLS, "www.tamblewick.example");
        PdfPrinter pdf(FFolder->filePath("chart.pdf"));
        QRect placed;
        QTimer waitForPreview; // the preparation's progress window comes first
        waitForPreview.start(20);
        connect(&waitForPreview, &QTimer::timeout, [&] {
            if (QApplication::activeWindow() != &preview)
                return;
            waitForPreview.stop();
            // the window manager carries out the placement a moment after the activation
            const QRect area = preview.screen()->availableGeometry();
            for (int i = 0; i < 100 && preview.frameGeometry() != area; ++i)
                QTest::qWait(20);
            placed = preview.frameGeometry();
            QTest::keyClick(&preview, Qt::Key_I, Qt::AltModifier);
            QTest::keyClick(&preview, Qt::Key_End);
            QTest::keyClick(&preview, Qt::Key_P, Qt::AltModifier);
        });
        f.mnuFilePrint->trigger();
        QCOMPARE(placed, preview.screen()->availableGeometry());
        QVERIFY(!preview.isVisible());
        QVERIFY(QFileInfo(FFolder->filePath("chart.pdf")).size() > 0);
        QTRY_VERIFY(f.edtLoan->hasFocus());
    }

    // F1 in the modal preview: the help comes up in front of it, and when closed, gives the
    // preview back.
    void helpFromThePreviewComesUpInFront() {
        QVERIFY(QFile::copy(QFINDTESTDATA("../../resources/vormex.hlp"),
                            FFolder->filePath("vormex.hlp")));
        TfrmMain &f = Open();
        TfrmPreview preview(&f);
        TQRPaymentChart chart(f, *f.rgCalculate, *f.grdLS, "www.tamblewick.example");
        PdfPrinter pdf(FFolder->filePath("help.pdf"));
        bool helpActive = false, backToPreview = false;
        QTimer waitForPreview;
        connect(&waitForPreview, &QTimer::timeout, [&] {
            if (QApplication::activeWindow() != &preview)
                return;
            waitForPreview.stop();
            QTest::keyClick(&preview, Qt::Key_F1);
            THelpViewer *help = HelpViewer();
            helpActive = help && QTest::qWaitFor([&] { return help->isActiveWindow(); });
            if (help)
                help->close();
            backToPreview = QTest::qWaitFor([&] { return preview.isActiveWindow(); });
            preview.close();
        });
        waitForPreview.start(20);
        f.mnuFilePrint->trigger();
        QVERIFY(helpActive);
        QVERIFY(backToPreview);
        WinHelp(nullptr, QString(), HELP_QUIT);
    }

    // ---- The amortization schedule ----------------------------------------------------------

    void aCellsScheduleOpensByMouseMenuAndKeys_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<TReach>("reach");
        QTest::addColumn<QPoint>("cell");         // (column, row) under the mouse
        QTest::addColumn<QList<int>>("keys");     // pressed in the grid after its click
        QTest::addColumn<QStringList>("summary"); // lines the window shows; none: no window
        using K = QList<int>;
        // The steps: loans by 1000, rates by 1/2, payments by 75 around 100,000, 8.75, 786.70.
        const QStringList centre{"Loan amount: $100,000.00", "Annual rate: 8.750%"};
        QTest::newRow("payments: double click")
            << 0 << rcDoubleClick << QPoint(2, 3) << K{}
            << QStringList{"Loan amount: $97,000.00", "Annual rate: 7.750%"};
        QTest::newRow("a heading") << 0 << rcDoubleClick << QPoint(3, 0) << K{} << QStringList{};
        QTest::newRow("the corner") << 0 << rcDoubleClick << QPoint(0, 0) << K{} << QStringList{};
        QTest::newRow("loans: the popup over a cell")
            << 1 << rcPopupMenu << QPoint(5, 8) << K{}
            << QStringList{"Annual rate: 9.250%", "Monthly payment: $936.70"};
        QTest::newRow("rates: the popup over a heading is the centre's")
            << 2 << rcPopupMenu << QPoint(0, 3) << K{} << centre;
        QTest::newRow("terms: Return, the selected cell")
            << 3 << rcReturnKey << QPoint(6, 2) << K{} << centre;
        QTest::newRow("Shift+F10") << 0 << rcShiftF10 << QPoint(6, 2) << K{} << centre;
        QTest::newRow("payments: arrows, then Return")
            << 0 << rcReturnKey << QPoint(4, 6) << K{Qt::Key_Left, Qt::Key_Left, Qt::Key_Up}
            << QStringList{"Loan amount: $99,000.00", "Annual rate: 7.750%"};
        QTest::newRow("Home and Page Down, then Shift+F10")
            << 0 << rcShiftF10 << QPoint(4, 6) << K{Qt::Key_Home, Qt::Key_PageDown}
            << QStringList{"Loan amount: $105,000.00", "Annual rate: 7.250%"};
        QTest::newRow("End, Page Up and Down, then the Menu key")
            << 0 << rcMenuKey << QPoint(4, 6) << K{Qt::Key_End, Qt::Key_PageUp, Qt::Key_Down}
            << QStringList{"Loan amount: $96,000.00", "Annual rate: 10.250%"};
    }
    void aCellsScheduleOpensByMouseMenuAndKeys() {
        QFETCH(int, mode);
        QFETCH(TReach, reach);
        QFETCH(QPoint, cell);
        QFETCH(QList<int>, keys);
        QFETCH(QStringList, summary);
        TfrmMain &f = Open();
        if (mode != 0)
            Click(f.rgCalculate->Button(mode));
        const QPoint at = f.grdLS->CellRect(cell.x(), cell.y()).center();
        if (reach == rcDoubleClick)
            QTest::mouseDClick(f.grdLS, Qt::LeftButton, {}, at);
        if (reach == rcPopupMenu) {
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, f.grdLS->mapToGlobal(at));
            QApplication::sendEvent(f.grdLS, &rightClick);
        }
        if (reach == rcReturnKey || reach == rcShiftF10 || reach == rcMenuKey) {
            Click(f.grdLS, Qt::LeftButton, at); // the grid takes the focus
            QTRY_VERIFY(f.grdLS->hasFocus());
            for (int key : keys)
                QTest::keyClick(f.windowHandle(), Qt::Key(key));
            const QKeyCombination ask = reach == rcReturnKey ? QKeyCombination(Qt::Key_Return)
                                        : reach == rcMenuKey ? QKeyCombination(Qt::Key_Menu)
                                                             : Qt::ShiftModifier | Qt::Key_F10;
            QTest::keyClick(f.windowHandle(), ask.key(), ask.keyboardModifiers());
        }
        if (reach == rcPopupMenu || reach == rcShiftF10 || reach == rcMenuKey) {
            QTRY_COMPARE(QApplication::activePopupWidget(), f.mnuPop);
            QTest::keyClick(f.mnuPop, Qt::Key_S);
        }
        Settle();
        if (summary.isEmpty()) {
            QTest::qWait(200);
            QCOMPARE(frmSchedule, nullptr);
            QVERIFY(f.isActiveWindow());
            return;
        }
        QTRY_VERIFY(frmSchedule && frmSchedule->isActiveWindow());
        for (const QString &line : summary)
            QVERIFY2(Summary(*frmSchedule).contains(line),
                     qPrintable(Summary(*frmSchedule).join("; ")));
        QTRY_VERIFY(frmSchedule->tblSchedule->hasFocus());
        // a second request replaces the content of the one window and brings it forward
        TfrmSchedule *first = frmSchedule;
        f.activateWindow();
        QTRY_VERIFY(f.isActiveWindow());
        QTest::mouseDClick(f.grdLS, Qt::LeftButton, {}, f.grdLS->CellRect(7, 1).center());
        QTRY_VERIFY(first->isActiveWindow());
        QCOMPARE(frmSchedule, first);
        QVERIFY(!Summary(*first).contains(summary.first()));
        // closed, it gives the focus back to the grid, on the cell of the schedule shown
        QTest::qWait(200); // the window manager has carried out the activations asked for
        first->close();
        QTRY_VERIFY(f.grdLS->hasFocus());
        QTest::qWait(200); // the window manager's activation has come and gone
        QVERIFY(f.grdLS->hasFocus());
        QCOMPARE((QPoint{f.grdLS->Col(), f.grdLS->Row()}), QPoint(7, 1));
    }

    void aCellWhoseLoanIsNotRepaidSaysSoAndOpensNothing() {
        TfrmMain &f = Open();
        Click(f.rgCalculate->Button(1)); // loans from payments
        f.edtPayment->SetValue(100);     // the loans of the first rows are below zero
        f.ChooseQuorvale(f.edtPayment);
        TRealMessageBoxes boxes;
        QTest::mouseDClick(f.grdLS, Qt::LeftButton, {}, f.grdLS->CellRect(1, 1).center());
        QTRY_COMPARE(boxes.Texts(), QStringList{NoScheduleText(TNoSchedule::NoLoan)});
        QCOMPARE(frmSchedule, nullptr);
        QTRY_VERIFY(f.isActiveWindow());
    }
};

QUORVALE_DESKTOP_TEST_MAIN(TestDesktop)
#include "tst_Desktop.moc"
