#pragma once

#include "frame/SLogMessage.h"

#include <QObject>
#include <QStringList>
#include <QVector>

// Collects the log messages the log model hands out while it lives.
class CLogCapture
{
public:
    CLogCapture();
    ~CLogCapture();

    // Waits until every message written before the call has been handed out, so that absent lines are really absent.
    bool Sync(int nTimeoutMs = 20000);
    void Clear() { m_vctMessages.clear(); }

    bool Contains(ELogLevel eLevel, const QString& strText) const;
    int Count(const QString& strText) const;
    QStringList Texts() const;

private:
    QObject m_receiver;
    QVector<SLogMessage> m_vctMessages;
    int m_nMarker = 0;
    bool m_bMarkerSeen = false;
};
