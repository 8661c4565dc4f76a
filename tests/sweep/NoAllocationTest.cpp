// The numeric path of a reading must not touch the heap: it runs in a loop
// for batch work and its speed goal leaves no room for allocation. This
// executable counts every global operator new while the flag is up.
#include "aspects/GrahaDrishti.h"
#include "calculation/Reading.h"
#include "positions/GrahaPositions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <ostream>
#include <string>

namespace {

std::atomic<bool> Counting {false};
std::atomic<long> Allocations {0};
// Keeps the counter's own test allocation from being optimised away.
std::string* volatile KeptText = nullptr;

void* CountedAllocation(std::size_t size)
{
    if (Counting.load(std::memory_order_relaxed)) {
        Allocations.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return CountedAllocation(size);
}

void* operator new[](std::size_t size)
{
    return CountedAllocation(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace {

using namespace halvaro;

// The worked births: 15 June 1975 10:30 Indian Time at 77°13' E, 1 January
// 2000 12:00 GMT at 0° W, 4 July 1990 9:00 Eastern Standard Time with daylight
// saving at 74° W.
struct WorkedBirth {
    const char* Name;
    int Day, Month, Year, Hour, Minute, Zone;
    bool East, DaylightSaving;
    const char* LonDeg;
    const char* LonMin;
};

void PrintTo(const WorkedBirth& birth, std::ostream* os)
{
    *os << birth.Name;
}

class NoAllocation : public testing::TestWithParam<WorkedBirth> {};

TEST_P(NoAllocation, ComputeReadingAllocatesNothing)
{
    const WorkedBirth& b = GetParam();
    BirthData entries;
    entries.Name = "Example";
    entries.LatDeg = "28";
    entries.LatMin = "39";
    entries.LonDeg = b.LonDeg;
    entries.LonMin = b.LonMin;
    entries.City = "City";
    entries.State = "State";
    entries.Country = "Country";
    entries.East = b.East;
    entries.West = !b.East;
    entries.DaylightSaving = b.DaylightSaving;
    entries.Day = b.Day;
    entries.Month = b.Month;
    entries.Year = b.Year;
    entries.Hour = b.Hour;
    entries.Minute = b.Minute;
    entries.ZonePosition = b.Zone;
    const BirthCheck checked = ValidateInput(entries);
    ASSERT_FALSE(checked.Failure.has_value());

    // Numbers and texts, on the stack.
    Allocations = 0;
    Counting = true;
    bool complete = true;
    for (int i = 0; i < 100; ++i) {
        const ReadingResult result = CalculateReading(checked.Value);
        complete = complete && !result.Failure && !result.Value.Results.lblAspects_Planets[0].empty();
    }
    Counting = false;
    EXPECT_EQ(Allocations.load(), 0) << "allocations in 100 readings";
    EXPECT_TRUE(complete);
}

// Guards the counter itself: a string too long for its inner buffer must be
// seen, or a zero above proves nothing.
TEST(NoAllocationCounter, SeesAnAllocation)
{
    Allocations = 0;
    Counting = true;
    KeptText = new std::string(100, 'x');
    Counting = false;
    delete KeptText;
    EXPECT_GE(Allocations.load(), 1);
}

INSTANTIATE_TEST_SUITE_P(WorkedBirths, NoAllocation,
    testing::Values(WorkedBirth {"Delhi1975", 15, 6, 1975, 10, 30, 34, true, false, "77", "13"},
        WorkedBirth {"Greenwich2000", 1, 1, 2000, 12, 0, 29, false, false, "0", "0"},
        WorkedBirth {"NewYork1990Dst", 4, 7, 1990, 9, 0, 27, false, true, "74", "0"}),
    [](const testing::TestParamInfo<WorkedBirth>& row) { return std::string(row.param.Name); });

} // namespace
