#include "frame/CLogView.h"

#include "frame/CLogModel.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
const int MAX_ROWS = 500;
}

CLogView::CLogView(QWidget* parent) : QWidget(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setSpacing(0);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pTableView = new QTableView(this);
    m_pItemModel = new QStandardItemModel(m_pTableView);
    m_pTableView->setModel(m_pItemModel);
    m_pTableView->setTextElideMode(Qt::ElideNone);
    pLayout->addWidget(m_pTableView);
    SetUpHeader();

    // The table lays its rows out later than they are appended, and the scroll range grows only then (also when a
    // resize or a horizontal bar takes height away): a scroll made at the append stops short of the newest rows.
    // Following the range keeps the end in view until the user scrolls away from it.
    QScrollBar* pBar = m_pTableView->verticalScrollBar();
    connect(pBar, &QScrollBar::rangeChanged, this,
            [this, pBar](int, int nMaximum)
            {
                if (m_bFollowEnd)
                    pBar->setValue(nMaximum);
            });
    connect(pBar, &QScrollBar::actionTriggered, this,
            [this, pBar](int) { m_bFollowEnd = pBar->sliderPosition() >= pBar->maximum(); });

    connect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessages, this, &CLogView::slot_NewMessages);
}

void CLogView::SetUpHeader()
{
    m_pItemModel->setHorizontalHeaderLabels({"DateTime", "Type", "Message"});
    m_pTableView->horizontalHeader()->setStretchLastSection(true);
}

QString CLogView::LevelText(ELogLevel eLevel)
{
    switch (eLevel)
    {
    case ELogLevel_Normal:
        return QStringLiteral("NORMAL");
    case ELogLevel_Debug:
        return QStringLiteral("DEBUG");
    case ELogLevel_Warning:
        return QStringLiteral("WARNING");
    case ELogLevel_Error:
        return QStringLiteral("ERROR");
    }
    return QString();
}

QColor CLogView::LevelColor(ELogLevel eLevel)
{
    switch (eLevel)
    {
    case ELogLevel_Normal:
        return QColor(0, 255, 0, 255);
    case ELogLevel_Debug:
        return QColor(255, 255, 255, 255);
    case ELogLevel_Warning:
        return QColor(255, 255, 0, 255);
    case ELogLevel_Error:
        return QColor(255, 0, 0, 255);
    }
    return QColor();
}

void CLogView::slot_NewMessage(const SLogMessage& sMessage)
{
    slot_NewMessages(QVector<SLogMessage>{sMessage});
}

void CLogView::slot_NewMessages(const QVector<SLogMessage>& vctMessages)
{
    if (!m_pTableView || !m_pItemModel || vctMessages.isEmpty())
        return;
    const int nCount = vctMessages.size();
    const int nRows = std::min(m_pItemModel->rowCount(), MAX_ROWS);
    int nFirst = 0;
    if (nRows + nCount > MAX_ROWS)
    {
        // One by one, the table would fill up to 500 rows and be cleared by the next message, perhaps several times:
        // only the messages after the last clearing stay, so only those are made into rows.
        const int nKept = (nRows + nCount - MAX_ROWS - 1) % MAX_ROWS + 1;
        nFirst = nCount - nKept;
        m_pItemModel->clear();
        SetUpHeader();
    }

    for (int i = nFirst; i < nCount; ++i)
    {
        const SLogMessage& sMessage = vctMessages[i];
        const QBrush brush(LevelColor(sMessage.eLevel));
        QList<QStandardItem*> row;
        row << new QStandardItem(sMessage.dateTime.toString("yyyy-MM-dd hh::mm::ss"))
            << new QStandardItem(LevelText(sMessage.eLevel)) << new QStandardItem(sMessage.strMessage);
        for (QStandardItem* pItem : row)
            pItem->setForeground(brush);
        m_pItemModel->appendRow(row);
    }
    m_pTableView->scrollTo(m_pItemModel->index(m_pItemModel->rowCount() - 1, 0), QAbstractItemView::EnsureVisible);
    // A new message brings the end back into view, as it always has; the range change that follows keeps it there.
    m_bFollowEnd = true;
    m_pTableView->verticalScrollBar()->setValue(m_pTableView->verticalScrollBar()->maximum());
}
