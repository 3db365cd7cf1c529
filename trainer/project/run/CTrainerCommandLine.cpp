#include "project/run/CTrainerCommandLine.h"

#include "frame/CLogger.h"
#include "project/store/CProjectLayout.h"

#include <QFile>
#include <QRegularExpression>

namespace
{
// coreutils' stdbuf switches the C library's buffering this way.
const QString STDBUF_LIBRARY = QStringLiteral("/usr/libexec/coreutils/libstdbuf.so");
} // namespace

CTrainerCommandLine::CTrainerCommandLine(const QString& strExecutable, const QString& strArgumentSetting,
                                         const QString& strInitialWeights)
    : m_strExecutable(strExecutable), m_lstArguments(Arguments(strArgumentSetting, strInitialWeights))
{
}

void CTrainerCommandLine::Log() const
{
    CLogger::Write(ELogLevel_Normal, "Command %s", qUtf8Printable(m_strExecutable));
    CLogger::Write(ELogLevel_Normal, "Arguments");
    for (const QString& strArgument : m_lstArguments)
        CLogger::Write(ELogLevel_Normal, "Arguments %s", qUtf8Printable(strArgument));
}

QString CTrainerCommandLine::ShellLine() const
{
    QStringList lstPieces{ShellQuoted(m_strExecutable)};
    for (const QString& strArgument : m_lstArguments)
        lstPieces << ShellQuoted(strArgument);
    return lstPieces.join(' ');
}

QStringList CTrainerCommandLine::Arguments(const QString& strArgumentSetting, const QString& strInitialWeights)
{
    // Empty pieces (an empty setting, blanks in a row, at the start or the end) would reach the trainer as empty
    // arguments, which no trainer wants; they are dropped.
    QStringList lstArguments = strArgumentSetting.split(' ', Qt::SkipEmptyParts);
    lstArguments << CProjectLayout::DETECTOR_FILE << CProjectLayout::CONFIGURATION_FILE;
    const QString strWeights = strInitialWeights.trimmed();
    if (!strWeights.isEmpty())
        lstArguments << strWeights;
    return lstArguments;
}

QProcessEnvironment CTrainerCommandLine::LineBuffered(QProcessEnvironment environment)
{
    // A C program writing to a pipe or a file keeps its standard output in blocks of kilobytes, so the trainer's
    // lines would reach the log dozens of iterations late. The C library's line buffering is switched on from outside
    // the way coreutils' stdbuf does it, when that library is installed; a trainer without it still runs,
    // block-buffered.
    if (!QFile::exists(STDBUF_LIBRARY))
        return environment;
    const QString strPreload = environment.value(QStringLiteral("LD_PRELOAD"));
    environment.insert(QStringLiteral("LD_PRELOAD"),
                       strPreload.isEmpty() ? STDBUF_LIBRARY : STDBUF_LIBRARY + QLatin1Char(':') + strPreload);
    environment.insert(QStringLiteral("_STDBUF_O"), QStringLiteral("L"));
    return environment;
}

QString CTrainerCommandLine::LineBufferedShell()
{
    // The node that runs the script may lack the library even when this machine has it: the script looks there.
    return QStringLiteral("if [ -f %1 ]; then\n"
                          "  export LD_PRELOAD=\"%1${LD_PRELOAD:+:$LD_PRELOAD}\" _STDBUF_O=L\n"
                          "fi\n")
        .arg(STDBUF_LIBRARY);
}

QString CTrainerCommandLine::ShellQuoted(const QString& strText)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (plain.match(strText).hasMatch())
        return strText;
    QString strQuoted = strText;
    strQuoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + strQuoted + QLatin1Char('\'');
}
