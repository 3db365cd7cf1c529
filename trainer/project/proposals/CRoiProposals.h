#pragma once

#include "project/inference/CDetection.h"
#include "project/proposals/CImageProposals.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <map>
#include <vector>

class CDatabase;
class CImageView2D;
class CRoiAnnotation;

// Puts project images' proposals on the views that show them and carries out what the user does with them there: the
// canvas's double-click or Enter accepts one, Ctrl+Enter all shown, Delete rejects the selected one and Escape clears
// them from the view. A proposal is not shown while a box of its class on the view overlaps it at IoU >= 0.7.
//
// Accepting makes a box with the proposal's class through the way a drawn and classified box takes (its row written
// by its add event, the same log lines), as one step on the view's undo stack; "accept all" is one step for all shown
// proposals. A stored proposal's row goes in the same transaction as its box's row comes; a failure keeps everything
// as it was and tells the user. Rejecting a stored proposal deletes its row; clearing only takes them off the view, and
// the stored ones come back when their image is opened again.
class CRoiProposals : public QObject
{
    Q_OBJECT
public:
    // IoU from which a proposal counts as a box that is there already.
    static constexpr double HIDDEN_IOU = 0.7;

    // Nothing is owned; the annotation tells which view shows which project image and must outlive this.
    CRoiProposals(CDatabase* pDatabase, CRoiAnnotation& annotation, QObject* parent = nullptr);
    ~CRoiProposals() override;

    // The detections of project image nImageID (ClassIndex: position in the class table) become its proposals, in
    // place of its earlier ones of the same kind, and show on the view that shows it (now or when it is opened).
    // With bStored they are kept in the project file (replacing the image's stored proposals) until accepted or
    // rejected; otherwise they last until cleared or the project closes. Detections of a class index the table does
    // not have are left out and logged. False, with the user told, when storing failed (nothing changed then).
    bool ShowProposals(int nImageID, const CDetectionList& vctDetections, const QString& strWeights, bool bStored);
    // As ShowProposals for the project image view nViewID shows; false when it shows none.
    bool ShowProposalsOnView(int nViewID, const CDetectionList& vctDetections, const QString& strWeights, bool bStored);

    // What the user can do, by view and by the proposal's key (CProposal::nKey, the ID the canvas shows it with).
    // False when nothing changed.
    bool Accept(int nViewID, int nKey);
    bool AcceptAll(int nViewID);
    bool Reject(int nViewID, int nKey);
    void Clear(int nViewID);

    // The proposals shown on the view now, in the order they were given.
    std::vector<CProposal> Shown(int nViewID) const;
    CImageProposals& Proposals() { return m_proposals; }

    // The views may show other project images now (an image was opened or closed): each view that shows a newly
    // opened image shows its stored proposals, read afresh.
    void FollowViews();
    // Classes were deleted: proposals of classes that are gone leave (their rows went with the class).
    void FollowClasses();
    // The image left the project: its proposals leave with it (its rows went with it).
    void ForgetImage(int nImageID);
    // Another project: nothing of this one is kept.
    void Reset();

private:
    // Shows the image's proposals on every view that shows it.
    void Refresh(int nImageID);
    void RefreshView(int nViewID);
    std::vector<CProposal> Visible(int nViewID, int nImageID) const;
    bool AcceptProposals(int nViewID, const std::vector<CProposal>& vctProposals);
    // Connects the view's canvas intents and its objects' changes, once per canvas.
    void ConnectView(int nViewID);

    CDatabase* m_pDatabase;
    CRoiAnnotation& m_annotation;
    CImageProposals m_proposals;
    // The project image each view was last seen showing, and the canvases connected.
    std::map<int, int> m_mapViewImages;
    std::map<int, QPointer<CImageView2D>> m_mapCanvases;
};
