// Runtime CSV data components: CSV Data Input plays the rows of the file its
// record names (once through: the record has no loop flag); CSV Data Output
// starts its file afresh at load and appends one line per cycle.
#pragma once

#include <string>
#include <vector>

#include "components/utility/csv_data_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelDataImport final : public CRNetworkModel {
  public:
    explicit CRModelDataImport(int32_t typeId) : CRNetworkModel(typeId) {}
    /// Base record, then path and file name (fixed fields); opens the file.
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    std::string m_path;
    CCsvPlayer m_player;
    bool m_enabled = true;
    std::vector<double> m_row;
    CRModelInput* m_on = nullptr;
    CRModelOutput* m_out[4] = {};           // outputs 10 … 40
    std::vector<CRModelOutput*> m_columns;  // output 100 + i of column i, or null
};

class CRModelLogBook final : public CRNetworkModel {
  public:
    explicit CRModelLogBook(int32_t typeId) : CRNetworkModel(typeId) {}
    /// Base record, then the path (a fixed field). The file is created with the
    /// header it had (when it names as many columns) or with "Input %d" names.
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    void Report(const std::string& why);

    std::string m_path;
    bool m_enabled = false;
    bool m_failed = false;  // reported once; nothing more is written
    int32_t m_lines = 0;
    std::vector<std::string> m_fields;
    CRModelInput* m_on = nullptr;
    std::vector<CRModelInput*> m_data;
    CRModelOutput* m_out[3] = {};  // outputs 10 … 30
};

}  // namespace zor2
