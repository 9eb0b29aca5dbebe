// The 8 x 8 LED controller's picture and the display's shift.
#include "components/utility/led_matrix_kernel.h"

#include "algo/record_archive.h"

namespace zor2 {

bool SkipLedControllerBody(CByteReader& in) {
    bool enabled = false;
    int32_t count = 0;
    return in.Bool(enabled) && in.I32(count) && SkipRecords<CLedPatternRecord>(in, count, "picture");
}

void ControllerPicture(const std::vector<CPattern64Bit>& patterns, bool enabled, int32_t key,
                       CLedCells& out) {
    if (enabled) {
        for (const CPattern64Bit& p : patterns) {
            if (p.m_number == key) {
                out = p.m_cells;
                return;
            }
        }
    }
    out.fill(0.0);
}

void ShiftFrame(const double* frame, int32_t count, int32_t shiftX, int32_t shiftY, CLedCells& cells) {
    const int64_t available = frame ? count : 0;
    for (int64_t r = 0; r < kLedSide; ++r) {
        for (int64_t c = 0; c < kLedSide; ++c) {
            const int64_t sr = r + shiftY;
            const int64_t sc = c + shiftX;
            double& cell = cells[static_cast<size_t>(r * kLedSide + c)];
            if (sr < 0 || sr >= kLedSide || sc < 0 || sc >= kLedSide) {
                cell = kLedOutside;
                continue;
            }
            const int64_t at = sc + sr * kLedSide;
            cell = at < available ? frame[at] : 0.0;
        }
    }
}

}  // namespace zor2
