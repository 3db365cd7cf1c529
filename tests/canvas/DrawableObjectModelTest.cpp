#include "CLogCapture.h"
#include "CTestSandbox.h"

#include "canvas/CAddDrawableObjectCommand.h"
#include "canvas/CDeleteDrawableObjectCommand.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CMoveDrawableObjectCommand.h"
#include "canvas/CReplaceImageCommand.h"
#include "canvas/CResizeDrawableObjectCommand.h"
#include "canvas/ICanvasController.h"
#include "frame/CSetting.h"
#include "frame/CUndoCommandGroup.h"
#include "frame/CUndoStack.h"

#include "Ovrel.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace Ovrel::Geometry;
using Ovrel::Utils::COvrelImage;

using ObjectPtr = std::shared_ptr<CDrawableObject>;
using GeometryPtr = std::shared_ptr<COvrelGeometry>;
Q_DECLARE_METATYPE(GeometryPtr)

namespace
{
std::shared_ptr<CDrawableGeometry> Rectangle(double x, double y, double dblWidth, double dblHeight)
{
    return std::make_shared<CDrawableGeometry>(std::make_shared<COvrelRectangle>(x, y, dblWidth, dblHeight));
}

// Every signal of a model as one line each: "add 12 Rectangle_12", "before 12 ...", "delete 12 ...", "change 12",
// "drawing", "clear".
class CModelJournal
{
public:
    explicit CModelJournal(CDrawableObjectModel& model)
    {
        QObject::connect(&model, &CDrawableObjectModel::signal_AddDrawableObject, &model,
                         [this](uint nUID, const QString& strName) { Log("add", nUID, strName); });
        QObject::connect(&model, &CDrawableObjectModel::signal_BeforeDeleteDrawableObject, &model,
                         [this](uint nUID, const QString& strName) { Log("before", nUID, strName); });
        QObject::connect(&model, &CDrawableObjectModel::signal_DeleteDrawableObject, &model,
                         [this](uint nUID, const QString& strName) { Log("delete", nUID, strName); });
        QObject::connect(&model, &CDrawableObjectModel::signal_ChangeDrawableObjectProperty, &model,
                         [this](uint nUID) { lines << QString("change %1").arg(nUID); });
        QObject::connect(&model, &CDrawableObjectModel::signal_ChangeDrawingObject, &model,
                         [this] { lines << "drawing"; });
        QObject::connect(&model, &CDrawableObjectModel::signal_ClearObject, &model, [this] { lines << "clear"; });
    }
    QStringList Take()
    {
        const QStringList taken = lines;
        lines.clear();
        return taken;
    }
    QStringList lines;

private:
    void Log(const char* szWhat, uint nUID, const QString& strName)
    {
        lines << QString("%1 %2 %3").arg(szWhat).arg(nUID).arg(strName);
    }
};

QString Line(const char* szWhat, const CDrawableObject& object)
{
    return QString("%1 %2 %3").arg(szWhat).arg(object.GetUID()).arg(object.GetName());
}

// The controller side that the commands talk to: the model, a repaint count and a one-viewer image list.
class CTestCanvasController : public ICanvasController
{
public:
    CDrawableObjectModel* GetDrawableObjectModel() const override { return m_pModel; }
    void RepaintCanvas() override { ++nRepaints; }
    std::shared_ptr<COvrelImage> GetCurrentImage() const override { return pCurrentImage; }
    void ReplaceCurrentImage(std::shared_ptr<COvrelImage> pImage) override { pCurrentImage = std::move(pImage); }

    CDrawableObjectModel* m_pModel = nullptr;
    int nRepaints = 0;
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

// The first object in list order whose boundary contains the point, the long way.
ObjectPtr WalkToObjectAt(const CDrawableObjectModel& model, const QPointF& point)
{
    for (int i = 0; i < model.GetObjectCount(); ++i)
    {
        if (model.GetObject(i)->GetBoundary().contains(point))
            return model.GetObject(i);
    }
    return nullptr;
}
} // namespace

class DrawableObjectModelTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addingPutsObjectInFrontSelected();
    void duplicateAndEmptyAddsAreIgnored_data();
    void duplicateAndEmptyAddsAreIgnored();
    void deleteAnnouncesWhileStillListedThenGone_data();
    void deleteAnnouncesWhileStillListedThenGone();
    void deletingWhatIsNotListedChangesNothing_data();
    void deletingWhatIsNotListedChangesNothing();
    void clearAllAnnouncesOnlyTheClear();
    void drawingAndWaitingObjectsAnnounceChanges();
    void deselectAllRelaysEachDeselectionInListOrder();

