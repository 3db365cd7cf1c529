#pragma once

#include <QString>

class QTextStream;

// "OvrelTrainer --train PATH/name.data": builds the project as "--build" does, then runs the trainer where the
// trainer settings say (see CTrainerJobChoice: this computer or a Slurm cluster) and prints each line the trainer
// prints on out as it comes. The project stays open, and so locked, until the trainer has ended.
//
// The exit code is the trainer's: a local trainer's exit code, or for a cluster job the exit code the scheduler
// reports ("N:S" gives N). A trainer or job ended by a signal gives 128 plus the signal, as a shell tells it; a job the
// scheduler ended otherwise than COMPLETED while telling 0 (cancelled while queued, timed out) gives 1. 1 with the
// reason on err when the project cannot be opened or built or the trainer cannot be started.
//
// SIGINT (Ctrl+C) and SIGTERM stop the trainer, or cancel the job, and the program ends once the end is seen, with
// the status above (a local trainer ended by the stop gives 143). A signal during the build starts no trainer and gives
// 128 plus the signal.
class CHeadlessTraining
{
public:
    static int Train(const QString& strProjectFile, QTextStream& out, QTextStream& err);
};
