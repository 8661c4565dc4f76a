#pragma once

#include <array>
#include <string_view>

namespace halvaro::atlas {

// A name clients still give a city or a country by: a former name (Bombay,
// Ceylon) or a common English one (Thiruvananthapuram for the atlas's
// Trivandrum), with the name the atlas holds and the country's code.
struct FormerName {
    std::string_view Former;
    std::string_view Current; // the atlas's name; a country's is not needed
    std::string_view CountryCode;
};

// Sources: the English Wikipedia's "Renaming of cities in India" (its list of
// renamed cities, and the Karnataka renamings of 2014) for the cities of
// India; for the others the cities' own articles (Rangoon, Peking, Saigon,
// Leningrad and Petrograd, Dacca, Stalingrad, Constantinople, Kiev). Names
// another city of the atlas bears (Canton and Batavia, towns of the United
// States) are left out, so that no one is silently placed in the wrong one.
inline constexpr std::array<FormerName, 34> FormerCityNames {{
    {"Bombay", "Mumbai", "IN"},
    {"Madras", "Chennai", "IN"},
    {"Calcutta", "Kolkata", "IN"},
    {"Bangalore", "Bengaluru", "IN"},
    {"Benares", "Varanasi", "IN"},
    {"Banaras", "Varanasi", "IN"},
    {"Pondicherry", "Puducherry", "IN"},
    {"Thiruvananthapuram", "Trivandrum", "IN"},
    {"Poona", "Pune", "IN"},
    {"Baroda", "Vadodara", "IN"},
    {"Cawnpore", "Kanpur", "IN"},
    {"Simla", "Shimla", "IN"},
    {"Cochin", "Kochi", "IN"},
    {"Calicut", "Kozhikode", "IN"},
    {"Allahabad", "Prayagraj", "IN"},
    {"Jubbulpore", "Jabalpur", "IN"},
    {"Gauhati", "Guwahati", "IN"},
    {"Tanjore", "Thanjavur", "IN"},
    {"Ootacamund", "Ooty", "IN"},
    {"Udhagamandalam", "Ooty", "IN"},
    {"Mysuru", "Mysore", "IN"},
    {"Mangaluru", "Mangalore", "IN"},
    {"Belagavi", "Belgaum", "IN"},
    {"Gurugram", "Gurgaon", "IN"},
    {"Rangoon", "Yangon", "MM"},
    {"Peking", "Beijing", "CN"},
    {"Peiping", "Beijing", "CN"},
    {"Saigon", "Ho Chi Minh City", "VN"},
    {"Leningrad", "Saint Petersburg", "RU"},
    {"Petrograd", "Saint Petersburg", "RU"},
    {"Dacca", "Dhaka", "BD"},
    {"Stalingrad", "Volgograd", "RU"},
    {"Constantinople", "Istanbul", "TR"},
    {"Kiev", "Kyiv", "UA"},
}};

// Former names of countries, as a place's country may be written ("Colombo,
// Ceylon"), folded as the atlas compares names. Sources: the countries'
// articles in the English Wikipedia.
inline constexpr std::array<FormerName, 6> FormerCountryNames {{
    {"ceylon", "", "LK"},
    {"burma", "", "MM"},
    {"siam", "", "TH"},
    {"persia", "", "IR"},
    {"east pakistan", "", "BD"},
    {"formosa", "", "TW"},
}};

} // namespace halvaro::atlas
