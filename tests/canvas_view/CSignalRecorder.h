#pragma once

#include <QMetaMethod>
#include <QObject>
#include <QPointF>
#include <QStringList>
#include <QVariant>

#include <vector>

// Records, in order, every "signal_..." signal an object emits with its arguments, as text such as
// "signal_DrawRectangleDoing(10,5;20,7.5)": points as x,y, arguments separated by ';'. One journal shows both the
// order of different signals and any signal a test did not expect.
class CSignalRecorder : public QObject
{
public:
    explicit CSignalRecorder(QObject* pSender)
    {
        const QMetaObject* pMeta = pSender->metaObject();
        const int nFirst = QObject::staticMetaObject.methodCount();
        for (int i = 0; i < pMeta->methodCount(); ++i)
        {
            const QMetaMethod method = pMeta->method(i);
            if (method.methodType() != QMetaMethod::Signal || !method.name().startsWith("signal_"))
                continue;
            // Each signal to a method index of its own past QObject's, answered by qt_metacall below.
            QMetaObject::connect(pSender, i, this, nFirst + static_cast<int>(m_vctSignals.size()), Qt::DirectConnection,
                                 nullptr);
            m_vctSignals.push_back(method);
        }
    }

    // The entries recorded since the last call.
    QStringList Take()
    {
        QStringList lstEntries;
        lstEntries.swap(m_lstEntries);
        return lstEntries;
    }

    int qt_metacall(QMetaObject::Call call, int nId, void** ppArgs) override
    {
        nId = QObject::qt_metacall(call, nId, ppArgs);
        if (nId < 0 || call != QMetaObject::InvokeMetaMethod)
            return nId;
        if (nId < static_cast<int>(m_vctSignals.size()))
            Record(m_vctSignals[static_cast<size_t>(nId)], ppArgs);
        return -1;
    }

private:
    void Record(const QMetaMethod& method, void** ppArgs)
    {
        QStringList lstArgs;
        for (int i = 0; i < method.parameterCount(); ++i)
        {
            const QVariant value(method.parameterType(i), ppArgs[i + 1]);
            if (value.userType() == QMetaType::QPointF)
                lstArgs << QString("%1,%2").arg(value.toPointF().x()).arg(value.toPointF().y());
            else
                lstArgs << value.toString();
        }
        m_lstEntries << QString("%1(%2)").arg(QString::fromLatin1(method.name()), lstArgs.join(';'));
    }

    std::vector<QMetaMethod> m_vctSignals;
    QStringList m_lstEntries;
};
