#include "picfilter/FilterCommon.h"

#include "runtime/Ui.h"

namespace mFilterG::detail {

void FilterProgress::set(int32_t v, bool pump)
{
    m_value = v;
    if (pump) rt::DoEvents();
}

const std::array<uchar, 766>& greyTable()
{
    static const std::array<uchar, 766> table = [] {
        std::array<uchar, 766> t{};
        for (int i = 0; i < 766; ++i) t[i] = static_cast<uchar>(i / 3);
        return t;
    }();
    return table;
}

int meanGrey(const Pixels& px)
{
    const auto& grey = greyTable();
    int64_t sum = 0;
    for (int y = 0; y < px.h; ++y) {
        const uchar* p = px.row(y);
        uint32_t rowSum = 0;  // at most 255 * 2^23 per row of a 2^23-wide picture
        for (int x = 0; x < px.w; ++x, p += 4) rowSum += grey[p[kBlue] + p[kGreen] + p[kRed]];
        sum += rowSum;
    }
    return static_cast<int>(sum / (static_cast<int64_t>(px.w) * px.h));
}

void mapChannels(const Pixels& px, const uchar* lutB, const uchar* lutG, const uchar* lutR,
                 FilterProgress& progress, int base, int span)
{
    for (int y = 0; y < px.h; ++y) {
        uint32_t* p = px.row32(y);
        for (int x = 0; x < px.w; ++x) {
            const uint32_t v = p[x];
            p[x] = (v & kFourthByte) | pixelOf(lutB[v & 0xFF], lutG[(v >> 8) & 0xFF], lutR[(v >> 16) & 0xFF]);
        }
        progress.row(y, base, span);
    }
}

} // namespace mFilterG::detail
