#include "CDarknetWeightsWriter.h"
#include "CInferenceTestFiles.h"
#include "CProjectFixture.h"
#include "CPromptAnswers.h"
#include "CTestSandbox.h"

#include "CEvaluationActions.h"
#include "CHeadlessEvaluation.h"
#include "MainWindow.h"
#include "project/CProjectController.h"
#include "project/evaluation/CDetectionEvaluator.h"
#include "project/evaluation/CEvaluationRun.h"
#include "project/evaluation/CEvaluationStore.h"
#include "project/inference/CDetectionModel.h"
#include "project/proposals/CRoiProposals.h"
#include "project/settings/CProjectProperties.h"
#include "project/store/CProjectLayout.h"
#include "views/CEvaluationClassTable.h"
#include "views/CEvaluationEntryList.h"
#include "views/CEvaluationView.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextStream>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(CEvaluationResult)
Q_DECLARE_METATYPE(CDoubtfulLabelList)
Q_DECLARE_METATYPE(CEvaluationRecord)
Q_DECLARE_METATYPE(const CEvaluationRecord*)

namespace
{
using namespace InferenceTestFiles;

const QString kProject = "eval";
const QStringList kClasses = {"a", "b", "c"};
// Test images in the order of their rows; "broken.jpg" does not decode.
const QStringList kTestImages = {"dog.jpg", "eagle.jpg", "horses.jpg", "broken.jpg"};
const QString kTrainImage = "person.jpg";
// The weights' objectness and class scores pushed down, so that the detections are few, as with a trained network.
constexpr float kObjectnessBias = -3.0f;
constexpr float kClassBias = -2.0f;

struct SBoxRow
{
    QString strImage;
    int nCategory; // 1-based row ID of kClasses
    QRectF box;
};
// Class "c" has no box: it is listed and stays out of the means.
const QVector<SBoxRow> kBoxes = {
    {"dog.jpg", 1, QRectF(120, 210, 200, 330)},
    {"dog.jpg", 2, QRectF(460, 70, 230, 100)},
    {"horses.jpg", 1, QRectF(0, 100, 280, 300)},
    {"person.jpg", 2, QRectF(180, 90, 120, 330)},
};
} // namespace

// The Evaluate and Check Training Labels commands of the window, and the evaluation without window, on one small
// project: three decodable test images with boxes of two of three classes, a broken one, and one training image.
class EvaluationRunTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void evaluateWritesOneRecordWithEvaluatorsFigures();
    void evaluateMeasuresTheChosenWeightsAtTheProjectsThreshold();
    void secondEvaluationIsComparedWithTheFirst();
    void cancelledEvaluationSavesNothing();
    void badInputsAreToldAndSaveNothing_data();
    void badInputsAreToldAndSaveNothing();
    void checkTrainingLabelsSavesNoRecord();
    void openingAnEntryShowsItsDetectionsAsProposals();
    void evaluateWithoutWindowExitCodes_data();
    void evaluateWithoutWindowExitCodes();

private:
    QString Dir() const { return m_strDir; }
    QString Weights() const { return Dir() + "/Backup/model.weights"; }
    QStringList EvaluationFiles() const
    {
        return QDir(Dir() + "/" + CProjectLayout::EVALUATION_FOLDER).entryList(QDir::Files);
    }
    CEvaluationActions* Actions() const { return m_pWindow->findChild<CEvaluationActions*>(); }
    // What the evaluator gives for the detections the model makes on the decodable test images.
    CEvaluationResult Expected() const;

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CPromptAnswers> m_pAnswers;
    std::unique_ptr<MainWindow> m_pWindow;
    QString m_strDir;
    QByteArray m_config;
};

