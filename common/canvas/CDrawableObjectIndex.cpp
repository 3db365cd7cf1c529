#include "canvas/CDrawableObjectIndex.h"

#include <algorithm>
#include <cmath>

namespace
{
// A box spread over more cells than this would cost more to file than to try for every point.
constexpr int kMaxCellsPerBox = 256;
constexpr int kMaxColumns = 512;

bool IsFinite(const QRectF& box)
{
    return std::isfinite(box.x()) && std::isfinite(box.y()) && std::isfinite(box.width()) &&
           std::isfinite(box.height());
}

// QRectF::contains takes no point into a box of zero width or height.
bool CanContain(const QRectF& box)
{
    return box.width() != 0.0 && box.height() != 0.0;
}

// The edges as QRectF::contains computes them, so that the grid agrees with it to the last bit.
void Edges(const QRectF& box, double& dblLeft, double& dblTop, double& dblRight, double& dblBottom)
{
    dblLeft = dblRight = box.x();
    if (box.width() < 0)
        dblLeft += box.width();
    else
        dblRight += box.width();
    dblTop = dblBottom = box.y();
    if (box.height() < 0)
        dblTop += box.height();
    else
        dblBottom += box.height();
}

int CellIndex(double dblValue, double dblOrigin, double dblCellSize, int nCount)
{
    const double dblCell = std::floor((dblValue - dblOrigin) / dblCellSize);
    // Also catches the NaN that an extent beyond the range of doubles gives.
    if (!(dblCell > 0.0))
        return 0;
    if (dblCell >= nCount)
        return nCount - 1;
    return static_cast<int>(dblCell);
}
} // namespace

