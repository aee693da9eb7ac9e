#include "payroll/review_screen.h"
