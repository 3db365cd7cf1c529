#include "CPromptAnswers.h"
#include "CTestSandbox.h"

#include "database/CDatabase.h"
#include "project/store/CProjectRecordFactory.h"
#include "views/CClassChooserController.h"
#include "views/CClassChooserView.h"
#include "views/CClassEditorController.h"
#include "views/CClassEditorView.h"
#include "views/CConfigurationEditorView.h"
#include "views/CParameterEditorController.h"
#include "views/CParameterEditorView.h"
#include "views/CProjectPropertyModel.h"
#include "views/CProjectPropertyView.h"
#include "views/CTextEditorView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextEdit>
#include <QtTest>

namespace
{
const QString PROBE = "editors_probe";

// Every row change of the two edited tables leaves one line in audit, so that a test sees exactly what an edit did.
const char* const SETUP[] = {
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
    // What an earlier session left in the project.
    "INSERT INTO category (NAME) VALUES ('car'), ('bus')",
    "INSERT INTO parameter (NAME, VALUE) VALUES ('batch', '64')",
    "DELETE FROM audit",
};

// One data row, its values in the order of the columns.
template <class... T> void Row(const char* pName, T... values)
{
    (QTest::newRow(pName) << ... << values);
}

QPushButton* Button(QWidget* pParent, const QString& strText)
{
    for (QPushButton* pButton : pParent->findChildren<QPushButton*>())
        if (pButton->text() == strText)
            return pButton;
    return nullptr;
}

// A dialog with its controller, loaded from the project. The controller goes first.
struct SEditor
{
    std::unique_ptr<QDialog> pView;
    std::unique_ptr<QObject> pController;

    QStandardItemModel* Model() const { return pView->findChild<QStandardItemModel*>(); }
    // The cell of "row column ...".
    QModelIndex Cell(const QString& strCell) const
    {
        return Model()->index(strCell.section(' ', 0, 0).toInt(), strCell.section(' ', 1, 1).toInt());
    }
    // The rows of the table (of the chooser's list) as "cell|cell", joined by ", ".
    QString Shown() const
    {
        QStringList lstRows;
        for (int r = 0; r < Model()->rowCount(); ++r)
        {
            QStringList lstCells;
            for (int c = 0; c < Model()->columnCount(); ++c)
                lstCells << Model()->index(r, c).data().toString();
            lstRows << lstCells.join('|');
        }
        return lstRows.join(", ");
    }
};

template <class TView, class TController> SEditor Make(CDatabase* pDatabase)
{
    auto* pView = new TView;
    auto pController = std::make_unique<TController>(pView, pDatabase);
    pController->Load();
    return {std::unique_ptr<QDialog>(pView), std::move(pController)};
}
} // namespace

class EditorsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_pSandbox = std::make_unique<CTestSandbox>(); }
    void init();
    void cleanup();

    void editsAndButtonsChangeTheTableOnce_data();
    void editsAndButtonsChangeTheTableOnce();
    void refusedEditsLeaveTheFilesRowsShownAndWarn_data();
    void refusedEditsLeaveTheFilesRowsShownAndWarn();

    void configurationShownAsPlainNumberedLinesAndStoredWhole_data();
    void configurationShownAsPlainNumberedLinesAndStoredWhole();
    void newLineKeepsTheViewInPlace();
    void propertyDialogShowsAndSendsPaths();

private:
    std::unique_ptr<CTestSandbox> m_pSandbox;
    int m_nCase = 0;
    std::unique_ptr<CProjectRecordFactory> m_pFactory;
    std::unique_ptr<CDatabase> m_pDatabase;
    // Answers every prompt of a test; a warning the editors show would otherwise wait for a user.
    std::unique_ptr<CPromptAnswers> m_pAnswers;

    // "classes", "parameters" or "chooser".
    SEditor Open(const QString& strKind);
    QStringList Lines(const QString& strSql);
    // Shows the editor and works it as a user: each line of cells ("row column [text]") made current and, with a
    // text, typed in and committed with Return; then a button pressed or Return given, if any.
    void Drive(const SEditor& editor, const QString& cells, const QString& press);
};

