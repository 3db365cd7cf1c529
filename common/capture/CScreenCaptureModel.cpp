#include "capture/CScreenCaptureModel.h"

CScreenCaptureModel::CScreenCaptureModel(QObject* parent) : CModel(parent) {}
