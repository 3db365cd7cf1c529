#include "CCanvasFixture.h"
#include "CPromptAnswers.h"
#include "CSignalRecorder.h"

#include "canvas/CImageView2DGotoDialog.h"

#define QTEST_QPA_MOUSE_HANDLING
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <cmath>

namespace
{
// Brings the canvas into a view state: an optional wheel step at a point, then an optional pan by a screen distance.
void ApplyView(CCanvasFixture& fixture, const QPoint& zoomAt, int nZoomDelta, const QPoint& pan)
{
    if (nZoomDelta != 0)
        QVERIFY(fixture.Wheel(zoomAt, nZoomDelta));
    if (!pan.isNull())
    {
        fixture.modes.SetMode(CImageViewModeModel::EImageView2DMode_Panning);
        fixture.DragOnScreen(QPoint(150, 80), QPoint(150, 80) + pan);
        fixture.modes.SetMode(CImageViewModeModel::EImageView2DMode_Selecting);
    }
}
} // namespace

class CanvasMappingTest : public QObject
{
    Q_OBJECT
private slots:

    void imageIsCentredAndFitted_data()
    {
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<QSize>("canvasSize");
        QTest::addColumn<QRect>("expected");

        QTest::newRow("wide image, square canvas") << QSize(100, 50) << QSize(400, 400) << QRect(0, 100, 400, 200);
        QTest::newRow("tall image, square canvas") << QSize(50, 100) << QSize(400, 400) << QRect(100, 0, 200, 400);
        QTest::newRow("wide image, wide canvas") << QSize(100, 50) << QSize(400, 300) << QRect(0, 50, 400, 200);
        QTest::newRow("same shape") << QSize(200, 100) << QSize(400, 200) << QRect(0, 0, 400, 200);
        QTest::newRow("larger than canvas") << QSize(800, 600) << QSize(400, 200) << QRect(66, 0, 267, 200);
    }

    void imageIsCentredAndFitted()
    {
        QFETCH(QSize, imageSize);
        QFETCH(QSize, canvasSize);
        QFETCH(QRect, expected);
        CCanvasFixture fixture(canvasSize);

        fixture.PushPattern(imageSize.width(), imageSize.height());

        QCOMPARE(fixture.canvas->GetViewport(), expected);
        QCOMPARE(fixture.canvas->GetWindow(), QRect(QPoint(0, 0), imageSize));
        QCOMPARE(fixture.canvas->GetScale(), 1.0);
    }

    void clickLandsOnImagePoint_data()
    {
        QTest::addColumn<QPoint>("zoomAt");
        QTest::addColumn<int>("nZoomDelta");
        QTest::addColumn<QPoint>("pan");
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<QPointF>("expected");

        // 200 x 100 in 400 x 200: two screen pixels per image pixel at fit.
        QTest::newRow("fit, first pixel") << QPoint() << 0 << QPoint() << QPoint(1, 1) << QPointF(0.5, 0.5);
        QTest::newRow("fit, last pixel") << QPoint() << 0 << QPoint() << QPoint(399, 199) << QPointF(199.5, 99.5);
        // Twice the fitted size about the corner: viewport (0, 0, 800, 400).
        QTest::newRow("zoom 2 at corner") << QPoint(0, 0) << 1000 << QPoint() << QPoint(41, 21) << QPointF(10.25, 5.25);
        // Twice about the centre: viewport (-200, -100, 800, 400); the centre stays on image (100, 50).
        QTest::newRow("zoom 2 at centre")
            << QPoint(200, 100) << 1000 << QPoint() << QPoint(200, 100) << QPointF(100, 50);
        // Half the fitted size about the centre: viewport (100, 50, 200, 100), one screen pixel per image pixel.
        QTest::newRow("zoom 0.5 at centre")
            << QPoint(200, 100) << -500 << QPoint() << QPoint(141, 71) << QPointF(41, 21);
        // Zoomed 2 at the corner, then panned: viewport (30, -10, 800, 400).
        QTest::newRow("zoomed and panned")
            << QPoint(0, 0) << 1000 << QPoint(30, -10) << QPoint(41, 21) << QPointF(2.75, 7.75);
        // A pan moves the image as far as the mouse at any zoom: halved and panned, viewport (60, 70, 200, 100).
        QTest::newRow("zoomed out and panned")
            << QPoint(200, 100) << -500 << QPoint(-40, 20) << QPoint(141, 71) << QPointF(81, 1);
    }

    void clickLandsOnImagePoint()
    {
        QFETCH(QPoint, zoomAt);
        QFETCH(int, nZoomDelta);
        QFETCH(QPoint, pan);
        QFETCH(QPoint, click);
        QFETCH(QPointF, expected);
        CCanvasFixture fixture(QSize(400, 200));
        fixture.PushPattern(200, 100);
        ApplyView(fixture, zoomAt, nZoomDelta, pan);
        QTest::mouseMove(fixture.canvas.get(), click);
        CSignalRecorder recorder(fixture.canvas.get());

        QTest::mouseClick(fixture.canvas.get(), Qt::LeftButton, Qt::NoModifier, click);

        const QStringList journal = recorder.Take();
        QCOMPARE(journal.value(1), QString("signal_SelectMovingStart(%1,%2)").arg(expected.x()).arg(expected.y()));
        QCOMPARE(fixture.canvas->MapToScreen(expected), QPointF(click));
    }

