#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CDrawableGeometry;
class CDrawableObjectModel;

// The boxes of a view and the ROI rows of an image as sorted "x y w h class" texts, so that a test can compare what the
// user sees with what the project file holds. Numbers are written with the given number of decimals.
class CAnnotationSnapshot
{
public:
    static QString Box(double dblX, double dblY, double dblWidth, double dblHeight, const QString& strClass,
                       int nDecimals);
    // The image's dataset_roi rows with their class names (empty when the class is gone), read from the project file.
    static QStringList Rows(const QString& strDataFile, int nImageID, int nDecimals);
    // The geometry objects of the model, in its order; rulers and other kinds are left out.
    static std::vector<std::shared_ptr<CDrawableGeometry>> Geometries(const CDrawableObjectModel* pObjects);
    // Their boundaries with their names.
    static QStringList Boxes(const CDrawableObjectModel* pObjects, int nDecimals);
};
