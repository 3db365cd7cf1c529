#include "CLogCapture.h"

#include "frame/CLogModel.h"
#include "frame/CLogger.h"

#include <QtTest>

namespace
{
const char* const MARKER = "log capture marker %d";
}

CLogCapture::CLogCapture()
{
    QObject::connect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessage, &m_receiver,
                     [this](const SLogMessage& sMessage)
                     {
                         if (sMessage.strMessage == QString::asprintf(MARKER, m_nMarker))
                         {
                             m_bMarkerSeen = true;
                             return;
                         }
                         if (!sMessage.strMessage.startsWith("log capture marker"))
                             m_vctMessages.append(sMessage);
                     });
}

CLogCapture::~CLogCapture() = default;

bool CLogCapture::Sync(int nTimeoutMs)
{
    ++m_nMarker;
    m_bMarkerSeen = false;
    CLogger::Write(ELogLevel_Debug, MARKER, m_nMarker);
    return QTest::qWaitFor([this]() { return m_bMarkerSeen; }, nTimeoutMs);
}

bool CLogCapture::Contains(ELogLevel eLevel, const QString& strText) const
{
    for (const SLogMessage& sMessage : m_vctMessages)
    {
        if (sMessage.eLevel == eLevel && sMessage.strMessage == strText)
            return true;
    }
    return false;
}

int CLogCapture::Count(const QString& strText) const
{
    int nCount = 0;
    for (const SLogMessage& sMessage : m_vctMessages)
    {
        if (sMessage.strMessage == strText)
            ++nCount;
    }
    return nCount;
}

QStringList CLogCapture::Texts() const
{
    QStringList lstTexts;
    for (const SLogMessage& sMessage : m_vctMessages)
        lstTexts.append(sMessage.strMessage);
    return lstTexts;
}
