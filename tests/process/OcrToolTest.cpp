#include "CTestOcrImage.h"
#include "CWorkspaceFixture.h"
#include "ToolTestSupport.h"

#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2DController.h"
#include "frame/CUndoStack.h"
#include "images/CImageListModel.h"
#include "process/CImage2DProcessOCRController.h"
#include "process/CImage2DProcessOCRDlg.h"
#include "process/CImage2DProcessOCRModel.h"
#include "workspace/CImageViewerController.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <memory>

using Ovrel::Utils::COvrelImage;

namespace
{

std::shared_ptr<COvrelImage> TwoWords()
{
    auto pImage = std::make_shared<COvrelImage>();
    CTestOcrImage::TwoWords(*pImage);
    return pImage;
}

} // namespace

// The OCR tool on viewer 0: the text it reads inside a shape, what a failure shows, its parameters, and the language
// folder a fresh tool starts with.
class OcrToolTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void readsTextInsideRegion_data();
    void readsTextInsideRegion();
    void failureShowsInMessageBox_data();
    void failureShowsInMessageBox();
    void tableEditsReachModel_data();
    void tableEditsReachModel();
    void languageFolderHoldingTheData_data();
    void languageFolderHoldingTheData();
    void freshToolStartsWithInstalledEnglish();

private:
    void SelectShape(const QString& strName, const QRect& rect);

    std::unique_ptr<CWorkspaceFixture> m_pFixture;
    std::shared_ptr<COvrelImage> m_pImage;
    std::unique_ptr<CImage2DProcessOCRModel> m_pModel;
    std::unique_ptr<CImage2DProcessOCRDlg> m_pDialog;
    std::unique_ptr<CImage2DProcessOCRController> m_pController;
};

void OcrToolTest::init()
{
    m_pFixture = std::make_unique<CWorkspaceFixture>();
    m_pImage = TwoWords();
    m_pFixture->Viewer(0)->GetImageListModel()->PushImage(m_pImage);
    m_pModel = std::make_unique<CImage2DProcessOCRModel>();
    m_pDialog = std::make_unique<CImage2DProcessOCRDlg>(m_pModel.get());
    m_pController = std::make_unique<CImage2DProcessOCRController>(m_pModel.get(), m_pDialog.get());
    CWorkspaceFixture::NewLogLines();
}

void OcrToolTest::cleanup()
{
    m_pController.reset();
    m_pModel.reset();
    m_pDialog.reset();
    m_pFixture.reset();
    m_pImage.reset();
}

void OcrToolTest::SelectShape(const QString& strName, const QRect& rect)
{
    m_pFixture->controller->AddRectangle(0, ToolTest::Shape(strName, rect));
    m_pDialog->SetSourceROIIndex(ToolTest::RegionIndex(m_pDialog->GetSourceROIBox(), strName));
}

void OcrToolTest::readsTextInsideRegion_data()
{
    QTest::addColumn<QRect>("region");
    QTest::addColumn<QString>("text");
    QTest::newRow("left half") << QRect(0, 0, 400, 160) << "SUNSHINE";
    QTest::newRow("right half") << QRect(400, 0, 400, 160) << "GARDEN";
    QTest::newRow("no shape: the whole image") << QRect() << "SUNSHINE GARDEN";
}

void OcrToolTest::readsTextInsideRegion()
{
    QFETCH(QRect, region);
    QFETCH(QString, text);
    if (!region.isNull())
        SelectShape("words", region);
    const int nObjects = m_pFixture->Viewer(0)->GetObjectModel()->GetObjectCount();

    ToolTest::PressRun(m_pDialog.get());

    QCOMPARE(m_pDialog->GetResultText().simplified(), text);
    QVERIFY(m_pDialog->GetMessageLabel()->text().startsWith("Processing Time "));
    const QStringList lstLog = CWorkspaceFixture::NewLogLines();
    QCOMPARE(lstLog.filter("Run OCR OK").size(), 1);
    QCOMPARE(lstLog.filter("Run OCR OK").first().simplified(), "[NORMAL] Run OCR OK " + text);
    QCOMPARE(lstLog.filter("Processing Time").size(), 1);
    // Reading changes nothing in the viewer.
    QCOMPARE(m_pFixture->Viewer(0)->GetCurrentImage(), m_pImage);
    QVERIFY(ToolTest::SameImage(*m_pImage, *TwoWords()));
    QCOMPARE(m_pFixture->Viewer(0)->GetObjectModel()->GetObjectCount(), nObjects);
    QCOMPARE(m_pFixture->Viewer(0)->GetCanvasController()->GetUndoStack()->UndoCount(), 0);
}

void OcrToolTest::failureShowsInMessageBox_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QRect>("region");
    QTest::addColumn<QString>("message");
    // %1 stands for an empty folder, %2 for the folder the model starts with.
    QTest::newRow("folder without the data") << 1 << "%1" << QRect() << "Cannot load language eng from %1";
    QTest::newRow("language not installed") << 0 << "xyz" << QRect() << "Cannot load language xyz from %2";
    QTest::newRow("dpi that is no number") << 2 << "many" << QRect() << "Text recognition failed";
    QTest::newRow("shape off the image") << -1 << QString() << QRect(900, 0, 50, 50) << "Text recognition failed";
}

