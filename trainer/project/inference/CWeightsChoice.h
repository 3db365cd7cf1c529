#pragma once

#include "project/store/CProjectLayout.h"

#include <QString>

// Which weights file the trained network runs with: the one the user chose, or else the newest ".weights" file of
// the project's Backup folder by modification time (the last one the trainer wrote).
class CWeightsChoice
{
public:
    explicit CWeightsChoice(const CProjectLayout& layout);

    // A chosen file overrides the Backup folder; an empty path goes back to the newest file there.
    void Choose(const QString& strWeightsFile);
    QString ChosenFile() const { return m_strChosen; }

    // The weights to use; empty, with ErrorText saying why ("No trained weights in <Backup folder>", or a chosen
    // file that is gone), when there are none.
    QString Resolve();
    QString ErrorText() const { return m_strError; }

    // "Model: <weights path> (<its modification time>)", the line that says which weights a run uses.
    static QString ModelText(const QString& strWeightsFile);
    // Logs ModelText.
    static void LogModel(const QString& strWeightsFile);

private:
    CProjectLayout m_layout;
    QString m_strChosen;
    QString m_strError;
};
