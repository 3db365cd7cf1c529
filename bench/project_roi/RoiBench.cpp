// Times the annotation of project images on a project of 20,000 images and 100,000 ROIs: opening an image with 2,000
// ROIs until its boxes are painted (goal under 200 ms), and each ROI edit with its revalidation (goal under 10 ms).

#include "BenchProject.h"
#include "BenchTiming.h"
#include "CPromptAnswers.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "canvas/CImageViewModeModel.h"
#include "frame/CLogger.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "views/CClassChooserView.h"
#include "views/CProjectView.h"
#include "workspace/CImageLayoutModel.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"
#include "workspace/CImageWorkspaceView.h"
#include "workspace/CWorkspaceBottomPanel.h"
#include "workspace/CWorkspacePropertyPanel.h"
#include "workspace/CWorkspaceToolPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>

namespace
{
const int EXTRA_ROIS = 2000;
const int EDITS = 40;

void Report(const char* pszName, double dblMilliseconds, const char* pszGoal)
{
    std::printf("BENCH %s: %.2f ms (goal %s)\n", pszName, dblMilliseconds, pszGoal);
}
} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);

    const QString strDir = home.path() + "/bench";
    BenchProject::SShape shape;
    shape.nExtraRoisOnFirst = EXTRA_ROIS;
    QImage image(1920, 1080, QImage::Format_RGB888);
    image.fill(Qt::darkGreen);
    if (!BenchProject::Generate(strDir, "bench", shape) || !image.save(strDir + "/Images/image_00000.jpg"))
    {
        std::fprintf(stderr, "could not generate the project\n");
        return 1;
    }

    CImageLayoutModel layout;
    CImageWorkspaceView workspaceView(&layout);
    CWorkspaceToolPanel toolPanel;
    CWorkspacePropertyPanel propertyPanel;
    CWorkspaceBottomPanel bottomPanel;
    CImageWorkspaceController workspace(&layout, &workspaceView, &toolPanel, &propertyPanel, &bottomPanel);
    workspaceView.resize(1200, 900);
    workspaceView.show();

    CPromptAnswers answers;
    CProjectModel model;
    CProjectView projectView(&model, nullptr);
    CProjectController controller(&model, &projectView);
    QObject::connect(&workspaceView, &CImageWorkspaceView::signal_AddDrawableObjectWithViewID, &controller,
                     &CProjectController::slot_AddDrawableObjectWithViewID);
    QObject::connect(&workspaceView, &CImageWorkspaceView::signal_BeforeDeleteDrawableObjectWithViewID, &controller,
                     &CProjectController::slot_BeforeDeleteDrawableObjectWithViewID);
    QObject::connect(&workspaceView, &CImageWorkspaceView::signal_ChangeDrawableObjectPropertyWithViewID, &controller,
                     &CProjectController::slot_ChangeDrawableObjectPropertyWithViewID);
    controller.OpenProject(strDir, "bench");
    if (model.GetTrainImages().size() != static_cast<size_t>(shape.nTrainImages))
    {
        std::fprintf(stderr, "could not open the project\n");
        return 1;
    }
    QApplication::processEvents();

    CImageViewerController* pViewer = workspace.GetViewerController(0);
    CImageView2DController* pCanvas = pViewer->GetCanvasController();
    std::vector<double> vctOpen;
    for (int i = 0; i < 5; ++i)
    {
        vctOpen.push_back(BenchTiming::Milliseconds(
            [&]()
            {
                controller.slot_OpenImage(1, "Images/image_00000.jpg");
                pCanvas->RepaintCanvas();
                pViewer->GetCanvas()->repaint();
            }));
    }
    const int nShown = pViewer->GetObjectModel()->GetObjectCount();
    if (nShown != EXTRA_ROIS + shape.nRoisPerImage)
    {
        std::fprintf(stderr, "%d boxes shown instead of %d\n", nShown, EXTRA_ROIS + shape.nRoisPerImage);
        return 1;
    }
    Report("open image with 2,000 ROIs until painted", BenchTiming::Median(vctOpen), "< 200 ms");

    const auto chooseClass = [&answers](const QString& strClass)
    {
        answers.dialogs.push_back(
            [strClass](QDialog* pDialog)
            {
                auto* pChooser = qobject_cast<CClassChooserView*>(pDialog);
                if (!pChooser)
                    return 0;
                pChooser->GetComboBox()->setCurrentText(strClass);
                return 1;
            });
    };
    CImageViewModeModel* pModes = workspace.GetModeModel();
    std::vector<double> vctInsert, vctMove, vctRelabel, vctDelete;
    for (int i = 0; i < EDITS; ++i)
    {
        const QPointF from(40 * i, 1020);
        const QPointF to = from + QPointF(30, 30);
        const QPointF inside = from + QPointF(15, 15);
        pModes->SetMode(CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge);
        chooseClass("class3");
        vctInsert.push_back(BenchTiming::Milliseconds(
            [&]()
            {
                pCanvas->slot_DrawRectangleStart(from);
                pCanvas->slot_DrawRectangleDoing(from, to);
                pCanvas->slot_DrawRectangleEnd(from, to);
            }));
        pModes->SetMode(CImageViewModeModel::EImageView2DMode_Selecting);
        vctMove.push_back(BenchTiming::Milliseconds(
            [&]()
            {
                pCanvas->slot_SelectMovingStart(inside);
                pCanvas->slot_SelectMovingDoing(inside, inside + QPointF(0, -50));
                pCanvas->slot_SelectMovingEnd(inside, inside + QPointF(0, -50));
            }));
        const auto pObject = pViewer->GetObjectModel()->GetObject(pViewer->GetObjectModel()->GetObjectCount() - 1);
        chooseClass("class5");
        vctRelabel.push_back(BenchTiming::Milliseconds([&]() { controller.ChangeROIClass(0, pObject->GetUID()); }));
        vctDelete.push_back(BenchTiming::Milliseconds([&]() { pCanvas->slot_PressKey(Qt::Key_Delete); }));
    }
    if (pViewer->GetObjectModel()->GetObjectCount() != nShown)
    {
        std::fprintf(stderr, "the edits did not come out even\n");
        return 1;
    }
    Report("ROI insert (draw, class chosen) with revalidation", BenchTiming::Median(vctInsert), "< 10 ms");
    Report("ROI move (drag) with revalidation", BenchTiming::Median(vctMove), "< 10 ms");
    Report("ROI relabel with revalidation", BenchTiming::Median(vctRelabel), "< 10 ms");
    Report("ROI delete with revalidation", BenchTiming::Median(vctDelete), "< 10 ms");
    CLogger::Flush();
    return 0;
}
