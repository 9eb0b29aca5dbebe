// The Indicator Light (type 73), shared by the designer's CModelSimLight and the
// runtime's CRModelSimLight: its colours and the state it shows.
#pragma once

#include <cstdint>

namespace zor2 {

inline constexpr int32_t kTypeIndicatorLight = 73;

/// Colour indices of the light.
enum ELightColour : int32_t {
    kLightWhite = 0,
    kLightYellow = 1,
    kLightRed = 2,
    kLightGrey = 3,
    kLightGreen = 4,
    kLightBlue = 5,
    kLightBlack = 6,
};
inline constexpr int32_t kLightColourCount = 7;
inline constexpr const char* kLightColourNames[kLightColourCount] = {"White", "Yellow", "Red",  "Grey",
                                                                     "Green", "Blue",   "Black"};

/// The light's colours; the runtime record carries neither, so the runtime keeps these defaults.
struct CLightColours {
    int32_t on = kLightGreen;
    int32_t off = kLightRed;
};

/// Grey while disabled, else the on or the off colour.
inline int32_t LightState(bool enabled, bool on, const CLightColours& colours) {
    if (!enabled) return kLightGrey;
    return on ? colours.on : colours.off;
}

/// "Turn On" reads off only when it has a source whose value is 0; unconnected it is on.
inline bool LightTurnedOn(bool hasSource, double sourceValue) {
    return !hasSource || sourceValue != 0.0;
}

}  // namespace zor2
