#include "engine/Amortize.h"
#include "engine/Spread.h"

#include <QRegularExpression>
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

    // Expected figures worked out apart, with exact decimal arithmetic.
    void schedulesOfWorkedLoans_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<int>("months");
        QTest::addColumn<double>("firstInterest");
        QTest::addColumn<double>("firstPrincipal");
        QTest::addColumn<double>("lastPayment");
        QTest::addColumn<double>("totalInterest");
        QTest::newRow("30 years at 8.75%")
            << TLoan{100000, 8.75, 360, 786.70} << 360 << 729.17 << 57.53 << 787.67 << 183212.97;
        QTest::newRow("15 years at 6.5%")
            << TLoan{250000, 6.5, 180, 2177.77} << 180 << 1354.17 << 823.60 << 2177.32 << 141998.15;
        QTest::newRow("ends before its term")
            << TLoan{10000, 12, 24, 900} << 12 << 100.0 << 800.0 << 753.99 << 653.99;
        QTest::newRow("short payments leave a larger last one")
            << TLoan{10000, 12, 12, 800} << 12 << 100.0 << 700.0 << 1922.25 << 722.25;
        QTest::newRow("no interest")
            << TLoan{5000, 0, 7, 714.29} << 7 << 0.0 << 714.29 << 714.26 << 0.0;
        QTest::newRow("half a cent of interest rounds up")
            << TLoan{120, 9.45, 1, 200} << 1 << 0.95 << 120.0 << 120.95 << 0.95;
        QTest::newRow("amounts taken in cents as the grid shows them")
            << TLoan{1000.004, 7.2, 3, 400.006} << 3 << 6.0 << 394.01 << 210.88 << 10.90;
    }
    void schedulesOfWorkedLoans() {
        QFETCH(TLoan, loan);
        QFETCH(int, months);
        QFETCH(double, firstInterest);
        QFETCH(double, firstPrincipal);
        QFETCH(double, lastPayment);
        QFETCH(double, totalInterest);
        const std::optional<TSchedule> s = MakeSchedule(loan);
        QVERIFY(s);
        QCOMPARE(int(s->Months.size()), months);
        QCOMPARE(s->Months.front().Interest, firstInterest);
        QCOMPARE(s->Months.front().Principal, firstPrincipal);
        QCOMPARE(s->LastPayment, lastPayment);
        QCOMPARE(s->TotalInterest, totalInterest);
        QCOMPARE(s->Months.back().TotalInterest, totalInterest);
    }

    void loansThatAreNotRepaidHaveNoSchedule_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::newRow("no loan") << TLoan{0, 8.75, 360, 786.70};
        QTest::newRow("a loan below half a cent") << TLoan{0.004, 8.75, 360, 786.70};
        QTest::newRow("a negative loan") << TLoan{-100000, 8.75, 360, 786.70};
        QTest::newRow("payment equal to the interest") << TLoan{100000, 8.75, 360, 729.17};
        QTest::newRow("payment below the interest") << TLoan{100000, 8.75, 360, 500};
        QTest::newRow("no payment at no interest") << TLoan{100000, 0, 360, 0};
        QTest::newRow("no months") << TLoan{100000, 8.75, 0, 786.70};
        QTest::newRow("more months than are counted")
            << TLoan{100000, 8.75, MaxScheduleMonths + 1, 786.70};
        QTest::newRow("a loan beyond counting") << TLoan{1e300, 8.75, 360, 1e300};
    }
    void loansThatAreNotRepaidHaveNoSchedule() {
        QFETCH(TLoan, loan);
        QVERIFY(!MakeSchedule(loan));
    }

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
                QVERIFY2(m.Interest >= 0, what);
                QCOMPARE(Cents(m.Payment), Cents(m.Principal) + Cents(m.Interest));
                QCOMPARE(Cents(m.Balance), balance - Cents(m.Principal));
                if (&m != &s->Months.back())
                    QCOMPARE(m.Payment, payment);
                balance = Cents(m.Balance);
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

    void csvReadsBackAsTheRowsWhateverTheLocale() {
        TFormatSettings german = UnitedStatesFormatSettings();
        german.DecimalSeparator = ",";
        german.ThousandSeparator = ".";
        SetFormatSettings(german);
        const std::optional<TSchedule> s = MakeSchedule({100000, 8.75, 360, 786.70});
        QVERIFY(s);
        const std::vector<TScheduleRow> years = ScheduleByYear(*s);
        const QStringList lines = QString::fromStdString(ScheduleCsv(years)).split("\r\n");
        SetFormatSettings(UnitedStatesFormatSettings());
        QCOMPARE(lines.size(), int(years.size()) + 2);
        QCOMPARE(lines.last(), QString());
        QCOMPARE(lines.first().split(',').size(), 6);
        for (size_t k = 0; k < years.size(); ++k) {
            const QStringList fields = lines[int(k) + 1].split(',');
            QCOMPARE(fields.size(), 6);
            QCOMPARE(fields[0].toInt(), years[k].No);
            const double values[] = {years[k].Payment, years[k].Principal, years[k].Interest,
                                     years[k].Balance, years[k].TotalInterest};
            for (int f = 1; f < 6; ++f) {
                QVERIFY(fields[f].contains(QRegularExpression("^-?\\d+\\.\\d\\d$")));
                QCOMPARE(fields[f].toDouble(), values[f - 1]);
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestAmortize)
#include "tst_Amortize.moc"
