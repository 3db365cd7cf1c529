#include "CWorkspaceFixture.h"

#include "frame/CLogger.h"
#include "frame/CSetting.h"
#include "workspace/CImageViewer.h"
#include "workspace/CImageViewerController.h"

#include "Utils/COvrelImage.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

using Ovrel::Utils::COvrelImage;

CWorkspaceFixture::CWorkspaceFixture(const QSize& size)
    : layout(std::make_unique<CImageLayoutModel>()), view(std::make_unique<CImageWorkspaceView>(layout.get())),
      controller(std::make_unique<CImageWorkspaceController>(layout.get(), view.get(), &toolPanel, &propertyPanel,
                                                             &bottomPanel))
{
    view->resize(size);
}

CWorkspaceFixture::~CWorkspaceFixture()
{
    layout.reset();
    view.reset();
    controller.reset();
}

bool CWorkspaceFixture::Show()
{
    view->show();
    view->activateWindow();
    return QTest::qWaitForWindowExposed(view.get()) && QTest::qWaitForWindowActive(view.get());
}

CImageViewerController* CWorkspaceFixture::Viewer(int nViewID) const
{
    return controller->GetViewerController(nViewID);
}

CImageViewer* CWorkspaceFixture::ViewerWidget(int nViewID) const
{
    return controller->GetViewer(nViewID);
}

std::shared_ptr<COvrelImage> CWorkspaceFixture::MakeImage(int nWidth, int nHeight, int nChannels,
                                                          const QString& strName)
{
    auto pImage = std::make_shared<COvrelImage>();
    pImage->Create(nWidth, nHeight, nChannels);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            for (int c = 0; c < nChannels; ++c)
                pImage->GetPixel(x, y)[c] = static_cast<unsigned char>((x + 10 * y + c) % 256);
    pImage->SetName(strName.toStdWString());
    return pImage;
}

QString CWorkspaceFixture::WriteImageFile(const QString& strName, int nWidth, int nHeight) const
{
    const QString strPath = Path(strName);
    const auto pImage = MakeImage(nWidth, nHeight, 3, strName);
    return pImage->SaveToFile(strPath.toStdWString()) == Ovrel::Utils::EOvrelResult_OK ? strPath : QString();
}

QStringList CWorkspaceFixture::NewLogLines()
{
    static int nSeen = 0;
    static const QRegularExpression reTime("^(\\[[A-Z]+\\])\\[[^\\]]*\\] ");
    CLogger::Flush();
    QStringList lstLines;
    const QDir dir(CSetting::GetString("GENERAL_LOG_DIR", QString()));
    for (const QString& strFile : dir.entryList({"*.txt"}, QDir::Files, QDir::Name))
    {
        QFile file(dir.filePath(strFile));
        if (file.open(QIODevice::ReadOnly | QIODevice::Text))
            lstLines << QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    lstLines.replaceInStrings(reTime, "\\1 ");
    const QStringList lstNew = lstLines.mid(nSeen);
    nSeen = lstLines.size();
    return lstNew;
}
