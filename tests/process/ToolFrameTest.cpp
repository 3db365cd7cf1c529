#include "CWorkspaceFixture.h"
#include "ToolTestSupport.h"

#include "canvas/CDrawableRuler.h"
#include "images/CImageListModel.h"
#include "process/CImage2DProcessSobelController.h"
#include "process/CImage2DProcessSobelDlg.h"
#include "process/CImage2DProcessSobelModel.h"
#include "process/CImageProcessToolFactory.h"
#include "workspace/CImageViewerController.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMap>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

// The frame every tool shares, seen through the Sobel tool: the source list, the binding to a viewer by name, the ROI
// list following that viewer's shapes, the processing-time report, and the factory that opens each tool.
class ToolFrameTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sourceListFollowsLayout_data();
    void sourceListFollowsLayout();
    void roiListFollowsBoundViewer_data();
    void roiListFollowsBoundViewer();
    void runReportsProcessingTime();
    void factoryOpensBoundToolWindows_data();
    void factoryOpensBoundToolWindows();
    void toolWindowsAreIndependent();

private:
    // Acts as the user on the workspace or the dialog: "add <view> <name>", "delete <view> <name>",
    // "rename <view> <old> <new>", "ruler <view>", "replace <view>" (a filtered image replaces the current one),
    // "bind <view>" (the user picks that viewer in the source list).
    void Act(const QString& strStep);

    std::unique_ptr<CWorkspaceFixture> m_pFixture;
    std::unique_ptr<CImage2DProcessSobelModel> m_pModel;
    std::unique_ptr<CImage2DProcessSobelDlg> m_pDialog;
    std::unique_ptr<CImage2DProcessSobelController> m_pController;
    QMap<QString, std::shared_ptr<CDrawableGeometry>> m_mapShapes;
};

void ToolFrameTest::init()
{
    m_pFixture = std::make_unique<CWorkspaceFixture>();
    m_pFixture->controller->ChangeLayout(2, 2);
    m_pFixture->PushImages();
    m_pModel = std::make_unique<CImage2DProcessSobelModel>();
    m_pDialog = std::make_unique<CImage2DProcessSobelDlg>(m_pModel.get());
    m_pController = std::make_unique<CImage2DProcessSobelController>(m_pModel.get(), m_pDialog.get());
    CWorkspaceFixture::NewLogLines();
}

void ToolFrameTest::cleanup()
{
    m_mapShapes.clear();
    m_pController.reset();
    m_pDialog.reset();
    m_pModel.reset();
    m_pFixture.reset();
}

void ToolFrameTest::sourceListFollowsLayout_data()
{
    QTest::addColumn<QList<int>>("layouts");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("2x2") << QList<int>{2, 2}
                         << QStringList{"Image View [0]", "Image View [1]", "Image View [2]", "Image View [3]"};
    QTest::newRow("2x1") << QList<int>{1, 2} << QStringList{"Image View [0]", "Image View [1]"};
    QTest::newRow("2x2 then 1x1") << QList<int>{2, 2, 1, 1} << QStringList{"Image View [0]"};
}

void ToolFrameTest::sourceListFollowsLayout()
{
    QFETCH(QList<int>, layouts);
    QFETCH(QStringList, names);
    m_pFixture->controller->ChangeLayout(1, 1);
    QCOMPARE(ToolTest::Items(m_pDialog->GetSourceImageBox()), QStringList{"Image View [0]"});

    for (int i = 0; i + 1 < layouts.size(); i += 2)
        m_pFixture->controller->ChangeLayout(layouts[i], layouts[i + 1]);

    QCOMPARE(ToolTest::Items(m_pDialog->GetSourceImageBox()), names);
    // Refilling the list does not move the tool to another viewer.
    QCOMPARE(m_pController->GetSourceViewCtrl(), m_pFixture->Viewer(0));
}

void ToolFrameTest::Act(const QString& strStep)
{
    const QStringList words = strStep.split(' ');
    const int nView = words.value(1).toInt();
    const QString strKey = words.value(1) + "/" + words.value(2);
    if (words[0] == "add")
    {
        m_mapShapes[strKey] = ToolTest::Shape(words[2], QRect(10, 10, 20, 20));
        m_pFixture->controller->AddRectangle(nView, m_mapShapes[strKey]);
    }
    else if (words[0] == "delete")
        QVERIFY(m_pFixture->controller->Delete2DDrawableObject(nView, m_mapShapes[strKey]->GetUID()));
    else if (words[0] == "rename")
        m_mapShapes[strKey]->SetName(words[3]);
    else if (words[0] == "ruler")
        m_pFixture->Viewer(nView)->AddObject(std::make_shared<CDrawableRuler>(QPointF(1, 1), QPointF(9, 9)));
    else if (words[0] == "replace")
        m_pFixture->Viewer(nView)->ApplyImage(ToolTest::Noise(200, 100, 3));
    else if (words[0] == "bind")
    {
        QComboBox* pSources = m_pDialog->GetSourceImageBox();
        pSources->setCurrentIndex(nView);
        emit pSources->textActivated(pSources->currentText());
    }
    else
        QFAIL(qPrintable("unknown step " + strStep));
}

