// An edit box for a number with a fixed count of decimal places. Its text is always a number
// in fixed-point form (an optional "-", at least one integer digit and, with decimals, the
// locale's decimal separator followed by exactly that many digits): every key is carried out
// by rewriting the text so that it keeps that form, and the value is tested against a range
// when the box is left.
#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <QString>
#include <functional>

// The text of the box with its caret and selection, and the rules every edit obeys. A plain
// value: the box copies its state in, applies one edit and shows the result.
struct TFnpText {
    // The form the text keeps.
    int Decimals = 2;
    double MinValue = 0; // "-" toggles the sign only when this is below 0
    QChar Separator = '.';
    int MaxLength = 32767; // a key whose result would be longer is refused

    QString Text = "0.00";
    int SelStart = 0; // the caret
    int SelLength = 0;

    // One typed character; backspace is '\b'. Anything that would leave the form is refused.
    void KeyPress(QChar key);
    // The Delete key: the character after the caret, or the selection.
    void DeleteKey();
    // Caret to the end of the selection, then one backspace per selected character.
    void DeleteSelection();

private:
    bool Negative() const { return Text.startsWith('-'); }
    int IntegerStart() const { return Negative() ? 1 : 0; }
    // Position of the separator, or the text length when there are no decimals.
    int IntegerEnd() const { return Decimals > 0 ? Text.length() - Decimals - 1 : Text.length(); }
    void DeleteChar(bool backwards);
    void ToggleSign();
    void TypeDigit(QChar digit);
};

class TFnpNumericEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TFnpNumericEdit(QWidget *parent = nullptr);

    // The text as a number; writing formats the number with Decimals places.
    double Value() const;
    void SetValue(double value);
    // 0..9; writing reformats the text without a change event.
    int Decimals() const { return FDecimals; }
    void SetDecimals(int decimals);
    // The accepted range, tested when the box is left; equal bounds mean no range.
    double MinValue() const { return FMinValue; }
    void SetMinValue(double value) { FMinValue = value; }
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double value) { FMaxValue = value; }
    // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment alignment);
    // Select the whole text when the box is entered other than by a mouse press.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool autoSelect) { FAutoSelect = autoSelect; }
    QString Version() const { return "1.00.08"; }

    // The edit commands of the keyboard and the context menu, all under the box's rules.
    void CutToClipboard();
    void PasteFromClipboard(QClipboard::Mode mode = QClipboard::Clipboard);
    void ClearSelection();

    std::function<void(QObject *Sender)> OnChange;
    // After a change of the text whose value lies in the range (always when there is none).
    std::function<void(QObject *Sender)> OnValidChange;
    // The box is being left with a value outside the range; OnExit still follows.
    std::function<void(QObject *Sender)> OnInvalidEntry;
    std::function<void(QObject *Sender)> OnEnter;
    std::function<void(QObject *Sender)> OnExit;
    // Every typed character before the box acts on it; a handler may change it, or drop it
    // by setting it to QChar().
    std::function<void(QObject *Sender, QChar &Key)> OnKeyPress;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The plain edit's own ways of changing the text bypass the rules; they are closed here,
    // and any change that still arrives through a QLineEdit pointer is undone.
    using QLineEdit::backspace;
    using QLineEdit::clear;
    using QLineEdit::cut;
    using QLineEdit::del;
    using QLineEdit::insert;
    using QLineEdit::paste;
    using QLineEdit::redo;
    using QLineEdit::setText;
    using QLineEdit::undo;

    QString Formatted(double value);
    TFnpText State() const;
    // Shows the state; raises the change events when the text changed.
    void Apply(const TFnpText &state);
    void Show(const QString &text, int selStart, int selLength);
    void TypeKey(QChar key);
    void Change();
    void ForeignChange();

    int FDecimals = 2;
    double FMinValue = 0;
    double FMaxValue = 0;
    Qt::Alignment FAlignment = Qt::AlignRight;
    bool FAutoSelect = true;
    bool FEntered = false;
    bool FOwnChange = false; // the box itself is writing the text
    bool FQuiet = false;     // change events held back
    QString FText;           // the text as the rules left it
    QChar FSeparator = '.';  // the decimal separator of the text
};
