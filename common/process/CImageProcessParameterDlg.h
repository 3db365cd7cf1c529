#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessView.h"

#include <QModelIndex>
#include <QPointer>
#include <QString>
#include <QVector>

#include <utility>
#include <vector>

class QAbstractItemDelegate;
class QStandardItemModel;

// A tool window whose parameters stand in a table of label and value rows, with a "Run" button. A value the user
// commits is announced as signal_ChangeData while the tool's model lives; filling the table announces nothing.
class OVRELCOMMON_EXPORT CImageProcessParameterDlg : public CImageProcessView
{
    Q_OBJECT
public:
    QStandardItemModel* GetParameterModel() const { return m_pParameterModel; }

signals:
    void signal_Run();
    // A table edit: nCode is the row, strValue the cell's text.
    void signal_ChangeData(int nCode, const QString& strValue);

public slots:
    void slot_DataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QVector<int>& roles);

protected:
    // The model is not owned; it may be null or go first.
    explicit CImageProcessParameterDlg(QObject* pModel, QWidget* parent = nullptr);

    // Puts the table into the "Parameter" box, the delegate editing the values, with one row per label and value;
    // the labels cannot be edited.
    void SetupParameter(QAbstractItemDelegate* pDelegate, const std::vector<std::pair<QString, QString>>& vctRows);
    // Puts the "Run" button into the "Button" box (see AddRunButton).
    void SetupButton(QSizePolicy::Policy eVertical, bool bTight);
    // Puts the text into the value of row nRow, announcing nothing; nothing without that row.
    void ShowValue(int nRow, const QString& strValue);

private:
    QStandardItemModel* m_pParameterModel = nullptr;
    QPointer<QObject> m_pModel;
    // Set while ShowValue writes: a value shown is not an edit.
    bool m_bShowing = false;
};
