#include "readings/Scramble.h"
