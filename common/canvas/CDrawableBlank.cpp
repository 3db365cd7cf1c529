#include "canvas/CDrawableBlank.h"

CDrawableBlank::CDrawableBlank() : CDrawableObject(EImageView2DDrawbleObjectType_Blank) {}

CDrawableBlank::~CDrawableBlank() = default;
