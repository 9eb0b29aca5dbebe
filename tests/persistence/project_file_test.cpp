// Project file: exact bytes of an empty project, byte-identical round trips,
// references after loading, and damaged files that must change nothing.
#include "persistence/project_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/catalogue.h"
#include "engine/system.h"
#include "persistence/archive.h"
#include "persistence/module_file.h"
#include "support/alloc_counter.h"
#include "support/sample_project.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void AppendI32(Bytes& b, int32_t v) {
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k)));
}
void AppendStr(Bytes& b, const std::string& ascii) {
    b.insert(b.end(), {0xFF, 0xFE, 0xFF, static_cast<uint8_t>(ascii.size())});
    for (char c : ascii) b.insert(b.end(), {static_cast<uint8_t>(c), 0});
}

/// Offset of a run of int32 values in `bytes`, or npos.
size_t FindI32s(const Bytes& bytes, std::initializer_list<int32_t> values) {
    Bytes pattern;
    for (int32_t v : values) AppendI32(pattern, v);
    auto it = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
    return it == bytes.end() ? std::string::npos : static_cast<size_t>(it - bytes.begin());
}
void PutI32(Bytes& bytes, size_t at, int32_t v) {
    for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k));
}

Bytes SampleBytes() {
    CSystem s;
    test::BuildSampleProject(s);
    return SaveProjectBytes(s);
}

/// A small project different from the sample, standing for the user's open document.
void BuildOpenDocument(CSystem& s) {
    s.NewProject();
    s.m_name = "My work";
    CNetwork* m = s.CreateModule("Only", 10, 10);
    CNetworkModel* k = test::DropConstant(*m, 7.0);
    test::ExposeOutput(*m, *k, "seven");
    s.CreateSystemInput("In", 1);
}

TEST(ProjectFile, EmptyProjectHasExactBytes) {
    CSystem s;
    Bytes expected;
    AppendI32(expected, 0);
    AppendStr(expected, "Untitled");
    AppendStr(expected, "");
    AppendStr(expected, "");
    for (int32_t v : {0, 100, 60, 0, 0, 0, 1, 1, 0xFFF8F8, 0xEAEAEA, 0xC80000}) AppendI32(expected, v);
    expected.push_back(1);  // behaviours enabled
    AppendI32(expected, 0);
    AppendI32(expected, 0);
    for (int k = 0; k < 2; ++k) {  // the default input and output categories
        AppendI32(expected, 100);
        AppendStr(expected, "Default Category");
        AppendStr(expected, "");
        AppendI32(expected, 0xEAEAEA);
        expected.push_back(0);
        expected.push_back(1);
    }
    AppendI32(expected, 0);  // events
    AppendI32(expected, 0);  // chart manager setting
    AppendI32(expected, 0);  // charts
    AppendI32(expected, 0);  // behaviours
    AppendI32(expected, 0);  // graphics
    AppendI32(expected, 0);  // value windows
    EXPECT_EQ(SaveProjectBytes(s), expected);

    CSystem loaded;
    ASSERT_TRUE(LoadProjectBytes(loaded, expected));
    EXPECT_EQ(SaveProjectBytes(loaded), expected);
}

TEST(ProjectFile, SampleRoundTripIsByteIdentical) {
    const Bytes first = SampleBytes();
    CSystem loaded;
    const CFileResult r = LoadProjectBytes(loaded, first);
    ASSERT_TRUE(r) << r.message;
    const Bytes second = SaveProjectBytes(loaded);
    EXPECT_EQ(second, first);
    // Loading over a document that already holds a project gives the same.
    CSystem reused;
    BuildOpenDocument(reused);
    ASSERT_TRUE(LoadProjectBytes(reused, second));
    EXPECT_EQ(SaveProjectBytes(reused), first);
}

