// A layering violation the check must report.
#include "components/math/x_rt.h"
#include "designer/document.h"
