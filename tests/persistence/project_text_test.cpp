// The project's text form: every stored project comes back byte for byte, odd
// values and texts survive, and a damaged text is refused with its line and key
// while the open project stays as it was.
#include "persistence/project_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "engine/system.h"

namespace zor2 {
namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return bytes;
}

TEST(ProjectText, StoredProjectsComeBackByteForByte) {
    const std::string data = ZOR2_TEST_DATA;
    const std::string examples = std::string(ZOR2_SOURCE_DIR) + "/examples/";
    for (const std::string& path :
         {data + "/golden/all_types/all_types.zr2", data + "/golden/wiring/wiring.zr2",
          data + "/golden/empty/empty.zr2", examples + "two_stage.zr2"}) {
        SCOPED_TRACE(path);
        const std::vector<uint8_t> bytes = FileBytes(path);
        CSystem system;
        ASSERT_TRUE(LoadProjectBytes(system, bytes));
        const std::string text = ProjectToText(system);
        EXPECT_EQ(ProjectToText(system), text);  // stable
        CSystem back;
        const CFileResult r = ProjectFromText(back, text);
        ASSERT_TRUE(r) << r.message;
        EXPECT_EQ(SaveProjectBytes(back), bytes);
    }
}

TEST(ProjectText, OddValuesAndTextsSurvive) {
    CSystem system;
    system.m_name = "quote \" backslash \\ tab \t newline \n bell \a \xC3\xA9 \xF0\x9F\x99\x82";
    system.m_description = "";
    CNetwork* m = system.CreateModule("nums", 0, 0);
    CExternalInput* in = system.CreateSystemInput("v", 1);
    (void)m;
    for (double v : {-0.0, 1e-310, 1.7976931348623157e308, HUGE_VAL, -HUGE_VAL, std::nan("7"), 0.1}) {
        SCOPED_TRACE(v);
        in->m_value = v;
        const std::vector<uint8_t> bytes = SaveProjectBytes(system);
        CSystem back;
        const CFileResult r = ProjectFromText(back, ProjectToText(system));
        ASSERT_TRUE(r) << r.message;
        EXPECT_EQ(SaveProjectBytes(back), bytes);
    }
}

/// The lines of `text`, to damage one of them.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return text;
}

TEST(ProjectText, DamagedTextsAreRefusedWithLineAndKey) {
    CSystem source;
    ASSERT_TRUE(
        LoadProjectBytes(source, FileBytes(std::string(ZOR2_TEST_DATA) + "/golden/wiring/wiring.zr2")));
    const std::string good = ProjectToText(source);
    const std::vector<std::string> lines = Lines(good);
    size_t module = 0;  // the first module record's line index
    while (lines[module].rfind("{\"module\"", 0) != 0) ++module;
    const std::string line = std::to_string(module + 1);
    auto edit = [&](size_t at, const std::string& from, const std::string& to) {
        std::vector<std::string> l = lines;
        const size_t p = l[at].find(from);
        EXPECT_NE(p, std::string::npos) << from;
        if (p != std::string::npos) l[at].replace(p, from.size(), to);
        return Join(l);
    };
    struct Case {
        const char* name;
        std::string text;
        std::string message;  // the refusal starts with it
    } const cases[] = {
        {"empty", "", "line 1: the text does not start with '{'"},
        {"cut short", good.substr(0, good.size() / 2), "line "},
        {"text after the end", good + "x", "line " + std::to_string(lines.size() + 1) + ": text follows"},
        {"unknown key", edit(0, "\"version\"", "\"versio\""), "line 1, key \"versio\": unknown key"},
        {"no records", "{\"format\": \"zor2 project text\", \"version\": 1}",
         "line 1: the key \"records\" is missing"},
        {"other format", edit(0, "zor2 project text", "something"), "line 1, key \"format\": this is not"},
        {"renamed record", edit(module, "{\"module\"", "{\"modul\""),
         "line " + line + ", key \"modul\": a \"module\" record belongs here"},
        {"text for a number", edit(module, ": [", ": [\"7\", "),
         "line " + line + ", key \"module\": value 1"},
        {"one value too many", edit(module, "]}", ", 0]}"),
         "line " + line + ", key \"module\": 1 value(s) more"},
        {"record ends early", edit(module, ": [", ": [0]} , {\"x\": ["),
         "line " + line + ", key \"module\": the record ends"},
        {"impossible count",
         edit(1, "{\"system\": [", "{\"system\": [0, \"\", \"\", \"\", 2000000000, 0, 0, "),
         "line 2, key \"system\": "},
        {"number out of range", edit(module, ": [", ": [4294967296, "),
         "line " + line + ", key \"module\": value 1"},
        {"bad escape", edit(module, "\"", "\"\\q"), "line " + line + ", key \"records\": unknown escape"},
        {"record after the end", Join([&] {
             std::vector<std::string> l = lines;
             l.insert(l.end() - 1, ",{\"module\": []}");
             return l;
         }()),
         "line " + std::to_string(lines.size()) + ", key \"module\": a record after the end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSystem target;
        target.m_name = "kept";
        const std::vector<uint8_t> before = SaveProjectBytes(target);
        const CFileResult r = ProjectFromText(target, c.text);
        EXPECT_FALSE(r);
        EXPECT_EQ(r.message.rfind(c.message, 0), 0u) << r.message;
        EXPECT_EQ(SaveProjectBytes(target), before);
    }
}

}  // namespace
}  // namespace zor2