void CDrawableObjectIndex::Build(std::vector<QRectF> vctBoxes)
{
    m_vctBoxes = std::move(vctBoxes);
    m_vctCellStart.clear();
    m_vctEntries.clear();
    m_vctAside.clear();
    m_nColumns = m_nRows = 0;

    int nGridded = 0;
    for (int i = 0; i < static_cast<int>(m_vctBoxes.size()); ++i)
    {
        const QRectF& box = m_vctBoxes[static_cast<size_t>(i)];
        if (!IsFinite(box))
            m_vctAside.push_back(i);
        else if (CanContain(box))
        {
            double dblLeft = 0.0, dblTop = 0.0, dblRight = 0.0, dblBottom = 0.0;
            Edges(box, dblLeft, dblTop, dblRight, dblBottom);
            m_dblLeft = nGridded == 0 ? dblLeft : std::min(m_dblLeft, dblLeft);
            m_dblTop = nGridded == 0 ? dblTop : std::min(m_dblTop, dblTop);
            m_dblRight = nGridded == 0 ? dblRight : std::max(m_dblRight, dblRight);
            m_dblBottom = nGridded == 0 ? dblBottom : std::max(m_dblBottom, dblBottom);
            ++nGridded;
        }
    }
    if (nGridded == 0)
        return;

    m_nColumns = m_nRows = std::clamp(static_cast<int>(std::ceil(std::sqrt(nGridded))), 1, kMaxColumns);
    m_dblCellWidth = (m_dblRight - m_dblLeft) / m_nColumns;
    m_dblCellHeight = (m_dblBottom - m_dblTop) / m_nRows;
    // Boxes thinner than the doubles around them can tell apart leave no extent to divide.
    if (!(m_dblCellWidth > 0.0))
        m_dblCellWidth = 1.0;
    if (!(m_dblCellHeight > 0.0))
        m_dblCellHeight = 1.0;

    // Two passes over the boxes: count the entries of each cell, then fill them in position order.
    const int nCells = m_nColumns * m_nRows;
    std::vector<int> vctCount(static_cast<size_t>(nCells) + 1, 0);
    std::vector<char> vctGridded(m_vctBoxes.size(), 0);
    for (int i = 0; i < static_cast<int>(m_vctBoxes.size()); ++i)
    {
        const QRectF& box = m_vctBoxes[static_cast<size_t>(i)];
        int c0 = 0, r0 = 0, c1 = 0, r1 = 0;
        if (!IsFinite(box) || !CanContain(box) || !CellRange(box, c0, r0, c1, r1))
            continue;
        if ((c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCellsPerBox)
        {
            m_vctAside.push_back(i);
            continue;
        }
        vctGridded[static_cast<size_t>(i)] = 1;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                ++vctCount[static_cast<size_t>(r * m_nColumns + c) + 1];
    }
    std::sort(m_vctAside.begin(), m_vctAside.end());

    m_vctCellStart.assign(static_cast<size_t>(nCells) + 1, 0);
    for (int c = 0; c < nCells; ++c)
        m_vctCellStart[static_cast<size_t>(c) + 1] =
            m_vctCellStart[static_cast<size_t>(c)] + vctCount[static_cast<size_t>(c) + 1];
    m_vctEntries.resize(static_cast<size_t>(m_vctCellStart.back()));
    std::vector<int> vctNext(m_vctCellStart.begin(), m_vctCellStart.end() - 1);
    for (int i = 0; i < static_cast<int>(m_vctBoxes.size()); ++i)
    {
        if (!vctGridded[static_cast<size_t>(i)])
            continue;
        int c0 = 0, r0 = 0, c1 = 0, r1 = 0;
        CellRange(m_vctBoxes[static_cast<size_t>(i)], c0, r0, c1, r1);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                m_vctEntries[static_cast<size_t>(vctNext[static_cast<size_t>(r * m_nColumns + c)]++)] = i;
    }
}

bool CDrawableObjectIndex::CellRange(const QRectF& box, int& nColumn0, int& nRow0, int& nColumn1, int& nRow1) const
{
    if (m_nColumns == 0)
        return false;
    // The same arithmetic as for a point, so that a point on the box's edge falls in one of the box's cells.
    double dblLeft = 0.0, dblTop = 0.0, dblRight = 0.0, dblBottom = 0.0;
    Edges(box, dblLeft, dblTop, dblRight, dblBottom);
    nColumn0 = CellIndex(dblLeft, m_dblLeft, m_dblCellWidth, m_nColumns);
    nColumn1 = CellIndex(dblRight, m_dblLeft, m_dblCellWidth, m_nColumns);
    nRow0 = CellIndex(dblTop, m_dblTop, m_dblCellHeight, m_nRows);
    nRow1 = CellIndex(dblBottom, m_dblTop, m_dblCellHeight, m_nRows);
    return true;
}

bool CDrawableObjectIndex::CellOf(const QPointF& point, int& nCell) const
{
    if (m_nColumns == 0 ||
        !(point.x() >= m_dblLeft && point.x() <= m_dblRight && point.y() >= m_dblTop && point.y() <= m_dblBottom))
        return false;
    nCell = CellIndex(point.y(), m_dblTop, m_dblCellHeight, m_nRows) * m_nColumns +
            CellIndex(point.x(), m_dblLeft, m_dblCellWidth, m_nColumns);
    return true;
}

int CDrawableObjectIndex::FindFirst(const QPointF& point) const
{
    int nBest = -1;
    int nCell = 0;
    if (CellOf(point, nCell))
    {
        for (int i = m_vctCellStart[static_cast<size_t>(nCell)]; i < m_vctCellStart[static_cast<size_t>(nCell) + 1];
             ++i)
        {
            const int nPosition = m_vctEntries[static_cast<size_t>(i)];
            if (m_vctBoxes[static_cast<size_t>(nPosition)].contains(point))
            {
                nBest = nPosition;
                break;
            }
        }
    }
    for (int nPosition : m_vctAside)
    {
        if (nBest >= 0 && nPosition > nBest)
            break;
        if (m_vctBoxes[static_cast<size_t>(nPosition)].contains(point))
            return nPosition;
    }
    return nBest;
}

std::vector<int> CDrawableObjectIndex::FindAll(const QPointF& point) const
{
    std::vector<int> vctFound;
    int nCell = 0;
    if (CellOf(point, nCell))
    {
        for (int i = m_vctCellStart[static_cast<size_t>(nCell)]; i < m_vctCellStart[static_cast<size_t>(nCell) + 1];
             ++i)
        {
            const int nPosition = m_vctEntries[static_cast<size_t>(i)];
            if (m_vctBoxes[static_cast<size_t>(nPosition)].contains(point))
                vctFound.push_back(nPosition);
        }
    }
    const size_t nFromGrid = vctFound.size();
    for (int nPosition : m_vctAside)
    {
        if (m_vctBoxes[static_cast<size_t>(nPosition)].contains(point))
            vctFound.push_back(nPosition);
    }
    std::inplace_merge(vctFound.begin(), vctFound.begin() + static_cast<std::ptrdiff_t>(nFromGrid), vctFound.end());
    return vctFound;
}
