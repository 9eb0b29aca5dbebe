// The CSV dialect (splitting, joining, the three file modes, shape) and the
// import of system inputs and outputs with its failure rules.
#include <fstream>

#include "doc_fixture.h"
#include "persistence/csv_file.h"
#include "persistence/csv_import.h"
#include "persistence/project_file.h"
#include "support/alloc_counter.h"

namespace zor2::test {
namespace {

using Fields = std::vector<std::string>;

TEST(CsvDialect, SplitLine) {
    struct Case {
        const char* name;
        std::string line;
        Fields fields;
        std::string error;  // "column C: what" of a malformed line
    };
    const Case cases[] = {
        {"plain", "a,b,c", {"a", "b", "c"}, ""},
        {"empty line", "", {}, ""},
        {"empty middle field", "a,,b", {"a", "", "b"}, ""},
        {"trailing comma gives an empty last field", "a,", {"a", ""}, ""},
        {"two trailing commas", "a,,", {"a", "", ""}, ""},
        {"leading comma", ",a", {"", "a"}, ""},
        {"spaces belong to the field", " a , b ", {" a ", " b "}, ""},
        {"quoted with doubled quote and comma",
         "\"say \"\"hi\"\", you\",next",
         {"say \"hi\", you", "next"},
         ""},
        {"quote ending the line", "x,\"q\"", {"x", "q"}, ""},
        {"quoted empty field", "\"\",a", {"", "a"}, ""},
        {"text after a closing quote",
         "\"ab\"c,d",
         {},
         "column 5: text after a closing quote (a comma or the line's end must follow it)"},
        {"unclosed quote", "x,\"abc,def", {}, "column 3: a quoted field without its closing quote"},
        {"NUL byte", std::string("a,b\0c", 5), {}, "column 4: a NUL byte"},
        {"semicolons are not separators", "a;b;c", {"a;b;c"}, ""},
        {"tabs are not separators", "a\tb", {"a\tb"}, ""},
        {"quote inside an unquoted field", "a\"b,c", {"a\"b", "c"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fields fields{"stale"};
        std::string error;
        EXPECT_EQ(CCSVFile::SplitLine(c.line, fields, error), c.error.empty());
        EXPECT_EQ(fields, c.fields);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(CCSVFile::SplitLine(c.line), c.fields);
    }
}

TEST(CsvDialect, JoinLineQuotesOnlyWhatNeedsIt) {
    struct Case {
        Fields fields;
        std::string line;
    };
    const Case cases[] = {
        {{"a", "b,c", "say \"x\""}, "a,\"b,c\",\"say \"\"x\"\"\""},
        {{"", "plain"}, ",plain"},
        {{"last", ""}, "last,"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(CCSVFile::JoinLine(c.fields), c.line);
        EXPECT_EQ(CCSVFile::SplitLine(c.line), c.fields);
    }
}

TEST(CsvFile, WriteAppendReadAndShape) {
    CTempFile t("log.csv");
    {
        CCSVFile f;
        ASSERT_TRUE(f.Open(t.Path(), ECsvMode::Write));
        EXPECT_TRUE(f.WriteLine({"Tick Count", "a,b"}));
        EXPECT_TRUE(f.WriteLine({"1", "2"}));
        EXPECT_EQ(f.LineCounter(), 2);
    }
    {
        CCSVFile f;
        ASSERT_TRUE(f.Open(t.Path(), ECsvMode::Append));
        EXPECT_TRUE(f.WriteLine({"3", "4"}));
    }
    EXPECT_EQ(t.Read(), "Tick Count,\"a,b\"\n1,2\n3,4\n");
    CCSVFile f;
    ASSERT_TRUE(f.Open(t.Path(), ECsvMode::Read));
    int32_t lines = 0, fields = 0;
    ASSERT_TRUE(f.ReadShape(lines, fields));
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(fields, 2);
    Fields row;
    ASSERT_TRUE(f.ReadLine(row));  // back at the start after the shape
    EXPECT_EQ(row, (Fields{"Tick Count", "a,b"}));
    EXPECT_FALSE(f.WriteLine({"x"}));  // read mode does not write
    ASSERT_TRUE(f.ReadLine(row));
    ASSERT_TRUE(f.ReadLine(row));
    EXPECT_FALSE(f.ReadLine(row));
    EXPECT_EQ(f.LinesRead(), 3);
}

TEST(CsvFile, CrLfAndMissingLastLineEnd) {
    CTempFile t("crlf.csv", "a,b\r\n\r\nc");
    CCSVFile f;
    ASSERT_TRUE(f.Open(t.Path(), ECsvMode::Read));
    Fields row;
    ASSERT_TRUE(f.ReadLine(row));
    EXPECT_EQ(row, (Fields{"a", "b"}));
    ASSERT_TRUE(f.ReadLine(row));
    EXPECT_TRUE(row.empty());
    ASSERT_TRUE(f.ReadLine(row));
    EXPECT_EQ(row, Fields{"c"});
    EXPECT_FALSE(f.ReadLine(row));
}

TEST(CsvFile, AppendDoesNotCreateAndMissingFilesFailCleanly) {
    CTempFile t("present.csv");
    CCSVFile f;
    EXPECT_FALSE(f.Open(t.Sibling("absent.csv"), ECsvMode::Append));
    EXPECT_FALSE(f.Open(t.Sibling("absent.csv"), ECsvMode::Read));
    EXPECT_FALSE(f.Open(t.Sibling(""), ECsvMode::Read));  // the folder itself
    EXPECT_FALSE(f.Error().empty());
    EXPECT_FALSE(f.IsOpen());
    Fields row;
    EXPECT_FALSE(f.ReadLine(row));
}

TEST(CsvFile, ReadingRefusesWhatIsNotALineOfARegularFile) {
    CTempFile t("rule.csv");
    struct Case {
        const char* name;
        std::string path;
        std::string content;  // written to the file when the path is the temporary one
        std::vector<Fields> lines;
        std::string error;  // the end of Error(), empty when every line reads
    };
    const std::string longLine(kCsvMaxLineBytes + 1, 'x');
    const Case cases[] = {
        {"byte-order mark skipped",
         t.Path(),
         "\xEF\xBB\xBF"
         "a,b\nc\n",
         {{"a", "b"}, {"c"}},
         ""},
        {"malformed line named",
         t.Path(),
         "a\nb,\"c\n",
         {{"a"}},
         "line 2, column 3: a quoted field without its closing quote"},
        {"line longer than the limit", t.Path(), "a\n" + longLine, {{"a"}}, "line 2: longer than 16 MiB"},
        {"device", "/dev/zero", "", {}, "Cannot open /dev/zero: not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.path == t.Path()) {
            std::ofstream(c.path, std::ios::binary) << c.content;
        }
        CCSVFile f;
        std::vector<Fields> lines;
        if (f.Open(c.path, ECsvMode::Read)) {
            Fields row;
            while (f.ReadLine(row)) lines.push_back(row);
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(f.Failed() || !f.IsOpen(), !c.error.empty());
        const std::string& e = f.Error();
        EXPECT_TRUE(e.size() >= c.error.size() &&
                    e.compare(e.size() - c.error.size(), c.error.size(), c.error) == 0)
            << e;
    }
}

TEST(CsvFile, ReadingAOneLineFileTakesLittleMoreThanTheLine) {
    // 8 MB in one line of 1000-byte fields: the line and its fields, not a growing multiple of them.
    CTempFile t("wide.csv");
    const std::string field(999, '7');
    {
        std::ofstream out(t.Path(), std::ios::binary);
        for (int i = 0; i < 8000; ++i) out << field << ',';
        out << field << '\n';
    }
    const size_t size = 8001 * 1000;
    size_t fields = 0;
    const size_t peak = PeakBytesDuring([&] {
        CCSVFile f;
        ASSERT_TRUE(f.Open(t.Path(), ECsvMode::Read));
        Fields row;
        ASSERT_TRUE(f.ReadLine(row));
        fields = row.size();
    });
    EXPECT_EQ(fields, 8001u);
    EXPECT_LT(peak, 2 * size + (1 << 20));
}

TEST_F(DocTest, ImportInputsFindsCategoriesWithoutRegardToCase) {
    CTempFile t("in.csv", "Name,Category\nSpeed,Sensors\nTemp,sensors\nLift,\"Motors, main\"\n");
    m_link.m_sent.clear();
    const size_t levels = Levels();
    EXPECT_EQ(ImportSystemInputs(m_doc, t.Path()), ECmd::Done);
    EXPECT_EQ(Levels(), levels + 1);
    EXPECT_EQ(TopLine(), "Imported: 3 system inputs");
    EXPECT_EQ(Sys().Feedback().build.Line(1), "About to import CSV file: " + t.Path() + "\n");
    ASSERT_EQ(Sys().m_inputs.Size(), 3u);
    ASSERT_EQ(Sys().m_inputCategories.Size(), 3u);  // default, Sensors, "Motors, main"
    CExternalInputCategory* sensors = Sys().FindInputCategory("SENSORS");
    ASSERT_NE(sensors, nullptr);
    EXPECT_EQ(sensors->m_name, "Sensors");
    EXPECT_EQ(sensors->m_members.Size(), 2u);
    EXPECT_EQ(Sys().m_inputs.Head()->m_kind, 1);
    EXPECT_TRUE(Sys().m_inputCategories.Find(kDefaultCategoryId)->m_members.Empty());
    ASSERT_EQ(m_link.m_sent.size(), 1u);
    EXPECT_EQ(m_link.m_sent[0].first, 3);
}

TEST_F(DocTest, ImportCases) {
    struct Case {
        const char* name;
        std::string content;
        bool outputs;
        ECmd result;
        size_t ports;
        std::string message;  // what the user is told ("" for nothing)
    };
    const Case cases[] = {
        {"header only", "Name,Category\n", false, ECmd::Unavailable, 0, ""},
        {"short line stops, earlier ports stay", "h\nA,Cat\nB\nC,Cat\n", false, ECmd::Done, 1,
         "Import stopped at line 3 of %s: a line needs a name and a category separated by a comma. 1 system inputs were imported before it."},
        {"empty line stops", "h\n\nA,Cat\n", false, ECmd::Refused, 0,
         "Import stopped at line 2 of %s: a line needs a name and a category separated by a comma. 0 system inputs were imported before it."},
        {"semicolons are one field", "h\nA;Cat\n", true, ECmd::Refused, 0,
         "Import stopped at line 2 of %s: a line needs a name and a category separated by a comma. 0 system outputs were imported before it."},
        {"outputs", "h\nLamp,Lights,ignored\n", true, ECmd::Done, 1, ""},
        {"malformed line stops with its line and column", "h\nA,Cat\n\"B,Cat\n", false, ECmd::Done, 1,
         "Import stopped: %s line 3, column 1: a quoted field without its closing quote. 1 system inputs were imported before it."},
        {"empty category stops like a missing one", "h\nA,\n", false, ECmd::Refused, 0,
         "Import stopped at line 2 of %s: a line needs a name and a category separated by a comma. 0 system inputs were imported before it."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_doc.SetModified(false);
        ASSERT_TRUE(m_doc.NewProject());
        CTempFile t("import.csv", c.content);
        Answer({});
        const size_t levels = Levels();
        EXPECT_EQ(c.outputs ? ImportSystemOutputs(m_doc, t.Path()) : ImportSystemInputs(m_doc, t.Path()),
                  c.result);
        EXPECT_EQ(c.outputs ? Sys().m_outputs.Size() : Sys().m_inputs.Size(), c.ports);
        EXPECT_EQ(Levels(), levels + (c.ports > 0 ? 1 : 0));
        EXPECT_EQ(LastMessage(), c.message.empty() ? "" : Fmt(c.message.c_str(), t.Path().c_str()));
        if (c.ports > 0) {
            EXPECT_EQ(TopLine(), Fmt(c.outputs ? "Imported: %d system outputs" : "Imported: %d system inputs",
                                     static_cast<int>(c.ports)));
        }
    }
}

TEST(CsvImport, ManyPortsGetTheIdsOfTheRandomRule) {
    // The import keeps its free ids and categories by name; the result must be
    // what creating the ports one by one from the same draws gives.
    CTempFile t("many.csv");
    std::string text = "Name,Category\n";
    for (int i = 0; i < 4000; ++i) text += "p" + std::to_string(i) + ",C" + std::to_string(i % 97) + "\n";
    t.Write(text);
    for (const bool outputs : {false, true}) {
        SCOPED_TRACE(outputs ? "outputs" : "inputs");
        CLcgRandom importDraws(7), oneByOneDraws(7);
        CSystem imported, oneByOne;
        imported.SetRandom(&importDraws);
        oneByOne.SetRandom(&oneByOneDraws);
        const CCsvImportResult r =
            outputs ? ImportSystemOutputsCsv(imported, t.Path()) : ImportSystemInputsCsv(imported, t.Path());
        EXPECT_EQ(r.created, 4000);
        for (int i = 0; i < 4000; ++i) {
            const std::string name = "p" + std::to_string(i), category = "C" + std::to_string(i % 97);
            if (outputs) {
                CExternalOutputCategory* c = oneByOne.FindOutputCategory(category);
                if (!c) c = oneByOne.CreateOutputCategory(category);
                oneByOne.AssignCategory(*oneByOne.CreateSystemOutput(name, 1), *c);
            } else {
                CExternalInputCategory* c = oneByOne.FindInputCategory(category);
                if (!c) c = oneByOne.CreateInputCategory(category);
                oneByOne.AssignCategory(*oneByOne.CreateSystemInput(name, 1), *c);
            }
        }
        EXPECT_EQ(SaveProjectBytes(imported), SaveProjectBytes(oneByOne));
        imported.SetRandom(nullptr);
        oneByOne.SetRandom(nullptr);
    }
}

TEST_F(DocTest, ImportOfAMissingFileCreatesNothing) {
    CTempFile t("x.csv");
    const size_t levels = Levels();
    EXPECT_EQ(ImportSystemInputs(m_doc, t.Sibling("missing.csv")), ECmd::Refused);
    EXPECT_NE(LastMessage().find("Nothing was imported."), std::string::npos);
    EXPECT_TRUE(Sys().m_inputs.Empty());
    EXPECT_EQ(Levels(), levels);
    EXPECT_EQ(ImportSystemInputs(m_doc, ""), ECmd::Cancelled);  // the file dialog was cancelled
}

}  // namespace
}  // namespace zor2::test
