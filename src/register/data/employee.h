// The employee register's data layer, as the register dialogs use it: the
// record in memory with its scrambled identity, the field checks and
// lookups, the companion tables, the registration of a new record, the
// snapshot, undo, change log and field history of an update, striking off,
// and the formula functions over the field history.
#pragma once

#include "register/data/employee_checks.h"
#include "register/data/employee_companions.h"
#include "register/data/employee_history.h"
#include "register/data/employee_lookup.h"
#include "register/data/employee_record.h"
#include "register/data/employee_registration.h"
#include "register/data/employee_update.h"
