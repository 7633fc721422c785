#include "platform/Language.h"

#include "engine/Translatable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString MessagesLocaleName() {
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (value.isEmpty())
            continue;
        const QString name = value.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
        return name == QLatin1String("POSIX") ? QStringLiteral("C") : name;
    }
    return QLocale::system().name();
}

bool UseLanguage(QCoreApplication &app, const QString &locale) {
    Q_INIT_RESOURCE(translations);
    // The catalogues installed here are the application object's children, known by name.
    const QString installedName = QStringLiteral("quorvale-language");
    for (QTranslator *t :
         app.findChildren<QTranslator *>(installedName, Qt::FindDirectChildrenOnly))
        delete t; // which uninstalls it
    const QLocale language(locale);
    if (locale == QLatin1String("C") || language.language() == QLocale::English)
        return false;
    const auto install = [&](const QString &name, const QString &folder) {
        auto *t = new QTranslator(&app);
        t->setObjectName(installedName);
        if (t->load(language, name, QStringLiteral("_"), folder))
            return app.installTranslator(t);
        delete t;
        return false;
    };
    if (!install(QStringLiteral("quorvale"), QStringLiteral(":/i18n")))
        return false;
    install(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return true;
}

QString EngineText(const char *text) {
    return QCoreApplication::translate("Engine", text);
}

// In one pass, so that a value holding "%2" (an offer's name) stays as it is.
QString EngineText(const char *pattern, const std::vector<std::string> &args) {
    const QString translated = EngineText(pattern);
    QString text;
    for (qsizetype i = 0; i < translated.size(); ++i) {
        const qsizetype n = translated[i] == QLatin1Char('%') && i + 1 < translated.size()
                                ? translated[i + 1].digitValue() - 1
                                : -1;
        if (n >= 0 && n < qsizetype(args.size())) {
            text += QString::fromStdString(args[size_t(n)]);
            ++i;
        } else {
            text += translated[i];
        }
    }
    return text;
}

QString EngineText(const TPhrase &phrase) {
    return EngineText(phrase.Pattern, phrase.Args);
}
