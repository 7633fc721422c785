// Whether a widget is painted at the resolution of a scaled screen, or painted at 1x and then
// enlarged, which shows as blur (smooth enlarging) or as blocks of equal pixels (plain).
#pragma once

#include <QColor>
#include <QImage>
#include <QList>

class QWidget;

// The widget as a screen of `ratio` device pixels to the logical pixel shows it: painted into
// an image of its size times `ratio`, as the window's backing store on that screen is.
QImage PaintedAt(QWidget *widget, int ratio);

// How many of the image's blocks of ratio x ratio device pixels, each one logical pixel, hold
// more than one colour. None when the picture was painted at 1x and enlarged plainly; many
// where text was painted at the device resolution.
int SplitPixels(const QImage &image, int ratio);

// The widths in device pixels of the runs of exactly `colour` along row `y` of the image.
QList<int> RunsOf(const QImage &image, int y, const QColor &colour);
