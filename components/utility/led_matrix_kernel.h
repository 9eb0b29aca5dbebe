// The 8 x 8 LED picture (CPattern64Bit), the controller's choice of picture and
// the display's shifted copy of a frame, shared by the designer and the runtime.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "algo/bytes.h"
#include "components/decision/pattern_kernel.h"

namespace zor2 {

inline constexpr int32_t kType8x8Controller = 76;
inline constexpr int32_t kType8x8Display = 77;
inline constexpr int32_t kLedSide = 8;
inline constexpr int32_t kLedCells = kLedSide * kLedSide;
/// The code of a display cell that a shift moved outside the source picture.
inline constexpr double kLedOutside = 46.0;
/// Cell codes the controller's dialog paints with: 0 off, then five colours.
inline constexpr int32_t kLedCodes = 6;

using CLedCells = std::array<double, kLedCells>;

/// One stored picture: cells row by row, 8 cells a row.
struct CPattern64Bit {
    int32_t m_id = 0;
    int32_t m_number = 0;  // the trigger value that selects it
    std::string m_name;
    CLedCells m_cells{};
};

/// One picture of the controller's runtime record (no name).
struct CLedPatternRecord {
    int32_t m_id = 0;
    int32_t m_number = 0;
    CLedCells m_cells{};

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.I32(m_number);
        for (double& cell : m_cells) ar.F64(cell);
    }
};

/// Reads past the controller's runtime body: enabled, count, pictures.
bool SkipLedControllerBody(CByteReader& in);

/// The controller's picture: the cells of the first pattern numbered `key`
/// while enabled; every cell 0 when disabled or when no pattern has that number.
void ControllerPicture(const std::vector<CPattern64Bit>& patterns, bool enabled, int32_t key, CLedCells& out);

/// The display's cells from a frame of `count` values (`frame` may be null):
/// cell (r, c) shows source cell (r + shiftY, c + shiftX), kLedOutside where
/// that lies outside the 8 x 8 picture. Cells the frame does not reach (no
/// frame, or fewer than 64 values) are off (0).
void ShiftFrame(const double* frame, int32_t count, int32_t shiftX, int32_t shiftY, CLedCells& cells);

}  // namespace zor2
