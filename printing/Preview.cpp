#include "printing/Preview.h"

#include "controls/ExplBtn.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/Printers.h"
#include "platform/Version.h"
#include "platform/WinHelp.h"
#include "printing/Quickrep.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

TfrmPreview *frmPreview = nullptr;

// The glyphs are compiled into this library, whose resources must be registered by name.
static void InitGlyphs() {
    Q_INIT_RESOURCE(printing);
}

namespace {

// The places of Print and Close, counted from the right edge of the window.
constexpr int RightOfPrint = 144, RightOfClose = 76;

QImage Glyph(const char *name) {
    static const bool loaded = (InitGlyphs(), true);
    (void)loaded;
    return DesignPicture(QStringLiteral(":/printing/glyphs/%1.svg").arg(QLatin1String(name)));
}

// The cursor shows the hourglass while it lives.
struct THourglass {
    THourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~THourglass() { QApplication::restoreOverrideCursor(); }
    THourglass(const THourglass &) = delete;
    THourglass &operator=(const THourglass &) = delete;
};

} // namespace

TfrmPreview::TfrmPreview(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    frmPreview = this;
    setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8));
    resize(630, 30);

    Panel1 = new TPanel(this);
    Panel1->setGeometry(0, 0, 630, 30);
    Label1 = new QLabel(tr("Page 1 of 1"), Panel1);
    Label1->move(15, 8);
    Label1->setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8, true));
    QPalette black = Label1->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(black);
    Label1->adjustSize();

    auto button = [this](int left, int width, const char *glyph, const char *caption,
                         const char *hint, void (TfrmPreview::*handler)(QObject *)) {
        auto *b = new TExplorerButton(Panel1);
        b->move(left, 3);
        b->SetCustomWidth(width);
        b->SetCustomHeight(24);
        b->SetLayout(blBitmapLeft);
        b->SetOptions({boPopupMark, boShowBevel, boShowDownPattern});
        b->SetBitmap(Glyph(glyph));
        b->SetCaption(tr(caption));
        b->setToolTip(tr(hint));
        // Wider than the design where a translated caption needs more room.
        while (!b->Caption().isEmpty() && !b->rect().contains(b->Places().Caption) &&
               b->width() < 2 * width)
            b->SetCustomWidth(b->width() + 1);
        SetShowHint(b, true);
        b->OnClick = [this, handler](QObject *sender) {
            (this->*handler)(sender);
        };
        return b;
    };
    bbPrev =
        button(115, 39, "prev", "", QT_TR_NOOP("Display previous page"), &TfrmPreview::bbPrevClick);
    bbNext =
        button(155, 39, "next", "", QT_TR_NOOP("Display next page"), &TfrmPreview::bbNextClick);
    bbZoomOut = button(241, 84, "page", QT_TR_NOOP(" Zoom &Out"),
                       QT_TR_NOOP("Displays full page in window"), &TfrmPreview::bbZoomOutClick);
    bbZoom100 = button(326, 84, "page", QT_TR_NOOP(" &100%"),
                       QT_TR_NOOP("Displays page at actual size"), &TfrmPreview::bbZoom100Click);
    bbZoomIn = button(411, 84, "page", QT_TR_NOOP(" Zoom &In"),
                      QT_TR_NOOP("Fits width of page into window"), &TfrmPreview::bbZoomInClick);
    bbPrint = button(496, 66, "print", QT_TR_NOOP(" &Print"), QT_TR_NOOP("Print the document"),
                     &TfrmPreview::bbPrintClick);
    bbClose = button(563, 66, "close", QT_TR_NOOP(" &Close"), QT_TR_NOOP("Close Print Preview"),
                     &TfrmPreview::bbCloseClick);

    // No narrower than the toolbar: Print at its place from the right edge stands clear of
    // the zoom buttons by the design's one pixel, and Close is whole.
    setMinimumWidth(bbZoomIn->x() + bbZoomIn->width() + 1 + RightOfPrint);

    QRPreview1 = new TQRPreview(this);
    QRPreview1->setGeometry(0, 30, 630, 0);
    setFocusPolicy(Qt::StrongFocus); // the window takes the keys: nothing on it takes focus
}

