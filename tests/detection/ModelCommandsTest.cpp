#include "CDarknetWeightsWriter.h"
#include "CInferenceTestFiles.h"
#include "CMainWindowCase.h"

#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/detection/CModelCommands.h"
#include "project/inference/CDetectionModel.h"
#include "project/proposals/CRoiProposals.h"
#include "views/CDatasetReportView.h"

#include <QProgressBar>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTemporaryDir>

using namespace InferenceTestFiles;

// "Detect", "Pre-label Images", "Choose Weights..." and "Detection Threshold..." as a user gives them: the proposals
// are the model's own detections, and every bad input is told and changes nothing.
class ModelCommandsTest : public CMainWindowCase
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { NewSandboxAndWindow(); }
    void cleanup() { CloseWindow(); }

    void detectShowsModelsDetectionsOnFocusedView();
    void chosenWeightsServeUntilChoiceIsCleared();
    void thresholdOutsideRangeIsRefused_data();
    void thresholdOutsideRangeIsRefused();
    void badInputIsToldAndChangesNothing_data();
    void badInputIsToldAndChangesNothing();
    void missingConfigurationBuildsThenDetects();
    void preLabelStoresProposalsOfImagesWithoutBoxes();
    void cancelKeepsProposalsStoredSoFar_data();
    void cancelKeepsProposalsStoredSoFar();

private:
    enum EProject
    {
        EProject_Ready,
        EProject_NoWeights,
        EProject_NoConfiguration,
        EProject_WeightsOfOtherClassCount,
        EProject_UnrunnableConfiguration
    };
    // A project of three classes with the images (copied in as training images) and, as asked, the build's
    // configuration and weights in its Backup folder.
    void MakeProject(EProject eProject, const QStringList& lstImages);
    // What the model itself gives for the project's image at the threshold, as "class index" sorted.
    QStringList ModelClasses(const QString& strImage, float fThreshold) const;
    // The proposals shown on the view, as their class IDs minus one (the class index), sorted.
    QStringList ShownClasses(int nViewID) const;
    // The stored proposals per image name, "name count", sorted; none without the table.
    QStringList StoredProposals() const;
    CRoiProposals* Proposals() const { return m_pWindow->GetProjectController()->Proposals(); }
    QString Status() const { return m_pWindow->statusBar()->currentMessage(); }
    bool Idle() const;

    // Made once for the program: each project copies them.
    QTemporaryDir m_models;
};

void ModelCommandsTest::initTestCase()
{
    QVERIFY2(QFile::exists(QString(SAMPLE_FOLDER) + "dog.jpg"), "darknet is installed by scripts/install-deps.sh");
    // Negative biases make most boxes background, so that a fresh network finds a few objects, as a trained one does.
    QVERIFY(CDarknetWeightsWriter::Write(SmallConfiguration(), m_models.filePath("fit.weights"), 6, 0, -2.0f, -1.0f));
    QVERIFY(CDarknetWeightsWriter::Write(SmallConfiguration(80), m_models.filePath("other.weights"), 3));
}

void ModelCommandsTest::MakeProject(EProject eProject, const QStringList& lstImages)
{
    QVERIFY(CreateProjectFromDialog("det"));
    QStringList lstPaths;
    for (const QString& strImage : lstImages)
        lstPaths.append(QString(SAMPLE_FOLDER) + strImage);
    AddImages(true, lstPaths);
    Sql({"INSERT INTO category (NAME) VALUES ('a'), ('b'), ('c')"});
    if (eProject != EProject_NoConfiguration)
    {
        const QByteArray config = eProject == EProject_UnrunnableConfiguration
                                      ? QByteArray("[net]\nwidth=64\nheight=64\nchannels=3\n\n[lstm]\noutput=4\n")
                                      : SmallConfiguration();
        QVERIFY(WriteFile(m_strDir + "/config.txt", config));
    }
    QVERIFY(QDir(m_strDir).mkpath("Backup"));
    if (eProject != EProject_NoWeights)
    {
        const QString strWeights = eProject == EProject_WeightsOfOtherClassCount ? "other.weights" : "fit.weights";
        QVERIFY(QFile::copy(m_models.filePath(strWeights), m_strDir + "/Backup/config_last.weights"));
    }
    // Opened again, the project reads the classes written behind its back.
    emit m_pWindow->GetProjectView()->signal_CloseProject();
    m_pWindow->GetRecentMenu()->actions()[0]->trigger();
    QVERIFY(ShowWindow());
}

