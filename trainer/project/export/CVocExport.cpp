#include "project/export/CVocExport.h"

#include "project/export/CExportFiles.h"

#include <QDir>
#include <QFileInfo>

const QString CVocExport::ANNOTATIONS_FOLDER = QStringLiteral("Annotations");
const QString CVocExport::IMAGES_FOLDER = QStringLiteral("JPEGImages");
const QString CVocExport::SETS_FOLDER = QStringLiteral("ImageSets/Main");

CVocExport::CVocExport(const CExportDataset& dataset, CExportFiles& files) : m_dataset(dataset), m_files(files) {}

bool CVocExport::Write(bool bCopyImages, const Progress& progress)
{
    const auto& vctImages = m_dataset.Images();
    // XML 1.0 has no way to write most control characters, not even escaped: such a name would make every reader
    // refuse the file.
    std::vector<bool> vctChecked(static_cast<size_t>(m_dataset.ClassNames().size()), false);
    for (const CExportDataset::SBox& sBox : m_dataset.Boxes())
    {
        if (vctChecked[static_cast<size_t>(sBox.nClass)])
            continue;
        vctChecked[static_cast<size_t>(sBox.nClass)] = true;
        const QString& strName = m_dataset.ClassNames()[sBox.nClass];
        for (const QChar c : strName)
        {
            if (c.unicode() < 0x20 && c != '\t' && c != '\n' && c != '\r')
            {
                m_strRefusal =
                    QString("the class name \"%1\" holds a control character, which XML cannot hold")
                        .arg(QString(strName).replace(c, QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0'))));
                return false;
            }
        }
    }
    if (!m_files.MakeFolder(ANNOTATIONS_FOLDER) || !m_files.MakeFolder(SETS_FOLDER) ||
        (bCopyImages && !m_files.MakeFolder(IMAGES_FOLDER)))
        return false;
    QByteArray baTrain;
    QByteArray baTest;
    const int nTotal = static_cast<int>(vctImages.size());
    for (int i = 0; i < nTotal; ++i)
    {
        if (progress && !progress(i, nTotal))
        {
            m_bCancelled = true;
            return false;
        }
        const CExportDataset::SImage& sImage = vctImages[static_cast<size_t>(i)];
        QString strFolder = QFileInfo(QFileInfo(sImage.strSource).path()).fileName();
        QString strPath = QDir::toNativeSeparators(sImage.strSource);
        if (bCopyImages)
        {
            const QString strCopy = IMAGES_FOLDER + '/' + sImage.strName;
            const CExportFiles::ECopy eCopy = m_files.Copy(sImage.strSource, strCopy);
            if (eCopy == CExportFiles::Failed)
                return false;
            if (eCopy == CExportFiles::SourceUnreadable)
            {
                if (m_nUnreadable++ == 0)
                    m_strFirstUnreadable = sImage.strName;
                continue;
            }
            strFolder = IMAGES_FOLDER;
            strPath = QDir::toNativeSeparators(m_files.Path(strCopy));
        }
        const QString strStem = CExportDataset::Stem(sImage.strName);
        if (!m_files.Write(ANNOTATIONS_FOLDER + '/' + strStem + ".xml",
                           Annotation(m_dataset, sImage, strFolder, strPath)))
            return false;
        (sImage.bTrain ? baTrain : baTest).append(strStem.toUtf8()).append('\n');
        ++m_nImages;
        m_nBoxes += static_cast<int>(sImage.nEndBox - sImage.nFirstBox);
    }
    return m_files.Write(SETS_FOLDER + "/train.txt", baTrain) && m_files.Write(SETS_FOLDER + "/test.txt", baTest) &&
           m_files.Commit();
}

QByteArray CVocExport::Annotation(const CExportDataset& dataset, const CExportDataset::SImage& sImage,
                                  const QString& strFolder, const QString& strPath)
{
    QByteArray baXml;
    baXml.reserve(512 + 320 * static_cast<int>(sImage.nEndBox - sImage.nFirstBox));
    baXml.append("<annotation>\n\t<folder>");
    AppendEscaped(baXml, strFolder);
    baXml.append("</folder>\n\t<filename>");
    AppendEscaped(baXml, sImage.strName);
    baXml.append("</filename>\n\t<path>");
    AppendEscaped(baXml, strPath);
    baXml.append("</path>\n\t<source>\n\t\t<database>OvrelTrainer</database>\n\t</source>\n\t<size>\n\t\t<width>");
    baXml.append(QByteArray::number(sImage.nWidth));
    baXml.append("</width>\n\t\t<height>");
    baXml.append(QByteArray::number(sImage.nHeight));
    // The project keeps no channel count; the trainer reads every image as three channels.
    baXml.append("</height>\n\t\t<depth>3</depth>\n\t</size>\n\t<segmented>0</segmented>\n");
    const QStringList& lstNames = dataset.ClassNames();
    for (size_t n = sImage.nFirstBox; n < sImage.nEndBox; ++n)
    {
        const CExportDataset::SBox& sBox = dataset.Boxes()[n];
        baXml.append("\t<object>\n\t\t<name>");
        AppendEscaped(baXml, lstNames[sBox.nClass]);
        baXml.append("</name>\n\t\t<pose>Unspecified</pose>\n\t\t<truncated>");
        baXml.append(sBox.bCut ? '1' : '0');
        baXml.append("</truncated>\n\t\t<difficult>0</difficult>\n\t\t<bndbox>\n\t\t\t<xmin>");
        CExportDataset::AppendNumber(baXml, sBox.dblX + 1.0);
        baXml.append("</xmin>\n\t\t\t<ymin>");
        CExportDataset::AppendNumber(baXml, sBox.dblY + 1.0);
        baXml.append("</ymin>\n\t\t\t<xmax>");
        CExportDataset::AppendNumber(baXml, sBox.dblX + sBox.dblWidth);
        baXml.append("</xmax>\n\t\t\t<ymax>");
        CExportDataset::AppendNumber(baXml, sBox.dblY + sBox.dblHeight);
        baXml.append("</ymax>\n\t\t</bndbox>\n\t</object>\n");
    }
    baXml.append("</annotation>\n");
    return baXml;
}

void CVocExport::AppendEscaped(QByteArray& baXml, const QString& strText)
{
    for (const char c : strText.toUtf8())
    {
        switch (c)
        {
        case '&':
            baXml.append("&amp;");
            break;
        case '<':
            baXml.append("&lt;");
            break;
        case '>':
            baXml.append("&gt;");
            break;
        default:
            baXml.append(c);
        }
    }
}
