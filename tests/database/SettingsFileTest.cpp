#include "CLogCapture.h"
#include "CSqliteInspector.h"
#include "CTestSandbox.h"

#include "frame/CSetting.h"
#include "frame/CSettingController.h"
#include "frame/CSettingStore.h"
#include "frame/CSettingView.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace
{
const QString KEY_X = QStringLiteral("GENERAL_PDF_RESOLUTION_X");
const QString KEY_Y = QStringLiteral("GENERAL_PDF_RESOLUTION_Y");
} // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstStartCreatesFileWithEmptyTable();
    void missingFolderSettingFallsBackToDocuments();
    void dialogEditStoresIntRowAndLogs();
    void secondChangeUpdatesTheRow();
    void equalValueWritesNothing_data();
    void equalValueWritesNothing();
    void valuesRoundTripThroughTheFile_data();
    void valuesRoundTripThroughTheFile();
    void loadedValuesAreAnnouncedButNotWrittenBack();
    void unopenableFileReportsEveryUpdateAsFailed();
    void undoAndRedoChangeNothing();
    void generalTabShowsResolutionEditors();
    void editorChangeIsForwardedUnderItsKey();

private:
    void StartController();
    void StopController();
    QString SettingsPath() const { return m_strConfigDir + QDir::separator() + "settings.data"; }
    QStringList Rows() const;

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CLogCapture> m_pLog;
    QString m_strConfigDir;
    int m_nTest = 0;
    CSettingView* m_pView = nullptr;
    CSettingController* m_pController = nullptr;
};

void SettingsFileTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
    const QString strLogDir = m_pSandbox->Path("log");
    QVERIFY(QDir().mkpath(strLogDir));
    CSetting::Set("GENERAL_LOG_DIR", strLogDir);
    m_pLog = std::make_unique<CLogCapture>(strLogDir);
}

void SettingsFileTest::init()
{
    // No controller is alive here, so these stay in memory: every test starts from the start-up defaults.
    m_strConfigDir = m_pSandbox->Path(QString("config%1").arg(++m_nTest));
    QVERIFY(QDir().mkpath(m_strConfigDir));
    CSetting::Set("GENERAL_PROGRAM_CONFIG_DIR", m_strConfigDir);
    CSetting::Set(KEY_X, 144.0);
    CSetting::Set(KEY_Y, 144.0);
    m_pLog->NewLines();
}

void SettingsFileTest::cleanup()
{
    StopController();
}

void SettingsFileTest::StartController()
{
    m_pView = new CSettingView(nullptr);
    m_pController = new CSettingController(m_pView);
}

void SettingsFileTest::StopController()
{
    delete m_pController;
    m_pController = nullptr;
    delete m_pView;
    m_pView = nullptr;
}

QStringList SettingsFileTest::Rows() const
{
    return CSqliteInspector::Rows(SettingsPath(), "SELECT NAME, VALUE, TYPE FROM settings ORDER BY ID");
}

