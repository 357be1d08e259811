// The ways of a Windows desktop: SDL's renderer alone (Direct3D, or its
// software renderer where there is none).
#include "video/sdl_picture_way.h"

namespace {

constexpr SdlPictureWayMaker kWays[] = {MakeSdlRendererWay};

}  // namespace

std::span<const SdlPictureWayMaker> SdlPictureWays() { return kWays; }