TEST(ProjectFile, EveryComponentTypeRoundTripsInItsOwnClass) {
    for (const CComponentType* type : RegisteredComponentTypes()) {
        SCOPED_TRACE(type->typeId);
        CSystem s;
        CNetwork* m = s.CreateModule("types", 0, 0);
        CNetworkModel* c = test::Drop(*m, type->typeId);
        ASSERT_NE(c, nullptr);
        const std::string className = c->ClassName();
        const Bytes first = SaveProjectBytes(s);
        CSystem loaded;
        const CFileResult r = LoadProjectBytes(loaded, first);
        ASSERT_TRUE(r) << r.message;
        ASSERT_EQ(loaded.m_modules.Size(), 1u);
        CNetworkModel* back = loaded.m_modules.Head()->m_components.Head();
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->ClassName(), className);
        EXPECT_EQ(back->m_owner, loaded.m_modules.Head());
        EXPECT_EQ(SaveProjectBytes(loaded), first);
    }
}

TEST(ProjectFile, LoadRebuildsReferencesFromIds) {
    CSystem original;
    test::BuildSampleProject(original);
    CSystem s;
    ASSERT_TRUE(LoadProjectBytes(s, SaveProjectBytes(original)));

    ASSERT_EQ(s.m_modules.Size(), 2u);
    CNetwork* a = s.m_modules.At(0);
    CNetwork* b = s.m_modules.At(1);
    EXPECT_EQ(a->m_id, original.m_modules.At(0)->m_id);
    EXPECT_EQ(a->m_owner, &s);
    EXPECT_EQ(s.m_modulesByCreation.Size(), 2u);
    // Levels and stages are recomputed, not read.
    EXPECT_EQ(a->m_level, 1);
    EXPECT_EQ(b->m_level, 2);
    for (CNetworkModel* c : a->m_components) {
        const CNetworkModel* o = original.m_modules.At(0)->FindComponent(c->m_id);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(c->m_stage, o->m_stage) << c->m_name;
        for (CModelInput* in : c->m_inputs) {
            SCOPED_TRACE(c->m_name + " / " + in->m_name);
            EXPECT_EQ(in->m_owner, c);
            ASSERT_EQ(in->HasSource(), o->FindInput(in->m_id)->HasSource());
            if (!in->HasSource()) continue;
            EXPECT_EQ(in->m_sourceConnection->m_dstInput, in);
            EXPECT_EQ(in->m_sourceConnectionId, in->m_sourceConnection->m_id);
            EXPECT_EQ(in->m_sourceKind, o->FindInput(in->m_id)->m_sourceKind);
        }
    }
    // Module connection, system input and system output links.
    CNetworkInput* bIn = b->m_inputs.Head();
    ASSERT_NE(bIn->m_sourceNetConnection, nullptr);
    EXPECT_EQ(bIn->m_sourceNetConnection->m_srcModule, a);
    EXPECT_EQ(bIn->m_sourceKind, kSourceModuleOutput);
    CExternalInput* gain = s.m_inputs.Head();
    // The value saved (moved by the behaviours of three cycles) is the new start.
    EXPECT_EQ(gain->m_initialValue, original.m_inputs.Head()->m_value);
    ASSERT_EQ(gain->m_connections.Size(), 1u);
    EXPECT_EQ(gain->m_connections.Head()->m_moduleInput->m_sourceExtConnection, gain->m_connections.Head());
    EXPECT_EQ(s.m_outputs.Head()->SourceOutput(), b->m_outputs.Head());
    // Categories are those saved, with their members.
    ASSERT_EQ(s.m_inputCategories.Size(), 2u);
    EXPECT_EQ(s.m_inputCategories.At(1)->m_name, "Sensors");
    EXPECT_TRUE(s.m_inputCategories.At(1)->m_members.Contains(s.m_inputs.At(1)));
    EXPECT_TRUE(s.m_inputCategories.At(0)->m_members.Contains(gain));
    EXPECT_TRUE(s.m_outputCategories.At(1)->m_members.Contains(s.m_outputs.At(1)));
    // Manager records find what they name; a dangling chart stays unresolved.
    EXPECT_TRUE(s.m_charts.m_charts.At(0)->Resolved());
    EXPECT_FALSE(s.m_charts.m_charts.At(1)->Resolved());
    EXPECT_EQ(s.m_behaviors.m_behaviors.Head()->m_target, gain);
    EXPECT_TRUE(s.m_valueWindows.m_windows.Head()->Resolved());
    const CGraphic* g = s.m_graphics.m_graphics.Head();
    EXPECT_GT(g->CountHeld(*a), 0);
    for (CNetworkModel* c : a->m_components) EXPECT_EQ(c->m_graphic != nullptr, c->m_graphicId == g->m_id);
    EXPECT_EQ(s.m_events.m_events.Head()->m_text, "the run begins");

    // Both systems compute the same from here.
    original.m_inputs.Head()->m_initialValue = gain->m_initialValue;
    original.ResetSystem();
    s.ResetSystem();
    for (int i = 0; i < 4; ++i) {
        original.RunCycle();
        s.RunCycle();
    }
    EXPECT_EQ(s.m_outputs.Head()->m_value, original.m_outputs.Head()->m_value);
    EXPECT_NE(s.m_outputs.Head()->m_value, 0.0);
}

