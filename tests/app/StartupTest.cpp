#include "CPromptAnswers.h"
#include "CTestSandbox.h"

#include "MainWindow.h"
#include "frame/CLogger.h"
#include "frame/CMVCRegistry.h"
#include "frame/CSettingStore.h"
#include "workspace/CImageWorkspaceController.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QStyle>
#include <QtTest>

#include <memory>

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void unusableConfigFolderSkipsDefaults();
    void firstStartCreatesFoldersAndDefaults();
    void firstStartSetsLook_data();
    void firstStartSetsLook();
    void windowRegistersAndLogsCreateAndDestroy();

private:
    static QString TodaysLog();
    std::unique_ptr<CTestSandbox> m_pSandbox;
};

void StartupTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
}

QString StartupTest::TodaysLog()
{
    CLogger::Flush();
    QFile file(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/OvrelTrainer/Log/" +
               QDate::currentDate().toString("yyyy_MM_dd") + ".txt");
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void StartupTest::unusableConfigFolderSkipsDefaults()
{
    // A plain file where the documents folder should be: no configuration folder can be made.
    QFile blocker(m_pSandbox->Documents());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    {
        MainWindow window;
        QVERIFY(!CSettingStore::GetInstance().Get("GENERAL_PROGRAME_NAME").isValid());
        QVERIFY(!CSettingStore::GetInstance().Get("GENERAL_PROGRAM_CONFIG_DIR").isValid());
        QCOMPARE(QApplication::palette().color(QPalette::Window),
                 QApplication::style()->standardPalette().color(QPalette::Window));
        QVERIFY(qApp->styleSheet().isEmpty());
    }
    QVERIFY(QFile::remove(m_pSandbox->Documents()));
}

void StartupTest::firstStartCreatesFoldersAndDefaults()
{
    // The documents folder itself is missing on a fresh machine.
    QVERIFY(!QDir(m_pSandbox->Documents()).exists());
    MainWindow window;

    const QString strDocuments = m_pSandbox->Documents();
    const QString strConfig = strDocuments + QDir::separator() + "OvrelTrainer";
    QVERIFY(QDir(strConfig).exists());
    CSettingStore& store = CSettingStore::GetInstance();
    QCOMPARE(store.Get("GENERAL_PROGRAME_NAME").toString(), QString("OvrelTrainer"));
    QCOMPARE(store.Get("GENERAL_PROGRAME_VERSION").toString(), QString("1.0.0"));
    QCOMPARE(store.Get("GENERAL_PROGRAM_CONFIG_DIR").toString(), strConfig);
    QCOMPARE(store.Get("GENERAL_LOG_DIR").toString(), strConfig + QDir::separator() + "Log");
    QCOMPARE(store.Get("GENERAL_PDF_RESOLUTION_X").toDouble(), 144.0);
    QCOMPARE(store.Get("GENERAL_PDF_RESOLUTION_Y").toDouble(), 144.0);
    QCOMPARE(store.Get("GENERAL_PROJECT_DIR").toString(), strDocuments);
}

void StartupTest::firstStartSetsLook_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("colour");
    const int active = QPalette::Active;
    const int disabled = QPalette::Disabled;
    const int inactive = QPalette::Inactive;
    QTest::newRow("window") << active << int(QPalette::Window) << QColor(45, 45, 45);
    QTest::newRow("base") << inactive << int(QPalette::Base) << QColor(18, 18, 18);
    QTest::newRow("disabled text") << disabled << int(QPalette::Text) << QColor(127, 127, 127);
    QTest::newRow("highlight") << active << int(QPalette::Highlight) << QColor(42, 130, 218);
}

void StartupTest::firstStartSetsLook()
{
    QFETCH(int, group);
    QFETCH(int, role);
    QFETCH(QColor, colour);
    MainWindow window;
    const QPalette palette = QApplication::palette();
    QCOMPARE(palette.color(QPalette::ColorGroup(group), QPalette::ColorRole(role)), colour);
    QCOMPARE(qApp->styleSheet(), QString("QToolTip { color: #ffffff; background-color: #2a82da; border: 1px solid "
                                         "white; } QPushButton:checked{background-color: #2d80ed;}"));
}

void StartupTest::windowRegistersAndLogsCreateAndDestroy()
{
    const size_t nBefore = CMVCRegistry::m_vctItems.size();
    auto* pWindow = new MainWindow(nullptr);
    // The workspace registers its four viewers and itself while the docks are built; the window comes last.
    QCOMPARE(CMVCRegistry::m_vctItems.size(), nBefore + 6);
    QCOMPARE(CMVCRegistry::FindController<CImageWorkspaceController>(), pWindow->GetWorkspaceController());
    const SMVC& entry = CMVCRegistry::m_vctItems.back();
    QCOMPARE(entry.pView, static_cast<QWidget*>(pWindow));
    QVERIFY(!entry.pModel && !entry.pController);
    QVERIFY(TodaysLog().contains(
        QRegularExpression(R"(\[NORMAL\]\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] MainWindow: Create\(\)\n$)")));

    // A stopped trainer closes without asking.
    CPromptAnswers answers;
    QCloseEvent event;
    QApplication::sendEvent(pWindow, &event);
    QVERIFY(event.isAccepted());
    QVERIFY(answers.asked.isEmpty());

    CMVCRegistry::m_vctItems.pop_back();
    delete pWindow;
    // Destroy() is logged first; what the window's parts log while they go follows it.
    const QString strLog = TodaysLog();
    const int nCreate = strLog.lastIndexOf("] MainWindow: Create()\n");
    const int nDestroy = strLog.lastIndexOf(QRegularExpression(R"(\[NORMAL\]\[[^]]+\] MainWindow: Destroy\(\)\n)"));
    QVERIFY(nCreate >= 0 && nDestroy > nCreate);
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
