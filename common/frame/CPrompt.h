#pragma once

#include "OvrelCommonGlobal.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class IPromptHandler;
class QDialog;
class QWidget;

// The one door to modal prompts. Without a handler each call is exactly the Qt call it is named after; a test installs
// a handler that answers instead of a user.
class OVRELCOMMON_EXPORT CPrompt
{
public:
    // Installs the handler (not owned); null restores the Qt dialogs. Returns the previous one.
    static IPromptHandler* SetHandler(IPromptHandler* pHandler);

    // QMessageBox::question / information / warning / critical by the icon; NoIcon builds and executes a box.
    static QMessageBox::StandardButton Message(QMessageBox::Icon eIcon, QWidget* pParent, const QString& strTitle,
                                               const QString& strText,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                               QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton Question(QWidget* pParent, const QString& strTitle, const QString& strText,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Yes |
                                                                                       QMessageBox::No,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton Information(QWidget* pParent, const QString& strTitle, const QString& strText,
                                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton Warning(QWidget* pParent, const QString& strTitle, const QString& strText,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                               QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton Critical(QWidget* pParent, const QString& strTitle, const QString& strText,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    static QString GetOpenFileName(QWidget* pParent, const QString& strCaption = QString(),
                                   const QString& strDir = QString(), const QString& strFilter = QString());
    static QStringList GetOpenFileNames(QWidget* pParent, const QString& strCaption = QString(),
                                        const QString& strDir = QString(), const QString& strFilter = QString());
    static QString GetSaveFileName(QWidget* pParent, const QString& strCaption = QString(),
                                   const QString& strDir = QString(), const QString& strFilter = QString());
    static QString GetExistingDirectory(QWidget* pParent, const QString& strCaption = QString(),
                                        const QString& strDir = QString());
    static QString GetText(QWidget* pParent, const QString& strTitle, const QString& strLabel,
                           QLineEdit::EchoMode eMode = QLineEdit::Normal, const QString& strText = QString(),
                           bool* pOk = nullptr);
    static QString GetItem(QWidget* pParent, const QString& strTitle, const QString& strLabel, const QStringList& items,
                           int nCurrent = 0, bool bEditable = true, bool* pOk = nullptr);
    // QDialog::exec.
    static int ExecDialog(QDialog* pDialog);

private:
    static IPromptHandler* m_pHandler;
};
