#include "CTestSandbox.h"

#include "database/CDatabase.h"
#include "frame/CLogModel.h"
#include "project/CProjectRecordFactory.h"
#include "views/CClassChooserController.h"
#include "views/CClassChooserView.h"
#include "views/CClassEditorController.h"
#include "views/CClassEditorView.h"
#include "views/CParameterEditorController.h"
#include "views/CParameterEditorView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
const QString PROBE = QStringLiteral("editors_probe");

// Every row change of the two edited tables leaves one line in audit, so a test sees exactly what one edit did.
const char* const AUDIT_SCHEMA[] = {
    "CREATE TABLE audit (N INTEGER PRIMARY KEY AUTOINCREMENT, LINE TEXT NOT NULL)",
    "CREATE TRIGGER category_insert AFTER INSERT ON category BEGIN "
    "INSERT INTO audit (LINE) VALUES ('INSERT category ' || NEW.ID || ' ' || NEW.NAME); END",
    "CREATE TRIGGER category_update AFTER UPDATE ON category BEGIN "
    "INSERT INTO audit (LINE) VALUES ('UPDATE category ' || NEW.ID || ' ' || OLD.NAME || '>' || NEW.NAME); END",
    "CREATE TRIGGER category_delete AFTER DELETE ON category BEGIN "
    "INSERT INTO audit (LINE) VALUES ('DELETE category ' || OLD.ID || ' ' || OLD.NAME); END",
    "CREATE TRIGGER parameter_insert AFTER INSERT ON parameter BEGIN "
    "INSERT INTO audit (LINE) VALUES ('INSERT parameter ' || NEW.ID || ' ' || NEW.NAME || '=' || NEW.VALUE); END",
    "CREATE TRIGGER parameter_update AFTER UPDATE ON parameter BEGIN "
    "INSERT INTO audit (LINE) VALUES ('UPDATE parameter ' || NEW.ID || ' ' || OLD.NAME || '=' || OLD.VALUE || '>' || "
    "NEW.NAME || '=' || NEW.VALUE); END",
    "CREATE TRIGGER parameter_delete AFTER DELETE ON parameter BEGIN "
    "INSERT INTO audit (LINE) VALUES ('DELETE parameter ' || OLD.ID || ' ' || OLD.NAME || '=' || OLD.VALUE); END",
};

// The rows of the item model, their cells joined by "|".
QStringList Shown(const QStandardItemModel* pModel)
{
    QStringList rows;
    for (int r = 0; r < pModel->rowCount(); ++r)
    {
        QStringList cells;
        for (int c = 0; c < pModel->columnCount(); ++c)
            cells << pModel->index(r, c).data().toString();
        rows << cells.join('|');
    }
    return rows;
}

QPushButton* ButtonWithText(QWidget* pParent, const QString& strText)
{
    for (QPushButton* pButton : pParent->findChildren<QPushButton*>())
        if (pButton->text() == strText)
            return pButton;
    return nullptr;
}
} // namespace

class TableEditorsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyClassListShowsOneEmptyRow();
    void classTypedIntoEmptyRowIsInsertedAndShown_data();
    void classTypedIntoEmptyRowIsInsertedAndShown();
    void renamingUpdatesThatRowOnly_data();
    void renamingUpdatesThatRowOnly();
    void takenClassNameLeavesTableAlone_data();
    void takenClassNameLeavesTableAlone();
    void blankNameInEmptyRowInsertsNothing_data();
    void blankNameInEmptyRowInsertsNothing();
    void deletingClassReloadsAndValidatesOnce();
    void deleteWithoutCurrentCellDoesNothing();
    void deleteOnEmptyRowOnlyReloads();
    void returnEndsClassEditWithOneStatement_data();
    void returnEndsClassEditWithOneStatement();
    void returnOnCurrentClassDeletesNothing();

    void parameterNamedInEmptyRowThenValued();
    void editingParameterWritesNameAndValue_data();
    void editingParameterWritesNameAndValue();
    void valueBeforeNameWaitsForName();
    void takenParameterNameLeavesTableAlone();
    void deletingParameterReloads();
    void saveAndCancelCloseParameterEditor_data();
    void saveAndCancelCloseParameterEditor();
    void returnEndsParameterEditWithOneStatement();
    void returnOnCurrentParameterDeletesNothing();

    void chooserOffersClassesInDatabaseOrder();
    void chooserWithoutClassesSelectsNothing();
    void chooserButtonsAcceptAndReject_data();
    void chooserButtonsAcceptAndReject();

