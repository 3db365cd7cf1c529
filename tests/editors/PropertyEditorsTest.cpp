#include "CPromptAnswers.h"
#include "CTestSandbox.h"

#include "views/CConfigurationEditorView.h"
#include "views/CProjectPropertyModel.h"
#include "views/CProjectPropertyView.h"
#include "views/CTextEditorView.h"

#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace
{
QString NumberedLines(int nFrom, int nTo)
{
    QStringList lines;
    for (int i = nFrom; i <= nTo; ++i)
        lines << QString::number(i);
    return lines.join('\n');
}

// Lines short enough never to wrap in the test's window.
QString TextOfLines(int nLines)
{
    QStringList lines;
    for (int i = 0; i < nLines; ++i)
        lines << QString("line %1").arg(i);
    return lines.join('\n');
}

// The block shown at the top of an editor's viewport.
int FirstVisibleBlock(QTextEdit* pEdit)
{
    return pEdit->cursorForPosition(QPoint(4, 4)).blockNumber();
}

QPushButton* ButtonWithText(QWidget* pParent, const QString& strText)
{
    for (QPushButton* pButton : pParent->findChildren<QPushButton*>())
        if (pButton->text() == strText)
            return pButton;
    return nullptr;
}

const QString MODEL_KEY = QStringLiteral("PROJECT_INITIALIZED_MODEL");
const QString CONF_KEY = QStringLiteral("PROJECT_INITIALIZED_CONF");
} // namespace

class PropertyEditorsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void gutterNumbersEveryLine_data();
    void gutterNumbersEveryLine();
    void gutterGrowsByOneDigitPastPowersOfTen_data();
    void gutterGrowsByOneDigitPastPowersOfTen();
    void numbersScrollWithTheText();
    void newLineKeepsScrollPosition();
    void textComesBackExactlyAsSet_data();
    void textComesBackExactlyAsSet();

    void openingConfigurationSendsTheShownTextOnce();
    void keystrokeSendsTheWholeText();

    void propertyModelAnnouncesOnlyChanges_data();
    void propertyModelAnnouncesOnlyChanges();

    void modelValueShownAndWrittenBack_data();
    void modelValueShownAndWrittenBack();
    void emptyValueForEmptyFieldWritesNothing();
    void typingSendsEveryChange();
    void chooserAnswerFillsField_data();
    void chooserAnswerFillsField();
    void returnInPathFieldOpensNoChooser();
    void typedPathGivesWayToNextProjectsValue();

private:
    std::unique_ptr<CTestSandbox> m_pSandbox;
};

void PropertyEditorsTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
}

void PropertyEditorsTest::gutterNumbersEveryLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("numbers");
    QTest::newRow("empty text has line 1") << QString() << "1";
    QTest::newRow("one line") << "[net]"
                              << "1";
    QTest::newRow("three lines") << "a\nb\nc"
                                 << "1\n2\n3";
    QTest::newRow("final line break opens a line") << "a\nb\n"
                                                   << "1\n2\n3";
    QTest::newRow("blank lines count") << "\n\n\n"
                                       << "1\n2\n3\n4";
    QTest::newRow("twelve lines") << TextOfLines(12) << NumberedLines(1, 12);
    QTest::newRow("long line is one line") << QString(400, 'x') + "\nb"
                                           << "1\n2";
}

void PropertyEditorsTest::gutterNumbersEveryLine()
{
    QFETCH(QString, text);
    QFETCH(QString, numbers);
    CTextEditorView view;
    view.resize(600, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    view.SetText(text);

    QCOMPARE(view.GetLineNumberEdit()->toPlainText(), numbers);
}

void PropertyEditorsTest::gutterGrowsByOneDigitPastPowersOfTen_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("9 to 10") << 9;
    QTest::newRow("99 to 100") << 99;
    QTest::newRow("999 to 1000") << 999;
}

