#pragma once

#include <QPointF>
#include <QRectF>

#include <vector>

// Answers "which boxes contain this point" for many boxes at once. The boxes are given as a list; answers are list
// positions, and containment is QRectF::contains, so the answers are those of a walk through the whole list. The
// boxes are sorted into a grid of about one cell per box; a box that covers very many cells is kept aside and tried
// for every point.
class CDrawableObjectIndex
{
public:
    void Build(std::vector<QRectF> vctBoxes);

    // The lowest position whose box contains the point, or -1.
    int FindFirst(const QPointF& point) const;
    // Every position whose box contains the point, in ascending order.
    std::vector<int> FindAll(const QPointF& point) const;

private:
    // The cells a box covers; false when there is no grid.
    bool CellRange(const QRectF& box, int& nColumn0, int& nRow0, int& nColumn1, int& nRow1) const;
    // The cell of a point; false when it lies outside the grid, where no gridded box can contain it.
    bool CellOf(const QPointF& point, int& nCell) const;

    std::vector<QRectF> m_vctBoxes;
    // The union of the boxes in the grid.
    double m_dblLeft = 0.0;
    double m_dblTop = 0.0;
    double m_dblRight = 0.0;
    double m_dblBottom = 0.0;
    int m_nColumns = 0;
    int m_nRows = 0;
    double m_dblCellWidth = 1.0;
    double m_dblCellHeight = 1.0;
    // Cell c holds the positions m_vctEntries[m_vctCellStart[c] .. m_vctCellStart[c + 1]), ascending.
    std::vector<int> m_vctCellStart;
    std::vector<int> m_vctEntries;
    // Positions of boxes too large for the grid or with coordinates that are not finite, ascending.
    std::vector<int> m_vctAside;
};