QStringList ModelCommandsTest::ModelClasses(const QString& strImage, float fThreshold) const
{
    CDetectionModel model;
    CDetectionList lstDetections;
    if (!model.Load(m_strDir + "/config.txt", m_strDir + "/Backup/config_last.weights") ||
        !model.DetectFile(m_strDir + "/Images/" + strImage, fThreshold, lstDetections))
        return {"model failed"};
    QStringList lstClasses;
    for (const CDetection& detection : lstDetections)
        lstClasses.append(QString::number(detection.ClassIndex));
    lstClasses.sort();
    return lstClasses;
}

QStringList ModelCommandsTest::ShownClasses(int nViewID) const
{
    QStringList lstClasses;
    for (const CProposal& proposal : Proposals()->Shown(nViewID))
        lstClasses.append(QString::number(proposal.nCategoryID - 1));
    lstClasses.sort();
    return lstClasses;
}

QStringList ModelCommandsTest::StoredProposals() const
{
    if (Sql({"SELECT name FROM sqlite_master WHERE name = 'dataset_proposal'"}).isEmpty())
        return {};
    QStringList lstRows;
    for (const QStringList& row : Sql({"SELECT i.NAME, COUNT(*) FROM dataset_proposal p JOIN dataset_image i ON "
                                       "i.ID = p.IMAGE_ID GROUP BY i.NAME ORDER BY i.NAME"}))
        lstRows.append(row.join(' '));
    return lstRows;
}

bool ModelCommandsTest::Idle() const
{
    return !m_pWindow->GetProjectController()->ModelCommands()->IsRunning();
}

void ModelCommandsTest::detectShowsModelsDetectionsOnFocusedView()
{
    MakeProject(EProject_Ready, {"dog.jpg"});
    QVERIFY(ClickImageInTree("dog.jpg"));
    const QStringList lstExpected = ModelClasses("dog.jpg", CDetectionModel::DEFAULT_THRESHOLD);
    QVERIFY(!lstExpected.isEmpty());

    Canvas(0)->setFocus();
    QTest::keyClick(m_pWindow.get(), Qt::Key_D, Qt::ControlModifier);

    QTRY_COMPARE(ShownClasses(0), lstExpected);
    QCOMPARE(LogViewLines("^Model: .*config_last\\.weights \\(").size(), 1);
    QVERIFY(StoredProposals().isEmpty());

    // A higher threshold, stored in the project, gives the model's fewer detections in place of the earlier ones;
    // the loaded network serves again.
    m_pAnswers->texts.push_back("0.35");
    Action("Detection Threshold...")->trigger();
    QCOMPARE(Sql({"SELECT VALUE FROM project_property WHERE NAME = 'PROJECT_DETECTION_THRESHOLD'"}),
             QList<QStringList>{{"0.35"}});
    const QStringList lstHigher = ModelClasses("dog.jpg", 0.35f);
    QVERIFY(lstHigher.size() < lstExpected.size());
    Action("Detect")->trigger();
    QTRY_VERIFY(Idle());
    QCOMPARE(ShownClasses(0), lstHigher);
    QCOMPARE(LogViewLines("^Model: ").size(), 1);
}

void ModelCommandsTest::chosenWeightsServeUntilChoiceIsCleared()
{
    MakeProject(EProject_Ready, {"dog.jpg"});
    QVERIFY(ClickImageInTree("dog.jpg"));
    const QString strChosen = m_pSandbox->Path("chosen.weights");
    QVERIFY(QFile::copy(m_models.filePath("fit.weights"), strChosen));

    m_pAnswers->files.push_back(strChosen);
    Action("Choose Weights...")->trigger();
    Action("Detect")->trigger();
    QTRY_COMPARE(LogViewLines("^Model: ").size(), 1);
    QVERIFY(LogViewLines("^Model: ")[0].startsWith("Model: " + strChosen + " ("));

    // An empty answer goes back to the newest weights of the Backup folder.
    m_pAnswers->files.push_back(QString());
    Action("Choose Weights...")->trigger();
    QTRY_VERIFY(Idle());
    Action("Detect")->trigger();
    QTRY_COMPARE(LogViewLines("^Model: ").size(), 2);
    QVERIFY(LogViewLines("^Model: ")[1].contains("/Backup/config_last.weights ("));
}

void ModelCommandsTest::thresholdOutsideRangeIsRefused_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("below the lowest score written") << "0.001";
    QTest::newRow("one") << "1";
    QTest::newRow("no number") << "high";
}

