#pragma once
// The kitty graphics protocol's commands for pictures of 32-bit pixels (0x00RRGGBB): pixels go
// as 24-bit RGB, zlib-compressed and base64-encoded in chunks, and the terminal is asked not to
// answer, so that nothing arrives among the keys.

#include <cstdint>
#include <string>

#include "graph/window/display.h"

// The whole buffer as image `id`, placed at the cursor, which stays where it is. An image of
// the same id must be removed first.
void AppendKittyPicture(std::string& out, uint32_t id, const PixelBuffer& buffer);
// The area of the buffer written over the same pixels of image `id`, which shows them at once.
void AppendKittyArea(std::string& out, uint32_t id, const PixelBuffer& buffer, PixelRect area);
// Image `id` and every placement of it removed.
void AppendKittyRemoval(std::string& out, uint32_t id);
