#pragma once

#include "CLogMark.h"
#include "CProjectFixture.h"
#include "CPromptAnswers.h"
#include "CReadOnlyGuard.h"
#include "CSqlTrace.h"
#include "CTestSandbox.h"

#include "frame/CLogModel.h"
#include "frame/CSetting.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "project/store/CDatasetImageEntry.h"
#include "views/CConfigurationEditorView.h"
#include "views/CProjectView.h"
#include "views/CTextEditorView.h"

#include <QDateTime>
#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeView>
#include <QtTest>

#include <memory>

namespace ProjectTest
{
inline const char* const HISTORY = "GENERAL_PROGRAME_HISTORIES";

// Names in list order, an invalid image marked with a leading "!".
inline QStringList Entries(const CProjectModel::EntryList& vctEntries)
{
    QStringList lstEntries;
    for (const auto& pEntry : vctEntries)
        lstEntries.append((pEntry->IsValid() ? "" : "!") + pEntry->GetName());
    return lstEntries;
}

// The file's bytes; "<missing>" when it cannot be read.
inline QByteArray Bytes(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline QStringList Files(const QString& strDir)
{
    return QDir(strDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Every file below the folder, by relative path, sorted.
inline QStringList Tree(const QString& strDir)
{
    QStringList lstFiles;
    for (QDirIterator it(strDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        lstFiles.append(QDir(strDir).relativeFilePath(it.next()));
    lstFiles.sort();
    return lstFiles;
}
} // namespace ProjectTest

// What the project controller's tests share: a sandbox, a fresh model, view, controller and creator per test, the log
// lines of the test and real project files.
class CProjectTestCase : public QObject
{
    Q_OBJECT

protected:
    // What one test works with, torn down in reverse order: the prompt answers go last.
    struct SCase
    {
        CPromptAnswers answers;
        CProjectModel model;
        CProjectView view{&model};
        CProjectController controller{&model, &view};
        CNewProjectDlg dialog;
        CNewProjectController creator{&dialog};
    };
    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<SCase> m_pCase;
    QString m_strRoot;
    int m_nCase = 0;
    CLogMark m_log;

    // The log file's lines since the test began, those still queued included, each as "[LEVEL] text".
    QStringList Log() const { return m_log.Lines(); }

    // Creates the project, fills its file and opens it when asked to; returns its folder.
    QString Project(const QString& strName, const QStringList& lstStatements = {}, bool bOpen = true)
    {
        const QString strDir = CProjectFixture::CreateProject(m_strRoot, strName);
        bool bOk = false;
        CProjectFixture::Query(CProjectFixture::DataFile(strDir, strName), lstStatements, &bOk);
        if (bOk && bOpen)
            m_pCase->controller.OpenProject(strDir, strName);
        return bOk ? strDir : QString();
    }
    void Create(const QString& strName, const QString& strFolder)
    {
        m_pCase->dialog.GetNameField()->setText(strName);
        m_pCase->dialog.GetFolderField()->setText(strFolder);
        QTest::mouseClick(m_pCase->dialog.GetAddButton(), Qt::LeftButton);
    }
    int TreeRows() const { return m_pCase->view.findChild<QTreeView*>()->model()->rowCount(); }

    // What a derived test case adds to each test: set up after the case, torn down before it.
    virtual void InitCase() {}
    virtual void CleanupCase() {}

private slots:
    void initTestCase()
    {
        m_pSandbox = std::make_unique<CTestSandbox>();
        CSqlTrace::Install();
    }
    void init()
    {
        CSetting::Set(ProjectTest::HISTORY, QString());
        m_strRoot = m_pSandbox->Path(QString("case%1").arg(++m_nCase));
        // Empty and relative folders mean the working folder: keep that inside the sandbox too.
        QVERIFY(QDir().mkpath(m_strRoot) && QDir::setCurrent(m_strRoot));
        m_pCase = std::make_unique<SCase>();
        m_pCase->dialog.show();
        m_log.Mark();
        InitCase();
    }
    void cleanup()
    {
        CleanupCase();
        m_pCase.reset();
    }
};
