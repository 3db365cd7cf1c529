#include "progress/CProgressView.h"

#include "progress/CProgressModel.h"

#include <QHBoxLayout>
#include <QProgressBar>

CProgressView::CProgressView(CProgressModel* pModel, QWidget* parent)
    : QWidget(parent), m_pModel(pModel), m_pProgressBar(new QProgressBar(this))
{
    auto* pLayout = new QHBoxLayout(this);
    pLayout->setSpacing(0);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pProgressBar);
    if (!m_pModel)
        return;
    connect(m_pModel, &CProgressModel::signal_MaxRangeChanged, this, &CProgressView::slot_ChangeMaxRange);
    connect(m_pModel, &CProgressModel::signal_ValueChanged, this, &CProgressView::slot_ChangeValue);
    // The model may have moved before the view was made; the bar's own defaults would not show that.
    slot_ChangeMaxRange();
}

QProgressBar* CProgressView::GetProgressBar() const
{
    return m_pProgressBar;
}

void CProgressView::slot_ChangeMaxRange()
{
    if (!m_pModel || !m_pProgressBar)
        return;
    m_pProgressBar->setRange(0, m_pModel->GetMaxRange());
    // A bar ignores a value outside its range, and empties itself when a new range leaves its value outside: show
    // the model's value again against the new range.
    slot_ChangeValue();
}

void CProgressView::slot_ChangeValue()
{
    if (!m_pModel || !m_pProgressBar)
        return;
    m_pProgressBar->setValue(qBound(m_pProgressBar->minimum(), m_pModel->GetValue(), m_pProgressBar->maximum()));
}
