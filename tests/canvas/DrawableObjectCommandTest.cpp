#include "CModelJournal.h"
#include "CTestSandbox.h"

#include "canvas/CAddDrawableObjectCommand.h"
#include "canvas/CDeleteDrawableObjectCommand.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CRelabelDrawableObjectCommand.h"
#include "canvas/CReplaceImageCommand.h"
#include "canvas/CResizeDrawableObjectCommand.h"
#include "canvas/ICanvasController.h"
#include "frame/CSetting.h"
#include "frame/CUndoStack.h"

#include "Ovrel.h"

#include <QRegularExpression>
#include <QtTest>

#include <memory>

using namespace Ovrel::Geometry;
using Ovrel::Utils::COvrelImage;

using ObjectPtr = std::shared_ptr<CDrawableObject>;
using GeometryPtr = std::shared_ptr<COvrelGeometry>;
Q_DECLARE_METATYPE(GeometryPtr)

namespace
{
const auto Rectangle = CModelJournal::Rectangle;
const auto Line = CModelJournal::Line;

// The controller side that the image command talks to: the model and a one-viewer image list.
class CTestCanvasController : public ICanvasController
{
public:
    CDrawableObjectModel* GetDrawableObjectModel() const override { return m_pModel; }
    void RepaintCanvas() override {}
    std::shared_ptr<COvrelImage> GetCurrentImage() const override { return pCurrentImage; }
    void ReplaceCurrentImage(std::shared_ptr<COvrelImage> pImage) override { pCurrentImage = std::move(pImage); }

    CDrawableObjectModel* m_pModel = nullptr;
    std::shared_ptr<COvrelImage> pCurrentImage;
};

// A 3 x 2 RGB image whose samples are nFirst, nFirst + 1, ...
std::shared_ptr<COvrelImage> NumberedImage(int nFirst)
{
    auto pImage = std::make_shared<COvrelImage>();
    pImage->Create(3, 2, 3, 8, 0, 4);
    int nValue = nFirst;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            for (int c = 0; c < 3; ++c)
                pImage->GetPixel(x, y)[c] = static_cast<unsigned char>(nValue++);
    return pImage;
}

// As a controller does with a finished gesture.
void PushAndExecute(CUndoStack& stack, CUndoCommand* pCommand)
{
    stack.PushUndo(pCommand);
    pCommand->Execute();
}

QString Samples(const std::shared_ptr<COvrelImage>& pImage)
{
    if (!pImage)
        return "<none>";
    QStringList values;
    for (int y = 0; y < pImage->GetHeight(); ++y)
        for (int x = 0; x < pImage->GetWidth(); ++x)
            for (int c = 0; c < pImage->GetChannels(); ++c)
                values << QString::number(pImage->GetPixel(x, y)[c]);
    return values.join(' ');
}
} // namespace

class DrawableObjectCommandTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void drawUndoRedoKeepsUidAndName();
    void deleteCommandBringsObjectBackOnUndo();
    void resizeUndoReturnsTheDraggedHandle_data();
    void resizeUndoReturnsTheDraggedHandle();
    void replacingImageRestoresPixelsAndClearsObjectsBothWays();
    void propertyChangeIsRelayedOnceAfterRepeatedUndoRedo();
    void relabelOfSeveralObjectsIsOneStepBackToEachOwnName();

private:
    CTestSandbox m_sandbox;
    std::unique_ptr<CDrawableObjectModel> m_pModel;
    std::unique_ptr<CModelJournal> m_pJournal;
    CTestCanvasController m_controller;
};

void DrawableObjectCommandTest::initTestCase()
{
    CSetting::Set("GENERAL_LOG_DIR", m_sandbox.Home());
}

void DrawableObjectCommandTest::init()
{
    m_pModel = std::make_unique<CDrawableObjectModel>();
    m_pJournal = std::make_unique<CModelJournal>(*m_pModel);
    m_controller = CTestCanvasController();
    m_controller.m_pModel = m_pModel.get();
}

void DrawableObjectCommandTest::cleanup()
{
    m_pJournal.reset();
    m_pModel.reset();
}

void DrawableObjectCommandTest::drawUndoRedoKeepsUidAndName()
{
    const auto pOld = Rectangle(50, 50, 5, 5);
    m_pModel->AddObject(pOld);
    const auto pDrawn = Rectangle(0, 0, 10, 10);
    const QString strName = pDrawn->GetName();
    m_pJournal->Take();
    CUndoStack stack;

    PushAndExecute(stack, new CAddDrawableObjectCommand(m_pModel.get(), pDrawn));
    const bool bOldSelectedAfterDraw = pOld->GetSelected();
    stack.Undo();
    const int nCountAfterUndo = m_pModel->GetObjectCount();
    stack.Redo();

    QVERIFY(!bOldSelectedAfterDraw);
    QCOMPARE(nCountAfterUndo, 1);
    QCOMPARE(m_pModel->GetObject(0), ObjectPtr(pDrawn));
    QVERIFY(pDrawn->GetSelected());
    QCOMPARE(pDrawn->GetName(), strName);
    const QStringList journal = m_pJournal->Take().filter(QRegularExpression("^(add|before|delete)"));
    QCOMPARE(journal, (QStringList{Line("add", *pDrawn), Line("before", *pDrawn), Line("delete", *pDrawn),
                                   Line("add", *pDrawn)}));
}

