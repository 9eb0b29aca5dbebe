// The CSV data components: CSV Data Input (type 45) plays a file's rows onto its
// outputs, one row per cycle; CSV Data Output (44) appends one line per cycle.
#pragma once

#include <string>
#include <vector>

#include "components/utility/csv_data_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelDataImport : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelDataImport"; }
    /// Base part, then path, file name, enabled and loop; a load opens the file when enabled is set.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;
    std::string RuntimeExportRefusal() const override;
    /// The show-file-name flag, which the project record does not carry.
    bool UnsavedSettings(CArchive& ar) override;

    /// Opens `path`: its header names the column outputs (100, 101, …, made when
    /// missing). A path that names no file leaves the component without one.
    bool OpenFile(const std::string& path);
    /// The property dialog's OK with a new path: the outputs' connections and
    /// the column outputs go, then the file opens (or, for an empty path or one
    /// that names no file, the component forgets its file and path).
    void ChangeFile(const std::string& path);

    const std::string& Path() const { return m_path; }
    const std::string& FileName() const { return m_fileName; }
    const CCsvPlayer& Player() const { return m_player; }
    bool Enabled() const { return m_enabled; }
    bool Loop() const { return m_loop; }
    bool ShowFileName() const { return m_showName; }
    void SetLoop(bool loop) { m_loop = loop; }
    void SetShowFileName(bool show) { m_showName = show; }

  private:
    void Report(const std::string& line);

    std::string m_path;
    std::string m_fileName;
    bool m_enabled = true;
    bool m_loop = false;
    bool m_showName = true;
    CCsvPlayer m_player;
    std::vector<double> m_row;
};

class CModelLogBook : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelLogBook"; }
    /// Base part, then path and enabled.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    /// Creates the file anew with its header line.
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;
    std::string RuntimeExportRefusal() const override;

    const std::string& Path() const { return m_path; }
    /// The property dialog's OK: the new path, created with its header at once.
    void SetPath(const std::string& path);
    bool Enabled() const { return m_enabled; }
    int32_t DataItems() const { return m_dataItems; }
    int32_t LinesWritten() const { return m_lines; }

  private:
    void Report(const std::string& why);

    std::string m_path;
    bool m_enabled = false;
    int32_t m_dataItems = 0;
    int32_t m_lines = 0;
    std::vector<std::string> m_fields;  // the line of the cycle, reused
    bool m_reported = false;            // this run
};

/// The message that refuses to export a path longer than the runtime record's
/// fixed field, naming the component; empty when `path` fits.
std::string CsvPathRefusal(const CNetworkModel& component, const std::string& path);

}  // namespace zor2
