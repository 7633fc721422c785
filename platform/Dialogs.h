// Message boxes and the other standard dialogs. Every call goes through one replaceable
// responder: the program shows real modal dialogs, tests record what would have been shown
// and answer as they choose.
#pragma once

#include <QString>
#include <functional>

class QWidget;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// Buttons of a message box, combined with |.
enum TMsgDlgBtn { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
using TMsgDlgButtons = int;

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct TDialogRequest {
    enum TKind { MessageBox, PrinterSetup };
    TKind Kind = MessageBox;
    QString Title; // "Information", "Warning", "Error" or "Confirm"
    QString Text;  // the text as the caller gave it
    TMsgDlgType Type = mtInformation;
    TMsgDlgButtons Buttons = mbOK;
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
// The same with a caption of the caller's choosing, such as the program's name.
int MessageBox(const QString &text, const QString &caption, TMsgDlgType type,
               TMsgDlgButtons buttons);

// The printer setup dialog for the program's printer (Printer()): the printer, its paper and
// orientation. True when the user confirmed it.
bool PrinterSetupExecute(QWidget *parent);
