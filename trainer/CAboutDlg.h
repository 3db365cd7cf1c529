#pragma once

#include <QDialog>

// Names the program with its version and a contact address.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
