#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"
#include "frame/SLogMessage.h"

#include <QDateTime>
#include <QMutex>

#include <deque>
#include <functional>

class QFile;
class QTimer;

// Queues log messages from any thread and hands them out one per 10 ms tick on its own thread: first to the day's
// file (its own slot is connected first), then to every log view.
class OVRELCOMMON_EXPORT CLogModel : public CModel
{
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    // The process-wide model, created on first use.
    static CLogModel& GetInstance();

    // The clock decides the day's file name at the moment of writing; tests hand in a fixed one.
    explicit CLogModel(Clock clock = Clock());
    ~CLogModel() override;

    void Enqueue(const SLogMessage& sMessage);
    // Writes every queued message to the file, in order, without showing it in the views.
    void Flush();
    // Messages waiting to be handed out.
    int QueuedCount();
    // The file currently written, empty before the first message.
    QString CurrentFileName() const;

    static QString LevelTag(ELogLevel eLevel);
    static QString FormatLine(const SLogMessage& sMessage);

signals:
    void signal_NewMessage(const SLogMessage& sMessage);

public slots:
    void slot_NewMessage(const SLogMessage& sMessage);
    void slot_Terminate();
    void slot_OnTimer();

private:
    bool TakeNext(SLogMessage& sMessage);
    bool OpenDayFile();

    std::deque<SLogMessage> m_queMessages;
    QMutex m_mutexQueue;
    QFile* m_pFile = nullptr;
    QTimer* m_pTimer = nullptr;
    Clock m_clock;
};
