// A cover's bytes decoded through the system's imaging components, scaled down to fit a square
// box with its aspect kept, on a background colour (a PNG's transparent parts show it).
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "base/win_handles.h"

struct DecodedCover {
  UINT width = 0, height = 0;  // of the picture itself
  BitmapHandle bitmap;         // at most side × side pixels
};
// Nothing where the bytes are no picture the system decodes.
std::optional<DecodedCover> DecodeCover(const std::string& data, int side, COLORREF background);

// A bitmap (a picture on the clipboard) encoded as PNG; nothing where it cannot be.
std::optional<std::string> PngOfBitmap(HBITMAP bitmap);
