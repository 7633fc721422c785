// The main window: the toolbar, the input panel with the loan variables and the step sizes,
// the spread grid and the status bar; the calculation mode, the recalculation dispatch, the
// application-wide hooks, the saved values and the close sequence.
#pragma once

#include "app/Identity.h"
#include "engine/Spread.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <exception>
#include <functional>
#include <memory>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QMenuBar;
class TExplorerButton;
class TFnpNumericEdit;
class TNumEdit;
class TPanel;
class TRadioGroup;
class TStatusBar;
class TStringAlignGrid;
class TURL;
class TWebFileInfo;

enum TCloseAction { caNone, caHide, caFree, caMinimize };

// Where the saved values are read from and written to. A writable program folder holds them
// (a file spelled in another case is the same file). Otherwise they are written to the user's
// configuration folder, and read from there once that holds a file, else from the program
// folder.
struct TSavedValuesPlaces {
    QString Read, Write;
};
TSavedValuesPlaces SavedValuesPlaces(const QString &programFolder, const QString &configFolder,
                                     bool programFolderWritable);

class TfrmMain : public QMainWindow, public SpreadState {
    Q_OBJECT

public:
    // The program folder holds the saved values file and the help file; tests give their own.
    explicit TfrmMain(const QString &programFolder = QString(), QWidget *parent = nullptr);
    ~TfrmMain() override;

    // ---- Toolbar
    TPanel *Panel2;
    TExplorerButton *btnPrint, *btnPrinterSetup, *btnDisclaim, *btnUpdate, *btnHelp, *btnExit;
    // ---- Input panel
    TPanel *Panel1;
    QLabel *Label1, *Label7, *lblLeft, *lblRight, *lbl1, *lbl2, *lbl3;
    TNumEdit *edtLoan, *edtPayment;
    TFnpNumericEdit *edtTerm, *edtInterest;
    TRadioGroup *rgCalculate, *rgLoan, *rgPayments, *rgInterest;
    // ---- Grid and status bar
    TStringAlignGrid *grdLS;
    TStatusBar *StatusBar1;
    // ---- Menus
    QMenuBar *MainMenu1;
    QAction *mnuFileReset, *mnuFileResetSeparator, *mnuFilePrintSetup, *mnuFilePrint, *mnuFileExit;
    QAction *mnuInternetWebApplication, *mnuInternetWebHome, *mnuInternetWebFreeware,
        *mnuInternetWebSuggest, *mnuInternetEmailSuggest, *mnuInternetEmailSupport;
    QAction *mnuHelpContents, *mnuHelpSearch, *mnuHelpHow, *mnuHelpEmailSupport, *mnuHelpUpdate,
        *mnuHelpAbout;
    QMenu *mnuPop;
    QAction *mnuPopPrint, *mnuPopSchedule, *mnuPopCompare, *mnuPopAbout, *mnuPopExit;
    // Shift+F10 and the Menu key: the focused control's context menu. In no menu.
    QAction *actContextMenu;
    // Ctrl+C anywhere in the window but an edit box (which keeps its own copy): the grid to
    // the clipboard. In no menu.
    QAction *actCopyGrid;
    // ---- The maker's links
    TURL *UrlTamblewick, *UrlApplication, *UrlFreeware, *UrlSuggest, *UrlEmailSupport,
        *UrlEmailSuggest;
    // ---- The update check's component, configured for the maker's version page
    TWebFileInfo *WebFileInfo = nullptr;

    QString ProgramFolder() const { return FProgramFolder; }
    // An installed program: its help file is not beside it but in the data folder where the
    // build installs it (share/quorvale-pro/ beside the windows' program's libexec/quorvale-pro/).
    bool Installed() const;
    // The help file beside the program, or where the installed program finds it.
    QString HelpFilePath() const;
    // Where the saved values are written: the program folder when it can be written and the
    // program is not installed, else the user's configuration folder.
    QString SavedValuesFile() const;
    TSavedValuesPlaces SavedValuesPlaces() const;

