#include "process/CImage2DProcessOCRDlgParameterDelegate.h"

#include "frame/CPrompt.h"
#include "process/ParameterEditors.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

namespace
{

// The folder editor: a line to type the folder into and a button that asks for it.
QWidget* FolderEditor(QWidget* parent)
{
    auto* pEditor = new QWidget(parent);
    pEditor->setAutoFillBackground(true);
    auto* pLayout = new QHBoxLayout(pEditor);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    auto* pLine = new QLineEdit(pEditor);
    auto* pBrowse = new QToolButton(pEditor);
    pBrowse->setText("...");
    pLayout->addWidget(pLine, 1);
    pLayout->addWidget(pBrowse);
    pEditor->setFocusProxy(pLine);
    QObject::connect(pBrowse, &QToolButton::clicked, pEditor,
                     [pEditor, pLine]
                     {
                         const QString strFolder = CPrompt::GetExistingDirectory(pEditor, QString(), pLine->text());
                         if (!strFolder.isEmpty())
                             pLine->setText(strFolder);
                     });
    return pEditor;
}

} // namespace

CImage2DProcessOCRDlgParameterDelegate::CImage2DProcessOCRDlgParameterDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QWidget* CImage2DProcessOCRDlgParameterDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                                              const QModelIndex& index) const
{
    if (!ParameterEditors::IsEditableCell(parent, index))
        return nullptr;
    switch (index.row())
    {
    case 0:
    {
        auto* pList = new QComboBox(parent);
        pList->addItems({"eng", "vie", "kor"});
        return pList;
    }
    case 1:
        return FolderEditor(parent);
    case 2:
    {
        auto* pDpi = new QSpinBox(parent);
        pDpi->setRange(1, 1024);
        pDpi->setValue(70);
        return pDpi;
    }
    }
    return nullptr;
}

void CImage2DProcessOCRDlgParameterDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* pLine = editor->findChild<QLineEdit*>(); pLine && index.row() == 1)
        pLine->setText(index.data(Qt::EditRole).toString());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void CImage2DProcessOCRDlgParameterDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                                          const QModelIndex& index) const
{
    switch (index.row())
    {
    case 0:
        if (auto* pList = qobject_cast<QComboBox*>(editor))
            model->setData(index, pList->currentText(), Qt::EditRole);
        break;
    case 1:
        if (auto* pLine = editor->findChild<QLineEdit*>(); pLine && !pLine->text().isEmpty())
            model->setData(index, pLine->text(), Qt::EditRole);
        break;
    case 2:
        if (auto* pDpi = qobject_cast<QSpinBox*>(editor))
            model->setData(index, QString::number(pDpi->value()), Qt::EditRole);
        break;
    }
}
