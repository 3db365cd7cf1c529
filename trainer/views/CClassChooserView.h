#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;

// Modal choice of one class name for a new rectangle. "OK" accepts, "Cancel" rejects; Return accepts.
class CClassChooserView : public QDialog
{
    Q_OBJECT
public:
    explicit CClassChooserView(QWidget* parent = nullptr);

    // Replaces the offered names, in order; the first becomes the selection.
    void SetItems(const QStringList& names);
    // The selected name; empty when nothing is offered.
    QString GetSelectedName() const;

    QComboBox* GetComboBox() const { return m_pComboBox; }

private:
    QComboBox* m_pComboBox = nullptr;
};
