// Runtime equivalence: the designer engine and the runtime library run the same
// exported system side by side, cycle by cycle, compared bit for bit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor2 {

class CSystem;
class CInputTable;

struct CVerifyOptions {
    int64_t cycles = 100;
    uint32_t seed = 1;
    const CInputTable* inputs = nullptr;  // row k is applied before cycle k; none leaves inputs at 0
};

/// What a verification found.
struct CVerifyReport {
    enum class EResult { Equivalent, Different, NotRun };
    EResult result = EResult::NotRun;
    int64_t cycles = 0;      // cycles compared
    std::string difference;  // the first difference: cycle, output and both values
    std::string error;       // why it could not run
    /// Components whose runtime behaviour differs by definition, one line each.
    std::vector<std::string> listed;

    /// The report as the CLI prints it and the designer shows it.
    std::string Text() const;
};

class CNetworkModel;

/// A temporary folder, removed with everything in it when it goes.
class CScratchFolder {
  public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    explicit operator bool() const { return !m_path.empty(); }
    std::string File(const std::string& name) const;

  private:
    std::string m_path;
};

/// A copy of `project` to run in place of it: its CSV logs write into `folder`, so
/// nothing of the user's changes. Null with `error` set when it cannot be made.
std::unique_ptr<CSystem> ScratchCopy(CSystem& project, const CScratchFolder& folder, std::string& error);

/// One line on a component for the reports: "<name>" (<type>) in module "<module>": <why>.
std::string DescribeComponent(const CNetworkModel& c, const char* why);

/// The components of `system` whose runtime behaviour differs by definition:
/// designer-only and unexported types, documented differences, clock-driven types.
std::vector<std::string> RuntimeDifferences(const CSystem& system);

/// Exports a copy of `project` to a temporary runtime file, loads it into the
/// runtime library and runs both for `options.cycles` cycles from a reset, with
/// the same inputs and random seed and the system input behaviours off. The
/// project itself is not changed; the temporary file is removed.
CVerifyReport VerifyRuntime(CSystem& project, const CVerifyOptions& options);

}  // namespace zor2
