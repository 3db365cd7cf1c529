#include "views/CTrainerSettingView.h"

#include "frame/CPrompt.h"
#include "frame/CSetting.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CTrainerSettingView::CTrainerSettingView(QWidget* parent) : CSettingView(parent) {}

void CTrainerSettingView::CreateView()
{
    CSettingView::CreateView();

    auto* pPage = new QWidget(this);
    auto* pPageLayout = new QVBoxLayout(pPage);
    pPageLayout->setAlignment(Qt::AlignTop);

    auto* pGroup = new QGroupBox("Darknet", pPage);
    pGroup->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    auto* pGroupLayout = new QVBoxLayout(pGroup);
    pPageLayout->addWidget(pGroup);

    auto* pExecutableRow = new QWidget(pGroup);
    auto* pExecutableLayout = new QHBoxLayout(pExecutableRow);
    m_pExecutableEdit = new QLineEdit(pExecutableRow);
    m_pExecutableEdit->setObjectName("TAMSEL_COMMAND_EXE_YOLO3");
    auto* pChooseButton = new QPushButton("Choose File", pExecutableRow);
    // Return in a field of a dialog that stores each keystroke has nothing to confirm; it must not open the chooser.
    pChooseButton->setAutoDefault(false);
    pExecutableLayout->addWidget(new QLabel("Darknet execution file:", pExecutableRow), 1);
    pExecutableLayout->addWidget(m_pExecutableEdit, 4);
    pExecutableLayout->addWidget(pChooseButton, 1);
    pGroupLayout->addWidget(pExecutableRow);

    auto* pArgumentsRow = new QWidget(pGroup);
    auto* pArgumentsLayout = new QHBoxLayout(pArgumentsRow);
    pArgumentsLayout->setAlignment(Qt::AlignLeft);
    m_pArgumentsEdit = new QLineEdit(pArgumentsRow);
    m_pArgumentsEdit->setObjectName("TAMSEL_COMMAND_ARG_YOLO3");
    pArgumentsLayout->addWidget(new QLabel("Arguments:", pArgumentsRow), 1);
    pArgumentsLayout->addWidget(m_pArgumentsEdit, 4);
    pGroupLayout->addWidget(pArgumentsRow);

    AddSettingTab(pPage, CSetting::GetString("GENERAL_PROGRAME_NAME", "Tamsel"));

    connect(pChooseButton, &QPushButton::pressed, this,
            [this]()
            {
                if (!m_pExecutableEdit)
                    return;
                const QString strFile = CPrompt::GetOpenFileName(nullptr, QString(), QString(), QString());
                // A cancelled chooser answers nothing; the stored executable stays as it was.
                if (!strFile.isEmpty())
                    m_pExecutableEdit->setText(strFile);
            });
    connect(m_pExecutableEdit, &QLineEdit::textChanged, this, &CSettingView::slot_ChangeValueString);
    connect(m_pArgumentsEdit, &QLineEdit::textChanged, this, &CSettingView::slot_ChangeValueString);
}

void CTrainerSettingView::UpdateParameter()
{
    CSettingView::UpdateParameter();
    for (QLineEdit* pField : {m_pExecutableEdit, m_pArgumentsEdit})
    {
        if (!pField)
            continue;
        const QString strStored = CSetting::GetString(pField->objectName(), "");
        // The refresh follows every stored keystroke: an equal text is left alone so that the cursor stays where
        // the user types, and showing a value is not an edit to be reported.
        if (pField->text() == strStored)
            continue;
        const QSignalBlocker blocker(pField);
        pField->setText(strStored);
    }
}
