// A layering violation the check must report.
#include "engine/system.h"
