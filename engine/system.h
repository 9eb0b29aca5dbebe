// CSystem, the root of a project: modules, module connections, system inputs
// and outputs with their categories, the catalogue, and the cycle that runs
// every module level by level.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/editor_data.h"
#include "engine/network.h"
#include "engine/object.h"
#include "engine/ports.h"
#include "engine/report.h"
#include "simulation/behaviors.h"

namespace zor2 {

class ISimSounds;

/// Receives the system outputs after every cycle (the real-time link).
class ICycleObserver {
  public:
    virtual ~ICycleObserver() = default;
    virtual void OnCycle(const class CSystem& system) = 0;
};

/// Id of the default input and output categories.
inline constexpr int32_t kDefaultCategoryId = 100;

class CSystem {
  public:
    CSystem();
    virtual ~CSystem();
    CSystem(const CSystem&) = delete;
    CSystem& operator=(const CSystem&) = delete;

    // Services. The system does not own them; null restores the default.
    void SetRandom(IRandomSource* random) { m_random = random; }
    IRandomSource& Random() const { return m_random ? *m_random : DefaultRandom(); }
    void SetClock(IClock* clock) { m_clock = clock; }
    IClock& Clock() const { return m_clock ? *m_clock : DefaultClock(); }
    void SetPrompter(IPrompter* prompter) { m_prompter = prompter; }
    IPrompter& Prompter() const;
    void SetRecorder(IChangeRecorder* recorder) { m_recorder = recorder; }
    void SetCycleObserver(ICycleObserver* observer) { m_cycleObserver = observer; }
    /// The player of the Sim Action Sound components; null plays nothing.
    void SetSounds(ISimSounds* sounds) { m_sounds = sounds; }
    ISimSounds* Sounds() const { return m_sounds; }
    /// A sim action notes itself as the last component that acted on the system.
    void RecordAction(const CNetworkModel& component);
    CFeedback& Feedback() { return m_feedback; }
    const CFeedback& Feedback() const { return m_feedback; }
    /// The single change-recording routine: through the document when one is
    /// attached, else just the feedback line on top of "System Build Feedback".
    void RecordChange(const std::string& feedbackLine);
    /// A refusal or note on top of "System Build Feedback".
    void BuildFeedback(const std::string& line) { m_feedback.build.Add(line); }

    // Project life.
    /// Empties every list, builds the catalogue, creates the two default
    /// categories and names the system "Untitled".
    void NewProject();
    /// Empties every list (the catalogue too) without creating anything.
    void Clear();
    void BuildCatalogue();

    // Creation and lookup.
    CNetwork* CreateModule(const std::string& name, int32_t x, int32_t y);
    CExternalInput* CreateSystemInput(const std::string& name, int32_t kind);
    CExternalOutput* CreateSystemOutput(const std::string& name, int32_t kind);
    CExternalInputCategory* CreateInputCategory(const std::string& name);
    CExternalOutputCategory* CreateOutputCategory(const std::string& name);
    CExternalInputCategory* FindInputCategory(const std::string& name) const;
    CExternalOutputCategory* FindOutputCategory(const std::string& name) const;
    void AssignCategory(CExternalInput& input, CExternalInputCategory& category);
    void AssignCategory(CExternalOutput& output, CExternalOutputCategory& category);
    /// Many ports at once (an import): the id is drawn from `ids` by the random
    /// rule and the port goes straight into `category`, so that each costs the
    /// same however many there are; the caller runs ComputeLevels at the end.
    CExternalInput* AddSystemInput(const std::string& name, int32_t kind, CFreeIds& ids,
                                   CExternalInputCategory& category);
    CExternalOutput* AddSystemOutput(const std::string& name, int32_t kind, CFreeIds& ids,
                                     CExternalOutputCategory& category);
    CExternalInputCategory* AddInputCategory(const std::string& name, CFreeIds& ids);
    CExternalOutputCategory* AddOutputCategory(const std::string& name, CFreeIds& ids);
    CNetwork* FindModule(int32_t id) const { return m_modules.Find(id); }
    CExternalInput* FindSystemInput(int32_t id) const { return m_inputs.Find(id); }
    CExternalOutput* FindSystemOutput(int32_t id) const { return m_outputs.Find(id); }

    // Execution.
    void ComputeLevels();
    void RunCycle();
    void RunStep();
    void ResetSystem();
    /// Sets the simulated time, the cycle count and the diagnostic counters to 0.
    void ZeroCounters();
    /// Each connected system output copies its module output's value.
    void PublishOutputs();

