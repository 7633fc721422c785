#include "controls/Aligrid.h"
#include "tests/support/Sharpness.h"
#include "tests/support/TestMain.h"

#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QToolTip>

Q_DECLARE_METATYPE(TGridCoord)
Q_DECLARE_METATYPE(TMyAlign)

namespace {

const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);

// Text without smoothing, so that every text pixel has the text colour.
QFont CrispArial() {
    QFont font("Arial");
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A grid set up as the main window sets up its result grid.
void SetUpLikeResultGrid(TStringAlignGrid &grid) {
    grid.SetFont({CrispArial(), Black});
    grid.SetColCount(8);
    grid.SetRowCount(12);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetDefaultColWidth(75);
    grid.SetDefaultRowHeight(20);
    grid.SetAlignment(alCenter);
    grid.SetSelectedCellColor(Yellow);
    grid.SetSelectedFontColor(Red);
    grid.SetShowCellHints(false);
    grid.SetTabStop(false);
    grid.resize(612, 257);
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 12; ++r)
            grid.SetCells(c, r, " $786.70");
    grid.SetSelection({4, 6, 4, 6});
    grid.SetColorCol(4, Yellow);
    grid.SetColorRow(6, Yellow);
}

QImage Render(QWidget &widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int CountPixels(const QImage &image, const QRect &area, const QColor &color) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == color)
                ++count;
    return count;
}

// The smallest rectangle holding every pixel of the area that differs from the background.
QRect InkRect(const QImage &image, const QRect &area, const QColor &background) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != background)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The rows of the area that hold ink, gathered into runs of adjacent rows.
QList<QPair<int, int>> InkBands(const QImage &image, const QRect &area, const QColor &background) {
    QList<QPair<int, int>> bands;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRect row(area.left(), y, area.width(), 1);
        if (InkRect(image, row, background).isNull())
            continue;
        if (!bands.isEmpty() && bands.last().second == y - 1)
            bands.last().second = y;
        else
            bands.append({y, y});
    }
    return bands;
}

} // namespace

class TestAligrid : public QObject {
    Q_OBJECT

private slots:
    // Layout ----------------------------------------------------------------------------------

