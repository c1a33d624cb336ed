#include "Resample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace vrk {
namespace {

// Weights in fixed point: a whole is 1 << kWeightBits.
constexpr int kWeightBits = 14;
// The pass across keeps this many bits below each byte for the pass down.
constexpr int kCarryBits = 8;

// The input pixels one output pixel takes in along one axis, and how much of
// each; the weights of a pixel sum to exactly one whole.
struct Taps {
    int first = 0;
    std::vector<int> weights;
};

std::vector<Taps> TapsFor(int from, int to) {
    std::vector<Taps> all(static_cast<std::size_t>(to));
    const double ratio = static_cast<double>(from) / to;
    const double radius = std::max(1.0, ratio);
    std::vector<double> raw;
    for (int out = 0; out < to; ++out) {
        const double centre = (out + 0.5) * ratio - 0.5;
        const int first = static_cast<int>(std::floor(centre - radius)) + 1;
        const int last = static_cast<int>(std::ceil(centre + radius)) - 1;
        // Beyond an edge the edge pixel repeats: its weight joins the edge's.
        const int lo = std::clamp(first, 0, from - 1), hi = std::clamp(last, 0, from - 1);
        raw.assign(static_cast<std::size_t>(hi - lo + 1), 0.0);
        double sum = 0;
        for (int i = first; i <= last; ++i) {
            const double weight = 1.0 - std::abs(i - centre) / radius;
            if (weight <= 0) continue;
            raw[static_cast<std::size_t>(std::clamp(i, 0, from - 1) - lo)] += weight;
            sum += weight;
        }
        Taps& taps = all[static_cast<std::size_t>(out)];
        taps.first = lo;
        int given = 0;
        for (double weight : raw) {
            taps.weights.push_back(static_cast<int>(std::lround(weight / sum * (1 << kWeightBits))));
            given += taps.weights.back();
        }
        // What rounding took or gave goes to the heaviest pixel.
        *std::max_element(taps.weights.begin(), taps.weights.end()) += (1 << kWeightBits) - given;
    }
    return all;
}

} // namespace

void Resample(const std::uint32_t* pixels, int width, int height, std::uint32_t* out, int toWidth, int toHeight) {
    const std::vector<Taps> across = TapsFor(width, toWidth);
    const std::vector<Taps> down = TapsFor(height, toHeight);
    const std::size_t rowLength = static_cast<std::size_t>(toWidth) * 4;

    // The rows across, four channels a pixel with kCarryBits below each byte,
    // made as the rows down reach them: only the few that one row down takes
    // in are kept (a whole picture of them would cost more in memory than in
    // arithmetic).
    std::size_t kept = 1;
    for (const Taps& taps : down) kept = std::max(kept, taps.weights.size());
    std::vector<std::uint16_t> rows(kept * rowLength);
    std::vector<int> rowIn(kept, -1); // which input row each slot holds
    auto rowAcross = [&](int y) -> const std::uint16_t* {
        std::uint16_t* row = rows.data() + static_cast<std::size_t>(y) % kept * rowLength;
        if (rowIn[static_cast<std::size_t>(y) % kept] == y) return row;
        rowIn[static_cast<std::size_t>(y) % kept] = y;
        const auto* in = reinterpret_cast<const std::uint8_t*>(pixels + static_cast<std::size_t>(y) * width);
        std::uint16_t* next = row;
        for (const Taps& taps : across) {
            int sum[4] = {};
            const std::uint8_t* p = in + static_cast<std::size_t>(taps.first) * 4;
            for (const int w : taps.weights) {
                for (int c = 0; c < 4; ++c) sum[c] += w * p[c];
                p += 4;
            }
            for (int c = 0; c < 4; ++c)
                *next++ = static_cast<std::uint16_t>((sum[c] + (1 << (kWeightBits - kCarryBits - 1))) >>
                                                     (kWeightBits - kCarryBits));
        }
        return row;
    };

    // Then down, a whole row at a time, rounded back to bytes.
    std::vector<int> sums(rowLength);
    constexpr int kShift = kWeightBits + kCarryBits;
    for (int y = 0; y < toHeight; ++y) {
        const Taps& taps = down[static_cast<std::size_t>(y)];
        std::fill(sums.begin(), sums.end(), 0);
        for (std::size_t k = 0; k < taps.weights.size(); ++k) {
            const int w = taps.weights[k];
            const std::uint16_t* row = rowAcross(taps.first + static_cast<int>(k));
            for (std::size_t i = 0; i < rowLength; ++i) sums[i] += w * row[i];
        }
        auto* bytes = reinterpret_cast<std::uint8_t*>(out + static_cast<std::size_t>(y) * toWidth);
        for (std::size_t i = 0; i < rowLength; ++i)
            bytes[i] = static_cast<std::uint8_t>(std::min(255, (sums[i] + (1 << (kShift - 1))) >> kShift));
    }
}

std::vector<std::uint32_t> Resample(const std::vector<std::uint32_t>& pixels, int width, int height, int toWidth,
                                    int toHeight) {
    if (width <= 0 || height <= 0 || toWidth <= 0 || toHeight <= 0) return {};
    if (static_cast<std::size_t>(width) * height > pixels.size()) return {};
    if (width == toWidth && height == toHeight) return pixels;
    std::vector<std::uint32_t> result(static_cast<std::size_t>(toWidth) * toHeight);
    Resample(pixels.data(), width, height, result.data(), toWidth, toHeight);
    return result;
}

} // namespace vrk
