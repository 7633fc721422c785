#include "controls/FnpNumericEdit.h"

#include "platform/Forms.h"
#include "platform/SysUtils.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <algorithm>
#include <cmath>

// ---- The text rules ---------------------------------------------------------------------

namespace {

bool IsDigit(QChar c) {
    return c >= '0' && c <= '9';
}

} // namespace

void TFnpText::KeyPress(QChar key) {
    const bool backspace = key == '\b';
    const bool separator = key == Separator;
    const bool digit = IsDigit(key);
    const TFnpText before = *this;
    // The separator only moves the caret: the selection collapses to it. Any other key, one
    // the box refuses included, first deletes the selection.
    const bool selected = SelLength > 0;
    if (separator)
        SelLength = 0;
    else if (selected)
        DeleteSelection();
    if (!backspace && !separator && !digit && key != '-')
        return;
    if (key == '0' && SelStart == 0)
        return; // no leading zero
    if (separator && Decimals == 0)
        return;
    if (key == '-') {
        if (MinValue < 0) // the sign toggles only where negative numbers are allowed
            ToggleSign();
    } else if (SelStart == Text.length() && Decimals > 0 && digit) {
        return; // nothing can be typed after the last decimal
    } else if (separator) {
        SelStart = Text.length() - Decimals;
    } else if (!(backspace && selected)) { // backspace on a selection deleted only that
        if (Negative() && SelStart == 0)
            SelStart = 1; // nothing goes in front of the sign
        if (backspace)
            DeleteChar(true);
        else
            TypeDigit(key);
    }
    if (Text.length() > MaxLength)
        *this = before;
}

void TFnpText::DeleteKey() {
    if (SelLength > 0)
        DeleteSelection();
    else
        DeleteChar(false);
}

void TFnpText::DeleteSelection() {
    int count = SelLength;
    SelStart += SelLength;
    SelLength = 0;
    while (count-- > 0)
        DeleteChar(true);
}

void TFnpText::DeleteChar(bool backwards) {
    const int i = backwards ? SelStart - 1 : SelStart;
    if (i < 0 || i >= Text.length())
        return;
    const int separator = IntegerEnd();
    if (Decimals > 0 && i > separator) {
        // a decimal digit: the rest shifts left and a zero fills the end
        Text.remove(i, 1);
        Text.append('0');
        SelStart = i;
    } else if (Decimals > 0 && i == separator) {
        SelStart = backwards ? separator : separator + 1;
    } else if (i == IntegerStart() && separator - i == 1) {
        // the only integer digit becomes a zero: the text never loses its integer part
        Text[i] = '0';
        SelStart = 1;
    } else {
        Text.remove(i, 1);
        SelStart = i;
    }
}

void TFnpText::ToggleSign() {
    if (Negative()) {
        Text.remove(0, 1);
        SelStart = std::max(0, SelStart - 1);
    } else {
        Text.prepend('-');
        ++SelStart;
    }
}

void TFnpText::TypeDigit(QChar digit) {
    const int start = IntegerStart();
    const int separator = IntegerEnd();
    if (Text[start] == '0' && SelStart <= start + 1) {
        // a zero in front is replaced, not pushed along: "0" and 2 give "2". Without decimals
        // the digit becomes the whole number: "00" and 5 give "5".
        if (Decimals == 0)
            Text = Text.left(start) + digit;
        else
            Text[start] = digit;
        SelStart = start + 1;
    } else if (Decimals == 0 || SelStart <= separator) {
        Text.insert(SelStart, digit);
        ++SelStart;
    } else {
        Text[SelStart] = digit; // the decimal digits are overwritten
        ++SelStart;
    }
}

// ---- The box ----------------------------------------------------------------------------

namespace {

// The locale's decimal separator as the one character the rules count it as (a locale never
// has more).
QChar LocaleSeparator() {
    const QString separator = QString::fromStdString(FormatSettings().DecimalSeparator);
    return separator.isEmpty() ? QChar('.') : separator.at(0);
}

TFormatSettings SettingsWith(QChar separator) {
    TFormatSettings fs = FormatSettings();
    fs.DecimalSeparator = QString(separator).toStdString();
    return fs;
}

} // namespace

TFnpNumericEdit::TFnpNumericEdit(QWidget *parent) : QLineEdit(parent) {
    setAcceptDrops(false);
    setDragEnabled(false);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    SetAlignment(Qt::AlignRight);
    resize(73, sizeHint().height());
    connect(this, &QLineEdit::textChanged, this, [this] { ForeignChange(); });
    Show(Formatted(0), 0, 0);
}

