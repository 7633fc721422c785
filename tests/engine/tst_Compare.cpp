#include "engine/Compare.h"
#include "engine/Spread.h"
#include "tests/support/Row.h"

#include <QTest>
#include <random>

Q_DECLARE_METATYPE(TOffer)
Q_DECLARE_METATYPE(TLoan)
Q_DECLARE_METATYPE(TLoanPlan)
Q_DECLARE_METATYPE(TCompareRow)

namespace {

TOffer Offer(const char *name, double rate, int term = 360, TCents fees = 0) {
    TOffer o{name, {100000, rate, term, 0}, {}};
    o.Plan.Fees = fees;
    return o;
}

// The worked pair: a higher rate without points against a lower one with 2 points.
const TOffer A = Offer("A", 8.75);
TOffer PointsOffer() {
    TOffer b = Offer("B", 8.25);
    b.Plan.Points = 2;
    return b;
}

TOffer WithExtra(TOffer o, TCents extra) {
    o.Plan.MonthlyExtra = extra;
    return o;
}

} // namespace

class TestCompare : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetFormatSettings(UnitedStatesFormatSettings()); }

    // Figures worked out apart in exact decimals: the payments made plus the balance owing.
    void costIfTheLoanEndsAfterMonths_data() {
        QTest::addColumn<TOffer>("offer");
        QTest::addColumn<int>("month");
        QTest::addColumn<TCents>("cost");
        const TOffer b = PointsOffer();
        QTest::newRow("A at 47") << A << 47 << TCents(13376351);
        QTest::newRow("B at 47") << b << 47 << TCents(13378578);
        QTest::newRow("A at 48") << A << 48 << TCents(13446926);
        QTest::newRow("B at 48") << b << 48 << TCents(13444905);
        QTest::newRow("A after 5 years") << A << 60 << TCents(14289099);
        QTest::newRow("B after 5 years") << b << 60 << TCents(14235994);
        QTest::newRow("A after 10 years") << A << 120 << TCents(18342652);
        QTest::newRow("B after 10 years") << b << 120 << TCents(18032183);
        QTest::newRow("A after 30 years") << A << 360 << TCents(28321297);
        QTest::newRow("B after 30 years") << b << 360 << TCents(27245176);
        QTest::newRow("B before its first payment") << b << 0 << TCents(10200000);
        const TOffer e = WithExtra(b, 10000);
        QTest::newRow("B with 100.00 extra after 5 years") << e << 60 << TCents(14096416);
        QTest::newRow("B with 100.00 extra, long paid off") << e << 1000 << TCents(20679168);
    }
    void costIfTheLoanEndsAfterMonths() {
        QFETCH(TOffer, offer);
        QFETCH(int, month);
        QFETCH(TCents, cost);
        const TComparison c = Compare({offer}, 5);
        QVERIFY(c.Offers[0].Schedule);
        QCOMPARE(CostAfter(*c.Offers[0].Schedule, month), cost);
    }

    // The offer paying more up front, and the month from which it stays cheaper (-1: never).
    void breakEven_data() {
        QTest::addColumn<TOffer>("first");
        QTest::addColumn<TOffer>("second");
        QTest::addColumn<int>("payer");
        QTest::addColumn<int>("month");
        const TOffer b = PointsOffer();
        QTest::newRow("points pay for themselves in month 48") << A << b << 1 << 48;
        QTest::newRow("in either order") << b << A << 0 << 48;
        Row("fees at a higher rate never do", A, Offer("C", 9, 360, 100000), 1, -1);
        QTest::newRow("points with extras") << A << WithExtra(b, 10000) << 1 << 37;
        QTest::newRow("a shorter loan with fees") << A << Offer("F", 7.5, 180, 350000) << 1 << 28;
        Row("no fees: the cheaper one from the first month", Offer("D", 8.5), A, 0, 1);
        QTest::newRow("an offer against itself") << A << A << 0 << -1;
    }
    void breakEven() {
        QFETCH(TOffer, first);
        QFETCH(TOffer, second);
        QFETCH(int, payer);
        QFETCH(int, month);
        const TComparison c = Compare({first, second}, 5);
        QCOMPARE(c.Pairs.size(), size_t(1));
        QCOMPARE(c.Pairs[0].Payer, payer);
        QCOMPARE(c.Pairs[0].Month.value_or(-1), month);
    }

    // Each row of the worked pair as shown, and which offers it marks best.
    void rowsOfTheWorkedPair_data() {
        QTest::addColumn<TCompareRow>("row");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("difference");
        QTest::addColumn<QList<int>>("best");
        auto row = [](const char *name, TCompareRow r, const char *a, const char *b,
                      const char *difference, QList<int> best) {
            QTest::newRow(name) << r << a << b << difference << best;
        };
        row("payment", TCompareRow::Payment, "$786.70", "$751.27", "-$35.43", {1});
        row("APR", TCompareRow::Apr, "8.750%", "8.467%", "-0.283%", {1});
        row("APRC", TCompareRow::Aprc, "9.110%", "8.804%", "-0.306%", {1});
        row("payments", TCompareRow::Payments, "360", "360", "+0", {0, 1});
        row("no payoff date without dates", TCompareRow::PayoffDate, "", "", "", {});
        row("total interest", TCompareRow::TotalInterest, "$183,212.97", "$170,451.76",
            "-$12,761.21", {1});
        row("points and fees", TCompareRow::Charges, "$0.00", "$2,000.00", "+$2,000.00", {0});
        row("total cost", TCompareRow::TotalCost, "$283,212.97", "$272,451.76", "-$10,761.21", {1});
        row("cost after 10 years", TCompareRow::CostAtYears, "$183,426.52", "$180,321.83",
            "-$3,104.69", {1});
    }
    void rowsOfTheWorkedPair() {
        QFETCH(TCompareRow, row);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, difference);
        QFETCH(QList<int>, best);
        const TComparison c = Compare({A, PointsOffer()}, 10);
        QCOMPARE(c.Offers[1].Schedule->LastPayment, TCents(74583));
        const TCompareKind kind = CompareRowInfo(row).Kind;
        auto text = [&](int offer) {
            const std::optional<double> v = CompareValue(c, offer, row);
            return QString::fromStdString(v ? CompareText(kind, *v) : "");
        };
        QCOMPARE(text(0), a);
        QCOMPARE(text(1), b);
        const std::optional<double> va = CompareValue(c, 0, row), vb = CompareValue(c, 1, row);
        QCOMPARE(QString::fromStdString(va ? CompareDifference(kind, *vb - *va) : ""), difference);
        const std::vector<int> marked = BestInRow(c, row);
        QCOMPARE(QList<int>(marked.begin(), marked.end()), best);
    }

    // Months to payoff, total interest and the interest saved of one cell of the grid of the
    // 8.75 % offer by 100.00 and 1/4 point, worked out apart (-1 months: no schedule).
    void paydownCells_data() {
        QTest::addColumn<TOffer>("offer");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("months");
        QTest::addColumn<TCents>("interest");
        QTest::addColumn<TCents>("saved");
        QTest::newRow("the offer itself") << A << 0 << 3 << 360 << TCents(18321297) << TCents(0);
        QTest::newRow("100.00 extra") << A << 1 << 3 << 238 << TCents(11088268) << TCents(7233029);
        Row("1,000.00 extra at 9.5 %", A, 10, 6, 72, TCents(3124937), TCents(17146611));
        Row("500.00 extra at 8 %", A, 5, 0, 117, TCents(4432890), TCents(11983157));
        TOffer own = A;
        own.Plan.MonthlyExtra = 500000;
        own.Plan.MonthlyTo = 12;
        Row("on top of its own extra of the first year", own, 1, 2, 61, TCents(1262971),
            TCents(-1));
        TOffer low = A;
        low.Loan.Rate = 0.5;
        Row("a rate below 0 has no schedule", low, 3, 0, -1, TCents(0), TCents(0));
    }
    void paydownCells() {
        QFETCH(TOffer, offer);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, months);
        QFETCH(TCents, interest);
        QFETCH(TCents, saved);
        const TPaydownGrid g = PaydownGrid(offer, 10000, 0.25);
        const TPaydownCell &cell = g.Cells[size_t(row)][size_t(column)];
        QCOMPARE(cell.Repaid ? cell.Months : -1, months);
        QCOMPARE(cell.TotalInterest, interest);
        if (saved >= 0)
            QCOMPARE(cell.InterestSaved, saved);
        else // against the same column without the grid's extra
            QCOMPARE(cell.InterestSaved,
                     g.Cells[0][size_t(column)].TotalInterest - cell.TotalInterest);
    }

    // A schedule taken into the comparison as an offer keeps its months, whatever its plan.
    void aScheduleBecomesTheSameOffer_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<TLoanPlan>("plan");
        TLoanPlan plan;
        QTest::newRow("a cell's loan") << TLoan{100000, 8.75, 360, 786.70} << plan;
        QTest::newRow("a payment above the level one") << TLoan{5000, 6, 24, 300} << plan;
        plan.InterestOnly = 12;
        QTest::newRow("interest only, then recast") << TLoan{100000, 8, 360, 733.76} << plan;
        plan.PaymentGiven = true;
        Row("interest only, then the given payment", TLoan{100000, 8, 360, 800}, plan);
        plan = {};
        plan.Lumps = {{12, 500000}};
        plan.RateChanges = {{61, 6.5}};
        plan.Effect = TExtraEffect::LowerPayment;
        plan.Fees = 150000;
        Row("a one-off, a rate change and fees", TLoan{100000, 8.75, 360, 786.70}, plan);
    }
    void aScheduleBecomesTheSameOffer() {
        QFETCH(TLoan, loan);
        QFETCH(TLoanPlan, plan);
        const TScheduleResult s = MakeSchedule(loan, plan);
        QVERIFY(s);
        const TScheduleResult again = OfferSchedule(ScheduleOffer(*s, "X"));
        QVERIFY(again);
        QCOMPARE(again->Months.size(), s->Months.size());
        QCOMPARE(again->TotalInterest, s->TotalInterest);
        QCOMPARE(again->LastPayment, s->LastPayment);
        QCOMPARE(again->TotalCost, s->TotalCost);
    }

    // Random pairs: the cost at the payoff month is the points and fees plus every payment;
    // from the break-even month on the payer stays cheaper and the month before it is not;
    // an offer against itself never breaks even.
    void randomPairsKeepTheIdentities() {
        std::mt19937 random(20261208);
        auto draw = [&](const char *name) {
            std::uniform_int_distribution<int> rate(0, 1500), term(12, 480), fees(0, 800000),
                extra(0, 30000), amount(100000, 50000000);
            TOffer o{name, {amount(random) / 100.0, rate(random) / 100.0, term(random), 0}, {}};
            o.Plan.Fees = fees(random);
            o.Plan.MonthlyExtra = extra(random) < 10000 ? 0 : extra(random);
            return o;
        };
        for (int k = 0; k < 200; ++k) {
            const TComparison c = Compare({draw("X"), draw("Y")}, 5);
            for (const TOfferCosts &o : c.Offers) {
                TCents paid = o.Schedule->Charges;
                for (const TScheduleRow &m : o.Schedule->Months)
                    paid += m.Payment + m.Extra;
                QCOMPARE(CostAfter(*o.Schedule, int(o.Schedule->Months.size())), paid);
                QCOMPARE(o.Schedule->TotalCost, paid);
            }
            const TBreakEven &pair = c.Pairs.at(0);
            const TSchedule &payer = *c.Offers[size_t(pair.Payer)].Schedule;
            const TSchedule &other = *c.Offers[size_t(1 - pair.Payer)].Schedule;
            const int horizon = int(std::max(payer.Months.size(), other.Months.size()));
            if (pair.Month) {
                for (int m = *pair.Month; m <= horizon + 1; ++m)
                    QVERIFY2(CostAfter(payer, m) < CostAfter(other, m),
                             qPrintable(QString::number(m)));
                if (*pair.Month > 1)
                    QVERIFY(CostAfter(payer, *pair.Month - 1) >= CostAfter(other, *pair.Month - 1));
            } else {
                QVERIFY(CostAfter(payer, horizon) >= CostAfter(other, horizon));
            }
            const TComparison self = Compare({c.Offers[0].Offer, c.Offers[0].Offer}, 5);
            QVERIFY(!self.Pairs.at(0).Month);
        }
    }
};

QTEST_APPLESS_MAIN(TestCompare)
#include "tst_Compare.moc"
