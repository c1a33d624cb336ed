#pragma once
// A picture drawn larger or smaller than it is, smoothly: each new pixel is
// a weighted mean of the pixels it covers, under a tent twice a pixel wide
// (bilinear when growing), or as wide as the pixels it takes in (an average
// when shrinking). Each byte of a pixel is filtered on its own: pixels with
// see-through parts are given premultiplied, or their edges darken.
#include <cstdint>
#include <vector>

namespace vrk {

// Into `out`, toWidth x toHeight pixels; every size above zero.
void Resample(const std::uint32_t* pixels, int width, int height, std::uint32_t* out, int toWidth, int toHeight);
std::vector<std::uint32_t> Resample(const std::vector<std::uint32_t>& pixels, int width, int height, int toWidth,
                                    int toHeight);

} // namespace vrk
