// The comparison window on a real X server with a window manager, driven by the keyboard: offers
// added from cells of the spread and typed in German number forms, the years changed, the
// pay-down grid and the schedule of one of its cells; the offers kept in the saved values file;
// the printout read back from a PDF file.
#include "app/Compare.h"

#include "app/Main.h"
#include "app/Schedule.h"
#include "controls/Aligrid.h"
#include "controls/FnpNumericEdit.h"
#include "printing/CompareChart.h"
#include "printing/Quickrep.h"
#include "tests/support/Desktop.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/Layout.h"
#include "tests/support/PdfPrinter.h"
#include "tests/support/Row.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <memory>

Q_DECLARE_METATYPE(TOfferField)

namespace {

TFormatSettings German() {
    TFormatSettings fs = UnitedStatesFormatSettings();
    fs.CurrencyString = "€";
    fs.CurrencyFormat = 3;
    fs.NegCurrFormat = 8;
    fs.ThousandSeparator = ".";
    fs.DecimalSeparator = ",";
    fs.ShortDateFormat = "dd.mm.yyyy";
    return fs;
}

// Keys to whatever has the focus, as a user types them.
void Type(const QString &text) {
    for (QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}
void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget *popup = QApplication::activePopupWidget();
    QTest::keyClick(popup ? popup : QApplication::focusWidget(), key, modifiers);
}

// The text of the comparison's row whose caption starts with `caption`, offer `column`.
QString ResultText(const TfrmCompare &w, const QString &caption, int column) {
    for (const QStringList &row : w.ResultTexts())
        if (row.first().startsWith(caption))
            return row.value(column + 1);
    return QStringLiteral("(no row %1)").arg(caption);
}

bool Bold(const TfrmCompare &w, const QString &caption, int column) {
    for (int r = 0; r < w.grdResults->rowCount(); ++r)
        if (w.grdResults->verticalHeaderItem(r)->text().startsWith(caption))
            return w.grdResults->item(r, column)->font().bold();
    return false;
}

} // namespace

class TestCompareWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FFolder;

    QString Ini() const { return FFolder->filePath("Vormex.Ini"); }
    TfrmCompare &OpenAlone() {
        auto *w = new TfrmCompare("Quorvale Pro, 1.6.12", Ini(), Ini());
        w->show();
        return *w;
    }

