#include "CProjectFixture.h"

#include "project/CNewProjectController.h"
#include "views/CNewProjectDlg.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <functional>

namespace
{
// Every use gets a fresh connection, released before returning, so that no test connection outlives its check.
bool WithConnection(const QString& strFile, const std::function<bool(QSqlDatabase&)>& fnWork)
{
    static int nConnection = 0;
    const QString strName = QString("project fixture %1").arg(++nConnection);
    bool bResult = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", strName);
        database.setDatabaseName(strFile);
        if (database.open())
            bResult = fnWork(database);
        database.close();
    }
    QSqlDatabase::removeDatabase(strName);
    return bResult;
}
} // namespace

QString CProjectFixture::DataFile(const QString& strProjectDir, const QString& strName)
{
    return strProjectDir + QDir::separator() + strName + ".data";
}

QString CProjectFixture::CreateProject(const QString& strParentDir, const QString& strName)
{
    CNewProjectDlg dialog;
    CNewProjectController controller(&dialog);
    QString strCreated;
    QObject::connect(&controller, &CNewProjectController::signal_OpenProject,
                     [&strCreated](const QString& strDir, const QString&) { strCreated = strDir; });
    dialog.GetNameField()->setText(strName);
    dialog.GetFolderField()->setText(strParentDir);
    emit dialog.signal_AddProject();
    return strCreated;
}

bool CProjectFixture::Execute(const QString& strFile, const QStringList& lstStatements)
{
    return WithConnection(strFile,
                          [&lstStatements](QSqlDatabase& database)
                          {
                              for (const QString& strStatement : lstStatements)
                              {
                                  QSqlQuery query(database);
                                  if (!query.exec(strStatement))
                                  {
                                      qWarning("%s: %s", qPrintable(strStatement),
                                               qPrintable(query.lastError().text()));
                                      return false;
                                  }
                              }
                              return true;
                          });
}

QList<QStringList> CProjectFixture::Query(const QString& strFile, const QString& strSelect)
{
    QList<QStringList> lstRows;
    WithConnection(strFile,
                   [&](QSqlDatabase& database)
                   {
                       QSqlQuery query(database);
                       if (!query.exec(strSelect))
                       {
                           qWarning("%s: %s", qPrintable(strSelect), qPrintable(query.lastError().text()));
                           return false;
                       }
                       while (query.next())
                       {
                           QStringList lstRow;
                           for (int i = 0; i < query.record().count(); ++i)
                               lstRow.append(query.value(i).toString());
                           lstRows.append(lstRow);
                       }
                       return true;
                   });
    return lstRows;
}

QString CProjectFixture::DefaultConfiguration()
{
    QFile file(":/Files/yolov3.cfg");
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).replace("\r\n", "\n");
}
