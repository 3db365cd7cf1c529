#include "CRoiTestCase.h"

#include "frame/CSetting.h"
#include "project/CRoiAnnotationHost.h"

using namespace ProjectTest;

// Boxes whose class is deleted: the class editor asks what becomes of them and no row is left naming nothing; rows
// that a file brings with a class already gone are relabelled only by the user's answer.
class RoiDeletedClassTest : public CRoiTestCase
{
    Q_OBJECT

    // The next class chooser accepts strClass (cancelled for a null text) and notes the reason it showed.
    void AnswerClassNotingReason(const QString& strClass, QStringList* pReasons)
    {
        m_pCase->answers.dialogs.push_back(
            [strClass, pReasons](QDialog* pDialog)
            {
                auto* pChooser = qobject_cast<CClassChooserView*>(pDialog);
                if (!pChooser)
                    return 0;
                pReasons->append(pChooser->GetReason());
                return CProjectFixture::ChooseClass(strClass)(pDialog);
            });
    }
    QList<QStringList> Classes() const { return Sql({"SELECT NAME FROM category ORDER BY ID"}); }
    // Rows naming a class that does not exist.
    QList<QStringList> Dangling() const
    {
        return Sql({"SELECT COUNT(*) FROM dataset_roi WHERE CATEGORY_ID NOT IN (SELECT ID FROM category)"});
    }

private slots:
    // Regression: Cancel on the class prompt for a box whose class was deleted deleted its row, and with Quick class
    // on, opening the image relabelled it unasked.
    void openingImageOfDeletedClassWritesOnlyTheAnswer_data()
    {
        QTest::addColumn<int>("quick");
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<QStringList>("rows");
        const QString strKept = Box(10, 20, 30, 40, "");
        const QString strCat = Box(1, 2, 3, 4, "cat");
        QTest::newRow("cancelled") << 0 << QString() << QStringList({strCat, strKept});
        QTest::newRow("cancelled, quick class on") << 1 << QString() << QStringList({strCat, strKept});
        QTest::newRow("answered, quick class on")
            << 1 << QString("bird") << QStringList({strCat, Box(10, 20, 30, 40, "bird")});
    }
    void openingImageOfDeletedClassWritesOnlyTheAnswer()
    {
        QFETCH(int, quick);
        QFETCH(QString, answer);
        QFETCH(QStringList, rows);
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS, quick);
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS_NAME, QString("dog"));
        AnnotatedProject({"1 10 20 30 40 9", "1 1 2 3 4 1"});
        QStringList lstReasons;
        m_pCase->answers.dialogs.push_back(CWorkspaceFixture::Choose(0, &m_lstOffered));
        AnswerClassNotingReason(answer, &lstReasons);

        emit m_pCase->view.signal_OpenImageFile(1, "Images/a.png");

        QCOMPARE(lstReasons, QStringList("The class of this box was deleted: choose a new one"));
        QCOMPARE(Rows(1), rows);
        QCOMPARE(Boxes(0), rows);
        QCOMPARE(BoundIDs(0), RowIDs(1));
        QCOMPARE(Sql({"SELECT ID FROM dataset_roi WHERE X = 10"}), QList<QStringList>({{"1"}}));
    }

    // A box the user draws after one whose class was gone is asked about as before: no reason shown, and Cancel takes
    // it away unwritten.
    void drawnBoxIsAskedWithoutReason()
    {
        AnnotatedProject({"1 10 20 30 40 9"});
        QStringList lstReasons;
        m_pCase->answers.dialogs.push_back(CWorkspaceFixture::Choose(0, &m_lstOffered));
        AnswerClassNotingReason("cat", &lstReasons);
        emit m_pCase->view.signal_OpenImageFile(1, "Images/a.png");
        AnswerClassNotingReason(QString(), &lstReasons);

        Draw(0, QPointF(100, 10), QPointF(140, 50));

        QCOMPARE(lstReasons, QStringList({"The class of this box was deleted: choose a new one", ""}));
        QCOMPARE(Rows(1), QStringList(Box(10, 20, 30, 40, "cat")));
        QCOMPARE(Boxes(0), Rows(1));
    }

    // Regression: deleting a class left its rows with an ID no class had any more, and the boxes on screen kept the
    // old name.
    void deletingUsedClassAsksWhatBecomesOfItsBoxes_data()
    {
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<bool>("refused");   // the file refuses to delete the class
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<bool>("secondValid");
        const QString strDog = Box(50, 10, 20, 20, "dog");
        const QStringList lstFirst = {Box(10, 20, 30, 40, "cat"), strDog};
        const QStringList lstSecond = {Box(5, 5, 5, 5, "cat"), Box(60, 60, 10, 10, "cat")};
        QTest::newRow("boxes deleted too")
            << QString("Delete the boxes too") << false << QStringList(strDog) << QStringList() << false;
        QTest::newRow("boxes moved") << QString("Move the boxes to bird") << false
                                     << QStringList({Box(10, 20, 30, 40, "bird"), strDog})
                                     << QStringList({Box(5, 5, 5, 5, "bird"), Box(60, 60, 10, 10, "bird")}) << true;
        QTest::newRow("cancelled") << QString() << false << lstFirst << lstSecond << true;
        QTest::newRow("file refuses: boxes stay too")
            << QString("Delete the boxes too") << true << lstFirst << lstSecond << true;
    }
    void deletingUsedClassAsksWhatBecomesOfItsBoxes()
    {
        QFETCH(QString, answer);
        QFETCH(bool, refused);
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(bool, secondValid);
        AnnotatedProject({"1 10 20 30 40 1", "1 50 10 20 20 2", "2 5 5 5 5 1", "2 60 60 10 10 1"});
        OpenImage(1, 0);
        OpenImage(2, 1);
        if (refused)
            Sql({"CREATE TRIGGER refuse BEFORE DELETE ON category BEGIN SELECT RAISE(ABORT, 'refused'); END"});
        m_pCase->answers.texts.push_back(answer);
        const int nAskedBefore = m_pCase->answers.asked.size();

        DeleteClassInEditor(0);

        // The class editor, then the question about the boxes.
        QVERIFY(m_pCase->answers.asked.size() >= nAskedBefore + 2);
        const CPromptAnswers::SAsked sAsked = m_pCase->answers.asked[nAskedBefore + 1];
        QCOMPARE(sAsked.strKind, QString("item"));
        QCOMPARE(sAsked.strText, QString("Class cat is used by 3 boxes on 2 images"));
        QCOMPARE(sAsked.items,
                 QStringList({"Delete the boxes too", "Move the boxes to dog", "Move the boxes to bird"}));
        const bool bDeleted = !answer.isNull() && !refused;
        QCOMPARE(Classes(),
                 bDeleted ? QList<QStringList>({{"dog"}, {"bird"}}) : QList<QStringList>({{"cat"}, {"dog"}, {"bird"}}));
        QCOMPARE(Dangling(), QList<QStringList>({{"0"}}));
        QCOMPARE(Rows(1), first);
        QCOMPARE(Rows(2), second);
        QCOMPARE(Boxes(0), first);
        QCOMPARE(Boxes(1), second);
        QCOMPARE(BoundIDs(0), RowIDs(1));
        QCOMPARE(BoundIDs(1), RowIDs(2));
        QVERIFY(m_pCase->model.FindTrainImage(1)->IsValid());
        QCOMPARE(m_pCase->model.FindTestImage(2)->IsValid(), secondValid);
        QCOMPARE(m_pCase->answers.asked.last().strText,
                 refused ? QString("Cannot delete class cat: refused") : sAsked.strText);
    }

    void deletingUnusedClassAsksNothing()
    {
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);
        const int nAskedBefore = m_pCase->answers.asked.size();

        DeleteClassInEditor(2);

        QCOMPARE(Classes(), QList<QStringList>({{"cat"}, {"dog"}}));
        QCOMPARE(m_pCase->answers.asked.size() - nAskedBefore, 1);
        QCOMPARE(Boxes(0), QStringList(Box(10, 20, 30, 40, "cat")));
    }
};

int RunRoiDeletedClassTest(int argc, char** argv)
{
    RoiDeletedClassTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RoiDeletedClassTest.moc"
