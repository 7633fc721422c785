#include "app/Compare.h"

#include "app/Identity.h"
#include "app/Main.h"
#include "app/Schedule.h"
#include "controls/GridClipboard.h"
#include "engine/Spread.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/IniFiles.h"
#include "platform/Language.h"
#include "platform/SysUtils.h"
#include "printing/CompareChart.h"
#include "printing/Qrcompare.h"
#include "printing/Qrschedule.h"
#include "printing/Quickrep.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <cmath>

TfrmCompare *frmCompare = nullptr;

namespace {

QString Text(const std::string &s) {
    return QString::fromStdString(s);
}

const char *const FieldCaptions[OfferFieldCount] = {
    QT_TRANSLATE_NOOP("TfrmCompare", "Name"),
    QT_TRANSLATE_NOOP("TfrmCompare", "Loan amount"),
    QT_TRANSLATE_NOOP("TfrmCompare", "Annual rate (%)"),
    QT_TRANSLATE_NOOP("TfrmCompare", "Term (months)"),
    QT_TRANSLATE_NOOP("TfrmCompare", "Payment"),
    QT_TRANSLATE_NOOP("TfrmCompare", "Points (%)"),
    QT_TRANSLATE_NOOP("TfrmCompare", "Fees"),
    QT_TRANSLATE_NOOP("TfrmCompare", "Monthly extra")};
// Their keys in the saved values file.
const char *const FieldKeys[OfferFieldCount] = {"Name",    "Loan",   "Rate", "Term",
                                                "Payment", "Points", "Fees", "Extra"};

// The name of the offer in column `k` (from 0) when it is given none.
std::string DefaultOfferName(int k) {
    return TfrmCompare::tr("Offer %1").arg(k + 1).toStdString();
}

// A number typed in the user's conventions, without blanks, currency symbol, thousands
// separators or a percent sign.
std::optional<double> TypedNumber(QString text) {
    const TFormatSettings &fs = FormatSettings();
    text.remove(Text(fs.CurrencyString));
    if (!fs.ThousandSeparator.empty() && fs.ThousandSeparator != fs.DecimalSeparator)
        text.remove(Text(fs.ThousandSeparator));
    text.remove(QLatin1Char('%'));
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    double value = 0;
    if (text.isEmpty() || !TryStrToFloat(text.toStdString(), value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A number as plain data: the shortest text that reads back as it, with ".".
std::string PlainNumber(double v) {
    char text[64];
    return {text, std::to_chars(text, text + sizeof text, v).ptr};
}

std::optional<double> PlainValue(const std::string &text) {
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() ||
        !std::isfinite(v))
        return std::nullopt;
    return v;
}

// The field's value of an offer as a number (Name has none).
double FieldValue(const TOffer &o, TOfferField field) {
    switch (field) {
    case TOfferField::Loan:
        return o.Loan.Loan;
    case TOfferField::Rate:
        return o.Loan.Rate;
    case TOfferField::Term:
        return o.Loan.Term;
    case TOfferField::Payment:
        return o.Loan.Payment;
    case TOfferField::Points:
        return o.Plan.Points;
    case TOfferField::Fees:
        return Money(o.Plan.Fees);
    case TOfferField::Extra:
        return Money(o.Plan.MonthlyExtra);
    case TOfferField::Name:
        break;
    }
    return 0;
}

// The offer of checked numbers, nothing where one is refused.
std::optional<TOffer> MakeOffer(const std::string &name,
                                const std::array<std::optional<double>, OfferFieldCount> &v) {
    TOffer o;
    o.Name = name;
    if (!v[1] || !v[2] || !v[3])
        return std::nullopt;
    o.Loan = {*v[1], *v[2], int(*v[3]), v[4].value_or(0)};
    o.Plan.Points = v[5].value_or(0);
    o.Plan.Fees = ToCents(v[6].value_or(0)).value_or(0);
    o.Plan.MonthlyExtra = ToCents(v[7].value_or(0)).value_or(0);
    return o;
}

// Why a number does not suit the field, empty when it does.
QString NumberFault(TOfferField field, double v) {
    switch (field) {
    case TOfferField::Loan:
        return v > 0 && v < 1e10 ? QString() : TfrmCompare::tr("more than 0 and below 10 billion");
    case TOfferField::Rate:
    case TOfferField::Points:
        return v >= 0 && v <= 100 ? QString() : TfrmCompare::tr("from 0 to 100");
    case TOfferField::Term:
        return v >= 1 && v <= 999 && v == std::floor(v)
                   ? QString()
                   : TfrmCompare::tr("a whole number of months from 1 to 999");
    case TOfferField::Payment:
        return v > 0 && v < 1e10 ? QString() : TfrmCompare::tr("more than 0, or empty");
    case TOfferField::Fees:
    case TOfferField::Extra:
        return v >= 0 && v < 1e10 ? QString() : TfrmCompare::tr("0 or more");
    case TOfferField::Name:
        break;
    }
    return QString();
}

// A table that asks for no more room than its rows and columns take.
void FitTable(QTableWidget *table) {
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    int width = table->verticalHeader()->width() + 2 * table->frameWidth();
    for (int c = 0; c < table->columnCount(); ++c)
        width += table->columnWidth(c);
    int height = table->horizontalHeader()->height() + 2 * table->frameWidth();
    for (int r = 0; r < table->rowCount(); ++r)
        height += table->rowHeight(r);
    table->setMinimumSize(std::min(width, 900), height);
}

QTableWidgetItem *Item(const QString &text, bool bold = false) {
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (bold) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    return item;
}

} // namespace

// ---- Offers as texts and in the saved values file -------------------------------------------

QString OfferFieldFault(TOfferField field, const QString &text) {
    const bool optional = field == TOfferField::Payment || field == TOfferField::Points ||
                          field == TOfferField::Fees || field == TOfferField::Extra;
    if (field == TOfferField::Name || (optional && text.trimmed().isEmpty()))
        return QString();
    const std::optional<double> v = TypedNumber(text);
    if (!v)
        return TfrmCompare::tr("'%1' is not a number").arg(text);
    const QString fault = NumberFault(field, *v);
    return fault.isEmpty() ? fault : TfrmCompare::tr("'%1' is not %2").arg(text, fault);
}

std::optional<TOffer> TextsOffer(const TOfferTexts &texts, int column) {
    std::array<std::optional<double>, OfferFieldCount> values;
    for (int f = 1; f < OfferFieldCount; ++f)
        if (OfferFieldFault(TOfferField(f), texts[size_t(f)]).isEmpty())
            values[size_t(f)] = TypedNumber(texts[size_t(f)]);
    const QString name = texts[0].trimmed();
    return MakeOffer(name.isEmpty() ? DefaultOfferName(column) : name.toStdString(), values);
}

TOfferTexts OfferTexts(const TOffer &offer) {
    TOfferTexts texts;
    texts[0] = Text(offer.Name);
    for (int f = 1; f < OfferFieldCount; ++f) {
        const TOfferField field = TOfferField(f);
        const double v = FieldValue(offer, field);
        if (field == TOfferField::Term)
            texts[size_t(f)] = QString::number(int(v));
        else if (v != 0 || field == TOfferField::Rate || field == TOfferField::Loan)
            texts[size_t(f)] = Text(field == TOfferField::Rate || field == TOfferField::Points
                                        ? GeneralText(v, 15)
                                        : FixedText(v, 15, 2));
    }
    return texts;
}

// The options of an offer's plan that the offer table has no row for, kept in its section as
// the schedule window keeps its own.
bool OutsideOfferTable(TPlanOption option) {
    return option != TPlanOption::Points && option != TPlanOption::Fees &&
           option != TPlanOption::MonthlyExtra;
}

void WriteOffers(const QString &file, const std::array<std::optional<TOffer>, MaxOffers> &offers) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    TIniFile ini(QFile::encodeName(file).toStdString());
    for (int k = 0; k < MaxOffers; ++k) {
        const std::string section = "Offer" + std::to_string(k + 1);
        const std::optional<TOffer> &o = offers[size_t(k)];
        for (int f = 0; f < OfferFieldCount; ++f) {
            const double v = o && f > 0 ? FieldValue(*o, TOfferField(f)) : 0;
            // An optional value of 0 is written empty, as it is typed.
            const bool none = !o || (f >= int(TOfferField::Payment) && v == 0);
            ini.WriteString(section, FieldKeys[f],
                            f == 0 && o ? o->Name
                            : none      ? std::string()
                                        : PlainNumber(v));
        }
        // Only what differs from the file: a section without them keeps none while they are off.
        const TLoanPlan plan = o ? o->Plan : TLoanPlan{}, defaults;
        for (const TPlanOptionInfo &info : PlanOptions()) {
            const std::string value = PlanOptionText(plan, info.Option).toStdString();
            if (OutsideOfferTable(info.Option) &&
                ini.ReadString(section, info.Key,
                               PlanOptionText(defaults, info.Option).toStdString()) != value)
                ini.WriteString(section, info.Key, value);
        }
    }
}

std::array<std::optional<TOffer>, MaxOffers> ReadOffers(const QString &file) {
    std::array<std::optional<TOffer>, MaxOffers> offers;
    const TIniFile ini(QFile::encodeName(file).toStdString());
    for (int k = 0; k < MaxOffers; ++k) {
        const std::string section = "Offer" + std::to_string(k + 1);
        std::array<std::optional<double>, OfferFieldCount> values;
        bool good = true;
        for (int f = 1; f < OfferFieldCount && good; ++f) {
            const std::string text = ini.ReadString(section, FieldKeys[f], "");
            values[size_t(f)] = PlainValue(text);
            good = (text.empty() && f >= int(TOfferField::Payment)) ||
                   (values[size_t(f)] && NumberFault(TOfferField(f), *values[size_t(f)]).isEmpty());
        }
        if (good)
            offers[size_t(k)] = MakeOffer(ini.ReadString(section, "Name", ""), values);
        for (const TPlanOptionInfo &info : PlanOptions()) {
            const std::string text = ini.ReadString(section, info.Key, "");
            if (offers[size_t(k)] && OutsideOfferTable(info.Option) && !text.empty() &&
                !SetPlanOption(offers[size_t(k)]->Plan, info.Option, QString::fromStdString(text),
                               offers[size_t(k)]->Loan.Term)
                     .isEmpty())
                offers[size_t(k)].reset();
        }
        if (offers[size_t(k)] && offers[size_t(k)]->Name.empty())
            offers[size_t(k)]->Name = DefaultOfferName(k);
    }
    return offers;
}

// ---- The picture ---------------------------------------------------------------------------

// The picture of the comparison; pointing at it, or moving with the arrow keys while it has
// the focus, marks a month and says each offer's values then.
class TCompareChartView : public QWidget {
public:
    TCompareChartView(TfrmCompare *form) : QWidget(form), F(form) {
        setObjectName(QStringLiteral("imgChart"));
        setAccessibleName(TfrmCompare::tr("Picture of the costs"));
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setMinimumSize(320, 220);
    }
    int Pointed() const { return FPointed; }
    void Point(int month) {
        FPointed = std::clamp(month, 0, CompareChartMonths(F->Comparison()));
        const QString values =
            FPointed > 0 ? CompareChartValues(F->Comparison(), FPointed) : QString();
        F->lblStatus->setText(values);
        setAccessibleDescription(values);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintPage(painter, CompareChart(F->Comparison(), QRectF(rect()).adjusted(4, 4, -4, -4),
                                        font(), FPointed));
    }
    void mouseMoveEvent(QMouseEvent *event) override {
        Guard(this, [&] {
            Point(CompareChartMonth(F->Comparison(), QRectF(rect()).adjusted(4, 4, -4, -4), font(),
                                    event->position().x()));
            QToolTip::showText(event->globalPosition().toPoint(), F->lblStatus->text(), this);
        });
    }
    void keyPressEvent(QKeyEvent *event) override {
        const int step = event->modifiers() & Qt::ShiftModifier ? 12 : 1;
        if (event->key() == Qt::Key_Right)
            Guard(this, [&] { Point(FPointed + step); });
        else if (event->key() == Qt::Key_Left)
            Guard(this, [&] { Point(FPointed - step); });
        else
            QWidget::keyPressEvent(event);
    }

private:
    TfrmCompare *F;
    int FPointed = 0;
};

// ---- The window ----------------------------------------------------------------------------

TfrmCompare::TfrmCompare(const QString &programTitle, const QString &readFile,
                         const QString &writeFile, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      FWriteFile(writeFile) {
    frmCompare = this;
    setWindowTitle(tr("Compare Offers"));
    setFont(DesignFont(QStringLiteral("Arial"), 8));
    setAccessibleName(windowTitle());

    auto table = [this](const char *name, const QString &accessible, int rows, int columns) {
        auto *t = new QTableWidget(rows, columns, this);
        t->setObjectName(QString::fromLatin1(name));
        t->setAccessibleName(accessible);
        t->setTabKeyNavigation(false);
        t->setWordWrap(false);
        t->horizontalHeader()->setHighlightSections(false);
        t->verticalHeader()->setHighlightSections(false);
        return t;
    };
    grdOffers = table("grdOffers", tr("Offers"), OfferFieldCount, MaxOffers);
    grdOffers->setAccessibleDescription(
        tr("A column an offer: type its name, loan amount, rate and term; payment, points, fees "
           "and a monthly extra as needed"));
    for (int f = 0; f < OfferFieldCount; ++f)
        grdOffers->setVerticalHeaderItem(f, new QTableWidgetItem(tr(FieldCaptions[f])));
    for (int k = 0; k < MaxOffers; ++k) {
        grdOffers->setHorizontalHeaderItem(
            k, new QTableWidgetItem(QString::fromStdString(DefaultOfferName(k))));
        for (int f = 0; f < OfferFieldCount; ++f) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(f == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            grdOffers->setItem(f, k, item);
        }
    }
    grdOffers->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connect(grdOffers, &QTableWidget::cellChanged, this, [this](int row, int column) {
        Guard(grdOffers, [&] { grdOffersChanged(grdOffers, row, column); });
    });
    connect(grdOffers, &QTableWidget::currentCellChanged, this,
            [this](int, int column, int, int old) {
                if (column != old)
                    Guard(grdOffers, [&] { RecalculatePaydown(grdOffers); });
            });

    edtYears = new QSpinBox(this);
    edtYears->setObjectName(QStringLiteral("edtYears"));
    edtYears->setRange(1, 100);
    edtYears->setValue(5);
    edtYears->setAccessibleDescription(
        tr("The years after which the cost is counted, as if the loans ended then"));
    auto *lblYears = new QLabel(tr("Cost after &years:"), this);
    lblYears->setBuddy(edtYears);
    connect(edtYears, &QSpinBox::valueChanged, this,
            [this] { Guard(edtYears, [&] { Recalculate(edtYears); }); });

    grdResults = table("grdResults", tr("Comparison"), 0, 0);
    grdResults->setAccessibleDescription(
        tr("Each row's best in bold, the difference to the first offer in brackets"));
    grdResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdResults->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    imgChart = new TCompareChartView(this);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);

    cbxExtraStep = new QComboBox(this);
    cbxExtraStep->setObjectName(QStringLiteral("cbxExtraStep"));
    for (const TStep &step : PaymentSteps)
        cbxExtraStep->addItem(QString::fromLatin1(step.Item), step.Step);
    cbxExtraStep->setCurrentIndex(cbxExtraStep->findData(100.0)); // 100 a month
    cbxRateStep = new QComboBox(this);
    cbxRateStep->setObjectName(QStringLiteral("cbxRateStep"));
    for (const TStep &step : RateSteps)
        cbxRateStep->addItem(QString::fromLatin1(step.Text), step.Step);
    cbxRateStep->setCurrentIndex(1); // a quarter point
    auto *lblExtra = new QLabel(tr("&Extra step:"), this);
    lblExtra->setBuddy(cbxExtraStep);
    auto *lblRate = new QLabel(tr("&Rate step:"), this);
    lblRate->setBuddy(cbxRateStep);
    chkInterest = new QCheckBox(tr("Show total &interest"), this);
    chkInterest->setObjectName(QStringLiteral("chkInterest"));
    for (QComboBox *box : {cbxExtraStep, cbxRateStep})
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, box] { Guard(box, [&] { RecalculatePaydown(box); }); });
    connect(chkInterest, &QCheckBox::toggled, this,
            [this] { Guard(chkInterest, [&] { ShowPaydown(); }); });

    grdPaydown = table("grdPaydown", tr("Paying down faster"), PaydownRows, PaydownColumns);
    grdPaydown->setAccessibleDescription(
        tr("Monthly extras down, rates across; Enter or a double-click opens the cell's "
           "schedule"));
    grdPaydown->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPaydown->setSelectionMode(QAbstractItemView::SingleSelection);
    // Activated by Enter and by a double-click.
    connect(grdPaydown, &QTableWidget::cellActivated, this, [this](int row, int column) {
        Guard(grdPaydown, [&] { grdPaydownOpen(grdPaydown, row, column); });
    });

    auto button = [this](const QString &caption, const char *name,
                         void (TfrmCompare::*handler)(QObject *)) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, b, handler] { Guard(b, [&] { (this->*handler)(b); }); });
        return b;
    };
    btnCopy = button(tr("&Copy"), "btnCopy", &TfrmCompare::btnCopyClick);
    btnSave = button(tr("&Save..."), "btnSave", &TfrmCompare::btnSaveClick);
    btnPrint = button(tr("&Print"), "btnPrint", &TfrmCompare::btnPrintClick);
    btnClose = new QPushButton(tr("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);

    for (QLabel *label : {lblYears, lblExtra, lblRate}) // never narrower than its text
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()));
    auto *years = new QHBoxLayout;
    years->addWidget(lblYears);
    years->addWidget(edtYears);
    years->addStretch(1);
    auto *left = new QVBoxLayout;
    left->addWidget(grdOffers);
    left->addLayout(years);
    left->addWidget(grdResults, 1);
    auto *steps = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{lblExtra, cbxExtraStep, lblRate, cbxRateStep,
                                                       chkInterest})
        steps->addWidget(w);
    steps->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(imgChart, 1);
    right->addWidget(lblStatus);
    right->addLayout(steps);
    right->addWidget(grdPaydown);
    auto *panes = new QHBoxLayout;
    panes->addLayout(left, 1);
    panes->addLayout(right, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {btnCopy, btnSave, btnPrint, btnClose})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(panes, 1);
    layout->addLayout(buttons);

    QWidget *order[] = {grdOffers,   edtYears,   grdResults, imgChart, cbxExtraStep, cbxRateStep,
                        chkInterest, grdPaydown, btnCopy,    btnSave,  btnPrint,     btnClose};
    for (size_t k = 1; k < std::size(order); ++k)
        setTabOrder(order[k - 1], order[k]);

    Report = new TQRCompare(programTitle, this);
    if (!readFile.isEmpty())
        FOffers = ReadOffers(readFile);
    FFilling = true;
    for (int k = 0; k < MaxOffers; ++k) {
        const TOfferTexts texts =
            FOffers[size_t(k)] ? OfferTexts(*FOffers[size_t(k)]) : TOfferTexts{};
        for (int f = 0; f < OfferFieldCount; ++f) {
            grdOffers->item(f, k)->setText(texts[size_t(f)]);
            FGoodTexts[size_t(k * OfferFieldCount + f)] = texts[size_t(f)];
        }
    }
    FFilling = false;
    FitTable(grdOffers);
    grdOffers->setCurrentCell(0, 0);
    Recalculate(this);
    resize(1100, 680);
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
}

