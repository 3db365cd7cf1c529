#include "CLogMark.h"
#include "CTestSandbox.h"

#include "frame/CLogModel.h"
#include "frame/CLogger.h"
#include "frame/CSetting.h"
#include "project/ECommandState.h"
#include "project/run/CTrainerProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <memory>

#include <sys/types.h>

using IntList = QList<int>;

// The runner with real child processes: each test writes a shell script that plays the trainer and checks the day's
// log file.
class TrainerProcessTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<CTestSandbox> m_pSandbox;
    QString m_strDir;
    int m_nCase = 0;
    CLogMark m_log;

    // The log file's lines since the test began, those still queued included, each as "[LEVEL] text".
    QStringList Log() const { return m_log.Lines(); }
    // The last line of the log file, without its time; cheap enough to wait on while the file grows large.
    QString LastLine() const
    {
        CLogModel::GetInstance().Flush();
        QFile file(CLogModel::GetInstance().CurrentFileName());
        if (!file.open(QIODevice::ReadOnly) || !file.seek(std::max<qint64>(0, file.size() - 1024)))
            return {};
        const QList<QByteArray> lstLines = file.readAll().trimmed().split('\n');
        return QString::fromUtf8(lstLines.last()).replace(QRegularExpression("\\]\\[[-\\d: ]+\\] "), "] ");
    }
    // The log lines after the start block, that is after the last "Arguments config.txt" or weights line.
    QStringList Output(int nArguments = 2) const
    {
        const QStringList lstLog = Log();
        const int nLast = lstLog.lastIndexOf("[NORMAL] Arguments") + nArguments;
        return nLast < nArguments ? lstLog : QStringList(lstLog.mid(nLast + 1));
    }
    // A shell script in this test's folder, executable unless asked otherwise.
    QString Script(const QString& strName, const QByteArray& baBody, bool bExecutable = true) const
    {
        const QString strPath = QDir(m_strDir).filePath(strName);
        QFile file(strPath);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("#!/bin/sh\n" + baBody + "\n");
        file.close();
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (bExecutable)
            permissions |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        file.setPermissions(permissions);
        return strPath;
    }
    // Runs the script to its end; false when it did not end within the timeout.
    bool Run(CTrainerProcess& trainer, const QString& strScript, int nTimeoutMs = 10000) const
    {
        if (!trainer.Start(strScript, "", "", m_strDir))
            return false;
        QElapsedTimer elapsed;
        elapsed.start();
        // Started means the state left stopped: wait for that first, then for the end.
        while (trainer.State() == ECommandState_Stopped && elapsed.elapsed() < 1000)
            QTest::qWait(5);
        while (trainer.State() != ECommandState_Stopped && elapsed.elapsed() < nTimeoutMs)
            QTest::qWait(10);
        return trainer.State() == ECommandState_Stopped;
    }
    // The texts of the lines that carry the tag, in order.
    static QStringList Texts(const QStringList& lstLines, const QString& strTag)
    {
        QStringList lstTexts;
        for (const QString& strLine : lstLines)
        {
            if (strLine.startsWith(strTag))
                lstTexts << strLine.mid(strTag.size());
        }
        return lstTexts;
    }
    static bool Alive(const QString& strPidFile)
    {
        QFile file(strPidFile);
        const int nPid = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : 0;
        return nPid > 0 && ::kill(nPid, 0) == 0;
    }