TEST(ProjectFile, TruncatedAtEveryOffsetFailsAndKeepsTheOpenDocument) {
    const Bytes sample = SampleBytes();
    CSystem doc;
    BuildOpenDocument(doc);
    const Bytes before = SaveProjectBytes(doc);
    CNetwork* const openModule = doc.m_modules.Head();
    for (size_t n = 0; n < sample.size(); ++n) {
        const CFileResult r = LoadProjectBytes(doc, sample.data(), n);
        ASSERT_FALSE(r) << "cut at " << n;
        // A file cut short says where it ends, not which count it could not hold.
        ASSERT_EQ(r.message.find("impossible"), std::string::npos) << r.message;
        ASSERT_EQ(r.message.rfind("the file ends early (at byte " + std::to_string(n) + "; it needs ", 0), 0u)
            << r.message;
        ASSERT_LE(r.offset, n);
        ASSERT_EQ(doc.m_modules.Head(), openModule) << "cut at " << n;
    }
    EXPECT_EQ(SaveProjectBytes(doc), before);
    EXPECT_EQ(doc.m_name, "My work");
}

TEST(ProjectFile, DamagedFilesStopWithAClearErrorAndChangeNothing) {
    CSystem built;
    built.NewProject();
    CNetwork* m = built.CreateModule("M", 0, 0);
    CNetworkModel* k = test::DropConstant(*m, 1.0);
    CNetworkModel* neg = test::Drop(*m, 88);
    CNetworkInput* port = m->CreateInput("p");
    ASSERT_EQ(m->RequestConnectModuleInput(*port, *neg, neg->FirstInput()), 0);
    const Bytes good = SaveProjectBytes(built);
    const size_t headerAt = FindI32s(good, {k->m_id, 41});
    ASSERT_NE(headerAt, std::string::npos);
    const CModelConnection* portConnection = port->m_connections.Head();
    const size_t kindAt = FindI32s(good, {portConnection->m_id, 0, neg->m_id, 0, neg->FirstInput()->m_id,
                                          port->m_id, kSourceModuleInput}) +
                          24;
    ASSERT_LT(kindAt, good.size());
    constexpr size_t kModuleCountAt = 4 + (4 + 16) + 4 + 4;

    struct Case {
        const char* name;
        size_t at;
        int32_t value;
        std::string expectedText;
        size_t expectedOffset;
    };
    const Case cases[] = {
        {"unknown type", headerAt + 4, 60,
         "unknown component type id 60 at byte offset " + std::to_string(headerAt + 4), headerAt + 4},
        {"type not matching its record", headerAt + 4, 21, "stands under a header of type 21", headerAt},
        {"impossible module count", kModuleCountAt, 1000000, "impossible module count 1000000",
         kModuleCountAt},
        {"negative module count", kModuleCountAt, -1, "impossible module count -1", kModuleCountAt},
        {"module input feeding as a component", kindAt, kSourceComponent, "holds a connection of kind 3", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bad = good;
        PutI32(bad, c.at, c.value);
        CSystem doc;
        BuildOpenDocument(doc);
        const Bytes before = SaveProjectBytes(doc);
        const CFileResult r = LoadProjectBytes(doc, bad);
        EXPECT_FALSE(r);
        EXPECT_NE(r.message.find(c.expectedText), std::string::npos) << r.message;
        if (c.expectedOffset) {
            EXPECT_EQ(r.offset, c.expectedOffset);
        }
        EXPECT_EQ(SaveProjectBytes(doc), before);
    }
}

TEST(ProjectFile, DanglingIdsLeaveReferencesEmptyAndAreWrittenBack) {
    CSystem built;
    test::BuildSampleProject(built);
    Bytes bytes = SaveProjectBytes(built);
    const CNetworkConnection* mc = built.m_moduleConnections.Head();
    const size_t at = FindI32s(bytes, {mc->m_id, mc->m_srcModuleId, mc->m_dstModuleId});
    ASSERT_NE(at, std::string::npos);
    PutI32(bytes, at + 8, 31001);  // destination module that does not exist

    CSystem s;
    const CFileResult r = LoadProjectBytes(s, bytes);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(s.m_moduleConnections.Head()->m_dstModule, nullptr);
    EXPECT_EQ(s.m_moduleConnections.Head()->m_dstInput, nullptr);
    EXPECT_FALSE(s.m_modules.At(1)->m_inputs.Head()->HasSource());
    EXPECT_EQ(s.m_modules.At(1)->m_level, 1);
    EXPECT_EQ(SaveProjectBytes(s), bytes);
    for (int i = 0; i < 3; ++i) s.RunCycle();
}

TEST(ProjectFile, InputFedTwiceByADamagedFileKeepsOneSourceAndDeletesSafely) {
    CSystem built;
    built.NewProject();
    CNetwork* m = built.CreateModule("M", 0, 0);
    CNetworkModel* k1 = test::DropConstant(*m, 1.0);
    CNetworkModel* k2 = test::DropConstant(*m, 2.0);
    CNetworkModel* add = test::Drop(*m, 21);
    test::Wire(*m, *k1, *add);
    test::Wire(*m, *k2, *add);
    Bytes bytes = SaveProjectBytes(built);
    // Point the second connection at the first connection's input.
    const CModelConnection* c2 = k2->FirstOutput()->m_connections.Head();
    const size_t at = FindI32s(bytes, {c2->m_id, k2->m_id, add->m_id, c2->m_srcOutputId, c2->m_dstInputId});
    ASSERT_NE(at, std::string::npos);
    PutI32(bytes, at + 16, add->FirstInput()->m_id);

    CSystem s;
    ASSERT_TRUE(LoadProjectBytes(s, bytes));
    CNetwork* lm = s.m_modules.Head();
    CNetworkModel* lk1 = lm->FindComponent(k1->m_id);
    CNetworkModel* lk2 = lm->FindComponent(k2->m_id);
    CNetworkModel* ladd = lm->FindComponent(add->m_id);
    int fed = 0, empty = 0;
    for (CNetworkModel* src : {lk1, lk2}) {
        for (CModelConnection* c : src->FirstOutput()->m_connections) {
            if (c->m_dstInput) {
                EXPECT_EQ(c->m_dstInput->m_sourceConnection, c);
                ++fed;
            } else {
                ++empty;
            }
        }
    }
    EXPECT_EQ(fed, 1);
    EXPECT_EQ(empty, 1);
    s.RunCycle();
    lm->DeleteComponent(ladd);
    s.RunCycle();
    lm->DeleteComponent(lk1);
    lm->DeleteComponent(lk2);
    EXPECT_TRUE(lm->m_components.Empty());
}

TEST(ProjectFile, FlippedBytesNeverCrashAndFailCleanly) {
    const Bytes sample = SampleBytes();
    CLcgRandom random(2024);
    int loaded = 0;
    for (int round = 0; round < 400; ++round) {
        Bytes bad = sample;
        const int flips = 1 + random.Next15() % 3;
        for (int k = 0; k < flips; ++k) {
            const size_t at = (static_cast<size_t>(random.Next15()) << 15 | random.Next15()) % bad.size();
            bad[at] ^= static_cast<uint8_t>(1 + random.Next15() % 255);
        }
        CSystem doc;
        BuildOpenDocument(doc);
        const Bytes before = SaveProjectBytes(doc);
        const CFileResult r = LoadProjectBytes(doc, bad);
        if (!r) {
            ASSERT_FALSE(r.message.empty());
            ASSERT_EQ(SaveProjectBytes(doc), before) << "round " << round;
            continue;
        }
        ++loaded;
        // Whatever was accepted can be run, saved again and taken apart.
        for (int i = 0; i < 3; ++i) doc.RunCycle();
        doc.ResetSystem();
        CSystem again;
        ASSERT_TRUE(LoadProjectBytes(again, SaveProjectBytes(doc))) << "round " << round;
        for (CNetwork* m : doc.m_modules.Snapshot()) {
            for (CNetworkModel* c : m->m_components.Snapshot()) m->DeleteComponent(c);
            doc.DeleteModule(m);
        }
        for (CExternalInput* p : doc.m_inputs.Snapshot()) doc.DeleteSystemInput(p);
        doc.RunCycle();
    }
    EXPECT_GT(loaded, 0);
}

TEST(ProjectFile, CoordinatesAtTheEndsOfTheRangeKeepSaneBoxes) {
    struct Case {
        const char* name;
        int32_t x, y;
    };
    const Case cases[] = {
        {"largest", INT32_MAX, INT32_MAX},
        {"smallest", INT32_MIN, INT32_MIN},
        {"mixed", INT32_MAX, INT32_MIN},
        {"near the top", INT32_MAX - 40, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSystem s;
        BuildOpenDocument(s);
        CNetwork* m = s.m_modules.Head();
        m->m_position = {c.x, c.y};
        m->m_components.Head()->m_position = {c.x, c.y};
        const Bytes stored = SaveProjectBytes(s);
        CSystem loaded;
        ASSERT_TRUE(LoadProjectBytes(loaded, stored));
        const CNetwork* lm = loaded.m_modules.Head();
        const CNetworkModel* lc = lm->m_components.Head();
        EXPECT_EQ(lc->m_position, (CPoint{c.x, c.y}));  // what the file says is kept
        EXPECT_EQ(lc->m_box.right - int64_t{lc->m_box.left}, 64);
        EXPECT_GE(lc->m_box.bottom - int64_t{lc->m_box.top}, 64);
        EXPECT_LE(lm->m_boxRect.left, lm->m_boxRect.right);
        EXPECT_LE(lm->m_boxRect.top, lm->m_boxRect.bottom);
        CSystem imported;
        const Bytes module = ExportModuleBytes(*loaded.m_modules.Head());
        EXPECT_TRUE(ImportModuleBytes(imported, module.data(), module.size()));
        const Bytes once = SaveProjectBytes(loaded);
        CSystem again;
        ASSERT_TRUE(LoadProjectBytes(again, once));
        EXPECT_EQ(SaveProjectBytes(again), once);
    }
}

TEST(ProjectFile, ClaimedCountsCostNoMoreThanTheFileHolds) {
    // A count of 2^31 - 1 or 2^31 (read as INT32_MIN) must not be believed before the bytes are there.
    CSystem s;
    BuildOpenDocument(s);
    CNetwork* m = s.m_modules.Head();
    const Bytes project = SaveProjectBytes(s);
    const Bytes module = ExportModuleBytes(*m);
    const size_t projectCounts = FindI32s(project, {m->m_saved1, m->m_saved2, 1, 0, 1});
    const size_t moduleCounts = FindI32s(module, {m->m_saved1, m->m_saved2, 1, 0, 1});
    ASSERT_NE(projectCounts, std::string::npos);
    ASSERT_NE(moduleCounts, std::string::npos);
    auto loadProject = [](const Bytes& b) {
        CSystem target;
        return test::PeakBytesDuring([&] { EXPECT_FALSE(LoadProjectBytes(target, b)); });
    };
    auto loadModule = [](const Bytes& b) {
        CSystem target;
        return test::PeakBytesDuring([&] { EXPECT_FALSE(ImportModuleBytes(target, b.data(), b.size())); });
    };
    CSystem empty;
    const Bytes emptyProject = SaveProjectBytes(empty);
    const size_t baseline = test::PeakBytesDuring([&] {
        CSystem target;
        EXPECT_TRUE(LoadProjectBytes(target, emptyProject));
    });
    for (const int32_t claim : {INT32_MAX, INT32_MIN}) {
        SCOPED_TRACE(claim);
        Bytes p = project, q = module;
        PutI32(p, projectCounts + 8, claim);
        PutI32(q, moduleCounts + 8, claim);
        EXPECT_LE(loadProject(p), baseline + 8 * p.size());
        EXPECT_LE(loadModule(q), baseline + 8 * q.size());
    }
}

class ProjectFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("zor2_project_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path m_dir;
};

TEST_F(ProjectFiles, SaveAndLoadThroughFilesLeaveNoTemporaryFiles) {
    CSystem s;
    test::BuildSampleProject(s);
    const std::string path = (m_dir / "sample.zr2").string();
    ASSERT_TRUE(SaveProjectFile(s, path));
    ::chmod(path.c_str(), 0640);
    s.m_name = "Renamed";
    const CFileResult again = SaveProjectFile(s, path);
    ASSERT_TRUE(again) << again.message;
    EXPECT_EQ(Entries(), std::vector<std::string>{"sample.zr2"});
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // replacing keeps the file's permissions

    CSystem loaded;
    const CFileResult r = LoadProjectFile(loaded, path);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(loaded.m_name, "Renamed");
    EXPECT_EQ(SaveProjectBytes(loaded), SaveProjectBytes(s));
}

TEST_F(ProjectFiles, FailedSaveReportsAndLeavesThePreviousFile) {
    CSystem s;
    test::BuildSampleProject(s);
    const std::string path = (m_dir / "kept.zr2").string();
    { std::ofstream(path) << "previous"; }
    fs::create_directory(m_dir / "folder.zr2");
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"target is a folder", (m_dir / "folder.zr2").string()},
        {"folder does not exist", (m_dir / "missing" / "x.zr2").string()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CFileResult r = SaveProjectFile(s, c.path);
        EXPECT_FALSE(r);
        EXPECT_NE(r.message.find(c.path), std::string::npos) << r.message;
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"folder.zr2", "kept.zr2"}));
    std::ifstream in(path);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "previous");
}

