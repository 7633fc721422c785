#include "tests/support/Layout.h"

#include "controls/Aligrid.h"
#include "controls/ExplBtn.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QWidget>
#include <climits>

namespace {

QString Name(const QWidget *w) {
    if (!w->objectName().isEmpty())
        return w->objectName();
    const auto *label = qobject_cast<const QLabel *>(w);
    if (label && !label->text().isEmpty())
        return '"' + label->text().left(24) + '"';
    const QRect r = w->geometry();
    return QStringLiteral("%1 at %2, %3")
        .arg(QString::fromLatin1(w->metaObject()->className()))
        .arg(r.x())
        .arg(r.y());
}

// The width a standard button's caption needs: a radio item or check box its size hint, which
// is its mark and caption; a push button its caption between the style's margins (its size
// hint is widened to a minimum that narrower design buttons need not reach). 0 for the rest.
int ButtonNeeds(const QAbstractButton *button) {
    if (button->text().isEmpty())
        return 0;
    if (qobject_cast<const QRadioButton *>(button) || qobject_cast<const QCheckBox *>(button))
        return button->sizeHint().width();
    if (qobject_cast<const QPushButton *>(button)) {
        QString caption = button->text();
        caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        return button->fontMetrics().horizontalAdvance(caption) +
               2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    }
    return 0;
}

// The grid's headings (its fixed row and column) each within its cell, as the grid draws them.
void CheckHeadings(const TStringAlignGrid &grid, QStringList &faults) {
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col) {
            if (row >= grid.FixedRows() && col >= grid.FixedCols())
                continue;
            const QRect cell(0, 0, grid.ColWidths(col), grid.RowHeights(row));
            const QFontMetrics metrics(grid.FontCell(col, row).Font);
            for (const QString &line : CellTextLines(grid.Cells(col, row))) {
                const int width = metrics.horizontalAdvance(line);
                const int left = AlignedTextLeft(grid.AlignCell(col, row), cell, width);
                if (left < 0 || left + width > cell.width())
                    faults << QStringLiteral("%1 needs %2 wide for \"%3\" in %4")
                                  .arg(Name(&grid))
                                  .arg(width)
                                  .arg(line)
                                  .arg(cell.width());
            }
        }
}

void Check(const QWidget *parent, QStringList &faults) {
    if (const auto *grid = dynamic_cast<const TStringAlignGrid *>(parent))
        CheckHeadings(*grid, faults);
    QList<const QWidget *> shown;
    for (const QObject *o : parent->children())
        if (o->isWidgetType() && !static_cast<const QWidget *>(o)->isWindow() &&
            static_cast<const QWidget *>(o)->isVisibleTo(parent))
            shown << static_cast<const QWidget *>(o);
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j)
            if (shown[i]->geometry().intersects(shown[j]->geometry()))
                faults << Name(shown[i]) + " overlaps " + Name(shown[j]);
        if (const auto *label = qobject_cast<const QLabel *>(shown[i]);
            label && !label->text().isEmpty()) {
            const QRect box = label->contentsRect();
            const QFontMetrics metrics(label->font());
            // A label with a buddy shows its access key underlined, not as "&".
            QString text = label->text();
            if (label->buddy())
                text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
            const QRect need =
                label->wordWrap()
                    ? metrics.boundingRect(QRect(0, 0, box.width(), INT_MAX),
                                           int(label->alignment()) | Qt::TextWordWrap, text)
                    : QRect(0, 0, metrics.horizontalAdvance(text), metrics.height());
            if (need.width() > box.width() || need.height() > box.height())
                faults << QStringLiteral("%1 needs %2 x %3 for \"%4\" in %5 x %6")
                              .arg(QString::fromLatin1("label"))
                              .arg(need.width())
                              .arg(need.height())
                              .arg(label->text())
                              .arg(box.width())
                              .arg(box.height());
        }
        // A label's text cut by the edge of what holds it.
        if (const auto *label = qobject_cast<const QLabel *>(shown[i]);
            label && !label->text().isEmpty() &&
            (label->x() < 0 || label->geometry().right() >= parent->width()))
            faults << QStringLiteral("%1 runs out of %2 at %3 to %4 of %5")
                          .arg(Name(label), Name(parent))
                          .arg(label->x())
                          .arg(label->geometry().right())
                          .arg(parent->width());
        if (const auto *button = qobject_cast<const TExplorerButton *>(shown[i]);
            button && !button->Places().Caption.isEmpty() &&
            !QRect(QPoint(), button->size()).contains(button->Places().Caption))
            faults << QStringLiteral("%1 cuts \"%2\": it is %3 wide")
                          .arg(Name(button), button->Caption())
                          .arg(button->width());
        if (const auto *button = qobject_cast<const QAbstractButton *>(shown[i]))
            if (const int need = ButtonNeeds(button); need > button->width())
                faults << QStringLiteral("%1 needs %2 wide for \"%3\" in %4")
                              .arg(Name(button))
                              .arg(need)
                              .arg(button->text())
                              .arg(button->width());
        Check(shown[i], faults);
    }
}

} // namespace

QStringList LayoutFaults(const QWidget *window) {
    QStringList faults;
    Check(window, faults);
    return faults;
}
