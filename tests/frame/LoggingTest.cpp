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
#include <QtTest>

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
    void burstIsWrittenInOrderFileBeforeView();
    void messageAfterMidnightGoesToNewDaysFile();
    void missingLogFolderIsCreatedWithParents();
    void viewShowsLevelTextAndColour_data();
    void viewShowsLevelTextAndColour();
    void viewClearsAt501stMessage();
    void flushWritesEveryQueuedMessageInOrder();

private:
    static QStringList ReadLines(const QString& strFile);
    static QString TodaysFile(const QString& strDir);

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<QTemporaryDir> m_pDir;
};

void LoggingTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
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

    SLogMessage message;
    message.strMessage = "Close Database";
    message.eLevel = static_cast<ELogLevel>(level);
    message.dateTime = when;
    model.slot_NewMessage(message);

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

void LoggingTest::burstIsWrittenInOrderFileBeforeView()
{
    CLogView view;
    QStringList seenInFileWhenShown;
    const QString strFile = TodaysFile(m_pDir->path());
    connect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessage, this,
            [&](const SLogMessage&) { seenInFileWhenShown << ReadLines(strFile).join('|'); });

    CLogger::Write(ELogLevel_Normal, "first %d", 1);
    CLogger::Write(ELogLevel_Debug, "second %d", 2);
    CLogger::Write(ELogLevel_Error, "third %d", 3);

    QTRY_COMPARE(view.GetItemModel()->rowCount(), 3);
    QCOMPARE(view.GetItemModel()->item(0, 2)->text(), QString("first 1"));
    QCOMPARE(view.GetItemModel()->item(1, 2)->text(), QString("second 2"));
    QCOMPARE(view.GetItemModel()->item(2, 2)->text(), QString("third 3"));
    const QStringList lines = ReadLines(strFile);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith("[NORMAL][") && lines[0].endsWith("] first 1"));
    QVERIFY(lines[1].startsWith("[DEBUG][") && lines[1].endsWith("] second 2"));
    QVERIFY(lines[2].startsWith("[ERROR][") && lines[2].endsWith("] third 3"));
    // Each message was already in the file when listeners connected after the writer saw it.
    QCOMPARE(seenInFileWhenShown.size(), 3);
    QVERIFY(seenInFileWhenShown[0].endsWith("first 1"));
    QVERIFY(seenInFileWhenShown[2].endsWith("third 3"));
    disconnect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessage, this, nullptr);
}

void LoggingTest::messageAfterMidnightGoesToNewDaysFile()
{
    const QDateTime written(QDate(2026, 3, 1), QTime(23, 59, 59, 990));
    QDateTime now = written;
    CLogModel model([&now] { return now; });

    SLogMessage before;
    before.strMessage = "before midnight";
    before.dateTime = QDateTime(QDate(2026, 3, 1), QTime(23, 0, 0));
    model.slot_NewMessage(before);

    now = QDateTime(QDate(2026, 3, 2), QTime(0, 0, 0, 5));
    SLogMessage late;
    late.strMessage = "late";
    late.dateTime = written;
    model.slot_NewMessage(late);

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

    SLogMessage message;
    message.strMessage = "hello";
    message.dateTime = QDateTime::currentDateTime();
    model.slot_NewMessage(message);

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
    SLogMessage message;
    message.strMessage = "text";
    message.eLevel = static_cast<ELogLevel>(level);
    message.dateTime = QDateTime(QDate(2021, 8, 14), QTime(9, 5, 31));
    view.slot_NewMessage(message);

    QStandardItemModel* pModel = view.GetItemModel();
    QCOMPARE(pModel->rowCount(), 1);
    QCOMPARE(pModel->item(0, 0)->text(), QString("2021-08-14 09::05::31"));
    QCOMPARE(pModel->item(0, 1)->text(), text);
    QCOMPARE(pModel->item(0, 2)->text(), QString("text"));
    for (int nColumn = 0; nColumn < 3; ++nColumn)
        QCOMPARE(pModel->item(0, nColumn)->foreground().color(), colour);
}

void LoggingTest::viewClearsAt501stMessage()
{
    CLogView view;
    SLogMessage message;
    message.dateTime = QDateTime::currentDateTime();
    for (int i = 0; i < 500; ++i)
    {
        message.strMessage = QString::number(i);
        view.slot_NewMessage(message);
    }
    QStandardItemModel* pModel = view.GetItemModel();
    QCOMPARE(pModel->rowCount(), 500);

    message.strMessage = "501st";
    view.slot_NewMessage(message);
    QCOMPARE(pModel->rowCount(), 1);
    QCOMPARE(pModel->item(0, 2)->text(), QString("501st"));
    QCOMPARE(pModel->columnCount(), 3);
    const QStringList headers{pModel->headerData(0, Qt::Horizontal).toString(),
                              pModel->headerData(1, Qt::Horizontal).toString(),
                              pModel->headerData(2, Qt::Horizontal).toString()};
    QCOMPARE(headers, (QStringList{"DateTime", "Type", "Message"}));
}

void LoggingTest::flushWritesEveryQueuedMessageInOrder()
{
    for (int i = 0; i < 50; ++i)
        CLogger::Write(ELogLevel_Debug, "queued %d", i);
    CLogger::Write(ELogLevel_Debug, "Application is ended");
    CLogger::Write(ELogLevel_Normal, "MainWindow: Destroy()");
    CLogger::Flush();

    const QStringList lines = ReadLines(TodaysFile(m_pDir->path()));
    QCOMPARE(lines.size(), 52);
    for (int i = 0; i < 50; ++i)
        QVERIFY2(lines[i].endsWith(QString("] queued %1").arg(i)), qPrintable(lines[i]));
    QVERIFY(lines[50].startsWith("[DEBUG][") && lines[50].endsWith("] Application is ended"));
    QVERIFY(lines[51].startsWith("[NORMAL][") && lines[51].endsWith("] MainWindow: Destroy()"));

    // Nothing is left to be handed out twice.
    QCOMPARE(CLogModel::GetInstance().QueuedCount(), 0);
}

QTEST_MAIN(LoggingTest)
#include "LoggingTest.moc"