QString TFnpNumericEdit::Formatted(double value) {
    // The whole text is rebuilt here, so it takes up the locale's separator of the moment; the
    // text in between keeps the one it was built with.
    FSeparator = LocaleSeparator();
    const std::string pattern = FDecimals == 0 ? "0" : "0." + std::string(FDecimals, '0');
    return QString::fromStdString(FormatFloat(pattern, value, SettingsWith(FSeparator)));
}

double TFnpNumericEdit::Value() const {
    return StrToFloat(text().toStdString(), SettingsWith(FSeparator));
}

void TFnpNumericEdit::SetValue(double value) {
    if (!std::isfinite(value))
        return; // no fixed-point form: the box keeps its number
    const QString text = Formatted(value);
    if (text == this->text())
        return;
    Show(text, text.length(), 0);
    Change();
}

void TFnpNumericEdit::SetDecimals(int decimals) {
    const double value = Value();
    FDecimals = std::clamp(decimals, 0, 9);
    const QString text = Formatted(value);
    Show(text, text.length(), 0);
}

void TFnpNumericEdit::SetAlignment(Qt::Alignment alignment) {
    FAlignment = alignment & Qt::AlignHorizontal_Mask;
    setAlignment(FAlignment | Qt::AlignVCenter);
}

void TFnpNumericEdit::CutToClipboard() {
    if (isReadOnly() || !hasSelectedText())
        return;
    copy();
    ClearSelection();
}

void TFnpNumericEdit::PasteFromClipboard(QClipboard::Mode mode) {
    if (isReadOnly())
        return;
    const QString before = text();
    {
        const QScopedValueRollback quiet(FQuiet, true);
        TFnpText state = State();
        state.DeleteSelection();
        Apply(state);
        // Pasted text obeys the same rules as typing. Control characters in it are not keys:
        // a line break cannot press the default button, nor a backspace delete a digit.
        for (const QChar c : QGuiApplication::clipboard()->text(mode))
            if (c.isPrint())
                TypeKey(c);
    }
    if (text() != before)
        Change();
}

void TFnpNumericEdit::ClearSelection() {
    if (isReadOnly())
        return;
    TFnpText state = State();
    state.DeleteSelection();
    Apply(state);
}

void TFnpNumericEdit::keyPressEvent(QKeyEvent *event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        // a dialog key: left to the window, where a default or cancel button takes it
        event->ignore();
        return;
    }
    static const QKeySequence::StandardKey moves[] = {
        QKeySequence::Copy,
        QKeySequence::SelectAll,
        QKeySequence::MoveToNextChar,
        QKeySequence::MoveToPreviousChar,
        QKeySequence::MoveToNextWord,
        QKeySequence::MoveToPreviousWord,
        QKeySequence::MoveToStartOfLine,
        QKeySequence::MoveToEndOfLine,
        QKeySequence::MoveToStartOfBlock,
        QKeySequence::MoveToEndOfBlock,
        QKeySequence::MoveToStartOfDocument,
        QKeySequence::MoveToEndOfDocument,
        QKeySequence::SelectNextChar,
        QKeySequence::SelectPreviousChar,
        QKeySequence::SelectNextWord,
        QKeySequence::SelectPreviousWord,
        QKeySequence::SelectStartOfLine,
        QKeySequence::SelectEndOfLine,
        QKeySequence::SelectStartOfBlock,
        QKeySequence::SelectEndOfBlock,
        QKeySequence::SelectStartOfDocument,
        QKeySequence::SelectEndOfDocument,
    };
    // Moving the caret and copying are the plain edit's; nothing else of it is reached.
    if (std::any_of(std::begin(moves), std::end(moves),
                    [event](QKeySequence::StandardKey k) { return event->matches(k); })) {
        QLineEdit::keyPressEvent(event);
    } else if (event->matches(QKeySequence::Cut)) {
        CutToClipboard();
    } else if (event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
    } else if (key == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        if (!isReadOnly()) {
            TFnpText state = State();
            state.DeleteKey();
            Apply(state);
        }
    } else if (key == Qt::Key_Backspace) {
        TypeKey('\b');
    } else if (!event->text().isEmpty() &&
               !(modifiers & (Qt::ControlModifier | Qt::MetaModifier))) {
        for (const QChar c : event->text())
            if (c.isPrint())
                TypeKey(c);
    } else {
        event->ignore();
    }
}

void TFnpNumericEdit::inputMethodEvent(QInputMethodEvent *event) {
    // What an input method commits counts as typed; its preview is never shown in the text.
    for (const QChar c : event->commitString())
        if (c.isPrint())
            TypeKey(c);
    event->accept();
}

