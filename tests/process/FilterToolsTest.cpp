#include "CPromptAnswers.h"
#include "CWorkspaceFixture.h"
#include "ToolTestSupport.h"

#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2DController.h"
#include "frame/CUndoStack.h"
#include "images/CImageListModel.h"
#include "process/CImage2DProcessMedianModel.h"
#include "process/CImageProcessParameterDlg.h"
#include "process/CImageProcessToolFactory.h"
#include "workspace/CImageViewerController.h"

#include "Utils/EOvrelBorderMode.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTreeView>
#include <QtTest>

#include <memory>

using Ovrel::Utils::COvrelImage;

// The Sobel and median tools on viewer 0: which pixels a run changes and to what, the undo step it makes, and that a
// failed filter changes nothing.
class FilterToolsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void filterReplacesImageInsideRegion_data();
    void filterReplacesImageInsideRegion();
    void sameNamedRegionsAreToldApart_data();
    void sameNamedRegionsAreToldApart();
    void noRegionFiltersWholeImage();
    void failedFilterChangesNothing_data();
    void failedFilterChangesNothing();
    void boundShapesStayThroughFilterAndUndo();
    void medianSizeIsOddThroughTable_data();
    void medianSizeIsOddThroughTable();
    void choicesShowWords_data();
    void choicesShowWords();
    void medianTypeAndSizeAgree_data();
    void medianTypeAndSizeAgree();

private:
    // Opens the tool and sets its table: row 0 to the key, row 1 (median only) to the size when one is given.
    void OpenTool(const QString& strTool, const QString& strKey, const QString& strSize = QString());
    CImageProcessView* Dialog() const { return static_cast<CImageProcessView*>(m_tool.pView); }
    QStandardItemModel* Table() const;
    CImageViewerController* Viewer() const { return m_pFixture->Viewer(0); }
    // What the imaging library makes of the image for a step written "sobel <order>" or "median <radius>".
    static std::shared_ptr<COvrelImage> Expected(const COvrelImage& image, const QString& strStep, const QRect& region);

    std::unique_ptr<CWorkspaceFixture> m_pFixture;
    std::shared_ptr<COvrelImage> m_pOriginal;
    SMVC m_tool;
};

void FilterToolsTest::init()
{
    m_pFixture = std::make_unique<CWorkspaceFixture>();
    m_pOriginal = ToolTest::Noise(200, 100, 3);
    Viewer()->GetImageListModel()->PushImage(m_pOriginal);
    CWorkspaceFixture::NewLogLines();
}

void FilterToolsTest::cleanup()
{
    delete m_tool.pController;
    delete m_tool.pModel;
    delete m_tool.pView;
    m_tool = SMVC();
    m_pFixture.reset();
    m_pOriginal.reset();
}

void FilterToolsTest::OpenTool(const QString& strTool, const QString& strKey, const QString& strSize)
{
    m_tool = CImageProcessToolFactory::Open(strTool == "sobel" ? EImageProcessTool_Sobel : EImageProcessTool_Median,
                                            nullptr);
    ToolTest::SetCell(Table(), 0, strKey);
    if (!strSize.isEmpty())
        ToolTest::SetCell(Table(), 1, strSize);
}

QStandardItemModel* FilterToolsTest::Table() const
{
    return qobject_cast<CImageProcessParameterDlg*>(m_tool.pView)->GetParameterModel();
}

std::shared_ptr<COvrelImage> FilterToolsTest::Expected(const COvrelImage& image, const QString& strStep,
                                                       const QRect& region)
{
    auto pExpected = std::make_shared<COvrelImage>();
    pExpected->CopyFrom(image);
    const Ovrel::Geometry::COvrelRectangle rectangle(region.x(), region.y(), region.width(), region.height());
    const Ovrel::Geometry::COvrelGeometry* pRegion = region.isNull() ? nullptr : &rectangle;
    const int nMode = Ovrel::Utils::EOvrelBorderMode_Replicate;
    const QStringList words = strStep.split(' ');
    const int nArgument = words[1].toInt();
    if (words[0] == "median")
        pExpected->Median(nArgument, nArgument, pRegion, nMode, 0.0);
    else if (nArgument == 0)
        pExpected->SobelX(pRegion, nMode, 0.0);
    else if (nArgument == 1)
        pExpected->SobelY(pRegion, nMode, 0.0);
    else
        pExpected->SobelXY(pRegion, nMode, 0.0);
    return pExpected;
}

