#pragma once

#include "views/CClassChooserView.h"
#include "views/CNewProjectController.h"
#include "views/CNewProjectDlg.h"

#include <QComboBox>
#include <QDebug>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <functional>

// Real project files for the tests: made through the program's own creation path, read and changed through a
// connection of the test's own.
class CProjectFixture
{
public:
    // Creates <parent>/<name> as the new-project dialog does; returns the project folder, empty on failure.
    static QString CreateProject(const QString& strParentDir, const QString& strName)
    {
        CNewProjectDlg dialog;
        CNewProjectController controller(&dialog);
        QString strCreated;
        QObject::connect(&controller, &CNewProjectController::signal_OpenProject,
                         [&strCreated](const QString& strDir) { strCreated = strDir; });
        dialog.GetNameField()->setText(strName);
        dialog.GetFolderField()->setText(strParentDir);
        emit dialog.signal_AddProject();
        return strCreated;
    }
    static QString DataFile(const QString& strDir, const QString& strName) { return strDir + "/" + strName + ".data"; }
    // An answer for the class chooser that accepts strClass, or cancels it for a null text.
    static std::function<int(QDialog*)> ChooseClass(const QString& strClass)
    {
        return [strClass](QDialog* pDialog)
        {
            auto* pChooser = qobject_cast<CClassChooserView*>(pDialog);
            if (!pChooser || strClass.isNull())
                return 0;
            pChooser->GetComboBox()->setCurrentText(strClass);
            return 1;
        };
    }

    // Runs the statements in order on a connection released before returning, and gives the rows of the last one,
    // each as the texts of its columns. *pOk turns false at the first failure.
    static QList<QStringList> Query(const QString& strFile, const QStringList& lstStatements, bool* pOk = nullptr)
    {
        QList<QStringList> lstRows;
        bool bOk = false;
        {
            QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", "project fixture");
            database.setDatabaseName(strFile);
            bOk = database.open();
            for (int i = 0; bOk && i < lstStatements.size(); ++i)
            {
                QSqlQuery query(database);
                if (!(bOk = query.exec(lstStatements[i])))
                    qWarning() << lstStatements[i] << query.lastError().text();
                for (lstRows.clear(); query.next();)
                {
                    lstRows.append(QStringList());
                    for (int nColumn = 0; nColumn < query.record().count(); ++nColumn)
                        lstRows.last().append(query.value(nColumn).toString());
                }
            }
        }
        QSqlDatabase::removeDatabase("project fixture");
        if (pOk)
            *pOk = bOk;
        return lstRows;
    }
};
