#pragma once

#include "frame/ELogLevel.h"
#include "frame/IPromptHandler.h"

// Answers every prompt of a run without window as a user who cancels: Cancel or No when offered, else the default
// button, else Ok; no file, no text, a rejected dialog. Each prompt's text is logged, line by line, so that nothing is
// lost.
class CHeadlessPromptHandler : public IPromptHandler
{
public:
    QMessageBox::StandardButton Message(QMessageBox::Icon eIcon, QWidget* pParent, const QString& strTitle,
                                        const QString& strText, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString GetOpenFileName(QWidget* pParent, const QString& strCaption, const QString& strDir,
                            const QString& strFilter) override;
    QStringList GetOpenFileNames(QWidget* pParent, const QString& strCaption, const QString& strDir,
                                 const QString& strFilter) override;
    QString GetSaveFileName(QWidget* pParent, const QString& strCaption, const QString& strDir,
                            const QString& strFilter) override;
    QString GetExistingDirectory(QWidget* pParent, const QString& strCaption, const QString& strDir) override;
    QString GetText(QWidget* pParent, const QString& strTitle, const QString& strLabel, QLineEdit::EchoMode eMode,
                    const QString& strText, bool* pOk) override;
    QString GetItem(QWidget* pParent, const QString& strTitle, const QString& strLabel, const QStringList& items,
                    int nCurrent, bool bEditable, bool* pOk) override;
    int ExecDialog(QDialog* pDialog) override;

private:
    static void LogPrompt(ELogLevel eLevel, const QString& strText);
};
