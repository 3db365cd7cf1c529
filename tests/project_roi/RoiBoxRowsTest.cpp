#include "CProjectFixture.h"
#include "CTestSandbox.h"

#include "canvas/CDrawableGeometry.h"
#include "database/CDatabase.h"
#include "frame/CSetting.h"
#include "project/annotation/CRoiBoxRows.h"
#include "project/annotation/IRoiAnnotationHost.h"
#include "project/store/CProjectRecordFactory.h"

#include "Geometry/COvrelRectangle.h"

#include <QtTest>

#include <memory>

namespace
{
// The project's answers, as a list of what was asked: "stopped", "class", "deleted class", "quick".
class CHostAnswers : public IRoiAnnotationHost
{
public:
    bool CommandStopped() override
    {
        lstAsked << "stopped";
        return !bRunning;
    }
    bool HasChooser() const override { return true; }
    bool ChooseClass(QString& strClass) override { return Answer("class", strClass); }
    bool ChooseDeletedClass(QString& strClass) override { return Answer("deleted class", strClass); }
    bool QuickClass(QString& strClass) override
    {
        strClass = strQuick;
        return !strQuick.isEmpty();
    }
    void ValidateImage(int nImageID) override { lstValidated << nImageID; }

    bool Answer(const QString& strQuestion, QString& strClass)
    {
        lstAsked << strQuestion;
        strClass = strAnswer;
        return !strAnswer.isNull();
    }

    bool bRunning = false;
    QString strAnswer; // null: the chooser is cancelled
    QString strQuick;
    QStringList lstAsked;
    QList<int> lstValidated;
};

std::shared_ptr<CDrawableGeometry> Box(double x, double y, double w, double h)
{
    return std::make_shared<CDrawableGeometry>(std::make_shared<Ovrel::Geometry::COvrelRectangle>(x, y, w, h));
}
} // namespace

