// The window layer's view of the command rows: the rows, their places and the
// command values live in the designer core.
#pragma once

#include "designer/command_rows.h"
