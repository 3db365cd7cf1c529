#pragma once

// What the training program sets up before its window is built: the settings that name the program and its folders
// (the configuration folder under the documents folder is created when missing; without it nothing else is set), the
// dark Fusion look, and the OpenGL surface format of the 3D views (only where the OpenGL module is LibGL; otherwise
// the error is logged).
class CTrainerSetup
{
public:
    CTrainerSetup() = delete;

    static void Apply();
};