    void zoomKeepsImagePointUnderMouse_data()
    {
        QTest::addColumn<QList<QPoint>>("steps"); // x, y of the mouse; the wheel delta as a third point's x
        QTest::addColumn<QList<int>>("deltas");

        QTest::newRow("one notch out off centre") << QList<QPoint>{{57, 143}} << QList<int>{-120};
        QTest::newRow("far in at corner") << QList<QPoint>{{390, 190}} << QList<int>{3000};
        QTest::newRow("three places") << QList<QPoint>{{10, 10}, {390, 10}, {200, 190}} << QList<int>{480, 480, -120};
    }

    void zoomKeepsImagePointUnderMouse()
    {
        QFETCH(QList<QPoint>, steps);
        QFETCH(QList<int>, deltas);
        CCanvasFixture fixture(QSize(400, 300));
        fixture.PushPattern(200, 100);

        for (int i = 0; i < steps.size(); ++i)
        {
            const QPointF before = fixture.canvas->MapToImage(steps[i]);
            QVERIFY(fixture.Wheel(steps[i], deltas[i]));
            const QPointF after = fixture.canvas->MapToImage(steps[i]);
            // Whole screen pixels place the image: the point may move by up to two of them.
            const double dblTolerance = 2.0 / fixture.canvas->GetDisplayScale();
            QVERIFY2(std::abs(after.x() - before.x()) <= dblTolerance &&
                         std::abs(after.y() - before.y()) <= dblTolerance,
                     qPrintable(QString("step %1").arg(i)));
        }
    }

    void wheelStopsAboveMinimumScale_data()
    {
        QTest::addColumn<int>("nDelta");
        QTest::addColumn<bool>("bAccepted");
        QTest::addColumn<double>("dblScale");

        // From 0.11: a notch back gives 0.0968, a smaller step 0.099; both stay at 0.11.
        QTest::newRow("notch back to 0.0968") << -120 << false << 0.11;
        QTest::newRow("step back to 0.09999") << -91 << false << 0.11;
        QTest::newRow("step back to 0.1001") << -90 << true << 0.11 * 0.91;
        QTest::newRow("notch forward") << 120 << true << 0.11 * 1.12;
    }

    void wheelStopsAboveMinimumScale()
    {
        QFETCH(int, nDelta);
        QFETCH(bool, bAccepted);
        QFETCH(double, dblScale);
        CCanvasFixture fixture(QSize(400, 200));
        fixture.PushPattern(200, 100);
        QVERIFY(fixture.Wheel(QPoint(200, 100), -890));
        QCOMPARE(fixture.canvas->GetScale(), 0.11);
        const QRect viewport = fixture.canvas->GetViewport();

        QCOMPARE(fixture.Wheel(QPoint(120, 70), nDelta), bAccepted);

        QCOMPARE(fixture.canvas->GetScale(), dblScale);
        QCOMPARE(fixture.canvas->GetViewport() == viewport, !bAccepted);
    }

    void fitAndNewImageUndoZoomAndPan()
    {
        CCanvasFixture fixture(QSize(400, 200));
        fixture.PushPattern(200, 100);
        ApplyView(fixture, QPoint(77, 33), 700, QPoint(25, 15));
        QVERIFY(fixture.canvas->GetViewport() != QRect(0, 0, 400, 200));

        fixture.canvas->slot_ZoomFit();
        QCOMPARE(fixture.canvas->GetViewport(), QRect(0, 0, 400, 200));
        QCOMPARE(fixture.canvas->GetScale(), 1.0);

        ApplyView(fixture, QPoint(77, 33), 700, QPoint(25, 15));
        fixture.PushPattern(100, 100);
        QCOMPARE(fixture.canvas->GetViewport(), QRect(100, 0, 200, 200));
        QCOMPARE(fixture.canvas->GetScale(), 1.0);
    }

    void gotoShiftsByChosenPixel_data()
    {
        QTest::addColumn<QPoint>("chosen");
        QTest::addColumn<bool>("bGo");
        QTest::addColumn<QRect>("expected");

        QTest::newRow("chosen pixel") << QPoint(30, 20) << true << QRect(-30, -20, 400, 200);
        QTest::newRow("clamped to last pixel") << QPoint(500, 500) << true << QRect(-199, -99, 400, 200);
        QTest::newRow("closed without going") << QPoint(30, 20) << false << QRect(0, 0, 400, 200);
    }

    void gotoShiftsByChosenPixel()
    {
        QFETCH(QPoint, chosen);
        QFETCH(bool, bGo);
        QFETCH(QRect, expected);
        CCanvasFixture fixture(QSize(400, 200));
        fixture.PushPattern(200, 100);
        CPromptAnswers answers;
        QSize ranges;
        answers.dialogs.push_back(
            [&](QDialog* pDialog)
            {
                auto* pGoto = qobject_cast<CImageView2DGotoDialog*>(pDialog);
                if (!pGoto)
                    return int(QDialog::Rejected);
                ranges = QSize(pGoto->GetXSpinBox()->maximum(), pGoto->GetYSpinBox()->maximum());
                pGoto->GetXSpinBox()->setValue(chosen.x());
                pGoto->GetYSpinBox()->setValue(chosen.y());
                if (!bGo)
                    return int(QDialog::Rejected);
                // The button accepts as soon as it goes down.
                QTest::keyPress(pGoto->GetGotoButton(), Qt::Key_Space);
                return pGoto->result();
            });

        QAction* pGoto = fixture.canvas->GetImageMenu()->actions().value(8);
        QVERIFY(pGoto && pGoto->text() == "GoTo");

        pGoto->trigger();

        QCOMPARE(answers.asked.size(), 1);
        QCOMPARE(ranges, QSize(199, 99));
        QCOMPARE(fixture.canvas->GetViewport(), expected);
    }
};

int RunCanvasMappingTest(int argc, char** argv)
{
    CanvasMappingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CanvasMappingTest.moc"