void EditorsTest::init()
{
    m_pAnswers = std::make_unique<CPromptAnswers>();
    const QString strFile = m_pSandbox->Path(QString("editors%1.data").arg(++m_nCase));
    m_pFactory = std::make_unique<CProjectRecordFactory>();
    m_pDatabase = std::make_unique<CDatabase>(m_pFactory.get());
    QVERIFY(m_pDatabase->OpenDatabase("localhost", strFile, "", ""));
    QVERIFY(m_pDatabase->RunQueryFile(":/Files/tamsel_database_sqlite.sql", true));
    QSqlDatabase probe = QSqlDatabase::addDatabase("QSQLITE", PROBE);
    probe.setDatabaseName(strFile);
    QVERIFY(probe.open());
    for (const char* pStatement : SETUP)
        QCOMPARE(Lines(pStatement), QStringList());
}

void EditorsTest::cleanup()
{
    QSqlDatabase::database(PROBE, false).close();
    QSqlDatabase::removeDatabase(PROBE);
    m_pDatabase.reset();
    m_pFactory.reset();
    m_pAnswers.reset();
}

SEditor EditorsTest::Open(const QString& strKind)
{
    if (strKind == "classes")
        return Make<CClassEditorView, CClassEditorController>(m_pDatabase.get());
    if (strKind == "parameters")
        return Make<CParameterEditorView, CParameterEditorController>(m_pDatabase.get());
    return Make<CClassChooserView, CClassChooserController>(m_pDatabase.get());
}

QStringList EditorsTest::Lines(const QString& strSql)
{
    QStringList lstLines;
    // Scoped, so that the probe holds no read lock while the editors write.
    QSqlQuery query(QSqlDatabase::database(PROBE));
    if (!query.exec(strSql))
        return {"query failed: " + query.lastError().text()};
    while (query.next())
        lstLines << query.value(0).toString();
    return lstLines;
}

void EditorsTest::Drive(const SEditor& editor, const QString& cells, const QString& press)
{
    auto* pChooser = qobject_cast<CClassChooserView*>(editor.pView.get());
    auto* pTable = editor.pView->findChild<QTableView*>();
    editor.pView->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor.pView.get()));
    editor.pView->setResult(-1);

    for (const QString& strCell : cells.split('\n'))
    {
        if (pChooser)
            pChooser->GetComboBox()->setCurrentIndex(strCell.toInt());
        else
            pTable->setCurrentIndex(strCell.isEmpty() ? QModelIndex() : editor.Cell(strCell));
        if (strCell.count(' ') < 2)
            continue;
        pTable->edit(editor.Cell(strCell));
        QPointer<QLineEdit> pEditor = pTable->viewport()->findChild<QLineEdit*>();
        QVERIFY(pEditor);
        // "\\n" stands for a newline, which would end the line of cells.
        pEditor->setText(strCell.section(' ', 2).replace("\\n", "\n"));
        QTest::keyClick(pEditor, Qt::Key_Return);
        QTRY_VERIFY(!pEditor);
    }
    if (press == "Return")
        QTest::keyClick(pChooser ? static_cast<QWidget*>(pChooser->GetComboBox()) : pTable, Qt::Key_Return);
    else if (!press.isEmpty())
        QTest::mouseClick(Button(editor.pView.get(), press), Qt::LeftButton);
}

