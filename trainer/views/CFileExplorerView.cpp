#include "views/CFileExplorerView.h"

#include <QFileSystemModel>
#include <QGuiApplication>
#include <QItemSelection>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

CFileExplorerView::CFileExplorerView(QWidget* parent) : QWidget(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);

    m_pTreeView = new QTreeView(this);
    m_pFileSystemModel = new QFileSystemModel(m_pTreeView);
    m_pFileSystemModel->setRootPath("");
    m_pTreeView->setModel(m_pFileSystemModel);
    m_pTreeView->setAnimated(false);
    m_pTreeView->setIndentation(20);
    m_pTreeView->setSortingEnabled(true);

    QScreen* pScreen = m_pTreeView->screen();
    if (!pScreen)
        pScreen = QGuiApplication::primaryScreen();
    if (pScreen)
        m_pTreeView->resize(pScreen->availableGeometry().size());
    m_pTreeView->setColumnWidth(0, m_pTreeView->width() / 3);
    pLayout->addWidget(m_pTreeView);

    connect(m_pTreeView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CFileExplorerView::slot_SelectionChanged);
}

void CFileExplorerView::slot_SelectionChanged(const QItemSelection& selected, const QItemSelection&)
{
    if (!m_pFileSystemModel)
        return;
    const QModelIndexList indexes = selected.indexes();
    if (indexes.isEmpty())
        return;
    std::vector<QFileInfo> vctFiles;
    vctFiles.reserve(static_cast<size_t>(indexes.size()));
    for (const QModelIndex& index : indexes)
        vctFiles.push_back(m_pFileSystemModel->fileInfo(index));
    emit signal_SelectFiles(vctFiles);
}
