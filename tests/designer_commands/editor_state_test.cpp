// The editor state: what commands act on, and how the selection follows the
// model when undo replaces it.
#include "doc_fixture.h"

namespace zor2::test {
namespace {

TEST_F(DocTest, SelectionResolvesByKind) {
    CNetwork* m = DesignNewModule();
    CNetworkModel* k = Add(kConstant);
    EXPECT_EQ(Ed().CurrentModule(Sys()), m);
    EXPECT_EQ(Ed().SelectedComponent(Sys()), k);
    Ed().SelectComponentOutput(k->m_id, k->FirstOutput()->m_id);
    EXPECT_EQ(Ed().SelectedComponentOutput(Sys()), k->FirstOutput());
    EXPECT_EQ(Ed().SelectedComponentInput(Sys()), nullptr);  // another kind is selected
    EXPECT_EQ(Ed().SelectedSystemInput(Sys()), nullptr);
    Ed().ApplyToModel(Sys());
    EXPECT_TRUE(k->m_selected);
    EXPECT_EQ(k->m_selectedOutputs.Head(), k->FirstOutput());

    Ed().ShowSystem();
    EXPECT_EQ(Ed().SelectedComponent(Sys()), nullptr);  // components only in the design view
    EXPECT_EQ(Ed().CurrentModule(Sys()), nullptr);
    Ed().SelectModules({m->m_id});
    EXPECT_EQ(Ed().CurrentModule(Sys()), m);
}

TEST_F(DocTest, UndoPrunesTheSelectionAndLeavesAVanishedDesignView) {
    CNetwork* m = DesignNewModule();
    const int32_t moduleId = m->m_id;
    CNetworkModel* k = Add(kConstant);
    const int32_t componentId = k->m_id;
    Ed().SelectComponentOutput(componentId, 10);
    ASSERT_TRUE(m_doc.UndoChange());  // the component goes
    EXPECT_EQ(Ed().m_mode, EViewMode::ModuleDesign);
    EXPECT_EQ(Ed().m_kind, ESelectionKind::None);
    EXPECT_TRUE(Ed().m_components.empty());
    ASSERT_TRUE(m_doc.RedoChange());
    EXPECT_NE(Sys().FindModule(moduleId)->FindComponent(componentId), nullptr);  // ids survive the snapshot
    ASSERT_TRUE(m_doc.UndoChange());
    ASSERT_TRUE(m_doc.UndoChange());  // the module goes
    EXPECT_EQ(Ed().m_mode, EViewMode::System);
    EXPECT_EQ(Ed().CurrentModule(Sys()), nullptr);
}

}  // namespace
}  // namespace zor2::test
