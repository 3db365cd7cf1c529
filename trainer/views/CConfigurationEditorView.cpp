#include "views/CConfigurationEditorView.h"

#include "views/CTextEditorView.h"

#include <QVBoxLayout>

CConfigurationEditorView::CConfigurationEditorView(QWidget* parent) : QDialog(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    m_pTextView = new CTextEditorView(this);
    // The object name is the property key the text is stored under.
    m_pTextView->setObjectName("PROJECT_CONFIGURATION");
    pLayout->addWidget(m_pTextView);

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