TfrmPreview::~TfrmPreview() {
    if (frmPreview == this)
        frmPreview = nullptr;
}

// ---- Showing, activation and closing ----------------------------------------------------

void TfrmPreview::showEvent(QShowEvent *event) {
    Guard(this, [this] { FormShow(this); });
    QDialog::showEvent(event);
}

bool TfrmPreview::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate)
        Guard(this, [this] { FormActivate(this); });
    return QDialog::event(event);
}

void TfrmPreview::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    Panel1->setGeometry(0, 0, width(), 30);
    QRPreview1->setGeometry(0, 30, width(), std::max(0, height() - 30));
    PlaceButtons();
}

void TfrmPreview::FormShow(QObject *) {
    setWindowTitle(tr("Print Preview - Quorvale Pro, %1").arg(QuorvaleVersion));
    QRPreview1->SetZoom(100);
    UpdatePageLabel();
    bbNext->setEnabled(QRPrinter().PageCount() != 1);
    bbPrev->setEnabled(false);
    bbZoom100->setEnabled(false);
    bbZoomIn->setEnabled(true);
    bbZoomOut->setEnabled(true);
}

// Over the available area of the screen (the desktop less its panels), or maximised where
// the screen knows no such area; Print and Close stay at the right end of the toolbar.
void TfrmPreview::FormActivate(QObject *) {
    const QWidget *owner = parentWidget() ? parentWidget() : this;
    const QScreen *screen = owner->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    if (area.isEmpty()) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        PlaceOver(area);
        // A window manager tells the size of its frame only once the window is up: place the
        // window again when the frame is known.
        QTimer::singleShot(100, this, [this, area] {
            if (isVisible() && frameGeometry() != area)
                Guard(this, [&] { PlaceOver(area); });
        });
    }
    PlaceButtons();
}

void TfrmPreview::PlaceOver(const QRect &area) {
    const QSize frame = frameGeometry().size() - geometry().size();
    move(area.topLeft());
    resize(area.size() - frame);
    PlaceButtons();
}

// Print and Close at the right end of the toolbar, at every size of the window.
void TfrmPreview::PlaceButtons() {
    bbClose->move(width() - RightOfClose, bbClose->y());
    bbPrint->move(width() - RightOfPrint, bbPrint->y());
}

void TfrmPreview::done(int result) {
    Guard(this, [this] { FormClose(this); });
    QDialog::done(result);
}

void TfrmPreview::FormClose(QObject *) {
    ShowPage(1);
    bbPrev->setEnabled(false);
    QRPreview1->horizontalScrollBar()->setValue(0);
    QRPreview1->verticalScrollBar()->setValue(0);
}

// ---- Paging and zoom --------------------------------------------------------------------

void TfrmPreview::UpdatePageLabel() {
    Label1->setText(tr("Page %1 of %2").arg(QRPreview1->PageNumber()).arg(QRPrinter().PageCount()));
    Label1->adjustSize();
}

void TfrmPreview::ShowPage(int page) {
    QRPreview1->SetPageNumber(page);
    UpdatePageLabel();
}

void TfrmPreview::bbPrevClick(QObject *) {
    if (QRPreview1->PageNumber() > 1)
        ShowPage(QRPreview1->PageNumber() - 1);
    UpdatePageLabel();
    bbNext->setEnabled(true);
    if (QRPreview1->PageNumber() == 1)
        bbPrev->setEnabled(false);
}

void TfrmPreview::bbNextClick(QObject *) {
    if (QRPreview1->PageNumber() < QRPrinter().PageCount())
        ShowPage(QRPreview1->PageNumber() + 1);
    UpdatePageLabel();
    bbPrev->setEnabled(true);
    if (QRPreview1->PageNumber() == QRPrinter().PageCount())
        bbNext->setEnabled(false);
}

