#include "aspects/GrahaDrishti.h"
