#pragma once

#include "OvrelCommonGlobal.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class CImageLayoutModel;
class CImageViewer;

// The central area that places the image viewers in the layout model's grid: the first rows x columns viewers fill
// equal cells, row by row; the others are hidden (they keep their images). Re-emits the object events of every viewer.
class OVRELCOMMON_EXPORT CImageWorkspaceView : public QWidget
{
    Q_OBJECT
public:
    // The layout model is not owned and may be null.
    explicit CImageWorkspaceView(CImageLayoutModel* pLayoutModel, QWidget* parent = nullptr);
    ~CImageWorkspaceView() override;

    // Takes the viewer as a child, hidden, and appends it; its cell follows from its place in the list (row and
    // column are not used).
    void AddImageView(CImageViewer* pViewer, int nRow, int nColumn);
    // Places the viewers in the grid; nothing changes when the grid has more cells than there are viewers.
    void UpdateLayout();

    int GetImageViewCount() const { return static_cast<int>(m_vctViewers.size()); }
    // Null for an index outside the list.
    CImageViewer* GetImageView(int nIndex) const;

signals:
    // Declared for the main window's layout commands; nothing here emits them.
    void signal_ChangeLayout1x1();
    void signal_ChangeLayout2x1();
    void signal_ChangeLayout2x2();
    void signal_Active();
    void signal_AddDrawableObjectWithViewID(int nViewID, uint nImageUID, uint nGeometryUID, QString strName);
    void signal_DeleteDrawableObjectWithViewID(int nViewID, uint nImageUID, uint nGeometryUID, QString strName);
    void signal_BeforeDeleteDrawableObjectWithViewID(int nViewID, uint nImageUID, uint nGeometryUID, QString strName);
    void signal_ChangeDrawableObjectPropertyWithViewID(int nViewID, uint nImageUID, uint nGeometryUID);

public slots:
    void slot_Update();

protected:
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    QPointer<CImageLayoutModel> m_pLayoutModel;
    std::vector<QPointer<CImageViewer>> m_vctViewers;
};
