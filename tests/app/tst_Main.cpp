#include "app/Main.h"

#include "app/Close.h"
#include "app/URL.h"
#include "controls/Aligrid.h"
#include "controls/ExplBtn.h"
#include "controls/FnpNumericEdit.h"
#include "controls/NumCtrl.h"
#include "platform/ExtCtrls.h"
#include "platform/IniFiles.h"
#include "platform/WinHelp.h"
#include "printing/Preview.h"
#include "printing/Qrchart.h"
#include "printing/Quickrep.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/Layout.h"
#include "tests/support/ShellRecorder.h"
#include "tests/support/TestMain.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <map>
#include <memory>
#include <sys/stat.h>

namespace {

QString ReadFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Closes whatever modal window is up, once the event loop runs it.
void CloseModalSoon() {
    QTimer::singleShot(0, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
}

// The ways a user opens a menu while typing in a box.
enum TMenuOpening { moAltAlone, moAltF, moRightClickOnARadioItem };

// What stands where the saved values file should be written.
enum TUnwritable { uwProtectedFile, uwFolder, uwPipe };

} // namespace

class TestMain : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FFolder;
    std::unique_ptr<DialogRecorder> FDialogs;
    std::unique_ptr<TfrmMain> F;
    std::unique_ptr<ShellRecorder> FShell;

    TfrmMain &Open() {
        F = std::make_unique<TfrmMain>(FFolder->path());
        F->show();
        F->activateWindow();
        if (!QTest::qWaitForWindowActive(F.get()))
            qWarning("main window not active");
        return *F;
    }
    QString Cell(int col, int row) const { return F->grdLS->Cells(col, row); }
    QStringList Row(int row) const {
        QStringList texts;
        for (int c = 1; c <= 7; ++c)
            texts << Cell(c, row);
        return texts;
    }
    QStringList Col(int col) const {
        QStringList texts;
        for (int r = 1; r <= 11; ++r)
            texts << Cell(col, r);
        return texts;
    }
    // Marks the grid so that a recalculation shows: it rewrites the marked cell.
    void MarkGrid() { F->grdLS->SetCells(4, 6, QStringLiteral("mark")); }
    bool Recalculated() const { return Cell(4, 6) != QStringLiteral("mark"); }
    // An error of what the click or key started reaches the error hook once Qt has finished
    // the event; these let that happen before the test looks.
    void ClickMode(int mode) {
        QTest::mouseClick(F->rgCalculate->Button(mode), Qt::LeftButton, {}, QPoint(5, 5));
        QCoreApplication::sendPostedEvents();
    }
    void Type(QWidget *box, const QString &text) {
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        static_cast<QLineEdit *>(box)->selectAll();
        QTest::keyClicks(box, text);
    }
    void Tab() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::sendPostedEvents();
    }
    bool PrintingEnabled() const {
        return F->btnPrint->isEnabled() && F->mnuFilePrint->isEnabled() &&
               F->mnuPopPrint->isEnabled() && F->mnuPopSchedule->isEnabled();
    }
    bool PrintingDisabled() const {
        return !F->btnPrint->isEnabled() && !F->mnuFilePrint->isEnabled() &&
               !F->mnuPopPrint->isEnabled() && !F->mnuPopSchedule->isEnabled();
    }
    QString IniPath() const { return FFolder->path() + "/Vormex.Ini"; }

