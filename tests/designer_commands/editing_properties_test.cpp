// Seeded random sequences of editing commands, with undo and redo between
// them, checked after every step: ids unique among siblings, both ends of
// every connection agree, stages and levels as recomputing gives them, and the
// project saves, loads and saves again to the same bytes.
#include <random>
#include <set>

#include "designer/commands_connect.h"
#include "doc_fixture.h"
#include "engine/catalogue.h"
#include "persistence/project_file.h"

namespace zor2::test {
namespace {

template <class List>
void ExpectUniqueIds(const List& list, const char* what) {
    std::set<int32_t> seen;
    for (const auto* p : list) EXPECT_TRUE(seen.insert(p->m_id).second) << what << " id " << p->m_id;
}

/// Every invariant of the model that an edit, an undo or a redo must keep.
void ExpectInvariants(CSystem& s) {
    ExpectUniqueIds(s.m_modules, "module");
    ExpectUniqueIds(s.m_inputs, "system input");
    ExpectUniqueIds(s.m_outputs, "system output");
    ExpectUniqueIds(s.m_inputCategories, "input category");
    ExpectUniqueIds(s.m_outputCategories, "output category");
    ExpectUniqueIds(s.m_moduleConnections, "module connection");
    for (CNetwork* m : s.m_modules) {
        ExpectUniqueIds(m->m_components, "component");
        ExpectUniqueIds(m->m_inputs, "module input");
        ExpectUniqueIds(m->m_outputs, "module output");
        for (CNetworkModel* c : m->m_components) {
            ExpectUniqueIds(c->m_inputs, "component input");
            ExpectUniqueIds(c->m_outputs, "component output");
            for (CModelOutput* out : c->m_outputs) {
                ExpectUniqueIds(out->m_connections, "connection");
                for (CModelConnection* k : out->m_connections) {
                    EXPECT_EQ(k->m_srcComponent, c);
                    if (k->m_dstInput) {
                        EXPECT_EQ(k->m_dstInput->m_sourceConnection, k);
                    }
                    if (k->m_moduleOutput) {
                        EXPECT_EQ(k->m_moduleOutput->m_sourceConnection, k);
                    }
                }
            }
            for (CModelInput* in : c->m_inputs) {
                if (!in->m_sourceConnection) continue;
                EXPECT_EQ(in->m_sourceConnection->m_dstInput, in);
                EXPECT_EQ(in->m_sourceConnectionId, in->m_sourceConnection->m_id);
            }
        }
        for (CNetworkInput* mi : m->m_inputs) {
            ExpectUniqueIds(mi->m_connections, "module input connection");
            for (CModelConnection* k : mi->m_connections) {
                if (k->m_dstInput) {
                    EXPECT_EQ(k->m_dstInput->m_sourceConnection, k);
                }
            }
        }
        std::vector<int32_t> stages;
        for (CNetworkModel* c : m->m_components) stages.push_back(c->m_stage);
        m->ComputeStages();
        size_t k = 0;
        for (CNetworkModel* c : m->m_components)
            EXPECT_EQ(c->m_stage, stages[k++]) << "component " << c->m_id;
    }
    std::vector<int32_t> levels;
    for (CNetwork* m : s.m_modules) levels.push_back(m->m_level);
    s.ComputeLevels();
    size_t k = 0;
    for (CNetwork* m : s.m_modules) EXPECT_EQ(m->m_level, levels[k++]) << "module " << m->m_id;

    const std::vector<uint8_t> saved = SaveProjectBytes(s);
    CSystem loaded;
    ASSERT_TRUE(LoadProjectBytes(loaded, saved));
    EXPECT_EQ(SaveProjectBytes(loaded), saved);
}

/// Draws the edits: each step picks a command and its objects from what exists.
class CEditor {
  public:
    CEditor(Czor2Doc& doc, uint32_t seed) : m_doc(doc), m_draw(seed) {
        for (int32_t type = 1; type <= 90; ++type)
            if (FindComponentType(type) && !TypeTraits(type).designerOnly) m_types.push_back(type);
    }

