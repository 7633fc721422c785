#include "app/URLLabel.h"

#include "app/URL.h"
#include "platform/Forms.h"
#include "platform/ShellApi.h"

#include <QMouseEvent>

TFontStyles FontStyleOf(const QFont &font) {
    return (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
           (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0);
}

void SetFontStyleOf(QFont &font, TFontStyles style) {
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
    font.setStrikeOut(style & fsStrikeOut);
}

TURLLabel::TURLLabel(QWidget *parent)
    : QLabel(parent), FURL(URLPrefix(utHttp) + MakerAddresses().HomePage),
      FMouseOverFont(FontStyle()) {
    SetFontColor(Qt::black);
    SetFontStyle(0);
    setCursor(Qt::PointingHandCursor);
}

QColor TURLLabel::FontColor() const {
    return palette().color(QPalette::WindowText);
}

void TURLLabel::SetFontColor(const QColor &color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void TURLLabel::SetFontStyle(TFontStyles style) {
    QFont f = font();
    SetFontStyleOf(f, style);
    setFont(f);
}

void TURLLabel::enterEvent(QEnterEvent *event) {
    QLabel::enterEvent(event);
    if (FMouseOver)
        return;
    FMouseOver = true;
    FSavedColor = FontColor();
    FSavedStyle = FontStyle();
    SetFontColor(FMouseOverColor);
    SetFontStyle(FMouseOverFont);
    update();
}

void TURLLabel::leaveEvent(QEvent *event) {
    QLabel::leaveEvent(event);
    if (!FMouseOver)
        return;
    FMouseOver = false;
    SetFontColor(FSavedColor);
    SetFontStyle(FSavedStyle);
    update();
}

// Any button opens the address, after the label's ordinary handling of the press.
void TURLLabel::mousePressEvent(QMouseEvent *event) {
    QLabel::mousePressEvent(event);
    Guard(this, [this] {
        ShellExecute(window(), QStringLiteral("open"), FURL, QString(), QString(), SW_SHOWNORMAL);
    });
}
