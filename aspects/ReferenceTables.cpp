#include "aspects/ReferenceTables.h"
