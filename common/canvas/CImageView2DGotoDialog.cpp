#include "canvas/CImageView2DGotoDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

CImageView2DGotoDialog::CImageView2DGotoDialog(QWidget* parent) : QDialog(parent)
{
    auto* pLayout = new QHBoxLayout(this);
    pLayout->addWidget(new QLabel("X:", this));
    m_pXSpinBox = new QSpinBox(this);
    pLayout->addWidget(m_pXSpinBox);
    pLayout->addWidget(new QLabel("Y:", this));
    m_pYSpinBox = new QSpinBox(this);
    pLayout->addWidget(m_pYSpinBox);
    m_pGotoButton = new QPushButton("Go To", this);
    pLayout->addWidget(m_pGotoButton);
    connect(m_pGotoButton, &QPushButton::pressed, this, &QDialog::accept);
}

CImageView2DGotoDialog::~CImageView2DGotoDialog() = default;

void CImageView2DGotoDialog::SetRange(int nMaxX, int nMaxY)
{
    m_pXSpinBox->setRange(0, nMaxX);
    m_pYSpinBox->setRange(0, nMaxY);
}

int CImageView2DGotoDialog::GetX() const
{
    return m_pXSpinBox->value();
}

int CImageView2DGotoDialog::GetY() const
{
    return m_pYSpinBox->value();
}
