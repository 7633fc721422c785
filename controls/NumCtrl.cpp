#include "controls/NumCtrl.h"

#include "controls/Realproc.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

// ---- TCustomStrEdit ---------------------------------------------------------------------

TCustomStrEdit::TCustomStrEdit(QWidget *parent) : QLineEdit(parent) {}

void TCustomStrEdit::SetAlignment(Qt::Alignment alignment) {
    FAlignment = alignment & Qt::AlignHorizontal_Mask;
    update();
}

int TCustomStrEdit::TextMargin() const {
    if (!hasFrame())
        return 0;
    const int system = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).height();
    const int own = QFontMetrics(font()).height();
    return std::min(system, own) / 4;
}

void TCustomStrEdit::paintEvent(QPaintEvent *event) {
    if (FAlignment == Qt::AlignLeft || hasFocus()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    const QRect client = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    painter.fillRect(client, palette().color(QPalette::Base));

    const QString shown = displayText();
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(shown);
    const int margin = TextMargin();
    // In client coordinates: right-aligned at the margin, or centred (truncating).
    const int x = FAlignment == Qt::AlignHCenter ? (client.width() - width) / 2
                                                 : client.width() - width - margin;
    painter.setClipRect(client);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(client.left() + x, client.top() + margin + metrics.ascent(), shown);
}

// ---- TMasks -----------------------------------------------------------------------------

void TMasks::Store(QString &field, const QString &mask) {
    const QString cut = mask.left(MaxLength);
    if (cut == field)
        return;
    field = cut;
    if (FOnChange)
        FOnChange();
}

void TMasks::Assign(const TMasks &source) {
    const QString positive = source.FPositiveMask, negative = source.FNegativeMask,
                  zero = source.FZeroMask;
    if (positive == FPositiveMask && negative == FNegativeMask && zero == FZeroMask)
        return;
    FPositiveMask = positive;
    FNegativeMask = negative;
    FZeroMask = zero;
    if (FOnChange)
        FOnChange();
}

std::string TMasks::Format(double value) const {
    return FormatFloat((FPositiveMask + u';' + FNegativeMask + u';' + FZeroMask).toStdString(),
                       value);
}

// ---- TCustomNumEdit ---------------------------------------------------------------------

TCustomNumEdit::TCustomNumEdit(QWidget *parent)
    : TCustomStrEdit(parent), FMasks([this] { Reformat(); }) {
    SetAlignment(Qt::AlignRight);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    connect(this, &QLineEdit::textChanged, this, [this] { CallEvent(OnChange, this); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { FocusMoved(now); });
    Reformat();
}

void TCustomNumEdit::SetValue(double value) {
    if (value == FValue)
        return;
    if (!InRange(value)) {
        MessageDlg(RangeMessage(FMin, FMax), mtInformation, mbOK);
        return;
    }
    FValue = value;
    Reformat();
}

void TCustomNumEdit::SetNumericType(TNumericType numericType) {
    if (numericType == FNumericType)
        return;
    FNumericType = numericType;
    Reformat();
}

void TCustomNumEdit::SetDecimals(int decimals) {
    if (decimals == FDecimals)
        return;
    FDecimals = decimals;
    Reformat();
}

void TCustomNumEdit::SetDigits(int digits) {
    if (digits == FDigits)
        return;
    FDigits = digits;
    Reformat();
}

void TCustomNumEdit::SetUseRounding(bool useRounding) {
    if (useRounding == FUseRounding)
        return;
    FUseRounding = useRounding;
    Reformat();
}

void TCustomNumEdit::SetValidate(bool validate) {
    FValidate = validate;
    if (FValidate && (FValue < FMin || FValue > FMax)) {
        FValue = FMin;
        Reformat();
    }
}

void TCustomNumEdit::SetMin(double min) {
    FMin = min;
    if (FValue < FMin) {
        FValue = FMin;
        Reformat();
    }
}

void TCustomNumEdit::SetMax(double max) {
    FMax = max;
    if (FValue > FMax) {
        FValue = FMax;
        Reformat();
    }
}

QString TCustomNumEdit::DisplayText() const {
    double v = FNumericType == ntPercentage ? FValue * 100 : FValue;
    v = RoundToDecimals(v, FDecimals, FUseRounding);
    switch (FNumericType) {
    case ntGeneral:
        return QString::fromStdString(FMasks.Format(v));
    case ntCurrency:
        return QString::fromStdString(FloatToStrF(v, ffCurrency, FDigits, FDecimals));
    case ntPercentage:
        return QString::fromStdString(FloatToStrF(v, ffFixed, FDigits, FDecimals)) + u'%';
    }
    return {};
}

void TCustomNumEdit::Reformat() {
    // A value set while the box is being edited shows in the editing form, which is what the
    // box reads when it is left.
    const QString display = DisplayText();
    setText(FEditing ? EditingForm(display) : display);
}

// The editing form holds the number the display form shows. A value beyond the significant
// digits shows in the scientific form ("1E12"), whose digits alone would read back as another
// number (112); the editing form then writes the shown number in plain digits.
QString TCustomNumEdit::EditingForm(const QString &display) const {
    QString number = display;
    if (FNumericType == ntPercentage && number.endsWith(u'%'))
        number.chop(1);
    double shown = 0;
    if (number.contains(u'E') && TryStrToFloat(number.toStdString(), shown)) {
        const int decimals = std::max(0, FDecimals);
        const std::string pattern = decimals > 0 ? "#,##0." + std::string(decimals, '0') : "#,##0";
        return QString::fromStdString(FormatFloat(pattern, shown));
    }
    return EditingText(display, FValue < 0);
}

void TCustomNumEdit::focusInEvent(QFocusEvent *event) {
    TCustomStrEdit::focusInEvent(event);
    if (!FEditing)
        Enter(event->reason() == Qt::MouseFocusReason);
}

void TCustomNumEdit::Enter(bool byMouse) {
    FEditing = true;
    setText(EditingForm(text()));
    FLengthLimit = std::max(FDigits, 0);
    FSavedAlignment = Alignment();
    SetAlignment(Qt::AlignLeft);
    // Entered by the keyboard, the whole number is selected; a click or a drag places the
    // caret or selects in the editing form as in any edit box.
    if (byMouse)
        deselect();
    else
        selectAll();
    CallEvent(OnEnter, this);
}

void TCustomNumEdit::focusOutEvent(QFocusEvent *event) {
    TCustomStrEdit::focusOutEvent(event);
    // A menu, a context menu or another window taking the keyboard does not leave the box: it
    // keeps its editing form until the focus comes back.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::MenuBarFocusReason ||
        event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (FEditing)
        Guard(this, [this] { Leave(); });
}

void TCustomNumEdit::Leave() {
    const QString number = NumberText(text());
    double x = 0;
    if (!number.isEmpty()) {
        try {
            x = StrToFloat(number.toStdString());
        } catch (const EConvertError &) {
            // No number: the box takes no value and raises no exit event; the error goes on
            // to the application's handler.
            Abandon();
            throw;
        }
    }
    // Min and Max bound the value, so a percentage is checked as the value it gives.
    if (FNumericType == ntPercentage)
        x /= 100;
    if (!InRange(x)) {
        if (isVisible() && isEnabled() && focusPolicy() != Qt::NoFocus) {
            // Taken back before the message, so that no other control is entered meanwhile.
            selectAll();
            setFocus();
            MessageDlg(RangeMessage(FMin, FMax), mtInformation, mbOK);
        } else {
            MessageDlg(RangeMessage(FMin, FMax), mtInformation, mbOK);
            Abandon();
        }
        return;
    }
    FEditing = false;
    FValue = x;
    Reformat();
    const Qt::Alignment unfocused = FSavedAlignment;
    CallEvent(OnExit, this);
    RestoreAlignment(unfocused);
}

// Leaves the editing form without taking a value: the box shows its value again.
void TCustomNumEdit::Abandon() {
    FEditing = false;
    Reformat();
    SetAlignment(FSavedAlignment);
}

// After the exit event; the box may have been entered again by it.
void TCustomNumEdit::RestoreAlignment(Qt::Alignment unfocused) {
    if (FEditing)
        FSavedAlignment = unfocused;
    else
        SetAlignment(unfocused);
}

void TCustomNumEdit::FocusMoved(QWidget *now) {
    // While the window is inactive the box is not told when the focus moves on to another
    // control of the window; once that is seen, the box is left. The menu bar taking the
    // keyboard is no other control: the box is left only when the focus goes on from there.
    if (!FEditing || !now || now == this || now->window() != window() ||
        qobject_cast<QMenuBar *>(now))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (FEditing && !hasFocus() && isActiveWindow())
                Guard(this, [this] { Leave(); });
        },
        Qt::QueuedConnection);
}

