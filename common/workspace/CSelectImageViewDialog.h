#pragma once

#include "OvrelCommonGlobal.h"

#include <QDialog>

class QComboBox;

// Asks which image viewer a command should act on: "Image View: " with a list of viewer names, OK and Cancel.
class OVRELCOMMON_EXPORT CSelectImageViewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CSelectImageViewDialog(QWidget* parent = nullptr);

    void AddItem(const QString& strText);
    QString GetCurrentText() const;
    QComboBox* GetComboBox() const { return m_pComboBox; }

private:
    QComboBox* m_pComboBox = nullptr;
};
