// Mouse and key events take the window system's path, so that drags carry their button and clicks move the focus.
#define QTEST_QPA_MOUSE_HANDLING

#include "CWorkspaceFixture.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageViewModeModel.h"
#include "images/CImageListModel.h"
#include "workspace/CImageViewerController.h"

#include "Utils/COvrelImage.h"

#include <QMenu>
#include <QtTest>

#include <memory>

// The drawable objects of every viewer as the workspace reaches them: by view ID and UID, and through the view's four
// object signals, which carry the view ID and the UID of the image shown, whoever made the change.
class WorkspaceObjectsTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_pFixture = std::make_unique<CWorkspaceFixture>(); }

    void cleanup() { m_pFixture.reset(); }

    void objectOperationsEmitWithIDs_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QList<int>>("counts");

        // %1 stands for the UID of the image viewer 2 shows, %2 for the object's UID.
        // %3 stands for the object viewer 2 held before, which the add deselects.
        QTest::newRow("add on view 2") << "add 2" << true << QStringList{"change 2 %1 %3", "add 2 %1 %2 roi"}
                                       << QList<int>{1, 1, 2, 0};
        QTest::newRow("add on view 3 without an image")
            << "add 3" << true << QStringList{"add 3 4294967295 %2 roi"} << QList<int>{1, 1, 1, 1};
        QTest::newRow("add on an unknown view") << "add 7" << true << QStringList() << QList<int>{1, 1, 1, 0};
        QTest::newRow("delete on view 2")
            << "delete 2" << true << QStringList{"before 2 %1 %2 roi", "delete 2 %1 %2 roi"} << QList<int>{1, 1, 0, 0};
        QTest::newRow("delete on a view without that object")
            << "delete 0" << false << QStringList() << QList<int>{1, 1, 1, 0};
        QTest::newRow("delete on view 5") << "delete 5" << false << QStringList() << QList<int>{1, 1, 1, 0};
        QTest::newRow("delete on view -1") << "delete -1" << false << QStringList() << QList<int>{1, 1, 1, 0};
        QTest::newRow("delete an unknown UID")
            << "delete 2 unknown" << false << QStringList() << QList<int>{1, 1, 1, 0};
    }
    void objectOperationsEmitWithIDs()
    {
        QFETCH(QString, operation);
        QFETCH(bool, result);
        QFETCH(QStringList, events);
        QFETCH(QList<int>, counts);
        for (int nViewID = 0; nViewID < 3; ++nViewID)
        {
            m_pFixture->Viewer(nViewID)->GetImageListModel()->PushImage(CWorkspaceFixture::MakeImage(50, 40, 3, "x"));
            m_pFixture->controller->AddRectangle(nViewID, CWorkspaceFixture::Rectangle("stored"));
        }
        const auto pStored = m_pFixture->controller->Get2DDrawableObject(
            2, m_pFixture->Viewer(2)->GetObjectModel()->GetObject(0)->GetUID());
        pStored->SetName("roi");
        m_pFixture->events.clear();
        const QStringList lstWords = operation.split(' ');
        const int nViewID = lstWords.value(1).toInt();
        auto pNew = CWorkspaceFixture::Rectangle("roi");
        const unsigned int nObjectUID = lstWords.value(0) == "add" ? pNew->GetUID() : pStored->GetUID();

        bool bResult = true;
        if (lstWords.value(0) == "add")
            m_pFixture->controller->AddRectangle(nViewID, pNew);
        else
            bResult = m_pFixture->controller->Delete2DDrawableObject(
                nViewID, lstWords.value(2) == "unknown" ? 12345678u : nObjectUID);

        // The events are out before the operation returns.
        QCOMPARE(bResult, result);
        QStringList lstExpected;
        const unsigned int nImageUID = m_pFixture->Viewer(2)->GetCurrentImageUID();
        for (const QString& strEvent : events)
            lstExpected << QString(strEvent)
                               .replace("%1", QString::number(nImageUID))
                               .replace("%2", QString::number(nObjectUID))
                               .replace("%3", QString::number(pStored->GetUID()));
        QCOMPARE(m_pFixture->events, lstExpected);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(m_pFixture->Viewer(i)->GetObjectModel()->GetObjectCount(), counts[i]);
        if (lstWords.value(0) == "add" && nViewID >= 0 && nViewID < 4)
        {
            // The new object is the only selected one, and the workspace finds it by view and UID.
            const CDrawableObjectModel* pObjects = m_pFixture->Viewer(nViewID)->GetObjectModel();
            for (int i = 0; i < pObjects->GetObjectCount(); ++i)
                QCOMPARE(pObjects->GetObject(i)->GetSelected(), pObjects->GetObject(i) == pNew);
            QCOMPARE(m_pFixture->controller->Get2DDrawableObject(nViewID, nObjectUID), pNew);
        }
        QCOMPARE(m_pFixture->controller->Get2DDrawableObject(4, nObjectUID), nullptr);
        QCOMPARE(m_pFixture->controller->Get2DDrawableObject(-1, nObjectUID), nullptr);
    }

    void userGestureOnViewerCarriesItsIDs()
    {
        m_pFixture->controller->ChangeLayout(2, 2);
        QVERIFY(m_pFixture->Show());
        m_pFixture->PushImages();
        CImageView2D* pCanvas = m_pFixture->Viewer(2)->GetCanvas();
        const unsigned int nImageUID = m_pFixture->Viewer(2)->GetCurrentImageUID();
        m_pFixture->controller->GetModeModel()->SetMode(CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge);

        CWorkspaceFixture::DrawRectangle(pCanvas, QPointF(20, 10), QPointF(60, 40));

        const CDrawableObjectModel* pObjects = m_pFixture->Viewer(2)->GetObjectModel();
        QCOMPARE(pObjects->GetObjectCount(), 1);
        const auto pObject = pObjects->GetObject(0);
        QCOMPARE(m_pFixture->events,
                 QStringList{QString("add 2 %1 %2 %3").arg(nImageUID).arg(pObject->GetUID()).arg(pObject->GetName())});
        for (int nViewID : {0, 1, 3})
            QCOMPARE(m_pFixture->Viewer(nViewID)->GetObjectModel()->GetObjectCount(), 0);

        m_pFixture->events.clear();
        QTest::keyClick(pCanvas, Qt::Key_Delete);

        QCOMPARE(
            m_pFixture->events,
            (QStringList{QString("before 2 %1 %2 %3").arg(nImageUID).arg(pObject->GetUID()).arg(pObject->GetName()),
                         QString("delete 2 %1 %2 %3").arg(nImageUID).arg(pObject->GetUID()).arg(pObject->GetName())}));
    }

    void geometryActionCallsBackWithViewAndObject()
    {
        QVERIFY(m_pFixture->Show());
        QList<QPair<int, unsigned int>> calls;
        m_pFixture->controller->RegisterGeometryAction("Update", QIcon(":/Image/configure.png"),
                                                       [&calls](int nViewID, unsigned int nUID) {
                                                           calls.append({nViewID, nUID});
                                                       });
        auto pObject = CWorkspaceFixture::Rectangle("roi");
        m_pFixture->controller->AddRectangle(3, pObject);
        CImageView2D* pCanvas = m_pFixture->Viewer(3)->GetCanvas();
        QMenu* pMenu = pCanvas->GetObjectMenu();
        for (int nViewID = 0; nViewID < 4; ++nViewID)
            QCOMPARE(m_pFixture->Viewer(nViewID)->GetCanvas()->GetObjectMenu()->actions().last()->text(),
                     QString("Update"));

        // The entry is chosen while the object's menu is open.
        QTimer::singleShot(0, pMenu,
                           [pMenu]
                           {
                               pMenu->actions().last()->trigger();
                               pMenu->close();
                           });
        pCanvas->ShowObjectMenu(QPointF(2, 3), pObject->GetUID());

        QCOMPARE(calls, (QList<QPair<int, unsigned int>>{{3, pObject->GetUID()}}));
    }

    void closeCurrentImageActsOnItsViewer()
    {
        CImageListModel* pImages = m_pFixture->Viewer(1)->GetImageListModel();
        pImages->PushImage(CWorkspaceFixture::MakeImage(20, 10, 3, "a"));
        pImages->PushImage(CWorkspaceFixture::MakeImage(20, 10, 3, "b"));
        m_pFixture->controller->AddRectangle(1, CWorkspaceFixture::Rectangle("roi"));

        m_pFixture->controller->CloseCurrentImage(9);
        QCOMPARE(pImages->GetImageCount(), 2);
        m_pFixture->controller->CloseCurrentImage(1);

        QCOMPARE(pImages->GetImageCount(), 1);
        QCOMPARE(QString::fromStdWString(pImages->GetCurrentImage()->GetName()), QString("a"));
        QCOMPARE(m_pFixture->Viewer(1)->GetObjectModel()->GetObjectCount(), 0);
    }

private:
    std::unique_ptr<CWorkspaceFixture> m_pFixture;
};

int RunWorkspaceObjectsTest(int argc, char** argv)
{
    WorkspaceObjectsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WorkspaceObjectsTest.moc"
