// The thanks window that the close sequence shows one time in forty.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class TExplorerButton;
class TPanel;

// Set by the thanks window's buttons and read by the close sequence: whether to end.
extern bool ExitFlag;

class TfrmClose : public QDialog {
    Q_OBJECT

public:
    explicit TfrmClose(QWidget *parent = nullptr);

    TPanel *Panel1;
    QLabel *Image1;
    QLabel *Label3;
    QPushButton *btnSuggestions;
    TExplorerButton *BtnReturn, *BtnExit;

    void BtnExitClick(QObject *Sender);
    void BtnReturnClick(QObject *Sender);
    void btnSuggestionsClick(QObject *Sender);
};
