#pragma once

// Everything the library offers, for callers that would rather not pick single headers.
#include "Algorithms/COvrelOCR.h"
#include "Algorithms/CPDFReader.h"
#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelGeometry.h"
#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelPolygon.h"
#include "Geometry/COvrelRectangle.h"
#include "Geometry/EGeometryType.h"
#include "Utils/COvrelImage.h"
#include "Utils/COvrelObject.h"
#include "Utils/EOvrelBorderMode.h"
#include "Utils/EOvrelImageType.h"
#include "Utils/EOvrelInterpolation.h"
#include "Utils/EOvrelResult.h"
