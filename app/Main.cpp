#include "app/Main.h"

#include "app/About.h"
#include "app/Close.h"
#include "app/Compare.h"
#include "app/Disclaim.h"
#include "app/Schedule.h"
#include "app/URL.h"
#include "controls/Aligrid.h"
#include "controls/ExplBtn.h"
#include "controls/FnpNumericEdit.h"
#include "controls/GridClipboard.h"
#include "controls/NumCtrl.h"
#include "engine/CalcMode.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/IniFiles.h"
#include "platform/Language.h"
#include "platform/Version.h"
#include "platform/WinHelp.h"
#include "printing/Preview.h"
#include "printing/Qrchart.h"
#include "printing/Quickrep.h"
#include "update/WUpdate.h"
#include "update/WebFileInfo.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <random>
#include <unistd.h>

TfrmMain *frmMain = nullptr;

namespace {

const QColor Yellow(255, 255, 0);

// The reset values of the four boxes: the defaults of the saved values file.
const double DefaultLoan = VariableInfo(TVariable::Loan).Default,
             DefaultInterest = VariableInfo(TVariable::Rate).Default,
             DefaultTerm = VariableInfo(TVariable::Term).Default,
             DefaultPayment = VariableInfo(TVariable::Payment).Default;

const char *const SavedValuesSection = "LastValues";
const QString SavedValuesName = QStringLiteral("Vormex.Ini");
const QString HelpFileName = QStringLiteral("vormex.hlp");

// An installed program's data folder, where the build installs the help file as seen from
// where it installs the windows' program; empty when it holds no help file.
QString InstalledDataFolder(const QString &programFolder) {
    const QString folder = programFolder + QString::fromUtf8(QuorvaleDataFolder) + QLatin1Char('/');
    return QFileInfo::exists(folder + HelpFileName) ? folder : QString();
}

QString Text(const std::string &s) {
    return QString::fromStdString(s);
}

// Why the saved values could not be read or kept, in the user's language where the fault is
// one of the file's or of a value in it.
QString SavedValuesFault(const std::exception &e) {
    if (const auto *ini = dynamic_cast<const EIniFileException *>(&e))
        return TfrmMain::tr("Unable to write to %1").arg(Text(ini->Path()));
    if (const auto *convert = dynamic_cast<const EConvertError *>(&e)) {
        if (convert->Kind() == EConvertError::FloatValue)
            return TfrmMain::tr("'%1' is not a valid floating point value")
                .arg(Text(convert->Text()));
        if (convert->Kind() == EConvertError::IntegerValue)
            return TfrmMain::tr("'%1' is not a valid integer value").arg(Text(convert->Text()));
    }
    return QString::fromUtf8(e.what());
}

// The box and the step group of a loan value.
QWidget *BoxOf(const TfrmMain &f, TVariable v) {
    const std::array<QWidget *, 4> boxes{f.edtLoan, f.edtTerm, f.edtInterest, f.edtPayment};
    return boxes[size_t(v)];
}

void SetBoxValue(const TfrmMain &f, TVariable v, double value) {
    if (v == TVariable::Loan || v == TVariable::Payment)
        (v == TVariable::Loan ? f.edtLoan : f.edtPayment)->SetValue(value);
    else
        (v == TVariable::Term ? f.edtTerm : f.edtInterest)->SetValue(value);
}

TRadioGroup *StepGroupOf(const TfrmMain &f, TVariable v) {
    return v == TVariable::Loan ? f.rgLoan : v == TVariable::Rate ? f.rgInterest : f.rgPayments;
}

template <size_t N> QStringList StepItems(const std::array<TStep, N> &table) {
    QStringList items;
    for (const TStep &step : table)
        items << EngineText(step.Item);
    return items;
}

} // namespace

// ---- The window as the spread engine sees it --------------------------------------------

class TfrmMain::TView : public TSpreadView {
public:
    explicit TView(TfrmMain &form) : F(form) {}

    SpreadState &Spread() override { return F; }
    int LoanStepIndex() override { return F.rgLoan->ItemIndex(); }
    int InterestStepIndex() override { return F.rgInterest->ItemIndex(); }
    int PaymentStepIndex() override { return F.rgPayments->ItemIndex(); }
    double LoanValue() override { return F.edtLoan->Value(); }
    double InterestValue() override { return F.edtInterest->Value(); }
    double TermValue() override { return F.edtTerm->Value(); }
    double PaymentValue() override { return F.edtPayment->Value(); }
    // The corner names the mode in words, the user's; the other cells are figures.
    void SetCell(int col, int row, const std::string &text) override {
        F.grdLS->SetCells(col, row, col == 0 && row == 0 ? EngineText(text.c_str()) : Text(text));
    }
    void SelectCell(int col, int row) override {
        F.grdLS->SetCol(col);
        F.grdLS->SetRow(row);
        F.grdLS->SetSelection({col, row, col, row});
    }
    void SetColorCol(int col, TRgb c) override {
        F.grdLS->SetColorCol(col, QColor(c.Red, c.Green, c.Blue));
    }
    void SetColorRow(int row, TRgb c) override {
        F.grdLS->SetColorRow(row, QColor(c.Red, c.Green, c.Blue));
    }
    void AllowPrinting() override { F.AllowPrinting(); }

private:
    TfrmMain &F;
};

// ---- Construction -----------------------------------------------------------------------

