#include "CRoiTestCase.h"

#include "canvas/CImageView2D.h"
#include "project/classes/CClassColours.h"

#include <QIcon>

using namespace ProjectTest;

// Each box is drawn in its class's colour, the colour its class shows beside its name in the class chooser.
class RoiColourTest : public CRoiTestCase
{
    Q_OBJECT

    enum EStep
    {
        EStep_None,
        EStep_RelabelToBird,
        EStep_DeleteCat
    };

    // Whether the canvas of the view shows the colour on a pixel at the image point, or one pixel next to it (the
    // outline lies on the screen pixel the edge maps to, rounded either way).
    bool ShowsColourAt(int nViewID, const QPointF& imagePoint, const QColor& colour) const
    {
        CImageView2D* pCanvas = Viewer(nViewID)->GetCanvas();
        const QImage grab = pCanvas->grab().toImage();
        const QPointF screen = pCanvas->MapToScreen(imagePoint);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
            {
                const QPoint pixel(static_cast<int>(screen.x()) + dx, static_cast<int>(screen.y()) + dy);
                if (grab.rect().contains(pixel) && grab.pixelColor(pixel).rgb() == colour.rgb())
                    return true;
            }
        return false;
    }
    static QColor SwatchColour(const QIcon& icon)
    {
        const QImage image = icon.pixmap(16, 16).toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }

private slots:
    void boxIsDrawnInItsClassColour_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<QStringList>("answers"); // classes asked on opening; null: cancelled
        QTest::addColumn<int>("step");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("first class") << 1 << QStringList() << int(EStep_None) << CClassColours::OfIndex(0);
        QTest::newRow("second class") << 2 << QStringList() << int(EStep_None) << CClassColours::OfIndex(1);
        QTest::newRow("class gone from the file")
            << 9 << QStringList(QString()) << int(EStep_None) << CClassColours::Gone();
        QTest::newRow("relabelled") << 1 << QStringList() << int(EStep_RelabelToBird) << CClassColours::OfIndex(2);
        // Regression guard: a box kept the colour of its class's old place in the table.
        QTest::newRow("class before it deleted")
            << 2 << QStringList() << int(EStep_DeleteCat) << CClassColours::OfIndex(0);
    }
    void boxIsDrawnInItsClassColour()
    {
        QFETCH(int, category);
        QFETCH(QStringList, answers);
        QFETCH(int, step);
        QFETCH(QColor, colour);
        AnnotatedProject({QString("1 20 20 60 40 %1").arg(category)});
        OpenImage(1, 0, answers);
        QCOMPARE(Geometries(0).size(), size_t(1));

        if (step == EStep_RelabelToBird)
        {
            const auto vctGeometries = Geometries(0);
            QVERIFY(Canvas(0)->RelabelObjects({vctGeometries.begin(), vctGeometries.end()}, "bird"));
        }
        else if (step == EStep_DeleteCat)
            DeleteClassInEditor(0);

        // The middle of the box's left edge, away from its label and handles.
        QVERIFY(ShowsColourAt(0, QPointF(20, 40), colour));
        QVERIFY(!ShowsColourAt(0, QPointF(120, 40), colour));
    }

    void chooserShowsTheColourTheBoxTakes()
    {
        AnnotatedProject();
        OpenImage(1, 0);
        QList<QColor> lstSwatches;
        m_pCase->answers.dialogs.push_back(
            [&lstSwatches](QDialog* pDialog)
            {
                auto* pChooser = qobject_cast<CClassChooserView*>(pDialog);
                if (!pChooser)
                    return 0;
                for (int i = 0; i < pChooser->GetComboBox()->count(); ++i)
                    lstSwatches.append(SwatchColour(pChooser->GetComboBox()->itemIcon(i)));
                return CProjectFixture::ChooseClass("dog")(pDialog);
            });

        Draw(0, QPointF(100, 10), QPointF(160, 70));

        QCOMPARE(lstSwatches.size(), 3);
        QVERIFY(lstSwatches[0] != lstSwatches[1] && lstSwatches[1] != lstSwatches[2] &&
                lstSwatches[0] != lstSwatches[2]);
        QVERIFY(!lstSwatches.contains(CClassColours::Gone()));
        QVERIFY(ShowsColourAt(0, QPointF(100, 40), lstSwatches[1]));
    }
};

int RunRoiColourTest(int argc, char** argv)
{
    RoiColourTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RoiColourTest.moc"
