#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/CDrawableObjectIndex.h"
#include "frame/CModel.h"

#include <QPointF>
#include <QString>

#include <memory>
#include <unordered_set>
#include <vector>

class CDrawableObject;

// The drawable objects of one canvas: the committed objects, the temporary drawing objects that show a gesture in
// progress, and one waiting object (the rubber line of a polygon being drawn). Every change is announced with the
// object's UID and name and written to the log. GUI thread only.
//
// A committed object is listed at most once; index 0 is the most recently added. While listed, its property changes
// are relayed as the model's signal_ChangeDrawableObjectProperty, exactly once per change however often the object
// left and came back (through undo and redo); once it leaves the list its changes are no longer relayed.
class OVRELCOMMON_EXPORT CDrawableObjectModel : public CModel
{
    Q_OBJECT
public:
    explicit CDrawableObjectModel(QObject* parent = nullptr);
    ~CDrawableObjectModel() override;

    // Puts the object at the front of the list, selects it and resets its grab offset (neither change is relayed),
    // then announces it. An empty pointer or an object already listed is ignored.
    void AddObject(std::shared_ptr<CDrawableObject> pObject);
    // Puts the objects in front one after another, as AddObject would, announcing each add; but only the last one is
    // selected, and the objects added meanwhile are never announced as selected and deselected (a view filled with
    // stored boxes tells no one they changed). The objects selected before are deselected first.
    void AddObjects(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects);
    // As AddObject, at list index nIndex instead of the front (clamped to 0 .. GetObjectCount()): what undo uses to put
    // a deleted object back where it was in the list and the drawing order.
    void InsertObject(std::shared_ptr<CDrawableObject> pObject, int nIndex);
    // Announces signal_BeforeDeleteDrawableObject while the object is still listed, removes it, then announces
    // signal_DeleteDrawableObject with the same name. False, announcing nothing, when the object is not listed.
    bool DeleteObject(unsigned int nUID);
    bool DeleteObject(const std::shared_ptr<CDrawableObject>& pObject);

    // Empty for an index outside 0 .. GetObjectCount() - 1.
    std::shared_ptr<CDrawableObject> GetObject(int nIndex) const;
    int GetObjectCount() const { return static_cast<int>(m_vctObjects.size()); }
    // The listed object with that UID, or empty; the most recently added are looked at first.
    std::shared_ptr<CDrawableObject> FindObject(unsigned int nUID) const;
    // The list index of the object, or -1 when it is not listed.
    int IndexOf(const std::shared_ptr<CDrawableObject>& pObject) const;

    // The first object in list order whose boundary contains the point (QRectF::contains), or empty; and every such
    // object in list order. Boundaries are read again after any add, delete or relayed change, so a geometry changed
    // behind its object's back (through CDrawableGeometry::GetData) is seen after the object's next announced change.
    std::shared_ptr<CDrawableObject> FindObjectAt(const QPointF& point) const;
    std::vector<std::shared_ptr<CDrawableObject>> FindObjectsAt(const QPointF& point) const;

    // Deselects every listed object; each one that was selected announces it. The model follows selections through
    // the objects' announcements, so that the deselection before each add costs nothing when only the object added
    // last is selected.
    void DeselectAll();

    void AddDrawingObject(std::shared_ptr<CDrawableObject> pObject);
    void ClearDrawingObjects();
    std::vector<std::shared_ptr<CDrawableObject>> GetDrawingObjects() const { return m_vctDrawingObjects; }

    // Replaces the waiting object and switches its name label off; an empty pointer clears it.
    void SetWaitingObject(std::shared_ptr<CDrawableObject> pObject);
    void ClearWaitingObject();
    std::shared_ptr<CDrawableObject> GetWaitingObject() const { return m_pWaitingObject; }

    // Empties the objects and the drawing objects (the waiting object stays) with one signal_ClearObject and no
    // per-object signals or log lines.
    void ClearAll();

signals:
    void signal_ChangeDrawableObjectProperty(uint nUID);
    void signal_DeleteDrawableObject(uint nUID, QString strName);
    void signal_BeforeDeleteDrawableObject(uint nUID, QString strName);
    void signal_AddDrawableObject(uint nUID, QString strName);
    void signal_ChangeDrawingObject();
    void signal_ClearObject();

private slots:
    void slot_ChangeDrawableObjectProperty(uint nUID);

private:
    // Lists the object at list index nIndex, selected or not (neither is relayed), and announces it.
    void List(std::shared_ptr<CDrawableObject> pObject, int nIndex, bool bSelect);
    // Position in m_vctObjects (oldest first) of the object, or -1.
    int FindStored(const CDrawableObject* pObject) const;
    int FindStored(unsigned int nUID) const;
    bool DeleteStored(int nStored);
    void Disconnect(CDrawableObject* pObject);
    const CDrawableObjectIndex& Index() const;

    std::vector<std::shared_ptr<CDrawableObject>> m_vctDrawingObjects;
    std::shared_ptr<CDrawableObject> m_pWaitingObject;
    // Stored oldest first so that adding, which puts an object in front, appends: list index i is stored at
    // size - 1 - i.
    std::vector<std::shared_ptr<CDrawableObject>> m_vctObjects;
    std::unordered_set<const CDrawableObject*> m_setListed;
    // What is known of the selected listed objects: none, at most m_pSelectedOne, or anything.
    enum class ESelection
    {
        None,
        One,
        Unknown
    };
    ESelection m_eSelection = ESelection::None;
    CDrawableObject* m_pSelectedOne = nullptr;
    // Built on demand from the boundaries and dropped by every change that may move one.
    mutable CDrawableObjectIndex m_index;
    mutable bool m_bIndexValid = false;
};
