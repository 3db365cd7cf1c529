#include "project/store/CProjectLayout.h"

#include <QtTest>

// The two rules of the project folder that are more than joining names: which label file an image gets, and which
// project a file path names.
class ProjectLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void labelFileTakesTheNameUpToItsLastDot_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("label");
        // The folder has dots of its own: only the image name's count.
        QTest::newRow("several dots") << "a.b.c.jpg"
                                      << "/p/v1.2/my.proj/Images/a.b.c.txt";
        QTest::newRow("no dot") << "noext"
                                << "/p/v1.2/my.proj/Images/noext.txt";
        QTest::newRow("dot first") << ".jpg"
                                   << "/p/v1.2/my.proj/Images/.txt";
        QTest::newRow("dot last") << "end."
                                  << "/p/v1.2/my.proj/Images/end.txt";
    }
    void labelFileTakesTheNameUpToItsLastDot()
    {
        QFETCH(QString, image);
        QTEST(CProjectLayout("/p/v1.2/my.proj", "x").LabelFile(image), "label");
        QTEST("/p/v1.2/my.proj/" + CProjectLayout::LabelEntry(image), "label");
    }

    // The window's test opens files of every other shape; here a project file's path must give its project back.
    void projectFilePathGivesItsProjectBack_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("dots in name and folder") << "/p/v1.2"
                                                 << "my.proj";
        QTest::newRow("name ending in .data") << "/p"
                                              << "a.data";
    }
    void projectFilePathGivesItsProjectBack()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);

        const CProjectLayout layout = CProjectLayout::FromProjectFile(CProjectLayout(folder, name).ProjectFile());

        QCOMPARE(layout.ProjectDir() + "|" + layout.ProjectName(), folder + "|" + name);
    }
};

QTEST_GUILESS_MAIN(ProjectLayoutTest)
#include "ProjectLayoutTest.moc"
