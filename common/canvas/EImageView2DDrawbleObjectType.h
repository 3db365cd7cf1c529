#pragma once

// The class of a drawable object. Callers that want region-of-interest shapes test for the geometry value; 2 is
// used by no class.
enum EImageView2DDrawbleObjectType
{
    EImageView2DDrawbleObjectType_Blank = 0,
    EImageView2DDrawbleObjectType_Geometry = 1,
    EImageView2DDrawbleObjectType_Ruler = 3
};
