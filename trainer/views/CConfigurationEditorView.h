#pragma once

#include <QDialog>
#include <QVariant>

class CTextEditorView;

// Modal editor of the project's network configuration. It has no save step: every change of the text, including the
// one SetText makes, sends the whole text as the project property "PROJECT_CONFIGURATION".
class CConfigurationEditorView : public QDialog
{
    Q_OBJECT
public:
    explicit CConfigurationEditorView(QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // Shows the text; this sends it once through signal_UpdateProjectProperty, unchanged.
    void SetText(const QString& strText);

    CTextEditorView* GetTextView() const { return m_pTextView; }

signals:
    void signal_UpdateProjectProperty(const QString& strName, const QVariant& value);

public slots:
    // Forwards the text of the sending text view under the view's object name; other senders are ignored.
    void slot_UpdateProjectPropertyString();

private:
    CTextEditorView* m_pTextView = nullptr;
};
