#include "CTestSandbox.h"

#include "frame/CLogModel.h"
#include "frame/CLogView.h"
#include "frame/CLogger.h"
#include "frame/CSetting.h"

#include <QDir>
#include <QFile>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <ctime>
#include <memory>

class LoggingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void lineCarriesLevelTagAndTime_data();
    void lineCarriesLevelTagAndTime();
    void longTextIsCutAt1023Bytes();
    void lineTimeIsLocalWallClock();
    void burstIsWrittenInOrderFileBeforeView();
    void messageAfterMidnightGoesToNewDaysFile();
    void missingLogFolderIsCreatedWithParents();
    void viewShowsLevelTextAndColour_data();
    void viewShowsLevelTextAndColour();
    void viewTakesBatchAsIfOneByOne_data();
    void viewTakesBatchAsIfOneByOne();
    void newestRowStaysVisibleAfterLayout_data();
    void newestRowStaysVisibleAfterLayout();
    void flushWritesEveryQueuedMessageInOrder();
    void burstFromAnotherThreadDrainsInOrderFileFirst();
    void endingModelNeverCallsItselfAfterDestruction();

private:
    static QStringList ReadLines(const QString& strFile);
    static QString TodaysFile(const QString& strDir);
    static SLogMessage Message(const QString& strText, const QDateTime& when, ELogLevel eLevel = ELogLevel_Normal);

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<QTemporaryDir> m_pDir;
};

void LoggingTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
    // Local time half an hour off whole hours, away from UTC: a time taken with a wrong offset shows in every line.
    qputenv("TZ", "IST-5:30");
    tzset();
}

void LoggingTest::init()
{
    // Whatever earlier tests queued must not leak into this one's file.
    CLogger::Flush();
    m_pDir = std::make_unique<QTemporaryDir>();
    CSetting::Set("GENERAL_LOG_DIR", m_pDir->path());
}

QStringList LoggingTest::ReadLines(const QString& strFile)
{
    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString LoggingTest::TodaysFile(const QString& strDir)
{
    return strDir + QDir::separator() + QDate::currentDate().toString("yyyy_MM_dd") + ".txt";
}

SLogMessage LoggingTest::Message(const QString& strText, const QDateTime& when, ELogLevel eLevel)
{
    SLogMessage message;
    message.strMessage = strText;
    message.eLevel = eLevel;
    message.dateTime = when;
    return message;
}

void LoggingTest::lineCarriesLevelTagAndTime_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("expected");
    QTest::newRow("normal") << 0 << "[NORMAL][2021-08-14 09:05:31] Close Database";
    QTest::newRow("debug") << 1 << "[DEBUG][2021-08-14 09:05:31] Close Database";
    QTest::newRow("warning") << 2 << "[WARNING][2021-08-14 09:05:31] Close Database";
    QTest::newRow("error") << 3 << "[ERROR][2021-08-14 09:05:31] Close Database";
    QTest::newRow("unknown level has no tag") << 9 << "[2021-08-14 09:05:31] Close Database";
}

void LoggingTest::lineCarriesLevelTagAndTime()
{
    QFETCH(int, level);
    QFETCH(QString, expected);
    const QDateTime when(QDate(2021, 8, 14), QTime(9, 5, 31));
    CLogModel model([when] { return when; });

    model.slot_NewMessage(Message("Close Database", when, static_cast<ELogLevel>(level)));

    const QStringList lines = ReadLines(m_pDir->filePath("2021_08_14.txt"));
    QCOMPARE(lines, QStringList{expected});
}

void LoggingTest::longTextIsCutAt1023Bytes()
{
    const QByteArray longText(2000, 'x');
    CLogger::Write(ELogLevel_Warning, "%s", longText.constData());
    CLogger::Flush();

    const QStringList lines = ReadLines(TodaysFile(m_pDir->path()));
    QCOMPARE(lines.size(), 1);
    const QString strText = lines.first().section("] ", 1);
    QCOMPARE(strText, QString(1023, 'x'));
}

