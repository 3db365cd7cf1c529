#pragma once

#include "project/run/CSlurmJob.h"

#include <QString>

#include <memory>

class ITrainerJob;

// Where the trainer runs, as the trainer settings say: on this computer (CTrainerProcess) or as a job of a Slurm
// cluster (CSlurmJob). The one place that knows the settings' keys for it; the dialog, the window's run and the
// headless training all ask here.
class CTrainerJobChoice
{
public:
    enum ERunOn
    {
        ERunOn_Local,
        ERunOn_Slurm
    };

    // The settings' keys. RUN_ON holds "local" or "slurm"; anything else counts as local.
    static const char* const RUN_ON;
    static const char* const SLURM_PARTITION;
    static const char* const SLURM_OPTIONS;
    static const char* const SLURM_POLL_MS;
    // The values RUN_ON holds.
    static const char* const RUN_ON_LOCAL;
    static const char* const RUN_ON_SLURM;

    static ERunOn RunOn();
    static void SetRunOn(ERunOn eRunOn);
    // The cluster settings as stored; the scheduler's commands get the program's own SLURM_CONF.
    static CSlurmJob::SSettings SlurmSettings();
    // A new job for the next run, of the kind the settings choose.
    static std::unique_ptr<ITrainerJob> MakeJob();
};
