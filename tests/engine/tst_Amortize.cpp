#include "engine/Amortize.h"
#include "engine/Spread.h"
#include "tests/support/Row.h"

#include <QTest>
#include <random>

Q_DECLARE_METATYPE(TLoan)
Q_DECLARE_METATYPE(TLoanPlan)

namespace {

TCents Cents(double amount) {
    return std::llround(amount * 100);
}

} // namespace

class TestAmortize : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetFormatSettings(UnitedStatesFormatSettings()); }

    // Expected figures worked out apart, with exact decimal arithmetic; no months: no schedule,
    // for the reason given.
    void schedules_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<TLoanPlan>("plan");
        QTest::addColumn<int>("months");
        QTest::addColumn<TCents>("lastPayment");
        QTest::addColumn<TCents>("totalInterest");
        QTest::addColumn<int>("reason");
        auto row = [](const char *name, TLoan loan, int months, TCents last, TCents interest,
                      TLoanPlan plan = {}) {
            QTest::newRow(name) << loan << plan << months << last << interest << -1;
        };
        auto none = [](const char *name, TLoan loan, TNoSchedule reason) {
            Row(name, loan, TLoanPlan{}, 0, TCents(0), TCents(0), int(reason));
        };
        const TLoan worked{100000, 8.75, 360, 786.70};
        row("30 years at 8.75%", worked, 360, 78767, 18321297);
        row("15 years at 6.5%", {250000, 6.5, 180, 2177.77}, 180, 217732, 14199815);
        row("ends before its term", {10000, 12, 24, 900}, 12, 75399, 65399);
        row("short payments leave a larger last one", {10000, 12, 12, 800}, 12, 192225, 72225);
        row("no interest", {5000, 0, 7, 714.29}, 7, 71426, 0);
        row("a last payment equal to the others ends there", {1000, 0, 24, 100}, 10, 10000, 0);
        row("a last payment equal to the others, with interest", {1000.02, 12, 24, 340.03}, 3,
            34003, 2007);
        row("a half cent payment at no interest", {634088875.25, 0, 10, 63408887.53}, 10,
            6340888748, 0);
        row("half a cent of interest rounds up", {120, 9.45, 1, 200}, 1, 12095, 95);
        row("amounts in cents as the grid shows them", {1000.004, 7.2, 3, 400.006}, 3, 21088, 1090);
        TLoanPlan plan;
        plan.MonthlyExtra = 10000;
        row("100.00 extra each month", worked, 238, 73478, 11088268, plan);
        plan = {};
        plan.Lumps = {{12, 1000000}};
        row("a one-off extra shortens the loan", worked, 254, 70972, 10974482, plan);
        plan.Effect = TExtraEffect::LowerPayment;
        row("a one-off extra lowers the payment", worked, 360, 70865, 16563767, plan);
        plan = {};
        plan.YearlyExtra = 100000;
        row("1,000.00 each year in month 12", worked, 254, 37462, 12040972, plan);
        plan = {};
        plan.InterestOnly = 60;
        row("interest only for 60 months", worked, 360, 82623, 19039629, plan);
        plan = {};
        plan.RateChanges = {{61, 6.5}};
        row("6.5% from month 61", worked, 360, 64527, 14103117, plan);
        none("no loan", {0, 8.75, 360, 786.70}, TNoSchedule::NoLoan);
        none("a loan below half a cent", {0.004, 8.75, 360, 786.70}, TNoSchedule::NoLoan);
        none("a negative loan", {-100000, 8.75, 360, 786.70}, TNoSchedule::NoLoan);
        none("payment equal to the interest", {100000, 8.75, 360, 729.17},
             TNoSchedule::ShortPayment);
        none("payment below the interest", {100000, 8.75, 360, 500}, TNoSchedule::ShortPayment);
        none("no payment at no interest", {100000, 0, 360, 0}, TNoSchedule::ShortPayment);
        none("no months", {100000, 8.75, 0, 786.70}, TNoSchedule::ShortPayment);
        none("more months than are counted", {100000, 8.75, MaxScheduleMonths + 1, 786.7},
             TNoSchedule::TooLong);
        none("a billion at no interest over 1.27E6 months", {1e9, 0, 1270000, 787.4},
             TNoSchedule::TooLong);
        none("a loan beyond counting", {1e300, 8.75, 360, 1e300}, TNoSchedule::TooLarge);
    }
    void schedules() {
        QFETCH(TLoan, loan);
        QFETCH(TLoanPlan, plan);
        QFETCH(int, months);
        QFETCH(TCents, lastPayment);
        QFETCH(TCents, totalInterest);
        QFETCH(int, reason);
        const TScheduleResult s = MakeSchedule(loan, plan);
        QCOMPARE(s ? int(s->Months.size()) : 0, months);
        QCOMPARE(s ? -1 : int(s.Reason), reason);
        if (s) {
            QCOMPARE(s->LastPayment, lastPayment);
            QCOMPARE(s->TotalInterest, totalInterest);
        }
    }

    // The summary of the worked loan under a plan, as every window, printout and the command
    // line show it; the yearly costs worked out apart at 40 digits.
    void summaries_data() {
        QTest::addColumn<TLoanPlan>("plan");
        QTest::addColumn<QStringList>("lines");
        const QStringList loan{"Loan amount: $100,000.00", "Annual rate: 8.750%"};
        TLoanPlan plan;
        plan.Points = 1;
        plan.Fees = 100000;
        Row("a point and fees", plan,
            loan + QStringList{"Term: 360 months", "Monthly payment: $786.70",
                               "Last payment: $787.67", "Total of payments: $283,212.97",
                               "Total interest: $183,212.97", "Points and fees: $2,000.00",
                               "Total cost: $285,212.97", "APR: 8.974%", "APRC: 9.353%"});
        plan = {};
        plan.MonthlyExtra = 10000;
        Row("100.00 extra each month", plan,
            loan + QStringList{"Term: 360 months (repaid in 238)", "Monthly payment: $786.70",
                               "Last payment: $734.78", "Total of payments: $210,882.68",
                               "Total interest: $110,882.68", "Interest saved: $72,330.29",
                               "Payments saved: 122", "APR: 8.750%", "APRC: 9.110%"});
        plan = {};
        plan.InterestOnly = 60;
        plan.LoanDate = std::chrono::year(2024) / 12 / 15;
        plan.FirstPayment = std::chrono::year(2025) / 1 / 31;
        Row("interest only, on dates", plan,
            loan + QStringList{"Term: 360 months", "Monthly payment: $729.17",
                               "Payment from month 61: $822.14", "Last payment: $826.23",
                               "Payoff date: 12/31/2054", "Total of payments: $290,396.29",
                               "Total interest: $190,396.29", "APR: 8.709%", "APRC: 9.066%"});
        plan = {};
        plan.RateChanges = {{61, 6.5}};
        Row("a rate change", plan,
            loan + QStringList{"Rate from month 61: 6.500%", "Term: 360 months",
                               "Monthly payment: $786.70", "Payment from month 61: $646.10",
                               "Last payment: $645.27", "Total of payments: $241,031.17",
                               "Total interest: $141,031.17", "APR: 7.437%", "APRC: 7.696%"});
    }
    void summaries() {
        QFETCH(TLoanPlan, plan);
        QFETCH(QStringList, lines);
        QStringList shown;
        for (const TSummaryLine &line :
             ScheduleSummary(*MakeSchedule({1e5, 8.75, 360, 786.7}, plan)))
            shown << QString::fromStdString(line.Caption.Text() + " " + line.Value.Text());
        QCOMPARE(shown, lines);
    }

    // Every month pays its interest and principal, the balance ends at zero, principal and
    // extras repay the amount, the totals and yearly sums are the months' own, and what the
    // extras save is the difference from the same loan without them.
    void randomLoansWithRandomPlansKeepTheIdentities() {
        std::mt19937_64 random(18);
        std::uniform_real_distribution<double> amount(100, 2e6), rate(0, 30), factor(0.9, 1.6);
        int schedules = 0;
        for (int k = 0; k < 2000; ++k) {
            const double loan = std::round(amount(random) * 100) / 100;
            const double r = std::round(rate(random) * 1000) / 1000;
            const int term = 1 + int(random() % 999);
            const double payment =
                std::round(CalcPayment(term, loan, r / 1200) * factor(random) * 100) / 100;
            TLoanPlan plan;
            auto month = [&] {
                return 1 + int(random() % unsigned(term));
            };
            auto cents = [&] {
                return TCents(random() % (Cents(loan) / 10 + 1));
            };
            if (k % 2) {
                plan.MonthlyExtra = cents() / 10;
                plan.MonthlyFrom = month();
                plan.YearlyExtra = cents();
                plan.YearlyMonth = 1 + int(random() % 12);
                for (int n = int(random() % 4); n > 0; --n)
                    plan.Lumps.push_back({month(), cents()});
                plan.Effect = k % 4 == 1 ? TExtraEffect::LowerPayment : TExtraEffect::ShorterLoan;
                plan.InterestOnly = int(random() % unsigned(term)) / 2;
                if (term > 1 && k % 3 == 0)
                    plan.RateChanges.push_back(
                        {2 + int(random() % unsigned(term - 1)), rate(random)});
                if (k % 5 == 1)
                    plan.FirstPayment = std::chrono::year_month_day(
                        std::chrono::year(2000 + k % 30), std::chrono::month(1 + k % 12),
                        std::chrono::day(1 + k % 31));
            }
            const TScheduleResult s = MakeSchedule({loan, r, term, payment}, plan);
            const QByteArray what = QByteArray::number(k);
            if (!s) {
                QVERIFY2(s.Reason == TNoSchedule::ShortPayment, what);
                continue;
            }
            ++schedules;
            TCents balance = Cents(loan), paid = 0, interest = 0, repaid = 0;
            QVERIFY2(int(s->Months.size()) <= term, what);
            for (const TScheduleRow &m : s->Months) {
                QVERIFY2(m.Interest >= 0 && m.Extra >= 0 && m.Principal >= 0, what);
                QCOMPARE(m.Payment, m.Principal + m.Interest);
                balance -= m.Principal + m.Extra;
                repaid += m.Principal + m.Extra;
                QCOMPARE(m.Balance, balance);
                paid += m.Payment + m.Extra;
                interest += m.Interest;
                QCOMPARE(m.TotalInterest, interest);
            }
            QCOMPARE(balance, 0LL);
            QCOMPARE(repaid, Cents(loan));
            QCOMPARE(s->TotalPayments, paid);
            QCOMPARE(s->TotalInterest, paid - Cents(loan));
            TLoanPlan without = plan;
            without.MonthlyExtra = without.YearlyExtra = 0;
            without.Lumps.clear();
            const TScheduleResult base = MakeSchedule({loan, r, term, payment}, without);
            // without the extras a loan may never start repaying: nothing saved is said
            const bool saves = plan != without && base;
            QCOMPARE(s->InterestSaved, saves ? base->TotalInterest - interest : 0);
            QCOMPARE(s->PaymentsSaved, saves ? int(base->Months.size() - s->Months.size()) : 0);

            const std::vector<TScheduleRow> years = ScheduleByYear(*s);
            if (!plan.FirstPayment)
                QCOMPARE(years.size(), (s->Months.size() + 11) / 12);
            TCents yearsPaid = 0;
            for (const TScheduleRow &y : years) {
                QCOMPARE(y.Payment, y.Principal + y.Interest);
                yearsPaid += y.Payment + y.Extra;
            }
            QCOMPARE(years.back().Balance, 0LL);
            QCOMPARE(years.back().TotalInterest, interest);
            QCOMPARE(yearsPaid, paid);
        }
        QVERIFY(schedules > 1000);
    }

    // Plain numbers with "." whatever the locale; dates as YYYY-MM-DD; a year with dates is
    // the calendar year, its date that of its last payment.
    void csvIsPlainNumbersWhateverTheLocale_data() {
        QTest::addColumn<TLoanPlan>("plan");
        QTest::addColumn<bool>("byYear");
        QTest::addColumn<QString>("csv");
        Row("by year", TLoanPlan{}, true,
            "No.,Payment,Principal,Interest,Balance,Total Interest\r\n"
            "1,1015.25,1000.00,15.25,0.00,15.25\r\n");
        TLoanPlan dated;
        dated.FirstPayment = std::chrono::year(2024) / 12 / 31;
        Row("calendar years", dated, true,
            "No.,Date,Payment,Principal,Interest,Balance,Total Interest\r\n"
            "2024,2024-12-31,500.00,490.00,10.00,510.00,10.00\r\n"
            "2025,2025-02-28,515.25,510.00,5.25,0.00,15.25\r\n");
        dated.MonthlyExtra = 1000;
        Row("dates and extras by month", dated, false,
            "No.,Date,Payment,Principal,Interest,Extra,Balance,Total Interest\r\n"
            "1,2024-12-31,500.00,490.00,10.00,10.00,500.00,10.00\r\n"
            "2,2025-01-31,500.00,495.00,5.00,5.00,0.00,15.00\r\n");
    }
    void csvIsPlainNumbersWhateverTheLocale() {
        QFETCH(TLoanPlan, plan);
        QFETCH(bool, byYear);
        QFETCH(QString, csv);
        TFormatSettings german = UnitedStatesFormatSettings();
        german.DecimalSeparator = ",";
        german.ThousandSeparator = ".";
        SetFormatSettings(german);
        const TScheduleResult s = MakeSchedule({1000, 12, 12, 500}, plan);
        const std::string text = ScheduleCsv(*s, byYear ? ScheduleByYear(*s) : s->Months);
        SetFormatSettings(UnitedStatesFormatSettings());
        QCOMPARE(QString::fromStdString(text), csv);
    }
};

QTEST_APPLESS_MAIN(TestAmortize)
#include "tst_Amortize.moc"
