#include "CLogMark.h"
#include "CMainWindowCase.h"

#include "CTrainerSetup.h"
#include "frame/CSetting.h"
#include "project/run/CTrainerJobChoice.h"
#include "views/CTrainerSettingView.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace
{
const char* const EXE = "TAMSEL_COMMAND_EXE_YOLO3";
const char* const ARG = "TAMSEL_COMMAND_ARG_YOLO3";
} // namespace

// The trainer's settings dialog as the user meets it: what a field stores and when, and what it says about the
// trainer it names.
class TrainerSettingsTest : public CMainWindowCase
{
    Q_OBJECT

    // Writes a file in the sandbox, runnable or not, and returns its path.
    QString WriteFile(const QString& strRelative, bool bRunnable) const
    {
        const QString strPath = m_pSandbox->Path(strRelative);
        QDir().mkpath(QFileInfo(strPath).path());
        QFile file(strPath);
        if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n") < 0)
            return QString();
        file.close();
        const QFile::Permissions eRead = QFile::ReadOwner | QFile::WriteOwner;
        file.setPermissions(bRunnable ? eRead | QFile::ExeOwner : eRead);
        return strPath;
    }

private slots:
    void init() { NewSandboxAndWindow(); }
    void cleanup() { CloseWindow(); }

    void typingInASettingStoresItOnceWhenEditingEnds_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("end");

