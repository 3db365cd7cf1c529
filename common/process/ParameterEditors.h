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

// A list of the words of the enumeration's choices (see ChoiceText) in value order.
QComboBox* KeyList(const QMetaEnum& keys, QWidget* parent);

// The words a user reads for a choice: the enumeration's name without "EImage2DProcess", a blank, then the rest of
// the key ("EImage2DProcessSobelXY" of EImage2DProcessSobel is "Sobel XY", "EImage2DProcessMedian3x3" is
// "Median 3x3"). Empty for a value outside the enumeration.
QString ChoiceText(const QMetaEnum& keys, int nValue);
// The value whose ChoiceText is strText; -1 for any other text.
int ChoiceValue(const QMetaEnum& keys, const QString& strText);

} // namespace ParameterEditors
