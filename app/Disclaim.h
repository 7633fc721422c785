// The disclaimer: no warranty for the calculations.
#pragma once

#include <QDialog>

class QLabel;
class TExplorerButton;
class TPanel;

class TfrmDisclaim : public QDialog {
    Q_OBJECT

public:
    explicit TfrmDisclaim(QWidget *parent = nullptr);

    TPanel *Panel1;
    QLabel *Label3, *Label10, *Label12;
    TExplorerButton *btnClose;

    void BtnCloseClick(QObject *Sender);
};
