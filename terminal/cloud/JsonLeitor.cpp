#include "JsonLeitor.h"
