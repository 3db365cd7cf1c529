#pragma once

#include <QMetaEnum>

class QComboBox;
class QModelIndex;
class QWidget;

// What the tools' parameter delegates share: which cells may be edited, and the list of an enumeration's keys.
namespace ParameterEditors
{

// Column 1 of an item view (the editor's parent is its viewport) whose model is a QStandardItemModel.
bool IsEditableCell(const QWidget* pEditorParent, const QModelIndex& index);

// A list of the enumeration's keys in value order.
QComboBox* KeyList(const QMetaEnum& keys, QWidget* parent);

} // namespace ParameterEditors