private:
    void Exec(const QString& strSql);
    QStringList Lines(const QString& strSql);
    QStringList Audit() { return Lines("SELECT LINE FROM audit ORDER BY N"); }
    QStringList Categories() { return Lines("SELECT ID || '|' || NAME FROM category ORDER BY ID"); }
    QStringList Parameters() { return Lines("SELECT ID || '|' || NAME || '|' || VALUE FROM parameter ORDER BY ID"); }
    // Rows added behind the editors' back, as an earlier session would have left them; the audit starts empty.
    void Seed(const QString& strTable, const QStringList& values);
    bool LoggedError(const QSignalSpy& spy, const QString& strText) const;

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CProjectRecordFactory> m_pFactory;
    std::unique_ptr<CDatabase> m_pDatabase;
};

void TableEditorsTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
    CLogModel::GetInstance();
}

void TableEditorsTest::init()
{
    m_pDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_pDir->isValid());
    const QString strFile = m_pDir->filePath("editors.data");
    m_pFactory = std::make_unique<CProjectRecordFactory>();
    m_pDatabase = std::make_unique<CDatabase>(m_pFactory.get());
    QVERIFY(m_pDatabase->OpenDatabase("localhost", strFile, "", ""));
    QVERIFY(m_pDatabase->RunQueryFile(":/Files/tamsel_database_sqlite.sql", true));

    QSqlDatabase probe = QSqlDatabase::addDatabase("QSQLITE", PROBE);
    probe.setDatabaseName(strFile);
    QVERIFY(probe.open());
    for (const char* pStatement : AUDIT_SCHEMA)
        Exec(pStatement);
}

void TableEditorsTest::cleanup()
{
    QSqlDatabase::database(PROBE, false).close();
    QSqlDatabase::removeDatabase(PROBE);
    m_pDatabase.reset();
    m_pFactory.reset();
    m_pDir.reset();
}

void TableEditorsTest::Exec(const QString& strSql)
{
    QSqlQuery query(QSqlDatabase::database(PROBE));
    QVERIFY2(query.exec(strSql), qPrintable(query.lastError().text()));
}

QStringList TableEditorsTest::Lines(const QString& strSql)
{
    QStringList lines;
    // Scoped, so that the probe holds no read lock while the editors write.
    QSqlQuery query(QSqlDatabase::database(PROBE));
    if (!query.exec(strSql))
        return {"query failed: " + query.lastError().text()};
    while (query.next())
        lines << query.value(0).toString();
    return lines;
}

void TableEditorsTest::Seed(const QString& strTable, const QStringList& values)
{
    for (const QString& strValues : values)
    {
        if (strTable == "category")
            Exec(QString("INSERT INTO category (NAME) VALUES (%1)").arg(strValues));
        else
            Exec(QString("INSERT INTO parameter (NAME, VALUE) VALUES (%1)").arg(strValues));
    }
    Exec("DELETE FROM audit");
}

bool TableEditorsTest::LoggedError(const QSignalSpy& spy, const QString& strText) const
{
    for (const QList<QVariant>& args : spy)
    {
        const SLogMessage sMessage = args.at(0).value<SLogMessage>();
        if (sMessage.eLevel == ELogLevel_Error && sMessage.strMessage.contains(strText))
            return true;
    }
    return false;
}

void TableEditorsTest::emptyClassListShowsOneEmptyRow()
{
    CClassEditorView view;
    CClassEditorController controller(&view, m_pDatabase.get());

    controller.Load();

    QCOMPARE(Shown(view.GetItemModel()), QStringList({"|"}));
    QVERIFY(view.GetTableView()->isColumnHidden(0));
    QCOMPARE(view.GetItemModel()->item(0, 1)->toolTip(), QString("Class name"));
    QVERIFY(!view.GetItemModel()->item(0, 0)->isEnabled());
    QVERIFY(view.GetItemModel()->item(0, 1)->isEditable());
}