void ModelCommandsTest::thresholdOutsideRangeIsRefused()
{
    QFETCH(QString, answer);
    MakeProject(EProject_Ready, {});
    m_pAnswers->texts.push_back(answer);
    m_pAnswers->asked.clear();

    Action("Detection Threshold...")->trigger();

    QCOMPARE(m_pAnswers->asked.size(), 2);
    QCOMPARE(m_pAnswers->asked[1].eIcon, QMessageBox::Warning);
    QVERIFY(m_pAnswers->asked[1].strText.startsWith(answer + " is no detection threshold"));
    QVERIFY(Sql({"SELECT VALUE FROM project_property WHERE NAME = 'PROJECT_DETECTION_THRESHOLD'"}).isEmpty());
}

void ModelCommandsTest::badInputIsToldAndChangesNothing_data()
{
    QTest::addColumn<int>("project");
    QTest::addColumn<bool>("breakImage");
    QTest::addColumn<QString>("message");

    QTest::newRow("no weights") << int(EProject_NoWeights) << false << "No trained weights in ";
    QTest::newRow("weights of another class count")
        << int(EProject_WeightsOfOtherClassCount) << false << "do not fit the configuration";
    QTest::newRow("unrunnable configuration") << int(EProject_UnrunnableConfiguration) << false << "cannot be run";
    QTest::newRow("missing configuration, build declined")
        << int(EProject_NoConfiguration) << false << "is missing: build the project first";
    QTest::newRow("image that does not decode") << int(EProject_Ready) << true << "does not decode";
}

void ModelCommandsTest::badInputIsToldAndChangesNothing()
{
    QFETCH(int, project);
    QFETCH(bool, breakImage);
    QFETCH(QString, message);
    MakeProject(EProject(project), {"dog.jpg"});
    QVERIFY(ClickImageInTree("dog.jpg"));
    if (breakImage)
        QVERIFY(WriteFile(m_strDir + "/Images/dog.jpg", "not a picture"));
    const QList<QStringList> lstRowsBefore = Sql({"SELECT * FROM dataset_roi"});
    m_pAnswers->asked.clear();

    Canvas(0)->setFocus();
    QTest::keyClick(m_pWindow.get(), Qt::Key_D, Qt::ControlModifier);

    QTRY_COMPARE(m_pAnswers->asked.size(), 1);
    QTRY_VERIFY(Idle());
    QVERIFY2(m_pAnswers->asked[0].strText.contains(message), qPrintable(m_pAnswers->asked[0].strText));
    QTRY_COMPARE(LogViewLines(QRegularExpression::escape(message)).size(), 1);
    QVERIFY(Proposals()->Shown(0).empty());
    QVERIFY(StoredProposals().isEmpty());
    QCOMPARE(Sql({"SELECT * FROM dataset_roi"}), lstRowsBefore);
    QVERIFY(!QFileInfo::exists(m_strDir + "/train.txt"));
}

void ModelCommandsTest::missingConfigurationBuildsThenDetects()
{
    MakeProject(EProject_NoConfiguration, {"dog.jpg"});
    m_pWindow->GetProjectController()->slot_UpdateProjectProperty("PROJECT_CONFIGURATION", SmallConfiguration());
    m_pWindow->GetProjectController()->slot_UpdateProjectProperty("PROJECT_ALLOW_NO_BOXES", true);
    QVERIFY(ClickImageInTree("dog.jpg"));
    m_pAnswers->messages.push_back(QMessageBox::Yes);
    m_pAnswers->asked.clear();

    Canvas(0)->setFocus();
    QTest::keyClick(m_pWindow.get(), Qt::Key_D, Qt::ControlModifier);

    QCOMPARE(ProjectFile("config.txt"), SmallConfiguration());
    QTRY_VERIFY(Idle());
    QCOMPARE(ShownClasses(0), ModelClasses("dog.jpg", CDetectionModel::DEFAULT_THRESHOLD));
    QCOMPARE(m_pAnswers->asked.size(), 1);
}

