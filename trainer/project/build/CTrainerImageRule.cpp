#include "project/build/CTrainerImageRule.h"

#include "project/store/CProjectLayout.h"

#include <QStringList>

namespace
{
// The trainer edits a path with strstr: the first occurrence only, and each edit works on the previous result.
QString ReplaceFirst(const QString& strText, const QString& strFrom, const QString& strTo)
{
    const int nAt = strText.indexOf(strFrom, 0, Qt::CaseSensitive);
    if (nAt < 0)
        return strText;
    return strText.left(nAt) + strTo + strText.mid(nAt + strFrom.size());
}

// The endings the trainer turns into ".txt". Seen with the installed trainer (darknet 0.0.0+git20180914, built with
// OpenCV 4.6): ".jpeg", ".bmp", ".tif" and ".tiff" images load, but their label path is the image itself, so they
// train with no box ("count: 0"); a ".gif" gives "Cannot load image" and a blank image in its place; "draw1.jpg"
// ends the run with "Couldn't open file: Images/dlabels1.txt".
const QStringList& LabelledExtensions()
{
    static const QStringList lstExtensions = {".jpg", ".png", ".JPG", ".JPEG"};
    return lstExtensions;
}

// No word the trainer replaces anywhere in the path, and no labelled extension but at its end.
bool IsPlain(const QString& strImageName)
{
    static const QStringList lstWords = {"images", "JPEGImages", "raw"};
    for (const QString& strWord : lstWords)
    {
        if (strImageName.contains(strWord))
            return false;
    }
    for (const QString& strExtension : LabelledExtensions())
    {
        const int nAt = strImageName.indexOf(strExtension);
        if (nAt >= 0 && nAt != strImageName.size() - strExtension.size())
            return false;
    }
    return true;
}
} // namespace

QString CTrainerImageRule::TrainerLabelPath(const QString& strImagePath)
{
    QString strPath = ReplaceFirst(strImagePath, "images", "labels");
    strPath = ReplaceFirst(strPath, "JPEGImages", "labels");
    strPath = ReplaceFirst(strPath, "raw", "labels");
    for (const QString& strExtension : LabelledExtensions())
        strPath = ReplaceFirst(strPath, strExtension, ".txt");
    return strPath;
}

QString CTrainerImageRule::Problem(const QString& strImageName)
{
    const int nDot = strImageName.lastIndexOf('.');
    const QString strExtension = nDot < 0 ? QString() : strImageName.mid(nDot);
    if (strExtension.compare(".gif", Qt::CaseInsensitive) == 0)
        return "the trainer cannot load GIF images";
    if (!LabelledExtensions().contains(strExtension))
        return QString("the trainer reads labels only for %1 images").arg(LabelledExtensions().join(", "));
    // Most names hold none of the words the trainer edits and their extension only at the end: their label path is
    // the one the trainer derives, without building both.
    if (IsPlain(strImageName))
        return QString();
    const QString strTrainerPath = TrainerLabelPath(CProjectLayout::ImageEntry(strImageName));
    if (strTrainerPath != CProjectLayout::LabelEntry(strImageName))
        return QString("the trainer would read its labels from %1").arg(strTrainerPath);
    return QString();
}