void TCustomNumEdit::keyPressEvent(QKeyEvent *event) {
    const QString typed = event->text();
    const bool typing = !typed.isEmpty() && typed.at(0).isPrint() &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (!typing || isReadOnly()) {
        TCustomStrEdit::keyPressEvent(event);
        return;
    }
    TypeText(typed);
    event->accept();
}

void TCustomNumEdit::inputMethodEvent(QInputMethodEvent *event) {
    // What an input method commits is typed text and passes the key filter; nothing is
    // composed in the box.
    if (!isReadOnly())
        TypeText(event->commitString());
    event->accept();
}

void TCustomNumEdit::TypeText(const QString &typed) {
    for (const QChar c : typed) {
        QString rest = text();
        if (hasSelectedText())
            rest.remove(selectionStart(), selectedText().size());
        const TTypedChar verdict = FilterTypedChar(rest, QString(c), FLengthLimit);
        FLengthLimit = verdict.Limit;
        if (verdict.Insert)
            insert(QString(c));
    }
}

// Text is dropped only into the editing form (a drag that is not let in is not dropped); the
// display form always shows the value.
void TCustomNumEdit::dragEnterEvent(QDragEnterEvent *event) {
    if (!FEditing) {
        event->ignore();
        return;
    }
    TCustomStrEdit::dragEnterEvent(event);
}

// ---- TNumEdit ---------------------------------------------------------------------------

TNumEdit::TNumEdit(QWidget *parent) : TCustomNumEdit(parent) {
    resize(85, sizeHint().height());
}
