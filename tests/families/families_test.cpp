// Every registered component type, walked once through the whole path: dropped
// from the palette, saved, opened and saved again byte for byte, exported, loaded
// and run by the runtime; and the designer and runtime registries agree.
#include <gtest/gtest.h>
#include <zor2runtime.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "designer/component_properties.h"
#include "designer_commands/doc_fixture.h"
#include "runtime_rows.h"

namespace zor2::test {
namespace {

std::string Utf16Message(const qxAISystemLoadResult& r) {
    std::string text;
    for (uint16_t u : r.message) {
        if (u == 0) break;
        text += static_cast<char>(u);
    }
    return text;
}

/// A document with one module in the design view, as the user starts.
struct CDesigner {
    CLcgRandom random{7};
    CScriptedPrompter prompter;
    Czor2Doc doc;
    CDesigner() {
        doc.System().SetRandom(&random);
        doc.SetPrompter(&prompter);
    }
    CNetwork* DesignNewModule() {
        if (AddModule(doc) != ECmd::Done) return nullptr;
        CNetwork* m = doc.Editor().CurrentModule(doc.System());
        if (m) doc.Editor().DesignModule(m->m_id);
        return m;
    }
};

TEST(Families, EveryTypeWalksFromThePaletteIntoTheRuntime) {
    ASSERT_FALSE(RegisteredComponentTypes().empty());
    for (const CComponentType* type : RegisteredComponentTypes()) {
        const int32_t id = type->typeId;
        SCOPED_TRACE(std::to_string(id) + " " + (CatalogueName(id) ? CatalogueName(id) : "?"));
        CTempFile project("walk.zr2");

        CDesigner first;
        ASSERT_NE(first.DesignNewModule(), nullptr);
        ASSERT_EQ(AddComponent(first.doc, id, 100, 100), ECmd::Done);
        CNetworkModel* dropped = first.doc.Editor().SelectedComponent(first.doc.System());
        ASSERT_NE(dropped, nullptr);
        EXPECT_EQ(dropped->m_typeId, id);
        first.doc.System().RunCycle();
        ASSERT_TRUE(first.doc.SaveAs(project.Path()));

        CDesigner second;
        ASSERT_TRUE(second.doc.Open(project.Path()));
        const std::string saved = project.Read();
        EXPECT_FALSE(saved.empty());
        // Saved again under its own name (Save As names the system after the new file).
        ASSERT_TRUE(second.doc.Save());
        EXPECT_EQ(project.Read(), saved);
        second.doc.System().RunCycle();

        const std::string exported = project.Sibling("walk.z2r");
        ASSERT_TRUE(second.doc.ExportRuntime(exported));
        qxAISystemLoadResult result{};
        const int32_t loaded = qxAISystem_Load(exported.c_str(), second.doc.System().m_systemId, &result);
        if (type->traits.designerOnly) {
            EXPECT_EQ(loaded, 32);
            EXPECT_NE(Utf16Message(result).find("runs only in the designer"), std::string::npos)
                << Utf16Message(result);
        } else {
            EXPECT_EQ(loaded, 1) << Utf16Message(result);
            EXPECT_EQ(qxAISystem_Execute(), 0);
        }
        qxAISystem_Unload();
        // Nothing on the way needs an answer from the user.
        EXPECT_TRUE(first.prompter.m_questions.empty());
        EXPECT_TRUE(second.prompter.m_questions.empty());
    }
}

TEST(Families, DesignerAndRuntimeRegistriesAgree) {
    size_t rows = 0;
    for (std::span<const CComponentType> family : ComponentFamilyTables()) rows += family.size();
    // A row the registry dropped (a repeated or out-of-range id) would leave a gap here.
    EXPECT_EQ(rows, RegisteredComponentTypes().size());

    for (const CComponentType* type : RegisteredComponentTypes()) {
        SCOPED_TRACE(type->typeId);
        EXPECT_NE(CatalogueName(type->typeId), nullptr);
        EXPECT_NE(type->create, nullptr);
        EXPECT_EQ(RuntimeDesignerOnly(type->typeId), type->traits.designerOnly);
        // A family whose runtime row is missing fails here.
        EXPECT_EQ(RuntimeCreates(type->typeId), type->traits.designerOnly ? 0 : type->typeId);
    }

    std::set<int32_t> runtimeIds;
    for (const CRuntimeRow& row : RuntimeRows()) {
        SCOPED_TRACE(row.typeId);
        EXPECT_TRUE(runtimeIds.insert(row.typeId).second) << "registered twice";
        EXPECT_NE(CatalogueName(row.typeId), nullptr);
        // A runtime class needs its designer class; a designer-only row may come before it.
        const CComponentType* designer = FindComponentType(row.typeId);
        const bool designerOnly = designer && designer->traits.designerOnly;
        EXPECT_EQ(row.hasClass, designer && !designerOnly);
    }
}

TEST(Families, DesignerOnlyAndUnknownTypesAreToldApart) {
    struct Case {
        int32_t typeId;
        bool designerOnly;
        bool runtimeClass;
    } cases[] = {
        {55, true, false},  {41, false, true}, {56, false, true},  {60, false, false},
        {99, false, false}, {0, false, false}, {-1, false, false}, {1000, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeId);
        EXPECT_EQ(RuntimeDesignerOnly(c.typeId), c.designerOnly);
        EXPECT_EQ(RuntimeCreates(c.typeId), c.runtimeClass ? c.typeId : 0);
    }
}

TEST(Families, EveryPropertySheetReadsAndAppliesUnchanged) {
    for (const CComponentType* type : RegisteredComponentTypes()) {
        SCOPED_TRACE(type->typeId);
        CDesigner d;
        ASSERT_NE(d.DesignNewModule(), nullptr);
        ASSERT_EQ(AddComponent(d.doc, type->typeId, 100, 100), ECmd::Done);
        CNetworkModel* c = d.doc.Editor().SelectedComponent(d.doc.System());
        ASSERT_NE(c, nullptr);
        const CPropertySheet sheet = ReadComponentProperties(*c);
        EXPECT_EQ(sheet.Caption(), PropertyCaption(type->typeId));
        EXPECT_EQ(HasPropertyDialog(*c), !sheet.Caption().empty());
        ASSERT_GE(sheet.Fields().size(), 2u);
        EXPECT_EQ(sheet.Find("name")->text, c->m_name);
        std::set<std::string> keys;
        for (const CPropField& f : sheet.Fields()) EXPECT_TRUE(keys.insert(f.key).second) << f.key;
        EXPECT_EQ(sheet.Validate(), "");
        EXPECT_FALSE(sheet.Edited());
        const ECmd applied = ApplyComponentProperties(d.doc, *c, sheet);
        EXPECT_EQ(applied, HasPropertyDialog(*c) ? ECmd::Unavailable : ECmd::Refused);
    }
}

TEST(Families, RuntimeHalvesIncludeNoDesignerCode) {
    // The runtime library is built from these files alone; an include of the
    // designer's layers would tie it to code it must not carry.
    namespace fs = std::filesystem;
    const fs::path root = ZOR2_SOURCE_DIR;
    std::vector<fs::path> files;
    for (const fs::path& dir : {root / "runtime", root / "components"})
        for (const auto& entry : fs::recursive_directory_iterator(dir)) files.push_back(entry.path());
    size_t checked = 0;
    for (const fs::path& file : files) {
        const std::string name = file.filename().string();
        const bool runtimeSide = file.parent_path() == root / "runtime" ||
                                 name.find("_rt.") != std::string::npos ||
                                 name.find("_kernel.") != std::string::npos || name == "families.h";
        if (!runtimeSide || (file.extension() != ".h" && file.extension() != ".cpp")) continue;
        ++checked;
        std::ifstream in(file);
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("#include", 0) != 0) continue;
            for (const char* banned :
                 {"\"engine/", "\"designer/", "\"persistence/", "\"simulation/", "\"realtime/", "<Q"}) {
                EXPECT_EQ(line.find(banned), std::string::npos) << file << ": " << line;
            }
            // Of a family, only its runtime half and kernels.
            const bool family = line.find("\"components/") != std::string::npos;
            const bool allowed = line.find("_rt.h") != std::string::npos ||
                                 line.find("_kernel.h") != std::string::npos ||
                                 line.find("families.h") != std::string::npos;
            EXPECT_TRUE(!family || allowed) << file << ": " << line;
        }
    }
    EXPECT_GT(checked, 20u);
}

}  // namespace
}  // namespace zor2::test
