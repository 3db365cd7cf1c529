#include "views/CTrainerSettingView.h"

#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "project/store/CProjectLayout.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
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
    // Return in a field ends its editing, which stores it; it must not open the chooser.
    pChooseButton->setAutoDefault(false);
    pExecutableLayout->addWidget(new QLabel("Darknet execution file:", pExecutableRow), 1);
    pExecutableLayout->addWidget(m_pExecutableEdit, 4);
    pExecutableLayout->addWidget(pChooseButton, 1);
    pGroupLayout->addWidget(pExecutableRow);
    m_pExecutableNote = new QLabel(pGroup);
    m_pExecutableNote->setObjectName("TrainerNote");
    m_pExecutableNote->setStyleSheet("QLabel { color: #ff5050; }");
    m_pExecutableNote->setWordWrap(true);
    pGroupLayout->addWidget(m_pExecutableNote);

    auto* pArgumentsRow = new QWidget(pGroup);
    auto* pArgumentsLayout = new QHBoxLayout(pArgumentsRow);
    pArgumentsLayout->setAlignment(Qt::AlignLeft);
    m_pArgumentsEdit = new QLineEdit(pArgumentsRow);
    m_pArgumentsEdit->setObjectName("TAMSEL_COMMAND_ARG_YOLO3");
    // The trainer gets these first; the program adds the project's files after them.
    const QString strAppended =
        QString("%1 %2 [initial weights]").arg(CProjectLayout::DETECTOR_FILE, CProjectLayout::CONFIGURATION_FILE);
    m_pArgumentsEdit->setPlaceholderText("e.g. detector train (followed by " + strAppended + ")");
    m_pArgumentsEdit->setToolTip("The trainer is started as: <execution file> <arguments> " + strAppended);
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
                if (strFile.isEmpty())
                    return;
                // A chosen file is a finished edit.
                m_pExecutableEdit->setText(strFile);
                CommitText(m_pExecutableEdit);
            });
    AddTextSetting(m_pExecutableEdit);
    AddTextSetting(m_pArgumentsEdit);
    // The note follows the typing; the value is stored only when the editing ends.
    connect(m_pExecutableEdit, &QLineEdit::textChanged, this, [this] { UpdateExecutableNote(); });
    UpdateExecutableNote();
}

QString CTrainerSettingView::TrainerProblem(const QString& strPath)
{
    const QString strTrimmed = strPath.trimmed();
    if (strTrimmed.isEmpty())
        return "No trainer is set: \"Start\" cannot train.";
    // A bare name is started the way a shell would, from the PATH.
    if (!strTrimmed.contains('/'))
        return QStandardPaths::findExecutable(strTrimmed).isEmpty() ? "No program of that name on the PATH."
                                                                    : QString();
    const QFileInfo info(strTrimmed);
    if (!info.exists())
        return "No file at this path.";
    if (info.isDir())
        return "This is a folder, not a program.";
    if (!info.isExecutable())
        return "This file cannot be run: it is not executable.";
    return QString();
}

void CTrainerSettingView::UpdateExecutableNote()
{
    if (!m_pExecutableNote || !m_pExecutableEdit)
        return;
    const QString strProblem = TrainerProblem(m_pExecutableEdit->text());
    m_pExecutableNote->setText(strProblem);
    m_pExecutableNote->setVisible(!strProblem.isEmpty());
}

void CTrainerSettingView::UpdateParameter()
{
    CSettingView::UpdateParameter();
    for (QLineEdit* pField : {m_pExecutableEdit, m_pArgumentsEdit})
    {
        if (!pField)
            continue;
        const QString strStored = CSetting::GetString(pField->objectName(), "");
        // The refresh follows every stored value: an equal text is left alone so that the cursor stays where the
        // user types, a text the user is still typing is not taken away, and showing a value is not an edit to be
        // reported.
        if (pField->text() == strStored || pField->isModified())
            continue;
        const QSignalBlocker blocker(pField);
        pField->setText(strStored);
    }
    UpdateExecutableNote();
}
