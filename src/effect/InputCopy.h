// Redrawing a host input into a texture of exactly its picture's size.
#pragma once

#include "host/FreeFrame.h"

// The share of an input's allocation that holds its picture.
struct TexCoordScale {
  double s;  // width / hardwareWidth
  double t;  // height / hardwareHeight
};

// Callers pass only records with non-zero hardware sizes.
TexCoordScale getTexCoordScale(TextureRecord texture);
