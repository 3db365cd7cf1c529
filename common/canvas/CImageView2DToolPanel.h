#pragma once

#include "OvrelCommonGlobal.h"

#include <QWidget>

class CImageViewModeModel;
class QGridLayout;
class QPushButton;

// The interaction-mode buttons of a canvas ("Select", "Panning", "Rect", "Circle", "Ellipse", "Polygon"), shown in
// the workspace's tool area. A press asks for a mode through a signal; the checked button follows the mode model, so
// a mode set elsewhere (Escape, the end of a drawing) shows here too.
class OVRELCOMMON_EXPORT CImageView2DToolPanel : public QWidget
{
    Q_OBJECT
public:
    // The mode model is not owned and may be null.
    explicit CImageView2DToolPanel(CImageViewModeModel* pModeModel, QWidget* parent = nullptr);
    ~CImageView2DToolPanel() override;

    // The button that stands for a mode (0 Select, 1 Panning, 2 Rect, 3 Ellipse, 4 Circle, 5 Polygon); null for
    // any other mode.
    QPushButton* GetModeButton(int nMode) const;

signals:
    void signal_SelectMode();
    void signal_PanningMode();
    void signal_ROIRectangleSelected();
    void signal_ROICircleSelected();
    void signal_ROIEllipseSelected();
    void signal_ROIPolygonSelected();

public slots:
    // Logs the new mode's name and checks its button; the ruler mode checks none.
    void slot_ChangeViewMode();

private:
    QPushButton* AddButton(const QString& strText, int nRow, int nColumn);

    CImageViewModeModel* m_pModeModel = nullptr;
    QPushButton* m_pSelect = nullptr;
    QPushButton* m_pPanning = nullptr;
    QPushButton* m_pRectangle = nullptr;
    QPushButton* m_pCircle = nullptr;
    QPushButton* m_pEllipse = nullptr;
    QPushButton* m_pPolygon = nullptr;
    QGridLayout* m_pGrid = nullptr;
};
