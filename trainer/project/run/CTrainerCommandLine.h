#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The trainer's command line for a run, the same wherever the trainer runs: the program, its arguments (the
// blank-separated pieces of the argument setting, "detector.txt", "config.txt" and the trimmed initial weights when
// they are not empty) and the environment that makes its standard output line-buffered.
class CTrainerCommandLine
{
public:
    CTrainerCommandLine(const QString& strExecutable, const QString& strArgumentSetting,
                        const QString& strInitialWeights);

    QString Program() const { return m_strExecutable; }
    QStringList Arguments() const { return m_lstArguments; }
    // Logs "Command %s", "Arguments" and one "Arguments %s" per argument.
    void Log() const;
    // The program and its arguments as one line for a POSIX shell, each piece quoted where the shell would change it.
    QString ShellLine() const;

    // The argument list for these settings.
    static QStringList Arguments(const QString& strArgumentSetting, const QString& strInitialWeights);
    // environment with the trainer's standard output made line-buffered where the system allows it.
    static QProcessEnvironment LineBuffered(QProcessEnvironment environment);
    // Shell lines that do the same on the machine that runs them, for a script run elsewhere.
    static QString LineBufferedShell();
    // strText quoted for a POSIX shell when it holds anything but plain characters.
    static QString ShellQuoted(const QString& strText);

private:
    QString m_strExecutable;
    QStringList m_lstArguments;
};
