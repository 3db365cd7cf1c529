#include "CSqliteReader.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

QStringList CSqliteReader::Rows(const QString& strFile, const QString& strSql)
{
    QStringList lstRows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "inspector");
        db.setDatabaseName(strFile);
        QSqlQuery query(db);
        if (!db.open() || !query.exec(strSql))
            lstRows << "<error> " + query.lastError().text();
        while (query.next())
        {
            QStringList lstValues;
            for (int i = 0; i < query.record().count(); ++i)
                lstValues << (query.isNull(i) ? QString("<null>") : query.value(i).toString());
            lstRows << lstValues.join('|');
        }
    }
    QSqlDatabase::removeDatabase("inspector");
    return lstRows;
}
