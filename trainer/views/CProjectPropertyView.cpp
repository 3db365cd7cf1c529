#include "views/CProjectPropertyView.h"

#include "frame/CPrompt.h"
#include "views/CProjectPropertyModel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CProjectPropertyView::CProjectPropertyView(CProjectPropertyModel* pModel, QWidget* parent)
    : QDialog(parent), m_pModel(pModel)
{
    auto* pLayout = new QVBoxLayout(this);

    m_pModelPathEdit = new QLineEdit;
    m_pModelPathEdit->setObjectName("PROJECT_INITIALIZED_MODEL");
    auto* pChooseModel = new QPushButton("Choose Model");
    pLayout->addWidget(CreateRow("Initialized Model:", m_pModelPathEdit, pChooseModel));

    m_pConfigurePathEdit = new QLineEdit;
    m_pConfigurePathEdit->setObjectName("PROJECT_INITIALIZED_CONF");
    auto* pChooseConfigure = new QPushButton("Choose Configure");
    pLayout->addWidget(CreateRow("Initialized Configure:", m_pConfigurePathEdit, pChooseConfigure));

    // The name is the project's property (CProjectProperties::ALLOW_NO_BOXES); views do not look down into it.
    m_pAllowNoBoxesBox = new QCheckBox("Allow images without boxes (they train as negatives)");
    m_pAllowNoBoxesBox->setObjectName("PROJECT_ALLOW_NO_BOXES");
    pLayout->addWidget(m_pAllowNoBoxesBox);

    connect(pChooseModel, &QPushButton::pressed, this, &CProjectPropertyView::slot_ChooseInitializedModel);
    connect(m_pModelPathEdit, &QLineEdit::textChanged, this, &CProjectPropertyView::slot_UpdateProjectPropertyString);
    if (m_pModel)
        connect(m_pModel, &CProjectPropertyModel::signal_ChangeProperty, this,
                &CProjectPropertyView::slot_ChangeProjectProperty);
    connect(pChooseConfigure, &QPushButton::pressed, this, &CProjectPropertyView::slot_ChooseInitializedConfigure);
    connect(m_pConfigurePathEdit, &QLineEdit::textChanged, this,
            &CProjectPropertyView::slot_UpdateProjectPropertyString);
    connect(m_pAllowNoBoxesBox, &QCheckBox::toggled, this, &CProjectPropertyView::slot_UpdateProjectPropertyBool);
}

QWidget* CProjectPropertyView::CreateRow(const QString& strLabel, QLineEdit* pEdit, QPushButton* pButton)
{
    auto* pRow = new QWidget(this);
    auto* pRowLayout = new QHBoxLayout(pRow);
    // Return in a path field must not press a chooser button: a cancelled chooser would be the only result.
    pButton->setAutoDefault(false);
    pRowLayout->addWidget(new QLabel(strLabel), 1);
    pRowLayout->addWidget(pEdit, 4);
    pRowLayout->addWidget(pButton, 1);
    return pRow;
}

void CProjectPropertyView::ChooseFileInto(QLineEdit* pEdit)
{
    if (!pEdit)
        return;
    const QString strFile = CPrompt::GetOpenFileName(nullptr, QString(), QString(), QString());
    // A cancelled chooser answers nothing; the stored path stays as it was.
    if (strFile.isEmpty())
        return;
    pEdit->setText(strFile);
}

void CProjectPropertyView::slot_ChooseInitializedModel()
{
    ChooseFileInto(m_pModelPathEdit);
}

void CProjectPropertyView::slot_ChooseInitializedConfigure()
{
    ChooseFileInto(m_pConfigurePathEdit);
}

void CProjectPropertyView::slot_ChangeProjectProperty(const QString& strName)
{
    if (!m_pModel || !m_pModelPathEdit || !m_pConfigurePathEdit)
        return;
    if (m_pAllowNoBoxesBox && m_pAllowNoBoxesBox->objectName() == strName)
    {
        const QSignalBlocker blocker(m_pAllowNoBoxesBox);
        m_pAllowNoBoxesBox->setChecked(m_pModel->GetProperty(strName).toBool());
        return;
    }
    QLineEdit* pEdit = nullptr;
    if (m_pModelPathEdit->objectName() == strName)
        pEdit = m_pModelPathEdit;
    else if (m_pConfigurePathEdit->objectName() == strName)
        pEdit = m_pConfigurePathEdit;
    if (!pEdit)
        return;
    const QString strValue = m_pModel->GetProperty(strName).toString();
    // Setting the same text again would only move the user's cursor to the end of the field.
    if (pEdit->text() == strValue)
        return;
    // Showing a stored value is not an edit: opening a project must not write it back into the project file.
    const QSignalBlocker blocker(pEdit);
    pEdit->setText(strValue);
}

void CProjectPropertyView::slot_UpdateProjectPropertyString(const QString& strValue)
{
    QObject* pSender = sender();
    if (!pSender)
        return;
    emit signal_UpdateProjectProperty(pSender->objectName(), QVariant(strValue));
    // The model follows what the user typed, so that a later project holding the model's old value still refreshes
    // the field instead of leaving the typed text on show.
    if (m_pModel && (pSender == m_pModelPathEdit || pSender == m_pConfigurePathEdit))
        m_pModel->SetProperty(pSender->objectName(), QVariant(strValue));
}

void CProjectPropertyView::slot_UpdateProjectPropertyBool(bool bValue)
{
    QObject* pSender = sender();
    if (!pSender)
        return;
    emit signal_UpdateProjectProperty(pSender->objectName(), QVariant(bValue));
    if (m_pModel)
        m_pModel->SetProperty(pSender->objectName(), QVariant(bValue));
}