void FilterToolsTest::filterReplacesImageInsideRegion_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Sobel X") << "sobel"
                             << "Sobel X" << QString() << "sobel 0";
    QTest::newRow("Sobel Y") << "sobel"
                             << "Sobel Y" << QString() << "sobel 1";
    QTest::newRow("Sobel XY") << "sobel"
                              << "Sobel XY" << QString() << "sobel 2";
    QTest::newRow("median 3x3") << "median"
                                << "Median 3x3" << QString() << "median 1";
    QTest::newRow("median 5x5") << "median"
                                << "Median 5x5" << QString() << "median 2";
    QTest::newRow("median 9x9") << "median"
                                << "Median NxN"
                                << "9"
                                << "median 4";
    QTest::newRow("median NxN of the first size") << "median"
                                                  << "Median NxN" << QString() << "median 3";
}

void FilterToolsTest::filterReplacesImageInsideRegion()
{
    QFETCH(QString, tool);
    QFETCH(QString, key);
    QFETCH(QString, size);
    QFETCH(QString, expected);
    const QRect region(20, 10, 60, 40);
    m_pFixture->controller->AddRectangle(0, ToolTest::Shape("roi", region));
    m_pFixture->controller->AddRectangle(0, ToolTest::Shape("elsewhere", QRect(120, 50, 30, 30)));
    OpenTool(tool, key, size);
    Dialog()->SetSourceROIIndex(ToolTest::RegionIndex(Dialog()->GetSourceROIBox(), "roi"));
    QCOMPARE(Dialog()->GetSourceROIName(), QString("roi"));

    ToolTest::PressRun(Dialog());

    const std::shared_ptr<COvrelImage> pShown = Viewer()->GetCurrentImage();
    QVERIFY(pShown && pShown != m_pOriginal);
    QVERIFY(ToolTest::SameImage(*pShown, *Expected(*m_pOriginal, expected, region)));
    QVERIFY(ToolTest::ChangedPixels(*pShown, *m_pOriginal, region, true) > region.width() * region.height() / 2);
    QCOMPARE(ToolTest::ChangedPixels(*pShown, *m_pOriginal, region, false), 0);
    QCOMPARE(Viewer()->GetImageListModel()->GetImageCount(), 1);
    QCOMPARE(Viewer()->GetObjectModel()->GetObjectCount(), 0);
    CUndoStack* pUndo = Viewer()->GetCanvasController()->GetUndoStack();
    QCOMPARE(pUndo->UndoCount(), 1);

    pUndo->Undo();

    QVERIFY(ToolTest::SameImage(*Viewer()->GetCurrentImage(), *m_pOriginal));
    QCOMPARE(Viewer()->GetImageListModel()->GetImageCount(), 1);
}

void FilterToolsTest::sameNamedRegionsAreToldApart_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QRect>("region");
    // The viewer lists its newest shape first.
    QTest::newRow("newest") << 0 << QRect(100, 50, 30, 30);
    QTest::newRow("first drawn") << 1 << QRect(10, 10, 20, 20);
}

void FilterToolsTest::sameNamedRegionsAreToldApart()
{
    QFETCH(int, entry);
    QFETCH(QRect, region);
    m_pFixture->controller->AddRectangle(0, ToolTest::Shape("roi", QRect(10, 10, 20, 20)));
    m_pFixture->controller->AddRectangle(0, ToolTest::Shape("roi", QRect(100, 50, 30, 30)));
    OpenTool("sobel", "Sobel XY");
    // Regression: both entries read "roi", and either one ran inside the shape drawn first.
    QCOMPARE(ToolTest::Items(Dialog()->GetSourceROIBox()),
             (QStringList{"roi (100, 50, 30x30)", "roi (10, 10, 20x20)"}));
    Dialog()->SetSourceROIIndex(entry);

    ToolTest::PressRun(Dialog());

    QVERIFY(ToolTest::SameImage(*Viewer()->GetCurrentImage(), *Expected(*m_pOriginal, "sobel 2", region)));
}

