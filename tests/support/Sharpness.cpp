#include "tests/support/Sharpness.h"

#include <QWidget>

QImage PaintedAt(QWidget *widget, int ratio) {
    QImage image(widget->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget->render(&image);
    return image;
}

int SplitPixels(const QImage &image, int ratio) {
    int split = 0;
    for (int y = 0; y + ratio <= image.height(); y += ratio)
        for (int x = 0; x + ratio <= image.width(); x += ratio) {
            const QRgb first = image.pixel(x, y);
            bool one = true;
            for (int dy = 0; dy < ratio && one; ++dy)
                for (int dx = 0; dx < ratio && one; ++dx)
                    one = image.pixel(x + dx, y + dy) == first;
            split += one ? 0 : 1;
        }
    return split;
}

QList<int> RunsOf(const QImage &image, int y, const QColor &colour) {
    QList<int> runs;
    int run = 0;
    for (int x = 0; x <= image.width(); ++x) {
        if (x < image.width() && image.pixelColor(x, y) == colour) {
            ++run;
        } else if (run > 0) {
            runs << run;
            run = 0;
        }
    }
    return runs;
}
