#include "CBuildTestCase.h"

using namespace ProjectTest;

// Project files received from someone else: names that lead out of the project folder or split a line, rows in
// neither list. The build refuses them through the refusal box and never writes outside the project folder.
class HostileProjectBuildTest : public CBuildTestCase
{
    Q_OBJECT

private:
    static QString Literal(const QString& strText) { return "'" + QString(strText).replace('\'', "''") + "'"; }
    static QString ImageRow(const QString& strName, const QString& strType)
    {
        return QString("INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                       "VALUES(%1, %2, %3, 640, 480, 1)")
            .arg(Literal(strName), Literal("Images/" + strName), Literal(strType));
    }
    static QString BoxOf(int nImageID) { return Statements({}, {}, {QString("1 1 2 2 %1 1").arg(nImageID)})[0]; }
    // A file beside the project folder that a hostile name aims at; its bytes must stay.
    static QString Victim(const QString& strDir)
    {
        const QString strVictim = QFileInfo(strDir).absolutePath() + "/victim/CMakeLists.txt";
        QDir().mkpath(QFileInfo(strVictim).path());
        QFile file(strVictim);
        if (file.open(QIODevice::WriteOnly))
            file.write("project(victim)\n");
        return strVictim;
    }
    // Builds the project of the statements and checks that nothing in it nor beside it was written.
    void RefusedBuild(const QStringList& lstStatements, const QString& strError, const QString& strTold)
    {
        const QString strDir = Project("hostile", lstStatements, false);
        QVERIFY(!strDir.isEmpty());
        const QString strVictim = Victim(strDir);
        m_pCase->controller.OpenProject(strDir, "hostile");
        const QMap<QString, QByteArray> mapBefore = Snapshot(strDir);
        const QStringList lstOutside = Tree(QFileInfo(strDir).absolutePath());

        QVERIFY(!Build());

        QCOMPARE(Read(strVictim), QByteArray("project(victim)\n"));
        QCOMPARE(Tree(QFileInfo(strDir).absolutePath()), lstOutside);
        QCOMPARE(Snapshot(strDir), mapBefore);
        QVERIFY2(Log().contains(strError), qPrintable(Log().join('\n') + "\n" + strError));
        QVERIFY(LogLines("Build Completed").isEmpty());
        QVERIFY2(Told(0).contains(strTold), qPrintable(Told(0)));
    }

private slots:
    void imageNameThatIsNoFileNameIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("problem");
        const QString strSeparator = "its name holds a path separator";
        const QString strControl = "its name holds a control character";
        const auto row = [](const char* pszTag, const QString& strName, const QString& strType, const QString& strShown,
                            const QString& strProblem)
        { QTest::newRow(pszTag) << strName << strType << strShown << strProblem; };
        row("parent folders", "../../victim/CMakeLists.jpg", "train", "../../victim/CMakeLists.jpg", strSeparator);
        row("parent folders in neither list", "../../victim/CMakeLists.jpg", "valid", "../../victim/CMakeLists.jpg",
            strSeparator);
        row("backslashes", "..\\..\\victim\\CMakeLists.jpg", "test", "..\\..\\victim\\CMakeLists.jpg", strSeparator);
        row("absolute", "/tmp/x.jpg", "train", "/tmp/x.jpg", "its name is an absolute path");
        row("drive", "C:victim.jpg", "train", "C:victim.jpg", "its name is an absolute path");
        row("empty", "", "train", "", "its name is empty");
        row("dot", ".", "train", ".", "its name is not a file name");
        row("dot dot", "..", "test", "..", "its name is not a file name");
        row("newline", "a\nImages/b.jpg", "train", "a\\nImages/b.jpg", strControl);
        row("newline only", "a\nb.jpg", "train", "a\\nb.jpg", strControl);
        row("carriage return", "a\rb.jpg", "test", "a\\rb.jpg", strControl);
        row("control character", QString("a") + QChar(1) + "b.jpg", "train", "a\\x01b.jpg", strControl);
    }
    void imageNameThatIsNoFileNameIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(QString, shown);
        QFETCH(QString, problem);
        const QStringList lstStatements =
            Statements({"cat"}, {"ok.jpg"}, {"1 1 2 2 1 1"}) + QStringList({ImageRow(name, type), BoxOf(2)});

