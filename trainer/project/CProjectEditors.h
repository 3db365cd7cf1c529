#pragma once

#include <QPointer>
#include <QString>

class CClassChooserController;
class CClassChooserView;
class CClassEditorController;
class CClassEditorView;
class CConfigurationEditorView;
class CDatabase;
class CParameterEditorController;
class CParameterEditorView;
class CProjectProperties;
class CProjectPropertyModel;
class CProjectPropertyView;
class CProjectView;

// The open project's dialogs: the class, parameter and configuration editors, the property dialog and the class
// chooser a new box asks through. Each is shown through CPrompt. The editors' dialogs are the project view's children
// and go with it (a dialog gone with the view is not shown any more); the property dialog has no parent, and without a
// project view neither have the others: those go with this object. The database is not owned and must outlive it.
class CProjectEditors
{
public:
    CProjectEditors(CDatabase* pDatabase, CProjectView* pView);
    ~CProjectEditors();

    // The dialogs, for their signals; null once gone.
    CClassEditorView* ClassEditor() const;
    CConfigurationEditorView* ConfigurationEditor() const;
    CProjectPropertyView* PropertyView() const { return m_pPropertyView; }

    // The class editor with the category rows; false when it is gone (nothing shown).
    bool EditClasses();
    // The parameter editor with the parameter rows.
    void EditParameters();
    // The configuration editor with the text and the project's class count.
    void EditConfiguration(int nClasses, const QString& strConfiguration);
    // The property dialog, as it was last loaded.
    void ShowProperties();
    // The property dialog's values: PROJECT_INITIALIZED_MODEL, then PROJECT_INITIALIZED_CONF.
    void LoadProperties(const CProjectProperties& properties);

    bool HasChooser() const;
    // Asks for the class of a new box with the category rows; false when the chooser was cancelled. The chosen name
    // is offered first next time. A reason, when given, is shown above the names (see CClassChooserView::SetReason).
    bool ChooseClass(QString& strClass, const QString& strReason = QString());

private:
    QPointer<CClassEditorView> m_pClassEditorView;
    CClassEditorController* m_pClassEditorController = nullptr;
    QPointer<CClassChooserView> m_pClassChooserView;
    CClassChooserController* m_pClassChooserController = nullptr;
    QPointer<CParameterEditorView> m_pParameterEditorView;
    CParameterEditorController* m_pParameterEditorController = nullptr;
    QPointer<CConfigurationEditorView> m_pConfigurationEditorView;
    CProjectPropertyModel* m_pPropertyModel = nullptr;
    CProjectPropertyView* m_pPropertyView = nullptr;
    bool m_bOwnsEditors = false;
};
