#include "printing/LoanChart.h"

#include "platform/SysUtils.h"
#include "tests/support/Row.h"
#include "tests/support/TestMain.h"

Q_DECLARE_METATYPE(TLoan)
Q_DECLARE_METATYPE(TLoanPlan)

namespace {

const TLoan Worked{100000, 8.75, 360, 786.70};

TLoanChartData Data(const TLoan &loan, const TLoanPlan &plan) {
    const TScheduleResult schedule = MakeSchedule(loan, plan);
    const TScheduleResult plain = MakeSchedule(loan);
    return schedule && plain ? LoanChartData(*schedule, plain->Months) : TLoanChartData();
}

QFont Font(int pixels) {
    QFont font = ReportFont(QFont(QStringLiteral("Arial")));
    font.setPixelSize(pixels);
    return font;
}

TFormatSettings Euro() {
    TFormatSettings fs = UnitedStatesFormatSettings();
    fs.CurrencyString = "\u20ac";
    fs.CurrencyFormat = 3;
    fs.ThousandSeparator = ".";
    fs.DecimalSeparator = ",";
    return fs;
}

TLoanPlan Extras() {
    TLoanPlan plan;
    plan.MonthlyExtra = 10000;
    plan.Lumps = {{12, 1000000}};
    return plan;
}

} // namespace

class TestLoanChart : public QObject {
    Q_OBJECT

private slots:
    void init() { SetFormatSettings(UnitedStatesFormatSettings()); }

    // Painted on a page: every line, box and text inside the box, no text over another, the
    // greatest value of each plot in the user's currency; nothing where the box is too small.
    void thePictureStaysInsideItsBox_data() {
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<TLoanPlan>("plan");
        QTest::addColumn<bool>("euro");
        QTest::addColumn<QStringList>("labels"); // among the texts
        // the lines' top is the total interest, 183,212.97; the bars' the last year, 11 x 786.70
        // + 787.67 = 9,441.37
        const QStringList worked{"$183,213", "$9,441"};
        Row("on the page", QSizeF(695, 280), 11, Worked, TLoanPlan{}, false, worked);
        Row("in euros", QSizeF(695, 280), 11, Worked, TLoanPlan{}, true,
            QStringList{"183.213 \u20ac", "9.441 \u20ac"});
        Row("a large font", QSizeF(695, 280), 26, Worked, TLoanPlan{}, false, worked);
        Row("narrow and low", QSizeF(190, 110), 11, Worked, TLoanPlan{}, false, worked);
        // with 10,000 in month 12 and 100 a month, year 1 pays 9,440.40 + 11,200.00 = 20,640.40;
        // the interest falls below the amount
        Row("with extras", QSizeF(500, 200), 11, Worked, Extras(), false,
            QStringList{"$100,000", "$20,640"});
        Row("999 months", QSizeF(695, 280), 11, TLoan{250000, 6, 999, 1258.20}, TLoanPlan{}, false,
            QStringList{});
        Row("too small", QSizeF(150, 60), 11, Worked, TLoanPlan{}, false, QStringList{});
    }
    void thePictureStaysInsideItsBox() {
        QFETCH(QSizeF, size);
        QFETCH(int, pixels);
        QFETCH(TLoan, loan);
        QFETCH(TLoanPlan, plan);
        QFETCH(bool, euro);
        QFETCH(QStringList, labels);
        if (euro)
            SetFormatSettings(Euro());
        const TLoanChartData data = Data(loan, plan);
        QVERIFY(!data.Balance.empty());
        const QRectF box(QPointF(30, 40), size);
        TQRPage page;
        TPageCanvas canvas(page, Font(pixels));
        PaintLoanChart(canvas, box, data);
        const bool small = QTest::currentDataTag() == QByteArray("too small");
        QCOMPARE(page.isEmpty(), small);
        const QRectF inside = box.adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
        QList<QRectF> texts;
        QStringList written;
        for (const TQRDrawItem &item : page) {
            if (item.Kind == TQRDrawItem::dkLine) {
                QVERIFY(inside.contains(item.From) && inside.contains(item.To));
                continue;
            }
            QVERIFY2(inside.contains(item.Rect), qPrintable(item.Text));
            if (item.Kind != TQRDrawItem::dkText)
                continue;
            for (const QRectF &other : texts)
                QVERIFY2(!other.intersects(item.Rect), qPrintable(item.Text));
            texts << item.Rect;
            written << item.Text;
        }
        for (const QString &label : labels)
            QVERIFY2(written.contains(label), qPrintable(written.join('|')));
    }

    // Swept across the picture from left to right, the pointer finds month 1, then each month
    // in turn up to the last, and nothing off the plot.
    void pointingFindsEachMonthInTurn_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<TLoanPlan>("plan");
        QTest::addColumn<double>("width");
        QTest::newRow("12 months") << TLoan{1200, 0, 12, 100} << TLoanPlan{} << 300.0;
        QTest::newRow("360 months, narrow") << Worked << TLoanPlan{} << 260.0;
        // the loan ends in month 238; the faint line runs on to 360
        QTest::newRow("with extras") << Worked << Extras() << 700.0;
        QTest::newRow("999 months") << TLoan{250000, 6, 999, 1258.20} << TLoanPlan{} << 695.0;
    }
    void pointingFindsEachMonthInTurn() {
        QFETCH(TLoan, loan);
        QFETCH(TLoanPlan, plan);
        QFETCH(double, width);
        const TLoanChartData data = Data(loan, plan);
        const QRectF box(10, 10, width, 200);
        const QFont font = Font(11);
        QCOMPARE(LoanChartMonthAt(box, font, data, QPointF(box.center().x(), box.top() + 1)), 0);
        QList<int> months;
        for (double x = box.left() - 2; x <= box.right() + 2; x += 0.05) {
            const int month = LoanChartMonthAt(box, font, data, QPointF(x, box.center().y()));
            if (months.isEmpty() || months.last() != month)
                months << month;
        }
        const int last = int(data.Balance.size());
        QCOMPARE(months.first(), 0);
        QCOMPARE(months.last(), 0);
        months.removeAll(0);
        QCOMPARE(months.size(), last);
        for (int i = 0; i < last; ++i)
            QCOMPARE(months[i], i + 1);
    }
};

QUORVALE_TEST_MAIN(TestLoanChart)
#include "tst_LoanChart.moc"
