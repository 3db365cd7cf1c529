#pragma once

#include <QString>
#include <QTemporaryDir>

// A real single-node Slurm cluster for one test program (slurm-cluster.sh beside this file): started once, its
// configuration put into SLURM_CONF so that the program and the test's own scheduler commands talk to it, stopped at
// the end. Starting the daemons needs root.
class CTestCluster
{
public:
    ~CTestCluster();

    // False with the script's error text in *pError when the cluster did not start.
    bool Start(QString* pError);
    // Stops the daemons the start began; true when nothing was running.
    bool Stop();
    bool IsRunning() const { return !m_strConf.isEmpty(); }
    // The cluster's slurm.conf; empty while it is not running.
    QString Conf() const { return m_strConf; }

private:
    bool Run(const QString& strCommand, QString* pOutput) const;

    QTemporaryDir m_dir;
    QString m_strConf;
};
