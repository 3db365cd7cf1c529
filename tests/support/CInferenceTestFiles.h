#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Files the inference tests share: the package's yolov3-tiny made small (three classes, a non-square 128 x 96 input
// so that the letterbox pads) and the package's sample images.
namespace InferenceTestFiles
{
inline const char* const SAMPLE_FOLDER = "/usr/share/darknet/data/";

inline bool WriteFile(const QString& strPath, const QByteArray& content)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline QByteArray SmallConfiguration(int nClasses = 3)
{
    QFile file("/usr/share/darknet/cfg/yolov3-tiny.cfg");
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray config = file.readAll();
    config.replace("width=416", "width=128").replace("height=416", "height=96");
    config.replace("classes=80", "classes=" + QByteArray::number(nClasses));
    return config.replace("filters=255", "filters=" + QByteArray::number(3 * (nClasses + 5)));
}
} // namespace InferenceTestFiles