void EvaluationRunTest::initTestCase()
{
    qRegisterMetaType<CEvaluationResult>();
    qRegisterMetaType<CDoubtfulLabelList>();
    qRegisterMetaType<CEvaluationRecord>();
    qRegisterMetaType<const CEvaluationRecord*>();
    m_pSandbox = std::make_unique<CTestSandbox>();
    m_strDir = CProjectFixture::CreateProject(m_pSandbox->Home(), kProject);
    QVERIFY(!m_strDir.isEmpty());
    QDir dir(m_strDir);
    QVERIFY(dir.mkpath("Images") && dir.mkpath("Backup"));
    QStringList lstStatements = {"DELETE FROM category"};
    for (const QString& strClass : kClasses)
        lstStatements << "INSERT INTO category (NAME) VALUES ('" + strClass + "')";
    QStringList lstImages = kTestImages;
    lstImages << kTrainImage;
    for (const QString& strImage : lstImages)
    {
        const QString strTarget = dir.filePath("Images/" + strImage);
        if (strImage == "broken.jpg")
            QVERIFY(WriteFile(strTarget, "not an image"));
        else
            QVERIFY(QFile::copy(SAMPLE_FOLDER + strImage, strTarget));
        const QSize size = QImage(strTarget).size();
        lstStatements << QString("INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                                 "VALUES ('%1', '%2', '%3', %4, %5, 1)")
                             .arg(strImage, CProjectLayout::StoredImagePath(strImage),
                                  strImage == kTrainImage ? "train" : "test")
                             .arg(size.width())
                             .arg(size.height());
    }
    for (const SBoxRow& row : kBoxes)
        lstStatements << QString("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) SELECT %1, %2, "
                                 "%3, %4, ID, (SELECT ID FROM category WHERE NAME = '%5') FROM dataset_image "
                                 "WHERE NAME = '%6'")
                             .arg(row.box.x())
                             .arg(row.box.y())
                             .arg(row.box.width())
                             .arg(row.box.height())
                             .arg(kClasses[row.nCategory - 1], row.strImage);
    bool bOk = false;
    CProjectFixture::Query(CProjectFixture::DataFile(m_strDir, kProject), lstStatements, &bOk);
    QVERIFY(bOk);
    m_config = SmallConfiguration(kClasses.size());
    QVERIFY(!m_config.isEmpty());
}

void EvaluationRunTest::init()
{
    QDir(Dir() + "/" + CProjectLayout::EVALUATION_FOLDER).removeRecursively();
    // The threshold a test set does not carry over.
    CProjectFixture::Query(CProjectFixture::DataFile(Dir(), kProject), {"DELETE FROM project_property WHERE NAME = '" +
                                                                        CProjectProperties::DETECTION_THRESHOLD + "'"});
    QVERIFY(WriteFile(Dir() + "/" + CProjectLayout::CONFIGURATION_FILE, m_config));
    QVERIFY(CDarknetWeightsWriter::Write(m_config, Weights(), 27, 0, kObjectnessBias, kClassBias));
    m_pAnswers = std::make_unique<CPromptAnswers>();
    m_pWindow = std::make_unique<MainWindow>();
    m_pWindow->slot_OpenProject(Dir(), kProject);
    QVERIFY(Actions());
    QVERIFY(Actions()->pEvaluate->isEnabled());
}

void EvaluationRunTest::cleanup()
{
    m_pWindow.reset();
    m_pAnswers.reset();
}

CEvaluationResult EvaluationRunTest::Expected() const
{
    CDetectionModel model;
    CDetectionEvaluator evaluator(kClasses, CDetectionModel::DEFAULT_THRESHOLD);
    if (!model.Load(Dir() + "/" + CProjectLayout::CONFIGURATION_FILE, Weights()))
        return CEvaluationResult();
    for (const QString& strImage : kTestImages.mid(0, 3))
    {
        CLabelledBoxList boxes;
        for (const SBoxRow& row : kBoxes)
        {
            if (row.strImage == strImage)
                boxes.append({row.nCategory - 1, row.box});
        }
        CDetectionList detections;
        model.DetectFile(Dir() + "/Images/" + strImage, CDetectionModel::VALID_THRESHOLD, detections);
        evaluator.AddImage(strImage, boxes, detections);
    }
    return evaluator.Evaluate();
}

void EvaluationRunTest::evaluateWritesOneRecordWithEvaluatorsFigures()
{
    QSignalSpy evaluated(Actions()->Run(), &CEvaluationRun::signal_Evaluated);
    QSignalSpy finished(Actions()->Run(), &CEvaluationRun::signal_Finished);

    Actions()->pEvaluate->trigger();

    QVERIFY(finished.wait(60000));
    QCOMPARE(evaluated.size(), 1);
    const auto result = evaluated[0][0].value<CEvaluationResult>();
    const CEvaluationResult expected = Expected();
    // Three decodable images; boxes as stored: a 2, b 1, c none (listed, out of the mean).
    QCOMPARE(result.ImageCount, 3);
    QCOMPARE(result.Classes.size(), 3);
    QCOMPARE(result.Classes[0].Boxes, 2);
    QCOMPARE(result.Classes[1].Boxes, 1);
    QCOMPARE(result.Classes[2].Boxes, 0);
    QCOMPARE(result.ClassesInMean, 2);
    QCOMPARE(result.ScoreThreshold, double(CDetectionModel::DEFAULT_THRESHOLD));
    QVERIFY(expected.Classes[0].Detections + expected.Classes[1].Detections > 0);
    for (int nClass = 0; nClass < kClasses.size(); ++nClass)
    {
        QCOMPARE(result.Classes[nClass].Detections, expected.Classes[nClass].Detections);
        QCOMPARE(result.Classes[nClass].AP50, expected.Classes[nClass].AP50);
        QCOMPARE(result.Classes[nClass].AP50To95, expected.Classes[nClass].AP50To95);
        QCOMPARE(result.Classes[nClass].TruePositives, expected.Classes[nClass].TruePositives);
        QCOMPARE(result.Classes[nClass].FalsePositives, expected.Classes[nClass].FalsePositives);
    }
    QCOMPARE(result.MeanAP50, expected.MeanAP50);
    QCOMPARE(result.MeanAP50To95, expected.MeanAP50To95);

    // One record, holding those figures and the weights; no earlier one to compare with.
    const QStringList lstFiles = EvaluationFiles();
    QCOMPARE(lstFiles.size(), 1);
    QCOMPARE(evaluated[0][4].toString(), Dir() + "/" + CProjectLayout::EVALUATION_FOLDER + "/" + lstFiles[0]);
    QCOMPARE(evaluated[0][3].value<const CEvaluationRecord*>(), nullptr);
    const QVector<CEvaluationRecord> records = CEvaluationStore(Dir() + "/Evaluation").LoadNewest(1);
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].WeightsPath, Weights());
    QCOMPARE(records[0].ImageCount, 3);
    QCOMPARE(records[0].MeanAP50, expected.MeanAP50);
    QCOMPARE(records[0].Classes[0].AP50, expected.Classes[0].AP50);

    // The dock shows them, the class without boxes included.
    const CEvaluationClassTable* pTable = m_pWindow->GetEvaluationView()->GetClassTable();
    QCOMPARE(pTable->rowCount(), 3);
    QCOMPARE(pTable->CellText("a", CEvaluationClassTable::EColumn_Boxes), QString("2"));
    QCOMPARE(pTable->CellText("a", CEvaluationClassTable::EColumn_AP50),
             QString::number(expected.Classes[0].AP50, 'f', 3));
    QCOMPARE(pTable->CellText("b", CEvaluationClassTable::EColumn_Detections),
             QString::number(expected.Classes[1].Detections));
    QCOMPARE(pTable->CellText("c", CEvaluationClassTable::EColumn_Boxes), QString("0"));
    QVERIFY(m_pWindow->findChild<QDockWidget*>("Evaluation")->isVisibleTo(m_pWindow.get()));

    // The image that did not decode is said.
    QCOMPARE(finished[0][0].toBool(), false);
    QCOMPARE(finished[0][1].toInt(), 1);
    QVERIFY(!m_pAnswers->asked.isEmpty());
    QCOMPARE(m_pAnswers->asked.last().strText, QString("1 images did not decode and were left out (see the log)."));
}

