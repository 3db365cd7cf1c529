#include "frame/CLogModel.h"

#include "frame/CSetting.h"

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>

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
    // The writer is connected first so the file always sees a message before any view does.
    connect(this, &CLogModel::signal_NewMessage, this, &CLogModel::slot_NewMessage);
    connect(this, &QObject::destroyed, this, &CLogModel::slot_Terminate);

    m_pTimer = new QTimer();
    connect(m_pTimer, &QTimer::timeout, this, &CLogModel::slot_OnTimer);
    m_pTimer->start(10);
}

CLogModel::~CLogModel()
{
    if (m_pTimer)
    {
        m_pTimer->stop();
        delete m_pTimer;
        m_pTimer = nullptr;
    }
    // QObject::destroyed fires only after this destructor, when the object is a plain QObject and calling a member
    // of this class through the connection is undefined; the model terminates here instead.
    disconnect(this, &QObject::destroyed, this, &CLogModel::slot_Terminate);
    slot_Terminate();
}

void CLogModel::Enqueue(const SLogMessage& sMessage)
{
    QMutexLocker locker(&m_mutexQueue);
    m_queMessages.push_back(sMessage);
}

bool CLogModel::TakeNext(SLogMessage& sMessage)
{
    QMutexLocker locker(&m_mutexQueue);
    if (m_queMessages.empty())
        return false;
    sMessage = m_queMessages.front();
    m_queMessages.pop_front();
    return true;
}

void CLogModel::slot_OnTimer()
{
    SLogMessage sMessage;
    if (TakeNext(sMessage))
        emit signal_NewMessage(sMessage);
}

void CLogModel::Flush()
{
    SLogMessage sMessage;
    while (TakeNext(sMessage))
        slot_NewMessage(sMessage);
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
    switch (eLevel)
    {
    case ELogLevel_Normal:
        return QStringLiteral("[NORMAL]");
    case ELogLevel_Debug:
        return QStringLiteral("[DEBUG]");
    case ELogLevel_Warning:
        return QStringLiteral("[WARNING]");
    case ELogLevel_Error:
        return QStringLiteral("[ERROR]");
    }
    return QString();
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

void CLogModel::slot_NewMessage(const SLogMessage& sMessage)
{
    if (!OpenDayFile())
        return;
    QTextStream stream(m_pFile);
    stream.setCodec("UTF-8");
    stream << FormatLine(sMessage) << "\n";
    stream.flush();
    m_pFile->flush();
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
