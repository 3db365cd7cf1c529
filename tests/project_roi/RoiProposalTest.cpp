#include "CRoiTestCase.h"

#include "canvas/CImageView2D.h"
#include "canvas/CProposalLayer.h"
#include "project/proposals/CRoiProposals.h"
#include "project/report/CDatasetReport.h"

#define QTEST_QPA_MOUSE_HANDLING
#include <QtTest>

// Proposals on project images against the project file: what is shown, what the file holds after the user accepts or
// rejects through the canvas, and projects made before proposals existed.
class RoiProposalTest : public CRoiTestCase
{
    Q_OBJECT

private:
    CRoiProposals* Proposals() { return m_pCase->controller.Proposals(); }
    static CDetection Detection(int nClassIndex, const QRectF& box, float fScore)
    {
        CDetection detection;
        detection.ClassIndex = nClassIndex;
        detection.Box = box;
        detection.Score = fScore;
        return detection;
    }
    bool HasProposalTable() const
    {
        return Sql({"SELECT COUNT(*) FROM sqlite_master WHERE name = 'dataset_proposal'"})[0][0] == "1";
    }
    // "x y w h class score weights" of the image's stored proposals.
    QStringList ProposalRows(int nImageID) const
    {
        QStringList lstRows;
        if (!HasProposalTable())
            return lstRows;
        for (const QStringList& row : Sql({QString("SELECT X, Y, WIDTH, HEIGHT, CATEGORY_ID, SCORE, WEIGHTS FROM "
                                                   "dataset_proposal WHERE IMAGE_ID = %1")
                                               .arg(nImageID)}))
            lstRows.append(row.join(' '));
        lstRows.sort();
        return lstRows;
    }
    // The proposals on the view's canvas as their labels.
    QStringList Shown(int nViewID) const
    {
        QStringList lstShown;
        for (const CCanvasProposal& proposal : Viewer(nViewID)->GetCanvas()->GetProposalLayer()->GetProposals())
            lstShown.append(CProposalLayer::LabelText(proposal));
        lstShown.sort();
        return lstShown;
    }
    QPoint OnScreen(int nViewID, const QPointF& imagePoint) const
    {
        return Viewer(nViewID)->GetCanvas()->MapToScreen(imagePoint).toPoint();
    }
    int MessagesTitled(const QString& strTitle) const
    {
        int nCount = 0;
        for (const CPromptAnswers::SAsked& asked : m_pCase->answers.asked)
            nCount += asked.strKind == "message" && asked.strTitle == strTitle ? 1 : 0;
        return nCount;
    }

private slots:
    void projectWithoutProposalTableOpensAsBefore()
    {
        AnnotatedProject({"1 10 10 50 40 1"});
        OpenImage(1, 0);

        CDatasetReport report;
        QVERIFY(m_pCase->controller.MakeDatasetReport(report));
        QCOMPARE(Boxes(0), QStringList{Box(10, 10, 50, 40, "cat")});
        QCOMPARE(Shown(0), QStringList());
        QCOMPARE(report.ImagesWithProposalsCount(), 0);
        QVERIFY(!HasProposalTable());
    }

    void sameClassOverlapHidesProposal_data()
    {
        QTest::addColumn<int>("nClassIndex");
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<bool>("bShown");

        // Against the cat box (10, 10, 50, 40) of 2000 square pixels.
        QTest::newRow("same class, IoU 0.75") << 0 << QRectF(10, 10, 50, 30) << false;
        QTest::newRow("same class, IoU 0.7") << 0 << QRectF(10, 10, 50, 28) << false;
        QTest::newRow("same class, IoU 0.65") << 0 << QRectF(10, 10, 50, 26) << true;
        QTest::newRow("other class, same box") << 1 << QRectF(10, 10, 50, 40) << true;
    }

    void sameClassOverlapHidesProposal()
    {
        QFETCH(int, nClassIndex);
        QFETCH(QRectF, box);
        QFETCH(bool, bShown);
        AnnotatedProject({"1 10 10 50 40 1"});
        OpenImage(1, 0);

        QVERIFY(Proposals()->ShowProposals(1, {Detection(nClassIndex, box, 0.5f)}, "x.weights", false));

        QCOMPARE(Shown(0).size(), bShown ? 1 : 0);
    }

