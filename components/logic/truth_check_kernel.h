// The truth checks (AND, OR, NOR, NAND, exclusive OR, invert), shared by the
// designer's CModelTruthCheck and the runtime's CRModelTruthCheck.
#pragma once

#include <cstdint>

namespace zor2 {

enum ETruthType : int32_t {
    kTruthAllTrue = 3,   // AND
    kTruthAnyTrue = 4,   // OR
    kTruthAllFalse = 5,  // NOR
    kTruthAnyFalse = 6,  // NAND
    kTruthExclusiveOr = 7,
    kTruthInvert = 8,
};

/// A logic test: any value other than 0.0 is true, without tolerance (-0.0 is false).
inline bool IsTrue(double v) {
    return v != 0.0;
}

/// Folds the input values of one truth check in list order.
class CTruthAccumulator {
  public:
    explicit CTruthAccumulator(int32_t type) : m_type(type) {}
    void Add(double v) {
        const bool t = IsTrue(v);
        if (m_count == 0) m_first = t;
        m_last = t;
        m_anyTrue = m_anyTrue || t;
        m_anyFalse = m_anyFalse || !t;
        ++m_count;
    }
    /// The gate's result. Exclusive OR compares the first and the last input;
    /// Invert negates the first. A missing input counts as false.
    bool Result() const {
        switch (m_type) {
            case kTruthAllTrue:
                return !m_anyFalse;
            case kTruthAnyTrue:
                return m_anyTrue;
            case kTruthAllFalse:
                return !m_anyTrue;
            case kTruthAnyFalse:
                return m_anyFalse;
            case kTruthExclusiveOr:
                return m_first != m_last;
            case kTruthInvert:
                return !m_first;
            default:
                return false;
        }
    }

  private:
    int32_t m_type;
    int32_t m_count = 0;
    bool m_first = false;
    bool m_last = false;
    bool m_anyTrue = false;
    bool m_anyFalse = false;
};

/// The diagnostic line the gates 3-6 write on every Execute, or null.
inline const char* TruthTraceLine(int32_t type) {
    switch (type) {
        case kTruthAllTrue:
            return "MODELTYPE_TRUTHCHECK_ALL_TRUE Execute\n";
        case kTruthAnyTrue:
            return "MODELTYPE_TRUTHCHECK_ANY_TRUE Execute\n";
        case kTruthAllFalse:
            return "MODELTYPE_TRUTHCHECK_ALL_FALSE Execute\n";
        case kTruthAnyFalse:
            return "MODELTYPE_TRUTHCHECK_ANY_FALSE Execute\n";
        default:
            return nullptr;
    }
}

}  // namespace zor2
