// Runtime segmenters: record, input pull and the segment of the input value.
#include "components/decision/segmenter_rt.h"

#include "algo/record_archive.h"

namespace zor2 {

size_t CRModelSegmenter::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    int32_t count = 0;
    if (ReadBase(in) && in.I32(count))
        ReadRecords<CThresholdRecord>(in, count, "threshold", m_seg.m_thresholds,
                                      [](CThreshold& t, const CThresholdRecord& r) {
                                          t.m_id = r.m_id;
                                          t.m_value = r.m_value;
                                      });
    m_seg.Rebuild();
    return offset + (in.Position() - start);
}

int32_t CRModelSegmenter::GetInputValues() {
    if (CRModelInput* input = FirstInput()) {
        if (input->HasSource())
            input->Pull();
        else
            input->m_value = 0.0;
    }
    return 0;
}

int32_t CRModelSegmenterSingle::Execute() {
    CRModelInput* input = FirstInput();
    if (!input || !input->HasSource() || m_outputs.empty()) return 0;
    m_outputs.front().m_value = m_seg.Lookup(input->m_value);
    return 0;
}

int32_t CRModelSegmenterMultiple::Execute() {
    CRModelInput* input = FirstInput();
    if (!input || !input->HasSource()) return 0;
    const int32_t at = m_seg.Lookup(input->m_value);
    const int32_t id = at >= 0 ? m_seg.m_segments[static_cast<size_t>(at)].m_id : 0;
    for (CRModelOutput& out : m_outputs) out.m_value = at >= 0 && out.m_id == id ? 1.0 : 0.0;
    return 0;
}

namespace {
template <class T>
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<T>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeSegmenterSingle, Create<CRModelSegmenterSingle>},
                                   {kTypeSegmenterMultiple, Create<CRModelSegmenterMultiple>}};
}  // namespace

std::span<const CRuntimeType> SegmenterRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
