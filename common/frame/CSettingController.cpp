#include "frame/CSettingController.h"

#include "database/CDatabase.h"
#include "database/CDatabaseRecordFactory.h"
#include "frame/CLogger.h"
#include "frame/CSetting.h"
#include "frame/CSettingRecord.h"
#include "frame/CSettingStore.h"
#include "frame/CSettingView.h"

#include <QDir>
#include <QStandardPaths>

CSettingController::CSettingController(CSettingView* pView, QObject* parent) : CController(parent), m_pView(pView)
{
    if (m_pView)
        m_pView->CreateView();
    m_pFactory = new CDatabaseRecordFactory();
    m_pDatabase = new CDatabase(m_pFactory);
    OpenSettingFile();
    LoadParameter();
    UpdateParameterView();

    // Connected last, so that loading the file and filling the editors write nothing back.
    if (m_pView)
    {
        connect(m_pView, &CSettingView::signal_UpdateSetingParameter, this,
                &CSettingController::slot_UpdateSettingParameter);
        connect(&CSettingStore::GetInstance(), &CSettingStore::signal_UpdateSettingParameter, m_pView,
                &CSettingView::signal_UpdateSetingParameter);
    }
}

CSettingController::~CSettingController()
{
    if (m_pDatabase)
    {
        m_pDatabase->Close();
        delete m_pDatabase;
        m_pDatabase = nullptr;
    }
    delete m_pFactory;
    m_pFactory = nullptr;
}

bool CSettingController::OpenSettingFile()
{
    if (!m_pDatabase)
        return false;
    const QString strDefault =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QDir::separator() + "Ovrel";
    const QString strFolder = CSetting::GetString(QStringLiteral("GENERAL_PROGRAM_CONFIG_DIR"), strDefault);
    const QString strPath = strFolder + QDir::separator() + "settings.data";

    if (!m_pDatabase->OpenDatabase(QStringLiteral("localhost"), strPath, QString(), QString()))
        return false;
    // The driver creates the file as soon as it opens, so an existing file says nothing about the table: a start
    // that ended between the two left an empty file behind.
    if (!m_pDatabase->HasTable(CSettingRecord::TABLE_NAME))
        return m_pDatabase->RunQueryFile(QStringLiteral(":/Files/database_sqlite.sql"), false);
    return true;
}

void CSettingController::LoadParameter()
{
    if (!m_pDatabase)
        return;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(CSettingRecord::TABLE_NAME, vctRecords, {});
    for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctRecords)
    {
        const std::shared_ptr<CSettingRecord> pSetting = std::dynamic_pointer_cast<CSettingRecord>(pRecord);
        if (!pSetting)
            continue;
        m_strLoadingKey = pSetting->GetName();
        CSetting::Set(pSetting->GetName(), QVariant(pSetting->GetValue()));
        m_strLoadingKey.clear();
    }
}

bool CSettingController::UpdateParameter(const QString& strKey, QVariant value)
{
    if (!m_pDatabase)
        return false;
    const QString strType = TypeName(value);
    const std::map<QString, QVariant> mapWhere = {{CSettingRecord::COLUMN_NAME, QVariant(strKey)}};
    const std::map<QString, QVariant> mapSet = {{CSettingRecord::COLUMN_VALUE, value},
                                                {CSettingRecord::COLUMN_TYPE, QVariant(strType)}};

    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(CSettingRecord::TABLE_NAME, vctRecords, mapWhere);
    bool bResult = false;
    if (vctRecords.empty())
    {
        auto pRecord = std::make_shared<CSettingRecord>();
        pRecord->SetName(strKey);
        pRecord->SetValue(value.toString());
        pRecord->SetType(strType);
        bResult = m_pDatabase->InsertToTable(std::vector<std::shared_ptr<CDatabaseRecord>>{pRecord}, false);
    }
    else
    {
        bResult = m_pDatabase->UpdateTable(CSettingRecord::TABLE_NAME, mapSet, mapWhere, false);
    }

    const QByteArray baKey = strKey.toUtf8();
    if (!bResult)
    {
        CLogger::Write(ELogLevel_Error, "Update Setting {%s} NG", baKey.constData());
        return false;
    }
    CLogger::Write(ELogLevel_Normal, "Update Setting {%s} OK", baKey.constData());
    LoadParameter();
    UpdateParameterView();
    return true;
}

void CSettingController::UpdateParameterView()
{
    if (m_pView)
        m_pView->UpdateParameter();
}

bool CSettingController::Undo()
{
    return false;
}

bool CSettingController::Redo()
{
    return false;
}

void CSettingController::slot_UpdateSettingParameter(const QString& strKey, const QVariant& value)
{
    // A value just read from the file is already stored there; writing it back would only change its TYPE to text.
    if (!m_strLoadingKey.isNull() && strKey == m_strLoadingKey)
        return;
    UpdateParameter(strKey, value);
}

QString CSettingController::TypeName(const QVariant& value)
{
    switch (static_cast<int>(value.userType()))
    {
    case QMetaType::Bool:
        return QStringLiteral("bool");
    case QMetaType::Int:
        return QStringLiteral("int");
    case QMetaType::Double:
        return QStringLiteral("double");
    case QMetaType::QString:
        return QStringLiteral("string");
    default:
        return QString();
    }
}
