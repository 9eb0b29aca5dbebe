// A layering violation the check must report.
#include "runtime/rt_model.h"
