#include "project/inference/CDetectionModel.h"

#include "project/inference/CDarknetLetterbox.h"
#include "project/inference/CYoloOutputDecoder.h"
#include "project/store/CProjectLayout.h"

#include "Utils/CColourImageFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <opencv2/dnn.hpp>

#include <cstdint>
#include <cstring>

class CDetectionModel::CNetwork
{
public:
    cv::dnn::Net net;
    std::vector<std::string> vctOutputs;
    QSize inputSize;
    cv::Mat blob;
};

namespace
{

// The configuration as OpenCV is to read it: its yolo layers would drop every score below their own threshold
// (0.2 unless the file says otherwise), where the trainer keeps scores down to 0.005; the threshold is applied here.
QByteArray ForOpenCV(const QByteArray& config, QSize& inputSize)
{
    QByteArray result;
    QByteArray section;
    for (const QByteArray& line : config.split('\n'))
    {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('['))
        {
            section = trimmed;
            result += line + '\n';
            if (section.startsWith("[yolo]"))
                result += "thresh=0\n";
            continue;
        }
        const int nEquals = trimmed.indexOf('=');
        const QByteArray key = nEquals > 0 ? trimmed.left(nEquals).trimmed() : QByteArray();
        if (section.startsWith("[yolo]") && key == "thresh")
            continue;
        if (section == "[net]" && key == "width")
            inputSize.setWidth(trimmed.mid(nEquals + 1).trimmed().toInt());
        if (section == "[net]" && key == "height")
            inputSize.setHeight(trimmed.mid(nEquals + 1).trimmed().toInt());
        result += line + '\n';
    }
    return result;
}

QString FileKey(const QString& strPath)
{
    const QFileInfo info(strPath);
    return QStringLiteral("%1|%2|%3")
        .arg(info.absoluteFilePath())
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch());
}

// The bytes the weights file must have for the loaded network: the header, then every convolution's filters and
// biases and every batch normalisation's scales, means and variances (OpenCV keeps the biases of a normalised
// convolution with its normalisation).
qint64 ExpectedWeightsSize(cv::dnn::Net& net, const QByteArray& weights)
{
    if (weights.size() < 12)
        return 16;
    int32_t anVersion[2];
    std::memcpy(anVersion, weights.constData(), sizeof(anVersion));
    qint64 nBytes = anVersion[0] * 10 + anVersion[1] >= 2 ? 20 : 16;
    for (const std::string& strName : net.getLayerNames())
    {
        const cv::Ptr<cv::dnn::Layer> pLayer = net.getLayer(strName);
        if (pLayer->type != "Convolution" && pLayer->type != "BatchNorm")
            continue;
        for (const cv::Mat& parameters : pLayer->blobs)
            nBytes += qint64(parameters.total()) * qint64(sizeof(float));
    }
    return nBytes;
}

QString FirstLine(const cv::Exception& error)
{
    const QString strText = QString::fromStdString(error.err.empty() ? error.msg : error.err).trimmed();
    return strText.section('\n', 0, 0);
}

} // namespace

CDetectionModel::CDetectionModel() = default;
CDetectionModel::~CDetectionModel() = default;

QString CDetectionModel::MissingConfigurationText(const QString& strConfigFile)
{
    return QStringLiteral("The network configuration %1 is missing: build the project first.").arg(strConfigFile);
}

bool CDetectionModel::Load(const CProjectLayout& layout, const QString& strWeightsFile)
{
    return Load(layout.Path(CProjectLayout::CONFIGURATION_FILE), strWeightsFile);
}

