// A grid's texts as a spreadsheet takes them from the clipboard: every row of the grid, fixed
// rows and columns included, as one line of tab-separated cells, and the same as an HTML table.
// A cell's text is trimmed, and a tab or line break inside it becomes a space, so that the
// pasted block keeps the grid's shape.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QMimeData;
class TStringGrid;

QString GridTabText(const TStringGrid &Grid);
QString GridHtmlTable(const TStringGrid &Grid);
// Both forms together, for QClipboard::setMimeData (which takes ownership).
QMimeData *GridMimeData(const TStringGrid &Grid);

// The same for any table of texts, one list of cells a row.
QString TableTabText(const QList<QStringList> &Rows);
QString TableHtml(const QList<QStringList> &Rows);
QMimeData *TableMimeData(const QList<QStringList> &Rows);
