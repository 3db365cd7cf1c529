#include "CCanvasFixture.h"
#include "CSignalRecorder.h"

#include "canvas/CProposalLayer.h"

#define QTEST_QPA_MOUSE_HANDLING
#include <QtTest>

// Proposals over a canvas with its controller, pressed at as a user does: which proposal intents the canvas emits, and
// that no proposal key or click reaches the boxes or their undo steps.
class CanvasProposalTest : public QObject
{
    Q_OBJECT

private:
    // Image points; the canvas shows two screen pixels per image pixel.
    static void Run(CCanvasFixture& fixture, const QStringList& lstSteps)
    {
        for (const QString& strStep : lstSteps)
        {
            const QStringList lstWords = strStep.split(' ');
            const QPointF point =
                lstWords.size() == 3 ? QPointF(lstWords[1].toDouble(), lstWords[2].toDouble()) : QPointF();
            if (lstWords[0] == "click")
                fixture.Click(point);
            else if (lstWords[0] == "double")
                QTest::mouseDClick(fixture.canvas.get(), Qt::LeftButton, Qt::NoModifier, fixture.ToScreen(point));
            else if (lstWords[0] == "draw")
                fixture.SetMode(CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge);
            else if (strStep == "Enter")
                fixture.Key(Qt::Key_Return);
            else if (strStep == "Ctrl+Enter")
                fixture.Key(Qt::Key_Return, Qt::ControlModifier);
            else if (strStep == "Delete")
                fixture.Key(Qt::Key_Delete);
            else if (strStep == "Escape")
                fixture.Key(Qt::Key_Escape);
            else
                QFAIL(qPrintable("unknown step " + strStep));
        }
    }

private slots:
    void inputEmitsProposalIntents_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");

        // Proposal 7 spans (20, 10)-(60, 40); proposal 9 spans (120, 20)-(160, 60) with a box at (130, 30)-(140, 40).
        QTest::newRow("double-click on a proposal")
            << QStringList{"double 40 25"} << QStringList{"signal_AcceptProposal(7)"};
        QTest::newRow("double-click on a box over a proposal") << QStringList{"double 135 35"} << QStringList{};
        QTest::newRow("Enter on the selected proposal")
            << QStringList{"click 140 50", "Enter"} << QStringList{"signal_AcceptProposal(9)"};
        QTest::newRow("Enter after a click beside proposals")
            << QStringList{"click 40 25", "click 90 80", "Enter"} << QStringList{};
        QTest::newRow("Ctrl+Enter") << QStringList{"Ctrl+Enter"} << QStringList{"signal_AcceptAllProposals()"};
        QTest::newRow("Delete on the selected proposal")
            << QStringList{"click 40 25", "Delete"} << QStringList{"signal_RejectProposal(7)"};
        QTest::newRow("Escape") << QStringList{"Escape"} << QStringList{"signal_ClearProposals()"};
        QTest::newRow("Escape while drawing cancels the drawing first")
            << QStringList{"draw", "Escape"} << QStringList{};
        QTest::newRow("second Escape after drawing")
            << QStringList{"draw", "Escape", "Escape"} << QStringList{"signal_ClearProposals()"};
    }

    void inputEmitsProposalIntents()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        CCanvasFixture fixture;
        QVERIFY(fixture.Show());
        fixture.PushImage();
        fixture.AddRectangle(130, 30, 10, 10);
        fixture.objects.DeselectAll();
        fixture.canvas->GetProposalLayer()->SetProposals(
            {{7, QRectF(20, 10, 40, 30), "cat", 0.9}, {9, QRectF(120, 20, 40, 40), "dog", 0.5}});
        const QStringList lstBoxes = fixture.Objects();
        CSignalRecorder recorder(fixture.canvas.get());

        Run(fixture, steps);

        QStringList lstIntents = recorder.Take().filter("Proposal");
        QCOMPARE(lstIntents, expected);
        // A click may select the box; it never moves, goes or gains a step.
        QCOMPARE(fixture.Objects().replaceInStrings("*", ""), lstBoxes);
        QCOMPARE(fixture.UndoCount(), 0);
    }

    void labelShowsNameAndScore()
    {
        QCOMPARE(CProposalLayer::LabelText({1, QRectF(), "cat", 0.8666}), QString("cat 0.87"));
    }
};

int RunCanvasProposalTest(int argc, char** argv)
{
    CanvasProposalTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CanvasProposalTest.moc"