void OcrToolTest::failureShowsInMessageBox()
{
    QFETCH(int, code);
    QFETCH(QString, value);
    QFETCH(QRect, region);
    QFETCH(QString, message);
    QTemporaryDir empty;
    const QString strDefault = m_pModel->GetLanguagePath();
    ToolTest::PressRun(m_pDialog.get());
    QCOMPARE(m_pDialog->GetResultText().simplified(), QString("SUNSHINE GARDEN"));
    if (code >= 0)
        ToolTest::SetCell(m_pDialog->GetParameterModel(), code, QString(value).replace("%1", empty.path()));
    if (!region.isNull())
        SelectShape("outside", region);
    CWorkspaceFixture::NewLogLines();

    ToolTest::PressRun(m_pDialog.get());

    const QString strMessage = QString(message).replace("%1", empty.path()).replace("%2", strDefault);
    QCOMPARE(m_pDialog->GetMessageLabel()->text(), strMessage);
    QCOMPARE(m_pDialog->GetResultText(), QString());
    const QStringList lstLog = CWorkspaceFixture::NewLogLines();
    QCOMPARE(lstLog.filter(strMessage), QStringList{"[WARNING] " + strMessage});
    QCOMPARE(lstLog.filter("Run OCR OK"), QStringList());
}

void OcrToolTest::tableEditsReachModel_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("logLine");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("dpi");
    QTest::newRow("language code") << 0 << "vie"
                                   << "Image2DProcessOCRModel: SetLanguageCode(vie)"
                                   << "vie" << QString() << 144;
    QTest::newRow("language folder") << 1 << "/opt/tessdata"
                                     << "Image2DProcessOCRModel: SetLanguagePath(/opt/tessdata)"
                                     << "eng"
                                     << "/opt/tessdata" << 144;
    QTest::newRow("dpi") << 2 << "300"
                         << "Image2DProcessOCRModel: SetUserDefinedDpi(300)"
                         << "eng" << QString() << 300;
    QTest::newRow("dpi that is no number") << 2 << "many"
                                           << "Image2DProcessOCRModel: SetUserDefinedDpi(0)"
                                           << "eng" << QString() << 0;
}

void OcrToolTest::tableEditsReachModel()
{
    QFETCH(int, row);
    QFETCH(QString, value);
    QFETCH(QString, logLine);
    QFETCH(QString, code);
    QFETCH(QString, path);
    QFETCH(int, dpi);
    const QString strDefault = m_pModel->GetLanguagePath();
    QCOMPARE(m_pDialog->GetParameterModel()->item(row, 1)->text(), (QStringList{"eng", strDefault, "144"}.at(row)));

    ToolTest::SetCell(m_pDialog->GetParameterModel(), row, value);

    QCOMPARE(CWorkspaceFixture::NewLogLines(), QStringList{"[NORMAL] " + logLine});
    QCOMPARE(m_pModel->GetLanguageCode(), code);
    QCOMPARE(m_pModel->GetLanguagePath(), path.isEmpty() ? strDefault : path);
    QCOMPARE(m_pModel->GetUserDefinedDpi(), dpi);
}

void OcrToolTest::languageFolderHoldingTheData_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<int>("found");
    // Folder "full" holds eng.traineddata, "other" only kor.traineddata, "none" is empty.
    QTest::newRow("first holding it") << QStringList{"none", "other", "full"} << 2;
    QTest::newRow("missing folders are passed over") << QStringList{"missing", "full", "none"} << 1;
    QTest::newRow("none holding it: the first") << QStringList{"other", "none"} << 0;
}

void OcrToolTest::languageFolderHoldingTheData()
{
    QFETCH(QStringList, folders);
    QFETCH(int, found);
    QTemporaryDir dir;
    for (const char* szName : {"full", "other", "none"})
        QVERIFY(QDir(dir.path()).mkdir(szName));
    QFile full(dir.filePath("full/eng.traineddata"));
    QVERIFY(full.open(QIODevice::WriteOnly));
    QFile other(dir.filePath("other/kor.traineddata"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    QStringList lstPaths;
    for (const QString& strName : folders)
        lstPaths << dir.filePath(strName);

    QCOMPARE(CImage2DProcessOCRModel::FindLanguagePath(lstPaths, "eng"), lstPaths.at(found));
}

void OcrToolTest::freshToolStartsWithInstalledEnglish()
{
    const QString strFolder = CImage2DProcessOCRModel().GetLanguagePath();

    QVERIFY2(QFile::exists(QDir(strFolder).filePath("eng.traineddata")), qPrintable(strFolder));
    QCOMPARE(m_pModel->GetLanguageCode(), QString("eng"));
    QCOMPARE(m_pModel->GetUserDefinedDpi(), 144);
}

int RunOcrToolTest(int argc, char** argv)
{
    OcrToolTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "OcrToolTest.moc"
