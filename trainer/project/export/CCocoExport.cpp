#include "project/export/CCocoExport.h"

#include "project/export/CExportFiles.h"

#include <QDateTime>
#include <QDir>

const QString CCocoExport::IMAGES_FOLDER = QStringLiteral("images");
const QString CCocoExport::TRAIN_FILE = QStringLiteral("train.json");
const QString CCocoExport::TEST_FILE = QStringLiteral("test.json");

CCocoExport::CCocoExport(const CExportDataset& dataset, CExportFiles& files) : m_dataset(dataset), m_files(files) {}

bool CCocoExport::Write(bool bCopyImages, const Progress& progress)
{
    const auto& vctImages = m_dataset.Images();
    if (bCopyImages && !m_files.MakeFolder(IMAGES_FOLDER))
        return false;
    std::vector<size_t> vctTrain;
    std::vector<size_t> vctTest;
    std::vector<QString> vctFileNames(vctImages.size());
    const int nTotal = static_cast<int>(vctImages.size());
    for (int i = 0; i < nTotal; ++i)
    {
        if (progress && !progress(i, nTotal))
        {
            m_bCancelled = true;
            return false;
        }
        const size_t nImage = static_cast<size_t>(i);
        const CExportDataset::SImage& sImage = vctImages[nImage];
        if (bCopyImages)
        {
            const CExportFiles::ECopy eCopy = m_files.Copy(sImage.strSource, IMAGES_FOLDER + '/' + sImage.strName);
            if (eCopy == CExportFiles::Failed)
                return false;
            if (eCopy == CExportFiles::SourceUnreadable)
            {
                if (m_nUnreadable++ == 0)
                    m_strFirstUnreadable = sImage.strName;
                continue;
            }
        }
        vctFileNames[nImage] = bCopyImages ? sImage.strName : QDir::toNativeSeparators(sImage.strSource);
        (sImage.bTrain ? vctTrain : vctTest).push_back(nImage);
        ++m_nImages;
        m_nBoxes += static_cast<int>(sImage.nEndBox - sImage.nFirstBox);
    }
    int nAnnotationID = 1;
    const QByteArray baTrain = Document(vctTrain, vctFileNames, nAnnotationID);
    const QByteArray baTest = Document(vctTest, vctFileNames, nAnnotationID);
    return m_files.Write(TRAIN_FILE, baTrain) && m_files.Write(TEST_FILE, baTest) && m_files.Commit();
}

QByteArray CCocoExport::Document(const std::vector<size_t>& vctImages, const std::vector<QString>& vctFileNames,
                                 int& nAnnotationID) const
{
    QByteArray baJson;
    baJson.reserve(256 + 96 * static_cast<int>(vctImages.size()) + 160 * static_cast<int>(m_dataset.Boxes().size()));
    baJson.append("{\n\"info\": {\"description\": \"Exported by OvrelTrainer\", \"version\": \"1.0\", "
                  "\"date_created\": ");
    AppendString(baJson, QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    baJson.append("},\n\"licenses\": [],\n\"images\": [");
    for (size_t i = 0; i < vctImages.size(); ++i)
    {
        const CExportDataset::SImage& sImage = m_dataset.Images()[vctImages[i]];
        baJson.append(i == 0 ? "\n" : ",\n");
        baJson.append("{\"id\": ").append(QByteArray::number(sImage.nImageID)).append(", \"file_name\": ");
        AppendString(baJson, vctFileNames[vctImages[i]]);
        baJson.append(", \"width\": ").append(QByteArray::number(sImage.nWidth));
        baJson.append(", \"height\": ").append(QByteArray::number(sImage.nHeight)).append('}');
    }
    baJson.append("\n],\n\"annotations\": [");
    bool bFirst = true;
    for (const size_t nImage : vctImages)
    {
        const CExportDataset::SImage& sImage = m_dataset.Images()[nImage];
        const QByteArray baImageID = QByteArray::number(sImage.nImageID);
        for (size_t n = sImage.nFirstBox; n < sImage.nEndBox; ++n)
        {
            const CExportDataset::SBox& sBox = m_dataset.Boxes()[n];
            baJson.append(bFirst ? "\n" : ",\n");
            bFirst = false;
            baJson.append("{\"id\": ").append(QByteArray::number(nAnnotationID++));
            baJson.append(", \"image_id\": ").append(baImageID);
            baJson.append(", \"category_id\": ").append(QByteArray::number(sBox.nClass + 1));
            baJson.append(", \"bbox\": [");
            CExportDataset::AppendNumber(baJson, sBox.dblX);
            baJson.append(", ");
            CExportDataset::AppendNumber(baJson, sBox.dblY);
            baJson.append(", ");
            CExportDataset::AppendNumber(baJson, sBox.dblWidth);
            baJson.append(", ");
            CExportDataset::AppendNumber(baJson, sBox.dblHeight);
            baJson.append("], \"area\": ");
            CExportDataset::AppendNumber(baJson, sBox.dblWidth * sBox.dblHeight);
            baJson.append(", \"iscrowd\": 0, \"segmentation\": []}");
        }
    }
    baJson.append("\n],\n\"categories\": [");
    const QStringList& lstNames = m_dataset.ClassNames();
    for (int i = 0; i < lstNames.size(); ++i)
    {
        baJson.append(i == 0 ? "\n" : ",\n");
        baJson.append("{\"id\": ").append(QByteArray::number(i + 1)).append(", \"name\": ");
        AppendString(baJson, lstNames[i]);
        baJson.append(", \"supercategory\": \"none\"}");
    }
    baJson.append("\n]\n}\n");
    return baJson;
}

void CCocoExport::AppendString(QByteArray& baJson, const QString& strText)
{
    baJson.append('"');
    for (const char c : strText.toUtf8())
    {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            baJson.append('\\').append(c);
        else if (u < 0x20)
            baJson.append(QByteArray("\\u00") + QByteArray::number(u, 16).rightJustified(2, '0'));
        else
            baJson.append(c);
    }
    baJson.append('"');
}
