#include "view3d/CImageView3DTransformPanel.h"

#include "Utils/COvrelObject.h"

#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using M = CImageView3DModel;
using P = CImageView3DTransformPanel;

const P::Signal P::kSignals[M::EParameter_Count] = {&P::signal_ChangeRotateX,
                                                    &P::signal_ChangeRotateY,
                                                    &P::signal_ChangeRotateZ,
                                                    &P::signal_TranslateX,
                                                    &P::signal_TranslateY,
                                                    &P::signal_TranslateZ,
                                                    &P::signal_ScaleX,
                                                    &P::signal_ScaleY,
                                                    &P::signal_ScaleZ,
                                                    &P::signal_ChangeCameraPositionX,
                                                    &P::signal_ChangeCameraPositionY,
                                                    &P::signal_ChangeCameraPositionZ,
                                                    &P::signal_ChangeCameraCenterX,
                                                    &P::signal_ChangeCameraCenterY,
                                                    &P::signal_ChangeCameraCenterZ,
                                                    &P::signal_ChangeCameraUpX,
                                                    &P::signal_ChangeCameraUpY,
                                                    &P::signal_ChangeCameraUpZ,
                                                    &P::signal_ChangeFOV,
                                                    &P::signal_ChangeNear,
                                                    &P::signal_ChangeFar};

namespace
{
struct SRow
{
    const char* pszLabel;
    double dblMinimum;
    // Negative: the spin box keeps its default maximum of 99.99.
    double dblMaximum;
    double dblStep;
};

const SRow kRows[M::EParameter_Count] = {{"Rotate X: ", -90, 90, 1},
                                         {"Rotate Y: ", -90, 90, 1},
                                         {"Rotate Z: ", -90, 90, 1},
                                         {"Translate X: ", -1000, -1, 0.1},
                                         {"Translate Y: ", -1000, -1, 0.1},
                                         {"Translate Z: ", -1000, -1, 0.1},
                                         {"Scale X: ", 1, 100, 1},
                                         {"Scale Y: ", 1, 100, 1},
                                         {"Scale Z: ", 1, 100, 1},
                                         {"CamPos X: ", -1000, -1, 0.1},
                                         {"CamPos Y: ", -1000, -1, 0.1},
                                         {"CamPos Z: ", -1000, -1, 0.1},
                                         {"CamCenter X: ", -1000, -1, 0.1},
                                         {"CamCenter Y: ", -1000, -1, 0.1},
                                         {"CamCenter Z: ", -1000, -1, 0.1},
                                         {"CamUp X: ", -1000, -1, 0.1},
                                         {"CamUp Y: ", -1000, -1, 0.1},
                                         {"CamUp Z: ", -1000, -1, 0.1},
                                         {"FOV: ", 0, 90, 1},
                                         {"Near: ", -1000, 1000, 1},
                                         {"Far: ", -1000, 1000, 1}};

const struct
{
    const char* pszTitle;
    int nFirst;
    int nLast;
} kGroups[] = {{"Model", M::EParameter_RotateX, M::EParameter_ScaleZ},
               {"View", M::EParameter_CameraPositionX, M::EParameter_CameraUpZ},
               {"Perspective", M::EParameter_FOV, M::EParameter_Far}};
} // namespace

CImageView3DTransformPanel::CImageView3DTransformPanel(CImageView3DModel* pModel, QWidget* parent)
    : QWidget(parent), m_pModel(pModel)
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    for (const auto& group : kGroups)
    {
        auto* pGroup = new QGroupBox(group.pszTitle, this);
        pGroup->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
        auto* pGroupLayout = new QVBoxLayout(pGroup);
        for (int n = group.nFirst; n <= group.nLast; ++n)
        {
            const SRow& row = kRows[n];
            auto* pRow = new QWidget(pGroup);
            pRow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            auto* pRowLayout = new QHBoxLayout(pRow);
            pRowLayout->setContentsMargins(0, 0, 0, 0);
            pRowLayout->addWidget(new QLabel(row.pszLabel, pRow));
            auto* pSpinBox = new QDoubleSpinBox(pRow);
            pSpinBox->setMinimum(row.dblMinimum);
            if (row.dblMaximum >= 0)
                pSpinBox->setMaximum(row.dblMaximum);
            pSpinBox->setSingleStep(row.dblStep);
            pRowLayout->addWidget(pSpinBox);
            pGroupLayout->addWidget(pRow);
            m_apSpinBoxes[n] = pSpinBox;
            connect(pSpinBox, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, kSignals[n]);
        }
        pLayout->addWidget(pGroup);
    }
    if (m_pModel)
        connect(m_pModel, &M::signal_ChangeTransformMatrix, this, &P::slot_ChangeTransformMatrix);
    slot_ChangeTransformMatrix();
}

QDoubleSpinBox* CImageView3DTransformPanel::GetSpinBox(CImageView3DModel::EParameter eParameter) const
{
    return eParameter >= 0 && eParameter < M::EParameter_Count ? m_apSpinBoxes[eParameter] : nullptr;
}

void CImageView3DTransformPanel::slot_ChangeTransformMatrix()
{
    if (!m_pModel)
        return;
    for (int n = 0; n < M::EParameter_Count; ++n)
    {
        const auto eParameter = static_cast<M::EParameter>(n);
        QDoubleSpinBox* pSpinBox = m_apSpinBoxes[n];
        pSpinBox->setValue(m_pModel->Get(eParameter));
        // A spin box already at its limit clamps silently; the model must still learn the clamped value.
        if (!Ovrel::Utils::COvrelObject::CompareEqual(static_cast<float>(pSpinBox->value()), m_pModel->Get(eParameter)))
            emit pSpinBox->valueChanged(pSpinBox->value());
    }
}
