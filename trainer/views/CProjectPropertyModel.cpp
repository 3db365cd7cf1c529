#include "views/CProjectPropertyModel.h"

CProjectPropertyModel::CProjectPropertyModel(QObject* parent) : CModel(parent) {}

QVariant CProjectPropertyModel::GetProperty(const QString& strName) const
{
    const auto it = m_mapProperties.find(strName);
    if (it == m_mapProperties.end())
        return QVariant();
    return it->second;
}

void CProjectPropertyModel::SetProperty(const QString& strName, const QVariant& value)
{
    const auto it = m_mapProperties.find(strName);
    if (it != m_mapProperties.end() && it->second == value)
        return;
    m_mapProperties[strName] = value;
    emit signal_ChangeProperty(strName);
}
