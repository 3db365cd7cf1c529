#pragma once

#include "frame/CSettingView.h"

class QLineEdit;

// The program's settings dialog: the common "General" tab and a tab for the Darknet trainer's executable and its
// leading arguments. Each field is named after the settings key it edits and sends every change at once.
class CTrainerSettingView : public CSettingView
{
    Q_OBJECT
public:
    explicit CTrainerSettingView(QWidget* parent = nullptr);

    void CreateView() override;
    void UpdateParameter() override;

    QLineEdit* GetExecutableField() const { return m_pExecutableEdit; }
    QLineEdit* GetArgumentsField() const { return m_pArgumentsEdit; }

private:
    QLineEdit* m_pExecutableEdit = nullptr;
    QLineEdit* m_pArgumentsEdit = nullptr;
};
