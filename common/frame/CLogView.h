#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/SLogMessage.h"

#include <QVector>
#include <QWidget>

class QTableView;
class QStandardItemModel;

// Shows every log message handed out after its construction as a coloured row. Holds at most 500 rows: the 501st
// message clears the table and becomes its first row. A batch ends as if its messages had come one by one.
class OVRELCOMMON_EXPORT CLogView : public QWidget
{
    Q_OBJECT
public:
    explicit CLogView(QWidget* parent = nullptr);

    QStandardItemModel* GetItemModel() const { return m_pItemModel; }

    static QString LevelText(ELogLevel eLevel);
    static QColor LevelColor(ELogLevel eLevel);

public slots:
    void slot_NewMessage(const SLogMessage& sMessage);
    void slot_NewMessages(const QVector<SLogMessage>& vctMessages);

private:
    void SetUpHeader();

    QTableView* m_pTableView = nullptr;
    QStandardItemModel* m_pItemModel = nullptr;
};
