#include "CBuildTestCase.h"
#include "CInsightRun.h"

#include "project/run/CTrainingChartModel.h"
#include "project/run/CTrainingRun.h"
#include "project/settings/CNetworkConfiguration.h"

#include <QAction>
#include <QCheckBox>
#include <QImageReader>

// "Fit to Classes" on real configurations: the text it writes, the editor's one undoable edit, and the installed
// trainer loading and training the fitted default network.
class FitToClassesTest : public CBuildTestCase
{
    Q_OBJECT

private:
    static QString DefaultConfiguration() { return InsightRun::ReadText(":/Files/yolov3.cfg"); }

    // "filters classes" of each detection layer: the filters of the convolution before it and its classes.
    static QStringList DetectionLayers(const QString& strText)
    {
        QStringList lstLayers;
        QString strFilters;
        QString strSection;
        for (const QString& strRaw : strText.split('\n'))
        {
            const QString strLine = strRaw.trimmed();
            if (strLine.startsWith('['))
                strSection = strLine;
            const QString strKey = strLine.section('=', 0, 0).trimmed();
            if (strSection == "[convolutional]" && strKey == "filters")
                strFilters = strLine.section('=', 1).trimmed();
            if ((strSection == "[yolo]" || strSection == "[region]") && strKey == "classes")
                lstLayers.append(strFilters + " " + strLine.section('=', 1).trimmed());
        }
        return lstLayers;
    }

    QString StoredConfiguration() const
    {
        const QList<QStringList> lstRows =
            CProjectFixture::Query(CProjectFixture::DataFile(m_strDir, "fit"),
                                   {"SELECT VALUE FROM project_property WHERE NAME = 'PROJECT_CONFIGURATION'"});
        return lstRows.isEmpty() ? QString("<none>") : lstRows[0][0];
    }

    QString m_strDir;

private slots:
    void fittingSetsClassesAndFilters_data()
    {
        QTest::addColumn<QString>("configuration");
        QTest::addColumn<int>("classes");
        QTest::addColumn<QStringList>("layers");

        QTest::newRow("default, 3 classes") << DefaultConfiguration() << 3 << QStringList({"24 3", "24 3", "24 3"});
        QTest::newRow("default, 1 class") << DefaultConfiguration() << 1 << QStringList({"18 1", "18 1", "18 1"});
        QTest::newRow("tiny, 2 classes") << InsightRun::ReadText("/usr/share/darknet/cfg/yolov3-tiny.cfg") << 2
                                         << QStringList({"21 2", "21 2"});
        QTest::newRow("region counts num") << "[net]\n[convolutional]\nfilters=425\n[region]\nnum=5\nclasses=80\n"
                                           << 4 << QStringList({"45 4"});
        QTest::newRow("mask of two, no classes line") << "[convolutional]\nfilters=9\n[yolo]\nmask=0,1\nnum=6\n"
                                                      << 5 << QStringList({"20 5"});
    }

    void fittingSetsClassesAndFilters()
    {
        QFETCH(QString, configuration);
        QFETCH(int, classes);
        QFETCH(QStringList, layers);

        const QString strFitted = CNetworkConfiguration::FitToClasses(configuration, classes, false);

        QCOMPARE(DetectionLayers(strFitted), layers);
        QCOMPARE(CNetworkConfiguration::Classes(strFitted), classes);
        // Only classes= and filters= lines change; nothing is added where the line was there.
        if (configuration.contains("classes"))
            QCOMPARE(strFitted.count('\n'), configuration.count('\n'));
    }

    void trainingValuesReplaceTestingValues_data()
    {
        QTest::addColumn<QString>("net");
        QTest::addColumn<QString>("fitted");

        QTest::newRow("default comments") << "[net]\n# Testing\nbatch=1\nsubdivisions=1\n# Training\n# batch=64\n"
                                             "# subdivisions=16\nwidth=416\n"
                                          << "[net]\n# Testing\n# batch=1\n# subdivisions=1\n# Training\nbatch=64\n"
                                             "subdivisions=16\nwidth=416\n";
        QTest::newRow("no training lines") << "[net]\nbatch=1\nsubdivisions=1\n"
                                           << "[net]\nbatch=64\nsubdivisions=16\n# batch=1\n# subdivisions=1\n";
        QTest::newRow("already training") << "[net]\nbatch=64\nsubdivisions=16\n"
                                          << "[net]\nbatch=64\nsubdivisions=16\n";
        QTest::newRow("windows line ends") << "[net]\r\nbatch=1\r\n# batch=64\r\nsubdivisions=16\r\n"
                                           << "[net]\r\n# batch=1\r\nbatch=64\r\nsubdivisions=16\r\n";
    }

    void trainingValuesReplaceTestingValues()
    {
        QFETCH(QString, net);
        QFETCH(QString, fitted);

        QCOMPARE(CNetworkConfiguration::FitToClasses(net, 3, true), fitted);
        QCOMPARE(CNetworkConfiguration::FitToClasses(net, 3, false), net);
    }

