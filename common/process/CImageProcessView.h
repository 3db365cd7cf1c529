#pragma once

#include "OvrelCommonGlobal.h"

#include <QDialog>
#include <QString>

#include <vector>

class QAbstractItemDelegate;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTreeView;

// The dialog frame every image tool shares: the source viewer ("Image View [n]") and one of its ROI shapes on top,
// the tool's "Parameter" and "Result" boxes beside each other, its "Button" box, and the "Message" box with one line
// of text. Concrete tools fill the parameter, result and button boxes; the target boxes are shown but unused.
//
// The source list follows the workspace's layout model (the first one registered): it holds one name per viewer the
// grid shows. Choosing a name emits signal_ChangeSourceImageView; the list changing does not.
//
// An entry of the ROI list added as a region (AddSourceRegion) carries its shape's UID and name and shows a text that
// tells shapes of one name apart (the controller's "roi (20, 10, 60x40)"); one added by name alone shows the name.
class OVRELCOMMON_EXPORT CImageProcessView : public QDialog
{
    Q_OBJECT
public:
    explicit CImageProcessView(QWidget* parent = nullptr);
    ~CImageProcessView() override;

    // Empties the ROI list and fills it with the names in order.
    virtual void SetSourceROITitle(const std::vector<QString>& vctNames);
    virtual void ClearSourceROI();
    // Appends at the end.
    virtual void AddSourceROI(const QString& strName);
    // Removes the first entry with exactly that text; nothing when there is none.
    virtual void DeleteSourceROI(const QString& strName);
    // Appends an entry for the shape nUID named strName, showing strText.
    void AddSourceRegion(unsigned int nUID, const QString& strName, const QString& strText);
    // Shows the new name and text in the entry of shape nUID; nothing when there is none.
    void UpdateSourceRegion(unsigned int nUID, const QString& strName, const QString& strText);
    // Removes the entry of shape nUID; nothing when there is none.
    void DeleteSourceRegion(unsigned int nUID);
    // The shape UID of the current entry; 0 without one or for an entry added by name.
    unsigned int GetSourceRegionUID() const;
    // The current source viewer name.
    virtual QString GetSourceImage() const;
    // Selects entry nIndex when the list has one; otherwise nothing changes.
    virtual void SetSourceROIIndex(int nIndex);
    // -1 when the list is empty.
    virtual int GetSourceROIIndex() const;
    // The name of the current entry's shape (not the text that also tells where it is).
    virtual QString GetSourceROIName() const;
    virtual void SetMessage(const QString& strMessage);

    QSize sizeHint() const override;

    QComboBox* GetSourceImageBox() const { return m_pSourceImage; }
    QComboBox* GetSourceROIBox() const { return m_pSourceROI; }
    QLabel* GetMessageLabel() const { return m_pMessage; }

signals:
    void signal_ChangeSourceImageView(const QString& strName);

public slots:
    void slot_ChangeImageViewNumber();

protected:
    QGroupBox* GetParameterBox() const { return m_pParameterBox; }
    QGroupBox* GetResultBox() const { return m_pResultBox; }
    QGroupBox* GetButtonBox() const { return m_pButtonBox; }

    // Puts a tree view with a hidden header over the item model into the "Parameter" box, the delegate serving column
    // 1. Neither the model nor the delegate is taken over. Null when there is no "Parameter" box.
    QTreeView* AddParameterTable(QStandardItemModel* pItems, QAbstractItemDelegate* pDelegate);
    // Puts a "Run" button with the given size policy into the "Button" box (a layout without margin and spacing when
    // bTight); null when there is no "Button" box.
    QPushButton* AddRunButton(QSizePolicy::Policy eHorizontal, QSizePolicy::Policy eVertical, bool bTight);

private:
    // Refills the source list from the layout model's grid; leaves it alone without a layout model.
    void ChangeImageViewNumber();
    // The entry of shape nUID, -1 when there is none.
    int FindSourceRegion(unsigned int nUID) const;

    QGroupBox* m_pParameterBox = nullptr;
    QGroupBox* m_pResultBox = nullptr;
    QGroupBox* m_pButtonBox = nullptr;
    QGroupBox* m_pMessageBox = nullptr;
    QComboBox* m_pSourceImage = nullptr;
    QComboBox* m_pSourceROI = nullptr;
    QComboBox* m_pTargetImage = nullptr;
    QComboBox* m_pTargetROI = nullptr;
    QLabel* m_pMessage = nullptr;
};
