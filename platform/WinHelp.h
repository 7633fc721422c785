// The help viewer: one window per program that shows the program's help file, which is an
// HTML page, with a keyword index beside it.
//
// How a help file marks its topics and keywords:
// - a topic starts with an anchor, <a name="loans"></a>, followed by its heading (<h1> to
//   <h6>), whose text names the topic in the index;
// - the topic named "contents" is the contents page; a file without one shows its top;
// - a topic lists its index keywords in one or more comments inside it (after its anchor):
//   <!-- keywords: loan amount; step sizes; grid -->. Keywords are plain text separated by
//   ";". A keyword that several topics list appears once for each, with the topic's heading;
// - a topic that a window opens by its help context number carries it in a comment inside it:
//   <!-- context: 35 -->.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

enum TWinHelpCommand {
    HELP_CONTEXT = 1,        // the topic of a help context number
    HELP_QUIT = 2,           // close the viewer if the program opened it
    HELP_CONTENTS = 3,       // the contents page of the file
    HELP_HELPONHELP = 4,     // how to use the viewer
    HELP_PARTIALKEY = 0x105, // the keyword index, searched for the keyword given
};

// Asks the help viewer to carry out `command` on `helpFile` (the file is read for contents
// and the index only). Returns false when the help file cannot be read; the viewer then says
// so in a message naming the file.
bool WinHelp(QWidget *owner, const QString &helpFile, TWinHelpCommand command,
             const QString &keyword = QString());
// HELP_CONTEXT with the context number; a number no topic carries shows the contents.
bool WinHelp(QWidget *owner, const QString &helpFile, TWinHelpCommand command, int context);

struct THelpIndexEntry {
    QString Keyword;
    QString Topic; // the anchor name of the topic; empty for the top of the page
    QString Title; // the text of the topic's heading
    QString Text;  // as the index lists it
};

// The keywords of a help page in the order the index lists them (by keyword, without regard
// to case, then by topic).
QList<THelpIndexEntry> ReadHelpIndex(const QString &html);
// The anchor name of the topic that carries a help context number; empty when none does.
QString HelpContextTopic(const QString &html, int context);
// The entries whose keyword contains `text` (without regard to case; blank text keeps all).
QList<THelpIndexEntry> FilterHelpIndex(const QList<THelpIndexEntry> &index, const QString &text);

class THelpViewer : public QWidget {
    Q_OBJECT

public:
    enum TPage { hpNone, hpHelpFile, hpHelpOnHelp };

    THelpViewer();

    // Each returns false, after telling the user, when the file cannot be read.
    bool ShowContents(const QString &helpFile);
    bool ShowIndex(const QString &helpFile, const QString &keyword);
    void ShowHelpOnHelp();
    bool ShowContext(const QString &helpFile, int context);

    TPage Page() const { return FPage; }
    QString HelpFile() const { return FHelpFile; }
    // The topic last shown in the help file (empty: the top of the page).
    QString Topic() const { return FTopic; }
    QStringList IndexTexts() const;

    QLineEdit *SearchEdit() const { return FSearch; }
    QListWidget *IndexList() const { return FIndexList; }
    QTextBrowser *Browser() const { return FBrowser; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Load(const QString &helpFile);
    void ShowHelpFile();
    void ShowTopic(const QString &topic);
    void FillIndex();
    void DisplaySelected();
    void LinkClicked(const QUrl &url);
    void Present();

    QTextBrowser *FBrowser;
    QLineEdit *FSearch;
    QListWidget *FIndexList;
    QPushButton *FDisplay;
    QString FHelpFile;
    QString FHtml;
    QList<THelpIndexEntry> FIndex;
    QList<THelpIndexEntry> FShown;
    TPage FPage = hpNone;
    QString FTopic;
};

// The program's help viewer while it exists, else null.
THelpViewer *HelpViewer();
