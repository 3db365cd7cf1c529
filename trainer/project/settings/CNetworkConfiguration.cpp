#include "project/settings/CNetworkConfiguration.h"

#include <QStringList>

#include <vector>

namespace
{
struct SLine
{
    QString strText;
    // The line end it had: "\r" when the text used "\r\n".
    bool bCarriageReturn = false;
};

std::vector<SLine> SplitLines(const QString& strText)
{
    std::vector<SLine> vctLines;
    for (const QString& strPart : strText.split('\n'))
    {
        SLine line;
        line.bCarriageReturn = strPart.endsWith('\r');
        line.strText = line.bCarriageReturn ? strPart.left(strPart.size() - 1) : strPart;
        vctLines.push_back(line);
    }
    return vctLines;
}

QString JoinLines(const std::vector<SLine>& vctLines)
{
    QString strText;
    for (size_t i = 0; i < vctLines.size(); ++i)
    {
        if (i > 0)
            strText += '\n';
        strText += vctLines[i].strText;
        if (vctLines[i].bCarriageReturn)
            strText += '\r';
    }
    return strText;
}

bool IsComment(const QString& strLine)
{
    const QString strTrimmed = strLine.trimmed();
    return strTrimmed.startsWith('#') || strTrimmed.startsWith(';');
}

// "[yolo]" gives "yolo"; an empty string when the line is no section header.
QString SectionName(const QString& strLine)
{
    const QString strTrimmed = strLine.trimmed();
    if (!strTrimmed.startsWith('[') || !strTrimmed.endsWith(']'))
        return QString();
    return strTrimmed.mid(1, strTrimmed.size() - 2).trimmed();
}

// The key of an active "key = value" line, empty for anything else.
QString Key(const QString& strLine)
{
    if (IsComment(strLine) || !strLine.contains('='))
        return QString();
    return strLine.section('=', 0, 0).trimmed();
}

QString Value(const QString& strLine)
{
    return strLine.section('=', 1).trimmed();
}

// The key of a commented "# key = value" line, empty for anything else.
QString CommentedKey(const QString& strLine, QString& strValue)
{
    if (!IsComment(strLine))
        return QString();
    QString strBody = strLine.trimmed();
    while (!strBody.isEmpty() && (strBody[0] == '#' || strBody[0] == ';'))
        strBody.remove(0, 1);
    if (!strBody.contains('='))
        return QString();
    strValue = Value(strBody);
    return strBody.section('=', 0, 0).trimmed();
}

struct SSection
{
    QString strName;
    size_t nHeader = 0;
    // One past its last line.
    size_t nEnd = 0;
};

std::vector<SSection> Sections(const std::vector<SLine>& vctLines)
{
    std::vector<SSection> vctSections;
    for (size_t i = 0; i < vctLines.size(); ++i)
    {
        const QString strName = SectionName(vctLines[i].strText);
        if (strName.isEmpty())
            continue;
        if (!vctSections.empty())
            vctSections.back().nEnd = i;
        vctSections.push_back({strName, i, vctLines.size()});
    }
    return vctSections;
}

// The first active line of the key inside the section; -1 when there is none.
int FindKey(const std::vector<SLine>& vctLines, const SSection& section, const QString& strKey)
{
    for (size_t i = section.nHeader + 1; i < section.nEnd; ++i)
    {
        if (Key(vctLines[i].strText) == strKey)
            return static_cast<int>(i);
    }
    return -1;
}

int FirstInteger(const QString& strText, const QString& strSection, const QString& strKey, int nDefault)
{
    const std::vector<SLine> vctLines = SplitLines(strText);
    for (const SSection& section : Sections(vctLines))
    {
        if (!strSection.split('|').contains(section.strName))
            continue;
        const int nLine = FindKey(vctLines, section, strKey);
        if (nLine < 0)
            continue;
        bool bOk = false;
        const int nValue = Value(vctLines[nLine].strText).toInt(&bOk);
        return bOk ? nValue : nDefault;
    }
    return nDefault;
}

void SetValue(std::vector<SLine>& vctLines, size_t nLine, const QString& strKey, const QString& strValue)
{
    // Keeps the line's indentation and the blanks around "=" the way the line had them.
    const QString strLine = vctLines[nLine].strText;
    const int nEquals = strLine.indexOf('=');
    int nValueStart = nEquals + 1;
    while (nValueStart < strLine.size() && strLine[nValueStart].isSpace())
        ++nValueStart;
    vctLines[nLine].strText = strKey.isEmpty() ? strValue : strLine.left(nValueStart) + strValue;
}

int MaskCount(const std::vector<SLine>& vctLines, const SSection& section)
{
    if (section.strName == "region")
    {
        const int nLine = FindKey(vctLines, section, "num");
        return nLine < 0 ? 1 : Value(vctLines[nLine].strText).toInt();
    }
    const int nMaskLine = FindKey(vctLines, section, "mask");
    if (nMaskLine >= 0)
        return Value(vctLines[nMaskLine].strText).split(',', Qt::SkipEmptyParts).size();
    // Without a mask the layer predicts every anchor.
    const int nNumLine = FindKey(vctLines, section, "num");
    return nNumLine < 0 ? 1 : Value(vctLines[nNumLine].strText).toInt();
}

void ApplyTrainingValues(std::vector<SLine>& vctLines, const SSection& net)
{
    const std::vector<std::pair<QString, QString>> vctValues = {{"batch", "64"}, {"subdivisions", "16"}};
    std::vector<size_t> vctMissing;
    for (size_t nValue = 0; nValue < vctValues.size(); ++nValue)
    {
        const QString& strKey = vctValues[nValue].first;
        const QString& strWanted = vctValues[nValue].second;
        bool bActive = false;
        for (size_t i = net.nHeader + 1; i < net.nEnd; ++i)
        {
            SLine& line = vctLines[i];
            QString strCommentedValue;
            if (Key(line.strText) == strKey)
            {
                if (Value(line.strText) == strWanted && !bActive)
                    bActive = true;
                else
                    line.strText = "# " + line.strText;
            }
            else if (!bActive && CommentedKey(line.strText, strCommentedValue) == strKey &&
                     strCommentedValue == strWanted)
            {
                line.strText = strKey + "=" + strWanted;
                bActive = true;
            }
        }
        if (!bActive)
            vctMissing.push_back(nValue);
    }
    // Inserted last to first, each right after the header, so they end up in their own order.
    const bool bCarriageReturn = vctLines[net.nHeader].bCarriageReturn;
    for (auto it = vctMissing.rbegin(); it != vctMissing.rend(); ++it)
        vctLines.insert(vctLines.begin() + static_cast<long>(net.nHeader) + 1,
                        SLine{vctValues[*it].first + "=" + vctValues[*it].second, bCarriageReturn});
}
} // namespace

