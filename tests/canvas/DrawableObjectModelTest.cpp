#include "CLogCapture.h"
#include "CModelJournal.h"
#include "CTestSandbox.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "frame/CSetting.h"

#include "Ovrel.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <map>
#include <memory>

using namespace Ovrel::Geometry;

using ObjectPtr = std::shared_ptr<CDrawableObject>;
using GeometryPtr = std::shared_ptr<COvrelGeometry>;

namespace
{
const auto Rectangle = CModelJournal::Rectangle;
const auto Line = CModelJournal::Line;

// The objects in list order whose boundary contains the point, the long way.
std::vector<ObjectPtr> WalkToObjectsAt(const CDrawableObjectModel& model, const QPointF& point)
{
    std::vector<ObjectPtr> vctFound;
    for (int i = 0; i < model.GetObjectCount(); ++i)
        if (model.GetObject(i)->GetBoundary().contains(point))
            vctFound.push_back(model.GetObject(i));
    return vctFound;
}

ObjectPtr WalkToObjectAt(const CDrawableObjectModel& model, const QPointF& point)
{
    const std::vector<ObjectPtr> vctFound = WalkToObjectsAt(model, point);
    return vctFound.empty() ? nullptr : vctFound.front();
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
    void fillingAnnouncesAddsButNoSelectionChanges();
    void duplicateAndEmptyAddsAreIgnored_data();
    void duplicateAndEmptyAddsAreIgnored();
    void deleteAnnouncesWhileStillListedThenGone_data();
    void deleteAnnouncesWhileStillListedThenGone();
    void deletingWhatIsNotListedChangesNothing_data();
    void deletingWhatIsNotListedChangesNothing();
    void clearAllAnnouncesOnlyTheClear();
    void drawingAndWaitingObjectsAnnounceChanges();
    void deselectAllRelaysEachDeselectionInListOrder();
    void deselectAllReachesEverySelectedListedObject_data();
    void deselectAllReachesEverySelectedListedObject();

    void objectUnderPointIsTheFrontmost_data();
    void objectUnderPointIsTheFrontmost();
    void objectUnderPointFollowsMovesAndDeletes();
    void objectUnderPointAgreesWithWalkingTheList();
    void objectUnderPointOnSharedEdgesAgreesWithWalkingTheList();

private:
    CTestSandbox m_sandbox;
    std::unique_ptr<CLogCapture> m_pLog;
    std::unique_ptr<CDrawableObjectModel> m_pModel;
    std::unique_ptr<CModelJournal> m_pJournal;
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

void DrawableObjectModelTest::fillingAnnouncesAddsButNoSelectionChanges()
{
    const auto pOld = Rectangle(50, 50, 5, 5);
    m_pModel->AddObject(pOld);
    const auto pA = Rectangle(0, 0, 10, 10);
    const auto pB = Rectangle(5, 5, 10, 10);
    m_pJournal->Take();

    m_pModel->AddObjects({pA, pB});

    // Listeners that write what a change shows (the project's rows) hear of no change of the stored boxes.
    QCOMPARE(m_pJournal->Take(),
             (QStringList{QString("change %1").arg(pOld->GetUID()), Line("add", *pA), Line("add", *pB)}));
    QCOMPARE(m_pModel->GetObject(0), ObjectPtr(pB));
    QVERIFY(pB->GetSelected() && !pA->GetSelected() && !pOld->GetSelected());
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
    pA->SetSelected(false);
    m_pJournal->Take();
    m_pLog->NewLines();

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

void DrawableObjectModelTest::deselectAllReachesEverySelectedListedObject_data()
{
    // Steps on objects A, B, C: "+A" add to the model, "-A" delete from it, "sA"/"uA" select/deselect the object
    // itself, "d" DeselectAll, "c" ClearAll. Result: the selection flags of A, B and C.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("strSelected");
    QTest::newRow("each add after a deselection") << QStringList{"+A", "d", "+B", "d"} << "000";
    QTest::newRow("two adds without a deselection") << QStringList{"+A", "+B", "d"} << "000";
    QTest::newRow("older object selected by hand") << QStringList{"+B", "d", "+A", "sB", "d"} << "000";
    QTest::newRow("added object deselected and reselected by hand")
        << QStringList{"+A", "uA", "sA", "+B", "d"} << "000";
    QTest::newRow("deleted objects are not the model's to deselect") << QStringList{"+A", "-A", "d"} << "100";
    QTest::newRow("nor are cleared ones") << QStringList{"+A", "+B", "c", "+C", "d"} << "110";
    QTest::newRow("selected while away, then added again")
        << QStringList{"+A", "-A", "uA", "sA", "+B", "d", "+A", "d"} << "000";
}

void DrawableObjectModelTest::deselectAllReachesEverySelectedListedObject()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, strSelected);
    const std::map<QChar, ObjectPtr> objects = {
        {'A', Rectangle(0, 0, 1, 1)}, {'B', Rectangle(0, 0, 2, 2)}, {'C', Rectangle(0, 0, 3, 3)}};

    for (const QString& step : steps)
    {
        const ObjectPtr pObject = step.size() > 1 ? objects.at(step[1]) : nullptr;
        switch (step[0].toLatin1())
        {
        case '+':
            m_pModel->AddObject(pObject);
            break;
        case '-':
            m_pModel->DeleteObject(pObject);
            break;
        case 's':
            pObject->SetSelected(true);
            break;
        case 'u':
            pObject->SetSelected(false);
            break;
        case 'd':
            m_pModel->DeselectAll();
            break;
        case 'c':
            m_pModel->ClearAll();
            break;
        }
    }

    QString strActual;
    for (const auto& [cName, pObject] : objects)
        strActual += pObject->GetSelected() ? '1' : '0';
    QCOMPARE(strActual, strSelected);
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
            QCOMPARE(m_pModel->FindObjectsAt(point), WalkToObjectsAt(*m_pModel, point));
    }
    QVERIFY2(nHits > 1000 && nHits < 3000, qPrintable(QString::number(nHits)));
}

void DrawableObjectModelTest::objectUnderPointOnSharedEdgesAgreesWithWalkingTheList()
{
    // Sixteen tiles of 25 pixels, added from the bottom-right so that each tile is newer than its right and lower
    // neighbours: a point on a shared edge belongs to the upper-left tile, whose edge is also a border of the lookup.
    for (int i = 15; i >= 0; --i)
        m_pModel->AddObject(Rectangle(25.0 * (i % 4), 25.0 * (i / 4), 25, 25));

    for (double y = -12.5; y <= 112.5; y += 12.5)
        for (double x = -12.5; x <= 112.5; x += 12.5)
            QVERIFY2(m_pModel->FindObjectAt({x, y}) == WalkToObjectAt(*m_pModel, {x, y}),
                     qPrintable(QString("%1,%2").arg(x).arg(y)));
    QCOMPARE(m_pModel->FindObjectAt({25, 25}), m_pModel->GetObject(0));
    QCOMPARE(m_pModel->FindObjectsAt({100, 100}), std::vector<ObjectPtr>{m_pModel->GetObject(15)});
}

QTEST_MAIN(DrawableObjectModelTest)
#include "DrawableObjectModelTest.moc"
