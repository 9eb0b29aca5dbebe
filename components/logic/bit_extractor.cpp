// Bit extractors: type table (one output row per bit), input pull and the bits.
#include "components/logic/bit_extractor.h"

#include <array>

#include "components/logic/bit_extractor_kernel.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kInputs[] = {{10, "Number"}};

constexpr std::array<const char*, 32> kBitLabels = {
    "Bit 0",  "Bit 1",  "Bit 2",  "Bit 3",  "Bit 4",  "Bit 5",  "Bit 6",  "Bit 7",
    "Bit 8",  "Bit 9",  "Bit 10", "Bit 11", "Bit 12", "Bit 13", "Bit 14", "Bit 15",
    "Bit 16", "Bit 17", "Bit 18", "Bit 19", "Bit 20", "Bit 21", "Bit 22", "Bit 23",
    "Bit 24", "Bit 25", "Bit 26", "Bit 27", "Bit 28", "Bit 29", "Bit 30", "Bit 31",
};

// Output id = 10 + bit number; the narrower types use a prefix of the rows.
constexpr std::array<CPortTemplate, 32> kBitOutputs = [] {
    std::array<CPortTemplate, 32> rows{};
    for (int32_t bit = 0; bit < 32; ++bit) rows[bit] = {10 + bit, kBitLabels[bit], kDataOnOff, 0};
    return rows;
}();

std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelBitExtractor>();
}

constexpr std::span<const CPortTemplate> Bits(int32_t n) {
    return std::span(kBitOutputs).first(n);
}

constexpr CPropertyProfile kSheet{"Component Properties - Bit Extraction"};
constexpr CComponentType kTypes[] = {
    {kBitExtractor8, kInputs, Bits(8), 1, 8, Create, &kSheet},
    {kBitExtractor16, kInputs, Bits(16), 1, 16, Create, &kSheet},
    {kBitExtractor32, kInputs, Bits(32), 1, 32, Create, &kSheet},
};

}  // namespace

std::span<const CComponentType> BitExtractorComponentTypes() {
    return kTypes;
}

void CModelBitExtractor::GetInputValues() {
    CModelInput* in = FirstInput();
    if (!in) {
        m_value = 0.0;
        return;
    }
    PullInput(*in);
    m_value = in->m_value;
    in->m_text.SetInt("%d", TruncToInt32(in->m_value));
}

void CModelBitExtractor::Execute() {
    const uint32_t word = BitExtractorWord(m_value);
    int32_t k = 0;
    for (CModelOutput* out : m_outputs) {
        const bool set = BitExtractorBit(word, k++);
        out->m_value = set ? 1.0 : 0.0;
        out->m_text.SetText(set ? "1" : "0");
    }
}

}  // namespace zor2