void EditorsTest::editsAndButtonsChangeTheTableOnce_data()
{
    // Regression: Return, ending an edit, reached the dialog, whose default button "Delete" then deleted the row.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("cells");    // lines of "row column [text]": made current, text typed in, Return pressed
    QTest::addColumn<QString>("press");    // then a button or Return, if any
    QTest::addColumn<QString>("happened"); // the row changes, and each check of rectangles against the class list
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("result"); // -1 while the dialog stays open

    const QString S = "x'); DELETE FROM category; --";
    const QString N = QString::fromUtf8("Ma\xc3\x9f \xe5\x90\x8d");
    constexpr int OPEN = -1, ACCEPTED = QDialog::Accepted, REJECTED = QDialog::Rejected;
    Row("new class", "classes", "2 1 truck", "", "INSERT category 3 truck", "1|car, 2|bus, 3|truck, |", OPEN);
    Row("sql-like", "classes", "2 1 " + S, "", "INSERT category 3 " + S, "1|car, 2|bus, 3|" + S + ", |", OPEN);
    Row("non-latin", "classes", "1 1 " + N, "", "UPDATE category 2 bus>" + N, "1|car, 2|" + N + ", |", OPEN);
    Row("value", "parameters", "0 2 1", "", "UPDATE parameter 1 batch=64>batch=1", "1|batch|1, ||", OPEN);
    Row("apostrophe", "parameters", "0 1 it's", "", "UPDATE parameter 1 batch=64>it's=64", "1|it's|64, ||", OPEN);
    Row("named, then valued", "parameters", "1 1 lr\n1 2 5", "", "INSERT parameter 2 lr=; UPDATE parameter 2 lr=>lr=5",
        "1|batch|64, 2|lr|5, ||", OPEN);
    Row("value first", "parameters", "1 2 5\n1 1 lr", "", "INSERT parameter 2 lr=5", "1|batch|64, 2|lr|5, ||", OPEN);
    Row("class deleted", "classes", "1 1", "Delete", "DELETE category 2 bus; ROI check", "1|car, |", OPEN);
    Row("empty row reloaded", "classes", "2 1", "Delete", "ROI check", "1|car, 2|bus, |", OPEN);
    Row("no current cell", "classes", "", "Delete", "", "1|car, 2|bus, |", OPEN);
    Row("parameter deleted", "parameters", "0 2", "Delete", "DELETE parameter 1 batch=64", "||", OPEN);
    Row("Return on a class", "classes", "0 1", "Return", "", "1|car, 2|bus, |", OPEN);
    Row("Return on a parameter", "parameters", "0 2", "Return", "", "1|batch|64, ||", OPEN);
    Row("parameters saved", "parameters", "", "Save", "", "1|batch|64, ||", ACCEPTED);
    Row("parameters cancelled", "parameters", "", "Cancel", "", "1|batch|64, ||", REJECTED);
    // The classes in the order of the table: the second is "bus".
    Row("class chosen", "chooser", "1", "OK", "", "car, bus", ACCEPTED);
    Row("class chosen by Return", "chooser", "1", "Return", "", "car, bus", ACCEPTED);
    Row("choice cancelled", "chooser", "1", "Cancel", "", "car, bus", REJECTED);
}

void EditorsTest::editsAndButtonsChangeTheTableOnce()
{
    QFETCH(QString, kind);
    QFETCH(QString, cells);
    QFETCH(QString, press);
    QFETCH(QString, happened);
    QFETCH(QString, shown);
    QFETCH(int, result);
    const SEditor editor = Open(kind);
    QStringList lstChecks;
    if (auto* pClasses = qobject_cast<CClassEditorView*>(editor.pView.get()))
        connect(pClasses, &CClassEditorView::signal_CheckValidateROI, this, [&]() { lstChecks << "ROI check"; });
    auto* pChooser = qobject_cast<CClassChooserView*>(editor.pView.get());

    Drive(editor, cells, press);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE((Lines("SELECT LINE FROM audit ORDER BY N") + lstChecks).join("; "), happened);
    QCOMPARE(editor.Shown(), shown);
    QCOMPARE(editor.pView->isVisible() ? -1 : editor.pView->result(), result);
    if (kind == "classes")
        QCOMPARE(editor.Model()->item(editor.Model()->rowCount() - 1, 1)->toolTip(), QString("Class name"));
    if (pChooser)
        QCOMPARE(pChooser->GetSelectedName(), QString("bus"));
    QCOMPARE(m_pAnswers->asked.size(), 0);
}

