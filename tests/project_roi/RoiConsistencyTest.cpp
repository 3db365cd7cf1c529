#include "CRoiTestCase.h"

#include "canvas/CImageView2D.h"
#include "project/proposals/CRoiProposals.h"

#include <QRandomGenerator>

// A long seeded run of what users do on two views showing two of three project images, switching a view to the third
// image now and then and deleting classes in the class editor, and accepting (one or all), rejecting and undoing
// proposals, some of them stored; after every action the rows of each image shown are exactly the boxes on its view,
// its stored proposals are exactly its dataset_proposal rows, and no row names a class that is gone. Set ROI_SEED to
// replay a failed run.
class RoiConsistencyTest : public CRoiTestCase
{
    Q_OBJECT

private:
    static constexpr int kActions = 2000;

    // A point inside the box, away from its handles.
    static QPointF Inside(const QRectF& box) { return box.center(); }

    QString Act(QRandomGenerator& random)
    {
        const int nViewID = static_cast<int>(random.bounded(2));
        const std::vector<std::shared_ptr<CDrawableGeometry>> vctObjects = Geometries(nViewID);
        const int nKind = vctObjects.empty() ? 0 : static_cast<int>(random.bounded(100));
        if (random.bounded(6) == 0)
            return random.bounded(3) == 0 ? Propose(random, nViewID, vctObjects) : ActOnProposals(random, nViewID);
        const QStringList lstClasses = {"cat", "dog", "bird"};
        // One in ten choosers is cancelled.
        const QString strClass = random.bounded(10) == 0 ? QString() : lstClasses[random.bounded(3)];
        const QRectF box = vctObjects.empty()
                               ? QRectF()
                               : vctObjects[random.bounded(static_cast<int>(vctObjects.size()))]->GetBoundary();
        const QPointF offset(random.bounded(21) - 10, random.bounded(21) - 10);
        if (nKind < 25)
        {
            const QPointF from(random.bounded(170), random.bounded(70));
            const QPointF to = from + QPointF(4 + random.bounded(26), 4 + random.bounded(26));
            AnswerClass(strClass);
            Draw(nViewID, from, to);
            return QString("draw on %1 (%2, %3)-(%4, %5) as '%6'")
                .arg(nViewID)
                .arg(from.x())
                .arg(from.y())
                .arg(to.x())
                .arg(to.y())
                .arg(strClass);
        }
        if (nKind < 40)
        {
            Drag(nViewID, Inside(box), offset);
            return QString("move on %1").arg(nViewID);
        }
        if (nKind < 50)
        {
            Select(nViewID, Inside(box));
            Drag(nViewID, box.bottomRight(), offset);
            return QString("resize on %1").arg(nViewID);
        }
        if (nKind < 58)
        {
            Select(nViewID, Inside(box));
            const auto pPicked = Geometries(nViewID);
            for (const auto& pObject : pPicked)
            {
                if (pObject->GetSelected())
                {
                    AnswerClass(strClass);
                    m_pCase->controller.ChangeROIClass(nViewID, pObject->GetUID());
                    break;
                }
            }
            return QString("relabel on %1 as '%2'").arg(nViewID).arg(strClass);
        }
        if (nKind < 70)
        {
            Select(nViewID, Inside(box));
            DeleteSelection(nViewID);
            return QString("delete on %1").arg(nViewID);
        }
        if (nKind < 85)
        {
            Undo(nViewID);
            return QString("undo on %1").arg(nViewID);
        }
        if (nKind < 96)
        {
            Redo(nViewID);
            return QString("redo on %1").arg(nViewID);
        }
        if (nKind < 99)
        {
            // The view shows the image that neither view shows; the one it leaves keeps its history for its return.
            const int nFree = 6 - m_arrShown[0] - m_arrShown[1];
            OpenImage(nFree, nViewID);
            m_arrShown[nViewID] = nFree;
            return QString("image %1 on %2").arg(nFree).arg(nViewID);
        }
        return DeleteAndReAddClass(random);
    }

    // Detections for the view's image, stored or only shown: some anywhere, some on a box (hidden when of its class).
    QString Propose(QRandomGenerator& random, int nViewID,
                    const std::vector<std::shared_ptr<CDrawableGeometry>>& vctBoxes)
    {
        CDetectionList vctDetections;
        const int nCount = 1 + static_cast<int>(random.bounded(4));
        for (int i = 0; i < nCount; ++i)
        {
            CDetection detection;
            // Index 3 names no class: it is left out.
            detection.ClassIndex = static_cast<int>(random.bounded(4));
            detection.Score = static_cast<float>(random.bounded(100)) / 100.0f;
            detection.Box =
                random.bounded(2) == 0 && !vctBoxes.empty()
                    ? vctBoxes[random.bounded(static_cast<int>(vctBoxes.size()))]->GetBoundary()
                    : QRectF(random.bounded(190), random.bounded(90), 4 + random.bounded(40), 4 + random.bounded(40));
            vctDetections.append(detection);
        }
        const bool bStored = random.bounded(2) == 0;
        m_pCase->controller.Proposals()->ShowProposalsOnView(nViewID, vctDetections, "backup/x.weights", bStored);
        return QString("%1 proposal(s) on %2%3").arg(nCount).arg(nViewID).arg(bStored ? ", stored" : "");
    }

