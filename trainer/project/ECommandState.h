#pragma once

// State of the trainer command as the views see it. Stored as an int in the project model.
enum ECommandState
{
    ECommandState_Stopped = 0,
    ECommandState_Running = 1,
    ECommandState_Starting = 2
};
