#include "frame/CMVCRegistry.h"

#include <QWidget>

std::vector<SMVC> CMVCRegistry::m_vctItems;

void CMVCRegistry::PushMVC(CModel* pModel, QWidget* pView, CController* pController)
{
    SMVC item;
    item.pModel = pModel;
    item.pController = pController;
    item.pView = pView;
    m_vctItems.push_back(item);
}

SMVC CMVCRegistry::FindMVC(const QString& strName)
{
    for (const SMVC& item : m_vctItems)
    {
        if (item.pView && item.pView->windowTitle() == strName)
            return item;
    }
    return SMVC();
}
