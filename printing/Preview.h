// The print preview window: the prepared chart page by page, three zoom settings, paging by
// buttons and keys, and printing.
#pragma once

#include <QDialog>

class QLabel;
class TExplorerButton;
class TPanel;
class TQRPreview;

class TfrmPreview : public QDialog {
    Q_OBJECT

public:
    explicit TfrmPreview(QWidget *parent = nullptr);
    ~TfrmPreview() override;

    TPanel *Panel1;
    QLabel *Label1;
    TExplorerButton *bbPrev, *bbNext, *bbZoomOut, *bbZoom100, *bbZoomIn, *bbPrint, *bbClose;
    TQRPreview *QRPreview1;

    // The help topic of the toolbar and the page (F1).
    static constexpr int HelpContext = 35;

    void FormShow(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormClose(QObject *Sender);
    void FormKeyDown(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift);
    // The arrow keys scroll the page; true when the key was one of them.
    bool CMDialogKey(int Key);
    void bbPrevClick(QObject *Sender);
    void bbNextClick(QObject *Sender);
    void bbZoomOutClick(QObject *Sender);
    void bbZoom100Click(QObject *Sender);
    void bbZoomInClick(QObject *Sender);
    void bbPrintClick(QObject *Sender);
    void bbCloseClick(QObject *Sender);

    void done(int result) override;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void PlaceOver(const QRect &area);
    void PlaceButtons();
    void UpdatePageLabel();
    void ShowPage(int page);
};

// The one preview window (null before it is created and after it is destroyed).
extern TfrmPreview *frmPreview;