TfrmMain::TfrmMain(const QString &programFolder, QWidget *parent)
    : QMainWindow(parent), FView(std::make_unique<TView>(*this)),
      FProgramFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : programFolder) {
    frmMain = this;
    setWindowTitle(ProgramName);
    setWindowIcon(QIcon(QPixmap::fromImage(ProgramPicture(QStringLiteral(":/icon.svg")))));
    setFont(DesignFont(QStringLiteral("Arial"), 8));
    SetShowHint(this, false);
    setContextMenuPolicy(Qt::CustomContextMenu);

    auto *client = new QWidget(this);
    client->setFixedSize(612, 404);
    setCentralWidget(client);
    CreateToolbar(client);
    CreateInputPanel(client);
    CreateGrid(client);
    StatusBar1 = new TStatusBar(client);
    StatusBar1->setGeometry(0, 385, 612, 19);
    StatusBar1->setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8));
    StatusBar1->SetSimpleText(tr(" Welcome to Tamblewick Software's Quorvale Pro!"));
    CreateMenus();
    CreateLinks();
    actCopyGrid = new QAction(this);
    actCopyGrid->setShortcut(QKeySequence::Copy);
    actCopyGrid->setShortcutContext(Qt::WindowShortcut);
    addAction(actCopyGrid);
    connect(actCopyGrid, &QAction::triggered, this,
            [this] { Guard(actCopyGrid, [this] { CopyGrid(actCopyGrid); }); });
    CreateWebFileInfo();
    NameControls();
    // A box the menu bar took the focus from is not left by that. It is left when the focus
    // goes on from the menu bar or its menus to another control; coming back to it is no
    // leaving either.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (now && now != grdLS && now->window() == this)
            FGridAfterSchedule = false;
        if (now == MainMenu1 &&
            (old == edtLoan || old == edtTerm || old == edtInterest || old == edtPayment)) {
            FBoxAtMenu = old;
        } else if (FBoxAtMenu && now && now != MainMenu1 && !qobject_cast<QMenu *>(now)) {
            QWidget *box = std::exchange(FBoxAtMenu, nullptr);
            if (now != box) {
                QFocusEvent leaving(QEvent::FocusOut, Qt::OtherFocusReason);
                QCoreApplication::sendEvent(box, &leaving);
            }
        }
    });
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { PopUp(this, p); });
    actContextMenu = new QAction(this);
    actContextMenu->setShortcuts(
        {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    actContextMenu->setShortcutContext(Qt::WindowShortcut);
    addAction(actContextMenu);
    connect(actContextMenu, &QAction::triggered, this,
            [this] { Guard(actContextMenu, [this] { actContextMenuExecute(actContextMenu); }); });

    // A fixed window: the menu bar on top of the 612 x 404 client area.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(612, 404 + MainMenu1->sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    FormCreate(this);
}

TfrmMain::~TfrmMain() {
    // The focus moves while the widgets below go, and this window's members are gone by then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    if (frmSchedule)
        frmSchedule->removeEventFilter(this);
    if (QRPrinter().PreviewContext == this) {
        QRPrinter().OnPreview = nullptr;
        QRPrinter().PreviewContext = nullptr;
    }
    if (frmMain == this)
        frmMain = nullptr;
    // The update component gives back the handler it borrowed, then the application's hooks
    // into this window go with it.
    delete WebFileInfo;
    if (TApplication *app = Application()) {
        app->OnActivate = nullptr;
        app->OnException = nullptr;
        app->OnHint = nullptr;
    }
}

void TfrmMain::CreateToolbar(QWidget *client) {
    Panel2 = new TPanel(client);
    Panel2->setGeometry(0, 0, 612, 32);
    auto button = [this](int left, const char *glyph, const char *hint,
                         void (TfrmMain::*handler)(QObject *)) {
        auto *b = new TExplorerButton(Panel2);
        b->setGeometry(left, 4, 24, 24);
        b->SetOptions({boIconOnly, boPopupMark, boShowBevel, boShowDownPattern});
        b->SetBitmap(ProgramPicture(QStringLiteral(":/glyphs/%1.svg").arg(QLatin1String(glyph))));
        b->setToolTip(tr(hint));
        SetShowHint(b, true);
        b->OnClick = [this, handler](QObject *sender) {
            (this->*handler)(sender);
        };
        return b;
    };
    btnPrint = button(10, "print", QT_TR_NOOP(" Print ..."), &TfrmMain::mnuFilePrintClick);
    btnPrinterSetup = button(42, "printer-setup", QT_TR_NOOP(" Printer Setup ..."),
                             &TfrmMain::mnuFilePrinterSetupClick);
    btnDisclaim = button(74, "disclaimer", QT_TR_NOOP(" Disclaimer ..."), &TfrmMain::ShowDisclaim);
    btnUpdate = button(106, "update", QT_TR_NOOP(" Check for Updates ..."), &TfrmMain::ShowUpdate);
    btnHelp = button(138, "help", QT_TR_NOOP(" Help ..."), &TfrmMain::mnuHelpContentsClick);
    btnExit = button(579, "exit", QT_TR_NOOP(" Exit"), &TfrmMain::mnuFileExitClick);
    btnPrint->setEnabled(false); // enabled at start-up
    // Named by the hint without its trailing " ...", described by the whole hint.
    for (TExplorerButton *b :
         {btnPrint, btnPrinterSetup, btnDisclaim, btnUpdate, btnHelp, btnExit}) {
        QString hint = b->toolTip().trimmed();
        b->setAccessibleDescription(hint);
        if (hint.endsWith(QLatin1String(" ...")))
            hint.chop(4);
        b->setAccessibleName(hint);
    }
}

void TfrmMain::CreateInputPanel(QWidget *client) {
    Panel1 = new TPanel(client);
    Panel1->setGeometry(0, 32, 612, 97);
    Panel1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Panel1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { PopUp(Panel1, p); });

    auto label = [this](int left, int top, const char *caption) {
        auto *l = new QLabel(tr(caption), Panel1);
        l->move(left, top);
        l->adjustSize();
        return l;
    };
    Label1 = label(50, 2, QT_TR_NOOP("Loan Variables:"));
    Label7 = label(165, 2, QT_TR_NOOP("Calculate:"));
    lblLeft = label(284, 2, QT_TR_NOOP("Increment Loan Amounts By:"));
    lblRight = label(451, 2, QT_TR_NOOP("Increment Interest Rates By:"));
    // The row captions are right-aligned: their right edge stays put as the mode changes them.
    auto rowCaption = [this](int top, const char *caption) {
        auto *l = new QLabel(tr(caption), Panel1);
        l->setGeometry(0, top, 46, 13);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    lbl1 = rowCaption(25, QT_TR_NOOP("Loan"));
    lbl2 = rowCaption(50, QT_TR_NOOP("Months"));
    lbl3 = rowCaption(75, QT_TR_NOOP("Rate"));

    const QFont boxFont = DesignFont(QStringLiteral("MS Sans Serif"), 8);
    auto whiteBox = [&](QWidget *box, int left, int top, const char *hint) {
        box->setGeometry(left, top, 105, 21);
        box->setFont(boxFont);
        QPalette p = box->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, Qt::black);
        box->setPalette(p);
        box->setToolTip(tr(hint));
    };
    auto numEdit = [&](int left, int top, double value, const char *hint) {
        auto *e = new TNumEdit(Panel1);
        whiteBox(e, left, top, hint);
        e->SetNumericType(ntCurrency);
        e->SetDecimals(2);
        e->SetDigits(12);
        e->SetUseRounding(true);
        e->SetValidate(false);
        TMasks masks;
        masks.SetPositiveMask(QStringLiteral("#,##0"));
        e->SetMasks(masks);
        e->SetValue(value);
        e->OnExit = [this](QObject *sender) {
            ChooseQuorvale(sender);
        };
        return e;
    };
    auto fnpEdit = [&](int top, int decimals, double min, double max, double value,
                       const char *hint) {
        auto *e = new TFnpNumericEdit(Panel1);
        whiteBox(e, 50, top, hint);
        e->SetAlignment(Qt::AlignHCenter);
        e->SetDecimals(decimals);
        e->SetMinValue(min);
        e->SetMaxValue(max);
        e->SetValue(value);
        e->OnExit = [this](QObject *sender) {
            ChooseQuorvale(sender);
        };
        return e;
    };
    edtLoan = numEdit(50, 21, DefaultLoan, QT_TR_NOOP(" Enter the amount of the loan"));
    edtTerm =
        fnpEdit(46, 0, 1, 999, DefaultTerm, QT_TR_NOOP("Enter the term of the loan in months"));
    edtTerm->OnInvalidEntry = [this](QObject *sender) {
        edtTermInvalidEntry(sender);
    };
    edtInterest = fnpEdit(71, 3, 0, 0, DefaultInterest, QT_TR_NOOP(" Enter the interest rate"));
    edtPayment = numEdit(31, 56, DefaultPayment, QT_TR_NOOP(" Enter the monthly payment amount"));
    edtPayment->hide();

    auto group = [this](int left, int width, int columns, const QStringList &items, int index,
                        const char *hint) {
        auto *g = new TRadioGroup(Panel1);
        g->setGeometry(left, 15, width, 78);
        g->SetColumns(columns);
        g->SetItems(items);
        g->SetItemIndex(index);
        g->setToolTip(tr(hint));
        g->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(g, &QWidget::customContextMenuRequested, this,
                [this, g](const QPoint &p) { PopUp(g, p); });
        return g;
    };
    QStringList modeItems;
    for (const TCalcModeInfo &mode : CalcModes)
        modeItems << EngineText(mode.Caption);
    rgCalculate = group(165, 102, 1, modeItems, 0,
                        QT_TR_NOOP(" Click the radio button of the variable to be calculated and "
                                   "displayed in the grid."));
    rgCalculate->OnClick = [this](QObject *sender) {
        rgCalculateClick(sender);
    };
    rgLoan = group(284, 150, 3, StepItems(LoanSteps), DefaultStepIndex,
                   QT_TR_NOOP(" Click the radio button of the loan amount increment to use for "
                              "calculations"));
    rgPayments = group(276, 150, 3, StepItems(PaymentSteps), DefaultStepIndex,
                       QT_TR_NOOP(" Click the radio button of the payment increment to use for "
                                  "calculations"));
    rgPayments->hide();
    rgInterest = group(451, 150, 3, StepItems(RateSteps), DefaultStepIndex,
                       QT_TR_NOOP(" Click the radio button of the interest rate increment to use "
                                  "for calculations"));
    for (TRadioGroup *g : {rgLoan, rgPayments, rgInterest})
        g->OnClick = [this](QObject *sender) {
            ChooseQuorvale(sender);
        };
    SetTabOrder();
    DescribeInputs();
}

