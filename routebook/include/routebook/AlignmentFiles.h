#pragma once

#include "routebook/HalElement.h"
#include "routebook/RecordFile.h"
#include "routebook/VerticalPoint.h"

using HalFile = RecordFile<HalElement>;
using ValFile = RecordFile<VerticalPoint>;
