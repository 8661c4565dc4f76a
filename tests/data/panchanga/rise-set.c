/* Rise and set times straight from the Swiss Ephemeris (libswe, Moshier
 * ephemeris), for the rise-set.tsv table the panchanga tests read.
 * Build and run:  cc rise-set.c -lswe -lm -o rise-set && ./rise-set > rise-set.tsv
 * Each row: place, latitude, longitude (degrees, north and east positive),
 * the UT Julian day the search starts from (0h local civil time of the
 * date, the offset given), the body, the event and the convention, and the
 * Julian day (UT) the library finds, or "none" when it says the body stays
 * above or below the horizon (return value -2). */
#include <stdio.h>
#include <swephexp.h>

struct place { const char *name; double lat, lon; int y, m, d; double offsetHours; };

int main(void)
{
    const struct place places[] = {
        {"Bangalore", 12.9716, 77.5946, 2013, 1, 18, 5.5},
        {"Bangalore", 12.9716, 77.5946, 2010, 4, 24, 5.5},
        {"New Delhi", 28.65, 77.216667, 1975, 6, 15, 5.5},
        {"London", 51.507222, -0.1275, 2024, 3, 31, 0.0},
        {"Sydney", -33.868611, 151.209444, 2024, 12, 25, 11.0},
        {"Tromso", 69.6489, 18.9551, 2024, 6, 21, 2.0},
        {"Tromso", 69.6489, 18.9551, 2024, 12, 21, 1.0},
    };
    const struct { const char *name; int bits; } conventions[] = {
        {"hindu", SE_BIT_HINDU_RISING},
        {"disc-centre", SE_BIT_DISC_CENTER},
        {"upper-limb", 0},
    };
    const struct { const char *name; int body; } bodies[] = {{"Sun", SE_SUN}, {"Moon", SE_MOON}};
    const struct { const char *name; int event; } events[] = {{"rise", SE_CALC_RISE}, {"set", SE_CALC_SET}};
    printf("place\tlat\tlon\tstart_jd_ut\tbody\tevent\tconvention\tjd_ut\n");
    for (size_t p = 0; p < sizeof places / sizeof places[0]; ++p) {
        const struct place *pl = &places[p];
        const double start = swe_julday(pl->y, pl->m, pl->d, 0.0, SE_GREG_CAL) - pl->offsetHours / 24.0;
        double geopos[3] = {pl->lon, pl->lat, 0};
        for (size_t b = 0; b < 2; ++b)
            for (size_t e = 0; e < 2; ++e)
                for (size_t c = 0; c < 3; ++c) {
                    double t = 0;
                    char err[AS_MAXCH] = "";
                    const int rc = swe_rise_trans(start, bodies[b].body, NULL, SEFLG_MOSEPH,
                        events[e].event | conventions[c].bits, geopos, 0, 0, &t, err);
                    printf("%s\t%.6f\t%.6f\t%.8f\t%s\t%s\t%s\t", pl->name, pl->lat, pl->lon, start, bodies[b].name,
                        events[e].name, conventions[c].name);
                    if (rc == -2) printf("none\n");
                    else if (rc < 0) printf("error %s\n", err);
                    else printf("%.8f\n", t);
                }
    }
    return 0;
}
