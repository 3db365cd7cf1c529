#include "CTestCluster.h"

#include <QProcess>

CTestCluster::~CTestCluster()
{
    // A test that failed before its clean-up leaves no daemons behind.
    Stop();
}

bool CTestCluster::Start(QString* pError)
{
    QString strOutput;
    if (!m_dir.isValid() || !Run("start", &strOutput))
    {
        *pError = m_dir.isValid() ? strOutput : QString("no temporary folder for the cluster");
        return false;
    }
    m_strConf = strOutput.trimmed();
    qputenv("SLURM_CONF", m_strConf.toUtf8());
    return true;
}

bool CTestCluster::Stop()
{
    if (!IsRunning())
        return true;
    m_strConf.clear();
    return Run("stop", nullptr);
}

bool CTestCluster::Run(const QString& strCommand, QString* pOutput) const
{
    QProcess process;
    process.start("bash", {SLURM_CLUSTER_SCRIPT, strCommand, m_dir.path()});
    const bool bOk =
        process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (pOutput)
        *pOutput = QString::fromUtf8(bOk ? process.readAllStandardOutput() : process.readAllStandardError());
    return bOk;
}