// The controls carry their own names, so that tools and messages about the window name them.
void TfrmMain::NameControls() {
    const std::pair<QWidget *, const char *> controls[] = {
        {Panel2, "Panel2"},
        {btnPrint, "btnPrint"},
        {btnPrinterSetup, "btnPrinterSetup"},
        {btnDisclaim, "btnDisclaim"},
        {btnUpdate, "btnUpdate"},
        {btnHelp, "btnHelp"},
        {btnExit, "btnExit"},
        {Panel1, "Panel1"},
        {Label1, "Label1"},
        {Label7, "Label7"},
        {lblLeft, "lblLeft"},
        {lblRight, "lblRight"},
        {lbl1, "lbl1"},
        {lbl2, "lbl2"},
        {lbl3, "lbl3"},
        {edtLoan, "edtLoan"},
        {edtTerm, "edtTerm"},
        {edtInterest, "edtInterest"},
        {edtPayment, "edtPayment"},
        {rgCalculate, "rgCalculate"},
        {rgLoan, "rgLoan"},
        {rgPayments, "rgPayments"},
        {rgInterest, "rgInterest"},
        {grdLS, "grdLS"},
        {StatusBar1, "StatusBar1"},
    };
    for (const auto &[control, name] : controls)
        control->setObjectName(QLatin1String(name));
}

// The names and descriptions that assistive technology reads: each box is named by its row
// caption (the same in every mode), each group by its heading, and all carry their hints.
void TfrmMain::DescribeInputs() {
    auto describe = [](QWidget *control, const char *name) {
        control->setAccessibleName(tr(name));
        control->setAccessibleDescription(control->toolTip().trimmed());
    };
    describe(edtLoan, QT_TR_NOOP("Loan"));
    describe(edtTerm, QT_TR_NOOP("Months"));
    describe(edtInterest, QT_TR_NOOP("Rate"));
    describe(edtPayment, QT_TR_NOOP("PMT"));
    describe(rgCalculate, QT_TR_NOOP("Calculate"));
    describe(rgLoan, QT_TR_NOOP("Increment Loan Amounts By"));
    describe(rgPayments, QT_TR_NOOP("Increment Payments By"));
    describe(rgInterest, QT_TR_NOOP("Increment Interest Rates By"));
    for (TRadioGroup *g : {rgCalculate, rgLoan, rgPayments, rgInterest})
        for (int i = 0; g->Button(i); ++i)
            g->Button(i)->setAccessibleDescription(g->accessibleDescription());
}

