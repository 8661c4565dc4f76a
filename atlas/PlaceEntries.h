#pragma once

#include "atlas/Atlas.h"
#include "core/BirthData.h"

namespace halvaro::atlas {

// Puts a place into the birth's place boxes as a reading file can hold them:
// the names in plain Latin letters (Tromsø → Tromso; the country, or its
// code, where nothing of a name is left), the coordinates in whole degrees
// and minutes, rounded to the minute, with their directions.
void PutPlace(const Place& place, BirthData& entries);

} // namespace halvaro::atlas
