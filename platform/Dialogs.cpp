#include "platform/Dialogs.h"

#include "platform/Printers.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <utility>

namespace {
TDialogResponder &Responder() {
    static TDialogResponder responder;
    return responder;
}

// The window a box belongs to: the program's active window, or else its first ordinary window
// on screen (a box at start-up may come before the window manager has activated any). The
// window manager gives the focus back to it when the box closes.
QWidget *OwnerWindow() {
    if (QWidget *active = QApplication::activeWindow())
        return active;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowType() == Qt::Window)
            return w;
    return nullptr;
}

int ShowMessageBox(const TDialogRequest &r) {
    static const QMessageBox::Icon icons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                              QMessageBox::Information, QMessageBox::Question};
    QMessageBox box(icons[r.Type], r.Title, MessageDlgDisplayText(r.Text), QMessageBox::NoButton,
                    OwnerWindow());
    struct {
        TMsgDlgBtn Button;
        QMessageBox::StandardButton Standard;
        int Result;
    } const map[] = {{mbYes, QMessageBox::Yes, mrYes},
                     {mbNo, QMessageBox::No, mrNo},
                     {mbOK, QMessageBox::Ok, mrOk},
                     {mbCancel, QMessageBox::Cancel, mrCancel}};
    for (const auto &m : map)
        if (r.Buttons & m.Button)
            box.addButton(m.Standard);
    box.adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        box.move(std::max(0, (area.width() - box.width()) / 2),
                 std::max(0, (area.height() - box.height()) / 2));
    }
    const int pressed = box.exec();
    // Back to the window the box belongs to, should the window manager leave the focus nowhere.
    if (QWidget *owner = box.parentWidget(); owner && owner->isVisible())
        owner->activateWindow();
    for (const auto &m : map)
        if (pressed == m.Standard)
            return m.Result;
    return mrCancel; // closed without a button
}
} // namespace

TDialogResponder SetDialogResponder(TDialogResponder responder) {
    return std::exchange(Responder(), std::move(responder));
}

QString MessageDlgTitle(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return QStringLiteral("Warning");
    case mtError:
        return QStringLiteral("Error");
    case mtConfirmation:
        return QStringLiteral("Confirm");
    case mtInformation:
        break;
    }
    return QStringLiteral("Information");
}

QString MessageDlgDisplayText(const QString &text) {
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

int MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return MessageBox(text, MessageDlgTitle(type), type, buttons);
}

int MessageBox(const QString &text, const QString &caption, TMsgDlgType type,
               TMsgDlgButtons buttons) {
    TDialogRequest request;
    request.Title = caption;
    request.Text = text;
    request.Type = type;
    request.Buttons = buttons;
    if (Responder())
        return Responder()(request);
    return ShowMessageBox(request);
}

bool PrinterSetupExecute(QWidget *parent) {
    TDialogRequest request;
    request.Kind = TDialogRequest::PrinterSetup;
    request.Title = QStringLiteral("Print Setup");
    request.Buttons = mbOK | mbCancel;
    if (Responder())
        return Responder()(request) == mrOk;
    QPrintDialog dialog(Printer(), parent);
    dialog.setWindowTitle(request.Title);
    // Print to file: with no printer installed, a PDF file is the printer.
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintToFile);
    // The setup prints nothing: it chooses the printer and its paper, and is confirmed by OK.
    for (QDialogButtonBox *buttons : dialog.findChildren<QDialogButtonBox *>())
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(
                QDialogButtonBox(QDialogButtonBox::Ok).button(QDialogButtonBox::Ok)->text());
    return dialog.exec() == QDialog::Accepted;
}
