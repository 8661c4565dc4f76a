#include "positions/GrahaPositions.h"