    void acceptIsOneTransaction_data()
    {
        QTest::addColumn<QString>("strTrigger");
        QTest::addColumn<bool>("bAccepted");

        QTest::newRow("accepted") << QString() << true;
        QTest::newRow("box row refused") << "CREATE TRIGGER refuse BEFORE INSERT ON dataset_roi BEGIN "
                                            "SELECT RAISE(ABORT, 'refused'); END"
                                         << false;
        QTest::newRow("proposal row refused") << "CREATE TRIGGER refuse BEFORE DELETE ON dataset_proposal BEGIN "
                                                 "SELECT RAISE(ABORT, 'refused'); END"
                                              << false;
    }

    // A double-click on a stored proposal: its row goes and the box's row comes together, or neither and the user is
    // told; undo brings the proposal back into the file.
    void acceptIsOneTransaction()
    {
        QFETCH(QString, strTrigger);
        QFETCH(bool, bAccepted);
        AnnotatedProject();
        OpenImage(1, 0);
        QVERIFY(Proposals()->ShowProposals(1, {Detection(1, QRectF(20, 20, 30, 30), 0.875f)}, "x.weights", true));
        const QStringList lstStored = ProposalRows(1);
        QCOMPARE(lstStored, QStringList{"20 20 30 30 2 0.875 x.weights"});
        if (!strTrigger.isEmpty())
            Sql({strTrigger});

        QTest::mouseDClick(Viewer(0)->GetCanvas(), Qt::LeftButton, Qt::NoModifier, OnScreen(0, QPointF(35, 35)));

        const QStringList lstBoxes = bAccepted ? QStringList{Box(20, 20, 30, 30, "dog")} : QStringList();
        QCOMPARE(Rows(1), lstBoxes);
        QCOMPARE(Boxes(0), lstBoxes);
        QCOMPARE(ProposalRows(1), bAccepted ? QStringList() : lstStored);
        QCOMPARE(Shown(0), bAccepted ? QStringList() : QStringList{"dog 0.88"});
        QCOMPARE(MessagesTitled("Proposals"), bAccepted ? 0 : 1);
        if (!bAccepted)
            return;
        Undo(0);
        QCOMPARE(Rows(1), QStringList());
        QCOMPARE(ProposalRows(1), lstStored);
        QCOMPARE(Shown(0), QStringList{"dog 0.88"});
    }

    // Stored proposals come back with their image, a rejected one leaves the file, and they go with their class and
    // with their image; the report counts the images that still have some.
    void storedProposalsFollowTheFile()
    {
        AnnotatedProject();
        QVERIFY(Proposals()->ShowProposals(
            2, {Detection(0, QRectF(10, 10, 20, 20), 0.5f), Detection(2, QRectF(100, 10, 20, 20), 0.25f)}, "w", true));
        QVERIFY(Proposals()->ShowProposals(1, {Detection(2, QRectF(10, 10, 20, 20), 0.75f)}, "w", true));
        CDatasetReport report;
        QVERIFY(m_pCase->controller.MakeDatasetReport(report));
        QCOMPARE(report.ImagesWithProposalsCount(), 2);

        OpenImage(2, 1);
        QCOMPARE(Shown(1), (QStringList{"bird 0.25", "cat 0.50"}));
        QTest::mouseClick(Viewer(1)->GetCanvas(), Qt::LeftButton, Qt::NoModifier, OnScreen(1, QPointF(20, 20)));
        QTest::keyClick(Viewer(1)->GetCanvas(), Qt::Key_Delete);
        QCOMPARE(Shown(1), QStringList{"bird 0.25"});
        QCOMPARE(ProposalRows(2), QStringList{"100 10 20 20 3 0.25 w"});

        DeleteClassInEditor(2);
        QCOMPARE(Shown(1), QStringList());
        QCOMPARE(ProposalRows(2), QStringList());
        QCOMPARE(ProposalRows(1), QStringList());
    }
};

int RunRoiProposalTest(int argc, char** argv)
{
    RoiProposalTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RoiProposalTest.moc"
