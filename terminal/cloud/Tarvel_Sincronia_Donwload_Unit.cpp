#include "Tarvel_Sincronia_Donwload_Unit.h"
