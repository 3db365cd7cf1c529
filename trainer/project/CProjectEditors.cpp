#include "project/CProjectEditors.h"

#include "frame/CPrompt.h"
#include "project/settings/CProjectProperties.h"
#include "views/CClassChooserController.h"
#include "views/CClassChooserView.h"
#include "views/CClassEditorController.h"
#include "views/CClassEditorView.h"
#include "views/CConfigurationEditorView.h"
#include "views/CParameterEditorController.h"
#include "views/CParameterEditorView.h"
#include "views/CProjectPropertyModel.h"
#include "views/CProjectPropertyView.h"
#include "views/CProjectView.h"

CProjectEditors::CProjectEditors(CDatabase* pDatabase, CProjectView* pView) : m_bOwnsEditors(!pView)
{
    m_pClassEditorView = new CClassEditorView(pView);
    m_pClassEditorController = new CClassEditorController(m_pClassEditorView, pDatabase);
    m_pClassChooserView = new CClassChooserView(pView);
    m_pClassChooserController = new CClassChooserController(m_pClassChooserView, pDatabase);
    m_pParameterEditorView = new CParameterEditorView(pView);
    m_pParameterEditorController = new CParameterEditorController(m_pParameterEditorView, pDatabase);
    m_pConfigurationEditorView = new CConfigurationEditorView(pView);
    m_pPropertyModel = new CProjectPropertyModel();
    m_pPropertyView = new CProjectPropertyView(m_pPropertyModel, nullptr);
}

CProjectEditors::~CProjectEditors()
{
    delete m_pClassEditorController;
    delete m_pParameterEditorController;
    delete m_pClassChooserController;
    // The property dialog shows the property model, so it goes first.
    delete m_pPropertyView;
    delete m_pPropertyModel;
    if (m_bOwnsEditors)
    {
        delete m_pClassEditorView;
        delete m_pClassChooserView;
        delete m_pParameterEditorView;
        delete m_pConfigurationEditorView;
    }
}

CClassEditorView* CProjectEditors::ClassEditor() const
{
    return m_pClassEditorView;
}

CConfigurationEditorView* CProjectEditors::ConfigurationEditor() const
{
    return m_pConfigurationEditorView;
}

bool CProjectEditors::EditClasses()
{
    if (!m_pClassEditorView || !m_pClassEditorController)
        return false;
    m_pClassEditorController->Load();
    CPrompt::ExecDialog(m_pClassEditorView);
    return true;
}

void CProjectEditors::EditParameters()
{
    if (!m_pParameterEditorView || !m_pParameterEditorController)
        return;
    m_pParameterEditorController->Load();
    CPrompt::ExecDialog(m_pParameterEditorView);
}

void CProjectEditors::EditConfiguration(int nClasses, const QString& strConfiguration)
{
    if (!m_pConfigurationEditorView)
        return;
    m_pConfigurationEditorView->SetClassCount(nClasses);
    m_pConfigurationEditorView->SetText(strConfiguration);
    CPrompt::ExecDialog(m_pConfigurationEditorView);
}

void CProjectEditors::ShowProperties()
{
    if (m_pPropertyView)
        CPrompt::ExecDialog(m_pPropertyView);
}

void CProjectEditors::LoadProperties(const CProjectProperties& properties)
{
    // One after the other: each value the model takes may come back through the dialog as a property update.
    m_pPropertyModel->SetProperty("PROJECT_INITIALIZED_MODEL", QVariant(properties.Get("PROJECT_INITIALIZED_MODEL")));
    m_pPropertyModel->SetProperty("PROJECT_INITIALIZED_CONF", QVariant(properties.Get("PROJECT_INITIALIZED_CONF")));
    m_pPropertyModel->SetProperty(CProjectProperties::ALLOW_NO_BOXES,
                                  QVariant(properties.IsOn(CProjectProperties::ALLOW_NO_BOXES)));
}

bool CProjectEditors::HasChooser() const
{
    return m_pClassChooserView && m_pClassChooserController;
}

bool CProjectEditors::ChooseClass(QString& strClass, const QString& strReason)
{
    m_pClassChooserController->Load();
    if (m_pClassChooserView)
        m_pClassChooserView->SetReason(strReason);
    if (CPrompt::ExecDialog(m_pClassChooserView) != 1)
        return false;
    strClass = m_pClassChooserView->GetSelectedName();
    if (m_pClassChooserView)
        m_pClassChooserView->SetLastChosen(strClass);
    return true;
}
