#include "app/About.h"

#include "app/Identity.h"
#include "app/URL.h"
#include "app/URLLabel.h"
#include "controls/ExplBtn.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"

#include <QLabel>
#include <algorithm>

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(tr("About ..."));
    setFixedSize(363, 254);
    setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8));
    SetShowHint(this, false); // the link and OK have hints, shown as no tooltip

    Panel1 = new TPanel(this);
    Panel1->setGeometry(4, 4, 356, 219);
    Panel1->SetColor(Qt::white);
    Panel1->SetBevelOuter(bvLowered);
    Panel1->SetBevelInner(bvRaised);

    auto picture = [this](int left, int top, int width, int height, const char *name) {
        auto *image = new QLabel(Panel1);
        image->setGeometry(left, top, width, height);
        image->setPixmap(
            QPixmap::fromImage(ProgramPicture(QString::fromLatin1(name), image->size())));
        return image;
    };
    auto label = [this](int left, int top, const QString &text) {
        auto *l = new QLabel(text, Panel1);
        l->move(left, top);
        l->adjustSize();
        return l;
    };
    auto grey = [](QLabel *l) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::gray);
        l->setPalette(p);
        return l;
    };
    Image2 = picture(16, 11, 32, 32, ":/icon.svg");
    Label3 = label(62, 13, QString());
    Label3->setFont(DesignFont(QStringLiteral("Arial"), 14, true));
    Label3->setText(ProgramName);
    Label3->adjustSize();
    Label2 = label(16, 48, tr("Version:"));
    lblVersion = label(61, 48, QStringLiteral("1.0.00"));
    Label5 = label(16, 63, tr("Compile Date:"));
    lblCompileDate = label(90, 63, QStringLiteral("January 1, 1999"));
    lblCopyright = grey(label(16, 78, QString()));
    lblRights = grey(label(16, 93, QString()));
    Label4 = new QLabel(Panel1);
    Label4->setGeometry(16, 122, 215, 65); // five lines beside the logo
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setText(
        tr("Tamblewick Software creates award-winning financial calculators for consumers, "
           "professionals and corporations in the banking, real estate, mortgage and financial "
           "services industries."));
    // The logo drawn smaller than in the design (144 x 155 at 197, 61) and further right, so
    // that the texts beside it show in full in Liberation Sans without running across it.
    Image1 = picture(236, 61, 112, 121, ":/logo.svg");
    Label1 = label(16, 188, tr("Visit Tamblewick at:"));

    UrlLabel1 = new TURLLabel(Panel1);
    UrlLabel1->setGeometry(119, 188, 107, 13);
    UrlLabel1->setText(MakerAddresses().Host);
    UrlLabel1->SetFontColor(Qt::blue);
    UrlLabel1->SetFontStyle(fsUnderline);
    UrlLabel1->SetMouseOverColor(QColor(128, 0, 128));
    UrlLabel1->SetMouseOverFont(fsUnderline);
    UrlLabel1->SetURL(URLPrefix(utHttp) + MakerAddresses().HomePage);
    UrlLabel1->setToolTip(tr(" Click to visit Tamblewick Software's website ..."));
    // The box grows to the address where the font needs more than the design's 107 pixels.
    UrlLabel1->resize(std::max(UrlLabel1->width(), UrlLabel1->sizeHint().width()), 13);

    btnClose = new TExplorerButton(this);
    btnClose->move(124, 227);
    btnClose->SetCustomWidth(115);
    btnClose->SetCustomHeight(25);
    btnClose->SetCaption(tr(" &OK"));
    btnClose->SetLayout(blBitmapLeft);
    btnClose->SetOptions({boPopupMark, boShowBevel, boShowDownPattern});
    btnClose->SetBitmap(ProgramPicture(QStringLiteral(":/glyphs/ok.svg")));
    btnClose->setToolTip(tr(" Close About ..."));
    btnClose->OnClick = [this](QObject *sender) {
        BtnCloseClick(sender);
    };
}

void TAboutBox::showEvent(QShowEvent *event) {
    FormShow(this);
    QDialog::showEvent(event);
}

void TAboutBox::FormShow(QObject *) {
    setWindowTitle(tr(" About %1, %2").arg(ProgramName, ProgramVersion));
    lblVersion->setText(ProgramVersion);
    lblVersion->adjustSize();
    lblCompileDate->setText(tr(ProgramCompileDate));
    lblCompileDate->adjustSize();
    lblCopyright->setText(QStringLiteral("\u00A9 1996-1999 Tamblewick Software"));
    lblCopyright->adjustSize();
    lblRights->setText(tr("All rights reserved."));
    lblRights->adjustSize();
}

void TAboutBox::BtnCloseClick(QObject *) {
    accept();
}
