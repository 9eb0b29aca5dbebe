// The signal sources and shaping components of the designer (Signal Generator,
// Gain, Mixer, Modulation, Pre-emphasis, Delay/Echo, Windowing) and Signal Stats,
// with the frame lookup every array-consuming component uses.
#pragma once

#include <string>
#include <vector>

#include "components/signals/signal_kernel.h"
#include "engine/component.h"

namespace zor2 {

/// The frame reaching `in`: a component output's array (with `arrayOutputsOnly`,
/// only an output of data type "Array"), or through a module input the array of
/// an array system input or of another module's output that carries one. No
/// frame without a connection.
CFrame DesignerFrame(const CModelInput* in, bool arrayOutputsOnly = false);
/// Sets `out`'s array value (data, count, minimum in the spare value, maximum in the held value).
void PublishArray(CModelOutput* out, const CArrayValue& value);

class CModelSignalGen : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelSignalGen"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;

    const CSignalGenParams& Params() const { return m_params; }
    /// The property dialog's OK: takes the settings and publishes the new frame at once.
    void SetParams(const CSignalGenParams& params);

  private:
    CSignalGenParams m_params;
    bool m_enabled = true;
    CSignalGenerator m_generator;
};

/// The shaping components compute their frame in the input phase; Execute
/// publishes it on output 10.
class CModelSignalShaper : public CNetworkModel {
  public:
    void Execute() override;
    const CArrayValue& Frame() const { return m_out.Value(); }

  protected:
    CFrameBuffer m_out;
};

class CModelSignalGain : public CModelSignalShaper {
  public:
    const char* ClassName() const override { return "CModelSignalGain"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void ExportRuntime(CByteWriter& w) const override;
    double Gain() const { return m_gain; }

  private:
    double m_gain = kSignalGainDefault;
};

class CModelSignalPreEmp : public CModelSignalShaper {
  public:
    const char* ClassName() const override { return "CModelSignalPreEmp"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void ExportRuntime(CByteWriter& w) const override;
    double Factor() const { return m_factor; }

  private:
    double m_factor = kPreEmphasisDefault;
};

class CModelSignalDelay : public CModelSignalShaper {
  public:
    const char* ClassName() const override { return "CModelSignalDelay"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void ExportRuntime(CByteWriter& w) const override;
    const CEchoParams& Params() const { return m_params; }

  private:
    CEchoParams m_params;
};

/// Signal Mixer: the sum of the frames on the first and the last input.
class CModelSignalMixer : public CModelSignalShaper {
  public:
    const char* ClassName() const override { return "CModelSignalMixer"; }
    void GetInputValues() override;

  protected:
    virtual bool Multiplies() const { return false; }
};

/// Signal Modulation: the mixer with a product instead of the sum.
class CModelSignalModulate : public CModelSignalMixer {
  public:
    const char* ClassName() const override { return "CModelSignalModulate"; }

  protected:
    bool Multiplies() const override { return true; }
};

class CModelSignalWindow : public CModelSignalShaper {
  public:
    const char* ClassName() const override { return "CModelSignalWindow"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void ExportRuntime(CByteWriter& w) const override;
    std::vector<std::string> HelperText() const override;

    int32_t WindowType() const { return m_type; }
    void SetWindowType(int32_t type) { m_type = type; }

  private:
    int32_t m_type = kWindowHanning;
    CSignalWindow m_window;
};

class CModelSignalStats : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelSignalStats"; }
    void GetInputValues() override;
    void Execute() override;

  private:
    CSignalStats m_stats;
};

}  // namespace zor2
