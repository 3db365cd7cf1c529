#pragma once

#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>

// The package's tiny network at 64 x 64 with one class, one image per step and no random resizing: a step of the real
// trainer takes a fraction of a second. Empty when the package's configuration is missing.
namespace TinyTraining
{
inline QString Configuration(int nMaxBatches)
{
    QFile file("/usr/share/darknet/cfg/yolov3-tiny.cfg");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QStringList lstLines = QString::fromUtf8(file.readAll()).split('\n');
    const QMap<QString, QString> mapNet = {{"batch", "1"},
                                           {"subdivisions", "1"},
                                           {"width", "64"},
                                           {"height", "64"},
                                           {"max_batches", QString::number(nMaxBatches)}};
    int nLastFilters = -1;
    for (int i = 0; i < lstLines.size(); ++i)
    {
        const QString strKey = lstLines[i].section('=', 0, 0).trimmed();
        if (mapNet.contains(strKey) && lstLines[i].contains('='))
            lstLines[i] = strKey + "=" + mapNet[strKey];
        if (strKey == "classes")
            lstLines[i] = "classes=1";
        if (strKey == "random")
            lstLines[i] = "random=0";
        if (strKey == "filters")
            nLastFilters = i;
        // The layer before each detection layer predicts 3 anchors x (1 class + 5) values.
        if (lstLines[i].trimmed() == "[yolo]" && nLastFilters >= 0)
            lstLines[nLastFilters] = "filters=18";
    }
    return lstLines.join('\n');
}
} // namespace TinyTraining