void PropertyEditorsTest::gutterGrowsByOneDigitPastPowersOfTen()
{
    QFETCH(int, lines);
    CTextEditorView view;
    view.resize(600, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTextEdit* pGutter = view.GetLineNumberEdit();
    const QFontMetrics metrics(pGutter->font());

    view.SetText(TextOfLines(lines - 1));
    const int nWidthBelow = pGutter->width();
    view.SetText(TextOfLines(lines));
    const int nWidthAt = pGutter->width();
    view.SetText(TextOfLines(lines + 1));
    const int nWidthAbove = pGutter->width();

    QCOMPARE(nWidthAt, nWidthBelow);
    QCOMPARE(nWidthAbove - nWidthAt,
             metrics.horizontalAdvance(QString::number(lines + 1)) - metrics.horizontalAdvance(QString::number(lines)));
    QVERIFY(nWidthAt >= 30 + metrics.horizontalAdvance(QString::number(lines)));
    QCOMPARE(pGutter->minimumWidth(), pGutter->maximumWidth());
}

void PropertyEditorsTest::numbersScrollWithTheText()
{
    CTextEditorView view;
    view.resize(400, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.SetText(TextOfLines(300));
    QScrollBar* pBar = view.GetTextEdit()->verticalScrollBar();
    QVERIFY(pBar->maximum() > 0);

    pBar->setValue(pBar->maximum() / 2);

    QVERIFY(FirstVisibleBlock(view.GetTextEdit()) > 50);
    QCOMPARE(FirstVisibleBlock(view.GetLineNumberEdit()), FirstVisibleBlock(view.GetTextEdit()));
    QVERIFY(!view.GetLineNumberEdit()->verticalScrollBar()->isVisible() ||
            view.GetLineNumberEdit()->verticalScrollBar() == pBar);
    QCOMPARE(view.GetLineNumberEdit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void PropertyEditorsTest::newLineKeepsScrollPosition()
{
    CTextEditorView view;
    view.resize(400, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.SetText(TextOfLines(300));
    QTextEdit* pEdit = view.GetTextEdit();
    QTextCursor cursor(pEdit->document()->findBlockByNumber(150));
    pEdit->setTextCursor(cursor);
    pEdit->ensureCursorVisible();
    const int nTopBefore = FirstVisibleBlock(pEdit);
    QVERIFY(nTopBefore > 100);

    QTest::keyClick(pEdit, Qt::Key_Return);

    QVERIFY(qAbs(FirstVisibleBlock(pEdit) - nTopBefore) <= 1);
    QCOMPARE(FirstVisibleBlock(view.GetLineNumberEdit()), FirstVisibleBlock(pEdit));
    QCOMPARE(view.GetLineNumberEdit()->document()->blockCount(), 301);
}

void PropertyEditorsTest::textComesBackExactlyAsSet_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("darknet section") << "[net]\nbatch=1\n# subdivisions=16";
    QTest::newRow("markup stays text") << "<b>bold</b>\n[net]";
    QTest::newRow("html document stays text") << "<html><body><p>x</p></body></html>";
    QTest::newRow("entity stays text") << "a &amp; b";
    QTest::newRow("runs of blanks") << "a   b\n\n   c\t d";
    QTest::newRow("non-latin") << QString::fromUtf8("Größe=1\n名前");
}

void PropertyEditorsTest::textComesBackExactlyAsSet()
{
    QFETCH(QString, text);
    CTextEditorView view;

    view.SetText(text);

    QCOMPARE(view.GetText(), text);
}

void PropertyEditorsTest::openingConfigurationSendsTheShownTextOnce()
{
    QFile file(":/Files/yolov3.cfg");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString strConfig = QString::fromUtf8(file.readAll()).replace("\r\n", "\n");
    const int nLines = strConfig.count('\n') + 1;
    CConfigurationEditorView view;
    view.resize(700, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy spy(&view, &CConfigurationEditorView::signal_UpdateProjectProperty);

    view.SetText(strConfig);

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QString("PROJECT_CONFIGURATION"));
    const QVariant value = spy.at(0).at(1).value<QVariant>();
    QCOMPARE(value.type(), QVariant::String);
    QCOMPARE(value.toString(), strConfig);
    QCOMPARE(view.GetTextView()->GetLineNumberEdit()->toPlainText(), NumberedLines(1, nLines));
}

void PropertyEditorsTest::keystrokeSendsTheWholeText()
{
    CConfigurationEditorView view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.SetText("[net]\nbatch=1\nwidth=416");
    QTextEdit* pEdit = view.GetTextView()->GetTextEdit();
    pEdit->moveCursor(QTextCursor::End);
    QSignalSpy spy(&view, &CConfigurationEditorView::signal_UpdateProjectProperty);

    QTest::keyClick(pEdit, Qt::Key_0);
    QTest::keyClick(pEdit, Qt::Key_Backspace);
    QTest::keyClick(pEdit, Qt::Key_Backspace);

    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(0).at(1).value<QVariant>().toString(), QString("[net]\nbatch=1\nwidth=4160"));
    QCOMPARE(spy.at(1).at(1).value<QVariant>().toString(), QString("[net]\nbatch=1\nwidth=416"));
    QCOMPARE(spy.at(2).at(1).value<QVariant>().toString(), QString("[net]\nbatch=1\nwidth=41"));
    for (const QList<QVariant>& args : spy)
        QCOMPARE(args.at(0).toString(), QString("PROJECT_CONFIGURATION"));
}

void PropertyEditorsTest::propertyModelAnnouncesOnlyChanges_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QVariant>("before");
    QTest::addColumn<QVariant>("after");
    QTest::addColumn<bool>("announced");
    QTest::newRow("new name") << false << QVariant() << QVariant("/w/a.weights") << true;
    QTest::newRow("new name with empty text") << false << QVariant() << QVariant(QString("")) << true;
    QTest::newRow("equal text") << true << QVariant("/w/a.weights") << QVariant("/w/a.weights") << false;
    QTest::newRow("other text") << true << QVariant("/w/a.weights") << QVariant("/w/b.weights") << true;
    QTest::newRow("text emptied") << true << QVariant("/w/a.weights") << QVariant(QString("")) << true;
}

void PropertyEditorsTest::propertyModelAnnouncesOnlyChanges()
{
    QFETCH(bool, present);
    QFETCH(QVariant, before);
    QFETCH(QVariant, after);
    QFETCH(bool, announced);
    CProjectPropertyModel model;
    if (present)
        model.SetProperty(MODEL_KEY, before);
    QSignalSpy spy(&model, &CProjectPropertyModel::signal_ChangeProperty);

    model.SetProperty(MODEL_KEY, after);

    QCOMPARE(spy.count(), announced ? 1 : 0);
    if (announced)
        QCOMPARE(spy.at(0).at(0).toString(), MODEL_KEY);
    QCOMPARE(model.GetProperty(MODEL_KEY), after);
    QVERIFY(!model.GetProperty(CONF_KEY).isValid());
}

void PropertyEditorsTest::modelValueShownAndWrittenBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("modelField");
    QTest::addColumn<bool>("confField");
    QTest::newRow("model path") << MODEL_KEY << true << false;
    QTest::newRow("configuration path") << CONF_KEY << false << true;
    QTest::newRow("other property") << "PROJECT_CONFIGURATION" << false << false;
}

void PropertyEditorsTest::modelValueShownAndWrittenBack()
{
    QFETCH(QString, name);
    QFETCH(bool, modelField);
    QFETCH(bool, confField);
    CProjectPropertyModel model;
    CProjectPropertyView view(&model);
    QSignalSpy spy(&view, &CProjectPropertyView::signal_UpdateProjectProperty);

    model.SetProperty(name, QVariant("/data/yolov3.weights"));

    QCOMPARE(view.GetModelPathEdit()->text(), modelField ? QString("/data/yolov3.weights") : QString());
    QCOMPARE(view.GetConfigurePathEdit()->text(), confField ? QString("/data/yolov3.weights") : QString());
    QCOMPARE(spy.count(), (modelField || confField) ? 1 : 0);
    if (spy.count() == 1)
    {
        QCOMPARE(spy.at(0).at(0).toString(), name);
        QCOMPARE(spy.at(0).at(1).value<QVariant>(), QVariant("/data/yolov3.weights"));
    }
}

void PropertyEditorsTest::emptyValueForEmptyFieldWritesNothing()
{
    CProjectPropertyModel model;
    CProjectPropertyView view(&model);
    QSignalSpy spy(&view, &CProjectPropertyView::signal_UpdateProjectProperty);

    model.SetProperty(MODEL_KEY, QVariant(QString("")));
    model.SetProperty(CONF_KEY, QVariant(QString("")));

    QCOMPARE(spy.count(), 0);
    QVERIFY(view.GetModelPathEdit()->text().isEmpty());
    QCOMPARE(view.GetModelPathEdit()->objectName(), MODEL_KEY);
    QCOMPARE(view.GetConfigurePathEdit()->objectName(), CONF_KEY);
}

void PropertyEditorsTest::typingSendsEveryChange()
{
    CProjectPropertyModel model;
    CProjectPropertyView view(&model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy spy(&view, &CProjectPropertyView::signal_UpdateProjectProperty);

    QTest::keyClicks(view.GetConfigurePathEdit(), "a/b");

    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(2).at(0).toString(), CONF_KEY);
    QCOMPARE(spy.at(2).at(1).value<QVariant>(), QVariant("a/b"));
    QCOMPARE(spy.at(0).at(1).value<QVariant>().type(), QVariant::String);
}

void PropertyEditorsTest::chooserAnswerFillsField_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("model chosen") << "Choose Model" << MODEL_KEY << "/w/new.weights"
                                  << "/w/new.weights";
    QTest::newRow("configure chosen") << "Choose Configure" << CONF_KEY << "/w/new.cfg"
                                      << "/w/new.cfg";
    QTest::newRow("model cancelled") << "Choose Model" << MODEL_KEY << QString() << "/w/old";
    QTest::newRow("configure cancelled") << "Choose Configure" << CONF_KEY << QString() << "/w/old";
}