private slots:
    void initTestCase()
    {
        m_pSandbox = std::make_unique<CTestSandbox>();
        CSetting::Set("GENERAL_LOG_DIR", m_pSandbox->Path("Log"));
    }
    void init()
    {
        m_strDir = m_pSandbox->Path(QString("case %1").arg(++m_nCase));
        QVERIFY(QDir().mkpath(m_strDir));
        CLogger::Write(ELogLevel_Debug, "test %d", m_nCase);
        m_log.Mark();
    }

    // Lines reach the log whole and once, however the trainer's writes cut them.
    void outputLinesAreLoggedWholeAndOnce_data()
    {
        QTest::addColumn<QByteArray>("baBody");
        QTest::addColumn<QStringList>("lstOutput");

        const QString strEnd = "[NORMAL] Command Finished with exit code 0";
        QTest::newRow("line written in two pieces") << QByteArray("printf 'epoch 1 '; sleep 0.3; printf 'loss 0.5\\n'")
                                                    << QStringList{"[NORMAL] epoch 1 loss 0.5", strEnd};
        QTest::newRow("two lines ending in a line end")
            << QByteArray("printf 'a\\nb\\n'") << QStringList{"[NORMAL] a", "[NORMAL] b", strEnd};
        QTest::newRow("each write ending in a line end")
            << QByteArray("printf 'a\\n'; sleep 0.2; printf 'b\\n'; sleep 0.2; printf 'c\\n'")
            << QStringList{"[NORMAL] a", "[NORMAL] b", "[NORMAL] c", strEnd};
        QTest::newRow("empty lines inside")
            << QByteArray("printf 'a\\n\\n'; sleep 0.2; printf '\\nb\\n'")
            << QStringList{"[NORMAL] a", "[NORMAL] ", "[NORMAL] ", "[NORMAL] b", strEnd};
        QTest::newRow("standard output trimmed")
            << QByteArray("printf '  x \\t\\n'") << QStringList{"[NORMAL] x", strEnd};
        QTest::newRow("standard error untrimmed at the error level, CRLF ends")
            << QByteArray("printf '  warn \\r\\n' >&2; sleep 0.2; printf ' part'>&2; sleep 0.3; printf 'ly \\r\\n' >&2")
            << QStringList{"[ERROR]   warn ", "[ERROR]  partly ", strEnd};
        QTest::newRow("both channels") << QByteArray("printf 'out\\n'; sleep 0.2; printf 'err\\n' >&2; sleep 0.2; "
                                                     "printf 'out 2\\n'")
                                       << QStringList{"[NORMAL] out", "[ERROR] err", "[NORMAL] out 2", strEnd};
        QTest::newRow("character split between writes")
            << QByteArray("printf 'gr\\303'; sleep 0.3; printf '\\274\\303\\237e\\n'")
            << QStringList{QString::fromUtf8("[NORMAL] grüße"), strEnd};
        QTest::newRow("unfinished last lines logged at the end")
            << QByteArray("printf 'a\\nlast'; printf 'err' >&2; sleep 0.2")
            << QStringList{"[NORMAL] a", "[NORMAL] last", "[ERROR] err", strEnd};
    }
    void outputLinesAreLoggedWholeAndOnce()
    {
        QFETCH(QByteArray, baBody);
        QFETCH(QStringList, lstOutput);
        CTrainerProcess trainer;

        QVERIFY(Run(trainer, Script("trainer.sh", baBody)));

        QTRY_COMPARE(Output(), lstOutput);
    }

    void commandLineIsLoggedAndPassed_data()
    {
        QTest::addColumn<QString>("strSetting");
        QTest::addColumn<QString>("strWeights");
        QTest::addColumn<QStringList>("lstArguments");

        QTest::newRow("no initial weights") << "detector train"
                                            << "" << QStringList{"detector", "train", "detector.txt", "config.txt"};
        QTest::newRow("blank-only weights add nothing")
            << "detector train"
            << "   " << QStringList{"detector", "train", "detector.txt", "config.txt"};
        QTest::newRow("weights trimmed and last")
            << "detector train"
            << " Backup/my weights.conv.74 "
            << QStringList{"detector", "train", "detector.txt", "config.txt", "Backup/my weights.conv.74"};
        QTest::newRow("blank pieces dropped") << "  detector   train "
                                              << "" << QStringList{"detector", "train", "detector.txt", "config.txt"};
        QTest::newRow("empty setting") << ""
                                       << "" << QStringList{"detector.txt", "config.txt"};
    }
    void commandLineIsLoggedAndPassed()
    {
        QFETCH(QString, strSetting);
        QFETCH(QString, strWeights);
        QFETCH(QStringList, lstArguments);
        const QString strScript =
            Script("darknet", "for a in \"$@\"; do printf 'arg[%s]\\n' \"$a\"; done; printf 'pwd[%s]\\n' \"$(pwd)\"");
        CTrainerProcess trainer;

        QVERIFY(trainer.Start(strScript, strSetting, strWeights, m_strDir));

        QStringList lstExpected{"[NORMAL] Start Command", "[NORMAL] Command " + strScript, "[NORMAL] Arguments"};
        for (const QString& strArgument : lstArguments)
            lstExpected << "[NORMAL] Arguments " + strArgument;
        for (const QString& strArgument : lstArguments)
            lstExpected << "[NORMAL] arg[" + strArgument + "]";
        lstExpected << "[NORMAL] pwd[" + m_strDir + "]"
                    << "[NORMAL] Command Finished with exit code 0";
        QTRY_COMPARE(Log(), lstExpected);
    }

    void missingExecutableStartsNothing_data()
    {
        QTest::addColumn<QString>("strExecutable");
        QTest::newRow("absent path") << "/nonexistent/darknet";
        QTest::newRow("the setting's default") << "no_command";
    }
    void missingExecutableStartsNothing()
    {
        QFETCH(QString, strExecutable);
        CTrainerProcess trainer;
        QSignalSpy spyState(&trainer, &CTrainerProcess::signal_CommandStateChanged);

        QVERIFY(!trainer.Start(strExecutable, "detector train", "", m_strDir));

        QCOMPARE(spyState.count(), 0);
        QCOMPARE(Log(), (QStringList{"[NORMAL] Start Command",
                                     "[ERROR] Execution file " + strExecutable + " does not exist"}));
    }

    // A run passes through starting and, once its program runs, running, back to stopped; the log says how it ended.
    void stateAndEndOfARunAreTold_data()
    {
        QTest::addColumn<QByteArray>("baBody");
        QTest::addColumn<bool>("bExecutable");
        QTest::addColumn<IntList>("lstStates");
        QTest::addColumn<QString>("strEnd");
        const IntList lstRan{ECommandState_Starting, ECommandState_Running, ECommandState_Stopped};
        QTest::newRow("success") << QByteArray("sleep 0.2; exit 0") << true << lstRan
                                 << "^\\[NORMAL\\] Command Finished with exit code 0$";
        QTest::newRow("failure") << QByteArray("sleep 0.2; exit 3") << true << lstRan
                                 << "^\\[ERROR\\] Command Finished with exit code 3$";
        QTest::newRow("file that cannot be run")
            << QByteArray("echo never") << false << IntList{ECommandState_Starting, ECommandState_Stopped}
            << "^\\[ERROR\\] Start Command Failed: .{10,}";
    }
    void stateAndEndOfARunAreTold()
    {
        QFETCH(QByteArray, baBody);
        QFETCH(bool, bExecutable);
        QFETCH(IntList, lstStates);
        QFETCH(QString, strEnd);
        CTrainerProcess trainer;
        QSignalSpy spyState(&trainer, &CTrainerProcess::signal_CommandStateChanged);

        QVERIFY(trainer.Start(Script("trainer.sh", baBody, bExecutable), "", "", m_strDir));

        QTRY_COMPARE(spyState.count(), lstStates.size());
        IntList lstGot;
        for (const QList<QVariant>& arguments : spyState)
            lstGot << arguments[0].toInt();
        QCOMPARE(lstGot, lstStates);
        QTRY_COMPARE(Output().size(), 1);
        QVERIFY2(QRegularExpression(strEnd).match(Output()[0]).hasMatch(), qPrintable(Output()[0]));
    }

    void startWhileRunningIsRefused()
    {
        CTrainerProcess trainer;
        const QString strScript = Script("trainer.sh", "printf 'ready\\n'; exec sleep 30");
        QVERIFY(trainer.Start(strScript, "", "", m_strDir));
        QTRY_VERIFY(Log().contains("[NORMAL] ready"));
        QSignalSpy spyState(&trainer, &CTrainerProcess::signal_CommandStateChanged);

        QVERIFY(!trainer.Start(strScript, "", "", m_strDir));

        QCOMPARE(Output(),
                 (QStringList{"[NORMAL] ready", "[NORMAL] Start Command", "[ERROR] Command is already running"}));
        QCOMPARE(spyState.count(), 0);
        QCOMPARE(trainer.State(), int(ECommandState_Running));
        trainer.Stop();
    }

    void stopEndsTrainer_data()
    {
        QTest::addColumn<QByteArray>("baBody");
        QTest::addColumn<QString>("strStopLine");
        QTest::addColumn<int>("nMinMs");
        QTest::newRow("trainer obeys") << QByteArray("printf 'ready\\n'; exec sleep 30") << "[NORMAL] Stop Command OK"
                                       << 0;
        // The stop wait is 300 ms here: a trainer that ignores the request is killed after it.
        QTest::newRow("trainer ignores the request")
            << QByteArray("trap '' TERM; printf 'ready\\n'; while :; do sleep 0.05; done")
            << "[ERROR] Stop Command Failed" << 300;
    }
    void stopEndsTrainer()
    {
        QFETCH(QByteArray, baBody);
        QFETCH(QString, strStopLine);
        QFETCH(int, nMinMs);
        CTrainerProcess trainer(300);
        QVERIFY(trainer.Start(Script("trainer.sh", baBody), "", "", m_strDir));
        QTRY_VERIFY(Log().contains("[NORMAL] ready"));
        QElapsedTimer elapsed;
        elapsed.start();

        trainer.Stop();

        const qint64 nStopMs = elapsed.elapsed();
        QVERIFY2(nStopMs >= nMinMs && nStopMs < 3000, qPrintable(QString::number(nStopMs)));
        QTRY_COMPARE(trainer.State(), int(ECommandState_Stopped));
        // The end that was asked for is no crash: nothing more is logged after the stop line.
        QTest::qWait(200);
        QCOMPARE(Output(), (QStringList{"[NORMAL] ready", strStopLine}));
    }

    void stopWithoutTrainerFailsAtOnce()
    {
        CTrainerProcess trainer;
        QElapsedTimer elapsed;
        elapsed.start();

        trainer.Stop();

        QVERIFY(elapsed.elapsed() < 1000);
        QCOMPARE(Log(), QStringList{"[ERROR] Stop Command Failed"});
    }

    // Ending the runner ends the trainer, within a second even when it ignores the request, and keeps what it printed.
    void destructionEndsTrainer_data()
    {
        QTest::addColumn<QByteArray>("baTrap");
        QTest::addColumn<int>("nMinMs");
        QTest::newRow("trainer obeys") << QByteArray() << 0;
        QTest::newRow("trainer ignores the request") << QByteArray("trap '' TERM;") << 1000;
    }
    void destructionEndsTrainer()
    {
        QFETCH(QByteArray, baTrap);
        QFETCH(int, nMinMs);
        const QString strPidFile = QDir(m_strDir).filePath("pid");
        auto pTrainer = std::make_unique<CTrainerProcess>();
        QVERIFY(pTrainer->Start(
            Script("trainer.sh", baTrap + " echo $$ > pid; printf 'half a'; while :; do sleep 0.05; done"), "", "",
            m_strDir));
        QTRY_VERIFY(Alive(strPidFile));
        QTest::qWait(100);
        QElapsedTimer elapsed;
        elapsed.start();

        pTrainer.reset();

        const qint64 nMs = elapsed.elapsed();
        QVERIFY2(nMs >= nMinMs && nMs < 2500, qPrintable(QString::number(nMs)));
        QVERIFY(!Alive(strPidFile));
        QCOMPARE(Output(), QStringList{"[NORMAL] half a"});
    }

    // Far more output than one step takes: every line arrives once and in order on its channel, and the end line
    // comes after them all.
    void largeBurstArrivesWholeAndInOrder()
    {
        const int nLines = 100000;
        CTrainerProcess trainer;
        trainer.SetStepBytes(1000);
        const QByteArray baSeq = "seq 1 " + QByteArray::number(nLines);

        QVERIFY(Run(trainer, Script("trainer.sh", baSeq + " >&2; " + baSeq), 60000));

        QTRY_COMPARE_WITH_TIMEOUT(LastLine(), QString("[NORMAL] Command Finished with exit code 0"), 20000);
        QStringList lstOutput = Output();
        QCOMPARE(lstOutput.takeLast(), QString("[NORMAL] Command Finished with exit code 0"));
        QStringList lstExpected;
        for (int i = 1; i <= nLines; ++i)
            lstExpected << QString::number(i);
        QCOMPARE(Texts(lstOutput, "[ERROR] "), lstExpected);
        QCOMPARE(Texts(lstOutput, "[NORMAL] "), lstExpected);
    }

    // A second run of the same runner starts clean: nothing of the first run's unfinished line leaks into it.
    void secondRunStartsClean()
    {
        CTrainerProcess trainer;
        QVERIFY(Run(trainer, Script("first.sh", "printf 'first'")));
        QTRY_COMPARE(Output(), (QStringList{"[NORMAL] first", "[NORMAL] Command Finished with exit code 0"}));

        QVERIFY(Run(trainer, Script("second.sh", "printf 'second\\n'")));

        QTRY_COMPARE(Output(), (QStringList{"[NORMAL] second", "[NORMAL] Command Finished with exit code 0"}));
    }
};

int RunTrainerProcessTest(int argc, char** argv)
{
    TrainerProcessTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TrainerProcessTest.moc"
