#pragma once

#include "images/CImageListModel.h"

#include "Utils/COvrelImage.h"

#include <QStringList>

#include <functional>
#include <map>

// Named images and the steps that change an image list: "push a", "set a b c", "set", "replace x", "remove", "clear",
// "next", "previous", "index 2". The same name always stands for the same image object.
class CImageListScript
{
public:
    using ImagePtr = CImageListModel::ImagePtr;
    using Maker = std::function<ImagePtr(const QString&)>;

    explicit CImageListScript(Maker make) : m_make(std::move(make)) {}

    // Forgets the images made so far: the next use of a name makes a new one.
    void Clear() { m_mapImages.clear(); }
    ImagePtr Image(const QString& strName)
    {
        ImagePtr& pImage = m_mapImages[strName];
        if (!pImage)
            pImage = m_make(strName);
        return pImage;
    }
    // False for a step it does not know.
    bool Run(CImageListModel& model, const QString& strStep)
    {
        const QStringList lstWords = strStep.split(' ', Qt::SkipEmptyParts);
        const QString strVerb = lstWords.value(0);
        if (strVerb == "push")
            model.PushImage(Image(lstWords.value(1)));
        else if (strVerb == "set")
        {
            CImageListModel::ImageList vctImages;
            for (const QString& strName : lstWords.mid(1))
                vctImages.push_back(Image(strName));
            model.SetImages(vctImages);
        }
        else if (strVerb == "replace")
            model.ReplaceCurrentImage(Image(lstWords.value(1)));
        else if (strVerb == "remove")
            model.RemoveCurrentImage();
        else if (strVerb == "clear")
            model.ClearImages();
        else if (strVerb == "next")
            model.NextImage();
        else if (strVerb == "previous")
            model.PreviousImage();
        else if (strVerb == "index")
            model.SetCurrentIndex(lstWords.value(1).toInt());
        else
            return false;
        return true;
    }
    // The image's name; "?" for an image this script did not make, empty for none.
    QString Name(const ImagePtr& pImage) const
    {
        if (!pImage)
            return QString();
        const QString strName = QString::fromStdWString(pImage->GetName());
        const auto it = m_mapImages.find(strName);
        return it != m_mapImages.end() && it->second == pImage ? strName : "?";
    }
    QStringList Names(const CImageListModel& model) const
    {
        QStringList lstNames;
        for (int i = 0; i < model.GetImageCount(); ++i)
            lstNames << Name(model.GetImage(i));
        return lstNames;
    }

private:
    Maker m_make;
    std::map<QString, ImagePtr> m_mapImages;
};
