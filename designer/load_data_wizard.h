// CLoadDataWizard: the "Load Data Wizard" without its window: the five steps,
// the Back/Next/Finish navigation, the file preview and the summary that the
// neural-network importers read as the wizard's result.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "persistence/csv_file.h"

namespace zor2 {

/// Layout codes of the data file.
inline constexpr int32_t kLayoutClassThenVectorNames = 0;  // first column class names, second vector names
inline constexpr int32_t kLayoutClassThenValues = 1;       // first column class names, second feature values
inline constexpr int32_t kLayoutVectorNames = 2;           // first column vector names
inline constexpr int32_t kLayoutValues = 3;                // first column feature values

/// What the wizard hands to its caller.
struct CWizardResult {
    bool fileChosen = false;
    bool hasHeaderRow = true;
    bool headerHoldsNames = true;  // "Feature Names" (true) or "Feature ID's" (false)
    bool noNameColumn = false;     // never changed by the wizard
    bool secondColumnVectorNames = false;
    int32_t layout = kLayoutClassThenValues;
    std::string path, fileName, fileTitle;
    int32_t lineCount = 0;
    int32_t fieldCount = 0;
};

class CLoadDataWizard {
  public:
    static constexpr int kPreviewLines = 9;
    static constexpr int kPreviewColumns = 10;

    CLoadDataWizard();

    // --- step 1 ---------------------------------------------------------------
    /// Browse: clears the file-chosen flag; an empty `path` is the cancelled
    /// file dialog ("no file provided"), a path that names no readable file shows
    /// "file not valid"; an existing file is opened, measured and previewed.
    void Browse(const std::string& path);
    /// The text field beside "Import File:".
    const std::string& FileField() const { return m_fileField; }
    /// The read-only status line.
    const std::string& Status() const { return m_status; }

    // --- answers of steps 2 to 4 ---------------------------------------------
    void SetHasHeaderRow(bool yes);
    void SetHeaderHoldsNames(bool names);
    /// Step 3: 1 "Names of Profiles / Classes", 2 "Names of Feature Vectors",
    /// 3 "First column of Feature Values".
    void SetFirstColumn(int32_t layout);
    /// Step 4: true "Names of Feature Vectors" (code 0), false "First column of
    /// Feature Values" (code 1).
    void SetSecondColumnVectorNames(bool vectorNames);

    // --- navigation -------------------------------------------------------------
    int Step() const { return m_step; }
    bool CanBack() const { return m_step > 1; }
    bool CanNext() const { return m_step < 5 && (m_step != 1 || m_result.fileChosen); }
    bool CanFinish() const { return m_step == 5; }
    /// "Next >" / "< Back": false (nothing changes) when the button is disabled.
    bool Next();
    bool Back();
    /// "Finish": true when the dialog ends with a result the caller may use.
    bool Finish();
    /// "Cancel": the caller does nothing; the file is closed.
    void Cancel();
    bool Finished() const { return m_finished; }

    // --- what the window shows -----------------------------------------------
    /// The window title and the heading of the current step.
    const char* Title() const;
    const char* Heading() const;
    /// "Preview of your CSV File: %s" or "Preview of your CSV File: (none loaded yet)".
    std::string PreviewCaption() const;
    /// The preview grid: the first nine lines, each with up to ten fields.
    const std::vector<std::vector<std::string>>& Preview() const { return m_preview; }
    /// Step 5: "Finished. Your data file is ready to be loaded. About to import
    /// %d features and %d feature vectors. Click the Finish button below."
    std::string SummaryText() const;
    int32_t FeatureCount() const;
    int32_t VectorCount() const;

    const CWizardResult& Result() const { return m_result; }
    /// The chosen file, open for reading at its start (null when none).
    CCSVFile* DataFile() const { return m_file.get(); }

  private:
    int m_step = 1;
    bool m_finished = false;
    CWizardResult m_result;
    std::unique_ptr<CCSVFile> m_file;
    std::string m_fileField;
    std::string m_status = "Click the Browse button to select file...";
    std::vector<std::vector<std::string>> m_preview;
};

}  // namespace zor2
