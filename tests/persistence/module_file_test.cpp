// Module files: export, import as a new module with open inputs, id re-draw
// on a clash, and damaged files that change nothing.
#include "persistence/module_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/system.h"
#include "persistence/project_file.h"
#include "support/sample_project.h"

namespace zor2 {
namespace {

using Bytes = std::vector<uint8_t>;

struct Source {
    Source() {
        test::BuildSampleProject(system);
        module = system.m_modules.Head();
        bytes = ExportModuleBytes(*module);
    }
    CSystem system;
    CNetwork* module = nullptr;
    Bytes bytes;
};

TEST(ModuleFile, ImportingTwiceGivesTwoModulesWithDifferentIds) {
    Source src;
    CSystem target;
    CNetwork* first = nullptr;
    CNetwork* second = nullptr;
    ASSERT_TRUE(ImportModuleBytes(target, src.bytes.data(), src.bytes.size(), &first));
    ASSERT_TRUE(ImportModuleBytes(target, src.bytes.data(), src.bytes.size(), &second));
    ASSERT_EQ(target.m_modules.Size(), 2u);
    EXPECT_EQ(target.m_modulesByCreation.Size(), 2u);
    EXPECT_EQ(first->m_id, src.module->m_id);  // no clash: the id is kept
    EXPECT_NE(second->m_id, first->m_id);
    EXPECT_EQ(second->m_owner, &target);
    EXPECT_EQ(target.Feedback().build.Top(), "Imported system module: Sensor stage");
    // Identical contents apart from the id.
    const Bytes a = ExportModuleBytes(*first);
    const Bytes b = ExportModuleBytes(*second);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_TRUE(std::equal(a.begin() + 4, a.end(), b.begin() + 4));
    // Component ids inside stay as they were.
    for (CNetworkModel* c : src.module->m_components) EXPECT_NE(second->FindComponent(c->m_id), nullptr);
    // The target still saves and loads as a whole.
    CSystem reloaded;
    ASSERT_TRUE(LoadProjectBytes(reloaded, SaveProjectBytes(target)));
    EXPECT_EQ(reloaded.m_modules.Size(), 2u);
}

TEST(ModuleFile, ImportedInputsAreOpenAndFeedTheirComponentsOnceConnected) {
    Source src;
    CNetwork* imported = nullptr;
    ASSERT_TRUE(ImportModuleBytes(src.system, src.bytes.data(), src.bytes.size(), &imported));
    EXPECT_NE(imported->m_id, src.module->m_id);  // a clash draws a new id
    ASSERT_FALSE(imported->m_inputs.Empty());
    for (CNetworkInput* in : imported->m_inputs) {
        EXPECT_EQ(in->m_name, "open");
        EXPECT_FALSE(in->HasSource());
        EXPECT_EQ(in->m_sourceConnectionId, 0);
        EXPECT_EQ(in->m_sourceKind, kSourceNone);
        EXPECT_FALSE(in->m_connections.Empty());  // the inside wiring travelled
    }
    EXPECT_EQ(imported->m_level, 1);

    CExternalInput* p = src.system.CreateSystemInput("Drive", 1);
    p->SetValue(6.5);
    CNetworkInput* port = imported->m_inputs.Head();
    ASSERT_NE(src.system.ConnectSystemInput(*p, *imported, port), nullptr);
    src.system.RunCycle();
    CModelInput* fed = port->m_connections.Head()->m_dstInput;
    ASSERT_NE(fed, nullptr);
    EXPECT_EQ(fed->m_value, 6.5);
}

TEST(ModuleFile, DamagedModuleFilesChangeNothing) {
    Source src;
    CSystem target;
    test::BuildSampleProject(target);
    const Bytes before = SaveProjectBytes(target);
    const size_t feedbackLines = target.Feedback().build.Size();
    for (size_t n = 0; n < src.bytes.size(); ++n) {
        CNetwork* imported = reinterpret_cast<CNetwork*>(1);
        const CFileResult r = ImportModuleBytes(target, src.bytes.data(), n, &imported);
        ASSERT_FALSE(r) << n;
        ASSERT_EQ(imported, nullptr);
        // The place is named: where the file ends when it was cut, else the field at fault.
        ASSERT_TRUE(r.message.find("byte offset") != std::string::npos ||
                    r.message.rfind("the file ends early (at byte " + std::to_string(n) + ";", 0) == 0)
            << r.message;
    }
    EXPECT_EQ(SaveProjectBytes(target), before);
    EXPECT_EQ(target.Feedback().build.Size(), feedbackLines);
}

TEST(ModuleFile, ExportAndImportThroughFiles) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("zor2_module_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    Source src;
    const std::string path = (dir / "stage.zrm").string();
    ASSERT_TRUE(ExportModuleFile(*src.module, path));
    CSystem target;
    CNetwork* imported = nullptr;
    const CFileResult r = ImportModuleFile(target, path, &imported);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(imported->m_name, "Sensor stage");
    const CFileResult missing = ImportModuleFile(target, (dir / "none.zrm").string());
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message.find("Cannot open"), std::string::npos);
    EXPECT_EQ(target.m_modules.Size(), 1u);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zor2
