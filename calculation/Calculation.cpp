#include "calculation/Calculation.h"

#include "aspects/GrahaDrishti.h"
#include "aspects/ReferenceTables.h"
#include "core/BirthRecord.h"
#include "ephemeris/MoonEngine.h"
#include "positions/BirthMoment.h"
#include "positions/GrahaPositions.h"

namespace halvaro {

void WriteBirthRecord(const BirthData& birth)
{
    BirthRecord = BirthRecordOf(birth, BirthRecord);
}

void ComputeReading()
{
    modVedicPlanetPosition::ComputeAyanamsa();
    modVedicEphemeris::ComputeEphemeris();
    modVedicPlanetPosition::ComputeGrahaPositions();
    modVedicGrahaDrishti::ComputeGrahaDrishti();
}

std::optional<InputCheckFailure> RunCalculationDriver(const BirthData& birth)
{
    if (auto failure = ValidateInput(birth)) {
        return failure;
    }
    modVedicPlanetPosition::FillReferenceTables();
    WriteBirthRecord(birth);
    ComputeReading();
    return std::nullopt;
}

} // namespace halvaro