private slots:
    void initTestCase() { QUORVALE_REQUIRE_DESKTOP(); }
    void init() {
        SetFormatSettings(German());
        FFolder = std::make_unique<QTemporaryDir>();
    }
    void cleanup() {
        delete frmCompare;
        delete frmSchedule;
        FFolder.reset();
        SetFormatSettings(UnitedStatesFormatSettings());
    }

    // Two cells of the spread by Shift+F10 and the menu's access key, a third offer typed in its
    // column, the years changed, a cell of the pay-down grid opened: all by the keyboard, the
    // numbers in German forms. Figures worked out apart in exact decimals.
    void offersFromTheSpreadAndTypedByTheKeyboard() {
        auto main = std::make_unique<TfrmMain>(FFolder->path());
        main->DrawForThanks = [] {
            return 7;
        };
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        main->grdLS->setFocus();
        // The centre cell, 8,75 %; then the rate typed as 8,25 and the new centre.
        for (const char *rate : {"", "8,25"}) {
            if (*rate) {
                main->edtInterest->setFocus(); // as a user clicks it
                Key(Qt::Key_A, Qt::ControlModifier);
                Type(QString::fromUtf8(rate));
                Key(Qt::Key_Tab);
                main->grdLS->setFocus();
            }
            QTRY_VERIFY(main->grdLS->hasFocus());
            Key(Qt::Key_F10, Qt::ShiftModifier);
            QTRY_COMPARE(QApplication::activePopupWidget(), main->mnuPop);
            Key(Qt::Key_C);
            QTRY_VERIFY(frmCompare && frmCompare->isActiveWindow());
            // Back to the spread, as a user clicks it; the window manager may take a moment.
            for (int k = 0; k < 50 && !main->isActiveWindow(); ++k) {
                main->raise();
                main->activateWindow();
                QTest::qWait(100);
            }
            QVERIFY(main->isActiveWindow());
        }
        TfrmCompare &w = *frmCompare;
        w.activateWindow();
        QTRY_VERIFY(w.grdOffers->hasFocus());
        Key(Qt::Key_Home); // the third column's name
        Key(Qt::Key_Right);
        Key(Qt::Key_Right);
        QCOMPARE(w.grdOffers->currentColumn(), 2);
        for (const char *value : {"C", "100.000", "8,25", "360", "", "2"}) {
            if (*value) {
                Type(QString::fromUtf8(value));
                Key(Qt::Key_Return);
            }
            Key(Qt::Key_Down);
        }
        QCOMPARE(w.Comparison().Offers.size(), size_t(3));
        QCOMPARE(ResultText(w, "Monthly payment", 0), QString("786,70 €"));
        QCOMPARE(ResultText(w, "Monthly payment", 2), QString("751,27 €  (-35,43 €)"));
        QVERIFY(Bold(w, "Total cost", 1) && !Bold(w, "Total cost", 2));
        QCOMPARE(ResultText(w, "Break-even of C over Offer 1", 0), QString("month 48"));
        QCOMPARE(ResultText(w, "Break-even of C over Offer 2", 0), QString("never"));
        QCOMPARE(ResultText(w, "Break-even of Offer 2 over Offer 1", 0), QString("month 1"));

        Key(Qt::Key_Y, Qt::AltModifier);
        QTRY_VERIFY(w.edtYears->hasFocus());
        Key(Qt::Key_A, Qt::ControlModifier);
        Type("10");
        Key(Qt::Key_Tab);
        QCOMPARE(ResultText(w, "Cost after 10 years", 0), QString("183.426,52 €"));
        QVERIFY(ResultText(w, "Cost after 10 years", 2).startsWith("180.321,83 €"));
        QVERIFY(Bold(w, "Cost after 10 years", 1));

        // The pay-down grid is of the offer with the focus: C, 100 a month more at its rate.
        QCOMPARE(w.PaydownOffer(), 2);
        for (int k = 0; k < 12 && !w.grdPaydown->hasFocus(); ++k)
            Key(Qt::Key_Tab);
        QVERIFY(w.grdPaydown->hasFocus());
        Key(Qt::Key_Home, Qt::ControlModifier);
        Key(Qt::Key_Down);
        for (int k = 0; k < PaydownCentreColumn; ++k)
            Key(Qt::Key_Right);
        QCOMPARE(w.grdPaydown->item(1, PaydownCentreColumn)->text(), QString("241"));
        Key(Qt::Key_Return);
        QTRY_VERIFY(frmSchedule && frmSchedule->isActiveWindow());
        QCOMPARE(frmSchedule->Schedule().Months.size(), size_t(241));
        QCOMPARE(frmSchedule->Schedule().Plan.MonthlyExtra, TCents(10000));
        delete frmSchedule;

        const QStringList faults = LayoutFaults(&w);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        main->DrawForThanks = [] {
            return 7;
        };
        main.reset();
    }

    // A typed value is refused where it is typed, with the reason, and changes nothing else.
    void typedValuesAreCheckedInTheUsersForms_data() {
        QTest::addColumn<TOfferField>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fault"); // empty: taken
        Row("an amount with separators", TOfferField::Loan, "250.000,50 €", "");
        Row("a word", TOfferField::Loan, "viel", "'viel' is not a number");
        Row("no loan", TOfferField::Loan, "0", "'0' is not more than 0");
        Row("a rate in percent", TOfferField::Rate, "8,125 %", "");
        Row("a rate beyond 100", TOfferField::Rate, "101", "'101' is not from 0");
        Row("part of a month", TOfferField::Term, "12,5", "'12,5' is not a whole");
        Row("no payment: the level one", TOfferField::Payment, "", "");
        Row("a negative extra", TOfferField::Extra, "-5", "'-5' is not 0 or more");
    }
    void typedValuesAreCheckedInTheUsersForms() {
        QFETCH(TOfferField, field);
        QFETCH(QString, text);
        QFETCH(QString, fault);
        TfrmCompare &w = OpenAlone();
        w.grdOffers->item(int(field), 0)->setText(text);
        QVERIFY2(w.lblStatus->text().contains(fault), qPrintable(w.lblStatus->text()));
        QCOMPARE(w.grdOffers->item(int(field), 0)->text(), fault.isEmpty() ? text : QString());
        QVERIFY(!w.Offers()[0]);
    }

    // The offers come back at the next opening; a section with a bad value gives an empty offer
    // and no message.
    void offersAreKeptAndBadStoredValuesGiveEmptyOffers_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<bool>("kept");
        const QByteArray good = "Loan=100000\nRate=8.25\nTerm=360\nPoints=2\n";
        QTest::newRow("good") << QByteArray("[Offer2]\nName=B\n") + good << true;
        Row("a word for the rate", QByteArray("[Offer2]\nLoan=100000\nRate=abc\nTerm=360\n"),
            false);
        Row("a term of 0", QByteArray("[Offer2]\nLoan=100000\nRate=8\nTerm=0\n"), false);
        Row("a rate in German form", QByteArray("[Offer2]\nLoan=1000\nRate=8,5\nTerm=12\n"), false);
        QTest::newRow("no loan") << QByteArray("[Offer2]\nRate=8\nTerm=12\n") << false;
        Row("a one-off beyond the term", QByteArray("[Offer2]\n") + good + "Lumps=361:1000\n",
            false);
    }
    void offersAreKeptAndBadStoredValuesGiveEmptyOffers() {
        QFETCH(QByteArray, section);
        QFETCH(bool, kept);
        QFile ini(Ini());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[LastValues]\nLoan=1\n" + section);
        ini.close();
        TfrmCompare &w = OpenAlone();
        QCOMPARE(w.Offers()[1].has_value(), kept);
        TOffer typed{"A", {5000, 6, 24, 0}, {}};
        typed.Plan.MonthlyExtra = 2550;
        typed.Plan.FirstPayment = std::chrono::year(2027) / 2 / 28; // the plan comes back whole
        typed.Plan.InterestOnly = 3;
        typed.Plan.Lumps = {{12, 100000}};
        typed.Plan.RateChanges = {{13, 7.5}};
        typed.Plan.Effect = TExtraEffect::LowerPayment;
        QVERIFY(w.AddOffer(typed)); // the first empty column
        delete &w;
        TfrmCompare &again = OpenAlone();
        const std::optional<TOffer> &back = again.Offers()[0];
        QVERIFY(back && back->Name == typed.Name && back->Plan == typed.Plan);
        QCOMPARE(QList<double>({back->Loan.Loan, back->Loan.Rate, double(back->Loan.Term),
                                back->Loan.Payment}),
                 QList<double>({5000, 6, 24, 0}));
        QCOMPARE(again.Offers()[1].has_value(), kept);
        if (kept)
            QCOMPARE(again.Offers()[1]->Plan.Points, 2.0);
        QFile file(Ini()); // the main window's values stay
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().contains("[LastValues]\nLoan=1"));
    }

    // Copy gives the rows as the window shows them, as text and as an HTML table; Save writes
    // them as plain numbers.
    void copyAndSaveCarryTheRows() {
        SetFormatSettings(UnitedStatesFormatSettings());
        TfrmCompare &w = OpenAlone();
        w.AddOffer({"A", {100000, 8.75, 360, 0}, {}});
        TOffer b{"B, with points", {100000, 8.25, 360, 0}, {}};
        b.Plan.Points = 2;
        w.AddOffer(b);
        w.btnCopy->click();
        const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied->text().contains("Break-even of B, with points over A\tmonth 48"));
        QVERIFY(copied->text().contains("Total cost\t$283,212.97\t$272,451.76  (-$10,761.21)"));
        QVERIFY(copied->html().contains("<td>$142,890.99</td>"));
        DialogRecorder dialogs;
        dialogs.OnRequest(
            [&](const TDialogRequest &r) { r.FileName = FFolder->filePath("o.csv"); });
        w.btnSave->click();
        QFile file(FFolder->filePath("o.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray csv = file.readAll();
        QVERIFY2(csv.startsWith(",A,\"B, with points\"\r\n") &&
                     csv.contains("\r\nCost after 5 years,142890.99,142359.94\r\n") &&
                     csv.endsWith("\r\n\"Break-even of B, with points over A\",48\r\n"),
                 csv.constData());
    }

    // Printed to a PDF file and read back: the rows and the break-even on the first page, the
    // pay-down grid on the second, "Page n of 2" on each.
    // The picture's amounts (cents included, up to millions) within its area in either form.
    void theAmountsOfThePictureStayInIt() {
        for (const TFormatSettings &form : {UnitedStatesFormatSettings(), German()}) {
            SetFormatSettings(form);
            const TComparison c = Compare({{"A", {2500000, 8.75, 360, 0}, {}}}, 5);
            const QRectF area(10, 10, 400, 300);
            for (const TQRDrawItem &item : CompareChart(c, area, QFont("Liberation Sans", 8)))
                if (item.Kind == TQRDrawItem::dkText)
                    QVERIFY2(item.Origin.x() >= area.left(), qPrintable(item.Text));
        }
    }

    void thePrintoutReadsBackFromThePdf() {
        SetFormatSettings(UnitedStatesFormatSettings());
        TfrmCompare &w = OpenAlone();
        w.AddOffer({"A", {100000, 8.75, 360, 0}, {}});
        TOffer b{"B", {100000, 8.25, 360, 0}, {}};
        b.Plan.Points = 2;
        w.AddOffer(b);
        w.grdOffers->setCurrentCell(0, 0);
        const QString file = FFolder->filePath("compare.pdf");
        {
            PdfPrinter pdf(file);
            QRPrinter().OnPreview = [](QObject *) {
                QRPrinter().Print();
            };
            w.btnPrint->click();
            QRPrinter().OnPreview = nullptr;
        }
        const std::optional<QStringList> printed = PdfPageTexts(file);
        if (!printed)
            QSKIP("pdftotext is not installed");
        const QStringList &pages = *printed;
        QCOMPARE(pages.size(), 2);
        const QString first = pages[0].simplified(), second = pages[1].simplified();
        for (const char *text :
             {"Total cost $283,212.97 $272,451.76", "Cost after 5 years $142,890.99 $142,359.94",
              "Break-even of B over A: month 48", "APR 8.750% 8.467%",
              "Best overall (lowest total cost): B.", "Cost after 5 years, cheapest: B.",
              "Page 1 of 2"})
            QVERIFY2(first.contains(text), qPrintable(QString(text) + " in " + first));
        for (const char *text :
             {"Paying down A: months to payoff", "$100.00 242 241 240 238 237 235 234",
              "$183,212.97", "Page 2 of 2"})
            QVERIFY2(second.contains(text), qPrintable(QString(text) + " in " + second));
    }
};

QUORVALE_DESKTOP_TEST_MAIN(TestCompareWindow)
#include "tst_CompareWindow.moc"
