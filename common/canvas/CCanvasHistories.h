#pragma once

#include "OvrelCommonGlobal.h"

#include <QString>

#include <deque>
#include <map>
#include <memory>
#include <vector>

class CDrawableObject;
class CDrawableObjectModel;
class CUndoStack;

// The undo history of a canvas belongs to the image it was made on. Whoever knows images by more than their pixels
// names the shown image with an opaque key; when another image takes its place the history is parked under that key
// together with the objects then shown, and an image without a key loses its history. A parked history comes back with
// the very objects its commands hold, so it only ever applies to what it was made on. At most kMaxParked histories are
// kept; the one parked longest ago goes first.
class OVRELCOMMON_EXPORT CCanvasHistories
{
public:
    static constexpr int kMaxParked = 32;

    // Nothing is owned; the live stack is the one the canvas's gestures push on.
    CCanvasHistories(CUndoStack* pLive, CDrawableObjectModel* pObjects);
    ~CCanvasHistories();
    CCanvasHistories(const CCanvasHistories&) = delete;
    CCanvasHistories& operator=(const CCanvasHistories&) = delete;

    // The key of the image the live history is made on; empty for an image nobody names.
    void SetKey(const QString& strKey);
    QString GetKey() const { return m_strKey; }

    // The shown image gives way to another: the live history is parked under its key with the listed objects, or
    // deleted when it has no key. The live history then starts empty, without a key.
    void Leave();

    // The objects parked with the history of the key, in list order; empty when none is parked.
    std::vector<std::shared_ptr<CDrawableObject>> ParkedObjects(const QString& strKey) const;
    bool IsParked(const QString& strKey) const;
    // For an image just opened under that key, before anything is shown on it: lists the parked objects again in
    // their order (each add announced, no undo step) and makes the parked history the live one, with the key. False,
    // changing nothing, when nothing is parked under the key.
    bool Resume(const QString& strKey);
    // Deletes the history parked under the key, if any.
    void Drop(const QString& strKey);
    // Deletes every parked history, and the live one when it has a key.
    void DropKeyed();

private:
    struct SParked
    {
        std::unique_ptr<CUndoStack> pStack;
        std::vector<std::shared_ptr<CDrawableObject>> vctObjects;
    };

    CUndoStack* m_pLive;
    CDrawableObjectModel* m_pObjects;
    QString m_strKey;
    std::map<QString, SParked> m_mapParked;
    // Keys in the order they were parked, oldest first.
    std::deque<QString> m_queOrder;
};
