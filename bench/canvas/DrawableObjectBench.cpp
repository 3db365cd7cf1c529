// A canvas holding 10,000 rectangles: adding them as drawn objects, finding the object under 10,000 points, selecting
// all of them, moving the selection as one undo step, undoing and redoing that move, and deleting the selection as one
// step and undoing that. Goal: each step under 50 ms.

#include "canvas/CAddDrawableObjectCommand.h"
#include "canvas/CDeleteDrawableObjectCommand.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CMoveDrawableObjectCommand.h"
#include "frame/CSetting.h"
#include "frame/CUndoCommandGroup.h"
#include "frame/CUndoStack.h"

#include "Geometry/COvrelRectangle.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace
{
const int OBJECTS = 10000;
const int POINTS = 10000;
const double STEP_GOAL_MS = 50.0;

// Runs the step once and prints its time. A missed goal shows in the line; only wrong results fail the bench.
void Step(const char* szName, const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    const double dblMs = timer.nsecsElapsed() / 1e6;
    std::printf("BENCH %s: %.1f ms (goal < %.0f ms)\n", szName, dblMs, STEP_GOAL_MS);
}

// The first object whose boundary contains the point, walking the whole list.
std::shared_ptr<CDrawableObject> Walk(const CDrawableObjectModel& model, const QPointF& point)
{
    for (int i = 0; i < model.GetObjectCount(); ++i)
    {
        if (model.GetObject(i)->GetBoundary().contains(point))
            return model.GetObject(i);
    }
    return nullptr;
}
} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    CSetting::Set("GENERAL_LOG_DIR", home.path() + "/Log");

    CDrawableObjectModel model;
    CUndoStack stack;

    // A 100 x 100 grid of 30 x 20 boxes 40 x 30 apart on a 4000 x 3000 image: half of a random point is covered.
    std::vector<std::shared_ptr<CDrawableObject>> vctObjects;
    for (int i = 0; i < OBJECTS; ++i)
        vctObjects.push_back(std::make_shared<CDrawableGeometry>(
            std::make_shared<Ovrel::Geometry::COvrelRectangle>(40.0 * (i % 100), 30.0 * (i / 100), 30, 20)));
    QRandomGenerator random(1);
    std::vector<QPointF> vctPoints;
    for (int i = 0; i < POINTS; ++i)
        vctPoints.emplace_back(random.bounded(4000.0), random.bounded(3000.0));

    Step("canvas_add_10000_objects",
         [&]
         {
             for (const auto& pObject : vctObjects)
             {
                 auto* pCommand = new CAddDrawableObjectCommand(&model, pObject);
                 stack.PushUndo(pCommand);
                 pCommand->Execute();
             }
         });

    std::vector<std::shared_ptr<CDrawableObject>> vctFound(vctPoints.size());
    Step("canvas_object_under_10000_points",
         [&]
         {
             for (size_t i = 0; i < vctPoints.size(); ++i)
                 vctFound[i] = model.FindObjectAt(vctPoints[i]);
         });
    int nHits = 0;
    for (size_t i = 0; i < vctPoints.size(); ++i)
    {
        nHits += vctFound[i] ? 1 : 0;
        if (i % 50 == 0 && vctFound[i] != Walk(model, vctPoints[i]))
        {
            std::fprintf(stderr, "point %zu: the lookup and the walk disagree\n", i);
            return 1;
        }
    }
    std::printf("%d of %d points lie on an object\n", nHits, POINTS);

    const QPointF start(100, 100), end(137, 81);
    Step("canvas_select_all",
         [&]
         {
             for (int i = 0; i < model.GetObjectCount(); ++i)
             {
                 const auto pObject = model.GetObject(i);
                 pObject->SetSelected(true);
                 pObject->SetMouseOffset(start - pObject->GetBoundary().topLeft());
             }
         });

    Step("canvas_move_selection_as_one_step",
         [&]
         {
             auto* pGroup = new CUndoCommandGroup;
             for (int i = 0; i < model.GetObjectCount(); ++i)
             {
                 const auto pObject = model.GetObject(i);
                 if (pObject->GetSelected())
                     pGroup->AddCommand(new CMoveDrawableObjectCommand(pObject, start, end, pObject->GetMouseOffset()));
             }
             stack.PushUndo(pGroup);
             pGroup->Execute();
         });
    Step("canvas_undo_move", [&] { stack.Undo(); });
    const QRectF undone = vctObjects.back()->GetBoundary();
    Step("canvas_redo_move", [&] { stack.Redo(); });
    const QRectF redone = vctObjects.back()->GetBoundary();
    if (undone != QRectF(3960, 2970, 30, 20) || redone != QRectF(3997, 2951, 30, 20) ||
        model.FindObjectAt({3998, 2952}) != vctObjects.back())
    {
        std::fprintf(stderr, "the move did not land where it should\n");
        return 1;
    }

    // Deleting the selection, newest first as the list runs, and bringing it back.
    Step("canvas_delete_selection_as_one_step",
         [&]
         {
             auto* pGroup = new CUndoCommandGroup;
             for (int i = 0; i < model.GetObjectCount(); ++i)
             {
                 if (model.GetObject(i)->GetSelected())
                     pGroup->AddCommand(new CDeleteDrawableObjectCommand(&model, model.GetObject(i)));
             }
             stack.PushUndo(pGroup);
             pGroup->Execute();
         });
    const int nAfterDelete = model.GetObjectCount();
    Step("canvas_undo_delete", [&] { stack.Undo(); });
    if (nAfterDelete != 0 || model.GetObjectCount() != OBJECTS || model.GetObject(0) != vctObjects.back())
    {
        std::fprintf(stderr, "the deletion or its undo lost objects or their order\n");
        return 1;
    }
    return 0;
}
