// The CSV dialect (splitting, joining, the three file modes, shape) and the
// import of system inputs and outputs with its failure rules.
#include "doc_fixture.h"
#include "persistence/csv_file.h"
#include "persistence/csv_import.h"

namespace zor2::test {
namespace {

using Fields = std::vector<std::string>;

TEST(CsvDialect, SplitLine) {
    struct Case {
        const char* name;
        std::string line;
        Fields fields;
    };
    const Case cases[] = {
        {"plain", "a,b,c", {"a", "b", "c"}},
        {"empty line", "", {}},
        {"empty middle field", "a,,b", {"a", "", "b"}},
        {"trailing comma gives no empty field", "a,", {"a"}},
        {"two trailing commas", "a,,", {"a", ""}},
        {"leading comma", ",a", {"", "a"}},
        {"spaces belong to the field", " a , b ", {" a ", " b "}},
        {"quoted with doubled quote and comma", "\"say \"\"hi\"\", you\",next", {"say \"hi\", you", "next"}},
        {"quote ending the line", "x,\"q\"", {"x", "q"}},
        {"char after closing quote skipped", "\"ab\"c,d", {"ab", "", "d"}},
        {"unclosed quote runs to the end", "\"abc,def", {"abc,def"}},
        {"semicolons are not separators", "a;b;c", {"a;b;c"}},
        {"tabs are not separators", "a\tb", {"a\tb"}},
        {"quote inside an unquoted field", "a\"b,c", {"a\"b", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
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
        {{}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(CCSVFile::JoinLine(c.fields), c.line);
        if (!c.fields.empty() && !c.fields.back().empty()) {
            EXPECT_EQ(CCSVFile::SplitLine(c.line), c.fields);
        }
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