TEST_F(ProjectFiles, SavingThroughALinkWritesItsTargetAndKeepsTheLink) {
    CSystem s;
    test::BuildSampleProject(s);
    fs::create_directory(m_dir / "real");
    struct Case {
        const char* name;
        std::string link;    // what the link says
        std::string target;  // the file the save must write, relative to the folder
    };
    const Case cases[] = {
        {"live link", "real/live.zr2", "real/live.zr2"},
        {"dangling link", "real/new.zr2", "real/new.zr2"},
        {"dangling link by absolute path", (m_dir / "real" / "abs.zr2").string(), "real/abs.zr2"},
        {"link to a dangling link", "hop.zr2", "real/end.zr2"},
    };
    fs::create_symlink("real/end.zr2", m_dir / "hop.zr2");
    { std::ofstream(m_dir / "real" / "live.zr2") << "old"; }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path link = m_dir / (std::string("link_") + std::to_string(&c - cases) + ".zr2");
        fs::create_symlink(c.link, link);
        const CFileResult r = SaveProjectFile(s, link.string());
        ASSERT_TRUE(r) << r.message;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link), fs::path(c.link));
        CSystem loaded;
        ASSERT_TRUE(LoadProjectFile(loaded, (m_dir / c.target).string()));
        EXPECT_EQ(SaveProjectBytes(loaded), SaveProjectBytes(s));
    }
    fs::create_symlink("loop_b.zr2", m_dir / "loop_a.zr2");
    fs::create_symlink("loop_a.zr2", m_dir / "loop_b.zr2");
    const CFileResult loop = SaveProjectFile(s, (m_dir / "loop_a.zr2").string());
    EXPECT_FALSE(loop);
    EXPECT_TRUE(fs::is_symlink(m_dir / "loop_a.zr2"));
}

TEST_F(ProjectFiles, UnreadableFilesAreReportedAndChangeNothing) {
    CSystem doc;
    BuildOpenDocument(doc);
    const Bytes before = SaveProjectBytes(doc);
    { std::ofstream(m_dir / "garbage.zr2") << "this is not a project"; }
    struct Case {
        const char* name;
        std::string path;
        const char* text;
    };
    const Case cases[] = {
        {"missing", (m_dir / "none.zr2").string(), "Cannot open"},
        {"folder", m_dir.string(), "not a regular file"},
        {"device", "/dev/zero", "not a regular file"},
        {"garbage", (m_dir / "garbage.zr2").string(), "Cannot load"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CFileResult r = LoadProjectFile(doc, c.path);
        EXPECT_FALSE(r);
        EXPECT_NE(r.message.find(c.text), std::string::npos) << r.message;
        EXPECT_EQ(SaveProjectBytes(doc), before);
    }
}

}  // namespace
}  // namespace zor2