    // Module and system-port connections. Null when refused (reported as the
    // rules say). `out`/`in` name existing ports; null creates new ones.
    CNetworkConnection* ConnectModules(CNetwork& src, CNetwork& dst, CNetworkOutput* out = nullptr,
                                       CNetworkInput* in = nullptr);
    CExternalConnection* ConnectSystemInput(CExternalInput& input, CNetwork& dst,
                                            CNetworkInput* in = nullptr);
    CExternalConnection* ConnectSystemOutput(CNetwork& src, CExternalOutput& output,
                                             CNetworkOutput* out = nullptr);
    /// A new system input "New input" dropped on a module and connected to it.
    CExternalInput* DropNewSystemInput(CNetwork& dst);
    /// A new system output "New output" dropped on a module and connected to it.
    CExternalOutput* DropNewSystemOutput(CNetwork& src);
    /// True when `dst` lies upstream of `src` through module connections (bounded).
    bool IsModuleUpstream(const CNetwork& dst, const CNetwork& src, int depth = 0) const;

    // Removal.
    /// Every module input of the module loses its source and is named "open".
    void RemoveModuleInputSources(CNetwork& module);
    /// Every module output loses its source and everything it feeds.
    void RemoveModuleOutputTargets(CNetwork& module);
    /// The source of one module input is removed; the input is named "open".
    void RemoveModuleInputSource(CNetworkInput& in);
    void DisconnectSystemOutput(CExternalOutput& output);
    void DeleteModule(CNetwork* module);
    void DeleteModuleInput(CNetworkInput* in);
    void DeleteModuleOutput(CNetworkOutput* out);
    void DeleteSystemInput(CExternalInput* input);
    void DeleteSystemOutput(CExternalOutput* output);

    /// Re-links system-level references from ids (after loading), the
    /// managers' references included.
    void RebuildReferences();
    /// Exchanges the project contents (everything the project file holds and
    /// what is derived from it) with `other`, re-pointing module owners. The
    /// services, the feedback lists, the speed and the running flag stay.
    void SwapContents(CSystem& other);
    /// Deletes the charts and value windows showing anything of `module`, of
    /// `component` or of `output` (the most specific non-null one decides).
    void DeleteOutputViews(const CNetwork* module, const CNetworkModel* component,
                           const CModelOutput* output);

    int32_t m_systemId = 0;
    std::string m_name = "Untitled";
    double m_zoom = 1.0;  // editor
    CObList<CModelTemplate> m_catalogue;
    CObList<CNetwork> m_modules;
    CRefList<CNetwork> m_selectedModules;
    CRefList<CNetwork> m_modulesByCreation;  // editor
    CObList<CNetworkConnection> m_moduleConnections;
    CObList<CExternalInput> m_inputs;
    CObList<CExternalOutput> m_outputs;
    CObList<CExternalInputCategory> m_inputCategories;
    CRefList<CExternalInput> m_selectedInputs;
    CObList<CExternalOutputCategory> m_outputCategories;
    CRefList<CExternalOutput> m_selectedOutputs;
    int32_t m_saved1 = 100;
    int32_t m_saved2 = 60;
    CPoint m_scroll;
    bool m_running = false;
    int32_t m_currentLevel = 1;
    int32_t m_highestLevel = 0;
    int32_t m_chartBackground = 0xFFF8F8;
    int32_t m_chartGrid = 0xEAEAEA;
    int32_t m_chartData = 0xC80000;
    bool m_behaviorsEnabled = true;
    double m_startTime = 0.0;
    double m_simulatedTime = 0.0;
    double m_lastCycleTime = 0.0;
    int32_t m_cycleCount = 0;
    int32_t m_cyclesPerSecond = 10;
    int32_t m_diagnostic1 = 0;
    int32_t m_diagnostic2 = 0;
    bool m_paused = false;
    int32_t m_runNumber = 0;  // counts the runs started, so a component can report once per run
    int32_t m_lastActionModuleId = 0;
    int32_t m_lastActionComponentId = 0;
    std::string m_thirdText;
    std::string m_description;
    // Managers saved at the end of the project file, in file order. RunCycle
    // drives the behaviours first and appends to every chart after the outputs.
    CSimEventMgr m_events;
    CChartMgr m_charts;
    CSimBehaviorMgr m_behaviors;
    CGraphicMgr m_graphics;
    CValueWindowMgr m_valueWindows;

  private:
    void BuildLevelOrder();
    void DriveBehaviors();
    void ClearChartsOf(CNetwork& module);

    IRandomSource* m_random = nullptr;
    IClock* m_clock = nullptr;
    IPrompter* m_prompter = nullptr;
    IChangeRecorder* m_recorder = nullptr;
    ICycleObserver* m_cycleObserver = nullptr;
    ISimSounds* m_sounds = nullptr;
    CFeedback m_feedback;
    std::vector<CNetwork*> m_levelOrder;  // modules with a level, by level, module order within a level
    bool m_levelOrderDirty = true;
    friend class CNetwork;
};

}  // namespace zor2
