#include "CTrainerSetup.h"

#include "frame/CLogger.h"
#include "frame/CSetting.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QOpenGLContext>
#include <QPalette>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QSurfaceFormat>

void CTrainerSetup::Apply()
{
    const QString strProgramName = "OvrelTrainer";
    const QString strDocuments = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString strConfigDir = strDocuments + QDir::separator() + strProgramName;
    const QString strLogDir = strConfigDir + QDir::separator() + "Log";

    // On a fresh machine the documents folder itself may be missing: create the parents too.
    if (!QDir(strConfigDir).exists() && !QDir().mkpath(strConfigDir))
        return;

    CSetting::Set("GENERAL_PROGRAME_NAME", strProgramName);
    CSetting::Set("GENERAL_PROGRAME_VERSION", QString("1.0.0"));
    CSetting::Set("GENERAL_PROGRAM_CONFIG_DIR", strConfigDir);
    CSetting::Set("GENERAL_LOG_DIR", strLogDir);
    CSetting::Set("GENERAL_PDF_RESOLUTION_X", 144.0);
    CSetting::Set("GENERAL_PDF_RESOLUTION_Y", 144.0);
    CSetting::Set("GENERAL_PROJECT_DIR", strDocuments);

    QApplication::setStyle(QStyleFactory::create("Fusion"));

    QPalette palette;
    const QColor grey(45, 45, 45);
    const QColor disabled(127, 127, 127);
    const QColor blue(42, 130, 218);
    palette.setBrush(QPalette::Window, QBrush(grey));
    palette.setBrush(QPalette::WindowText, QBrush(Qt::white));
    palette.setBrush(QPalette::Base, QBrush(QColor(18, 18, 18)));
    palette.setBrush(QPalette::AlternateBase, QBrush(grey));
    palette.setBrush(QPalette::ToolTipBase, QBrush(Qt::white));
    palette.setBrush(QPalette::ToolTipText, QBrush(Qt::white));
    palette.setBrush(QPalette::Text, QBrush(Qt::white));
    palette.setBrush(QPalette::Disabled, QPalette::Text, QBrush(disabled));
    palette.setBrush(QPalette::Button, QBrush(grey));
    palette.setBrush(QPalette::ButtonText, QBrush(Qt::white));
    palette.setBrush(QPalette::Disabled, QPalette::ButtonText, QBrush(disabled));
    palette.setBrush(QPalette::BrightText, QBrush(Qt::red));
    palette.setBrush(QPalette::Link, QBrush(blue));
    palette.setBrush(QPalette::Highlight, QBrush(blue));
    palette.setBrush(QPalette::HighlightedText, QBrush(Qt::black));
    palette.setBrush(QPalette::Disabled, QPalette::HighlightedText, QBrush(disabled));
    QApplication::setPalette(palette);

    qApp->setStyleSheet("QToolTip { color: #ffffff; background-color: #2a82da; border: 1px solid white; } "
                        "QPushButton:checked{background-color: #2d80ed;}");

    if (QOpenGLContext::openGLModuleType() != QOpenGLContext::LibGL)
    {
        CLogger::Write(ELogLevel_Error, "OpenGL Moodule Type isnot LibGL");
        return;
    }
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setDepthBufferSize(24);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    QSurfaceFormat::setDefaultFormat(format);
    CLogger::Write(ELogLevel_Debug, "OpenGL Moodule Type is LibGL");
}

const char* const CTrainerSetup::INSTALLED_DARKNET = "/usr/bin/darknet";

void CTrainerSetup::FillTrainerDefaults(const QString& strInstalledDarknet)
{
    const QString strExecutable = CSetting::GetString("TAMSEL_COMMAND_EXE_YOLO3", QString());
    const QFileInfo installed(strInstalledDarknet);
    if (strExecutable.trimmed().isEmpty() && installed.isFile() && installed.isExecutable())
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", strInstalledDarknet);
    // Darknet without its subcommand prints its usage and ends: a run would stop at once without a word.
    const QString strTrainer = QFileInfo(CSetting::GetString("TAMSEL_COMMAND_EXE_YOLO3", QString())).fileName();
    if (strTrainer == "darknet" && CSetting::GetString("TAMSEL_COMMAND_ARG_YOLO3", QString()).trimmed().isEmpty())
        CSetting::Set("TAMSEL_COMMAND_ARG_YOLO3", QString("detector train"));
}
