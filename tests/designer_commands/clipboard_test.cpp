// Copy, cut, paste and duplicate of components and modules: the wires among
// the copied items come along with fresh ids, wires to the rest stay behind,
// every edit is one undo level, and foreign bytes change nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "aids_fixture.h"
#include "designer/commands_clipboard.h"

namespace zor2::test {
namespace {

class ClipboardTest : public AidsTest {
  protected:
    ClipboardTest() {
        m_a->m_value = 2.0;
        m_b->m_value = 5.0;
        m_sum = Add(kAdd, 300, 100);
        Wire(*m_a, *m_sum);
        Wire(*m_b, *m_sum);
        m_doc.RecordChange("");  // the undo level the tests come back to
    }
    std::vector<int32_t> Ids() const {
        std::vector<int32_t> ids;
        for (const CNetworkModel* c : m_module->m_components) ids.push_back(c->m_id);
        return ids;
    }
    CNetworkModel* m_sum = nullptr;
};

TEST_F(ClipboardTest, ComponentsComeWithTheWiresAmongThem) {
    struct Case {
        const char* name;
        bool otherDesigner;  // paste into a second document
        bool duplicate;
    } const cases[] = {{"paste here", false, false},
                       {"paste into another designer", true, false},
                       {"duplicate", false, true}};
    const int32_t moduleId = m_module->m_id, aId = m_a->m_id, sumId = m_sum->m_id;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // An undo reloads the system: the fixture's pointers are found again by id.
        m_module = Sys().FindModule(moduleId);
        m_sum = m_module->FindComponent(sumId);
        Ed().DesignModule(moduleId);
        Ed().SelectComponents({aId, sumId});  // the constant b and its wire stay behind
        CProjectClipboard clipboard;
        ASSERT_EQ(CopySelection(m_doc, clipboard), ECmd::Done);
        Czor2Doc other;
        Czor2Doc& into = c.otherDesigner ? other : m_doc;
        if (c.otherDesigner) {
            ASSERT_EQ(AddModule(other), ECmd::Done);
            other.Editor().DesignModule(other.System().m_modules.Head()->m_id);
        }
        CNetwork* target = into.Editor().DesignedModule(into.System());
        const size_t before = target->m_components.Size(), levels = into.UndoListSize();
        const std::vector<int32_t> old = Ids();
        ASSERT_EQ(c.duplicate ? DuplicateSelection(into) : PasteClipboard(into, clipboard, 500, 400),
                  ECmd::Done);
        EXPECT_EQ(target->m_components.Size(), before + 2);
        EXPECT_EQ(into.UndoListSize(), levels + 1);
        const std::vector<CNetworkModel*> pasted = into.Editor().SelectedComponents(into.System());
        ASSERT_EQ(pasted.size(), 2u);
        CNetworkModel* k = pasted[0]->m_typeId == kAdd ? pasted[1] : pasted[0];
        CNetworkModel* sum = pasted[0]->m_typeId == kAdd ? pasted[0] : pasted[1];
        if (!c.otherDesigner) {
            for (const CNetworkModel* p : pasted) EXPECT_EQ(std::count(old.begin(), old.end(), p->m_id), 0);
        }
        const CPoint corner =
            c.duplicate ? CPoint{100 + kDuplicateOffset, 100 + kDuplicateOffset} : CPoint{500, 400};
        EXPECT_EQ(k->m_position.x, corner.x);
        EXPECT_EQ(k->m_position.y, corner.y);
        into.System().ResetSystem();
        into.System().RunCycle();
        EXPECT_EQ(sum->FirstOutput()->m_value, 2.0);  // the copied constant alone
        if (!c.otherDesigner) {
            EXPECT_EQ(m_sum->FirstOutput()->m_value, 7.0);
        }
        ASSERT_TRUE(into.Undo());
        EXPECT_EQ(into.Editor().DesignedModule(into.System())->m_components.Size(), before);
    }
}

TEST_F(ClipboardTest, CutIsOneUndoLevel) {
    Select(m_sum);
    CProjectClipboard clipboard;
    const size_t levels = Levels();
    ASSERT_EQ(CutSelection(m_doc, clipboard), ECmd::Done);
    EXPECT_EQ(m_module->m_components.Size(), 2u);
    EXPECT_EQ(Levels(), levels + 1);
    EXPECT_EQ(PasteClipboard(m_doc, clipboard, 10, 10), ECmd::Done);
    EXPECT_EQ(m_module->m_components.Size(), 3u);
}

TEST_F(ClipboardTest, ModulesComeWithTheConnectionsAmongThem) {
    Ed().ShowSystem();
    CNetwork* second = NewModule();
    CNetwork* first = Sys().FindModule(m_module->m_id);
    ASSERT_NE(Sys().ConnectModules(*first, *second), nullptr);
    const size_t modules = Sys().m_modules.Size(), links = Sys().m_moduleConnections.Size();
    Ed().SelectModules({first->m_id, second->m_id});
    CProjectClipboard clipboard;
    ASSERT_EQ(CopySelection(m_doc, clipboard), ECmd::Done);
    ASSERT_EQ(PasteClipboard(m_doc, clipboard, 600, 500), ECmd::Done);
    EXPECT_EQ(Sys().m_modules.Size(), modules + 2);
    EXPECT_EQ(Sys().m_moduleConnections.Size(), links + 1);
    const std::vector<CNetwork*> pasted = Ed().SelectedModules(Sys());
    ASSERT_EQ(pasted.size(), 2u);
    const CNetworkConnection* link = Sys().m_moduleConnections.Tail();
    EXPECT_EQ(link->m_srcModuleId, pasted[0]->m_id);
    EXPECT_EQ(link->m_dstModuleId, pasted[1]->m_id);
    EXPECT_EQ(pasted[0]->FindComponent(m_sum->m_id) != nullptr,
              true);  // components keep their ids in a new module
}

TEST_F(ClipboardTest, ForeignBytesChangeNothing) {
    CProjectClipboard graphics;
    graphics.bytes = {1, 0, 0, 0, 9, 9};
    CProjectClipboard truncated;
    Ed().SelectComponents({m_a->m_id});
    ASSERT_EQ(CopySelection(m_doc, truncated), ECmd::Done);
    truncated.bytes.resize(truncated.bytes.size() / 2);
    for (const CProjectClipboard* clip : {&graphics, &truncated}) {
        const std::vector<uint8_t> before = SaveProjectBytes(Sys());
        const size_t levels = Levels();
        EXPECT_EQ(PasteClipboard(m_doc, *clip, 0, 0), ECmd::Refused);
        EXPECT_EQ(LastMessage(), "The clipboard does not hold components or modules that can be pasted.");
        EXPECT_EQ(SaveProjectBytes(Sys()), before);
        EXPECT_EQ(Levels(), levels);
    }
    EXPECT_EQ(PasteClipboard(m_doc, CProjectClipboard{}, 0, 0), ECmd::Unavailable);
}

}  // namespace
}  // namespace zor2::test