    void objectUnderPointIsTheFrontmost_data();
    void objectUnderPointIsTheFrontmost();
    void objectUnderPointFollowsMovesAndDeletes();
    void objectUnderPointAgreesWithWalkingTheList();

    void drawUndoRedoKeepsUidAndName();
    void deleteCommandBringsObjectBackOnUndo();
    void groupMoveIsOneUndoStep();
    void resizeUndoReturnsTheDraggedHandle_data();
    void resizeUndoReturnsTheDraggedHandle();
    void replacingImageRestoresPixelsAndClearsObjectsBothWays();
    void propertyChangeIsRelayedOnceAfterRepeatedUndoRedo();

private:
    CTestSandbox m_sandbox;
    std::unique_ptr<CLogCapture> m_pLog;
    std::unique_ptr<CDrawableObjectModel> m_pModel;
    std::unique_ptr<CModelJournal> m_pJournal;
    CTestCanvasController m_controller;
};

void DrawableObjectModelTest::initTestCase()
{
    CSetting::Set("GENERAL_LOG_DIR", m_sandbox.Home());
    m_pLog = std::make_unique<CLogCapture>(m_sandbox.Home());
}

void DrawableObjectModelTest::init()
{
    m_pModel = std::make_unique<CDrawableObjectModel>();
    m_pJournal = std::make_unique<CModelJournal>(*m_pModel);
    m_controller = CTestCanvasController();
    m_controller.m_pModel = m_pModel.get();
    m_pLog->NewLines();
}

void DrawableObjectModelTest::cleanup()
{
    m_pJournal.reset();
    m_pModel.reset();
}

void DrawableObjectModelTest::addingPutsObjectInFrontSelected()
{
    const auto pA = Rectangle(0, 0, 10, 10);
    const auto pB = Rectangle(5, 5, 10, 10);
    pA->SetMouseOffset({3, 3});

    m_pModel->AddObject(pA);
    m_pModel->AddObject(pB);

    QCOMPARE(m_pModel->GetObjectCount(), 2);
    QCOMPARE(m_pModel->GetObject(0), ObjectPtr(pB));
    QCOMPARE(m_pModel->GetObject(1), ObjectPtr(pA));
    QCOMPARE(m_pModel->GetObject(2), ObjectPtr());
    QCOMPARE(m_pModel->GetObject(-1), ObjectPtr());
    // Adding selects without deselecting the others, and the grab offset starts afresh; neither change is relayed.
    QVERIFY(pA->GetSelected() && pB->GetSelected());
    QCOMPARE(pA->GetMouseOffset(), QPointF(0, 0));
    QCOMPARE(m_pJournal->Take(), (QStringList{Line("add", *pA), Line("add", *pB)}));
    QCOMPARE(m_pLog->NewLines(), (QStringList{QString("[NORMAL] AddObject(%1)").arg(pA->GetUID()),
                                              QString("[NORMAL] AddObject(%1)").arg(pB->GetUID())}));
}

void DrawableObjectModelTest::duplicateAndEmptyAddsAreIgnored_data()
{
    QTest::addColumn<bool>("bEmpty");
    QTest::newRow("same object twice") << false;
    QTest::newRow("empty pointer") << true;
}

