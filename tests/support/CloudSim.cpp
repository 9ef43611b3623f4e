#include "CloudSim.h"
