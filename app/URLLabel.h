// A text label that is a link: it takes another look while the mouse is over it and has the
// shell open its address when it is pressed.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

// A font's style: a set of these, combined with |.
enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = int;

TFontStyles FontStyleOf(const QFont &font);
void SetFontStyleOf(QFont &font, TFontStyles style);

class TURLLabel : public QLabel {
    Q_OBJECT

public:
    // Created black with no style; the window then gives it the look it wants.
    explicit TURLLabel(QWidget *parent = nullptr);

    // The address the shell opens, with its scheme. The maker's home page at creation.
    QString URL() const { return FURL; }
    void SetURL(const QString &url) { FURL = url; }
    // The font's colour and style while the mouse is over the label.
    QColor MouseOverColor() const { return FMouseOverColor; }
    void SetMouseOverColor(const QColor &color) { FMouseOverColor = color; }
    TFontStyles MouseOverFont() const { return FMouseOverFont; }
    void SetMouseOverFont(TFontStyles style) { FMouseOverFont = style; }

    // The label's own font colour and style.
    QColor FontColor() const;
    void SetFontColor(const QColor &color);
    TFontStyles FontStyle() const { return FontStyleOf(font()); }
    void SetFontStyle(TFontStyles style);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QString FURL;
    QColor FMouseOverColor = Qt::blue;
    TFontStyles FMouseOverFont = 0;
    // The look to restore when the mouse leaves; valid while the mouse is over the label.
    bool FMouseOver = false;
    QColor FSavedColor;
    TFontStyles FSavedStyle = 0;
};
