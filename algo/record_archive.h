// Archives that run one record field list three ways: writing it, reading it
// with bounds checks, and counting the bytes of its smallest form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "algo/bytes.h"

namespace zor2 {

/// UTF-16 code units of a fixed name field (at most 99 characters and the terminator).
inline constexpr size_t kNameUnits = 100;

// A record is a struct with `template <class Ar> constexpr void Fields(Ar& ar)`
// listing its fields in file order through ar.I32, ar.F64 and ar.Name. A part
// that stands in the file only under a condition on fields read before it is
// written `if (ar.Present(condition)) { ... }`.

/// Appends a record's fields to a byte writer.
class CRecordWriter {
  public:
    explicit CRecordWriter(CByteWriter& out) : m_out(out) {}
    void I32(int32_t v) { m_out.I32(v); }
    void F64(double v) { m_out.F64(v); }
    void Name(const std::u16string& text) { m_out.FixedName(text, kNameUnits); }
    bool Present(bool condition) const { return condition; }

  private:
    CByteWriter& m_out;
};

/// Reads a record's fields from a byte reader; after the first failed read the
/// reader stays failed and the remaining fields keep their values.
class CRecordReader {
  public:
    explicit CRecordReader(CByteReader& in) : m_in(in) {}
    void I32(int32_t& v) { m_in.I32(v); }
    void F64(double& v) { m_in.F64(v); }
    void Name(std::u16string& text) { m_in.FixedName(text, kNameUnits); }
    bool Present(bool condition) const { return condition && !m_in.Failed(); }

  private:
    CByteReader& m_in;
};

/// Counts the bytes of a record's smallest form: optional parts left out.
class CRecordSizer {
  public:
    constexpr void I32(const int32_t&) { m_bytes += 4; }
    constexpr void F64(const double&) { m_bytes += 8; }
    constexpr void Name(const std::u16string&) { m_bytes += 2 * kNameUnits; }
    constexpr bool Present(bool) const { return false; }
    constexpr size_t Bytes() const { return m_bytes; }

  private:
    size_t m_bytes = 0;
};

template <class Record>
void WriteRecord(CByteWriter& out, Record&& record) {
    CRecordWriter ar(out);
    record.Fields(ar);
}

/// Reads `record`; false when the reader failed (now or before).
template <class Record>
bool ReadRecord(CByteReader& in, Record& record) {
    CRecordReader ar(in);
    record.Fields(ar);
    return !in.Failed();
}

/// The smallest number of bytes a record of this kind takes in a file: what a
/// count read from the file is checked against before anything is allocated.
template <class Record>
constexpr size_t RecordBytes() {
    Record record{};
    CRecordSizer ar;
    record.Fields(ar);
    return ar.Bytes();
}
// Not constexpr: a record with a name holds a std::u16string, which not every
// compiler and library pair can make in a constant expression.
template <class Record>
inline const size_t kRecordBytes = RecordBytes<Record>();

/// Reads `count` records into `items` (resized to `count`), handing each to
/// `take(item, record)`, which may read what follows the record. The count is
/// first checked against the bytes that remain ("<what> count exceeds the
/// file"), so nothing is allocated for a count the data cannot hold. False at
/// the first failed read; the items are then partly filled.
template <class Record, class Item, class Take>
bool ReadRecords(CByteReader& in, int32_t count, std::string_view what, std::vector<Item>& items,
                 Take&& take) {
    if (!in.CheckCount(count, kRecordBytes<Record>, what)) return false;
    items.resize(static_cast<size_t>(count));
    for (Item& item : items) {
        Record record;
        if (!ReadRecord(in, record)) return false;
        take(item, record);
        if (in.Failed()) return false;
    }
    return true;
}

/// Reads past `count` records (a count read before them), checked first
/// against the bytes that remain; false when they do not fit.
template <class Record>
bool SkipRecords(CByteReader& in, int32_t count, std::string_view what) {
    if (!in.CheckCount(count, kRecordBytes<Record>, what)) return false;
    for (int32_t i = 0; i < count; ++i) {
        Record record;
        if (!ReadRecord(in, record)) return false;
    }
    return true;
}

}  // namespace zor2
