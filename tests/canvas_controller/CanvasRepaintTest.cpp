#include "CCanvasFixture.h"
#include "CTestSandbox.h"

#include "canvas/CDrawableGeometry.h"

#include <QtTest>

#include <functional>
#include <map>

using Mode = CImageViewModeModel::EImageView2DMode;

// The canvas keeps its painted objects and paints again only where an edit changed them; what it shows after every
// edit must be what a canvas painting everything afresh shows.
class CanvasRepaintTest : public QObject
{
    Q_OBJECT

private:
    CTestSandbox m_sandbox;
    std::unique_ptr<CCanvasFixture> m_pFixture;
    std::vector<std::shared_ptr<CDrawableGeometry>> m_vctBoxes;

    CCanvasFixture& F() { return *m_pFixture; }

    // A second canvas on the same models, never painted before, with the edited canvas's size and mapping.
    QImage FreshGrab()
    {
        CImageView2D fresh(&F().images, &F().objects, &F().modes, 1);
        fresh.resize(F().canvas->size());
        // What the canvas learns from announcements: the current image, and the model's list, which it reads on
        // every deletion announced.
        fresh.slot_ChangeCurrentImage();
        fresh.slot_DeleteDrawableObject(0, QString());
        // Shown (without a window, so the edited canvas keeps the focus) to take its size, which fits the image; the
        // mapping is set after that.
        fresh.setAttribute(Qt::WA_DontShowOnScreen);
        fresh.show();
        fresh.SetViewport(F().canvas->GetViewport());
        fresh.SetWindow(F().canvas->GetWindow());
        return fresh.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    void Step(const QString& strStep)
    {
        const std::map<QString, std::function<void()>> steps{
            {"click B", [this] { F().Click(QPointF(55, 40)); }},
            {"drag A onto B", [this] { F().Drag(QPointF(20, 15), QPointF(45, 30)); }},
            {"drag C half out", [this] { F().Drag(QPointF(100, 40), QPointF(185, 90)); }},
            {"select all", [this] { F().Drag(QPointF(1, 1), QPointF(199, 99)); }},
            {"delete", [this] { F().Key(Qt::Key_Delete); }},
            {"model deletes C", [this] { F().objects.DeleteObject(m_vctBoxes[2]); }},
            {"undo", [this] { F().Key(Qt::Key_Z, Qt::ControlModifier); }},
            {"redo", [this] { F().Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }},
            {"draw over",
             [this]
             {
                 F().SetMode(Mode::EImageView2DMode_Drawing_Rectanlge);
                 F().Drag(QPointF(25, 20), QPointF(110, 60));
                 F().SetMode(Mode::EImageView2DMode_Selecting);
             }},
            {"rename A", [this] { m_vctBoxes[0]->SetName("A name far longer than before"); }},
            {"hide B's name", [this] { m_vctBoxes[1]->SetDisplayName(false); }},
            {"add many",
             [this]
             {
                 for (int i = 0; i < 40; ++i)
                     F().AddRectangle(5 + 4 * i, 5 + 2 * i, 20, 10);
             }},
            {"zoom", [this] { QVERIFY(F().Wheel(QPoint(150, 80), 600)); }},
            {"resize", [this] { F().canvas->resize(330, 170); }},
        };
        QVERIFY2(steps.count(strStep), qPrintable(strStep));
        steps.at(strStep)();
    }

private slots:
    void init()
    {
        m_pFixture = std::make_unique<CCanvasFixture>();
        F().PushImage();
        QVERIFY(F().Show());
        // Overlapping named boxes: fills blend with each other and names cross their neighbours.
        m_vctBoxes = {F().AddRectangle(10, 10, 40, 30), F().AddRectangle(35, 25, 40, 30),
                      F().AddRectangle(90, 15, 30, 50), F().AddRectangle(60, 50, 70, 30)};
        F().objects.DeselectAll();
    }

    void cleanup()
    {
        m_vctBoxes.clear();
        m_pFixture.reset();
    }

    void editsShowAsAFreshPaintDoes_data()
    {
        QTest::addColumn<QStringList>("steps");

        QTest::newRow("selection moves") << QStringList{"click B"};
        QTest::newRow("moved, undone, redone") << QStringList{"drag A onto B", "undo", "redo"};
        QTest::newRow("moved half off the image") << QStringList{"drag C half out", "undo"};
        QTest::newRow("deleted and back") << QStringList{"click B", "delete", "undo", "redo"};
        // Unselected: the deletion is the only announcement.
        QTest::newRow("deleted by the model") << QStringList{"model deletes C"};
        QTest::newRow("all deleted and back") << QStringList{"select all", "delete", "undo"};
        QTest::newRow("drawn over the others") << QStringList{"draw over", "undo"};
        QTest::newRow("names change") << QStringList{"rename A", "hide B's name"};
        // More changes before one repaint than are worth painting one by one.
        QTest::newRow("many added at once") << QStringList{"add many", "click B"};
        QTest::newRow("zoomed, then edited") << QStringList{"zoom", "click B", "drag A onto B"};
        QTest::newRow("resized, then edited") << QStringList{"resize", "click B", "delete"};
    }

    void editsShowAsAFreshPaintDoes()
    {
        QFETCH(QStringList, steps);
        // Painted once, so that the first edit has to bring painted objects up to date.
        F().Grab();

        for (const QString& strStep : steps)
        {
            Step(strStep);
            const QImage shown = F().Grab();
            const QImage fresh = FreshGrab();
            QCOMPARE(shown.size(), fresh.size());
            int nDiffering = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    nDiffering += shown.pixel(x, y) != fresh.pixel(x, y) ? 1 : 0;
            QVERIFY2(nDiffering == 0, qPrintable(QString("%1 pixels differ after %2").arg(nDiffering).arg(strStep)));
        }
    }
};

QTEST_MAIN(CanvasRepaintTest)
#include "CanvasRepaintTest.moc"