void DrawableObjectCommandTest::deleteCommandBringsObjectBackOnUndo()
{
    const auto pA = Rectangle(0, 0, 10, 10);
    const auto pB = Rectangle(5, 5, 10, 10);
    pB->SetName("person");
    m_pModel->AddObject(pB);
    m_pModel->AddObject(pA);
    CUndoStack stack;

    PushAndExecute(stack, new CDeleteDrawableObjectCommand(m_pModel.get(), pB));
    QCOMPARE(m_pModel->GetObjectCount(), 1);
    m_pJournal->Take();

    stack.Undo();
    QCOMPARE(m_pModel->GetObjectCount(), 2);
    // Back in its place behind A, not in front.
    QCOMPARE(m_pModel->GetObject(1), ObjectPtr(pB));
    QVERIFY(pB->GetSelected() && !pA->GetSelected());
    QVERIFY(m_pJournal->Take().contains(QString("add %1 person").arg(pB->GetUID())));

    stack.Redo();
    QCOMPARE(m_pModel->GetObjectCount(), 1);
    QCOMPARE(m_pModel->GetObject(0), ObjectPtr(pA));
    QCOMPARE(m_pJournal->Take(), (QStringList{QString("before %1 person").arg(pB->GetUID()),
                                              QString("delete %1 person").arg(pB->GetUID())}));
}

void DrawableObjectCommandTest::resizeUndoReturnsTheDraggedHandle_data()
{
    QTest::addColumn<GeometryPtr>("pGeometry");
    QTest::addColumn<QPointF>("handle"); // where the drag took the handle
    QTest::addColumn<QPointF>("delta");  // pointer minus handle
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<QRectF>("dragged"); // the boundary after the drag

    QTest::newRow("rectangle corner") << GeometryPtr(std::make_shared<COvrelRectangle>(10, 10, 100, 80))
                                      << QPointF(110, 90) << QPointF(2, 3) << QPointF(152, 123)
                                      << QRectF(10, 10, 140, 110);
    // The other corners lie within ten pixels of the pointer: only the dragged one may move.
    QTest::newRow("small rectangle") << GeometryPtr(std::make_shared<COvrelRectangle>(10, 10, 4, 4)) << QPointF(14, 14)
                                     << QPointF(0, 0) << QPointF(40, 40) << QRectF(10, 10, 30, 30);
    QTest::newRow("small rectangle, top-left handle")
        << GeometryPtr(std::make_shared<COvrelRectangle>(10, 10, 4, 4)) << QPointF(10, 10) << QPointF(-1, 1)
        << QPointF(0.5, 0.25) << QRectF(1.5, -0.75, 12.5, 14.75);
    QTest::newRow("corner dragged across the opposite one")
        << GeometryPtr(std::make_shared<COvrelRectangle>(10, 10, 20, 20)) << QPointF(30, 30) << QPointF(1, 1)
        << QPointF(1, 1) << QRectF(0, 0, 10, 10);
    QTest::newRow("ellipse corner") << GeometryPtr(std::make_shared<COvrelEllipse>(0, 0, 8, 6)) << QPointF(8, 6)
                                    << QPointF(0.3, 0.1) << QPointF(20.3, 3.1) << QRectF(0, 0, 20, 3);
    QTest::newRow("polygon vertex") << GeometryPtr(std::make_shared<COvrelPolygon>(
                                           std::vector<COvrelPoint>{{10, 10}, {14, 10}, {12, 13}}))
                                    << QPointF(12, 13) << QPointF(0, 0) << QPointF(12, 40) << QRectF(10, 10, 4, 30);
    QTest::newRow("line end") << GeometryPtr(std::make_shared<COvrelLine>(0, 0, 3, 3)) << QPointF(3, 3) << QPointF(0, 0)
                              << QPointF(50, 3) << QRectF(0, 0, 50, 3);
}

