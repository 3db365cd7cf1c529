#pragma once

#include "OvrelCommonGlobal.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QVariant>

class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

// The settings dialog. Every editor carries the key it edits as its object name and reports a change through
// signal_UpdateSetingParameter once its editing ends (Return, leaving the editor, a spin box's arrows, or the dialog
// being closed), never on every keystroke. Values apply as soon as they are reported, so the dialog has one "Close"
// button and no Apply step. Programs derive from it, call CreateView() first in their own CreateView() and then add
// their tabs with AddSettingTab().
class OVRELCOMMON_EXPORT CSettingView : public QDialog
{
    Q_OBJECT
public:
    explicit CSettingView(QWidget* parent = nullptr);

    // Adds the page as a tab; does nothing without a page.
    void AddSettingTab(QWidget* pPage, const QString& strTitle);
    // Reports the field's text under its object name when its editing ends and the text differs from the stored
    // value.
    void AddTextSetting(QLineEdit* pField);
    // Reports the field's text now when it differs from the stored value.
    void CommitText(QLineEdit* pField);
    // The dialog's button that closes it.
    QPushButton* GetCloseButton() const { return m_pCloseButton; }

    // Builds the "General" tab with the PDF resolution editors.
    virtual void CreateView();
    // Shows the stored values in the editors. Refreshing an editor is not an edit, so it reports nothing.
    virtual void UpdateParameter();
    QSize sizeHint() const override;
    // Whatever way the dialog ends, a field still being edited is reported first.
    void done(int nResult) override;

    // The editors' current values, 0 before CreateView().
    int GetGeneralPDFResolutionX() const;
    int GetGeneralPDFResolutionY() const;

public slots:
    // Forward an editor's change under the editor's object name; ignored unless called by a signal.
    void slot_ChangeValueInt(int nValue);
    void slot_ChangeValueDouble(double dblValue);
    void slot_ChangeValueString(const QString& strValue);

signals:
    void signal_UpdateSetingParameter(const QString& strKey, const QVariant& value);

private:
    void EmitFromSender(const QVariant& value);

    QSpinBox* m_pGeneralPDFResolutionX = nullptr;
    QSpinBox* m_pGeneralPDFResolutionY = nullptr;
    QTabWidget* m_pTabWidget = nullptr;
    QPushButton* m_pCloseButton = nullptr;
    QList<QLineEdit*> m_lstTextFields;
};
