#include "app/CommandLine.h"
#include "engine/Amortize.h"
#include "engine/Spread.h"

#include "platform/Version.h"
#include "tests/support/Row.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

struct TRun {
    int ExitStatus;
    QString Out, Err;
};

// A program of the same build tree: build/app/<name> beside build/tests/.
QString BuiltProgram(const QString &name) {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../app/" + name);
}

// The built program of the same build tree, with no display of any kind; a status of -1 when it
// did not end by itself.
TRun RunProgram(const QStringList &args) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(env);
    program.start(BuiltProgram("quorvale"), args);
    if (!program.waitForFinished(10000) || program.exitStatus() != QProcess::NormalExit)
        return {-1, {}, {}};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

QString ReadProcFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

// The answer of the command line in this process, under the format settings of the test.
TRun Answer(const QStringList &args) {
    std::vector<std::string> argv{"quorvale"};
    for (const QString &a : args)
        argv.push_back(a.toStdString());
    const std::optional<TCommandLineAnswer> a = CommandLineAnswer(argv);
    if (!a)
        return {-1, {}, {}};
    return {a->ExitStatus, QString::fromStdString(a->Output), QString::fromStdString(a->Error)};
}

QList<QStringList> CsvRecords(const QString &csv) {
    QList<QStringList> records;
    QStringList lines = csv.split("\r\n");
    if (lines.last().isEmpty())
        lines.removeLast();
    for (const QString &line : lines)
        records << line.split(',');
    return records;
}

