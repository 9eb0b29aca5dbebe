// A layering violation the check must report.
#include <QString>
