// Toggles: type table, input pull and the flip.
#include "components/logic/toggle.h"

#include "components/logic/toggle_kernel.h"
#include "components/logic/truth_check_kernel.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{10, "On Off"}};
constexpr CPortTemplate kSingle[] = {{10, "Current Status", kDataOnOff, 0}};
constexpr CPortTemplate kDual[] = {{10, "Left Status", kDataOnOff, 0}, {20, "Right Status", kDataOnOff, 0}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelToggle>();
}
constexpr CPropertyProfile kSheet{"Component Properties - Toggle"};
constexpr CComponentType kTypes[] = {
    {kToggleSinglePole, kInputs, kSingle, 1, 1, Create, &kSheet},
    {kToggleDualPole, kInputs, kDual, 1, 2, Create, &kSheet},
};

const char* OnOffText(bool on) {
    return on ? "On" : "Off";
}
}  // namespace

std::span<const CComponentType> ToggleComponentTypes() {
    return kTypes;
}

void CModelToggle::GetInputValues() {
    CModelInput* in = FirstInput();
    if (!in) return;
    const bool on = in->HasSource() && IsTrue(SourceValue(*in));
    in->m_value = on ? 1.0 : 0.0;
    in->m_text.SetText(on ? "1" : "-");
}

void CModelToggle::Execute() {
    CModelOutput* out = FirstOutput();
    if (!out) return;
    const bool state = IsTrue(out->m_value);
    const CModelInput* in = FirstInput();
    const bool next = ToggleNext(state, in && IsTrue(in->m_value));
    if (next != state) out->m_value = next ? 1.0 : 0.0;
    out->m_text.SetText(OnOffText(next));
    CModelOutput* right = LastOutput();
    if (m_typeId == kToggleDualPole && right != out) {
        right->m_value = next ? 0.0 : 1.0;
        right->m_text.SetText(OnOffText(!next));
    }
}

}  // namespace zor2
