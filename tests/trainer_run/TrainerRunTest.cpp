#include "CRoiTestCase.h"
#include "CTinyTrainingConfiguration.h"

#include <QSignalSpy>

// The real trainer on a project made the way a user makes one: sample images added through the tree, a box drawn on
// each and classified through the chooser, a small network stored as the project's configuration.
class TrainerRunTest : public CRoiTestCase
{
    Q_OBJECT

private:
    static constexpr const char* SAMPLES = "/usr/share/darknet/data";

    // An open project "run" with the class "thing", dog and eagle for training, giraffe for testing, one box each.
    void AnnotatedSampleProject(int nMaxBatches)
    {
        m_strDir = Project("run");
        QVERIFY(!m_strDir.isEmpty());
        QVERIFY(CProjectFixture::Query(CProjectFixture::DataFile(m_strDir, "run"),
                                       {"INSERT INTO category (NAME) VALUES ('thing')"})
                    .isEmpty());
        m_pCase->answers.fileLists.push_back({QString(SAMPLES) + "/dog.jpg", QString(SAMPLES) + "/eagle.jpg"});
        emit m_pCase->view.signal_AddTrainImage();
        m_pCase->answers.fileLists.push_back({QString(SAMPLES) + "/giraffe.jpg"});
        emit m_pCase->view.signal_AddTestImage();
        const QList<QStringList> lstImages = CProjectFixture::Query(CProjectFixture::DataFile(m_strDir, "run"),
                                                                    {"SELECT ID, FULL_PATH FROM dataset_image"});
        QCOMPARE(lstImages.size(), 3);
        for (const QStringList& image : lstImages)
        {
            m_pCase->answers.dialogs.push_back(CWorkspaceFixture::Choose(0, &m_lstOffered));
            emit m_pCase->view.signal_OpenImageFile(image[0].toInt(), image[1]);
            AnswerClass("thing");
            Draw(0, QPointF(120, 80), QPointF(420, 400));
        }
        QCOMPARE(CProjectFixture::Query(CProjectFixture::DataFile(m_strDir, "run"),
                                        {"SELECT COUNT(*) FROM dataset_roi WHERE CATEGORY_ID = 1"}),
                 QList<QStringList>({{"3"}}));
        m_pCase->controller.slot_UpdateProjectProperty("PROJECT_CONFIGURATION",
                                                       TinyTraining::Configuration(nMaxBatches));
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", QString("/usr/bin/darknet"));
        CSetting::Set("TAMSEL_COMMAND_ARG_YOLO3", QString("detector train"));
    }

    // True once an iteration summary and a detection line that counted boxes are in the log.
    bool TrainedOnBoxes() const
    {
        const QStringList lstLog = Log();
        static const QRegularExpression iteration("^\\[NORMAL\\] \\d+: [-\\d.naif]+, [-\\d.naif]+ avg");
        static const QRegularExpression counted("count: [1-9]");
        bool bIteration = false;
        bool bCounted = false;
        for (const QString& strLine : lstLog)
        {
            bIteration = bIteration || iteration.match(strLine).hasMatch();
            bCounted = bCounted || counted.match(strLine).hasMatch();
        }
        return bIteration && bCounted;
    }

private slots:
    void trainerFinishesItsBatchesAndLeavesItsWeights()
    {
        AnnotatedSampleProject(3);
        QSignalSpy states(&m_pCase->model, &CProjectModel::signal_ChangeCommandState);

        m_pCase->controller.StartCommand();

        QTRY_VERIFY_WITH_TIMEOUT(!states.isEmpty() && m_pCase->model.GetCommandState() == ECommandState_Stopped,
                                 180000);
        QVERIFY(QFileInfo(m_strDir + "/Backup/config_final.weights").size() > 0);
        QVERIFY(TrainedOnBoxes());
    }
};

QTEST_MAIN(TrainerRunTest)
#include "TrainerRunTest.moc"
