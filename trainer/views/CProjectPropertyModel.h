#pragma once

#include "frame/CModel.h"

#include <QString>
#include <QVariant>

#include <map>

// The project properties the property dialog shows, by name. Emits only for real changes.
class CProjectPropertyModel : public CModel
{
    Q_OBJECT
public:
    explicit CProjectPropertyModel(QObject* parent = nullptr);

    // The stored value, or an invalid QVariant when the name is absent.
    QVariant GetProperty(const QString& strName) const;
    // Stores the value and emits signal_ChangeProperty, unless the name already holds an equal value.
    void SetProperty(const QString& strName, const QVariant& value);

signals:
    // After the new value is stored, so that GetProperty already answers it.
    void signal_ChangeProperty(const QString& strName);

private:
    std::map<QString, QVariant> m_mapProperties;
};
