#pragma once

#include "OvrelCommonGlobal.h"

#include <QDialog>

class QPushButton;
class QSpinBox;

// Asks for an image pixel to go to: "X:" and "Y:" spin boxes and a "Go To" button that accepts the dialog.
class OVRELCOMMON_EXPORT CImageView2DGotoDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CImageView2DGotoDialog(QWidget* parent = nullptr);
    ~CImageView2DGotoDialog() override;

    // Both ranges are inclusive; the values are clamped into them.
    void SetRange(int nMaxX, int nMaxY);
    int GetX() const;
    int GetY() const;

    QSpinBox* GetXSpinBox() const { return m_pXSpinBox; }
    QSpinBox* GetYSpinBox() const { return m_pYSpinBox; }
    QPushButton* GetGotoButton() const { return m_pGotoButton; }

private:
    QSpinBox* m_pXSpinBox = nullptr;
    QSpinBox* m_pYSpinBox = nullptr;
    QPushButton* m_pGotoButton = nullptr;
};
