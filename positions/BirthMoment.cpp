#include "positions/BirthMoment.h"