// Whether a number printed at full precision is the exact value within the last bits of a
// double.
bool NearlyExact(double printed, double exact) {
    return std::fabs(printed - exact) <= 4e-16 * std::fabs(exact);
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    // The built program itself, with no display of any kind: what it prints and that it ends.
    void versionAndHelpNeedNoDisplay_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("whole"); // the answer is all of `expected`, not only its start
        QTest::newRow("version") << QStringList{"--version"} << "Quorvale Pro 1.6.12\n" << false;
        Row("help", QStringList{"--help"}, "Usage: quorvale [--version | --help]", false);
        QTest::newRow("others ignored") << QStringList{"-x", "file", "--version", "--help"}
                                        << QString("Quorvale Pro ") + QuorvaleVersion + "\n"
                                        << false;
        Row("help first", QStringList{"--help", "--version"}, "Usage: quorvale", false);
        QTest::newRow("spread") << QStringList{"--spread", "payment", "--format", "tsv"}
                                << " Loan / Rate\t  7.25%\t" << false;
        Row("the longest term", QStringList{"--spread", "payment", "--term", "999"}, " Loan / Rate",
            false);
        QTest::newRow("schedule") << QStringList{"--schedule", "--loan", "1000", "--rate",
                                                 "12",         "--term", "2"}
                                  << "Loan amount: $1,000.00\n"
                                  << false;
        Row("a half cent payment at no interest",
            QStringList{"--schedule", "--loan", "634088875.25", "--rate", "0", "--term", "10"},
            "Loan amount: $634,088,875.25\nAnnual rate: 0.000%\nTerm: 10 months\n"
            "Monthly payment: $63,408,887.53\n",
            false);
        // With a plan, the summary follows the table after an empty line; without, the table
        // stands alone (the plain schedule rows above and below).
        const QStringList fees{"--schedule", "--loan", "1000",   "--rate", "12",
                               "--term",     "2",      "--fees", "10",     "--format"};
        Row("a plan's summary after the csv table", (fees + QStringList{"csv"}),
            "No.,Payment,Principal,Interest,Balance,Total Interest\r\n"
            "1,507.51,497.51,10.00,502.49,10.00\r\n2,507.51,502.49,5.02,0.00,15.02\r\n\r\n"
            "Loan amount:,\"$1,000.00\"\r\nAnnual rate:,12.000%\r\nTerm:,2 months\r\n"
            "Monthly payment:,$507.51\r\nTotal of payments:,\"$1,015.02\"\r\n"
            "Total interest:,$15.02\r\nPoints and fees:,$10.00\r\n"
            "Total cost:,\"$1,025.02\"\r\nAPR:,20.162%\r\nAPRC:,22.134%\r\n",
            true);
        Row("a plan's summary after the tsv table", (fees + QStringList{"tsv"}),
            "No.\tPayment\tPrincipal\tInterest\tBalance\tTotal Interest\n"
            "1\t$507.51\t$497.51\t$10.00\t$502.49\t$10.00\n"
            "2\t$507.51\t$502.49\t$5.02\t$0.00\t$15.02\n\nLoan amount:\t$1,000.00\n",
            false);
        Row("a plain loan's tsv is the table alone",
            QStringList{"--schedule", "--loan", "1000", "--rate", "12", "--term", "2", "--format",
                        "tsv", "--by-year"},
            "No.\tPayment\tPrincipal\tInterest\tBalance\tTotal Interest\n"
            "1\t$1,015.02\t$1,000.00\t$15.02\t$0.00\t$15.02\n",
            true);
    }
    void versionAndHelpNeedNoDisplay() {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        const TRun run = RunProgram(args);
        QCOMPARE(run.ExitStatus, 0);
        QVERIFY2(run.Out.startsWith(expected), qPrintable(run.Out));
        QFETCH(bool, whole);
        if (whole)
            QCOMPARE(run.Out, expected);
        QCOMPARE(run.Err, QString());
    }

    // What is wrong goes to standard error, nothing to standard output: one line naming the
    // option for a bad command line (2), the window's own text for a loan without a result (1).
    void badCommandLinesAreRefused_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        auto row = [](const char *name, QStringList args, int status, const char *error) {
            QTest::newRow(name) << args << status << QString::fromUtf8(error);
        };
        const QStringList spread{"--spread", "payment"};
        const QStringList loan{"--schedule", "--loan", "100000", "--rate", "8.75", "--term"};
        row("no mode", {"--spread"}, 2, "quorvale: --spread: missing mode");
        row("a line break in a value", spread + QStringList{"--loan", "12\n3\r"}, 2,
            "quorvale: --loan: '12\\n3\\r' is not a number\n");
        row("control characters in an option", spread + QStringList{"--lo\tan\x1b[2J\x7f"}, 2,
            "quorvale: --lo\\tan\\x1b[2J\\x7f: not an option of --spread\n");
        row("no mode before an option", {"--spread", "--loan", "5"}, 2,
            "quorvale: --spread: missing mode");
        row("unknown mode", {"--spread", "payments"}, 2, "quorvale: --spread: 'payments'");
        row("term above 999", spread + QStringList{"--term", "1000"}, 2, "quorvale: --term: ");
        row("term of 0", spread + QStringList{"--term", "0"}, 2, "quorvale: --term: ");
        row("term with a fraction", spread + QStringList{"--term", "36.5"}, 2,
            "quorvale: --term: ");
        row("a word for a loan", spread + QStringList{"--loan", "abc"}, 2, "quorvale: --loan: ");
        row("an exponent", spread + QStringList{"--loan", "1e5"}, 2, "quorvale: --loan: ");
        row("a thousands separator", spread + QStringList{"--payment", "1,000"}, 2,
            "quorvale: --payment: ");
        row("a point alone", spread + QStringList{"--payment=."}, 2, "quorvale: --payment: ");
        row("an empty value", spread + QStringList{"--loan="}, 2, "quorvale: --loan: ");
        row("eleven digits", spread + QStringList{"--loan", "12345678901"}, 2,
            "quorvale: --loan: ");
        row("a third decimal", spread + QStringList{"--payment", "786.705"}, 2,
            "quorvale: --payment: ");
        row("a negative rate", spread + QStringList{"--rate", "-0.5"}, 2, "quorvale: --rate: ");
        row("a fourth decimal", spread + QStringList{"--rate", "8.1234"}, 2, "quorvale: --rate: ");
        row("a step not offered", spread + QStringList{"--loan-step", "300"}, 2,
            "quorvale: --loan-step: ");
        row("a step as the chart prints it", spread + QStringList{"--rate-step", "1/2%"}, 2,
            "quorvale: --rate-step: ");
        row("a step of another group", spread + QStringList{"--payment-step", "1000"}, 2,
            "quorvale: --payment-step: ");
        row("unknown format", spread + QStringList{"--format", "xml"}, 2, "quorvale: --format: ");
        row("unknown option", spread + QStringList{"--loans", "5"}, 2, "quorvale: --loans: ");
        row("an option of the other command", spread + QStringList{"--by-year"}, 2,
            "quorvale: --by-year: ");
        row("a value missing", spread + QStringList{"--loan"}, 2, "quorvale: --loan: ");
        row("a value missing before an option", spread + QStringList{"--loan", "--term", "5"}, 2,
            "quorvale: --loan: ");
        row("a value twice", spread + QStringList{"--loan", "5", "--loan=6"}, 2,
            "quorvale: --loan: ");
        row("a stray argument", spread + QStringList{"5"}, 2, "quorvale: '5'");
        row("an argument before the command", QStringList{"-x"} + spread, 2, "quorvale: '-x'");
        row("two commands", spread + QStringList{"--schedule"}, 2, "quorvale: --schedule: ");
        row("schedule without a term", loan.mid(0, 5), 2, "quorvale: --schedule: missing --term");
        row("schedule with a value", {"--schedule=1"}, 2, "quorvale: --schedule: ");
        row("a flag with a value", loan + QStringList{"360", "--by-year=1"}, 2,
            "quorvale: --by-year: ");
        row("payment of the interest only", loan + QStringList{"360", "--payment", "729.17"}, 1,
            NoScheduleText(TNoSchedule::ShortPayment));
        row("no loan", {"--schedule", "--loan", "0", "--rate", "8.75", "--term", "360"}, 2,
            "quorvale: --loan: '0' is out of range");
        row("a negative loan", {"--schedule", "--loan", "-5", "--rate", "8.75", "--term", "360"}, 2,
            "quorvale: --loan: ");
        row("no payment", loan + QStringList{"360", "--payment", "0.00"}, 2,
            "quorvale: --payment: ");
        row("a date that does not exist", loan + QStringList{"360", "--loan-date", "2025-02-29"}, 2,
            "quorvale: --loan-date: ");
        row("a first payment on the loan date",
            loan + QStringList{"360", "--loan-date=2025-01-05", "--first-payment=2025-01-05"}, 2,
            "quorvale: --first-payment: ");
        row("a one-off beyond the term",
            loan + QStringList{"360", "--lump", "5:1", "--lump", "5:361"}, 2, "quorvale: --lump: ");
        row("a rate change in the first month", loan + QStringList{"360", "--rate-change=7:1"}, 2,
            "quorvale: --rate-change: ");
        row("interest only for the whole term", loan + QStringList{"360", "--interest-only", "360"},
            2, "quorvale: --interest-only: ");
        row("an extra that ends before it starts", loan + QStringList{"360", "--extra", "5:7:6"}, 2,
            "quorvale: --extra: ");
        row("a yearly extra without its month", loan + QStringList{"360", "--extra-yearly", "5"}, 2,
            "quorvale: --extra-yearly: ");
        row("negative fees", loan + QStringList{"360", "--fees=-1"}, 2, "quorvale: --fees: ");
        const QStringList a{"--compare", "--offer", "name=A,loan=100000,rate=8.75,term=360"};
        const QStringList two = a + QStringList{"--offer=loan=5000,rate=5,term=12"};
        row("one offer", a, 2, "quorvale: --compare: takes 2 to 4 offers");
        row("five offers", two + two.mid(1) + two.mid(1), 2, "quorvale: --compare: ");
        row("an offer without its term", two + QStringList{"--offer", "loan=1,rate=1"}, 2,
            "quorvale: --offer Offer 3: missing term=\n");
        row("an offer's unknown key", a + QStringList{"--offer", "loan=1,rates=1,term=2"}, 2,
            "quorvale: --offer Offer 2: rates: not an option of --offer\n");
        row("an offer's key twice", a + QStringList{"--offer", "loan=1,rate=1,term=2,loan=2"}, 2,
            "quorvale: --offer Offer 2: loan: given more than once\n");
        row("an offer's negative rate", a + QStringList{"--offer", "loan=1,rate=-1,term=2"}, 2,
            "quorvale: --offer Offer 2: rate: ");
        row("an offer's negative fees", a + QStringList{"--offer", "loan=1,rate=1,term=2,fees=-1"},
            2, "quorvale: --offer Offer 2: fees: ");
        row("an extra beyond the term",
            a + QStringList{"--offer", "name=B,loan=900,rate=1,term=12,extra=10:13"}, 2,
            "quorvale: --offer B: extra: '13'");
        row("an extra ending before it starts",
            a + QStringList{"--offer", "loan=900,rate=1,term=12,extra=10:5:4"}, 2,
            "quorvale: --offer Offer 2: extra: ");
        row("an offer without its value", a + QStringList{"--offer", "--years", "5"}, 2,
            "quorvale: --offer: missing value");
        row("no years", two + QStringList{"--years", "0"}, 2, "quorvale: --years: ");
        row("a paydown step of 0", two + QStringList{"--paydown", "0"}, 2, "quorvale: --paydown: ");
        row("an option of the schedule", two + QStringList{"--by-year"}, 2,
            "quorvale: --by-year: ");
        row("an offer's one-off beyond its term",
            a + QStringList{"--offer", "loan=900,rate=1,term=12,lump=5:1,lump=5:13"}, 2,
            "quorvale: --offer Offer 2: lump: '13'");
        row("an offer that is never repaid",
            two + QStringList{"--offer", "name=C,loan=1000,rate=12,term=12,payment=10"}, 1,
            (std::string("C: ") + NoScheduleText(TNoSchedule::ShortPayment)).c_str());
        row("a math error in the grid", {"--spread", "term", "--payment", "75"}, 1,
            "Valid results cannot be calculated using\nthe variables you have entered.\n\n"
            "Please try again with reasonable values.\n");
    }
    void badCommandLinesAreRefused() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, error);
        const TRun run = RunProgram(args);
        QCOMPARE(run.ExitStatus, status);
        QCOMPARE(run.Out, QString());
        QVERIFY2(run.Err.startsWith(error), qPrintable(run.Err));
        if (status == 2)
            QVERIFY2(run.Err.count('\n') == 1 && run.Err.endsWith('\n'), qPrintable(run.Err));
        else if (!error.endsWith('\n'))
            QCOMPARE(run.Err, error + "\n");
    }

    // text and tsv show the window's texts: the first, centre and last lines of each grid
    // (exact decimals computed apart from the program).
    void theGridIsTheWindows_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("lines"); // tab-separated lines 0, 6 and 11
        Row("payments", QStringList{"--spread", "payment"},
            QStringList{
                " Loan / Rate\t  7.25%\t  7.75%\t  8.25%\t  8.75%\t  9.25%\t  9.75%\t  10.25%",
                " $100,000\t $682.18\t $716.41\t $751.27\t $786.70\t $822.68\t $859.15\t "
                "$896.10",
                " $105,000\t $716.29\t $752.23\t $788.83\t $826.04\t $863.81\t $902.11\t "
                "$940.91"});
        QTest::newRow("loan amounts, other values and steps")
            << QStringList{"--spread",       "loan",   "--payment",   "1500.25",     "--rate",
                           "6.125",          "--term", "240",         "--rate-step", "1 %",
                           "--payment-step", "200",    "--loan-step", "100"}
            << QStringList{" Pmt / Rate\t  3.125%\t  4.125%\t  5.125%\t  6.125%\t  7.125%\t  "
                           "8.125%\t  9.125%",
                           " $1,500.25\t $267,483\t $244,904\t $224,965\t $207,314\t $191,647\t "
                           "$177,705\t $165,266",
                           " $2,500.25\t $445,776\t $408,146\t $374,917\t $345,500\t $319,390\t "
                           "$296,155\t $275,424"};
        Row("rates",
            QStringList{"--spread", "rate", "--loan=250000", "--loan-step=5000", "--payment=2000"},
            QStringList{
                " Loan / Pmt\t  $1,775.00\t  $1,850.00\t  $1,925.00\t  $2,000.00\t  $2,075.00\t "
                " $2,150.00\t  $2,225.00",
                " $250,000\t 7.657%\t 8.089%\t 8.515%\t 8.936%\t 9.351%\t 9.762%\t 10.168%",
                " $275,000\t 6.703%\t 7.110%\t 7.511%\t 7.907%\t 8.297%\t 8.682%\t 9.062%"});
        Row("terms", QStringList{"--spread", "term", "--payment-step", "10"},
            QStringList{" Loan / Pmt\t  $756.70\t  $766.70\t  $776.70\t  $786.70\t  $796.70\t  "
                        "$806.70\t  $816.70",
                        " $100,000\t 456.09\t 415.25\t 384.52\t 360.00\t 339.68\t 322.39\t 307.39",
                        " $105,000\t 0.00\t 904.28\t 585.03\t 498.23\t 446.52\t 409.84\t 381.54"});
    }
    void theGridIsTheWindows() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, lines);
        const TRun tsv = Answer(args + QStringList{"--format", "tsv"});
        const TRun text = Answer(args);
        QCOMPARE(tsv.ExitStatus, 0);
        QStringList tsvLines = tsv.Out.split('\n'), textLines = text.Out.split('\n');
        QCOMPARE(tsvLines.takeLast(), QString());
        QCOMPARE(textLines.takeLast(), QString());
        QCOMPARE(tsvLines.size(), 12);
        QCOMPARE(textLines.size(), 12);
        QCOMPARE((QStringList{tsvLines[0], tsvLines[6], tsvLines[11]}), lines);
        for (int r = 0; r < 12; ++r) {
            QCOMPARE(tsvLines[r].split('\t').size(), 8);
            QCOMPARE(textLines[r].simplified(), tsvLines[r].split('\t').join(' ').simplified());
            QCOMPARE(textLines[r].size(), textLines[0].size());
        }
    }

    void csvAndJsonCarryTheNumbersAtFullPrecision() {
        const QList<QStringList> csv = CsvRecords(
            Answer({"--spread", "payment", "--loan-step", "250", "--format", "csv"}).Out);
        QCOMPARE(csv.size(), 12);
        for (int r = 1; r <= 11; ++r) {
            QCOMPARE(csv[r].size(), 8);
            QCOMPARE(csv[r][0].toDouble(), 100000 + (r - 6) * 250.0);
        }
        for (int c = 1; c <= 7; ++c)
            QCOMPARE(csv[0][c].toDouble(), 8.75 + (c - 4) * 0.5);
        // Payments in exact decimals, computed apart from the program.
        QVERIFY2(NearlyExact(csv[6][4].toDouble(), 786.70040561337166316), qPrintable(csv[6][4]));
        QVERIFY2(NearlyExact(csv[1][1].toDouble(), 673.64907655548949451), qPrintable(csv[1][1]));
        QVERIFY2(NearlyExact(csv[11][7].toDouble(), 907.30256233803887495), qPrintable(csv[11][7]));

        const QJsonObject spread =
            QJsonDocument::fromJson(Answer({"--spread", "rate", "--format", "json"}).Out.toUtf8())
                .object();
        QCOMPARE(spread["mode"].toString(), QString("rate"));
        QCOMPARE(spread["rowValues"].toArray().size(), 11);
        QCOMPARE(spread["columnValues"].toArray()[6].toDouble(), 786.7 + 3 * 75);
        QVERIFY(NearlyExact(spread["cells"].toArray()[5].toArray()[3].toDouble(),
                            8.7499943208434004596));

        const TRun schedule = Answer({"--schedule", "--loan", "100000", "--rate", "8.75", "--term",
                                      "360", "--format", "json"});
        const QJsonObject s = QJsonDocument::fromJson(schedule.Out.toUtf8()).object();
        const QJsonArray months = s["rows"].toArray();
        QCOMPARE(s["payment"].toDouble(), 786.70);
        QCOMPARE(s["totalInterest"].toDouble(), 183212.97);
        QCOMPARE(months.size(), 360);
        QCOMPARE(months[359].toObject()["payment"].toDouble(), 787.67);
        QCOMPARE(months[359].toObject()["balance"].toDouble(), 0.0);

        const QJsonObject plan =
            QJsonDocument::fromJson(
                Answer({"--schedule", "--loan", "100000", "--rate", "8.75", "--term", "360",
                        "--points", "1", "--fees", "1000", "--lump", "5000:12", "--lump", "5000:12",
                        "--first-payment", "2025-01-31", "--format", "json"})
                    .Out.toUtf8())
                .object();
        QCOMPARE(plan["rows"].toArray()[1].toObject()["date"].toString(), QString("2025-02-28"));
        QCOMPARE(plan["rows"].toArray()[11].toObject()["extra"].toDouble(), 10000.0);
        QCOMPARE(plan["payoff_date"].toString(), QString("2046-02-28"));
        QCOMPARE(plan["interest_saved"].toDouble(), 73468.15);
        QCOMPARE(plan["payments_saved"].toInt(), 106);
        QCOMPARE(plan["apr"].toDouble(), 9.045);
        QCOMPARE(plan["aprc"].toDouble(), 9.43);

        const QList<QStringList> years =
            CsvRecords(Answer({"--schedule", "--loan", "100000", "--rate", "8.75", "--term", "360",
                               "--by-year", "--format", "csv"})
                           .Out);
        QCOMPARE(years.size(), 31);
        QCOMPARE(years[30][0], QString("30"));
        QCOMPARE(years[30][5], QString("183212.97"));
    }

    // The worked pair of offers and its pay-down grid, figures worked out apart in exact
    // decimals; csv carries the same plain values, text the window's texts.
    void theComparisonOfOffers() {
        const QStringList args{"--compare",
                               "--offer",
                               "name=A\t1,loan=100000,rate=8.75,term=360", // json escapes the tab
                               "--offer",
                               "name=B,loan=100000,rate=8.25,term=360,points=2",
                               "--years",
                               "10",
                               "--paydown",
                               "100",
                               "--rate-step",
                               "1/4's"};
        const QString jsonText = Answer(args + QStringList{"--format", "json"}).Out;
        QVERIFY2(jsonText.contains("\"A\\u00091\"") && !jsonText.contains('\t'),
                 qPrintable(jsonText));
        const QJsonObject json = QJsonDocument::fromJson(jsonText.toUtf8()).object();
        const QJsonArray offers = json["offers"].toArray();
        QCOMPARE(offers.size(), 2);
        QCOMPARE(offers[0].toObject()["cost_after_years"].toDouble(), 183426.52);
        QCOMPARE(offers[1].toObject()["cost_after_years"].toDouble(), 180321.83);
        QCOMPARE(offers[1].toObject()["total_interest"].toDouble(), 170451.76);
        QCOMPARE(offers[1].toObject()["apr"].toDouble(), 8.467);
        QCOMPARE(offers[1].toObject()["payoff_date"], QJsonValue(QJsonValue::Null));
        QCOMPARE(json["best"].toArray(), QJsonArray{"B"});
        const QJsonObject pair = json["break_even"].toArray()[0].toObject();
        QCOMPARE(pair["payer"].toString() + pair["other"].toString(), QString("BA\t1"));
        QCOMPARE(pair["month"].toInt(), 48);
        const QJsonObject grid = json["paydown"].toArray()[0].toObject();
        QCOMPARE(grid["rates"].toArray()[6].toDouble(), 9.5);
        QCOMPARE(grid["months"].toArray()[1].toArray()[3].toInt(), 238);
        QCOMPARE(grid["total_interest"].toArray()[10].toArray()[6].toDouble(), 31249.37);
        QCOMPARE(grid["interest_saved"].toArray()[1].toArray()[3].toDouble(), 72330.29);

        const QList<QStringList> csv =
            CsvRecords(Answer(args + QStringList{"--format", "csv"}).Out);
        QCOMPARE(csv[0], (QStringList{"", "A\t1", "B"}));
        QVERIFY(csv.contains(QStringList{"Cost after 10 years", "183426.52", "180321.83"}));
        QVERIFY(csv.contains(QStringList{"Break-even of B over A\t1", "48"}));
        QVERIFY(
            csv.contains(QStringList{"100.00", "242", "241", "240", "238", "237", "235", "234"}));

        const QString text = Answer(args).Out;
        QVERIFY2(text.contains("*$751.27 (-$35.43)") && text.contains(" $786.70 ") &&
                     text.contains("month 48\n") && !text.contains("Payoff date"),
                 qPrintable(text));
    }

    // Numbers on the command line and in csv and json use "."; text shows the user's locale.
    void numbersUseAPointWhateverTheLocale() {
        TFormatSettings german = UnitedStatesFormatSettings();
        german.DecimalSeparator = ",";
        german.ThousandSeparator = ".";
        SetFormatSettings(german);
        const TRun csv = Answer({"--spread", "payment", "--loan", "100000.50", "--format", "csv"});
        const TRun text = Answer({"--spread", "payment", "--rate", "8.5"});
        SetFormatSettings(UnitedStatesFormatSettings());
        QCOMPARE(CsvRecords(csv.Out)[6][0], QString("100000.5"));
        QCOMPARE(CsvRecords(csv.Out)[6][4].left(8), QString("786.7043"));
        QVERIFY2(text.Out.contains("$100.000 ") && text.Out.contains("$768,91"),
                 qPrintable(text.Out));
    }

    void otherArgumentsOpenTheWindows() {
        QVERIFY(!CommandLineAnswer({"quorvale"}));
        QVERIFY(!CommandLineAnswer({"quorvale", "--verbose", "-h", "version", "--version=2"}));
    }

    // The program that answers links no library of the window system: loading those took most
    // of an answer's time.
    void theAnsweringProgramLinksNoWindowSystem() {
        const QString readelf = QStandardPaths::findExecutable("readelf");
        if (readelf.isEmpty())
            QSKIP("readelf is not installed");
        QProcess dump;
        dump.start(readelf, {"-d", BuiltProgram("quorvale")});
        QVERIFY(dump.waitForFinished(10000));
        const QString dynamic = QString::fromUtf8(dump.readAllStandardOutput());
        const QRegularExpression needed(R"(\(NEEDED\)\s+Shared library: \[(.*)\])");
        QStringList libraries;
        for (auto it = needed.globalMatch(dynamic); it.hasNext();)
            libraries << it.next().captured(1);
        QVERIFY2(libraries.contains("libc.so.6"), qPrintable(dynamic));
        const QRegularExpression windowSystem("^lib(Qt|X|xcb|GL|EGL|OpenGL|wayland)");
        QCOMPARE(libraries.filter(windowSystem), QStringList());
    }

    // Without a command the windows' program takes over the same process, with the arguments
    // and the environment it was given.
    void otherArgumentsHandTheProcessToTheWindows() {
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", home.path());
        env.insert("QUORVALE_TEST_MARK", "kept");
        QProcess program;
        program.setProcessEnvironment(env);
        const QStringList args{"-x", "a file"};
        program.start(BuiltProgram("quorvale"), args);
        QVERIFY(program.waitForStarted());
        const QString process = "/proc/" + QString::number(program.processId());
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(process + "/exe").symLinkTarget(),
                                  QFileInfo(BuiltProgram("quorvale-windows")).canonicalFilePath(),
                                  10000);
        QCOMPARE(ReadProcFile(process + "/cmdline").split('\0'),
                 QStringList{BuiltProgram("quorvale")} + args + QStringList{""});
        QVERIFY(ReadProcFile(process + "/environ").split('\0').contains("QUORVALE_TEST_MARK=kept"));
        program.kill();
        program.waitForFinished();
    }

    // Started from the desktop menu (standard error no terminal, a display set), a start that
    // cannot go on is shown in a message box as well as on standard error: a command-line
    // program without its windows' program, or a windows' program started by another version.
    void aFailedStartIsShownInAMessageBox_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("launcherVersion"); // passed across the exec, if any
        QTest::addColumn<QString>("message");
        auto row = [](const char *name, const QString &program, const char *version,
                      const char *message) {
            QTest::newRow(name) << program << version << message;
        };
        row("no windows' program", "alone/quorvale", "", "quorvale: quorvale-windows ");
        row("windows of another version", BuiltProgram("quorvale-windows"), "1.5.0",
            "quorvale-windows: this is version 1.6.12 of the windows, started by quorvale 1.5.0: "
            "reinstall Quorvale Pro");
    }
    void aFailedStartIsShownInAMessageBox() {
        QFETCH(QString, program);
        QFETCH(QString, launcherVersion);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString boxes = dir.filePath("bin"), shown = dir.filePath("shown");
        QVERIFY(QDir().mkpath(boxes) && QDir().mkpath(dir.filePath("alone")));
        QVERIFY(QFile::copy(BuiltProgram("quorvale"), dir.filePath("alone/quorvale")));
        QFile box(boxes + "/zenity");
        QVERIFY(box.open(QIODevice::WriteOnly));
        box.write(QString("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + shown + "'\n").toUtf8());
        box.close();
        box.setPermissions(box.permissions() | QFileDevice::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", ":97");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("PATH", boxes + ":" + env.value("PATH"));
        if (!launcherVersion.isEmpty())
            env.insert("QUORVALE_LAUNCHER_VERSION", launcherVersion);
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(program.startsWith('/') ? program : dir.filePath(program), {});
        QVERIFY(run.waitForFinished(10000));
        QCOMPARE(run.exitCode(), 1);
        QCOMPARE(run.readAllStandardOutput(), QByteArray());
        const QString error = QString::fromUtf8(run.readAllStandardError());
        QVERIFY2(error.startsWith(message) && error.count('\n') == 1, qPrintable(error));
        const QStringList args = ReadProcFile(shown).split('\n');
        QVERIFY2(args.contains("--error") && args.contains("--text=" + error.trimmed()),
                 qPrintable(args.join(' ')));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