    /// One random step; returns its name for the failure trace.
    const char* Step() {
        CSystem& s = m_doc.System();
        CEditorState& e = m_doc.Editor();
        switch (Pick(12)) {
            case 0:
                e.ShowSystem();
                return AddModuleAt(m_doc, Coordinate(), Coordinate()) == ECmd::Done ? "add module"
                                                                                    : "add module (no)";
            case 1:
            case 2: {
                CNetwork* m = Any(s.m_modules);
                if (!m) return "nothing to design";
                e.DesignModule(m->m_id);
                AddComponent(m_doc, m_types[Pick(m_types.size())], Coordinate(), Coordinate());
                return "add component";
            }
            case 3: {
                CNetwork* m = Designed();
                CNetworkModel* src = m ? Any(m->m_components) : nullptr;
                CNetworkModel* dst = m ? Any(m->m_components) : nullptr;
                if (!src || !dst || !src->FirstOutput()) return "nothing to connect";
                CModelInput* in = Any(dst->m_inputs);
                ConnectComponents(m_doc, src->m_id, src->FirstOutput()->m_id, dst->m_id, in ? in->m_id : 0);
                return "connect components";
            }
            case 4: {
                CNetwork* m = Designed();
                CNetworkModel* c = m ? Any(m->m_components) : nullptr;
                if (!c) return "nothing to delete";
                e.SelectComponents({c->m_id});
                DeleteComponent(m_doc);
                return "delete component";
            }
            case 5: {
                CNetwork* m = Designed();
                CNetworkModel* c = m ? Any(m->m_components) : nullptr;
                if (!c) return "no component";
                e.SelectComponents({c->m_id});
                if (Pick(2)) {
                    ExposeAllComponentOutputs(m_doc);
                    return "expose outputs";
                }
                RemoveAllConnections(m_doc);
                return "remove connections";
            }
            case 6: {
                CNetwork* m = Designed();
                if (!m) return "no module designed";
                AddModuleInput(m_doc);
                return "add module input";
            }
            case 7: {
                CNetwork* src = Any(s.m_modules);
                CNetwork* dst = Any(s.m_modules);
                CNetworkOutput* out = src ? Any(src->m_outputs) : nullptr;
                CNetworkInput* in = dst ? Any(dst->m_inputs) : nullptr;
                if (!out || !in) return "no module ports";
                e.ShowSystem();
                ConnectModuleToModule(m_doc, src->m_id, out->m_id, dst->m_id, in->m_id);
                return "connect modules";
            }
            case 8: {
                CNetwork* m = Any(s.m_modules);
                if (!m) return "no module";
                e.ShowSystem();
                ConnectNewSystemInputToModule(m_doc, m->m_id);
                return "connect a new system input";
            }
            case 9: {
                CNetwork* m = Any(s.m_modules);
                if (!m || Pick(4) != 0) return "module kept";
                e.ShowSystem();
                e.SelectModules({m->m_id});
                DeleteModule(m_doc);
                return "delete module";
            }
            case 10:
                return m_doc.UndoChange() ? "undo" : "undo (none)";
            default:
                return m_doc.RedoChange() ? "redo" : "redo (none)";
        }
    }

  private:
    size_t Pick(size_t n) { return static_cast<size_t>(m_draw() % n); }
    int32_t Coordinate() { return static_cast<int32_t>(Pick(2000)); }
    template <class List>
    auto Any(const List& list) -> decltype(list.Head()) {
        return list.Empty() ? nullptr : list.At(Pick(list.Size()));
    }
    CNetwork* Designed() { return m_doc.Editor().DesignedModule(m_doc.System()); }

    Czor2Doc& m_doc;
    std::mt19937 m_draw;
    std::vector<int32_t> m_types;
};

class EditingProperties : public DocTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(EditingProperties, AThousandEditsKeepEveryInvariant) {
    m_doc.SetPrompter(nullptr);  // every question answered yes, as a user who agrees to everything
    CEditor editor(m_doc, GetParam());
    size_t most = 0, undone = 0;  // that the walk reached a model worth the name
    for (int step = 0; step < 1000; ++step) {
        const std::string what = editor.Step();
        SCOPED_TRACE(::testing::Message() << "step " << step << ": " << what);
        ExpectInvariants(m_doc.System());
        if (::testing::Test::HasFailure()) return;
        size_t components = 0;
        for (CNetwork* m : m_doc.System().m_modules) components += m->m_components.Size();
        most = std::max(most, components);
        undone += what == "undo";
    }
    EXPECT_GE(most, 10u);
    EXPECT_GE(undone, 10u);
}

INSTANTIATE_TEST_SUITE_P(Seeds, EditingProperties, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace zor2::test
