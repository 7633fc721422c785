#include "controls/ExplBtn.h"

#include "platform/Forms.h"

#include <QEnterEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

#include "controls/AccessibleControls.h"

namespace {

// Left edge of a part of the given width: centred, or 3 pixels from the chosen edge.
int AlignedLeft(int available, int width, Qt::Alignment alignment) {
    if (alignment & Qt::AlignLeft)
        return 3;
    if (alignment & Qt::AlignRight)
        return available - 3 - width;
    return (available - width) / 2;
}

// The glyph with every pixel of its top-left pixel's colour made transparent. A glyph drawn for
// a sharper screen keeps its pixel ratio and is placed by its size on the screen.
QImage TransparentGlyph(const QImage &bitmap) {
    if (bitmap.isNull())
        return {};
    QImage glyph = bitmap.convertToFormat(QImage::Format_ARGB32);
    glyph.setDevicePixelRatio(bitmap.devicePixelRatio());
    const QRgb transparent = glyph.pixel(0, 0);
    for (int y = 0; y < glyph.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(glyph.scanLine(y));
        for (int x = 0; x < glyph.width(); ++x)
            if (line[x] == transparent)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return glyph;
}

// The shape of a transparent glyph (every pixel that is not fully transparent) in one colour.
QImage GlyphShape(const QImage &glyph, const QColor &colour) {
    QImage shape(glyph.size(), QImage::Format_ARGB32);
    shape.setDevicePixelRatio(glyph.devicePixelRatio());
    const QRgb ink = colour.rgba();
    for (int y = 0; y < glyph.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(glyph.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(shape.scanLine(y));
        for (int x = 0; x < glyph.width(); ++x)
            to[x] = qAlpha(from[x]) != 0 ? ink : qRgba(0, 0, 0, 0);
    }
    return shape;
}

// A one-pixel frame: top and left lines in one colour, bottom and right in the other.
void DrawBevel(QPainter &painter, const QRect &r, const QColor &topLeft,
               const QColor &bottomRight) {
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

} // namespace

TExplorerButtonPlaces PlaceGlyphAndCaption(QSize buttonSize, QSize glyphSize, QSize captionSize,
                                           TExplorerButtonLayout layout, Qt::Alignment alignment) {
    const QSize glyph = glyphSize.isEmpty() ? QSize(0, 0) : glyphSize;
    const QSize caption = captionSize.isEmpty() ? QSize(0, 0) : captionSize;
    const int gap = glyph.isEmpty() || caption.isEmpty() ? 0 : 2;
    const int width = buttonSize.width();
    const int height = buttonSize.height();
    QRect glyphPlace(QPoint(0, 0), glyph);
    QRect captionPlace(QPoint(0, 0), caption);
    switch (layout) {
    case blBitmapLeft:
    case blBitmapRight: {
        const int left = AlignedLeft(width, glyph.width() + gap + caption.width(), alignment);
        QRect &first = layout == blBitmapLeft ? glyphPlace : captionPlace;
        QRect &second = layout == blBitmapLeft ? captionPlace : glyphPlace;
        first.moveTo(left, (height - first.height()) / 2);
        second.moveTo(first.right() + 1 + gap, (height - second.height()) / 2);
        break;
    }
    case blBitmapTop:
    case blBitmapBottom: {
        const int top = (height - (glyph.height() + gap + caption.height())) / 2;
        QRect &first = layout == blBitmapTop ? glyphPlace : captionPlace;
        QRect &second = layout == blBitmapTop ? captionPlace : glyphPlace;
        first.moveTo(AlignedLeft(width, first.width(), alignment), top);
        second.moveTo(AlignedLeft(width, second.width(), alignment), first.bottom() + 1 + gap);
        break;
    }
    }
    if (caption.isEmpty())
        captionPlace = QRect();
    if (glyph.isEmpty())
        glyphPlace = QRect();
    return {glyphPlace, captionPlace};
}

TExplorerButton::TExplorerButton(QWidget *parent)
    : QWidget(parent), FUnselectedFontColor(palette().color(QPalette::WindowText)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(24, 24);
    InstallAccessibleControls();
}

void TExplorerButton::SetBitmap(const QImage &bitmap) {
    FBitmap = bitmap;
    FGlyph = TransparentGlyph(bitmap);
    update();
}

void TExplorerButton::SetDisabledBitmap(const QImage &bitmap) {
    FDisabledBitmap = bitmap;
    FDisabledGlyph = TransparentGlyph(bitmap);
    update();
}

void TExplorerButton::SetCaption(const QString &caption) {
    FCaption = caption;
    if (FShortcutId != 0)
        releaseShortcut(FShortcutId);
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    FShortcutId = mnemonic.isEmpty() ? 0 : grabShortcut(mnemonic);
    update();
}

void TExplorerButton::SetOptions(TExplorerButtonOptions options) {
    FOptions = options;
    update();
}

void TExplorerButton::SetLayout(TExplorerButtonLayout layout) {
    FLayout = layout;
    update();
}

void TExplorerButton::SetAlignment(Qt::Alignment alignment) {
    FAlignment = alignment;
    update();
}

void TExplorerButton::SetBevelStyle(TExplorerBevelStyle style) {
    FBevelStyle = style;
    update();
}

void TExplorerButton::SetUnselectedFontColor(const QColor &colour) {
    FUnselectedFontColor = colour;
    update();
}

bool TExplorerButton::ShowsCaption() const {
    return !FCaption.isEmpty() && !(FOptions & boIconOnly);
}

const QImage &TExplorerButton::ShownGlyph() const {
    return !isEnabled() && !FDisabledGlyph.isNull() ? FDisabledGlyph : FGlyph;
}

TExplorerButtonPlaces TExplorerButton::Places() const {
    const QSize caption =
        ShowsCaption() ? fontMetrics().size(Qt::TextShowMnemonic, FCaption) : QSize();
    return PlaceGlyphAndCaption(size(), ShownGlyph().deviceIndependentSize().toSize(), caption,
                                FLayout, FAlignment);
}

void TExplorerButton::Click() {
    CallEvent(OnClick, this);
}

void TExplorerButton::SetHot(bool hot) {
    if (hot == FHot)
        return;
    FHot = hot;
    update();
}

// The window's shortcut map sends the mnemonic only to a visible, enabled button.
bool TExplorerButton::event(QEvent *event) {
    if (event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent *>(event)->shortcutId() == FShortcutId) {
        Click();
        return true;
    }
    return QWidget::event(event);
}

// A button disabled or hidden in the middle of a press gets no release: it forgets the press.
void TExplorerButton::changeEvent(QEvent *event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        FPressed = false;
    QWidget::changeEvent(event);
}

void TExplorerButton::hideEvent(QHideEvent *event) {
    FPressed = false;
    FHot = false;
    QWidget::hideEvent(event);
}

void TExplorerButton::enterEvent(QEnterEvent *event) {
    QWidget::enterEvent(event);
    SetHot(true);
    CallEvent(OnEnter, this);
}

void TExplorerButton::leaveEvent(QEvent *event) {
    QWidget::leaveEvent(event);
    SetHot(false);
    CallEvent(OnExit, this);
}

// The window system keeps sending the mouse to the button from a left press until the release,
// wherever the mouse goes: the button is hot only while the mouse is over it.
void TExplorerButton::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    FPressed = true;
    FHot = true;
    update();
}

void TExplorerButton::mouseMoveEvent(QMouseEvent *event) {
    if (FPressed)
        SetHot(rect().contains(event->position().toPoint()));
    else
        QWidget::mouseMoveEvent(event);
}

void TExplorerButton::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || !FPressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    FPressed = false;
    FHot = rect().contains(event->position().toPoint());
    update();
    // The click comes last: its handler may open a modal window or destroy this button, and
    // the button is then already drawn released.
    if (FHot)
        Click();
}

void TExplorerButton::DrawCaption(QPainter &painter, const QRect &place,
                                  const QColor &colour) const {
    painter.setPen(colour);
    painter.drawText(place, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextDontClip,
                     FCaption);
}

// Drawn into an image of the button's size first, then copied to the screen in one piece. The
// highlight colour is the palette's Light, the shadow colour its Dark.
void TExplorerButton::paintEvent(QPaintEvent *) {
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    const QWidget *background = parentWidget() ? parentWidget() : this;
    const QColor highlight = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    const TExplorerButtonPlaces places = Places();
    QPainter painter(&image);
    painter.setFont(font());
    painter.fillRect(rect(), background->palette().color(background->backgroundRole()));
    if (!isEnabled()) {
        // Embossed: the shape once in the highlight colour one pixel right and down, then in
        // the shadow colour at its place.
        if (!FDisabledGlyph.isNull()) {
            painter.drawImage(places.Glyph.topLeft(), FDisabledGlyph);
        } else if (!FGlyph.isNull()) {
            painter.drawImage(places.Glyph.topLeft() + QPoint(1, 1), GlyphShape(FGlyph, highlight));
            painter.drawImage(places.Glyph.topLeft(), GlyphShape(FGlyph, shadow));
        }
        if (ShowsCaption()) {
            DrawCaption(painter, places.Caption.translated(1, 1), highlight);
            DrawCaption(painter, places.Caption, shadow);
        }
    } else {
        const bool down = FPressed && FHot;
        if (FHot && (FOptions & boShowBevel)) {
            const bool sunken = down != (FBevelStyle == bsLowered);
            DrawBevel(painter, rect(), sunken ? shadow : highlight, sunken ? highlight : shadow);
        }
        const QPoint shift = down && !(FOptions & boNoDepress) ? QPoint(1, 1) : QPoint(0, 0);
        if (!FGlyph.isNull())
            painter.drawImage(places.Glyph.topLeft() + shift, FGlyph);
        if (ShowsCaption())
            DrawCaption(painter, places.Caption.translated(shift),
                        FHot ? palette().color(QPalette::WindowText) : FUnselectedFontColor);
    }
    painter.end();
    QPainter(this).drawImage(0, 0, image);
}
