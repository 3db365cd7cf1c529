#include "project/run/COutputLineAssembler.h"

#include <algorithm>
#include <cstring>

COutputLineAssembler::COutputLineAssembler(int nMaxLineBytes) : m_nMaxLineBytes(std::max(nMaxLineBytes, 4)) {}

QString COutputLineAssembler::Decode(const char* pBytes, int nSize)
{
    if (nSize > 0 && pBytes[nSize - 1] == '\r')
        --nSize;
    return QString::fromUtf8(pBytes, nSize);
}

QStringList COutputLineAssembler::Append(const QByteArray& baChunk)
{
    QStringList lstLines;
    const char* pData = baChunk.constData();
    const int nSize = baChunk.size();
    int nStart = 0;
    // Splitting the bytes, not decoded text, keeps a character whose bytes straddle two chunks whole: a '\n' byte
    // never occurs inside a multi-byte UTF-8 sequence. Each byte is looked at once, so a long burst costs linear time.
    while (nStart < nSize)
    {
        const void* pEnd = std::memchr(pData + nStart, '\n', static_cast<size_t>(nSize - nStart));
        if (!pEnd)
            break;
        const int nEnd = static_cast<int>(static_cast<const char*>(pEnd) - pData);
        if (m_baTail.isEmpty())
        {
            lstLines.append(Decode(pData + nStart, nEnd - nStart));
        }
        else
        {
            m_baTail.append(pData + nStart, nEnd - nStart);
            lstLines.append(Decode(m_baTail.constData(), m_baTail.size()));
            m_baTail.clear();
        }
        nStart = nEnd + 1;
    }
    if (nStart < nSize)
    {
        m_baTail.append(pData + nStart, nSize - nStart);
        CutLongTail(lstLines);
    }
    return lstLines;
}

void COutputLineAssembler::CutLongTail(QStringList& lstLines)
{
    int nStart = 0;
    while (m_baTail.size() - nStart > m_nMaxLineBytes)
    {
        int nCut = nStart + m_nMaxLineBytes;
        // Back up over continuation bytes (10xxxxxx) to the start of the character the limit falls in.
        for (int nBack = 0; nBack < 3 && (static_cast<unsigned char>(m_baTail.at(nCut)) & 0xC0) == 0x80; ++nBack)
            --nCut;
        lstLines.append(QString::fromUtf8(m_baTail.constData() + nStart, nCut - nStart));
        nStart = nCut;
    }
    if (nStart > 0)
        m_baTail.remove(0, nStart);
}

QString COutputLineAssembler::TakeTail()
{
    const QString strTail = Decode(m_baTail.constData(), m_baTail.size());
    m_baTail.clear();
    return strTail;
}
