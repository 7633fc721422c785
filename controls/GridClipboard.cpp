#include "controls/GridClipboard.h"

#include "controls/Aligrid.h"

#include <QMimeData>
#include <QRegularExpression>

namespace {

QString CellText(QString text) {
    static const QRegularExpression breaks(QStringLiteral("[\\t\\r\\n]+"));
    return text.replace(breaks, QStringLiteral(" ")).trimmed();
}

QList<QStringList> GridRows(const TStringGrid &grid) {
    QList<QStringList> rows;
    for (int row = 0; row < grid.RowCount(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid.ColCount(); ++col)
            cells.append(grid.Cells(col, row));
        rows.append(cells);
    }
    return rows;
}

} // namespace

QString TableTabText(const QList<QStringList> &Rows) {
    QString text;
    for (const QStringList &row : Rows) {
        for (qsizetype col = 0; col < row.size(); ++col) {
            if (col > 0)
                text += QLatin1Char('\t');
            text += CellText(row[col]);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QString TableHtml(const QList<QStringList> &Rows) {
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><table>\n");
    for (const QStringList &row : Rows) {
        html += QStringLiteral("<tr>");
        for (const QString &cell : row)
            html += QStringLiteral("<td>%1</td>").arg(CellText(cell).toHtmlEscaped());
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table></body></html>\n");
}

QMimeData *TableMimeData(const QList<QStringList> &Rows) {
    auto *data = new QMimeData;
    data->setText(TableTabText(Rows));
    data->setHtml(TableHtml(Rows));
    return data;
}

QString GridTabText(const TStringGrid &Grid) {
    return TableTabText(GridRows(Grid));
}

QString GridHtmlTable(const TStringGrid &Grid) {
    return TableHtml(GridRows(Grid));
}

QMimeData *GridMimeData(const TStringGrid &Grid) {
    return TableMimeData(GridRows(Grid));
}
