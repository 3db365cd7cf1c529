#pragma once

#include <QFileInfo>
#include <QWidget>

#include <vector>

class QFileSystemModel;
class QItemSelection;
class QTreeView;

// The "File Explorer" tab: a tree of the whole file system. Selecting rows announces their files; the receiver decides
// what to open (normally the first regular file).
class CFileExplorerView : public QWidget
{
    Q_OBJECT
public:
    explicit CFileExplorerView(QWidget* parent = nullptr);

    QTreeView* GetTreeView() const { return m_pTreeView; }
    QFileSystemModel* GetFileSystemModel() const { return m_pFileSystemModel; }

signals:
    // One entry per selected index, in selection order: a selected row contributes one entry per column.
    void signal_SelectFiles(const std::vector<QFileInfo>& vctFiles);

public slots:
    void slot_SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

private:
    QTreeView* m_pTreeView = nullptr;
    QFileSystemModel* m_pFileSystemModel = nullptr;
};
