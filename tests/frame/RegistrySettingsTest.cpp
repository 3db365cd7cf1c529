#include "CTestSandbox.h"

#include "frame/CController.h"
#include "frame/CLogger.h"
#include "frame/CMVCRegistry.h"
#include "frame/CModel.h"
#include "frame/CSetting.h"
#include "frame/CSettingStore.h"

#include <QWidget>
#include <QtTest>

#include <memory>

namespace
{
class CFirstController : public CController
{
public:
    bool Undo() override { return false; }
    bool Redo() override { return false; }
};

class CSecondController : public CController
{
public:
    bool Undo() override { return true; }
    bool Redo() override { return true; }
};
} // namespace

class RegistrySettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void findByTitleTakesFirstExactMatch_data();
    void findByTitleTakesFirstExactMatch();
    void destroyedObjectsLeaveTheRegistry_data();
    void destroyedObjectsLeaveTheRegistry();

    void setAnnouncesOnlyRealChanges_data();
    void setAnnouncesOnlyRealChanges();
    void invalidValueForNewKeyIsEnteredSilently();
    void typedGettersFallBackToDefault_data();
    void typedGettersFallBackToDefault();

private:
    std::unique_ptr<CTestSandbox> m_pSandbox;
};

void RegistrySettingsTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
    CSetting::Set("GENERAL_LOG_DIR", m_pSandbox->Path("Log"));
}

void RegistrySettingsTest::findByTitleTakesFirstExactMatch_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("expectedView"); // index into the views registered below, -1 for none
    QTest::newRow("first of two equal titles") << "Image View [0]" << 0;
    QTest::newRow("letter case differs") << "image view [0]" << -1;
    QTest::newRow("empty title skips entries without view") << "" << -1;
}

void RegistrySettingsTest::findByTitleTakesFirstExactMatch()
{
    QFETCH(QString, title);
    QFETCH(int, expectedView);

    CMVCRegistry::m_vctItems.clear();
    QWidget views[3];
    views[0].setWindowTitle("Image View [0]");
    views[1].setWindowTitle("Image View [0]");
    views[2].setWindowTitle("Settings");
    CModel model;
    CFirstController controller;
    CSecondController second;
    CSecondController laterSecond;
    CMVCRegistry::PushMVC(&model, nullptr, &controller);
    CMVCRegistry::PushMVC(nullptr, &views[0], nullptr);
    CMVCRegistry::PushMVC(nullptr, nullptr, &second);
    CMVCRegistry::PushMVC(&model, &views[1], &controller);
    CMVCRegistry::PushMVC(nullptr, &views[2], &laterSecond);

    const SMVC found = CMVCRegistry::FindMVC(title);
    QCOMPARE(found.pView, expectedView < 0 ? nullptr : &views[expectedView]);
    if (expectedView == 0)
        QVERIFY(!found.pModel && !found.pController);
    // The controller walk takes the first of the class.
    QCOMPARE(CMVCRegistry::FindController<CSecondController>(), &second);
    QCOMPARE(CMVCRegistry::FindController<CFirstController>(), &controller);
    CMVCRegistry::m_vctItems.clear();
}

void RegistrySettingsTest::destroyedObjectsLeaveTheRegistry_data()
{
    // Two triples whose views share a title; the objects named here die, each of the first triple unless "both".
    QTest::addColumn<QStringList>("destroyed");
    QTest::addColumn<int>("remaining"); // index of the triple still registered, -1 for none
    QTest::newRow("controller") << QStringList{"controller"} << 1;
    QTest::newRow("view") << QStringList{"view"} << 1;
    QTest::newRow("model") << QStringList{"model"} << 1;
    QTest::newRow("both controllers") << QStringList{"controller", "both"} << -1;
    QTest::newRow("both views") << QStringList{"view", "both"} << -1;
}

