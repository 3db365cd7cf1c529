#include "canvas/CImageView2DMenus.h"

#include "canvas/CImageView2D.h"

#include <QAction>
#include <QIcon>
#include <QMenu>

CImageView2DMenus::CImageView2DMenus(CImageView2D* pView) : QObject(pView), m_pView(pView)
{
    m_pImageMenu = new QMenu(pView);
    const auto addImageEntry = [this](const QString& strIcon, const QString& strText, auto signal)
    {
        QAction* pAction = m_pImageMenu->addAction(QIcon(strIcon), strText);
        connect(pAction, &QAction::triggered, m_pView, signal);
        return pAction;
    };
    addImageEntry(":/Image/photo.png", "Load Image", &CImageView2D::signal_LoadImage);
    addImageEntry(":/Image/pdf.png", "Load PDF", &CImageView2D::signal_LoadPdf);
    addImageEntry(":/Image/save_file.png", "Save Image", &CImageView2D::signal_SaveImage);
    addImageEntry(":/Image/close.png", "Close Image", &CImageView2D::signal_CloseImage);
    m_pImageMenu->addSeparator();
    addImageEntry(":/Image/copy.png", "Copy (C)", &CImageView2D::signal_Copy);
    addImageEntry(":/Image/paste.png", "Paste (P)", &CImageView2D::signal_Paste);
    m_pImageMenu->addSeparator();
    addImageEntry(":/Image/search.png", "GoTo", &CImageView2D::slot_Goto);
    addImageEntry(":/Image/3D.png", "Switch To 3D View", &CImageView2D::signal_Switch2DTo3D);

    m_pObjectMenu = new QMenu(pView);
    QAction* pDelete = m_pObjectMenu->addAction(QIcon(":/Image/clear.png"), "Delete");
    connect(pDelete, &QAction::triggered, m_pView, &CImageView2D::signal_DeleteDrawableObject);
}

void CImageView2DMenus::ExecImageMenu(const QPoint& globalPoint)
{
    m_pImageMenu->exec(globalPoint);
}

void CImageView2DMenus::ExecObjectMenu(const QPoint& globalPoint, unsigned int nUID)
{
    m_nContextObjectUID = nUID;
    m_pObjectMenu->exec(globalPoint);
}

QAction* CImageView2DMenus::AddObjectAction(const QString& strText, const QIcon& icon,
                                            const std::function<void(int, unsigned int)>& callback)
{
    auto* pAction = new QAction(icon, strText, m_pView);
    m_pObjectMenu->addAction(pAction);
    m_mapObjectActions[pAction] = callback;
    connect(pAction, &QAction::triggered, this,
            [this, pAction]
            {
                const auto it = m_mapObjectActions.find(pAction);
                if (it != m_mapObjectActions.end() && it->second)
                    it->second(m_pView->GetViewID(), m_nContextObjectUID);
            });
    return pAction;
}