void DrawableObjectModelTest::duplicateAndEmptyAddsAreIgnored()
{
    QFETCH(bool, bEmpty);
    const auto pA = Rectangle(0, 0, 10, 10);
    m_pModel->AddObject(pA);
    m_pJournal->Take();
    m_pLog->NewLines();
    pA->SetSelected(false);
    m_pJournal->Take();

    m_pModel->AddObject(bEmpty ? nullptr : pA);

    QCOMPARE(m_pModel->GetObjectCount(), 1);
    QVERIFY(!pA->GetSelected());
    QCOMPARE(m_pJournal->Take(), QStringList());
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void DrawableObjectModelTest::deleteAnnouncesWhileStillListedThenGone_data()
{
    QTest::addColumn<bool>("bByUid");
    QTest::newRow("by UID") << true;
    QTest::newRow("by pointer") << false;
}

void DrawableObjectModelTest::deleteAnnouncesWhileStillListedThenGone()
{
    QFETCH(bool, bByUid);
    const auto pA = Rectangle(0, 0, 10, 10);
    const auto pB = Rectangle(5, 5, 10, 10);
    pB->SetName("car");
    m_pModel->AddObject(pA);
    m_pModel->AddObject(pB);
    m_pJournal->Take();
    m_pLog->NewLines();
    QStringList listed;
    const auto noteCount = [&](const char* szWhen)
    { listed << QString("%1 %2").arg(szWhen).arg(m_pModel->GetObjectCount()); };
    connect(m_pModel.get(), &CDrawableObjectModel::signal_BeforeDeleteDrawableObject, this,
            [&] { noteCount("before"); });
    connect(m_pModel.get(), &CDrawableObjectModel::signal_DeleteDrawableObject, this, [&] { noteCount("after"); });

    QVERIFY(bByUid ? m_pModel->DeleteObject(pB->GetUID()) : m_pModel->DeleteObject(ObjectPtr(pB)));

    QCOMPARE(listed, (QStringList{"before 2", "after 1"}));
    QCOMPARE(m_pJournal->Take(),
             (QStringList{QString("before %1 car").arg(pB->GetUID()), QString("delete %1 car").arg(pB->GetUID())}));
    QCOMPARE(m_pModel->GetObject(0), ObjectPtr(pA));
    QCOMPARE(m_pLog->NewLines(), QStringList{QString("[NORMAL] DeleteObject(%1)").arg(pB->GetUID())});
}

void DrawableObjectModelTest::deletingWhatIsNotListedChangesNothing_data()
{
    QTest::addColumn<int>("nWay");
    QTest::newRow("unknown UID") << 0;
    QTest::newRow("object not listed") << 1;
    QTest::newRow("empty pointer") << 2;
}

void DrawableObjectModelTest::deletingWhatIsNotListedChangesNothing()
{
    QFETCH(int, nWay);
    const auto pListed = Rectangle(0, 0, 10, 10);
    const auto pStranger = Rectangle(0, 0, 10, 10);
    m_pModel->AddObject(pListed);
    m_pJournal->Take();
    m_pLog->NewLines();

    const bool bDeleted = nWay == 0   ? m_pModel->DeleteObject(pStranger->GetUID())
                          : nWay == 1 ? m_pModel->DeleteObject(ObjectPtr(pStranger))
                                      : m_pModel->DeleteObject(ObjectPtr());

    QVERIFY(!bDeleted);
    QCOMPARE(m_pModel->GetObjectCount(), 1);
    QCOMPARE(m_pJournal->Take(), QStringList());
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void DrawableObjectModelTest::clearAllAnnouncesOnlyTheClear()
{
    const auto pWaiting = Rectangle(0, 0, 1, 1);
    for (int i = 0; i < 3; ++i)
        m_pModel->AddObject(Rectangle(i, i, 10, 10));
    m_pModel->AddDrawingObject(Rectangle(0, 0, 5, 5));
    m_pModel->SetWaitingObject(pWaiting);
    m_pJournal->Take();
    m_pLog->NewLines();

    m_pModel->ClearAll();

    QCOMPARE(m_pJournal->Take(), QStringList{"clear"});
    QCOMPARE(m_pModel->GetObjectCount(), 0);
    QVERIFY(m_pModel->GetDrawingObjects().empty());
    QCOMPARE(m_pModel->GetWaitingObject(), ObjectPtr(pWaiting));
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void DrawableObjectModelTest::drawingAndWaitingObjectsAnnounceChanges()
{
    const auto pA = Rectangle(0, 0, 1, 1);
    const auto pB = Rectangle(0, 0, 2, 2);
    const auto pWaiting = std::make_shared<CDrawableGeometry>(std::make_shared<COvrelLine>(0, 0, 5, 5));

    m_pModel->AddDrawingObject(pA);
    m_pModel->AddDrawingObject(pA);
    m_pModel->AddDrawingObject(pB);
    const std::vector<ObjectPtr> vctDrawing = m_pModel->GetDrawingObjects();
    m_pModel->ClearDrawingObjects();
    m_pModel->SetWaitingObject(pWaiting);
    m_pModel->SetWaitingObject(pWaiting);
    const ObjectPtr pWaitingSeen = m_pModel->GetWaitingObject();
    m_pModel->ClearWaitingObject();

    QCOMPARE(vctDrawing, (std::vector<ObjectPtr>{pA, pB}));
    QVERIFY(m_pModel->GetDrawingObjects().empty());
    QCOMPARE(pWaitingSeen, ObjectPtr(pWaiting));
    QVERIFY(!pWaiting->GetDisplayName());
    QCOMPARE(m_pModel->GetWaitingObject(), ObjectPtr());
    QCOMPARE(m_pModel->GetObjectCount(), 0);
    QCOMPARE(m_pJournal->Take(), (QStringList{"drawing", "drawing", "drawing", "drawing", "drawing"}));
    QCOMPARE(m_pLog->NewLines(),
             (QStringList{QString("[NORMAL] Add Object %1").arg(pA->GetUID()),
                          QString("[NORMAL] Add Object %1").arg(pB->GetUID()), "[NORMAL] Clear Object",
                          QString("[NORMAL] Add Object Waiting %1").arg(pWaiting->GetUID()),
                          "[NORMAL] Clear Object Waiting "}));
}

void DrawableObjectModelTest::deselectAllRelaysEachDeselectionInListOrder()
{
    const auto pA = Rectangle(0, 0, 10, 10);
    const auto pB = Rectangle(5, 5, 10, 10);
    const auto pC = Rectangle(5, 5, 10, 10);
    m_pModel->AddObject(pA);
    m_pModel->AddObject(pB);
    m_pModel->AddObject(pC);
    pB->SetSelected(false);
    m_pJournal->Take();

    m_pModel->DeselectAll();
    m_pModel->DeselectAll();

    QVERIFY(!pA->GetSelected() && !pB->GetSelected() && !pC->GetSelected());
    QCOMPARE(m_pJournal->Take(),
             (QStringList{QString("change %1").arg(pC->GetUID()), QString("change %1").arg(pA->GetUID())}));
}

void DrawableObjectModelTest::objectUnderPointIsTheFrontmost_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QString>("strFirst"); // "A", "B" or "" for none
    QTest::addColumn<QString>("strAll");
    QTest::newRow("covered by both") << QPointF(7, 7) << "B"
                                     << "B A";
    QTest::newRow("covered by the older only") << QPointF(2, 2) << "A"
                                               << "A";
    QTest::newRow("on the newer's edge") << QPointF(15, 10) << "B"
                                         << "B";
    QTest::newRow("on the corner both share") << QPointF(10, 10) << "B"
                                              << "B A";
    QTest::newRow("on the older's far corner") << QPointF(0, 0) << "A"
                                               << "A";
    QTest::newRow("outside both") << QPointF(20, 20) << ""
                                  << "";
    QTest::newRow("on a point object") << QPointF(30, 30) << ""
                                       << "";
    QTest::newRow("on a horizontal line object") << QPointF(35, 40) << ""
                                                 << "";
}

void DrawableObjectModelTest::objectUnderPointIsTheFrontmost()
{
    QFETCH(QPointF, point);
    QFETCH(QString, strFirst);
    QFETCH(QString, strAll);
    const auto pA = Rectangle(0, 0, 10, 10);
    const auto pB = Rectangle(5, 5, 10, 10);
    // Shapes without area contain no point, as their boundary's QRectF::contains says.
    m_pModel->AddObject(std::make_shared<CDrawableGeometry>(std::make_shared<COvrelPoint>(30, 30)));
    m_pModel->AddObject(std::make_shared<CDrawableGeometry>(std::make_shared<COvrelLine>(30, 40, 40, 40)));
    m_pModel->AddObject(pA);
    m_pModel->AddObject(pB);
    const auto name = [&](const ObjectPtr& pObject) {
        return pObject == pA ? QString("A") : pObject == pB ? QString("B") : pObject ? QString("?") : QString();
    };

    QStringList all;
    for (const ObjectPtr& pObject : m_pModel->FindObjectsAt(point))
        all << name(pObject);

    QCOMPARE(name(m_pModel->FindObjectAt(point)), strFirst);
    QCOMPARE(all.join(' '), strAll);
}

void DrawableObjectModelTest::objectUnderPointFollowsMovesAndDeletes()
{
    const auto pA = Rectangle(0, 0, 10, 10);
    const auto pB = Rectangle(5, 5, 10, 10);
    m_pModel->AddObject(pA);
    m_pModel->AddObject(pB);
    QCOMPARE(m_pModel->FindObjectAt({7, 7}), ObjectPtr(pB));

    pB->MoveTopLeftTo({100, 100});
    QCOMPARE(m_pModel->FindObjectAt({7, 7}), ObjectPtr(pA));
    QCOMPARE(m_pModel->FindObjectAt({105, 105}), ObjectPtr(pB));

    pB->MoveResizePoint({110, 110}, {120, 120});
    QCOMPARE(m_pModel->FindObjectAt({118, 118}), ObjectPtr(pB));

    m_pModel->DeleteObject(pA->GetUID());
    QCOMPARE(m_pModel->FindObjectAt({7, 7}), ObjectPtr());
    m_pModel->AddObject(pA);
    QCOMPARE(m_pModel->FindObjectAt({7, 7}), ObjectPtr(pA));
    m_pModel->ClearAll();
    QCOMPARE(m_pModel->FindObjectAt({105, 105}), ObjectPtr());
}

void DrawableObjectModelTest::objectUnderPointAgreesWithWalkingTheList()
{
    // Many sizes at once: specks, thin slivers, shapes without area, boxes that cover most of the image, and
    // boxes that share edges, so that points fall on cell borders and box edges alike.
    QRandomGenerator random(7);
    const auto coordinate = [&](double dblMax) { return std::round(random.bounded(dblMax) * 4) / 4; };
    for (int i = 0; i < 3000; ++i)
    {
        const int nKind = i % 6;
        const double x = coordinate(1000), y = coordinate(800);
        GeometryPtr pGeometry;
        if (nKind == 0)
            pGeometry = std::make_shared<COvrelRectangle>(x, y, coordinate(900), coordinate(700));
        else if (nKind == 1)
            pGeometry = std::make_shared<COvrelRectangle>(x, y, 0.25, coordinate(50));
        else if (nKind == 2)
            pGeometry = std::make_shared<COvrelLine>(x, y, x + coordinate(40), y);
        else if (nKind == 3)
            pGeometry = std::make_shared<COvrelEllipse>(x, y, coordinate(30), coordinate(30));
        else
            pGeometry = std::make_shared<COvrelRectangle>(std::floor(x / 10) * 10, std::floor(y / 10) * 10, 10, 10);
        m_pModel->AddObject(std::make_shared<CDrawableGeometry>(pGeometry));
    }

    int nHits = 0;
    for (int i = 0; i < 3000; ++i)
    {
        const QPointF point = i % 2 ? QPointF(coordinate(1100) - 50, coordinate(900) - 50)
                                    : QPointF(std::floor(coordinate(1000) / 10) * 10, coordinate(800));
        const ObjectPtr pExpected = WalkToObjectAt(*m_pModel, point);
        QCOMPARE(m_pModel->FindObjectAt(point), pExpected);
        nHits += pExpected ? 1 : 0;
        if (i % 100 == 0)
        {
            std::vector<ObjectPtr> vctExpected;
            for (int n = 0; n < m_pModel->GetObjectCount(); ++n)
                if (m_pModel->GetObject(n)->GetBoundary().contains(point))
                    vctExpected.push_back(m_pModel->GetObject(n));
            QCOMPARE(m_pModel->FindObjectsAt(point), vctExpected);
        }
    }
    QVERIFY2(nHits > 1000 && nHits < 3000, qPrintable(QString::number(nHits)));
}

void DrawableObjectModelTest::drawUndoRedoKeepsUidAndName()
{
    const auto pOld = Rectangle(50, 50, 5, 5);
    m_pModel->AddObject(pOld);
    const auto pDrawn = Rectangle(0, 0, 10, 10);
    const QString strName = pDrawn->GetName();
    m_pJournal->Take();
    CUndoStack stack;

    auto* pCommand = new CAddDrawableObjectCommand(&m_controller, pDrawn);
    stack.PushUndo(pCommand);
    pCommand->Execute();
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

void DrawableObjectModelTest::deleteCommandBringsObjectBackOnUndo()
{
    const auto pA = Rectangle(0, 0, 10, 10);
    const auto pB = Rectangle(5, 5, 10, 10);
    pB->SetName("person");
    m_pModel->AddObject(pB);
    m_pModel->AddObject(pA);
    CUndoStack stack;

    auto* pCommand = new CDeleteDrawableObjectCommand(&m_controller, pB);
    stack.PushUndo(pCommand);
    pCommand->Execute();
    QCOMPARE(m_pModel->GetObjectCount(), 1);
    m_pJournal->Take();

    stack.Undo();
    QCOMPARE(m_pModel->GetObjectCount(), 2);
    QCOMPARE(m_pModel->GetObject(0), ObjectPtr(pB));
    QVERIFY(pB->GetSelected() && !pA->GetSelected());
    QVERIFY(m_pJournal->Take().contains(QString("add %1 person").arg(pB->GetUID())));

    stack.Redo();
    QCOMPARE(m_pModel->GetObjectCount(), 1);
    QCOMPARE(m_pModel->GetObject(0), ObjectPtr(pA));
    QCOMPARE(m_pJournal->Take(), (QStringList{QString("before %1 person").arg(pB->GetUID()),
                                              QString("delete %1 person").arg(pB->GetUID())}));
}

void DrawableObjectModelTest::groupMoveIsOneUndoStep()
{
    std::vector<std::shared_ptr<CDrawableGeometry>> vctObjects = {Rectangle(10, 10, 20, 20), Rectangle(40, 15, 5, 5),
                                                                  Rectangle(0, 50, 30, 10)};
    for (const auto& pObject : vctObjects)
        m_pModel->AddObject(pObject);
    CUndoStack stack;
    const QPointF start(20, 20), end(25, 30);

    auto* pGroup = new CUndoCommandGroup;
    for (const auto& pObject : vctObjects)
        pGroup->AddCommand(new CMoveDrawableObjectCommand(&m_controller, pObject, start, end,
                                                          start - pObject->GetBoundary().topLeft()));
    stack.PushUndo(pGroup);
    pGroup->Execute();
    const QStringList moved = {"15,20", "45,25", "5,60"};
    const auto topLefts = [&]
    {
        QStringList result;
        for (const auto& pObject : vctObjects)
            result << QString("%1,%2").arg(pObject->GetBoundary().x()).arg(pObject->GetBoundary().y());
        return result;
    };
    QCOMPARE(topLefts(), moved);
    QCOMPARE(stack.UndoCount(), 1);

    stack.Undo();
    QCOMPARE(topLefts(), (QStringList{"10,10", "40,15", "0,50"}));
    QCOMPARE(stack.UndoCount(), 0);
    stack.Redo();
    QCOMPARE(topLefts(), moved);
    QCOMPARE(m_pModel->GetObject(0)->GetBoundary().size(), QSizeF(30, 10));
    QCOMPARE(m_controller.nRepaints, 9);
}

void DrawableObjectModelTest::resizeUndoReturnsTheDraggedHandle_data()
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

void DrawableObjectModelTest::resizeUndoReturnsTheDraggedHandle()
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
    auto* pCommand = new CResizeDrawableObjectCommand(&m_controller, pObject, start, end, delta);
    stack.PushUndo(pCommand);
    pCommand->Execute();
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

void DrawableObjectModelTest::replacingImageRestoresPixelsAndClearsObjectsBothWays()
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

void DrawableObjectModelTest::propertyChangeIsRelayedOnceAfterRepeatedUndoRedo()
{
    const auto pDrawn = Rectangle(0, 0, 10, 10);
    CUndoStack stack;
    auto* pCommand = new CAddDrawableObjectCommand(&m_controller, pDrawn);
    stack.PushUndo(pCommand);
    pCommand->Execute();
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

QTEST_MAIN(DrawableObjectModelTest)
#include "DrawableObjectModelTest.moc"
