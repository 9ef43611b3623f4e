#include "QueloUtil_Unit.h"
