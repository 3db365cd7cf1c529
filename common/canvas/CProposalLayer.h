#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/CCanvasProposal.h"

#include <QColor>
#include <QRect>
#include <QVector>
#include <QWidget>

// The transparent layer over a canvas that shows proposals: dashed outlines in a colour no box takes, each labelled
// "name 0.87", the selected one drawn thicker. It is a widget of its own, so showing, selecting or dropping proposals
// never touches the canvas's painted objects or their cache. Mouse events pass through to the canvas below; the
// canvas keeps it covering itself exactly and gives it its mapping (window: image pixels, viewport: widget pixels).
class OVRELCOMMON_EXPORT CProposalLayer : public QWidget
{
    Q_OBJECT
public:
    explicit CProposalLayer(QWidget* parent);
    ~CProposalLayer() override;

    // Replaces the proposals; the selection stays while its proposal is still among them.
    void SetProposals(const QVector<CCanvasProposal>& vctProposals);
    const QVector<CCanvasProposal>& GetProposals() const { return m_vctProposals; }
    bool HasProposals() const { return !m_vctProposals.isEmpty(); }
    // The ID of the smallest proposal whose box holds the image point, -1 when none does.
    int ProposalAt(const QPointF& point) const;
    // -1 selects none; an ID that is not shown selects none either.
    void SetSelectedID(int nID);
    int GetSelectedID() const { return m_nSelectedID; }

    void SetMapping(const QRect& viewport, const QRect& window);

    // "name 0.87": the class name and the score with two decimals.
    static QString LabelText(const CCanvasProposal& proposal);
    // The outline colour of proposals, unlike any class colour of boxes (which are drawn solid).
    static QColor Colour();

signals:
    // The shown proposals or the selection changed.
    void signal_ChangeProposals();

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    QVector<CCanvasProposal> m_vctProposals;
    int m_nSelectedID = -1;
    QRect m_viewport;
    QRect m_window;
};
