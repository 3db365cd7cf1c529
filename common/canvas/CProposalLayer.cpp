#include "canvas/CProposalLayer.h"

#include "canvas/CDrawableObjectPainter.h"

#include <QPainter>

#include <limits>

CProposalLayer::CProposalLayer(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

CProposalLayer::~CProposalLayer() = default;

void CProposalLayer::SetProposals(const QVector<CCanvasProposal>& vctProposals)
{
    m_vctProposals = vctProposals;
    bool bSelectedShown = false;
    for (const CCanvasProposal& proposal : m_vctProposals)
        bSelectedShown = bSelectedShown || proposal.nID == m_nSelectedID;
    if (!bSelectedShown)
        m_nSelectedID = -1;
    update();
    emit signal_ChangeProposals();
}

int CProposalLayer::ProposalAt(const QPointF& point) const
{
    int nFound = -1;
    double dblSmallest = std::numeric_limits<double>::max();
    // Nested proposals: the inner one could not be reached otherwise.
    for (const CCanvasProposal& proposal : m_vctProposals)
    {
        const QRectF& box = proposal.box;
        const double dblArea = box.width() * box.height();
        if (point.x() >= box.left() && point.x() <= box.right() && point.y() >= box.top() &&
            point.y() <= box.bottom() && dblArea < dblSmallest)
        {
            nFound = proposal.nID;
            dblSmallest = dblArea;
        }
    }
    return nFound;
}

void CProposalLayer::SetSelectedID(int nID)
{
    bool bShown = false;
    for (const CCanvasProposal& proposal : m_vctProposals)
        bShown = bShown || proposal.nID == nID;
    const int nSelected = bShown ? nID : -1;
    if (nSelected == m_nSelectedID)
        return;
    m_nSelectedID = nSelected;
    update();
    emit signal_ChangeProposals();
}

void CProposalLayer::SetMapping(const QRect& viewport, const QRect& window)
{
    m_viewport = viewport;
    m_window = window;
    update();
}

QString CProposalLayer::LabelText(const CCanvasProposal& proposal)
{
    return QString("%1 %2").arg(proposal.strName).arg(proposal.dblScore, 0, 'f', 2);
}

QColor CProposalLayer::Colour()
{
    return QColor(255, 140, 0);
}

void CProposalLayer::paintEvent(QPaintEvent*)
{
    if (m_vctProposals.isEmpty() || m_viewport.isEmpty() || m_window.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(CDrawableObjectPainter::LabelFont());
    const double sx = static_cast<double>(m_viewport.width()) / m_window.width();
    const double sy = static_cast<double>(m_viewport.height()) / m_window.height();
    // Drawn in widget pixels, so that dashes, pens and labels keep their size at every zoom.
    for (const CCanvasProposal& proposal : m_vctProposals)
    {
        const QRectF screen(m_viewport.left() + (proposal.box.left() - m_window.left()) * sx,
                            m_viewport.top() + (proposal.box.top() - m_window.top()) * sy, proposal.box.width() * sx,
                            proposal.box.height() * sy);
        if (!screen.intersects(QRectF(rect()).adjusted(-2, -40, 2, 2)))
            continue;
        const bool bSelected = proposal.nID == m_nSelectedID;
        painter.setPen(QPen(bSelected ? Colour().lighter(130) : Colour(), bSelected ? 3 : 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(screen);
        painter.drawText(screen.topLeft() + QPointF(2.0, -3.0), LabelText(proposal));
    }
}
