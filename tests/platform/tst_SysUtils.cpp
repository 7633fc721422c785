#include "platform/SysUtils.h"

#include <QTest>
#include <cmath>

namespace {
TFormatSettings German() {
    TFormatSettings fs;
    fs.CurrencyString = "€";
    fs.CurrencyFormat = 3;
    fs.NegCurrFormat = 8;
    fs.ThousandSeparator = ".";
    fs.DecimalSeparator = ",";
    return fs;
}
} // namespace

class TestSysUtils : public QObject {
    Q_OBJECT

private slots:
    void numberForms_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("precision");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        auto row = [](const char *name, double v, TFloatFormat f, int p, int d, const char *e) {
            QTest::newRow(name) << v << int(f) << p << d << QString::fromUtf8(e);
        };
        row("currency whole units", 100000, ffCurrency, 10, 0, "$100,000");
        row("currency cents", 786.7004, ffCurrency, 10, 2, "$786.70");
        row("negative currency in parentheses", -95, ffCurrency, 10, 2, "($95.00)");
        row("precision cuts cents", 1234.56, ffCurrency, 5, 2, "$1,234.60");
        row("precision cuts units", 12345.67, ffCurrency, 5, 2, "$12,346.00");
        row("too many digits for currency", 123456, ffCurrency, 5, 2, "1.2346E5");
        row("payment header of 1011.75", 1011.75, ffCurrency, 5, 2, "$1,011.80");
        row("negative zero currency", -0.0, ffCurrency, 10, 2, "$0.00");
        row("negative rounding to zero", -0.004, ffCurrency, 10, 2, "$0.00");
        row("halves away from zero", 0.125, ffFixed, 5, 2, "0.13");
        row("negative halves away from zero", -0.125, ffFixed, 5, 2, "-0.13");
        row("binary value below the half", 2.675, ffFixed, 5, 2, "2.67");
        row("rounding carries into a new digit", 999.996, ffFixed, 10, 2, "1000.00");
        row("fixed rate", 8.75021, ffFixed, 5, 3, "8.750");
        row("fixed term cut to five digits", 1692.406, ffFixed, 5, 2, "1692.40");
        row("fixed negative", -243.4, ffFixed, 5, 2, "-243.40");
        row("fixed negative rounding to zero", -0.0004, ffFixed, 5, 3, "0.000");
        row("number groups", 1234567.5, ffNumber, 15, 1, "1,234,567.5");
        row("general plain", 8.75, ffGeneral, 5, 0, "8.75");
        row("general whole", 9, ffGeneral, 5, 0, "9");
        row("general more decimals", 10.125, ffGeneral, 5, 0, "10.125");
        row("general negative", -0.125, ffGeneral, 5, 0, "-0.125");
        row("general zero", 0, ffGeneral, 5, 0, "0");
        row("general negative zero", -0.0, ffGeneral, 5, 0, "0");
        row("general large", 123456, ffGeneral, 5, 0, "1.2346E5");
        row("general small", 0.00005, ffGeneral, 5, 0, "5E-5");
        row("general smallest plain", 0.0001, ffGeneral, 5, 0, "0.0001");
        row("general round to power of ten", 99999.7, ffGeneral, 5, 0, "1E5");
        row("general fifteen digits", 0.1 + 0.2, ffGeneral, 15, 0, "0.3");
        row("general 1E15", 1e15, ffGeneral, 15, 0, "1E15");
        row("general fifteen digit integer", 123456789012345.0, ffGeneral, 15, 0,
            "123456789012345");
        row("not a number", NAN, ffCurrency, 10, 2, "NAN");
        row("infinite", -INFINITY, ffFixed, 10, 2, "-INF");
    }
    void numberForms() {
        QFETCH(double, value);
        QFETCH(int, format);
        QFETCH(int, precision);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        const std::string text = FloatToStrF(value, TFloatFormat(format), precision, decimals,
                                             UnitedStatesFormatSettings());
        QCOMPARE(QString::fromStdString(text), expected);
    }

    void numberFormsFollowTheRegionalSettings() {
        const TFormatSettings de = German();
        QCOMPARE(QString::fromStdString(FloatToStrF(1234.5, ffCurrency, 10, 2, de)),
                 QString::fromUtf8("1.234,50 €"));
        QCOMPARE(QString::fromStdString(FloatToStrF(-95, ffCurrency, 10, 2, de)),
                 QString::fromUtf8("-95,00 €"));
        QCOMPARE(FloatToStrF(-0.125, ffGeneral, 5, 0, de), std::string("-0,125"));
        QCOMPARE(FloatToStrF(123456, ffGeneral, 5, 0, de), std::string("1,2346E5"));
        TFormatSettings minus = UnitedStatesFormatSettings();
        minus.NegCurrFormat = 1;
        QCOMPARE(FloatToStrF(-95, ffCurrency, 10, 2, minus), std::string("-$95.00"));
        minus.ThousandSeparator.clear();
        QCOMPARE(FloatToStrF(100000, ffCurrency, 10, 0, minus), std::string("$100000"));
    }

    void conventionsOfALocale() {
        TLocaleConventions none; // the C locale: no currency at all
        const TFormatSettings us = FormatSettingsFromConventions(none);
        QCOMPARE(us.CurrencyString, std::string("$"));
        QCOMPARE(us.NegCurrFormat, 0);
        QCOMPARE(us.ThousandSeparator, std::string(","));

        TLocaleConventions de;
        de.CurrencySymbol = "€";
        de.DecimalPoint = ",";
        de.ThousandsSep = ".";
        de.PCsPrecedes = 0;
        de.PSepBySpace = 1;
        de.NCsPrecedes = 0;
        de.NSepBySpace = 1;
        de.NSignPosn = 1;
        de.DateFormat = "%d.%m.%Y";
        de.TimeFormat = "%T";
        const TFormatSettings fs = FormatSettingsFromConventions(de);
        QCOMPARE(fs.CurrencyFormat, 3);
        QCOMPARE(fs.NegCurrFormat, 8);
        QCOMPARE(fs.DecimalSeparator, std::string(","));
        QCOMPARE(fs.ShortDateFormat, std::string("dd.mm.yyyy"));
        QCOMPARE(fs.LongTimeFormat, std::string("hh:nn:ss"));

        TLocaleConventions parentheses = de;
        parentheses.CurrencySymbol = "$";
        parentheses.PCsPrecedes = parentheses.NCsPrecedes = 1;
        parentheses.PSepBySpace = parentheses.NSepBySpace = 0;
        parentheses.NSignPosn = 0;
        QCOMPARE(FormatSettingsFromConventions(parentheses).NegCurrFormat, 0);
        QCOMPARE(FormatSettingsFromConventions(parentheses).CurrencyFormat, 0);
    }

    void posixAndUnknownLocalesGiveUnitedStatesConventions() {
        for (const char *name : {"C", "POSIX", "xx_NOWHERE.UTF-8"}) {
            const TFormatSettings fs = LocaleFormatSettings(name);
            QCOMPARE(FloatToStrF(-95, ffCurrency, 10, 2, fs), std::string("($95.00)"));
            QCOMPARE(FloatToStrF(100000, ffCurrency, 10, 0, fs), std::string("$100,000"));
        }
    }

    void patterns_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("grouped whole") << "#,##0" << 1234567.891 << "1,234,568";
        QTest::newRow("grouped negative") << "#,##0" << -1234.5 << "-1,235";
        QTest::newRow("three decimals") << "0.000" << 8.75 << "8.750";
        QTest::newRow("whole half away") << "0" << 2.5 << "3";
        QTest::newRow("negative section") << "#,##0.00;(#,##0.00);Zero" << -5.0 << "(5.00)";
        QTest::newRow("zero section") << "#,##0.00;(#,##0.00);Zero" << 0.0 << "Zero";
        QTest::newRow("rounds to zero section") << "0.00;(0.00);Zero" << -0.001 << "Zero";
        QTest::newRow("optional decimals kept") << "0.##" << 1.5 << "1.5";
        QTest::newRow("optional decimals dropped") << "0.##" << 2.0 << "2";
        QTest::newRow("no required integer digit") << "#.##" << 0.5 << ".5";
        QTest::newRow("quoted literal") << "\"Amt \"0" << 5.0 << "Amt 5";
        QTest::newRow("suffix literal") << "0.0%" << 12.34 << "12.3%";
        QTest::newRow("empty pattern is general") << "" << 8.75 << "8.75";
        QTest::newRow("empty positive section is general") << ";(0)" << 8.75 << "8.75";
        QTest::newRow("negative of an empty positive section") << ";;0" << -2.5 << "-2.5";
        QTest::newRow("negative rounding to zero") << "0" << -0.2 << "0";
    }
    void patterns() {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, expected);
        const std::string text =
            FormatFloat(pattern.toStdString(), value, UnitedStatesFormatSettings());
        QCOMPARE(QString::fromStdString(text), expected);
    }

    void textToNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "8.75" << 8.75;
        QTest::newRow("blanks and exponent") << " 1e3 " << 1000.0;
        QTest::newRow("sign and leading point") << "-.5" << -0.5;
        QTest::newRow("trailing point") << "1." << 1.0;
        QTest::newRow("plus sign") << "+2" << 2.0;
        QTest::newRow("too small to keep") << "1e-400" << 0.0;
    }
    void textToNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(StrToFloat(text.toStdString(), UnitedStatesFormatSettings()), expected);
    }

    void textThatIsNotANumber_data() {
        QTest::addColumn<QString>("text");
        for (const char *t : {"", "-", ".", "abc", "1.2.3", "1,000", "1e", "1e400", "inf", "nan",
                              "0x10", "--1", "1 2"})
            QTest::newRow(*t ? t : "empty") << QString(t);
    }
    void textThatIsNotANumber() {
        QFETCH(QString, text);
        try {
            StrToFloat(text.toStdString(), UnitedStatesFormatSettings());
            QFAIL("no conversion error");
        } catch (const EConvertError &e) {
            QCOMPARE(QString::fromStdString(e.Message()),
                     "'" + text + "' is not a valid floating point value");
        }
    }

    void textToNumberUsesTheLocaleSeparator() {
        QCOMPARE(StrToFloat("8,75", German()), 8.75);
        QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat("8.75", German()));
    }

    void textToWholeNumber() {
        QCOMPARE(StrToInt("360"), 360);
        QCOMPARE(StrToInt("-5"), -5);
        QCOMPARE(StrToInt("+7"), 7);
        QCOMPARE(StrToInt("2147483647"), 2147483647);
        for (const char *bad : {"2147483648", "360.5", "", "+-5", "1E20", "12a", "-"}) {
            try {
                StrToInt(bad);
                QFAIL(bad);
            } catch (const EConvertError &e) {
                QCOMPARE(e.Message(), "'" + std::string(bad) + "' is not a valid integer value");
            }
        }
    }

    void shortestGeneralForm() {
        const TFormatSettings us = UnitedStatesFormatSettings();
        QCOMPARE(FloatToStr(100000, us), std::string("100000"));
        QCOMPARE(FloatToStr(786.7, us), std::string("786.7"));
        QCOMPARE(FloatToStr(240.6, us), std::string("240.6"));
        QCOMPARE(FloatToStr(1e-5, us), std::string("1E-5"));
        QCOMPARE(FloatToStr(8.75, German()), std::string("8,75"));
        // what is written reads back as the same number wherever 15 digits hold it
        for (double v : {0.1, 1234.5678, -99999.125, 1e300, 3.14159265358979})
            QCOMPARE(StrToFloat(FloatToStr(v, us), us), v);
    }

    void mathErrorsFormOneFamily() {
        auto isMath = [](const Exception &e) {
            return dynamic_cast<const EMathError *>(&e);
        };
        QVERIFY(isMath(EInvalidOp()));
        QVERIFY(isMath(EZeroDivide()));
        QVERIFY(isMath(EOverflow()));
        QVERIFY(isMath(EUnderflow()));
        QVERIFY(!isMath(EConvertError("x")));
    }

    void datesAndTimesByPattern_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("hour");
        QTest::addColumn<QString>("text");
        QTest::newRow("US short date") << "m/d/yyyy" << 9 << "3/7/2024";
        QTest::newRow("two-digit forms") << "dd.mm.yy" << 9 << "07.03.24";
        QTest::newRow("midnight on a 12-hour clock") << "h:nn:ss AMPM" << 0 << "12:05:09 AM";
        QTest::newRow("afternoon on a 12-hour clock") << "h:nn:ss AMPM" << 13 << "1:05:09 PM";
        QTest::newRow("24-hour clock") << "hh:nn:ss" << 9 << "09:05:09";
    }
    void datesAndTimesByPattern() {
        QFETCH(QString, pattern);
        QFETCH(int, hour);
        QFETCH(QString, text);
        std::tm t{};
        t.tm_year = 124;
        t.tm_mon = 2;
        t.tm_mday = 7;
        t.tm_hour = hour;
        t.tm_min = 5;
        t.tm_sec = 9;
        QCOMPARE(QString::fromStdString(FormatDateTime(pattern.toStdString(), t)), text);
    }
};

QTEST_APPLESS_MAIN(TestSysUtils)
#include "tst_SysUtils.moc"
