#pragma once

#include <QString>

class QTextStream;

// "OvrelTrainer --evaluate PATH/name.data [--weights FILE]": opens the project, evaluates the weights (the newest of
// Backup unless given) on its test list as the "Evaluate" command does, saves the record in the Evaluation folder and
// prints the per-class table and the means on standard output.
class CHeadlessEvaluation
{
public:
    // 0 after an evaluation that was measured and saved; 1 otherwise, with the reason as the last line of err.
    static int Evaluate(const QString& strProjectFile, const QString& strWeightsFile, QTextStream& out,
                        QTextStream& err);
};
