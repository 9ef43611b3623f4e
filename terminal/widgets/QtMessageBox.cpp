#include "QtMessageBox.h"
