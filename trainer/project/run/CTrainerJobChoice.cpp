#include "project/run/CTrainerJobChoice.h"

#include "frame/CSetting.h"
#include "project/run/CTrainerProcess.h"

const char* const CTrainerJobChoice::RUN_ON = "TRAINER_RUN_ON";
const char* const CTrainerJobChoice::SLURM_PARTITION = "TRAINER_SLURM_PARTITION";
const char* const CTrainerJobChoice::SLURM_OPTIONS = "TRAINER_SLURM_OPTIONS";
const char* const CTrainerJobChoice::SLURM_POLL_MS = "TRAINER_SLURM_POLL_MS";
const char* const CTrainerJobChoice::RUN_ON_LOCAL = "local";
const char* const CTrainerJobChoice::RUN_ON_SLURM = "slurm";

CTrainerJobChoice::ERunOn CTrainerJobChoice::RunOn()
{
    return CSetting::GetString(RUN_ON, RUN_ON_LOCAL) == RUN_ON_SLURM ? ERunOn_Slurm : ERunOn_Local;
}

void CTrainerJobChoice::SetRunOn(ERunOn eRunOn)
{
    CSetting::Set(RUN_ON, eRunOn == ERunOn_Slurm ? RUN_ON_SLURM : RUN_ON_LOCAL);
}

CSlurmJob::SSettings CTrainerJobChoice::SlurmSettings()
{
    CSlurmJob::SSettings settings;
    settings.strPartition = CSetting::GetString(SLURM_PARTITION, QString()).trimmed();
    settings.strExtraOptions = CSetting::GetString(SLURM_OPTIONS, QString()).trimmed();
    // A poll faster than a tenth of a second only loads the scheduler's controller.
    settings.nPollMs = qMax(100, CSetting::GetInt(SLURM_POLL_MS, settings.nPollMs));
    return settings;
}

std::unique_ptr<ITrainerJob> CTrainerJobChoice::MakeJob()
{
    if (RunOn() == ERunOn_Slurm)
        return std::make_unique<CSlurmJob>(SlurmSettings());
    return std::make_unique<CTrainerProcess>();
}