int CNetworkConfiguration::Classes(const QString& strText)
{
    return FirstInteger(strText, "yolo|region", "classes", -1);
}

int CNetworkConfiguration::MaxBatches(const QString& strText)
{
    return FirstInteger(strText, "net", "max_batches", 0);
}

QString CNetworkConfiguration::FitToClasses(const QString& strText, int nClasses, bool bTrainingValues)
{
    std::vector<SLine> vctLines = SplitLines(strText);
    const QString strClasses = QString::number(nClasses);
    // Insertions are made from the end backwards so the line numbers of the sections before stay right.
    std::vector<SSection> vctSections = Sections(vctLines);
    for (size_t nSection = vctSections.size(); nSection-- > 0;)
    {
        const SSection& section = vctSections[nSection];
        if (section.strName != "yolo" && section.strName != "region")
            continue;
        const int nFilters = (nClasses + 5) * MaskCount(vctLines, section);
        for (size_t nBefore = nSection; nBefore-- > 0;)
        {
            if (vctSections[nBefore].strName != "convolutional")
                continue;
            const int nFilterLine = FindKey(vctLines, vctSections[nBefore], "filters");
            if (nFilterLine >= 0)
                SetValue(vctLines, static_cast<size_t>(nFilterLine), "filters", QString::number(nFilters));
            break;
        }
        const int nClassLine = FindKey(vctLines, section, "classes");
        if (nClassLine >= 0)
            SetValue(vctLines, static_cast<size_t>(nClassLine), "classes", strClasses);
        else
            vctLines.insert(vctLines.begin() + static_cast<long>(section.nHeader) + 1,
                            SLine{"classes=" + strClasses, vctLines[section.nHeader].bCarriageReturn});
    }
    if (bTrainingValues)
    {
        for (const SSection& section : Sections(vctLines))
        {
            if (section.strName == "net" || section.strName == "network")
            {
                ApplyTrainingValues(vctLines, section);
                break;
            }
        }
    }
    return JoinLines(vctLines);
}
