#include "frame/CController.h"
#include "frame/CMVCRegistry.h"
#include "frame/CModel.h"
#include "frame/CSetting.h"
#include "frame/CSettingStore.h"

#include <QWidget>
#include <QtTest>

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
    void findByTitleTakesFirstExactMatch_data();
    void findByTitleTakesFirstExactMatch();
    void controllerWalkFindsFirstOfClass();

    void setAnnouncesOnlyRealChanges_data();
    void setAnnouncesOnlyRealChanges();
    void invalidValueForNewKeyIsEnteredSilently();
    void typedGettersFallBackToDefault_data();
    void typedGettersFallBackToDefault();
};

void RegistrySettingsTest::findByTitleTakesFirstExactMatch_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("expectedView"); // index into the views registered below, -1 for none
    QTest::newRow("first of two equal titles") << "Image View [0]" << 0;
    QTest::newRow("unique title") << "Settings" << 2;
    QTest::newRow("letter case differs") << "image view [0]" << -1;
    QTest::newRow("no such title") << "Image View [3]" << -1;
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
    CMVCRegistry::PushMVC(&model, nullptr, &controller);
    CMVCRegistry::PushMVC(nullptr, &views[0], nullptr);
    CMVCRegistry::PushMVC(&model, &views[1], &controller);
    CMVCRegistry::PushMVC(nullptr, &views[2], nullptr);

    const SMVC found = CMVCRegistry::FindMVC(title);
    QCOMPARE(found.pView, expectedView < 0 ? nullptr : &views[expectedView]);
    if (expectedView == 0)
        QVERIFY(!found.pModel && !found.pController);
    CMVCRegistry::m_vctItems.clear();
}

void RegistrySettingsTest::controllerWalkFindsFirstOfClass()
{
    CMVCRegistry::m_vctItems.clear();
    QWidget window;
    CFirstController first;
    CSecondController second;
    CSecondController laterSecond;
    CMVCRegistry::PushMVC(nullptr, &window, nullptr);
    CMVCRegistry::PushMVC(nullptr, nullptr, &first);
    CMVCRegistry::PushMVC(nullptr, nullptr, &second);
    CMVCRegistry::PushMVC(nullptr, nullptr, &laterSecond);

    QCOMPARE(CMVCRegistry::FindController<CSecondController>(), &second);
    QCOMPARE(CMVCRegistry::FindController<CFirstController>(), &first);
    QCOMPARE(CMVCRegistry::m_vctItems.size(), size_t(4));
    CMVCRegistry::m_vctItems.clear();
}

void RegistrySettingsTest::setAnnouncesOnlyRealChanges_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("announced");
    QTest::newRow("text 200 equals int 200") << QVariant(QString("200")) << QVariant(200) << false;
    QTest::newRow("int 200 equals text 200") << QVariant(200) << QVariant(QString("200")) << false;
    QTest::newRow("double equals int") << QVariant(144.0) << QVariant(144) << false;
    QTest::newRow("same text") << QVariant(QString("a")) << QVariant(QString("a")) << false;
    QTest::newRow("other text") << QVariant(QString("a")) << QVariant(QString("b")) << true;
    QTest::newRow("other number") << QVariant(200) << QVariant(201) << true;
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