// Tab order: the boxes of rows 1 to 3, the hidden box, then the groups rgInterest, rgLoan,
// rgPayments and rgCalculate. Hidden controls are passed over by the keyboard.
void TfrmMain::SetTabOrder() {
    const TCalcModeInfo &mode = ModeInfo(CalcMode);
    QWidget *rows[4] = {BoxOf(*this, mode.Inputs[0]), BoxOf(*this, mode.Inputs[1]),
                        BoxOf(*this, mode.Inputs[2]), BoxOf(*this, mode.Result)};
    QList<QWidget *> chain(std::begin(rows), std::end(rows));
    for (TRadioGroup *g : {rgInterest, rgLoan, rgPayments, rgCalculate})
        for (int i = 0; g->Button(i); ++i)
            chain << g->Button(i);
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TfrmMain::CreateGrid(QWidget *client) {
    grdLS = new TStringAlignGrid(client);
    grdLS->setGeometry(0, 129, 612, 257);
    grdLS->SetBorderStyle(bsSingle);
    grdLS->SetColCount(8);
    grdLS->SetRowCount(12);
    grdLS->SetFixedCols(1);
    grdLS->SetFixedRows(1);
    grdLS->SetDefaultColWidth(75);
    grdLS->SetDefaultRowHeight(20);
    grdLS->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine);
    grdLS->SetTabStop(false);
    grdLS->SetAlignment(alCenter);
    grdLS->SetSelectedCellColor(Yellow);
    grdLS->SetSelectedFontColor(QColor(255, 0, 0));
    grdLS->SetShowCellHints(false);
    SetShowHint(grdLS, true);
    grdLS->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grdLS, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { PopUp(grdLS, p); });
    grdLS->OnClick = [this](QObject *sender) {
        ChooseQuorvale(sender);
    };
    grdLS->OnMouseMove = [this](QObject *sender, Qt::KeyboardModifiers shift, int x, int y) {
        grdLSMouseMove(sender, shift, x, y);
    };
    grdLS->OnDblClick = [this](QObject *sender, int x, int y) {
        grdLSDblClick(sender, x, y);
    };
    grdLS->OnKeyDown = [this](QObject *sender, int &key, Qt::KeyboardModifiers shift) {
        grdLSKeyDown(sender, key, shift);
    };
    grdLS->lower(); // the status bar lies over its last pixel row
}

void TfrmMain::CreateMenus() {
    MainMenu1 = menuBar();
    auto item = [this](QMenu *menu, const QString &caption, void (TfrmMain::*handler)(QObject *)) {
        QAction *a = menu->addAction(caption);
        connect(a, &QAction::triggered, this,
                [this, handler, a] { Guard(a, [&] { (this->*handler)(a); }); });
        return a;
    };
    QMenu *file = MainMenu1->addMenu(tr("&File"));
    mnuFileReset = file->addAction(tr("&Reset")); // never shown, does nothing
    mnuFileReset->setEnabled(false);
    mnuFileReset->setVisible(false);
    mnuFileResetSeparator = file->addSeparator();
    mnuFileResetSeparator->setVisible(false);
    mnuFilePrintSetup = item(file, tr("Prin&t Setup..."), &TfrmMain::mnuFilePrinterSetupClick);
    mnuFilePrint = item(file, tr("&Print"), &TfrmMain::mnuFilePrintClick);
    mnuFilePrint->setEnabled(false); // enabled at start-up
    file->addSeparator();
    mnuFileExit = item(file, tr("E&xit"), &TfrmMain::mnuFileExitClick);

    QMenu *internet = MainMenu1->addMenu(tr("&Internet"));
    QMenu *web = internet->addMenu(tr("&Tamblewick on the Web"));
    mnuInternetWebApplication =
        item(web, tr("&Quorvale Pro Page"), &TfrmMain::mnuInternetWebApplicationClick);
    mnuInternetWebHome =
        item(web, tr("Tamblewick' &Home Page"), &TfrmMain::mnuInternetWebHomeClick);
    mnuInternetWebFreeware =
        item(web, tr("Library of Financial Calculators"), &TfrmMain::mnuInternetWebFreewareClick);
    web->addSeparator();
    mnuInternetWebSuggest = item(web, tr("&Suggestion Box"), &TfrmMain::mnuInternetWebSuggestClick);
    QMenu *mail = internet->addMenu(tr("Contact Tamblewick by &Email"));
    mnuInternetEmailSuggest =
        item(mail, tr("&Send Suggestions"), &TfrmMain::mnuInternetEmailSuggestClick);
    mnuInternetEmailSupport =
        item(mail, tr("Contact &Tech Support"), &TfrmMain::mnuInternetEmailSupportClick);

    QMenu *help = MainMenu1->addMenu(tr("&Help"));
    mnuHelpContents = item(help, tr("&Contents"), &TfrmMain::mnuHelpContentsClick);
    mnuHelpContents->setShortcut(Qt::Key_F1);
    mnuHelpContents->setShortcutContext(Qt::WindowShortcut);
    help->addSeparator();
    mnuHelpSearch = item(help, tr("&Search for Help On..."), &TfrmMain::mnuHelpSearchClick);
    mnuHelpHow = item(help, tr("&How to Use Help"), &TfrmMain::mnuHelpHowClick);
    help->addSeparator();
    QMenu *support = help->addMenu(tr("Contact Tech Support by &Email"));
    mnuHelpEmailSupport =
        item(support, MakerAddresses().SupportMail, &TfrmMain::mnuInternetEmailSupportClick);
    help->addSeparator();
    mnuHelpUpdate = item(help, tr("Check for &Update ..."), &TfrmMain::ShowUpdate);
    help->addSeparator();
    mnuHelpAbout = item(help, tr("&About..."), &TfrmMain::ShowAbout);

    mnuPop = new QMenu(this);
    mnuPopPrint = item(mnuPop, tr("&Print Preview"), &TfrmMain::mnuFilePrintClick);
    mnuPopPrint->setEnabled(false); // enabled at start-up
    mnuPopSchedule = item(mnuPop, tr("Amortization &Schedule..."), &TfrmMain::mnuPopScheduleClick);
    mnuPopSchedule->setEnabled(false); // with the print preview
    mnuPopCompare = item(mnuPop, tr("Add to &Comparison"), &TfrmMain::mnuPopCompareClick);
    mnuPopCompare->setEnabled(false);
    mnuPopAbout = item(mnuPop, tr("&About..."), &TfrmMain::ShowAbout);
    mnuPop->addSeparator();
    mnuPopExit = item(mnuPop, tr("E&xit"), &TfrmMain::mnuFileExitClick);
}