void LoggingTest::lineTimeIsLocalWallClock()
{
    const QDateTime before = QDateTime::currentDateTime();
    CLogger::Write(ELogLevel_Normal, "now");
    const QDateTime after = QDateTime::currentDateTime();
    CLogger::Flush();

    const QStringList lines = ReadLines(TodaysFile(m_pDir->path()));
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.first().endsWith("] now"));
    const QDateTime stamped = QDateTime::fromString(lines.first().mid(9, 19), "yyyy-MM-dd hh:mm:ss");
    QVERIFY2(stamped.isValid(), qPrintable(lines.first()));
    QVERIFY2(stamped >= before.addMSecs(-before.time().msec()) && stamped <= after, qPrintable(lines.first()));
}

void LoggingTest::burstIsWrittenInOrderFileBeforeView()
{
    QStringList seenInFileWhenShown;
    const QString strFile = TodaysFile(m_pDir->path());
    connect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessage, this,
            [&](const SLogMessage& sMessage)
            {
                const QStringList lines = ReadLines(strFile);
                seenInFileWhenShown << (lines.filter("] " + sMessage.strMessage).size() == 1 ? "in file" : "missing");
            });

    CLogger::Write(ELogLevel_Normal, "first %d", 1);
    CLogger::Write(ELogLevel_Debug, "second %d", 2);
    CLogger::Write(ELogLevel_Error, "third %d", 3);

    // Each message was already in the file when it was handed to the listeners.
    QTRY_COMPARE(seenInFileWhenShown, (QStringList{"in file", "in file", "in file"}));
    QCOMPARE(ReadLines(strFile).size(), 3);
    disconnect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessage, this, nullptr);
}

void LoggingTest::messageAfterMidnightGoesToNewDaysFile()
{
    const QDateTime written(QDate(2026, 3, 1), QTime(23, 59, 59, 990));
    QDateTime now = written;
    CLogModel model([&now] { return now; });

    model.slot_NewMessage(Message("before midnight", QDateTime(QDate(2026, 3, 1), QTime(23, 0, 0))));
    now = QDateTime(QDate(2026, 3, 2), QTime(0, 0, 0, 5));
    model.slot_NewMessage(Message("late", written));

    QCOMPARE(ReadLines(m_pDir->filePath("2026_03_01.txt")),
             QStringList{"[NORMAL][2026-03-01 23:00:00] before midnight"});
    QCOMPARE(ReadLines(m_pDir->filePath("2026_03_02.txt")), QStringList{"[NORMAL][2026-03-01 23:59:59] late"});
    QCOMPARE(model.CurrentFileName(), m_pDir->filePath("2026_03_02.txt"));
}

void LoggingTest::missingLogFolderIsCreatedWithParents()
{
    const QString strDir = m_pDir->filePath("a/b/Log");
    CSetting::Set("GENERAL_LOG_DIR", strDir);
    CLogModel model;

    model.slot_NewMessage(Message("hello", QDateTime::currentDateTime()));

    const QStringList lines = ReadLines(TodaysFile(strDir));
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.first().endsWith("] hello"));
}

void LoggingTest::viewShowsLevelTextAndColour_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("normal") << 0 << "NORMAL" << QColor(0, 255, 0, 255);
    QTest::newRow("debug") << 1 << "DEBUG" << QColor(255, 255, 255, 255);
    QTest::newRow("warning") << 2 << "WARNING" << QColor(255, 255, 0, 255);
    QTest::newRow("error") << 3 << "ERROR" << QColor(255, 0, 0, 255);
}

void LoggingTest::viewShowsLevelTextAndColour()
{
    QFETCH(int, level);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    CLogView view;
    view.slot_NewMessage(
        Message("text", QDateTime(QDate(2021, 8, 14), QTime(9, 5, 31)), static_cast<ELogLevel>(level)));

    QStandardItemModel* pModel = view.GetItemModel();
    QCOMPARE(pModel->rowCount(), 1);
    QCOMPARE(pModel->item(0, 0)->text(), QString("2021-08-14 09::05::31"));
    QCOMPARE(pModel->item(0, 1)->text(), text);
    QCOMPARE(pModel->item(0, 2)->text(), QString("text"));
    for (int nColumn = 0; nColumn < 3; ++nColumn)
        QCOMPARE(pModel->item(0, nColumn)->foreground().color(), colour);
}