TfrmCompare::~TfrmCompare() {
    if (frmCompare == this)
        frmCompare = nullptr;
}

void TfrmCompare::grdOffersChanged(QObject *, int row, int column) {
    if (FFilling)
        return;
    QString &good = FGoodTexts[size_t(column * OfferFieldCount + row)];
    const QString text = grdOffers->item(row, column)->text();
    const QString fault = OfferFieldFault(TOfferField(row), text);
    if (!fault.isEmpty()) {
        // Refused where it was typed, with the reason; nothing else changes.
        lblStatus->setText(QStringLiteral("%1, %2: %3")
                               .arg(grdOffers->horizontalHeaderItem(column)->text(),
                                    grdOffers->verticalHeaderItem(row)->text(), fault));
        FFilling = true;
        grdOffers->item(row, column)->setText(good);
        FFilling = false;
        return;
    }
    lblStatus->clear();
    good = text;
    TOfferTexts texts;
    for (int f = 0; f < OfferFieldCount; ++f)
        texts[size_t(f)] = grdOffers->item(f, column)->text();
    std::optional<TOffer> &offer = FOffers[size_t(column)];
    const std::optional<TOffer> typed = TextsOffer(texts, column);
    if (offer && typed) {
        // The one value changed; the rest of a plan the offer came with stays.
        TOffer changed = *offer;
        changed.Name = typed->Name;
        changed.Loan = typed->Loan;
        changed.Plan.Points = typed->Plan.Points;
        changed.Plan.Fees = typed->Plan.Fees;
        changed.Plan.MonthlyExtra = typed->Plan.MonthlyExtra;
        offer = changed;
    } else {
        offer = typed;
    }
    Recalculate(grdOffers);
    SaveOffers();
}