void FilterToolsTest::noRegionFiltersWholeImage()
{
    OpenTool("median", "Median 5x5");
    QCOMPARE(Dialog()->GetSourceROIIndex(), -1);

    ToolTest::PressRun(Dialog());

    QVERIFY(ToolTest::SameImage(*Viewer()->GetCurrentImage(), *Expected(*m_pOriginal, "median 2", QRect())));
}

void FilterToolsTest::failedFilterChangesNothing_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QRect>("region");
    QTest::newRow("Sobel inside a shape off the image") << "sobel"
                                                        << "Sobel X" << QRect(500, 500, 10, 10);
    QTest::newRow("Sobel of an unknown direction") << "sobel"
                                                   << "Sobel Z" << QRect(20, 10, 60, 40);
    QTest::newRow("median inside a shape off the image") << "median"
                                                         << "Median 3x3" << QRect(500, 500, 10, 10);
    QTest::newRow("median of an unknown kernel") << "median"
                                                 << "Median 7x7" << QRect(20, 10, 60, 40);
}

void FilterToolsTest::failedFilterChangesNothing()
{
    QFETCH(QString, tool);
    QFETCH(QString, key);
    QFETCH(QRect, region);
    m_pFixture->controller->AddRectangle(0, ToolTest::Shape("roi", region));
    OpenTool(tool, key);
    Dialog()->SetMessage("before");

    ToolTest::PressRun(Dialog());

    QCOMPARE(Viewer()->GetCurrentImage(), m_pOriginal);
    QVERIFY(ToolTest::SameImage(*m_pOriginal, *ToolTest::Noise(200, 100, 3)));
    QCOMPARE(Viewer()->GetObjectModel()->GetObjectCount(), 1);
    QCOMPARE(Viewer()->GetCanvasController()->GetUndoStack()->UndoCount(), 0);
    QCOMPARE(Dialog()->GetMessageLabel()->text(), QString("before"));
    QCOMPARE(CWorkspaceFixture::NewLogLines().filter("Processing Time"), QStringList());
}

void FilterToolsTest::boundShapesStayThroughFilterAndUndo()
{
    CPromptAnswers answers;
    const QRect region(20, 10, 60, 40);
    m_pFixture->controller->AddRectangle(0, ToolTest::Shape("roi", region));
    Viewer()->BindObjectsToCurrentImage();
    OpenTool("sobel", "Sobel XY");
    Dialog()->SetSourceROIIndex(0);

    ToolTest::PressRun(Dialog());

    QVERIFY(ToolTest::SameImage(*Viewer()->GetCurrentImage(), *Expected(*m_pOriginal, "sobel 2", region)));
    QCOMPARE(Viewer()->GetObjectModel()->GetObjectCount(), 1);
    QCOMPARE(ToolTest::Items(Dialog()->GetSourceROIBox()), QStringList("roi (20, 10, 60x40)"));
    QCOMPARE(Viewer()->GetBoundImageUID(), Viewer()->GetCurrentImageUID());
    // A result of another size would not fit the shapes: refused with a warning, the image stays.
    const std::shared_ptr<COvrelImage> pFiltered = Viewer()->GetCurrentImage();
    Viewer()->ApplyImage(ToolTest::Noise(100, 100, 3));
    QCOMPARE(Viewer()->GetCurrentImage(), pFiltered);
    QCOMPARE(answers.asked.size(), 1);
    QCOMPARE(answers.asked[0].eIcon, QMessageBox::Warning);

    Viewer()->GetCanvasController()->GetUndoStack()->Undo();

    QVERIFY(ToolTest::SameImage(*Viewer()->GetCurrentImage(), *m_pOriginal));
    QCOMPARE(Viewer()->GetObjectModel()->GetObjectCount(), 1);
    QCOMPARE(Viewer()->GetBoundImageUID(), Viewer()->GetCurrentImageUID());
}

