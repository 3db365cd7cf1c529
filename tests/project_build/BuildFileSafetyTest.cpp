#include "CBuildTestCase.h"

#include "project/build/CBuildFileSet.h"

#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using namespace ProjectTest;

// The build's files against what goes wrong around them: a build stopped in the middle of putting its files in
// place, links and folders planted where it writes, a disk without room, a table that cannot be read.
class BuildFileSafetyTest : public CBuildTestCase
{
    Q_OBJECT

private:
    // A built project whose next build changes every file and adds a label file, or with bSome changes one label
    // file and the test list, removes a label file and leaves the others as they are.
    QString BuiltProject(const QString& strName, bool bSome = false)
    {
        const QString strDir = Project(strName, Statements({"cat"}, {"a.jpg", "b.jpg test", "c.jpg"},
                                                           {"1 1 2 2 1 1", "3 3 2 2 2 1", "5 5 2 2 3 1"}));
        if (!Build())
            return QString();
        if (!bSome)
            m_pCase->controller.slot_UpdateProjectProperty("PROJECT_CONFIGURATION", QString("[net]\n"));
        bool bOk = false;
        CProjectFixture::Query(CProjectFixture::DataFile(strDir, strName),
                               bSome ? QStringList({"UPDATE dataset_roi SET X = 2 WHERE IMAGE_ID = 1",
                                                    "DELETE FROM dataset_roi WHERE IMAGE_ID = 2",
                                                    "DELETE FROM dataset_image WHERE ID = 2"})
                                     : Statements({"dog"}, {"d.jpg 8x8"}, {"1 1 2 2 4 2"}) +
                                           QStringList("UPDATE dataset_roi SET CATEGORY_ID = 2"),
                               &bOk);
        Reopen(strDir, strName);
        return bOk ? strDir : QString();
    }
    // The file number and modification time of every file a build writes, the manifest included.
    static QMap<QString, QString> DiskTimes(const QString& strDir)
    {
        QMap<QString, QString> mapTimes;
        for (const QString& strFile : ProjectTest::Tree(strDir))
        {
            struct stat sInfo;
            if (!strFile.endsWith(".data") && ::lstat(QFile::encodeName(strDir + "/" + strFile), &sInfo) == 0)
                mapTimes.insert(
                    strFile,
                    QString("%1 %2.%3").arg(sInfo.st_ino).arg(sInfo.st_mtim.tv_sec).arg(sInfo.st_mtim.tv_nsec));
        }
        return mapTimes;
    }
    void Reopen(const QString& strDir, const QString& strName)
    {
        m_pCase->controller.CloseProject();
        m_pCase->controller.OpenProject(strDir, strName);
    }
    static bool MakeFolder(const QString& strPath)
    {
        QFile file(strPath + "/kept");
        return QDir().mkpath(strPath) && file.open(QIODevice::WriteOnly) && file.write("kept") == 4;
    }

protected:
    void CleanupCase() override
    {
        CBuildFileSet::SetFreeSpaceProbe(nullptr);
        CBuildFileSet::SetStepLimit(-1);
    }

private slots:
    void commitStoppedAtAnyStepIsAllOldOrAllNewAfterReopening_data()
    {
        QTest::addColumn<bool>("some");
        QTest::newRow("every file changes") << false;
        QTest::newRow("some files change, one goes") << true;
    }
    // A build killed after putting some files aside once left them missing beside ".previous" and ".building" files
    // that no later build removed.
    void commitStoppedAtAnyStepIsAllOldOrAllNewAfterReopening()
    {
        QFETCH(bool, some);
        QMap<QString, QByteArray> mapOld;
        QMap<QString, QByteArray> mapNew;
        QList<QMap<QString, QByteArray>> lstReopened;
        // What the build after each reopening left: the manifest it found must not have kept a file from changing.
        QList<QMap<QString, QByteArray>> lstRebuilt;
        QStringList lstRecoveries;
        for (int nSteps = 0; mapNew.isEmpty(); ++nSteps)
        {
            QVERIFY(nSteps < 100);
            const QString strName = QString("stop%1").arg(nSteps);
            const QString strDir = BuiltProject(strName, some);
            QVERIFY(!strDir.isEmpty());
            mapOld = Snapshot(strDir);

            CBuildFileSet::SetStepLimit(nSteps);
            const bool bBuilt = Build();
            CBuildFileSet::SetStepLimit(-1);

            if (bBuilt)
            {
                mapNew = Snapshot(strDir);
                break;
            }
            // Many builds fill more than one log file: only the reopening's lines are read.
            m_log.Mark();
            Reopen(strDir, strName);
            QCOMPARE(m_pCase->model.GetProjectDir(), strDir);
            lstRecoveries += LogLines("An interrupted build was");
            lstReopened.append(Snapshot(strDir));
            // The next build finds the files it would have written.
            QVERIFY(Build());
            lstRebuilt.append(Snapshot(strDir));
        }
        QVERIFY(mapNew != mapOld);
        for (int i = 0; i < lstRebuilt.size(); ++i)
            QVERIFY2(lstRebuilt[i] == mapNew, qPrintable(QString("rebuilt after step %1").arg(i)));
        for (int i = 0; i < lstReopened.size(); ++i)
            QVERIFY2(lstReopened[i] == mapOld || lstReopened[i] == mapNew, qPrintable(QString("step %1").arg(i)));
        // Both ways were taken: back before every new file was in place, forward after.
        QVERIFY(lstReopened.contains(mapOld));
        QVERIFY(lstReopened.contains(mapNew));
        QVERIFY(!lstRecoveries.filter("taken back").isEmpty());
        QVERIFY(!lstRecoveries.filter("completed").isEmpty());
    }

