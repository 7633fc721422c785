#include "controls/FnpNumericEdit.h"
#include "platform/SysUtils.h"
#include "tests/support/TestMain.h"

#include <QClipboard>
#include <QDialog>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>
#include <random>

namespace {

// Keys as a user presses them: ^ Home, $ End, > Right, } Shift+Right, * Ctrl+A, X Ctrl+X,
// V Ctrl+V, \b Backspace, # Delete; anything else is typed.
void Press(QWidget *w, const QString &keys) {
    static const QHash<QChar, QPair<Qt::Key, Qt::KeyboardModifiers>> named{
        {'^', {Qt::Key_Home, {}}},
        {'$', {Qt::Key_End, {}}},
        {'>', {Qt::Key_Right, {}}},
        {'}', {Qt::Key_Right, Qt::ShiftModifier}},
        {'*', {Qt::Key_A, Qt::ControlModifier}},
        {'X', {Qt::Key_X, Qt::ControlModifier}},
        {'V', {Qt::Key_V, Qt::ControlModifier}},
        {'\b', {Qt::Key_Backspace, {}}},
        {'#', {Qt::Key_Delete, {}}}};
    for (const QChar c : keys) {
        if (named.contains(c))
            QTest::keyClick(w, named[c].first, named[c].second);
        else
            QTest::keyClick(w, c.toLatin1());
    }
}

// The fixed-point form, written apart from the box's own rules.
bool FixedPoint(const QString &text, int decimals, QChar separator) {
    const QString pattern = decimals == 0 ? QString("^-?[0-9]+$")
                                          : QString("^-?[0-9]+%1[0-9]{%2}$")
                                                .arg(QRegularExpression::escape(separator))
                                                .arg(decimals);
    return QRegularExpression(pattern).match(text).hasMatch();
}

// A fixed seed per case, or QUORVALE_SEED to replay the one a failure reported.
quint32 Seed(int salt) {
    bool given = false;
    const int seed = qEnvironmentVariableIntValue("QUORVALE_SEED", &given);
    return given ? quint32(seed) : 20240611u + salt;
}

struct TKeyCase {
    const char *Name;
    int Decimals;
    double MinValue, Value;
    const char *Clipboard, *Keys, *Text;
    int Caret;
    const char *Selected, *ClipboardAfter;
};

const TKeyCase KeyCases[] = {
    // the interest box
    {"decimal digit overwritten", 3, 0, 8.75, "", "^>>2", "8.250", 3, "", ""},
    {"nothing typed after the last decimal", 3, 0, 8.75, "", "1", "8.750", 5, "", ""},
    {"separator goes to the first decimal", 3, 0, 8.75, "", "^.125", "8.125", 5, "", ""},
    {"backspace on a decimal digit", 3, 0, 8.75, "", "^>>>\b", "8.500", 2, "", ""},
    {"backspace on the separator", 3, 0, 8.75, "", "^>>\b", "8.750", 1, "", ""},
    {"delete on the separator", 3, 0, 8.75, "", "^>#", "8.750", 2, "", ""},
    {"delete on a decimal digit", 3, 0, 8.75, "", "^>>#", "8.500", 2, "", ""},
    {"digits inserted before the separator", 3, 0, 8.75, "", "^1>2", "182.750", 3, "", ""},
    {"only integer digit becomes zero", 3, 0, 8.75, "", "^>\b", "0.750", 1, "", ""},
    {"select all and delete", 3, 0, 8.75, "", "*#", "0.000", 1, "", ""},
    {"typing over selected decimals", 3, 0, 8.75, "", "^>>}}1", "8.100", 3, "", ""},
    {"minus ignored without negatives", 3, 0, 8.75, "", "-", "8.750", 5, "", ""},
    {"refused key deletes the selection", 3, 0, 52, "", "*x", "0.000", 1, "", ""},
    {"cut decimals", 3, 0, 8.75, "", "^>>}}X", "8.000", 2, "", "75"},
    {"paste over everything", 3, 0, 8.75, "12.5", "*V", "12.500", 4, "", "12.5"},
    // the term box
    {"zero replaced, then digits added", 0, 1, 360, "", "*#24", "24", 2, "", ""},
    {"no leading zero", 0, 1, 360, "", "^0", "360", 0, "", ""},
    {"zero after the first digit", 0, 1, 360, "", "^>0", "3060", 2, "", ""},
    {"minus deletes the selection", 0, 1, 360, "", "*-", "0", 1, "", ""},
    {"refused letter deletes the selection", 0, 1, 360, "", "*a", "0", 1, "", ""},
    {"zeros in front replaced by the digit", 0, 1, 600, "", "^#5", "5", 1, "", ""},
    {"backspace deletes just the selection", 0, 1, 12345, "", "^>}}\b", "145", 1, "", ""},
    {"first digit deleted, the digit replaces the rest", 0, 1, 305, "", "^>\b7", "7", 1, "", ""},
    {"pasted letters dropped", 0, 1, 360, "a1b2", "V", "36012", 5, "", "a1b2"},
    {"pasted control characters are no keys", 0, 1, 360, "1\b\r2", "V", "36012", 5, "", "1\b\r2"},
    // negative numbers allowed
    {"minus toggles the sign", 3, -100, 8.75, "", "-", "-8.750", 6, "", ""},
    {"minus toggles back", 3, -100, 8.75, "", "--", "8.750", 5, "", ""},
    {"negative zero replaced", 0, -10, 0, "", "-24", "-24", 3, "", ""},
    {"negative zero with decimals", 3, -10, 0, "", "-^24", "-24.000", 3, "", ""},
};

} // namespace