// The row side of the annotation on a real project file, without any view: each box event against the rows of
// image 1 it leaves behind and what it asked.
class RoiBoxRowsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        CSetting::Set("GENERAL_LOG_DIR", m_sandbox.Home());
        m_host = CHostAnswers();
        m_strFile = m_sandbox.Path(QString("rows%1.data").arg(++m_nCase));
        m_pFactory = std::make_unique<CProjectRecordFactory>();
        m_pDatabase = std::make_unique<CDatabase>(m_pFactory.get());
        QVERIFY(m_pDatabase->OpenDatabase("localhost", m_strFile, "", ""));
        QVERIFY(m_pDatabase->RunQueryFile(":/Files/tamsel_database_sqlite.sql", true));
        bool bOk = false;
        CProjectFixture::Query(
            m_strFile,
            {"INSERT INTO category (ID, NAME) VALUES (1, 'cat'), (2, 'dog')",
             "INSERT INTO dataset_image (ID, NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) VALUES "
             "(1, 'a.png', 'Images/a.png', 'train', 200, 100, 1)",
             "INSERT INTO dataset_roi (ID, X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES "
             "(1, 10, 20, 30, 40, 1, 1)"},
            &bOk);
        QVERIFY(bOk);
    }

    void cleanup()
    {
        m_pDatabase.reset();
        m_pFactory.reset();
    }

    void eachEventLeavesRowsEqualToBox_data()
    {
        QTest::addColumn<QString>("event");  // added, changed, deleted or relabelled
        QTest::addColumn<int>("bound");      // the row ID the box carries, 0 for none
        QTest::addColumn<QString>("name");   // the box's name
        QTest::addColumn<QString>("answer"); // the chooser's, null for Cancel; quick:<class> for quick class
        QTest::addColumn<bool>("running");   // the trainer runs
        QTest::addColumn<bool>("kept");      // the box may stay on screen
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("asked");
        const QString strCat = "10 20 30 40 cat";
        const QString strNew = "50 5 20 10 dog";
        const QStringList lstAskedClass = {"stopped", "class"};

        QTest::newRow("drawn box gets the chosen class")
            << "added" << 0 << ""
            << "dog" << false << true << QStringList({strCat, strNew}) << lstAskedClass;
        QTest::newRow("drawn box, chooser cancelled, leaves")
            << "added" << 0 << "" << QString() << false << false << QStringList(strCat) << lstAskedClass;
        QTest::newRow("drawn box takes the quick class unasked")
            << "added" << 0 << ""
            << "quick:dog" << false << true << QStringList({strCat, strNew}) << QStringList("stopped");
        QTest::newRow("drawn box while the trainer runs writes nothing")
            << "added" << 0 << ""
            << "dog" << true << true << QStringList(strCat) << QStringList("stopped");
        QTest::newRow("copied box keeps its class unasked") << "added" << 0 << "dog" << QString() << false << true
                                                            << QStringList({strCat, strNew}) << QStringList("stopped");
        QTest::newRow("box back from undo gets a new row") << "added" << 7 << "dog" << QString() << false << true
                                                           << QStringList({strCat, strNew}) << QStringList("stopped");
        QTest::newRow("moved box writes its row") << "changed" << 1 << "cat" << QString() << false << true
                                                  << QStringList("50 5 20 10 cat") << QStringList("stopped");
        QTest::newRow("moved box whose row went gets one again")
            << "changed" << 7 << "dog" << QString() << false << true << QStringList({strCat, strNew})
            << QStringList("stopped");
        QTest::newRow("deleted box takes its row along")
            << "deleted" << 1 << "cat" << QString() << false << true << QStringList() << QStringList();
        QTest::newRow("deleted unbound box deletes no row")
            << "deleted" << 0 << "cat" << QString() << false << true << QStringList(strCat) << QStringList();
        QTest::newRow("relabel writes the new class first")
            << "relabelled" << 1 << "cat"
            << "dog" << false << true << QStringList("10 20 30 40 dog") << QStringList("class");
    }
    void eachEventLeavesRowsEqualToBox()
    {
        QFETCH(QString, event);
        QFETCH(int, bound);
        QFETCH(QString, name);
        QFETCH(QString, answer);
        QFETCH(bool, running);
        QFETCH(bool, kept);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, asked);
        CRoiBoxRows boxRows(m_pDatabase.get(), m_host);
        m_host.bRunning = running;
        if (answer.startsWith("quick:"))
            m_host.strQuick = answer.mid(6);
        else
            m_host.strAnswer = answer;
        // Row 1 holds the box at 10 20 30 40; the other events see it at 50 5 20 10.
        const auto pBox = bound == 1 && event != "changed" ? Box(10, 20, 30, 40) : Box(50, 5, 20, 10);
        if (!name.isEmpty())
            pBox->SetName(name);
        if (bound > 0)
            pBox->SetExtraInfo(bound);

        bool bKept = true;
        if (event == "added")
            bKept = boxRows.Added(1, pBox, name);
        else if (event == "changed")
            boxRows.Changed(1, *pBox);
        else if (event == "deleted")
            boxRows.AboutToBeDeleted(1, *pBox);
        else
        {
            QString strClass;
            bKept = boxRows.ChooseNewClass(*pBox, strClass);
            QCOMPARE(strClass, answer);
        }

        QCOMPARE(bKept, kept);
        QCOMPARE(Rows(), rows);
        QCOMPARE(m_host.lstAsked, asked);
        // A box on screen is bound to a row that holds it; a box that left, or one the trainer kept from writing, is
        // not.
        if (kept && !running && event != "deleted" && event != "relabelled")
        {
            const QList<QStringList> lstRow = CProjectFixture::Query(
                m_strFile, {QString("SELECT X, Y FROM dataset_roi WHERE ID = %1").arg(pBox->GetExtraInfo().toInt())});
            QCOMPARE(lstRow, QList<QStringList>({{QString::number(pBox->GetBoundary().x()),
                                                  QString::number(pBox->GetBoundary().y())}}));
        }
    }

    void boxesFromRowsArriveBoundAndNeedNoWrite()
    {
        CRoiBoxRows boxRows(m_pDatabase.get(), m_host);
        m_host.bRunning = true;
        std::vector<std::shared_ptr<CDrawableGeometry>> vctClassless;
        const auto vctBoxes = CRoiBoxRows::BoxesOf(boxRows.Rows().RowsOf(1), boxRows.Rows().ClassNames(), vctClassless);
        QCOMPARE(vctBoxes.size(), size_t(1));
        QCOMPARE(vctBoxes[0]->GetExtraInfo().toInt(), 1);
        QCOMPARE(vctBoxes[0]->GetName(), QString("cat"));

        // Shown and then selected: neither writes, nor asks whether the trainer may be interrupted.
        QVERIFY(boxRows.Added(1, vctBoxes[0], "cat"));
        vctBoxes[0]->SetSelected(true);
        boxRows.Changed(1, *vctBoxes[0]);

        QCOMPARE(Rows(), QStringList("10 20 30 40 cat"));
        QCOMPARE(m_host.lstAsked, QStringList());
        QVERIFY(vctClassless.empty());
    }

    void goneClassIsAskedOnceImageIsWhole()
    {
        CProjectFixture::Query(m_strFile, {"DELETE FROM category WHERE ID = 1"});
        CRoiBoxRows boxRows(m_pDatabase.get(), m_host);
        m_host.strAnswer = "dog";
        std::vector<std::shared_ptr<CDrawableGeometry>> vctClassless;
        const auto vctBoxes = CRoiBoxRows::BoxesOf(boxRows.Rows().RowsOf(1), boxRows.Rows().ClassNames(), vctClassless);
        QCOMPARE(vctClassless.size(), size_t(1));
        QCOMPARE(vctBoxes[0]->GetName(), QString());

        // Its add asks nothing: the question waits until every box is shown.
        QVERIFY(boxRows.Added(1, vctBoxes[0], QString()));
        QCOMPARE(m_host.lstAsked, QStringList());
        boxRows.AskGoneClasses(1, vctClassless);

        QCOMPARE(m_host.lstAsked, QStringList({"stopped", "deleted class"}));
        QCOMPARE(Rows(), QStringList("10 20 30 40 dog"));
        QCOMPARE(vctBoxes[0]->GetName(), QString("dog"));
        QCOMPARE(m_host.lstValidated, QList<int>({1}));
    }

private:
    // The rows of image 1 as "x y w h class" in ID order (class empty when it is gone).

    QStringList Rows() const
    {
        QStringList lstRows;
        for (const QStringList& row : CProjectFixture::Query(
                 m_strFile, {"SELECT r.X, r.Y, r.WIDTH, r.HEIGHT, IFNULL(c.NAME, '') FROM dataset_roi r LEFT JOIN "
                             "category c ON c.ID = r.CATEGORY_ID WHERE r.IMAGE_ID = 1 ORDER BY r.ID"}))
            lstRows << row.join(' ');
        return lstRows;
    }

    CTestSandbox m_sandbox;
    QString m_strFile;
    std::unique_ptr<CProjectRecordFactory> m_pFactory;
    std::unique_ptr<CDatabase> m_pDatabase;
    CHostAnswers m_host;
    int m_nCase = 0;
};

int RunRoiBoxRowsTest(int argc, char** argv)
{
    RoiBoxRowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RoiBoxRowsTest.moc"
