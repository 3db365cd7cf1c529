#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Turns the chunks one output channel of a child process delivers into whole lines. A chunk may end anywhere: in the
// middle of a line, between "\r" and "\n", or inside a multi-byte UTF-8 character. Only complete lines come out, each
// decoded as UTF-8 once all its bytes are in, without its "\n" or "\r\n" end; the unfinished rest waits for the next
// chunk. Pure: no process, no logging.
class COutputLineAssembler
{
public:
    // A line that grows past nMaxLineBytes without an end is handed out in pieces of at most that size, cut before a
    // UTF-8 character, so that output without line ends cannot grow the memory without bound.
    explicit COutputLineAssembler(int nMaxLineBytes = 64 * 1024);

    // The lines that baChunk completes, in order; empty lines are kept.
    QStringList Append(const QByteArray& baChunk);
    // True while bytes of an unfinished line are held.
    bool HasTail() const { return !m_baTail.isEmpty(); }
    // The unfinished line, decoded, and forgets it; empty when there is none. For the end of the output.
    QString TakeTail();
    // Forgets the unfinished line.
    void Clear() { m_baTail.clear(); }

private:
    static QString Decode(const char* pBytes, int nSize);
    // Hands out leading pieces of the held bytes while they are longer than the limit.
    void CutLongTail(QStringList& lstLines);

    QByteArray m_baTail;
    int m_nMaxLineBytes;
};
