#pragma once

#include <QDialog>
#include <QVariant>

class CProjectPropertyModel;
class QCheckBox;
class QLineEdit;
class QPushButton;

// Modal dialog of the project's file-path properties and its yes/no options. Each field carries its property name as
// object name; every change of a field's text is sent at once as (name, text), of a box's check as (name, bool). Values
// the model receives are shown in the fields.
class CProjectPropertyView : public QDialog
{
    Q_OBJECT
public:
    // The model is not owned and must outlive the dialog.
    explicit CProjectPropertyView(CProjectPropertyModel* pModel, QWidget* parent = nullptr);

    QLineEdit* GetModelPathEdit() const { return m_pModelPathEdit; }
    QLineEdit* GetConfigurePathEdit() const { return m_pConfigurePathEdit; }
    QCheckBox* GetAllowNoBoxesBox() const { return m_pAllowNoBoxesBox; }

signals:
    void signal_UpdateProjectProperty(const QString& strName, const QVariant& value);

public slots:
    void slot_ChooseInitializedModel();
    void slot_ChooseInitializedConfigure();
    void slot_ChangeProjectProperty(const QString& strName);
    void slot_UpdateProjectPropertyString(const QString& strValue);
    void slot_UpdateProjectPropertyBool(bool bValue);

private:
    QWidget* CreateRow(const QString& strLabel, QLineEdit* pEdit, QPushButton* pButton);
    void ChooseFileInto(QLineEdit* pEdit);

    QLineEdit* m_pModelPathEdit = nullptr;
    QLineEdit* m_pConfigurePathEdit = nullptr;
    QCheckBox* m_pAllowNoBoxesBox = nullptr;
    CProjectPropertyModel* m_pModel = nullptr;
};
