#pragma once

#include <QString>

// What a project file may hold as a name that becomes a path or a line of a file. A project file may come from
// anyone: an image name must stay a plain file name inside the project's Images folder ("../x" would lead out of
// it), and no name may hold a control character (a newline splits its line in train.txt or custom.names).
class CSafeName
{
public:
    // Why the image name cannot be a file name in the Images folder: empty, absolute, holding a path separator,
    // "." or "..", or holding a control character. Empty when it can.
    static QString ImageNameProblem(const QString& strName);
    // Why the class name cannot be one line of custom.names; empty when it can.
    static QString ClassNameProblem(const QString& strName);
    // True when the stored path of an image is "Images/<name>" (either separator) for a safe name: only then is it
    // a path inside the project folder.
    static bool IsImagePath(const QString& strName, const QString& strStoredPath);
    // The text with every control character written as an escape ("\n", "\x01"), so that a log line or a message
    // naming it stays one line.
    static QString Shown(const QString& strText);
};
