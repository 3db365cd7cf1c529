#pragma once

#include "OvrelCommonGlobal.h"

#include <QPointer>

class CDrawableObjectPanel;
class CImageView2DSidePanel;
class CImageView2DToolPanel;
class CImageViewModeModel;
class QScrollArea;

// The three panels of one canvas (tool panel, object panel, side widget) and the workspace's three shared areas (tool,
// property and bottom) that show the panels of the active canvas.
class OVRELCOMMON_EXPORT CCanvasPanels
{
public:
    // Makes the panels; the mode model and the areas are not owned, and any of them may be null.
    CCanvasPanels(CImageViewModeModel* pModeModel, QScrollArea* pToolArea, QScrollArea* pPropertyArea,
                  QScrollArea* pBottomArea);
    // Deletes the panels, also those an area still shows.
    ~CCanvasPanels();

    // Puts each panel in its area, in place of the one shown there before; that one is taken out, not deleted.
    void Show();

    CImageView2DToolPanel* GetToolPanel() const;
    CDrawableObjectPanel* GetObjectPanel() const;
    CImageView2DSidePanel* GetSidePanel() const;

private:
    // An area that shows one takes it as a child, so they are watched rather than owned outright.
    QPointer<CImageView2DToolPanel> m_pToolPanel;
    QPointer<CImageView2DSidePanel> m_pSidePanel;
    QPointer<CDrawableObjectPanel> m_pObjectPanel;
    QPointer<QScrollArea> m_pToolArea;
    QPointer<QScrollArea> m_pPropertyArea;
    QPointer<QScrollArea> m_pBottomArea;
};
