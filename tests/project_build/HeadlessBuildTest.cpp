#include "CBuildTestCase.h"

using namespace ProjectTest;

// "OvrelTrainer --build PATH/name.data" run as a real process without any display: its exit code, the files it
// writes and the log lines it prints.
class HeadlessBuildTest : public CBuildTestCase
{
    Q_OBJECT

private:
    struct SRun
    {
        int nExitCode = -1;
        QByteArray baOut;
        QByteArray baError;
    };
    static SRun RunProgram(const QStringList& lstArguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* pszName : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(pszName);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(OVREL_TRAINER_PROGRAM, lstArguments);
        SRun sRun;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return sRun;
        sRun.nExitCode = process.exitCode();
        sRun.baOut = process.readAllStandardOutput();
        sRun.baError = process.readAllStandardError();
        return sRun;
    }
    static QStringList Lines(const QByteArray& baText)
    {
        return QString::fromUtf8(baText).replace(QRegularExpression("\\]\\[[-\\d: ]+\\] "), "] ").split('\n');
    }
    QString DayLog() const
    {
        return m_pSandbox->Documents() + "/OvrelTrainer/Log/" + QDate::currentDate().toString("yyyy_MM_dd") + ".txt";
    }

private slots:
    void buildWithoutWindow_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines"); // on standard error, in this order among the others
        QTest::addColumn<bool>("written");
        QTest::newRow("valid project") << "valid" << 0
                                       << QStringList({"[NORMAL] Validate ROI OK", "[NORMAL] Created custom.names",
                                                       "[NORMAL] Build Completed"})
                                       << true;
        QTest::newRow("image without box")
            << "no box" << 1
            << QStringList({"[ERROR] Validate: need to update class name for image b.jpg",
                            "[ERROR] Validate: image b.jpg has no boxes", "[ERROR] Validate ROI Error",
                            "[WARNING] Prompt answered without window: 1 image has no boxes:",
                            "[WARNING] Prompt answered without window: b.jpg"})
            << false;
        QTest::newRow("image the trainer cannot use")
            << "gif" << 1
            << QStringList({"[ERROR] Image c.gif cannot be used by the trainer: the trainer cannot load GIF images",
                            "[ERROR] Build Failed: 1 images cannot be used by the trainer"})
            << false;
        // A received project file once overwrote victim/CMakeLists.txt beside the project and said it was complete.
        QTest::newRow("name leading out of the project")
            << "traversal" << 1
            << QStringList({"[ERROR] Image ../../victim/CMakeLists.jpg cannot be used by the trainer: its name holds a "
                            "path separator",
                            "[WARNING] Prompt answered without window: 1 image cannot be used by the trainer:"})
            << false;
        QTest::newRow("missing project") << "missing" << 1 << QStringList("[ERROR] Cannot load project headless")
                                         << false;
        // The window's prompt is answered and logged instead of blocking the run.
        QTest::newRow("project open in a window")
            << "open" << 1
            << QStringList({"[WARNING] Project headless is open in another window",
                            "[WARNING] Prompt answered without window: Project headless is open in another window"})
            << false;
    }
    void buildWithoutWindow()
    {
        QFETCH(QString, situation);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        QFETCH(bool, written);
        QStringList lstImages = {"a.jpg", "b.jpg 8x8 test"};
        QStringList lstRois = {"1 1 2 2 1 1"};
        if (situation != "no box")
            lstRois.append("2 2 4 4 2 1");
        if (situation == "gif")
        {
            lstImages.append("c.gif");
            lstRois.append("1 1 2 2 3 1");
        }
        if (situation == "traversal")
        {
            lstImages.append("../../victim/CMakeLists.jpg");
            lstRois.append("1 1 2 2 3 1");
        }
        const QString strDir = Project("headless", Statements({"cat"}, lstImages, lstRois), situation == "open");
        QVERIFY(!strDir.isEmpty());
        const QString strVictim = m_strRoot + "/victim/CMakeLists.txt";
        QVERIFY(QDir().mkpath(m_strRoot + "/victim"));
        QFile victim(strVictim);
        QVERIFY(victim.open(QIODevice::WriteOnly) && victim.write("project(victim)\n") > 0);
        victim.close();
        const QString strFile = situation == "missing" ? m_strRoot + "/elsewhere/headless.data"
                                                       : CProjectFixture::DataFile(strDir, "headless");
        const qint64 nLogSize = QFileInfo(DayLog()).size();

        const SRun sRun = RunProgram({"--build", strFile});

        QCOMPARE(sRun.nExitCode, exitCode);
        const QStringList lstError = Lines(sRun.baError);
        int nAt = 0;
        for (const QString& strLine : lines)
        {
            nAt = lstError.indexOf(strLine, nAt);
            QVERIFY2(nAt >= 0, qPrintable(strLine + "\n---\n" + lstError.join('\n')));
        }
        QCOMPARE(lstError.filter("Build Completed").size(), written ? 1 : 0);
        // The same lines went to the day's log file.
        QFile log(DayLog());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().mid(nLogSize), sRun.baError);
        QCOMPARE(QFileInfo::exists(strDir + "/custom.names"), written);
        QCOMPARE(Read(strVictim), QByteArray("project(victim)\n"));
        if (written)
        {
            QCOMPARE(Read(strDir + "/train.txt"), QByteArray("Images/a.jpg\n"));
            QCOMPARE(Read(strDir + "/test.txt"), QByteArray("Images/b.jpg\n"));
            QCOMPARE(Read(strDir + "/Images/b.txt"), QByteArray("0 0.500000 0.500000 0.500000 0.500000\n"));
        }
    }

    void helpListsTheBuildOption()
    {
        const SRun sRun = RunProgram({"--help"});

        QCOMPARE(sRun.nExitCode, 0);
        QVERIFY2(sRun.baOut.contains("--build <project file>"), sRun.baOut.constData());
    }

    void buildWithoutProjectFileIsRefused()
    {
        const SRun sRun = RunProgram({"--build"});

        QCOMPARE(sRun.nExitCode, 1);
        QVERIFY2(sRun.baError.contains("--build"), sRun.baError.constData());
    }
};

int RunHeadlessBuildTest(int argc, char** argv)
{
    HeadlessBuildTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HeadlessBuildTest.moc"
