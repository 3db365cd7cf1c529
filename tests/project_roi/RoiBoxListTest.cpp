#include "CRoiTestCase.h"

#include "views/CBoxListController.h"
#include "views/CBoxListView.h"

#include <QPushButton>
#include <QTableWidget>

#include <random>

using namespace ProjectTest;

// The box list against the canvas it lists, through a seeded run of the edits a user makes on both.
class RoiBoxListTest : public CRoiTestCase
{
    Q_OBJECT

    // The boxes of the view as the list shows them: "class x y w h", " *" when selected, in the model's order.
    QStringList CanvasRows(int nViewID) const
    {
        QStringList lstRows;
        const CDrawableObjectModel* pObjects = Viewer(nViewID)->GetObjectModel();
        for (int i = 0; i < pObjects->GetObjectCount(); ++i)
        {
            const std::shared_ptr<CDrawableObject> pObject = pObjects->GetObject(i);
            if (pObject->GetType() != EImageView2DDrawbleObjectType_Geometry)
                continue;
            const QRectF box = pObject->GetBoundary();
            QStringList lstCells{pObject->GetName()};
            for (double dblValue : {box.x(), box.y(), box.width(), box.height()})
                lstCells.append(QString::number(dblValue, 'f', 1));
            lstRows.append(lstCells.join(' ') + (pObject->GetSelected() ? " *" : ""));
        }
        return lstRows;
    }
    static void Press(CBoxListView& view, const QString& strButton)
    {
        for (QPushButton* pButton : view.findChildren<QPushButton*>())
            if (pButton->text() == strButton)
                pButton->click();
    }

private slots:
    void listFollowsTheCanvasThroughSeededEdits()
    {
        AnnotatedProject({"1 10 10 20 20 1", "1 50 20 30 30 2", "2 5 5 10 10 3"});
        OpenImage(1, 0);
        CBoxListView view;
        CBoxListController list(&view, m_pWorkspace->controller.get(), &m_pCase->controller);
        list.ShowView(0);
        view.show();
        QTRY_COMPARE(view.RowTexts(), CanvasRows(0));

        const QStringList lstClasses{"cat", "dog", "bird"};
        std::mt19937 random(20261207);
        int nImageID = 1;
        for (int nStep = 0; nStep < 40; ++nStep)
        {
            const int nRows = view.GetTable()->rowCount();
            const unsigned int nChoice = random() % 6;
            const QString strStep = QString("step %1, edit %2").arg(nStep).arg(nChoice);
            if (nChoice == 0)
            {
                const double dblX = 5 + random() % 150;
                const double dblY = 5 + random() % 50;
                AnswerClass(lstClasses[static_cast<int>(random() % 3)]);
                Draw(0, QPointF(dblX, dblY), QPointF(dblX + 10 + random() % 30, dblY + 10 + random() % 30));
            }
            else if ((nChoice == 1 || nChoice == 2) && nRows > 0)
            {
                // The list's selection selects the box on the canvas, which the list's commands then act on.
                const int nRow = static_cast<int>(random() % static_cast<unsigned int>(nRows));
                view.GetTable()->setCurrentCell(nRow, 0);
                view.GetTable()->selectRow(nRow);
                const unsigned int nUID = view.GetTable()->item(nRow, 0)->data(Qt::UserRole).toUInt();
                const auto pObject = Viewer(0)->GetObjectModel()->FindObject(nUID);
                QVERIFY2(pObject && pObject->GetSelected(), qPrintable(strStep));
                if (nChoice == 1)
                {
                    QTest::keyClick(view.GetTable(), Qt::Key_Delete);
                    QVERIFY2(!Viewer(0)->GetObjectModel()->FindObject(nUID), qPrintable(strStep));
                }
                else
                {
                    const QString strClass = lstClasses[static_cast<int>(random() % 3)];
                    AnswerClass(strClass);
                    Press(view, "Relabel");
                    QCOMPARE(pObject->GetName(), strClass);
                }
            }
            else if (nChoice == 3)
                Undo(0);
            else if (nChoice == 4)
                Redo(0);
            else if (nChoice == 5)
            {
                nImageID = 3 - nImageID;
                OpenImage(nImageID, 0);
            }
            QTRY_COMPARE(view.RowTexts(), CanvasRows(0));
            QCOMPARE(view.CountText(), QString("%1 box(es)").arg(CanvasRows(0).size()));
        }
        // Whatever the run did, the canvas still shows what the file holds.
        QCOMPARE(Boxes(0), Rows(nImageID));
    }
};

int RunRoiBoxListTest(int argc, char** argv)
{
    RoiBoxListTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RoiBoxListTest.moc"
