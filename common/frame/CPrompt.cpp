#include "frame/CPrompt.h"

#include "frame/IPromptHandler.h"

#include <QDialog>
#include <QInputDialog>

IPromptHandler* CPrompt::m_pHandler = nullptr;

IPromptHandler* CPrompt::SetHandler(IPromptHandler* pHandler)
{
    IPromptHandler* pPrevious = m_pHandler;
    m_pHandler = pHandler;
    return pPrevious;
}

QMessageBox::StandardButton CPrompt::Message(QMessageBox::Icon eIcon, QWidget* pParent, const QString& strTitle,
                                             const QString& strText, QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    if (m_pHandler)
        return m_pHandler->Message(eIcon, pParent, strTitle, strText, buttons, defaultButton);
    switch (eIcon)
    {
    case QMessageBox::Question:
        return QMessageBox::question(pParent, strTitle, strText, buttons, defaultButton);
    case QMessageBox::Information:
        return QMessageBox::information(pParent, strTitle, strText, buttons, defaultButton);
    case QMessageBox::Warning:
        return QMessageBox::warning(pParent, strTitle, strText, buttons, defaultButton);
    case QMessageBox::Critical:
        return QMessageBox::critical(pParent, strTitle, strText, buttons, defaultButton);
    case QMessageBox::NoIcon:
        break;
    }
    QMessageBox box(QMessageBox::NoIcon, strTitle, strText, buttons, pParent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton CPrompt::Question(QWidget* pParent, const QString& strTitle, const QString& strText,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    return Message(QMessageBox::Question, pParent, strTitle, strText, buttons, defaultButton);
}

QMessageBox::StandardButton CPrompt::Information(QWidget* pParent, const QString& strTitle, const QString& strText,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return Message(QMessageBox::Information, pParent, strTitle, strText, buttons, defaultButton);
}

QMessageBox::StandardButton CPrompt::Warning(QWidget* pParent, const QString& strTitle, const QString& strText,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    return Message(QMessageBox::Warning, pParent, strTitle, strText, buttons, defaultButton);
}

QMessageBox::StandardButton CPrompt::Critical(QWidget* pParent, const QString& strTitle, const QString& strText,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    return Message(QMessageBox::Critical, pParent, strTitle, strText, buttons, defaultButton);
}

QString CPrompt::GetOpenFileName(QWidget* pParent, const QString& strCaption, const QString& strDir,
                                 const QString& strFilter)
{
    if (m_pHandler)
        return m_pHandler->GetOpenFileName(pParent, strCaption, strDir, strFilter);
    return QFileDialog::getOpenFileName(pParent, strCaption, strDir, strFilter);
}

QStringList CPrompt::GetOpenFileNames(QWidget* pParent, const QString& strCaption, const QString& strDir,
                                      const QString& strFilter)
{
    if (m_pHandler)
        return m_pHandler->GetOpenFileNames(pParent, strCaption, strDir, strFilter);
    return QFileDialog::getOpenFileNames(pParent, strCaption, strDir, strFilter);
}

QString CPrompt::GetSaveFileName(QWidget* pParent, const QString& strCaption, const QString& strDir,
                                 const QString& strFilter)
{
    if (m_pHandler)
        return m_pHandler->GetSaveFileName(pParent, strCaption, strDir, strFilter);
    return QFileDialog::getSaveFileName(pParent, strCaption, strDir, strFilter);
}

QString CPrompt::GetExistingDirectory(QWidget* pParent, const QString& strCaption, const QString& strDir)
{
    if (m_pHandler)
        return m_pHandler->GetExistingDirectory(pParent, strCaption, strDir);
    return QFileDialog::getExistingDirectory(pParent, strCaption, strDir);
}

QString CPrompt::GetText(QWidget* pParent, const QString& strTitle, const QString& strLabel, QLineEdit::EchoMode eMode,
                         const QString& strText, bool* pOk)
{
    if (m_pHandler)
        return m_pHandler->GetText(pParent, strTitle, strLabel, eMode, strText, pOk);
    return QInputDialog::getText(pParent, strTitle, strLabel, eMode, strText, pOk);
}

QString CPrompt::GetItem(QWidget* pParent, const QString& strTitle, const QString& strLabel, const QStringList& items,
                         int nCurrent, bool bEditable, bool* pOk)
{
    if (m_pHandler)
        return m_pHandler->GetItem(pParent, strTitle, strLabel, items, nCurrent, bEditable, pOk);
    return QInputDialog::getItem(pParent, strTitle, strLabel, items, nCurrent, bEditable, pOk);
}

int CPrompt::ExecDialog(QDialog* pDialog)
{
    if (!pDialog)
        return QDialog::Rejected;
    if (m_pHandler)
        return m_pHandler->ExecDialog(pDialog);
    return pDialog->exec();
}