void LoggingTest::viewTakesBatchAsIfOneByOne_data()
{
    // The view holds `before` rows, then takes a batch of `count` messages numbered from 0. One by one, the table
    // would have been cleared by every 501st message; what is left is `rows` rows of the batch from message `first`.
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("first");
    QTest::newRow("batch fills to 500 exactly") << 0 << 500 << 500 << 0;
    QTest::newRow("full table, one more") << 500 << 1 << 1 << 0;
    QTest::newRow("one short, two more") << 499 << 2 << 1 << 1;
    QTest::newRow("501 into an empty table") << 0 << 501 << 1 << 500;
    QTest::newRow("1001 into an empty table") << 0 << 1001 << 1 << 1000;
    QTest::newRow("burst over several clearings") << 250 << 20000 << 250 << 19750;
}

void LoggingTest::viewTakesBatchAsIfOneByOne()
{
    QFETCH(int, before);
    QFETCH(int, count);
    QFETCH(int, rows);
    QFETCH(int, first);
    CLogView view;
    const QDateTime when(QDate(2021, 8, 14), QTime(9, 5, 31));
    for (int i = 0; i < before; ++i)
        view.slot_NewMessage(Message(QString("before %1").arg(i), when));
    QVector<SLogMessage> batch;
    for (int i = 0; i < count; ++i)
        batch << Message(QString("batch %1").arg(i), when, i % 2 ? ELogLevel_Error : ELogLevel_Normal);

    view.slot_NewMessages(batch);

    QStandardItemModel* pModel = view.GetItemModel();
    QCOMPARE(pModel->rowCount(), rows);
    for (int nRow = 0; nRow < rows; ++nRow)
    {
        const int nMessage = first + nRow;
        QCOMPARE(pModel->item(nRow, 2)->text(), QString("batch %1").arg(nMessage));
        QCOMPARE(pModel->item(nRow, 1)->text(), QString(nMessage % 2 ? "ERROR" : "NORMAL"));
    }
    const QStringList headers{pModel->headerData(0, Qt::Horizontal).toString(),
                              pModel->headerData(1, Qt::Horizontal).toString(),
                              pModel->headerData(2, Qt::Horizontal).toString()};
    QCOMPARE(headers, (QStringList{"DateTime", "Type", "Message"}));
}

void LoggingTest::newestRowStaysVisibleAfterLayout_data()
{
    // Messages come in batches of `batch` until `total`; then the view loses `shrink` pixels of height, as when the
    // dock it sits in is resized.
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("batch");
    QTest::addColumn<int>("shrink");
    QTest::newRow("one at a time") << 30 << 1 << 0;
    QTest::newRow("batches") << 40 << 7 << 0;
    QTest::newRow("view made smaller") << 30 << 30 << 60;
}