    // The editor fits the text in one edit: stored once, undone in one step (and the undone text stored again).
    void editorFitsInOneUndoableStoredEdit_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<bool>("training");
        QTest::newRow("button") << false << false;
        QTest::newRow("menu entry, training values") << true << true;
    }

    void editorFitsInOneUndoableStoredEdit()
    {
        QFETCH(bool, byMenu);
        QFETCH(bool, training);
        m_strDir = Project("fit", Statements({"a", "b", "c"}, {}, {}));
        QVERIFY(!m_strDir.isEmpty());
        const QString strDefault = StoredConfiguration();
        QCOMPARE(DetectionLayers(strDefault), QStringList({"255 80", "255 80", "255 80"}));
        QStringList lstStored;
        QString strAfterFit;
        QString strAfterUndo;
        m_pCase->answers.dialogs.push_back(
            [&](QDialog* pDialog)
            {
                auto* pEditor = qobject_cast<CConfigurationEditorView*>(pDialog);
                if (!pEditor)
                    return 0;
                connect(pEditor, &CConfigurationEditorView::signal_UpdateProjectProperty, pEditor,
                        [&](const QString&, const QVariant& value) { lstStored.append(value.toString()); });
                pEditor->GetTrainingValuesBox()->setChecked(training);
                if (byMenu)
                    pEditor->GetFitAction()->trigger();
                else
                    QTest::mouseClick(pEditor->GetFitButton(), Qt::LeftButton);
                strAfterFit = StoredConfiguration();
                pEditor->GetTextView()->GetTextEdit()->undo();
                strAfterUndo = StoredConfiguration();
                return 1;
            });

        emit m_pCase->view.signal_EditConfiguration();

        QCOMPARE(lstStored.size(), 2);
        QCOMPARE(lstStored[0], strAfterFit);
        QCOMPARE(DetectionLayers(strAfterFit), QStringList({"24 3", "24 3", "24 3"}));
        QCOMPARE(strAfterFit.contains("\nbatch=64\n"), training);
        QCOMPARE(strAfterUndo, strDefault);
    }

    // The default network fitted to three classes, trained by the installed trainer on a 64 x 64 input for one step.
    void trainerLoadsAndTrainsTheFittedDefaultNetwork()
    {
        QVERIFY2(QFile::exists(InsightRun::DARKNET), "darknet is installed by scripts/install-deps.sh");
        QStringList lstImages;
        QStringList lstRois;
        int nImage = 0;
        for (const char* strName : {"dog.jpg", "eagle.jpg", "giraffe.jpg"})
        {
            const QSize size = QImageReader(QString(InsightRun::SAMPLES) + "/" + strName).size();
            lstImages.append(QString("%1 %2x%3").arg(QString(strName)).arg(size.width()).arg(size.height()));
            ++nImage;
            lstRois.append(QString("20 20 200 200 %1 %1").arg(nImage));
        }
        m_strDir = Project("fit", Statements({"a", "b", "c"}, lstImages, lstRois));
        QVERIFY(!m_strDir.isEmpty());
        for (const char* strName : {"dog.jpg", "eagle.jpg", "giraffe.jpg"})
            QVERIFY(QFile::copy(QString(InsightRun::SAMPLES) + "/" + strName, m_strDir + "/Images/" + strName));
        m_pCase->answers.dialogs.push_back(
            [](QDialog* pDialog)
            {
                if (auto* pEditor = qobject_cast<CConfigurationEditorView*>(pDialog))
                    QTest::mouseClick(pEditor->GetFitButton(), Qt::LeftButton);
                return 1;
            });
        emit m_pCase->view.signal_EditConfiguration();
        const QString strFitted = StoredConfiguration();
        QCOMPARE(DetectionLayers(strFitted), QStringList({"24 3", "24 3", "24 3"}));
        // Only the input size and the length of the run change for the test; the layers stay as fitted.
        m_pCase->controller.slot_UpdateProjectProperty(
            "PROJECT_CONFIGURATION",
            InsightRun::WithNet(strFitted, {{"width", "64"}, {"height", "64"}, {"max_batches", "1"}}));
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", QString(InsightRun::DARKNET));
        CSetting::Set("TAMSEL_COMMAND_ARG_YOLO3", QString("detector train"));
        CTrainingChartModel chart;
        connect(m_pCase->controller.Run(), &CTrainingRun::signal_Started, &chart, &CTrainingChartModel::Clear);
        connect(m_pCase->controller.Run(), &CTrainingRun::signal_OutputLine, &chart, &CTrainingChartModel::AddLine);
        QSignalSpy states(&m_pCase->model, &CProjectModel::signal_ChangeCommandState);

        m_pCase->controller.StartCommand();

        QTRY_VERIFY_WITH_TIMEOUT(!states.isEmpty() && m_pCase->model.GetCommandState() == ECommandState_Stopped,
                                 600000);
        QTRY_VERIFY(LogLines("Command Finished").size() == 1);
        QCOMPARE(LogLines("Command Finished"), QStringList({"[NORMAL] Command Finished with exit code 0"}));
        QVERIFY(LogLines("[WARNING]").isEmpty());
        // The layer table: three 1x1 convolutions down to 24 filters, each followed by a detection layer. The table
        // comes on the trainer's standard error, logged at the error level; its standard output may be read between
        // any two of its lines, so only the error stream's own order is looked at.
        const QStringList lstTable = LogLines("[ERROR]");
        static const QRegularExpression reFitted("conv +24 +1 x 1 / 1 .*-> +\\d+ x +\\d+ x +24");
        int nFitted = 0;
        for (int i = 0; i + 1 < lstTable.size(); ++i)
        {
            if (reFitted.match(lstTable[i]).hasMatch() && lstTable[i + 1].contains("yolo"))
                ++nFitted;
        }
        QCOMPARE(nFitted, 3);
        QCOMPARE(chart.MaxBatches(), 1);
        QCOMPARE(chart.Iteration(), 1);
        QCOMPARE(chart.LossPoints().size(), 1);
        QCOMPARE(LogLines("Weights saved:"), QStringList({"[NORMAL] Weights saved: Backup/config_final.weights"}));
    }
};

int RunFitToClassesTest(int argc, char** argv)
{
    FitToClassesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FitToClassesTest.moc"
