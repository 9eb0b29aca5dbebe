// The CSV file object of the designer's importers and data components: the one
// dialect, kept with the shared kernels so that the runtime reads it the same way.
#pragma once

#include "algo/csv_file.h"