void TableEditorsTest::classTypedIntoEmptyRowIsInsertedAndShown_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "truck";
    QTest::newRow("apostrophe") << "driver's cab";
    QTest::newRow("non-latin") << QString::fromUtf8("Fahrrad Größe 名");
    QTest::newRow("statement-like") << "x'); DELETE FROM category; --";
}

void TableEditorsTest::classTypedIntoEmptyRowIsInsertedAndShown()
{
    QFETCH(QString, name);
    Seed("category", {"'car'"});
    CClassEditorView view;
    CClassEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    QStandardItemModel* pModel = view.GetItemModel();

    pModel->setData(pModel->index(1, 1), name);

    QCOMPARE(Audit(), QStringList({"INSERT category 2 " + name}));
    QCOMPARE(Categories(), QStringList({"1|car", "2|" + name}));
    QCOMPARE(Shown(pModel), QStringList({"1|car", "2|" + name, "|"}));
    QCOMPARE(pModel->item(2, 1)->toolTip(), QString("Class name"));
}

void TableEditorsTest::renamingUpdatesThatRowOnly_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "truck";
    QTest::newRow("apostrophe") << "driver's cab";
    QTest::newRow("statement-like") << "x' WHERE 1=1; --";
}

void TableEditorsTest::renamingUpdatesThatRowOnly()
{
    QFETCH(QString, name);
    Seed("category", {"'car'", "'bus'", "'bike'"});
    CClassEditorView view;
    CClassEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    QStandardItemModel* pModel = view.GetItemModel();
    QSignalSpy resetSpy(pModel, &QStandardItemModel::modelReset);

    pModel->setData(pModel->index(1, 1), name);

    QCOMPARE(Audit(), QStringList({"UPDATE category 2 bus>" + name}));
    QCOMPARE(Categories(), QStringList({"1|car", "2|" + name, "3|bike"}));
    QCOMPARE(resetSpy.count(), 0);
    QCOMPARE(Shown(pModel), QStringList({"1|car", "2|" + name, "3|bike", "|"}));
}

void TableEditorsTest::takenClassNameLeavesTableAlone_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("new class with a taken name") << 2;
    QTest::newRow("rename to a taken name") << 1;
}

void TableEditorsTest::takenClassNameLeavesTableAlone()
{
    QFETCH(int, row);
    Seed("category", {"'car'", "'bus'"});
    CClassEditorView view;
    CClassEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    QStandardItemModel* pModel = view.GetItemModel();
    QSignalSpy resetSpy(pModel, &QStandardItemModel::modelReset);
    QSignalSpy logSpy(&CLogModel::GetInstance(), &CLogModel::signal_NewMessage);

    pModel->setData(pModel->index(row, 1), "car");

    QCOMPARE(Audit(), QStringList());
    QCOMPARE(Categories(), QStringList({"1|car", "2|bus"}));
    QCOMPARE(resetSpy.count(), 0);
    QCOMPARE(pModel->item(row, 1)->text(), QString("car"));
    QTRY_VERIFY(LoggedError(logSpy, "UNIQUE constraint failed: category.NAME"));
}

void TableEditorsTest::blankNameInEmptyRowInsertsNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
}

void TableEditorsTest::blankNameInEmptyRowInsertsNothing()
{
    QFETCH(QString, name);
    Seed("category", {"'car'"});
    CClassEditorView view;
    CClassEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    QStandardItemModel* pModel = view.GetItemModel();
    QSignalSpy insertSpy(&view, &CClassEditorView::signal_Insert);

    pModel->setData(pModel->index(1, 1), name);

    QCOMPARE(insertSpy.count(), 0);
    QCOMPARE(Audit(), QStringList());
    QCOMPARE(Categories(), QStringList({"1|car"}));
    QCOMPARE(pModel->rowCount(), 2);
}

void TableEditorsTest::deletingClassReloadsAndValidatesOnce()
{
    Seed("category", {"'car'", "'bus'", "'bike'"});
    CClassEditorView view;
    CClassEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy validateSpy(&view, &CClassEditorView::signal_CheckValidateROI);
    view.GetTableView()->setCurrentIndex(view.GetItemModel()->index(1, 1));

    QTest::mousePress(ButtonWithText(&view, "Delete"), Qt::LeftButton);

    QCOMPARE(Audit(), QStringList({"DELETE category 2 bus"}));
    QCOMPARE(Categories(), QStringList({"1|car", "3|bike"}));
    QCOMPARE(Shown(view.GetItemModel()), QStringList({"1|car", "3|bike", "|"}));
    QCOMPARE(validateSpy.count(), 1);
}

