#include "CBuildTestCase.h"

using namespace ProjectTest;

// Coordinates and image sizes that are no usable numbers once reached the label files as "inf", "nan", 300-digit
// numbers or boxes without size while the build said it completed.
class BoxNumbersTest : public CBuildTestCase
{
    Q_OBJECT

private slots:
    void boxesThatAreNotNumbersStopTheBuild_data()
    {
        QTest::addColumn<QString>("image"); // "name WxH" of the image with the hostile box
        QTest::addColumn<QString>("box");   // "x y w h" as SQL values
        QTest::addColumn<QString>("error"); // what the log says of that image
        const QString strBoxes = "[ERROR] Validate: image a.jpg has 1 boxes that are not numbers, have no size or lie "
                                 "outside it";
        const QString strNoSize = "[ERROR] Validate: image a.jpg has no size";
        const auto row = [](const char* pszTag, const QString& strImage, const QString& strBox, const QString& strError)
        { QTest::newRow(pszTag) << strImage << strBox << strError; };
        row("x is nan", "a.jpg 640x480", "'nan' 10 20 20", strBoxes);
        row("y is inf", "a.jpg 640x480", "10 9e999 20 20", strBoxes);
        row("x is -inf", "a.jpg 640x480", "-9e999 10 20 20", strBoxes);
        row("width is the text inf", "a.jpg 640x480", "10 10 'inf' 20", strBoxes);
        row("x is 1e300", "a.jpg 640x480", "1e300 10 20 20", strBoxes);
        row("height is 1e300", "a.jpg 640x480", "10 10 20 1e300", strBoxes);
        row("y is text", "a.jpg 640x480", "10 'ten' 20 20", strBoxes);
        row("x is empty text", "a.jpg 640x480", "'' 10 20 20", strBoxes);
        row("x is NULL", "a.jpg 640x480", "NULL 10 20 20", strBoxes);
        row("width is NULL", "a.jpg 640x480", "10 10 NULL 20", strBoxes);
        row("negative width", "a.jpg 640x480", "100 10 -20 20", strBoxes);
        row("zero width", "a.jpg 640x480", "10 10 0 20", strBoxes);
        row("zero height", "a.jpg 640x480", "10 10 20 0", strBoxes);
        row("box right of the image", "a.jpg 640x480", "640 10 20 20", strBoxes);
        row("box above the image", "a.jpg 640x480", "10 -30 20 20", strBoxes);
        row("box three images wide", "a.jpg 640x480", "-640 10 1921 20", strBoxes);
        row("image width 0", "a.jpg 0x480", "10 10 20 20", strNoSize);
        row("image height 0", "a.jpg 640x0", "10 10 20 20", strNoSize);
        row("negative image height", "a.jpg 640x-480", "10 10 20 20", strNoSize);
        row("image width text", "a.jpg 'wide'x480", "10 10 20 20", strNoSize);
    }
    void boxesThatAreNotNumbersStopTheBuild()
    {
        QFETCH(QString, image);
        QFETCH(QString, box);
        QFETCH(QString, error);
        // The table as an older or foreign file may hold it: without NOT NULL, so that a coordinate can be NULL.
        const QStringList lstLoose = {"CREATE TABLE loose AS SELECT * FROM dataset_roi", "DROP TABLE dataset_roi",
                                      "ALTER TABLE loose RENAME TO dataset_roi"};
        // b.jpg is sound and stays unnamed; its box reaches as far beyond its image as a box may.
        const QString strDir = Project("numbers", lstLoose + Statements({"cat"}, {"b.jpg 640x480", image},
                                                                        {"-640 -480 1920 1440 1 1", box + " 2 1"}));
        QVERIFY(!strDir.isEmpty());
        const QStringList lstBefore = Tree(strDir);
        const int nAsked = m_pCase->answers.asked.size();
        const int nLogStart = Log().size();

        QVERIFY(!Build());

        QCOMPARE(Tree(strDir), lstBefore);
        QVERIFY(LogLines("Build").isEmpty());
        QCOMPARE(Log().mid(nLogStart).filter("[ERROR]"),
                 QStringList({"[ERROR] Validate: need to update class name for image a.jpg", error,
                              "[ERROR] Validate ROI Error",
                              "[ERROR] Refused: 1 image has no size or boxes that are not numbers, have no size or "
                              "lie outside the image"}));
        QCOMPARE(m_pCase->answers.asked.size(), nAsked + 1);
        QCOMPARE(m_pCase->answers.asked.last().strText,
                 QString("The build was refused; the files of the previous build were left as they were.\n\n"
                         "1 image has no size or boxes that are not numbers, have no size or lie outside the "
                         "image:\n    a.jpg"));
    }
};

int RunBoxNumbersTest(int argc, char** argv)
{
    BoxNumbersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "BoxNumbersTest.moc"
