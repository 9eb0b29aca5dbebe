// Runtime signal sources, shaping and Signal Stats: the designer's computations
// over the shared kernels, with the frame lookup of the runtime's inputs.
#pragma once

#include "components/signals/signal_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

/// The frame reaching `in`: a component output's array (with
/// `arrayOutputsOnly`, only an output of data type "Array"), or through a module
/// input the array the host set on a system input or the array another
/// module's output carries. No frame without a connection.
CFrame RuntimeFrame(const CRModelInput* in, bool arrayOutputsOnly = false);
/// Sets `out`'s array value (data, count, minimum and maximum).
void PublishArray(CRModelOutput* out, const CArrayValue& value);
/// The output with this id, or null; for use at load time.
CRModelOutput* FindOutputAtLoad(CRNetworkModel& c, int32_t id);

class CRModelSignalGen final : public CRNetworkModel {
  public:
    explicit CRModelSignalGen(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    CSignalGenParams m_params;
    bool m_enabled = true;
    CSignalGenerator m_generator;
    CRModelInput* m_frequencyIn = nullptr;
    CRModelInput* m_rateIn = nullptr;
    CRModelInput* m_samplesIn = nullptr;
    CRModelOutput* m_out = nullptr;
};

/// The shaping components: the input phase computes the frame, Execute publishes it on output 10.
class CRModelSignalShaper : public CRNetworkModel {
  public:
    explicit CRModelSignalShaper(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  protected:
    /// Reads the type's fields after the base record.
    virtual void ReadFields(CByteReader& in) { (void)in; }
    /// Takes the parameters from their inputs and shapes `frame`.
    virtual void Shape(CFrame frame) = 0;

    CRModelInput* m_signal = nullptr;                         // input 10
    CRModelInput* m_params[3] = {nullptr, nullptr, nullptr};  // inputs 20, 30 and 40
    CRModelOutput* m_output = nullptr;
    CFrameBuffer m_out;
};

class CRModelSignalGain final : public CRModelSignalShaper {
  public:
    using CRModelSignalShaper::CRModelSignalShaper;

  private:
    void ReadFields(CByteReader& in) override { in.F64(m_gain); }
    void Shape(CFrame frame) override;
    double m_gain = kSignalGainDefault;
};

class CRModelSignalPreEmp final : public CRModelSignalShaper {
  public:
    using CRModelSignalShaper::CRModelSignalShaper;

  private:
    void ReadFields(CByteReader& in) override { in.F64(m_factor); }
    void Shape(CFrame frame) override;
    double m_factor = kPreEmphasisDefault;
};

class CRModelSignalDelay final : public CRModelSignalShaper {
  public:
    using CRModelSignalShaper::CRModelSignalShaper;

  private:
    void ReadFields(CByteReader& in) override { EchoFieldList(in, m_echo); }
    void Shape(CFrame frame) override;
    CEchoParams m_echo;
};

/// Signal Mixer: the sum of the frames on the first and the last input.
class CRModelSignalMixer : public CRModelSignalShaper {
  public:
    using CRModelSignalShaper::CRModelSignalShaper;
    int32_t GetInputValues() override;

  protected:
    virtual bool Multiplies() const { return false; }

  private:
    void Shape(CFrame) override {}
};

/// Signal Modulation: the mixer with a product instead of the sum.
class CRModelSignalModulate final : public CRModelSignalMixer {
  public:
    using CRModelSignalMixer::CRModelSignalMixer;

  private:
    bool Multiplies() const override { return true; }
};

class CRModelSignalWindow final : public CRModelSignalShaper {
  public:
    using CRModelSignalShaper::CRModelSignalShaper;

  private:
    void ReadFields(CByteReader& in) override { in.I32(m_type); }
    void Shape(CFrame frame) override;
    int32_t m_type = kWindowHanning;
    CSignalWindow m_window;
};

class CRModelSignalStats final : public CRNetworkModel {
  public:
    explicit CRModelSignalStats(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    CSignalStats m_stats;
};

}  // namespace zor2
