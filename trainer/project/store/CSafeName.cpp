#include "project/store/CSafeName.h"

#include "project/store/CProjectLayout.h"

namespace
{
// Line and paragraph separators break a line for some readers too.
bool IsControl(QChar ch)
{
    const QChar::Category eCategory = ch.category();
    return eCategory == QChar::Other_Control || eCategory == QChar::Separator_Line ||
           eCategory == QChar::Separator_Paragraph;
}

bool HasControl(const QString& strText)
{
    for (const QChar ch : strText)
    {
        if (IsControl(ch))
            return true;
    }
    return false;
}
} // namespace

QString CSafeName::ImageNameProblem(const QString& strName)
{
    if (strName.isEmpty())
        return "its name is empty";
    if (HasControl(strName))
        return "its name holds a control character";
    // Written out rather than asked of QDir, which takes ":name" for a resource path; "C:" is a drive on Windows.
    const bool bDrive = strName.size() >= 2 && strName[1] == ':' && strName[0].isLetter();
    if (strName.startsWith('/') || strName.startsWith('\\') || bDrive)
        return "its name is an absolute path";
    // Both separators: a project file made on Windows may hold either.
    if (strName.contains('/') || strName.contains('\\'))
        return "its name holds a path separator";
    if (strName == "." || strName == "..")
        return "its name is not a file name";
    return QString();
}

QString CSafeName::ClassNameProblem(const QString& strName)
{
    if (HasControl(strName))
        return "its name holds a control character";
    return QString();
}

bool CSafeName::IsImagePath(const QString& strName, const QString& strStoredPath)
{
    return ImageNameProblem(strName).isEmpty() && (strStoredPath == CProjectLayout::ImageEntry(strName) ||
                                                   strStoredPath == CProjectLayout::IMAGES_FOLDER + '\\' + strName);
}

QString CSafeName::Shown(const QString& strText)
{
    QString strShown;
    strShown.reserve(strText.size());
    for (const QChar ch : strText)
    {
        if (ch == '\n')
            strShown += "\\n";
        else if (ch == '\r')
            strShown += "\\r";
        else if (ch == '\t')
            strShown += "\\t";
        else if (IsControl(ch))
            strShown += QString("\\x%1").arg(ch.unicode(), 2, 16, QChar('0'));
        else
            strShown += ch;
    }
    return strShown;
}