class TestFnpNumericEdit : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> FWindow;
    QLineEdit *FBefore = nullptr;
    TFnpNumericEdit *FBox = nullptr;
    QLineEdit *FAfter = nullptr;
    QStringList FLog;

    // The box between two plain edits, entered by Tab with its caret at the end.
    void Enter(int decimals, double minValue, double maxValue, double value) {
        FBox->SetDecimals(decimals);
        FBox->SetMinValue(minValue);
        FBox->SetMaxValue(maxValue);
        FBox->SetValue(value);
        QTest::keyClick(FBefore, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), FBox);
        QTest::keyClick(FBox, Qt::Key_End);
    }

private slots:
    void init() {
        SetFormatSettings(UnitedStatesFormatSettings());
        FWindow = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(FWindow.get());
        layout->addWidget(FBefore = new QLineEdit);
        layout->addWidget(FBox = new TFnpNumericEdit);
        layout->addWidget(FAfter = new QLineEdit);
        FLog.clear();
        const auto log = [this](const char *event) {
            return [this, event](QObject *) {
                FLog << event;
            };
        };
        FBox->OnEnter = log("Enter");
        FBox->OnExit = log("Exit");
        FBox->OnInvalidEntry = log("InvalidEntry");
        FBox->OnChange = log("Change");
        FBox->OnValidChange = log("ValidChange");
        FWindow->show();
        FWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FWindow.get()));
        FBefore->setFocus();
    }

    void aNewBoxShowsZeroWithTwoDecimalsRightAlignedUntilCentred() {
        TFnpNumericEdit box;
        QCOMPARE(box.text(), QString("0.00"));
        QCOMPARE(box.Alignment(), Qt::AlignRight);
        QVERIFY(box.alignment() & Qt::AlignRight);
        box.SetAlignment(Qt::AlignHCenter);
        QVERIFY(box.alignment() & Qt::AlignHCenter);
        QVERIFY(box.AutoSelect());
        QCOMPARE(box.width(), 73);
        QCOMPARE(box.Version(), QString("1.00.08"));
    }

    void keysRewriteTheTextByTheRules_data() {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("minValue");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("clipboardAfter");
        for (const TKeyCase &c : KeyCases)
            QTest::newRow(c.Name) << c.Decimals << c.MinValue << c.Value << c.Clipboard << c.Keys
                                  << c.Text << c.Caret << c.Selected << c.ClipboardAfter;
    }

    void keysRewriteTheTextByTheRules() {
        QFETCH(int, decimals);
        QFETCH(double, minValue);
        QFETCH(double, value);
        QFETCH(QString, clipboard);
        QFETCH(QString, keys);
        QGuiApplication::clipboard()->setText(clipboard);
        Enter(decimals, minValue, 999, value);
        Press(FBox, keys);
        QTEST(FBox->text(), "text");
        QTEST(FBox->cursorPosition(), "caret");
        QTEST(FBox->selectedText(), "selected");
        QTEST(QGuiApplication::clipboard()->text(), "clipboardAfter");
    }

    void commaLocaleUsesItsSeparator() {
        TFormatSettings fs = UnitedStatesFormatSettings();
        fs.DecimalSeparator = ",";
        fs.ThousandSeparator = ".";
        SetFormatSettings(fs);
        Enter(3, 0, 0, 8.75);
        QCOMPARE(FBox->text(), QString("8,750"));
        Press(FBox, "^.,1");
        QCOMPARE(FBox->text(), QString("8,150"));
        QCOMPARE(FBox->Value(), 8.15);
    }

    void enterAndEscapeGoToTheDialog() {
        QDialog dialog;
        auto *box = new TFnpNumericEdit(&dialog);
        auto *ok = new QPushButton("OK", &dialog);
        ok->setDefault(true);
        int clicks = 0, rejects = 0;
        connect(ok, &QPushButton::clicked, [&] { ++clicks; });
        connect(&dialog, &QDialog::rejected, [&] { ++rejects; });
        dialog.show();
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(clicks, 1);
        QCOMPARE(rejects, 1);
        QCOMPARE(box->text(), QString("0.00"));
    }

    void enteringSelectsAllUnlessByMouse_data() {
        QTest::addColumn<bool>("autoSelect");
        QTest::addColumn<bool>("byMouse");
        QTest::addColumn<QString>("selected");
        QTest::newRow("tab") << true << false << "8.750";
        QTest::newRow("mouse") << true << true << "";
        QTest::newRow("tab, no auto select") << false << false << "";
    }

    void enteringSelectsAllUnlessByMouse() {
        QFETCH(bool, autoSelect);
        QFETCH(bool, byMouse);
        FBox->SetAutoSelect(autoSelect);
        FBox->SetDecimals(3);
        FBox->SetValue(8.75);
        FLog.clear();
        if (byMouse)
            QTest::mouseClick(FBox, Qt::LeftButton, {}, FBox->rect().center());
        else
            QTest::keyClick(FBefore, Qt::Key_Tab);
        QTEST(FBox->selectedText(), "selected");
        QCOMPARE(FLog, QStringList{"Enter"});
    }

    void leavingTestsTheRange_data() {
        QTest::addColumn<double>("minValue");
        QTest::addColumn<double>("maxValue");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("0") << 1. << 999. << "" << QStringList{"InvalidEntry", "Exit"};
        QTest::newRow("1000") << 1. << 999. << "1000" << QStringList{"InvalidEntry", "Exit"};
        QTest::newRow("999") << 1. << 999. << "999" << QStringList{"Exit"};
        QTest::newRow("1") << 1. << 999. << "1" << QStringList{"Exit"};
        QTest::newRow("no range") << 5. << 5. << "1000" << QStringList{"Exit"};
    }

    void leavingTestsTheRange() {
        QFETCH(double, minValue);
        QFETCH(double, maxValue);
        QFETCH(QString, digits);
        Enter(0, minValue, maxValue, 360);
        Press(FBox, "*#" + digits);
        const QString text = FBox->text();
        FLog.clear();
        QTest::keyClick(FBox, Qt::Key_Tab);
        QTEST(FLog, "log");
        QCOMPARE(QApplication::focusWidget(), FAfter);
        QCOMPARE(FBox->text(), text); // leaving never changes the text
    }

    void theInvalidEntryHandlerCanPutTheFocusBack() {
        Enter(0, 1, 999, 360);
        FBox->OnInvalidEntry = [this](QObject *) {
            FLog << "InvalidEntry";
            FBox->setFocus();
        };
        Press(FBox, "*#");
        FLog.clear();
        QTest::keyClick(FBox, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), FBox);
        QCOMPARE(FLog, (QStringList{"InvalidEntry", "Enter", "Exit"}));
        QCOMPARE(FBox->text(), QString("0"));
    }

    void eachChangeRaisesOnChangeAndInRangeOnValidChange_data() {
        QTest::addColumn<double>("maxValue");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("log");
        const QStringList change{"Change"}, valid{"Change", "ValidChange"};
        QTest::newRow("out of range") << 999. << QString() << "5" << change;
        QTest::newRow("in range") << 999. << QString() << "\b" << valid;
        QTest::newRow("refused keys") << 999. << QString() << "a.^0" << QStringList();
        QTest::newRow("selection deleted at once") << 999. << QString() << "*#" << change;
        QTest::newRow("paste at once") << 999. << "12"
                                       << "^V" << change;
        QTest::newRow("no range: always valid") << 1. << QString() << "5" << valid;
    }

    void eachChangeRaisesOnChangeAndInRangeOnValidChange() {
        QFETCH(double, maxValue);
        QFETCH(QString, clipboard);
        QFETCH(QString, keys);
        QGuiApplication::clipboard()->setText(clipboard);
        Enter(0, 1, maxValue, 360);
        FLog.clear();
        Press(FBox, keys);
        QTEST(FLog, "log");
    }

    void valueAndDecimalsFormatTheText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("storedDecimals");
        QTest::newRow("rounded to 3") << 8.7516 << 3 << "8.752" << 3;
        QTest::newRow("rounded to 0") << 359.5 << 0 << "360" << 0;
        QTest::newRow("negative") << -2.5 << 1 << "-2.5" << 1;
        QTest::newRow("below 0") << 8.75 << -1 << "9" << 0;
        QTest::newRow("above 9") << 8.75 << 12 << "8.750000000" << 9;
    }

    void valueAndDecimalsFormatTheText() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        FBox->SetDecimals(decimals);
        // 0.00 reformatted with the clamped count of decimals, silently
        QCOMPARE(FBox->text().length(), decimals < 1 ? 1 : 2 + std::min(decimals, 9));
        QCOMPARE(FLog, QStringList{});
        FBox->SetValue(value);
        QCOMPARE(FLog, (QStringList{"Change", "ValidChange"})); // no range: always valid
        QTEST(FBox->text(), "text");
        QTEST(FBox->Decimals(), "storedDecimals");
        QCOMPARE(FBox->Value(), FBox->text().toDouble());
        FBox->SetValue(std::numeric_limits<double>::quiet_NaN());
        QTEST(FBox->text(), "text");
    }

    void aKeyPressHandlerCanChangeOrDropTheKey() {
        Enter(0, 1, 999, 360);
        QString seen;
        FBox->OnKeyPress = [&](QObject *sender, QChar &key) {
            QCOMPARE(sender, FBox);
            seen += key;
            key = key == 'a' ? QChar('7') : key == '5' ? QChar() : key;
        };
        Press(FBox, "a5\b");
        QCOMPARE(seen, QString("a5\b"));
        QCOMPARE(FBox->text(), QString("360"));
        Press(FBox, "a");
        QCOMPARE(FBox->text(), QString("3607"));
    }

    void aReadOnlyBoxKeepsItsText() {
        Enter(0, 1, 999, 360);
        FBox->setReadOnly(true);
        QGuiApplication::clipboard()->setText("5");
        Press(FBox, "1\b^#*XV");
        QCOMPARE(FBox->text(), QString("360"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("5"));
    }

    void theMaximumLengthLimitsTypingOnly() {
        Enter(0, 1, 999, 360);
        FBox->setMaxLength(3);
        Press(FBox, "1");
        QCOMPARE(FBox->text(), QString("360"));
        FBox->SetValue(12345);
        QCOMPARE(FBox->text(), QString("12345"));
        FBox->setMaxLength(2); // the plain edit would cut the text
        QCOMPARE(FBox->text(), QString("12345"));
    }

    void contextMenuCommandsFollowTheRules_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<char>("command");
        QTest::addColumn<QString>("text");
        QTest::newRow("paste") << "a7" << 'p' << "7.000";
        QTest::newRow("delete") << "" << 'd' << "0.000";
        QTest::newRow("cut") << "" << 't' << "0.000";
    }

    void contextMenuCommandsFollowTheRules() {
        QFETCH(QString, clipboard);
        QFETCH(char, command);
        QGuiApplication::clipboard()->setText(clipboard);
        Enter(3, 0, 0, 8.75);
        Press(FBox, "*");
        QTimer::singleShot(0, [command] {
            QWidget *menu = QApplication::activePopupWidget();
            QVERIFY(menu);
            QTest::keyClick(menu, command);
        });
        // through the window, which turns the right button into a context menu request
        QTest::mouseClick(FWindow->windowHandle(), Qt::RightButton, {},
                          FBox->mapTo(FWindow.get(), FBox->rect().center()));
        QTEST(FBox->text(), "text");
    }

    void otherWaysIntoTheTextAreClosed() {
        Enter(0, 1, 999, 360);
        FLog.clear();
        QLineEdit &plain = *FBox;
        plain.setText("abc");
        plain.insert("5");
        plain.clear();
        QGuiApplication::clipboard()->setText("7");
        plain.paste();
        QMimeData dropped;
        dropped.setText("5");
        QDropEvent drop(FBox->rect().center(), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(FBox, &drop);
        QCOMPARE(FBox->text(), QString("360"));
        QCOMPARE(FLog, QStringList{}); // nothing changed, so no change event
        QInputMethodEvent composed("9", {});
        composed.setCommitString("1a2");
        QApplication::sendEvent(FBox, &composed);
        QCOMPARE(FBox->text(), QString("36012")); // committed text counts as typed
    }

    void randomEditsKeepTheFixedPointForm_data() {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("minValue");
        QTest::newRow("0 decimals") << 0 << 1.;
        QTest::newRow("0 decimals, negatives") << 0 << -999.;
        QTest::newRow("3 decimals") << 3 << 0.;
        QTest::newRow("3 decimals, negatives") << 3 << -999.;
    }

    // The rules alone, for many long runs of keys, selections, cuts and pastes.
    void randomEditsKeepTheFixedPointForm() {
        QFETCH(int, decimals);
        QFETCH(double, minValue);
        const quint32 seed = Seed(10 * decimals + (minValue < 0));
        std::mt19937 random(seed);
        const QString keys = "0123456789-.\ba ";
        for (int run = 0; run < 200; ++run) {
            TFnpText s;
            s.Decimals = decimals;
            s.MinValue = minValue;
            s.MaxLength = 12;
            s.Text = decimals ? "0.000" : "0";
            for (int step = 0; step < 500; ++step) {
                const int op = random() % 20;
                if (op == 0) { // select
                    s.SelStart = random() % (s.Text.length() + 1);
                    s.SelLength = random() % (s.Text.length() - s.SelStart + 1);
                } else if (op == 1) {
                    s.DeleteKey();
                } else if (op == 2) { // cut or paste
                    s.DeleteSelection();
                    for (int n = random() % 6; n > 0; --n)
                        s.KeyPress(keys[random() % keys.length()]);
                } else {
                    s.KeyPress(keys[random() % keys.length()]);
                }
                QVERIFY2(
                    FixedPoint(s.Text, decimals, '.') && s.SelStart >= 0 &&
                        s.SelStart + s.SelLength <= s.Text.length() &&
                        s.Text.length() <= s.MaxLength,
                    qPrintable(QString::asprintf("seed %u, run %d, step %d: '%s' caret %d", seed,
                                                 run, step, qPrintable(s.Text), s.SelStart)));
            }
        }
    }

    // The box under real keys, mouse clicks and the clipboard; each edit must give what the
    // rules give for the text, caret and selection the box had.
    void randomKeysOnTheBoxKeepTheFixedPointForm_data() { randomEditsKeepTheFixedPointForm_data(); }

    void randomKeysOnTheBoxKeepTheFixedPointForm() {
        QFETCH(int, decimals);
        QFETCH(double, minValue);
        const quint32 seed = Seed(100 + 10 * decimals + (minValue < 0));
        std::mt19937 random(seed);
        Enter(decimals, minValue, 999, 0);
        const QString typed = "0123456789-.\ba ";
        const Qt::Key moves[] = {Qt::Key_Home, Qt::Key_End, Qt::Key_Left, Qt::Key_Right};
        for (int step = 0; step < 3000; ++step) {
            TFnpText expected;
            expected.Decimals = decimals;
            expected.MinValue = minValue;
            expected.Text = FBox->text();
            expected.SelStart =
                FBox->hasSelectedText() ? FBox->selectionStart() : FBox->cursorPosition();
            expected.SelLength = FBox->selectionLength();
            const int op = random() % 12;
            if (op < 2) { // move or select, by keyboard or mouse
                const Qt::KeyboardModifiers shift =
                    random() % 2 ? Qt::ShiftModifier : Qt::NoModifier;
                if (op == 0)
                    QTest::keyClick(FBox, moves[random() % 4], shift);
                else
                    QTest::mouseClick(FBox, Qt::LeftButton, shift,
                                      QPoint(random() % FBox->width(), FBox->height() / 2));
                continue;
            }
            if (op == 2) {
                Press(FBox, "#");
                expected.DeleteKey();
            } else if (op == 3) {
                Press(FBox, "X");
                expected.DeleteSelection();
            } else if (op == 4) {
                QString clip;
                for (int n = random() % 5; n > 0; --n)
                    clip += typed[random() % typed.length()];
                QGuiApplication::clipboard()->setText(clip);
                Press(FBox, "V");
                expected.DeleteSelection();
                for (const QChar c : clip)
                    if (c.isPrint())
                        expected.KeyPress(c);
            } else {
                const QChar key = typed[random() % typed.length()];
                Press(FBox, key);
                expected.KeyPress(key);
            }
            const int start =
                FBox->hasSelectedText() ? FBox->selectionStart() : FBox->cursorPosition();
            QVERIFY2(
                FixedPoint(FBox->text(), decimals, '.') && FBox->text() == expected.Text &&
                    start == expected.SelStart && FBox->selectionLength() == expected.SelLength,
                qPrintable(QString::asprintf("seed %u, step %d: '%s' at %d, expected '%s' at %d",
                                             seed, step, qPrintable(FBox->text()), start,
                                             qPrintable(expected.Text), expected.SelStart)));
        }
    }
};

QUORVALE_TEST_MAIN(TestFnpNumericEdit)
#include "tst_FnpNumericEdit.moc"
