#pragma once

#include <QString>

// What the training program sets up before its window is built: the settings that name the program and its folders
// (the configuration folder under the documents folder is created when missing; without it nothing else is set), the
// dark Fusion look, and the OpenGL surface format of the 3D views (only where the OpenGL module is LibGL; otherwise
// the error is logged).
class CTrainerSetup
{
public:
    CTrainerSetup() = delete;

    static void Apply();
    // Where a packaged Darknet is installed.
    static const char* const INSTALLED_DARKNET;
    // After the stored settings are loaded: an unset trainer becomes the Darknet at strInstalledDarknet when that
    // file can run, and a Darknet trainer without arguments gets "detector train", the command Darknet trains
    // with. A value the user set is never replaced.
    static void FillTrainerDefaults(const QString& strInstalledDarknet);
};
