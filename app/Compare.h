// The comparison window: two to four loan offers typed in their columns or added from a cell
// of the spread or the schedule window, their rows side by side with each row's best in bold
// and the differences to the first offer, the years after which the cost is counted, the
// picture of their costs and balances, and the grid of paying down the chosen offer faster.
// The offers are kept in the saved values file, a section each.
#pragma once

#include "engine/Compare.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class TQRCompare;

inline constexpr int MaxOffers = 4;

// The values of an offer's column, one a row of the offers' table.
enum class TOfferField { Name, Loan, Rate, Term, Payment, Points, Fees, Extra };
inline constexpr int OfferFieldCount = 8;
using TOfferTexts = std::array<QString, OfferFieldCount>;

// Why the text typed for a field is refused, empty when it is taken. Numbers are read in the
// user's conventions (decimal separator, thousands separators, currency symbol); an empty
// payment is the level payment, an empty points, fees or extra none.
QString OfferFieldFault(TOfferField field, const QString &text);
// The offer of a column's texts, nothing while its loan, rate or term is empty or refused;
// a column without a name is named "Offer <column + 1>".
std::optional<TOffer> TextsOffer(const TOfferTexts &texts, int column);
// The texts of an offer as the column shows them.
TOfferTexts OfferTexts(const TOffer &offer);

// The offers kept in a saved values file: sections "Offer1" to "Offer4", the values of the
// offers' table, numbers written with "." whatever the locale. An offer whose stored values
// are not all good comes back empty.
void WriteOffers(const QString &file, const std::array<std::optional<TOffer>, MaxOffers> &offers);
std::array<std::optional<TOffer>, MaxOffers> ReadOffers(const QString &file);

class TCompareChartView;

class TfrmCompare : public QDialog {
    Q_OBJECT

public:
    // The offers come from `readFile` and are kept in `writeFile`; `programTitle` goes on the
    // printed pages.
    TfrmCompare(const QString &programTitle, const QString &readFile, const QString &writeFile,
                QWidget *parent = nullptr);
    ~TfrmCompare() override;

    QTableWidget *grdOffers;  // a row per field, a column per offer
    QSpinBox *edtYears;       // the years after which the cost is counted
    QTableWidget *grdResults; // a row per row of the comparison and per pair
    TCompareChartView *imgChart;
    QLabel *lblStatus; // why a typed value was refused, or the values pointed at
    QComboBox *cbxExtraStep, *cbxRateStep;
    QCheckBox *chkInterest; // the grid shows total interest instead of months
    QTableWidget *grdPaydown;
    QPushButton *btnCopy, *btnSave, *btnPrint, *btnClose;
    TQRCompare *Report;

    // Puts `offer` with its whole plan in the first empty column (named after the column when
    // it has no name); false when all are taken (said in a message).
    bool AddOffer(const TOffer &offer);
    const TComparison &Comparison() const { return FComparison; }
    // The offers in their columns.
    const std::array<std::optional<TOffer>, MaxOffers> &Offers() const { return FOffers; }
    // The column of the offer the pay-down grid is of, -1 when none.
    int PaydownOffer() const;
    const std::optional<TPaydownGrid> &Paydown() const { return FPaydown; }
    // The rows as texts: the offers' names, then each row's caption and values.
    QList<QStringList> ResultTexts() const;

    void grdOffersChanged(QObject *Sender, int row, int column);
    void Recalculate(QObject *Sender);
    void RecalculatePaydown(QObject *Sender);
    void grdPaydownOpen(QObject *Sender, int row, int column);
    void btnCopyClick(QObject *Sender);
    void btnSaveClick(QObject *Sender);
    void btnPrintClick(QObject *Sender);

private:
    void SaveOffers();
    void ShowResults();
    void ShowPaydown();

    std::array<std::optional<TOffer>, MaxOffers> FOffers;
    std::array<QString, MaxOffers * OfferFieldCount> FGoodTexts; // the last taken text of a cell
    std::vector<int> FShownColumns; // the column of each offer of the comparison
    TComparison FComparison;
    std::optional<TPaydownGrid> FPaydown;
    QString FWriteFile;
    bool FFilling = false;
};

// The one comparison window, while it is open.
extern TfrmCompare *frmCompare;

// Opens the comparison window (made if none is open, its offers read from the saved values
// file of the main window), adds `offer` when given, brings it forward.
void ShowCompare(QWidget *owner, const std::optional<TOffer> &offer = std::nullopt);
