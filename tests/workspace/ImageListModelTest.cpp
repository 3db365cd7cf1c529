#include "CImageListScript.h"
#include "CLogCapture.h"
#include "CSignalJournal.h"
#include "CTestSandbox.h"

#include "frame/CSetting.h"
#include "images/CImageListModel.h"

#include "Utils/COvrelImage.h"

#include <QtTest>

#include <memory>

using Ovrel::Utils::COvrelImage;

namespace
{
const QString LIST = "signal_ChangeImageList";
const QString IMAGE = "signal_ChangeCurrentImage";
const QString INDEX = "signal_ChangeCurrentIndex";
const QString MOUSE = "signal_MousePositionChanged";
} // namespace

class ImageListModelTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_pSandbox = std::make_unique<CTestSandbox>();
        CSetting::Set("GENERAL_LOG_DIR", m_pSandbox->Path("Log"));
        m_pLog = std::make_unique<CLogCapture>(m_pSandbox->Path("Log"));
    }

    void init()
    {
        m_script.Clear();
        NewLogLines();
    }

    void operationChangesListIndexSignalsAndLog_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("emitted");
        QTest::addColumn<QStringList>("log");

        const QStringList abc{"set a b c"};
        const QStringList onlyRemoved{"push a", "remove"};
        const QStringList pushed{LIST, IMAGE, INDEX};
        const QStringList listChanged{LIST, IMAGE};
        const QStringList indexChanged{INDEX, IMAGE};

        QTest::newRow("push onto empty list") << QStringList() << "push a" << QStringList{"a"} << 0 << "a" << pushed
                                              << QStringList{"[NORMAL] Push Image"};
        QTest::newRow("push makes the new last image current")
            << abc << "push d" << QStringList{"a", "b", "c", "d"} << 3 << "d" << pushed
            << QStringList{"[NORMAL] Push Image"};
        QTest::newRow("push after removing the only image")
            << onlyRemoved << "push b" << QStringList{"b"} << 0 << "b" << pushed << QStringList{"[NORMAL] Push Image"};

        QTest::newRow("set replaces all and makes the first current")
            << QStringList{"set a b c", "index 2"} << "set x y" << QStringList{"x", "y"} << 0 << "x" << listChanged
            << QStringList();
        QTest::newRow("set an empty list")
            << QStringList{"set a b", "index 1"} << "set" << QStringList() << 0 << "" << listChanged << QStringList();
        QTest::newRow("set after removing the only image")
            << onlyRemoved << "set x" << QStringList{"x"} << 0 << "x" << listChanged << QStringList();

        QTest::newRow("replace the current image")
            << QStringList{"set a b c", "index 1"} << "replace x" << QStringList{"a", "x", "c"} << 1 << "x"
            << QStringList{IMAGE} << QStringList();
        QTest::newRow("replace on an empty list")
            << QStringList() << "replace x" << QStringList{"x"} << 0 << "x" << listChanged << QStringList();
        QTest::newRow("replace after removing the only image makes it current")
            << onlyRemoved << "replace x" << QStringList{"x"} << 0 << "x" << listChanged << QStringList();
        QTest::newRow("replace on a cleared list") << QStringList{"set a b", "index 1", "clear"} << "replace x"
                                                   << QStringList{"x"} << 0 << "x" << listChanged << QStringList();

        QTest::newRow("remove a middle image") << QStringList{"set a b c", "index 1"} << "remove"
                                               << QStringList{"a", "c"} << 1 << "c" << listChanged << QStringList();
        QTest::newRow("remove the last image") << QStringList{"set a b c", "index 2"} << "remove"
                                               << QStringList{"a", "b"} << 1 << "b" << listChanged << QStringList();
        QTest::newRow("remove the only image")
            << QStringList{"push a"} << "remove" << QStringList() << -1 << "" << listChanged << QStringList();
        QTest::newRow("remove on an empty list")
            << QStringList() << "remove" << QStringList() << 0 << "" << QStringList() << QStringList();
        QTest::newRow("remove again after removing the only image")
            << onlyRemoved << "remove" << QStringList() << -1 << "" << QStringList() << QStringList();
        QTest::newRow("remove an image that replaced the removed only one")
            << QStringList{"push a", "remove", "replace x"} << "remove" << QStringList() << -1 << "" << listChanged
            << QStringList();

        QTest::newRow("clear") << QStringList{"set a b c", "index 2"} << "clear" << QStringList() << 0 << ""
                               << listChanged << QStringList{"[NORMAL] Clear"};
        QTest::newRow("clear after removing the only image")
            << onlyRemoved << "clear" << QStringList() << 0 << "" << listChanged << QStringList{"[NORMAL] Clear"};

        QTest::newRow("next") << abc << "next" << QStringList{"a", "b", "c"} << 1 << "b" << indexChanged
                              << QStringList{"[NORMAL] Next Image At 1"};
        QTest::newRow("next on the last image")
            << QStringList{"set a b c", "index 2"} << "next" << QStringList{"a", "b", "c"} << 2 << "c" << QStringList()
            << QStringList();
        QTest::newRow("next after removing the only image")
            << onlyRemoved << "next" << QStringList() << -1 << "" << QStringList() << QStringList();

        QTest::newRow("previous") << QStringList{"set a b c", "index 2"} << "previous" << QStringList{"a", "b", "c"}
                                  << 1 << "b" << indexChanged << QStringList{"[NORMAL] Previous Image At 1"};
        QTest::newRow("previous after removing the only image")
            << onlyRemoved << "previous" << QStringList() << -1 << "" << QStringList() << QStringList();

        QTest::newRow("select an image") << abc << "index 2" << QStringList{"a", "b", "c"} << 2 << "c" << indexChanged
                                         << QStringList{"[NORMAL] Set Current Index 2"};
        QTest::newRow("select the current image")
            << abc << "index 0" << QStringList{"a", "b", "c"} << 0 << "a" << QStringList() << QStringList();
        QTest::newRow("select past the end")
            << abc << "index 3" << QStringList{"a", "b", "c"} << 0 << "a" << QStringList() << QStringList();
        QTest::newRow("select the first image after removing the only image")
            << QStringList{"push a", "remove", "push b", "push c", "index 0", "remove", "remove"} << "index 0"
            << QStringList() << -1 << "" << QStringList() << QStringList();
    }
    void operationChangesListIndexSignalsAndLog()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, step);
        QFETCH(QStringList, images);
        QFETCH(int, index);
        QFETCH(QString, current);
        QFETCH(QStringList, emitted);
        QFETCH(QStringList, log);
        CImageListModel model;
        for (const QString& strSetup : setup)
            Run(model, strSetup);
        CSignalJournal journal(&model);
        NewLogLines();

        Run(model, step);

        QCOMPARE(Names(model), images);
        QCOMPARE(model.GetCurrentIndex(), index);
        QCOMPARE(Name(model.GetCurrentImage()), current);
        QCOMPARE(journal.Take(), emitted);
        QCOMPARE(NewLogLines(), log);
    }

    void mousePositionIsAnnouncedOnlyWhenItMoves_data()
    {
        QTest::addColumn<QPointF>("start");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<bool>("announced");
        QTest::newRow("moved") << QPointF(10, 20) << QPointF(10.5, 20) << true;
        QTest::newRow("same point") << QPointF(10, 20) << QPointF(10, 20) << false;
        QTest::newRow("near zero within tolerance") << QPointF(0, 0) << QPointF(1e-13, 0) << false;
        QTest::newRow("near zero beyond tolerance") << QPointF(0, 0) << QPointF(0, 1e-6) << true;
    }
    void mousePositionIsAnnouncedOnlyWhenItMoves()
    {
        QFETCH(QPointF, start);
        QFETCH(QPointF, point);
        QFETCH(bool, announced);
        CImageListModel model;
        model.SetMousePosition(start);
        CSignalJournal journal(&model);
        NewLogLines();

        model.SetMousePosition(point);

        QCOMPARE(journal.Take(), announced ? QStringList{MOUSE} : QStringList());
        // An unannounced move keeps the stored point exactly, so small moves never add up unnoticed.
        QCOMPARE(model.GetMousePosition().x(), announced ? point.x() : start.x());
        QCOMPARE(model.GetMousePosition().y(), announced ? point.y() : start.y());
        QCOMPARE(NewLogLines(), QStringList());
    }

    void receiverReadsNewStateDuringSignal()
    {
        CImageListModel model;
        Run(model, "set a b c");
        QStringList lstSeen;
        const auto record = [&](const QString& strSignal)
        {
            return [&, strSignal]
            {
                lstSeen << QString("%1 %2 %3 %4")
                               .arg(strSignal, Names(model).join(""))
                               .arg(model.GetCurrentIndex())
                               .arg(Name(model.GetCurrentImage()));
            };
        };
        connect(&model, &CImageListModel::signal_ChangeImageList, this, record("list"));
        connect(&model, &CImageListModel::signal_ChangeCurrentImage, this, record("image"));
        connect(&model, &CImageListModel::signal_ChangeCurrentIndex, this, record("index"));

        Run(model, "push d");
        Run(model, "previous");
        Run(model, "remove");

        QCOMPARE(lstSeen, (QStringList{"list abcd 3 d", "image abcd 3 d", "index abcd 3 d", "index abcd 2 c",
                                       "image abcd 2 c", "list abd 2 d", "image abd 2 d"}));
    }

private:
    void Run(CImageListModel& model, const QString& strStep)
    {
        QVERIFY2(m_script.Run(model, strStep), qPrintable(strStep));
    }
    QStringList Names(const CImageListModel& model) const { return m_script.Names(model); }
    QString Name(const CImageListModel::ImagePtr& pImage) const { return m_script.Name(pImage); }
    // The log lines written since the last call, as "[LEVEL] text".
    QStringList NewLogLines() { return m_pLog->NewLines(); }

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CLogCapture> m_pLog;
    // Images of 2 x 2 pixels; the model must hand back these very objects.
    CImageListScript m_script{[](const QString& strName)
                              {
                                  auto pImage = std::make_shared<COvrelImage>();
                                  pImage->Create(2, 2, 3);
                                  pImage->SetName(strName.toStdWString());
                                  return pImage;
                              }};
};

QTEST_MAIN(ImageListModelTest)
#include "ImageListModelTest.moc"