void EditorsTest::refusedEditsLeaveTheFilesRowsShownAndWarn_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("cells"); // as above
    QTest::addColumn<QString>("press");
    QTest::addColumn<QString>("happened");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("warning"); // the text of the one warning box; empty when none may come

    // Regression: the grid kept showing what the file had refused, and only the log told.
    const QString USED = "the name is already used";
    const QString RO = "attempt to write a readonly database";
    const QString CLASSES = "1|car, 2|bus, |", PARAMETERS = "1|batch|64, ||";
    Row("class renamed to a taken name", "classes", false, "1 1 car", "", "", CLASSES,
        "Cannot save class car: " + USED);
    Row("class added with a taken name", "classes", false, "2 1 car", "", "", CLASSES,
        "Cannot save class car: " + USED);
    Row("blank class added", "classes", false, "2 1   ", "", "", CLASSES, "");
    Row("class renamed to blanks", "classes", false, "0 1  \t ", "", "", CLASSES, "");
    Row("class name erased", "classes", false, "1 1 ", "", "", CLASSES, "");
    // Regression: a newline in a class name made custom.names longer than "classes=", shifting every later class.
    const QString CONTROL = "its name holds a control character";
    Row("class renamed with a newline", "classes", false, "1 1 big\\ndog", "", "", CLASSES,
        "Cannot save class big\\ndog: " + CONTROL);
    Row("class added with a newline", "classes", false, "2 1 big\\n", "", "", CLASSES,
        "Cannot save class big\\n: " + CONTROL);
    Row("class renamed with a tab", "classes", false, "0 1 big\tdog", "", "", CLASSES,
        "Cannot save class big\\tdog: " + CONTROL);
    Row("class added with a control character", "classes", false, "2 1 a" + QString(QChar(1)) + "b", "", "", CLASSES,
        "Cannot save class a\\x01b: " + CONTROL);
    Row("read-only: class renamed", "classes", true, "1 1 lorry", "", "", CLASSES, "Cannot save class lorry: " + RO);
    Row("read-only: class added", "classes", true, "2 1 truck", "", "", CLASSES, "Cannot save class truck: " + RO);
    Row("read-only: class deleted", "classes", true, "1 1", "Delete", "", CLASSES, "Cannot delete class bus: " + RO);
    Row("parameter added with a taken name", "parameters", false, "1 1 batch", "", "", PARAMETERS,
        "Cannot save parameter batch: " + USED);
    Row("parameter renamed to a taken name", "parameters", false, "1 1 lr\n1 1 batch", "",
        "INSERT parameter 2 lr=", "1|batch|64, 2|lr|, ||", "Cannot save parameter batch: " + USED);
    Row("blank parameter added", "parameters", false, "1 2 8\n1 1  ", "", "", PARAMETERS, "");
    Row("parameter name erased", "parameters", false, "0 1 ", "", "", PARAMETERS, "");
    Row("read-only: parameter valued", "parameters", true, "0 2 1", "", "", PARAMETERS,
        "Cannot save parameter batch: " + RO);
    Row("read-only: parameter added", "parameters", true, "1 1 lr", "", "", PARAMETERS,
        "Cannot save parameter lr: " + RO);
    Row("read-only: parameter deleted", "parameters", true, "0 2", "Delete", "", PARAMETERS,
        "Cannot delete parameter batch: " + RO);
}

