#pragma once

#include <QMainWindow>

#include <vector>

class CModel;
class CController;

// One open tool window: the window owns model and controller; the view is a child or deletes itself.
struct STool
{
    CModel* pModel = nullptr;
    CController* pController = nullptr;
    QWidget* pView = nullptr;
};

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    int GetCommandState() const { return m_nCommandState; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CreateSettings();
    void CreateDocks();
    void CreateActions();

    std::vector<STool> m_vctTools;
    int m_nCommandState = 0;
};