void TableEditorsTest::deleteWithoutCurrentCellDoesNothing()
{
    Seed("category", {"'car'"});
    CClassEditorView view;
    CClassEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.GetTableView()->selectionModel()->clearCurrentIndex();
    QSignalSpy resetSpy(view.GetItemModel(), &QStandardItemModel::modelReset);
    QSignalSpy validateSpy(&view, &CClassEditorView::signal_CheckValidateROI);

    QTest::mousePress(ButtonWithText(&view, "Delete"), Qt::LeftButton);

    QCOMPARE(Audit(), QStringList());
    QCOMPARE(resetSpy.count(), 0);
    QCOMPARE(validateSpy.count(), 0);
}

void TableEditorsTest::deleteOnEmptyRowOnlyReloads()
{
    Seed("category", {"'car'"});
    CClassEditorView view;
    CClassEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.GetTableView()->setCurrentIndex(view.GetItemModel()->index(1, 1));
    QSignalSpy resetSpy(view.GetItemModel(), &QStandardItemModel::modelReset);
    QSignalSpy validateSpy(&view, &CClassEditorView::signal_CheckValidateROI);

    QTest::mousePress(ButtonWithText(&view, "Delete"), Qt::LeftButton);

    QCOMPARE(Audit(), QStringList());
    QCOMPARE(Categories(), QStringList({"1|car"}));
    QCOMPARE(resetSpy.count(), 1);
    QCOMPARE(validateSpy.count(), 1);
}

void TableEditorsTest::returnEndsClassEditWithOneStatement_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("audit");
    QTest::addColumn<QStringList>("categories");
    QTest::newRow("rename") << 0 << QStringList({"UPDATE category 1 car>truck"}) << QStringList({"1|truck", "2|bus"});
    QTest::newRow("new class") << 2 << QStringList({"INSERT category 3 truck"})
                               << QStringList({"1|car", "2|bus", "3|truck"});
}

void TableEditorsTest::returnEndsClassEditWithOneStatement()
{
    QFETCH(int, row);
    QFETCH(QStringList, audit);
    QFETCH(QStringList, categories);
    Seed("category", {"'car'", "'bus'"});
    CClassEditorView view;
    CClassEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTableView* pTable = view.GetTableView();
    const QModelIndex index = view.GetItemModel()->index(row, 1);
    pTable->setCurrentIndex(index);
    pTable->edit(index);
    auto* pEditor = pTable->viewport()->findChild<QLineEdit*>();
    QVERIFY(pEditor);

    pEditor->selectAll();
    QTest::keyClicks(pEditor, "truck");
    QTest::keyClick(pEditor, Qt::Key_Return);

    QTRY_COMPARE(Audit(), audit);
    QCOMPARE(Categories(), categories);
    QVERIFY(view.isVisible());
}

void TableEditorsTest::returnOnCurrentClassDeletesNothing()
{
    Seed("category", {"'car'", "'bus'"});
    CClassEditorView view;
    CClassEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.GetTableView()->setCurrentIndex(view.GetItemModel()->index(0, 1));

    QTest::keyClick(view.GetTableView(), Qt::Key_Return);

    QCOMPARE(Audit(), QStringList());
    QCOMPARE(Categories(), QStringList({"1|car", "2|bus"}));
    QVERIFY(view.isVisible());
}

void TableEditorsTest::parameterNamedInEmptyRowThenValued()
{
    CParameterEditorView view;
    CParameterEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    QStandardItemModel* pModel = view.GetItemModel();

    QCOMPARE(Shown(pModel), QStringList({"||"}));
    QVERIFY(!view.GetTableView()->isColumnHidden(0));

    pModel->setData(pModel->index(0, 1), "batch");
    QCOMPARE(Audit(), QStringList({"INSERT parameter 1 batch="}));
    QCOMPARE(Shown(pModel), QStringList({"1|batch|", "||"}));

    pModel->setData(pModel->index(0, 2), "64");
    QCOMPARE(Audit(), QStringList({"INSERT parameter 1 batch=", "UPDATE parameter 1 batch=>batch=64"}));
    QCOMPARE(Parameters(), QStringList({"1|batch|64"}));
    QCOMPARE(Shown(pModel), QStringList({"1|batch|64", "||"}));
}

