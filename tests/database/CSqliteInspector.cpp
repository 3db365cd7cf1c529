#include "CSqliteInspector.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

QStringList CSqliteInspector::Rows(const QString& strFile, const QString& strSql)
{
    const QString strConnection = QStringLiteral("inspector");
    QStringList lstRows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), strConnection);
        db.setDatabaseName(strFile);
        if (db.open())
        {
            QSqlQuery query(db);
            if (query.exec(strSql))
            {
                while (query.next())
                {
                    QStringList lstValues;
                    for (int i = 0; i < query.record().count(); ++i)
                    {
                        const QVariant value = query.value(i);
                        lstValues << (value.isNull() ? QStringLiteral("<null>") : value.toString());
                    }
                    lstRows << lstValues.join(QLatin1Char('|'));
                }
            }
            else
            {
                lstRows << QStringLiteral("<error> ") + query.lastError().text();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(strConnection);
    return lstRows;
}

QStringList CSqliteInspector::Tables(const QString& strFile)
{
    return Rows(strFile, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE "
                                        "'sqlite_%' ORDER BY name"));
}
