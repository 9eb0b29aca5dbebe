// Allowed: a runtime half includes runtime and kernel headers.
#include "components/math/x_kernel.h"
#include "runtime/rt_model.h"
