#include "process/CImageProcessView.h"

#include "frame/CMVCRegistry.h"
#include "workspace/CImageLayoutModel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace
{

CImageLayoutModel* FindLayoutModel()
{
    for (const SMVC& item : CMVCRegistry::m_vctItems)
    {
        if (auto* pLayout = qobject_cast<CImageLayoutModel*>(item.pModel))
            return pLayout;
    }
    return nullptr;
}

QGroupBox* SourceBox(const QString& strTitle, QComboBox* pImage, const QString& strImage, QComboBox* pROI,
                     const QString& strROI, QWidget* parent)
{
    auto* pBox = new QGroupBox(strTitle, parent);
    auto* pGrid = new QGridLayout(pBox);
    pGrid->addWidget(new QLabel(strImage, pBox), 0, 0);
    pGrid->addWidget(pImage, 0, 1);
    pGrid->addWidget(new QLabel(strROI, pBox), 1, 0);
    pGrid->addWidget(pROI, 1, 1);
    pGrid->setColumnStretch(1, 1);
    return pBox;
}

// Beside the UID in Qt::UserRole, the shape's name: the shown text also tells where the shape is.
constexpr int kRegionNameRole = Qt::UserRole + 1;
} // namespace

CImageProcessView::CImageProcessView(QWidget* parent) : QDialog(parent)
{
    m_pParameterBox = new QGroupBox("Parameter", this);
    m_pResultBox = new QGroupBox("Result", this);
    m_pButtonBox = new QGroupBox("Button", this);
    m_pMessageBox = new QGroupBox("Message", this);
    m_pSourceImage = new QComboBox(this);
    m_pSourceImage->setObjectName("SourceImage");
    m_pSourceROI = new QComboBox(this);
    m_pSourceROI->setObjectName("SourceROI");
    m_pTargetImage = new QComboBox(this);
    m_pTargetROI = new QComboBox(this);
    m_pMessage = new QLabel(m_pMessageBox);
    m_pMessage->setObjectName("Message");
    m_pMessage->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_pMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* pMain = new QVBoxLayout(this);
    pMain->setContentsMargins(0, 0, 0, 0);

    auto* pSources = new QHBoxLayout;
    pSources->addWidget(SourceBox("Source Image", m_pSourceImage, "Source Image", m_pSourceROI, "Source ROI", this));
    pSources->addWidget(SourceBox("Target Image", m_pTargetImage, "Target Image", m_pTargetROI, "Target ROI", this));
    pMain->addLayout(pSources, 32);

    auto* pMiddle = new QWidget(this);
    pMiddle->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* pMiddleLayout = new QHBoxLayout(pMiddle);
    m_pParameterBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_pResultBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    pMiddleLayout->addWidget(m_pParameterBox, 1);
    pMiddleLayout->addWidget(m_pResultBox, 1);
    pMain->addWidget(pMiddle, 0);

    pMain->addWidget(m_pButtonBox, 0);

    auto* pMessageLayout = new QVBoxLayout(m_pMessageBox);
    pMessageLayout->addWidget(m_pMessage);
    pMain->addWidget(m_pMessageBox, 64);

    if (CImageLayoutModel* pLayout = FindLayoutModel())
        connect(pLayout, &CImageLayoutModel::signal_ChangedSize, this, &CImageProcessView::slot_ChangeImageViewNumber);
    // Only the user's choice rebinds: refilling the list on a layout change must not move the tool to another viewer.
    connect(m_pSourceImage, &QComboBox::textActivated, this, &CImageProcessView::signal_ChangeSourceImageView);
    ChangeImageViewNumber();
}

CImageProcessView::~CImageProcessView() = default;

void CImageProcessView::SetSourceROITitle(const std::vector<QString>& vctNames)
{
    m_pSourceROI->clear();
    for (const QString& strName : vctNames)
        m_pSourceROI->addItem(strName);
}

void CImageProcessView::ClearSourceROI()
{
    m_pSourceROI->clear();
}

void CImageProcessView::AddSourceROI(const QString& strName)
{
    m_pSourceROI->addItem(strName);
}

