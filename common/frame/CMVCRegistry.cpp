#include "frame/CMVCRegistry.h"

#include "frame/CController.h"
#include "frame/CModel.h"

#include <QWidget>

#include <algorithm>

std::vector<SMVC> CMVCRegistry::m_vctItems;

void CMVCRegistry::PushMVC(CModel* pModel, QWidget* pView, CController* pController)
{
    SMVC item;
    item.pModel = pModel;
    item.pController = pController;
    item.pView = pView;
    m_vctItems.push_back(item);

    // QObject::destroyed comes from ~QObject, when only the QObject part is left: entries are matched by the pointer
    // value registered, never through the object. Each connection goes with its object, so a later object at the
    // same address is not affected.
    if (pModel)
        QObject::connect(pModel, &QObject::destroyed,
                         [pModel] { Forget([pModel](const SMVC& i) { return i.pModel == pModel; }); });
    if (pView)
        QObject::connect(pView, &QObject::destroyed,
                         [pView] { Forget([pView](const SMVC& i) { return i.pView == pView; }); });
    if (pController)
        QObject::connect(pController, &QObject::destroyed,
                         [pController]
                         { Forget([pController](const SMVC& i) { return i.pController == pController; }); });
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

void CMVCRegistry::Forget(const std::function<bool(const SMVC&)>& holds)
{
    m_vctItems.erase(std::remove_if(m_vctItems.begin(), m_vctItems.end(), holds), m_vctItems.end());
}