void ToolFrameTest::roiListFollowsBoundViewer_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("roiList");
    QTest::newRow("shapes on the bound viewer") << QStringList{"add 0 a", "add 0 b"} << QStringList{"a", "b"};
    QTest::newRow("a shape on another viewer") << QStringList{"add 1 a"} << QStringList();
    QTest::newRow("deleting removes the entry") << QStringList{"add 0 a", "add 0 b", "delete 0 a"} << QStringList{"b"};
    QTest::newRow("deleting on another viewer") << QStringList{"add 0 a", "add 1 a", "delete 1 a"} << QStringList{"a"};
    QTest::newRow("renamed entry follows") << QStringList{"add 0 a", "rename 0 a z"} << QStringList{"z"};
    QTest::newRow("renamed shows after binding again")
        << QStringList{"add 0 a", "rename 0 a z", "bind 0"} << QStringList{"z"};
    QTest::newRow("binding lists the newest shape first")
        << QStringList{"add 1 a", "add 1 b", "bind 1"} << QStringList{"b", "a"};
    QTest::newRow("after binding another viewer the old one is not followed")
        << QStringList{"add 1 a", "bind 1", "add 0 c", "add 1 d"} << QStringList{"a", "d"};
    QTest::newRow("rulers are not regions") << QStringList{"ruler 0", "add 0 a", "bind 0"} << QStringList{"a"};
    QTest::newRow("a replaced image takes its shapes along") << QStringList{"add 0 a", "replace 0"} << QStringList();
}

void ToolFrameTest::roiListFollowsBoundViewer()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, roiList);

    for (const QString& strStep : steps)
        Act(strStep);

    // Every shape here stands at the same place: the entries differ by name.
    QStringList lstShown;
    for (const QString& strName : roiList)
        lstShown << strName + " (10, 10, 20x20)";
    QCOMPARE(ToolTest::Items(m_pDialog->GetSourceROIBox()), lstShown);
}

void ToolFrameTest::runReportsProcessingTime()
{
    QElapsedTimer outer;
    outer.start();

    ToolTest::PressRun(m_pDialog.get());

    const qint64 nOuter = outer.elapsed();
    const QString strMessage = m_pDialog->GetMessageLabel()->text();
    const QRegularExpressionMatch match = QRegularExpression("^Processing Time (\\d+) ms$").match(strMessage);
    QVERIFY2(match.hasMatch(), qPrintable(strMessage));
    QVERIFY(match.captured(1).toLongLong() <= nOuter);
    QCOMPARE(CWorkspaceFixture::NewLogLines().filter("Processing Time"), QStringList{"[NORMAL] " + strMessage});
}

void ToolFrameTest::factoryOpensBoundToolWindows_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("title");
    QTest::newRow("Sobel") << static_cast<int>(EImageProcessTool_Sobel) << "Sobel";
    QTest::newRow("median") << static_cast<int>(EImageProcessTool_Median) << "Median";
    QTest::newRow("OCR") << static_cast<int>(EImageProcessTool_OCR) << "OCR";
}

void ToolFrameTest::factoryOpensBoundToolWindows()
{
    QFETCH(int, tool);
    QFETCH(QString, title);
    QWidget window;
    window.show();

    const SMVC opened = CImageProcessToolFactory::Open(static_cast<EImageProcessTool>(tool), &window);

    QVERIFY(opened.pView && opened.pModel && opened.pController);
    QCOMPARE(opened.pView->parentWidget(), &window);
    QVERIFY(opened.pView->isWindow());
    QVERIFY(opened.pView->isVisible());
    QCOMPARE(opened.pView->windowTitle(), title);
    const auto* pFrame = qobject_cast<CImageProcessController*>(opened.pController);
    QVERIFY(pFrame);
    QCOMPARE(pFrame->GetSourceViewCtrl(), m_pFixture->Viewer(0));
    // The window's order of teardown: controller, model, then the view with its parent.
    delete opened.pController;
    delete opened.pModel;
}

void ToolFrameTest::toolWindowsAreIndependent()
{
    QWidget window;
    window.show();
    const SMVC first = CImageProcessToolFactory::Open(EImageProcessTool_Sobel, &window);
    const SMVC second = CImageProcessToolFactory::Open(EImageProcessTool_Sobel, &window);

    first.pView->close();
    ToolTest::PressRun(second.pView);

    QVERIFY(!first.pView->isVisible());
    QVERIFY(second.pView->isVisible());
    QVERIFY(static_cast<CImageProcessView*>(first.pView)->GetMessageLabel()->text().isEmpty());
    QVERIFY(static_cast<CImageProcessView*>(second.pView)->GetMessageLabel()->text().startsWith("Processing Time"));
    for (const SMVC& tool : {first, second})
    {
        delete tool.pController;
        delete tool.pModel;
    }
}

int RunToolFrameTest(int argc, char** argv)
{
    ToolFrameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ToolFrameTest.moc"
