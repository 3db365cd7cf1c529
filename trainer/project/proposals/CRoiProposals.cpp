#include "project/proposals/CRoiProposals.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageBounds.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "canvas/CProposalLayer.h"
#include "canvas/EImageView2DDrawbleObjectType.h"
#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "frame/CPrompt.h"
#include "frame/CUndoStack.h"
#include "project/annotation/CRoiAnnotation.h"
#include "project/classes/CProjectCategories.h"
#include "project/proposals/CAcceptProposalsCommand.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include "Geometry/COvrelRectangle.h"

#include <algorithm>

namespace
{
double IoU(const QRectF& a, const QRectF& b)
{
    const QRectF overlap = a.intersected(b);
    const double dblOverlap = overlap.isEmpty() ? 0.0 : overlap.width() * overlap.height();
    const double dblUnion = a.width() * a.height() + b.width() * b.height() - dblOverlap;
    return dblUnion > 0.0 ? dblOverlap / dblUnion : 0.0;
}

CImageViewerController* Viewer(int nViewID)
{
    CImageWorkspaceController* pWorkspace = CRoiAnnotation::FindWorkspace();
    return pWorkspace && nViewID >= 0 ? pWorkspace->GetViewerController(nViewID) : nullptr;
}

void Tell(const QString& strText)
{
    CPrompt::Warning(nullptr, "Proposals", strText);
}
} // namespace

CRoiProposals::CRoiProposals(CDatabase* pDatabase, CRoiAnnotation& annotation, QObject* parent)
    : QObject(parent), m_pDatabase(pDatabase), m_annotation(annotation), m_proposals(pDatabase)
{
    connect(&m_proposals, &CImageProposals::signal_Changed, this, &CRoiProposals::Refresh);
}

CRoiProposals::~CRoiProposals() = default;

bool CRoiProposals::ShowProposals(int nImageID, const CDetectionList& vctDetections, const QString& strWeights,
                                  bool bStored)
{
    const CProjectCategories classes(m_pDatabase);
    std::vector<CProposal> vctNew;
    int nUnknown = 0;
    for (const CDetection& detection : vctDetections)
    {
        if (detection.ClassIndex < 0 || detection.ClassIndex >= classes.Count())
        {
            ++nUnknown;
            continue;
        }
        CProposal proposal;
        proposal.nImageID = nImageID;
        proposal.nCategoryID = classes.IDs()[static_cast<size_t>(detection.ClassIndex)];
        proposal.box = detection.Box;
        proposal.dblScore = detection.Score;
        proposal.strWeights = strWeights;
        vctNew.push_back(proposal);
    }
    if (nUnknown > 0)
        CLogger::Write(ELogLevel_Warning, "%d proposal(s) of Image ID %d name no class of the project: left out",
                       nUnknown, nImageID);
    if (bStored && !m_proposals.Store().Replace(nImageID, vctNew))
    {
        Tell(QString("The proposals could not be stored in the project file: %1").arg(m_pDatabase->GetLastError()));
        return false;
    }
    // Those of the other kind stay: a detection run does not drop what a pre-labelling stored, nor the reverse.
    std::vector<CProposal> vctKept;
    for (const CProposal& proposal : m_proposals.Of(nImageID))
        if ((proposal.nRowID >= 0) != bStored)
            vctKept.push_back(proposal);
    vctKept.insert(vctKept.end(), vctNew.begin(), vctNew.end());
    m_proposals.Set(nImageID, std::move(vctKept));
    return true;
}

bool CRoiProposals::ShowProposalsOnView(int nViewID, const CDetectionList& vctDetections, const QString& strWeights,
                                        bool bStored)
{
    const int nImageID = m_annotation.ImageOfView(nViewID);
    return nImageID >= 0 && ShowProposals(nImageID, vctDetections, strWeights, bStored);
}

std::vector<CProposal> CRoiProposals::Visible(int nViewID, int nImageID) const
{
    // Every box's change comes here: an image without proposals costs no read of the class table.
    if (m_proposals.Of(nImageID).empty())
        return {};
    CImageViewerController* pViewer = Viewer(nViewID);
    const CDrawableObjectModel* pObjects = pViewer ? pViewer->GetObjectModel() : nullptr;
    std::vector<std::pair<QString, QRectF>> vctBoxes;
    for (int i = 0; pObjects && i < pObjects->GetObjectCount(); ++i)
    {
        const std::shared_ptr<CDrawableObject> pObject = pObjects->GetObject(i);
        if (pObject && pObject->GetType() == EImageView2DDrawbleObjectType_Geometry)
            vctBoxes.emplace_back(pObject->GetName(), pObject->GetBoundary());
    }
    const std::map<int, QString> mapNames = m_annotation.Rows().ClassNames();
    std::vector<CProposal> vctVisible;
    for (const CProposal& proposal : m_proposals.Of(nImageID))
    {
        const auto itName = mapNames.find(proposal.nCategoryID);
        if (itName == mapNames.end())
            continue;
        const bool bThere =
            std::any_of(vctBoxes.begin(), vctBoxes.end(),
                        [&](const std::pair<QString, QRectF>& box)
                        { return box.first == itName->second && IoU(box.second, proposal.box) >= HIDDEN_IOU; });
        if (!bThere)
            vctVisible.push_back(proposal);
    }
    return vctVisible;
}