        RefusedBuild(lstStatements, QString("[ERROR] Image %1 cannot be used by the trainer: %2").arg(shown, problem),
                     "1 image cannot be used by the trainer:\n    " + shown + ": " + problem);
    }

    // A row of another TYPE was never validated, yet it got a label file: beside a listed image it emptied that
    // image's labels while the build said it was complete.
    void rowInNeitherListGetsNoLabelFile()
    {
        const QString strDir =
            Project("unlisted", Statements({"cat"}, {"a.jpg", "z.jpg 8x8 other"}, {"1 1 2 2 1 1", "1 1 2 2 2 1"}));

        QVERIFY(Build());

        QCOMPARE(Tree(strDir + "/Images"), QStringList("a.txt"));
        QCOMPARE(Read(strDir + "/train.txt"), QByteArray("Images/a.jpg\n"));
        QCOMPARE(LogLines("neither"),
                 QStringList("[WARNING] Image z.jpg is in neither the training nor the test list: it gets no label "
                             "file"));
    }
    void rowsSharingALabelFileAreRefusedWhateverTheirType_data()
    {
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("owner");
        QTest::newRow("unlisted after the listed one") << QStringList({"a.jpg", "a.png 8x8 other"}) << "a.png"
                                                       << "a.jpg";
        QTest::newRow("unlisted before the listed one") << QStringList({"a.png 8x8 other", "a.jpg"}) << "a.png"
                                                        << "a.jpg";
        QTest::newRow("both unlisted") << QStringList({"a.png 8x8 old", "a.jpg 8x8 new", "b.jpg"}) << "a.jpg"
                                       << "a.png";
    }
    void rowsSharingALabelFileAreRefusedWhateverTheirType()
    {
        QFETCH(QStringList, images);
        QFETCH(QString, refused);
        QFETCH(QString, owner);
        const QString strProblem = "its label file Images/a.txt is the label file of " + owner + " too";

        RefusedBuild(Statements({"cat"}, images, {"1 1 2 2 1 1", "1 1 2 2 2 1", "1 1 2 2 3 1"}),
                     QString("[ERROR] Image %1 cannot be used by the trainer: %2").arg(refused, strProblem),
                     "    " + refused + ": " + strProblem);
    }

    // A newline in a class name made custom.names longer than "classes=", shifting every later class.
    void classNameWithControlCharacterIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* pszTag, const QString& strName, const QString& strShown)
        { QTest::newRow(pszTag) << strName << strShown; };
        row("newline", "big\ndog", "big\\ndog");
        row("carriage return", "big\rdog", "big\\rdog");
        row("tab", "big\tdog", "big\\tdog");
        row("line separator", QString("big") + QChar(0x2028) + "dog", "big\\x2028dog");
    }
    void classNameWithControlCharacterIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        const QStringList lstStatements =
            Statements({"cat"}, {"a.jpg"}, {"1 1 2 2 1 1"}) +
            QStringList({"INSERT INTO category (NAME) VALUES(" + Literal(name) + ")",
                         "INSERT INTO category (NAME) VALUES('bird')", "UPDATE dataset_roi SET CATEGORY_ID = 3"});
        const QString strProblem = "its name holds a control character";

        RefusedBuild(lstStatements,
                     QString("[ERROR] Class %1 cannot be written to custom.names: %2").arg(shown, strProblem),
                     "1 class cannot be written to custom.names:\n    " + shown + ": " + strProblem);
    }
};

int RunHostileProjectBuildTest(int argc, char** argv)
{
    HostileProjectBuildTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HostileProjectBuildTest.moc"