void TableEditorsTest::editingParameterWritesNameAndValue_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("audit");
    QTest::addColumn<QStringList>("parameters");
    QTest::newRow("value") << 2 << "0.002"
                           << "UPDATE parameter 2 learning_rate=0.001>learning_rate=0.002"
                           << QStringList({"1|batch|64", "2|learning_rate|0.002"});
    QTest::newRow("name") << 1 << "lr"
                          << "UPDATE parameter 2 learning_rate=0.001>lr=0.001"
                          << QStringList({"1|batch|64", "2|lr|0.001"});
    QTest::newRow("value with apostrophe") << 2 << "it's"
                                           << "UPDATE parameter 2 learning_rate=0.001>learning_rate=it's"
                                           << QStringList({"1|batch|64", "2|learning_rate|it's"});
}

void TableEditorsTest::editingParameterWritesNameAndValue()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, audit);
    QFETCH(QStringList, parameters);
    Seed("parameter", {"'batch', '64'", "'learning_rate', '0.001'"});
    CParameterEditorView view;
    CParameterEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    QStandardItemModel* pModel = view.GetItemModel();
    QSignalSpy resetSpy(pModel, &QStandardItemModel::modelReset);

    pModel->setData(pModel->index(1, column), text);

    QCOMPARE(Audit(), QStringList({audit}));
    QCOMPARE(Parameters(), parameters);
    QCOMPARE(resetSpy.count(), 0);
}

void TableEditorsTest::valueBeforeNameWaitsForName()
{
    CParameterEditorView view;
    CParameterEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    QStandardItemModel* pModel = view.GetItemModel();

    pModel->setData(pModel->index(0, 2), "16");
    QCOMPARE(Audit(), QStringList());
    QCOMPARE(Shown(pModel), QStringList({"||16"}));

    pModel->setData(pModel->index(0, 1), "subdivisions");
    QCOMPARE(Audit(), QStringList({"INSERT parameter 1 subdivisions=16"}));
    QCOMPARE(Shown(pModel), QStringList({"1|subdivisions|16", "||"}));
}

void TableEditorsTest::takenParameterNameLeavesTableAlone()
{
    Seed("parameter", {"'batch', '64'"});
    CParameterEditorView view;
    CParameterEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    QStandardItemModel* pModel = view.GetItemModel();
    QSignalSpy logSpy(&CLogModel::GetInstance(), &CLogModel::signal_NewMessage);

    pModel->setData(pModel->index(1, 1), "batch");

    QCOMPARE(Audit(), QStringList());
    QCOMPARE(Parameters(), QStringList({"1|batch|64"}));
    QCOMPARE(Shown(pModel), QStringList({"1|batch|64", "|batch|"}));
    QTRY_VERIFY(LoggedError(logSpy, "UNIQUE constraint failed: parameter.NAME"));
}

void TableEditorsTest::deletingParameterReloads()
{
    Seed("parameter", {"'batch', '64'", "'subdivisions', '16'"});
    CParameterEditorView view;
    CParameterEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.GetTableView()->setCurrentIndex(view.GetItemModel()->index(0, 2));

    QTest::mousePress(ButtonWithText(&view, "Delete"), Qt::LeftButton);

    QCOMPARE(Audit(), QStringList({"DELETE parameter 1 batch=64"}));
    QCOMPARE(Shown(view.GetItemModel()), QStringList({"2|subdivisions|16", "||"}));
}

void TableEditorsTest::saveAndCancelCloseParameterEditor_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("Save") << "Save" << int(QDialog::Accepted);
    QTest::newRow("Cancel") << "Cancel" << int(QDialog::Rejected);
}

