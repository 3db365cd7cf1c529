#include "frame/CRunnableThread.h"
#include "frame/CUndoCommandGroup.h"
#include "frame/CUndoStack.h"
#include "frame/IOvrelRunnable.h"

#include <QAtomicInt>
#include <QtTest>

#include <algorithm>

namespace
{
// Records what happens to it in a shared journal, e.g. "A+" executed, "A-" undone, "A*" redone, "A~" deleted.
class CJournalCommand : public CUndoCommand
{
public:
    CJournalCommand(QString strName, QStringList& journal, bool bOwnRedo = false)
        : m_strName(std::move(strName)), m_journal(journal), m_bOwnRedo(bOwnRedo)
    {
    }
    ~CJournalCommand() override { m_journal << m_strName + "~"; }
    void Execute() override { m_journal << m_strName + "+"; }
    void Undo() override { m_journal << m_strName + "-"; }
    void Redo() override
    {
        if (m_bOwnRedo)
            m_journal << m_strName + "*";
        else
            CUndoCommand::Redo();
    }

private:
    QString m_strName;
    QStringList& m_journal;
    bool m_bOwnRedo;
};

class CRecordingJob : public IOvrelRunnable
{
public:
    void Run() override
    {
        m_pRunThread = QThread::currentThread();
        m_nRuns.ref();
    }
    void Finished() override
    {
        m_pFinishedThread = QThread::currentThread();
        m_bRunDoneAtFinish = m_nRuns.loadAcquire() > 0;
        ++m_nFinished;
    }

    QThread* m_pRunThread = nullptr;
    QThread* m_pFinishedThread = nullptr;
    QAtomicInt m_nRuns;
    int m_nFinished = 0;
    bool m_bRunDoneAtFinish = false;
};
} // namespace

class UndoRunnerTest : public QObject
{
    Q_OBJECT
private slots:
    void stackMovesCommandsBetweenSides_data();
    void stackMovesCommandsBetweenSides();
    void groupUndoesBackwardsAndRedoesForwards();
    void destroyingStackDeletesEachCommandOnce();
    void commandMayPushWhileUndoing();

    void runnerCallsFinishedOnCreatingThreadAfterRun();
};

void UndoRunnerTest::stackMovesCommandsBetweenSides_data()
{
    // Script: "pA" push A and execute it, "u" undo, "r" redo.
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("journal");
    QTest::addColumn<int>("undoCount");
    QTest::addColumn<int>("redoCount");
    QTest::newRow("undo on empty stack") << QStringList{"u"} << QStringList{} << 0 << 0;
    QTest::newRow("redo with nothing undone") << QStringList{"pA", "r"} << QStringList{"A+"} << 1 << 0;
    QTest::newRow("newest undone first, redo re-applies oldest undone last")
        << QStringList{"pA", "pB", "u", "u", "r"} << QStringList{"A+", "B+", "B-", "A-", "A*"} << 1 << 1;
    QTest::newRow("redo then undo takes the redone one back")
        << QStringList{"pA", "u", "r", "u"} << QStringList{"A+", "A-", "A*", "A-"} << 0 << 1;
    // A new edit makes the undone commands stale: they are deleted, and redo has nothing left to re-apply.
    QTest::newRow("push after undo deletes the redo side")
        << QStringList{"pA", "u", "pB", "r"} << QStringList{"A+", "A-", "A~", "B+"} << 1 << 0;
    QTest::newRow("push deletes every undone command, newest first")
        << QStringList{"pA", "pB", "pC", "u", "u", "pD", "r", "u"}
        << QStringList{"A+", "B+", "C+", "C-", "B-", "B~", "C~", "D+", "D-"} << 1 << 1;
    QTest::newRow("push after a redo deletes only what is still undone")
        << QStringList{"pA", "pB", "u", "u", "r", "pC", "u"}
        << QStringList{"A+", "B+", "B-", "A-", "A*", "B~", "C+", "C-"} << 1 << 1;
}