    // Every build wrote or at least read every label file again, however few had changed.
    void rebuildWithNothingChangedTouchesNoFile()
    {
        const QString strDir = BuiltProject("same", true);
        QVERIFY(Build());
        const QMap<QString, QString> mapTimes = DiskTimes(strDir);
        QVERIFY(mapTimes.contains("build.manifest"));

        QVERIFY(Build());

        QCOMPARE(DiskTimes(strDir), mapTimes);
    }

    void labelFileChangedBehindTheBuildIsPutRight_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("files"); // the label files after the next build
        const QStringList lstAll = {"Images/a.txt", "Images/b.txt", "Images/c.txt"};
        QTest::newRow("edited, same size") << "edit" << lstAll;
        QTest::newRow("deleted") << "delete" << lstAll;
        QTest::newRow("its image left the project") << "leave" << QStringList({"Images/a.txt", "Images/c.txt"});
        QTest::newRow("its image left the lists") << "unlist" << QStringList({"Images/a.txt", "Images/c.txt"});
        // No longer the build's file: what the user wrote into it stays.
        QTest::newRow("edited, then its image left the lists") << "edit unlist" << lstAll;
    }
    void labelFileChangedBehindTheBuildIsPutRight()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, files);
        const QString strDir = Project("behind", Statements({"cat"}, {"a.jpg", "b.jpg test", "c.jpg"},
                                                            {"1 1 2 2 1 1", "3 3 2 2 2 1", "5 5 2 2 3 1"}));
        QVERIFY(Build());
        const QMap<QString, QByteArray> mapBuilt = Snapshot(strDir);
        const QString strLabel = strDir + "/Images/b.txt";
        QMap<QString, QByteArray> mapExpected = mapBuilt;
        if (change.startsWith("edit"))
        {
            QFile file(strLabel);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.write("2") == 1);
            file.close();
            if (change.endsWith("unlist"))
                mapExpected["Images/b.txt"] = Read(strLabel);
        }
        if (change == "delete")
            QVERIFY(QFile::remove(strLabel));
        else if (change != "edit")
        {
            bool bOk = false;
            CProjectFixture::Query(CProjectFixture::DataFile(strDir, "behind"),
                                   change == "leave"
                                       ? QStringList({"DELETE FROM dataset_roi WHERE IMAGE_ID = 2",
                                                      "DELETE FROM dataset_image WHERE ID = 2"})
                                       : QStringList("UPDATE dataset_image SET TYPE = 'other' WHERE ID = 2"),
                                   &bOk);
            QVERIFY(bOk);
            Reopen(strDir, "behind");
        }

        QVERIFY(Build());

        const QMap<QString, QByteArray> mapNext = Snapshot(strDir);
        QCOMPARE(QStringList(mapNext.keys()).filter(QRegularExpression("^Images/.*\\.txt$")), files);
        for (const QString& strFile : files)
            QCOMPARE(mapNext.value(strFile), mapExpected.value(strFile));
    }

    // A build killed before journals were kept left these beside files that no later build changed.
    void leftoversBesideUnchangedFilesAreRemoved()
    {
        const QString strDir = Project("leftovers", Statements({"cat"}, {"a.jpg"}, {"1 1 2 2 1 1"}));
        QVERIFY(Build());
        const QMap<QString, QByteArray> mapBuilt = Snapshot(strDir);
        // Such a build kept no manifest either; this one writes it again as it was.
        QVERIFY(QFile::remove(strDir + "/build.manifest"));
        for (const char* pszLeftover : {"Images/a.txt.previous", "custom.names.building", "config.txt.previous"})
        {
            QFile file(strDir + "/" + pszLeftover);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("stale") == 5);
        }

        QVERIFY(Build());

        QCOMPARE(Snapshot(strDir), mapBuilt);
    }

    void plantedLinkAtATemporaryPathLeavesItsTargetAlone_data()
    {
        QTest::addColumn<QString>("link");
        QTest::newRow("label file") << "Images/a.txt.building";
        QTest::newRow("configuration") << "config.txt.building";
        QTest::newRow("journal") << "build.journal.building";
        QTest::newRow("previous label file") << "Images/a.txt.previous";
    }
    void plantedLinkAtATemporaryPathLeavesItsTargetAlone()
    {
        QFETCH(QString, link);
        const QString strDir = BuiltProject("link");
        QVERIFY(!strDir.isEmpty());
        const QString strTarget = strDir + "/../outside.txt";
        QFile target(strTarget);
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write("precious") == 8);
        target.close();
        QVERIFY(QFile::link(strTarget, strDir + "/" + link));

        QVERIFY(Build());

        QCOMPARE(Read(strTarget), QByteArray("precious"));
        QVERIFY(!QFileInfo(strDir + "/" + link).isSymLink());
        QVERIFY(!QFileInfo(strDir + "/Images/a.txt").isSymLink());
        QCOMPARE(Read(strDir + "/Images/a.txt"), QByteArray("1 0.003125 0.004167 0.003125 0.004167\n"));
        QCOMPARE(Read(strDir + "/config.txt"), QByteArray("[net]\n"));
    }

    // A journal comes with a project folder received from elsewhere: it may name only what a build writes.
    void plantedJournalTouchesOnlyBuildFiles_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("file");
        QTest::newRow("an image") << QByteArray("-Images/a.jpg") << "Images/a.jpg";
        // The project file itself changes as the project opens: that it is still there is what counts.
        QTest::newRow("the project file") << QByteArray("-planted.data") << "planted.data";
        QTest::newRow("an image's label file taken back over it") << QByteArray("+Images/b.jpg") << "Images/b.jpg";
    }
    void plantedJournalTouchesOnlyBuildFiles()
    {
        QFETCH(QByteArray, entry);
        QFETCH(QString, file);
        const QString strDir = Project("planted", Statements({"cat"}, {"a.jpg"}, {"1 1 2 2 1 1"}), false);
        QVERIFY(QDir().mkpath(strDir + "/Images"));
        for (const char* pszName : {"Images/a.jpg", "Images/b.jpg", "Images/b.jpg.previous"})
        {
            QFile image(strDir + "/" + pszName);
            QVERIFY(image.open(QIODevice::WriteOnly) && image.write(pszName) > 0);
        }
        const bool bProjectFile = file.endsWith(".data");
        const QByteArray baKept = Read(strDir + "/" + file);
        QFile journal(strDir + "/build.journal");
        QVERIFY(journal.open(QIODevice::WriteOnly) && journal.write("ovrel build journal 1\nold\n" + entry + "\n") > 0);
        journal.close();

        m_pCase->controller.OpenProject(strDir, "planted");

        QCOMPARE(bProjectFile ? QFile::exists(strDir + "/" + file) : Read(strDir + "/" + file) == baKept, true);
        QVERIFY(QFile::exists(strDir + "/build.journal"));
        QCOMPARE(LogLines("Could not finish the interrupted build").size(), 1);
        QVERIFY(!Build());
        QCOMPARE(bProjectFile ? QFile::exists(strDir + "/" + file) : Read(strDir + "/" + file) == baKept, true);
    }

    // A folder where a label file belongs was moved aside as "a.txt.previous/" and left there, with "Completed".
    void fileThatCannotBeWrittenFailsWithTheSystemsReason_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder at the label path") << "Images/a.txt"
                                                  << "a folder stands where the file belongs";
        // A label file with other bytes is replaced through its temporary file (a new one is written in place).
        QTest::newRow("folder at the temporary path of a changed file")
            << "Images/a.txt.building" << QString::fromLocal8Bit(strerror(EISDIR));
    }
    void fileThatCannotBeWrittenFailsWithTheSystemsReason()
    {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        const QString strDir =
            Project("inway", Statements({"cat"}, {"a.jpg", "b.jpg test"}, {"1 1 2 2 1 1", "3 3 2 2 2 1"}));
        QVERIFY(MakeFolder(strDir + "/" + folder));
        QFile stale(strDir + "/Images/a.txt");
        if (folder.endsWith(".building"))
            QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("stale\n") == 6);
        stale.close();
        const QStringList lstBefore = Tree(strDir);
        const int nAsked = m_pCase->answers.asked.size();

        QVERIFY(!Build());

        QCOMPARE(Tree(strDir), lstBefore);
        const QString strFailed = strDir + "/Images/a.txt";
        QCOMPARE(LogLines("Build"),
                 QStringList({"[ERROR] Build Failed: " + strFailed, "[ERROR] Build Failed because: " + reason}));
        QVERIFY2(Told(nAsked).contains(strFailed + ": " + reason), qPrintable(Told(nAsked)));
    }

    void buildWithoutRoomSaysHowMuchItNeeds()
    {
        const QString strDir = BuiltProject("room");
        QVERIFY(!strDir.isEmpty());
        const QMap<QString, QByteArray> mapPrevious = Snapshot(strDir);
        QStringList lstAsked;
        CBuildFileSet::SetFreeSpaceProbe(
            [&lstAsked](const QString& strAsked)
            {
                lstAsked.append(strAsked);
                return qint64(100);
            });
        const int nAsked = m_pCase->answers.asked.size();

        QVERIFY(!Build());

        QCOMPARE(lstAsked, QStringList(strDir));
        QCOMPARE(Snapshot(strDir), mapPrevious);
        const QStringList lstLines = LogLines("Build Failed");
        QCOMPARE(lstLines.size(), 2);
        QCOMPARE(lstLines[0], "[ERROR] Build Failed: " + strDir);
        const QRegularExpressionMatch match =
            QRegularExpression("^\\[ERROR\\] Build Failed because: the build needs (\\d+) bytes of free space for its "
                               "new files, 100 bytes are free$")
                .match(lstLines[1]);
        QVERIFY2(match.hasMatch(), qPrintable(lstLines[1]));
        QVERIFY(Told(nAsked).contains("100 bytes are free"));
        CBuildFileSet::SetFreeSpaceProbe(nullptr);
        QVERIFY(Build());
        // A second copy of every file the build changed: all of them here.
        qint64 nWritten = 0;
        for (const QByteArray& baFile : Snapshot(strDir))
            nWritten += baFile.size();
        QVERIFY(match.captured(1).toLongLong() >= nWritten);
    }

    // With the disk full a failed select of the boxes made every image one "without boxes".
    void unreadableTableIsAnErrorNotAnswerOfNoRows_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("boxes") << "dataset_roi";
        QTest::newRow("classes") << "category";
    }
    void unreadableTableIsAnErrorNotAnswerOfNoRows()
    {
        QFETCH(QString, table);
        const QString strDir =
            Project("unread", Statements({"cat"}, {"a.jpg", "b.jpg test"}, {"1 1 2 2 1 1", "3 3 2 2 2 1"}));
        bool bOk = false;
        CProjectFixture::Query(CProjectFixture::DataFile(strDir, "unread"),
                               {QString("ALTER TABLE %1 RENAME TO gone").arg(table)}, &bOk);
        QVERIFY(bOk);
        const QStringList lstBefore = Tree(strDir);
        const int nAsked = m_pCase->answers.asked.size();

        QVERIFY(!Build());

        QCOMPARE(Tree(strDir), lstBefore);
        QVERIFY(LogLines("Validate: cannot read the table " + table).size() == 1);
        QCOMPARE(LogLines("Validate: need to update class name"), QStringList());
        QCOMPARE(LogLines("Validate: image"), QStringList());
        QVERIFY(Told(nAsked).contains("cannot read the table " + table));
    }
};

int RunBuildFileSafetyTest(int argc, char** argv)
{
    BuildFileSafetyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "BuildFileSafetyTest.moc"
