#pragma once

#include "frame/CSettingView.h"

class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;

// The program's settings dialog: the common "General" tab and a tab for the Darknet trainer's executable and its
// leading arguments. Each field is named after the settings key it edits and sends its value when its editing ends.
// A note under the executable says in red why the trainer could not be started from that path (none set, no such
// file, a folder, not runnable); it is hidden for a program that can run. The arguments' placeholder tells what the
// program appends to them. "Run on" chooses this computer or a Slurm cluster (see CTrainerJobChoice); the cluster's
// partition, extra sbatch options and poll interval (shown in seconds, stored in milliseconds) are enabled only for
// the cluster. On the cluster the note does not say that the trainer is missing here: the nodes may have it.
class CTrainerSettingView : public CSettingView
{
    Q_OBJECT
public:
    explicit CTrainerSettingView(QWidget* parent = nullptr);

    void CreateView() override;
    void UpdateParameter() override;
    // A poll interval still being typed is reported too.
    void done(int nResult) override;

    QLineEdit* GetExecutableField() const { return m_pExecutableEdit; }
    QLineEdit* GetArgumentsField() const { return m_pArgumentsEdit; }
    QLabel* GetExecutableNote() const { return m_pExecutableNote; }
    QComboBox* GetRunOnField() const { return m_pRunOnCombo; }
    QGroupBox* GetClusterGroup() const { return m_pClusterGroup; }
    QDoubleSpinBox* GetPollField() const { return m_pPollSpin; }
    // Why the trainer at that path cannot be started; empty when it can. A bare name is looked up on the PATH. With
    // bOnCluster a path or name this computer lacks is no problem.
    static QString TrainerProblem(const QString& strPath, bool bOnCluster = false);

private:
    void UpdateExecutableNote();
    void CreateClusterGroup(QWidget* pPage);
    bool OnCluster() const;

    QLabel* m_pExecutableNote = nullptr;
    QLineEdit* m_pExecutableEdit = nullptr;
    QLineEdit* m_pArgumentsEdit = nullptr;
    QComboBox* m_pRunOnCombo = nullptr;
    QGroupBox* m_pClusterGroup = nullptr;
    QLineEdit* m_pPartitionEdit = nullptr;
    QLineEdit* m_pOptionsEdit = nullptr;
    QDoubleSpinBox* m_pPollSpin = nullptr;
};
