#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

// Replaces a set of files all together or not at all. Each file is first written in full to a temporary file beside
// it; Commit then moves the files it replaces aside, puts the new ones in place and only then deletes the old ones.
// When any step fails, every file already touched is put back, so the previous versions stay whole and no new file
// is left. Whatever was not committed is discarded when the object goes.
class CBuildFileSet
{
public:
    CBuildFileSet() = default;
    ~CBuildFileSet();
    CBuildFileSet(const CBuildFileSet&) = delete;
    CBuildFileSet& operator=(const CBuildFileSet&) = delete;

    // Writes the bytes to the temporary file of strPath; false (FailedPath names strPath) when it cannot. A file that
    // already holds exactly these bytes is left alone. A path given twice keeps the later content.
    bool Write(const QString& strPath, const QByteArray& baContent);
    // Puts every written file in place; false (FailedPath names the file that could not be placed) leaves all target
    // files as they were before. Only a put-back that fails as well can leave a mixture; FailedRestores names those
    // files then.
    bool Commit();
    // Deletes the temporary files.
    void Discard();

    QString FailedPath() const { return m_strFailedPath; }
    QStringList FailedRestores() const { return m_lstFailedRestores; }

    static QString TemporaryPath(const QString& strPath);
    static QString PreviousPath(const QString& strPath);

private:
    struct SFile
    {
        QString strPath;
        bool bHadPrevious = false;
    };
    static bool IsUnchanged(const QString& strPath, const QByteArray& baContent);
    // Moves the files moved aside back into place, newest first, after removing what was put in their stead.
    void RollBack(size_t nPlaced, size_t nMovedAside);

    std::vector<SFile> m_vctFiles;
    QSet<QString> m_setPaths;
    QString m_strFailedPath;
    QStringList m_lstFailedRestores;
};
