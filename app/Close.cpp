#include "app/Close.h"

#include "app/Main.h"
#include "app/URL.h"
#include "controls/ExplBtn.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"

#include <QLabel>
#include <QPushButton>

bool ExitFlag = false;

namespace {
TExplorerButton *CaptionButton(QWidget *parent, int left, const QString &caption,
                               const QString &glyph) {
    auto *b = new TExplorerButton(parent);
    b->move(left, 181);
    b->SetCustomWidth(123);
    b->SetCustomHeight(25);
    b->SetCaption(caption);
    b->SetLayout(blBitmapLeft);
    b->SetOptions({boPopupMark, boShowBevel});
    b->SetBitmap(ProgramPicture(glyph));
    b->SetFont(DesignFont(QStringLiteral("MS Sans Serif"), 8));
    b->SetUnselectedFontColor(Qt::black);
    return b;
}
} // namespace

TfrmClose::TfrmClose(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(tr("Thanks from Tamblewick Software!"));
    setFixedSize(373, 209);
    setFont(DesignFont(QStringLiteral("Arial"), 8));

    Panel1 = new TPanel(this);
    Panel1->setGeometry(7, 7, 360, 168);
    Panel1->SetColor(Qt::white);
    Panel1->SetBevelOuter(bvLowered);
    Panel1->SetBevelInner(bvRaised);
    Image1 = new QLabel(Panel1);
    // The logo at the panel's right, drawn smaller than in the design (144 x 155 at 212, 10),
    // so that the text beside it shows in full in Liberation Sans without running across it.
    Image1->setGeometry(256, 10, 100, 108);
    Image1->setPixmap(
        QPixmap::fromImage(ProgramPicture(QStringLiteral(":/logo.svg"), Image1->size())));
    Label3 = new QLabel(Panel1);
    Label3->setGeometry(14, 18, 240, 96);
    Label3->setFont(DesignFont(QStringLiteral("Arial"), 10));
    Label3->setWordWrap(true);
    Label3->setTextFormat(Qt::PlainText);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setText(
        tr("We appreciate and value the information we receive from people who use our products "
           "and then take time to share their thoughts about them.  We invite you to offer your "
           "opinions ... both positive and negative ... about this product."));
    btnSuggestions = new QPushButton(
        QIcon(QPixmap::fromImage(ProgramPicture(QStringLiteral(":/glyphs/suggest.svg")))),
        tr("Visit Online Suggestion Box"), Panel1);
    btnSuggestions->setGeometry(13, 128, 175, 26);
    btnSuggestions->setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8));
    btnSuggestions->setAutoDefault(false);
    connect(btnSuggestions, &QPushButton::clicked, this,
            [this] { Guard(btnSuggestions, [this] { btnSuggestionsClick(btnSuggestions); }); });

    BtnReturn = CaptionButton(this, 42, tr("  Return"), QStringLiteral(":/glyphs/return.svg"));
    BtnReturn->OnClick = [this](QObject *sender) {
        BtnReturnClick(sender);
    };
    BtnExit = CaptionButton(this, 207, tr("  Quit"), QStringLiteral(":/glyphs/quit.svg"));
    BtnExit->OnClick = [this](QObject *sender) {
        BtnExitClick(sender);
    };
}

void TfrmClose::BtnExitClick(QObject *) {
    ExitFlag = true;
    close();
}

void TfrmClose::BtnReturnClick(QObject *) {
    ExitFlag = false;
    close();
}

void TfrmClose::btnSuggestionsClick(QObject *) {
    if (frmMain)
        frmMain->UrlSuggest->Open();
}
