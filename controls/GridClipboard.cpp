#include "controls/GridClipboard.h"

#include "controls/Aligrid.h"

#include <QMimeData>
#include <QRegularExpression>

namespace {

QString CellText(const TStringGrid &grid, int col, int row) {
    static const QRegularExpression breaks(QStringLiteral("[\\t\\r\\n]+"));
    return grid.Cells(col, row).replace(breaks, QStringLiteral(" ")).trimmed();
}

} // namespace

QString GridTabText(const TStringGrid &Grid) {
    QString text;
    for (int row = 0; row < Grid.RowCount(); ++row) {
        for (int col = 0; col < Grid.ColCount(); ++col) {
            if (col > 0)
                text += QLatin1Char('\t');
            text += CellText(Grid, col, row);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QString GridHtmlTable(const TStringGrid &Grid) {
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><table>\n");
    for (int row = 0; row < Grid.RowCount(); ++row) {
        html += QStringLiteral("<tr>");
        for (int col = 0; col < Grid.ColCount(); ++col)
            html += QStringLiteral("<td>%1</td>").arg(CellText(Grid, col, row).toHtmlEscaped());
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table></body></html>\n");
}

QMimeData *GridMimeData(const TStringGrid &Grid) {
    auto *data = new QMimeData;
    data->setText(GridTabText(Grid));
    data->setHtml(GridHtmlTable(Grid));
    return data;
}
