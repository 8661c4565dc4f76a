#include "core/BirthRecord.h"

namespace halvaro {

BirthRecordType BirthRecord;

} // namespace halvaro
