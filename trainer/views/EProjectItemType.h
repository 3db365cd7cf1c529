#pragma once

// Kind of a node in the project tree; decides its context menu and what selecting or double-clicking it does.
enum EProjectItemType
{
    EProjectItemType_Project = 0,
    EProjectItemType_TrainImages = 1,
    EProjectItemType_TestImages = 2,
    EProjectItemType_TrainImage = 3,
    EProjectItemType_TestImage = 4,
    EProjectItemType_Classes = 5,
    EProjectItemType_Parameters = 6,
    EProjectItemType_Configuration = 7
};
