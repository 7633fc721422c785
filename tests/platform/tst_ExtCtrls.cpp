#include "platform/ExtCtrls.h"
#include "tests/support/TestMain.h"

#include <QLineEdit>
#include <QRadioButton>

class TestExtCtrls : public QObject {
    Q_OBJECT

private slots:
    void aRadioGroupRaisesClickOnlyWhenTheUserSelectsAnotherItem() {
        QWidget window;
        TRadioGroup group(&window);
        group.setGeometry(0, 0, 150, 78);
        group.SetColumns(3);
        group.SetItems({"100", "250", "500", "1000", "2000", "2500", "3000", "4000", "5000"});
        int clicks = 0;
        QObject *sender = nullptr;
        group.OnClick = [&](QObject *s) {
            ++clicks;
            sender = s;
        };
        group.SetItemIndex(3);
        QCOMPARE(group.ItemIndex(), 3);
        QCOMPARE(clicks, 0); // set from code
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::mouseClick(group.Button(5), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(group.ItemIndex(), 5);
        QCOMPARE(clicks, 1);
        QCOMPARE(sender, &group);
        QTest::mouseClick(group.Button(5), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks, 1); // the selected item again: nothing changes

        window.activateWindow();
        group.Button(5)->setFocus();
        QTRY_VERIFY(group.Button(5)->hasFocus());
        QTest::keyClick(group.Button(5), Qt::Key_Up); // by keyboard
        QCOMPARE(group.ItemIndex(), 4);
        QCOMPARE(clicks, 2);

        group.SetItemIndex(-1);
        QCOMPARE(group.ItemIndex(), -1);
        QCOMPARE(clicks, 2);
    }

    void theKeyboardEntersAGroupAtItsSelectedItem() {
        QWidget window;
        QLineEdit before(&window);
        TRadioGroup group(&window);
        group.setGeometry(0, 30, 150, 78);
        group.SetItems({"a", "b", "c"});
        QLineEdit after(&window);
        after.move(0, 120);
        QWidget::setTabOrder(&before, group.Button(0));
        QWidget::setTabOrder(group.Button(0), group.Button(1));
        QWidget::setTabOrder(group.Button(1), group.Button(2));
        QWidget::setTabOrder(group.Button(2), &after);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (int selected : {-1, 2, 1}) {
            group.SetItemIndex(selected);
            before.setFocus();
            QTest::keyClick(&before, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), group.Button(std::max(selected, 0)));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), &after);
        }
    }

    void radioItemsFillColumnsTopToBottom() {
        TRadioGroup group;
        group.resize(150, 78);
        group.SetColumns(3);
        group.SetItems({"a", "b", "c", "d", "e", "f", "g"}); // three to a column
        QCOMPARE(group.Button(1)->x(), group.Button(0)->x());
        QVERIFY(group.Button(1)->y() > group.Button(0)->y());
        QVERIFY(group.Button(3)->x() > group.Button(2)->x());
        QCOMPARE(group.Button(3)->y(), group.Button(0)->y());
        QCOMPARE(group.Button(6)->y(), group.Button(0)->y());
        QVERIFY(group.Button(6)->geometry().right() <= group.width());
        QVERIFY(group.Button(2)->geometry().bottom() <= group.height());
        QCOMPARE(group.Items().size(), 7);
    }

    void panelBevels() {
        TPanel panel;
        panel.resize(40, 30);
        panel.SetBevelOuter(bvRaised);
        panel.SetBevelInner(bvLowered);
        panel.SetBorderWidth(2);
        panel.SetColor(Qt::white);
        const QImage image = panel.grab().toImage();
        const QRgb light = panel.palette().color(QPalette::Light).rgb();
        const QRgb dark = panel.palette().color(QPalette::Dark).rgb();
        QCOMPARE(image.pixel(0, 0), light); // raised outside
        QCOMPARE(image.pixel(39, 29), dark);
        QCOMPARE(image.pixel(3, 3), dark); // lowered inside, after the border
        QCOMPARE(image.pixel(36, 26), light);
        QCOMPARE(image.pixel(20, 15), QColor(Qt::white).rgb());
    }

    void statusBarWritesInTheHighlightColour() {
        TStatusBar bar;
        bar.SetSimpleText(" Welcome");
        QCOMPARE(bar.SimpleText(), QString(" Welcome"));
        QCOMPARE(bar.palette().color(QPalette::WindowText),
                 bar.palette().color(QPalette::Highlight));
    }
};

QUORVALE_TEST_MAIN(TestExtCtrls)
#include "tst_ExtCtrls.moc"
