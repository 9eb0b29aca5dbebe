// Runtime bit extractors: bits counted over the existing outputs in order.
#include "components/logic/bit_extractor_rt.h"

#include "components/logic/bit_extractor_kernel.h"

namespace zor2 {

int32_t CRModelBitExtractor::GetInputValues() {
    CRModelInput* in = FirstInput();
    if (!in) {
        m_value = 0.0;
        return 0;
    }
    in->Pull();
    m_value = in->m_value;
    return 0;
}

int32_t CRModelBitExtractor::Execute() {
    const uint32_t word = BitExtractorWord(m_value);
    int32_t k = 0;
    for (CRModelOutput& out : m_outputs) out.m_value = BitExtractorBit(word, k++) ? 1.0 : 0.0;
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelBitExtractor>(typeId);
}
constexpr CRuntimeType kTypes[] = {
    {kBitExtractor8, Create}, {kBitExtractor16, Create}, {kBitExtractor32, Create}};
}  // namespace

std::span<const CRuntimeType> BitExtractorRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
