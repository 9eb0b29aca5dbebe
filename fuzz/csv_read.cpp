// Fuzz target: CSV bytes read through the system's one CSV rule, as a data
// file of the designer and as the inputs table of the run tools. A line that
// reads must join and split back to the same fields.
#include <cstdint>
#include <cstdlib>

#include "algo/csv.h"
#include "fuzz/fuzz_file.h"
#include "persistence/csv_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zor2;
    const std::string& path = fuzz::WriteScratch(data, size, ".csv");
    CCSVFile file;
    if (file.Open(path, ECsvMode::Read)) {
        int32_t lines = 0, fields = 0;
        file.ReadShape(lines, fields);
        std::vector<std::string> row, again;
        std::string error;
        while (file.ReadLine(row)) {
            double number = 0.0;
            for (const std::string& f : row) ParseCsvNumber(f, number);
            // One empty field joins to an empty line, which reads as none.
            if (row.size() == 1 && row[0].empty()) continue;
            if (!CCSVFile::SplitLine(CCSVFile::JoinLine(row), again, error) || again != row) std::abort();
        }
    }
    CInputTable table;
    std::string error;
    if (table.Read(path, error)) {
        for (size_t k = 0; k < table.Rows(); ++k) table.Apply(k, [](int32_t, double) {});
    }
    return 0;
}
