#include "CTestSandbox.h"

#include "database/CDatabase.h"
#include "project/store/CProjectPropertyRecord.h"
#include "project/store/CProjectRecordFactory.h"
#include "views/CNewProjectController.h"
#include "views/CNewProjectDlg.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The configuration a new project stores must be one the real trainer accepts: it builds layers 0 to 106 from it.
class DarknetConfigTest : public QObject
{
    Q_OBJECT
private slots:
    void defaultConfigurationResourceIsTheYolo3Network();
    void trainerBuildsAllLayersFromNewProjectConfiguration();

private:
    static QString DefaultConfiguration();
    static QString StoredConfigurationOfNewProject(const QString& strParentDir);
    static bool WriteFile(const QString& strPath, const QByteArray& content);
};

QString DarknetConfigTest::DefaultConfiguration()
{
    QFile file(":/Files/yolov3.cfg");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QString DarknetConfigTest::StoredConfigurationOfNewProject(const QString& strParentDir)
{
    CNewProjectDlg dialog;
    CNewProjectController creator(&dialog);
    dialog.GetFolderField()->setText(strParentDir);
    dialog.GetNameField()->setText("darknet");
    creator.slot_AddProject();

    CProjectRecordFactory factory;
    CDatabase database(&factory);
    if (!database.OpenDatabase("localhost", strParentDir + "/darknet/darknet.data", "", ""))
        return QString();
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRows;
    database.SelectFromTable("project_property", vctRows, {{"NAME", "PROJECT_CONFIGURATION"}});
    auto pProperty = vctRows.empty() ? nullptr : std::dynamic_pointer_cast<CProjectPropertyRecord>(vctRows.front());
    return pProperty ? pProperty->GetValue() : QString();
}

bool DarknetConfigTest::WriteFile(const QString& strPath, const QByteArray& content)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

void DarknetConfigTest::defaultConfigurationResourceIsTheYolo3Network()
{
    QFile raw(":/Files/yolov3.cfg");
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    QCOMPARE(bytes.size(), 9131);
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));

    const QString strText = DefaultConfiguration();
    QVERIFY(!strText.contains('\r'));
    QVERIFY(strText.startsWith("[net]\n# Testing\nbatch=1\nsubdivisions=1\n# Training\n# batch=64\n# subdivisions=16\n"
                               "width=416\nheight=416\n"));
    QCOMPARE(strText.count(QRegularExpression("^\\[convolutional\\]$", QRegularExpression::MultilineOption)), 75);
    QCOMPARE(strText.count(QRegularExpression("^\\[shortcut\\]$", QRegularExpression::MultilineOption)), 23);
    QCOMPARE(strText.count(QRegularExpression("^\\[route\\]$", QRegularExpression::MultilineOption)), 4);
    QCOMPARE(strText.count(QRegularExpression("^\\[upsample\\]$", QRegularExpression::MultilineOption)), 2);
    QCOMPARE(strText.count(QRegularExpression("^\\[yolo\\]$", QRegularExpression::MultilineOption)), 3);
    QCOMPARE(strText.count(QRegularExpression("^classes=80$", QRegularExpression::MultilineOption)), 3);
}

void DarknetConfigTest::trainerBuildsAllLayersFromNewProjectConfiguration()
{
    CTestSandbox sandbox;
    const QString strDarknet = "/usr/bin/darknet";
    QVERIFY2(QFile::exists(strDarknet), "darknet is installed by scripts/install-deps.sh");
    const QString strSample = "/usr/share/darknet/data/dog.jpg";
    QVERIFY(QFile::exists(strSample));

    QTemporaryDir project;
    QDir dir(project.path());
    QVERIFY(dir.mkpath("Images") && dir.mkpath("Backup"));
    QVERIFY(QFile::copy(strSample, dir.filePath("Images/dog.jpg")));
    QVERIFY(WriteFile(dir.filePath("Images/dog.txt"), "0 0.500000 0.500000 0.300000 0.300000\n"));
    QVERIFY(WriteFile(dir.filePath("custom.names"), "dog\n"));
    QVERIFY(WriteFile(dir.filePath("train.txt"), "Images/dog.jpg\n"));
    QVERIFY(WriteFile(dir.filePath("test.txt"), "Images/dog.jpg\n"));
    QVERIFY(WriteFile(dir.filePath("detector.txt"),
                      "classes=1\ntrain=train.txt\ntest=test.txt\nnames=custom.names\nbackup=Backup\n"));
    const QString strConfiguration = StoredConfigurationOfNewProject(sandbox.Home());
    QCOMPARE(strConfiguration, DefaultConfiguration());
    QVERIFY(WriteFile(dir.filePath("config.txt"), strConfiguration.toUtf8()));

    QProcess trainer;
    trainer.setWorkingDirectory(project.path());
    trainer.setProcessChannelMode(QProcess::MergedChannels);
    trainer.start(strDarknet, {"detector", "train", "detector.txt", "config.txt"}, QIODevice::ReadOnly);
    QVERIFY(trainer.waitForStarted(10000));

    // The layer table ends with the third yolo layer; stop the trainer as soon as it is printed.
    QByteArray output;
    const QRegularExpression lastLayer("^\\s*106 yolo\\s*$", QRegularExpression::MultilineOption);
    QElapsedTimer timer;
    timer.start();
    while (!QString::fromUtf8(output).contains(lastLayer) && trainer.state() == QProcess::Running &&
           timer.elapsed() < 240000)
    {
        trainer.waitForReadyRead(1000);
        output += trainer.readAll();
    }
    trainer.kill();
    trainer.waitForFinished(10000);
    output += trainer.readAll();

    const QString strOutput = QString::fromUtf8(output);
    QVERIFY2(strOutput.contains(lastLayer), qPrintable(strOutput.right(2000)));
    for (int nLayer = 0; nLayer <= 106; ++nLayer)
    {
        const QRegularExpression layer(QString("^\\s*%1 \\w+").arg(nLayer), QRegularExpression::MultilineOption);
        QVERIFY2(strOutput.contains(layer), qPrintable(QString("layer %1 missing").arg(nLayer)));
    }
    QVERIFY(!strOutput.contains(QRegularExpression("^\\s*107 ", QRegularExpression::MultilineOption)));
}

QTEST_MAIN(DarknetConfigTest)
#include "DarknetConfigTest.moc"
