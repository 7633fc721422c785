#include "controls/GridClipboard.h"

#include "controls/Aligrid.h"
#include "tests/support/TestMain.h"

#include <QMimeData>
#include <memory>

class TestGridClipboard : public QObject {
    Q_OBJECT

private slots:
    // A cell's own tabs and line breaks must not add columns or rows to the pasted block, and
    // its markup characters must stay text in the table.
    void aCellKeepsTheShapeAndIsEscaped_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        QTest::newRow("padded") << " $100,000 "
                                << "$100,000"
                                << "<td>$100,000</td>";
        QTest::newRow("tab") << "a\tb"
                             << "a b"
                             << "<td>a b</td>";
        QTest::newRow("two lines") << "one\r\ntwo\rthree"
                                   << "one two three"
                                   << "<td>one two three</td>";
        QTest::newRow("markup") << "<b>&\""
                                << "<b>&\""
                                << "<td>&lt;b&gt;&amp;&quot;</td>";
        QTest::newRow("empty") << ""
                               << ""
                               << "<td></td>";
    }
    void aCellKeepsTheShapeAndIsEscaped() {
        QFETCH(QString, cell);
        QFETCH(QString, text);
        QFETCH(QString, html);
        TStringAlignGrid grid;
        grid.SetColCount(3);
        grid.SetRowCount(2);
        grid.SetCells(0, 0, "corner");
        grid.SetCells(1, 1, cell);
        std::unique_ptr<QMimeData> data(GridMimeData(grid));
        QCOMPARE(data->text(), "corner\t\t\n\t" + text + "\t\n");
        QCOMPARE(data->html().count("<tr>"), 2);
        QCOMPARE(data->html().count("<td>"), 6);
        QVERIFY2(data->html().contains("<tr><td></td>" + html + "<td></td></tr>"),
                 qPrintable(data->html()));
    }
};

QUORVALE_TEST_MAIN(TestGridClipboard)
#include "tst_GridClipboard.moc"