void TfrmMain::CreateLinks() {
    auto link = [this](TURLType type, const QString &address) {
        auto *url = new TURL(this);
        url->SetURLType(type);
        url->SetURL(address);
        return url;
    };
    const TMakerAddresses &maker = MakerAddresses();
    UrlTamblewick = link(utHttp, maker.HomePage);
    UrlApplication = link(utHttp, maker.ProductPage);
    UrlFreeware = link(utHttp, maker.FreewarePage);
    UrlSuggest = link(utHttp, maker.SuggestPage);
    UrlEmailSupport = link(utMailto, maker.SupportMail);
    UrlEmailSuggest = link(utMailto, maker.SuggestionsMail);
}

// The version page is on the maker's web server; QUORVALE_HOME_URL names another one (a
// mirror, or a test server) when it is an address the component accepts.
void TfrmMain::CreateWebFileInfo() {
    WebFileInfo = new TWebFileInfo(this);
    WebFileInfo->SetCurrentVersion(ProgramVersion);
    WebFileInfo->SetHomeURL(QStringLiteral("http://") + MakerAddresses().Host +
                            QStringLiteral("/Vormex/Vormex.htm"));
    WebFileInfo->SetHomeURL(qEnvironmentVariable("QUORVALE_HOME_URL"));
    TWfiTags &tags = WebFileInfo->InfoTags();
    tags.SetAuthorTag(QStringLiteral("author"));
    tags.SetAuthorEMailTag(QStringLiteral("email"));
    tags.SetDateTag(QStringLiteral("date"));
    tags.SetDownloadTag(QStringLiteral("url"));
    tags.SetProductNameTag(QStringLiteral("name"));
    tags.SetReadMeTag(QStringLiteral("readme"));
    tags.SetRedirectTag(QStringLiteral("redirect"));
    tags.SetRunParamsTag(QStringLiteral("runparams"));
    tags.SetVersionTag(QStringLiteral("version"));
    tags.SetSha256Tag(QStringLiteral("sha256"));
    WebFileInfo->SetOptions(
        {wfioDisplayUI, wfioDisplayReadMe, wfioRunUpdate, wfioExitDuringUpdate});
    // Installing an update ends the program without its close sequence: the last values are
    // kept first all the same.
    WebFileInfo->OnTerminating = [this](QObject *) {
        try {
            SaveValuesAtExit();
        } catch (const Exception &e) {
            MessageDlg(SavedValuesFault(e), mtError, mbOK);
        }
    };
}

// ---- Start-up ---------------------------------------------------------------------------

void TfrmMain::FormCreate(QObject *Sender) {
    setWindowTitle(ProgramName + QStringLiteral(", ") + ProgramVersion);
    if (!FProgramFolder.endsWith(QLatin1Char('/')))
        FProgramFolder += QLatin1Char('/');
    LastLoan = LastInterest = LastTerm = LastPayment = 0;
    CalcMode = TCalcMode::Payments;
    try {
        ReadSavedValues();
    } catch (const std::exception &e) {
        // The error hook is not installed yet: the plain report, and start-up goes on with
        // what the boxes hold.
        MessageDlg(SavedValuesFault(e), mtError, mbOK);
    }
    LoanStepText = RateStepText = PaymentStepText = " ";
    AllowPrinting();
    MarkGridCentre();
    DescribeGrid();
    TApplication *app = Application();
    if (app) {
        app->OnActivate = [this](QObject *sender) {
            ApplicationActivate(sender);
        };
        app->OnException = [this](QObject *sender, const std::exception &e) {
            AppOnException(sender, e);
        };
        app->OnHint = [this](QObject *sender) {
            AppOnHint(sender);
        };
    }
    QRPrinter().OnPreview = [this](QObject *sender) {
        MyPreview(sender);
    };
    QRPrinter().PreviewContext = this;
    if (app) {
        app->SetHelpFile(HelpFilePath());
        app->SetHintPause(500);
    }
    // The first grid: the grid's click, as if the user had clicked it. Like every other
    // calculation it may fail on what the saved values hold; the failure then reaches the
    // error hook installed above, once the message loop runs, and start-up goes on.
    FFirstGridFailed = !CallEvent(grdLS->OnClick, Sender);
}

TSavedValuesPlaces SavedValuesPlaces(const QString &programFolder, const QString &configFolder,
                                     bool programFolderWritable) {
    const auto existing = [](const QString &folder) {
        return QFile::decodeName(
            ExistingFileNameIgnoringCase(QFile::encodeName(folder + SavedValuesName).toStdString())
                .c_str());
    };
    if (programFolderWritable)
        return {existing(programFolder), programFolder + SavedValuesName};
    // The configuration folder's file once there is one; until then the values come from the
    // file beside the program, if any.
    TSavedValuesPlaces places{existing(configFolder), configFolder + SavedValuesName};
    if (!QFile::exists(places.Read))
        places.Read = existing(programFolder);
    return places;
}

