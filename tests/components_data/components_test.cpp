// The pattern, segmenter, CSV data, storage and LED components in a running
// designer system, and their property dialogs as sheets driven without a window.
#include <cerrno>

#include "components/decision/pattern.h"
#include "components/decision/segmenter.h"
#include "components/utility/csv_data.h"
#include "components/utility/display.h"
#include "components/utility/led_matrix.h"
#include "data_fixture.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"
#include "persistence/runtime_export.h"

namespace zor2::test {
namespace {

/// What a property dialog's buttons are answered with.
class CSheetHost final : public IPropertyHost {
  public:
    explicit CSheetHost(std::deque<EAnswer> answers = {}, std::string file = {})
        : m_prompter(std::move(answers)), m_file(std::move(file)) {}
    IPrompter& Prompter() override { return m_prompter; }
    std::string ChooseDataFile(const std::string& title, bool wizard) override {
        m_titles.push_back(title + (wizard ? " (wizard)" : ""));
        return m_file;
    }
    CScriptedPrompter m_prompter;
    std::string m_file;
    std::vector<std::string> m_titles;
};

/// OK of a dialog: the type's own apply, as the designer runs it on an edited sheet.
std::string Apply(CNetworkModel& c, const CPropertySheet& sheet) {
    EXPECT_TRUE(sheet.Edited());
    return PropertyProfile(c.m_typeId).apply(c, sheet);
}

/// Lines of "System Build Feedback" that hold `text`.
size_t BuildLines(const CSystem& s, const std::string& text) {
    size_t n = 0;
    for (const std::string& line : s.Feedback().build.Lines()) n += line.find(text) != std::string::npos;
    return n;
}

void Cycle(CSystem& s, int n = 1) {
    for (int i = 0; i < n; ++i) s.RunCycle();
}

TEST(PatternComponents, GeneratorDrivesPowersOfTwoOfTheChosenPattern) {
    CDataSystem d;
    auto* g = static_cast<CModelPatternGenerator*>(Drop(*d.module, kTypePatternGenerator));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(g->AddPatternOutput());
    g->SetPatterns({{0, 0b101, "five", 5}, {0, 0b010, "zero", 0}});
    CNetworkModel* enable = d.Constant(1);
    CNetworkModel* number = d.Constant(5);
    d.Wire(*enable, *g, 10);
    d.Wire(*number, *g, 20);
    struct Case {
        double enable, number;
        std::vector<double> outputs;
    };
    for (const Case& c :
         {Case{1, 5, {1, 0, 4}}, Case{1, 6, {0, 0, 0}}, Case{0, 5, {0, 2, 0}}, Case{1, 5.7, {1, 0, 4}}}) {
        SCOPED_TRACE(c.number);
        enable->m_value = c.enable;
        number->m_value = c.number;
        Cycle(d.system);
        std::vector<double> outputs;
        for (const CModelOutput* out : g->m_outputs) outputs.push_back(out->m_value);
        EXPECT_EQ(outputs, c.outputs);
    }
    for (const CPattern& p : g->Patterns()) EXPECT_GE(p.m_id, 1);
    EXPECT_EQ(g->m_outputs.Head()->m_name, "Output 0");
}

TEST(PatternComponents, GeneratorSheetAddsPatternsOutputsAndRefusesATakenNumber) {
    CDataSystem d;
    auto* g = static_cast<CModelPatternGenerator*>(Drop(*d.module, kTypePatternGenerator));
    CPropertySheet sheet = ReadComponentProperties(*g);
    CSheetHost host;
    for (const char* key : {"addOutput", "addOutput", "addPattern", "addPattern"})
        EXPECT_TRUE(sheet.Press(key, host));
    EXPECT_EQ(sheet.Find("patterns")->options,
              (std::vector<std::string>{"0: Pattern Name", "1: Pattern Name"}));
    EXPECT_EQ(sheet.Find("bits")->cells.size(), 2u);
    EXPECT_TRUE(sheet.SetCell("bits", 1, 1.0));  // the second pattern (selected) drives output 1
    EXPECT_TRUE(sheet.SetText("patternNumber", "0"));
    EXPECT_FALSE(sheet.Press("setNumber", host));
    EXPECT_EQ(
        host.m_prompter.m_messages.back(),
        "The trigger value [0] is already being used by another pattern [Pattern Name]. There can only be one pattern triggered by a single input value. Please try select another value.");
    EXPECT_EQ(sheet.Find("patternNumber")->text, "1");  // the old number again
    EXPECT_TRUE(sheet.SetText("patternNumber", "7"));
    EXPECT_TRUE(sheet.Press("setNumber", host));
    EXPECT_EQ(Apply(*g, sheet), "");
    ASSERT_EQ(g->Patterns().size(), 2u);
    EXPECT_EQ(g->Patterns()[1].m_number, 7);
    EXPECT_EQ(g->Patterns()[1].m_bits, 2u);
    EXPECT_EQ(g->m_outputs.Size(), 2u);
    EXPECT_EQ(g->m_outputs.Tail()->m_dataType, kDataOnOff);

    // 32 outputs at most; deleting all patterns asks first.
    CPropertySheet more = ReadComponentProperties(*g);
    for (int i = 0; i < 30; ++i) EXPECT_TRUE(more.Press("addOutput", host));
    EXPECT_FALSE(more.Press("addOutput", host));
    EXPECT_EQ(host.m_prompter.m_messages.back(),
              "Currently at the maximum of 32 outputs in the Pattern Generator Component.");
    CSheetHost no({EAnswer::No});
    EXPECT_FALSE(more.Press("deleteAll", no));
    EXPECT_EQ(
        no.m_prompter.m_questions.back(),
        "Are you sure you want to delete all current patterns? If so, the outputs will remain in place, just the patterns will be deleted.");
}

TEST(PatternComponents, AnalyzerImportsRegisteredPatternsAndIdentifiesInputs) {
    CDataSystem d;
    CTempDir dir;
    // Twelve data columns: column 10 must not become the enable input.
    const std::string path = dir.Write("patterns.csv",
                                       "Name,ID,A,B,C,D,E,F,G,H,I,J,K,L\n"
                                       "both,7,1,1,0,0,0,0,0,0,0,0,0,0\n"
                                       "first,8,1,0,0,0,0,0,0,0,0,0,0,0\n"
                                       "ninth,9,0,0,0,0,0,0,0,0,1,0,0,0\n"
                                       "short,10,1\n"
                                       "after,11,0,1,0,0,0,0,0,0,0,0,0,0\n");
    auto* a = static_cast<CModelPatternAnalyzer*>(Drop(*d.module, kTypePatternAnalyzer));
    CPropertySheet sheet = ReadComponentProperties(*a);
    CSheetHost cancel({EAnswer::Cancel}, path);
    EXPECT_FALSE(sheet.Press("import", cancel));
    CSheetHost host({EAnswer::Yes}, path);
    EXPECT_TRUE(sheet.Press("importWizard", host));
    EXPECT_EQ(host.m_titles, (std::vector<std::string>{"Open CSV file for Import (CSV) (wizard)"}));
    EXPECT_EQ(
        host.m_prompter.m_messages.back(),
        "Line 5 has 3 fields where the header has 14; the import stopped there.\nRead 3 Patterns from CSV file: " +
            path + "\n");
    EXPECT_EQ(Apply(*a, sheet), "");
    ASSERT_EQ(a->Analysis().m_registered.size(), 3u);
    EXPECT_EQ(a->Analysis().m_registered[2].m_bits, 1u << 8);
    ASSERT_EQ(a->m_inputs.Size(), 13u);
    EXPECT_EQ(a->FindInput(10)->m_name, "Read Inputs (enable)");
    EXPECT_EQ(a->FindInput(2)->m_name, "A");
    EXPECT_EQ(a->FindInput(11)->m_name, "I");  // column 10

    struct Case {
        const char* name;
        std::vector<std::pair<int32_t, double>> feeds;  // input id, value
        double identified, number;
    };
    const Case cases[] = {
        {"two inputs at 0.5 form bit set 3", {{2, 0.5}, {3, 0.5}}, 1, 7},
        {"the ninth data input", {{2, 0}, {11, 1}}, 1, 9},
        {"unregistered", {{2, 0}, {4, 1}}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDataSystem e;
        CNetworkModel* copy = e.module->CreateComponent(kTypePatternAnalyzer, 0, "copy", 0, 0);
        CArchive out;
        a->Serialize(out);
        CArchive in(out.Bytes().data(), out.Bytes().size());
        copy->Serialize(in);
        for (const auto& [id, v] : c.feeds) e.Wire(*e.Constant(v), *copy, id);
        Cycle(e.system);
        EXPECT_EQ(e.Out(*copy, 10), c.identified);
        EXPECT_EQ(e.Out(*copy, 20), c.number);
        EXPECT_EQ(e.Text(*copy, 20), c.identified ? std::to_string(static_cast<int>(c.number)) : "--");
    }
    // One connected data input: nothing happens, the outputs stay.
    CNetworkModel* one = d.Constant(1);
    d.Wire(*one, *a, 2);
    a->FindOutput(20)->m_value = 42;
    Cycle(d.system);
    EXPECT_EQ(a->FindOutput(20)->m_value, 42);
    EXPECT_TRUE(a->Analysis().m_analyzed.empty());
}

TEST(PatternComponents, RecorderLearnsEachCombinationOnce) {
    CDataSystem d;
    CNetworkModel* r = Drop(*d.module, kTypePatternRecorder);
    for (double v : {1.0, 0.0, 1.0}) d.Wire(*d.Constant(v), *r);
    d.system.ResetSystem();                             // wiring ran the module once
    EXPECT_EQ(r->m_inputs.Tail()->m_name, "Constant");  // named by the feeding output
    struct Step {
        double recorded, number, unique, total;
    };
    for (const Step& s : {Step{1, 0, 1, 1}, Step{0, 0, 1, 2}, Step{0, 0, 1, 3}}) {
        Cycle(d.system);
        EXPECT_EQ(d.Out(*r, 10), s.recorded);
        EXPECT_EQ(d.Out(*r, 20), s.number);
        EXPECT_EQ(d.Out(*r, 30), s.unique);
        EXPECT_EQ(d.Out(*r, 40), s.total);
        EXPECT_EQ(d.Out(*r, 50), 8);
    }
    r->ResetValues();
    EXPECT_EQ(static_cast<CModelPatternRecorder*>(r)->Recording().m_recorded.size(), 0u);
}

TEST(Segmenters, ThresholdDialogOrdersRangesAndRefusesWhatItCannotPlace) {
    CDataSystem d;
    auto* single = static_cast<CModelSegmenter*>(Drop(*d.module, kTypeSegmenterSingle));
    CPropertySheet sheet = ReadComponentProperties(*single);
    CSheetHost host({EAnswer::Yes});
    struct Step {
        const char* value;
        const char* button;
        bool changed;
        std::vector<std::string> thresholds;
    };
    const Step steps[] = {
        {"5", "add", true, {"0.00", "5.00"}},
        {"5.00005", "add", false, {"0.00", "5.00"}},  // within 0.0001 of 5
        {"2", "add", true, {"0.00", "2.00", "5.00"}},
        {"2000000000", "add", false, {"0.00", "2.00", "5.00"}},
        {"ten", "add", false, {"0.00", "2.00", "5.00"}},
        {"", "deleteAll", true, {}},
        {"10", "add", true, {"10.00"}},
        {"0", "add", true, {"0.00", "10.00"}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.button) + " " + s.value);
        sheet.SetText("value", s.value);
        EXPECT_EQ(sheet.Press(s.button, host), s.changed);
        EXPECT_EQ(sheet.Find("thresholds")->options, s.thresholds);
    }
    EXPECT_EQ(host.m_prompter.m_questions,
              (std::vector<std::string>{"Are you sure you want to delete all current thresholds?"}));
    EXPECT_NE(host.m_prompter.m_messages[0].find("at most 1000000000"), std::string::npos);
    EXPECT_EQ(Apply(*single, sheet), "");

    auto* multiple = static_cast<CModelSegmenter*>(Drop(*d.module, kTypeSegmenterMultiple));
    multiple->SetThresholds(single->Segmentation().m_thresholds);
    // Renaming alone keeps the range outputs and their connections.
    d.Wire(*multiple, *Drop(*d.module, 21));
    CPropertySheet rename = ReadComponentProperties(*multiple);
    rename.SetText("name", "ranges");
    EXPECT_EQ(Apply(*multiple, rename), "");
    EXPECT_EQ(multiple->CountConnectionsOut(), 1);
    std::vector<std::string> labels;
    for (const CModelOutput* out : multiple->m_outputs) labels.push_back(out->m_name);
    EXPECT_EQ(labels, (std::vector<std::string>{"x <= 0.00", "0.00 < x <= 10.00", "10.00 < x"}));
    EXPECT_EQ(multiple->m_maxOutputs, 3);
    CNetworkModel* x = d.Constant(0);
    d.Wire(*x, *single, 10);
    d.Wire(*x, *multiple, 10);
    struct Case {
        double x;
        double index;
        std::vector<double> hot;
    };
    const double nan = std::nan("");
    for (const Case& c : {Case{-3, 0, {1, 0, 0}}, Case{0, 0, {1, 0, 0}}, Case{0.5, 1, {0, 1, 0}},
                          Case{10, 1, {0, 1, 0}}, Case{10.01, 2, {0, 0, 1}}, Case{nan, -1, {0, 0, 0}}}) {
        SCOPED_TRACE(c.x);
        x->m_value = c.x;
        Cycle(d.system);
        EXPECT_EQ(d.Out(*single, 10), c.index);
        std::vector<double> hot;
        for (const CModelOutput* out : multiple->m_outputs) hot.push_back(out->m_value);
        EXPECT_EQ(hot, c.hot);
    }
    // Without thresholds there is no range: Single outputs -1, Multiple has no output.
    single->SetThresholds({});
    x->m_value = 1;
    Cycle(d.system);
    EXPECT_EQ(d.Out(*single, 10), -1);
}

TEST(CsvDataInput, PlaysTheFileRowByRowAndLoops) {
    CDataSystem d;
    CTempDir dir;
    const std::string path = dir.Write("in.csv", "speed,load\n1,10\n2,20\n3,30\n");
    auto* in = static_cast<CModelDataImport*>(Drop(*d.module, kTypeCsvInput));
    EXPECT_EQ(d.Text(*in, 40), "-");
    CPropertySheet sheet = ReadComponentProperties(*in);
    ASSERT_TRUE(sheet.SetText("path", path));
    EXPECT_EQ(Apply(*in, sheet), "");
    EXPECT_EQ(in->FindOutput(101)->m_name, "load");
    EXPECT_EQ(in->m_maxOutputs, 5);
    EXPECT_EQ(in->FileName(), "in.csv");
    struct Cycle {
        double enabled, row, speed;
    };
    auto run = [&](std::initializer_list<Cycle> cycles) {
        d.system.ResetSystem();
        for (const Cycle& c : cycles) {
            d.system.RunCycle();
            EXPECT_EQ(d.Out(*in, 10), c.enabled);
            EXPECT_EQ(d.Out(*in, 30), 4);
            EXPECT_EQ(d.Out(*in, 40), c.row);
            EXPECT_EQ(d.Out(*in, 100), c.speed);
        }
    };
    run({{1, 1, 1}, {1, 2, 2}, {1, 3, 3}, {0, 4, 3}, {0, 4, 3}});
    in->SetLoop(true);
    run({{1, 1, 1}, {1, 2, 2}, {1, 3, 3}, {0, 4, 3}, {1, 1, 1}});
    EXPECT_EQ(BuildLines(d.system, "cannot be opened"), 0u);

    // A path that names no file: the column outputs go with their connections.
    d.Wire(*in, *Drop(*d.module, 21));
    CPropertySheet gone = ReadComponentProperties(*in);
    ASSERT_TRUE(gone.SetText("path", dir.Path("nothing.csv")));
    Apply(*in, gone);
    EXPECT_EQ(in->m_outputs.Size(), 4u);
    EXPECT_EQ(in->CountConnectionsOut(), 0);
    EXPECT_EQ(in->Path(), "");
}

TEST(CsvDataInput, AFileThatDisappearsIsReportedOncePerRunAndReadsZero) {
    CDataSystem d;
    CTempDir dir;
    const std::string path = dir.Write("in.csv", "a\n5\n");
    auto* in = static_cast<CModelDataImport*>(Drop(*d.module, kTypeCsvInput));
    in->ChangeFile(path);
    // Saved and loaded after the file went away.
    CArchive out;
    in->Serialize(out);
    std::filesystem::remove(path);
    CDataSystem e;
    CNetworkModel* copy = e.module->CreateComponent(kTypeCsvInput, 0, "", 0, 0);
    CArchive back(out.Bytes().data(), out.Bytes().size());
    copy->Serialize(back);
    e.module->ComputeStages();
    for (int run = 1; run <= 2; ++run) {
        e.system.ResetSystem();
        Cycle(e.system, 3);
        EXPECT_EQ(BuildLines(e.system, "cannot be opened"), static_cast<size_t>(run));
        EXPECT_EQ(e.Out(*copy, 100), 0);
        EXPECT_EQ(e.Text(*copy, 40), "-");
    }
    EXPECT_NE(e.system.Feedback().build.Top().find("[M1 CSV Data Input]"), std::string::npos);
    // The file is back: the next run plays it.
    dir.Write("in.csv", "a\n5\n");
    e.system.ResetSystem();
    Cycle(e.system);
    EXPECT_EQ(e.Out(*copy, 100), 5);
}

TEST(CsvDataOutput, LogsAHeaderOfSourceNamesAndALinePerEnabledCycle) {
    CDataSystem d;
    CTempDir dir;
    auto* log = static_cast<CModelLogBook*>(Drop(*d.module, kTypeCsvOutput));
    EXPECT_EQ(log->Path(), "M1 C[ModuleID" + std::to_string(d.module->m_id) + "].csv");
    std::filesystem::remove(log->Path());
    log->SetPath(dir.Path("log.csv"));
    CNetworkModel* k = d.Constant(2.5);
    CNetworkModel* sum = Drop(*d.module, 21);
    d.Wire(*k, *sum);
    d.Wire(*k, *log);
    d.Wire(*sum, *log);
    CNetworkModel* on = d.Constant(1);
    d.Wire(*on, *log, 10);
    d.system.ResetSystem();
    Cycle(d.system, 2);
    on->m_value = 0;
    Cycle(d.system);
    EXPECT_EQ(dir.Read("log.csv"), "Tick Count,Constant,Result\n1,2.5,2.50\n2,2.5,2.50\n");
    EXPECT_EQ(d.Out(*log, 10), 0);
    EXPECT_EQ(d.Out(*log, 20), 2);
    EXPECT_EQ(d.Out(*log, 30), 2);

    // A file that cannot be written: reported once, nothing counted, no crash.
    log->SetPath(dir.Path("no/such/folder/log.csv"));
    on->m_value = 1;
    d.system.Feedback().build.Clear();
    d.system.ResetSystem();
    Cycle(d.system, 3);
    EXPECT_EQ(d.Out(*log, 30), 0);
    EXPECT_EQ(BuildLines(d.system, "nothing more is logged"), 1u);
}

TEST(CsvDataComponents, PathsLongerThanTheRuntimeFieldRefuseTheExport) {
    CDataSystem d;
    CTempDir dir;
    auto* log = static_cast<CModelLogBook*>(Drop(*d.module, kTypeCsvOutput));
    std::filesystem::remove(log->Path());
    log->SetPath(dir.Path(std::string(200, 'x') + ".csv"));
    EXPECT_EQ(RuntimeExportRefusal(d.system), "");
    log->SetPath(dir.Path(std::string(260, 'y') + ".csv"));
    const std::string why = RuntimeExportRefusal(d.system);
    EXPECT_NE(why.find(log->m_name), std::string::npos) << why;
    EXPECT_NE(why.find("[Data]"), std::string::npos) << why;
    EXPECT_EQ(ExportRuntimeFile(d.system, dir.Path("out.z2r")), EINVAL);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.z2r")));
}

TEST(DataValueStorage, StoresOnlyWhileRecordingIsConnectedAndOn) {
    CDataSystem d;
    CNetworkModel* store = Drop(*d.module, 67);
    CNetworkModel* value = d.Constant(4.5);
    d.Wire(*value, *store, 20);
    Cycle(d.system, 2);
    EXPECT_EQ(d.Out(*store, 50), 0);  // "Enable (record)" unconnected: never stores
    CNetworkModel* record = d.Constant(1);
    d.Wire(*record, *store, 10);
    Cycle(d.system);
    EXPECT_EQ(d.Out(*store, 10), 4.5);
    EXPECT_EQ(d.Out(*store, 20), d.system.m_cycleCount - 1);  // the count during the cycle
    EXPECT_EQ(d.Out(*store, 50), 1);
    record->m_value = 0;
    value->m_value = 9;
    Cycle(d.system);
    EXPECT_EQ(d.Out(*store, 10), 4.5);  // kept while not recording
    CNetworkModel* reset = d.Constant(1);
    d.Wire(*reset, *store, 30);
    Cycle(d.system);
    EXPECT_EQ(d.Out(*store, 50), 0);
    EXPECT_EQ(d.Text(*store, 10), "-");
}

TEST(LedComponents, ControllerFeedsTheDisplayAndTheDisplayShifts) {
    CDataSystem d;
    auto* controller = static_cast<CModel8x8Controller*>(Drop(*d.module, kType8x8Controller));
    auto* display = static_cast<CModel8x8Display*>(Drop(*d.module, kType8x8Display));
    CPattern64Bit picture{0, 3, "diagonal"};
    for (int i = 0; i < 8; ++i) picture.m_cells[static_cast<size_t>(i * 9)] = 2;
    controller->SetPatterns({picture});
    CNetworkModel* number = d.Constant(3);
    CNetworkModel* shift = d.Constant(0);
    d.Wire(*number, *controller, 20);
    EXPECT_EQ(
        d.module->RequestConnect(*controller, controller->FirstOutput(), *display, display->FindInput(20)),
        0);
    d.Wire(*shift, *display, 30);
    struct Case {
        double number, shiftX;
        std::vector<std::pair<int, double>> cells;
    };
    for (const Case& c : {Case{3, 0, {{0, 2}, {9, 2}, {1, 0}}},
                          Case{3, 1, {{0, 0}, {8, 2}, {7, kLedOutside}}}, Case{4, 0, {{0, 0}, {9, 0}}}}) {
        SCOPED_TRACE(c.number * 10 + c.shiftX);
        number->m_value = c.number;
        shift->m_value = c.shiftX;
        Cycle(d.system);
        EXPECT_EQ(controller->FirstOutput()->m_arrayCount, 64);
        for (const auto& [index, code] : c.cells)
            EXPECT_EQ(display->Cells()[static_cast<size_t>(index)], code);
    }
    EXPECT_EQ(display->FindInput(20)->ValueString(), "Received");
    // The size setting sizes the box.
    for (const auto& [size, side] :
         {std::pair{0, 178}, std::pair{1, 130}, std::pair{2, 94}, std::pair{7, 194}}) {
        display->SetLook(0x102030, size);
        EXPECT_EQ(display->m_box.right - display->m_box.left, side);
    }
}

TEST(Displays, ChartLimitsAreCheckedInOrder) {
    CModelChartColumn chart;
    struct Case {
        int32_t low, high;
        const char* refusal;
    };
    const Case cases[] = {
        {50, 40,
         "Invalid threshold values. The high must be greater than the low. Please correct this or choose Cancel."},
        {-5, 40,
         "Invalid threshold values. The low must be equal to or greater than 0 (zero). Please correct this or choose Cancel."},
        {5, 101,
         "Invalid threshold values. The high must be equal to or less than 100. Please correct this or choose Cancel."},
        {30, 30, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusal);
        EXPECT_EQ(chart.SetLimits(c.low, c.high, {1, 2, 3}), c.refusal);
    }
    EXPECT_EQ(chart.Low(), 30);
    EXPECT_EQ(ChartZone(29.9, 30, 60), 0);
    EXPECT_EQ(ChartZone(30, 30, 60), 1);
    EXPECT_EQ(ChartZone(60, 30, 60), 2);
}

}  // namespace
}  // namespace zor2::test