void SettingsFileTest::firstStartCreatesFileWithEmptyTable()
{
    QVERIFY(!QFile::exists(SettingsPath()));
    QSignalSpy spyStore(&CSettingStore::GetInstance(), &CSettingStore::signal_UpdateSettingParameter);

    StartController();

    QVERIFY(QFile::exists(SettingsPath()));
    QCOMPARE(CSqliteInspector::Tables(SettingsPath()), QStringList{"settings"});
    QCOMPARE(Rows(), QStringList());
    QCOMPARE(spyStore.count(), 0);
    QCOMPARE(CSetting::GetDouble(KEY_X, 0), 144.0);
    QCOMPARE(CSetting::GetString("GENERAL_PROGRAM_CONFIG_DIR", ""), m_strConfigDir);
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void SettingsFileTest::missingFolderSettingFallsBackToDocuments()
{
    const QString strDefaultDir = m_pSandbox->Documents() + QDir::separator() + "Ovrel";
    QVERIFY(strDefaultDir.startsWith(m_pSandbox->Home()));
    QVERIFY(QDir().mkpath(strDefaultDir));
    CSetting::Set("GENERAL_PROGRAM_CONFIG_DIR", QVariant());

    StartController();

    QVERIFY(QFile::exists(strDefaultDir + QDir::separator() + "settings.data"));
    QVERIFY(!QFile::exists(SettingsPath()));
}

void SettingsFileTest::dialogEditStoresIntRowAndLogs()
{
    StartController();
    auto* pSpinBox = m_pView->findChild<QSpinBox*>(KEY_X);
    QVERIFY(pSpinBox);

    pSpinBox->setValue(200);

    QCOMPARE(Rows(), QStringList{"GENERAL_PDF_RESOLUTION_X|200|int"});
    QCOMPARE(m_pLog->NewLines(), QStringList{"[NORMAL] Update Setting {GENERAL_PDF_RESOLUTION_X} OK"});
    QCOMPARE(CSetting::GetInt(KEY_X, 0), 200);
    QCOMPARE(m_pView->GetGeneralPDFResolutionX(), 200);
}

void SettingsFileTest::secondChangeUpdatesTheRow()
{
    StartController();
    auto* pSpinBox = m_pView->findChild<QSpinBox*>(KEY_X);
    QVERIFY(pSpinBox);

    pSpinBox->setValue(200);
    pSpinBox->setValue(300);

    QCOMPARE(Rows(), QStringList{"GENERAL_PDF_RESOLUTION_X|300|int"});
    QCOMPARE(CSetting::GetInt(KEY_X, 0), 300);
    QCOMPARE(m_pLog->NewLines(), (QStringList{"[NORMAL] Update Setting {GENERAL_PDF_RESOLUTION_X} OK",
                                              "[NORMAL] Update Setting {GENERAL_PDF_RESOLUTION_X} OK"}));
}

void SettingsFileTest::equalValueWritesNothing_data()
{
    QTest::addColumn<QVariant>("again");
    QTest::newRow("same integer") << QVariant(200);
    QTest::newRow("integer as text") << QVariant(QString("200"));
    QTest::newRow("integer as double") << QVariant(200.0);
}

void SettingsFileTest::equalValueWritesNothing()
{
    QFETCH(QVariant, again);
    StartController();
    CSetting::Set(KEY_Y, 200);
    QCOMPARE(Rows(), QStringList{"GENERAL_PDF_RESOLUTION_Y|200|int"});
    m_pLog->NewLines();

    CSetting::Set(KEY_Y, again);

    QCOMPARE(Rows(), QStringList{"GENERAL_PDF_RESOLUTION_Y|200|int"});
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void SettingsFileTest::valuesRoundTripThroughTheFile_data()
{
    QTest::addColumn<QVariant>("first");
    QTest::addColumn<QString>("firstRow");
    QTest::addColumn<QVariant>("second");
    QTest::addColumn<QString>("secondRow");

    QTest::newRow("int") << QVariant(7) << "TEST_KEY|7|int" << QVariant(-8) << "TEST_KEY|-8|int";
    QTest::newRow("double") << QVariant(2.5) << "TEST_KEY|2.5|double" << QVariant(0.125) << "TEST_KEY|0.125|double";
    QTest::newRow("bool") << QVariant(true) << "TEST_KEY|true|bool" << QVariant() << QString();
    QTest::newRow("folder with apostrophe")
        << QVariant(QString("/home/O'Neil/projects")) << "TEST_KEY|/home/O'Neil/projects|string"
        << QVariant(QString("it's 'quoted'; DROP TABLE settings"))
        << "TEST_KEY|it's 'quoted'; DROP TABLE settings|string";
    QTest::newRow("other type") << QVariant(QByteArray("a'b")) << "TEST_KEY|a'b|" << QVariant(QByteArray("c'd"))
                                << "TEST_KEY|c'd|";
}

void SettingsFileTest::valuesRoundTripThroughTheFile()
{
    QFETCH(QVariant, first);
    QFETCH(QString, firstRow);
    QFETCH(QVariant, second);
    QFETCH(QString, secondRow);
    const QString strKey = "TEST_KEY";
    CSetting::Set(strKey, QVariant());

    StartController();
    CSetting::Set(strKey, first);
    QCOMPARE(Rows(), QStringList{firstRow});
    QString strExpected = firstRow.section('|', 1, 1);
    if (second.isValid())
    {
        CSetting::Set(strKey, second);
        QCOMPARE(Rows(), QStringList{secondRow});
        strExpected = secondRow.section('|', 1, 1);
    }
    QCOMPARE(m_pLog->NewLines().filter("[ERROR]"), QStringList());
    StopController();

    // Without a controller the change stays in memory; the next start brings the saved text back. (The store compares
    // across types, so only a value unequal to every saved one makes the reload visible.)
    CSetting::Set(strKey, QVariant());
    StartController();
    QCOMPARE(CSettingStore::GetInstance().Get(strKey), QVariant(strExpected));
    QCOMPARE(CSettingStore::GetInstance().Get(strKey).userType(), int(QMetaType::QString));
}

void SettingsFileTest::loadedValuesAreAnnouncedButNotWrittenBack()
{
    StartController();
    CSetting::Set(KEY_X, 300);
    CSetting::Set("GENERAL_PROGRAME_HISTORIES", QString("/p/a.data;/p/b.data"));
    const QStringList lstSaved = Rows();
    StopController();
    CSetting::Set(KEY_X, 144.0);
    CSetting::Set("GENERAL_PROGRAME_HISTORIES", QString());
    m_pLog->NewLines();

    QSignalSpy spyStore(&CSettingStore::GetInstance(), &CSettingStore::signal_UpdateSettingParameter);
    StartController();

    QCOMPARE(spyStore.count(), 2);
    QCOMPARE(spyStore.at(0).at(0).toString(), KEY_X);
    QCOMPARE(spyStore.at(1).at(0).toString(), QString("GENERAL_PROGRAME_HISTORIES"));
    QCOMPARE(CSetting::GetString("GENERAL_PROGRAME_HISTORIES", ""), QString("/p/a.data;/p/b.data"));
    QCOMPARE(m_pView->GetGeneralPDFResolutionX(), 300);
    QCOMPARE(Rows(), lstSaved);
    QCOMPARE(m_pLog->NewLines(), QStringList());

    // A later reload (after a write of another key) neither rewrites the loaded rows nor retypes them.
    CSetting::Set(KEY_Y, 150);
    QCOMPARE(Rows(), lstSaved + QStringList{"GENERAL_PDF_RESOLUTION_Y|150|int"});
    QCOMPARE(m_pLog->NewLines(), QStringList{"[NORMAL] Update Setting {GENERAL_PDF_RESOLUTION_Y} OK"});
}

void SettingsFileTest::unopenableFileReportsEveryUpdateAsFailed()
{
    CSetting::Set("GENERAL_PROGRAM_CONFIG_DIR", m_strConfigDir + "/missing/folder");
    StartController();
    QVERIFY(!m_pController->OpenSettingFile());

    CSetting::Set("TEST_UNSAVED", 5);

    QCOMPARE(m_pLog->NewLines().filter("Update Setting"), QStringList{"[ERROR] Update Setting {TEST_UNSAVED} NG"});
    QCOMPARE(CSetting::GetInt("TEST_UNSAVED", 0), 5);
    QVERIFY(!QFile::exists(m_strConfigDir + "/missing/folder/settings.data"));
}

void SettingsFileTest::undoAndRedoChangeNothing()
{
    StartController();
    CSetting::Set(KEY_X, 250);
    const QStringList lstRows = Rows();
    m_pLog->NewLines();

    QVERIFY(!m_pController->Undo());
    QVERIFY(!m_pController->Redo());

    QCOMPARE(Rows(), lstRows);
    QCOMPARE(CSetting::GetInt(KEY_X, 0), 250);
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void SettingsFileTest::generalTabShowsResolutionEditors()
{
    CSetting::Set(KEY_Y, 72);
    StartController();

    QCOMPARE(m_pView->windowTitle(), QString("Settings"));
    QCOMPARE(m_pView->sizeHint(), QSize(600, 300));
    auto* pTabs = m_pView->findChild<QTabWidget*>();
    QVERIFY(pTabs);
    QCOMPARE(pTabs->count(), 1);
    QCOMPARE(pTabs->tabText(0), QString("General"));
    for (const QString& strKey : {KEY_X, KEY_Y})
    {
        auto* pSpinBox = pTabs->widget(0)->findChild<QSpinBox*>(strKey);
        QVERIFY2(pSpinBox, qPrintable(strKey));
        QCOMPARE(pSpinBox->minimum(), 0);
        QCOMPARE(pSpinBox->maximum(), 9999);
    }
    QCOMPARE(m_pView->GetGeneralPDFResolutionX(), 144);
    QCOMPARE(m_pView->GetGeneralPDFResolutionY(), 72);

    // A change made elsewhere reaches the editor.
    CSetting::Set(KEY_X, 96);
    QCOMPARE(m_pView->GetGeneralPDFResolutionX(), 96);

    m_pView->AddSettingTab(nullptr, "Nothing");
    QCOMPARE(pTabs->count(), 1);
}

void SettingsFileTest::editorChangeIsForwardedUnderItsKey()
{
    CSettingView view(nullptr);
    view.CreateView();
    QSignalSpy spy(&view, &CSettingView::signal_UpdateSetingParameter);
    auto* pEdit = new QLineEdit(&view);
    pEdit->setObjectName("TAMSEL_COMMAND_EXE_YOLO3");
    connect(pEdit, &QLineEdit::textChanged, &view, &CSettingView::slot_ChangeValueString);

    view.slot_ChangeValueInt(5);
    QCOMPARE(spy.count(), 0);

    pEdit->setText("/opt/darknet/O'Neil");
    view.findChild<QSpinBox*>(KEY_Y)->setValue(33);

    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toString(), QString("TAMSEL_COMMAND_EXE_YOLO3"));
    QCOMPARE(spy.at(0).at(1).value<QVariant>(), QVariant(QString("/opt/darknet/O'Neil")));
    QCOMPARE(spy.at(1).at(0).toString(), KEY_Y);
    QCOMPARE(spy.at(1).at(1).value<QVariant>(), QVariant(33));
    QCOMPARE(spy.at(1).at(1).value<QVariant>().userType(), int(QMetaType::Int));
}

QTEST_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
