#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"
#include "frame/SLogMessage.h"

#include <QByteArray>
#include <QDateTime>
#include <QMutex>
#include <QVector>

#include <deque>
#include <functional>

class QFile;
class QTimer;

// Queues log messages from any thread and hands them out on its own thread every 10 ms tick: each tick takes what is
// queued, in order, for at most a few milliseconds of work, writes it to the day's file and only then tells the log
// views. A burst larger than one tick's budget comes out over the following ticks.
class OVRELCOMMON_EXPORT CLogModel : public CModel
{
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    // The process-wide model, created on first use.
    static CLogModel& GetInstance();

    // The clock decides the day's file name at the moment of writing; tests hand in a fixed one.
    explicit CLogModel(Clock clock = Clock());
    // Discards what is still queued (the program flushes explicitly before) and closes the file.
    ~CLogModel() override;

    void Enqueue(const SLogMessage& sMessage);
    // Writes every queued message to the file, in order, without showing it in the views.
    void Flush();
    // Messages waiting to be handed out.
    int QueuedCount();
    // The file currently written, empty before the first message.
    QString CurrentFileName() const;

    // Writes every line to the process's standard error as well as to the file (off by default): a run without
    // window shows its log where it was started.
    void SetEchoToStandardError(bool bEcho) { m_bEchoToStandardError = bEcho; }

    static QString LevelTag(ELogLevel eLevel);
    static QString FormatLine(const SLogMessage& sMessage);

signals:
    // The messages one tick handed out, in order, already in the file. Log views take them as one batch.
    void signal_NewMessages(const QVector<SLogMessage>& vctMessages);
    // The same messages one by one, after the batch.
    void signal_NewMessage(const SLogMessage& sMessage);

public slots:
    // Appends one line to the day's file.
    void slot_NewMessage(const SLogMessage& sMessage);
    void slot_Terminate();
    void slot_OnTimer();

private:
    // Moves up to nMax messages from the head of the queue to the back of vctMessages; false when none was queued.
    bool TakeNext(QVector<SLogMessage>& vctMessages, int nMax);
    // Appends the lines of vctMessages from nFirst on to the day's file with one write.
    void WriteLines(const QVector<SLogMessage>& vctMessages, int nFirst);
    bool OpenDayFile();
    const QByteArray& TimeStamp(const QDateTime& dateTime);

    std::deque<SLogMessage> m_queMessages;
    QMutex m_mutexQueue;
    QFile* m_pFile = nullptr;
    QTimer* m_pTimer = nullptr;
    Clock m_clock;
    // Lines of one second share their formatted time; formatting it for each of a million lines is the main cost.
    qint64 m_nStampSecond = -1;
    QByteArray m_baStamp;
    bool m_bEchoToStandardError = false;
};
