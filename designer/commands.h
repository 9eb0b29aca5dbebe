// Every family of editing commands of the designer in one include, for the
// window layer that binds them to its ribbon, menus and gestures.
#pragma once

#include "designer/commands_align.h"
#include "designer/commands_behaviors.h"
#include "designer/commands_charts.h"
#include "designer/commands_common.h"
#include "designer/commands_component.h"
#include "designer/commands_connect.h"
#include "designer/commands_graphics.h"
#include "designer/commands_module.h"
#include "designer/commands_system.h"
#include "designer/commands_view.h"
#include "designer/document.h"
#include "designer/load_data_wizard.h"
