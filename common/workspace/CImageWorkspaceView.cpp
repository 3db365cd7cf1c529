#include "workspace/CImageWorkspaceView.h"

#include "workspace/CImageLayoutModel.h"
#include "workspace/CImageViewer.h"

CImageWorkspaceView::CImageWorkspaceView(CImageLayoutModel* pLayoutModel, QWidget* parent)
    : QWidget(parent), m_pLayoutModel(pLayoutModel)
{
}

CImageWorkspaceView::~CImageWorkspaceView() = default;

void CImageWorkspaceView::AddImageView(CImageViewer* pViewer, int, int)
{
    if (!pViewer)
        return;
    pViewer->setParent(this);
    pViewer->hide();
    m_vctViewers.emplace_back(pViewer);
}

CImageViewer* CImageWorkspaceView::GetImageView(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetImageViewCount() ? m_vctViewers[nIndex].data() : nullptr;
}

void CImageWorkspaceView::UpdateLayout()
{
    if (!m_pLayoutModel)
        return;
    const int nColumns = m_pLayoutModel->GetColumn();
    const int nRows = m_pLayoutModel->GetRow();
    const int nCells = nColumns * nRows;
    if (nColumns < 1 || nRows < 1 || nCells > GetImageViewCount())
        return;
    const int nCellWidth = width() / nColumns;
    const int nCellHeight = height() / nRows;
    for (int i = 0; i < GetImageViewCount(); ++i)
    {
        CImageViewer* pViewer = m_vctViewers[i];
        if (!pViewer)
            continue;
        if (i >= nCells)
        {
            pViewer->hide();
            continue;
        }
        // Row by row across the grid's own column count, so that a single column stacks its viewers.
        pViewer->setGeometry((i % nColumns) * nCellWidth, (i / nColumns) * nCellHeight, nCellWidth, nCellHeight);
        pViewer->show();
    }
}

void CImageWorkspaceView::slot_Update()
{
    UpdateLayout();
}

void CImageWorkspaceView::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    UpdateLayout();
}
