// A comparison of loan offers, printed: on the first page the offers' rows (each row's best in
// bold), the break-even months and the picture; on the second the grid of paying down the
// chosen offer faster, by months to payoff and by total interest; the page count at the foot
// of every page. Its rows are the engine's, the same the window and the command line show.
#pragma once

#include "engine/Compare.h"

#include <QList>
#include <QObject>
#include <QString>
#include <optional>

class TQRBand;
class TQRCompareChart;
class TQRLabel;
class TQRSysData;
class TQuickReport;

// The title of the pay-down grid of an offer, by months to payoff or by total interest, as the
// window and the printout name it.
QString PaydownTitle(const QString &offerName, bool interest);

class TQRCompare : public QObject {
    Q_OBJECT

public:
    // `programTitle` is printed at the left of every page's foot.
    explicit TQRCompare(const QString &programTitle, QObject *parent = nullptr);

    // What the next preparation prints: the comparison, and the pay-down grid of one offer.
    void SetComparison(const TComparison &c, std::optional<TPaydownGrid> grid, int gridOffer);

    TQuickReport *Rep;
    TQRBand *Title, *Paydown, *PageFooter;
    TQRCompareChart *imgChart;
    TQRLabel *lblProgram;
    TQRSysData *sysPage, *sysPrinted;
    // The texts of the rows and the grid, made afresh at each preparation.
    QList<TQRLabel *> lblTexts;

    void RepBeforePrint(QObject *Sender, bool &PrintReport);

private:
    TQRLabel *Text(TQRBand *band, const QString &text, double left, double top, double width,
                   bool rightAligned, bool bold = false, int points = 8);

    TComparison FComparison;
    std::optional<TPaydownGrid> FGrid;
    int FGridOffer = 0;
    QString FProgramTitle;
};