TSavedValuesPlaces TfrmMain::SavedValuesPlaces() const {
    return ::SavedValuesPlaces(
        FProgramFolder,
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/") + ProgramName + QStringLiteral("/"),
        // An installed program's folder belongs to the system, even where the user may write it.
        !Installed() && access(QFile::encodeName(FProgramFolder).constData(), W_OK) == 0);
}

bool TfrmMain::Installed() const {
    return !QFileInfo::exists(FProgramFolder + HelpFileName) &&
           !InstalledDataFolder(FProgramFolder).isEmpty();
}

QString TfrmMain::HelpFilePath() const {
    const QString folder = Installed() ? InstalledDataFolder(FProgramFolder) : FProgramFolder;
    return QDir::cleanPath(folder + HelpFileName);
}

QString TfrmMain::SavedValuesFile() const {
    return SavedValuesPlaces().Write;
}

// The four last values, each from its key or its default. A value that is not a number is
// reported and its default used, so that start-up always finishes with the hooks installed
// and the first grid shown.
void TfrmMain::ReadSavedValues() {
    const TIniFile ini(QFile::encodeName(SavedValuesPlaces().Read).toStdString());
    auto read = [&](const char *key, double fallback) {
        const std::string text = ini.ReadString(SavedValuesSection, key, FloatToStr(fallback));
        try {
            return StrToFloat(text);
        } catch (const EConvertError &e) {
            MessageDlg(SavedValuesFault(e), mtError, mbOK);
            return fallback;
        }
    };
    LastLoan = read("Loan", DefaultLoan);
    LastInterest = read("Interest", DefaultInterest);
    LastTerm = read("Term", DefaultTerm);
    LastPayment = read("Payment", DefaultPayment);
    ReadScheduleOptions(ini);
    edtLoan->SetValue(LastLoan);
    edtInterest->SetValue(LastInterest);
    edtTerm->SetValue(LastTerm);
    edtPayment->SetValue(LastPayment);
}

void TfrmMain::MarkGridCentre() {
    FView->SelectCell(4, 6);
    FView->SetColorCol(4, SpreadHighlight);
    FView->SetColorRow(6, SpreadHighlight);
}

// ---- Recalculation and the mode switch --------------------------------------------------

void TfrmMain::ChooseQuorvale(QObject *) {
    FillSpread(*FView);
}

void TfrmMain::rgCalculateClick(QObject *Sender) {
    const TCalcModeInfo *mode = CalcModeOf(rgCalculate->ItemIndex());
    if (!mode)
        return;
    CalcMode = mode->Mode;
    QLabel *captions[3] = {lbl1, lbl2, lbl3};
    const int tops[3] = {21, 46, 71};
    QWidget *first = BoxOf(*this, mode->Inputs[0]);
    for (int row = 0; row < 3; ++row) {
        captions[row]->setText(EngineText(VariableInfo(mode->Inputs[row]).Caption));
        QWidget *box = BoxOf(*this, mode->Inputs[row]);
        box->move(50, tops[row]);
        box->show();
    }
    BoxOf(*this, mode->Result)->hide();
    TRadioGroup *left = StepGroupOf(*this, mode->Rows), *right = StepGroupOf(*this, mode->Columns);
    left->move(284, 14);
    right->move(451, 14);
    left->show();
    right->show();
    for (TRadioGroup *g : {rgLoan, rgInterest, rgPayments})
        if (g != left && g != right)
            g->hide();
    lblLeft->setText(EngineText(VariableInfo(mode->Rows).StepHeading));
    lblLeft->adjustSize();
    lblRight->setText(EngineText(VariableInfo(mode->Columns).StepHeading));
    lblRight->adjustSize();
    SetTabOrder();
    DescribeGrid();

    first->setFocus();
    // A switch by an arrow key is made by the radio button, which takes the focus itself after
    // it has been checked: the box takes it back once that has happened.
    QTimer::singleShot(0, first, [this, box = first] {
        if (rgCalculate->isAncestorOf(QApplication::focusWidget()) && box->isVisible())
            box->setFocus();
    });
    CleanGrid();
    ChooseQuorvale(Sender);
}

QWidget *TfrmMain::FirstInputBox() const {
    return BoxOf(*this, ModeInfo(CalcMode).Inputs[0]);
}

void TfrmMain::FormActivate(QObject *) {
    FirstInputBox()->setFocus();
}

void TfrmMain::ApplicationActivate(QObject *) {
    // The window of the program that was active last comes to the front again.
    if (QWidget *window = QApplication::activeWindow())
        window->raise();
}

void TfrmMain::AllowPrinting() {
    btnPrint->setEnabled(true);
    mnuFilePrint->setEnabled(true);
    mnuPopPrint->setEnabled(true);
    mnuPopSchedule->setEnabled(true);
    mnuPopCompare->setEnabled(true);
}

void TfrmMain::DisallowPrinting() {
    btnPrint->setEnabled(false);
    mnuFilePrint->setEnabled(false);
    mnuPopPrint->setEnabled(false);
    mnuPopSchedule->setEnabled(false);
    mnuPopCompare->setEnabled(false);
}

// ---- Grid presentation and hints --------------------------------------------------------

void TfrmMain::CleanGrid() {
    grdLS->SetRowCount(12);
    for (int row = 0; row < grdLS->RowCount(); ++row)
        for (int col = 0; col < grdLS->ColCount(); ++col)
            grdLS->SetCells(col, row, QString());
    MarkGridCentre();
    for (int col = 0; col < 8; ++col)
        grdLS->SetColWidths(col, 75);

    const TCalcModeInfo &mode = ModeInfo(CalcMode);
    grdLS->SetCells(0, 0, EngineText(mode.Corner));
    for (int row = 1; row <= 11; ++row)
        grdLS->SetCells(0, row, QString::fromLatin1((*mode.SampleRows)[row - 1]));
    for (int col = 1; col <= 7; ++col)
        grdLS->SetCells(col, 0, QString::fromLatin1((*mode.SampleColumns)[col - 1]));
}

