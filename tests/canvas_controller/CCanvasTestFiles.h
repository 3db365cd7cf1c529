#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// The files the canvas commands open, written into a temporary folder: small images of known pixels, PDF documents
// (plain, locked with a password, and one whose last page cannot be rendered) and broken files of every kind.
class CCanvasTestFiles
{
public:
    // Pixel (x, y) of an image written here holds (x * 10 + nSeed, y * 10, 200) as RGB.
    static constexpr int kWidth = 20;
    static constexpr int kHeight = 10;
    static const char* const kPassword;

    CCanvasTestFiles();

    QString Path(const QString& strName) const { return m_dir.filePath(strName); }
    // Writes an image of kWidth x kHeight pixels by the extension; folders on the way are made.
    bool WriteImage(const QString& strName, int nSeed = 0) const;
    bool WriteBytes(const QString& strName, const QByteArray& content) const;

    // "two pages.pdf": two pages of 200 x 100 points, the first red on its left half, the second blue on its right
    // half; "locked.pdf": the same, opened only with kPassword; "bad third page.pdf": two such pages and a third far
    // too large to render.
    bool WritePdfs() const;
    // A PNG whose header claims nWidth x nHeight pixels.
    static QByteArray PngClaiming(const QByteArray& png, quint32 nWidth, quint32 nHeight);

private:
    QTemporaryDir m_dir;
};
