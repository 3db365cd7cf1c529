#include "canvas/CDrawableObjectModel.h"

#include "canvas/CDrawableObject.h"
#include "frame/CLogger.h"

#include <algorithm>

CDrawableObjectModel::CDrawableObjectModel(QObject* parent) : CModel(parent) {}

CDrawableObjectModel::~CDrawableObjectModel() = default;

void CDrawableObjectModel::AddObject(std::shared_ptr<CDrawableObject> pObject)
{
    InsertObject(std::move(pObject), 0);
}

void CDrawableObjectModel::InsertObject(std::shared_ptr<CDrawableObject> pObject, int nIndex)
{
    List(std::move(pObject), nIndex, true);
}

void CDrawableObjectModel::AddObjects(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects)
{
    DeselectAll();
    for (size_t i = 0; i < vctObjects.size(); ++i)
        List(vctObjects[i], 0, i + 1 == vctObjects.size());
}

void CDrawableObjectModel::List(std::shared_ptr<CDrawableObject> pObject, int nIndex, bool bSelect)
{
    if (!pObject || m_setListed.count(pObject.get()) > 0)
        return;
    // List index i is stored at size - 1 - i.
    const int nStored = GetObjectCount() - std::clamp(nIndex, 0, GetObjectCount());
    m_vctObjects.insert(m_vctObjects.begin() + nStored, pObject);
    m_setListed.insert(pObject.get());
    m_bIndexValid = false;
    // Set before the object is connected: its own announcement of it is not relayed.
    pObject->SetSelected(bSelect);
    if (bSelect && m_eSelection == ESelection::None)
    {
        m_eSelection = ESelection::One;
        m_pSelectedOne = pObject.get();
    }
    else if (bSelect)
        m_eSelection = ESelection::Unknown;
    pObject->SetMouseOffset(QPointF(0, 0));
    // Unique: an object that comes back through undo must not be relayed twice.
    connect(pObject.get(), &CDrawableObject::signal_ChangeDrawableObjectProperty, this,
            &CDrawableObjectModel::slot_ChangeDrawableObjectProperty, Qt::UniqueConnection);
    CLogger::Write(ELogLevel_Normal, "AddObject(%u)", pObject->GetUID());
    emit signal_AddDrawableObject(pObject->GetUID(), pObject->GetName());
}

bool CDrawableObjectModel::DeleteObject(unsigned int nUID)
{
    return DeleteStored(FindStored(nUID));
}

bool CDrawableObjectModel::DeleteObject(const std::shared_ptr<CDrawableObject>& pObject)
{
    return DeleteStored(FindStored(pObject.get()));
}

bool CDrawableObjectModel::DeleteStored(int nStored)
{
    if (nStored < 0)
        return false;
    // Held here so that the object outlives its removal while listeners hear of it.
    const std::shared_ptr<CDrawableObject> pObject = m_vctObjects[static_cast<size_t>(nStored)];
    const unsigned int nUID = pObject->GetUID();
    const QString strName = pObject->GetName();
    emit signal_BeforeDeleteDrawableObject(nUID, strName);
    // A listener may have changed the list meanwhile: look the object up again.
    const int nNow = FindStored(pObject.get());
    if (nNow < 0)
        return true;
    m_vctObjects.erase(m_vctObjects.begin() + nNow);
    m_setListed.erase(pObject.get());
    if (m_eSelection == ESelection::One && m_pSelectedOne == pObject.get())
        m_eSelection = ESelection::None;
    m_bIndexValid = false;
    Disconnect(pObject.get());
    CLogger::Write(ELogLevel_Normal, "DeleteObject(%u)", nUID);
    emit signal_DeleteDrawableObject(nUID, strName);
    return true;
}

std::shared_ptr<CDrawableObject> CDrawableObjectModel::GetObject(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetObjectCount())
        return nullptr;
    return m_vctObjects[m_vctObjects.size() - 1 - static_cast<size_t>(nIndex)];
}

std::shared_ptr<CDrawableObject> CDrawableObjectModel::FindObject(unsigned int nUID) const
{
    const int nStored = FindStored(nUID);
    return nStored < 0 ? nullptr : m_vctObjects[static_cast<size_t>(nStored)];
}

int CDrawableObjectModel::IndexOf(const std::shared_ptr<CDrawableObject>& pObject) const
{
    const int nStored = FindStored(pObject.get());
    return nStored < 0 ? -1 : GetObjectCount() - 1 - nStored;
}

std::shared_ptr<CDrawableObject> CDrawableObjectModel::FindObjectAt(const QPointF& point) const
{
    return GetObject(Index().FindFirst(point));
}

