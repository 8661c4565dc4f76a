#include "core/Calculation.h"
