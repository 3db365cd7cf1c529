#pragma once

#include <QMetaMethod>
#include <QObject>
#include <QStringList>

// Records, in order, the name of every "signal_..." signal an object emits, so that a test sees the order of
// different signals and any signal it did not expect (one QSignalSpy per signal sees neither).
class CSignalJournal : public QObject
{
    Q_OBJECT
public:
    explicit CSignalJournal(QObject* pSender)
    {
        const QMetaObject* pMeta = pSender->metaObject();
        const QMetaMethod record = metaObject()->method(metaObject()->indexOfSlot("slot_Record()"));
        for (int i = 0; i < pMeta->methodCount(); ++i)
        {
            const QMetaMethod method = pMeta->method(i);
            if (method.methodType() == QMetaMethod::Signal && method.name().startsWith("signal_"))
                connect(pSender, method, this, record);
        }
    }

    // The names recorded since the last call.
    QStringList Take()
    {
        QStringList lstNames;
        lstNames.swap(m_lstNames);
        return lstNames;
    }

private slots:
    void slot_Record() { m_lstNames << sender()->metaObject()->method(senderSignalIndex()).name(); }

private:
    QStringList m_lstNames;
};