void TfrmCompare::SaveOffers() {
    if (!FWriteFile.isEmpty())
        WriteOffers(FWriteFile, FOffers);
}

bool TfrmCompare::AddOffer(const TOffer &offer) {
    for (int k = 0; k < MaxOffers; ++k) {
        if (FOffers[size_t(k)])
            continue;
        const TOfferTexts texts = OfferTexts(offer);
        FFilling = true;
        for (int f = 0; f < OfferFieldCount; ++f) {
            grdOffers->item(f, k)->setText(texts[size_t(f)]);
            FGoodTexts[size_t(k * OfferFieldCount + f)] = texts[size_t(f)];
        }
        FFilling = false;
        FOffers[size_t(k)] = offer;
        if (offer.Name.empty())
            FOffers[size_t(k)]->Name = DefaultOfferName(k);
        grdOffers->setCurrentCell(0, k);
        Recalculate(this);
        SaveOffers();
        return true;
    }
    MessageBox(tr("The comparison holds %1 offers already: clear the column of one (its loan "
                  "amount) to add another.")
                   .arg(MaxOffers),
               ProgramName, mtInformation, mbOK);
    return false;
}

int TfrmCompare::PaydownOffer() const {
    const int column = grdOffers->currentColumn();
    if (column >= 0 && FOffers[size_t(column)])
        return column;
    for (int k = 0; k < MaxOffers; ++k)
        if (FOffers[size_t(k)])
            return k;
    return -1;
}

