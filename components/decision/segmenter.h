// The segmenters: Segmenter Single (type 12) outputs the index of the range its
// input falls in, Segmenter Multiple (13) raises the one output of that range.
#pragma once

#include <string>
#include <vector>

#include "components/decision/segmenter_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelSegmenter : public CNetworkModel {
  public:
    void GetInputValues() override;
    void ExportRuntime(CByteWriter& w) const override;

    const CSegmentation& Segmentation() const { return m_seg; }
    /// The property dialog's OK: the thresholds are sorted, those without an id
    /// (0) get fresh ones, and the segments (and a Segmenter Multiple's outputs)
    /// are rebuilt.
    void SetThresholds(std::vector<CThreshold> thresholds);
    /// Gives thresholds without an id a fresh one (a new component's first threshold).
    void GiveThresholdIds();

  protected:
    virtual void RebuildOutputs() {}
    /// The segment that holds the input value this cycle (-1 none); only
    /// meaningful while the first input is connected.
    int32_t LookupInput() const;

    CSegmentation m_seg;
};

class CModelSegmenterSingle : public CModelSegmenter {
  public:
    /// A new Segmenter Single starts with one threshold at 0.0.
    CModelSegmenterSingle();
    const char* ClassName() const override { return "CModelSegmenterSingle"; }
    /// Base part, then the thresholds (id, value); a load rebuilds the segments.
    void Serialize(CArchive& ar) override;
    void Execute() override;
};

class CModelSegmenterMultiple : public CModelSegmenter {
  public:
    const char* ClassName() const override { return "CModelSegmenterMultiple"; }
    /// Base part, then both lists with their links.
    void Serialize(CArchive& ar) override;
    void Execute() override;

  protected:
    void RebuildOutputs() override;
};

/// The label of segment output `index` of `seg`: "x <= %0.2f", "%0.2f < x <= %0.2f" or "%0.2f < x".
std::string SegmentLabel(const CSegmentation& seg, size_t index);

}  // namespace zor2