void RegistrySettingsTest::destroyedObjectsLeaveTheRegistry()
{
    QFETCH(QStringList, destroyed);
    QFETCH(int, remaining);

    CMVCRegistry::m_vctItems.clear();
    struct STriple
    {
        std::unique_ptr<CModel> pModel = std::make_unique<CModel>();
        std::unique_ptr<QWidget> pView = std::make_unique<QWidget>();
        std::unique_ptr<CFirstController> pController = std::make_unique<CFirstController>();
    };
    STriple triples[2];
    for (STriple& triple : triples)
    {
        triple.pView->setWindowTitle("Image View [0]");
        CMVCRegistry::PushMVC(triple.pModel.get(), triple.pView.get(), triple.pController.get());
    }
    // The main window's entry has a view only.
    QWidget window;
    window.setWindowTitle("Main");
    CMVCRegistry::PushMVC(nullptr, &window, nullptr);

    for (int nTriple = 0; nTriple < (destroyed.contains("both") ? 2 : 1); ++nTriple)
    {
        if (destroyed.contains("model"))
            triples[nTriple].pModel.reset();
        if (destroyed.contains("view"))
            triples[nTriple].pView.reset();
        if (destroyed.contains("controller"))
            triples[nTriple].pController.reset();
    }

    // The walks touch every entry left: a dead one would be read after its end.
    const SMVC found = CMVCRegistry::FindMVC("Image View [0]");
    CFirstController* pFound = CMVCRegistry::FindController<CFirstController>();
    QCOMPARE(CMVCRegistry::m_vctItems.size(), size_t(remaining < 0 ? 1 : 2));
    QCOMPARE(CMVCRegistry::FindMVC("Main").pView, &window);
    if (remaining < 0)
    {
        QVERIFY(!found.pView && !found.pModel && !found.pController);
        QVERIFY(!pFound);
    }
    else
    {
        QCOMPARE(found.pView, triples[remaining].pView.get());
        QCOMPARE(found.pModel, triples[remaining].pModel.get());
        QCOMPARE(found.pController, triples[remaining].pController.get());
        QCOMPARE(pFound, triples[remaining].pController.get());
    }
    CMVCRegistry::m_vctItems.clear();
}

void RegistrySettingsTest::setAnnouncesOnlyRealChanges_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("announced");
    QTest::newRow("text 200 equals int 200") << QVariant(QString("200")) << QVariant(200) << false;
    QTest::newRow("double equals int") << QVariant(144.0) << QVariant(144) << false;
    QTest::newRow("other text") << QVariant(QString("a")) << QVariant(QString("b")) << true;
    QTest::newRow("text with apostrophe") << QVariant(QString("a")) << QVariant(QString("O'Neil")) << true;
}

void RegistrySettingsTest::setAnnouncesOnlyRealChanges()
{
    QFETCH(QVariant, stored);
    QFETCH(QVariant, value);
    QFETCH(bool, announced);
    const QString strKey = QString("KEY_%1").arg(QTest::currentDataTag());
    CSetting::Set(strKey, stored);

    QSignalSpy spy(&CSettingStore::GetInstance(), &CSettingStore::signal_UpdateSettingParameter);
    QVERIFY(CSetting::Set(strKey, value));

    QCOMPARE(spy.count(), announced ? 1 : 0);
    if (announced)
    {
        QCOMPARE(spy.first().at(0).toString(), strKey);
        QCOMPARE(spy.first().at(1), value);
        QCOMPARE(CSettingStore::GetInstance().Get(strKey), value);
    }
    else
    {
        QCOMPARE(CSettingStore::GetInstance().Get(strKey).type(), stored.type());
    }
}

void RegistrySettingsTest::invalidValueForNewKeyIsEnteredSilently()
{
    QSignalSpy spy(&CSettingStore::GetInstance(), &CSettingStore::signal_UpdateSettingParameter);
    CSetting::Set("NEW_INVALID_KEY", QVariant());
    QCOMPARE(spy.count(), 0);
    QVERIFY(!CSettingStore::GetInstance().Get("NEW_INVALID_KEY").isValid());
    QCOMPARE(CSetting::GetString("NEW_INVALID_KEY", "fallback"), QString("fallback"));

    CSetting::Set("NEW_INVALID_KEY", 5);
    QCOMPARE(spy.count(), 1);
}

void RegistrySettingsTest::typedGettersFallBackToDefault_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("intValue");
    QTest::addColumn<double>("doubleValue");
    QTest::addColumn<QString>("stringValue");
    // Defaults below: int -7, double -1.5, string "dflt".
    QTest::newRow("absent") << QVariant() << -7 << -1.5 << "dflt";
    QTest::newRow("text abc") << QVariant(QString("abc")) << -7 << -1.5 << "abc";
    QTest::newRow("text 200") << QVariant(QString("200")) << 200 << 200.0 << "200";
    QTest::newRow("double 144") << QVariant(144.0) << 144 << 144.0 << "144";
    QTest::newRow("text 2.5") << QVariant(QString("2.5")) << -7 << 2.5 << "2.5";
    QTest::newRow("null string") << QVariant(QString()) << -7 << -1.5 << "dflt";
}

void RegistrySettingsTest::typedGettersFallBackToDefault()
{
    QFETCH(QVariant, stored);
    QFETCH(int, intValue);
    QFETCH(double, doubleValue);
    QFETCH(QString, stringValue);
    const QString strKey = QString("GETTER_%1").arg(QTest::currentDataTag());
    if (stored.isValid())
        CSetting::Set(strKey, stored);

    QCOMPARE(CSetting::GetInt(strKey, -7), intValue);
    QCOMPARE(CSetting::GetDouble(strKey, -1.5), doubleValue);
    QCOMPARE(CSetting::GetString(strKey, "dflt"), stringValue);
}

QTEST_MAIN(RegistrySettingsTest)
#include "RegistrySettingsTest.moc"
