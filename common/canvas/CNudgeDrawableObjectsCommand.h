#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CUndoCommand.h"

#include <QPointF>

#include <memory>
#include <vector>

class CDrawableObject;

// Moves objects by an offset in image pixels, as the arrow keys do; undo moves them back by it. A nudge of the same
// objects that follows on the undo stack merges into this one, so that a run of key presses is one step. Each object
// announces its move itself, so a canvas that lists it repaints.
class OVRELCOMMON_EXPORT CNudgeDrawableObjectsCommand : public CUndoCommand
{
public:
    CNudgeDrawableObjectsCommand(std::vector<std::shared_ptr<CDrawableObject>> vctObjects, const QPointF& offset);

    void Execute() override;
    void Undo() override;
    bool MergeWith(const CUndoCommand& next) override;

    QPointF GetOffset() const { return m_offset; }

private:
    void MoveBy(const QPointF& offset);

    std::vector<std::shared_ptr<CDrawableObject>> m_vctObjects;
    QPointF m_offset;
};
