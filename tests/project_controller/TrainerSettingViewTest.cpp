#include "CLogCapture.h"
#include "CProjectFixture.h"
#include "CPromptAnswers.h"
#include "CTestSandbox.h"

#include "frame/CSetting.h"
#include "frame/CSettingController.h"
#include "views/CTrainerSettingView.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <memory>

// The program's settings dialog on the real settings file: its tabs, the Darknet fields showing the stored values,
// and every change stored at once.
class TrainerSettingViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CLogCapture> m_pLog;
    std::unique_ptr<CPromptAnswers> m_pAnswers;
    QString m_strConfigDir;

    QString StoredValue(const QString& strKey) const;
    static QStringList TabTitles(const CTrainerSettingView& view);

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void trainerTabFollowsGeneralTab_data();
    void trainerTabFollowsGeneralTab();
    void fieldsShowStoredValues();
    void typingStoresEveryChange_data();
    void typingStoresEveryChange();
    void chooseFileFillsExecutableField_data();
    void chooseFileFillsExecutableField();
};

void TrainerSettingViewTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
    m_pLog = std::make_unique<CLogCapture>();
    m_strConfigDir = m_pSandbox->Path("config");
    QVERIFY(QDir().mkpath(m_strConfigDir));
    CSetting::Set("GENERAL_PROGRAM_CONFIG_DIR", m_strConfigDir);
}

void TrainerSettingViewTest::init()
{
    m_pAnswers = std::make_unique<CPromptAnswers>();
    CSetting::Set("GENERAL_PROGRAME_NAME", QString("OvrelTrainer"));
}

void TrainerSettingViewTest::cleanup()
{
    m_pAnswers.reset();
}

QString TrainerSettingViewTest::StoredValue(const QString& strKey) const
{
    return CProjectFixture::Query(m_strConfigDir + "/settings.data",
                                  QString("SELECT VALUE FROM settings WHERE NAME='%1'").arg(strKey))
        .value(0)
        .value(0);
}

QStringList TrainerSettingViewTest::TabTitles(const CTrainerSettingView& view)
{
    QStringList lstTitles;
    const QTabWidget* pTabs = view.findChild<QTabWidget*>();
    for (int i = 0; pTabs && i < pTabs->count(); ++i)
        lstTitles.append(pTabs->tabText(i));
    return lstTitles;
}

void TrainerSettingViewTest::trainerTabFollowsGeneralTab_data()
{
    QTest::addColumn<QVariant>("programName");
    QTest::addColumn<QString>("title");
    QTest::newRow("program name set") << QVariant(QString("OvrelTrainer")) << "OvrelTrainer";
    QTest::newRow("program name unset") << QVariant() << "Tamsel";
}

void TrainerSettingViewTest::trainerTabFollowsGeneralTab()
{
    QFETCH(QVariant, programName);
    QFETCH(QString, title);
    CSetting::Set("GENERAL_PROGRAME_NAME", programName);
    CTrainerSettingView view;
    QCOMPARE(TabTitles(view), QStringList());

    CSettingController controller(&view);

    QCOMPARE(TabTitles(view), QStringList({"General", title}));
    QCOMPARE(view.GetExecutableField()->objectName(), QString("TAMSEL_COMMAND_EXE_YOLO3"));
    QCOMPARE(view.GetArgumentsField()->objectName(), QString("TAMSEL_COMMAND_ARG_YOLO3"));
    QVERIFY(view.findChild<QTabWidget*>()->widget(1)->isAncestorOf(view.GetExecutableField()));
}

void TrainerSettingViewTest::fieldsShowStoredValues()
{
    {
        CTrainerSettingView view;
        CSettingController controller(&view);
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", QString("/usr/bin/darknet"));
        CSetting::Set("TAMSEL_COMMAND_ARG_YOLO3", QString("detector train"));
    }
    // Forget the values in memory: the next dialog must read them from the file.
    CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", QString("stale"));
    CSetting::Set("TAMSEL_COMMAND_ARG_YOLO3", QString("stale"));

    CTrainerSettingView view;
    CSettingController controller(&view);

    QCOMPARE(view.GetExecutableField()->text(), QString("/usr/bin/darknet"));
    QCOMPARE(view.GetArgumentsField()->text(), QString("detector train"));
    QCOMPARE(StoredValue("TAMSEL_COMMAND_EXE_YOLO3"), QString("/usr/bin/darknet"));
}

void TrainerSettingViewTest::typingStoresEveryChange_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("executable") << "TAMSEL_COMMAND_EXE_YOLO3";
    QTest::newRow("arguments") << "TAMSEL_COMMAND_ARG_YOLO3";
}

void TrainerSettingViewTest::typingStoresEveryChange()
{
    QFETCH(QString, key);
    CTrainerSettingView view;
    CSettingController controller(&view);
    QLineEdit* pField = view.findChild<QLineEdit*>(key);
    QVERIFY(pField);
    pField->clear();
    QVERIFY(m_pLog->Sync());
    m_pLog->Clear();

    QTest::keyClicks(pField, "ab");
    QCOMPARE(CSetting::GetString(key, ""), QString("ab"));
    QCOMPARE(StoredValue(key), QString("ab"));
    // Typing in the middle keeps the cursor where the user types.
    pField->setCursorPosition(1);
    QTest::keyClicks(pField, "xy");

    QCOMPARE(pField->text(), QString("axyb"));
    QCOMPARE(StoredValue(key), QString("axyb"));
    QVERIFY(m_pLog->Sync());
    QCOMPARE(m_pLog->Count(QString("Update Setting {%1} OK").arg(key)), 4);
}

void TrainerSettingViewTest::chooseFileFillsExecutableField_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("chosen") << "/opt/darknet/darknet";
    QTest::newRow("cancelled") << "";
}

void TrainerSettingViewTest::chooseFileFillsExecutableField()
{
    QFETCH(QString, answer);
    CTrainerSettingView view;
    CSettingController controller(&view);
    view.GetExecutableField()->setText("/before");
    m_pAnswers->files.push_back(answer);
    QPushButton* pChoose = nullptr;
    for (QPushButton* pButton : view.findChildren<QPushButton*>())
    {
        if (pButton->text() == "Choose File")
            pChoose = pButton;
    }
    QVERIFY(pChoose);

    QTest::mouseClick(pChoose, Qt::LeftButton);

    QCOMPARE(m_pAnswers->asked.size(), 1);
    QCOMPARE(m_pAnswers->asked[0].strKind, QString("open"));
    QCOMPARE(view.GetExecutableField()->text(), answer);
    QCOMPARE(StoredValue("TAMSEL_COMMAND_EXE_YOLO3"), answer);
}

QTEST_MAIN(TrainerSettingViewTest)
#include "TrainerSettingViewTest.moc"