void LoggingTest::newestRowStaysVisibleAfterLayout()
{
    QFETCH(int, total);
    QFETCH(int, batch);
    QFETCH(int, shrink);
    CLogView view;
    view.resize(400, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    auto* pTable = view.findChild<QTableView*>();
    const auto newestShown = [pTable]
    {
        const QRect rect = pTable->visualRect(pTable->model()->index(pTable->model()->rowCount() - 1, 2));
        return rect.isValid() && pTable->viewport()->rect().contains(rect);
    };

    for (int nSent = 0; nSent < total;)
    {
        QVector<SLogMessage> vctBatch;
        for (int i = 0; i < batch && nSent < total; ++i, ++nSent)
            vctBatch << Message(QString("line %1").arg(nSent), QDateTime(QDate(2021, 8, 14), QTime(9, 5, 31)));
        view.slot_NewMessages(vctBatch);
        QTRY_VERIFY2(newestShown(), qPrintable(QString("after %1 lines").arg(nSent)));
    }
    view.resize(400, 200 - shrink);
    QTRY_VERIFY(newestShown());
}

void LoggingTest::flushWritesEveryQueuedMessageInOrder()
{
    // More than one chunk of the queue, as at the end of a long run.
    for (int i = 0; i < 1500; ++i)
        CLogger::Write(ELogLevel_Debug, "queued %d", i);
    CLogger::Write(ELogLevel_Normal, "MainWindow: Destroy()");
    CLogger::Flush();

    const QStringList lines = ReadLines(TodaysFile(m_pDir->path()));
    QCOMPARE(lines.size(), 1501);
    for (int i = 0; i < 1500; ++i)
        QVERIFY2(lines[i].endsWith(QString("] queued %1").arg(i)), qPrintable(lines[i]));
    QVERIFY(lines[1500].startsWith("[NORMAL][") && lines[1500].endsWith("] MainWindow: Destroy()"));

    // Nothing is left to be handed out twice.
    QCOMPARE(CLogModel::GetInstance().QueuedCount(), 0);
}

void LoggingTest::burstFromAnotherThreadDrainsInOrderFileFirst()
{
    // As many validation lines as opening a project of 20,000 images writes, from a thread of their own.
    const int nLines = 20000;
    CLogView view;
    const QString strFile = TodaysFile(m_pDir->path());
    int nHandedOut = 0;
    QStringList problems;
    connect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessages, this,
            [&](const QVector<SLogMessage>& batch)
            {
                nHandedOut += batch.size();
                // The file already holds the whole batch when the views get it.
                const QStringList lines = ReadLines(strFile);
                if (lines.size() < nHandedOut || !lines[nHandedOut - 1].endsWith("] " + batch.last().strMessage))
                    problems << QString("batch ending at %1 not in file").arg(nHandedOut);
            });

    QThread* pWriter = QThread::create(
        [nLines]
        {
            for (int i = 0; i < nLines; ++i)
                CLogger::Write(ELogLevel_Warning, "Image ID %d has no ROI", i);
        });
    pWriter->start();
    QTRY_COMPARE_WITH_TIMEOUT(nHandedOut, nLines, 20000);
    QVERIFY(pWriter->wait());
    delete pWriter;
    disconnect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessages, this, nullptr);

    QCOMPARE(problems, QStringList());
    const QStringList lines = ReadLines(strFile);
    QCOMPARE(lines.size(), nLines);
    for (int i = 0; i < nLines; ++i)
    {
        if (!lines[i].startsWith("[WARNING][") || !lines[i].endsWith(QString("] Image ID %1 has no ROI").arg(i)))
            QFAIL(qPrintable(QString("line %1: %2").arg(i).arg(lines[i])));
    }
    // The view ends as if it had taken them one by one: the last 500.
    QStandardItemModel* pModel = view.GetItemModel();
    QCOMPARE(pModel->rowCount(), 500);
    QCOMPARE(pModel->item(0, 2)->text(), QString("Image ID 19500 has no ROI"));
    QCOMPARE(pModel->item(499, 2)->text(), QString("Image ID 19999 has no ROI"));
}

void LoggingTest::endingModelNeverCallsItselfAfterDestruction()
{
    const QDateTime when(QDate(2021, 8, 14), QTime(9, 5, 31));
    auto pModel = std::make_unique<CLogModel>([when] { return when; });
    pModel->Enqueue(Message("flushed", when));
    pModel->Flush();
    pModel->Enqueue(Message("still queued", when));

    // A slot reached through QObject::destroyed runs when only the QObject is left of the model; the sanitizer
    // build reports that call, this one sees the connection.
    QVERIFY(!QObject::disconnect(pModel.get(), SIGNAL(destroyed(QObject*)), pModel.get(), nullptr));
    pModel.reset();

    // Flushed lines are in the file; what was queued at the end is dropped with the model.
    QCOMPARE(ReadLines(m_pDir->filePath("2021_08_14.txt")), QStringList{"[NORMAL][2021-08-14 09:05:31] flushed"});
}

QTEST_MAIN(LoggingTest)
#include "LoggingTest.moc"
