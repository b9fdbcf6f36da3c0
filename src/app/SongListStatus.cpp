#include "app/SongListStatus.h"

#include <optional>

#include "app/TransferEstimate.h"

std::string SongListStatus(const std::vector<tListedSong>& Rows,
                           const tTransferSettings& Settings) {
    if (Rows.empty()) {
        return "No songs";
    }
    size_t uiTicked = 0;
    uint64_t X10Bytes = 0;
    std::vector<std::optional<uint32_t>> X10Sizes;
    for (const tListedSong& Row : Rows) {
        if (!Row.Ticked) {
            continue;
        }
        ++uiTicked;
        if (Row.Details != nullptr && Row.Details->Converted) {
            X10Bytes += Row.Details->X10Bytes;
            X10Sizes.emplace_back(Row.Details->X10Bytes);
        }
    }
    std::string Text = std::to_string(uiTicked) + " of " + std::to_string(Rows.size()) +
                       (Rows.size() == 1 ? " song ticked" : " songs ticked");
    if (X10Sizes.empty()) {
        return Text;
    }
    const std::string Basis = EstimateBasis(Settings);
    return Text + ", " + DescribeBytes(X10Bytes) + ", about " +
           DescribeDuration(EstimateSongs(X10Sizes, Settings).iTotalMs) +
           (Basis.empty() ? "" : " " + Basis);
}
