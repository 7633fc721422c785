// The numeric edit box with display masks: a single-line box holding a number, shown in a
// formatted display form while the box does not have the focus ($100,000.00, right-aligned) and
// in a plain editing form while it has (100,000.00). Leaving the box reads the editing form back
// into the value, checks it against a range when asked to, reformats it and only then raises the
// exit event.
#pragma once

#include <QLineEdit>
#include <QString>
#include <functional>

// ---- TCustomStrEdit ---------------------------------------------------------------------

// An edit box that draws its text right-aligned or centred while it does not have the focus,
// and paints as an ordinary edit box while it has, or while its alignment is left.
class TCustomStrEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TCustomStrEdit(QWidget *parent = nullptr);

    // The alignment of the unfocused text: Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment alignment);

    // Space between the client area's edge and the unfocused text: a quarter of the smaller
    // of the character heights of the system font and the box's font; 0 without a border.
    int TextMargin() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::Alignment FAlignment = Qt::AlignLeft;
};

// ---- TMasks -----------------------------------------------------------------------------

// The three display masks of the general number type, at most 25 characters each. A change
// to a different text is reported to the owner, which reformats.
class TMasks {
public:
    explicit TMasks(std::function<void()> onChange = {}) : FOnChange(std::move(onChange)) {}
    TMasks(const TMasks &) = delete;
    TMasks &operator=(const TMasks &) = delete;

    QString PositiveMask() const { return FPositiveMask; }
    void SetPositiveMask(const QString &mask) { Store(FPositiveMask, mask); }
    QString NegativeMask() const { return FNegativeMask; }
    void SetNegativeMask(const QString &mask) { Store(FNegativeMask, mask); }
    QString ZeroMask() const { return FZeroMask; }
    void SetZeroMask(const QString &mask) { Store(FZeroMask, mask); }

    // Takes the three texts of another set; the owner hears of it once.
    void Assign(const TMasks &source);

    // A number in the three-section pattern "positive;negative;zero".
    std::string Format(double value) const;

    static constexpr int MaxLength = 25;

private:
    void Store(QString &field, const QString &mask);

    std::function<void()> FOnChange;
    QString FPositiveMask = "#,##0";
    QString FNegativeMask;
    QString FZeroMask;
};

// ---- TCustomNumEdit ---------------------------------------------------------------------

enum TNumericType {
    ntGeneral,   // formatted with the masks
    ntCurrency,  // the locale's currency format
    ntPercentage // the value times 100, followed by "%"
};

// All numeric behaviour; TNumEdit publishes it.
class TCustomNumEdit : public TCustomStrEdit {
    Q_OBJECT

public:
    explicit TCustomNumEdit(QWidget *parent = nullptr);

protected:
    // The number held. The program carries its values as doubles from end to end, so the
    // number is a double here too.
    double Value() const { return FValue; }
    void SetValue(double value);
    TNumericType NumericType() const { return FNumericType; }
    void SetNumericType(TNumericType numericType);
    // Decimal places of the display form.
    int Decimals() const { return FDecimals; }
    void SetDecimals(int decimals);
    // Significant digits of the currency and percentage forms, and the length limit of the
    // editing form.
    int Digits() const { return FDigits; }
    void SetDigits(int digits);
    TMasks &Masks() { return FMasks; }
    const TMasks &Masks() const { return FMasks; }
    void SetMasks(const TMasks &masks) { FMasks.Assign(masks); }
    // Round (true) or cut (false) the display value to Decimals places.
    bool UseRounding() const { return FUseRounding; }
    void SetUseRounding(bool useRounding);
    // Check Min <= value <= Max when a value is set or the box is left.
    bool Validate() const { return FValidate; }
    void SetValidate(bool validate);
    double Min() const { return FMin; }
    void SetMin(double min);
    double Max() const { return FMax; }
    void SetMax(double max);
    // Raised after the box has been entered and shows its editing form.
    std::function<void(QObject *Sender)> OnEnter;
    // Raised when the box is left with a valid number, after the value has been stored and
    // reformatted.
    std::function<void(QObject *Sender)> OnExit;
    // Raised at every change of the text.
    std::function<void(QObject *Sender)> OnChange;

    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;

private:
    QString DisplayText() const;
    QString EditingForm(const QString &display) const;
    void Reformat();
    bool InRange(double value) const { return !FValidate || (FMin <= value && value <= FMax); }
    void Enter(bool byMouse);
    void Leave();
    void Abandon();
    void RestoreAlignment(Qt::Alignment unfocused);
    void TypeText(const QString &text);
    void FocusMoved(QWidget *now);

    double FValue = 0;
    TNumericType FNumericType = ntCurrency;
    int FDecimals = 2;
    int FDigits = 12;
    TMasks FMasks;
    bool FUseRounding = true;
    bool FValidate = false;
    double FMin = 0;
    double FMax = 0;

    bool FEditing = false; // entered and not yet left: the text is the editing form
    // The limit on the length of typed text while editing (0: none). QLineEdit's maxLength is
    // not used for it: that would cut an editing form longer than the limit ("10,000,000.00").
    int FLengthLimit = 0;
    Qt::Alignment FSavedAlignment; // the unfocused alignment, kept while editing
};

// ---- TNumEdit ---------------------------------------------------------------------------

class TNumEdit : public TCustomNumEdit {
    Q_OBJECT

public:
    explicit TNumEdit(QWidget *parent = nullptr);

    using TCustomNumEdit::Decimals;
    using TCustomNumEdit::Digits;
    using TCustomNumEdit::Masks;
    using TCustomNumEdit::Max;
    using TCustomNumEdit::Min;
    using TCustomNumEdit::NumericType;
    using TCustomNumEdit::SetDecimals;
    using TCustomNumEdit::SetDigits;
    using TCustomNumEdit::SetMasks;
    using TCustomNumEdit::SetMax;
    using TCustomNumEdit::SetMin;
    using TCustomNumEdit::SetNumericType;
    using TCustomNumEdit::SetUseRounding;
    using TCustomNumEdit::SetValidate;
    using TCustomNumEdit::SetValue;
    using TCustomNumEdit::UseRounding;
    using TCustomNumEdit::Validate;
    using TCustomNumEdit::Value;

    using TCustomNumEdit::OnChange;
    using TCustomNumEdit::OnEnter;
    using TCustomNumEdit::OnExit;
};
