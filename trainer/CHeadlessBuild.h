#pragma once

#include <QString>

// The program run without window: "OvrelTrainer --build PATH/name.data" opens the project, validates it and builds
// the trainer's files as the Build command does. No window is shown and no display is needed (the offscreen platform
// is forced); prompts are answered as by a user who cancels; log lines go to standard error as well as to the day's
// log file. "--help" lists the options.
class CHeadlessBuild
{
public:
    // True when the command line asks for this run (--build, --evaluate, --train or --help); false leaves the program
    // to its window.
    static bool IsRequested(int argc, char* argv[]);
    // Runs it and returns the exit code: 0 when the build (or with --evaluate, see CHeadlessEvaluation, the
    // evaluation) succeeded, 1 otherwise (also when the project cannot be opened); with --train the trainer's exit
    // status (see CHeadlessTraining). Creates the application object itself.
    static int Run(int argc, char* argv[]);

    // Opens the project file and builds it; true when the build succeeded.
    static bool BuildProjectFile(const QString& strProjectFile);

private:
    // The program's folders as the window sets them, and the settings saved in settings.data when there is one.
    static void LoadSettings();
};
