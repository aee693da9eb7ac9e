#include "payroll/parameters_screen.h"
