#include "views/CDatasetReportView.h"

#include "project/report/CDatasetReport.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{
// Where an image item keeps what opening it needs.
const int ROLE_IMAGE_ID = Qt::UserRole;
const int ROLE_IMAGE_PATH = Qt::UserRole + 1;
} // namespace

CDatasetReportView::CDatasetReportView(QWidget* pParent) : QWidget(pParent)
{
    m_pSummary = new QLabel(this);
    m_pClasses = new QTreeWidget(this);
    m_pClasses->setHeaderLabels({"Class", "Boxes", "Images"});
    m_pClasses->setRootIsDecorated(false);
    m_pFlaws = new QTreeWidget(this);
    m_pFlaws->setHeaderLabels({"Flaw", "Count"});
    // A narrow dock scrolls sideways rather than cutting a flaw's title or a class's name short.
    for (QTreeWidget* pTree : {m_pClasses, m_pFlaws})
    {
        pTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        pTree->header()->setStretchLastSection(false);
        pTree->setTextElideMode(Qt::ElideNone);
    }
    m_pSummary->setWordWrap(true);

    auto* pSplitter = new QSplitter(Qt::Vertical, this);
    pSplitter->setObjectName("Dataset Report Splitter");
    pSplitter->addWidget(m_pClasses);
    pSplitter->addWidget(m_pFlaws);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pSummary);
    pLayout->addWidget(pSplitter);

    connect(m_pFlaws, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* pItem, int) { OnDoubleClicked(pItem); });
}

QString CDatasetReportView::GetSummary() const
{
    return m_pSummary->text();
}

void CDatasetReportView::SetReport(const CDatasetReport& report)
{
    QString strSummary = QString("%1 images, %2 boxes, %3 classes")
                             .arg(report.ImageCount())
                             .arg(report.BoxCount())
                             .arg(report.Classes().size());
    if (report.ImagesWithProposalsCount() > 0)
        strSummary += QString(", %1 images with proposals to accept or reject").arg(report.ImagesWithProposalsCount());
    m_pSummary->setText(strSummary);
    m_pClasses->clear();
    for (const CDatasetReport::SClass& category : report.Classes())
        m_pClasses->addTopLevelItem(new QTreeWidgetItem(
            {category.strName, QString::number(category.nBoxes), QString::number(category.nImages)}));
    m_pFlaws->clear();
    for (const CDatasetReport::SFlaw& flaw : report.Flaws())
    {
        auto* pFlawItem = new QTreeWidgetItem({CDatasetReport::Title(flaw.eFlaw), QString::number(flaw.nCount)});
        QList<QTreeWidgetItem*> lstImages;
        lstImages.reserve(flaw.vctImages.size());
        for (const CDatasetReport::SImage& image : flaw.vctImages)
        {
            const QString strText = image.strDetail.isEmpty() ? image.strName : image.strName + ": " + image.strDetail;
            auto* pImageItem = new QTreeWidgetItem({strText});
            pImageItem->setData(0, ROLE_IMAGE_ID, image.nID);
            pImageItem->setData(0, ROLE_IMAGE_PATH, image.strPath);
            lstImages.append(pImageItem);
        }
        pFlawItem->addChildren(lstImages);
        m_pFlaws->addTopLevelItem(pFlawItem);
    }
}

void CDatasetReportView::OnDoubleClicked(QTreeWidgetItem* pItem)
{
    if (!pItem || !pItem->parent())
        return;
    emit signal_OpenImageFile(pItem->data(0, ROLE_IMAGE_ID).toInt(), pItem->data(0, ROLE_IMAGE_PATH).toString());
}
