#include "frame/CLogModel.h"

#include "frame/CSetting.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMetaMethod>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace
{
const int TICK_INTERVAL_MS = 10;
// Work one tick may do before it lets the event loop run again; the rest of a burst waits for the next tick.
const qint64 TICK_BUDGET_MS = 10;
// Messages taken per lock: short enough not to hold up writers, long enough to write the file in large pieces.
const int CHUNK_MESSAGES = 1024;

const char* LevelTagBytes(ELogLevel eLevel)
{
    switch (eLevel)
    {
    case ELogLevel_Normal:
        return "[NORMAL]";
    case ELogLevel_Debug:
        return "[DEBUG]";
    case ELogLevel_Warning:
        return "[WARNING]";
    case ELogLevel_Error:
        return "[ERROR]";
    }
    return "";
}
} // namespace

CLogModel& CLogModel::GetInstance()
{
    static CLogModel model;
    return model;
}

CLogModel::CLogModel(Clock clock) : m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = [] { return QDateTime::currentDateTime(); };
    m_pFile = new QFile();

    qRegisterMetaType<SLogMessage>("SLogMessage");
    qRegisterMetaType<QVector<SLogMessage>>("QVector<SLogMessage>");

    m_pTimer = new QTimer();
    connect(m_pTimer, &QTimer::timeout, this, &CLogModel::slot_OnTimer);
    m_pTimer->start(TICK_INTERVAL_MS);
}

CLogModel::~CLogModel()
{
    if (m_pTimer)
    {
        m_pTimer->stop();
        delete m_pTimer;
        m_pTimer = nullptr;
    }
    // Here and not through QObject::destroyed: that signal comes from ~QObject, when this is no CLogModel any more.
    slot_Terminate();
}

void CLogModel::Enqueue(const SLogMessage& sMessage)
{
    QMutexLocker locker(&m_mutexQueue);
    m_queMessages.push_back(sMessage);
}

bool CLogModel::TakeNext(QVector<SLogMessage>& vctMessages, int nMax)
{
    QMutexLocker locker(&m_mutexQueue);
    if (m_queMessages.empty())
        return false;
    const auto itEnd = m_queMessages.begin() + std::min<std::ptrdiff_t>(nMax, m_queMessages.size());
    for (auto it = m_queMessages.begin(); it != itEnd; ++it)
        vctMessages.append(std::move(*it));
    m_queMessages.erase(m_queMessages.begin(), itEnd);
    return true;
}

void CLogModel::slot_OnTimer()
{
    QElapsedTimer elapsed;
    elapsed.start();
    QVector<SLogMessage> vctMessages;
    while (elapsed.elapsed() < TICK_BUDGET_MS)
    {
        const int nFirst = vctMessages.size();
        if (!TakeNext(vctMessages, CHUNK_MESSAGES))
            break;
        WriteLines(vctMessages, nFirst);
    }
    if (vctMessages.isEmpty())
        return;

    // The whole tick is in the file before any view sees its first message.
    emit signal_NewMessages(vctMessages);
    if (isSignalConnected(QMetaMethod::fromSignal(&CLogModel::signal_NewMessage)))
    {
        for (const SLogMessage& sMessage : qAsConst(vctMessages))
            emit signal_NewMessage(sMessage);
    }
}

void CLogModel::Flush()
{
    QVector<SLogMessage> vctMessages;
    while (TakeNext(vctMessages, CHUNK_MESSAGES))
    {
        WriteLines(vctMessages, 0);
        vctMessages.clear();
    }
}

int CLogModel::QueuedCount()
{
    QMutexLocker locker(&m_mutexQueue);
    return static_cast<int>(m_queMessages.size());
}

QString CLogModel::CurrentFileName() const
{
    return m_pFile ? m_pFile->fileName() : QString();
}

QString CLogModel::LevelTag(ELogLevel eLevel)
{
    return QString::fromLatin1(LevelTagBytes(eLevel));
}

QString CLogModel::FormatLine(const SLogMessage& sMessage)
{
    return LevelTag(sMessage.eLevel) + QLatin1Char('[') + sMessage.dateTime.toString("yyyy-MM-dd hh:mm:ss") +
           QStringLiteral("] ") + sMessage.strMessage;
}

bool CLogModel::OpenDayFile()
{
    if (!m_pFile)
        return false;
    const QString strDefault =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QDir::separator() + "Ovrel";
    const QString strDir = CSetting::GetString("GENERAL_LOG_DIR", strDefault);
    QDir dir(strDir);
    if (!dir.exists() && !dir.mkpath("."))
        return false;

    const QString strName = strDir + QDir::separator() + m_clock().date().toString("yyyy_MM_dd") + ".txt";
    if (m_pFile->isOpen() && m_pFile->fileName() == strName && QFile::exists(strName))
        return true;
    if (m_pFile->isOpen())
        m_pFile->close();
    m_pFile->setFileName(strName);
    return m_pFile->open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Text);
}

const QByteArray& CLogModel::TimeStamp(const QDateTime& dateTime)
{
    static const QByteArray baInvalid;
    if (!dateTime.isValid())
        return baInvalid;
    const qint64 nSecond = dateTime.date().toJulianDay() * 86400 + dateTime.time().msecsSinceStartOfDay() / 1000;
    if (nSecond != m_nStampSecond)
    {
        m_baStamp = dateTime.toString("yyyy-MM-dd hh:mm:ss").toUtf8();
        m_nStampSecond = nSecond;
    }
    return m_baStamp;
}

void CLogModel::WriteLines(const QVector<SLogMessage>& vctMessages, int nFirst)
{
    if (nFirst >= vctMessages.size())
        return;
    QByteArray baLines;
    baLines.reserve((vctMessages.size() - nFirst) * 64);
    for (int i = nFirst; i < vctMessages.size(); ++i)
    {
        const SLogMessage& sMessage = vctMessages[i];
        baLines.append(LevelTagBytes(sMessage.eLevel));
        baLines.append('[');
        baLines.append(TimeStamp(sMessage.dateTime));
        baLines.append("] ", 2);
        baLines.append(sMessage.strMessage.toUtf8());
        baLines.append('\n');
    }
    if (m_bEchoToStandardError)
    {
        std::fwrite(baLines.constData(), 1, static_cast<size_t>(baLines.size()), stderr);
        std::fflush(stderr);
    }
    if (!OpenDayFile())
        return;
    m_pFile->write(baLines);
    m_pFile->flush();
}

void CLogModel::slot_NewMessage(const SLogMessage& sMessage)
{
    WriteLines(QVector<SLogMessage>{sMessage}, 0);
}

void CLogModel::slot_Terminate()
{
    {
        QMutexLocker locker(&m_mutexQueue);
        m_queMessages.clear();
    }
    if (m_pFile)
    {
        m_pFile->close();
        delete m_pFile;
        m_pFile = nullptr;
    }
}
