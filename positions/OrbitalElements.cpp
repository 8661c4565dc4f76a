#include "positions/OrbitalElements.h"
