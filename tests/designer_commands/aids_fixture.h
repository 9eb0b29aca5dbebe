// Setup shared by the view, graphics and chart command tests: a designed module
// with two constants, a counter of recorded changes, and a reload of the
// project bytes to check what a saved project keeps.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "designer/commands.h"
#include "doc_fixture.h"
#include "persistence/project_file.h"

namespace zor2::test {

/// Counts the changes the document records (one per undo level taken).
class CChangeCounter final : public IDocumentObserver {
  public:
    void OnChangeRecorded(const std::string& line) override { m_lines.push_back(line); }
    std::vector<std::string> m_lines;
};

class AidsTest : public DocTest {
  protected:
    AidsTest() {
        m_module = DesignNewModule();
        m_a = Add(kConstant, 100, 100);
        m_b = Add(kConstant, 300, 260);
        m_doc.SetObserver(&m_changes);
    }
    ~AidsTest() override { m_doc.SetObserver(nullptr); }

    /// Changes recorded since the fixture was built.
    size_t Changes() const { return m_changes.m_lines.size(); }

    /// The project as a freshly loaded copy would see it.
    std::unique_ptr<CSystem> Reloaded() {
        auto loaded = std::make_unique<CSystem>();
        const std::vector<uint8_t> bytes = SaveProjectBytes(Sys());
        EXPECT_TRUE(LoadProjectBytes(*loaded, bytes));
        return loaded;
    }

    CGraphic* NewGraphic(int32_t x, int32_t y) {
        EXPECT_EQ(AddGraphic(m_doc, x, y), ECmd::Done);
        return Sys().m_graphics.m_graphics.Find(Ed().m_graphics.front());
    }
    CChart* NewChart(CNetworkModel* c) {
        Ed().SelectComponentOutput(c->m_id, c->FirstOutput()->m_id);
        EXPECT_EQ(ShowChart(m_doc), ECmd::Done);
        return Sys().m_charts.m_charts.Tail();
    }
    CValueWindow* NewValueWindow(CNetworkModel* c) {
        Ed().SelectComponentOutput(c->m_id, c->FirstOutput()->m_id);
        EXPECT_EQ(ShowValueWindow(m_doc), ECmd::Done);
        return Sys().m_valueWindows.m_windows.Tail();
    }

  public:
    // Open to the tables of arrangement functions in the tests.
    CChangeCounter m_changes;
    CNetwork* m_module = nullptr;
    CNetworkModel* m_a = nullptr;
    CNetworkModel* m_b = nullptr;
};

}  // namespace zor2::test
