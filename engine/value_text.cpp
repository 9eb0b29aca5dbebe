// Formatting of port value texts.
#include "engine/value_text.h"

#include <cmath>
#include <cstdio>

namespace zor2 {

int32_t TruncToInt32(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(v);
}

namespace {
std::string Printf(const char* format, double v) {
    char buf[512];
    int n = std::snprintf(buf, sizeof buf, format, v);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof buf) return std::string(buf, n);
    std::string out(n + 1, '\0');
    std::snprintf(out.data(), out.size(), format, v);
    out.resize(n);
    return out;
}
std::string PrintfInt(const char* format, int32_t v) {
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, format, v);
    return n < 0 ? std::string() : std::string(buf, std::min<size_t>(n, sizeof buf - 1));
}
}  // namespace

std::string FormatOutputValue(double value, int32_t decimals, int32_t dataType) {
    if (dataType == 3) return TruncToInt32(value) == 0 ? "OFF" : "ON";
    if (decimals == 0) {
        if (dataType == 5) return TruncToInt32(value) == 0 ? "NO" : "YES";
        return PrintfInt("%d", TruncToInt32(value));
    }
    switch (decimals) {
        case 1:
            return Printf("%.1f", value);
        case 2:
            return Printf("%.2f", value);
        case 3:
            return Printf("%.3f", value);
        default:
            return Printf("%.4f", value);
    }
}

std::string CValueText::Str(int32_t decimals, int32_t dataType) const {
    switch (m_kind) {
        case EKind::Text:
            return m_text;
        case EKind::Static:
            return m_format;
        case EKind::Number:
            return Printf(m_format, m_number);
        case EKind::Int:
            return PrintfInt(m_format, m_int);
        case EKind::Rule:
            return FormatOutputValue(m_number, decimals, dataType);
    }
    return m_text;
}

}  // namespace zor2
