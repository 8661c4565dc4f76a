#include "positions/SignPosition.h"
