// The component catalogue (palette entries) and the registry of component
// types: each family listed in components/families.h contributes rows of {type id,
// template ports, limits, constructor, property sheet, traits}; the factory,
// AddTemplatePorts, the property dialogs and the trait questions read them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "algo/bytes.h"
#include "engine/object.h"

namespace zor2 {

class CByteReader;
class CNetworkModel;
struct CPropertyProfile;

/// One template port of a component type.
struct CPortTemplate {
    int32_t id;
    const char* label;
    int32_t dataType = 0;  // outputs
    int32_t decimals = 2;  // outputs
    bool arrayInput = false;
    int32_t sourceKind = 0;  // inputs the component fills itself carry 5
};

/// The context menu a component's box opens in the module view.
enum class EComponentMenu : uint8_t { Standard, Mfcc, NeuralNetwork, Sequencer };
/// What "Properties..." opens for a component: its property sheet alone, or
/// with it the editor of the type's table.
enum class EComponentEditor : uint8_t { Sheet, DecisionMatrix };

/// What other code needs to know about a type beyond its ports, stated by its
/// family so that nothing else tests a type id.
struct CTypeTraits {
    EComponentMenu menu = EComponentMenu::Standard;
    bool designerOnly = false;  // its runtime row has no class: the export reports it, the runtime refuses it
    bool notExported = false;   // in-designer data component: the export warns that it is left out
    bool inputsNamedBySource = false;  // a new input takes the feeding output's name, not its component's
    bool playsSound = false;           // the simulation stops its sound when the run stops
    bool followsClock = false;         // reads the system clock, which the runtime takes from the host
    const char* runtimeNote =
        nullptr;                  // what the runtime does instead, for a designerOnly or notExported type
    bool clearsDisplayC = false;  // AddTemplatePorts clears display flag C (the user controls)
    EComponentEditor editor = EComponentEditor::Sheet;
};

/// One component type as its family defines it.
struct CComponentType {
    int32_t typeId;
    std::span<const CPortTemplate> inputs;
    std::span<const CPortTemplate> outputs;
    int32_t maxInputs;
    int32_t maxOutputs;
    std::unique_ptr<CNetworkModel> (*create)(int32_t typeId);
    /// The property dialog (engine/property_sheet.h); null for the generic one
    /// (name and description only).
    const CPropertyProfile* properties = nullptr;
    CTypeTraits traits = {};
    /// Runs at the end of AddTemplatePorts (a new component from the palette):
    /// the ports and settings a type derives from its own state.
    void (*afterTemplatePorts)(CNetworkModel&) = nullptr;
    /// For a runtime body whose length follows from counts inside it: reads
    /// past the body after its base record (false when it does not fit). Null
    /// for a body of fixed length, which a fresh component's export measures.
    bool (*skipRuntimeBody)(CByteReader&) = nullptr;
};

/// The constructor of a type row whose class is T.
template <class T>
std::unique_ptr<CNetworkModel> CreateAs(int32_t) {
    return std::make_unique<T>();
}

/// The traits of `typeId`; the defaults for a type without a class.
const CTypeTraits& TypeTraits(int32_t typeId);

/// The registered type of `typeId`, or null when no class is built for it.
const CComponentType* FindComponentType(int32_t typeId);
/// Every registered type, in family order.
const std::vector<const CComponentType*>& RegisteredComponentTypes();
/// Each family's type table as it states it, in the order components/families.h
/// lists the families (a row the registry could not take is still here).
const std::vector<std::span<const CComponentType>>& ComponentFamilyTables();

/// Palette entry.
class CModelTemplate : public CObject {
  public:
    std::string m_name;
    int32_t m_spare1 = 0;
    int32_t m_imageIndex = 0;
    int32_t m_spare2 = 0;
    int32_t m_group = 0;
};

/// Palette groups.
inline constexpr int32_t kGroupMath = 1;
inline constexpr int32_t kGroupLogic = 2;
inline constexpr int32_t kGroupDecision = 3;
inline constexpr int32_t kGroupSignals = 4;
inline constexpr int32_t kGroupUtility = 5;
const char* PaletteGroupName(int32_t group);

struct CCatalogueRow {
    int32_t typeId;
    const char* name;
    int32_t group;
};
/// The 89 catalogue rows in palette order.
std::span<const CCatalogueRow> CatalogueRows();
/// The catalogue name of a type id, or null.
const char* CatalogueName(int32_t typeId);

/// Fills `list` with one CModelTemplate per catalogue row.
void BuildCatalogue(CObList<CModelTemplate>& list);

/// Constructs the class of `typeId` with its construction defaults (no
/// ports, no id); null when the type has no class.
std::unique_ptr<CNetworkModel> ConstructComponent(int32_t typeId);

/// Creates the template ports of the component's type and sets its limits.
void AddTemplatePorts(CNetworkModel& component);

}  // namespace zor2
