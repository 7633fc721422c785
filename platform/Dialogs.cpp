#include "platform/Dialogs.h"

#include "platform/Printers.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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
                                              QMessageBox::Information, QMessageBox::Question,
                                              QMessageBox::NoIcon};
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
        return QCoreApplication::translate("TApplication", "Warning");
    case mtError:
        return QCoreApplication::translate("TApplication", "Error");
    case mtConfirmation:
        return QCoreApplication::translate("TApplication", "Confirm");
    case mtCustom:
        return QCoreApplication::applicationName();
    case mtInformation:
        break;
    }
    return QCoreApplication::translate("TApplication", "Information");
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
    request.Title = caption.isEmpty() ? QCoreApplication::applicationName() : caption;
    request.Text = text;
    request.Type = type;
    request.Buttons = buttons;
    if (Responder())
        return Responder()(request);
    return ShowMessageBox(request);
}

namespace {
// The name with the filter's extension when it was typed without one.
QString WithExtension(const QString &name, const QStringList &extensions, int filterIndex) {
    const QString extension = extensions.value(filterIndex);
    if (extension.isEmpty() || name.isEmpty() || name.endsWith(QLatin1Char('/')) ||
        !QFileInfo(name).suffix().isEmpty())
        return name;
    return name + QLatin1Char('.') + extension;
}
} // namespace

bool SaveFileDialog(QWidget *parent, const QString &title, const QStringList &filters,
                    const QStringList &extensions, const QString &directory, QString &fileName,
                    int &filterIndex) {
    TDialogRequest request;
    request.Kind = TDialogRequest::SaveFile;
    request.Title = title;
    request.Buttons = mbOK | mbCancel;
    request.Filters = filters;
    request.Extensions = extensions;
    request.Directory = directory;
    request.FileName = fileName;
    request.FilterIndex = filterIndex;
    if (Responder()) {
        if (Responder()(request) != mrOk)
            return false;
        // The answer stands for what the user typed: the dialog adds the extension.
        filterIndex = request.FilterIndex;
        fileName = WithExtension(request.FileName, extensions, filterIndex);
        return true;
    }
    // Qt's own dialog adds the default suffix before it asks about replacing a file.
    QFileDialog dialog(parent, title, directory);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (filterIndex >= 0 && filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(filterIndex));
    dialog.setDefaultSuffix(extensions.value(filterIndex));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, filters, extensions](const QString &filter) {
                         dialog.setDefaultSuffix(extensions.value(filters.indexOf(filter)));
                     });
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    filterIndex = std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()));
    fileName = dialog.selectedFiles().constFirst();
    return true;
}

bool PrinterSetupExecute(QWidget *parent) {
    TDialogRequest request;
    request.Kind = TDialogRequest::PrinterSetup;
    request.Title = QCoreApplication::translate("TApplication", "Print Setup");
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

QString ProposedFolder(const QStringList &folders) {
    for (const QString &folder : folders)
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    return QDir::homePath();
}
