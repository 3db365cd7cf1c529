#include "canvas/CCanvasHistories.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"
#include "frame/CUndoStack.h"

#include <algorithm>

CCanvasHistories::CCanvasHistories(CUndoStack* pLive, CDrawableObjectModel* pObjects)
    : m_pLive(pLive), m_pObjects(pObjects)
{
}

CCanvasHistories::~CCanvasHistories() = default;

void CCanvasHistories::SetKey(const QString& strKey)
{
    m_strKey = strKey;
}

void CCanvasHistories::Leave()
{
    if (!m_pLive)
        return;
    if (m_strKey.isEmpty())
    {
        m_pLive->Clear();
        return;
    }
    Drop(m_strKey);
    SParked parked;
    parked.pStack = std::make_unique<CUndoStack>();
    parked.pStack->Swap(*m_pLive);
    for (int nIndex = 0; m_pObjects && nIndex < m_pObjects->GetObjectCount(); ++nIndex)
        parked.vctObjects.push_back(m_pObjects->GetObject(nIndex));
    m_mapParked.emplace(m_strKey, std::move(parked));
    m_queOrder.push_back(m_strKey);
    m_strKey.clear();
    while (static_cast<int>(m_queOrder.size()) > kMaxParked)
        Drop(m_queOrder.front());
}

std::vector<std::shared_ptr<CDrawableObject>> CCanvasHistories::ParkedObjects(const QString& strKey) const
{
    const auto it = m_mapParked.find(strKey);
    return it == m_mapParked.end() ? std::vector<std::shared_ptr<CDrawableObject>>() : it->second.vctObjects;
}

bool CCanvasHistories::IsParked(const QString& strKey) const
{
    return m_mapParked.count(strKey) > 0;
}

bool CCanvasHistories::Resume(const QString& strKey)
{
    const auto it = m_mapParked.find(strKey);
    if (it == m_mapParked.end() || !m_pLive)
        return false;
    SParked parked = std::move(it->second);
    m_mapParked.erase(it);
    m_queOrder.erase(std::remove(m_queOrder.begin(), m_queOrder.end(), strKey), m_queOrder.end());
    m_pLive->Clear();
    m_pLive->Swap(*parked.pStack);
    m_strKey = strKey;
    if (m_pObjects)
    {
        // Oldest first: each add puts its object in front, so the list ends in the parked order.
        m_pObjects->AddObjects({parked.vctObjects.rbegin(), parked.vctObjects.rend()});
    }
    return true;
}

void CCanvasHistories::Drop(const QString& strKey)
{
    const auto it = m_mapParked.find(strKey);
    if (it == m_mapParked.end())
        return;
    // Out of the map before its commands are deleted with it.
    SParked parked = std::move(it->second);
    m_mapParked.erase(it);
    m_queOrder.erase(std::remove(m_queOrder.begin(), m_queOrder.end(), strKey), m_queOrder.end());
}

void CCanvasHistories::DropKeyed()
{
    while (!m_queOrder.empty())
        Drop(m_queOrder.front());
    if (!m_strKey.isEmpty() && m_pLive)
        m_pLive->Clear();
    m_strKey.clear();
}
