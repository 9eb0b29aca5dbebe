// Import of system inputs and outputs from CSV files.
#include "persistence/csv_import.h"

#include <cstdio>
#include <unordered_map>
#include <vector>

#include "engine/system.h"
#include "persistence/csv_file.h"

namespace zor2 {

namespace {

/// A category name as the import compares it: without regard to (ASCII) case.
std::string FoldCase(const std::string& name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

/// One import of ports of one kind. The free ids and the categories by name are
/// kept while it runs, so that a line costs the same however many came before.
template <class Port, class Category>
class CPortImport {
  public:
    using AddPort = Port* (CSystem::*)(const std::string&, int32_t, CFreeIds&, Category&);
    using AddCategory = Category* (CSystem::*)(const std::string&, CFreeIds&);

    CPortImport(CSystem& system, CObList<Port>& ports, CObList<Category>& categories, AddPort addPort,
                AddCategory addCategory)
        : m_system(system),
          m_portIds(ports),
          m_categoryIds(categories),
          m_addPort(addPort),
          m_addCategory(addCategory) {
        // The first of equal names wins, as FindInputCategory finds it.
        for (Category* c : categories) m_byName.emplace(FoldCase(c->m_name), c);
    }

    /// Creates the port named `name` in the category named `categoryName`.
    bool Add(const std::string& name, const std::string& categoryName) {
        const std::string key = FoldCase(categoryName);
        auto it = m_byName.find(key);
        Category* category = it != m_byName.end() ? it->second : nullptr;
        if (!category) {
            category = (m_system.*m_addCategory)(categoryName, m_categoryIds);
            if (!category) return false;
            m_byName.emplace(key, category);
        }
        return (m_system.*m_addPort)(name, 1, m_portIds, *category) != nullptr;
    }

  private:
    CSystem& m_system;
    CFreeIds m_portIds;
    CFreeIds m_categoryIds;
    AddPort m_addPort;
    AddCategory m_addCategory;
    std::unordered_map<std::string, Category*> m_byName;
};

template <class Importer>
CCsvImportResult Import(CSystem& system, const std::string& path, const char* resultFormat, const char* what,
                        Importer& importer) {
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
    auto stop = [&](const std::string& why) {
        result.stopped = true;
        result.stopLine = lineNo;
        result.message = why;
    };
    if (file.ReadLine(fields)) {
        while (file.ReadLine(fields)) {
            ++lineNo;
            // A line without a category (an empty second field included) stops
            // the import, as one without a second field does.
            if (fields.size() < 2 || fields[1].empty()) {
                char text[512];
                std::snprintf(
                    text, sizeof text,
                    "Import stopped at line %d of %s: a line needs a name and a category separated by a comma. %d system %s were imported before it.",
                    lineNo, path.c_str(), result.created, what);
                stop(text);
                break;
            }
            if (!importer.Add(fields[0], fields[1])) {
                stop("Import stopped at line " + std::to_string(lineNo) + " of " + path +
                     ": no free identifier is left for a new system port or category.");
                break;
            }
            ++result.created;
        }
    }
    if (file.Failed()) {
        lineNo = file.LinesRead() + 1;
        stop("Import stopped: " + file.Error() + ". " + std::to_string(result.created) + " system " + what +
             " were imported before it.");
    }
    file.Close();
    if (result.created > 0) {
        system.ComputeLevels();
        char line[128];
        std::snprintf(line, sizeof line, resultFormat, result.created);
        system.RecordChange(line);
    }
    return result;
}

}  // namespace

CCsvImportResult ImportSystemInputsCsv(CSystem& system, const std::string& path) {
    CPortImport<CExternalInput, CExternalInputCategory> importer(
        system, system.m_inputs, system.m_inputCategories, &CSystem::AddSystemInput,
        &CSystem::AddInputCategory);
    return Import(system, path, "Imported: %d system inputs", "inputs", importer);
}

CCsvImportResult ImportSystemOutputsCsv(CSystem& system, const std::string& path) {
    CPortImport<CExternalOutput, CExternalOutputCategory> importer(
        system, system.m_outputs, system.m_outputCategories, &CSystem::AddSystemOutput,
        &CSystem::AddOutputCategory);
    return Import(system, path, "Imported: %d system outputs", "outputs", importer);
}

}  // namespace zor2
