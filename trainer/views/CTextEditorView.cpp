#include "views/CTextEditorView.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QStringList>
#include <QTextDocument>
#include <QTextEdit>

CTextEditorView::CTextEditorView(QWidget* parent) : QWidget(parent)
{
    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);

    m_pLineNumberEdit = new QTextEdit(this);
    m_pLineNumberEdit->setEnabled(false);
    m_pLineNumberEdit->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Expanding);
    m_pLineNumberEdit->setStyleSheet("background-color: rgb(90, 90, 90); color: rgb(240, 240, 240);");
    m_pLineNumberEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_pTextEdit = new QTextEdit(this);
    m_pTextEdit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Unwrapped, every text line is one row: the numbers are the real line numbers and stay level at any width.
    m_pTextEdit->setLineWrapMode(QTextEdit::NoWrap);
    // The editor takes over the gutter's scroll bar: one visible bar then moves both contents together.
    m_pTextEdit->setVerticalScrollBar(m_pLineNumberEdit->verticalScrollBar());

    pLayout->addWidget(m_pLineNumberEdit);
    pLayout->addWidget(m_pTextEdit);

    connect(m_pTextEdit, &QTextEdit::textChanged, this, &CTextEditorView::slot_TextChanged);
    slot_TextChanged();
}

void CTextEditorView::SetText(const QString& strText)
{
    if (!m_pLineNumberEdit || !m_pTextEdit)
        return;
    // Plain text: a configuration that happens to look like markup must not be rewritten when it is shown.
    m_pTextEdit->setPlainText(strText);
}

QString CTextEditorView::GetText() const
{
    if (!m_pTextEdit)
        return QString();
    return m_pTextEdit->toPlainText();
}

void CTextEditorView::slot_TextChanged()
{
    if (!m_pLineNumberEdit || !m_pTextEdit)
        return;

    const int nLines = m_pTextEdit->document()->lineCount();
    // The numbers only change with the line count; rebuilding them on every keystroke would relayout the gutter.
    if (m_pLineNumberEdit->document()->blockCount() != nLines || m_pLineNumberEdit->document()->isEmpty())
    {
        QStringList numbers;
        numbers.reserve(nLines);
        for (int i = 1; i <= nLines; ++i)
            numbers << QString::number(i);
        // The two panes share one scroll bar, which the gutter's new text would reset to the top.
        QScrollBar* pScrollBar = m_pTextEdit->verticalScrollBar();
        const int nScroll = pScrollBar->value();
        m_pLineNumberEdit->setPlainText(numbers.join('\n'));
        pScrollBar->setValue(nScroll);
    }

    const QMargins margins = m_pLineNumberEdit->contentsMargins();
    const QFontMetrics metrics(m_pLineNumberEdit->font());
    m_pLineNumberEdit->setFixedWidth(margins.left() + 30 + metrics.horizontalAdvance(QString::number(nLines)) +
                                     margins.right());

    emit signal_TextChanged();
}
