#include "app/Disclaim.h"

#include "app/Identity.h"
#include "controls/ExplBtn.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"

#include <QLabel>

TfrmDisclaim::TfrmDisclaim(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(tr("Disclaimer"));
    setFixedSize(224, 176);
    setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8));

    Panel1 = new TPanel(this);
    Panel1->setGeometry(0, 0, 224, 146);
    Panel1->SetColor(Qt::white);
    Panel1->SetBevelOuter(bvLowered);
    Panel1->SetBevelInner(bvRaised);
    auto label = [this](int left, int top, int width, int height, const QString &text) {
        auto *l = new QLabel(text, Panel1);
        l->setGeometry(left, top, width, height);
        l->setWordWrap(true);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        return l;
    };
    // Liberation Sans needs more room than the design's boxes (191 x 26 and 197 x 26) for the
    // first and the last text: the first grows wider, the last one line taller.
    Label3 = label(16, 8, 197, 26,
                   tr("NOTE:  While effort was made to ensure the accuracy of these "
                      "calculations,"));
    Label10 = label(16, 35, 182, 65,
                    tr("there is  NO WARRANTY,  expressed or implied, for the "
                       "accuracy or applicability of this information to your "
                       "particular financial question."));
    QFont bold = font();
    bold.setBold(true);
    Label10->setFont(bold);
    QPalette red = Label10->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label10->setPalette(red);
    Label12 = label(14, 105, 197, 39,
                    tr("Please consult your own financial advisor before making any "
                       "financial decision."));

    btnClose = new TExplorerButton(this);
    btnClose->move(55, 149);
    btnClose->SetCustomWidth(115);
    btnClose->SetCustomHeight(25);
    btnClose->SetCaption(tr(" &OK"));
    btnClose->SetLayout(blBitmapLeft);
    btnClose->SetOptions({boPopupMark, boShowBevel, boShowDownPattern});
    btnClose->SetBitmap(ProgramPicture(QStringLiteral(":/glyphs/ok.svg")));
    btnClose->OnClick = [this](QObject *sender) {
        BtnCloseClick(sender);
    };
}

void TfrmDisclaim::BtnCloseClick(QObject *) {
    accept();
}