void TFnpNumericEdit::focusInEvent(QFocusEvent *event) {
    const int caret = cursorPosition();
    QLineEdit::focusInEvent(event);
    if (FEntered)
        return; // the window became active again: the box had not been left
    FEntered = true;
    if (FAutoSelect && event->reason() != Qt::MouseFocusReason)
        selectAll();
    else if (hasSelectedText())
        setCursorPosition(caret); // the plain edit selects all when tabbed into
    CallEvent(OnEnter, this);
}

void TFnpNumericEdit::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    // A popup, the menu bar or another window taking the keyboard does not leave the box.
    const Qt::FocusReason reason = event->reason();
    if (!FEntered || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::MenuBarFocusReason)
        return;
    FEntered = false;
    if (FMinValue != FMaxValue && OnInvalidEntry) {
        const double value = Value();
        if (value < FMinValue || value > FMaxValue)
            CallEvent(OnInvalidEntry, this);
    }
    CallEvent(OnExit, this);
}

void TFnpNumericEdit::contextMenuEvent(QContextMenuEvent *event) {
    const bool selected = hasSelectedText();
    const bool writable = !isReadOnly();
    QMenu menu(this);
    menu.addAction(tr("Cu&t"), this, &TFnpNumericEdit::CutToClipboard)
        ->setEnabled(selected && writable);
    menu.addAction(tr("&Copy"), this, &QLineEdit::copy)->setEnabled(selected);
    const QMimeData *clip = QGuiApplication::clipboard()->mimeData();
    menu.addAction(tr("&Paste"), this, [this] { PasteFromClipboard(); })
        ->setEnabled(writable && clip && clip->hasText());
    menu.addAction(tr("&Delete"), this, &TFnpNumericEdit::ClearSelection)
        ->setEnabled(selected && writable);
    menu.addSeparator();
    menu.addAction(tr("Select &All"), this, &QLineEdit::selectAll)
        ->setEnabled(selectedText() != text());
    menu.exec(event->globalPos());
}

void TFnpNumericEdit::mouseReleaseEvent(QMouseEvent *event) {
    // The middle button pastes the X11 selection at the caret its press placed.
    if (event->button() == Qt::MiddleButton) {
        if (QGuiApplication::clipboard()->supportsSelection())
            PasteFromClipboard(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

TFnpText TFnpNumericEdit::State() const {
    TFnpText state;
    state.Decimals = FDecimals;
    state.MinValue = FMinValue;
    state.Separator = FSeparator;
    state.MaxLength = maxLength();
    state.Text = text();
    state.SelStart = hasSelectedText() ? selectionStart() : cursorPosition();
    state.SelLength = selectionLength();
    return state;
}

void TFnpNumericEdit::Apply(const TFnpText &state) {
    const bool changed = state.Text != text();
    Show(state.Text, state.SelStart, state.SelLength);
    if (changed)
        Change();
}

void TFnpNumericEdit::Show(const QString &text, int selStart, int selLength) {
    const bool sameSelection =
        selLength == selectionLength() &&
        selStart == (hasSelectedText() ? selectionStart() : cursorPosition());
    if (text == QLineEdit::text() && sameSelection)
        return; // keeps the direction of a selection that was not touched
    if (text != QLineEdit::text()) {
        const QScopedValueRollback own(FOwnChange, true);
        // The length limit holds for typing only; the box's own text is never cut short.
        if (text.length() > maxLength())
            setMaxLength(text.length());
        FText = text;
        QLineEdit::setText(text);
    }
    if (selLength > 0)
        setSelection(selStart, selLength);
    else
        setCursorPosition(selStart);
}

void TFnpNumericEdit::TypeKey(QChar key) {
    if (OnKeyPress) {
        // A key whose handler failed is not typed.
        if (!CallEvent(OnKeyPress, this, key) || key.isNull())
            return;
    }
    if (isReadOnly())
        return;
    TFnpText state = State();
    state.KeyPress(key);
    Apply(state);
}

void TFnpNumericEdit::Change() {
    if (FQuiet)
        return;
    CallEvent(OnChange, this);
    if (OnValidChange) {
        const double value = Value();
        if (FMinValue == FMaxValue || (FMinValue <= value && value <= FMaxValue))
            CallEvent(OnValidChange, this);
    }
}

void TFnpNumericEdit::ForeignChange() {
    if (FOwnChange)
        return;
    // Only the box's rules write its text: a change from any other path is undone.
    const QScopedValueRollback own(FOwnChange, true);
    if (FText.length() > maxLength())
        setMaxLength(FText.length());
    QLineEdit::setText(FText);
}
