#include "controls/Realproc.h"

#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(TFormatSettings)

namespace {
TFormatSettings German() {
    TFormatSettings fs;
    fs.CurrencyString = "€";
    fs.CurrencyFormat = 3;
    fs.DecimalSeparator = ",";
    fs.ThousandSeparator = ".";
    return fs;
}
TFormatSettings French() { // a narrow no-break space between thousands
    TFormatSettings fs = German();
    fs.ThousandSeparator = "\u202F";
    return fs;
}
TFormatSettings Peruvian() { // a currency symbol that holds the decimal point
    TFormatSettings fs;
    fs.CurrencyString = "S/.";
    fs.CurrencyFormat = 2;
    return fs;
}
} // namespace

class TestRealproc : public QObject {
    Q_OBJECT

private slots:
    void roundingGoesToTheEvenNeighbourAndCuttingTowardZero_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("useRounding");
        QTest::addColumn<double>("expected");
        QTest::newRow("tie down to even") << 0.125 << 2 << true << 0.12;
        QTest::newRow("tie up to even") << 0.375 << 2 << true << 0.38;
        QTest::newRow("2.5 to 2") << 2.5 << 0 << true << 2.0;
        QTest::newRow("3.5 to 4") << 3.5 << 0 << true << 4.0;
        QTest::newRow("-2.5 to -2") << -2.5 << 0 << true << -2.0;
        QTest::newRow("above the tie") << 1.2351 << 2 << true << 1.24;
        // the products are 101.49999999999999 and 234.50000000000003: ties as typed
        QTest::newRow("typed tie 1.015") << 1.015 << 2 << true << 1.02;
        QTest::newRow("typed tie 2.345") << 2.345 << 2 << true << 2.34;
        QTest::newRow("to hundreds") << 1250.0 << -2 << true << 1200.0;
        QTest::newRow("cut") << 1.2349 << 3 << false << 1.234;
        QTest::newRow("cut negative") << -1.2349 << 3 << false << -1.234;
        QTest::newRow("cut keeps typed 1.15") << 1.15 << 2 << false << 1.15;
        QTest::newRow("cut keeps typed 786.7") << 786.7 << 2 << false << 786.7;
        QTest::newRow("too large to round") << 0.1234567 << 20 << true << 0.1234567;
        QTest::newRow("infinite") << double(INFINITY) << 2 << true << double(INFINITY);
        QTest::newRow("not a number") << double(NAN) << 2 << true << double(NAN);
    }
    void roundingGoesToTheEvenNeighbourAndCuttingTowardZero() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(bool, useRounding);
        QFETCH(double, expected);
        QCOMPARE(RoundToDecimals(value, decimals, useRounding), expected);
    }

    void theEditingFormKeepsDigitsAndSeparatorsOnly_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<bool>("negative");
        QTest::addColumn<TFormatSettings>("settings");
        QTest::addColumn<QString>("expected");
        const TFormatSettings us;
        QTest::newRow("parentheses") << "($1,234.50)" << true << us << "-1,234.50";
        QTest::newRow("german") << "-1.234,50 €" << true << German() << "-1.234,50";
        QTest::newRow("narrow space") << "1\u202F234,50 €" << false << French() << "1\u202F234,50";
        QTest::newRow("point in the symbol") << "S/. 1,234.50" << false << Peruvian() << "1,234.50";
    }
    void theEditingFormKeepsDigitsAndSeparatorsOnly() {
        QFETCH(QString, display);
        QFETCH(bool, negative);
        QFETCH(TFormatSettings, settings);
        QFETCH(QString, expected);
        QCOMPARE(EditingText(display, negative, settings), expected);
    }

    void theNumberReadOnLeavingDropsAllButDigitsAndTheDecimalSeparator_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<TFormatSettings>("settings");
        QTest::addColumn<QString>("expected");
        const TFormatSettings us;
        QTest::newRow("minus behind") << "5-" << us << "-5";
        QTest::newRow("minus inside is dropped") << "1-2" << us << "12";
        QTest::newRow("80 characters") << QString(100, u'7') << us << QString(80, u'7');
        QTest::newRow("german") << "1.234,5" << German() << "1234,5";
        QTest::newRow("narrow space") << "1\u202F234,5" << French() << "1234,5";
    }
    void theNumberReadOnLeavingDropsAllButDigitsAndTheDecimalSeparator() {
        QFETCH(QString, text);
        QFETCH(TFormatSettings, settings);
        QFETCH(QString, expected);
        QCOMPARE(NumberText(text, settings), expected);
    }

    void theRangeMessageUsesTheLocalesGeneralNumberForm() {
        QCOMPARE(RangeMessage(-0.5, 1e20, German()), "Value must be between -0,5 and 1E20");
    }

    void aTypedCharacterIsFilteredAndLimited_data() {
        QTest::addColumn<QString>("rest");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("limit");
        QTest::addColumn<TFormatSettings>("settings");
        QTest::addColumn<bool>("insert");
        QTest::addColumn<int>("limitAfter");
        const TFormatSettings us;
        QTest::newRow("no limit") << QString(40, u'1') << "1" << 0 << us << true << 0;
        QTest::newRow("no limit stays none") << ""
                                             << "-" << 0 << us << true << 0;
        QTest::newRow("german comma") << "1.234"
                                      << "," << 12 << German() << true << 13;
        QTest::newRow("german point") << "1,5"
                                      << "." << 12 << German() << true << 12;
    }
    void aTypedCharacterIsFilteredAndLimited() {
        QFETCH(QString, rest);
        QFETCH(QString, typed);
        QFETCH(int, limit);
        QFETCH(TFormatSettings, settings);
        QFETCH(bool, insert);
        QFETCH(int, limitAfter);
        const TTypedChar verdict = FilterTypedChar(rest, typed, limit, settings);
        QCOMPARE(verdict.Insert, insert);
        QCOMPARE(verdict.Limit, limitAfter);
    }
};

QTEST_APPLESS_MAIN(TestRealproc)
#include "tst_Realproc.moc"