void TfrmPreview::bbZoomOutClick(QObject *) {
    QRPreview1->ZoomToFit();
    bbZoomOut->setEnabled(false);
    bbZoomIn->setEnabled(true);
    bbZoom100->setEnabled(true);
}

void TfrmPreview::bbZoomInClick(QObject *) {
    QRPreview1->ZoomToWidth();
    bbZoomIn->setEnabled(false);
    bbZoomOut->setEnabled(true);
    bbZoom100->setEnabled(true);
}

void TfrmPreview::bbZoom100Click(QObject *) {
    QRPreview1->SetZoom(100);
    bbZoom100->setEnabled(false);
    bbZoomIn->setEnabled(true);
    bbZoomOut->setEnabled(true);
}

// ---- Printing ---------------------------------------------------------------------------

// No print dialog: the pages go to the printer of the printer setup. A job that cannot be
// printed is reported here and the window stays open, so that nothing looks printed that
// was not.
void TfrmPreview::bbPrintClick(QObject *) {
    try {
        THourglass hourglass;
        QRPrinter().Print();
    } catch (const EPrinter &e) {
        MessageBox(tr("Unable to print: %1").arg(QString::fromStdString(e.Message())),
                   QStringLiteral("Quorvale Pro"), mtError, mbOK);
        return;
    }
    close();
}

void TfrmPreview::bbCloseClick(QObject *) {
    close();
}

// ---- Keys -------------------------------------------------------------------------------

void TfrmPreview::keyPressEvent(QKeyEvent *event) {
    const int key = event->key();
    if (key == Qt::Key_F1) {
        Guard(this, [this] {
            WinHelp(this, Application() ? Application()->HelpFile() : QString(), HELP_CONTEXT,
                    HelpContext);
        });
        return;
    }
    bool arrow = false;
    Guard(this, [&] {
        int k = key;
        FormKeyDown(this, k, event->modifiers());
        arrow = CMDialogKey(key);
    });
    if (!arrow)
        QDialog::keyPressEvent(event);
}

void TfrmPreview::FormKeyDown(QObject *, int &Key, Qt::KeyboardModifiers Shift) {
    const bool ctrlOnly = (Shift & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) ==
                          Qt::ControlModifier;
    const int count = QRPrinter().PageCount();
    if (((Key == Qt::Key_PageDown && ctrlOnly) || Key == Qt::Key_End) && bbNext->isEnabled()) {
        ShowPage(count);
        Label1->setText(tr("Page %1 of %1").arg(count));
        Label1->adjustSize();
        bbPrev->setEnabled(true);
        bbNext->setEnabled(false);
    } else if (((Key == Qt::Key_PageUp && ctrlOnly) || Key == Qt::Key_Home) &&
               bbPrev->isEnabled()) {
        ShowPage(1);
        Label1->setText(tr("Page 1 of %1").arg(count));
        Label1->adjustSize();
        bbPrev->setEnabled(false);
        bbNext->setEnabled(true);
    } else if (Key == Qt::Key_PageDown && bbNext->isEnabled()) {
        bbNextClick(this);
    } else if (Key == Qt::Key_PageUp && bbPrev->isEnabled()) {
        bbPrevClick(this);
    }
}

bool TfrmPreview::CMDialogKey(int Key) {
    QScrollBar *h = QRPreview1->horizontalScrollBar();
    QScrollBar *v = QRPreview1->verticalScrollBar();
    switch (Key) {
    case Qt::Key_Left:
        h->setValue(h->value() - 50);
        return true;
    case Qt::Key_Right:
        h->setValue(h->value() + 50);
        return true;
    case Qt::Key_Up:
        v->setValue(v->value() - 50);
        return true;
    case Qt::Key_Down:
        v->setValue(v->value() + 50);
        return true;
    default:
        return false;
    }
}