    // What the user does with the proposals shown, through the canvas's intents.
    QString ActOnProposals(QRandomGenerator& random, int nViewID)
    {
        CImageView2D* pCanvas = Viewer(nViewID)->GetCanvas();
        const std::vector<CProposal> vctShown = m_pCase->controller.Proposals()->Shown(nViewID);
        if (vctShown.empty())
            return QString("no proposal on %1").arg(nViewID);
        const int nKey = vctShown[random.bounded(static_cast<int>(vctShown.size()))].nKey;
        switch (random.bounded(3))
        {
        case 0:
            emit pCanvas->signal_AcceptProposal(nKey);
            return QString("accept %1 on %2").arg(nKey).arg(nViewID);
        case 1:
            emit pCanvas->signal_AcceptAllProposals();
            return QString("accept all on %1").arg(nViewID);
        default:
            emit pCanvas->signal_RejectProposal(nKey);
            return QString("reject %1 on %2").arg(nKey).arg(nViewID);
        }
    }

    // The row IDs of the image's stored proposals as the program holds them, and as the file does.
    QStringList HeldProposals(int nImageID) const
    {
        QStringList lstIDs;
        for (const CProposal& proposal : m_pCase->controller.Proposals()->Proposals().Of(nImageID))
            if (proposal.nRowID >= 0)
                lstIDs.append(QString::number(proposal.nRowID));
        lstIDs.sort();
        return lstIDs;
    }
    QStringList StoredProposals(int nImageID) const
    {
        QStringList lstIDs;
        if (Sql({"SELECT COUNT(*) FROM sqlite_master WHERE name = 'dataset_proposal'"})[0][0] == "0")
            return lstIDs;
        for (const QStringList& row :
             Sql({QString("SELECT ID FROM dataset_proposal WHERE IMAGE_ID = %1").arg(nImageID)}))
            lstIDs.append(row[0]);
        lstIDs.sort();
        return lstIDs;
    }

    // A class is deleted in the class editor, its boxes deleted with it or moved to another class (or the question
    // cancelled), and the class is typed in again so that later actions can still choose it.
    QString DeleteAndReAddClass(QRandomGenerator& random)
    {
        const QList<QStringList> lstClasses = Sql({"SELECT NAME FROM category ORDER BY ID"});
        const int nRow = static_cast<int>(random.bounded(lstClasses.size()));
        const QString strClass = lstClasses[nRow][0];
        const QString strOther = lstClasses[(nRow + 1) % lstClasses.size()][0];
        const QStringList lstAnswers = {"Delete the boxes too", "Move the boxes to " + strOther, QString()};
        const QString strAnswer = lstAnswers[random.bounded(3)];
        m_pCase->answers.texts.push_back(strAnswer);
        DeleteClassInEditor(nRow);
        // A class no box uses is deleted without the question.
        m_pCase->answers.texts.clear();
        if (Sql({QString("SELECT COUNT(*) FROM category WHERE NAME = '%1'").arg(strClass)})[0][0] == "0")
            AddClassInEditor(strClass);
        return QString("delete class %1 answering '%2'").arg(strClass, strAnswer);
    }

    // The image each view shows; the third is on neither.
    int m_arrShown[2] = {1, 2};

private slots:
    void rowsEqualBoxesAfterEveryAction()
    {
        bool bSeedSet = false;
        const quint32 nSeed = qEnvironmentVariableIsSet("ROI_SEED")
                                  ? static_cast<quint32>(qEnvironmentVariableIntValue("ROI_SEED", &bSeedSet))
                                  : QRandomGenerator::global()->generate();
        QRandomGenerator random(nSeed);
        AnnotatedProject({}, false);
        Sql({"INSERT INTO dataset_image (ID, NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) VALUES "
             "(3, 'c.png', 'Images/c.png', 'train', 200, 100, 1)"});
        QVERIFY(QImage(m_strDir + "/Images/a.png").save(m_strDir + "/Images/c.png"));
        m_pCase->controller.OpenProject(m_strDir, "roi");
        OpenImage(1, 0);
        OpenImage(2, 1);
        m_arrShown[0] = 1;
        m_arrShown[1] = 2;

        for (int i = 0; i < kActions; ++i)
        {
            const QString strAction = Act(random);
            // An answer the action did not ask for must not reach a later prompt.
            m_pCase->answers.dialogs.clear();
            QCOMPARE(Sql({"SELECT COUNT(*) FROM dataset_roi WHERE CATEGORY_ID NOT IN (SELECT ID FROM category)"}),
                     QList<QStringList>({{"0"}}));
            for (int nViewID : {0, 1})
            {
                const int nImageID = m_arrShown[nViewID];
                const QStringList lstRows = Rows(nImageID);
                const QStringList lstBoxes = Boxes(nViewID);
                const QStringList lstRowIDs = RowIDs(nImageID);
                const QStringList lstBoundIDs = BoundIDs(nViewID);
                const QStringList lstHeld = HeldProposals(nImageID);
                const QStringList lstStored = StoredProposals(nImageID);
                if (lstRows != lstBoxes || lstRowIDs != lstBoundIDs || lstHeld != lstStored)
                {
                    const QString strFailure =
                        QString("seed %1 (ROI_SEED=%1 replays it), action %2: %3\nview %4 boxes: %5\nimage %6 rows: "
                                "%7\nbound IDs: %8\nrow IDs: %9\nproposals held: %10\nproposal rows: %11")
                            .arg(nSeed)
                            .arg(i)
                            .arg(strAction)
                            .arg(nViewID)
                            .arg(lstBoxes.join(" | "))
                            .arg(nImageID)
                            .arg(lstRows.join(" | "))
                            .arg(lstBoundIDs.join(" "))
                            .arg(lstRowIDs.join(" "))
                            .arg(lstHeld.join(" "))
                            .arg(lstStored.join(" "));
                    QFAIL(qPrintable(strFailure));
                }
            }
        }
        qInfo("seed %u: %d actions, %d and %d boxes at the end", nSeed, kActions, Boxes(0).size(), Boxes(1).size());
    }
};

int RunRoiConsistencyTest(int argc, char** argv)
{
    RoiConsistencyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RoiConsistencyTest.moc"
