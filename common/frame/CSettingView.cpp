#include "frame/CSettingView.h"

#include "frame/CSetting.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{
// One labelled spin box row of range 0 to 9999, named after the key it edits.
QSpinBox* AddSpinBoxRow(QVBoxLayout* pLayout, QWidget* pParent, const QString& strLabel, const QString& strKey)
{
    auto* pRow = new QHBoxLayout();
    auto* pLabel = new QLabel(strLabel, pParent);
    auto* pSpinBox = new QSpinBox(pParent);
    pSpinBox->setRange(0, 9999);
    pSpinBox->setObjectName(strKey);
    // Typed digits are one value, reported when the typing ends; each arrow step is a value of its own.
    pSpinBox->setKeyboardTracking(false);
    pRow->addWidget(pLabel, 1);
    pRow->addWidget(pSpinBox, 1);
    pLayout->addLayout(pRow);
    return pSpinBox;
}
} // namespace

CSettingView::CSettingView(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Settings"));
    auto* pLayout = new QVBoxLayout(this);
    m_pTabWidget = new QTabWidget(this);
    pLayout->addWidget(m_pTabWidget);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_pCloseButton = pButtons->button(QDialogButtonBox::Close);
    // Return ends the editing of a field (which stores it); it must not also close the dialog.
    m_pCloseButton->setAutoDefault(false);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pLayout->addWidget(pButtons);
}

void CSettingView::AddTextSetting(QLineEdit* pField)
{
    if (!pField)
        return;
    m_lstTextFields.append(pField);
    connect(pField, &QLineEdit::editingFinished, this, [this, pField] { CommitText(pField); });
}

void CSettingView::CommitText(QLineEdit* pField)
{
    if (!pField)
        return;
    // The edit has ended: from now on the field shows the stored value again.
    pField->setModified(false);
    // Leaving a field unchanged is no edit: only a new value is written and logged.
    if (pField->text() != CSetting::GetString(pField->objectName(), QString()))
        emit signal_UpdateSetingParameter(pField->objectName(), QVariant(pField->text()));
}

void CSettingView::done(int nResult)
{
    for (QLineEdit* pField : m_lstTextFields)
        CommitText(pField);
    for (QSpinBox* pSpinBox : {m_pGeneralPDFResolutionX, m_pGeneralPDFResolutionY})
    {
        if (pSpinBox)
            pSpinBox->interpretText();
    }
    QDialog::done(nResult);
}

void CSettingView::AddSettingTab(QWidget* pPage, const QString& strTitle)
{
    if (!pPage || !m_pTabWidget)
        return;
    m_pTabWidget->addTab(pPage, strTitle);
}

void CSettingView::CreateView()
{
    if (!m_pTabWidget)
        return;
    auto* pPage = new QWidget(m_pTabWidget);
    auto* pPageLayout = new QVBoxLayout(pPage);
    pPageLayout->setAlignment(Qt::AlignTop);

    auto* pGroup = new QGroupBox(QStringLiteral("PDF"), pPage);
    auto* pGroupLayout = new QVBoxLayout(pGroup);
    m_pGeneralPDFResolutionX = AddSpinBoxRow(pGroupLayout, pGroup, QStringLiteral("Resolution X:"),
                                             QStringLiteral("GENERAL_PDF_RESOLUTION_X"));
    m_pGeneralPDFResolutionY = AddSpinBoxRow(pGroupLayout, pGroup, QStringLiteral("Resolution Y:"),
                                             QStringLiteral("GENERAL_PDF_RESOLUTION_Y"));
    pPageLayout->addWidget(pGroup);

    connect(m_pGeneralPDFResolutionX, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &CSettingView::slot_ChangeValueInt);
    connect(m_pGeneralPDFResolutionY, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &CSettingView::slot_ChangeValueInt);

    AddSettingTab(pPage, QStringLiteral("General"));
}

void CSettingView::UpdateParameter()
{
    if (m_pGeneralPDFResolutionX)
    {
        const QSignalBlocker blocker(m_pGeneralPDFResolutionX);
        m_pGeneralPDFResolutionX->setValue(CSetting::GetInt(QStringLiteral("GENERAL_PDF_RESOLUTION_X"), 0));
    }
    if (m_pGeneralPDFResolutionY)
    {
        const QSignalBlocker blocker(m_pGeneralPDFResolutionY);
        m_pGeneralPDFResolutionY->setValue(CSetting::GetInt(QStringLiteral("GENERAL_PDF_RESOLUTION_Y"), 0));
    }
}

QSize CSettingView::sizeHint() const
{
    return QSize(600, 300);
}

int CSettingView::GetGeneralPDFResolutionX() const
{
    return m_pGeneralPDFResolutionX ? m_pGeneralPDFResolutionX->value() : 0;
}

int CSettingView::GetGeneralPDFResolutionY() const
{
    return m_pGeneralPDFResolutionY ? m_pGeneralPDFResolutionY->value() : 0;
}

void CSettingView::slot_ChangeValueInt(int nValue)
{
    EmitFromSender(QVariant(nValue));
}

void CSettingView::slot_ChangeValueDouble(double dblValue)
{
    EmitFromSender(QVariant(dblValue));
}

void CSettingView::slot_ChangeValueString(const QString& strValue)
{
    EmitFromSender(QVariant(strValue));
}

void CSettingView::EmitFromSender(const QVariant& value)
{
    const QObject* pSender = sender();
    if (!pSender)
        return;
    emit signal_UpdateSetingParameter(pSender->objectName(), value);
}
