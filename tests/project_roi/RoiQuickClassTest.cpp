#include "CRoiTestCase.h"

#include "frame/CSetting.h"
#include "project/CRoiAnnotationHost.h"

using namespace ProjectTest;

// Classes for new boxes at the speed of the hand: the chooser's digit keys and its preselected last class, and
// "Quick class", whose rows and log lines must be those of the chooser's answer.
class RoiQuickClassTest : public CRoiTestCase
{
    Q_OBJECT

    // The next class chooser gets the keys as a user types them into it; it counts as accepted when they accept it.
    void AnswerWithKeys(const QList<int>& lstKeys, QStringList* pPreselected = nullptr)
    {
        m_pCase->answers.dialogs.push_back(
            [lstKeys, pPreselected](QDialog* pDialog)
            {
                auto* pChooser = qobject_cast<CClassChooserView*>(pDialog);
                if (!pChooser)
                    return 0;
                if (pPreselected)
                    pPreselected->append(pChooser->GetSelectedName());
                pDialog->setResult(0);
                pDialog->show();
                for (int nKey : lstKeys)
                    QTest::keyClick(pChooser->GetComboBox(), static_cast<Qt::Key>(nKey));
                const int nResult = pDialog->result();
                pDialog->hide();
                return nResult;
            });
    }
    // The lines of the log since the test began about ROIs, in order.
    QStringList RoiLog() const
    {
        QStringList lstLines;
        for (const QString& strLine : Log())
        {
            if (strLine.contains("ROI") || strLine.contains("Validate"))
                lstLines.append(strLine);
        }
        return lstLines;
    }

private slots:
    void digitKeysChooseAndAccept_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("1 is the first class") << QList<int>{Qt::Key_1} << QStringList(Box(100, 10, 40, 40, "cat"));
        QTest::newRow("3 is the third") << QList<int>{Qt::Key_3} << QStringList(Box(100, 10, 40, 40, "bird"));
        QTest::newRow("a digit past the classes does nothing")
            << QList<int>{Qt::Key_4, Qt::Key_Escape} << QStringList();
        QTest::newRow("Return accepts the preselected first class")
            << QList<int>{Qt::Key_Return} << QStringList(Box(100, 10, 40, 40, "cat"));
    }
    void digitKeysChooseAndAccept()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QStringList, rows);
        AnnotatedProject();
        OpenImage(1, 0);
        AnswerWithKeys(keys);

        Draw(0, QPointF(100, 10), QPointF(140, 50));

        QCOMPARE(Rows(1), rows);
        QCOMPARE(Boxes(0), rows);
        QCOMPARE(BoundIDs(0), RowIDs(1));
    }

    void lastChosenClassIsPreselected()
    {
        AnnotatedProject();
        OpenImage(1, 0);
        QStringList lstPreselected;
        AnswerWithKeys({Qt::Key_2}, &lstPreselected);
        AnswerWithKeys({Qt::Key_Return}, &lstPreselected);
        AnswerWithKeys({Qt::Key_Escape}, &lstPreselected);
        AnswerWithKeys({Qt::Key_Enter}, &lstPreselected);

        Draw(0, QPointF(10, 10), QPointF(20, 20));
        Draw(0, QPointF(30, 10), QPointF(40, 20));
        Draw(0, QPointF(50, 10), QPointF(60, 20));
        Draw(0, QPointF(70, 10), QPointF(80, 20));

        // A cancelled chooser leaves the last accepted class preselected.
        QCOMPARE(lstPreselected, QStringList({"cat", "dog", "dog", "dog"}));
        QCOMPARE(Rows(1),
                 QStringList({Box(10, 10, 10, 10, "dog"), Box(30, 10, 10, 10, "dog"), Box(70, 10, 10, 10, "dog")}));
    }

    void quickClassGivesTheRowsOfTheChooser_data()
    {
        QTest::addColumn<int>("quick");
        QTest::addColumn<QString>("quickClass");
        QTest::addColumn<int>("asked");
        QTest::newRow("chooser answers") << 0 << "dog" << 1;
        QTest::newRow("quick class answers") << 1 << "dog" << 0;
        QTest::newRow("quick class the project lacks: the chooser answers") << 1 << "eel" << 1;
    }
    void quickClassGivesTheRowsOfTheChooser()
    {
        QFETCH(int, quick);
        QFETCH(QString, quickClass);
        QFETCH(int, asked);
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS, quick);
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS_NAME, quickClass);
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);
        const int nAskedBefore = m_pCase->answers.asked.size();
        AnswerClass("dog");
        const QStringList lstLogBefore = RoiLog();

        Draw(0, QPointF(100, 10), QPointF(140, 50));

        QCOMPARE(Rows(1), QStringList({Box(10, 20, 30, 40, "cat"), Box(100, 10, 40, 40, "dog")}));
        QCOMPARE(Boxes(0), Rows(1));
        QCOMPARE(BoundIDs(0), RowIDs(1));
        QStringList lstIDs;
        for (const QStringList& row : Sql({"SELECT ID, IMAGE_ID, CATEGORY_ID FROM dataset_roi ORDER BY ID"}))
            lstIDs.append(row.join(' '));
        QCOMPARE(lstIDs, QStringList({"1 1 1", "2 1 2"}));
        // Drawing deselects the box there was, then the new box gets its row.
        QCOMPARE(RoiLog().mid(lstLogBefore.size()),
                 QStringList({"[DEBUG] Update ROI to ID 1 OK", "[DEBUG] Add ROI to Image ID 1 OK"}));
        QCOMPARE(m_pCase->answers.asked.size() - nAskedBefore, asked);
        QVERIFY(m_pCase->model.FindTrainImage(1)->IsValid());
    }

    void quickClassLeavesRelabellingToTheChooser()
    {
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS, 1);
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS_NAME, "dog");
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);
        AnswerClass("bird");

        m_pCase->controller.ChangeROIClass(0, Geometries(0).front()->GetUID());

        QCOMPARE(Rows(1), QStringList(Box(10, 20, 30, 40, "bird")));
    }
};

int RunRoiQuickClassTest(int argc, char** argv)
{
    RoiQuickClassTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RoiQuickClassTest.moc"