std::vector<CProposal> CRoiProposals::Shown(int nViewID) const
{
    const int nImageID = m_annotation.ImageOfView(nViewID);
    return nImageID >= 0 ? Visible(nViewID, nImageID) : std::vector<CProposal>();
}

void CRoiProposals::Refresh(int nImageID)
{
    for (int nViewID = 0; nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
        if (m_annotation.ImageOfView(nViewID) == nImageID)
            RefreshView(nViewID);
}

void CRoiProposals::RefreshView(int nViewID)
{
    CImageViewerController* pViewer = Viewer(nViewID);
    CImageView2D* pCanvas = pViewer ? pViewer->GetCanvas() : nullptr;
    if (!pCanvas)
        return;
    ConnectView(nViewID);
    const int nImageID = m_annotation.ImageOfView(nViewID);
    QVector<CCanvasProposal> vctShown;
    if (nImageID >= 0 && !m_proposals.Of(nImageID).empty())
    {
        const std::map<int, QString> mapNames = m_annotation.Rows().ClassNames();
        for (const CProposal& proposal : Visible(nViewID, nImageID))
            vctShown.push_back({proposal.nKey, proposal.box, mapNames.at(proposal.nCategoryID), proposal.dblScore});
    }
    pCanvas->GetProposalLayer()->SetProposals(vctShown);
}

void CRoiProposals::ConnectView(int nViewID)
{
    CImageViewerController* pViewer = Viewer(nViewID);
    CImageView2D* pCanvas = pViewer ? pViewer->GetCanvas() : nullptr;
    if (!pCanvas || m_mapCanvases[nViewID] == pCanvas)
        return;
    m_mapCanvases[nViewID] = pCanvas;
    connect(pCanvas, &CImageView2D::signal_AcceptProposal, this, [this, nViewID](int nKey) { Accept(nViewID, nKey); });
    connect(pCanvas, &CImageView2D::signal_AcceptAllProposals, this, [this, nViewID] { AcceptAll(nViewID); });
    connect(pCanvas, &CImageView2D::signal_RejectProposal, this, [this, nViewID](int nKey) { Reject(nViewID, nKey); });
    connect(pCanvas, &CImageView2D::signal_ClearProposals, this, [this, nViewID] { Clear(nViewID); });
    // A box drawn over a proposal, moved onto or off one, or deleted, hides or shows it.
    CDrawableObjectModel* pObjects = pViewer->GetObjectModel();
    const auto refresh = [this, nViewID] { RefreshView(nViewID); };
    connect(pObjects, &CDrawableObjectModel::signal_AddDrawableObject, this, refresh);
    connect(pObjects, &CDrawableObjectModel::signal_DeleteDrawableObject, this, refresh);
    connect(pObjects, &CDrawableObjectModel::signal_ChangeDrawableObjectProperty, this, refresh);
    connect(pObjects, &CDrawableObjectModel::signal_ClearObject, this, refresh);
}

bool CRoiProposals::Accept(int nViewID, int nKey)
{
    for (const CProposal& proposal : Shown(nViewID))
        if (proposal.nKey == nKey)
            return AcceptProposals(nViewID, {proposal});
    return false;
}

bool CRoiProposals::AcceptAll(int nViewID)
{
    const std::vector<CProposal> vctShown = Shown(nViewID);
    return !vctShown.empty() && AcceptProposals(nViewID, vctShown);
}

bool CRoiProposals::AcceptProposals(int nViewID, const std::vector<CProposal>& vctProposals)
{
    CImageViewerController* pViewer = Viewer(nViewID);
    CImageView2DController* pCanvas = pViewer ? pViewer->GetCanvasController() : nullptr;
    const int nImageID = m_annotation.ImageOfView(nViewID);
    if (!pCanvas || nImageID < 0)
        return false;
    const std::map<int, QString> mapNames = m_annotation.Rows().ClassNames();
    const QRectF image = CImageBounds::ImageRect(pCanvas->GetCurrentImage().get());
    std::vector<CProposal> vctAccepted;
    std::vector<std::shared_ptr<CDrawableGeometry>> vctBoxes;
    for (const CProposal& proposal : vctProposals)
    {
        // Unbound and named after a known class: its add event gives it a row of that class without asking.
        auto pBox = std::make_shared<CDrawableGeometry>(std::make_shared<Ovrel::Geometry::COvrelRectangle>(
            proposal.box.x(), proposal.box.y(), proposal.box.width(), proposal.box.height()));
        const auto itName = mapNames.find(proposal.nCategoryID);
        // Cut at the image's edges as a drawn box is; one wholly outside it has nothing to become.
        if (itName == mapNames.end() || !CImageBounds::Clamp(*pBox, image))
            continue;
        pBox->SetName(itName->second);
        vctBoxes.push_back(pBox);
        vctAccepted.push_back(proposal);
    }
    if (vctBoxes.empty())
        return false;
    auto* pCommand = new CAcceptProposalsCommand(&m_proposals, pViewer->GetObjectModel(), nImageID, vctAccepted,
                                                 std::move(vctBoxes));
    pCommand->Execute();
    if (!pCommand->Succeeded())
    {
        delete pCommand;
        Tell(QString("%1 proposal(s) could not become boxes: the project file refused the change, and nothing "
                     "changed. %2")
                 .arg(vctAccepted.size())
                 .arg(m_pDatabase ? m_pDatabase->GetLastError() : QString()));
        return false;
    }
    pCanvas->GetUndoStack()->PushUndo(pCommand);
    pCanvas->RepaintCanvas();
    return true;
}

bool CRoiProposals::Reject(int nViewID, int nKey)
{
    const int nImageID = m_annotation.ImageOfView(nViewID);
    for (const CProposal& proposal : Shown(nViewID))
    {
        if (proposal.nKey != nKey)
            continue;
        if (proposal.nRowID >= 0 && !m_proposals.Store().Delete(proposal.nRowID))
        {
            Tell("The proposal could not be deleted from the project file; it stays.");
            return false;
        }
        m_proposals.Take(nImageID, {nKey});
        return true;
    }
    return false;
}

void CRoiProposals::Clear(int nViewID)
{
    const int nImageID = m_annotation.ImageOfView(nViewID);
    if (nImageID >= 0)
        m_proposals.Set(nImageID, {});
    else if (CImageViewerController* pViewer = Viewer(nViewID))
        pViewer->GetCanvas()->GetProposalLayer()->SetProposals({});
}

void CRoiProposals::FollowViews()
{
    for (int nViewID = 0; nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
    {
        const int nImageID = m_annotation.ImageOfView(nViewID);
        const auto it = m_mapViewImages.find(nViewID);
        if (it != m_mapViewImages.end() && it->second == nImageID)
            continue;
        m_mapViewImages[nViewID] = nImageID;
        if (nImageID < 0)
        {
            RefreshView(nViewID);
            continue;
        }
        // The file is what tells which stored proposals are pending; those only shown stay as they were.
        std::vector<CProposal> vctStored;
        if (!m_proposals.Store().Read(nImageID, vctStored))
            CLogger::Write(ELogLevel_Error, "Read proposals of Image ID %d Failed", nImageID);
        std::vector<CProposal> vctAll;
        for (const CProposal& proposal : m_proposals.Of(nImageID))
            if (proposal.nRowID < 0)
                vctAll.push_back(proposal);
        vctAll.insert(vctAll.end(), vctStored.begin(), vctStored.end());
        m_proposals.Set(nImageID, std::move(vctAll));
        RefreshView(nViewID);
    }
}

void CRoiProposals::FollowClasses()
{
    // Without proposals the class table need not be read: opening a project reads it often enough.
    if (m_proposals.IsEmpty())
        return;
    const CProjectCategories classes(m_pDatabase);
    if (classes.IsRead())
        m_proposals.ForgetGoneClasses([&classes](int nCategoryID) { return classes.Contains(nCategoryID); });
    for (int nViewID = 0; nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
        RefreshView(nViewID);
}

void CRoiProposals::ForgetImage(int nImageID)
{
    m_proposals.ForgetImage(nImageID);
}

void CRoiProposals::Reset()
{
    m_proposals.Clear();
    m_mapViewImages.clear();
    for (int nViewID = 0; nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
        if (CImageViewerController* pViewer = Viewer(nViewID))
            if (pViewer->GetCanvas())
                pViewer->GetCanvas()->GetProposalLayer()->SetProposals({});
}