    void cellsFollowTheBorderEachWithItsGridLine_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("corner") << 0 << 0 << QRect(2, 2, 75, 20);
        QTest::newRow("first ordinary") << 1 << 1 << QRect(78, 23, 75, 20);
        QTest::newRow("centre") << 4 << 6 << QRect(306, 128, 75, 20);
        QTest::newRow("last") << 7 << 11 << QRect(534, 233, 75, 20);
        QTest::newRow("past the last column") << 8 << 0 << QRect();
        QTest::newRow("negative row") << 0 << -1 << QRect();
    }
    void cellsFollowTheBorderEachWithItsGridLine() {
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QRect, rect);
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        QCOMPARE(grid.CellRect(col, row), rect);
    }

    void theResultGridFillsItsWindow() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        // 8 columns of 75 + 1 and 12 rows of 20 + 1, inside a 2 pixel border
        QCOMPARE(grid.sizeHint(), QSize(612, 256));
    }

    void aPointBelongsToTheCellOrTheLineAfterIt_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<TGridCoord>("cell");
        QTest::newRow("first pixel") << QPoint(2, 2) << TGridCoord{0, 0};
        QTest::newRow("last pixel of the corner") << QPoint(76, 21) << TGridCoord{0, 0};
        QTest::newRow("line after the corner") << QPoint(77, 22) << TGridCoord{0, 0};
        QTest::newRow("next cell") << QPoint(78, 23) << TGridCoord{1, 1};
        QTest::newRow("centre") << QPoint(340, 140) << TGridCoord{4, 6};
        QTest::newRow("on the border") << QPoint(1, 50) << TGridCoord{-1, -1};
        QTest::newRow("below the last row") << QPoint(100, 255) << TGridCoord{-1, -1};
    }
    void aPointBelongsToTheCellOrTheLineAfterIt() {
        QFETCH(QPoint, point);
        QFETCH(TGridCoord, cell);
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        QCOMPARE(grid.MouseCoord(point.x(), point.y()), cell);
    }

    void gridLinesFollowTheirOptions() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetBorderStyle(bsNone);
        grid.SetOptions(goFixedVertLine | goHorzLine);
        // the fixed column keeps its line, ordinary columns lose theirs; only ordinary rows
        // have one
        QCOMPARE(grid.CellRect(1, 0), QRect(76, 0, 75, 20));
        QCOMPARE(grid.CellRect(2, 1), QRect(151, 20, 75, 20));
        QCOMPARE(grid.CellRect(2, 2), QRect(151, 41, 75, 20));
        QCOMPARE(grid.sizeHint(), QSize(601, 251));
    }

    // Texts and counts ------------------------------------------------------------------------

    void readingOutsideTheGridOrAnUnwrittenCellGivesEmptyText() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetCells(0, 11, " $105,000");
        grid.SetCells(3, 3, QString());
        QCOMPARE(grid.Cells(0, 11), QString(" $105,000"));
        QCOMPARE(grid.Cells(0, 12), QString());
        QCOMPARE(grid.Cells(8, 0), QString());
        QCOMPARE(grid.Cells(-1, 0), QString());
        QCOMPARE(grid.Cells(3, 3), QString());
        grid.SetCells(0, 12, "outside");
        QCOMPARE(grid.Cells(0, 12), QString());
        TStringAlignGrid fresh;
        QCOMPARE(fresh.Cells(1, 1), QString());
    }

    void shrinkingTheGridDropsTheTextsItLoses() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetRowCount(11);
        QCOMPARE(grid.Cells(0, 11), QString());
        grid.SetRowCount(12);
        QCOMPARE(grid.Cells(0, 11), QString());
        QCOMPARE(grid.Cells(0, 10), QString(" $786.70"));
    }

    void countsKeepOneOrdinaryCellAndTheCurrentCellInside() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetFixedRows(20);
        QCOMPARE(grid.FixedRows(), 11);
        QCOMPARE(grid.Row(), 11);
        grid.SetFixedRows(1);
        grid.SetSelection({7, 11, 7, 11});
        grid.SetColCount(5);
        QCOMPARE(grid.Col(), 4);
        QCOMPARE(grid.Selection(), (TGridRect{4, 11, 4, 11}));
        grid.SetColCount(0);
        QCOMPARE(grid.ColCount(), 1);
        QCOMPARE(grid.FixedCols(), 0);
    }

    void aSelectionIsPutInOrderAndKeptToOrdinaryCells() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetSelection({6, 9, 2, 0});
        QCOMPARE(grid.Selection(), (TGridRect{2, 1, 6, 9}));
        QCOMPARE(grid.Col(), 2);
        QCOMPARE(grid.Row(), 1);
        grid.SetOptions(grid.Options() | goRowSelect);
        grid.SetRow(5);
        QCOMPARE(grid.Selection(), (TGridRect{1, 5, 7, 5}));
    }

    // Attributes ------------------------------------------------------------------------------

    // Layers: c = cell, C = column, R = row, F = fixed column, G = fixed row; each set to its own
    // colour, and the colour that wins is named.
    void brushLookupGoesCellColumnRowDefault_data() {
        QTest::addColumn<QString>("layers");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("winner");
        QTest::newRow("cell beats column") << "cCRFG" << 3 << 2 << "c";
        QTest::newRow("column beats row") << "CRFG" << 3 << 2 << "C";
        QTest::newRow("row beats default") << "RFG" << 3 << 2 << "R";
        QTest::newRow("default") << "FG" << 3 << 2 << "default";
        QTest::newRow("cell reaches a fixed cell") << "cCRFG" << 3 << 0 << "c";
        QTest::newRow("fixed column beats fixed row") << "CRFG" << 3 << 0 << "F";
        QTest::newRow("fixed row beats default") << "CRG" << 3 << 0 << "G";
        QTest::newRow("ordinary tables miss a fixed cell") << "CR" << 3 << 0 << "fixed default";
        QTest::newRow("fixed tables miss an ordinary cell") << "FG" << 3 << 2 << "default";
    }
    void brushLookupGoesCellColumnRowDefault() {
        QFETCH(QString, layers);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QString, winner);
        const QMap<QString, QColor> colors{{"c", Qt::red},
                                           {"C", Qt::green},
                                           {"R", Qt::blue},
                                           {"F", Qt::cyan},
                                           {"G", Qt::magenta},
                                           {"default", Qt::white},
                                           {"fixed default", Qt::gray}};
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetColor(colors["default"]);
        grid.SetFixedColor(colors["fixed default"]);
        if (layers.contains('c'))
            grid.SetColorCell(col, row, colors["c"]);
        if (layers.contains('C'))
            grid.SetColorCol(col, colors["C"]);
        if (layers.contains('R'))
            grid.SetColorRow(row, colors["R"]);
        if (layers.contains('F'))
            grid.SetColorFixedCol(col, colors["F"]);
        if (layers.contains('G'))
            grid.SetColorFixedRow(row, colors["G"]);
        QCOMPARE(grid.BrushCell(col, row).Color, colors[winner]);
    }

    void alignmentAndFontFollowTheSameLayers() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetAlignRow(2, alRight);
        grid.SetFixedAlignCol(3, alLeft);
        QCOMPARE(grid.AlignCell(3, 2), alRight);
        QCOMPARE(grid.AlignCell(3, 0), alLeft);
        QCOMPARE(grid.AlignCell(0, 2), alCenter);
        grid.SetAlignCell(0, 2, alLeft);
        QCOMPARE(grid.AlignCell(0, 2), alLeft);

        const TMyFont bold{QFont("Arial", 9, QFont::Bold), Qt::darkBlue};
        grid.SetFontFixedRow(0, bold);
        QCOMPARE(grid.FontCell(5, 0), bold);
        QCOMPARE(grid.FontCell(5, 1), grid.Font());
        grid.SetFontCol(5, bold);
        QCOMPARE(grid.FontCell(5, 1), bold);
    }

    void selectedColoursAndEditableReachFixedCellsToo() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetSelectedColorCol(4, Qt::green);
        grid.SetSelectedColorRow(2, Qt::blue);
        QCOMPARE(grid.SelectedColorCell(4, 0), QColor(Qt::green));
        QCOMPARE(grid.SelectedColorCell(4, 2), QColor(Qt::green));
        QCOMPARE(grid.SelectedColorCell(0, 2), QColor(Qt::blue));
        QCOMPARE(grid.SelectedColorCell(1, 1), Yellow);
        grid.SetSelectedFontColorRow(0, Qt::blue);
        QCOMPARE(grid.SelectedFontColorCell(3, 0), QColor(Qt::blue));
        QCOMPARE(grid.SelectedFontColorCell(3, 1), Red);

        QVERIFY(grid.EditCell(2, 2));
        grid.SetEditRow(2, false);
        grid.SetEditCell(3, 2, true);
        QVERIFY(!grid.EditCell(2, 2));
        QVERIFY(!grid.EditCell(0, 2));
        QVERIFY(grid.EditCell(3, 2));
        grid.SetEditable(false);
        QVERIFY(!grid.EditCell(2, 3));
    }

    void tablesGrowOnDemandLeavingTheGapUnset() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetAlignCol(20, alRight);
        QCOMPARE(grid.AlignCol(20), alRight);
        QCOMPARE(grid.AlignCol(10), alCenter);
        QCOMPARE(grid.AlignCol(21), alCenter);
        QCOMPARE(grid.AlignCol(-1), alCenter);
        grid.SetAlignment(alLeft); // unset entries follow the default
        QCOMPARE(grid.AlignCol(10), alLeft);
        grid.SetHintCell(30, 40, "far");
        QCOMPARE(grid.HintCell(30, 40), QString("far"));
        QCOMPARE(grid.HintCell(30, 39), QString());
        QCOMPARE(grid.HintCell(-1, 0), QString());
    }

    void colouringAColumnStartsFromTheGridBrush() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetBrushRow(3, {Qt::white, Qt::Dense4Pattern});
        grid.SetColorRow(3, Qt::green);
        QCOMPARE(grid.BrushRow(3), (TMyBrush{Qt::green, Qt::Dense4Pattern}));
        QCOMPARE(grid.BrushCol(4), (TMyBrush{Yellow, Qt::SolidPattern}));
        QCOMPARE(grid.BrushFixedCol(4), (TMyBrush{grid.FixedColor(), Qt::SolidPattern}));
    }

    // Drawing ---------------------------------------------------------------------------------

    void textStartsPerAlignment_data() {
        QTest::addColumn<TMyAlign>("align");
        QTest::addColumn<int>("textWidth");
        QTest::addColumn<int>("left");
        QTest::newRow("left") << alLeft << 30 << 102;
        QTest::newRow("right") << alRight << 30 << 143; // ends at 173 = 175 - 2
        QTest::newRow("centre") << alCenter << 30 << 122;
        QTest::newRow("centre, odd gap") << alCenter << 31 << 122;
        QTest::newRow("centre, wider than the cell") << alCenter << 80 << 98;
        QTest::newRow("centre, odd overhang truncates toward zero") << alCenter << 78 << 99;
    }
    void textStartsPerAlignment() {
        QFETCH(TMyAlign, align);
        QFETCH(int, textWidth);
        QFETCH(int, left);
        QCOMPARE(AlignedTextLeft(align, QRect(100, 10, 75, 20), textWidth), left);
    }

    void textSplitsIntoLinesAtCarriageReturns_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("one line") << "abc" << QStringList{"abc"};
        QTest::newRow("CR LF") << "line1\r\nline2" << QStringList{"line1", "line2"};
        QTest::newRow("CR alone") << "a\rb" << QStringList{"a", "b"};
        QTest::newRow("only the first LF is skipped") << "a\r\n\nb" << QStringList{"a", "\nb"};
        QTest::newRow("LF alone stays") << "a\nb" << QStringList{"a\nb"};
        QTest::newRow("trailing CR") << "a\r" << QStringList{"a", ""};
        QTest::newRow("empty") << "" << QStringList{""};
    }
    void textSplitsIntoLinesAtCarriageReturns() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(CellTextLines(text), lines);
    }

    void selectedColoursApplyUnlessTheCellHasTheFocus_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("drawSelection");
        QTest::addColumn<int>("options");
        QTest::addColumn<bool>("selectedColors");
        QTest::newRow("selected") << int(gdSelected) << true << 0 << true;
        QTest::newRow("not selected") << 0 << true << 0 << false;
        QTest::newRow("selection drawing off") << int(gdSelected) << false << 0 << false;
        QTest::newRow("focused") << int(gdSelected | gdFocused) << true << 0 << false;
        QTest::newRow("focused, draw focus selected")
            << int(gdSelected | gdFocused) << true << int(goDrawFocusSelected) << true;
        QTest::newRow("focused, row select")
            << int(gdSelected | gdFocused) << true << int(goRowSelect) << true;
    }
    void selectedColoursApplyUnlessTheCellHasTheFocus() {
        QFETCH(int, state);
        QFETCH(bool, drawSelection);
        QFETCH(int, options);
        QFETCH(bool, selectedColors);
        QCOMPARE(DrawsSelectedColors(TGridDrawState(state), drawSelection, TGridOptions(options)),
                 selectedColors);
    }

    void centreColumnAndRowAreYellowButNotTheirHeadings() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        const QImage image = Render(grid);
        const auto background = [&](int c, int r) {
            return image.pixelColor(grid.CellRect(c, r).topLeft() + QPoint(1, 1));
        };
        for (int r = 1; r < 12; ++r)
            QCOMPARE(background(4, r), Yellow);
        for (int c = 1; c < 8; ++c)
            QCOMPARE(background(c, 6), Yellow);
        QCOMPARE(background(4, 0), grid.FixedColor());
        QCOMPARE(background(0, 6), grid.FixedColor());
        QCOMPARE(background(3, 5), grid.Color());
        // the lines: dark around fixed cells, light between ordinary ones
        QCOMPARE(image.pixelColor(77, 50), QColor(0, 0, 0));
        QCOMPARE(image.pixelColor(153, 50), QColor(192, 192, 192));
    }

    // On a screen scaled by 2 the grid is painted at its resolution, not enlarged from 1x:
    // each line between ordinary cells, one pixel wide, is two device pixels of its grey, and
    // the edges of the texts fall inside logical pixels.
    void theGridIsSharpOnAScreenScaledByTwo() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        const QImage image = PaintedAt(&grid, 2);
        const int y = 2 * (grid.CellRect(1, 3).top() + 1); // above the row's text
        QCOMPARE(RunsOf(image, y, QColor(192, 192, 192)), QList<int>(7, 2));
        QVERIFY(SplitPixels(image, 2) > 1000);
    }

    void theUnfocusedSelectedCellHasRedTextOnYellow() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        const QImage image = Render(grid);
        QVERIFY(!grid.hasFocus());
        const QRect centre = grid.CellRect(4, 6);
        QVERIFY(CountPixels(image, centre, Red) > 20);
        QCOMPARE(CountPixels(image, centre, Black), 0);
        QCOMPARE(CountPixels(image, centre, Yellow) + CountPixels(image, centre, Red),
                 centre.width() * centre.height());
        // its neighbour in the yellow column keeps the normal text colour
        QCOMPARE(CountPixels(image, grid.CellRect(4, 5), Red), 0);
        QVERIFY(CountPixels(image, grid.CellRect(4, 5), Black) > 20);
    }

    void theFocusedSelectedCellHasNormalTextAndAFocusFrame() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();
        QVERIFY(grid.hasFocus());
        const QImage image = Render(grid);
        const QRect centre = grid.CellRect(4, 6);
        QCOMPARE(CountPixels(image, centre, Red), 0);
        QCOMPARE(image.pixelColor(centre.topLeft() + QPoint(1, 1)), Yellow);
        // the frame: a dotted line in the text colour along the cell's edges
        const QRect topEdge(centre.left(), centre.top(), centre.width(), 1);
        const QRect leftEdge(centre.left(), centre.top(), 1, centre.height());
        QVERIFY(CountPixels(image, topEdge, Black) > centre.width() / 3);
        QVERIFY(CountPixels(image, topEdge, Yellow) > centre.width() / 3);
        QVERIFY(CountPixels(image, leftEdge, Black) > centre.height() / 3);
        const QRect text = centre.adjusted(1, 1, -1, -1);
        QVERIFY(CountPixels(image, text, Black) > 20);

        grid.clearFocus();
        const QImage unfocused = Render(grid);
        QCOMPARE(CountPixels(unfocused, topEdge, Black), 0);
        QVERIFY(CountPixels(unfocused, centre, Red) > 20);
    }

    void carriageReturnAndLineFeedDrawTwoLines() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetRowHeights(2, 40);
        grid.SetCells(2, 2, "line1\r\nline2");
        grid.SetCells(3, 2, "line1");
        const QImage image = Render(grid);
        const QColor white = grid.Color();
        const auto twoLines = InkBands(image, grid.CellRect(2, 2), white);
        const auto oneLine = InkBands(image, grid.CellRect(3, 2), white);
        QCOMPARE(twoLines.size(), 2);
        QCOMPARE(oneLine.size(), 1);
        const int textHeight = QFontMetrics(CrispArial()).height();
        QCOMPARE(twoLines[1].first - twoLines[0].first, textHeight);
        QCOMPARE(twoLines[0], oneLine[0]);
        // the first line is exactly "line1": no glyph for the line feed, same centring
        const QRect cell2 = grid.CellRect(2, 2), cell3 = grid.CellRect(3, 2);
        const QRect firstLine(cell2.left(), twoLines[0].first, cell2.width(),
                              twoLines[0].second - twoLines[0].first + 1);
        const QRect single(cell3.left(), oneLine[0].first, cell3.width(),
                           oneLine[0].second - oneLine[0].first + 1);
        QCOMPARE(InkRect(image, firstLine, white).translated(cell3.left() - cell2.left(), 0),
                 InkRect(image, single, white));
    }

    void textIsDrawnTwoPixelsBelowTheTop() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetCells(2, 2, "|");
        const QImage image = Render(grid);
        const QRect cell = grid.CellRect(2, 2);
        const QRect ink = InkRect(image, cell, grid.Color());
        const QFontMetrics metrics(CrispArial());
        // the bar reaches from about the ascent line down to the descent line
        QVERIFY(ink.top() >= cell.top() + 2);
        QCOMPARE(ink.bottom(), cell.top() + 2 + metrics.height() - 1);
        QCOMPARE(InkRect(image, cell.adjusted(0, 0, 0, -(cell.height() - 2)), grid.Color()),
                 QRect());
    }

    void aWideCentredTextIsClippedOnBothSides() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetCells(2, 2, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
        grid.SetCells(1, 2, QString());
        grid.SetCells(3, 2, QString());
        const QImage image = Render(grid);
        const QRect cell = grid.CellRect(2, 2);
        const QRect ink = InkRect(image, cell, grid.Color());
        QVERIFY(ink.left() <= cell.left() + 1);
        QVERIFY(ink.right() >= cell.right() - 1);
        // nothing spills into the neighbours or onto the lines between them
        QCOMPARE(InkRect(image, grid.CellRect(1, 2), grid.Color()), QRect());
        QCOMPARE(InkRect(image, grid.CellRect(3, 2), grid.Color()), QRect());
        QCOMPARE(image.pixelColor(cell.right() + 1, cell.center().y()), QColor(192, 192, 192));
    }

    void leftAndRightTextKeepTwoPixelsFromTheEdge() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetCells(2, 2, "|");
        grid.SetCells(3, 2, "|");
        grid.SetAlignCell(2, 2, alLeft);
        grid.SetAlignCell(3, 2, alRight);
        const QImage image = Render(grid);
        const QFontMetrics metrics(CrispArial());
        const QRect left = grid.CellRect(2, 2), right = grid.CellRect(3, 2);
        const QRect leftInk = InkRect(image, left, grid.Color());
        const QRect rightInk = InkRect(image, right, grid.Color());
        // the bar's ink sits inside its advance width, which starts (or ends) 2 pixels in
        QVERIFY(leftInk.left() >= left.left() + 2);
        QVERIFY(leftInk.right() < left.left() + 2 + metrics.horizontalAdvance("|"));
        QVERIFY(rightInk.right() <= right.right() - 2);
        QVERIFY(rightInk.left() >= right.right() - 1 - metrics.horizontalAdvance("|"));
    }

    // Mouse and keyboard ----------------------------------------------------------------------

    void aClickMakesTheCellCurrentAndRaisesOnClick() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QList<QPair<QObject *, TGridRect>> clicks;
        grid.OnClick = [&](QObject *sender) {
            clicks.append({sender, grid.Selection()});
        };
        QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CellRect(2, 9).center());
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks[0].first, &grid);
        QCOMPARE(clicks[0].second, (TGridRect{2, 9, 2, 9}));
        QCOMPARE(grid.Col(), 2);
        QCOMPARE(grid.Row(), 9);
        QVERIFY(grid.hasFocus()); // click focus

        // a heading moves nothing but is a click all the same
        QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CellRect(5, 0).center());
        QCOMPARE(clicks.size(), 2);
        QCOMPARE(grid.Selection(), (TGridRect{2, 9, 2, 9}));

        // the right button is not a click, nor does it take the focus
        grid.clearFocus();
        QTest::mouseClick(&grid, Qt::RightButton, {}, grid.CellRect(3, 3).center());
        QCOMPARE(clicks.size(), 2);
        QCOMPARE(grid.Col(), 2);
        QVERIFY(!grid.hasFocus());
    }

    void onDrawCellDrawsOverEachCellAndSettingsRepaint() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        QList<TGridCoord> drawn;
        grid.OnDrawCell = [&](QObject *sender, QPainter &canvas, int col, int row,
                              const QRect &rect, TGridDrawState state) {
            QCOMPARE(sender, &grid);
            drawn << TGridCoord{col, row};
            if (col == 2 && row == 3 && !state.testFlag(gdSelected))
                canvas.fillRect(rect.adjusted(-5, -5, 5, 5), Qt::blue); // clipped to the cell
        };
        const QImage image = Render(grid);
        QCOMPARE(drawn.size(), 8 * 12);
        const QRect cell = grid.CellRect(2, 3);
        QCOMPARE(CountPixels(image, cell, Qt::blue), cell.width() * cell.height());
        QCOMPARE(CountPixels(image, cell.adjusted(-1, -1, 1, 1), Qt::blue),
                 cell.width() * cell.height());

        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        for (const auto &set : std::initializer_list<std::function<void()>>{
                 [&] { grid.SetEditable(false); }, [&] { grid.SetEditCell(1, 1, true); },
                 [&] { grid.SetEditCol(2, true); }, [&] { grid.SetEditRow(3, true); },
                 [&] {
                     grid.SetHintCell(1, 1, "hint");
                 }}) {
            QCoreApplication::processEvents();
            drawn.clear();
            set();
            QTRY_VERIFY(!drawn.isEmpty());
        }
    }

    void arrowKeysMoveWithinTheOrdinaryCells_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<TGridCoord>("start");
        QTest::addColumn<TGridCoord>("end");
        QTest::newRow("right") << int(Qt::Key_Right) << 0 << TGridCoord{4, 6} << TGridCoord{5, 6};
        QTest::newRow("left") << int(Qt::Key_Left) << 0 << TGridCoord{4, 6} << TGridCoord{3, 6};
        QTest::newRow("up") << int(Qt::Key_Up) << 0 << TGridCoord{4, 6} << TGridCoord{4, 5};
        QTest::newRow("down") << int(Qt::Key_Down) << 0 << TGridCoord{4, 6} << TGridCoord{4, 7};
        QTest::newRow("left stops at the heading")
            << int(Qt::Key_Left) << 0 << TGridCoord{1, 6} << TGridCoord{1, 6};
        QTest::newRow("up stops at the heading")
            << int(Qt::Key_Up) << 0 << TGridCoord{4, 1} << TGridCoord{4, 1};
        QTest::newRow("right stops at the edge")
            << int(Qt::Key_Right) << 0 << TGridCoord{7, 6} << TGridCoord{7, 6};
        QTest::newRow("down stops at the edge")
            << int(Qt::Key_Down) << 0 << TGridCoord{4, 11} << TGridCoord{4, 11};
        QTest::newRow("home") << int(Qt::Key_Home) << 0 << TGridCoord{4, 6} << TGridCoord{1, 6};
        QTest::newRow("end") << int(Qt::Key_End) << 0 << TGridCoord{4, 6} << TGridCoord{7, 6};
        QTest::newRow("ctrl home") << int(Qt::Key_Home) << int(Qt::ControlModifier)
                                   << TGridCoord{4, 6} << TGridCoord{1, 1};
        QTest::newRow("ctrl end") << int(Qt::Key_End) << int(Qt::ControlModifier)
                                  << TGridCoord{4, 6} << TGridCoord{7, 11};
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 0 << TGridCoord{4, 6}
                                 << TGridCoord{4, 1};
        QTest::newRow("page down")
            << int(Qt::Key_PageDown) << 0 << TGridCoord{4, 6} << TGridCoord{4, 11};
    }
    void arrowKeysMoveWithinTheOrdinaryCells() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(TGridCoord, start);
        QFETCH(TGridCoord, end);
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();
        grid.SetSelection({start.X, start.Y, start.X, start.Y});
        int clicks = 0;
        grid.OnClick = [&](QObject *sender) {
            QCOMPARE(sender, &grid);
            ++clicks;
        };
        QTest::keyClick(&grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE((TGridCoord{grid.Col(), grid.Row()}), end);
        QCOMPARE(grid.Selection(), (TGridRect{end.X, end.Y, end.X, end.Y}));
        QCOMPARE(clicks, 0); // moving by a key is no click
    }

    // A left double click on cell (2, 9) reaches OnDblClick with the cell pressed; then a key
    // reaches OnKeyDown, which may take it.
    void doubleClicksAndKeysReachTheirEvents_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<TGridCoord>("current"); // after both
        QTest::newRow("left double click")
            << Qt::LeftButton << int(Qt::Key_Return) << false << TGridCoord{2, 9};
        QTest::newRow("right double click: nothing")
            << Qt::RightButton << int(Qt::Key_Return) << false << TGridCoord{4, 6};
        QTest::newRow("an arrow key moves")
            << Qt::RightButton << int(Qt::Key_Right) << false << TGridCoord{5, 6};
        QTest::newRow("an arrow key taken does not move")
            << Qt::RightButton << int(Qt::Key_Right) << true << TGridCoord{4, 6};
    }
    void doubleClicksAndKeysReachTheirEvents() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, key);
        QFETCH(bool, taken);
        QFETCH(TGridCoord, current);
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();
        QList<TGridCoord> clicked;
        grid.OnDblClick = [&](QObject *sender, int x, int y) {
            QCOMPARE(sender, &grid);
            QCOMPARE(QPoint(x, y), grid.CellRect(2, 9).center());
            clicked.append({grid.Col(), grid.Row()}); // pressed first
        };
        QList<int> keys;
        grid.OnKeyDown = [&](QObject *, int &k, Qt::KeyboardModifiers) {
            keys.append(k);
            k = taken ? 0 : k;
        };
        // sent rather than through QTest's mouse, whose remembered clicks would reach the
        // tests after this one
        const QPointF at = grid.CellRect(2, 9).center();
        QMouseEvent press(QEvent::MouseButtonDblClick, at, grid.mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(&grid, &press);
        QCOMPARE(clicked.size(), button == Qt::LeftButton ? 1 : 0);
        QVERIFY(clicked.isEmpty() || (clicked[0] == TGridCoord{2, 9}));
        QTest::keyClick(&grid, Qt::Key(key));
        QCOMPARE(keys, QList<int>{key});
        QCOMPARE((TGridCoord{grid.Col(), grid.Row()}), current);
        // the keyboard's context menu opens over the current cell
        QCOMPARE(grid.inputMethodQuery(Qt::ImCursorRectangle).toRect(),
                 grid.CellRect(current.X, current.Y));
    }

    void otherKeysAreLeftToTheParent() {
        QVERIFY(!KeyTarget(TStringAlignGrid().Layout(), {1, 1}, Qt::Key_A, {}));
        QVERIFY(!KeyTarget(TStringAlignGrid().Layout(), {1, 1}, Qt::Key_Tab, {}));
    }

    void mouseMovesReachOnMouseMove() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QList<QList<int>> moves;
        grid.OnMouseMove = [&](QObject *sender, Qt::KeyboardModifiers shift, int x, int y) {
            QCOMPARE(sender, &grid);
            moves.append({int(shift), x, y});
        };
        for (const auto &[point, modifiers] :
             {std::pair{QPointF(100, 50), Qt::NoModifier}, {QPointF(120, 60), Qt::ShiftModifier}}) {
            QMouseEvent move(QEvent::MouseMove, point, grid.mapToGlobal(point), Qt::NoButton,
                             Qt::NoButton, modifiers);
            QApplication::sendEvent(&grid, &move);
        }
        QCOMPARE(moves, (QList<QList<int>>{{0, 100, 50}, {int(Qt::ShiftModifier), 120, 60}}));
    }

    // Hints -----------------------------------------------------------------------------------

    void aCellHintShowsBelowItsCellUntilTheMouseMovesOn() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetShowCellHints(true);
        grid.setToolTip(" Grid is displaying Payment Amounts");
        grid.SetHintCell(2, 3, "payment at 7.75%");
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        int moves = 0;
        grid.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int, int) {
            ++moves;
        };

        const QRect cell = grid.CellRect(2, 3);
        const QPoint mouse = cell.center();
        QHelpEvent request(QEvent::ToolTip, mouse, grid.mapToGlobal(mouse));
        QApplication::sendEvent(&grid, &request);
        auto *hint = grid.findChild<QLabel *>("CellHint");
        QVERIFY(hint);
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->text(), QString("payment at 7.75%"));
        QCOMPARE(hint->pos(),
                 grid.mapToGlobal(QPoint(cell.left(), cell.top() + cell.height() + 6)));
        QVERIFY(!QToolTip::isVisible());

        QTest::mouseMove(&grid, cell.topLeft() + QPoint(3, 3)); // same cell: stays
        QVERIFY(hint->isVisible());
        QTest::mouseMove(&grid, grid.CellRect(3, 3).center());
        QVERIFY(!hint->isVisible());
        QCOMPARE(moves, 2);

        // a cell without a hint shows nothing
        const QPoint other = grid.CellRect(3, 3).center();
        QHelpEvent again(QEvent::ToolTip, other, grid.mapToGlobal(other));
        QApplication::sendEvent(&grid, &again);
        QVERIFY(!hint->isVisible());
        QVERIFY(!QToolTip::isVisible());
    }

    void withCellHintsOffTheGridShowsItsOwnToolTip() {
        TStringAlignGrid grid;
        SetUpLikeResultGrid(grid);
        grid.SetHintCell(2, 3, "payment at 7.75%");
        grid.setToolTip(" Grid is displaying Interest Rates");
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QPoint mouse = grid.CellRect(2, 3).center();
        QHelpEvent request(QEvent::ToolTip, mouse, grid.mapToGlobal(mouse));
        QApplication::sendEvent(&grid, &request);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString(" Grid is displaying Interest Rates"));
        QVERIFY(!grid.findChild<QLabel *>("CellHint"));
        QToolTip::hideText();
    }
};

QUORVALE_TEST_MAIN(TestAligrid)
#include "tst_Aligrid.moc"
