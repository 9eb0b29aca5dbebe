// Data Value Storage: its record fields and the input and output rules shared
// by the designer and the runtime (which differ only in the simulated time).
#pragma once

#include <cmath>
#include <cstdint>

namespace zor2 {

inline constexpr int32_t kTypeDataStore = 67;

struct CDataStoreFields {
    double stored = 0.0;
    double reserved1 = 0.0;
    double reserved2 = 0.0;
    bool flag = false;  // a value is stored
    bool enabled = false;
};

/// The one field list of the project record and the runtime record (26 bytes).
template <class Ar, class F>
void DataStoreFieldList(Ar& ar, F& f) {
    ar.F64(f.stored);
    ar.F64(f.reserved1);
    ar.F64(f.reserved2);
    ar.Bool(f.flag);
    ar.Bool(f.enabled);
}
inline constexpr int32_t kDataStoreRecordBytes = 26;

/// The input phase. Recording needs "Enable (record)" connected and non-zero;
/// a stored value then follows a connected "Value". Returns true when "Reset"
/// asks for a reset (|value| above 1e-6).
inline bool DataStoreInputs(CDataStoreFields& f, bool enableConnected, double enable, bool valueConnected,
                            double value, double reset) {
    f.enabled = enableConnected && enable != 0.0;
    if (valueConnected && f.enabled) {
        f.stored = value;
        f.flag = true;
    }
    return std::fabs(reset) > 1e-6;
}

/// Clears what is stored.
inline void ResetDataStore(CDataStoreFields& f) {
    f.stored = f.reserved1 = f.reserved2 = 0.0;
    f.flag = false;
}

}  // namespace zor2
