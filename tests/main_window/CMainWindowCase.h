#pragma once

#include "CAnnotationSnapshot.h"
#include "CProjectFixture.h"
#include "CPromptAnswers.h"
#include "CTestSandbox.h"
#include "CWorkspaceFixture.h"

#include "MainWindow.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageViewModeModel.h"
#include "frame/CLogView.h"
#include "frame/CSetting.h"
#include "images/CImageListModel.h"
#include "views/CNewProjectDlg.h"
#include "views/CProjectView.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <memory>

// A whole program on a fresh sandbox HOME for every test function: the real main window, a project made through its
// "New Project" dialog, image files written by the test, and the means to drive the canvas and the tree as a user and
// to read the dataset_roi rows back.
class CMainWindowCase : public QObject
{
    Q_OBJECT

public:
    // Action texts in order ("|" for a separator), then tab titles.
    static QString Texts(const QWidget* pWidget)
    {
        QStringList lstTexts;
        for (const QAction* pAction : pWidget->actions())
            lstTexts.append(pAction->isSeparator() ? QString("|") : pAction->text());
        const auto* pTabs = qobject_cast<const QTabWidget*>(pWidget);
        for (int i = 0; pTabs && i < pTabs->count(); ++i)
            lstTexts.append(pTabs->tabText(i));
        return lstTexts.join(',');
    }
    // The window's own actions that are disabled, sorted by text.
    static QString DisabledActions(const MainWindow* pWindow)
    {
        QStringList lstDisabled;
        // The tree's menus follow the trainer's state on their own.
        for (QAction* pAction : pWindow->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly))
        {
            if (!pAction->isEnabled())
                lstDisabled.append(pAction->text());
        }
        lstDisabled.sort();
        return lstDisabled.join(',');
    }

