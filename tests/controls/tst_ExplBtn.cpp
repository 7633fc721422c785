#include "controls/ExplBtn.h"
#include "tests/support/TestMain.h"

#include <QAccessible>
#include <QWindow>

namespace {

const QColor Background(200, 200, 200), Light(Qt::white), Dark(100, 100, 100);
const QColor Key(Qt::magenta), Ink(0, 140, 0);

// 16 x 16, the transparent colour all round an 8 x 8 square at 4, 4; one more key-coloured
// pixel inside the square must show the background too.
QImage Glyph(const QColor &ink = Ink) {
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(Key);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            glyph.setPixelColor(x, y, x == 6 && y == 6 ? Key : ink);
    return glyph;
}

// A window with known colours and a button at 40, 30 in it, driven through the window system.
struct Host {
    QWidget window;
    TExplorerButton button{&window};
    int clicks = 0;
    QPoint mouse{5, 5};

    explicit Host(QSize size = QSize(24, 24)) {
        QPalette palette;
        palette.setColor(QPalette::Window, Background);
        palette.setColor(QPalette::Light, Light);
        palette.setColor(QPalette::Dark, Dark);
        window.setPalette(palette);
        window.resize(200, 100);
        button.move(40, 30);
        button.SetCustomWidth(size.width());
        button.SetCustomHeight(size.height());
        button.SetBitmap(Glyph());
        button.OnClick = [this](QObject *sender) {
            clicks += sender == &button;
        };
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::mouseMove(window.windowHandle(), mouse);
    }
    // Steps: enter, off, back (mouse moves), press, release, right-press, right-release.
    void Do(const QString &script) {
        QWindow *w = window.windowHandle();
        for (const QString &step : script.split(' ', Qt::SkipEmptyParts)) {
            if (step == "enter" || step == "back" || step == "off") {
                mouse = step == "off" ? QPoint(5, 5) : button.geometry().center();
                QTest::mouseMove(w, mouse);
            } else {
                QTest::mouseEvent(step.endsWith("press") ? QTest::MousePress : QTest::MouseRelease,
                                  w, step.startsWith("right") ? Qt::RightButton : Qt::LeftButton,
                                  {}, mouse);
            }
        }
    }
    QImage Look() { return button.grab().toImage(); }
    QPoint GlyphAt() const { return button.Places().Glyph.topLeft(); }
};

QColor Named(const QString &name) {
    return name == "light" ? Light : name == "dark" ? Dark : Background;
}

} // namespace

class TestExplBtn : public QObject {
    Q_OBJECT

private slots:
    void placesGlyphAndCaptionAsAGroup_data() {
        QTest::addColumn<QSize>("button");
        QTest::addColumn<QSize>("caption");
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QRect>("glyph");
        QTest::addColumn<QRect>("text");
        const QSize wide(115, 25), tall(115, 40), word(30, 13);
        QTest::newRow("toolbar icon") << QSize(24, 24) << QSize() << int(blBitmapTop)
                                      << int(Qt::AlignHCenter) << QRect(4, 4, 16, 16) << QRect();
        QTest::newRow("left, centred") << wide << word << int(blBitmapLeft) << int(Qt::AlignHCenter)
                                       << QRect(33, 4, 16, 16) << QRect(51, 6, 30, 13);
        QTest::newRow("left, at left") << wide << word << int(blBitmapLeft) << int(Qt::AlignLeft)
                                       << QRect(3, 4, 16, 16) << QRect(21, 6, 30, 13);
        QTest::newRow("left, at right") << wide << word << int(blBitmapLeft) << int(Qt::AlignRight)
                                        << QRect(64, 4, 16, 16) << QRect(82, 6, 30, 13);
        QTest::newRow("right") << wide << word << int(blBitmapRight) << int(Qt::AlignHCenter)
                               << QRect(65, 4, 16, 16) << QRect(33, 6, 30, 13);
        QTest::newRow("top") << tall << word << int(blBitmapTop) << int(Qt::AlignHCenter)
                             << QRect(49, 4, 16, 16) << QRect(42, 22, 30, 13);
        QTest::newRow("bottom") << tall << word << int(blBitmapBottom) << int(Qt::AlignHCenter)
                                << QRect(49, 19, 16, 16) << QRect(42, 4, 30, 13);
    }
    void placesGlyphAndCaptionAsAGroup() {
        QFETCH(QSize, button);
        QFETCH(QSize, caption);
        QFETCH(int, layout);
        QFETCH(int, alignment);
        const TExplorerButtonPlaces places =
            PlaceGlyphAndCaption(button, QSize(16, 16), caption, TExplorerButtonLayout(layout),
                                 Qt::Alignment(alignment));
        QTEST(places.Glyph, "glyph");
        QTEST(places.Caption, "text");
    }