void TfrmMain::grdLSMouseMove(QObject *, Qt::KeyboardModifiers, int, int) {
    grdLS->setToolTip(EngineText(ModeInfo(CalcMode).GridHint));
}

// The grid says what it shows to assistive technology in every mode, not only under the mouse.
void TfrmMain::DescribeGrid() {
    grdLS->setAccessibleName(tr("Spread"));
    grdLS->setAccessibleDescription(EngineText(ModeInfo(CalcMode).GridHint).trimmed());
}

void TfrmMain::AppOnHint(QObject *) {
    StatusBar1->SetSimpleText(GetLongHint(Application()->Hint()));
}

// ---- Errors -----------------------------------------------------------------------------

void TfrmMain::AppOnException(QObject *Sender, const std::exception &E) {
    const bool mathError = dynamic_cast<const EMathError *>(&E) != nullptr;
    // Whatever made the first grid of the start-up fail, the program goes on with the inputs
    // of the mode put back and a grid, as after a math error.
    const bool firstGrid = std::exchange(FFirstGridFailed, false);
    if (mathError || firstGrid) {
        MessageDlg(mathError ? EngineText(MathErrorText)
                             : tr("An unidentified error has occurred."),
                   mtInformation, mbOK);
        const TCalcModeInfo &mode = ModeInfo(CalcMode);
        for (TVariable v : mode.Inputs)
            SetBoxValue(*this, v, VariableInfo(v).Default);
        QWidget *focus = BoxOf(*this, mode.Inputs[0]);
        focus->setFocus();
        CleanGrid();
        ChooseQuorvale(Sender);
    } else {
        MessageDlg(tr("An unidentified error has occurred."), mtInformation, mbOK);
    }
    DisallowPrinting();
}

void TfrmMain::edtTermInvalidEntry(QObject *) {
    MessageDlg(tr("The number of months must be between 1 and 999."), mtInformation, mbOK);
    // Back into the term box once the focus change that is leaving it has finished.
    QTimer::singleShot(0, edtTerm, [this] { edtTerm->setFocus(); });
}

// ---- Closing ----------------------------------------------------------------------------