void ModelCommandsTest::preLabelStoresProposalsOfImagesWithoutBoxes()
{
    MakeProject(EProject_Ready, {"dog.jpg", "eagle.jpg", "horses.jpg", "person.jpg"});
    // dog.jpg has a box; person.jpg no longer decodes; horses.jpg is a test image.
    Sql({QString("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES (10, 10, 50, 50, %1, 1)")
             .arg(ImageID("dog.jpg")),
         QString("UPDATE dataset_image SET TYPE = 'test' WHERE ID = %1").arg(ImageID("horses.jpg"))});
    emit m_pWindow->GetProjectView()->signal_CloseProject();
    m_pWindow->GetRecentMenu()->actions()[0]->trigger();
    QCOMPARE(int(m_pWindow->GetProjectModel()->GetTestImages().size()), 1);
    QStringList lstExpected;
    int nWithProposals = 0;
    for (const QString strImage : {"eagle.jpg", "horses.jpg"})
    {
        const int nCount = ModelClasses(strImage, CDetectionModel::DEFAULT_THRESHOLD).size();
        nWithProposals += nCount > 0 ? 1 : 0;
        if (nCount > 0)
            lstExpected.append(QString("%1 %2").arg(strImage).arg(nCount));
    }
    QVERIFY(nWithProposals > 0);
    QVERIFY(WriteFile(m_strDir + "/Images/person.jpg", "not a picture"));
    Action("Dataset Report")->trigger();
    QVERIFY(!m_pWindow->GetDatasetReportView()->GetSummary().contains("proposals"));

    Action("Pre-label Images")->trigger();

    QTRY_VERIFY(Status().startsWith("Pre-label: "));
    QCOMPARE(StoredProposals(), lstExpected);
    QCOMPARE(Status(), QString("Pre-label: %1 image(s) got proposals, %2 had none, 1 skipped (did not decode)")
                           .arg(nWithProposals)
                           .arg(2 - nWithProposals));
    QTRY_VERIFY(!m_pWindow->findChild<QProgressDialog*>());
    // The report left open counts the images with proposals to review.
    QVERIFY(m_pWindow->GetDatasetReportView()->GetSummary().contains(
        QString(", %1 images with proposals to accept or reject").arg(nWithProposals)));
}

void ModelCommandsTest::cancelKeepsProposalsStoredSoFar_data()
{
    QTest::addColumn<bool>("closeProject");
    QTest::newRow("Cancel pressed") << false;
    QTest::newRow("project closed") << true;
}

void ModelCommandsTest::cancelKeepsProposalsStoredSoFar()
{
    QFETCH(bool, closeProject);
    MakeProject(EProject_Ready, {});
    QStringList lstPaths;
    QVERIFY(QDir().mkpath(m_pSandbox->Path("camera")));
    for (int i = 0; i < 40; ++i)
    {
        lstPaths.append(m_pSandbox->Path(QString("camera/dog%1.jpg").arg(i)));
        QVERIFY(QFile::copy(QString(SAMPLE_FOLDER) + "dog.jpg", lstPaths.last()));
    }
    AddImages(true, lstPaths);
    QVERIFY(!ModelClasses("dog0.jpg", CDetectionModel::DEFAULT_THRESHOLD).isEmpty());

    Action("Pre-label Images")->trigger();
    auto* pDialog = m_pWindow->findChild<QProgressDialog*>();
    QVERIFY(pDialog && pDialog->isVisible());
    // One run at a time: a Detect meanwhile is refused.
    Action("Detect")->trigger();
    QCOMPARE(Status(), QString("A detection is running: wait for it to end"));
    int nDoneAtCancel = -1;
    // The run ends once the first image is done.
    connect(pDialog->findChild<QProgressBar*>(), &QProgressBar::valueChanged, pDialog,
            [this, pDialog, closeProject, &nDoneAtCancel](int nValue)
            {
                if (nValue < 1 || nDoneAtCancel >= 0)
                    return;
                nDoneAtCancel = nValue;
                if (closeProject)
                    emit m_pWindow->GetProjectView()->signal_CloseProject();
                else
                    QTest::mouseClick(pDialog->findChild<QPushButton*>(), Qt::LeftButton);
            });

    QTRY_VERIFY(Status().startsWith("Pre-label cancelled"));
    QVERIFY(Idle());
    QCOMPARE(StoredProposals().size(), nDoneAtCancel);
    QVERIFY(nDoneAtCancel < 40);
    QVERIFY2(Status().contains(QString("the proposals of %1 image(s) are kept").arg(nDoneAtCancel)),
             qPrintable(Status()));
    QTRY_VERIFY(!m_pWindow->findChild<QProgressDialog*>());
}

int RunModelCommandsTest(int argc, char** argv)
{
    ModelCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ModelCommandsTest.moc"
