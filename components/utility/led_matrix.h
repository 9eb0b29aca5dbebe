// The 8x8 LED components: the 8x8 LED Controller (type 76) publishes a stored
// picture chosen by a number as a 64-value array; the 8x8 LED Display (77) shows one.
#pragma once

#include <vector>

#include "components/utility/led_matrix_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModel8x8Controller : public CNetworkModel {
  public:
    CModel8x8Controller() { m_picture.fill(1.0); }
    const char* ClassName() const override { return "CModel8x8Controller"; }
    /// Base part, then enabled and the pictures (id, number, name, 64 cells).
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;

    bool Enabled() const { return m_enabled; }
    const std::vector<CPattern64Bit>& Patterns() const { return m_patterns; }
    /// Replaces the pictures; those without an id (below 1) get fresh ones.
    void SetPatterns(std::vector<CPattern64Bit> patterns);
    const CLedCells& Picture() const { return m_picture; }

  private:
    bool m_enabled = true;
    std::vector<CPattern64Bit> m_patterns;
    CLedCells m_picture;  // published on output 10
};

/// Box sizes of the display's size settings 0, 1 and 2 (any other value: 194).
int32_t LedDisplaySide(int32_t size);

class CModel8x8Display : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModel8x8Display"; }
    /// Base part, then background colour, size setting and display flag.
    void Serialize(CArchive& ar) override;
    /// A square box of the size setting's side.
    void CalcSize() override;
    void GetInputValues() override;

    bool Enabled() const { return m_enabled; }
    const CLedCells& Cells() const { return m_cells; }
    int32_t Background() const { return m_background; }
    int32_t Size() const { return m_size; }
    void SetLook(int32_t background, int32_t size);

  private:
    CLedCells m_cells{};
    int32_t m_shiftX = 0;
    int32_t m_shiftY = 0;
    int32_t m_background = 0;
    int32_t m_size = 1;
    bool m_display = true;
    bool m_enabled = true;
};

/// The array that reaches a component input (a component output's array, or
/// through a module input an array system input's or a module output's);
/// false when none does.
bool InputFrame(const CModelInput& input, const double*& data, int32_t& count);

}  // namespace zor2
