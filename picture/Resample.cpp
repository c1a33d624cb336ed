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

// The input pixels each output pixel takes in along one axis, and how much
// of each; the weights of a pixel sum to exactly one whole. Every output
// pixel takes the same number of inputs, padded with weights of nought, so
// the loops over them have one length the compiler can see through (growing,
// the common case at a display's scale, takes two).
struct Taps {
    int count = 1;
    std::vector<int> first;   // the first input of each output pixel
    std::vector<int> weights; // count for each output pixel
    const int* of(int out) const { return weights.data() + static_cast<std::size_t>(out) * count; }
};

Taps TapsFor(int from, int to) {
    const double ratio = static_cast<double>(from) / to;
    const double radius = std::max(1.0, ratio);
    std::vector<std::vector<int>> each(static_cast<std::size_t>(to));
    std::vector<int> lows(static_cast<std::size_t>(to));
    std::vector<double> raw;
    Taps taps;
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
        std::vector<int>& weights = each[static_cast<std::size_t>(out)];
        int given = 0;
        for (double weight : raw) {
            weights.push_back(static_cast<int>(std::lround(weight / sum * (1 << kWeightBits))));
            given += weights.back();
        }
        // What rounding took or gave goes to the heaviest pixel.
        *std::max_element(weights.begin(), weights.end()) += (1 << kWeightBits) - given;
        lows[static_cast<std::size_t>(out)] = lo;
        taps.count = std::max(taps.count, static_cast<int>(weights.size()));
    }
    // Padded at the end, or at the start where the end would pass the edge
    // (the inputs taken are distinct, so count never exceeds from).
    taps.first.resize(static_cast<std::size_t>(to));
    taps.weights.assign(static_cast<std::size_t>(to) * taps.count, 0);
    for (int out = 0; out < to; ++out) {
        const int lo = lows[static_cast<std::size_t>(out)];
        const int first = std::min(lo, from - taps.count);
        taps.first[static_cast<std::size_t>(out)] = first;
        const std::vector<int>& weights = each[static_cast<std::size_t>(out)];
        std::copy(weights.begin(), weights.end(),
                  taps.weights.begin() + static_cast<std::ptrdiff_t>(out) * taps.count + (lo - first));
    }
    return taps;
}

// One row across: four channels a pixel, kCarryBits below each byte.
template <int kCount> void RowAcross(const std::uint8_t* in, const Taps& across, int toWidth, std::uint16_t* out) {
    const int count = kCount ? kCount : across.count;
    constexpr int kRound = 1 << (kWeightBits - kCarryBits - 1);
    for (int x = 0; x < toWidth; ++x) {
        const std::uint8_t* p = in + static_cast<std::size_t>(across.first[static_cast<std::size_t>(x)]) * 4;
        const int* w = across.of(x);
        int b = 0, g = 0, r = 0, a = 0;
        for (int k = 0; k < count; ++k, p += 4) {
            b += w[k] * p[0];
            g += w[k] * p[1];
            r += w[k] * p[2];
            a += w[k] * p[3];
        }
        *out++ = static_cast<std::uint16_t>((b + kRound) >> (kWeightBits - kCarryBits));
        *out++ = static_cast<std::uint16_t>((g + kRound) >> (kWeightBits - kCarryBits));
        *out++ = static_cast<std::uint16_t>((r + kRound) >> (kWeightBits - kCarryBits));
        *out++ = static_cast<std::uint16_t>((a + kRound) >> (kWeightBits - kCarryBits));
    }
}

// One row down from the rows across it takes in, rounded back to bytes.
template <int kCount>
void RowDown(const std::uint16_t* const* rows, const int* w, int count, std::size_t length, std::uint8_t* out) {
    if (kCount) count = kCount;
    constexpr int kShift = kWeightBits + kCarryBits;
    for (std::size_t i = 0; i < length; ++i) {
        int sum = 1 << (kShift - 1);
        for (int k = 0; k < count; ++k) sum += w[k] * rows[k][i];
        out[i] = static_cast<std::uint8_t>(std::min(255, sum >> kShift));
    }
}

} // namespace

void Resample(const std::uint32_t* pixels, int width, int height, std::uint32_t* out, int toWidth, int toHeight) {
    const Taps across = TapsFor(width, toWidth);
    const Taps down = TapsFor(height, toHeight);
    const std::size_t rowLength = static_cast<std::size_t>(toWidth) * 4;
    const int kept = down.count;

    // The rows across, made as the rows down reach them: only the few that
    // one row down takes in are kept (a whole picture of them would cost more
    // in memory than in arithmetic).
    std::vector<std::uint16_t> rows(static_cast<std::size_t>(kept) * rowLength);
    std::vector<int> rowIn(static_cast<std::size_t>(kept), -1); // which input row each slot holds
    auto rowAcross = [&](int y) -> const std::uint16_t* {
        const std::size_t slot = static_cast<std::size_t>(y % kept);
        std::uint16_t* row = rows.data() + slot * rowLength;
        if (rowIn[slot] == y) return row;
        rowIn[slot] = y;
        const auto* in = reinterpret_cast<const std::uint8_t*>(pixels + static_cast<std::size_t>(y) * width);
        if (across.count == 2)
            RowAcross<2>(in, across, toWidth, row);
        else
            RowAcross<0>(in, across, toWidth, row);
        return row;
    };

    std::vector<const std::uint16_t*> taken(static_cast<std::size_t>(kept));
    for (int y = 0; y < toHeight; ++y) {
        const int first = down.first[static_cast<std::size_t>(y)];
        for (int k = 0; k < kept; ++k) taken[static_cast<std::size_t>(k)] = rowAcross(first + k);
        auto* bytes = reinterpret_cast<std::uint8_t*>(out + static_cast<std::size_t>(y) * toWidth);
        if (kept == 2)
            RowDown<2>(taken.data(), down.of(y), kept, rowLength, bytes);
        else
            RowDown<0>(taken.data(), down.of(y), kept, rowLength, bytes);
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