void PropertyEditorsTest::chooserAnswerFillsField()
{
    QFETCH(QString, button);
    QFETCH(QString, name);
    QFETCH(QString, answer);
    QFETCH(QString, shown);
    CProjectPropertyModel model;
    CProjectPropertyView view(&model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    model.SetProperty(name, QVariant("/w/old"));
    CPromptAnswers answers;
    answers.files.push_back(answer);
    QSignalSpy spy(&view, &CProjectPropertyView::signal_UpdateProjectProperty);

    QTest::mousePress(ButtonWithText(&view, button), Qt::LeftButton);

    QCOMPARE(answers.asked.size(), 1);
    QCOMPARE(answers.asked.at(0).strKind, QString("open"));
    QLineEdit* pField = name == MODEL_KEY ? view.GetModelPathEdit() : view.GetConfigurePathEdit();
    QCOMPARE(pField->text(), shown);
    QCOMPARE(spy.count(), answer.isEmpty() ? 0 : 1);
    if (!answer.isEmpty())
        QCOMPARE(spy.at(0).at(0).toString(), name);
}

void PropertyEditorsTest::returnInPathFieldOpensNoChooser()
{
    CProjectPropertyModel model;
    CProjectPropertyView view(&model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    model.SetProperty(MODEL_KEY, QVariant("/w/a.weights"));
    CPromptAnswers answers;

    QTest::keyClick(view.GetModelPathEdit(), Qt::Key_Return);

    QVERIFY(answers.asked.isEmpty());
    QCOMPARE(view.GetModelPathEdit()->text(), QString("/w/a.weights"));
    QVERIFY(view.isVisible());
}

void PropertyEditorsTest::typedPathGivesWayToNextProjectsValue()
{
    CProjectPropertyModel model;
    CProjectPropertyView view(&model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    model.SetProperty(MODEL_KEY, QVariant("/first/a.weights"));
    view.GetModelPathEdit()->clear();
    QTest::keyClicks(view.GetModelPathEdit(), "/typed");

    // The next project holds the value the first one was opened with.
    model.SetProperty(MODEL_KEY, QVariant("/first/a.weights"));

    QCOMPARE(view.GetModelPathEdit()->text(), QString("/first/a.weights"));
}

QTEST_MAIN(PropertyEditorsTest)
#include "PropertyEditorsTest.moc"
