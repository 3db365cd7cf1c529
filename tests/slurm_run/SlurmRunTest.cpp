#include "CLogMark.h"
#include "CProjectFixture.h"
#include "CPromptAnswers.h"
#include "CTestCluster.h"
#include "CTestSandbox.h"

#include "MainWindow.h"
#include "frame/CLogger.h"
#include "frame/CSetting.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "project/run/CSlurmJob.h"
#include "project/run/CTrainerJobChoice.h"
#include "project/run/CTrainingRun.h"
#include "project/settings/CNetworkConfiguration.h"
#include "project/store/CProjectLayout.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <unistd.h>

// Cluster jobs on a real single-node Slurm cluster, started once for the whole program; shell scripts play the
// trainer. The project folders have a blank in their names, as users' folders often do.
class SlurmRunTest : public QObject
{
    Q_OBJECT

    static const int WAIT_MS = 30000;

    std::unique_ptr<CTestSandbox> m_pSandbox;
    CTestCluster m_cluster;
    QString m_strDir;
    int m_nCase = 0;
    CLogMark m_log;
    // No prompt of the program may wait for a user.
    CPromptAnswers m_answers;

    QStringList Log() const { return m_log.Lines(); }
    bool Logged(const QString& strLine) const { return Log().contains(strLine); }
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
    CSlurmJob::SSettings Settings(const QString& strPartition = QString(), const QString& strExtra = QString()) const
    {
        CSlurmJob::SSettings settings;
        settings.strPartition = strPartition;
        settings.strExtraOptions = strExtra;
        settings.nPollMs = 200;
        settings.strSlurmConf = m_cluster.Conf();
        return settings;
    }
    bool Start(CSlurmJob& job, const QByteArray& baTrainer) const
    {
        return job.Start(Trainer(baTrainer), "", "", m_strDir);
    }
    // The job's ID once sbatch gave one.
    static QString SubmittedId(const QStringList& lstLog)
    {
        static const QRegularExpression submitted("^\\[NORMAL\\] Submitted job (\\d+)$");
        for (const QString& strLine : lstLog)
        {
            const QRegularExpressionMatch match = submitted.match(strLine);
            if (match.hasMatch())
                return match.captured(1);
        }
        return {};
    }
    // A field of the scheduler's record of the job ("JobState", "TimeLimit", ...).
    static QString JobField(const QString& strJobId, const QString& strField)
    {
        QProcess process;
        process.start("scontrol", {"show", "job", "-o", strJobId});
        process.waitForFinished(10000);
        return QRegularExpression("\\b" + strField + "=(\\S+)")
            .match(QString::fromUtf8(process.readAllStandardOutput()))
            .captured(1);
    }