void EditorsTest::refusedEditsLeaveTheFilesRowsShownAndWarn()
{
    QFETCH(QString, kind);
    QFETCH(bool, readOnly);
    QFETCH(QString, cells);
    QFETCH(QString, press);
    QFETCH(QString, happened);
    QFETCH(QString, shown);
    QFETCH(QString, warning);
    // Tests run as root, whom file modes do not stop; SQLite itself is told not to write, which fails every write
    // with the same error a read-only file gives.
    if (readOnly)
        QVERIFY(m_pDatabase->RunQueries({"PRAGMA query_only = ON"}, false));
    const SEditor editor = Open(kind);
    QStringList lstChecks;
    if (auto* pClasses = qobject_cast<CClassEditorView*>(editor.pView.get()))
        connect(pClasses, &CClassEditorView::signal_CheckValidateROI, this, [&]() { lstChecks << "ROI check"; });

    Drive(editor, cells, press);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE((Lines("SELECT LINE FROM audit ORDER BY N") + lstChecks).join("; "), happened);
    // Exactly the file's rows, and the empty row below them.
    const QStringList lstFile =
        kind == "classes"
            ? Lines("SELECT ID || '|' || NAME FROM category ORDER BY ID") + QStringList{"|"}
            : Lines("SELECT ID || '|' || NAME || '|' || VALUE FROM parameter ORDER BY ID") + QStringList{"||"};
    QCOMPARE(editor.Shown(), lstFile.join(", "));
    QCOMPARE(editor.Shown(), shown);
    QStringList lstAsked;
    for (const CPromptAnswers::SAsked& sAsked : qAsConst(m_pAnswers->asked))
        lstAsked << sAsked.strKind + (sAsked.eIcon == QMessageBox::Warning ? " warning: " : " other: ") +
                        sAsked.strText;
    QCOMPARE(lstAsked, warning.isEmpty() ? QStringList() : QStringList{"message warning: " + warning});
}

void EditorsTest::configurationShownAsPlainNumberedLinesAndStoredWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("numbers");

    QStringList lstNumbers;
    for (int i = 1; i <= 300; ++i)
        lstNumbers << QString::number(i);
    Row("empty text has line 1", "", "1");
    Row("final line break opens a line", "a\nb\n", "1\n2\n3");
    Row("long line is one line", QString(400, 'x') + "\nb", "1\n2");
    Row("markup stays text", "<b>bold</b> &amp;\n[net]", "1\n2");
    Row("blanks and non-latin", QString::fromUtf8("a   b\n\n\t Ma\xc3\x9f \xe5\x90\x8d"), "1\n2\n3");
    Row("more lines than fit", (QString(200, 'x') + "\n").repeated(299) + "x", lstNumbers.join('\n'));
}

void EditorsTest::configurationShownAsPlainNumberedLinesAndStoredWhole()
{
    QFETCH(QString, text);
    QFETCH(QString, numbers);
    CConfigurationEditorView view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy spy(&view, &CConfigurationEditorView::signal_UpdateProjectProperty);
    QTextEdit* pEdit = view.GetTextView()->GetTextEdit();
    QTextEdit* pNumbers = view.GetTextView()->GetLineNumberEdit();
    const auto top = [](QTextEdit* pTextEdit) { return pTextEdit->cursorForPosition(QPoint(4, 4)).blockNumber(); };

    view.SetText(text);
    pEdit->verticalScrollBar()->setValue(pEdit->verticalScrollBar()->maximum() / 2);
    QCOMPARE(top(pNumbers), top(pEdit));
    pEdit->moveCursor(QTextCursor::End);
    QTest::keyClick(pEdit, Qt::Key_0);
    QTest::keyClick(pEdit, Qt::Key_Backspace);

    QCOMPARE(pNumbers->toPlainText(), numbers);
    QCOMPARE(top(pNumbers), top(pEdit));
    const QString KEY = "PROJECT_CONFIGURATION";
    QCOMPARE(QList<QVariantList>(spy), (QList<QVariantList>{{KEY, text}, {KEY, text + "0"}, {KEY, text}}));
}

void EditorsTest::newLineKeepsTheViewInPlace()
{
    CConfigurationEditorView view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTextEdit* pEdit = view.GetTextView()->GetTextEdit();
    QTextEdit* pNumbers = view.GetTextView()->GetLineNumberEdit();
    const auto top = [](QTextEdit* pTextEdit) { return pTextEdit->cursorForPosition(QPoint(4, 4)).blockNumber(); };
    view.SetText(QString("line\n").repeated(300));
    pEdit->verticalScrollBar()->setValue(pEdit->verticalScrollBar()->maximum() / 2);
    const int nTop = top(pEdit);
    QVERIFY(nTop > 0);

    // Return on the first visible line adds a line: the view must stay where it was, numbers level with the text.
    pEdit->setTextCursor(pEdit->cursorForPosition(QPoint(4, 4)));
    QTest::keyClick(pEdit, Qt::Key_Return);
    QCOMPARE(top(pEdit), nTop);
    QCOMPARE(top(pNumbers), nTop);
}

