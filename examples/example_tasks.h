// The builders of the examples that solve small real tasks; each writes the
// data files its project reads or is run with beside the project.
#pragma once

#include "engine/system.h"

namespace zor2::examples {

void ToneDetector(CSystem& s);
void VowelClassifier(CSystem& s);
void Thermostat(CSystem& s);
void SensorLog(CSystem& s);
void DigitDisplay(CSystem& s);
void Homing(CSystem& s);

}  // namespace zor2::examples
