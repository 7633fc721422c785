#include "update/WUpdate.h"

#include "controls/ExplBtn.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/Version.h"
#include "update/WebFileInfo.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

namespace {

// The running program as this window names it.
const QString CurrentVersion = QString::fromLatin1(QuorvaleVersion);
const char *const CurrentCompileDate = QT_TRANSLATE_NOOP("TfrmUpdate", "July 25, 1999");

const QColor Green(0, 128, 0), Silver(192, 192, 192);

void SetColour(QLabel *label, const QColor &colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

// The hourglass over the whole program until the scope is left, by whatever way.
class THourglass {
public:
    THourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~THourglass() { Restore(); }
    void Restore() {
        if (FOn)
            QApplication::restoreOverrideCursor();
        FOn = false;
    }

private:
    bool FOn = true;
};

} // namespace

TfrmUpdate::TfrmUpdate(TWebFileInfo *webFileInfo, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      FWebFileInfo(webFileInfo) {
    setWindowTitle(tr("Tamblewick Software Update Center"));
    setFixedSize(411, 223);
    const QFont font = DesignFont(QStringLiteral("MS Sans Serif"), 8);
    const QFont bold = DesignFont(QStringLiteral("MS Sans Serif"), 8, true);
    setFont(font);

    Panel1 = new TPanel(this);
    Panel1->setGeometry(6, 6, 399, 186);
    Panel1->SetColor(Qt::white);
    Panel1->SetBevelOuter(bvLowered);
    Panel1->SetBevelInner(bvRaised);
    Image1 = new QLabel(Panel1);
    Image1->setGeometry(238, 25, 144, 155);
    Image1->setPixmap(QPixmap::fromImage(DesignPicture(QStringLiteral(":/logo.svg"))));

    auto label = [this](int left, int top, const char *caption, const QColor &colour) {
        auto *l = new QLabel(tr(caption), Panel1);
        l->move(left, top);
        SetColour(l, colour);
        l->adjustSize();
        return l;
    };
    // A caption whose right edge stays before the column of its value, whatever its width.
    auto caption = [this](int top, int valueLeft, const char *text) {
        auto *l = new QLabel(tr(text), Panel1);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int width = l->sizeHint().width();
        l->setGeometry(valueLeft - 4 - width, top, width, l->sizeHint().height());
        SetColour(l, Qt::black);
        return l;
    };
    Label7 = label(17, 14, QT_TR_NOOP("Current Application"), Qt::black);
    Label7->setFont(bold);
    Label7->adjustSize();
    Label1 = caption(34, 156, QT_TR_NOOP("Application Name:"));
    lblApplicationName = label(156, 34, " Quorvale Pro", Green);
    Label2 = caption(53, 156, QT_TR_NOOP("Developer:"));
    // The maker's name runs past the left edge of the logo's box in Liberation Sans (its box
    // ends near the badge's rim): there is no room to wrap it between the rows above and below,
    // and the logo and the value column keep their places.
    lblDeveloper = label(156, 53, " Tamblewick Software", Green);
    lblDeveloper->setObjectName(QStringLiteral("lblDeveloper"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Label8 = caption(72, 157, QT_TR_NOOP("Your Current Version:"));
    lblCurrentVersion = label(157, 72, " Current Version", Green);
    Label10 = caption(91, 157, QT_TR_NOOP("Current Compile Date:"));
    lblCurrentCompileDate = label(157, 91, " Current Compile Date", Green);
    lblUpdateStatus = label(17, 131, QT_TR_NOOP("Update Status:  Unknown"), Qt::black);
    lblUpdateStatus->setFont(bold);
    lblUpdateStatus->adjustSize();
    Label4 = caption(153, 157, QT_TR_NOOP("Newest Version on Server:"));
    lblVersion = label(157, 153, QT_TR_NOOP("Status Unknown"), Silver);
    Label3 = caption(134, 340, QT_TR_NOOP("Compile Date:"));
    lblDate = label(340, 134, QT_TR_NOOP("Status Unknown"), Silver);
    Label5 = caption(95, 339, QT_TR_NOOP("Online Information:"));
    lblReadMe = label(339, 96, QT_TR_NOOP("Status Unknown"), Silver);
    lblReadMe->resize(250, 14);
    Label6 = caption(115, 339, QT_TR_NOOP("Download URL:"));
    lblURL = label(339, 115, QT_TR_NOOP("Status Unknown"), Silver);
    lblURL->resize(250, 14);
    for (QLabel *hidden : {Label3, lblDate, Label5, lblReadMe, Label6, lblURL})
        hidden->hide();

    auto button = [this, &font](int left, const char *text, const char *hint, const char *glyph,
                                void (TfrmUpdate::*handler)(QObject *)) {
        auto *b = new TExplorerButton(this);
        b->move(left, 196);
        b->SetCustomWidth(131);
        b->SetCustomHeight(25);
        b->SetCaption(tr(text));
        b->SetLayout(blBitmapLeft);
        b->SetOptions({boPopupMark, boShowBevel, boShowDownPattern});
        b->SetBitmap(DesignPicture(QStringLiteral(":/glyphs/%1.svg").arg(QLatin1String(glyph))));
        b->SetFont(font);
        b->SetUnselectedFontColor(Qt::black);
        b->SetHint(tr(hint));
        b->OnClick = [this, handler](QObject *sender) {
            (this->*handler)(sender);
        };
        return b;
    };
    btnCheckForUpdate =
        button(6, QT_TR_NOOP("Check for &Update"), QT_TR_NOOP(" Check for Update ..."), "update",
               &TfrmUpdate::CheckUpdate);
    btnCheckForUpdate->hide();
    btnRetrieveUpdate =
        button(140, QT_TR_NOOP(" &Retrieve Update"), QT_TR_NOOP(" Retrieve Update ..."), "update",
               &TfrmUpdate::RetrieveUpdate);
    btnRetrieveUpdate->hide();
    btnClose = button(274, QT_TR_NOOP(" &Close Update Center"), "", "exit",
                      &TfrmUpdate::CloseUpdateCenter);
    FormCreate(this);
}

void TfrmUpdate::FormCreate(QObject *) {
    lblCurrentVersion->setText(CurrentVersion);
    lblCurrentVersion->adjustSize();
    lblCurrentCompileDate->setText(tr(CurrentCompileDate));
    lblCurrentCompileDate->adjustSize();
}

bool TfrmUpdate::event(QEvent *e) {
    // The version check runs once per opening, when the window is first activated; a window
    // manager activates it again after every message box and wait window, which must not
    // fetch again. It runs once the activation has been handled.
    if (e->type() == QEvent::WindowActivate && !FChecked) {
        FChecked = true;
        QTimer::singleShot(0, this, [this] { Guard(this, [this] { CheckUpdate(this); }); });
    }
    return QDialog::event(e);
}

void TfrmUpdate::CheckUpdate(QObject *) {
    THourglass hourglass;
    if (!FWebFileInfo->RetrieveInfo()) {
        hourglass.Restore();
        MessageBox(tr("Get Info failed due to:\r\n") + FWebFileInfo->LastError(), QString(),
                   mtCustom, mbOK);
        return;
    }
    auto show = [this](QLabel *label, const QColor &colour, const QString &text) {
        SetColour(label, colour);
        label->setText(text);
        if (label != lblReadMe && label != lblURL)
            label->adjustSize();
    };
    show(lblUpdateStatus, Qt::red, tr("Update Information"));
    show(lblDate, Qt::blue, FWebFileInfo->ProductDateStr());
    show(lblVersion, Qt::blue, FWebFileInfo->ProductVersion());
    show(lblReadMe, Qt::blue, FWebFileInfo->ProductReadMe());
    show(lblURL, Qt::blue, FWebFileInfo->DownloadURL());
    if (IsUpdateAvailable()) {
        btnRetrieveUpdate->show();
    } else {
        lblUpdateStatus->setText(tr("No Update Available"));
        lblUpdateStatus->adjustSize();
    }
}

bool TfrmUpdate::IsUpdateAvailable() const {
    return IsNewerBuildNumber(CurrentVersion, lblVersion->text());
}

void TfrmUpdate::RetrieveUpdate(QObject *) {
    if (FWebFileInfo->Active())
        FWebFileInfo->PerformUpdate();
}

void TfrmUpdate::CloseUpdateCenter(QObject *) {
    done(QDialog::Accepted);
}

void TfrmUpdate::reject() {
    CloseUpdateCenter(this);
}
