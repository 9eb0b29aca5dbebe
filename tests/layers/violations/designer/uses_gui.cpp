// A layering violation the check must report.
#include "designer/gui/main_window.h"
