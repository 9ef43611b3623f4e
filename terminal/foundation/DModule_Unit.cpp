#include "DModule_Unit.h"
