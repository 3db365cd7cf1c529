#include "views/CConfigurationEditorView.h"

#include "project/settings/CNetworkConfiguration.h"
#include "views/CTextEditorView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

CConfigurationEditorView::CConfigurationEditorView(QWidget* parent) : QDialog(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    m_pTextView = new CTextEditorView(this);
    // The object name is the property key the text is stored under.
    m_pTextView->setObjectName("PROJECT_CONFIGURATION");
    pLayout->addWidget(m_pTextView);

    auto* pMenuBar = new QMenuBar(this);
    QMenu* pMenu = pMenuBar->addMenu("Configuration");
    m_pFitAction = pMenu->addAction("Fit to Classes");
    pLayout->setMenuBar(pMenuBar);
    auto* pButtons = new QHBoxLayout();
    m_pTrainingValues = new QCheckBox("Training values", this);
    m_pFitButton = new QPushButton("Fit to Classes", this);
    pButtons->addWidget(m_pTrainingValues);
    pButtons->addStretch();
    pButtons->addWidget(m_pFitButton);
    pLayout->addLayout(pButtons);
    connect(m_pFitButton, &QPushButton::pressed, this, &CConfigurationEditorView::FitToClasses);
    connect(m_pFitAction, &QAction::triggered, this, &CConfigurationEditorView::FitToClasses);

    connect(m_pTextView, &CTextEditorView::signal_TextChanged, this,
            &CConfigurationEditorView::slot_UpdateProjectPropertyString);
}

QSize CConfigurationEditorView::sizeHint() const
{
    return QSize(400, 600);
}

void CConfigurationEditorView::SetText(const QString& strText)
{
    if (m_pTextView)
        m_pTextView->SetText(strText);
}

void CConfigurationEditorView::slot_UpdateProjectPropertyString()
{
    auto* pTextView = qobject_cast<CTextEditorView*>(sender());
    if (!pTextView)
        return;
    emit signal_UpdateProjectProperty(pTextView->objectName(), QVariant(pTextView->GetText()));
}

void CConfigurationEditorView::FitToClasses()
{
    if (!m_pTextView)
        return;
    QTextEdit* pEdit = m_pTextView->GetTextEdit();
    const QString strText = pEdit->toPlainText();
    const QString strFitted = CNetworkConfiguration::FitToClasses(strText, m_nClasses, m_pTrainingValues->isChecked());
    if (strFitted == strText)
        return;
    // One edit block over the whole text: the document announces one change (one store) and undoes it in one step.
    QTextCursor cursor(pEdit->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(strFitted);
    cursor.endEditBlock();
}
