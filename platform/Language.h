// The language the windows speak: the user's, as the locale names it, when the program has a
// catalogue for it; English otherwise. Qt's own catalogue then speaks it in the standard
// dialogs (file, print, message box buttons).
#pragma once

#include <QString>

#include <string>
#include <vector>

class QCoreApplication;
struct TPhrase;

// The locale that names the language of messages: the first of LC_ALL, LC_MESSAGES and LANG
// that is set and not empty, without its codeset and modifier ("de_DE" of "de_DE.UTF-8@euro"),
// else the system's. "C" for the C and POSIX locales.
QString MessagesLocaleName();

// Installs the catalogues of the language of `locale` (the program's and Qt's) on `app`, in
// place of any installed before. False when the program has none for it: it speaks English.
bool UseLanguage(QCoreApplication &app, const QString &locale);

// A text of the engine (one marked TRANSLATABLE("Engine", ...)) in the language in use.
QString EngineText(const char *text);
// The same with `args` put in for its "%1", "%2", ... (a TPhrase of the engine).
QString EngineText(const char *pattern, const std::vector<std::string> &args);
QString EngineText(const TPhrase &phrase);
