#pragma once

#include <QString>
#include <QStringList>

#include <array>

class QWidget;

// Why a build was refused, reason by reason, with the images (or files) concerned in the order they were found, and
// the text that tells the user. Collected by the validation pass and the build while they log their own lines.
class CBuildOutcome
{
public:
    enum EReason
    {
        EReason_NoBoxes = 0,
        EReason_ClassGone,
        EReason_BadNumbers, // no image size, or boxes that are not numbers, have no size or lie outside the image
        EReason_Unusable,
        EReason_Failed,
        EReason_ClassName,
        EReason_Count
    };
    // How many items of one reason the message names; the log names them all.
    static constexpr int kShown = 10;

    void Add(EReason eReason, const QString& strItem);
    bool IsRefused() const;
    const QStringList& Items(EReason eReason) const { return m_lists[eReason]; }
    // What was refused and why: per reason a count, then its first kShown items one per line and how many more.
    QString Text() const;
    // One log line per reason with its count.
    void LogSummary() const;
    // When refused: the summary lines, then Text in a warning box through the prompt seam.
    void Tell(QWidget* pParent, const QString& strTitle) const;

private:
    std::array<QStringList, EReason_Count> m_lists;
};