void EvaluationRunTest::evaluateMeasuresTheChosenWeightsAtTheProjectsThreshold()
{
    const QString strChosen = Dir() + "/chosen.weights";
    QFile::remove(strChosen);
    QVERIFY(QFile::copy(Weights(), strChosen));
    m_pAnswers->files.push_back(strChosen);
    m_pAnswers->texts.push_back("0.5");
    m_pWindow->GetAction("Choose Weights...")->trigger();
    m_pWindow->GetAction("Detection Threshold...")->trigger();
    QSignalSpy finished(Actions()->Run(), &CEvaluationRun::signal_Finished);

    Actions()->pEvaluate->trigger();

    QVERIFY(finished.wait(60000));
    const QVector<CEvaluationRecord> records = CEvaluationStore(Dir() + "/Evaluation").LoadNewest(1);
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].WeightsPath, strChosen);
    QCOMPARE(records[0].ScoreThreshold, 0.5);
}

void EvaluationRunTest::secondEvaluationIsComparedWithTheFirst()
{
    QSignalSpy evaluated(Actions()->Run(), &CEvaluationRun::signal_Evaluated);
    QSignalSpy finished(Actions()->Run(), &CEvaluationRun::signal_Finished);
    Actions()->pEvaluate->trigger();
    QVERIFY(finished.wait(60000));
    QDateTime firstDate;
    QString strFirstAP;
    QObject::connect(Actions()->Run(), &CEvaluationRun::signal_Evaluated, this,
                     [&](const CEvaluationResult&, const CDoubtfulLabelList&, const CEvaluationRecord&,
                         const CEvaluationRecord* pPrevious, const QString&)
                     {
                         firstDate = pPrevious ? pPrevious->Date : QDateTime();
                         strFirstAP = pPrevious ? QString::number(pPrevious->Classes[0].AP50, 'f', 3) : QString();
                     });

    Actions()->pEvaluate->trigger();

    QVERIFY(finished.wait(60000));
    QCOMPARE(evaluated.size(), 2);
    QCOMPARE(EvaluationFiles().size(), 2);
    // The one before, not the one just saved.
    QCOMPARE(firstDate, evaluated[0][2].value<CEvaluationRecord>().Date);
    QVERIFY(firstDate != evaluated[1][2].value<CEvaluationRecord>().Date);
    QCOMPARE(m_pWindow->GetEvaluationView()->GetClassTable()->CellText("a", CEvaluationClassTable::EColumn_Change),
             "= was " + strFirstAP);
}

