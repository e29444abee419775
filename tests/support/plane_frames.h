#pragma once
// Builders of prepared frames for metric tests.
#include <functional>
#include <memory>

#include "vidmetra/plane_frame.h"

namespace vidmetra::testing {

// A frame whose every plane holds value(x, y).
std::unique_ptr<PlaneFrame> MakePlanes(int width, int height, const std::function<float(int x, int y)>& value);
std::unique_ptr<PlaneFrame> MakeFlatPlanes(int width, int height, float value);

}  // namespace vidmetra::testing
