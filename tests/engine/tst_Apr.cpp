#include "engine/Apr.h"
#include "tests/support/Row.h"

#include <QTest>

// Runs of equal payments: (count, amount).
using TRuns = QList<QPair<int, double>>;

// Expected rates worked out apart at 40 digits; the worked examples of the actuarial method
// are the lender's published ones.
class TestApr : public QObject {
    Q_OBJECT

private slots:
    // Monthly payments k = 1, 2, ...: `amounts` as runs of (count, amount), each payment after
    // whole months plus `fraction` of one (and `days` more for the yearly rate of the dates).
    void ratesOfMonthlyPayments_data() {
        QTest::addColumn<double>("advance");
        QTest::addColumn<TRuns>("amounts");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("apr");  // 12 x the monthly rate, as many decimals as given
        QTest::addColumn<QString>("aprc"); // the yearly rate at times in years
        Row("24 payments of 230", 5000.0, TRuns{{24, 230}}, 0, "9.69", "");
        Row("an odd first period of 19 days", 6000.0, TRuns{{36, 200}}, 19, "11.82", "12.485");
        Row("a larger first payment", 5000.0, TRuns{{1, 250}, {23, 230}}, 0, "10.08", "");
        Row("a larger last payment", 5000.0, TRuns{{23, 230}, {1, 280}}, 0, "10.50", "");
        Row("larger first and last payments", 5000.0, TRuns{{1, 250}, {22, 230}, {1, 280}}, 0,
            "10.90", "");
        Row("6 payments of 1,707", 10000.0, TRuns{{6, 1707}}, 0, "8.250", "8.5692569");
        Row("6 payments of 172.55", 1000.0, TRuns{{6, 172.55}}, 0, "", "12.686");
        Row("payments short of the advance", 1000.0, TRuns{{10, 95}}, 0, "-11.063", "-10.519");
    }
    void ratesOfMonthlyPayments() {
        QFETCH(double, advance);
        QFETCH(TRuns, amounts);
        QFETCH(int, days);
        QFETCH(QString, apr);
        QFETCH(QString, aprc);
        std::vector<TActuarialPayment> actuarial;
        std::vector<TDatedPayment> dated;
        for (const auto &[count, amount] : amounts)
            for (int k = 0; k < count; ++k) {
                const int months = int(actuarial.size()) + 1;
                actuarial.push_back({months, days / 30.0, double(amount)});
                dated.push_back({months / 12.0 + days / 365.0, amount});
            }
        const std::optional<double> i = ActuarialRate(advance, actuarial);
        const std::optional<double> x = AnnualChargeRate(advance, dated);
        QVERIFY(i && x);
        auto decimals = [](const QString &s) {
            return int(s.size() - s.indexOf('.') - 1);
        };
        if (!apr.isEmpty())
            QCOMPARE(QString::number(1200 * *i, 'f', decimals(apr)), apr);
        if (!aprc.isEmpty())
            QCOMPARE(QString::number(100 * *x, 'f', decimals(aprc)), aprc);
    }

    void noRateWithoutPayments() {
        QVERIFY(!ActuarialRate(1000, {}));
        QVERIFY(!AnnualChargeRate(1000, {}));
    }
};

QTEST_APPLESS_MAIN(TestApr)
#include "tst_Apr.moc"
