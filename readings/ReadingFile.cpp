#include "readings/ReadingFile.h"
