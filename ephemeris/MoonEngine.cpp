#include "ephemeris/MoonEngine.h"
