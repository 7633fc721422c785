#include "update/WSockbuf.h"

#include <QTest>

class TestWSockbuf : public QObject {
    Q_OBJECT

private slots:
    // Each step: w<n> writes n bytes of the running text, r<n> removes n, s<n> resizes; after
    // each step the unsent bytes and the block's counts are compared.
    void steps_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected"); // unsent text after each step

        QTest::newRow("default size holds 1514 bytes")
            << 0 << QStringList{"w2000", "r1514", "w3"} << QStringList{"1514", "0", "3"};
        QTest::newRow("partial removal keeps the rest")
            << 10 << QStringList{"w6", "r2", "r10", "w4"} << QStringList{"6", "4", "0", "4"};
        QTest::newRow("full block refuses more until sent")
            << 4 << QStringList{"w4", "w2", "r4", "w2"} << QStringList{"4", "4", "0", "2"};
        QTest::newRow("resizing keeps unsent bytes")
            << 8 << QStringList{"w8", "r3", "s4", "s16", "w20"}
            << QStringList{"8", "5", "4", "4", "16"};
    }
    void steps() {
        QFETCH(int, size);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);

        TBuffer block(size);
        QCOMPARE(block.BufSize(), size > 0 ? size : 1514);
        QByteArray model; // what Peek must show
        QByteArray source(4096, Qt::Uninitialized);
        for (int i = 0; i < source.size(); ++i)
            source[i] = char('a' + i % 26);
        int next = 0;
        for (int i = 0; i < steps.size(); ++i) {
            const int n = steps[i].mid(1).toInt();
            switch (steps[i].at(0).toLatin1()) {
            case 'w': {
                const int copied = block.Write(source.constData() + next, n);
                model += source.mid(next, copied);
                next += copied;
                break;
            }
            case 'r':
                model.remove(0, block.Remove(n));
                break;
            case 's':
                block.SetBufSize(n);
                model.truncate(n);
                break;
            }
            int len = -1;
            const char *unsent = block.Peek(len);
            QCOMPARE(QString::number(len), expected[i]);
            QCOMPARE(QByteArray(unsent, len), model);
        }
    }
};

QTEST_GUILESS_MAIN(TestWSockbuf)
#include "tst_WSockbuf.moc"
