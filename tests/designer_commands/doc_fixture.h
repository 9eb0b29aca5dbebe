// Shared setup of the command tests: a document with a scripted prompter, a
// seeded random source, a link that counts "$ZOR_COUNTIO" announcements, and
// small helpers that build through the commands themselves.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "designer/commands_align.h"
#include "designer/commands_component.h"
#include "designer/commands_module.h"
#include "designer/commands_system.h"
#include "designer/document.h"
#include "support/scripted_prompter.h"

namespace zor2::test {

class CCountingLink final : public ILinkNotifier {
  public:
    void SendCountIO(int32_t inputs, int32_t outputs) override { m_sent.push_back({inputs, outputs}); }
    void OnProjectLoaded(const CSystem&) override { ++m_loaded; }
    std::vector<std::pair<int32_t, int32_t>> m_sent;
    int m_loaded = 0;
};

inline constexpr int32_t kAdd = 21;
inline constexpr int32_t kConstant = 41;
inline constexpr int32_t kCompareToInput = 15;  // template input "CompareVal" plus added inputs

/// The edge or centre an alignment makes equal on every box it moves.
inline int32_t AlignedEdge(EAlign how, const CRect& r) {
    switch (how) {
        case EAlign::Left:
            return r.left;
        case EAlign::Right:
            return r.right;
        case EAlign::Top:
            return r.top;
        case EAlign::Bottom:
            return r.bottom;
        case EAlign::Vertical:
            return r.left + (r.right - r.left) / 2;
        case EAlign::Horizontal:
            return r.top + (r.bottom - r.top) / 2;
    }
    return 0;
}

class DocTest : public ::testing::Test {
  protected:
    DocTest() {
        m_doc.System().SetRandom(&m_random);
        m_doc.SetPrompter(&m_prompter);
        m_doc.SetLink(&m_link);
    }

    CSystem& Sys() { return m_doc.System(); }
    CEditorState& Ed() { return m_doc.Editor(); }
    /// Answers for the next questions, in order.
    void Answer(std::deque<EAnswer> answers) { m_prompter.Script(std::move(answers)); }
    size_t Levels() const { return m_doc.UndoListSize(); }
    const std::string& TopLine() const { return m_doc.System().Feedback().build.Top(); }
    std::string LastQuestion() const {
        return m_prompter.m_questions.empty() ? "" : m_prompter.m_questions.back();
    }
    std::string LastMessage() const {
        return m_prompter.m_messages.empty() ? "" : m_prompter.m_messages.back();
    }

    CNetwork* NewModule() {
        EXPECT_EQ(AddModule(m_doc), ECmd::Done);
        return Ed().CurrentModule(Sys());
    }
    /// A module opened in the design view.
    CNetwork* DesignNewModule() {
        CNetwork* m = NewModule();
        Ed().DesignModule(m->m_id);
        return m;
    }
    CNetworkModel* Add(int32_t typeId, int32_t x = 100, int32_t y = 100) {
        EXPECT_EQ(AddComponent(m_doc, typeId, x, y), ECmd::Done);
        return Ed().SelectedComponent(Sys());
    }
    void Select(const CNetworkModel* c) { Ed().SelectComponents({c->m_id}); }
    /// Connects `src`'s first output to a new input of `dst` the way a drag does.
    CModelInput* Wire(CNetworkModel& src, CNetworkModel& dst) {
        CModelConnection* made = nullptr;
        EXPECT_EQ(src.m_owner->RequestConnect(src, src.FirstOutput(), dst, nullptr, &made), 0);
        return made ? made->m_dstInput : nullptr;
    }

    CLcgRandom m_random{12345};
    CScriptedPrompter m_prompter;
    CCountingLink m_link;
    Czor2Doc m_doc;
};

/// A file in a fresh temporary folder, removed with the object.
class CTempFile {
  public:
    explicit CTempFile(const std::string& name, const std::string& content = {}) {
        char dir[] = "/tmp/zor2_doc_XXXXXX";
        m_dir = mkdtemp(dir) ? dir : "/tmp";
        m_path = m_dir + "/" + name;
        if (!content.empty() || name.find(".csv") != std::string::npos) Write(content);
    }
    ~CTempFile() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    void Write(const std::string& content) const {
        std::ofstream f(m_path, std::ios::binary);
        f << content;
    }
    std::string Read() const {
        std::ifstream f(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    const std::string& Path() const { return m_path; }
    std::string Sibling(const std::string& name) const { return m_dir + "/" + name; }

  private:
    std::string m_dir;
    std::string m_path;
};

}  // namespace zor2::test