void TfrmCompare::Recalculate(QObject *) {
    std::vector<TOffer> offers;
    FShownColumns.clear();
    for (int k = 0; k < MaxOffers; ++k)
        if (FOffers[size_t(k)]) {
            offers.push_back(*FOffers[size_t(k)]);
            FShownColumns.push_back(k);
        }
    FComparison = Compare(offers, edtYears->value());
    ShowResults();
    imgChart->Point(imgChart->Pointed());
    RecalculatePaydown(this);
}

QList<QStringList> TfrmCompare::ResultTexts() const {
    QList<QStringList> texts;
    QStringList names{QString()};
    for (int c = 0; c < grdResults->columnCount(); ++c)
        names << grdResults->horizontalHeaderItem(c)->text();
    texts << names;
    for (int r = 0; r < grdResults->rowCount(); ++r) {
        QStringList row{grdResults->verticalHeaderItem(r)->text()};
        for (int c = 0; c < grdResults->columnCount(); ++c)
            row << (grdResults->item(r, c) ? grdResults->item(r, c)->text() : QString());
        texts << row;
    }
    return texts;
}

void TfrmCompare::ShowResults() {
    const TComparison &c = FComparison;
    const int count = int(c.Offers.size());
    grdResults->clear();
    grdResults->setColumnCount(count);
    std::vector<TCompareRow> rows;
    for (int r = 0; r < CompareRowCount; ++r)
        if (RowShown(c, TCompareRow(r)))
            rows.push_back(TCompareRow(r));
    grdResults->setRowCount(int(rows.size() + c.Pairs.size()));
    for (int k = 0; k < count; ++k) {
        const bool best = std::count(c.Best.begin(), c.Best.end(), k) && int(c.Best.size()) < count;
        auto *head = new QTableWidgetItem(Text(c.Offers[size_t(k)].Offer.Name) +
                                          (best ? tr(" (best)") : QString()));
        QFont font = head->font();
        font.setBold(best);
        head->setFont(font);
        grdResults->setHorizontalHeaderItem(k, head);
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        const TCompareRow row = rows[r];
        const TCompareKind kind = CompareRowInfo(row).Kind;
        const std::vector<int> best = BestInRow(c, row);
        const std::optional<double> first = CompareValue(c, 0, row);
        grdResults->setVerticalHeaderItem(int(r),
                                          new QTableWidgetItem(EngineText(CompareCaption(c, row))));
        for (int k = 0; k < count; ++k) {
            const std::optional<double> v = CompareValue(c, k, row);
            QString text = v ? Text(CompareText(kind, *v)) : QString();
            if (v && first && k > 0 && kind != TCompareKind::Date)
                text += QStringLiteral("  (%1)").arg(Text(CompareDifference(kind, *v - *first)));
            const bool bold = int(best.size()) < count && std::count(best.begin(), best.end(), k);
            grdResults->setItem(int(r), k, Item(text, bold));
        }
    }
    for (size_t p = 0; p < c.Pairs.size(); ++p) {
        const int r = int(rows.size() + p);
        grdResults->setVerticalHeaderItem(
            r, new QTableWidgetItem(EngineText(BreakEvenCaption(c, c.Pairs[p]))));
        grdResults->setItem(r, 0, Item(EngineText(BreakEvenText(c.Pairs[p]))));
    }
    grdResults->resizeRowsToContents();
    const QString none = count < 2 ? tr("Type two to four offers in the columns above, or add "
                                        "them from a cell of the spread.")
                                   : QString();
    if (!none.isEmpty() && lblStatus->text().isEmpty())
        lblStatus->setText(none);
}

