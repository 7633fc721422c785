#include "engine/Amortize.h"
#include "engine/Spread.h"

#include <QTest>
#include <random>

Q_DECLARE_METATYPE(TLoan)

namespace {

long long Cents(double amount) {
    return std::llround(amount * 100);
}

} // namespace

class TestAmortize : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetFormatSettings(UnitedStatesFormatSettings()); }

    // Expected figures worked out apart, with exact decimal arithmetic; no months, no schedule.
    void schedules_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<int>("months");
        QTest::addColumn<double>("lastPayment");
        QTest::addColumn<double>("totalInterest");
        auto row = [](const char *name, TLoan loan, int months, double last, double interest) {
            QTest::newRow(name) << loan << months << last << interest;
        };
        row("30 years at 8.75%", {100000, 8.75, 360, 786.70}, 360, 787.67, 183212.97);
        row("15 years at 6.5%", {250000, 6.5, 180, 2177.77}, 180, 2177.32, 141998.15);
        row("ends before its term", {10000, 12, 24, 900}, 12, 753.99, 653.99);
        row("short payments leave a larger last one", {10000, 12, 12, 800}, 12, 1922.25, 722.25);
        row("no interest", {5000, 0, 7, 714.29}, 7, 714.26, 0);
        row("half a cent of interest rounds up", {120, 9.45, 1, 200}, 1, 120.95, 0.95);
        row("amounts in cents as the grid shows them", {1000.004, 7.2, 3, 400.006}, 3, 210.88,
            10.9);
        row("no loan", {0, 8.75, 360, 786.70}, 0, 0, 0);
        row("a loan below half a cent", {0.004, 8.75, 360, 786.70}, 0, 0, 0);
        row("a negative loan", {-100000, 8.75, 360, 786.70}, 0, 0, 0);
        row("payment equal to the interest", {100000, 8.75, 360, 729.17}, 0, 0, 0);
        row("payment below the interest", {100000, 8.75, 360, 500}, 0, 0, 0);
        row("no payment at no interest", {100000, 0, 360, 0}, 0, 0, 0);
        row("no months", {100000, 8.75, 0, 786.70}, 0, 0, 0);
        row("more months than are counted", {100000, 8.75, MaxScheduleMonths + 1, 786.7}, 0, 0, 0);
        row("a loan beyond counting", {1e300, 8.75, 360, 1e300}, 0, 0, 0);
    }
    void schedules() {
        QFETCH(TLoan, loan);
        QFETCH(int, months);
        QFETCH(double, lastPayment);
        QFETCH(double, totalInterest);
        const std::optional<TSchedule> s = MakeSchedule(loan);
        QCOMPARE(s ? int(s->Months.size()) : 0, months);
        if (s) {
            QCOMPARE(s->LastPayment, lastPayment);
            QCOMPARE(s->TotalInterest, totalInterest);
        }
    }

    // Every month pays its interest and principal, the balance ends at zero, and the totals
    // and yearly sums are the months' own.
    void randomLoansEndAtZeroWithConsistentTotals() {
        std::mt19937_64 random(18);
        std::uniform_real_distribution<double> amount(100, 2e6), rate(0, 30), factor(0.9, 1.6);
        int schedules = 0;
        for (int k = 0; k < 2000; ++k) {
            const double loan = std::round(amount(random) * 100) / 100;
            const double r = std::round(rate(random) * 1000) / 1000;
            const int term = 1 + int(random() % 999);
            const double payment =
                std::round(CalcPayment(term, loan, r / 1200) * factor(random) * 100) / 100;
            const std::optional<TSchedule> s = MakeSchedule({loan, r, term, payment});
            const QByteArray what = QByteArray::number(k);
            if (!s) {
                QVERIFY2(Cents(payment) <= Cents(loan * r / 1200) + 1, what);
                continue;
            }
            ++schedules;
            long long balance = Cents(loan), paid = 0, interest = 0;
            QVERIFY2(int(s->Months.size()) <= term, what);
            for (const TScheduleRow &m : s->Months) {
                QVERIFY2(m.Interest >= 0 && (&m == &s->Months.back() || m.Payment == payment),
                         what);
                QCOMPARE(Cents(m.Payment), Cents(m.Principal) + Cents(m.Interest));
                balance -= Cents(m.Principal);
                QCOMPARE(Cents(m.Balance), balance);
                paid += Cents(m.Payment);
                interest += Cents(m.Interest);
                QCOMPARE(Cents(m.TotalInterest), interest);
            }
            QCOMPARE(balance, 0LL);
            QCOMPARE(Cents(s->TotalPayments), paid);
            QCOMPARE(Cents(s->TotalInterest), paid - Cents(loan));

            const std::vector<TScheduleRow> years = ScheduleByYear(*s);
            QCOMPARE(years.size(), (s->Months.size() + 11) / 12);
            long long yearsPaid = 0;
            for (size_t y = 0; y < years.size(); ++y) {
                const TScheduleRow &end = s->Months[std::min(12 * y + 11, s->Months.size() - 1)];
                QCOMPARE(years[y].Balance, end.Balance);
                QCOMPARE(years[y].TotalInterest, end.TotalInterest);
                QCOMPARE(Cents(years[y].Payment), Cents(years[y].Principal + years[y].Interest));
                yearsPaid += Cents(years[y].Payment);
            }
            QCOMPARE(yearsPaid, paid);
        }
        QVERIFY(schedules > 1000);
    }

    void csvIsPlainNumbersWhateverTheLocale() {
        TFormatSettings german = UnitedStatesFormatSettings();
        german.DecimalSeparator = ",";
        german.ThousandSeparator = ".";
        SetFormatSettings(german);
        const std::vector<TScheduleRow> years =
            ScheduleByYear(*MakeSchedule({1e5, 8.75, 360, 786.7}));
        const QString csv = QString::fromStdString(ScheduleCsv(years));
        SetFormatSettings(UnitedStatesFormatSettings());
        QString rows;
        for (const TScheduleRow &y : years)
            rows += QString::asprintf("%d,%.2f,%.2f,%.2f,%.2f,%.2f\r\n", y.No, y.Payment,
                                      y.Principal, y.Interest, y.Balance, y.TotalInterest);
        const qsizetype header = csv.indexOf("\r\n") + 2;
        QCOMPARE(csv.left(header).count(','), 5);
        QCOMPARE(csv.mid(header), rows);
    }
};

QTEST_APPLESS_MAIN(TestAmortize)
#include "tst_Amortize.moc"
