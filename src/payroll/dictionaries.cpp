#include "payroll/dictionaries.h"

namespace kestrel::payroll {}  // namespace kestrel::payroll
