#include "views/CClassChooserView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CClassChooserView::CClassChooserView(QWidget* parent) : QDialog(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    m_pComboBox = new QComboBox(this);
    pLayout->addWidget(m_pComboBox);

    auto* pButtonRow = new QWidget(this);
    auto* pButtonLayout = new QHBoxLayout(pButtonRow);
    auto* pOKButton = new QPushButton("OK", pButtonRow);
    auto* pCancelButton = new QPushButton("Cancel", pButtonRow);
    pOKButton->setDefault(true);
    pCancelButton->setAutoDefault(false);
    pButtonLayout->addWidget(pOKButton);
    pButtonLayout->addWidget(pCancelButton);
    pLayout->addWidget(pButtonRow);

    connect(pOKButton, &QPushButton::pressed, this, &QDialog::accept);
    connect(pCancelButton, &QPushButton::pressed, this, &QDialog::reject);
}

void CClassChooserView::SetItems(const QStringList& names)
{
    if (!m_pComboBox)
        return;
    m_pComboBox->clear();
    m_pComboBox->addItems(names);
}

QString CClassChooserView::GetSelectedName() const
{
    if (!m_pComboBox)
        return QString();
    return m_pComboBox->currentText();
}
