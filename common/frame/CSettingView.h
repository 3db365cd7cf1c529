#pragma once

#include "OvrelCommonGlobal.h"

#include <QDialog>
#include <QString>
#include <QVariant>

class QSpinBox;
class QTabWidget;

// The settings dialog. Every editor carries the key it edits as its object name and reports each change at once
// through signal_UpdateSetingParameter; there is no OK or Apply step. Programs derive from it, call CreateView()
// first in their own CreateView() and then add their tabs with AddSettingTab().
class OVRELCOMMON_EXPORT CSettingView : public QDialog
{
    Q_OBJECT
public:
    explicit CSettingView(QWidget* parent = nullptr);

    // Adds the page as a tab; does nothing without a page.
    void AddSettingTab(QWidget* pPage, const QString& strTitle);

    // Builds the "General" tab with the PDF resolution editors.
    virtual void CreateView();
    // Shows the stored values in the editors. Refreshing an editor is not an edit, so it reports nothing.
    virtual void UpdateParameter();
    QSize sizeHint() const override;

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
};
