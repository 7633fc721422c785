#include "printing/Qrschedule.h"

#include "platform/SysUtils.h"
#include "printing/Quickrep.h"
#include "tests/support/PdfPrinter.h"
#include "tests/support/Row.h"
#include "tests/support/TestMain.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(TLoan)
Q_DECLARE_METATYPE(TLoanPlan)
Q_DECLARE_METATYPE(TPlanOption)

namespace {

TLoanPlan Extras() {
    TLoanPlan plan;
    plan.Points = 1.5;
    plan.Fees = 50000;
    plan.MonthlyExtra = 10000;
    return plan;
}

} // namespace

class TestQrschedule : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;

private slots:
    void init() { SetFormatSettings(UnitedStatesFormatSettings()); }

    // A text typed or stored for an option is taken as its plain form, or refused with the
    // reason, leaving every option as it was.
    void optionsAreTakenOrRefusedWithTheReason_data() {
        QTest::addColumn<TPlanOption>("option");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("term");
        QTest::addColumn<QString>("taken");   // the option's text afterwards, when taken
        QTest::addColumn<QString>("refused"); // in the reason, when refused
        using O = TPlanOption;
        Row("points, 3 decimals", O::Points, " 1.125 ", 360, "1.125", "");
        Row("points, 4 decimals", O::Points, "1.1255", 360, "", "3 decimals");
        Row("points over 100", O::Points, "100.001", 360, "", "more than 100");
        Row("fees in cents", O::Fees, "2000.5", 360, "2000.50", "");
        Row("fees negative", O::Fees, "-5", 360, "", "negative");
        Row("fees with a comma", O::Fees, "2,000", 360, "", "not a number");
        Row("fees emptied", O::Fees, "", 360, "", "");
        Row("a leap day", O::LoanDate, "2024-02-29", 360, "2024-02-29", "");
        Row("no leap day", O::LoanDate, "2023-02-29", 360, "", "not a day of the calendar");
        Row("month 13", O::FirstPayment, "2026-13-01", 360, "", "not a day of the calendar");
        Row("a date in another form", O::FirstPayment, "1/15/2026", 360, "", "YYYY-MM-DD");
        Row("first payment on the loan date", O::FirstPayment, "2026-01-15", 360, "",
            "after the loan date");
        Row("interest only, term less one", O::InterestOnly, "359", 360, "359", "");
        Row("interest only, the whole term", O::InterestOnly, "360", 360, "", "beyond the term");
        Row("interest only, a fraction", O::InterestOnly, "1.5", 360, "", "not a month");
        Row("a month of ten digits", O::InterestOnly, "9999999999", 360, "", "beyond the term");
        Row("monthly extra to its first month", O::MonthlyTo, "13", 360, "13", "");
        Row("monthly extra ending before it begins", O::MonthlyTo, "12", 360, "",
            "before month 13");
        Row("yearly month 12", O::YearlyMonth, "12", 360, "12", "");
        Row("yearly month 13", O::YearlyMonth, "13", 360, "", "1 to 12");
        Row("one-offs", O::Lumps, "12:10000 360:0.01", 360, "12:10000.00 360:0.01", "");
        Row("a one-off beyond the term", O::Lumps, "12:10000 361:5", 360, "",
            "Month 361 is beyond the term");
        Row("a one-off without its amount", O::Lumps, "12", 360, "", "MONTH:AMOUNT");
        Row("a negative one-off", O::Lumps, "12:-5", 360, "", "negative");
        Row("rate changes", O::RateChanges, "61:6.5 121:0", 360, "61:6.5 121:0", "");
        Row("a rate change in month 1", O::RateChanges, "1:6.5", 360, "", "before month 2");
        Row("a rate with 4 decimals", O::RateChanges, "61:6.5001", 360, "", "3 decimals");
        Row("lower payment", O::Effect, "lower", 360, "lower", "");
        Row("another effect", O::Effect, "Lower", 360, "", "neither");
    }
    void optionsAreTakenOrRefusedWithTheReason() {
        QFETCH(TPlanOption, option);
        QFETCH(QString, text);
        QFETCH(int, term);
        QFETCH(QString, taken);
        QFETCH(QString, refused);
        TLoanPlan plan = Extras();
        plan.LoanDate = std::chrono::year_month_day(std::chrono::year(2026) / 1 / 15);
        plan.MonthlyFrom = 13;
        const TLoanPlan before = plan;
        const QString why = SetPlanOption(plan, option, text, term);
        if (!refused.isEmpty()) {
            QVERIFY2(why.contains(refused), qPrintable(why));
            QVERIFY(plan == before);
            return;
        }
        QCOMPARE(why, QString());
        QCOMPARE(PlanOptionText(plan, option), taken);
        // the plain form is taken again as the same value
        TLoanPlan again = before;
        QCOMPARE(SetPlanOption(again, option, taken, term), QString());
        QVERIFY(again == plan);
    }

    // Printed to a PDF file and read back page by page: the summary, the options that are on
    // and the picture (its legend) on the first page only, in that order; the column heads and
    // "Page n of m" on every page, and every row once, in order.
    void thePagesReadBackFromThePdf_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<TLoanPlan>("plan");
        QTest::addColumn<bool>("byYear");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("minPages");
        QTest::addColumn<int>("maxPages");
        QTest::addColumn<QStringList>("firstPage"); // in this order, before the column heads
        const TLoan worked{100000, 8.75, 360, 786.70};
        const QStringList plain{"Loan amount:",         "Total interest:",  "Balance",
                                "Interest paid so far", "Principal a year", "Year"};
        QTest::newRow("360 months") << worked << TLoanPlan{} << false << 360 << 5 << 8 << plain;
        QTest::newRow("30 years") << worked << TLoanPlan{} << true << 30 << 1 << 1 << plain;
        Row("999 months", TLoan{250000, 6, 999, 1258.20}, TLoanPlan{}, false, 999, 14, 20, plain);
        TLoanPlan plan; // eight columns, a summary of fifteen lines
        plan.FirstPayment = std::chrono::year(2025) / 1 / 31;
        plan.MonthlyExtra = 10000;
        plan.Fees = 200000;
        Row("dates and extras", worked, plan, false, 238, 4, 6,
            QStringList{"Loan amount:", "Total interest:", "Points and fees: $2,000.00",
                        "First payment: 2025-01-31", "Monthly extra: $100.00 from month 1",
                        "Extras: shorten the loan", "Balance without extras",
                        "Interest paid so far", "Year"});
        Row("extras, points and fees", worked, Extras(), false, 238, 4, 6,
            QStringList{"Points and fees: 1.500 points and $500.00",
                        "Monthly extra: $100.00 from month 1", "Balance without extras"});
    }
    void thePagesReadBackFromThePdf() {
        QFETCH(TLoan, loan);
        QFETCH(TLoanPlan, plan);
        QFETCH(bool, byYear);
        QFETCH(int, rows);
        QFETCH(int, minPages);
        QFETCH(int, maxPages);
        QFETCH(QStringList, firstPage);
        const TScheduleResult schedule = MakeSchedule(loan, plan);
        QVERIFY(schedule);
        const QString file = FDir.filePath(QTest::currentDataTag()) + ".pdf";
        {
            PdfPrinter pdf(file);
            TQRSchedule report("Quorvale Pro, 1.6.12");
            report.SetSchedule(*schedule, byYear ? ScheduleByYear(*schedule) : schedule->Months,
                               byYear);
            report.SetPlainMonths(MakeSchedule(loan)->Months);
            QRPrinter().OnPreview = [](QObject *) {
                QRPrinter().Print();
            };
            report.Rep->Preview();
            QRPrinter().OnPreview = nullptr;
        }
        const std::optional<QStringList> printed = PdfPageTexts(file);
        if (!printed)
            QSKIP("pdftotext is not installed");
        const QStringList &pages = *printed;
        const int count = int(pages.size());
        QVERIFY2(count >= minPages && count <= maxPages, qPrintable(QString::number(count)));
        const QRegularExpression heads(
            R"(No\.\s+(Date\s+)?Payment\s+Principal\s+Interest\s+(Extra\s+)?Balance\s+Total Interest)");
        const QRegularExpression row(R"(^\s*(\d+)\s+(\d+/\d+/\d{4}\s+)?\$[\d,]+\.\d\d\s)",
                                     QRegularExpression::MultilineOption);
        qsizetype at = 0;
        for (const QString &text : firstPage) {
            QStringList words = text.split(' ');
            for (QString &word : words)
                word = QRegularExpression::escape(word);
            const QRegularExpression spaced(words.join(R"(\s+)"));
            at = pages[0].indexOf(spaced, at);
            QVERIFY2(at >= 0, qPrintable(text));
        }
        QVERIFY(at < pages[0].indexOf(heads));
        QList<int> numbers;
        for (int n = 1; n <= count; ++n) {
            const QString &page = pages[n - 1];
            QCOMPARE(page.count(QStringLiteral("Page %1 of %2").arg(n).arg(count)), 1);
            QCOMPARE(page.count(QRegularExpression(R"(Page \d+ of)")), 1);
            QCOMPARE(page.count(heads), 1);
            QCOMPARE(page.contains("Loan amount:"), n == 1);
            QCOMPARE(page.contains("Interest paid so far"), n == 1);
            QCOMPARE(page.contains("APR:"), n == 1 && plan != TLoanPlan{});
            QCOMPARE(page.contains(byYear ? "Schedule by Year" : "Schedule"), n == 1);
            // the rows lie between the heads and the foot
            const qsizetype top = page.indexOf(heads), foot = page.indexOf("Page ");
            for (auto m = row.globalMatch(page); m.hasNext();) {
                const auto match = m.next();
                QVERIFY(match.capturedStart() > top && match.capturedStart() < foot);
                numbers << match.captured(1).toInt();
            }
        }
        QCOMPARE(numbers.size(), rows);
        for (int i = 0; i < rows; ++i)
            QCOMPARE(numbers[i], i + 1);
        QVERIFY(pages.last().contains(QRegularExpression(R"(\$0\.00\s+\$[\d,]+\.\d\d\s*\n)")));
    }
};

QUORVALE_TEST_MAIN(TestQrschedule)
#include "tst_Qrschedule.moc"
