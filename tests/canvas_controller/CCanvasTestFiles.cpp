#include "CCanvasTestFiles.h"
#include "CTestPdf.h"

#include "Utils/COvrelImage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>

using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelResult_OK;

const char* const CCanvasTestFiles::kPassword = "user secret";

namespace
{
quint32 Crc32(const QByteArray& data)
{
    quint32 nCrc = 0xFFFFFFFFu;
    for (const char byte : data)
    {
        nCrc ^= quint8(byte);
        for (int nBit = 0; nBit < 8; ++nBit)
            nCrc = (nCrc >> 1) ^ (0xEDB88320u & (0u - (nCrc & 1u)));
    }
    return ~nCrc;
}

QByteArray Big32(quint32 nValue)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((nValue >> (24 - 8 * i)) & 0xFF);
    return bytes;
}

QByteArray Stream(const QByteArray& data)
{
    return "<< /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data + "\nendstream";
}
} // namespace

CCanvasTestFiles::CCanvasTestFiles() = default;

bool CCanvasTestFiles::WriteImage(const QString& strName, int nSeed) const
{
    COvrelImage image;
    if (image.Create(kWidth, kHeight, 3) != EOvrelResult_OK)
        return false;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            unsigned char* pPixel = image.GetPixel(x, y);
            pPixel[0] = static_cast<unsigned char>(x * 10 + nSeed);
            pPixel[1] = static_cast<unsigned char>(y * 10);
            pPixel[2] = 200;
        }
    QDir().mkpath(QFileInfo(Path(strName)).path());
    return image.SaveToFile(Path(strName).toStdWString()) == EOvrelResult_OK;
}

bool CCanvasTestFiles::WriteBytes(const QString& strName, const QByteArray& content) const
{
    QDir().mkpath(QFileInfo(Path(strName)).path());
    QFile file(Path(strName));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

bool CCanvasTestFiles::WritePdfs() const
{
    {
        QPdfWriter writer(Path("two pages.pdf"));
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(200, 100), QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        QPainter painter(&writer);
        painter.fillRect(QRectF(0, 0, 100, 100), Qt::red);
        writer.newPage();
        painter.fillRect(QRectF(100, 0, 100, 100), Qt::blue);
        if (!painter.end())
            return false;
    }
    const QString strQpdf = QStandardPaths::findExecutable("qpdf");
    const QStringList encrypt{"--encrypt",           kPassword,         "owner-pw", "256", "--",
                              Path("two pages.pdf"), Path("locked.pdf")};
    if (strQpdf.isEmpty() || QProcess::execute(strQpdf, encrypt) != 0)
        return false;
    // 20000 points square at 144 dpi would be 40000 x 40000 pixels: more than an image may hold.
    const QByteArray page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] /Contents ";
    return WriteBytes(
        "bad third page.pdf",
        CTestPdf::Build({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 5 0 R 6 0 R] /Count 3 >>",
                         page + "4 0 R >>", Stream("1 0 0 rg 0 0 100 100 re f"), page + "4 0 R >>",
                         "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 20000 20000] /Contents 4 0 R >>"}));
}

QByteArray CCanvasTestFiles::PngClaiming(const QByteArray& png, quint32 nWidth, quint32 nHeight)
{
    // The IHDR chunk follows the 8-byte signature: length (4), type (4), width, height, 5 more bytes, CRC.
    QByteArray patched = png;
    patched.replace(16, 8, Big32(nWidth) + Big32(nHeight));
    patched.replace(29, 4, Big32(Crc32(patched.mid(12, 17))));
    return patched;
}
