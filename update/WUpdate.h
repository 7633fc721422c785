// The update window: the running program's version and compile date, the newest version the
// maker's server announces, and the button that fetches and installs it. The network work is
// the main window's web file info component's.
#pragma once

#include <QDialog>

class QLabel;
class TExplorerButton;
class TPanel;
class TWebFileInfo;

class TfrmUpdate : public QDialog {
    Q_OBJECT

public:
    // `webFileInfo` is the main window's component, which outlives the window.
    explicit TfrmUpdate(TWebFileInfo *webFileInfo, QWidget *parent = nullptr);

    TPanel *Panel1;
    QLabel *Image1;
    QLabel *Label7, *Label1, *lblApplicationName, *Label2, *lblDeveloper, *Label8,
        *lblCurrentVersion, *Label10, *lblCurrentCompileDate, *lblUpdateStatus, *Label4,
        *lblVersion, *Label3, *lblDate, *Label5, *lblReadMe, *Label6, *lblURL;
    TExplorerButton *btnCheckForUpdate, *btnRetrieveUpdate, *btnClose;

    void FormCreate(QObject *Sender);
    void CheckUpdate(QObject *Sender);
    bool IsUpdateAvailable() const;
    void RetrieveUpdate(QObject *Sender);
    void CloseUpdateCenter(QObject *Sender);

    // Escape and the window manager's close are CloseUpdateCenter.
    void reject() override;

protected:
    bool event(QEvent *event) override;

private:
    TWebFileInfo *FWebFileInfo;
    bool FChecked = false; // CheckUpdate ran for this opening
};
