#include "workspace/CSelectImageViewDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CSelectImageViewDialog::CSelectImageViewDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Select Image View");
    auto* pLayout = new QVBoxLayout(this);
    auto* pChoice = new QHBoxLayout;
    pChoice->addWidget(new QLabel("Image View: ", this));
    m_pComboBox = new QComboBox(this);
    pChoice->addWidget(m_pComboBox);
    pLayout->addLayout(pChoice);
    auto* pButtons = new QHBoxLayout;
    auto* pOK = new QPushButton("OK", this);
    auto* pCancel = new QPushButton("Cancel", this);
    pButtons->addWidget(pOK);
    pButtons->addWidget(pCancel);
    pLayout->addLayout(pButtons);
    connect(pOK, &QPushButton::pressed, this, &QDialog::accept);
    connect(pCancel, &QPushButton::pressed, this, &QDialog::reject);
}

void CSelectImageViewDialog::AddItem(const QString& strText)
{
    m_pComboBox->addItem(strText);
}

QString CSelectImageViewDialog::GetCurrentText() const
{
    return m_pComboBox->currentText();
}