void UndoRunnerTest::stackMovesCommandsBetweenSides()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, journal);
    QFETCH(int, undoCount);
    QFETCH(int, redoCount);

    QStringList actual;
    {
        CUndoStack stack;
        for (const QString& step : script)
        {
            if (step.startsWith('p'))
            {
                auto* pCommand = new CJournalCommand(step.mid(1), actual, true);
                stack.PushUndo(pCommand);
                pCommand->Execute();
            }
            else if (step == "u")
                stack.Undo();
            else
                stack.Redo();
        }
        QCOMPARE(actual, journal);
        QCOMPARE(stack.UndoCount(), undoCount);
        QCOMPARE(stack.RedoCount(), redoCount);
    }
    // Every pushed command is deleted exactly once, by a push or by the stack.
    for (const QString& step : script)
    {
        if (step.startsWith('p'))
            QCOMPARE(actual.count(step.mid(1) + "~"), 1);
    }
}

void UndoRunnerTest::groupUndoesBackwardsAndRedoesForwards()
{
    QStringList journal;
    auto* pGroup = new CUndoCommandGroup;
    pGroup->AddCommand(new CJournalCommand("1", journal));
    pGroup->AddCommand(nullptr);
    pGroup->AddCommand(new CJournalCommand("2", journal));
    pGroup->AddCommand(new CJournalCommand("3", journal));

    CUndoStack stack;
    stack.PushUndo(pGroup);
    pGroup->Execute();
    stack.Undo();
    stack.Redo();

    QCOMPARE(journal, (QStringList{"1+", "2+", "3+", "3-", "2-", "1-", "1+", "2+", "3+"}));
}

void UndoRunnerTest::destroyingStackDeletesEachCommandOnce()
{
    QStringList journal;
    {
        CUndoStack stack;
        stack.PushUndo(new CJournalCommand("A", journal));
        stack.PushUndo(new CJournalCommand("B", journal));
        stack.PushUndo(nullptr);
        auto* pGroup = new CUndoCommandGroup;
        pGroup->AddCommand(new CJournalCommand("G1", journal));
        pGroup->AddCommand(new CJournalCommand("G2", journal));
        stack.PushUndo(pGroup);
        stack.Undo(); // group to the redo side
        stack.Undo(); // the null entry: taken off, nothing moves
        stack.Undo(); // B to the redo side
        journal.clear();
    }
    std::sort(journal.begin(), journal.end());
    QCOMPARE(journal, (QStringList{"A~", "B~", "G1~", "G2~"}));
}

void UndoRunnerTest::commandMayPushWhileUndoing()
{
    // A command that pushes onto its own stack while being undone must not deadlock.
    struct CPushingCommand : CUndoCommand
    {
        CUndoStack* pStack = nullptr;
        QStringList* pJournal = nullptr;
        void Execute() override {}
        void Undo() override { pStack->PushUndo(new CJournalCommand("pushed", *pJournal)); }
    };
    QStringList journal;
    CUndoStack stack;
    auto* pCommand = new CPushingCommand;
    pCommand->pStack = &stack;
    pCommand->pJournal = &journal;
    stack.PushUndo(pCommand);
    stack.Undo();
    QCOMPARE(stack.UndoCount(), 1);
    QCOMPARE(stack.RedoCount(), 1);
}

void UndoRunnerTest::runnerCallsFinishedOnCreatingThreadAfterRun()
{
    CRecordingJob job;
    {
        CRunnableThread runner(&job);
        runner.start();
        QTRY_COMPARE(job.m_nFinished, 1);
        runner.wait();
        QVERIFY(job.m_pRunThread != nullptr);
        QVERIFY(job.m_pRunThread != QThread::currentThread());
        QCOMPARE(job.m_pFinishedThread, QThread::currentThread());
        QVERIFY(job.m_bRunDoneAtFinish);

        runner.start();
        QTRY_COMPARE(job.m_nFinished, 2);
        runner.wait();
    }
    // The job outlives its runner.
    QCOMPARE(job.m_nRuns.loadAcquire(), 2);
}

QTEST_MAIN(UndoRunnerTest)
#include "UndoRunnerTest.moc"
