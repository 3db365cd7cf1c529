#include "views/CClassChooserView.h"

#include "project/classes/CClassColours.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CClassChooserView::CClassChooserView(QWidget* parent) : QDialog(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    m_pReason = new QLabel(this);
    m_pReason->setVisible(false);
    pLayout->addWidget(m_pReason);
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

    // The combo box has the focus and would take digits for a search among the names.
    m_pComboBox->installEventFilter(this);
    connect(pOKButton, &QPushButton::pressed, this, &QDialog::accept);
    connect(pCancelButton, &QPushButton::pressed, this, &QDialog::reject);
}

void CClassChooserView::SetItems(const QStringList& names, const QList<QColor>& lstColours)
{
    if (!m_pComboBox)
        return;
    m_pComboBox->clear();
    m_pComboBox->addItems(names);
    for (int i = 0; i < std::min(names.size(), lstColours.size()); ++i)
        m_pComboBox->setItemIcon(i, CClassColours::Swatch(lstColours[i]));
    const int nLast = m_strLastChosen.isEmpty() ? -1 : names.indexOf(m_strLastChosen);
    if (nLast >= 0)
        m_pComboBox->setCurrentIndex(nLast);
}

bool CClassChooserView::ChooseByDigit(int nKey)
{
    if (nKey < Qt::Key_1 || nKey > Qt::Key_9 || !m_pComboBox)
        return false;
    const int nIndex = nKey - Qt::Key_1;
    if (nIndex >= m_pComboBox->count())
        return false;
    m_pComboBox->setCurrentIndex(nIndex);
    accept();
    return true;
}

bool CClassChooserView::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::KeyPress)
    {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->modifiers() == Qt::NoModifier || pKey->modifiers() == Qt::KeypadModifier)
        {
            if (ChooseByDigit(pKey->key()))
                return true;
        }
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

void CClassChooserView::keyPressEvent(QKeyEvent* pEvent)
{
    if ((pEvent->modifiers() == Qt::NoModifier || pEvent->modifiers() == Qt::KeypadModifier) &&
        ChooseByDigit(pEvent->key()))
        return;
    QDialog::keyPressEvent(pEvent);
}

void CClassChooserView::SetReason(const QString& strReason)
{
    m_pReason->setText(strReason);
    m_pReason->setVisible(!strReason.isEmpty());
}

QString CClassChooserView::GetReason() const
{
    return m_pReason->text();
}

QString CClassChooserView::GetSelectedName() const
{
    if (!m_pComboBox)
        return QString();
    return m_pComboBox->currentText();
}
