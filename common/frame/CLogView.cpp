#include "frame/CLogView.h"

#include "frame/CLogModel.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

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

    connect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessage, this, &CLogView::slot_NewMessage);
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
    if (!m_pTableView || !m_pItemModel)
        return;
    if (m_pItemModel->rowCount() >= MAX_ROWS)
    {
        m_pItemModel->clear();
        SetUpHeader();
    }

    const QBrush brush(LevelColor(sMessage.eLevel));
    QList<QStandardItem*> row;
    row << new QStandardItem(sMessage.dateTime.toString("yyyy-MM-dd hh::mm::ss"))
        << new QStandardItem(LevelText(sMessage.eLevel)) << new QStandardItem(sMessage.strMessage);
    for (QStandardItem* pItem : row)
        pItem->setForeground(brush);
    m_pItemModel->appendRow(row);
    m_pTableView->scrollTo(m_pItemModel->index(m_pItemModel->rowCount() - 1, 0), QAbstractItemView::EnsureVisible);
}
