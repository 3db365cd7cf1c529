#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/SLogMessage.h"

#include <QVector>
#include <QWidget>

class QTableView;
class QStandardItemModel;

// Shows every log message handed out after its construction as a coloured row. Holds at most 500 rows: the 501st
// message clears the table and becomes its first row. A batch ends as if its messages had come one by one. Each new
// message brings the newest row into view and keeps it there, also once the rows are laid out and when the view
// changes size, until the user scrolls away from the end.
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
    bool m_bFollowEnd = true;
};
