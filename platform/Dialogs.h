// Message boxes and the other standard dialogs. Every call goes through one replaceable
// responder: the program shows real modal dialogs, tests record what would have been shown
// and answer as they choose.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// mtCustom: a box without an icon.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message box, combined with |.
enum TMsgDlgBtn { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
using TMsgDlgButtons = int;

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct TDialogRequest {
    enum TKind { MessageBox, PrinterSetup, SaveFile };
    TKind Kind = MessageBox;
    QString Title; // "Information", "Warning", "Error", "Confirm", or the caller's caption
    QString Text;  // the text as the caller gave it
    TMsgDlgType Type = mtInformation;
    TMsgDlgButtons Buttons = mbOK;
    // SaveFile: the filters, the folder shown first and, per filter, the extension a name
    // typed without one receives. The responder answers with the name and the filter chosen,
    // written into FileName (which holds the proposed name) and FilterIndex.
    QStringList Filters;
    QStringList Extensions;
    QString Directory;
    mutable QString FileName;
    mutable int FilterIndex = 0;
};

// The responder answers a request with a modal result; an empty responder means real dialogs.
// Setting one returns the one it replaces.
using TDialogResponder = std::function<int(const TDialogRequest &)>;
TDialogResponder SetDialogResponder(TDialogResponder responder);

// The title of each kind of message box.
QString MessageDlgTitle(TMsgDlgType type);

// The text as the box shows it: a line feed and carriage return in either order, or either
// alone, make one line break.
QString MessageDlgDisplayText(const QString &text);

// A modal message box centred on the screen; returns the button pressed (mrOk, mrYes, ...).
int MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons);
// The same with a caption of the caller's; an empty caption is the application's title.
int MessageBox(const QString &text, const QString &caption, TMsgDlgType type,
               TMsgDlgButtons buttons);

// The file save dialog, starting in `directory` with `fileName` proposed and filter
// `filterIndex` selected; only existing folders can be chosen. A name typed without an
// extension receives the selected filter's entry of `extensions` (none when it is empty)
// before the dialog asks whether to replace an existing file, so the question covers the name
// that is then used. True, with the full name and the filter chosen, when the user confirmed.
// The folder a save dialog proposes: the first of `folders` that exists, else the home folder
// (a file dialog opened on a folder that does not exist wanders off to others).
QString ProposedFolder(const QStringList &folders);

bool SaveFileDialog(QWidget *parent, const QString &title, const QStringList &filters,
                    const QStringList &extensions, const QString &directory, QString &fileName,
                    int &filterIndex);

// The printer setup dialog for the program's printer (Printer()): the printer, its paper and
// orientation. True when the user confirmed it.
bool PrinterSetupExecute(QWidget *parent);
