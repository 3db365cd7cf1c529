#pragma once

#include <QWidget>

class QTextEdit;

// A plain-text editor (lines never wrap) with a line-number gutter on its left. The two share one vertical scroll bar,
// so the numbers stay level with the text; the gutter cannot be typed into.
class CTextEditorView : public QWidget
{
    Q_OBJECT
public:
    explicit CTextEditorView(QWidget* parent = nullptr);

    // Replaces the whole text. The text is taken as plain text, never as markup, so that it comes back from GetText
    // unchanged. Emits signal_TextChanged once.
    void SetText(const QString& strText);
    // The text as plain text; empty without a text editor.
    QString GetText() const;

    QTextEdit* GetTextEdit() const { return m_pTextEdit; }
    QTextEdit* GetLineNumberEdit() const { return m_pLineNumberEdit; }

signals:
    // After every change of the text, once the gutter shows the new line count.
    void signal_TextChanged();

public slots:
    void slot_TextChanged();

private:
    QTextEdit* m_pLineNumberEdit = nullptr;
    QTextEdit* m_pTextEdit = nullptr;
};