void FilterToolsTest::medianSizeIsOddThroughTable_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("size");
    QTest::newRow("odd") << 9 << 9;
    QTest::newRow("even goes up") << 10 << 11;
    QTest::newRow("largest") << 255 << 255;
    QTest::newRow("even below the largest") << 254 << 255;
    QTest::newRow("below the smallest") << 1 << 3;
}

void FilterToolsTest::medianSizeIsOddThroughTable()
{
    QFETCH(int, typed);
    QFETCH(int, size);
    OpenTool("median", "Median NxN");
    auto* pTree = Dialog()->findChild<QTreeView*>("Parameters");
    QVERIFY(pTree);
    const QModelIndex cell = Table()->index(1, 1);
    pTree->edit(cell);
    auto* pEditor = qobject_cast<QSpinBox*>(pTree->indexWidget(cell));
    QVERIFY(pEditor);
    QCOMPARE(pEditor->value(), 7);

    pEditor->setValue(typed);
    emit pTree->itemDelegateForColumn(1)->commitData(pEditor);

    QCOMPARE(Table()->item(1, 1)->text(), QString::number(size));
    QCOMPARE(static_cast<CImage2DProcessMedianModel*>(m_tool.pModel)->GetSize(), size);
    QCOMPARE(static_cast<CImage2DProcessMedianModel*>(m_tool.pModel)->GetRadius(), (size - 1) / 2);
}

void FilterToolsTest::choicesShowWords_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QString>("shown");
    // Regression: the list and the table showed the enumeration's keys ("EImage2DProcessSobelX").
    QTest::newRow("sobel") << "sobel" << QStringList{"Sobel X", "Sobel Y", "Sobel XY"} << "Sobel X";
    QTest::newRow("median") << "median" << QStringList{"Median 3x3", "Median 5x5", "Median NxN"} << "Median 3x3|3";
}

void FilterToolsTest::choicesShowWords()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, choices);
    QFETCH(QString, shown);
    m_tool =
        CImageProcessToolFactory::Open(tool == "sobel" ? EImageProcessTool_Sobel : EImageProcessTool_Median, nullptr);
    auto* pTree = Dialog()->findChild<QTreeView*>("Parameters");
    const QModelIndex cell = Table()->index(0, 1);

    pTree->edit(cell);

    auto* pEditor = qobject_cast<QComboBox*>(pTree->indexWidget(cell));
    QVERIFY(pEditor);
    QCOMPARE(ToolTest::Items(pEditor), choices);
    QStringList lstValues;
    for (int nRow = 0; nRow < Table()->rowCount(); ++nRow)
        lstValues << Table()->item(nRow, 1)->text();
    QCOMPARE(lstValues.join('|'), shown);
}

void FilterToolsTest::medianTypeAndSizeAgree_data()
{
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("shown");
    // Regression: "Median 3x3" stood beside "Size 7", and a size typed under 3x3 changed nothing.
    QTest::newRow("a type shows its size") << QStringList{"0 Median 5x5"} << "Median 5x5|5|2";
    QTest::newRow("a size picks N x N") << QStringList{"1 9"} << "Median NxN|9|4";
    QTest::newRow("size 5 picks 5x5") << QStringList{"0 Median NxN", "1 5"} << "Median 5x5|5|2";
    QTest::newRow("N x N shows its own size") << QStringList{"1 9", "0 Median 3x3", "0 Median NxN"} << "Median NxN|9|4";
    QTest::newRow("a refused size shows the one run") << QStringList{"0 Median 5x5", "1 4"} << "Median 5x5|5|2";
}

void FilterToolsTest::medianTypeAndSizeAgree()
{
    QFETCH(QStringList, edits);
    QFETCH(QString, shown);
    OpenTool("median", "Median 3x3");

    for (const QString& strEdit : edits)
        ToolTest::SetCell(Table(), strEdit.section(' ', 0, 0).toInt(), strEdit.section(' ', 1));

    const auto* pModel = static_cast<CImage2DProcessMedianModel*>(m_tool.pModel);
    QCOMPARE(Table()->item(0, 1)->text() + "|" + Table()->item(1, 1)->text() + "|" +
                 QString::number(pModel->GetRadius()),
             shown);
}

int RunFilterToolsTest(int argc, char** argv)
{
    FilterToolsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FilterToolsTest.moc"
