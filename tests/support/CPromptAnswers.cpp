#include "CPromptAnswers.h"

#include "frame/CPrompt.h"

#include <QDialog>

#include <algorithm>
#include <vector>

namespace
{
// Live answer sets, newest last; the newest one answers. Destroying one in any order leaves the newest survivor
// installed, so replacing a set (new before old goes) never leaves the real dialogs in charge.
std::vector<CPromptAnswers*>& LiveAnswers()
{
    static std::vector<CPromptAnswers*> vctLive;
    return vctLive;
}
} // namespace

CPromptAnswers::CPromptAnswers()
{
    m_pPrevious = CPrompt::SetHandler(this);
    if (!LiveAnswers().empty())
        m_pPrevious = LiveAnswers().front()->m_pPrevious;
    LiveAnswers().push_back(this);
}

CPromptAnswers::~CPromptAnswers()
{
    auto& vctLive = LiveAnswers();
    vctLive.erase(std::remove(vctLive.begin(), vctLive.end(), this), vctLive.end());
    CPrompt::SetHandler(vctLive.empty() ? m_pPrevious : vctLive.back());
}

QMessageBox::StandardButton CPromptAnswers::Message(QMessageBox::Icon eIcon, QWidget*, const QString& strTitle,
                                                    const QString& strText, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    SAsked sAsked;
    sAsked.strKind = "message";
    sAsked.strTitle = strTitle;
    sAsked.strText = strText;
    sAsked.eIcon = eIcon;
    sAsked.buttons = buttons;
    sAsked.defaultButton = defaultButton;
    asked.append(sAsked);
    if (!messages.empty())
    {
        const QMessageBox::StandardButton answer = messages.front();
        messages.pop_front();
        return answer;
    }
    if (defaultButton != QMessageBox::NoButton)
        return defaultButton;
    if (buttons & QMessageBox::Cancel)
        return QMessageBox::Cancel;
    if (buttons & QMessageBox::No)
        return QMessageBox::No;
    return QMessageBox::Ok;
}

QString CPromptAnswers::NextFile(const QString& strKind, const QString& strCaption, const QString& strFilter,
                                 const QString& strDir)
{
    SAsked sAsked;
    sAsked.strKind = strKind;
    sAsked.strTitle = strCaption;
    sAsked.strFilter = strFilter;
    sAsked.strDir = strDir;
    asked.append(sAsked);
    if (files.empty())
        return QString();
    const QString strAnswer = files.front();
    files.pop_front();
    return strAnswer;
}

QString CPromptAnswers::GetOpenFileName(QWidget*, const QString& strCaption, const QString& strDir,
                                        const QString& strFilter)
{
    return NextFile("open", strCaption, strFilter, strDir);
}

QStringList CPromptAnswers::GetOpenFileNames(QWidget*, const QString& strCaption, const QString& strDir,
                                             const QString& strFilter)
{
    SAsked sAsked;
    sAsked.strKind = "opens";
    sAsked.strTitle = strCaption;
    sAsked.strFilter = strFilter;
    sAsked.strDir = strDir;
    asked.append(sAsked);
    if (fileLists.empty())
        return QStringList();
    const QStringList answer = fileLists.front();
    fileLists.pop_front();
    return answer;
}

QString CPromptAnswers::GetSaveFileName(QWidget*, const QString& strCaption, const QString& strDir,
                                        const QString& strFilter)
{
    return NextFile("save", strCaption, strFilter, strDir);
}

QString CPromptAnswers::GetExistingDirectory(QWidget*, const QString& strCaption, const QString& strDir)
{
    return NextFile("dir", strCaption, QString(), strDir);
}

QString CPromptAnswers::NextText(const SAsked& sAsked, bool* pOk)
{
    asked.append(sAsked);
    QString strAnswer;
    if (!texts.empty())
    {
        strAnswer = texts.front();
        texts.pop_front();
    }
    if (pOk)
        *pOk = !strAnswer.isNull();
    return strAnswer;
}

QString CPromptAnswers::GetText(QWidget*, const QString& strTitle, const QString& strLabel,
                                QLineEdit::EchoMode eEchoMode, const QString&, bool* pOk)
{
    SAsked sAsked;
    sAsked.strKind = "text";
    sAsked.strTitle = strTitle;
    sAsked.strText = strLabel;
    sAsked.eEchoMode = eEchoMode;
    return NextText(sAsked, pOk);
}

QString CPromptAnswers::GetItem(QWidget*, const QString& strTitle, const QString& strLabel, const QStringList& items,
                                int, bool, bool* pOk)
{
    SAsked sAsked;
    sAsked.strKind = "item";
    sAsked.strTitle = strTitle;
    sAsked.strText = strLabel;
    sAsked.items = items;
    return NextText(sAsked, pOk);
}

int CPromptAnswers::ExecDialog(QDialog* pDialog)
{
    SAsked sAsked;
    sAsked.strKind = "dialog";
    sAsked.strTitle = pDialog ? pDialog->windowTitle() : QString();
    asked.append(sAsked);
    if (dialogs.empty())
        return QDialog::Rejected;
    auto answer = dialogs.front();
    dialogs.pop_front();
    return answer ? answer(pDialog) : QDialog::Rejected;
}
