#include "core/InputChecks.h"
