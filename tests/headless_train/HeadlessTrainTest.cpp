#include "CLogMark.h"
#include "CProjectFixture.h"
#include "CTestCluster.h"
#include "CTestSandbox.h"
#include "CTinyTrainingConfiguration.h"

#include "frame/CSetting.h"
#include "frame/CSettingController.h"
#include "project/run/CSlurmJob.h"
#include "project/run/CTrainerJobChoice.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <csignal>
#include <unistd.h>

// "OvrelTrainer --train PATH/name.data" run as a real process without any display, with the trainer on this computer
// and as a job of a real single-node Slurm cluster started once for the whole program. Shell scripts play the trainer;
// the real darknet runs once through the cluster. The project folders have a blank in their names.
class HeadlessTrainTest : public QObject
{
    Q_OBJECT

    static const int WAIT_MS = 60000;
    static const int BURST_LINES = 100000;

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CSettingController> m_pSettings;
    CTestCluster m_cluster;
    QString m_strDir;
    int m_nCase = 0;

    struct SRun
    {
        int nExitCode = -1;
        QByteArray baOut;
        QByteArray baError;
    };

    // The program as a server starts it: no display, the cluster's configuration in the environment.
    static void StartProgram(QProcess& process, const QString& strProjectFile)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* pszName : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(pszName);
        process.setProcessEnvironment(environment);
        process.start(OVREL_TRAINER_PROGRAM, {"--train", strProjectFile});
    }
    static SRun Finish(QProcess& process, int nWaitMs)
    {
        SRun sRun;
        if (!process.waitForFinished(nWaitMs) || process.exitStatus() != QProcess::NormalExit)
            return sRun;
        sRun.nExitCode = process.exitCode();
        sRun.baOut = process.readAllStandardOutput();
        sRun.baError = process.readAllStandardError();
        return sRun;
    }
    static QStringList Lines(const QByteArray& baText)
    {
        return QString::fromUtf8(baText).split('\n', Qt::SkipEmptyParts);
    }
    static QString SubmittedId(const QByteArray& baError)
    {
        return QRegularExpression("\\] Submitted job (\\d+)\n").match(QString::fromUtf8(baError)).captured(1);
    }
    static QString JobField(const QString& strJobId, const QString& strField)
    {
        QProcess process;
        process.start("scontrol", {"show", "job", "-o", strJobId});
        process.waitForFinished(10000);
        return QRegularExpression("\\b" + strField + "=(\\S+)")
            .match(QString::fromUtf8(process.readAllStandardOutput()))
            .captured(1);
    }
    // The trainer settings the program reads from its settings file.
    void Settings(bool bSlurm, const QString& strExecutable)
    {
        m_pSettings->UpdateParameter(CTrainerJobChoice::RUN_ON, bSlurm ? "slurm" : "local");
        m_pSettings->UpdateParameter(CTrainerJobChoice::SLURM_POLL_MS, 200);
        m_pSettings->UpdateParameter("TAMSEL_COMMAND_EXE_YOLO3", strExecutable);
        m_pSettings->UpdateParameter("TAMSEL_COMMAND_ARG_YOLO3", "detector train");
    }
    // The trainer: a shell script in the project folder.
    QString Trainer(const QByteArray& baBody) const
    {
        const QString strPath = QDir(m_strDir).filePath("trainer.sh");
        QFile file(strPath);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("#!/bin/sh\n" + baBody + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return strPath;
    }
    // The project "headless" of the case with class "cat", a.jpg to train and b.jpg to test, a box on each unless
    // bBoxes is false.
    QString Project(bool bBoxes = true)
    {
        QStringList lstStatements = {"INSERT INTO category (NAME) VALUES('cat')",
                                     "INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                                     "VALUES('a.jpg', 'Images/a.jpg', 'train', 640, 480, 1)",
                                     "INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                                     "VALUES('b.jpg', 'Images/b.jpg', 'test', 640, 480, 1)",
                                     "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
                                     "VALUES(10, 10, 100, 100, 1, 1)"};
        if (bBoxes)
            lstStatements.append("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
                                 "VALUES(20, 20, 100, 100, 2, 1)");
        bool bOk = false;
        CProjectFixture::Query(CProjectFixture::DataFile(m_strDir, "headless"), lstStatements, &bOk);
        return bOk ? CProjectFixture::DataFile(m_strDir, "headless") : QString();
    }
    bool HasCluster() const { return m_cluster.IsRunning(); }

private slots:
    void initTestCase()
    {
        m_pSandbox = std::make_unique<CTestSandbox>();
        const QString strConfigDir = m_pSandbox->Documents() + "/OvrelTrainer";
        QVERIFY(QDir().mkpath(strConfigDir));
        CSetting::Set("GENERAL_PROGRAM_CONFIG_DIR", strConfigDir);
        CSetting::Set("GENERAL_LOG_DIR", m_pSandbox->Path("Log"));
        m_pSettings = std::make_unique<CSettingController>(nullptr);
        if (::geteuid() != 0)
            return;
        QString strError;
        QVERIFY2(m_cluster.Start(&strError), qPrintable(strError));
    }
    void cleanupTestCase()
    {
        m_pSettings.reset();
        QVERIFY(m_cluster.Stop());
    }
    void init()
    {
        const QString strRoot = m_pSandbox->Path(QString("case %1").arg(++m_nCase));
        QVERIFY(QDir().mkpath(strRoot));
        m_strDir = CProjectFixture::CreateProject(strRoot, "headless");
        QVERIFY(!m_strDir.isEmpty());
    }
    void cleanup()
    {
        // A failed case leaves no job holding the node for the next.
        if (HasCluster())
            QProcess::execute("scancel", {"--user=root"});
    }

    // The trainer's lines reach standard output in order and its exit status is the program's; a build that fails
    // starts no trainer and gives 1 with the reason.
    void trainRunsTrainerAndExitsWithItsStatus_data()
    {
        QTest::addColumn<bool>("bSlurm");
        QTest::addColumn<bool>("bBoxes");
        QTest::addColumn<int>("nExit");
        for (const bool bSlurm : {false, true})
        {
            const char* pszWhere = bSlurm ? "slurm" : "local";
            QTest::addRow("%s, exit 0", pszWhere) << bSlurm << true << 0;
            QTest::addRow("%s, exit 3", pszWhere) << bSlurm << true << 3;
            QTest::addRow("%s, build fails", pszWhere) << bSlurm << false << 1;
        }
    }
    void trainRunsTrainerAndExitsWithItsStatus()
    {
        QFETCH(bool, bSlurm);
        QFETCH(bool, bBoxes);
        QFETCH(int, nExit);
        if (bSlurm && !HasCluster())
            QSKIP("starting the Slurm daemons needs root");
        const QString strProject = Project(bBoxes);
        QVERIFY(!strProject.isEmpty());
        // A burst at the end: every line of it is out before the program exits.
        Settings(bSlurm, Trainer("touch started\necho 'one, 1 avg'\necho \"args $*\"\nseq 1 " +
                                 QByteArray::number(BURST_LINES) + "\nprintf 'no line end'\nexit " +
                                 QByteArray::number(nExit)));
        QProcess process;

        StartProgram(process, strProject);

        const SRun sRun = Finish(process, WAIT_MS);
        QCOMPARE(sRun.nExitCode, nExit);
        QCOMPARE(QFile::exists(QDir(m_strDir).filePath("started")), bBoxes);
        if (!bBoxes)
        {
            QCOMPARE(sRun.baOut, QByteArray());
            QVERIFY2(sRun.baError.contains("] Validate: image b.jpg has no boxes\n"), sRun.baError.constData());
            QVERIFY2(Lines(sRun.baError).last().endsWith("headless.data failed: the trainer was not started"),
                     sRun.baError.constData());
            return;
        }
        QStringList lstExpected = {"one, 1 avg", "args detector train detector.txt config.txt"};
        for (int i = 1; i <= BURST_LINES; ++i)
            lstExpected << QString::number(i);
        lstExpected << "no line end";
        QCOMPARE(Lines(sRun.baOut), lstExpected);
        QCOMPARE(!SubmittedId(sRun.baError).isEmpty(), bSlurm);
    }

    // SIGINT ends the trainer on this computer and cancels the cluster's job; the program exits once the end is seen,
    // with the status of a trainer ended by SIGTERM.
    void interruptStopsTrainer_data()
    {
        QTest::addColumn<bool>("bSlurm");
        QTest::newRow("local") << false;
        QTest::newRow("slurm") << true;
    }
    void interruptStopsTrainer()
    {
        QFETCH(bool, bSlurm);
        if (bSlurm && !HasCluster())
            QSKIP("starting the Slurm daemons needs root");
        const QString strProject = Project();
        QVERIFY(!strProject.isEmpty());
        Settings(bSlurm, Trainer("echo $$ > trainer.pid\necho started\nexec sleep 300"));
        QProcess process;
        StartProgram(process, strProject);
        QByteArray baOut;
        QTRY_VERIFY_WITH_TIMEOUT((baOut += process.readAllStandardOutput()).contains("started\n"), WAIT_MS);

        QCOMPARE(::kill(static_cast<pid_t>(process.processId()), SIGINT), 0);

        const SRun sRun = Finish(process, WAIT_MS);
        QCOMPARE(sRun.nExitCode, 128 + SIGTERM);
        QVERIFY2(sRun.baError.contains("] Stop Command OK\n"), sRun.baError.constData());
        if (bSlurm)
        {
            const QString strJobId = SubmittedId(sRun.baError);
            QVERIFY(!strJobId.isEmpty());
            QCOMPARE(JobField(strJobId, "JobState"), QString("CANCELLED"));
            return;
        }
        QFile pidFile(QDir(m_strDir).filePath("trainer.pid"));
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const pid_t nTrainer = static_cast<pid_t>(pidFile.readAll().trimmed().toInt());
        QVERIFY(nTrainer > 0);
        QCOMPARE(::kill(nTrainer, 0), -1);
    }

    // Ctrl+C right after the start reaches the job while sbatch has not named it yet: once named, it is cancelled
    // rather than left running unnoticed.
    void stopBeforeSbatchAnswersCancelsTheJob()
    {
        if (!HasCluster())
            QSKIP("starting the Slurm daemons needs root");
        CSlurmJob::SSettings settings;
        settings.nPollMs = 200;
        settings.strSlurmConf = m_cluster.Conf();
        CSlurmJob job(settings);
        QSignalSpy ended(&job, &ITrainerJob::signal_Ended);
        const CLogMark log;
        QVERIFY(job.Start(Trainer("exec sleep 300"), "", "", m_strDir));

        job.Stop();

        QVERIFY(ended.wait(WAIT_MS));
        QVERIFY(job.ExitCode() > 0);
        const QString strJobId = SubmittedId(log.Lines().join('\n').toUtf8() + '\n');
        QVERIFY(!strJobId.isEmpty());
        QCOMPARE(JobField(strJobId, "JobState"), QString("CANCELLED"));
    }

    // The real trainer as a cluster job on the tiny configuration: it runs to its end and leaves its weights.
    void realTrainerThroughSlurmLeavesWeights()
    {
        if (!HasCluster())
            QSKIP("starting the Slurm daemons needs root");
        const QString strSamples = "/usr/share/darknet/data";
        QVERIFY(QDir().mkpath(m_strDir + "/Images"));
        QStringList lstStatements = {"INSERT INTO category (NAME) VALUES('thing')"};
        int nImage = 0;
        for (const QString& strName : QStringList{"dog.jpg", "eagle.jpg", "giraffe.jpg"})
        {
            QVERIFY(QFile::copy(strSamples + "/" + strName, m_strDir + "/Images/" + strName));
            const QSize size = QImageReader(m_strDir + "/Images/" + strName).size();
            QVERIFY(size.isValid());
            lstStatements << QString("INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                                     "VALUES('%1', 'Images/%1', '%2', %3, %4, 1)")
                                 .arg(strName, strName == QLatin1String("giraffe.jpg") ? "test" : "train")
                                 .arg(size.width())
                                 .arg(size.height())
                          << QString("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
                                     "VALUES(%1, %2, %3, %4, %5, 1)")
                                 .arg(size.width() / 6)
                                 .arg(size.height() / 6)
                                 .arg(size.width() / 2)
                                 .arg(size.height() / 2)
                                 .arg(++nImage);
        }
        const QString strConfiguration = TinyTraining::Configuration(3);
        QVERIFY(!strConfiguration.isEmpty());
        lstStatements << "UPDATE project_property SET VALUE='" + QString(strConfiguration).replace("'", "''") +
                             "' WHERE NAME='PROJECT_CONFIGURATION'";
        bool bOk = false;
        CProjectFixture::Query(CProjectFixture::DataFile(m_strDir, "headless"), lstStatements, &bOk);
        QVERIFY(bOk);
        Settings(true, "/usr/bin/darknet");
        QProcess process;

        StartProgram(process, CProjectFixture::DataFile(m_strDir, "headless"));

        const SRun sRun = Finish(process, 5 * WAIT_MS);
        QVERIFY2(sRun.nExitCode == 0, sRun.baError.right(2000).constData());
        QVERIFY(!SubmittedId(sRun.baError).isEmpty());
        QVERIFY(QFileInfo(m_strDir + "/Backup/config_final.weights").size() > 0);
        QVERIFY2(!Lines(sRun.baOut).filter(QRegularExpression("^3: [-\\d.naif]+, [-\\d.naif]+ avg")).isEmpty(),
                 sRun.baOut.right(2000).constData());
    }
};

QTEST_MAIN(HeadlessTrainTest)
#include "HeadlessTrainTest.moc"
