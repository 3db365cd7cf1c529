#pragma once

#include "CProjectTestCase.h"

#include <QImage>

#include <sys/stat.h>

// What the import tests share: data set folders written from short descriptions, the project file's rows and the
// report the import showed.
class CDatasetImportCase : public CProjectTestCase
{
protected:
    QString m_strDir;

    // Writes the data set below <root>/set from "path=content": content "img WxH" is an image in the format its
    // extension names, "sparse N" a file of N bytes that takes no room, "fifo" a FIFO, "dir" a folder, "->target" a
    // symbolic link, "mode000:text" a text file nobody may read, anything else a text file whose lines are separated by
    // "|". Returns the folder.
    QString DataSet(const QStringList& lstFiles)
    {
        const QString strFolder = m_strRoot + "/set";
        for (const QString& strFile : lstFiles)
        {
            const QString strPath = strFolder + "/" + strFile.section('=', 0, 0);
            const QString strContent = strFile.section('=', 1);
            QDir().mkpath(QFileInfo(strPath).path());
            // An entry that cannot be made leaves no folder: the test fails there rather than on a wrong cause.
            if (strContent == "fifo")
            {
                if (mkfifo(QFile::encodeName(strPath).constData(), 0644) != 0)
                    return QString();
            }
            else if (strContent == "dir")
            {
                if (!QDir().mkpath(strPath))
                    return QString();
            }
            else if (strContent.startsWith("->"))
            {
                if (!QFile::link(strContent.mid(2), strPath))
                    return QString();
            }
            else if (strContent.startsWith("sparse "))
            {
                // A file of that size without its blocks: large to the scan, cheap to make.
                QFile file(strPath);
                if (!file.open(QIODevice::WriteOnly) || !file.resize(strContent.mid(7).toLongLong()))
                    return QString();
            }
            else if (strContent.startsWith("img "))
            {
                const QStringList lstSize = strContent.mid(4).split('x');
                QImage image(lstSize[0].toInt(), lstSize[1].toInt(), QImage::Format_RGB888);
                image.fill(QColor(30, 120, 200));
                image.save(strPath);
            }
            else
            {
                QFile file(strPath);
                const bool bLocked = strContent.startsWith("mode000:");
                const QString strText = bLocked ? strContent.mid(8) : strContent;
                file.open(QIODevice::WriteOnly) && file.write(QString(strText).replace('|', '\n').toUtf8());
                file.close();
                if (bLocked)
                    file.setPermissions({});
            }
        }
        return strFolder;
    }
    QList<QStringList> Sql(const QString& strStatement) const
    {
        return CProjectFixture::Query(CProjectFixture::DataFile(m_strDir, "imp"), {strStatement});
    }
    // "name type WxH" per image row, in row order.
    QStringList ImageRows() const
    {
        QStringList lstRows;
        for (const QStringList& row : Sql("SELECT NAME, TYPE, WIDTH, HEIGHT FROM dataset_image ORDER BY ID"))
            lstRows.append(QString("%1 %2 %3x%4").arg(row[0], row[1], row[2], row[3]));
        return lstRows;
    }
    // "image x y w h class" per ROI row, in row order.
    QStringList RoiRows() const
    {
        QStringList lstRows;
        for (const QStringList& row :
             Sql("SELECT i.NAME, r.X, r.Y, r.WIDTH, r.HEIGHT, IFNULL(c.NAME, '?') FROM dataset_roi r JOIN "
                 "dataset_image i "
                 "ON i.ID = r.IMAGE_ID LEFT JOIN category c ON c.ID = r.CATEGORY_ID ORDER BY r.ID"))
            lstRows.append(QString::asprintf("%s %.3f %.3f %.3f %.3f %s", row[0].toUtf8().constData(),
                                             row[1].toDouble(), row[2].toDouble(), row[3].toDouble(), row[4].toDouble(),
                                             row[5].toUtf8().constData()));
        return lstRows;
    }
    QStringList Classes() const
    {
        QStringList lstNames;
        for (const QStringList& row : Sql("SELECT NAME FROM category ORDER BY ID"))
            lstNames.append(row[0]);
        return lstNames;
    }
    // "Import Dataset" choosing the folder, with the training share answered when one is given.
    void Import(const QString& strFolder, const QString& strShare = QString())
    {
        m_pCase->answers.files.push_back(strFolder);
        if (!strShare.isNull())
            m_pCase->answers.texts.push_back(strShare);
        m_pCase->controller.slot_ImportDataset();
    }
    QString LastMessage() const
    {
        for (int i = m_pCase->answers.asked.size() - 1; i >= 0; --i)
        {
            if (m_pCase->answers.asked[i].strKind == "message")
                return m_pCase->answers.asked[i].strText;
        }
        return QString();
    }
};
