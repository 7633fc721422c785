// The texts a window shows its user, and those of them another language left as they were.
// A window is built once in English and once in the other language; every text of both that
// sits in the same place, is the same in both and holds letters is English left, but for the
// few names and words that every language writes alike.
#pragma once

#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

class QWidget;
struct TDialogRequest;

// A place ("the path of object names from the window/what it is there") and its text. An
// unnamed object of the path is its class and its number among its siblings of that class.
using TShownTexts = QSet<QPair<QString, QString>>;

// Every text of `window` and of its children and menus: titles, captions, items, hints, tool
// tips, status tips, what's-this and accessible texts, placeholders, header and cell texts, and
// what the program's own controls paint (a preview its page).
void AddWindowTexts(TShownTexts &texts, const QWidget *window);
// The titles, texts and file filters of message boxes and file dialogs asked for.
void AddDialogTexts(TShownTexts &texts, const QList<TDialogRequest> &requests);

// The texts of `english` that `other` shows unchanged, as lines `place: "text"`, sorted.
QStringList UntranslatedTexts(const TShownTexts &english, const TShownTexts &other);
