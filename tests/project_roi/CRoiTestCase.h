#pragma once

#include "CAnnotationSnapshot.h"
#include "CProjectTestCase.h"
#include "CWorkspaceFixture.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2DController.h"
#include "canvas/CImageViewModeModel.h"
#include "canvas/EImageView2DDrawbleObjectType.h"
#include "frame/CSetting.h"
#include "frame/CUndoStack.h"
#include "project/CRoiAnnotationHost.h"
#include "views/CClassChooserView.h"
#include "views/CClassEditorView.h"
#include "workspace/CImageViewerController.h"

#include <QComboBox>
#include <QImage>
#include <QTableView>

#include <algorithm>

// A project with three classes and two images, a workspace of two views wired to the project controller as the main
// window wires them, and the means to compare the rows of each image with the boxes on its view.
class CRoiTestCase : public CProjectTestCase
{
    Q_OBJECT

protected:
    std::unique_ptr<CWorkspaceFixture> m_pWorkspace;
    QString m_strDir;
    QStringList m_lstOffered;

    void InitCase() override
    {
        m_pWorkspace = std::make_unique<CWorkspaceFixture>();
        m_pWorkspace->controller->ChangeLayout(1, 2);
        QVERIFY(m_pWorkspace->Show());
        CProjectController* pController = &m_pCase->controller;
        CImageWorkspaceView* pView = m_pWorkspace->view.get();
        connect(pView, &CImageWorkspaceView::signal_AddDrawableObjectWithViewID, pController,
                &CProjectController::slot_AddDrawableObjectWithViewID);
        connect(pView, &CImageWorkspaceView::signal_BeforeDeleteDrawableObjectWithViewID, pController,
                &CProjectController::slot_BeforeDeleteDrawableObjectWithViewID);
        connect(pView, &CImageWorkspaceView::signal_ChangeDrawableObjectPropertyWithViewID, pController,
                &CProjectController::slot_ChangeDrawableObjectPropertyWithViewID);
    }
    void CleanupCase() override
    {
        m_pWorkspace.reset();
        // A quick class a test turned on must not answer the next test's chooser.
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS, 0);
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS_NAME, QString());
    }

    // Classes cat (1), dog (2) and bird (3); a.png (ID 1, training) and b.png (ID 2, test), 200 x 100 each, with the
    // ROI rows given as "image x y w h category".
    void AnnotatedProject(const QStringList& lstRois = {}, bool bOpen = true)
    {
        ImagesProject({"a.png train", "b.png test"}, lstRois, bOpen);
    }
    // The same classes with the images given as "name train|test", IDs from 1 in that order, 200 x 100 each.
    void ImagesProject(const QStringList& lstImages, const QStringList& lstRois, bool bOpen = true)
    {
        QStringList lstStatements = {"INSERT INTO category (ID, NAME) VALUES (1, 'cat'), (2, 'dog'), (3, 'bird')"};
        for (int i = 0; i < lstImages.size(); ++i)
            lstStatements.append(QString("INSERT INTO dataset_image (ID, NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, "
                                         "PROJECT_ID) VALUES (%1, '%2', 'Images/%2', '%3', 200, 100, 1)")
                                     .arg(i + 1)
                                     .arg(lstImages[i].section(' ', 0, 0), lstImages[i].section(' ', 1, 1)));
        for (const QString& strRoi : lstRois)
        {
            const QStringList v = strRoi.split(' ');
            lstStatements.append(QString("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES "
                                         "(%1, %2, %3, %4, %5, %6)")
                                     .arg(v[1], v[2], v[3], v[4], v[0], v[5]));
        }
        m_strDir = Project("roi", lstStatements, false);
        QVERIFY(!m_strDir.isEmpty());
        QVERIFY(QDir(m_strDir).mkpath("Images"));
        for (const QString& strImage : lstImages)
        {
            QImage image(200, 100, QImage::Format_RGB888);
            image.fill(Qt::darkGreen);
            QVERIFY(image.save(m_strDir + "/Images/" + strImage.section(' ', 0, 0)));
        }
        if (bOpen)
            m_pCase->controller.OpenProject(m_strDir, "roi");
    }
    QString DataFile() const { return CProjectFixture::DataFile(m_strDir, "roi"); }
    QList<QStringList> Sql(const QStringList& lstStatements) const
    {
        return CProjectFixture::Query(DataFile(), lstStatements);
    }

    // Opens project image 1 (a.png), 2 (b.png) or a further one (c.png for 3, ...) through the tree's signal on view
    // nViewID; the class choosers the opening asks are answered from lstClasses (see AnswerClass).
    void OpenImage(int nImageID, int nViewID, const QStringList& lstClasses = {})
    {
        m_pCase->answers.dialogs.push_back(CWorkspaceFixture::Choose(nViewID, &m_lstOffered));
        for (const QString& strClass : lstClasses)
            AnswerClass(strClass);
        emit m_pCase->view.signal_OpenImageFile(nImageID, QString("Images/%1.png").arg(QChar('a' + nImageID - 1)));
    }
    // The class editor, opened as the tree's "Edit Classes" opens it, deletes the class in table row nRow.
    void DeleteClassInEditor(int nRow)
    {
        m_pCase->answers.dialogs.push_back(
            [nRow](QDialog* pDialog)
            {
                auto* pEditor = qobject_cast<CClassEditorView*>(pDialog);
                if (!pEditor)
                    return 0;
                auto* pTable = pEditor->findChild<QTableView*>();
                pTable->setCurrentIndex(pTable->model()->index(nRow, 1));
                pEditor->slot_Delete();
                return 0;
            });
        emit m_pCase->view.signal_EditClasses();
    }
    // The class editor adds a class typed into its empty last row.
    void AddClassInEditor(const QString& strName)
    {
        m_pCase->answers.dialogs.push_back(
            [strName](QDialog* pDialog)
            {
                auto* pEditor = qobject_cast<CClassEditorView*>(pDialog);
                if (!pEditor)
                    return 0;
                QAbstractItemModel* pModel = pEditor->findChild<QTableView*>()->model();
                pModel->setData(pModel->index(pModel->rowCount() - 1, 1), strName);
                return 0;
            });
        emit m_pCase->view.signal_EditClasses();
    }
    // The next class chooser accepts strClass, or is cancelled for a null text.
    void AnswerClass(const QString& strClass)
    {
        m_pCase->answers.dialogs.push_back(CProjectFixture::ChooseClass(strClass));
    }

    CImageViewerController* Viewer(int nViewID) const { return m_pWorkspace->Viewer(nViewID); }
    CImageView2DController* Canvas(int nViewID) const { return Viewer(nViewID)->GetCanvasController(); }
    std::vector<std::shared_ptr<CDrawableGeometry>> Geometries(int nViewID) const
    {
        return CAnnotationSnapshot::Geometries(Viewer(nViewID)->GetObjectModel());
    }

    static QString Box(double dblX, double dblY, double dblWidth, double dblHeight, const QString& strClass)
    {
        return CAnnotationSnapshot::Box(dblX, dblY, dblWidth, dblHeight, strClass, 3);
    }
    // The rows of the image as "x y w h class" (class empty when it is gone), sorted.
    QStringList Rows(int nImageID) const { return CAnnotationSnapshot::Rows(DataFile(), nImageID, 3); }
    // The geometry boxes on the view as "x y w h name", sorted.
    QStringList Boxes(int nViewID) const { return CAnnotationSnapshot::Boxes(Viewer(nViewID)->GetObjectModel(), 3); }
    // Every row of dataset_roi as "id image" and every bound object's ROI ID, to see that each box has its own row.
    QStringList RowIDs(int nImageID) const
    {
        QStringList lstIDs;
        for (const QStringList& row : Sql({QString("SELECT ID FROM dataset_roi WHERE IMAGE_ID = %1").arg(nImageID)}))
            lstIDs.append(row[0]);
        lstIDs.sort();
        return lstIDs;
    }
    QStringList BoundIDs(int nViewID) const
    {
        QStringList lstIDs;
        for (const auto& pObject : Geometries(nViewID))
            lstIDs.append(pObject->GetExtraInfo().isNull() ? "unbound" : pObject->GetExtraInfo().toString());
        lstIDs.sort();
        return lstIDs;
    }

    // A user's rectangle drag on the view, in image pixels.
    void Draw(int nViewID, const QPointF& from, const QPointF& to)
    {
        m_pWorkspace->controller->GetModeModel()->SetMode(CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge);
        Canvas(nViewID)->slot_DrawRectangleStart(from);
        Canvas(nViewID)->slot_DrawRectangleDoing(from, to);
        Canvas(nViewID)->slot_DrawRectangleEnd(from, to);
    }
    // A click on the point, then a drag from it by the offset, in selecting mode.
    void Drag(int nViewID, const QPointF& from, const QPointF& offset)
    {
        m_pWorkspace->controller->GetModeModel()->SetMode(CImageViewModeModel::EImageView2DMode_Selecting);
        CImageView2DController* pCanvas = Canvas(nViewID);
        pCanvas->slot_CheckResizeRotate(from);
        pCanvas->slot_SelectMovingStart(from);
        pCanvas->slot_SelectMovingDoing(from, from + offset);
        pCanvas->slot_SelectMovingEnd(from, from + offset);
    }
    void Select(int nViewID, const QPointF& point)
    {
        m_pWorkspace->controller->GetModeModel()->SetMode(CImageViewModeModel::EImageView2DMode_Selecting);
        Canvas(nViewID)->slot_CheckResizeRotate(point + QPointF(1000, 1000));
        Canvas(nViewID)->slot_SelectMovingStart(point);
        Canvas(nViewID)->slot_SelectMovingEnd(point, point);
    }
    void DeleteSelection(int nViewID) { Canvas(nViewID)->slot_PressKey(Qt::Key_Delete); }
    void Undo(int nViewID) { Canvas(nViewID)->GetUndoStack()->Undo(); }
    void Redo(int nViewID) { Canvas(nViewID)->GetUndoStack()->Redo(); }
};
