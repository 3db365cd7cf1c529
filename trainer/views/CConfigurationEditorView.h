#pragma once

#include <QDialog>
#include <QVariant>

class CTextEditorView;
class QAction;
class QCheckBox;
class QPushButton;

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
    // The number of the project's categories that "Fit to Classes" sizes the network for.
    void SetClassCount(int nClasses) { m_nClasses = nClasses; }
    int GetClassCount() const { return m_nClasses; }

    // "Fit to Classes" (the button and the "Configuration" menu's entry): rewrites the text with
    // CNetworkConfiguration::FitToClasses for the class count, with the [net] section's training values when "Training
    // values" is checked. The rewrite is one edit of the text: one undo step, sent once like any other edit. A text
    // that is already fitted is left alone.
    void FitToClasses();

    CTextEditorView* GetTextView() const { return m_pTextView; }
    QPushButton* GetFitButton() const { return m_pFitButton; }
    QAction* GetFitAction() const { return m_pFitAction; }
    QCheckBox* GetTrainingValuesBox() const { return m_pTrainingValues; }

signals:
    void signal_UpdateProjectProperty(const QString& strName, const QVariant& value);

public slots:
    // Forwards the text of the sending text view under the view's object name; other senders are ignored.
    void slot_UpdateProjectPropertyString();

private:
    CTextEditorView* m_pTextView = nullptr;
    QPushButton* m_pFitButton = nullptr;
    QAction* m_pFitAction = nullptr;
    QCheckBox* m_pTrainingValues = nullptr;
    int m_nClasses = 0;
};