void TfrmCompare::RecalculatePaydown(QObject *) {
    const int column = PaydownOffer();
    FPaydown.reset();
    if (column >= 0 && OfferSchedule(*FOffers[size_t(column)]))
        FPaydown = PaydownGrid(*FOffers[size_t(column)],
                               ToCents(cbxExtraStep->currentData().toDouble()).value_or(0),
                               cbxRateStep->currentData().toDouble());
    ShowPaydown();
}

void TfrmCompare::ShowPaydown() {
    grdPaydown->clearContents();
    const int column = PaydownOffer();
    grdPaydown->setEnabled(FPaydown.has_value());
    if (!FPaydown)
        return;
    const TPaydownGrid &g = *FPaydown;
    const bool interest = chkInterest->isChecked();
    grdPaydown->setToolTip(PaydownTitle(Text(FOffers[size_t(column)]->Name), interest));
    for (int c = 0; c < PaydownColumns; ++c)
        grdPaydown->setHorizontalHeaderItem(
            c, new QTableWidgetItem(Text(CompareText(TCompareKind::Percent, g.Rates[size_t(c)]))));
    for (int r = 0; r < PaydownRows; ++r) {
        grdPaydown->setVerticalHeaderItem(
            r, new QTableWidgetItem(
                   QStringLiteral("+") +
                   Text(CompareText(TCompareKind::Money, double(g.Extras[size_t(r)])))));
        for (int c = 0; c < PaydownColumns; ++c) {
            const TPaydownCell &cell = g.Cells[size_t(r)][size_t(c)];
            QTableWidgetItem *item =
                Item(!cell.Repaid ? QString()
                     : interest ? Text(CompareText(TCompareKind::Money, double(cell.TotalInterest)))
                                : QString::number(cell.Months),
                     c == PaydownCentreColumn); // the offer's own rate: bold and yellow
            if (c == PaydownCentreColumn)
                item->setBackground(QColor(255, 255, 0));
            if (cell.Repaid)
                item->setToolTip(
                    tr("Interest saved: %1")
                        .arg(Text(CompareText(TCompareKind::Money, double(cell.InterestSaved)))));
            grdPaydown->setItem(r, c, item);
        }
    }
    grdPaydown->resizeColumnsToContents();
    FitTable(grdPaydown);
}

