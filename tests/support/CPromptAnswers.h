#pragma once

#include "frame/IPromptHandler.h"

#include <QVector>

#include <deque>
#include <functional>

// Answers modal prompts from queues filled by the test, and records every prompt asked. Installed for its lifetime.
// An empty queue answers as a user who cancels: the default button (or Cancel/No), an empty path, a rejected dialog.
class CPromptAnswers : public IPromptHandler
{
public:
    struct SAsked
    {
        QString strKind; // "message", "open", "opens", "save", "dir", "text", "item", "dialog"
        QString strTitle;
        QString strText;
        QMessageBox::Icon eIcon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QStringList items;
        QString strFilter;                                 // file dialogs
        QString strDir;                                    // file dialogs: the folder they start in
        QLineEdit::EchoMode eEchoMode = QLineEdit::Normal; // GetText
    };

    CPromptAnswers();
    ~CPromptAnswers() override;

    std::deque<QMessageBox::StandardButton> messages;
    std::deque<QString> files;         // GetOpenFileName, GetSaveFileName, GetExistingDirectory
    std::deque<QStringList> fileLists; // GetOpenFileNames
    std::deque<QString> texts;         // GetText and GetItem; a null QString means "cancelled"
    std::deque<std::function<int(QDialog*)>> dialogs;

    QVector<SAsked> asked;

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
    QString NextFile(const QString& strKind, const QString& strCaption, const QString& strFilter = QString(),
                     const QString& strDir = QString());
    QString NextText(const SAsked& sAsked, bool* pOk);
    IPromptHandler* m_pPrevious = nullptr;
};
