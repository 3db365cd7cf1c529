#include "CHeadlessPromptHandler.h"

#include "frame/CLogger.h"

#include <QDialog>

void CHeadlessPromptHandler::LogPrompt(ELogLevel eLevel, const QString& strText)
{
    // One log line per line of the text: a line break inside a log line would split it for whoever reads the log.
    for (const QString& strLine : strText.split('\n', Qt::SkipEmptyParts))
        CLogger::Write(eLevel, "Prompt answered without window: %s", strLine.trimmed().toUtf8().constData());
}

QMessageBox::StandardButton CHeadlessPromptHandler::Message(QMessageBox::Icon eIcon, QWidget*, const QString&,
                                                            const QString& strText,
                                                            QMessageBox::StandardButtons buttons,
                                                            QMessageBox::StandardButton defaultButton)
{
    ELogLevel eLevel = ELogLevel_Normal;
    if (eIcon == QMessageBox::Critical)
        eLevel = ELogLevel_Error;
    else if (eIcon == QMessageBox::Warning)
        eLevel = ELogLevel_Warning;
    LogPrompt(eLevel, strText);
    if (buttons & QMessageBox::Cancel)
        return QMessageBox::Cancel;
    if (buttons & QMessageBox::No)
        return QMessageBox::No;
    if (defaultButton != QMessageBox::NoButton)
        return defaultButton;
    return QMessageBox::Ok;
}

QString CHeadlessPromptHandler::GetOpenFileName(QWidget*, const QString& strCaption, const QString&, const QString&)
{
    LogPrompt(ELogLevel_Normal, strCaption);
    return QString();
}

QStringList CHeadlessPromptHandler::GetOpenFileNames(QWidget*, const QString& strCaption, const QString&,
                                                     const QString&)
{
    LogPrompt(ELogLevel_Normal, strCaption);
    return QStringList();
}

QString CHeadlessPromptHandler::GetSaveFileName(QWidget*, const QString& strCaption, const QString&, const QString&)
{
    LogPrompt(ELogLevel_Normal, strCaption);
    return QString();
}

QString CHeadlessPromptHandler::GetExistingDirectory(QWidget*, const QString& strCaption, const QString&)
{
    LogPrompt(ELogLevel_Normal, strCaption);
    return QString();
}

QString CHeadlessPromptHandler::GetText(QWidget*, const QString&, const QString& strLabel, QLineEdit::EchoMode,
                                        const QString&, bool* pOk)
{
    LogPrompt(ELogLevel_Normal, strLabel);
    if (pOk)
        *pOk = false;
    return QString();
}

QString CHeadlessPromptHandler::GetItem(QWidget*, const QString&, const QString& strLabel, const QStringList&, int,
                                        bool, bool* pOk)
{
    LogPrompt(ELogLevel_Normal, strLabel);
    if (pOk)
        *pOk = false;
    return QString();
}

int CHeadlessPromptHandler::ExecDialog(QDialog* pDialog)
{
    LogPrompt(ELogLevel_Normal, pDialog ? pDialog->windowTitle() : QString());
    return QDialog::Rejected;
}
