#pragma once

#include "frame/CSettingView.h"

class QLabel;
class QLineEdit;

// The program's settings dialog: the common "General" tab and a tab for the Darknet trainer's executable and its
// leading arguments. Each field is named after the settings key it edits and sends its value when its editing ends.
// A note under the executable says in red why the trainer could not be started from that path (none set, no such
// file, a folder, not runnable); it is hidden for a program that can run. The arguments' placeholder tells what the
// program appends to them.
class CTrainerSettingView : public CSettingView
{
    Q_OBJECT
public:
    explicit CTrainerSettingView(QWidget* parent = nullptr);

    void CreateView() override;
    void UpdateParameter() override;

    QLineEdit* GetExecutableField() const { return m_pExecutableEdit; }
    QLineEdit* GetArgumentsField() const { return m_pArgumentsEdit; }
    QLabel* GetExecutableNote() const { return m_pExecutableNote; }
    // Why the trainer at that path cannot be started; empty when it can. A bare name is looked up on the PATH.
    static QString TrainerProblem(const QString& strPath);

private:
    void UpdateExecutableNote();

    QLabel* m_pExecutableNote = nullptr;
    QLineEdit* m_pExecutableEdit = nullptr;
    QLineEdit* m_pArgumentsEdit = nullptr;
};
