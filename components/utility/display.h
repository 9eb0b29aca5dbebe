// The pictures of the module view: the 7-Segment LED (type 74) lights the
// segments of one digit; the Integrated Column Chart (75) draws a bar per input.
#pragma once

#include <array>
#include <string>

#include "components/utility/display_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelLEDDigit : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelLEDDigit"; }
    /// Base part, then colour and display flag.
    void Serialize(CArchive& ar) override;
    /// 140 wide, as high as the ports need.
    void CalcSize() override;
    void GetInputValues() override;
    void ResetValues() override;

    bool Enabled() const { return m_enabled; }
    /// Segment k (0 for "seg1") is lit.
    bool Lit(size_t k) const { return k < m_segments.size() && m_segments[k]; }
    int32_t Colour() const { return m_colour; }
    void SetColour(int32_t colour) { m_colour = colour; }

  private:
    std::array<bool, 7> m_segments{};
    int32_t m_colour = kLedDigitColour;
    bool m_display = true;
    bool m_enabled = true;
};

class CModelChartColumn : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelChartColumn"; }
    /// Base part, then show-bars flag, low and high limits and the three zone colours.
    void Serialize(CArchive& ar) override;
    /// 140 wide, 170 high or as high as the ports need.
    void CalcSize() override;
    void GetInputValues() override;

    bool Enabled() const { return m_enabled; }
    bool ShowBars() const { return m_showBars; }
    int32_t Low() const { return m_low; }
    int32_t High() const { return m_high; }
    /// Colour of zone 0 (below low), 1 (below high) or 2 (at or above high).
    int32_t ZoneColour(int32_t zone) const {
        return m_colours[static_cast<size_t>(zone < 0 ? 0 : zone > 2 ? 2 : zone)];
    }
    /// The dialog's OK: refused (a message, nothing changed) for a high limit
    /// below the low one, a low limit below 0 or a high limit above 100.
    std::string SetLimits(int32_t low, int32_t high, const std::array<int32_t, 3>& colours);

  private:
    bool m_showBars = true;
    int32_t m_low = 10;
    int32_t m_high = 90;
    std::array<int32_t, 3> m_colours{kChartBelowColour, kChartBetweenColour, kChartAboveColour};
    bool m_enabled = true;
};

}  // namespace zor2
