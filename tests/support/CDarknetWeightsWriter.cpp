#include "CDarknetWeightsWriter.h"

#include <QFile>
#include <QList>
#include <QMap>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace
{

struct SSection
{
    QString strType;
    QMap<QString, QString> mapValues;
};

QList<SSection> ParseSections(const QByteArray& config)
{
    QList<SSection> lstSections;
    for (const QByteArray& rawLine : config.split('\n'))
    {
        const QString strLine = QString::fromUtf8(rawLine).trimmed();
        if (strLine.isEmpty() || strLine.startsWith('#') || strLine.startsWith(';'))
            continue;
        if (strLine.startsWith('['))
        {
            lstSections.append({strLine.mid(1, strLine.indexOf(']') - 1), {}});
            continue;
        }
        const int nEquals = strLine.indexOf('=');
        if (nEquals > 0 && !lstSections.isEmpty())
            lstSections.last().mapValues.insert(strLine.left(nEquals).trimmed(), strLine.mid(nEquals + 1).trimmed());
    }
    return lstSections;
}

struct SConvolution
{
    int nFilters = 0;
    qint64 nWeights = 0;
    bool bBatchNorm = false;
    // The class count of the yolo layer it feeds, 0 when it feeds none.
    int nYoloClasses = 0;
};

// The convolutional layers in file order, from the channels each layer receives; false on an unknown layer.
bool Convolutions(const QByteArray& config, std::vector<SConvolution>& vctLayers)
{
    const QList<SSection> lstSections = ParseSections(config);
    if (lstSections.isEmpty() || lstSections.first().strType != "net")
        return false;
    int nChannels = lstSections.first().mapValues.value("channels", "3").toInt();
    std::vector<int> vctOut;
    for (int i = 1; i < lstSections.size(); ++i)
    {
        const SSection& section = lstSections.at(i);
        if (section.strType == "convolutional")
        {
            const int nFilters = section.mapValues.value("filters", "1").toInt();
            const int nSize = section.mapValues.value("size", "1").toInt();
            const int nGroups = section.mapValues.value("groups", "1").toInt();
            vctLayers.push_back({nFilters, qint64(nFilters) * nChannels / nGroups * nSize * nSize,
                                 section.mapValues.value("batch_normalize", "0").toInt() == 1});
            nChannels = nFilters;
        }
        else if (section.strType == "route")
        {
            int nSum = 0;
            for (const QString& strLayer : section.mapValues.value("layers").split(','))
            {
                int nIndex = strLayer.trimmed().toInt();
                nIndex = nIndex < 0 ? int(vctOut.size()) + nIndex : nIndex;
                if (nIndex < 0 || nIndex >= int(vctOut.size()))
                    return false;
                nSum += vctOut[nIndex];
            }
            nChannels = nSum;
        }
        else if (section.strType == "yolo" && !vctLayers.empty())
            vctLayers.back().nYoloClasses = section.mapValues.value("classes", "1").toInt();
        else if (section.strType != "maxpool" && section.strType != "upsample" && section.strType != "shortcut")
            return false;
        vctOut.push_back(nChannels);
    }
    return true;
}

} // namespace

qint64 CDarknetWeightsWriter::FloatCount(const QByteArray& config)
{
    std::vector<SConvolution> vctLayers;
    if (!Convolutions(config, vctLayers))
        return -1;
    qint64 nCount = 0;
    for (const SConvolution& layer : vctLayers)
        nCount += layer.nFilters * (layer.bBatchNorm ? 4 : 1) + layer.nWeights;
    return nCount;
}

bool CDarknetWeightsWriter::Write(const QByteArray& config, const QString& strWeightsFile, unsigned nSeed,
                                  qint64 nMissingFloats, float fObjectnessBias, float fClassBias)
{
    std::vector<SConvolution> vctLayers;
    if (!Convolutions(config, vctLayers))
        return false;
    std::mt19937 generator(nSeed);
    std::normal_distribution<float> normal(0.0f, 1.0f);
    std::vector<float> vctValues;
    for (const SConvolution& layer : vctLayers)
    {
        const qint64 nFanIn = layer.nWeights / layer.nFilters;
        // Leaky layers keep their size with He's scale; the linear output layer gets a little less so that the
        // logistic scores spread over (0, 1) instead of piling up at its ends.
        const float fScale = std::sqrt((layer.bBatchNorm ? 2.0f : 1.0f) / float(nFanIn));
        for (int i = 0; i < layer.nFilters; ++i)
        {
            // Each box of a yolo layer has x, y, width, height, objectness, then the classes.
            const int nEntry = layer.nYoloClasses > 0 ? i % (layer.nYoloClasses + 5) : 0;
            const float fBias = nEntry == 4 ? fObjectnessBias : nEntry > 4 ? fClassBias : 0.0f;
            vctValues.push_back(0.1f * normal(generator) + fBias);
        }
        if (layer.bBatchNorm)
        {
            vctValues.insert(vctValues.end(), layer.nFilters, 1.0f);
            vctValues.insert(vctValues.end(), layer.nFilters, 0.0f);
            vctValues.insert(vctValues.end(), layer.nFilters, 1.0f);
        }
        for (qint64 i = 0; i < layer.nWeights; ++i)
            vctValues.push_back(fScale * normal(generator));
    }
    if (nMissingFloats > qint64(vctValues.size()))
        return false;
    vctValues.resize(vctValues.size() - nMissingFloats);

    QFile file(strWeightsFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const int32_t header[3] = {0, 2, 0};
    const uint64_t nSeen = 0;
    file.write(reinterpret_cast<const char*>(header), sizeof(header));
    file.write(reinterpret_cast<const char*>(&nSeen), sizeof(nSeen));
    const qint64 nBytes = qint64(vctValues.size() * sizeof(float));
    return file.write(reinterpret_cast<const char*>(vctValues.data()), nBytes) == nBytes;
}