    // A project made as the new-project dialog makes one, opened by a controller as the window opens it.
    struct SWindowSide
    {
        CProjectModel model;
        CProjectController controller{&model, nullptr};
    };
    QString m_strProject;
    // Opens a new project with the settings as they are, then starts the trainer through the controller after
    // "Run on" was set to pszRunOn; the project's folder becomes the case's.
    void StartThrough(CProjectController& controller, const QByteArray& baTrainer, const char* pszRunOn)
    {
        m_strProject = CProjectFixture::CreateProject(m_strDir, "trained");
        m_strDir = m_strProject;
        CSetting::Set(CTrainerJobChoice::SLURM_POLL_MS, 200);
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", Trainer(baTrainer));
        CSetting::Set("TAMSEL_COMMAND_ARG_YOLO3", QString());
        controller.OpenProject(m_strProject, "trained");
        CSetting::Set(CTrainerJobChoice::RUN_ON, pszRunOn);
        controller.StartCommand();
    }
    std::unique_ptr<SWindowSide> StartThroughController(const QByteArray& baTrainer, const char* pszRunOn)
    {
        auto pSide = std::make_unique<SWindowSide>();
        StartThrough(pSide->controller, baTrainer, pszRunOn);
        return pSide;
    }
    static const QByteArray& WaitingTrainer()
    {
        static const QByteArray baTrainer =
            "echo '1: 5.5, 5.5 avg, 0.001 rate, 0.1 seconds, 1 images'\nwhile [ ! -f go ]; do sleep 0.1; done";
        return baTrainer;
    }

private slots:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("starting the Slurm daemons needs root");
        m_pSandbox = std::make_unique<CTestSandbox>();
        CSetting::Set("GENERAL_LOG_DIR", m_pSandbox->Path("Log"));
        QString strError;
        QVERIFY2(m_cluster.Start(&strError), qPrintable(strError));
    }
    void cleanupTestCase() { QVERIFY(m_cluster.Stop()); }
    void init()
    {
        m_strDir = m_pSandbox->Path(QString("case %1").arg(++m_nCase));
        QVERIFY(QDir().mkpath(m_strDir));
        QFile project(QDir(m_strDir).filePath("shapes" + CProjectLayout::PROJECT_SUFFIX));
        QVERIFY(project.open(QIODevice::WriteOnly));
        CLogger::Write(ELogLevel_Debug, "test %d", m_nCase);
        m_log.Mark();
    }
    void cleanup()
    {
        // A failed case leaves no job holding the node for the next.
        QProcess::execute("scancel", {"--user=root"});
        CSetting::Set(CTrainerJobChoice::RUN_ON, CTrainerJobChoice::RUN_ON_LOCAL);
    }

    // "Run on" decides at each start whether the trainer is a local process or a cluster job.
    void startRunsTrainerWhereSettingsSay_data()
    {
        QTest::addColumn<QString>("runOn");
        QTest::addColumn<bool>("submitted");
        QTest::newRow("this computer") << CTrainerJobChoice::RUN_ON_LOCAL << false;
        QTest::newRow("slurm cluster") << CTrainerJobChoice::RUN_ON_SLURM << true;
    }
    void startRunsTrainerWhereSettingsSay()
    {
        QFETCH(QString, runOn);
        QFETCH(bool, submitted);
        // The other kind first: the choice made after a run applies to the next one.
        CSetting::Set(CTrainerJobChoice::RUN_ON,
                      submitted ? CTrainerJobChoice::RUN_ON_LOCAL : CTrainerJobChoice::RUN_ON_SLURM);

        auto pSide = StartThroughController("echo \"trained on $SLURM_JOB_ID\"", qPrintable(runOn));

        QTRY_VERIFY_WITH_TIMEOUT(Log().filter(QRegularExpression("^\\[NORMAL\\] trained on")).size() == 1, WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(pSide->model.GetCommandState(), int(ECommandState_Stopped), WAIT_MS);
        const QString strJobId = SubmittedId(Log());
        QCOMPARE(!strJobId.isEmpty(), submitted);
        QVERIFY(Logged(("[NORMAL] trained on " + strJobId).trimmed()));
        QVERIFY(m_answers.asked.isEmpty());
    }

    // A job left running when the controller went is followed again when the project is opened: its state, its
    // lines so far (after the chart was reset), and Stop cancels it.
    void reopenedProjectFollowsItsJob()
    {
        auto pSide = StartThroughController(WaitingTrainer(), CTrainerJobChoice::RUN_ON_SLURM);
        QTRY_COMPARE_WITH_TIMEOUT(pSide->model.GetCommandState(), int(ECommandState_Running), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(Logged("[NORMAL] 1: 5.5, 5.5 avg, 0.001 rate, 0.1 seconds, 1 images"), WAIT_MS);
        const QString strJobId = SubmittedId(Log());
        pSide.reset();
        QCOMPARE(JobField(strJobId, "JobState"), QString("RUNNING"));
        // Where the trainer runs now does not matter: the project's job is on the cluster.
        CSetting::Set(CTrainerJobChoice::RUN_ON, CTrainerJobChoice::RUN_ON_LOCAL);
        m_log.Mark();

        pSide = std::make_unique<SWindowSide>();
        QSignalSpy started(pSide->controller.Run(), &CTrainingRun::signal_Started);
        QSignalSpy lines(pSide->controller.Run(), &CTrainingRun::signal_OutputLine);
        pSide->controller.OpenProject(m_strProject, "trained");

        QTRY_COMPARE_WITH_TIMEOUT(pSide->model.GetCommandState(), int(ECommandState_Running), WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(lines.size(), 1, WAIT_MS);
        QCOMPARE(started.size(), 1);
        QCOMPARE(Log().filter(QRegularExpression("Following job|^\\[NORMAL\\] 1: ")),
                 QStringList({"[NORMAL] Following job " + strJobId,
                              "[NORMAL] 1: 5.5, 5.5 avg, 0.001 rate, 0.1 seconds, 1 images"}));
        QCOMPARE(started.first().at(0).toInt(),
                 CNetworkConfiguration::MaxBatches(pSide->controller.GetProjectProperty("PROJECT_CONFIGURATION")));
        QVERIFY(QFile(CProjectLayout(m_strDir).BackupFolder() + "/config_100.weights").open(QIODevice::WriteOnly));
        QTRY_VERIFY_WITH_TIMEOUT(Logged("[NORMAL] Weights saved: Backup/config_100.weights"), WAIT_MS);
        pSide->controller.StopCommand();
        QTRY_COMPARE_WITH_TIMEOUT(pSide->model.GetCommandState(), int(ECommandState_Stopped), WAIT_MS);
        QVERIFY(Logged("[NORMAL] Job " + strJobId + " ended: CANCELLED (exit code 0:15)"));
    }

    // The job would go on writing into a folder that is gone: the project stays until the job is stopped.
    void deletingProjectWithFollowedJobIsRefused()
    {
        auto pSide = StartThroughController(WaitingTrainer(), CTrainerJobChoice::RUN_ON_SLURM);
        QTRY_COMPARE_WITH_TIMEOUT(pSide->model.GetCommandState(), int(ECommandState_Running), WAIT_MS);
        const QString strJobId = SubmittedId(Log());
        CPromptAnswers answers;
        answers.messages.push_back(QMessageBox::Yes);

        pSide->controller.slot_DeleteProject();

        QCOMPARE(answers.asked.size(), 2);
        QCOMPARE(answers.asked.last().strText, "Stop training job " + strJobId + " before deleting the project");
        QVERIFY(QFile::exists(CProjectFixture::DataFile(m_strProject, "trained")));
        QCOMPARE(pSide->model.GetCommandState(), int(ECommandState_Running));
    }

    // Closing the project or the program while its job runs asks what becomes of the job; leaving it is no reason to
    // keep either open, and the job outlives the window.
    void closingAsksWhetherJobRunsOn_data()
    {
        QTest::addColumn<bool>("program");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("jobAfter");
        for (const bool bProgram : {false, true})
        {
            const char* pszWhat = bProgram ? "program" : "project";
            QTest::addRow("%s, leave running", pszWhat) << bProgram << int(QMessageBox::Yes) << true << "RUNNING";
            QTest::addRow("%s, cancel job", pszWhat) << bProgram << int(QMessageBox::No) << true << "CANCELLED";
        }
        QTest::newRow("project, do not close") << false << int(QMessageBox::Cancel) << false << "RUNNING";
    }
    void closingAsksWhetherJobRunsOn()
    {
        QFETCH(bool, program);
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(QString, jobAfter);
        std::unique_ptr<MainWindow> pWindow;
        std::unique_ptr<SWindowSide> pSide;
        if (program)
            pWindow = std::make_unique<MainWindow>();
        else
            pSide = std::make_unique<SWindowSide>();
        CProjectModel* pModel = program ? pWindow->GetProjectModel() : &pSide->model;
        CProjectController* pController = program ? pWindow->GetProjectController() : &pSide->controller;
        StartThrough(*pController, WaitingTrainer(), CTrainerJobChoice::RUN_ON_SLURM);
        QTRY_COMPARE_WITH_TIMEOUT(pModel->GetCommandState(), int(ECommandState_Running), WAIT_MS);
        const QString strJobId = SubmittedId(Log());
        CPromptAnswers answers;
        answers.messages.push_back(static_cast<QMessageBox::StandardButton>(answer));

        if (program)
            QCOMPARE(pWindow->close(), closed);
        else
            pController->slot_CloseProject();

        QCOMPARE(answers.asked.size(), 1);
        QVERIFY(answers.asked.first().strText.startsWith("Training job " + strJobId + " is queued or running"));
        QCOMPARE(answers.asked.first().defaultButton, QMessageBox::Yes);
        if (!program)
            QCOMPARE(pModel->GetProjectName().isEmpty(), closed);
        QCOMPARE(pModel->GetCommandState(), int(closed ? ECommandState_Stopped : ECommandState_Running));
        QCOMPARE(Logged("[NORMAL] Job " + strJobId + " left running"), answer == QMessageBox::Yes);
        pWindow.reset();
        pSide.reset();
        QTRY_COMPARE_WITH_TIMEOUT(JobField(strJobId, "JobState"), jobAfter, WAIT_MS);
    }

    // The trainer's lines, its weights and the job's end reach the log in order, through the run as for a local one.
    void jobLogsTrainerLinesInOrderThenItsEnd()
    {
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", Trainer("echo '1: 5.5, 5.5 avg, 0.001 rate, 0.1 seconds, 1 images'\n"
                                                          "echo '2: 4.5, 5.0 avg, 0.001 rate, 0.1 seconds, 2 images'\n"
                                                          "echo \"args $*\"\n"
                                                          "echo weights > Backup/config_final.weights\n"
                                                          "printf 'no line end'"));
        CSetting::Set("TAMSEL_COMMAND_ARG_YOLO3", QString("detector  train"));
        CTrainingRun run(nullptr, std::make_unique<CSlurmJob>(Settings()));
        QSignalSpy lines(&run, &CTrainingRun::signal_OutputLine);
        QSignalSpy states(&run, &CTrainingRun::signal_CommandStateChanged);

        QVERIFY(run.Start("", m_strDir, ""));

        QTRY_VERIFY_WITH_TIMEOUT(states.size() > 1 && run.State() == ECommandState_Stopped, WAIT_MS);
        const QStringList lstLog = Log();
        const QString strJobId = SubmittedId(lstLog);
        QVERIFY(!strJobId.isEmpty());
        QStringList lstAfter = lstLog.mid(lstLog.indexOf("[NORMAL] Submitted job " + strJobId) + 1);
        QVERIFY(lstAfter.removeAll("[NORMAL] Weights saved: Backup/config_final.weights") == 1);
        const QStringList lstTrainer{"1: 5.5, 5.5 avg, 0.001 rate, 0.1 seconds, 1 images",
                                     "2: 4.5, 5.0 avg, 0.001 rate, 0.1 seconds, 2 images",
                                     "args detector train detector.txt config.txt", "no line end"};
        QStringList lstExpected;
        for (const QString& strLine : lstTrainer)
            lstExpected << "[NORMAL] " + strLine;
        lstExpected << "[NORMAL] Job " + strJobId + " ended: COMPLETED (exit code 0)";
        QCOMPARE(lstAfter, lstExpected);
        QStringList lstEmitted;
        for (const QList<QVariant>& arguments : lines)
            lstEmitted << arguments.at(0).toString();
        QCOMPARE(lstEmitted, lstTrainer);
        const CProjectLayout layout(m_strDir);
        QVERIFY(!QFile::exists(layout.SlurmJobFile()));
        QFile script(layout.SlurmScript());
        QVERIFY(script.open(QIODevice::ReadOnly));
        QVERIFY(script.readAll().contains("#SBATCH --job-name=\"shapes\"\n"));
        QCOMPARE(JobField(strJobId, "JobName"), QString("shapes"));
    }

    // The scheduler's end of a job is told with its state and exit code, at the error level unless it completed.
    void jobEndIsLoggedWithStateAndExitCode_data()
    {
        QTest::addColumn<QByteArray>("baTrainer");
        QTest::addColumn<bool>("bStop");
        QTest::addColumn<QString>("strEnd");
        QTest::newRow("non-zero exit") << QByteArray("echo started\nexit 3") << false
                                       << "[ERROR] Job %1 ended: FAILED (exit code 3)";
        QTest::newRow("stopped") << QByteArray("echo started\nexec sleep 300") << true
                                 << "[NORMAL] Job %1 ended: CANCELLED (exit code 0:15)";
    }
    void jobEndIsLoggedWithStateAndExitCode()
    {
        QFETCH(QByteArray, baTrainer);
        QFETCH(bool, bStop);
        QFETCH(QString, strEnd);
        CSlurmJob job(Settings());
        QSignalSpy states(&job, &ITrainerJob::signal_CommandStateChanged);

        QVERIFY(Start(job, baTrainer));
        QTRY_VERIFY_WITH_TIMEOUT(Logged("[NORMAL] started"), WAIT_MS);
        if (bStop)
        {
            QTRY_COMPARE_WITH_TIMEOUT(job.State(), int(ECommandState_Running), WAIT_MS);
            job.Stop();
        }

        QTRY_COMPARE_WITH_TIMEOUT(job.State(), int(ECommandState_Stopped), WAIT_MS);
        const QStringList lstLog = Log();
        QCOMPARE(lstLog.last(), strEnd.arg(SubmittedId(lstLog)));
        QCOMPARE(lstLog.contains("[NORMAL] Stop Command OK"), bStop);
        QCOMPARE(states.last().at(0).toInt(), int(ECommandState_Stopped));
    }

    // A job waiting for the CPUs another holds (by its extra options) shows as starting, then running once they are
    // free.
    void queuedJobShowsAsStartingUntilItRuns()
    {
        CSlurmJob holder(Settings(QString(), "--exclusive --time=10"));
        CSlurmJob queued(Settings());
        QVERIFY(Start(holder, "echo holding\nexec sleep 300"));
        QTRY_VERIFY_WITH_TIMEOUT(Logged("[NORMAL] holding"), WAIT_MS);
        QCOMPARE(JobField(holder.JobId(), "TimeLimit"), QString("00:10:00"));
        m_log.Mark();

        QVERIFY(Start(queued, "echo queued\nexec sleep 300"));

        QTRY_VERIFY_WITH_TIMEOUT(!queued.JobId().isEmpty() && JobField(queued.JobId(), "JobState") == "PENDING",
                                 WAIT_MS);
        QSignalSpy states(&queued, &ITrainerJob::signal_CommandStateChanged);
        QCOMPARE(queued.State(), int(ECommandState_Starting));
        holder.Stop();
        QTRY_COMPARE_WITH_TIMEOUT(queued.State(), int(ECommandState_Running), WAIT_MS);
        QCOMPARE(states.first().at(0).toInt(), int(ECommandState_Running));
        QTRY_VERIFY_WITH_TIMEOUT(Logged("[NORMAL] queued"), WAIT_MS);
    }

    // sbatch's own reason for refusing a job is in the log, and the job shows as stopped.
    void refusedJobLogsSbatchErrorAndStops()
    {
        CSlurmJob job(Settings("nosuchpartition"));
        QSignalSpy states(&job, &ITrainerJob::signal_CommandStateChanged);

        QVERIFY(Start(job, "echo never"));

        QTRY_VERIFY_WITH_TIMEOUT(states.size() == 2, WAIT_MS);
        QCOMPARE(states.last().at(0).toInt(), int(ECommandState_Stopped));
        const QStringList lstLog = Log();
        const QStringList lstErrors = lstLog.mid(lstLog.indexOf("[NORMAL] Arguments config.txt") + 1);
        QVERIFY(!lstErrors.isEmpty());
        for (const QString& strLine : lstErrors)
            QVERIFY2(strLine.startsWith("[ERROR] sbatch: "), qPrintable(strLine));
        QVERIFY(lstErrors.join('\n').contains("nosuchpartition"));
        QVERIFY(!QFile::exists(CProjectLayout(m_strDir).SlurmJobFile()));
    }

    // A job outlives its object. A new one attached to it logs the output from its start and follows it to its end,
    // also when the job ended before (a file that does not change any more tells no watcher).
    void attachedJobLogsOutputFromItsStartToItsEnd_data()
    {
        QTest::addColumn<bool>("bEndedBefore");
        QTest::newRow("running") << false;
        QTest::newRow("ended before") << true;
    }
    void attachedJobLogsOutputFromItsStartToItsEnd()
    {
        QFETCH(bool, bEndedBefore);
        auto pFirst = std::make_unique<CSlurmJob>(Settings());
        QVERIFY(Start(*pFirst, "echo one\nwhile [ ! -f go ]; do sleep 0.1; done\nprintf two"));
        QTRY_VERIFY_WITH_TIMEOUT(Logged("[NORMAL] one"), WAIT_MS);
        const QString strJobId = pFirst->JobId();
        pFirst.reset();
        QFile jobFile(CProjectLayout(m_strDir).SlurmJobFile());
        QVERIFY(jobFile.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(jobFile.readAll()).trimmed(), strJobId);
        QFile go(QDir(m_strDir).filePath("go"));
        if (bEndedBefore)
        {
            QVERIFY(go.open(QIODevice::WriteOnly));
            QTRY_COMPARE_WITH_TIMEOUT(JobField(strJobId, "JobState"), QString("COMPLETED"), WAIT_MS);
        }
        m_log.Mark();
        CSlurmJob job(Settings());

        QVERIFY(job.Attach(strJobId, m_strDir));

        if (!bEndedBefore)
        {
            QTRY_COMPARE_WITH_TIMEOUT(job.State(), int(ECommandState_Running), WAIT_MS);
            QTRY_VERIFY_WITH_TIMEOUT(Logged("[NORMAL] one"), WAIT_MS);
            QVERIFY(go.open(QIODevice::WriteOnly));
        }
        QTRY_VERIFY_WITH_TIMEOUT(Logged("[NORMAL] Job " + strJobId + " ended: COMPLETED (exit code 0)"), WAIT_MS);
        QCOMPARE(job.State(), int(ECommandState_Stopped));
        QCOMPARE(Log(), QStringList({"[NORMAL] Following job " + strJobId, "[NORMAL] one", "[NORMAL] two",
                                     "[NORMAL] Job " + strJobId + " ended: COMPLETED (exit code 0)"}));
        QVERIFY(!jobFile.exists());
    }

    // Regression: a window closed while sbatch still ran killed it, and a job it had submitted ran on unknown to the
    // project.
    void jobSubmittedAsItsObjectGoesIsKeptInJobFile()
    {
        auto pJob = std::make_unique<CSlurmJob>(Settings());
        QVERIFY(Start(*pJob, "exec sleep 300"));

        pJob.reset();

        QFile jobFile(CProjectLayout(m_strDir).SlurmJobFile());
        QVERIFY(jobFile.open(QIODevice::ReadOnly));
        const QString strJobId = QString::fromUtf8(jobFile.readAll()).trimmed();
        QCOMPARE(strJobId, SubmittedId(Log()));
        QVERIFY(!JobField(strJobId, "JobState").isEmpty());
    }

    // A job file left by a job the scheduler has forgotten does not keep the project following it forever.
    void attachedForgottenJobEnds()
    {
        const QString strJobFile = CProjectLayout(m_strDir).SlurmJobFile();
        QFile jobFile(strJobFile);
        QVERIFY(jobFile.open(QIODevice::WriteOnly));
        jobFile.write("999999\n");
        jobFile.close();
        CSlurmJob job(Settings());

        QVERIFY(job.Attach("999999", m_strDir));

        QTRY_VERIFY_WITH_TIMEOUT(Logged("[ERROR] Job 999999 ended: UNKNOWN (exit code unknown)"), WAIT_MS);
        QCOMPARE(job.State(), int(ECommandState_Stopped));
        QVERIFY(!QFile::exists(strJobFile));
    }

    // A controller that goes away for a while leaves the job running as it was, with one warning however long it
    // stays away; the job is followed to its end once the controller is back.
    void controllerOutageKeepsStateAndWarnsOnce()
    {
        CSlurmJob::SSettings settings = Settings();
        settings.nQuietMs = 0;
        CSlurmJob job(settings);
        QVERIFY(Start(job, "echo up\nwhile [ ! -f go ]; do sleep 0.1; done"));
        QTRY_COMPARE_WITH_TIMEOUT(job.State(), int(ECommandState_Running), WAIT_MS);
        const QString strWarning = "[WARNING] Job " + job.JobId() + ": the scheduler has not answered";
        const QString strPidFile = QFileInfo(m_cluster.Conf()).dir().filePath("slurmctld.pid");
        QCOMPARE(QProcess::execute("sh", {"-c", "kill $(cat '" + strPidFile + "')"}), 0);

        QTRY_VERIFY_WITH_TIMEOUT(Log().last().startsWith(strWarning), WAIT_MS);
        QCOMPARE(job.State(), int(ECommandState_Running));
        QCOMPARE(QProcess::execute("slurmctld", {"-f", m_cluster.Conf()}), 0);
        QFile go(QDir(m_strDir).filePath("go"));
        QVERIFY(go.open(QIODevice::WriteOnly));

        QTRY_COMPARE_WITH_TIMEOUT(job.State(), int(ECommandState_Stopped), 2 * WAIT_MS);
        QCOMPARE(Log().filter(strWarning).size(), 1);
        QVERIFY(Log().last().endsWith(" ended: COMPLETED (exit code 0)"));
    }

    // A running job whose output file does not show up here is told once: the folder is likely not shared.
    void jobWithoutOutputFileWarnsOnce()
    {
        CSlurmJob::SSettings settings = Settings(QString(), "--output=/dev/null");
        settings.nNoOutputMs = 0;
        CSlurmJob job(settings);

        // Long enough for several answers that tell it running.
        QVERIFY(Start(job, "exec sleep 2"));

        QTRY_VERIFY_WITH_TIMEOUT(Logged("[WARNING] Job " + job.JobId() + " writes no output to " +
                                        CProjectLayout(m_strDir).SlurmOutputFile(job.JobId()) +
                                        ": is the project folder shared with the cluster?"),
                                 WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(job.State(), int(ECommandState_Stopped), WAIT_MS);
        QCOMPARE(Log().filter("writes no output").size(), 1);
    }
};

QTEST_MAIN(SlurmRunTest)
#include "SlurmRunTest.moc"
