#include "canvas/CCanvasPanels.h"

#include "canvas/CDrawableObjectPanel.h"
#include "canvas/CImageView2DSidePanel.h"
#include "canvas/CImageView2DToolPanel.h"

#include <QScrollArea>

CCanvasPanels::CCanvasPanels(CImageViewModeModel* pModeModel, QScrollArea* pToolArea, QScrollArea* pPropertyArea,
                             QScrollArea* pBottomArea)
    : m_pToolPanel(new CImageView2DToolPanel(pModeModel)), m_pSidePanel(new CImageView2DSidePanel),
      m_pObjectPanel(new CDrawableObjectPanel), m_pToolArea(pToolArea), m_pPropertyArea(pPropertyArea),
      m_pBottomArea(pBottomArea)
{
}

CCanvasPanels::~CCanvasPanels()
{
    // A panel that an area still shows is that area's child; deleting it takes it out of the area.
    delete m_pToolPanel.data();
    delete m_pSidePanel.data();
    delete m_pObjectPanel.data();
}

void CCanvasPanels::Show()
{
    const auto show = [](QScrollArea* pArea, QWidget* pPanel)
    {
        if (!pArea || !pPanel || pArea->widget() == pPanel)
            return;
        // Taken, not replaced: setWidget would delete the panel of the canvas that was active before.
        pArea->takeWidget();
        pArea->setWidget(pPanel);
        pPanel->show();
    };
    show(m_pToolArea, m_pToolPanel);
    show(m_pPropertyArea, m_pObjectPanel);
    show(m_pBottomArea, m_pSidePanel);
}

CImageView2DToolPanel* CCanvasPanels::GetToolPanel() const
{
    return m_pToolPanel.data();
}

CDrawableObjectPanel* CCanvasPanels::GetObjectPanel() const
{
    return m_pObjectPanel.data();
}

CImageView2DSidePanel* CCanvasPanels::GetSidePanel() const
{
    return m_pSidePanel.data();
}