void CImageProcessView::DeleteSourceROI(const QString& strName)
{
    for (int i = 0; i < m_pSourceROI->count(); ++i)
    {
        if (m_pSourceROI->itemText(i) == strName)
        {
            m_pSourceROI->removeItem(i);
            return;
        }
    }
}

QString CImageProcessView::GetSourceImage() const
{
    return m_pSourceImage->currentText();
}

void CImageProcessView::SetSourceROIIndex(int nIndex)
{
    if (nIndex < m_pSourceROI->count())
        m_pSourceROI->setCurrentIndex(nIndex);
}

int CImageProcessView::GetSourceROIIndex() const
{
    return m_pSourceROI->currentIndex();
}

QString CImageProcessView::GetSourceROIName() const
{
    const QVariant name = m_pSourceROI->currentData(kRegionNameRole);
    return name.isValid() ? name.toString() : m_pSourceROI->currentText();
}

void CImageProcessView::AddSourceRegion(unsigned int nUID, const QString& strName, const QString& strText)
{
    m_pSourceROI->addItem(strText, QVariant(nUID));
    m_pSourceROI->setItemData(m_pSourceROI->count() - 1, strName, kRegionNameRole);
}

void CImageProcessView::UpdateSourceRegion(unsigned int nUID, const QString& strName, const QString& strText)
{
    const int nIndex = FindSourceRegion(nUID);
    if (nIndex < 0)
        return;
    m_pSourceROI->setItemText(nIndex, strText);
    m_pSourceROI->setItemData(nIndex, strName, kRegionNameRole);
}

void CImageProcessView::DeleteSourceRegion(unsigned int nUID)
{
    const int nIndex = FindSourceRegion(nUID);
    if (nIndex >= 0)
        m_pSourceROI->removeItem(nIndex);
}

unsigned int CImageProcessView::GetSourceRegionUID() const
{
    return m_pSourceROI->currentData().toUInt();
}

int CImageProcessView::FindSourceRegion(unsigned int nUID) const
{
    for (int i = 0; i < m_pSourceROI->count(); ++i)
    {
        if (m_pSourceROI->itemData(i).isValid() && m_pSourceROI->itemData(i).toUInt() == nUID)
            return i;
    }
    return -1;
}

void CImageProcessView::SetMessage(const QString& strMessage)
{
    m_pMessage->setText(strMessage);
}

QSize CImageProcessView::sizeHint() const
{
    return QSize(600, 300);
}

void CImageProcessView::slot_ChangeImageViewNumber()
{
    ChangeImageViewNumber();
}

QTreeView* CImageProcessView::AddParameterTable(QStandardItemModel* pItems, QAbstractItemDelegate* pDelegate)
{
    if (!m_pParameterBox)
        return nullptr;
    auto* pLayout = new QVBoxLayout(m_pParameterBox);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    auto* pTree = new QTreeView(m_pParameterBox);
    pTree->setObjectName("Parameters");
    pTree->header()->hide();
    pTree->setRootIsDecorated(false);
    pTree->setModel(pItems);
    pTree->setItemDelegateForColumn(1, pDelegate);
    pLayout->addWidget(pTree);
    return pTree;
}

QPushButton* CImageProcessView::AddRunButton(QSizePolicy::Policy eHorizontal, QSizePolicy::Policy eVertical,
                                             bool bTight)
{
    if (!m_pButtonBox)
        return nullptr;
    auto* pLayout = new QVBoxLayout(m_pButtonBox);
    if (bTight)
    {
        pLayout->setContentsMargins(0, 0, 0, 0);
        pLayout->setSpacing(0);
    }
    auto* pRun = new QPushButton("Run", m_pButtonBox);
    pRun->setObjectName("Run");
    pRun->setSizePolicy(eHorizontal, eVertical);
    pLayout->addWidget(pRun);
    return pRun;
}

void CImageProcessView::ChangeImageViewNumber()
{
    const CImageLayoutModel* pLayout = FindLayoutModel();
    if (!pLayout)
        return;
    m_pSourceImage->clear();
    const int nCount = pLayout->GetRow() * pLayout->GetColumn();
    for (int i = 0; i < nCount; ++i)
        m_pSourceImage->addItem(QString("Image View [%1]").arg(i));
}
