// Times the project tree following a list of 20,000 training images through the changes a user makes: filling it
// (one list signal per image), validating every image, sorting, shuffling and removing one image from the middle
// while a row far down is current. Each step is timed until the tree shows the model's list again.

#include "project/CProjectModel.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetImageRecord.h"
#include "views/CProjectView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardItemModel>
#include <QTreeView>

#include <cstdio>
#include <functional>
#include <memory>

namespace
{
const int IMAGES = 20000;

QStandardItem* TrainNode(QStandardItemModel* pItems)
{
    QStandardItem* pProject = pItems->item(0);
    for (int i = 0; pProject && i < pProject->rowCount(); ++i)
    {
        if (pProject->child(i)->text() == QLatin1String("Train Images"))
        {
            return pProject->child(i);
        }
    }
    return nullptr;
}

// True when the tree is empty without a project, and otherwise when every row shows the entry of its list position,
// with its position in the text.
bool TreeShowsModel(QStandardItemModel* pItems, const CProjectModel& model)
{
    if (model.GetProjectName().isEmpty())
    {
        return pItems->rowCount() == 0;
    }
    QStandardItem* pNode = TrainNode(pItems);
    const auto vctList = model.GetTrainImages();
    if (!pNode || pNode->rowCount() != static_cast<int>(vctList.size()))
    {
        return false;
    }
    for (int i = 0; i < pNode->rowCount(); ++i)
    {
        const QString strText = QStringLiteral("[%1] %2").arg(i).arg(vctList[static_cast<size_t>(i)]->GetName());
        if (pNode->child(i)->text() != strText)
        {
            return false;
        }
    }
    return true;
}

void Step(const char* pName, QApplication& app, QStandardItemModel* pItems, const CProjectModel& model,
          const std::function<void()>& action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    do
    {
        app.processEvents();
    } while (!TreeShowsModel(pItems, model) && timer.elapsed() < 60000);
    // A tree that never matches the model is a failure, whatever the time.
    if (!TreeShowsModel(pItems, model))
        std::printf("BENCH project_tree %s: failed (the tree does not match the model)\n", pName);
    else
        std::printf("BENCH project_tree %s: %lld ms (goal < 500 ms)\n", pName, static_cast<long long>(timer.elapsed()));
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CProjectModel model;
    CProjectView view(&model, nullptr);
    view.resize(400, 800);
    view.show();
    auto* pItems = qobject_cast<QStandardItemModel*>(view.findChild<QTreeView*>()->model());
    model.SetProject(QStringLiteral("/bench"), QStringLiteral("bench"));

    Step("fill 20,000 images", app, pItems, model,
         [&]()
         {
             for (int i = 1; i <= IMAGES; ++i)
             {
                 auto pRecord = std::make_shared<CDatasetImageRecord>();
                 pRecord->SetID(i);
                 pRecord->SetName(QStringLiteral("image_%1.jpg").arg(IMAGES - i, 5, 10, QLatin1Char('0')));
                 model.AddTrainImage(pRecord);
             }
         });
    Step("validate every image", app, pItems, model,
         [&]()
         {
             for (const auto& pEntry : model.GetTrainImages())
             {
                 pEntry->SetValidation(pEntry->GetImageID() % 7 != 0);
             }
         });
    Step("sort", app, pItems, model, [&]() { model.SortTrainImages(); });
    Step("shuffle", app, pItems, model, [&]() { model.ShuffleTrainImages(); });
    view.findChild<QTreeView*>()->setCurrentIndex(TrainNode(pItems)->child(IMAGES - 10)->index());
    Step("remove the middle image", app, pItems, model,
         [&]() { model.RemoveTrainImage(model.GetTrainImages()[IMAGES / 2]->GetImageID()); });
    Step("close", app, pItems, model, [&]() { model.Close(); });
    return 0;
}