    // ---- Handlers
    void FormCreate(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormCloseQuery(QObject *Sender, bool &CanClose);
    void FormClose(QObject *Sender, TCloseAction &Action);
    void ChooseQuorvale(QObject *Sender);
    void rgCalculateClick(QObject *Sender);
    void CleanGrid();
    void grdLSMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void AllowPrinting();
    void DisallowPrinting();
    void ApplicationActivate(QObject *Sender);
    void AppOnHint(QObject *Sender);
    void AppOnException(QObject *Sender, const std::exception &E);
    void edtTermInvalidEntry(QObject *Sender);
    void SaveValuesAtExit();
    void mnuFileExitClick(QObject *Sender);
    void mnuFilePrinterSetupClick(QObject *Sender);
    void mnuFilePrintClick(QObject *Sender);
    // The report engine's preview hook: the preview window, modally.
    void MyPreview(QObject *Sender);
    void ShowAbout(QObject *Sender);
    void ShowDisclaim(QObject *Sender);
    void ShowUpdate(QObject *Sender);
    void mnuHelpContentsClick(QObject *Sender);
    void mnuHelpSearchClick(QObject *Sender);
    void mnuHelpHowClick(QObject *Sender);
    void mnuInternetWebApplicationClick(QObject *Sender);
    void mnuInternetWebHomeClick(QObject *Sender);
    void mnuInternetWebFreewareClick(QObject *Sender);
    void mnuInternetWebSuggestClick(QObject *Sender);
    void mnuInternetEmailSuggestClick(QObject *Sender);
    void mnuInternetEmailSupportClick(QObject *Sender);
    // The whole grid on the clipboard, as tab-separated text and as an HTML table.
    void CopyGrid(QObject *Sender);
    // The schedule of the loan of the cell the popup menu was opened over, else of the centre.
    void mnuPopScheduleClick(QObject *Sender);
    // The same loan as an offer of the comparison window.
    void mnuPopCompareClick(QObject *Sender);
    // A double click on a result cell opens its schedule; on a heading it does nothing.
    void grdLSDblClick(QObject *Sender, int X, int Y);
    // Return opens the schedule of the selected cell.
    void grdLSKeyDown(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift);
    void actContextMenuExecute(QObject *Sender);

    // The close sequence's 1-in-40 draw: a whole number from 0 to 39 from a generator seeded
    // from the clock at every close; tests replace it to force either outcome.
    std::function<int()> DrawForThanks;

signals:
    // The window has closed for good: the program ends.
    void Closed();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    class TView;
    void CreateToolbar(QWidget *client);
    void CreateInputPanel(QWidget *client);
    void CreateGrid(QWidget *client);
    void CreateMenus();
    void CreateLinks();
    void CreateWebFileInfo();
    void NameControls();
    void MarkGridCentre();
    // The payment box in mode 1, the loan box otherwise.
    QWidget *FirstInputBox() const;
    void ReadSavedValues();
    void ShowModalWindow(QDialog *window);
    void SetTabOrder();
    void DescribeInputs();
    void DescribeGrid();
    // Opens mnuPop at a point of a control, noting the result cell it is over.
    void PopUp(QWidget *control, const QPoint &at);
    // The schedule of a result cell; asked for from the grid, its closing gives the focus back
    // to the grid, on that cell.
    void OpenSchedule(int col, int row, bool fromGrid);
    void ScheduleHidden();

    std::unique_ptr<TView> FView;
    QString FProgramFolder;
    bool FAwayToMessage = false;   // a message box took the activation from the window
    bool FFirstGridFailed = false; // the start-up's first grid failed, not yet reported
    QPointer<QWidget> FBoxAtMenu;  // the input box the menu bar took the focus from
    int FPopCol = 4, FPopRow = 6;  // the result cell mnuPop was opened over, else the centre
    bool FPopOverGrid = false;     // mnuPop was opened over the grid
    int FScheduleCol = 4, FScheduleRow = 6; // the cell of the schedule shown
    bool FScheduleFromGrid = false;         // it was asked for from the grid
    bool FGridAfterSchedule = false;        // an activation gives the grid the focus
};

// The one main window (null before it is created and after it is destroyed).
extern TfrmMain *frmMain;