void EditorsTest::propertyDialogShowsAndSendsPaths()
{
    CProjectPropertyModel model;
    CProjectPropertyView view(&model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    CPromptAnswers answers;
    QSignalSpy spy(&view, &CProjectPropertyView::signal_UpdateProjectProperty);
    QLineEdit* pModelPath = view.GetModelPathEdit();
    // The fields, then what was sent and how many files were asked for since the last call.
    const auto seen = [&]()
    {
        QString strSeen = pModelPath->text() + "|" + view.GetConfigurePathEdit()->text();
        for (const QList<QVariant>& args : qAsConst(spy))
            strSeen += " " + args.at(0).toString() + "=" + args.at(1).toString() + ":" + args.at(1).typeName();
        spy.clear();
        return strSeen + QString(" asked %1").arg(std::exchange(answers.asked, {}).size());
    };

    // A value shown from the model is not sent back: opening a project writes nothing into it.
    model.SetProperty("PROJECT_INITIALIZED_MODEL", "/a");
    QCOMPARE(seen(), QString("/a| asked 0"));
    model.SetProperty("PROJECT_INITIALIZED_MODEL", "/a");
    model.SetProperty("PROJECT_INITIALIZED_CONF", "");
    model.SetProperty("PROJECT_CONFIGURATION", "[net]");
    QCOMPARE(seen(), QString("/a| asked 0"));
    QTest::keyClicks(pModelPath, "/x");
    QCOMPARE(seen(),
             QString("/a/x| PROJECT_INITIALIZED_MODEL=/a/:QString PROJECT_INITIALIZED_MODEL=/a/x:QString asked 0"));
    // What the user gave is the model's too: the next project, holding the first one's path, still shows its own.
    model.SetProperty("PROJECT_INITIALIZED_MODEL", "/a");
    QCOMPARE(seen(), QString("/a| asked 0"));

    answers.files = {"/b.cfg"};
    QTest::mouseClick(Button(&view, "Choose Configure"), Qt::LeftButton);
    QCOMPARE(seen(), QString("/a|/b.cfg PROJECT_INITIALIZED_CONF=/b.cfg:QString asked 1"));
    QTest::mouseClick(Button(&view, "Choose Model"), Qt::LeftButton);
    QCOMPARE(seen(), QString("/a|/b.cfg asked 1"));
    answers.files = {"/c.weights"};
    QTest::keyClick(pModelPath, Qt::Key_Return);
    QCOMPARE(seen(), QString("/a|/b.cfg asked 0"));
    QTest::mouseClick(Button(&view, "Choose Model"), Qt::LeftButton);
    QCOMPARE(seen(), QString("/c.weights|/b.cfg PROJECT_INITIALIZED_MODEL=/c.weights:QString asked 1"));

    // The option box, like the fields: shown from the model without being sent, sent when the user checks it.
    model.SetProperty("PROJECT_ALLOW_NO_BOXES", true);
    QVERIFY(view.GetAllowNoBoxesBox()->isChecked());
    QCOMPARE(seen(), QString("/c.weights|/b.cfg asked 0"));
    view.GetAllowNoBoxesBox()->click();
    QCOMPARE(seen(), QString("/c.weights|/b.cfg PROJECT_ALLOW_NO_BOXES=false:bool asked 0"));
    QCOMPARE(model.GetProperty("PROJECT_ALLOW_NO_BOXES"), QVariant(false));
}

QTEST_MAIN(EditorsTest)
#include "EditorsTest.moc"
