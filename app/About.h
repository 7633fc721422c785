// The about box: the program's name, version, compile date, notices and the maker's address.
#pragma once

#include <QDialog>

class QLabel;
class TExplorerButton;
class TPanel;
class TURLLabel;

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);

    TPanel *Panel1;
    QLabel *Image2, *Label3, *Label2, *lblVersion, *Label5, *lblCompileDate, *lblCopyright,
        *lblRights, *Label4, *Image1, *Label1;
    TURLLabel *UrlLabel1;
    TExplorerButton *btnClose;

    void FormShow(QObject *Sender);
    void BtnCloseClick(QObject *Sender);

protected:
    void showEvent(QShowEvent *event) override;
};