protected:
    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CPromptAnswers> m_pAnswers;
    std::unique_ptr<MainWindow> m_pWindow;
    QString m_strDir;
    QString m_strName;
    QStringList m_lstOffered;

    void NewSandboxAndWindow()
    {
        // The window goes before the answers it may still ask through, and both before the HOME they live in.
        m_pWindow.reset();
        m_pAnswers.reset();
        m_pSandbox.reset();
        m_pSandbox = std::make_unique<CTestSandbox>();
        CSetting::Set("GENERAL_PROGRAME_HISTORIES", QString());
        m_pAnswers = std::make_unique<CPromptAnswers>();
        m_pWindow = std::make_unique<MainWindow>();
    }
    void CloseWindow()
    {
        m_pWindow.reset();
        m_pAnswers.reset();
        m_pSandbox.reset();
    }

    QAction* Action(const QString& strText) const { return m_pWindow->GetAction(strText); }
    CImageWorkspaceController* Workspace() const { return m_pWindow->GetWorkspaceController(); }
    CImageViewerController* Viewer(int nViewID) const { return Workspace()->GetViewerController(nViewID); }
    CImageView2D* Canvas(int nViewID) const { return Viewer(nViewID)->GetCanvas(); }
    QString DataFile() const { return CProjectFixture::DataFile(m_strDir, m_strName); }
    QList<QStringList> Sql(const QStringList& lstStatements) const
    {
        return CProjectFixture::Query(DataFile(), lstStatements);
    }

    // Runs "New Project" with that name in the sandbox and returns whether the window then holds it open.
    bool CreateProjectFromDialog(const QString& strName)
    {
        m_strName = strName;
        m_strDir = m_pSandbox->Home() + "/" + strName;
        m_pAnswers->dialogs.push_back(
            [this](QDialog* pDialog)
            {
                auto* pNew = qobject_cast<CNewProjectDlg*>(pDialog);
                if (!pNew)
                    return int(QDialog::Rejected);
                pNew->GetNameField()->setText(m_strName);
                pNew->GetFolderField()->setText(m_pSandbox->Home());
                QTest::mouseClick(pNew->GetAddButton(), Qt::LeftButton);
                return int(QDialog::Rejected);
            });
        Action("New Project")->trigger();
        return QFileInfo::exists(DataFile());
    }

    // Writes a 200 x 100 image outside the project and returns its path.
    QString WriteImage(const QString& strName, const QColor& colour) const
    {
        QImage image(200, 100, QImage::Format_RGB888);
        image.fill(colour);
        const QString strPath = m_pSandbox->Path("camera/" + strName);
        return QDir().mkpath(m_pSandbox->Path("camera")) && image.save(strPath) ? strPath : QString();
    }
    // The files go into the project through the tree's "Add Image" entry of the training or the test images.
    void AddImages(bool bTrain, const QStringList& lstPaths)
    {
        m_pAnswers->fileLists.push_back(lstPaths);
        if (bTrain)
            emit m_pWindow->GetProjectView()->signal_AddTrainImage();
        else
            emit m_pWindow->GetProjectView()->signal_AddTestImage();
    }
    // The messages of the window's log view, top to bottom, that match the pattern.
    QStringList LogViewLines(const QString& strPattern) const
    {
        const QRegularExpression pattern(strPattern);
        const QStandardItemModel* pLog = m_pWindow->centralWidget()->findChild<CLogView*>()->GetItemModel();
        QStringList lstLines;
        for (int nRow = 0; nRow < pLog->rowCount(); ++nRow)
        {
            const QString strMessage = pLog->item(nRow, 2) ? pLog->item(nRow, 2)->text() : QString();
            if (pattern.match(strMessage).hasMatch())
                lstLines.append(strMessage);
        }
        return lstLines;
    }
    // The whole content of a file of the project folder; "missing" when there is none.
    QByteArray ProjectFile(const QString& strRelative) const
    {
        QFile file(m_strDir + "/" + strRelative);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
    }

    // The dataset_image ID of the image with that name, -1 when there is none.
    int ImageID(const QString& strName) const
    {
        const QList<QStringList> lstRows = Sql({"SELECT ID FROM dataset_image WHERE NAME = '" + strName + "'"});
        return lstRows.isEmpty() ? -1 : lstRows[0][0].toInt();
    }

    // Shows the window and waits until it takes keyboard input.
    bool ShowWindow()
    {
        m_pWindow->resize(1280, 960);
        m_pWindow->show();
        m_pWindow->activateWindow();
        return QTest::qWaitForWindowExposed(m_pWindow.get()) && QTest::qWaitForWindowActive(m_pWindow.get());
    }

    // Clicks the image's row in the project tree, as a user picks an image to annotate. The rows follow the model
    // once the event loop has run.
    bool ClickImageInTree(const QString& strImageName)
    {
        auto* pTree = m_pWindow->GetProjectView()->findChild<QTreeView*>();
        QModelIndexList lstFound;
        for (int i = 0; i < 100 && lstFound.isEmpty(); ++i)
        {
            lstFound = pTree->model()->match(pTree->model()->index(0, 0), Qt::DisplayRole, "] " + strImageName, 1,
                                             Qt::MatchEndsWith | Qt::MatchRecursive);
            if (lstFound.isEmpty())
                QTest::qWait(10);
        }
        if (lstFound.isEmpty())
            return false;
        pTree->scrollTo(lstFound[0]);
        QTest::mouseClick(pTree->viewport(), Qt::LeftButton, Qt::NoModifier, pTree->visualRect(lstFound[0]).center());
        return pTree->currentIndex() == lstFound[0];
    }
    // The next viewer chooser takes the entry at nIndex.
    void AnswerViewer(int nIndex) { m_pAnswers->dialogs.push_back(CWorkspaceFixture::Choose(nIndex, &m_lstOffered)); }
    // The next class chooser accepts strClass, or is cancelled for a null text.
    void AnswerClass(const QString& strClass) { m_pAnswers->dialogs.push_back(CProjectFixture::ChooseClass(strClass)); }

    // A left-button drag on the canvas between two image points, in the given mode.
    void Drag(int nViewID, CImageViewModeModel::EImageView2DMode eMode, const QPointF& from, const QPointF& to)
    {
        Workspace()->GetModeModel()->SetMode(eMode);
        CWorkspaceFixture::DrawRectangle(Canvas(nViewID), from, to);
    }
    // Chooses the entry of the object's context menu while the menu is open.
    void ChooseObjectMenuEntry(int nViewID, unsigned int nObjectUID, const QString& strEntry)
    {
        QMenu* pMenu = Canvas(nViewID)->GetObjectMenu();
        QTimer::singleShot(0, pMenu,
                           [pMenu, strEntry]
                           {
                               for (QAction* pAction : pMenu->actions())
                               {
                                   if (pAction->text() == strEntry)
                                       pAction->trigger();
                               }
                               pMenu->close();
                           });
        Canvas(nViewID)->ShowObjectMenu(QPointF(), nObjectUID);
        // Without a window manager the closed menu stays the active window; the user's next key goes to the window.
        m_pWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_pWindow.get()));
    }

    std::vector<std::shared_ptr<CDrawableGeometry>> Geometries(int nViewID) const
    {
        return CAnnotationSnapshot::Geometries(Viewer(nViewID)->GetObjectModel());
    }
    static QString Box(double dblX, double dblY, double dblWidth, double dblHeight, const QString& strClass)
    {
        return CAnnotationSnapshot::Box(dblX, dblY, dblWidth, dblHeight, strClass, 0);
    }
    // The image's rows as "x y w h class" in whole pixels (a drag lands within a fraction of the points aimed at),
    // sorted.
    QStringList Rows(int nImageID) const { return CAnnotationSnapshot::Rows(DataFile(), nImageID, 0); }
    // The boxes on the view as "x y w h name", sorted.
    QStringList Boxes(int nViewID) const { return CAnnotationSnapshot::Boxes(Viewer(nViewID)->GetObjectModel(), 0); }
};