void EvaluationRunTest::cancelledEvaluationSavesNothing()
{
    QSignalSpy evaluated(Actions()->Run(), &CEvaluationRun::signal_Evaluated);
    QSignalSpy finished(Actions()->Run(), &CEvaluationRun::signal_Finished);
    Actions()->pEvaluate->trigger();
    QVERIFY(Actions()->Progress());

    // Before any image's detections arrive: they are queued behind this click.
    QTest::mouseClick(Actions()->Progress()->findChild<QPushButton*>(), Qt::LeftButton);

    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished[0][0].toBool(), true);
    QCOMPARE(m_pWindow->GetEvaluationView()->StatusText(), QString("Cancelled: nothing was saved."));
    QVERIFY(!Actions()->Run()->IsRunning());
    QVERIFY(Actions()->pEvaluate->isEnabled());
    // A second run goes to its end: nothing of the cancelled one came in between or is saved.
    Actions()->pEvaluate->trigger();
    QVERIFY(finished.wait(60000));
    QCOMPARE(evaluated.size(), 1);
    QCOMPARE(evaluated[0][0].value<CEvaluationResult>().ImageCount, 3);
    QCOMPARE(EvaluationFiles().size(), 1);
}

void EvaluationRunTest::badInputsAreToldAndSaveNothing_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("told");
    QTest::newRow("no weights") << "no weights"
                                << "No trained weights in " + QString() + "%1/Backup";
    QTest::newRow("no configuration, build declined")
        << "no configuration"
        << CDetectionModel::MissingConfigurationText("%1/config.txt") + "\n\nBuild the project now?";
    QTest::newRow("weights that do not fit") << "short weights"
                                             << "weights";
}

void EvaluationRunTest::badInputsAreToldAndSaveNothing()
{
    QFETCH(QString, fault);
    QFETCH(QString, told);
    if (fault == "no weights")
        QVERIFY(QFile::remove(Weights()));
    else if (fault == "no configuration")
        QVERIFY(QFile::remove(Dir() + "/config.txt"));
    else
        QVERIFY(CDarknetWeightsWriter::Write(m_config, Weights(), 27, 1000));
    QSignalSpy finished(Actions()->Run(), &CEvaluationRun::signal_Finished);
    m_pAnswers->messages.push_back(QMessageBox::No);

    Actions()->pEvaluate->trigger();
    if (fault == "short weights")
        QVERIFY(finished.wait(60000));

    QCOMPARE(m_pAnswers->asked.size(), 1);
    if (fault == "short weights")
        QVERIFY2(m_pAnswers->asked[0].strText.contains(told), qPrintable(m_pAnswers->asked[0].strText));
    else
        QCOMPARE(m_pAnswers->asked[0].strText, told.arg(Dir()));
    QVERIFY(!Actions()->Run()->IsRunning());
    QVERIFY(EvaluationFiles().isEmpty());
}

