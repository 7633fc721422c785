#include "engine/Spread.h"

#include <QTest>
#include <functional>
#include <random>

namespace {

// The main window as the calculators see it: inputs the test sets, a grid that records
// what was written and in which order.
class FakeView : public TSpreadView {
public:
    SpreadState State;
    int LoanIndex = 3, InterestIndex = 3, PaymentIndex = 3;
    double Loan = 100000, Interest = 8.75, Term = 360, Payment = 786.7;
    std::string Cells[8][12];
    int Writes = 0, SelectedCol = -1, SelectedRow = -1, PrintingAllowed = 0;
    std::vector<std::pair<int, TRgb>> ColColors, RowColors;

    SpreadState &Spread() override { return State; }
    int LoanStepIndex() override { return LoanIndex; }
    int InterestStepIndex() override { return InterestIndex; }
    int PaymentStepIndex() override { return PaymentIndex; }
    double LoanValue() override { return Loan; }
    double InterestValue() override { return Interest; }
    double TermValue() override { return Term; }
    double PaymentValue() override { return Payment; }
    void SetCell(int col, int row, const std::string &text) override {
        Cells[col][row] = text;
        ++Writes;
    }
    void SelectCell(int col, int row) override {
        SelectedCol = col;
        SelectedRow = row;
    }
    void SetColorCol(int col, TRgb c) override { ColColors.push_back({col, c}); }
    void SetColorRow(int row, TRgb c) override { RowColors.push_back({row, c}); }
    void AllowPrinting() override { ++PrintingAllowed; }

    QStringList Row(int row, int from = 1) const {
        QStringList texts;
        for (int c = from; c <= 7; ++c)
            texts << QString::fromStdString(Cells[c][row]);
        return texts;
    }
    QStringList Col(int col, int from = 1) const {
        QStringList texts;
        for (int r = from; r <= 11; ++r)
            texts << QString::fromStdString(Cells[col][r]);
        return texts;
    }
    QString Cell(int col, int row) const { return QString::fromStdString(Cells[col][row]); }
    void Run(int mode) {
        State.CalcMode = TCalcMode(mode);
        FillSpread(*this);
    }
    bool CentreMarked() const {
        const std::vector<std::pair<int, TRgb>> col{{4, SpreadHighlight}},
            row{{6, SpreadHighlight}};
        return SelectedCol == 4 && SelectedRow == 6 && ColColors == col && RowColors == row &&
               PrintingAllowed == 1;
    }
};

QStringList Prefixed(const char *prefix, std::initializer_list<const char *> texts) {
    QStringList out;
    for (const char *t : texts)
        out << QString(prefix) + t;
    return out;
}

const QStringList LoanRows =
    Prefixed(" ", {"$95,000", "$96,000", "$97,000", "$98,000", "$99,000", "$100,000", "$101,000",
                   "$102,000", "$103,000", "$104,000", "$105,000"});
const QStringList RateCols =
    Prefixed("  ", {"7.25%", "7.75%", "8.25%", "8.75%", "9.25%", "9.75%", "10.25%"});
const QStringList PaymentCols =
    Prefixed("  ", {"$561.70", "$636.70", "$711.70", "$786.70", "$861.70", "$936.70", "$1,011.70"});

enum Formula { Payment, Loan, Rate, Term, Exact };

double Evaluate(int formula, double a, double b, double c, double d) {
    switch (formula) {
    case Payment:
        return CalcPayment(int(a), b, c);
    case Loan:
        return CalcLoan(int(a), b, c, d);
    case Rate:
        return CalcRate(int(a), b, c, d);
    case Exact:
        return ExactRate(int(a), b, d);
    default:
        return CalcTerm(a, b, c);
    }
}

// The monthly rate at which n payments repay the loan, both given in whole cents, found
// independently in quadruple precision: bisection on loan·x·(1 + x)^n = payment·((1 + x)^n − 1),
// with g = (1 + x)^n − 1 built by squaring from (1 + a)(1 + b) − 1 = a + b + ab, so that small
// rates keep their digits.
__float128 QuadRate(int n, qint64 loanCents, qint64 paymentCents) {
    const __float128 loan = __float128(loanCents) / 100, payment = __float128(paymentCents) / 100;
    auto repaysMore = [&](__float128 x) {
        __float128 growth = 0, square = x;
        for (int k = n; k > 0; k >>= 1, square = square * (2 + square))
            if (k & 1)
                growth = growth + square + growth * square;
        return payment * growth > loan * x * (1 + growth);
    };
    __float128 lo = 0, hi = payment / loan;
    for (__float128 mid = (lo + hi) / 2; mid > lo && mid < hi; mid = (lo + hi) / 2)
        (repaysMore(mid) ? lo : hi) = mid;
    return lo;
}

} // namespace

