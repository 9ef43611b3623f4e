#include "Principal_Unit.h"
