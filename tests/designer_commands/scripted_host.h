// Test double for the window hosting the commands: answers every dialog from
// its script and records what the commands asked of it, in order.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "designer/command_host.h"
#include "designer/commands_behaviors.h"
#include "designer/commands_charts.h"
#include "designer/commands_module.h"
#include "designer/commands_system.h"
#include "designer/load_data_wizard.h"

namespace zor2::test {

class CScriptedHost final : public ICommandHost {
  public:
    /// Every dialog is confirmed or cancelled alike.
    bool m_confirm = true;
    /// Typed into the name field of a dialog; empty keeps what it showed.
    std::string m_name;
    std::string m_path;  // the answer of every file dialog
    std::optional<int32_t> m_colour;
    std::map<int, std::string> m_fields;
    CDataConnectionRequest m_connection;
    std::array<bool, kPaneCount> m_panes{};
    std::vector<std::string> m_asked;
    std::vector<std::string> m_used;  // files opened or saved
    EPrintJob m_printed = EPrintJob::Setup;

    std::string ChooseOpenPath(EPathKind) override { return Record("ChooseOpenPath", m_path); }
    std::string ChooseSavePath(EPathKind, const std::string& name) override {
        return Record("ChooseSavePath " + name, m_path);
    }
    std::optional<int32_t> ChooseColour(int32_t) override { return Record("ChooseColour", m_colour); }
    std::string FieldText(int id) const override {
        const auto it = m_fields.find(id);
        return it == m_fields.end() ? std::string() : it->second;
    }
    bool EditNameDescription(const std::string& title, std::string& name, std::string&) override {
        return Answer(title, name);
    }
    bool EditSystemInput(const std::string& title, CSystemInputData& data, int32_t) override {
        return Answer(title, data.name);
    }
    bool EditSystemOutput(const std::string& title, CSystemOutputData& data) override {
        return Answer(title, data.name);
    }
    bool EditBehavior(const std::string&, CBehaviorData& data) override {
        return Answer("Behavior", data.name);
    }
    bool EditCategory(std::string& name) override { return Answer("Category", name); }
    bool EditGraphicText(std::string& text) override { return Answer("Graphic Text", text); }
    bool EditValueWindow(CValueWindowSettings&) override { return Record("Value Window", m_confirm); }
    bool EditProperties(CPropertySheet&) override { return Record("Properties", m_confirm); }
    /// The edits the decision matrix dialog makes before it closes.
    std::function<void(CDecisionMatrixEditor&)> m_matrixEdits;
    bool EditDecisionMatrix(CDecisionMatrixEditor& editor, CPropertySheet&) override {
        if (m_matrixEdits) m_matrixEdits(editor);
        return Record("Decision Matrix", m_confirm);
    }
    bool AskDataConnection(const CNetwork&, CDataConnectionRequest& request) override {
        if (m_confirm) request = m_connection;
        return Record("Data Connection", m_confirm);
    }
    bool EditProjectInfo(std::string& description) override {
        return Answer("System Properties", description);
    }
    /// Browses to `m_path`, keeps every answer the wizard starts with and finishes.
    bool RunLoadDataWizard(CLoadDataWizard& wizard) override {
        wizard.Browse(m_path);
        while (wizard.Next()) {
        }
        return Record("Load Data Wizard", m_confirm && wizard.Finish());
    }
    void ShowBehaviors() override { m_asked.push_back("ShowBehaviors"); }
    void EditOptions() override { m_asked.push_back("EditOptions"); }
    void ShowExportSuccess(const std::string&, const CRuntimeExportInfo&) override {
        m_asked.push_back("ShowExportSuccess");
    }
    void ShowWelcome() override { m_asked.push_back("ShowWelcome"); }
    void About() override { m_asked.push_back("About"); }
    bool PaneVisible(EPane pane) const override { return m_panes[static_cast<size_t>(pane)]; }
    void SetPaneVisible(EPane pane, bool shown) override { m_panes[static_cast<size_t>(pane)] = shown; }
    void Print(EPrintJob job) override {
        m_asked.push_back("Print");
        m_printed = job;
    }
    void Close() override { m_asked.push_back("Close"); }
    void FileUsed(const std::string& path) override { m_used.push_back(path); }
    void ShowSystem() override { m_asked.push_back("ShowSystem"); }
    void ShowModule(CNetwork&) override { m_asked.push_back("ShowModule"); }
    void CenterView() override { m_asked.push_back("CenterView"); }
    std::vector<uint8_t> m_clipboard;
    std::optional<std::pair<int32_t, int32_t>> m_mouse;  // where a paste goes; none leaves it to the command
    void PutOnClipboard(const std::vector<uint8_t>& bytes) override { m_clipboard = bytes; }
    std::vector<uint8_t> ClipboardBytes() const override { return m_clipboard; }
    bool PastePoint(int32_t& x, int32_t& y) const override {
        if (m_mouse) std::tie(x, y) = *m_mouse;
        return m_mouse.has_value();
    }

    /// Whether the commands asked for `what` (a dialog title or a request).
    bool Asked(const std::string& what) const {
        for (const std::string& a : m_asked)
            if (a == what) return true;
        return false;
    }

  private:
    template <class T>
    T Record(const std::string& what, T answer) {
        m_asked.push_back(what);
        return answer;
    }
    bool Answer(const std::string& title, std::string& text) {
        m_asked.push_back(title);
        if (m_confirm && !m_name.empty()) text = m_name;
        return m_confirm;
    }
};

}  // namespace zor2::test
