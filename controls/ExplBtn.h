// The flat toolbar button: it draws a glyph and an optional caption on its parent's background,
// with no border while the mouse is elsewhere, a one-pixel raised bevel while the mouse is over
// it and a sunken bevel while it is pressed.
#pragma once

#include <QColor>
#include <QFlags>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>

enum TExplorerButtonOption {
    boMonoDisplay = 0x01,
    boIconOnly = 0x02,
    boPopupMark = 0x04,
    boShowBevel = 0x08,
    boShowDownPattern = 0x10,
    boTransparent = 0x20,
    boWordWrap = 0x40,
    boNoDepress = 0x80,
};
Q_DECLARE_FLAGS(TExplorerButtonOptions, TExplorerButtonOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TExplorerButtonOptions)

// Where the glyph stands relative to the caption.
enum TExplorerButtonLayout { blBitmapTop, blBitmapBottom, blBitmapLeft, blBitmapRight };

// bsRaised: raised bevel while hot, sunken while pressed; bsLowered swaps the two.
enum TExplorerBevelStyle { bsRaised, bsLowered };

// The places of glyph and caption inside the button; an absent part has an empty rectangle.
struct TExplorerButtonPlaces {
    QRect Glyph;
    QRect Caption;
};

// Places glyph and caption as a group: side by side or one above the other as the layout says,
// 2 pixels apart when both are there, vertically centred, and horizontally centred or 3 pixels
// from the left or right edge as the alignment says (Qt::AlignLeft, Qt::AlignRight, anything
// else centres). An empty captionSize means no caption: the glyph is then placed alone.
TExplorerButtonPlaces PlaceGlyphAndCaption(QSize buttonSize, QSize glyphSize, QSize captionSize,
                                           TExplorerButtonLayout layout, Qt::Alignment alignment);

class TExplorerButton : public QWidget {
    Q_OBJECT

public:
    explicit TExplorerButton(QWidget *parent = nullptr);

    // The glyph; the colour of its top-left pixel is drawn as transparent.
    QImage Bitmap() const { return FBitmap; }
    void SetBitmap(const QImage &bitmap);
    // The glyph of the disabled button; when empty the embossed form of Bitmap is drawn.
    QImage DisabledBitmap() const { return FDisabledBitmap; }
    void SetDisabledBitmap(const QImage &bitmap);
    // "&" marks the mnemonic: that letter is underlined and Alt+letter in the window clicks.
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &caption);
    // boIconOnly, boShowBevel and boNoDepress change a click button; the other options are
    // kept for the features that rest on them (drop-down menus, buttons that stay down).
    TExplorerButtonOptions Options() const { return FOptions; }
    void SetOptions(TExplorerButtonOptions options);
    TExplorerButtonLayout Layout() const { return FLayout; }
    void SetLayout(TExplorerButtonLayout layout);
    // Qt::AlignHCenter (the default), Qt::AlignLeft or Qt::AlignRight.
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment alignment);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled) { setEnabled(enabled); }
    TExplorerBevelStyle BevelStyle() const { return FBevelStyle; }
    void SetBevelStyle(TExplorerBevelStyle style);
    // The caption's colour while the mouse is not over the button; over it the font's colour
    // (the palette's WindowText) is used.
    QColor UnselectedFontColor() const { return FUnselectedFontColor; }
    void SetUnselectedFontColor(const QColor &colour);
    // The button's size.
    int CustomWidth() const { return width(); }
    void SetCustomWidth(int width) { setFixedSize(width, height()); }
    int CustomHeight() const { return height(); }
    void SetCustomHeight(int height) { setFixedSize(width(), height); }
    QFont Font() const { return font(); }
    void SetFont(const QFont &font) { setFont(font); }
    // The hint is shown as the tooltip.
    QString Hint() const { return toolTip(); }
    void SetHint(const QString &hint) { setToolTip(hint); }

    // Where glyph and caption stand for the current size, options and font.
    TExplorerButtonPlaces Places() const;
    // Raises OnClick.
    void Click();

    std::function<void(QObject *Sender)> OnClick;
    // Raised when the mouse enters and leaves the button.
    std::function<void(QObject *Sender)> OnEnter;
    std::function<void(QObject *Sender)> OnExit;

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void SetHot(bool hot);
    bool ShowsCaption() const;
    const QImage &ShownGlyph() const;
    void DrawCaption(QPainter &painter, const QRect &place, const QColor &colour) const;

    QImage FBitmap;
    QImage FGlyph; // FBitmap with its transparent colour cleared
    QImage FDisabledBitmap;
    QImage FDisabledGlyph;
    QString FCaption;
    int FShortcutId = 0;
    TExplorerButtonOptions FOptions{boPopupMark, boShowBevel, boShowDownPattern};
    TExplorerButtonLayout FLayout = blBitmapTop;
    Qt::Alignment FAlignment = Qt::AlignHCenter;
    TExplorerBevelStyle FBevelStyle = bsRaised;
    QColor FUnselectedFontColor;
    bool FHot = false;     // the mouse is over the button
    bool FPressed = false; // the left button went down on it and is not yet released
};
