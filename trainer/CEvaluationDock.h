#pragma once

#include <QObject>

class CEvaluationView;
class QDockWidget;
class QMainWindow;

// Puts the "Evaluation" dock in the window: tabbed with the docks on the right, hidden until the view first shows an
// evaluation or a suspect list, then brought forward each time. The window's other wiring of the evaluation belongs
// here too, so that the window itself only makes this object.
class CEvaluationDock : public QObject
{
    Q_OBJECT
public:
    // pTabWith is the dock to tab with, if any.
    CEvaluationDock(QMainWindow* pWindow, QDockWidget* pTabWith);

    CEvaluationView* GetView() const { return m_pView; }
    QDockWidget* GetDock() const { return m_pDock; }

private:
    CEvaluationView* m_pView = nullptr;
    QDockWidget* m_pDock = nullptr;
};
