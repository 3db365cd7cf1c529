#include "project/inference/CDarknetLetterbox.h"

#include <array>
#include <vector>

namespace
{

// The trainer turns a byte into a float through a double division; the table keeps its exact values.
const std::array<float, 256>& ByteValues()
{
    static const std::array<float, 256> values = []
    {
        std::array<float, 256> table{};
        for (int i = 0; i < 256; ++i)
            table[i] = float(i / 255.);
        return table;
    }();
    return values;
}

} // namespace

QSize CDarknetLetterbox::ScaledSize(const QSize& imageSize, const QSize& netSize)
{
    if (float(netSize.width()) / imageSize.width() < float(netSize.height()) / imageSize.height())
        return QSize(netSize.width(), imageSize.height() * netSize.width() / imageSize.width());
    return QSize(imageSize.width() * netSize.height() / imageSize.height(), netSize.height());
}

void CDarknetLetterbox::Fill(const cv::Mat& image, bool bRgb, const QSize& netSize, cv::Mat& blob)
{
    const int nNetW = netSize.width();
    const int nNetH = netSize.height();
    const int anSizes[] = {1, 3, nNetH, nNetW};
    blob.create(4, anSizes, CV_32F);
    blob.setTo(cv::Scalar(0.5));

    const int nImW = image.cols;
    const int nImH = image.rows;
    const QSize scaled = ScaledSize(QSize(nImW, nImH), netSize);
    const int nW = scaled.width();
    const int nH = scaled.height();
    const int nLeft = (nNetW - nW) / 2;
    const int nTop = (nNetH - nH) / 2;
    const std::array<float, 256>& values = ByteValues();

    // Columns first, over every row of the image, then rows; the scale maps first to first and last to last pixel.
    const float fScaleX = float(nImW - 1) / (nW - 1);
    const float fScaleY = float(nImH - 1) / (nH - 1);
    std::vector<int> vctX(nW);
    std::vector<float> vctDx(nW);
    for (int c = 0; c < nW; ++c)
    {
        const float fSx = nW > 1 ? c * fScaleX : 0.0f;
        vctX[c] = int(fSx);
        vctDx[c] = fSx - vctX[c];
    }
    std::vector<float> vctPart(size_t(3) * nImH * nW);
    for (int r = 0; r < nImH; ++r)
    {
        const uchar* pRow = image.ptr<uchar>(r);
        for (int k = 0; k < 3; ++k)
        {
            const int nSource = bRgb ? k : 2 - k;
            float* pPart = vctPart.data() + (size_t(k) * nImH + r) * nW;
            for (int c = 0; c < nW; ++c)
            {
                if (c == nW - 1 || nImW == 1)
                {
                    pPart[c] = values[pRow[(nImW - 1) * 3 + nSource]];
                    continue;
                }
                const float fDx = vctDx[c];
                const int nX = vctX[c];
                pPart[c] = (1 - fDx) * values[pRow[nX * 3 + nSource]] + fDx * values[pRow[(nX + 1) * 3 + nSource]];
            }
        }
    }
    float* pBlob = blob.ptr<float>();
    for (int k = 0; k < 3; ++k)
    {
        for (int r = 0; r < nH; ++r)
        {
            // A single row has no scale (0 / 0): it is the image's first row.
            const float fSy = nH > 1 ? r * fScaleY : 0.0f;
            const int nY = int(fSy);
            const float fDy = fSy - nY;
            const float* pUpper = vctPart.data() + (size_t(k) * nImH + nY) * nW;
            float* pOut = pBlob + (size_t(k) * nNetH + nTop + r) * nNetW + nLeft;
            // The last row (and a one-row image) takes only the upper row's share, as the trainer does.
            if (r == nH - 1 || nImH == 1)
            {
                for (int c = 0; c < nW; ++c)
                    pOut[c] = (1 - fDy) * pUpper[c];
                continue;
            }
            const float* pLower = pUpper + nW;
            for (int c = 0; c < nW; ++c)
                pOut[c] = (1 - fDy) * pUpper[c] + fDy * pLower[c];
        }
    }
}

QRectF CDarknetLetterbox::ToImage(float fX, float fY, float fWidth, float fHeight, const QSize& imageSize,
                                  const QSize& netSize)
{
    const QSize scaled = ScaledSize(imageSize, netSize);
    const int nNetW = netSize.width();
    const int nNetH = netSize.height();
    // The trainer shifts by half the padding as a fraction, though the image was placed at a whole pixel.
    const float fCx = (fX - (nNetW - scaled.width()) / 2. / nNetW) / (float(scaled.width()) / nNetW);
    const float fCy = (fY - (nNetH - scaled.height()) / 2. / nNetH) / (float(scaled.height()) / nNetH);
    const float fW = fWidth * (float(nNetW) / scaled.width());
    const float fH = fHeight * (float(nNetH) / scaled.height());
    const float fPixX = fCx * imageSize.width();
    const float fPixY = fCy * imageSize.height();
    const float fPixW = fW * imageSize.width();
    const float fPixH = fH * imageSize.height();
    return QRectF(QPointF(fPixX - fPixW / 2., fPixY - fPixH / 2.), QPointF(fPixX + fPixW / 2., fPixY + fPixH / 2.));
}
