#pragma once

#include "CProjectTestCase.h"

#include <QFile>
#include <QMap>

// What the build tests share on top of the project fixture: projects described in a few words and the bytes of the
// files a build leaves.
class CBuildTestCase : public CProjectTestCase
{
    Q_OBJECT

protected:
    // "name [WxH] [train|test]" per image, "x y w h image category" per ROI (IDs count from 1 in the order given).
    static QStringList Statements(const QStringList& lstCategories, const QStringList& lstImages,
                                  const QStringList& lstRois)
    {
        QStringList lstStatements;
        for (const QString& strCategory : lstCategories)
            lstStatements.append(QString("INSERT INTO category (NAME) VALUES('%1')").arg(strCategory));
        for (const QString& strImage : lstImages)
        {
            // The size and the list may each be left out: 640x480, train.
            const QStringList lstParts = strImage.split(' ');
            QStringList lstSize = {"640", "480"};
            QString strType = "train";
            for (const QString& strPart : lstParts.mid(1))
            {
                if (strPart.contains('x'))
                    lstSize = strPart.split('x');
                else
                    strType = strPart;
            }
            lstStatements.append(QString("INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                                         "VALUES('%1', 'Images/%1', '%2', %3, %4, 1)")
                                     .arg(lstParts[0], strType, lstSize[0], lstSize[1]));
        }
        for (const QString& strRoi : lstRois)
        {
            const QStringList lstParts = strRoi.split(' ');
            lstStatements.append(
                QString("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
                        "VALUES(%1, %2, %3, %4, %5, %6)")
                    .arg(lstParts[0], lstParts[1], lstParts[2], lstParts[3], lstParts[4], lstParts[5]));
        }
        return lstStatements;
    }

    // Every file below the folder with its bytes, the project, lock and manifest files left out.
    static QMap<QString, QByteArray> Snapshot(const QString& strDir)
    {
        QMap<QString, QByteArray> mapFiles;
        for (const QString& strFile : ProjectTest::Tree(strDir))
        {
            // The project file with its lock and the database's own log files are not the build's.
            if (strFile.endsWith(".data") || strFile.endsWith(".lock") || strFile.endsWith(".data-wal") ||
                strFile.endsWith(".data-shm"))
                continue;
            // The manifest holds the disk's times of the files: the next build tells whether it still agrees.
            if (strFile == "build.manifest")
                continue;
            mapFiles.insert(strFile, ProjectTest::Bytes(strDir + "/" + strFile));
        }
        return mapFiles;
    }
    static QByteArray Read(const QString& strPath) { return ProjectTest::Bytes(strPath); }
    bool Build() { return m_pCase->controller.BuildProject(); }
    // The text of the last prompt asked after the first nAsked, empty when none was.
    QString Told(int nAsked) const
    {
        const auto& asked = m_pCase->answers.asked;
        return asked.size() > nAsked ? asked.last().strText : QString();
    }
    // The log lines since the test began that contain the text.
    QStringList LogLines(const QString& strText) const { return Log().filter(strText); }
};
