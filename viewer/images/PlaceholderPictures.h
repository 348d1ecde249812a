#pragma once
// The pane's own placeholder pictures, 16 x 16 (drawn as character maps in
// viewer/images/resources/PlaceholderPictures.inc): the images-off picture, shown
// for pictures while pictures are off or not yet delivered, and the
// broken-image picture, shown for a picture that could not be had, with
// transparent rounded corners.
#include "platform/Picture.h"

namespace quillet {

inline constexpr int kPlaceholderSide = 16;

Picture ImagesOffPicture();
Picture BrokenImagePicture();

}  // namespace quillet
