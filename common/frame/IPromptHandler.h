#pragma once

#include "OvrelCommonGlobal.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

// Answers the modal prompts of CPrompt instead of the user. Tests install one; the program never does.
class OVRELCOMMON_EXPORT IPromptHandler
{
public:
    virtual ~IPromptHandler() = default;

    virtual QMessageBox::StandardButton Message(QMessageBox::Icon eIcon, QWidget* pParent, const QString& strTitle,
                                                const QString& strText, QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    virtual QString GetOpenFileName(QWidget* pParent, const QString& strCaption, const QString& strDir,
                                    const QString& strFilter) = 0;
    virtual QStringList GetOpenFileNames(QWidget* pParent, const QString& strCaption, const QString& strDir,
                                         const QString& strFilter) = 0;
    virtual QString GetSaveFileName(QWidget* pParent, const QString& strCaption, const QString& strDir,
                                    const QString& strFilter) = 0;
    virtual QString GetExistingDirectory(QWidget* pParent, const QString& strCaption, const QString& strDir) = 0;
    virtual QString GetText(QWidget* pParent, const QString& strTitle, const QString& strLabel,
                            QLineEdit::EchoMode eMode, const QString& strText, bool* pOk) = 0;
    virtual QString GetItem(QWidget* pParent, const QString& strTitle, const QString& strLabel,
                            const QStringList& items, int nCurrent, bool bEditable, bool* pOk) = 0;
    // Stands in for QDialog::exec: may fill in the dialog's widgets, then returns the dialog's result code.
    virtual int ExecDialog(QDialog* pDialog) = 0;
};