void TableEditorsTest::saveAndCancelCloseParameterEditor()
{
    QFETCH(QString, button);
    QFETCH(int, result);
    Seed("parameter", {"'batch', '64'"});
    CParameterEditorView view;
    CParameterEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setResult(-1);
    QSignalSpy saveSpy(&view, &CParameterEditorView::signal_Save);
    QSignalSpy cancelSpy(&view, &CParameterEditorView::signal_Cancel);

    QTest::mousePress(ButtonWithText(&view, button), Qt::LeftButton);

    QVERIFY(!view.isVisible());
    QCOMPARE(view.result(), result);
    QCOMPARE(saveSpy.count(), button == "Save" ? 1 : 0);
    QCOMPARE(cancelSpy.count(), button == "Cancel" ? 1 : 0);
    QCOMPARE(Audit(), QStringList());
    QCOMPARE(Parameters(), QStringList({"1|batch|64"}));
}

void TableEditorsTest::returnEndsParameterEditWithOneStatement()
{
    Seed("parameter", {"'batch', '64'"});
    CParameterEditorView view;
    CParameterEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTableView* pTable = view.GetTableView();
    const QModelIndex index = view.GetItemModel()->index(0, 2);
    pTable->setCurrentIndex(index);
    pTable->edit(index);
    auto* pEditor = pTable->viewport()->findChild<QLineEdit*>();
    QVERIFY(pEditor);

    pEditor->selectAll();
    QTest::keyClicks(pEditor, "1");
    QTest::keyClick(pEditor, Qt::Key_Return);

    QTRY_COMPARE(Audit(), QStringList({"UPDATE parameter 1 batch=64>batch=1"}));
    QVERIFY(view.isVisible());
}

void TableEditorsTest::returnOnCurrentParameterDeletesNothing()
{
    Seed("parameter", {"'batch', '64'"});
    CParameterEditorView view;
    CParameterEditorController controller(&view, m_pDatabase.get());
    controller.Load();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.GetTableView()->setCurrentIndex(view.GetItemModel()->index(0, 2));

    QTest::keyClick(view.GetTableView(), Qt::Key_Return);

    QCOMPARE(Audit(), QStringList());
    QCOMPARE(Parameters(), QStringList({"1|batch|64"}));
    QVERIFY(view.isVisible());
}

void TableEditorsTest::chooserOffersClassesInDatabaseOrder()
{
    Seed("category", {"'person'", "'car'", "'bicycle'"});
    CClassChooserView view;
    CClassChooserController controller(&view, m_pDatabase.get());

    controller.Load();

    QComboBox* pCombo = view.GetComboBox();
    QCOMPARE(pCombo->count(), 3);
    QCOMPARE(pCombo->itemText(0), QString("person"));
    QCOMPARE(pCombo->itemText(2), QString("bicycle"));
    QCOMPARE(view.GetSelectedName(), QString("person"));
    pCombo->setCurrentIndex(2);
    QCOMPARE(view.GetSelectedName(), QString("bicycle"));

    Exec("DELETE FROM category WHERE NAME='person'");
    controller.Load();
    QCOMPARE(pCombo->count(), 2);
    QCOMPARE(view.GetSelectedName(), QString("car"));
}

void TableEditorsTest::chooserWithoutClassesSelectsNothing()
{
    CClassChooserView view;
    CClassChooserController controller(&view, m_pDatabase.get());

    controller.Load();

    QCOMPARE(view.GetComboBox()->count(), 0);
    QCOMPARE(view.GetSelectedName(), QString());
}

void TableEditorsTest::chooserButtonsAcceptAndReject_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("OK") << "OK" << int(QDialog::Accepted);
    QTest::newRow("Cancel") << "Cancel" << int(QDialog::Rejected);
    QTest::newRow("Return key") << QString() << int(QDialog::Accepted);
}

void TableEditorsTest::chooserButtonsAcceptAndReject()
{
    QFETCH(QString, button);
    QFETCH(int, result);
    Seed("category", {"'car'"});
    CClassChooserView view;
    CClassChooserController controller(&view, m_pDatabase.get());
    controller.Load();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setResult(-1);

    if (button.isEmpty())
        QTest::keyClick(view.GetComboBox(), Qt::Key_Return);
    else
        QTest::mousePress(ButtonWithText(&view, button), Qt::LeftButton);

    QVERIFY(!view.isVisible());
    QCOMPARE(view.result(), result);
    QCOMPARE(view.GetSelectedName(), QString("car"));
}

QTEST_MAIN(TableEditorsTest)
#include "TableEditorsTest.moc"
