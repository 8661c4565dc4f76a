/* Makes house-cusps.tsv: the Swiss Ephemeris's own Placidus ('P') and
 * Sripati ('S') cusps, sidereal (Lahiri, its Moshier ephemeris), with the
 * ascendant and midheaven, for a few moments and places, polar ones among
 * them, where Placidus fails ("none"). Run once outside the project with the
 * system's library (Debian libswe 2.10.03); the project never builds it:
 *
 *   gcc -O2 house-cusps.c -lswe -lm -o house-cusps
 *   ./house-cusps > house-cusps.tsv
 */
#include <stdio.h>
#include <swephexp.h>

static const struct { int y, m, d; double ut, lat, lon; } births[] = {
    {1975, 6, 15, 5.0, 28 + 39 / 60.0, 77 + 13 / 60.0},      /* New Delhi, 10:30 IST */
    {1990, 1, 3, 22.75, -33 - 52 / 60.0, 151 + 12 / 60.0},   /* Sydney */
    {2001, 9, 21, 12.5, 59 + 55 / 60.0, 10 + 45 / 60.0},     /* Oslo */
    {1948, 12, 30, 3.25, 40 + 43 / 60.0, -74},               /* New York */
    {2020, 7, 1, 9.0, 69 + 39 / 60.0, 18 + 57 / 60.0},       /* Tromso, inside the polar circle */
    {1962, 3, 10, 17.0, -77 - 51 / 60.0, 166 + 40 / 60.0},   /* McMurdo */
};

int main(void)
{
    const int flags = SEFLG_MOSEPH | SEFLG_SIDEREAL;
    printf("# julian day UT\tlatitude\tlongitude\tsystem\tascendant\tmidheaven\tcusps 1..12 (or none)\n");
    for (unsigned i = 0; i < sizeof births / sizeof births[0]; ++i) {
        const double jd = swe_julday(births[i].y, births[i].m, births[i].d, births[i].ut, SE_GREG_CAL);
        for (const char *system = "PS"; *system; ++system) {
            double cusps[13], angles[10];
            swe_set_sid_mode(SE_SIDM_LAHIRI, 0, 0);
            const int status = swe_houses_ex(jd, flags, births[i].lat, births[i].lon, *system, cusps, angles);
            printf("%.9f\t%.9f\t%.9f\t%c\t%.9f\t%.9f", jd, births[i].lat, births[i].lon, *system, angles[0], angles[1]);
            if (status < 0) {
                printf("\tnone");
            } else {
                for (int house = 1; house <= 12; ++house) {
                    printf("\t%.9f", cusps[house]);
                }
            }
            printf("\n");
        }
    }
    return 0;
}
