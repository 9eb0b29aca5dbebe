// Setup shared by the view, graphics and chart command tests: a designed module
// with two constants, a counter of recorded changes, and a reload of the
// project bytes to check what a saved project keeps.
#pragma once

#include <initializer_list>
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

    /// A row of a family of integer settings: a value inside the range, and the range.
    template <class Field>
    struct CFieldRow {
        Field field;
        const char* name;
        int32_t value;
        int32_t low, high;
    };
    /// Sets each row's field on the selected objects (`ids`): a value outside
    /// the range is refused with a beep and changes nothing; the value is one
    /// recorded change seen on every object and in a reloaded copy; setting it
    /// again records nothing; undo brings the old value back.
    template <class Field, class Object>
    void CheckFieldRows(std::initializer_list<CFieldRow<Field>> rows, const std::vector<int32_t>& ids,
                        ECmd (*set)(Czor2Doc&, Field, int32_t), int32_t (*get)(const Object&, Field),
                        Object* (*find)(CSystem&, int32_t)) {
        ASSERT_FALSE(ids.empty());
        for (const CFieldRow<Field>& r : rows) {
            SCOPED_TRACE(r.name);
            const Object* first = find(Sys(), ids.front());
            ASSERT_NE(first, nullptr);
            const int32_t old = get(*first, r.field);
            ASSERT_NE(old, r.value);
            const int beeps = m_prompter.m_beeps;
            const size_t before = Changes();
            EXPECT_EQ(set(m_doc, r.field, r.low - 1), ECmd::Refused);
            EXPECT_EQ(set(m_doc, r.field, r.high + 1), ECmd::Refused);
            EXPECT_EQ(m_prompter.m_beeps, beeps + 2);
            EXPECT_EQ(get(*first, r.field), old);
            EXPECT_EQ(set(m_doc, r.field, r.value), ECmd::Done);
            EXPECT_EQ(set(m_doc, r.field, r.value), ECmd::Unavailable);
            EXPECT_EQ(Changes() - before, 1u);
            const std::unique_ptr<CSystem> loaded = Reloaded();
            for (int32_t id : ids) {
                const Object* now = find(Sys(), id);
                const Object* kept = find(*loaded, id);
                ASSERT_TRUE(now && kept);
                EXPECT_EQ(get(*now, r.field), r.value);
                EXPECT_EQ(get(*kept, r.field), r.value);
            }
            ASSERT_TRUE(m_doc.UndoChange());
            for (int32_t id : ids) {
                const Object* back = find(Sys(), id);
                ASSERT_NE(back, nullptr);
                EXPECT_EQ(get(*back, r.field), old);
            }
        }
    }

  public:
    // Open to the tables of arrangement functions in the tests.
    CChangeCounter m_changes;
    CNetwork* m_module = nullptr;
    CNetworkModel* m_a = nullptr;
    CNetworkModel* m_b = nullptr;
};

}  // namespace zor2::test
