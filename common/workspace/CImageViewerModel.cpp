#include "workspace/CImageViewerModel.h"

CImageViewerModel::CImageViewerModel(QObject* parent) : CModel(parent) {}
