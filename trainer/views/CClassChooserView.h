#pragma once

#include <QColor>
#include <QDialog>
#include <QList>
#include <QStringList>

class QComboBox;
class QLabel;

// Modal choice of one class name for a new rectangle. "OK" accepts, "Cancel" rejects; Return accepts. The keys 1 to 9
// choose the first to ninth name and accept at once.
class CClassChooserView : public QDialog
{
    Q_OBJECT
public:
    explicit CClassChooserView(QWidget* parent = nullptr);

    // Replaces the offered names, in order; the name last accepted (see SetLastChosen) becomes the selection when it
    // is offered, otherwise the first. Each name with a colour given (same position) shows a swatch of it beside it.
    void SetItems(const QStringList& names, const QList<QColor>& lstColours = {});
    // The name the next SetItems preselects.
    void SetLastChosen(const QString& strName) { m_strLastChosen = strName; }
    // The selected name; empty when nothing is offered.
    QString GetSelectedName() const;
    // Why the chooser asks, shown above the names; empty (the default) hides it, as for a freshly drawn box.
    void SetReason(const QString& strReason);
    QString GetReason() const;

    QComboBox* GetComboBox() const { return m_pComboBox; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    // True when the key was a digit that chose a name.
    bool ChooseByDigit(int nKey);

    QLabel* m_pReason = nullptr;
    QComboBox* m_pComboBox = nullptr;
    QString m_strLastChosen;
};
