// The payment chart: the spread grid printed as a one-page report with a title naming the
// calculation mode, the three fixed loan variables, the two step sizes, the whole grid as a
// table of boxed cells, and a footer.
#pragma once

#include <QObject>
#include <QString>

struct SpreadState;
class TQRBand;
class TQRLabel;
class TQRShape;
class TQRSysData;
class TQuickReport;
class TRadioGroup;
class TStringAlignGrid;

class TQRPaymentChart : public QObject {
    Q_OBJECT

public:
    // Reads, when it is prepared, the mode group, the spread state of the last calculation and
    // the grid; prints `webAddress` at the right of the footer.
    TQRPaymentChart(const SpreadState &spread, const TRadioGroup &rgCalculate,
                    const TStringAlignGrid &grdLS, const QString &webAddress,
                    QObject *parent = nullptr);
    ~TQRPaymentChart() override;

    TQuickReport *Rep;
    TQRBand *Title, *PageHeader, *Detail, *PageFooter;
    // Title band
    TQRLabel *lblTitle;
    TQRShape *QRShape3;
    // Page header
    TQRLabel *lbl1, *lblOne, *lbl2, *lblTwo, *lbl3, *lblThree, *lblX, *lblY;
    TQRShape *QRShape4;
    // Detail: one box and one label per grid column
    TQRShape *QRShape1, *QRShape5, *QRShape6, *QRShape7, *QRShape10, *QRShape11, *QRShape8,
        *QRShape9;
    TQRLabel *lblColumn1, *lblColumn2, *lblColumn3, *lblColumn4, *lblColumn5, *lblColumn6,
        *lblColumn7, *lblColumn8;
    // Page footer
    TQRShape *QRShape2;
    TQRLabel *lblApplicationTitle, *lblURL, *QRLabel34, *QRLabel36;
    TQRSysData *QRSysData1;

    void RepBeforePrint(QObject *Sender, bool &PrintReport);
    void TitleBeforePrint(QObject *Sender, bool &PrintBand);
    void PageHeaderBeforePrint(QObject *Sender, bool &PrintBand);
    void RepNeedData(QObject *Sender, bool &MoreData);

    // The index of the next grid row to print.
    int NextRow() const { return FNextRow; }

private:
    const SpreadState &FSpread;
    const TRadioGroup &FCalculate;
    const TStringAlignGrid &FGrid;
    QString FWebAddress;
    int FNextRow = 0;
};

// The one payment chart (null before it is created and after it is destroyed).
extern TQRPaymentChart *QRPaymentChart;