std::vector<std::shared_ptr<CDrawableObject>> CDrawableObjectModel::FindObjectsAt(const QPointF& point) const
{
    std::vector<std::shared_ptr<CDrawableObject>> vctFound;
    for (int nIndex : Index().FindAll(point))
        vctFound.push_back(GetObject(nIndex));
    return vctFound;
}

void CDrawableObjectModel::DeselectAll()
{
    if (m_eSelection == ESelection::One)
    {
        // Still listed: a deletion would have forgotten it.
        m_pSelectedOne->SetSelected(false);
    }
    else if (m_eSelection == ESelection::Unknown)
    {
        // In list order. A listener that hears of one deselection may change the list, so each step reads it
        // afresh; copying the list instead would cost two reference counts per object.
        for (int i = 0; i < GetObjectCount(); ++i)
            m_vctObjects[m_vctObjects.size() - 1 - static_cast<size_t>(i)]->SetSelected(false);
    }
    m_eSelection = ESelection::None;
}

void CDrawableObjectModel::AddDrawingObject(std::shared_ptr<CDrawableObject> pObject)
{
    if (!pObject ||
        std::find(m_vctDrawingObjects.begin(), m_vctDrawingObjects.end(), pObject) != m_vctDrawingObjects.end())
        return;
    m_vctDrawingObjects.push_back(pObject);
    CLogger::Write(ELogLevel_Normal, "Add Object %u", pObject->GetUID());
    emit signal_ChangeDrawingObject();
}

void CDrawableObjectModel::ClearDrawingObjects()
{
    m_vctDrawingObjects.clear();
    CLogger::Write(ELogLevel_Normal, "Clear Object");
    emit signal_ChangeDrawingObject();
}

void CDrawableObjectModel::SetWaitingObject(std::shared_ptr<CDrawableObject> pObject)
{
    if (!pObject)
    {
        ClearWaitingObject();
        return;
    }
    if (pObject == m_pWaitingObject)
        return;
    m_pWaitingObject = pObject;
    pObject->SetDisplayName(false);
    CLogger::Write(ELogLevel_Normal, "Add Object Waiting %u", pObject->GetUID());
    emit signal_ChangeDrawingObject();
}

void CDrawableObjectModel::ClearWaitingObject()
{
    m_pWaitingObject.reset();
    CLogger::Write(ELogLevel_Normal, "Clear Object Waiting ");
    emit signal_ChangeDrawingObject();
}

void CDrawableObjectModel::ClearAll()
{
    for (const auto& pObject : m_vctObjects)
        Disconnect(pObject.get());
    m_vctObjects.clear();
    m_setListed.clear();
    m_eSelection = ESelection::None;
    m_vctDrawingObjects.clear();
    m_bIndexValid = false;
    emit signal_ClearObject();
}

void CDrawableObjectModel::slot_ChangeDrawableObjectProperty(uint nUID)
{
    m_bIndexValid = false;
    // Any announced change may be a selection; only the object known to be the selected one changes nothing.
    if (!(m_eSelection == ESelection::One && m_pSelectedOne->GetUID() == nUID))
        m_eSelection = ESelection::Unknown;
    emit signal_ChangeDrawableObjectProperty(nUID);
}

int CDrawableObjectModel::FindStored(const CDrawableObject* pObject) const
{
    if (m_setListed.count(pObject) == 0)
        return -1;
    // Newest first: the objects that gestures and undo touch are mostly the recent ones.
    for (int i = GetObjectCount() - 1; i >= 0; --i)
    {
        if (m_vctObjects[static_cast<size_t>(i)].get() == pObject)
            return i;
    }
    return -1;
}

int CDrawableObjectModel::FindStored(unsigned int nUID) const
{
    for (int i = GetObjectCount() - 1; i >= 0; --i)
    {
        if (m_vctObjects[static_cast<size_t>(i)]->GetUID() == nUID)
            return i;
    }
    return -1;
}

void CDrawableObjectModel::Disconnect(CDrawableObject* pObject)
{
    disconnect(pObject, &CDrawableObject::signal_ChangeDrawableObjectProperty, this,
               &CDrawableObjectModel::slot_ChangeDrawableObjectProperty);
}

const CDrawableObjectIndex& CDrawableObjectModel::Index() const
{
    if (!m_bIndexValid)
    {
        std::vector<QRectF> vctBoxes;
        vctBoxes.reserve(m_vctObjects.size());
        for (auto it = m_vctObjects.rbegin(); it != m_vctObjects.rend(); ++it)
            vctBoxes.push_back((*it)->GetBoundary());
        m_index.Build(std::move(vctBoxes));
        m_bIndexValid = true;
    }
    return m_index;
}
