// Times "Export Dataset" of a project of 10,000 images with ten boxes each to COCO and to Pascal VOC with the images
// referenced, so that only the annotation files are written, reading of the project file included. The baseline
// writes the same number of files of the same size with plain, not atomic, writes in the same run.
// Goal: each export under 3 s. The number of images is the first argument (default 10000).

#include "BenchProject.h"
#include "BenchTiming.h"

#include "frame/CLogger.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/export/CDatasetExportCommand.h"

#include <QApplication>
#include <QDirIterator>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace
{
const int BOXES_PER_IMAGE = 10;
const double GOAL_MS = 3000.0;

// Every file below the folder with its bytes.
std::vector<std::pair<QString, QByteArray>> Contents(const QString& strDir)
{
    std::vector<std::pair<QString, QByteArray>> vctFiles;
    for (QDirIterator it(strDir, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
    {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            vctFiles.emplace_back(QDir(strDir).relativeFilePath(file.fileName()), file.readAll());
    }
    return vctFiles;
}

// The same files written again below strDir, each with one open, write and close.
double PlainWrites(const QString& strDir, const std::vector<std::pair<QString, QByteArray>>& vctFiles)
{
    return BenchTiming::Milliseconds(
        [&]
        {
            for (const auto& sFile : vctFiles)
            {
                const QString strPath = strDir + "/" + sFile.first;
                QDir().mkpath(QFileInfo(strPath).path());
                QFile file(strPath);
                if (!file.open(QIODevice::WriteOnly) || file.write(sFile.second) != sFile.second.size())
                    std::fprintf(stderr, "a plain write failed\n");
            }
        });
}
} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    const int nImages = argc > 1 ? std::atoi(argv[1]) : 10000;

    const QString strDir = home.path() + "/bench";
    BenchProject::SShape shape;
    shape.nTrainImages = nImages * 4 / 5;
    shape.nTestImages = nImages - shape.nTrainImages;
    shape.nRoisPerImage = BOXES_PER_IMAGE;
    if (!BenchProject::GenerateBySql(strDir, "bench", shape))
    {
        std::printf("cannot generate the project\n");
        return 1;
    }
    CProjectModel model;
    CProjectController controller(&model, nullptr);
    controller.SetValidateOnOpen(false);
    controller.OpenProject(strDir, "bench");
    if (model.GetTrainImages().size() + model.GetTestImages().size() != static_cast<size_t>(nImages))
    {
        std::printf("cannot open the project\n");
        return 1;
    }

    bool bOk = true;
    for (const auto eFormat : {CDatasetExportCommand::Coco, CDatasetExportCommand::PascalVoc})
    {
        const bool bCoco = eFormat == CDatasetExportCommand::Coco;
        const QString strOut = home.path() + (bCoco ? "/coco" : "/voc");
        QDir().mkpath(strOut);
        const CDatasetExportCommand::SChoice choice{eFormat, strOut, false};
        CDatasetExportCommand::SResult result;
        const double dblExport = BenchTiming::Milliseconds(
            [&]
            {
                result = CDatasetExportCommand(controller.Database(), &model)
                             .Export(choice,
                                     [](int, int)
                                     {
                                         // What the progress dialog does for the window between two images.
                                         QCoreApplication::processEvents();
                                         return true;
                                     });
            });
        const auto vctFiles = Contents(strOut);
        const double dblPlain = PlainWrites(home.path() + (bCoco ? "/coco-plain" : "/voc-plain"), vctFiles);
        const char* pName = bCoco ? "coco" : "voc";
        std::printf("%s: %d images, %d boxes in %zu files\n", pName, result.nImages, result.nBoxes, vctFiles.size());
        std::printf("BENCH project_export_%s_plain_writes: %.0f ms (baseline)\n", pName, dblPlain);
        std::printf("BENCH project_export_%s: %.0f ms (goal < %.0f ms)\n", pName, dblExport, GOAL_MS);
        // Creating ten thousand files costs what the file system asks; the ratio tells the export's own share.
        std::printf("BENCH project_export_%s_vs_plain_writes: %.2f x (goal none)\n", pName, dblExport / dblPlain);
        bOk = bOk && result.bDone && result.nImages == nImages && result.nBoxes == nImages * BOXES_PER_IMAGE;
    }
    CLogger::Flush();
    return bOk ? 0 : 1;
}