    void clickNeedsLeftPressAndReleaseOverTheButton_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("clicks");
        QTest::newRow("click") << "enter press release" << 1;
        QTest::newRow("dragged off") << "enter press off release" << 0;
        QTest::newRow("dragged off and back") << "enter press off back release" << 1;
        QTest::newRow("release without press") << "enter release" << 0;
        QTest::newRow("right button") << "enter right-press right-release" << 0;
    }
    void clickNeedsLeftPressAndReleaseOverTheButton() {
        QFETCH(QString, script);
        Host host;
        host.Do(script);
        QTEST(host.clicks, "clicks");
    }

    void bevelAndGlyphFollowTheMouse_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("bevelStyle");
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("bevel"); // colours of the top-left and bottom-right pixels
        QTest::addColumn<int>("shift");
        const int raised = bsRaised, lowered = bsLowered, plain = boShowBevel;
        QTest::newRow("flat") << "" << raised << plain << "bg bg" << 0;
        QTest::newRow("hot") << "enter" << raised << plain << "light dark" << 0;
        QTest::newRow("pressed") << "enter press" << raised << plain << "dark light" << 1;
        QTest::newRow("dragged off") << "enter press off" << raised << plain << "bg bg" << 0;
        QTest::newRow("dragged back")
            << "enter press off back" << raised << plain << "dark light" << 1;
        QTest::newRow("released") << "enter press release" << raised << plain << "light dark" << 0;
        QTest::newRow("left") << "enter off" << raised << plain << "bg bg" << 0;
        QTest::newRow("lowered hot") << "enter" << lowered << plain << "dark light" << 0;
        QTest::newRow("lowered pressed") << "enter press" << lowered << plain << "light dark" << 1;
        QTest::newRow("no bevel") << "enter press" << raised << 0 << "bg bg" << 1;
        QTest::newRow("no depress")
            << "enter press" << raised << (plain | boNoDepress) << "dark light" << 0;
    }
    void bevelAndGlyphFollowTheMouse() {
        QFETCH(QString, script);
        QFETCH(int, bevelStyle);
        QFETCH(int, options);
        QFETCH(QString, bevel);
        QFETCH(int, shift);
        Host host;
        host.button.SetBevelStyle(TExplorerBevelStyle(bevelStyle));
        host.button.SetOptions(TExplorerButtonOptions::fromInt(options));
        host.Do(script);
        const QImage look = host.Look();
        QCOMPARE(look.pixelColor(0, 0), Named(bevel.section(' ', 0, 0)));
        QCOMPARE(look.pixelColor(23, 23), Named(bevel.section(' ', 1, 1)));
        // the square's corner, and the transparent pixel just before it
        const QPoint corner = host.GlyphAt() + QPoint(4 + shift, 4 + shift);
        QCOMPARE(look.pixelColor(corner), Ink);
        QCOMPARE(look.pixelColor(corner - QPoint(1, 1)), Background);
    }

    void iconOnlyButtonShowsTheGlyphCentredOnTheBackgroundAndNoCaption() {
        Host host;
        host.button.SetOptions(boIconOnly | boShowBevel);
        host.button.SetCaption("Print");
        QImage expected(24, 24, QImage::Format_RGB32);
        expected.fill(Background);
        for (int y = 8; y < 16; ++y)
            for (int x = 8; x < 16; ++x)
                expected.setPixelColor(x, y, x == 10 && y == 10 ? Background : Ink);
        QCOMPARE(host.Look().convertToFormat(QImage::Format_RGB32), expected);
    }

    // A glyph drawn for a sharper screen (a pixel ratio of 2 holds 32 x 32 pixels in 16 x 16
    // of the design) is placed by its design size and shows every one of its own pixels: a
    // checkerboard of single pixels survives, as it would not if it were scaled.
    void aGlyphForASharperScreenShowsEveryPixel_data() {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("enabled") << true;
        QTest::newRow("disabled, embossed") << false;
    }
    void aGlyphForASharperScreenShowsEveryPixel() {
        QFETCH(bool, enabled);
        const qreal ratio = qApp->devicePixelRatio();
        QImage glyph(QSize(16, 16) * ratio, QImage::Format_RGB32);
        glyph.setDevicePixelRatio(ratio);
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x)
                glyph.setPixelColor(x, y, (x + y) % 2 ? Ink : Key);
        Host host;
        host.button.SetBitmap(glyph);
        host.button.setEnabled(enabled);
        QCOMPARE(host.button.Places().Glyph.size(), QSize(16, 16));
        const QImage look = host.Look();
        QCOMPARE(look.devicePixelRatio(), ratio);
        const QPoint at = host.GlyphAt() * ratio;
        const QColor ink = enabled ? Ink : Dark;
        for (int y = 2; y < 14 * ratio; ++y)
            for (int x = 2; x < 14 * ratio; ++x)
                if ((x + y) % 2)
                    QCOMPARE(look.pixelColor(at + QPoint(x, y)), ink);
                else
                    QVERIFY(look.pixelColor(at + QPoint(x, y)) != ink);
    }

    void disabledButtonIgnoresTheMouseAndEmbossesItsGlyph() {
        Host host;
        host.button.SetEnabled(false);
        host.Do("enter press");
        QImage look = host.Look();
        QCOMPARE(look.pixelColor(0, 0), Background);
        QCOMPARE(look.pixelColor(23, 23), Background);
        // the shape in the shadow colour over its highlight copy one pixel right and down
        const QPoint square = host.GlyphAt() + QPoint(4, 4);
        QCOMPARE(look.pixelColor(square), Dark);
        QCOMPARE(look.pixelColor(square + QPoint(8, 8)), Light);
        QCOMPARE(look.pixelColor(square + QPoint(8, 0)), Background);
        host.Do("release");
        QCOMPARE(host.clicks, 0);

        host.button.SetDisabledBitmap(Glyph(Qt::blue));
        QCOMPARE(host.Look().pixelColor(square), QColor(Qt::blue));

        // enabled again under the mouse: the normal glyph with the raised bevel, and it clicks
        host.button.SetEnabled(true);
        look = host.Look();
        QCOMPARE(look.pixelColor(0, 0), Light);
        QCOMPARE(look.pixelColor(square), Ink);
        host.Do("press release");
        QCOMPARE(host.clicks, 1);
    }

    void captionStandsBesideTheGlyphInTheColourOfTheMouseState() {
        Host host(QSize(115, 25));
        host.button.SetLayout(blBitmapLeft);
        host.button.SetCaption(" &OK");
        QFont font("Arial");
        font.setPixelSize(11);
        font.setStyleStrategy(QFont::NoAntialias);
        host.button.SetFont(font);
        host.button.SetUnselectedFontColor(Qt::red);
        QPalette palette = host.button.palette();
        palette.setColor(QPalette::WindowText, Qt::blue);
        host.button.setPalette(palette);
        const TExplorerButtonPlaces places = host.button.Places();
        QCOMPARE(places.Caption.left(), places.Glyph.right() + 3);
        auto inkOutsideCaption = [&](const QImage &look, const QColor &ink) {
            int inside = 0, outside = 0;
            for (int y = 0; y < look.height(); ++y)
                for (int x = 0; x < look.width(); ++x)
                    if (look.pixelColor(x, y) == ink)
                        ++(places.Caption.contains(x, y) ? inside : outside);
            return inside > 0 ? outside : -1;
        };
        QCOMPARE(inkOutsideCaption(host.Look(), Qt::red), 0);
        host.Do("enter");
        QCOMPARE(inkOutsideCaption(host.Look(), Qt::blue), 0);
        // the mnemonic letter is underlined
        const QImage underlined = host.Look();
        host.button.SetCaption(" OK");
        QVERIFY(host.Look() != underlined);
    }

    void mouseEnteringAndLeavingRaisesOnEnterAndOnExit() {
        Host host;
        QStringList events;
        host.button.OnEnter = [&](QObject *sender) {
            events << (sender == &host.button ? "enter" : "?");
        };
        host.button.OnExit = [&](QObject *sender) {
            events << (sender == &host.button ? "exit" : "?");
        };
        host.Do("enter");
        QCOMPARE(events, QStringList{"enter"});
        host.Do("off");
        QCOMPARE(events, QStringList({"enter", "exit"}));
    }

    void altAndTheMnemonicLetterClicks() {
        Host host(QSize(115, 25));
        host.button.SetCaption(" &OK");
        QTest::keyClick(&host.window, Qt::Key_K, Qt::AltModifier);
        QCOMPARE(host.clicks, 0);
        QTest::keyClick(&host.window, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(host.clicks, 1);
        host.button.SetEnabled(false);
        QTest::keyClick(&host.window, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(host.clicks, 1);
        host.button.SetEnabled(true);
        host.button.hide();
        QTest::keyClick(&host.window, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(host.clicks, 1);
    }

    // A screen reader reads the caption as the user sees it, or the name the program gave.
    void assistiveTechnologyReadsTheCaptionAsItsName_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("givenName");
        QTest::addColumn<QString>("name");
        auto row = [](const char *caption, const char *givenName, const char *name) {
            QTest::newRow(name) << caption << givenName << name;
        };
        row("  Quit", "", "Quit"); // set off from the glyph
        row(" &OK", "", "OK");
        row("  Return", "Back", "Back");
        row("", "Print", "Print"); // glyph only
    }
    void assistiveTechnologyReadsTheCaptionAsItsName() {
        QFETCH(QString, caption);
        QFETCH(QString, givenName);
        QFETCH(QString, name);
        Host host;
        host.button.SetCaption(caption);
        host.button.setAccessibleName(givenName);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&host.button);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Button);
        QCOMPARE(a->text(QAccessible::Name), name);
    }

    void aPressCutShortByHidingOrDisablingIsForgotten_data() {
        QTest::addColumn<bool>("hide");
        QTest::newRow("hidden") << true;
        QTest::newRow("disabled") << false;
    }
    void aPressCutShortByHidingOrDisablingIsForgotten() {
        QFETCH(bool, hide);
        Host host;
        host.Do("enter press");
        host.button.setVisible(!hide);
        host.button.SetEnabled(hide);
        host.Do("release");
        host.button.setVisible(true);
        host.button.SetEnabled(true);
        host.Do("off back");
        QCOMPARE(host.clicks, 0);
        QCOMPARE(host.Look().pixelColor(0, 0), Light); // hot, not pressed
    }
};

QUORVALE_TEST_MAIN(TestExplBtn)
#include "tst_ExplBtn.moc"