private slots:
    void initTestCase() { SetFormatSettings(UnitedStatesFormatSettings()); }
    void init() {
        FFolder = std::make_unique<QTemporaryDir>();
        FDialogs = std::make_unique<DialogRecorder>();
        FShell = std::make_unique<ShellRecorder>();
    }
    void cleanup() {
        if (F) {
            F->DrawForThanks = [] {
                return 7;
            };
            F.reset();
        }
        FShell.reset();
        FDialogs.reset();
        FFolder.reset();
    }

    // ---- The window at start -----------------------------------------------------------

    void startsWithTheDefaultsAndTheFirstGrid() {
        TfrmMain &f = Open();
        QCOMPARE(f.windowTitle(), QString("Quorvale Pro, 1.6.12"));
        QCOMPARE(f.centralWidget()->size(), QSize(612, 404));
        QVERIFY(f.edtLoan->hasFocus());
        QCOMPARE(f.edtLoan->text(), QString("100,000.00")); // its editing form
        QCOMPARE(f.edtPayment->text(), QString("$786.70"));
        QCOMPARE(f.edtTerm->text(), QString("360"));
        QCOMPARE(f.edtInterest->text(), QString("8.750"));
        QCOMPARE(f.edtPayment->Value(), 786.7);
        QVERIFY(!f.edtPayment->isVisible());
        QVERIFY(!f.rgPayments->isVisible());
        QCOMPARE(f.rgLoan->ItemIndex(), 3);
        QCOMPARE(f.rgInterest->ItemIndex(), 3);
        QCOMPARE(f.rgPayments->ItemIndex(), 3);
        QCOMPARE(f.rgCalculate->Items().first(), QString("PMT (P && I)"));
        QCOMPARE(Cell(0, 0), QString(" Loan / Rate"));
        QCOMPARE(Cell(4, 6), QString(" $786.70"));
        for (int r = 1; r <= 11; ++r) // loans from 95000 by 1000 at 7.25 %
            QCOMPARE(
                Cell(1, r),
                QString::fromStdString(
                    " " + CurrencyText(CalcPayment(360, 94000 + 1000 * r, 7.25 / 1200), 10, 2)));
        QCOMPARE(f.LoanStepText, std::string("$1000"));
        QCOMPARE(f.RateStepText, std::string("1/2%"));
        QCOMPARE(f.PaymentStepText, std::string(" "));
        QVERIFY(PrintingEnabled());
        QCOMPARE(f.StatusBar1->SimpleText(),
                 QString(" Welcome to Tamblewick Software's Quorvale Pro!"));
        QCOMPARE(Application()->HelpFile(), QDir(FFolder->path()).filePath("vormex.hlp"));
        QCOMPARE(Application()->HintPause(), 500);
        QVERIFY(!f.mnuFileReset->isVisible());
        QVERIFY(FDialogs->Requests().isEmpty());
    }

    // The places are logical pixels at any scale of the screen (the scaled runs of this test
    // set QT_SCALE_FACTOR), where the window has that many device pixels to each.
    void theControlsStandAtTheirPlaces() {
        TfrmMain &f = Open();
        const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
        QCOMPARE(f.devicePixelRatioF(), scale);
        QCOMPARE(f.centralWidget()->size(), QSize(612, 404));
        QCOMPARE(f.centralWidget()->grab().size(), QSize(612, 404) * scale);
        QCOMPARE(f.Panel2->geometry(), QRect(0, 0, 612, 32));
        QCOMPARE(f.Panel1->geometry(), QRect(0, 32, 612, 97));
        QCOMPARE(f.grdLS->geometry(), QRect(0, 129, 612, 257));
        QCOMPARE(f.StatusBar1->geometry(), QRect(0, 385, 612, 19));
        QCOMPARE(f.edtLoan->geometry(), QRect(50, 21, 105, 21));
        QCOMPARE(f.edtTerm->geometry(), QRect(50, 46, 105, 21));
        QCOMPARE(f.edtInterest->geometry(), QRect(50, 71, 105, 21));
        QCOMPARE(f.rgCalculate->geometry(), QRect(165, 15, 102, 78));
        QCOMPARE(f.rgLoan->geometry(), QRect(284, 15, 150, 78));
        QCOMPARE(f.rgInterest->geometry(), QRect(451, 15, 150, 78));
        for (auto [heading, left] :
             {std::pair{f.Label1, 50}, {f.Label7, 165}, {f.lblLeft, 284}, {f.lblRight, 451}})
            QCOMPARE(heading->pos(), QPoint(left, 2));
        for (auto [caption, top] : {std::pair{f.lbl1, 25}, {f.lbl2, 50}, {f.lbl3, 75}})
            QCOMPARE(caption->geometry(), QRect(0, top, 46, 13)); // right-aligned at 46
        const QList<TExplorerButton *> buttons = {f.btnPrint,  f.btnPrinterSetup, f.btnDisclaim,
                                                  f.btnUpdate, f.btnHelp,         f.btnExit};
        const int lefts[] = {10, 42, 74, 106, 138, 579};
        const char *hints[] = {" Print ...",      " Printer Setup ...",
                               " Disclaimer ...", " Check for Updates ...",
                               " Help ...",       " Exit"};
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(buttons[i]->geometry(), QRect(lefts[i], 4, 24, 24));
            QCOMPARE(buttons[i]->toolTip(), QString(hints[i]));
            QVERIFY(ShowsHint(buttons[i]));
            QVERIFY(!buttons[i]->Bitmap().isNull());
        }
        QVERIFY(ShowsHint(f.grdLS));
        QVERIFY(!ShowsHint(f.edtLoan));
        QVERIFY(!ShowsHint(f.rgLoan));
    }

    // Each mode changes the captions and headings, so each is measured; the headings end
    // in a colon only until the first switch.
    void everyTextShowsInFullAndNothingOverlaps_data() {
        QTest::addColumn<QList<int>>("switches");
        QTest::addColumn<QStringList>("designOverlaps");
        const QString grid = "grdLS overlaps StatusBar1";
        QTest::newRow("as opened") << QList<int>{} << QStringList{grid};
        QTest::newRow("Loans") << QList<int>{1}
                               << QStringList{grid, "lblLeft overlaps rgPayments",
                                              "lblRight overlaps rgInterest"};
        QTest::newRow("Rates") << QList<int>{2}
                               << QStringList{grid, "lblLeft overlaps rgLoan",
                                              "lblRight overlaps rgPayments"};
        QTest::newRow("Term (months)")
            << QList<int>{3}
            << QStringList{grid, "lblLeft overlaps rgLoan", "lblRight overlaps rgPayments"};
        QTest::newRow("PMT after a switch")
            << QList<int>{1, 0}
            << QStringList{grid, "lblLeft overlaps rgLoan", "lblRight overlaps rgInterest"};
    }
    void everyTextShowsInFullAndNothingOverlaps() {
        QFETCH(QList<int>, switches);
        QFETCH(QStringList, designOverlaps);
        TfrmMain &f = Open();
        for (int mode : switches)
            ClickMode(mode);
        // The overlaps of the design, one pixel row each: the grid (129 + 257) reaches under
        // the status bar at 385, and the switch puts the step groups at top 14, the last row
        // of the headings above them (2 + 13 high). Nothing of either is hidden: the status
        // bar lies over the grid's outer edge, and the groups draw their frames inside.
        QStringList faults = LayoutFaults(&f);
        for (const QString &overlap : designOverlaps)
            QVERIFY2(faults.removeOne(overlap), qPrintable(overlap));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    // ---- The typical event, end to end -------------------------------------------------

    void typingALoanAndTabbingAwayRecalculates() {
        TfrmMain &f = Open();
        QTRY_VERIFY(f.edtLoan->hasFocus());
        QCOMPARE(f.edtLoan->text(), QString("100,000.00"));
        QTest::keyClicks(f.edtLoan, "250000");
        QTest::keyClick(f.edtLoan, Qt::Key_Tab);
        QCOMPARE(f.edtLoan->text(), QString("$250,000.00"));
        QCOMPARE(f.LastLoan, 250000.0);
        QCOMPARE(Cell(0, 6), QString(" $250,000"));
        QCOMPARE(Cell(4, 6), QString(" $1,966.75"));
        QCOMPARE(f.grdLS->Selection(), (TGridRect{4, 6, 4, 6}));
        QCOMPARE(f.grdLS->ColorCol(4), QColor(255, 255, 0));
        QCOMPARE(f.grdLS->ColorRow(6), QColor(255, 255, 0));
        QVERIFY(PrintingEnabled());
        QVERIFY(f.edtTerm->hasFocus());
    }

    void leavingABoxThenClickingAGroupRecalculatesTwice() {
        TfrmMain &f = Open();
        Type(f.edtTerm, "240");
        MarkGrid();
        QTest::mouseClick(f.rgLoan->Button(5), Qt::LeftButton, {}, QPoint(5, 5));
        // the box was left (first recalculation, with step 1000), then the group clicked
        QCOMPARE(f.LastTerm, 240.0);
        QCOMPARE(f.LoanStepText, std::string("$2500"));
        QCOMPARE(Cell(0, 5), QString(" $97,500"));
        MarkGrid();
        QTest::mouseClick(f.rgInterest->Button(7), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(Recalculated());
        QCOMPARE(Cell(3, 0), QString("  7.75%"));
    }

    void clickingAnyCellRecalculatesAndPutsTheSelectionBack() {
        TfrmMain &f = Open();
        for (QPoint cell : {QPoint(1, 1), QPoint(0, 0), QPoint(7, 11), QPoint(3, 0)}) {
            MarkGrid();
            const QRect r = f.grdLS->CellRect(cell.x(), cell.y());
            QTest::mouseClick(f.grdLS, Qt::LeftButton, {}, r.center());
            QVERIFY(Recalculated());
            QCOMPARE(f.grdLS->Selection(), (TGridRect{4, 6, 4, 6}));
        }
    }

    // ---- Copying the grid --------------------------------------------------------------

    // Ctrl+C outside the edit boxes puts the whole grid on the clipboard, 12 lines of 8
    // cells, plain and as a table; inside a box it stays the box's own copy.
    void ctrlCCopiesTheGridUnlessAnEditBoxHasTheFocus_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("copiesGrid");
        QTest::newRow("grid") << "grid" << true;
        QTest::newRow("mode item") << "mode item" << true;
        QTest::newRow("loan box") << "loan box" << false;
    }
    void ctrlCCopiesTheGridUnlessAnEditBoxHasTheFocus() {
        QFETCH(QString, focus);
        QFETCH(bool, copiesGrid);
        TfrmMain &f = Open();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QWidget *target = focus == "grid"        ? static_cast<QWidget *>(f.grdLS)
                          : focus == "mode item" ? static_cast<QWidget *>(f.rgCalculate->Button(0))
                                                 : f.edtLoan;
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());
        if (target == f.edtLoan)
            f.edtLoan->selectAll();
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
        const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
        if (!copiesGrid) {
            QCOMPARE(copied->text(), QString("100,000.00"));
            QVERIFY(!copied->hasHtml());
            return;
        }
        const QStringList lines = copied->text().split('\n');
        QCOMPARE(lines.size(), 13); // 12 lines, each ended
        QCOMPARE(lines.last(), QString());
        for (int row = 0; row < 12; ++row) {
            const QStringList cells = lines[row].split('\t');
            QCOMPARE(cells.size(), 8);
            for (int col = 0; col < 8; ++col)
                QCOMPARE(cells[col], Cell(col, row).trimmed());
        }
        QCOMPARE(lines[0].section('\t', 0, 1), QString("Loan / Rate\t7.25%"));
        QCOMPARE(lines[6].split('\t')[4], QString("$786.70"));
        const QString html = copied->html();
        QCOMPARE(html.count("<tr>"), 12);
        QCOMPARE(html.count("<td>"), 96);
        QVERIFY(html.contains("<tr><td>$100,000</td>"));
    }

    // ---- Assistive technology ----------------------------------------------------------

    QWidget *Control(const QString &name) const {
        const std::map<QString, QWidget *> controls = {{"edtLoan", F->edtLoan},
                                                       {"edtTerm", F->edtTerm},
                                                       {"edtInterest", F->edtInterest},
                                                       {"edtPayment", F->edtPayment},
                                                       {"rgCalculate", F->rgCalculate},
                                                       {"rgInterest", F->rgInterest},
                                                       {"PMT item", F->rgCalculate->Button(0)},
                                                       {"1/8 item", F->rgInterest->Button(0)},
                                                       {"btnPrint", F->btnPrint},
                                                       {"btnExit", F->btnExit},
                                                       {"grdLS", F->grdLS}};
        return controls.at(name);
    }

    void everyControlHasAnAccessibleNameAndDescription_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("value");
        auto row = [](const char *control, QAccessible::Role role, const char *name,
                      const char *description, const char *value = "") {
            QTest::newRow(control) << control << int(role) << name << description << value;
        };
        row("edtLoan", QAccessible::EditableText, "Loan", "Enter the amount of the loan",
            "$100,000.00");
        row("edtTerm", QAccessible::EditableText, "Months", "Enter the term of the loan in months",
            "360");
        row("edtInterest", QAccessible::EditableText, "Rate", "Enter the interest rate", "8.750");
        row("edtPayment", QAccessible::EditableText, "PMT", "Enter the monthly payment amount",
            "$786.70");
        row("rgCalculate", QAccessible::Grouping, "Calculate",
            "Click the radio button of the variable to be calculated and displayed in the grid.");
        row("rgInterest", QAccessible::Grouping, "Increment Interest Rates By",
            "Click the radio button of the interest rate increment to use for calculations");
        row("PMT item", QAccessible::RadioButton, "PMT (P & I)",
            "Click the radio button of the variable to be calculated and displayed in the grid.");
        row("1/8 item", QAccessible::RadioButton, "1/8's",
            "Click the radio button of the interest rate increment to use for calculations");
        row("btnPrint", QAccessible::Button, "Print", "Print ...");
        row("btnExit", QAccessible::Button, "Exit", "Exit");
        row("grdLS", QAccessible::Table, "Spread", "Grid is displaying Payment Amounts");
    }
    void everyControlHasAnAccessibleNameAndDescription() {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QFETCH(QString, value);
        Open().rgCalculate->Button(0)->setFocus(); // every box in its display form
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(Control(control));
        QVERIFY(a);
        QCOMPARE(int(a->role()), role);
        QCOMPARE(a->text(QAccessible::Name), name);
        QCOMPARE(a->text(QAccessible::Description), description);
        if (!value.isEmpty())
            QCOMPARE(a->text(QAccessible::Value), value);
    }

    void theToolbarButtonsCanBePressedByAssistiveTechnology() {
        TfrmMain &f = Open();
        QSignalSpy closed(&f, &TfrmMain::Closed);
        f.DrawForThanks = [] {
            return 9;
        };
        QAccessibleActionInterface *press =
            QAccessible::queryAccessibleInterface(f.btnExit)->actionInterface();
        QVERIFY(press);
        QCOMPARE(press->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        press->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(closed.size(), 0); // the click follows the bridge's answer
        QTRY_COMPARE(closed.size(), 1);
    }

    // The grid is a table of 12 rows of 8 cells: the headings are row and column headers,
    // every cell reads its text, and the centre is the selected cell.
    void theGridIsAnAccessibleTable() {
        TfrmMain &f = Open();
        QAccessibleTableInterface *table =
            QAccessible::queryAccessibleInterface(f.grdLS)->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 12);
        QCOMPARE(table->columnCount(), 8);
        QCOMPARE(QAccessible::queryAccessibleInterface(f.grdLS)->childCount(), 96);
        for (int row = 0; row < 12; ++row)
            for (int col = 0; col < 8; ++col) {
                QAccessibleInterface *cell = table->cellAt(row, col);
                QCOMPARE(cell->text(QAccessible::Name), Cell(col, row).trimmed());
                QCOMPARE(cell->parent(), QAccessible::queryAccessibleInterface(f.grdLS));
                QCOMPARE(cell->rect().size(), f.grdLS->CellRect(col, row).size());
            }
        QAccessibleInterface *centre = table->cellAt(6, 4);
        QCOMPARE(centre->role(), QAccessible::Cell);
        QCOMPARE(centre->text(QAccessible::Name), QString("$786.70"));
        QAccessibleTableCellInterface *c = centre->tableCellInterface();
        QVERIFY(c && c->isSelected());
        QCOMPARE(c->rowIndex(), 6);
        QCOMPARE(c->columnIndex(), 4);
        QCOMPARE(c->rowHeaderCells().first()->text(QAccessible::Name), QString("$100,000"));
        QCOMPARE(c->columnHeaderCells().first()->text(QAccessible::Name), QString("8.75%"));
        // a heading is its own header: a column's header is asked of its first cell
        QCOMPARE(table->cellAt(0, 4)->tableCellInterface()->columnHeaderCells(),
                 QList<QAccessibleInterface *>{table->cellAt(0, 4)});
        QCOMPARE(table->cellAt(6, 0)->tableCellInterface()->rowHeaderCells(),
                 QList<QAccessibleInterface *>{table->cellAt(6, 0)});
        QCOMPARE(table->cellAt(0, 0)->role(), QAccessible::ColumnHeader);
        QCOMPARE(table->cellAt(3, 0)->role(), QAccessible::RowHeader);
        QCOMPARE(table->selectedCells(), QList<QAccessibleInterface *>{centre});
        QCOMPARE(table->cellAt(12, 0), nullptr);
        const QRect r = centre->rect();
        QCOMPARE(
            QAccessible::queryAccessibleInterface(f.grdLS)->childAt(r.center().x(), r.center().y()),
            centre);
        // a later fill reads anew; a mode switch tells what the grid now shows
        f.rgCalculate->Button(1)->click();
        QCOMPARE(table->cellAt(6, 4)->text(QAccessible::Name), Cell(4, 6).trimmed());
        QCOMPARE(QAccessible::queryAccessibleInterface(f.grdLS)->text(QAccessible::Description),
                 QString("Grid is displaying Loan Amounts"));
    }

    // ---- The mode switch ---------------------------------------------------------------

    void modeOneMovesThePaymentBoxToTheFirstRow() {
        TfrmMain &f = Open();
        ClickMode(1);
        QCOMPARE(f.CalcMode, TCalcMode::Loans);
        QVERIFY(!f.edtLoan->isVisible());
        QVERIFY(f.edtPayment->isVisible());
        QCOMPARE(f.edtPayment->geometry(), QRect(50, 21, 105, 21));
        QCOMPARE(f.lbl1->text(), QString("PMT"));
        QVERIFY(f.edtPayment->hasFocus());
        QCOMPARE(f.edtPayment->text(), QString("786.70")); // its editing form
        QCOMPARE(Cell(0, 0), QString(" Pmt / Rate"));
        QCOMPARE(Cell(4, 6), QString(" $100,000"));
        ClickMode(0);
        QVERIFY(!f.edtPayment->isVisible());
        QVERIFY(f.edtLoan->isVisible());
        QCOMPARE(f.lbl1->text(), QString("Loan"));
    }

    void aRunOfSwitchesLeavesOnlyTheLastModesLayout() {
        TfrmMain &f = Open();
        QCOMPARE(f.lblLeft->text(), QString("Increment Loan Amounts By:"));
        QCOMPARE(f.lblRight->text(), QString("Increment Interest Rates By:"));
        for (int mode : {0, 2, 3, 1})
            ClickMode(mode);
        QCOMPARE(f.CalcMode, TCalcMode::Loans);
        QVERIFY(f.edtPayment->isVisible() && f.edtTerm->isVisible() && f.edtInterest->isVisible());
        QVERIFY(!f.edtLoan->isVisible());
        QCOMPARE(f.edtPayment->pos(), QPoint(50, 21));
        QCOMPARE(f.edtTerm->pos(), QPoint(50, 46));
        QCOMPARE(f.edtInterest->pos(), QPoint(50, 71));
        QCOMPARE(QStringList({f.lbl1->text(), f.lbl2->text(), f.lbl3->text()}),
                 QStringList({"PMT", "Months", "Rate"}));
        QCOMPARE(f.lblLeft->text(), QString("Increment Payments By"));
        QCOMPARE(f.lblRight->text(), QString("Increment Interest Rates By"));
        QVERIFY(f.rgPayments->isVisible() && f.rgInterest->isVisible() && !f.rgLoan->isVisible());
        QCOMPARE(f.rgPayments->pos(), QPoint(284, 14));
        QCOMPARE(f.rgInterest->pos(), QPoint(451, 14));
        // the keyboard goes through the boxes of rows 1 to 3, then the groups
        QVERIFY(f.edtPayment->hasFocus());
        Tab();
        QVERIFY(f.edtTerm->hasFocus());
        Tab();
        QVERIFY(f.edtInterest->hasFocus());
        Tab();
        QCOMPARE(QApplication::focusWidget(), f.rgInterest->Button(3));
        Tab();
        QCOMPARE(QApplication::focusWidget(), f.rgPayments->Button(3));
    }

    void eachModeShowsItsOwnBoxesCaptionsAndCorner_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("corner");
        QTest::addColumn<QString>("centre");
        QTest::newRow("payments") << 0 << QStringList{"Loan", "Months", "Rate"} << " Loan / Rate"
                                  << " $786.70";
        QTest::newRow("loans") << 1 << QStringList{"PMT", "Months", "Rate"} << " Pmt / Rate"
                               << " $100,000";
        QTest::newRow("rates") << 2 << QStringList{"Loan", "Months", "PMT"} << " Loan / Pmt"
                               << " 8.750%";
        QTest::newRow("terms") << 3 << QStringList{"Loan", "Rate", "PMT"} << " Loan / Pmt"
                               << " 360.00";
    }
    void eachModeShowsItsOwnBoxesCaptionsAndCorner() {
        QFETCH(int, mode);
        QFETCH(QStringList, captions);
        QFETCH(QString, corner);
        QFETCH(QString, centre);
        TfrmMain &f = Open();
        ClickMode(mode == 0 ? 1 : 0);
        ClickMode(mode);
        QCOMPARE(QStringList({f.lbl1->text(), f.lbl2->text(), f.lbl3->text()}), captions);
        QCOMPARE(Cell(0, 0), corner);
        QCOMPARE(Cell(4, 6), centre);
        QVERIFY(PrintingEnabled());
        QCOMPARE(QApplication::focusWidget(),
                 mode == 1 ? static_cast<QWidget *>(f.edtPayment) : f.edtLoan);
    }

    void withTheCaretInTheLoanBoxAModeClickFirstRecalculatesTheOldMode() {
        TfrmMain &f = Open();
        Type(f.edtLoan, "120000");
        ClickMode(1);
        QCOMPARE(f.LastLoan, 120000.0); // stored by the old mode's run on leaving the box
        QCOMPARE(f.CalcMode, TCalcMode::Loans);
        QCOMPARE(Cell(0, 0), QString(" Pmt / Rate"));
    }

    // ---- Hints ---------------------------------------------------------------------------

    void theStatusBarEchoesTheHintUnderTheMouse() {
        TfrmMain &f = Open();
        QTest::mouseMove(f.edtLoan, QPoint(5, 5));
        QTRY_COMPARE(f.StatusBar1->SimpleText(), QString(" Enter the amount of the loan"));
        QTest::mouseMove(f.Panel1, QPoint(590, 5)); // a bare part of the panel
        QTRY_COMPARE(f.StatusBar1->SimpleText(), QString());
        QTest::mouseMove(f.btnPrint, QPoint(5, 5));
        QTRY_COMPARE(f.StatusBar1->SimpleText(), QString(" Print ..."));
        QTest::mouseMove(f.rgLoan->Button(4), QPoint(3, 3));
        QTRY_COMPARE(f.StatusBar1->SimpleText(),
                     QString(" Click the radio button of the loan amount increment to use for "
                             "calculations"));
    }

    void theGridHintFollowsTheMode() {
        TfrmMain &f = Open();
        QCOMPARE(f.grdLS->toolTip(), QString());
        ClickMode(2);
        QTest::mouseMove(f.grdLS, QPoint(100, 100));
        QTRY_COMPARE(f.grdLS->toolTip(), QString(" Grid is displaying Interest Rates"));
        QTRY_COMPARE(f.StatusBar1->SimpleText(), QString(" Grid is displaying Interest Rates"));
        ClickMode(3);
        QTest::mouseMove(f.grdLS, QPoint(120, 100));
        QTRY_COMPARE(f.grdLS->toolTip(), QString(" Grid is displaying Term in Months"));
    }

    // ---- The grid's reset ----------------------------------------------------------------

    void cleanGridPutsTheSampleOfTheMode() {
        TfrmMain &f = Open();
        f.grdLS->SetColWidths(2, 30);
        f.CalcMode = TCalcMode::Loans;
        f.CleanGrid();
        QCOMPARE(Cell(0, 0), QString(" Pmt / Rate"));
        QCOMPARE(Col(0), QStringList({" 7.50%", " 7.75%", " 8.00%", " 8.25%", " 8.50%", " 8.75%",
                                      " 9.00%", " 9.25%", " 9.50%", " 9.75%", "10.00%"}));
        QCOMPARE(Row(0), QStringList({"$650.00", "$700.00", "$750.00", "$800.00", "$850.00",
                                      "$900.00", "$950.00"}));
        QCOMPARE(Row(6), QStringList(7, QString()));
        QCOMPARE(f.grdLS->ColWidths(2), 75);
        QCOMPARE(f.grdLS->Selection(), (TGridRect{4, 6, 4, 6}));
        f.CalcMode = TCalcMode::Payments;
        f.CleanGrid();
        QCOMPARE(Cell(0, 0), QString(" Loan / Rate"));
        QCOMPARE(Cell(0, 1), QString(" $95,000"));
        QCOMPARE(Cell(1, 0), QString("8.00%"));
        f.CalcMode = TCalcMode::Terms;
        f.CleanGrid();
        QCOMPARE(Cell(0, 0), QString(" Loan / Pmt"));
        QCOMPARE(Cell(7, 0), QString("$950.00"));
        QCOMPARE(Cell(0, 11), QString(" $105,000"));
    }

    // ---- Errors ---------------------------------------------------------------------------

    void aMathErrorResetsTheModesBoxesAndDisablesPrinting() {
        TfrmMain &f = Open();
        f.edtLoan->SetValue(5000);
        f.edtTerm->SetValue(12);
        f.edtInterest->SetValue(-1300); // below -1200 %: no payment can be computed
        QTRY_VERIFY(f.edtLoan->hasFocus());
        Tab(); // leaving the loan box recalculates
        QCOMPARE(FDialogs->Texts(),
                 QStringList({"Valid results cannot be calculated using\n\rthe variables you "
                              "have entered.\n\r\n\rPlease try again with reasonable values."}));
        QCOMPARE(f.edtLoan->Value(), 100000.0);
        QCOMPARE(f.edtInterest->text(), QString("8.750"));
        QCOMPARE(f.edtTerm->text(), QString("360"));
        QCOMPARE(Cell(4, 6), QString(" $786.70"));
        QVERIFY(PrintingDisabled());
        QTRY_VERIFY(f.edtLoan->hasFocus());
        // the next click on the grid recalculates and enables printing again
        QTest::mouseClick(f.grdLS, Qt::LeftButton, {}, f.grdLS->CellRect(2, 2).center());
        QVERIFY(PrintingEnabled());
    }

    void aMathErrorInModeTwoKeepsTheHiddenRate() {
        TfrmMain &f = Open();
        ClickMode(2);
        f.edtInterest->SetValue(5.5);
        Type(f.edtPayment, "-");
        QTest::keyClicks(f.edtPayment, "200000");
        Tab();
        QCOMPARE(FDialogs->Requests().size(), 1);
        QCOMPARE(f.edtPayment->Value(), 786.7);
        QCOMPARE(f.edtInterest->Value(), 5.5);
        QCOMPARE(f.edtLoan->Value(), 100000.0);
        QCOMPARE(Cell(4, 6), QString(" 8.750%"));
        QVERIFY(PrintingDisabled());
    }

    void aConversionErrorChangesNoInput() {
        TfrmMain &f = Open();
        Type(f.edtLoan, "-");
        Tab(); // a lone "-" is not a number
        QCOMPARE(FDialogs->Texts(), QStringList({"An unidentified error has occurred."}));
        QCOMPARE(f.edtTerm->text(), QString("360"));
        QCOMPARE(f.edtInterest->text(), QString("8.750"));
        QVERIFY(PrintingDisabled());
    }

    void leavingTheTermBoxWithZeroComplainsAndComesBack() {
        TfrmMain &f = Open();
        Type(f.edtTerm, "");
        QTest::keyClick(f.edtTerm, Qt::Key_Delete);
        QCOMPARE(f.edtTerm->text(), QString("0"));
        Tab();
        QCOMPARE(FDialogs->Texts(),
                 QStringList({"The number of months must be between 1 and 999."}));
        QCOMPARE(f.LastTerm, 0.0); // the recalculation ran with the term 0
        QCOMPARE(Cell(4, 6), QString(" $0.00"));
        QTRY_VERIFY(f.edtTerm->hasFocus());
    }

    // ---- Menus and buttons ----------------------------------------------------------------

    void everyMenuItemAndButtonCanBeTriggered() {
        TfrmMain &f = Open();
        const QList<QAction *> actions = {f.mnuFilePrintSetup,
                                          f.mnuFilePrint,
                                          f.mnuInternetWebApplication,
                                          f.mnuInternetWebHome,
                                          f.mnuInternetWebFreeware,
                                          f.mnuInternetWebSuggest,
                                          f.mnuInternetEmailSuggest,
                                          f.mnuInternetEmailSupport,
                                          f.mnuHelpEmailSupport,
                                          f.mnuHelpUpdate,
                                          f.mnuHelpAbout,
                                          f.mnuPopPrint,
                                          f.mnuPopAbout,
                                          f.mnuFileReset};
        for (QAction *a : actions) {
            CloseModalSoon();
            a->trigger();
        }
        for (TExplorerButton *b : {f.btnPrint, f.btnPrinterSetup, f.btnDisclaim, f.btnUpdate}) {
            CloseModalSoon();
            b->Click();
        }
        QVERIFY(f.isVisible());
        QVERIFY(FShell->Files().contains("mailto:support@tamblewick.example"));
        QCOMPARE(FShell->Files().count("mailto:support@tamblewick.example"),
                 2); // menu and help menu
        QVERIFY(FShell->Files().contains("http://www.tamblewick.example/Vormex/Vormex.htm"));
        QVERIFY(FShell->Files().contains("http://www.tamblewick.example/suggest.htm"));
        QVERIFY(FShell->Files().contains("mailto:suggestions@tamblewick.example"));
    }

    // Opening a menu does not leave the box being typed in: nothing is recalculated, a term of
    // 0 being typed is not complained about, and File > Exit keeps the values of the last
    // calculation. Clicking another box after the menu is leaving the box, wherever the menu
    // left the focus. The clicks go through the window, as a user's do.
    void openingAMenuIsNotLeavingTheBox_data() {
        QTest::addColumn<TMenuOpening>("opening");
        QTest::addColumn<bool>("thenAnotherBox"); // else File > Exit
        for (bool another : {false, true}) {
            QTest::addRow("Alt alone, %d", another) << moAltAlone << another;
            QTest::addRow("Alt+F, %d", another) << moAltF << another;
            QTest::addRow("a right-click on a radio item, %d", another)
                << moRightClickOnARadioItem << another;
        }
    }
    void openingAMenuIsNotLeavingTheBox() {
        QFETCH(TMenuOpening, opening);
        QFETCH(bool, thenAnotherBox);
        TfrmMain &f = Open();
        Type(f.edtTerm, "");
        QTest::keyClick(f.edtTerm, Qt::Key_Delete);
        MarkGrid();
        const auto click = [&](QWidget *w, Qt::MouseButton button) {
            QTest::mouseClick(f.windowHandle(), button, {}, w->mapTo(&f, QPoint(5, 5)));
            QCoreApplication::sendPostedEvents();
        };
        if (opening == moRightClickOnARadioItem)
            click(f.rgLoan->Button(0), Qt::RightButton);
        else
            QTest::keyClick(f.edtTerm, opening == moAltF ? Qt::Key_F : Qt::Key_Alt,
                            Qt::AltModifier);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(QApplication::activePopupWidget() != nullptr, opening != moAltAlone);
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        QCoreApplication::sendPostedEvents();
        QVERIFY2(FDialogs->Texts().isEmpty(), qPrintable(FDialogs->Texts().join("; ")));
        QVERIFY(!Recalculated());
        if (thenAnotherBox) {
            click(f.edtLoan, Qt::LeftButton);
            QCOMPARE(FDialogs->Texts(),
                     QStringList({"The number of months must be between 1 and 999."}));
            QVERIFY(Recalculated());
            return;
        }
        f.DrawForThanks = [] {
            return 6;
        };
        f.mnuFileExit->trigger();
        QCOMPARE(TIniFile(IniPath().toStdString()).ReadString("LastValues", "Term", ""),
                 std::string("360"));
    }

    // A value typed and not yet confirmed is in no calculation: the chart shows the values of
    // the grid.
    void printPreviewsTheChartOfTheGridAndGivesTheFocusBack() {
        TfrmMain &f = Open();
        TfrmPreview preview(&f);
        TQRPaymentChart chart(f, *f.rgCalculate, *f.grdLS, MakerAddresses().Host);
        Type(f.edtLoan, "250000");
        QStringList texts;
        QString caption;
        QTimer waitForPreview; // the preparation's progress window comes first
        waitForPreview.start(10);
        connect(&waitForPreview, &QTimer::timeout, [&] {
            if (QApplication::activeModalWidget() != &preview)
                return;
            waitForPreview.stop();
            caption = preview.windowTitle();
            for (const TQRDrawItem &item : QRPrinter().Page(1))
                if (item.Kind == TQRDrawItem::dkText)
                    texts << item.Text.trimmed();
            preview.bbClose->Click();
        });
        f.btnPrint->Click();
        QCOMPARE(caption, QString("Print Preview - Quorvale Pro, 1.6.12"));
        QCOMPARE(QRPrinter().PreviewCaption(), QString("Preview of Page"));
        QCOMPARE(QRPrinter().ProgressCaption(), QString("Preparing Page"));
        QVERIFY(texts.contains("$100,000.00"));
        QVERIFY(!texts.contains("$250,000.00"));
        QVERIFY(texts.contains(Cell(4, 6).trimmed()));
        QCOMPARE(QRPrinter().Status(), qrIdle);
        QTRY_VERIFY(f.edtLoan->hasFocus());
    }

    void theAboutBoxAndDisclaimerGiveTheFocusBack() {
        TfrmMain &f = Open();
        ClickMode(1);
        f.edtTerm->setFocus();
        QTRY_VERIFY(f.edtTerm->hasFocus());
        QString caption;
        QTimer::singleShot(0, [&] {
            QWidget *box = QApplication::activeModalWidget();
            QVERIFY(box);
            caption = box->windowTitle();
            box->close();
        });
        f.ShowAbout(&f);
        QCOMPARE(caption, QString(" About Quorvale Pro, 1.6.12"));
        QTRY_VERIFY(f.edtPayment->hasFocus());
        f.edtTerm->setFocus();
        CloseModalSoon();
        f.ShowDisclaim(&f);
        QTRY_VERIFY(f.edtPayment->hasFocus());
    }

    void exitCommandsClose() {
        TfrmMain &f = Open();
        f.DrawForThanks = [] {
            return 5;
        };
        QSignalSpy closed(&f, &TfrmMain::Closed);
        f.mnuPopExit->trigger();
        QCOMPARE(closed.size(), 1);
        QVERIFY(!f.isVisible());
    }

    // ---- Saved values ---------------------------------------------------------------------

    void noFileGivesTheDefaultsAndClosingWritesThem() {
        TfrmMain &f = Open();
        f.DrawForThanks = [] {
            return 1;
        };
        f.close();
        const QString text = ReadFile(IniPath());
        QCOMPARE(text,
                 QString("[LastValues]\nLoan=100000\nInterest=8.75\nTerm=360\nPayment=786.7\n"));
    }

    void onlyTheTermStoredFillsOnlyTheTermBox() {
        WriteFile(IniPath(), "[LastValues]\nTerm=240\n");
        TfrmMain &f = Open();
        QCOMPARE(f.edtTerm->text(), QString("240"));
        QCOMPARE(f.edtLoan->Value(), 100000.0);
        QCOMPARE(f.edtInterest->text(), QString("8.750"));
        QCOMPARE(Cell(4, 6), QString(" $883.71"));
    }

    void aStoredTermWithAFractionShowsRounded() {
        WriteFile(IniPath(), "[lastvalues]\nTERM=240.6\nloan = 50000\n");
        TfrmMain &f = Open();
        QCOMPARE(f.edtTerm->text(), QString("241"));
        QCOMPARE(f.LastTerm, 241.0); // the first grid used the box's value
        QCOMPARE(f.edtLoan->Value(), 50000.0);
    }

    void theLoanIsSavedAfterASwitchHidItsBox() {
        TfrmMain &f = Open();
        Type(f.edtLoan, "123456");
        ClickMode(1);
        Type(f.edtPayment, "999"); // typed, never left: not saved
        f.DrawForThanks = [] {
            return 3;
        };
        f.close();
        const TIniFile ini(IniPath().toStdString());
        QCOMPARE(ini.ReadString("LastValues", "Loan", ""), std::string("123456"));
        QCOMPARE(ini.ReadString("LastValues", "Payment", ""), std::string("786.7"));
    }

    void otherSectionsAndCommentsAreKept() {
        const QByteArray before = "; my notes\r\n[Window]\r\nLeft=10\r\n[LastValues]\r\n"
                                  "Loan=90000\r\nExtra=keep me\r\n";
        WriteFile(IniPath(), before);
        TfrmMain &f = Open();
        QCOMPARE(f.edtLoan->Value(), 90000.0);
        f.DrawForThanks = [] {
            return 2;
        };
        f.close();
        QCOMPARE(ReadFile(IniPath()),
                 QString("; my notes\r\n[Window]\r\nLeft=10\r\n[LastValues]\r\n"
                         "Loan=90000\r\nExtra=keep me\r\nInterest=8.75\r\n"
                         "Term=360\r\nPayment=786.7\r\n"));
    }

    void aFileSpelledInAnotherCaseIsReadAndBecomesTheOneFile() {
        WriteFile(FFolder->path() + "/vormex.ini", "[LastValues]\nLoan=75000\n[Other]\nA=1\n");
        TfrmMain &f = Open();
        QCOMPARE(f.edtLoan->Value(), 75000.0);
        f.DrawForThanks = [] {
            return 9;
        };
        f.close();
        QVERIFY(QFile::exists(IniPath()));
        QVERIFY(!QFile::exists(FFolder->path() + "/vormex.ini"));
        QVERIFY(ReadFile(IniPath()).contains("[Other]\nA=1\n"));
    }

    void aValueThatIsNotANumberIsReportedAndStartUpFinishes() {
        WriteFile(IniPath(), "[LastValues]\nLoan=lots\nInterest=\n");
        TfrmMain &f = Open();
        QCOMPARE(FDialogs->Texts(), QStringList({"'lots' is not a valid floating point value",
                                                 "'' is not a valid floating point value"}));
        QCOMPARE(f.edtLoan->Value(), 100000.0);
        QCOMPARE(f.edtInterest->text(), QString("8.750"));
        QCOMPARE(Cell(4, 6), QString(" $786.70")); // hooks and first grid all there
        QVERIFY(Application()->OnException != nullptr);
    }

    void aReadOnlyProgramFolderKeepsTheValuesInTheConfigurationFolder() {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        // A program folder that cannot be written: a folder inside a file does not exist and
        // cannot be made, even by the superuser.
        WriteFile(FFolder->path() + "/program", "not a folder");
        F = std::make_unique<TfrmMain>(FFolder->path() + "/program/bin");
        F->DrawForThanks = [] {
            return 4;
        };
        F->LastLoan = 55555;
        F->close();
        const QString saved = home.path() + "/Quorvale Pro/Vormex.Ini";
        QCOMPARE(F->SavedValuesFile(), saved);
        QVERIFY(ReadFile(saved).contains("Loan=55555"));
        qunsetenv("XDG_CONFIG_HOME");
    }

    void theValuesAreReadFromTheConfigurationFolderOnlyOnceItHoldsThem_data() {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QStringList>("files"); // "program" and "config" hold a file
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("written");
        const QStringList both{"program", "config"};
        QTest::newRow("writable") << true << both << "program"
                                  << "program";
        QTest::newRow("read-only, both") << false << both << "config"
                                         << "config";
        QTest::newRow("read-only, program's only") << false << QStringList{"program"} << "program"
                                                   << "config";
        QTest::newRow("read-only, none") << false << QStringList{} << "program"
                                         << "config";
    }
    void theValuesAreReadFromTheConfigurationFolderOnlyOnceItHoldsThem() {
        QFETCH(bool, writable);
        QFETCH(QStringList, files);
        QFETCH(QString, read);
        QFETCH(QString, written);
        const QString folders[] = {FFolder->filePath("program/"), FFolder->filePath("config/")};
        for (const QString &f : folders)
            QDir().mkpath(f);
        for (const QString &f : files)
            WriteFile(FFolder->filePath(f + "/Vormex.Ini"), "[LastValues]\n");
        const TSavedValuesPlaces places = SavedValuesPlaces(folders[0], folders[1], writable);
        QCOMPARE(places.Read, FFolder->filePath(read + "/Vormex.Ini"));
        QCOMPARE(places.Write, FFolder->filePath(written + "/Vormex.Ini"));
    }

    // A write-protected file is reported and kept as it was; a folder or a pipe where the file
    // should be, which cannot be read, is reported and never replaced. Either way the program
    // closes.
    void aFileThatCannotBeWrittenIsReportedAndTheProgramStillCloses_data() {
        QTest::addColumn<TUnwritable>("kind");
        QTest::newRow("write-protected file") << uwProtectedFile;
        QTest::newRow("a folder in its place") << uwFolder;
        QTest::newRow("a pipe in its place") << uwPipe;
    }
    void aFileThatCannotBeWrittenIsReportedAndTheProgramStillCloses() {
        QFETCH(TUnwritable, kind);
        if (kind == uwProtectedFile) {
            WriteFile(IniPath(), "[LastValues]\nLoan=5000\n");
            QFile::setPermissions(IniPath(), QFile::ReadOwner);
        } else if (kind == uwFolder) {
            QDir().mkpath(IniPath());
        } else {
            QCOMPARE(::mkfifo(QFile::encodeName(IniPath()).constData(), 0600), 0);
        }
        TfrmMain &f = Open();
        f.DrawForThanks = [] {
            return 39;
        };
        QSignalSpy closed(&f, &TfrmMain::Closed);
        f.close();
        QCOMPARE(closed.size(), 1);
        QCOMPARE(FDialogs->Texts(), QStringList({"Unable to write to " + IniPath()}));
        if (kind == uwProtectedFile)
            QCOMPARE(ReadFile(IniPath()), QString("[LastValues]\nLoan=5000\n"));
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(IniPath()).constData(), &status), 0);
        if (kind == uwPipe)
            QVERIFY(S_ISFIFO(status.st_mode));
    }

    // Beside the program in a build tree or a copied folder; in share/ when installed, where
    // the program folder belongs to the system even to a user who may write it.
    void theHelpFileAndSavedValuesFollowTheLayout_data() {
        QTest::addColumn<QString>("program"); // the windows' program's folder
        QTest::addColumn<QStringList>("helpFiles");
        QTest::addColumn<QString>("help");
        QTest::addColumn<bool>("inConfiguration");
        const QString installed = "share/quorvale-pro/vormex.hlp";
        QTest::newRow("build tree")
            << "bin" << QStringList{"bin/vormex.hlp"} << "bin/vormex.hlp" << false;
        QTest::newRow("a copy in bin beside an installed tree")
            << "bin" << QStringList{installed} << "bin/vormex.hlp" << false;
        QTest::newRow("installed in libexec")
            << "libexec/quorvale-pro" << QStringList{installed} << installed << true;
        QTest::newRow("both") << "bin" << QStringList{"bin/vormex.hlp", installed}
                              << "bin/vormex.hlp" << false;
        QTest::newRow("none") << "bin" << QStringList{} << "bin/vormex.hlp" << false;
    }
    void theHelpFileAndSavedValuesFollowTheLayout() {
        QFETCH(QString, program);
        QFETCH(QStringList, helpFiles);
        QFETCH(QString, help);
        QFETCH(bool, inConfiguration);
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        const QString prefix = FFolder->path() + "/", folder = prefix + program + "/";
        QVERIFY(QDir().mkpath(folder));
        for (const QString &file : helpFiles) {
            QVERIFY(QDir().mkpath(QFileInfo(prefix + file).path()));
            WriteFile(prefix + file, "<html><body><h1>Contents</h1></body></html>");
        }
        F = std::make_unique<TfrmMain>(prefix + program);
        QCOMPARE(Application()->HelpFile(), prefix + help);
        F->DrawForThanks = [] {
            return 4;
        };
        F->LastLoan = 55555;
        F->close();
        const QString saved =
            inConfiguration ? home.path() + "/Quorvale Pro/Vormex.Ini" : folder + "Vormex.Ini";
        QCOMPARE(F->SavedValuesFile(), saved);
        QVERIFY(ReadFile(saved).contains("Loan=55555"));
        QCOMPARE(QFileInfo::exists(folder + "Vormex.Ini"), !inConfiguration);
        qunsetenv("XDG_CONFIG_HOME");
    }

    // ---- The close sequence ----------------------------------------------------------------

    void oneCloseInFortyShowsTheThanksWindowFirst() {
        TfrmMain &f = Open();
        Type(f.edtLoan, "150000");
        Tab();
        const QString centre = Cell(4, 6);
        f.DrawForThanks = [] {
            return 0;
        };
        QSignalSpy closed(&f, &TfrmMain::Closed);
        QPoint thanksPlace, expectedPlace;
        QTimer::singleShot(0, [&] {
            auto *thanks = qobject_cast<TfrmClose *>(QApplication::activeModalWidget());
            QVERIFY(thanks);
            QCOMPARE(thanks->windowTitle(), QString("Thanks from Tamblewick Software!"));
            thanksPlace = thanks->pos();
            expectedPlace = QPoint(f.x() + (f.width() - thanks->width()) / 2,
                                   f.y() + (f.height() - thanks->height()) / 2);
            thanks->BtnReturn->Click();
        });
        f.close();
        QCOMPARE(closed.size(), 0); // "  Return": the program goes on
        QVERIFY(f.isVisible());
        QCOMPARE(Cell(4, 6), centre);
        QCOMPARE(f.edtLoan->Value(), 150000.0);
        QCOMPARE(thanksPlace, expectedPlace);

        // a later close draws again; this time "  Quit" ends the program and saves
        QTimer::singleShot(0, [] {
            auto *thanks = qobject_cast<TfrmClose *>(QApplication::activeModalWidget());
            QVERIFY(thanks);
            thanks->BtnExit->Click();
        });
        f.close();
        QCOMPARE(closed.size(), 1);
        QVERIFY(ReadFile(IniPath()).contains("Loan=150000"));
        ExitFlag = false;
    }

    void theHelpMenuShowsContentsIndexAndHowTo() {
        QVERIFY(QFile::copy(QFINDTESTDATA("../../resources/vormex.hlp"),
                            FFolder->path() + "/vormex.hlp"));
        TfrmMain &f = Open();
        f.btnHelp->Click();
        QTRY_VERIFY(HelpViewer() && HelpViewer()->isVisible());
        QCOMPARE(HelpViewer()->Page(), THelpViewer::hpHelpFile);
        QCOMPARE(HelpViewer()->Topic(), QString("contents"));
        f.mnuHelpSearch->trigger();
        QCOMPARE(HelpViewer()->SearchEdit()->text(), QString());
        QVERIFY(HelpViewer()->IndexTexts().size() > 10);
        f.mnuHelpHow->trigger();
        QCOMPARE(HelpViewer()->Page(), THelpViewer::hpHelpOnHelp);
        WinHelp(&f, Application()->HelpFile(), HELP_QUIT);
    }

    void aMissingHelpFileIsReportedByTheViewer() {
        TfrmMain &f = Open();
        QTest::keyClick(f.edtLoan, Qt::Key_F1);
        QCOMPARE(FDialogs->Requests().size(), 1);
        QVERIFY(FDialogs->Texts().first().contains(FFolder->path() + "/vormex.hlp"));
    }

    void closingTellsTheHelpViewerToQuit() {
        WriteFile(FFolder->path() + "/vormex.hlp", "<html><body><h1>Contents</h1></body></html>");
        TfrmMain &f = Open();
        QTest::keyClick(f.edtLoan, Qt::Key_F1);
        QTRY_VERIFY(HelpViewer() && HelpViewer()->isVisible());
        f.DrawForThanks = [] {
            return 20;
        };
        f.close();
        QVERIFY(!HelpViewer() || !HelpViewer()->isVisible());
    }
};

QUORVALE_TEST_MAIN(TestMain)
#include "tst_Main.moc"