// A right-button press shows the context menu and leaves the focus where it is; only an edit
// box is entered by it. Given to a radio item or the grid, it would leave the input box. The
// schedule window going away may give the focus back to the grid.
bool TfrmMain::eventFilter(QObject *watched, QEvent *e) {
    // Asked for before the schedule's window goes, the activation hands the focus straight
    // here; asked for after, the window manager may first drop it.
    if (watched == frmSchedule && e->type() == QEvent::Close && FScheduleFromGrid)
        activateWindow();
    if (watched == frmSchedule && e->type() == QEvent::Hide)
        Guard(this, [this] { ScheduleHidden(); });
    if (watched == windowHandle() && e->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(e)->button() == Qt::RightButton) {
        const auto *mouse = static_cast<QMouseEvent *>(e);
        const QPoint global = mouse->globalPosition().toPoint();
        QWidget *target = childAt(mapFromGlobal(global));
        if (target && !qobject_cast<QLineEdit *>(target)) {
            QContextMenuEvent menu(QContextMenuEvent::Mouse, target->mapFromGlobal(global), global,
                                   mouse->modifiers());
            QCoreApplication::sendEvent(target, &menu);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

bool TfrmMain::event(QEvent *e) {
    if (e->type() == QEvent::Show && windowHandle())
        windowHandle()->installEventFilter(this);
    // The focus rule on activation is for the program's own windows and for a return from
    // another program; a message box hands the focus back to where it was, which may be
    // where its handler put it (the term box after the months message).
    if (e->type() == QEvent::WindowDeactivate)
        FAwayToMessage = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()) != nullptr;
    if (e->type() == QEvent::WindowActivate && !std::exchange(FAwayToMessage, false)) {
        if (FGridAfterSchedule)
            grdLS->setFocus(Qt::ActiveWindowFocusReason);
        else
            Guard(this, [this] { FormActivate(this); });
    }
    return QMainWindow::event(e);
}

void TfrmMain::closeEvent(QCloseEvent *e) {
    bool canClose = true;
    if (!Guard(this, [&] { FormCloseQuery(this, canClose); }) || !canClose) {
        e->ignore();
        return;
    }
    TCloseAction action = caFree;
    Guard(this, [&] { FormClose(this, action); });
    e->accept();
    emit Closed();
}

void TfrmMain::FormCloseQuery(QObject *, bool &CanClose) {
    CanClose = true;
    int draw;
    if (DrawForThanks) {
        draw = DrawForThanks();
    } else {
        std::mt19937 random(unsigned(std::chrono::steady_clock::now().time_since_epoch().count()));
        draw = std::uniform_int_distribution<int>(0, 39)(random);
    }
    if (draw >= 1)
        return;
    repaint();
    {
        TfrmClose thanks(this);
        thanks.move(x() + (width() - thanks.width()) / 2, y() + (height() - thanks.height()) / 2);
        thanks.exec();
    }
    CanClose = ExitFlag;
}

void TfrmMain::FormClose(QObject *, TCloseAction &) {
    WinHelp(this, Application() ? Application()->HelpFile() : QString(), HELP_QUIT);
    try {
        SaveValuesAtExit();
    } catch (const Exception &e) {
        // The values could not be kept; say so, and close all the same.
        MessageDlg(SavedValuesFault(e), mtError, mbOK);
    }
}

void TfrmMain::SaveValuesAtExit() {
    const QString file = SavedValuesFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    // An older copy spelled differently becomes the one file, so nothing in it is lost.
    const std::string path = QFile::encodeName(file).toStdString();
    const std::string existing = ExistingFileNameIgnoringCase(path);
    if (existing != path)
        QFile::rename(QFile::decodeName(existing.c_str()), file);
    TIniFile ini(path);
    ini.WriteString(SavedValuesSection, "Loan", FloatToStr(LastLoan));
    ini.WriteString(SavedValuesSection, "Interest", FloatToStr(LastInterest));
    ini.WriteString(SavedValuesSection, "Term", FloatToStr(LastTerm));
    ini.WriteString(SavedValuesSection, "Payment", FloatToStr(LastPayment));
    WriteScheduleOptions(ini);
}

void TfrmMain::mnuFileExitClick(QObject *) {
    close();
}

// ---- Printing, the update check and the small windows -----------------------------------

void TfrmMain::mnuFilePrinterSetupClick(QObject *) {
    PrinterSetupExecute(this);
}

void TfrmMain::mnuFilePrintClick(QObject *) {
    QRPrinter().SetPreviewCaption(tr("Preview of Page"));
    QRPrinter().SetProgressCaption(tr("Preparing Page"));
    if (QRPaymentChart)
        QRPaymentChart->Rep->Preview();
}

void TfrmMain::MyPreview(QObject *) {
    if (!frmPreview)
        return;
    frmPreview->exec();
    activateWindow();
    FormActivate(this);
}

void TfrmMain::ShowUpdate(QObject *) {
    ShowModalWindow(new TfrmUpdate(WebFileInfo, this));
}

// A small window of its own: a new one for each opening, centred on the screen, destroyed
// when it closes; the main window then takes the focus back into its first box.
void TfrmMain::ShowModalWindow(QDialog *window) {
    std::unique_ptr<QDialog> owned(window);
    repaint();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window->move(std::max(0, (area.width() - window->width()) / 2),
                     std::max(0, (area.height() - window->height()) / 2));
    }
    window->exec();
    activateWindow();
    FormActivate(this);
}

void TfrmMain::ShowAbout(QObject *) {
    ShowModalWindow(new TAboutBox(this));
}
void TfrmMain::ShowDisclaim(QObject *) {
    ShowModalWindow(new TfrmDisclaim(this));
}

void TfrmMain::mnuHelpContentsClick(QObject *) {
    WinHelp(this, Application()->HelpFile(), HELP_CONTENTS);
}

void TfrmMain::mnuHelpSearchClick(QObject *) {
    WinHelp(this, Application()->HelpFile(), HELP_PARTIALKEY);
}

void TfrmMain::mnuHelpHowClick(QObject *) {
    WinHelp(this, Application()->HelpFile(), HELP_HELPONHELP);
}

void TfrmMain::mnuInternetWebApplicationClick(QObject *) {
    UrlApplication->Open();
}
void TfrmMain::mnuInternetWebHomeClick(QObject *) {
    UrlTamblewick->Open();
}
void TfrmMain::mnuInternetWebFreewareClick(QObject *) {
    UrlFreeware->Open();
}
void TfrmMain::mnuInternetWebSuggestClick(QObject *) {
    UrlSuggest->Open();
}
void TfrmMain::mnuInternetEmailSuggestClick(QObject *) {
    UrlEmailSuggest->Open();
}
void TfrmMain::mnuInternetEmailSupportClick(QObject *) {
    UrlEmailSupport->Open();
}

void TfrmMain::CopyGrid(QObject *) {
    QGuiApplication::clipboard()->setMimeData(GridMimeData(*grdLS));
}

// ---- The amortization schedule ----------------------------------------------------------

namespace {

bool IsResultCell(const TStringGrid &grid, int col, int row) {
    return col >= grid.FixedCols() && col < grid.ColCount() && row >= grid.FixedRows() &&
           row < grid.RowCount();
}

} // namespace

void TfrmMain::PopUp(QWidget *control, const QPoint &at) {
    FPopCol = 4;
    FPopRow = 6;
    FPopOverGrid = control == grdLS;
    if (control == grdLS) {
        const TGridCoord cell = grdLS->MouseCoord(at.x(), at.y());
        if (IsResultCell(*grdLS, cell.X, cell.Y)) {
            FPopCol = cell.X;
            FPopRow = cell.Y;
        }
    }
    mnuPop->popup(control->mapToGlobal(at));
}

void TfrmMain::mnuPopScheduleClick(QObject *) {
    OpenSchedule(FPopCol, FPopRow, FPopOverGrid);
}

void TfrmMain::mnuPopCompareClick(QObject *) {
    if (const std::optional<TLoan> loan = CellLoan(*this, FPopCol, FPopRow))
        ShowCompare(this, TOffer{std::string(), *loan, {}});
    else
        MessageBox(tr("Nothing to compare: this cell holds no loan."), ProgramName, mtInformation,
                   mbOK);
}

void TfrmMain::grdLSDblClick(QObject *, int X, int Y) {
    const TGridCoord cell = grdLS->MouseCoord(X, Y);
    if (IsResultCell(*grdLS, cell.X, cell.Y))
        OpenSchedule(cell.X, cell.Y, true);
}

void TfrmMain::grdLSKeyDown(QObject *, int &Key, Qt::KeyboardModifiers) {
    if (Key != Qt::Key_Return && Key != Qt::Key_Enter)
        return;
    Key = 0;
    OpenSchedule(grdLS->Col(), grdLS->Row(), true);
}

void TfrmMain::OpenSchedule(int col, int row, bool fromGrid) {
    ShowSchedule(this, CellLoan(*this, col, row));
    if (!frmSchedule)
        return;
    FScheduleCol = col;
    FScheduleRow = row;
    FScheduleFromGrid = fromGrid;
    frmSchedule->installEventFilter(this); // once: installing again only moves it up
}

// This window is activated once the schedule's has gone; that activation, and any other
// until the focus moves on to another control, gives the grid the focus rather than the first
// box.
void TfrmMain::ScheduleHidden() {
    if (!std::exchange(FScheduleFromGrid, false) || !isVisible())
        return;
    grdLS->SetSelection({FScheduleCol, FScheduleRow, FScheduleCol, FScheduleRow});
    FGridAfterSchedule = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!isActiveWindow())
                activateWindow();
            else if (FGridAfterSchedule)
                grdLS->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

void TfrmMain::actContextMenuExecute(QObject *) {
    QWidget *control = QApplication::focusWidget();
    if (!control || control->window() != this)
        control = this;
    const QPoint at = control->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, control->mapToGlobal(at));
    QApplication::sendEvent(control, &menu);
}
