#pragma once

#include <QString>
#include <QVariant>

class CDatabase;

// The project_property rows of the open project: named values such as the network configuration and the initial
// weights, read and written by name.
class CProjectProperties
{
public:
    // Off unless the user turns it on: images without boxes are then valid and train as negatives (empty label
    // files).
    static const QString ALLOW_NO_BOXES;
    // The score the trained network's detections must exceed to be shown; CDetectionModel::DEFAULT_THRESHOLD until
    // the user sets it.
    static const QString DETECTION_THRESHOLD;

    // The database is not owned and may be null; nProjectID is the open project's, -1 without one.
    CProjectProperties(CDatabase* pDatabase, int nProjectID);

    // VALUE of the property, empty when the project has none.
    QString Get(const QString& strName) const;
    // A yes/no property as Set stores a bool ("true"); false when the project has none.
    bool IsOn(const QString& strName) const;
    // Stores the value as the VALUE of the property row, inserting the row (with the value's type) when it is
    // missing; logs "Update Table %s OK" / "Insert Table %s OK" or their "Failed" lines. Nothing without a project or
    // with a null value.
    void Set(const QString& strName, const QVariant& value);

private:
    CDatabase* m_pDatabase = nullptr;
    int m_nProjectID = -1;
};
