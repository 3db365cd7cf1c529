#include "views/CTrainerSettingView.h"

#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "project/run/CTrainerJobChoice.h"
#include "project/store/CProjectLayout.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
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
    CreateClusterGroup(pPage);
    pPageLayout->addWidget(m_pClusterGroup);

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
    AddTextSetting(m_pPartitionEdit);
    AddTextSetting(m_pOptionsEdit);
    // The note follows the typing; the value is stored only when the editing ends.
    connect(m_pExecutableEdit, &QLineEdit::textChanged, this, [this] { UpdateExecutableNote(); });
    UpdateExecutableNote();
}

void CTrainerSettingView::CreateClusterGroup(QWidget* pPage)
{
    m_pRunOnCombo = new QComboBox(pPage);
    m_pRunOnCombo->setObjectName(CTrainerJobChoice::RUN_ON);
    m_pRunOnCombo->addItem("This computer", CTrainerJobChoice::RUN_ON_LOCAL);
    m_pRunOnCombo->addItem("Slurm cluster", CTrainerJobChoice::RUN_ON_SLURM);
    auto* pRunOnRow = new QWidget(pPage);
    auto* pRunOnLayout = new QHBoxLayout(pRunOnRow);
    pRunOnLayout->addWidget(new QLabel("Run on:", pRunOnRow), 1);
    pRunOnLayout->addWidget(m_pRunOnCombo, 5);
    pPage->layout()->addWidget(pRunOnRow);

    m_pClusterGroup = new QGroupBox("Slurm cluster", pPage);
    m_pClusterGroup->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    auto* pForm = new QFormLayout(m_pClusterGroup);
    m_pPartitionEdit = new QLineEdit(m_pClusterGroup);
    m_pPartitionEdit->setObjectName(CTrainerJobChoice::SLURM_PARTITION);
    m_pPartitionEdit->setPlaceholderText("the cluster's default");
    m_pOptionsEdit = new QLineEdit(m_pClusterGroup);
    m_pOptionsEdit->setObjectName(CTrainerJobChoice::SLURM_OPTIONS);
    m_pOptionsEdit->setPlaceholderText("e.g. --gres=gpu:1 --time=2-00:00:00");
    m_pPollSpin = new QDoubleSpinBox(m_pClusterGroup);
    m_pPollSpin->setObjectName(CTrainerJobChoice::SLURM_POLL_MS);
    m_pPollSpin->setDecimals(1);
    m_pPollSpin->setRange(0.1, 3600.0);
    m_pPollSpin->setSuffix(" s");
    // Typed digits are one value, reported when the typing ends; each arrow step is a value of its own.
    m_pPollSpin->setKeyboardTracking(false);
    pForm->addRow("Partition:", m_pPartitionEdit);
    pForm->addRow("Extra sbatch options:", m_pOptionsEdit);
    pForm->addRow("Poll interval:", m_pPollSpin);

    // Only a choice of the user is an edit: showing the stored value is not.
    connect(m_pRunOnCombo, QOverload<int>::of(&QComboBox::activated), this,
            [this](int nIndex)
            {
                const QString strValue = m_pRunOnCombo->itemData(nIndex).toString();
                if (strValue != CSetting::GetString(CTrainerJobChoice::RUN_ON, CTrainerJobChoice::RUN_ON_LOCAL))
                    emit signal_UpdateSetingParameter(CTrainerJobChoice::RUN_ON, strValue);
            });
    connect(m_pRunOnCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this]
            {
                m_pClusterGroup->setEnabled(OnCluster());
                UpdateExecutableNote();
            });
    connect(m_pPollSpin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            [this](double dblSeconds)
            {
                const int nMs = qRound(dblSeconds * 1000.0);
                if (nMs != CTrainerJobChoice::SlurmSettings().nPollMs)
                    emit signal_UpdateSetingParameter(CTrainerJobChoice::SLURM_POLL_MS, nMs);
            });
    m_pClusterGroup->setEnabled(OnCluster());
}

bool CTrainerSettingView::OnCluster() const
{
    return m_pRunOnCombo && m_pRunOnCombo->currentData().toString() == CTrainerJobChoice::RUN_ON_SLURM;
}

void CTrainerSettingView::done(int nResult)
{
    if (m_pPollSpin)
        m_pPollSpin->interpretText();
    CSettingView::done(nResult);
}

QString CTrainerSettingView::TrainerProblem(const QString& strPath, bool bOnCluster)
{
    const QString strTrimmed = strPath.trimmed();
    if (strTrimmed.isEmpty())
        return "No trainer is set: \"Start\" cannot train.";
    // A bare name is started the way a shell would, from the PATH. A cluster job runs on the cluster's nodes, which
    // may have a trainer (a module, a node-local install) this computer lacks; what this computer does see at the
    // path is most likely the same shared file, so its flaws are told.
    if (!strTrimmed.contains('/'))
        return QStandardPaths::findExecutable(strTrimmed).isEmpty() && !bOnCluster
                   ? "No program of that name on the PATH."
                   : QString();
    const QFileInfo info(strTrimmed);
    if (!info.exists())
        return bOnCluster ? QString() : "No file at this path.";
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
    const QString strProblem = TrainerProblem(m_pExecutableEdit->text(), OnCluster());
    m_pExecutableNote->setText(strProblem);
    m_pExecutableNote->setVisible(!strProblem.isEmpty());
}

void CTrainerSettingView::UpdateParameter()
{
    CSettingView::UpdateParameter();
    for (QLineEdit* pField : {m_pExecutableEdit, m_pArgumentsEdit, m_pPartitionEdit, m_pOptionsEdit})
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
    if (m_pRunOnCombo)
    {
        const QSignalBlocker blocker(m_pRunOnCombo);
        m_pRunOnCombo->setCurrentIndex(CTrainerJobChoice::RunOn() == CTrainerJobChoice::ERunOn_Slurm ? 1 : 0);
        m_pClusterGroup->setEnabled(OnCluster());
    }
    if (m_pPollSpin && !m_pPollSpin->hasFocus())
    {
        const QSignalBlocker blocker(m_pPollSpin);
        m_pPollSpin->setValue(CTrainerJobChoice::SlurmSettings().nPollMs / 1000.0);
    }
    UpdateExecutableNote();
}
