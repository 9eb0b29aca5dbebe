// Display text of a port's value. The text is kept as "what to format" and is
// formatted only when read, so setting a value in the cycle never allocates.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zor2 {

/// Truncates toward zero to int32 the way the stored behaviour expects:
/// NaN and values outside the int32 range give INT32_MIN.
int32_t TruncToInt32(double v);

/// The rule for a component output's value text (by data type and decimals).
std::string FormatOutputValue(double value, int32_t decimals, int32_t dataType);

class CValueText {
  public:
    /// Literal text (short texts such as "On" or "-" do not allocate).
    void SetText(std::string_view text) {
        m_kind = EKind::Text;
        m_text.assign(text);
    }
    /// A text with static storage (a string literal), kept as a pointer: the
    /// cycle's fixed texts ("On", "-") copy nothing.
    void SetStatic(const char* text) {
        m_kind = EKind::Static;
        m_format = text;
    }
    void Clear() { SetText({}); }
    /// printf-style `format` (a string literal) with one double argument.
    void SetNumber(const char* format, double v) {
        m_kind = EKind::Number;
        m_format = format;
        m_number = v;
    }
    /// printf-style `format` (a string literal) with one int argument.
    void SetInt(const char* format, int32_t v) {
        m_kind = EKind::Int;
        m_format = format;
        m_int = v;
    }
    /// The component output rule, applied with the output's decimals and type when read.
    void SetRule(double v) {
        m_kind = EKind::Rule;
        m_number = v;
    }

    std::string Str(int32_t decimals = 2, int32_t dataType = 0) const;

  private:
    enum class EKind : uint8_t { Text, Static, Number, Int, Rule };
    EKind m_kind = EKind::Text;
    const char* m_format = "";
    double m_number = 0.0;
    int32_t m_int = 0;
    std::string m_text;
};

}  // namespace zor2
