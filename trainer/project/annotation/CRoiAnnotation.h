#pragma once

#include "project/annotation/CRoiBoxRows.h"
#include "project/classes/CProjectCategories.h"

#include <QPointer>
#include <QRectF>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class CDatabase;
class CDrawableGeometry;
class CDrawableObjectModel;
class CImageWorkspaceController;
class IRoiAnnotationHost;

// Binds the workspace's views to the project's images: opening a project image shows its rows as rectangles on the
// view it went to, and the add, delete, change and relabel events of a box on a project view go to the row side
// (CRoiBoxRows), which writes its row. Which view shows which project image is kept here, per view, so that two
// project images shown side by side never trade boxes.
//
// Whatever sequence of draws, moves, resizes, relabels, deletes, undos and redos the workspace reports, every geometry
// object bound on a project view has exactly one row holding its box and class: an object that comes back (undo of a
// delete, redo of a draw) with the ID of a row that was deleted gets a new row. Each project image keeps its own undo
// history on the view that showed it, and gets it back there while its rows are unchanged (see CRoiHistories).
class CRoiAnnotation
{
public:
    // The database is not owned and may be null.
    CRoiAnnotation(CDatabase* pDatabase, std::unique_ptr<IRoiAnnotationHost> pHost);
    ~CRoiAnnotation();

    // Forgets every view, the current image and the undo histories of project images.
    void Reset();

    // Opens the image file (absolute path) of project image nImageID in the workspace, records the view it went to and
    // shows the image's rows as rectangles there. A missing file is logged and opens nothing. An image already shown
    // on another project view is closed there: one image, one view, so that no view shows boxes its rows lost.
    void OpenImage(int nImageID, const QString& strPath);
    // As OpenImage, in view nViewID without asking which view: for moving through a list from a view's canvas.
    void OpenImageInView(int nImageID, const QString& strPath, int nViewID);

    // True when the view shows that image UID as a project image; otherwise logs why and gives false.
    bool IsValidViewImage(int nViewID, unsigned int nImageUID) const;
    // The project image shown on the view, -1 when none.
    int ImageOfView(int nViewID) const;
    // The project image the view showed before the one it shows now, -1 when none.
    int PreviousImageOfView(int nViewID) const;
    // Adds the boxes (rows) of the view's previous project image to the image it shows, with their classes, as one
    // step on the view's undo stack; each gets its own row as a drawn box does. Rows whose class is gone are passed
    // over. A box is cut at the edges of the image it is copied to, and one that lies wholly outside it is passed over
    // (and counted in the log). Gives the number of boxes added.
    int CopyPreviousBoxes(int nViewID);
    int GetCurrentImageID() const { return m_nCurrentImageID; }
    int GetCurrentViewID() const { return m_nCurrentViewID; }
    // Closes the image in every view that shows it as a project image, and forgets its undo histories.
    void CloseImage(int nImageID);

    // The events of the boxes on a view (see CRoiBoxRows for what each writes). A box bound to a row whose class was
    // deleted is asked about with ChooseDeletedClass (never with QuickClass) once all boxes of the image it is on are
    // shown: only an answer writes its row, and Cancel leaves box and row as they are.
    void ObjectAdded(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID, const QString& strName);
    void ObjectAboutToBeDeleted(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID);
    void ObjectChanged(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID);
    void ChangeClass(int nViewID, unsigned int nGeometryUID);
    // The project file changed the rows of shown boxes behind their back (a deleted class took its boxes with it or
    // gave them another class): on every project view a bound box whose row is gone is unbound and leaves the view
    // without an undo step, and one whose row names another class shows that name. Writes nothing.
    void FollowRows();
    // The class table changed (a project was opened, classes were edited or imported): every box on a project view
    // takes the colour its class has now (CClassColours). A box's colour otherwise follows its name by itself.
    void FollowClasses();

    // The rows and class names behind the boxes: for lookups of a class by name or ID.
    const CRoiRows& Rows() const { return m_boxRows.Rows(); }

    static CImageWorkspaceController* FindWorkspace();

private:
    struct SViewImage
    {
        unsigned int nImageUID = 0;
        int nImageID = -1;
        // The view's objects, where the boxes of its events are found. Watched: the workspace may go first.
        QPointer<CDrawableObjectModel> pObjects;
    };

    // The geometry object with that UID on the project view, or empty.
    std::shared_ptr<CDrawableGeometry> FindGeometry(int nViewID, unsigned int nGeometryUID) const;
    // Shows the image's rows on the view: its parked undo history comes back with its objects when they still are
    // the rows, else new objects are made from the rows and the history starts empty. Either way the view's history
    // is the image's from now on.
    void ShowRows(CImageWorkspaceController* pWorkspace, int nViewID, int nImageID);
    // Closes the image in every view that shows it as a project image.
    void CloseViewsOf(int nImageID);
    // What follows the workspace's open of the image file in view nViewID (all bits of nImageUID set when nothing
    // opened): the view map, the image leaving other views and its rows shown.
    void ShowOpened(CImageWorkspaceController* pWorkspace, int nImageID, int nViewID, unsigned int nImageUID);
    // The image the view shows, else the current image.
    int ImageForValidation(int nViewID) const;
    // Binds the view's objects to the project image it now shows (see CImageViewerController).
    static void BindObjects(CImageWorkspaceController* pWorkspace, int nViewID);
    // The UID of the image object that holds the view's project image now.
    static unsigned int ProjectImageUID(int nViewID, const SViewImage& view);
    // Gives the box the colour of the class its name gives; true when that changed it (and so announced a change).
    bool ShowColour(CDrawableGeometry& object) const;
    // Every box on the view (not rulers) takes the colour of its class.
    void ShowColours(int nViewID) const;

    CDatabase* m_pDatabase = nullptr;
    // The class table as last read, for the colours of boxes: a box's every change must not read the table.
    CProjectCategories m_classes{nullptr};

    std::unique_ptr<IRoiAnnotationHost> m_pHost;
    // The rows are read and written here only.
    CRoiBoxRows m_boxRows;
    int m_nCurrentImageID = -1;
    int m_nCurrentViewID = -1;
    std::map<int, SViewImage> m_mapViews;
    // Per view, the project image it showed before its current one.
    std::map<int, int> m_mapPreviousImages;
};