bool CDetectionModel::Load(const QString& strConfigFile, const QString& strWeightsFile)
{
    if (!QFileInfo(strConfigFile).isFile())
    {
        m_pNetwork.reset();
        m_strError = MissingConfigurationText(strConfigFile);
        return false;
    }
    const QString strKey = FileKey(strConfigFile) + '\n' + FileKey(strWeightsFile);
    if (m_pNetwork && strKey == m_strKey)
        return true;
    m_pNetwork.reset();
    m_strKey.clear();

    QFile configFile(strConfigFile);
    QFile weightsFile(strWeightsFile);
    if (!configFile.open(QIODevice::ReadOnly))
    {
        m_strError = QStringLiteral("The network configuration %1 cannot be read.").arg(strConfigFile);
        return false;
    }
    if (!weightsFile.open(QIODevice::ReadOnly))
    {
        m_strError = QStringLiteral("The weights %1 cannot be read.").arg(strWeightsFile);
        return false;
    }
    auto pNetwork = std::make_unique<CNetwork>();
    const QByteArray config = ForOpenCV(configFile.readAll(), pNetwork->inputSize);
    const QByteArray weights = weightsFile.readAll();
    const auto cannotRun = [&](const QString& strWhy)
    {
        m_strError = QStringLiteral("The network configuration %1 cannot be run: %2").arg(strConfigFile, strWhy);
        return false;
    };
    const auto doesNotFit = [&](const QString& strWhy)
    {
        m_strError = QStringLiteral("The weights %1 do not fit the configuration %2: %3")
                         .arg(strWeightsFile, strConfigFile, strWhy);
        return false;
    };
    // The configuration alone first, so that a fault of its own is not blamed on the weights.
    try
    {
        cv::dnn::Net layersOnly = cv::dnn::readNetFromDarknet(config.constData(), size_t(config.size()));
        if (layersOnly.empty())
            return cannotRun(QStringLiteral("no layers"));
    }
    catch (const cv::Exception& error)
    {
        return cannotRun(FirstLine(error));
    }
    if (pNetwork->inputSize.width() <= 0 || pNetwork->inputSize.height() <= 0)
        return cannotRun(QStringLiteral("no input width and height"));
    if (weights.isEmpty())
        return doesNotFit(QStringLiteral("the file is empty"));
    try
    {
        pNetwork->net = cv::dnn::readNetFromDarknet(config.constData(), size_t(config.size()), weights.constData(),
                                                    size_t(weights.size()));
    }
    catch (const cv::Exception& error)
    {
        return doesNotFit(FirstLine(error));
    }
    const qint64 nExpected = ExpectedWeightsSize(pNetwork->net, weights);
    if (nExpected != weights.size())
        return doesNotFit(QStringLiteral("%1 bytes where it needs %2").arg(weights.size()).arg(nExpected));
    // One pass on a grey input: a layer the module cannot run fails here rather than on the user's first image.
    try
    {
        pNetwork->vctOutputs = pNetwork->net.getUnconnectedOutLayersNames();
        const int anSizes[] = {1, 3, pNetwork->inputSize.height(), pNetwork->inputSize.width()};
        pNetwork->blob.create(4, anSizes, CV_32F);
        pNetwork->blob.setTo(cv::Scalar(0.5));
        pNetwork->net.setInput(pNetwork->blob);
        std::vector<cv::Mat> vctOutputs;
        pNetwork->net.forward(vctOutputs, pNetwork->vctOutputs);
    }
    catch (const cv::Exception& error)
    {
        return cannotRun(FirstLine(error));
    }
    m_pNetwork = std::move(pNetwork);
    m_strKey = strKey;
    m_strError.clear();
    ++m_nLoadCount;
    return true;
}

bool CDetectionModel::IsLoaded() const
{
    return m_pNetwork != nullptr;
}

int CDetectionModel::LoadCount() const
{
    return m_nLoadCount;
}

QString CDetectionModel::ErrorText() const
{
    return m_strError;
}

QSize CDetectionModel::InputSize() const
{
    return m_pNetwork ? m_pNetwork->inputSize : QSize();
}

namespace
{

bool RunNetwork(cv::dnn::Net& net, const std::vector<std::string>& vctNames, const cv::Mat& blob,
                std::vector<cv::Mat>& vctOutputs, QString& strError)
{
    try
    {
        net.setInput(blob);
        net.forward(vctOutputs, vctNames);
        return true;
    }
    catch (const cv::Exception& error)
    {
        strError = QStringLiteral("The network failed on the image: %1").arg(FirstLine(error));
        return false;
    }
}

} // namespace

bool CDetectionModel::Detect(const QImage& image, float fThreshold, CDetectionList& lstDetections)
{
    lstDetections.clear();
    if (!m_pNetwork)
    {
        m_strError = QStringLiteral("No network is loaded.");
        return false;
    }
    if (image.isNull())
    {
        m_strError = QStringLiteral("The image is empty.");
        return false;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const cv::Mat pixels(rgb.height(), rgb.width(), CV_8UC3, const_cast<uchar*>(rgb.constBits()),
                         size_t(rgb.bytesPerLine()));
    CDarknetLetterbox::Fill(pixels, true, m_pNetwork->inputSize, m_pNetwork->blob);
    std::vector<cv::Mat> vctOutputs;
    if (!RunNetwork(m_pNetwork->net, m_pNetwork->vctOutputs, m_pNetwork->blob, vctOutputs, m_strError))
        return false;
    lstDetections = CYoloOutputDecoder::Decode(vctOutputs, rgb.size(), m_pNetwork->inputSize, fThreshold);
    return true;
}

bool CDetectionModel::DetectFile(const QString& strImageFile, float fThreshold, CDetectionList& lstDetections)
{
    lstDetections.clear();
    if (!m_pNetwork)
    {
        m_strError = QStringLiteral("No network is loaded.");
        return false;
    }
    // Decoded as the trainer decodes it, through the library's codecs.
    int nWidth = 0;
    int nHeight = 0;
    std::vector<unsigned char> vctBgr;
    if (!Ovrel::Utils::CColourImageFile::Read(QFile::encodeName(strImageFile).toStdString(), nWidth, nHeight, vctBgr))
    {
        m_strError = QStringLiteral("The image %1 does not decode.").arg(strImageFile);
        return false;
    }
    const cv::Mat pixels(nHeight, nWidth, CV_8UC3, vctBgr.data());
    CDarknetLetterbox::Fill(pixels, false, m_pNetwork->inputSize, m_pNetwork->blob);
    std::vector<cv::Mat> vctOutputs;
    if (!RunNetwork(m_pNetwork->net, m_pNetwork->vctOutputs, m_pNetwork->blob, vctOutputs, m_strError))
        return false;
    lstDetections =
        CYoloOutputDecoder::Decode(vctOutputs, QSize(pixels.cols, pixels.rows), m_pNetwork->inputSize, fThreshold);
    return true;
}