Q_DECLARE_METATYPE(TLoan)

class TestSpread : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetFormatSettings(UnitedStatesFormatSettings()); }

    void formulas_data() {
        QTest::addColumn<int>("formula");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<double>("c");
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");
        auto row = [](const char *name, Formula f, double a, double b, double c, double d, double e,
                      double tol) {
            QTest::newRow(name) << int(f) << a << b << c << d << e << tol;
        };
        row("payment of the default loan", Payment, 360, 100000, 8.75 / 1200, 0, 786.7004, 1e-4);
        row("payment over no months", Payment, 0, 100000, 0.01, 0, 0, 0);
        row("payment at no interest", Payment, 12, 1200, 0, 0, 100, 0);
        row("payment at a negative rate", Payment, 360, 100000, -1.0 / 1200, 0, 238.076, 1e-3);
        row("loan of the default payment", Loan, 360, 0, 8.75, 786.70, 99999.948, 1e-3);
        row("loan at no interest ignores fv", Loan, 360, 5000, 0, 500, 180000, 0);
        row("loan over no months is -fv", Loan, 0, 250, 8.75, 786.70, -250, 1e-9);
        row("rate of the default loan", Rate, 360, 100000, 0, 786.70, 8.75021, 1e-5);
        row("rate of a zero payment", Rate, 360, 100000, 0, 0, 0, 0);
        row("rate over no months", Rate, 0, 100000, 0, 786.70, 0, 0);
        row("rate of no loan", Rate, 360, 0, 0, 786.70, 0, 0);
        row("rate where the search creeps", Rate, 1, 100000, 0, 101000, 12, 1e-9);
        row("rate where the search creeps, mirrored", Rate, 1, -100000, 0, -101000, 12, 1e-9);
        row("rate with a deduction", Rate, 360, 100000, 0.02, 786.70, 8.9740, 1e-3);
        row("exact rate of payments that just repay the loan", Exact, 12, 1200, 0, 100, 0, 0);
        row("exact rate of payments below the loan", Exact, 360, 100000, 0, 225, 0.0043, 1e-4);
        row("exact rate of a zero payment", Exact, 360, 100000, 0, 0, 0, 0);
        row("exact rate over no months", Exact, 0, 100000, 0, 786.70, 0, 0);
        row("exact rate of no loan", Exact, 360, 0, 0, 786.70, 0, 0);
        row("term of the default loan", Term, 100000, 786.70, 8.75, 0, 360.0009, 1e-4);
        row("term below the monthly interest", Term, 100000, 700, 8.75, 0, 0, 0);
        row("term at no interest", Term, 100000, 500, 0, 0, 200, 0);
        row("term just above the interest", Term, 100000, 729.17, 8.75, 0, 1692.406, 1e-3);
        row("term of a negative payment", Term, 100000, -150, 8.75, 0, -243.40, 5e-3);
        row("term of a payment equal to the interest", Term, 80000, 1000, 15, 0, 0, 0);
        row("term of a payment equal to the typed interest", Term, 100000, 612.5, 7.35, 0, 0, 0);
        row("term of a payment a cent above it", Term, 100000, 612.51, 7.35, 0, 1805.136, 1e-3);
    }
    void formulas() {
        QFETCH(int, formula);
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(double, c);
        QFETCH(double, d);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        const double result = Evaluate(formula, a, b, c, d);
        QVERIFY2(std::fabs(result - expected) <= tolerance, QByteArray::number(result, 'g', 17));
    }

    void faults_data() {
        QTest::addColumn<int>("formula");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<double>("c");
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("error");
        auto row = [](const char *name, Formula f, double a, double b, double c, double d,
                      const char *e) {
            QTest::newRow(name) << int(f) << a << b << c << d << e;
        };
        row("payment at -1200%", Payment, 360, 100000, -1, 0, "EZeroDivide");
        row("payment below -1200%", Payment, 360, 100000, -2, 0, "EInvalidOp");
        row("payment whose power overflows", Payment, -100000, 1000, 1, 0, "EOverflow");
        row("loan at -1200%", Loan, 360, 0, -1200, 500, "EZeroDivide");
        row("loan below -1200%", Loan, 360, 0, -2400, 500, "EInvalidOp");
        row("loan whose payment grows too large", Loan, 1000, 0, 2400, 786.7, "EOverflow");
        row("rate reaching -1", Rate, 360, 100000, 0, -100000, "EZeroDivide");
        row("rate going below -1", Rate, 360, 100000, 0, -200000, "EInvalidOp");
        row("rate whose power overflows", Rate, -1000, 1, 0, 1e6, "EOverflow");
        row("exact rate going below -1", Exact, 360, 100000, 0, -200000, "EInvalidOp");
        row("exact rate whose power overflows", Exact, -1000, 1, 0, 1e6, "EOverflow");
        row("exact rate beyond the double range", Exact, 1, 1e-300, 0, 1e10, "EOverflow");
        row("term of no payment", Term, 100000, 0, 8.75, 0, "EZeroDivide");
        row("term of no payment and no loan", Term, 0, 0, 8.75, 0, "EInvalidOp");
        row("term of no payment at no interest", Term, 100000, 0, 0, 0, "EZeroDivide");
        row("term below -1200%", Term, 100000, 500, -2400, 0, "EInvalidOp");
    }
    void faults() {
        QFETCH(int, formula);
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(double, c);
        QFETCH(double, d);
        QFETCH(QString, error);
        QString raised = "nothing";
        try {
            Evaluate(formula, a, b, c, d);
        } catch (const EZeroDivide &) {
            raised = "EZeroDivide";
        } catch (const EInvalidOp &) {
            raised = "EInvalidOp";
        } catch (const EOverflow &) {
            raised = "EOverflow";
        }
        QCOMPARE(raised, error);
    }

    void loanLeftToRepayIsKept() {
        // A loan that leaves 1000 owing after 12 payments of 100 at 6%: the payments' worth
        // less the worth of what stays owing.
        QVERIFY(std::fabs(CalcLoan(12, 1000, 6, 100) - (1161.893 - 941.905)) < 1e-2);
    }

    void rateSearchStillNeverGivesANegativeRate() {
        // Payments that do not even repay the principal drift towards zero, not below it.
        const double r = CalcRate(360, 100000, 0, 225);
        QVERIFY(r > 0);
        QCOMPARE(FixedText(r, 5, 3), std::string("0.004"));
    }

    void randomInputsGiveANumberOrAMathError() {
        std::mt19937_64 random(20261207);
        auto pick = [&](double lo, double hi) {
            const int kind = int(random() % 8);
            if (kind == 0)
                return 0.0;
            if (kind == 1)
                return std::ldexp(double(random() % 1000) - 500, -int(random() % 1070));
            return std::uniform_real_distribution<double>(lo, hi)(random);
        };
        int results = 0, faults = 0;
        for (int k = 0; k < 40000; ++k) {
            const int formula = k % 4;
            const double n = std::round(pick(-5000, 5000));
            const double a = formula == Term ? pick(-1e9, 1e9) : n;
            const double b = pick(-1e9, 1e9);
            const double c = formula == Payment ? pick(-3, 3) : pick(-3000, 3000);
            const double d = pick(-1e7, 1e7);
            try {
                const double r = Evaluate(formula, a, b, formula == Rate ? pick(-1, 1) : c, d);
                QVERIFY2(std::isfinite(r),
                         qPrintable(QString("formula %1 case %2").arg(formula).arg(k)));
                ++results;
            } catch (const EMathError &) {
                ++faults;
            }
        }
        QVERIFY(results > 20000);
        QVERIFY(faults > 0);
    }

    // The formulas undo one another: the loan, the term and the rate the rate spread shows for
    // the payment of a loan are that loan, its term and its rate, to the formulas' precision.
    void randomLoansSatisfyTheirIdentities() {
        std::mt19937_64 random(20261208);
        std::uniform_real_distribution<double> amount(100, 1e7), percent(0.01, 30);
        for (int k = 0; k < 20000; ++k) {
            const int n = 1 + int(random() % 480);
            const double loan = (k % 2 ? 1 : -1) * amount(random), rate = percent(random);
            const double payment = CalcPayment(n, loan, rate / 1200);
            const QByteArray what = QByteArray::number(k);
            QVERIFY2(std::fabs(CalcLoan(n, 0, rate, payment) - loan) <= 1e-9 * std::fabs(loan),
                     what);
            QVERIFY2(std::fabs(CalcTerm(loan, payment, rate) - n) <= 1e-7, what);
            QVERIFY2(std::fabs(ExactRate(n, loan, payment) - rate) <= 1e-9, what);
        }
    }

    // The rate the rate spread shows is the root of the annuity equation to the last bit: chosen
    // loans, then random ones, every other with payments totalling close to the loan.
    void anExactRateIsTheRootToTheLastBit_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<qint64>("loanCents");
        QTest::addColumn<qint64>("paymentCents");
        QTest::newRow("long loan") << 120 << 5000000LL << 50000LL;
        QTest::newRow("one large payment") << 1 << 10000000LL << 10100000LL;
        QTest::newRow("payments that barely repay it") << 600 << 100000000LL << 166670LL;
        QTest::newRow("a year at 1200% a year") << 12 << 100000LL << 100000LL;
        QTest::newRow("near halfway between two doubles") << 158 << 90804085LL << 875075LL;
        QTest::newRow("payments close to the loan") << 6 << 86820758LL << 14480712LL;
        QTest::newRow("one cent over the loan") << 1 << 769721250LL << 769721251LL;
        std::mt19937_64 random(20261209);
        for (int k = 0; k < 2000; ++k) {
            const int n = 1 + int(random() % 480);
            const qint64 loanCents = 10000 + qint64(random() % 100000000),
                         least = loanCents / n + 1;
            const qint64 paymentCents = least + qint64(random() % qint64(k % 2 ? 100 : least));
            QTest::addRow("random %d", k) << n << loanCents << paymentCents;
        }
    }
    void anExactRateIsTheRootToTheLastBit() {
        QFETCH(int, n);
        QFETCH(qint64, loanCents);
        QFETCH(qint64, paymentCents);
        const double expected = double(QuadRate(n, loanCents, paymentCents) * 1200);
        QCOMPARE(ExactRate(n, loanCents / 100.0, paymentCents / 100.0), expected);
    }

    void textForms() {
        QCOMPARE(CurrencyText(-95, 10, 2), std::string("($95.00)"));
        QCOMPARE(CurrencyText(1234.56, 5, 2), std::string("$1,234.60"));
        QCOMPARE(CurrencyText(12345.67, 5, 2), std::string("$12,346.00"));
        QCOMPARE(CurrencyText(-0.0, 10, 0), std::string("$0"));
        QCOMPARE(GeneralText(123456, 5), std::string("1.2346E5"));
        QCOMPARE(GeneralText(0.00005, 5), std::string("5E-5"));
        QCOMPARE(GeneralText(-0.0, 5), std::string("0"));
        QCOMPARE(FixedText(-0.0004, 5, 3), std::string("0.000"));
        QCOMPARE(FixedText(360.0009, 5, 2), std::string("360.00"));
    }

    void paymentGridOfTheDefaults() {
        FakeView v;
        v.Cells[0][0] = "old corner";
        v.Run(0);
        QCOMPARE(v.Cell(0, 0), QString(" Loan / Rate"));
        QCOMPARE(v.Row(0), RateCols);
        QCOMPARE(v.Col(0), LoanRows);
        QCOMPARE(v.Cell(4, 6), QString(" $786.70"));
        QCOMPARE(v.Cell(1, 1), QString(" $648.07"));
        QCOMPARE(v.Cell(7, 11), QString(" $940.91"));
        QCOMPARE(v.Writes, 1 + 7 + 11 + 77);
        QVERIFY(v.CentreMarked());
        QCOMPARE(v.State.LoanStepText, std::string("$1000"));
        QCOMPARE(v.State.RateStepText, std::string("1/2%"));
        QCOMPARE(v.State.PaymentStepText, std::string(" "));
    }

    void loanGridOfTheDefaults() {
        FakeView v;
        v.Cells[0][0] = " Pmt / Rate";
        v.State.LoanStepText = "$250";
        v.Run(1);
        QCOMPARE(v.Cell(0, 0), QString(" Pmt / Rate")); // the corner is the reset's
        QCOMPARE(v.Col(0),
                 Prefixed(" ", {"$411.70", "$486.70", "$561.70", "$636.70", "$711.70", "$786.70",
                                "$861.70", "$936.70", "$1,011.70", "$1,086.70", "$1,161.70"}));
        QCOMPARE(v.Row(0), RateCols);
        QCOMPARE(v.Cell(4, 6), QString(" $100,000"));
        QCOMPARE(v.Cell(1, 1), QString(" $60,351"));
        QCOMPARE(v.Cell(7, 11), QString(" $129,639"));
        QVERIFY(v.CentreMarked());
        QCOMPARE(v.State.PaymentStepText, std::string("$75"));
        QCOMPARE(v.State.RateStepText, std::string("1/2%"));
        QCOMPARE(v.State.LoanStepText, std::string("$250"));
    }

    void rateGridOfTheDefaults() {
        FakeView v;
        v.Run(2);
        QCOMPARE(v.Cell(0, 0), QString());
        QCOMPARE(v.Row(0), PaymentCols);
        QCOMPARE(v.Col(0), LoanRows);
        QCOMPARE(v.Row(6), Prefixed(" ", {"5.403%", "6.570%", "7.682%", "8.750%", "9.785%",
                                          "10.793%", "11.780%"}));
        QCOMPARE(v.Cell(1, 1), QString(" 5.871%"));
        QCOMPARE(v.Cell(7, 1), QString(" 12.470%"));
        QCOMPARE(v.Cell(1, 11), QString(" 4.969%"));
        QCOMPARE(v.Cell(7, 11), QString(" 11.148%"));
        QVERIFY(v.CentreMarked());
        QCOMPARE(v.State.LoanStepText, std::string("$1000"));
        QCOMPARE(v.State.PaymentStepText, std::string("$75"));
        QCOMPARE(v.State.RateStepText, std::string(" "));
    }

    void rateHeadingsKeepFiveDigits() {
        const QStringList aroundTen =
            Prefixed("  ", {"9.625%", "9.75%", "9.875%", "10%", "10.125%", "10.25%", "10.375%"});
        const QStringList aroundHundred = Prefixed(
            "  ", {"99.625%", "99.75%", "99.875%", "100%", "100.13%", "100.25%", "100.38%"});
        for (const auto &[mode, rate, headings] :
             {std::tuple(0, 10.0, aroundTen), {1, 10.0, aroundTen}, {0, 100.0, aroundHundred}}) {
            FakeView v;
            v.Interest = rate;
            v.InterestIndex = 0;
            v.Run(mode);
            QCOMPARE(v.Row(0), headings);
        }
    }

    void termGridOfTheDefaults() {
        FakeView v;
        v.Run(3);
        QCOMPARE(v.Row(0), PaymentCols);
        QCOMPARE(v.Col(0), LoanRows);
        QCOMPARE(v.Row(6),
                 Prefixed(" ", {"0.00", "0.00", "0.00", "360.00", "257.68", "207.44", "175.58"}));
        QCOMPARE(v.Row(1),
                 Prefixed(" ", {"0.00", "0.00", "498.77", "292.44", "224.23", "185.16", "158.87"}));
        QCOMPARE(v.Row(11),
                 Prefixed(" ", {"0.00", "0.00", "0.00", "498.23", "301.96", "234.03", "194.59"}));
        QVERIFY(v.CentreMarked());
    }

    void oneLargePaymentShowsItsTrueRate() {
        FakeView v;
        v.Term = 1;
        v.Payment = 101000;
        v.PaymentIndex = 0;
        v.LoanIndex = 0;
        v.Run(2);
        QCOMPARE(v.Cell(4, 6), QString(" 12.000%"));
    }

    void zeroAndNegativeRowsAndColumnsAreComputedLikeAnyOther() {
        FakeView v;
        v.Loan = 3000;
        v.Run(0);
        QCOMPARE(v.Cell(0, 3), QString(" $0"));
        QCOMPARE(v.Row(3), QStringList(7, " $0.00"));
        QCOMPARE(v.Cell(0, 1), QString(" ($2,000)"));
        QVERIFY(v.Cell(4, 1).startsWith(" ($"));

        FakeView zeroRate;
        zeroRate.Interest = 0.375;
        zeroRate.InterestIndex = 0;
        zeroRate.Run(0);
        QCOMPARE(zeroRate.Cell(1, 0), QString("  0%"));
        QCOMPARE(zeroRate.Cell(1, 6), QString(" $277.78"));

        FakeView negativeRate;
        negativeRate.Interest = 0.25;
        negativeRate.InterestIndex = 0;
        negativeRate.Run(0);
        QCOMPARE(negativeRate.Cell(1, 0), QString("  -0.125%"));
        QCOMPARE(negativeRate.Cell(1, 6), QString(" $272.59"));

        FakeView negativePayments;
        negativePayments.Payment = 100;
        negativePayments.Run(1);
        QCOMPARE(negativePayments.Cell(0, 1), QString(" ($275.00)"));
        QCOMPARE(negativePayments.Cell(0, 5), QString(" $25.00"));
        QVERIFY(negativePayments.Cell(4, 4).startsWith(" ($"));
    }

    void termOfZeroGivesZeroResults() {
        FakeView payments;
        payments.Term = 0;
        payments.Run(0);
        for (int c = 1; c <= 7; ++c)
            QCOMPARE(payments.Col(c), QStringList(11, " $0.00"));
        FakeView loans;
        loans.Term = 0;
        loans.Run(1);
        for (int c = 1; c <= 7; ++c)
            QCOMPARE(loans.Col(c), QStringList(11, " $0"));
        FakeView rates;
        rates.Term = 0;
        rates.Run(2);
        QCOMPARE(rates.Row(6), QStringList(7, " 0.000%"));
    }

    void aGroupWithNoSelectedItemStepsByZero() {
        FakeView v;
        v.State.LoanStepText = "$500";
        v.LoanIndex = -1;
        v.Run(0);
        QCOMPARE(v.Col(0), QStringList(11, " $100,000"));
        QCOMPARE(v.State.LoanStepText, std::string("$500"));
        QCOMPARE(v.Row(1), v.Row(6));
    }

    void everyCalculationStoresAllFourValues() {
        FakeView v;
        v.Loan = 1;
        v.Interest = 2;
        v.Term = 3;
        v.Payment = 4;
        v.Run(3);
        QCOMPARE(v.State.CalcMode, TCalcMode::Terms);
        QCOMPARE(v.State.LastLoan, 1.0);
        QCOMPARE(v.State.LastInterest, 2.0);
        QCOMPARE(v.State.LastTerm, 3.0);
        QCOMPARE(v.State.LastPayment, 4.0);
    }

    void aFormulaErrorStopsTheGridWhereItStands() {
        // Payment 75 by steps of 75: column 3 is a payment of 0, which no term repays.
        FakeView v;
        v.Payment = 75;
        QVERIFY_THROWS_EXCEPTION(EZeroDivide, v.Run(3));
        QCOMPARE(v.Cell(1, 6), QString(" -243.40"));
        QCOMPARE(v.Writes, 7 + 11 + 2 * 11); // headers and the two columns to the left
        QCOMPARE(v.Cell(3, 1), QString());
        QCOMPARE(v.SelectedCol, -1);
        QVERIFY(v.ColColors.empty() && v.RowColors.empty());
        QCOMPARE(v.PrintingAllowed, 0);
        QCOMPARE(v.State.LoanStepText, std::string("$1000")); // stored before the failure
    }

    void aTermThatIsNotWholeFailsBeforeAnyText() {
        for (double term : {360.5, 3e9, 360.00000000000006}) {
            FakeView v;
            v.Term = term;
            for (int mode : {0, 1, 2}) {
                QVERIFY_THROWS_EXCEPTION(EConvertError, v.Run(mode));
                QCOMPARE(v.Writes, 0);
                QCOMPARE(v.State.LoanStepText, std::string(" "));
                QCOMPARE(v.State.LastTerm, term);
            }
            v.Run(3); // the term spread needs no whole term
            QVERIFY(v.CentreMarked());
        }
    }

    // The rate is carried to the last bit, so its text is that of the exact rate, halves away
    // from zero.
    void aBracketedRateShowsTheTextOfTheExactRate_data() {
        QTest::addColumn<double>("loan");
        QTest::addColumn<double>("payment");
        QTest::addColumn<QString>("text");
        QTest::newRow("60.0885%") << 112000.0 << 117608.26 << "60.089";
        QTest::newRow("81.6585%") << 352000.0 << 375953.16 << "81.659";
    }
    void aBracketedRateShowsTheTextOfTheExactRate() {
        QFETCH(double, loan);
        QFETCH(double, payment);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(FixedText(CalcRate(1, loan, 0, payment), 5, 3)), text);
    }

    // The loan of a cell is the one the grid shows: amounts in cents, the rate to 3 decimals,
    // the term rounded up to whole months (exact decimals computed apart from the program).
    void aCellsLoanIsTheOneTheGridShows_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("steps"); // loan, rate, payment
        QTest::addColumn<double>("payment");
        QTest::addColumn<TLoan>("expected");
        const QList<int> defaults{3, 3, 3};
        auto row = [](const char *name, int mode, int col, int row, QList<int> steps,
                      double payment, TLoan expected) {
            QTest::newRow(name) << mode << col << row << steps << payment << expected;
        };
        row("payments (1, 1)", 0, 1, 1, defaults, 786.7, {95000, 7.25, 360, 648.07});
        row("payments (7, 11)", 0, 7, 11, defaults, 786.7, {105000, 10.25, 360, 940.91});
        row("payments, no loan step", 0, 1, 1, {-1, 0, 3}, 786.7, {100000, 8.375, 360, 760.07});
        row("loan amounts (4, 6)", 1, 4, 6, defaults, 786.7, {99999.95, 8.75, 360, 786.7});
        row("loan amounts (1, 1)", 1, 1, 1, defaults, 786.7, {60350.97, 7.25, 360, 411.7});
        row("loan amounts, no rate step", 1, 7, 11, {3, -1, 8}, 786.7,
            {227113.14, 8.75, 360, 1786.7});
        row("rates (4, 6): 8.7499943 %", 2, 4, 6, defaults, 786.7, {100000, 8.75, 360, 786.7});
        row("rates (2, 6): 6.5703246 %", 2, 2, 6, defaults, 786.7, {100000, 6.57, 360, 636.7});
        row("rates (1, 11): 4.9693892 %", 2, 1, 11, defaults, 786.7, {105000, 4.969, 360, 561.7});
        row("terms (4, 6): 360.0009", 3, 4, 6, defaults, 786.7, {100000, 8.75, 361, 786.7});
        row("terms (5, 6): 257.676", 3, 5, 6, defaults, 786.7, {100000, 8.75, 258, 861.7});
        row("terms, never repaid", 3, 1, 6, defaults, 786.7, {100000, 8.75, 0, 561.7});
        row("terms, no payment step", 3, 1, 1, {8, 3, -1}, 1500.0, {75000, 8.75, 63, 1500});
    }
    void aCellsLoanIsTheOneTheGridShows() {
        QFETCH(int, mode);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QList<int>, steps);
        QFETCH(double, payment);
        QFETCH(TLoan, expected);
        FakeView v;
        v.LoanIndex = v.InterestIndex = v.PaymentIndex = 7; // a step left over must not count
        v.Run(mode);
        std::tie(v.LoanIndex, v.InterestIndex, v.PaymentIndex, v.Payment) =
            std::tuple(steps[0], steps[1], steps[2], payment);
        v.Run(mode);
        const std::optional<TLoan> loan = CellLoan(v.State, col, row);
        QVERIFY(loan);
        QCOMPARE(loan->Loan, expected.Loan);
        QCOMPARE(loan->Rate, expected.Rate);
        QCOMPARE(loan->Term, expected.Term);
        QCOMPARE(loan->Payment, expected.Payment);
    }

    // Headers, cells past the grid and cells written before a calculation failed stand for no
    // loan.
    void onlyResultCellsOfACompletedCalculationStandForALoan() {
        FakeView v;
        for (int mode = 0; mode < 4; ++mode) {
            v.Run(mode);
            for (const auto &[col, row] : {std::pair(0, 0), {0, 6}, {4, 0}, {8, 6}, {4, 12}})
                QVERIFY(!CellLoan(v.State, col, row));
        }
        v.Payment = 75;
        QVERIFY_THROWS_EXCEPTION(EMathError, v.Run(3));
        QVERIFY(!CellLoan(v.State, 1, 6));
        const TSpreadResult failed = Calculate(TCalcMode::Terms, {100000, 8.75, 360, 75, 0, 0, 75});
        QVERIFY(failed.HasCell(2, 11) && !failed.HasCell(3, 1));
        QVERIFY(!CellLoan(failed, 1, 6));
    }

    void randomGridsNeverShowANumberThatIsNot() {
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> amount(-2e6, 2e6), rate(-1300, 1300),
            term(-1200, 1200);
        for (int k = 0; k < 400; ++k) {
            FakeView v;
            v.Loan = amount(random);
            v.Payment = amount(random) / 100;
            v.Interest = rate(random);
            v.Term = std::round(term(random));
            v.LoanIndex = int(random() % 9);
            v.PaymentIndex = int(random() % 9);
            v.InterestIndex = int(random() % 8);
            try {
                v.Run(k % 4);
            } catch (const EMathError &) {
            }
            for (const auto &col : v.Cells)
                for (const std::string &text : col)
                    QVERIFY2(text.find("NAN") == std::string::npos &&
                                 text.find("INF") == std::string::npos,
                             text.c_str());
        }
    }
};

QTEST_APPLESS_MAIN(TestSpread)
#include "tst_Spread.moc"
