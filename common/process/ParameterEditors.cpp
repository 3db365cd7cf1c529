#include "process/ParameterEditors.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStandardItemModel>

namespace ParameterEditors
{

bool IsEditableCell(const QWidget* pEditorParent, const QModelIndex& index)
{
    if (index.column() != 1 || !pEditorParent)
        return false;
    const auto* pView = qobject_cast<const QAbstractItemView*>(pEditorParent->parentWidget());
    return pView && qobject_cast<const QStandardItemModel*>(pView->model());
}

QComboBox* KeyList(const QMetaEnum& keys, QWidget* parent)
{
    auto* pList = new QComboBox(parent);
    for (int i = 0; i < keys.keyCount(); ++i)
        pList->addItem(ChoiceText(keys, keys.value(i)));
    return pList;
}

QString ChoiceText(const QMetaEnum& keys, int nValue)
{
    const char* pszKey = keys.valueToKey(nValue);
    if (!pszKey)
        return QString();
    // The key repeats the enumeration's name; what follows it is the choice itself.
    const QString strEnum = QString::fromLatin1(keys.enumName());
    const QString strKey = QString::fromLatin1(pszKey);
    const QString strTool = QString(strEnum).remove(QStringLiteral("EImage2DProcess"));
    return strKey.startsWith(strEnum) ? strTool + ' ' + strKey.mid(strEnum.size()) : strKey;
}

int ChoiceValue(const QMetaEnum& keys, const QString& strText)
{
    for (int i = 0; i < keys.keyCount(); ++i)
    {
        if (ChoiceText(keys, keys.value(i)) == strText)
            return keys.value(i);
    }
    return -1;
}

} // namespace ParameterEditors
