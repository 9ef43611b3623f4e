#include "WebAPI.h"
