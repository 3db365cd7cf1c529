#include "project/run/COutputLineAssembler.h"

#include <QtTest>

using ChunkList = QList<QByteArray>;

// Chunks as a pipe may deliver them, against the lines a reader of the log expects.
class LineAssemblerTest : public QObject
{
    Q_OBJECT
private slots:
    void chunksBecomeWholeLines_data()
    {
        QTest::addColumn<ChunkList>("lstChunks");
        QTest::addColumn<QStringList>("lstLines");
        QTest::addColumn<QString>("strTail");

        QTest::newRow("line split over two reads")
            << ChunkList{"epoch 1 ", "loss 0.5\n"} << QStringList{"epoch 1 loss 0.5"} << "";
        QTest::newRow("line split over three reads") << ChunkList{"a", "b", "c\nd\n"} << QStringList{"abc", "d"} << "";
        QTest::newRow("chunk ending in a line end adds no empty line")
            << ChunkList{"one\ntwo\n", "three\n"} << QStringList{"one", "two", "three"} << "";
        QTest::newRow("empty lines inside are kept")
            << ChunkList{"a\n\nb\n", "\n"} << QStringList{"a", "", "b", ""} << "";
        QTest::newRow("line end alone") << ChunkList{"x", "\n"} << QStringList{"x"} << "";
        QTest::newRow("CRLF ends") << ChunkList{"a\r\nb\r\n"} << QStringList{"a", "b"} << "";
        QTest::newRow("CRLF split between its two bytes") << ChunkList{"a\r", "\nb\r\n"} << QStringList{"a", "b"} << "";
        QTest::newRow("CR inside a line stays") << ChunkList{"a\rb\n"} << QStringList{"a\rb"} << "";
        QTest::newRow("two-byte character split across reads") << ChunkList{"gr\xc3", "\xbc\xc3\x9f"
                                                                                      "e\n"}
                                                               << QStringList{QString::fromUtf8("grüße")} << "";
        QTest::newRow("three-byte character split over three reads")
            << ChunkList{"\xe2", "\x82", "\xac 5\n"} << QStringList{QString::fromUtf8("€ 5")} << "";
        QTest::newRow("four-byte character split before its last byte")
            << ChunkList{"\xf0\x9f\x98", "\x80\n"} << QStringList{QString::fromUtf8("😀")} << "";
        QTest::newRow("tail without line end waits") << ChunkList{"a\nb", "c"} << QStringList{"a"} << "bc";
        QTest::newRow("tail ending in CR") << ChunkList{"done\r"} << QStringList{} << "done";
        QTest::newRow("tail with a character split across reads")
            << ChunkList{"\xc3", "\xa9t\xc3\xa9"} << QStringList{} << QString::fromUtf8("été");
        QTest::newRow("blanks are not trimmed") << ChunkList{"  x  \n"} << QStringList{"  x  "} << "";
        QTest::newRow("nothing") << ChunkList{"", ""} << QStringList{} << "";
    }
    void chunksBecomeWholeLines()
    {
        QFETCH(ChunkList, lstChunks);
        QFETCH(QStringList, lstLines);
        QFETCH(QString, strTail);

        COutputLineAssembler assembler;
        QStringList lstGot;
        for (const QByteArray& baChunk : lstChunks)
            lstGot += assembler.Append(baChunk);

        QCOMPARE(lstGot, lstLines);
        QCOMPARE(assembler.HasTail(), !strTail.isEmpty());
        QCOMPARE(assembler.TakeTail(), strTail);
        QVERIFY(!assembler.HasTail());
    }

    // A line without end is handed out in pieces once it passes the limit, never cutting a character in two.
    void overlongLineIsCutBeforeACharacter_data()
    {
        QTest::addColumn<ChunkList>("lstChunks");
        QTest::addColumn<QStringList>("lstLines");
        QTest::addColumn<QString>("strTail");

        QTest::newRow("ASCII") << ChunkList{"abcdefghij"} << QStringList{"abcd", "efgh"} << "ij";
        QTest::newRow("across reads, the end joins the rest")
            << ChunkList{"abc", "defgh", "ij\n"} << QStringList{"abcd", "efghij"} << "";
        // "ab" then the three bytes of "€": the limit falls inside the character, which moves to the next piece.
        QTest::newRow("limit inside a character") << ChunkList{"ab\xe2\x82\xac"
                                                               "cd",
                                                               "\n"}
                                                  << QStringList{"ab", QString::fromUtf8("€c"), "d"} << "";
    }
    void overlongLineIsCutBeforeACharacter()
    {
        QFETCH(ChunkList, lstChunks);
        QFETCH(QStringList, lstLines);
        QFETCH(QString, strTail);

        COutputLineAssembler assembler(4);
        QStringList lstGot;
        for (const QByteArray& baChunk : lstChunks)
            lstGot += assembler.Append(baChunk);

        QCOMPARE(lstGot, lstLines);
        QCOMPARE(assembler.TakeTail(), strTail);
    }

    void clearForgetsTheTail()
    {
        COutputLineAssembler assembler;
        assembler.Append("old");
        assembler.Clear();
        QCOMPARE(assembler.Append("new\n"), QStringList{"new"});
    }
};

int RunLineAssemblerTest(int argc, char** argv)
{
    LineAssemblerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LineAssemblerTest.moc"