void EvaluationRunTest::checkTrainingLabelsSavesNoRecord()
{
    QSignalSpy found(Actions()->Run(), &CEvaluationRun::signal_SuspectsFound);
    QSignalSpy evaluated(Actions()->Run(), &CEvaluationRun::signal_Evaluated);
    QSignalSpy finished(Actions()->Run(), &CEvaluationRun::signal_Finished);

    Actions()->pCheckLabels->trigger();

    QVERIFY(finished.wait(60000));
    QCOMPARE(found.size(), 1);
    QCOMPARE(evaluated.size(), 0);
    // Only the training image was looked at: its suspects, if any, name it.
    for (const CDoubtfulLabel& suspect : found[0][0].value<CDoubtfulLabelList>())
        QCOMPARE(suspect.ImageKey, kTrainImage);
    QVERIFY(Actions()->Run()->ImageIDOf(kTrainImage) >= 0);
    QCOMPARE(Actions()->Run()->ImageIDOf("dog.jpg"), -1);
    QVERIFY(EvaluationFiles().isEmpty());
    QCOMPARE(m_pWindow->GetEvaluationView()->GetList(CEvaluationView::EList_Suspect)->EntryCount(),
             found[0][0].value<CDoubtfulLabelList>().size());
}

void EvaluationRunTest::openingAnEntryShowsItsDetectionsAsProposals()
{
    QSignalSpy finished(Actions()->Run(), &CEvaluationRun::signal_Finished);
    Actions()->pEvaluate->trigger();
    QVERIFY(finished.wait(60000));
    QString strKey;
    for (const QString& strImage : kTestImages)
    {
        if (strKey.isEmpty() && !Actions()->Run()->DetectionsOf(strImage).isEmpty())
            strKey = strImage;
    }
    QVERIFY2(!strKey.isEmpty(), "no test image has detections at the threshold");

    // As a double-click on the dock's entry of that image asks (the dock's own test clicks it).
    emit m_pWindow->GetEvaluationView()->signal_OpenImage(strKey, CDetectionList());

    CProjectController* pController = m_pWindow->GetProjectController();
    QCOMPARE(pController->GetCurrentImageID(), Actions()->Run()->ImageIDOf(strKey));
    const std::vector<CProposal> vctShown = pController->Proposals()->Shown(pController->GetCurrentViewID());
    QVERIFY(!vctShown.empty());
    QVERIFY(int(vctShown.size()) <= Actions()->Run()->DetectionsOf(strKey).size());
    // Not stored.
    bool bTable = false;
    const QList<QStringList> lstRows = CProjectFixture::Query(CProjectFixture::DataFile(Dir(), kProject),
                                                              {"SELECT COUNT(*) FROM dataset_proposal"}, &bTable);
    QVERIFY(!bTable || lstRows.value(0).value(0) == "0");
}

void EvaluationRunTest::evaluateWithoutWindowExitCodes_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("weights");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("error");
    const QString strHeader = "Class                  Boxes Detections    AP50    AP50:95 Precision  Recall     F1     "
                              "TP     FP Missed";
    QTest::newRow("newest weights") << kProject + ".data" << QString() << 0 << strHeader << QString();
    QTest::newRow("given weights") << kProject + ".data"
                                   << "Backup/model.weights" << 0 << strHeader << QString();
    QTest::newRow("no weights") << kProject + ".data"
                                << "Backup/none.weights" << 1 << QString()
                                << "The chosen weights %1/Backup/none.weights do not exist.";
    QTest::newRow("no project") << "other.data" << QString() << 1 << QString() << "No project file %1/other.data";
}

void EvaluationRunTest::evaluateWithoutWindowExitCodes()
{
    QFETCH(QString, project);
    QFETCH(QString, weights);
    QFETCH(int, exitCode);
    QFETCH(QString, firstLine);
    QFETCH(QString, error);
    // The window holds the project's lock.
    m_pWindow.reset();
    QString strOut;
    QString strErr;
    QTextStream out(&strOut);
    QTextStream err(&strErr);

    const int nExit = CHeadlessEvaluation::Evaluate(Dir() + "/" + project,
                                                    weights.isEmpty() ? QString() : Dir() + "/" + weights, out, err);

    QCOMPARE(nExit, exitCode);
    QCOMPARE(strOut.section('\n', 0, 0), firstLine);
    QCOMPARE(strErr.trimmed().section('\n', -1), error.arg(Dir()));
    QCOMPARE(EvaluationFiles().size(), exitCode == 0 ? 1 : 0);
    if (exitCode == 0)
    {
        QVERIFY2(strOut.contains("\nc                          0 "), qPrintable(strOut));
        QVERIFY2(strOut.contains("\nmAP@0.5 "), qPrintable(strOut));
    }
}

QTEST_MAIN(EvaluationRunTest)
#include "EvaluationRunTest.moc"
