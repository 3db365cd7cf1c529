#include "CTestSandbox.h"

#include "views/CFileExplorerView.h"

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QTreeView>
#include <QtTest>

#include <memory>

// The file explorer announces what the user selects, one entry per selected cell, and nothing for a deselection.
class FileExplorerTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CFileExplorerView> m_pView;
    std::vector<std::vector<QFileInfo>> m_vctAnnounced;
    QString m_strFolder;

    QModelIndex IndexOf(const QString& strPath);

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void selectingRowsAnnouncesTheirFiles_data();
    void selectingRowsAnnouncesTheirFiles();
    void clearingSelectionAnnouncesNothing();
};

void FileExplorerTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
    m_strFolder = m_pSandbox->Path("pictures");
    QVERIFY(QDir().mkpath(m_strFolder + "/sub"));
    for (const char* pszName : {"a.png", "b.jpg"})
    {
        QFile file(m_strFolder + "/" + pszName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("data");
    }
}

void FileExplorerTest::init()
{
    m_vctAnnounced.clear();
    m_pView = std::make_unique<CFileExplorerView>();
    connect(m_pView.get(), &CFileExplorerView::signal_SelectFiles, this,
            [this](const std::vector<QFileInfo>& vctFiles) { m_vctAnnounced.push_back(vctFiles); });
}

void FileExplorerTest::cleanup()
{
    m_pView.reset();
}

QModelIndex FileExplorerTest::IndexOf(const QString& strPath)
{
    QFileSystemModel* pModel = m_pView->GetFileSystemModel();
    // The model reads folders in the background; wait until the entry is there.
    QModelIndex index;
    const bool bFound = QTest::qWaitFor(
        [&]()
        {
            index = pModel->index(strPath);
            pModel->fetchMore(pModel->index(m_strFolder));
            return index.isValid();
        },
        10000);
    return bFound ? index : QModelIndex();
}

void FileExplorerTest::selectingRowsAnnouncesTheirFiles_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::newRow("one image") << QStringList({"a.png"});
    QTest::newRow("a folder") << QStringList({"sub"});
    QTest::newRow("two files") << QStringList({"b.jpg", "a.png"});
}

void FileExplorerTest::selectingRowsAnnouncesTheirFiles()
{
    QFETCH(QStringList, selected);
    QItemSelection selection;
    for (const QString& strName : selected)
    {
        const QModelIndex index = IndexOf(m_strFolder + "/" + strName);
        QVERIFY(index.isValid());
        selection.select(index, index.siblingAtColumn(m_pView->GetFileSystemModel()->columnCount(index) - 1));
    }

    m_pView->GetTreeView()->selectionModel()->select(selection, QItemSelectionModel::Select);

    QCOMPARE(m_vctAnnounced.size(), size_t(1));
    const int nColumns = m_pView->GetFileSystemModel()->columnCount(m_pView->GetFileSystemModel()->index(m_strFolder));
    QCOMPARE(int(m_vctAnnounced[0].size()), nColumns * selected.size());
    // Every cell of a row names the row's file; rows come in the order they were selected.
    for (int nRow = 0; nRow < selected.size(); ++nRow)
    {
        for (int nColumn = 0; nColumn < nColumns; ++nColumn)
        {
            const QFileInfo& info = m_vctAnnounced[0][size_t(nRow * nColumns + nColumn)];
            QCOMPARE(info.absoluteFilePath(), m_strFolder + "/" + selected[nRow]);
        }
    }
    QCOMPARE(m_vctAnnounced[0][0].isDir(), selected[0] == "sub");
}

void FileExplorerTest::clearingSelectionAnnouncesNothing()
{
    const QModelIndex index = IndexOf(m_strFolder + "/a.png");
    QVERIFY(index.isValid());
    QItemSelectionModel* pSelection = m_pView->GetTreeView()->selectionModel();
    pSelection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(m_vctAnnounced.size(), size_t(1));

    pSelection->clearSelection();

    QCOMPARE(m_vctAnnounced.size(), size_t(1));
}

QTEST_MAIN(FileExplorerTest)
#include "FileExplorerTest.moc"
