// Runtime segmenters: the thresholds of the record, the segments rebuilt from
// them in the stored order, and the same lookup as the designer's.
#pragma once

#include "components/decision/segmenter_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelSegmenter : public CRNetworkModel {
  public:
    explicit CRModelSegmenter(int32_t typeId) : CRNetworkModel(typeId) {}
    /// Base record, then the threshold count and (id, value) per threshold.
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;

  protected:
    CSegmentation m_seg;
};

class CRModelSegmenterSingle final : public CRModelSegmenter {
  public:
    using CRModelSegmenter::CRModelSegmenter;
    int32_t Execute() override;
};

class CRModelSegmenterMultiple final : public CRModelSegmenter {
  public:
    using CRModelSegmenter::CRModelSegmenter;
    int32_t Execute() override;
};

}  // namespace zor2
