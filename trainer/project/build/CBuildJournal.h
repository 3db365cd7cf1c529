#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The journal a commit of CBuildFileSet keeps beside its files: a header line, the state ("old" until every new file
// is in place, then "new"), and one line per file, "+" for a file that had a previous version and "-" for one that did
// not, with its path relative to the journal's folder, percent-encoded.
class CBuildJournal
{
public:
    static const QByteArray HEADER;
    static const QByteArray STATE_OLD;
    static const QByteArray STATE_NEW;

    // See CBuildFileSet::Recover.
    static bool Recover(const QString& strJournalPath, const std::function<bool(const QString&)>& fnOwnFile);
};
