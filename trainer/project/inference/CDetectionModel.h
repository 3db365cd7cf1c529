#pragma once

#include "project/inference/CDetection.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

class CProjectLayout;

// The project's trained network run in the program through OpenCV's DNN module: the build's configuration (the one
// the trainer used) with a weights file. Detections are those "darknet detector valid" writes for the same weights
// and image (letterboxed input, per-class suppression at IoU 0.45), as boxes in the image's pixels. The loaded
// network stays until Load is given other files or the files change on disk (path, size and modification time).
// Not shared between threads: each thread that detects keeps its own model.
class CDetectionModel
{
public:
    // The lowest score the trainer's "detector valid" writes; thresholds below it are never needed.
    static constexpr float VALID_THRESHOLD = 0.005f;
    // The confidence threshold until the user sets one (remembered as CProjectProperties::DETECTION_THRESHOLD).
    static constexpr float DEFAULT_THRESHOLD = 0.25f;

    CDetectionModel();
    ~CDetectionModel();
    CDetectionModel(const CDetectionModel&) = delete;
    CDetectionModel& operator=(const CDetectionModel&) = delete;

    // Loads strConfigFile with strWeightsFile unless they are loaded already and unchanged. False, with ErrorText
    // saying why, when the configuration is missing (the user should build first) or cannot be run, or when the
    // weights cannot be read or do not fit the configuration; a model that fails to load has no network.
    bool Load(const QString& strConfigFile, const QString& strWeightsFile);
    // The build's configuration of the project with strWeightsFile.
    bool Load(const CProjectLayout& layout, const QString& strWeightsFile);
    bool IsLoaded() const;
    // How many times a network was read from disk, for telling a reuse from a reload.
    int LoadCount() const;
    QString ErrorText() const;
    // The network's input size from the configuration; empty when nothing is loaded.
    QSize InputSize() const;

    // Detections with a score above fThreshold on an image of any format, highest score first. False with ErrorText
    // when no network is loaded, the image is null or the network fails on it.
    bool Detect(const QImage& image, float fThreshold, CDetectionList& lstDetections);
    // The same for an image file, decoded as the trainer decodes it (OpenCV, colour, orientation applied); false with
    // ErrorText when it does not decode.
    bool DetectFile(const QString& strImageFile, float fThreshold, CDetectionList& lstDetections);

    // The text for a build's configuration that is not there.
    static QString MissingConfigurationText(const QString& strConfigFile);

private:
    class CNetwork;
    std::unique_ptr<CNetwork> m_pNetwork;
    QString m_strKey;
    QString m_strError;
    int m_nLoadCount = 0;
};
