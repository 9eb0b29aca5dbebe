// Project records and runtime records of the timing and value source types:
// round trips with non-default parameters, exact runtime field layouts, damaged
// records, and the notes the export gives for settings the runtime cannot carry.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "algo/bytes.h"
#include "components/math/delay.h"
#include "components/utility/quantity_diminish.h"
#include "components/utility/rand_gen.h"
#include "components/utility/timer.h"
#include "harness.h"
#include "persistence/archive.h"
#include "persistence/runtime_export.h"

namespace zor2 {
namespace {

using test::Bench;
using test::Drop;

template <class T>
T At(const std::vector<uint8_t>& bytes, size_t offset) {
    T v{};
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

struct TypeCase {
    const char* name;
    int32_t type;
    size_t runtimeExtra;  // bytes after the runtime base record
    std::function<void(CNetworkModel&)> configure;
    std::function<void(const CNetworkModel&)> checkLoaded;
    std::function<void(const std::vector<uint8_t>&)> checkRuntimeExtra;
};

std::vector<TypeCase> TypeCases() {
    return {
        {"Timer", 14, 0, [](CNetworkModel& c) { ASSERT_TRUE(static_cast<CModelTimer&>(c).SetDelay(250)); },
         [](const CNetworkModel& c) { EXPECT_EQ(static_cast<const CModelTimer&>(c).Delay(), 250.0); },
         nullptr},
        {"Delay", 2, 0,
         [](CNetworkModel& c) { ASSERT_TRUE(static_cast<CModelDelay&>(c).SetFeedbackFactor(0.5)); },
         // The factor is not stored: a loaded Delay has 0.75.
         [](const CNetworkModel& c) { EXPECT_EQ(static_cast<const CModelDelay&>(c).FeedbackFactor(), 0.75); },
         nullptr},
        {"Counter Reset on Value", 25, 0, [](CNetworkModel& c) { c.m_description = "counts boxes"; }, nullptr,
         nullptr},
        {"Counter Reset on Event", 26, 0, [](CNetworkModel& c) { c.m_tolerance = 0.5; }, nullptr, nullptr},
        {"Constant", 41, 0, [](CNetworkModel& c) { c.m_value = -2.5; },
         [](const CNetworkModel& c) { EXPECT_EQ(c.m_value, -2.5); }, nullptr},
        {"Quantity Diminishing", 68, 17,
         [](CNetworkModel& c) {
             auto& q = static_cast<CModelQuantityDiminish&>(c);
             ASSERT_TRUE(q.SetContainer(-5, 250));
             ASSERT_TRUE(q.SetAuto(false, 3.0));
             q.m_value = 42.0;
         },
         [](const CNetworkModel& c) {
             const auto& q = static_cast<const CModelQuantityDiminish&>(c);
             EXPECT_EQ(q.Minimum(), -5.0);
             EXPECT_EQ(q.Maximum(), 250.0);
             EXPECT_EQ(q.Amount(), 42.0);
             // Auto rate and auto mode are not stored.
             EXPECT_TRUE(q.AutoMode());
             EXPECT_EQ(q.AutoRate(), 0.10000000149011612);
         },
         [](const std::vector<uint8_t>& b) {
             EXPECT_EQ(At<double>(b, 0), -5.0);
             EXPECT_EQ(At<double>(b, 8), 250.0);
             EXPECT_EQ(b[16], 1);
         }},
        {"RandNum Generator", 43, 30,
         [](CNetworkModel& c) {
             ASSERT_TRUE(
                 static_cast<CModelRandGen&>(c).SetDraw({-7, 12, kRandInteger, kTimingSeconds, 9, true}));
         },
         [](const CNetworkModel& c) {
             const CRandomDraw& d = static_cast<const CModelRandGen&>(c).Draw();
             EXPECT_EQ(d.low, -7.0);
             EXPECT_EQ(d.high, 12.0);
             EXPECT_EQ(d.timing, kTimingSeconds);
             EXPECT_EQ(d.interval, 9);
             EXPECT_TRUE(d.zeroWhileWaiting);
         },
         [](const std::vector<uint8_t>& b) {
             EXPECT_EQ(At<double>(b, 0), -7.0);
             EXPECT_EQ(At<double>(b, 8), 12.0);
             EXPECT_EQ(At<int32_t>(b, 16), 3);
             EXPECT_EQ(At<int32_t>(b, 20), 1);
             EXPECT_EQ(At<int32_t>(b, 24), 9);
             EXPECT_EQ(b[28], 1);
             EXPECT_EQ(b[29], 1);  // enabled: set by the input phase at the drop
         }},
        {"Dynamic Sim Value", 81, 56,
         [](CNetworkModel& c) {
             CDynamicFields f;
             f.start = 33;
             f.draw = {-4, 5, kRandInteger, kTimingSeconds, 17, false};
             f.useFloor = true;
             f.floor = -10;
             f.useCeiling = true;
             f.ceiling = 75;
             ASSERT_TRUE(static_cast<CModelDynamicNumber&>(c).SetFields(f));
             c.m_value = 21.0;
         },
         [](const CNetworkModel& c) {
             const CDynamicFields& f = static_cast<const CModelDynamicNumber&>(c).Fields();
             EXPECT_EQ(f.start, 33.0);
             EXPECT_EQ(f.draw.interval, 17);
             EXPECT_FALSE(f.draw.zeroWhileWaiting);
             EXPECT_EQ(f.ceiling, 75.0);
             EXPECT_EQ(c.m_value, 21.0);
         },
         [](const std::vector<uint8_t>& b) {
             EXPECT_EQ(At<double>(b, 0), 33.0);
             EXPECT_EQ(At<double>(b, 8), -4.0);
             EXPECT_EQ(At<double>(b, 16), 5.0);
             EXPECT_EQ(At<int32_t>(b, 24), 3);
             EXPECT_EQ(At<int32_t>(b, 28), 1);
             EXPECT_EQ(At<int32_t>(b, 32), 17);
             EXPECT_EQ(b[36], 0);
             EXPECT_EQ(b[37], 1);
             EXPECT_EQ(b[38], 1);
             EXPECT_EQ(At<double>(b, 39), -10.0);
             EXPECT_EQ(At<double>(b, 47), 75.0);
             EXPECT_EQ(b[55], 1);
         }},
    };
}

using Records = Bench;

TEST_F(Records, ProjectRecordRoundTripsByteForByte) {
    for (const TypeCase& c : TypeCases()) {
        SCOPED_TRACE(c.name);
        CNetworkModel* original = Drop(*module, c.type);
        ASSERT_NE(original, nullptr);
        c.configure(*original);
        CArchive out;
        original->Serialize(out);
        const std::vector<uint8_t> saved = out.Bytes();

        std::unique_ptr<CNetworkModel> loaded = ConstructComponent(c.type);
        ASSERT_NE(loaded, nullptr);
        EXPECT_STREQ(loaded->ClassName(), original->ClassName());
        CArchive in(saved.data(), saved.size());
        loaded->Serialize(in);
        ASSERT_FALSE(in.Failed()) << in.Error();
        EXPECT_EQ(in.Remaining(), 0u);
        if (c.checkLoaded) c.checkLoaded(*loaded);

        CArchive again;
        loaded->Serialize(again);
        EXPECT_EQ(again.Bytes(), saved);
    }
}

TEST_F(Records, DamagedProjectRecordFailsCleanly) {
    for (const TypeCase& c : TypeCases()) {
        SCOPED_TRACE(c.name);
        CNetworkModel* original = Drop(*module, c.type);
        c.configure(*original);
        CArchive out;
        original->Serialize(out);
        const std::vector<uint8_t> saved = out.Bytes();
        for (size_t cut : {size_t{1}, size_t{5}, saved.size() / 2}) {
            std::unique_ptr<CNetworkModel> loaded = ConstructComponent(c.type);
            CArchive in(saved.data(), saved.size() - cut);
            loaded->Serialize(in);
            EXPECT_TRUE(in.Failed()) << "cut " << cut;
        }
    }
}

TEST_F(Records, RuntimeRecordFieldsFollowTheBaseRecord) {
    for (const TypeCase& c : TypeCases()) {
        SCOPED_TRACE(c.name);
        CNetworkModel* original = Drop(*module, c.type);
        c.configure(*original);
        CByteWriter whole, base;
        original->ExportRuntime(whole);
        original->ExportRuntimeBase(base);
        ASSERT_EQ(whole.Size(), base.Size() + c.runtimeExtra);
        EXPECT_TRUE(std::equal(base.Bytes().begin(), base.Bytes().end(), whole.Bytes().begin()));
        // The base record carries the component value first.
        EXPECT_EQ(At<double>(whole.Bytes(), 0), original->m_value);
        if (c.checkRuntimeExtra) {
            c.checkRuntimeExtra(
                std::vector<uint8_t>(whole.Bytes().begin() + base.Size(), whole.Bytes().end()));
        }
    }
}

TEST_F(Records, ComponentsWithoutTheirTemplatePortsRunSafely) {
    // Only a hand-made file can leave the ports out; nothing may crash or write anywhere.
    for (const TypeCase& c : TypeCases()) {
        SCOPED_TRACE(c.name);
        for (int ports : {0, 1}) {
            std::unique_ptr<CNetworkModel> bare = ConstructComponent(c.type);
            bare->m_typeId = c.type;
            if (ports) {
                bare->AddInput(10);
                bare->AddOutput(30);
            }
            for (int cycle = 0; cycle < 3; ++cycle) {
                bare->GetInputValues();
                bare->Execute();
            }
            bare->ResetValues();
            CByteWriter w;
            bare->ExportRuntime(w);
            EXPECT_EQ(w.Size(), (ports ? 52u : 28u) + c.runtimeExtra);
        }
    }
}

using ExportNotes = Bench;

TEST_F(ExportNotes, NamedForSettingsTheRuntimeFileCannotCarry) {
    module->m_name = "Conveyor";
    auto* timer = static_cast<CModelTimer*>(Drop(*module, 14));
    auto* delay = static_cast<CModelDelay*>(Drop(*module, 2));
    timer->m_name = "Pulse";
    delay->m_name = "Smooth";
    EXPECT_EQ(timer->RuntimeExportNote(), "");
    EXPECT_EQ(delay->RuntimeExportNote(), "");

    ASSERT_TRUE(timer->SetDelay(250));
    ASSERT_TRUE(delay->SetFeedbackFactor(0.5));
    const std::string timerNote = timer->RuntimeExportNote();
    const std::string delayNote = delay->RuntimeExportNote();
    for (const char* part : {"Timer", "\"Pulse\"", "\"Conveyor\"", "500 ms", "250 ms"})
        EXPECT_NE(timerNote.find(part), std::string::npos) << part << " in " << timerNote;
    for (const char* part : {"Delay", "\"Smooth\"", "\"Conveyor\"", "0.75", "0.5"})
        EXPECT_NE(delayNote.find(part), std::string::npos) << part << " in " << delayNote;

    // A connected "Delay ms" input travels in the runtime file: no note.
    Feed(*timer, 20, 250.0);
    EXPECT_EQ(timer->RuntimeExportNote(), "");
}

TEST_F(ExportNotes, QuantityDiminishingAutoSetting) {
    struct Case {
        const char* name;
        bool autoMode;
        double rate;
        bool consumeConnected;
        const char* expect;  // a part of the note, or null for none
    };
    const Case cases[] = {
        {"defaults", true, 0.10000000149011612, false, nullptr},
        {"another rate", true, 0.25, false, "0.25 per cycle"},
        {"auto mode off", false, 0.10000000149011612, false, "nothing without a decrement input"},
        {"decrement connected", true, 0.25, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* q = static_cast<CModelQuantityDiminish*>(Drop(*module, 68));
        if (c.consumeConnected) Feed(*q, 30, 1.0);
        ASSERT_TRUE(q->SetAuto(c.autoMode, c.rate));
        const std::string note = q->RuntimeExportNote();
        if (!c.expect) {
            EXPECT_EQ(note, "");
            continue;
        }
        EXPECT_NE(note.find(c.expect), std::string::npos) << note;
        EXPECT_NE(note.find(q->m_name), std::string::npos) << note;
    }
}

TEST_F(ExportNotes, TheExportReportsOneLinePerSettingLeftBehind) {
    module->m_name = "Line";
    auto* slow = static_cast<CModelTimer*>(Drop(*module, 14));
    auto* fed = static_cast<CModelTimer*>(Drop(*module, 14));
    auto* plain = static_cast<CModelTimer*>(Drop(*module, 14));
    auto* damped = static_cast<CModelDelay*>(Drop(*module, 2));
    Drop(*module, 2);
    ASSERT_TRUE(slow->SetDelay(2000));
    ASSERT_TRUE(fed->SetDelay(100));
    Feed(*fed, 20, 100.0);
    ASSERT_TRUE(damped->SetFeedbackFactor(0.9));
    (void)plain;

    const std::string path = (std::filesystem::temp_directory_path() /
                              ("zor2_timing_notes_" + std::to_string(::getpid()) + ".z2r"))
                                 .string();
    const size_t before = system.Feedback().build.Lines().size();
    ASSERT_EQ(ExportRuntimeFile(system, path), 0);
    std::filesystem::remove(path);
    const auto& lines = system.Feedback().build.Lines();
    ASSERT_EQ(lines.size(), before + 2);
    // Newest on top: the Delay's line, then the slow Timer's.
    EXPECT_NE(lines[0].find(damped->m_name), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find(slow->m_name), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("\"Line\""), std::string::npos) << lines[1];
}

}  // namespace
}  // namespace zor2