void TfrmCompare::grdPaydownOpen(QObject *, int row, int column) {
    const int offer = PaydownOffer();
    if (!FPaydown || offer < 0 || !FPaydown->Cells[size_t(row)][size_t(column)].Repaid)
        return;
    const TOffer cell = ::PaydownOffer(*FOffers[size_t(offer)], FPaydown->Rates[size_t(column)],
                                       FPaydown->Extras[size_t(row)]);
    ShowSchedule(this, OfferLoan(cell), OfferPlan(cell));
}

void TfrmCompare::btnCopyClick(QObject *) {
    QGuiApplication::clipboard()->setMimeData(TableMimeData(ResultTexts()));
}

void TfrmCompare::btnSaveClick(QObject *) {
    QString fileName = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                           .filePath(tr("Loan Offers.csv"));
    int filter = 0;
    if (!SaveFileDialog(this, tr("Save Comparison"), {tr("CSV files (*.csv)"), tr("All files (*)")},
                        {QStringLiteral("csv"), QString()}, QFileInfo(fileName).path(), fileName,
                        filter))
        return;
    const QString failure = WriteTextFile(fileName, CompareCsv(FComparison));
    if (!failure.isEmpty())
        MessageBox(tr("The comparison could not be saved to %1:\n%2")
                       .arg(QDir::toNativeSeparators(fileName), failure),
                   ProgramName, mtError, mbOK);
}

void TfrmCompare::btnPrintClick(QObject *) {
    QRPrinter().SetPreviewCaption(tr("Preview of Page"));
    QRPrinter().SetProgressCaption(tr("Preparing Page"));
    const int offer = PaydownOffer();
    int shown = 0;
    for (int k = 0; k < offer; ++k)
        shown += FOffers[size_t(k)].has_value();
    Report->SetComparison(FComparison, FPaydown, offer < 0 ? -1 : shown);
    Report->Rep->Preview();
    raise();
    activateWindow();
}

// ---- Opening it ----------------------------------------------------------------------------

void ShowCompare(QWidget *owner, const std::optional<TOffer> &offer) {
    TfrmCompare *form = frmCompare;
    if (!form) {
        const TSavedValuesPlaces places =
            frmMain ? frmMain->SavedValuesPlaces() : TSavedValuesPlaces{};
        form = new TfrmCompare(ProgramName + QStringLiteral(", ") + ProgramVersion, places.Read,
                               places.Write, owner);
    }
    if (offer)
        form->AddOffer(*offer);
    form->show();
    form->raise();
    form->activateWindow();
    form->grdOffers->setFocus();
}