        // Regression: every keystroke was written and logged; typing two fields made 34 "Update Setting" lines.
        for (const char* pszKey : {EXE, ARG, CTrainerJobChoice::SLURM_PARTITION, CTrainerJobChoice::SLURM_OPTIONS})
        {
            for (const char* pszEnd : {"Return", "Close", "Escape"})
                QTest::newRow(qPrintable(QString("%1 %2").arg(pszKey, pszEnd))) << QString(pszKey) << QString(pszEnd);
        }
    }

    void typingInASettingStoresItOnceWhenEditingEnds()
    {
        QFETCH(QString, key);
        QFETCH(QString, end);
        CSetting::Set(key, QString("old"));
        // The cluster's fields take typing only while the trainer runs on the cluster.
        CSetting::Set(CTrainerJobChoice::RUN_ON, CTrainerJobChoice::RUN_ON_SLURM);
        CLogMark mark;
        QString strStoredWhileTyping;
        m_pAnswers->dialogs.push_back(
            [&](QDialog* pDialog)
            {
                auto* pView = qobject_cast<CTrainerSettingView*>(pDialog);
                auto* pField = pDialog->findChild<QLineEdit*>(key);
                pField->selectAll();
                QTest::keyClicks(pField, "detector train");
                strStoredWhileTyping = CSetting::GetString(key, QString());
                if (end == "Close")
                    QTest::mouseClick(pView->GetCloseButton(), Qt::LeftButton);
                else
                    QTest::keyClick(pField, end == "Return" ? Qt::Key_Return : Qt::Key_Escape);
                return int(QDialog::Rejected);
            });

        Action("Setting")->trigger();

        QCOMPARE(strStoredWhileTyping, QString("old"));
        QCOMPARE(CSetting::GetString(key, QString()), QString("detector train"));
        QCOMPARE(mark.Lines().filter("Update Setting"), QStringList{"[NORMAL] Update Setting {" + key + "} OK"});
    }

    void trainerThatCannotRunIsFlagged_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("cluster");
        QTest::addColumn<QString>("note");

        QTest::newRow("none set") << "" << false << "No trainer is set: \"Start\" cannot train.";
        QTest::newRow("missing file") << "gone/darknet" << false << "No file at this path.";
        QTest::newRow("folder") << "bin" << false << "This is a folder, not a program.";
        QTest::newRow("not executable") << "bin/plain" << false << "This file cannot be run: it is not executable.";
        QTest::newRow("runnable") << "bin/darknet" << false << "";
        // The cluster's nodes may have a trainer this computer lacks; what it sees at the path is the shared file.
        QTest::newRow("cluster, none set") << "" << true << "No trainer is set: \"Start\" cannot train.";
        QTest::newRow("cluster, missing file") << "gone/darknet" << true << "";
        QTest::newRow("cluster, name not on the PATH") << "=no-such-trainer" << true << "";
        QTest::newRow("cluster, not executable")
            << "bin/plain" << true << "This file cannot be run: it is not executable.";
    }

    void trainerThatCannotRunIsFlagged()
    {
        QFETCH(QString, path);
        QFETCH(bool, cluster);
        QFETCH(QString, note);
        WriteFile("bin/plain", false);
        WriteFile("bin/darknet", true);
        CTrainerSettingView* pView = m_pWindow->GetSettingView();
        pView->GetExecutableField()->setText(m_pSandbox->Path("gone/darknet"));
        // The note follows the choice as it is made, before any path is typed again.
        QTest::keyClick(pView->GetRunOnField(), cluster ? Qt::Key_Down : Qt::Key_Up);

        pView->GetExecutableField()->setText(path.isEmpty() || path.startsWith('=') ? path.mid(1)
                                                                                    : m_pSandbox->Path(path));

        QCOMPARE(pView->GetExecutableNote()->text(), note);
        QCOMPARE(pView->GetExecutableNote()->isHidden(), note.isEmpty());
    }

    // "Run on" is stored as the user picks it, and only the cluster's fields of the cluster are enabled for it; the
    // poll interval is typed in seconds and stored in milliseconds.
    void runOnChoiceIsStoredAndEnablesClusterFields()
    {
        CTrainerSettingView* pView = m_pWindow->GetSettingView();
        CSetting::Set(CTrainerJobChoice::RUN_ON, CTrainerJobChoice::RUN_ON_LOCAL);
        QVERIFY(!pView->GetClusterGroup()->isEnabled());
        CLogMark mark;

        QTest::keyClick(pView->GetRunOnField(), Qt::Key_Down);

        QCOMPARE(CTrainerJobChoice::RunOn(), CTrainerJobChoice::ERunOn_Slurm);
        QVERIFY(pView->GetClusterGroup()->isEnabled());
        pView->GetPollField()->selectAll();
        QTest::keyClicks(pView->GetPollField(), "2");
        QTest::keyClick(pView->GetPollField(), Qt::Key_Return);
        QCOMPARE(CTrainerJobChoice::SlurmSettings().nPollMs, 2000);
        QTest::keyClick(pView->GetRunOnField(), Qt::Key_Up);
        QCOMPARE(CTrainerJobChoice::RunOn(), CTrainerJobChoice::ERunOn_Local);
        QVERIFY(!pView->GetClusterGroup()->isEnabled());
        QCOMPARE(mark.Lines().filter("Update Setting"),
                 QStringList({"[NORMAL] Update Setting {TRAINER_RUN_ON} OK",
                              "[NORMAL] Update Setting {TRAINER_SLURM_POLL_MS} OK",
                              "[NORMAL] Update Setting {TRAINER_RUN_ON} OK"}));
    }

    void installedDarknetFillsTheTrainerSettings_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("filled");

        QTest::newRow("nothing set") << ""
                                     << "" << true << "installed|detector train";
        QTest::newRow("nothing installed") << ""
                                           << "" << false << "|";
        QTest::newRow("own trainer kept") << "/opt/yolo/train"
                                          << "" << true << "/opt/yolo/train|";
        QTest::newRow("own arguments kept") << ""
                                            << "detector map" << true << "installed|detector map";
        QTest::newRow("another darknet gets its command") << "/opt/darknet"
                                                          << "" << false << "/opt/darknet|detector train";
    }

    void installedDarknetFillsTheTrainerSettings()
    {
        QFETCH(QString, executable);
        QFETCH(QString, arguments);
        QFETCH(bool, installed);
        QFETCH(QString, filled);
        const QString strInstalled = installed ? WriteFile("usr/bin/darknet", true) : m_pSandbox->Path("none/darknet");
        CSetting::Set(EXE, executable);
        CSetting::Set(ARG, arguments);

        CTrainerSetup::FillTrainerDefaults(strInstalled);

        const QString strExecutable = CSetting::GetString(EXE, QString());
        QCOMPARE((strExecutable == strInstalled ? QString("installed") : strExecutable) + "|" +
                     CSetting::GetString(ARG, QString()),
                 filled);
        // The dialog shows what "Start" will run.
        QCOMPARE(m_pWindow->GetSettingView()->GetArgumentsField()->text(), CSetting::GetString(ARG, QString()));
    }
};

int RunTrainerSettingsTest(int argc, char** argv)
{
    TrainerSettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TrainerSettingsTest.moc"
