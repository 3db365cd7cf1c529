#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CController.h"

#include <QString>
#include <QVariant>

class CDatabase;
class CDatabaseRecordFactory;
class CSettingView;

// Keeps the settings store and the file "settings.data" (in GENERAL_PROGRAM_CONFIG_DIR) in step. On construction it
// builds the view, opens or creates the file and loads every saved value into the store; from then on every change
// the store announces is written back to the file through the view's relay, so a controller needs a view to persist.
class OVRELCOMMON_EXPORT CSettingController : public CController
{
    Q_OBJECT
public:
    // The view is not owned and may be null.
    explicit CSettingController(CSettingView* pView, QObject* parent = nullptr);
    ~CSettingController() override;

    // Opens the file, creating it when it does not exist yet and its table when the file has none.
    bool OpenSettingFile();
    // Sets every saved value into the store, as text.
    void LoadParameter();
    // Writes one value (inserting or updating its row), logs "Update Setting {key} OK" or "... NG", then reloads
    // the store and refreshes the view.
    bool UpdateParameter(const QString& strKey, QVariant value);
    void UpdateParameterView();

    // Settings changes are not undoable.
    bool Undo() override;
    bool Redo() override;

public slots:
    void slot_UpdateSettingParameter(const QString& strKey, const QVariant& value);

private:
    static QString TypeName(const QVariant& value);

    CSettingView* m_pView = nullptr;
    CDatabaseRecordFactory* m_pFactory = nullptr;
    CDatabase* m_pDatabase = nullptr;
    // The key LoadParameter is putting into the store: its announcement comes back here and must not be written.
    QString m_strLoadingKey;
};