void DrawableObjectCommandTest::resizeUndoReturnsTheDraggedHandle()
{
    QFETCH(GeometryPtr, pGeometry);
    QFETCH(QPointF, handle);
    QFETCH(QPointF, delta);
    QFETCH(QPointF, end);
    QFETCH(QRectF, dragged);
    const auto pObject = std::make_shared<CDrawableGeometry>(pGeometry);
    m_pModel->AddObject(pObject);
    const QRectF original = pObject->GetBoundary();
    const QPointF start = handle + delta;
    CUndoStack stack;

    // The drag has moved the handle before the command is pushed and executed.
    pObject->MoveResizePoint(handle, end - delta);
    QCOMPARE(pObject->GetBoundary(), dragged);
    PushAndExecute(stack, new CResizeDrawableObjectCommand(pObject, start, end, delta));
    QCOMPARE(pObject->GetBoundary(), dragged);

    stack.Undo();
    QCOMPARE(pObject->GetBoundary(), original);
    QPointF found;
    QVERIFY(pObject->FindResizePoint(1e-9, handle, found, 0.0));

    stack.Redo();
    QCOMPARE(pObject->GetBoundary(), dragged);
    stack.Undo();
    QCOMPARE(pObject->GetBoundary(), original);
}

void DrawableObjectCommandTest::replacingImageRestoresPixelsAndClearsObjectsBothWays()
{
    const std::shared_ptr<COvrelImage> pOriginal = NumberedImage(0);
    const std::shared_ptr<COvrelImage> pFiltered = NumberedImage(100);
    const QString strOriginal = Samples(pOriginal);
    m_controller.pCurrentImage = pOriginal;
    m_pModel->AddObject(Rectangle(0, 0, 1, 1));
    CUndoStack stack;

    auto* pCommand = new CReplaceImageCommand(&m_controller, pFiltered);
    // The command keeps the pixels of the moment it was made, whatever happens to the image afterwards.
    pOriginal->GetPixel(0, 0)[0] = 99;
    stack.PushUndo(pCommand);
    pCommand->Execute();
    QCOMPARE(m_controller.pCurrentImage, pFiltered);
    QCOMPARE(m_pModel->GetObjectCount(), 0);
    m_pModel->AddObject(Rectangle(0, 0, 1, 1));
    m_pJournal->Take();

    stack.Undo();
    QCOMPARE(Samples(m_controller.pCurrentImage), strOriginal);
    QCOMPARE(m_pModel->GetObjectCount(), 0);
    QCOMPARE(m_pJournal->Take(), QStringList{"clear"});
    m_pModel->AddObject(Rectangle(0, 0, 1, 1));

    stack.Redo();
    QCOMPARE(Samples(m_controller.pCurrentImage), Samples(NumberedImage(100)));
    QCOMPARE(m_pModel->GetObjectCount(), 0);
}

void DrawableObjectCommandTest::propertyChangeIsRelayedOnceAfterRepeatedUndoRedo()
{
    const auto pDrawn = Rectangle(0, 0, 10, 10);
    CUndoStack stack;
    PushAndExecute(stack, new CAddDrawableObjectCommand(m_pModel.get(), pDrawn));
    for (int i = 0; i < 3; ++i)
    {
        stack.Undo();
        stack.Redo();
    }
    QSignalSpy relayed(m_pModel.get(), &CDrawableObjectModel::signal_ChangeDrawableObjectProperty);

    pDrawn->SetName("bicycle");
    QCOMPARE(relayed.count(), 1);
    QCOMPARE(relayed.at(0).at(0).toUInt(), pDrawn->GetUID());

    // Once deleted, the object is no longer the model's to announce.
    stack.Undo();
    pDrawn->SetName("tricycle");
    QCOMPARE(relayed.count(), 1);
}

void DrawableObjectCommandTest::relabelOfSeveralObjectsIsOneStepBackToEachOwnName()
{
    const auto pCat = Rectangle(0, 0, 10, 10);
    const auto pDog = Rectangle(20, 0, 10, 10);
    pCat->SetName("cat");
    pDog->SetName("dog");
    m_pModel->AddObject(pCat);
    m_pModel->AddObject(pDog);
    m_pJournal->Take();
    CUndoStack stack;

    PushAndExecute(stack, new CRelabelDrawableObjectCommand({pCat, pDog}, "bird"));
    QCOMPARE(pCat->GetName() + " " + pDog->GetName(), QString("bird bird"));
    // Each rename reaches the model's listeners, which is how a stored label follows.
    QCOMPARE(m_pJournal->Take().filter("change").size(), 2);

    stack.Undo();
    QCOMPARE(pCat->GetName() + " " + pDog->GetName(), QString("cat dog"));
    QCOMPARE(m_pJournal->Take().filter("change").size(), 2);
    stack.Redo();
    QCOMPARE(pCat->GetName() + " " + pDog->GetName(), QString("bird bird"));
    QCOMPARE(stack.UndoCount(), 1);
}

QTEST_MAIN(DrawableObjectCommandTest)
#include "DrawableObjectCommandTest.moc"
