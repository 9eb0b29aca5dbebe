// The "Load Data Wizard" steps, navigation, preview and summary.
#include "designer/load_data_wizard.h"

#include <algorithm>
#include <cstdio>

namespace zor2 {

namespace {

struct CStepText {
    const char* title;
    const char* heading;
};

constexpr std::array<CStepText, 5> kSteps = {{
    {"New Project Wizard - Welcome", "Select the Data File"},
    {"New Project Wizard - Step 2", "Header Information"},
    {"New Project Wizard - Step 3", "Feature Vectors"},
    {"New Project Wizard - Step 4", "Feature Vectors"},
    {"New Project Wizard - Finish", "Finish"},
}};

bool TwoNameColumns(int32_t layout) {
    return layout == kLayoutClassThenVectorNames || layout == kLayoutClassThenValues;
}

}  // namespace

CLoadDataWizard::CLoadDataWizard() = default;

void CLoadDataWizard::Browse(const std::string& path) {
    m_result.fileChosen = false;
    if (path.empty()) {
        m_fileField = "no file provided";
        return;
    }
    auto file = std::make_unique<CCSVFile>();
    int32_t lines = 0, fields = 0;
    if (!file->Open(path, ECsvMode::Read) || !file->ReadShape(lines, fields)) {
        m_fileField = "file not valid";
        return;
    }
    m_result.fileChosen = true;
    m_result.path = path;
    const size_t slash = path.find_last_of("/\\");
    m_result.fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    m_result.fileTitle = m_result.fileName;
    if (const size_t dot = m_result.fileTitle.find_last_of('.'); dot != std::string::npos && dot > 0)
        m_result.fileTitle.erase(dot);
    m_result.lineCount = lines;
    m_result.fieldCount = fields;
    m_fileField = path;

    m_preview.clear();
    std::vector<std::string> row;
    for (int i = 0; i < kPreviewLines && file->ReadLine(row); ++i) {
        if (row.size() > static_cast<size_t>(kPreviewColumns)) row.resize(kPreviewColumns);
        m_preview.push_back(row);
    }
    file->Rewind();
    m_file = std::move(file);  // closes the file of an earlier Browse
    m_status = "Click the Next button to proceed...";
}

void CLoadDataWizard::SetHasHeaderRow(bool yes) {
    m_result.hasHeaderRow = yes;
}

void CLoadDataWizard::SetHeaderHoldsNames(bool names) {
    // The choice is offered only while the file has a header row.
    if (m_result.hasHeaderRow) m_result.headerHoldsNames = names;
}

void CLoadDataWizard::SetFirstColumn(int32_t layout) {
    if (layout >= kLayoutClassThenValues && layout <= kLayoutValues) m_result.layout = layout;
}

void CLoadDataWizard::SetSecondColumnVectorNames(bool vectorNames) {
    if (vectorNames) {
        m_result.layout = kLayoutClassThenVectorNames;
        m_result.secondColumnVectorNames = true;
    } else {
        m_result.layout = kLayoutClassThenValues;
    }
}

bool CLoadDataWizard::Next() {
    if (!CanNext()) return false;
    if (m_step == 3)
        m_step = TwoNameColumns(m_result.layout) ? 4 : 5;
    else
        ++m_step;
    return true;
}

bool CLoadDataWizard::Back() {
    if (!CanBack()) return false;
    if (m_step == 5)
        m_step = TwoNameColumns(m_result.layout) ? 4 : 3;
    else
        --m_step;
    return true;
}

bool CLoadDataWizard::Finish() {
    if (!CanFinish()) return false;
    m_finished = true;
    if (m_file) m_file->Rewind();
    return m_result.fileChosen;
}

void CLoadDataWizard::Cancel() {
    m_finished = false;
    m_file.reset();
}

const char* CLoadDataWizard::Title() const {
    return kSteps[static_cast<size_t>(m_step - 1)].title;
}
const char* CLoadDataWizard::Heading() const {
    return kSteps[static_cast<size_t>(m_step - 1)].heading;
}

std::string CLoadDataWizard::PreviewCaption() const {
    return "Preview of your CSV File: " +
           (m_result.fileChosen ? m_result.fileName : std::string("(none loaded yet)"));
}

// A file too small for its layout counts 0, never a negative number.
int32_t CLoadDataWizard::FeatureCount() const {
    const int32_t skip = m_result.layout == kLayoutClassThenVectorNames ? 2
                         : m_result.layout == kLayoutClassThenValues    ? 1
                                                                        : 0;
    return std::max(0, m_result.fieldCount - skip);
}

int32_t CLoadDataWizard::VectorCount() const {
    return std::max(0, m_result.hasHeaderRow ? m_result.lineCount - 1 : m_result.lineCount);
}

std::string CLoadDataWizard::SummaryText() const {
    char text[256];
    std::snprintf(
        text, sizeof text,
        "Finished. Your data file is ready to be loaded. About to import %d features and %d feature vectors. Click the Finish button below.",
        FeatureCount(), VectorCount());
    return text;
}

}  // namespace zor2
