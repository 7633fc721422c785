#include "platform/Language.h"

#include "platform/Dialogs.h"
#include "tests/support/Row.h"

#include <QCoreApplication>
#include <QTest>

namespace {

const QByteArray Unset = "(unset)";
const char *const Variables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT

    QList<QByteArray> FSaved; // each variable's value before the row, Unset when it had none

private slots:
    void init() {
        FSaved.clear();
        for (const char *name : Variables)
            FSaved << (qEnvironmentVariableIsSet(name) ? qgetenv(name) : Unset);
    }
    void cleanup() {
        for (int i = 0; i < FSaved.size(); ++i)
            FSaved[i] == Unset ? qunsetenv(Variables[i]) : qputenv(Variables[i], FSaved[i]);
        UseLanguage(*QCoreApplication::instance(), "C");
    }

    // The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty names the language;
    // German for any German locale, English for the rest.
    void theLanguageFollowsTheLocale_data() {
        QTest::addColumn<QByteArray>("lcAll");
        QTest::addColumn<QByteArray>("lcMessages");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("german");
        Row("LC_ALL", QByteArray("de_DE.UTF-8"), Unset, QByteArray("en_US.UTF-8"), "de_DE", true);
        Row("LC_ALL over LC_MESSAGES", QByteArray("C"), QByteArray("de_DE.UTF-8"), Unset, "C",
            false);
        Row("LC_MESSAGES with codeset and modifier", Unset, QByteArray("de_DE.UTF-8@euro"),
            QByteArray("en_US.UTF-8"), "de_DE", true);
        Row("empty LC_ALL and LC_MESSAGES: LANG", QByteArray(), QByteArray(),
            QByteArray("de_AT.ISO-8859-1"), "de_AT", true);
        Row("LANG with a modifier", Unset, Unset, QByteArray("de_CH@euro"), "de_CH", true);
        QTest::newRow("the language alone") << Unset << Unset << QByteArray("de") << "de" << true;
        Row("C.UTF-8 over LANG", QByteArray("C.UTF-8"), Unset, QByteArray("de_DE.UTF-8"), "C",
            false);
        Row("POSIX", Unset, QByteArray("POSIX"), QByteArray("de_DE"), "C", false);
        QTest::newRow("French") << QByteArray("fr_FR.UTF-8") << Unset << Unset << "fr_FR" << false;
        QTest::newRow("English") << Unset << Unset << QByteArray("en_US.UTF-8") << "en_US" << false;
        QTest::newRow("unknown") << Unset << Unset << QByteArray("xx_YY.UTF-8") << "xx_YY" << false;
    }
    void theLanguageFollowsTheLocale() {
        QFETCH(QByteArray, lcAll);
        QFETCH(QByteArray, lcMessages);
        QFETCH(QByteArray, lang);
        QFETCH(QString, locale);
        QFETCH(bool, german);
        const QByteArray values[] = {lcAll, lcMessages, lang};
        for (int i = 0; i < 3; ++i)
            values[i] == Unset ? qunsetenv(Variables[i]) : qputenv(Variables[i], values[i]);
        QCOMPARE(MessagesLocaleName(), locale);
        UseLanguage(*QCoreApplication::instance(), "de_DE"); // English takes German's place
        QCOMPARE(UseLanguage(*QCoreApplication::instance(), locale), german);
        // A message box's title, as a window shows it.
        QCOMPARE(MessageDlgTitle(mtWarning), QString(german ? "Warnung" : "Warning"));
        // An engine text takes its values once: one that holds a "%2" keeps it.
        QCOMPARE(
            EngineText("Break-even of %1 over %2", {"A %2", "B"}),
            QString(german ? "Gewinnschwelle von A %2 gegenüber B" : "Break-even of A %2 over B"));
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_Language.moc"
