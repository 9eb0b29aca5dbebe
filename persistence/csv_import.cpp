// Import of system inputs and outputs from CSV files.
#include "persistence/csv_import.h"

#include <cstdio>
#include <vector>

#include "engine/system.h"
#include "persistence/csv_file.h"

namespace zor2 {

namespace {

template <class CreatePort>
CCsvImportResult Import(CSystem& system, const std::string& path, const char* resultFormat, const char* what,
                        CreatePort createPort) {
    CCsvImportResult result;
    system.BuildFeedback("About to import CSV file: " + path + "\n");
    CCSVFile file;
    if (!file.Open(path, ECsvMode::Read)) {
        result.message = file.Error() + ". Nothing was imported.";
        return result;
    }
    result.opened = true;
    std::vector<std::string> fields;
    int32_t lineNo = 1;
    if (file.ReadLine(fields)) {
        while (file.ReadLine(fields)) {
            ++lineNo;
            if (fields.size() < 2) {
                result.stopped = true;
                result.stopLine = lineNo;
                char text[512];
                std::snprintf(
                    text, sizeof text,
                    "Import stopped at line %d of %s: a line needs a name and a category separated by a comma. %d system %s were imported before it.",
                    lineNo, path.c_str(), result.created, what);
                result.message = text;
                break;
            }
            if (!createPort(fields[0], fields[1])) {
                result.stopped = true;
                result.stopLine = lineNo;
                result.message = "Import stopped at line " + std::to_string(lineNo) + " of " + path +
                                 ": no free identifier is left for a new system port or category.";
                break;
            }
            ++result.created;
        }
    }
    file.Close();
    if (result.created > 0) {
        char line[128];
        std::snprintf(line, sizeof line, resultFormat, result.created);
        system.RecordChange(line);
    }
    return result;
}

}  // namespace

CCsvImportResult ImportSystemInputsCsv(CSystem& system, const std::string& path) {
    return Import(system, path, "Imported: %d system inputs", "inputs",
                  [&system](const std::string& name, const std::string& categoryName) {
                      CExternalInputCategory* category = system.FindInputCategory(categoryName);
                      if (!category) category = system.CreateInputCategory(categoryName);
                      if (!category) return false;
                      CExternalInput* input = system.CreateSystemInput(name, 1);
                      if (!input) return false;
                      system.AssignCategory(*input, *category);
                      return true;
                  });
}

CCsvImportResult ImportSystemOutputsCsv(CSystem& system, const std::string& path) {
    return Import(system, path, "Imported: %d system outputs", "outputs",
                  [&system](const std::string& name, const std::string& categoryName) {
                      CExternalOutputCategory* category = system.FindOutputCategory(categoryName);
                      if (!category) category = system.CreateOutputCategory(categoryName);
                      if (!category) return false;
                      CExternalOutput* output = system.CreateSystemOutput(name, 1);
                      if (!output) return false;
                      system.AssignCategory(*output, *category);
                      return true;
                  });
}

}  // namespace zor2
