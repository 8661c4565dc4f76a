/* Makes sidereal-reference.tsv: the Swiss Ephemeris's own sidereal positions
 * for each ayanamsa it names and a user value at an epoch, both nodes, and an
 * ascendant at New Delhi. Run once outside the project with the system's
 * library; the project never builds it:
 *
 *   gcc -O2 sidereal-reference.c -lswe -lm -o sidereal-reference
 *   ./sidereal-reference > sidereal-reference.tsv
 */
#include <stdio.h>
#include <swephexp.h>

/* Local civil times and their offsets (seconds east of Greenwich); the
 * library turns each into Universal Time. */
static const struct { int y, m, d, h, min, offset; } moments[] = {
    {1603, 3, 24, 13, 47, 0},
    {1712, 8, 9, 21, 5, -300 * 60},
    {1869, 10, 2, 7, 11, 4 * 3600 + 38 * 60 + 24}, /* local mean time at 69 36 E */
    {1975, 6, 15, 10, 30, 330 * 60},
    {2024, 3, 21, 5, 30, 330 * 60}, /* 0h UT of the user value's epoch */
    {2137, 11, 30, 16, 20, 60 * 60},
    {2399, 12, 31, 23, 59, 0},
};

static const struct { const char *name; int mode; } ayanamsas[] = {
    {"lahiri", SE_SIDM_LAHIRI}, {"raman", SE_SIDM_RAMAN}, {"kp", SE_SIDM_KRISHNAMURTI},
    {"yukteshwar", SE_SIDM_YUKTESHWAR}, {"jn-bhasin", SE_SIDM_JN_BHASIN},
    {"true-chitra", SE_SIDM_TRUE_CITRA}, {"true-pushya", SE_SIDM_TRUE_PUSHYA},
    {"true-revati", SE_SIDM_TRUE_REVATI}, {"surya-siddhanta", SE_SIDM_SURYASIDDHANTA},
    {"fagan-bradley", SE_SIDM_FAGAN_BRADLEY}, {"user", SE_SIDM_USER | SE_SIDBIT_USER_UT},
};
static const double userDegrees = 24.1;
static const int userYear = 2024, userMonth = 3, userDay = 21;

static const double delhiLat = 28 + 39 / 60.0, delhiLon = 77 + 13 / 60.0;

int main(void)
{
    const int bodies[] = {SE_SUN, SE_MOON, SE_MERCURY, SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN, SE_MEAN_NODE, SE_TRUE_NODE};
    const int flags = SEFLG_MOSEPH | SEFLG_SIDEREAL;
    const double userEpoch = swe_julday(userYear, userMonth, userDay, 0, SE_GREG_CAL);
    char version[AS_MAXCH], err[AS_MAXCH];
    int failures = 0;
    swe_version(version);
    printf("# Sidereal longitudes (degrees) from the Swiss Ephemeris %s (Debian libswe), its Moshier\n"
           "# ephemeris, made once by sidereal-reference.c beside this file (how to remake it is at its\n"
           "# top): swe_set_sid_mode, swe_get_ayanamsa_ex_ut, swe_calc_ut with SEFLG_MOSEPH|SEFLG_SIDEREAL,\n"
           "# swe_houses_ex. Not written by Halvaro.\n"
           "# The user row is %.1f degrees at 0h UT of %04d-%02d-%02d (SE_SIDM_USER|SE_SIDBIT_USER_UT).\n"
           "# Local date and time with the offset (seconds east) are turned into UT by swe_utc_time_zone.\n"
           "# Ayanamsa: swe_get_ayanamsa_ex_ut (true, with nutation), positive. Ascendant: New Delhi,\n"
           "# 28 39 N 77 13 E.\n",
        version, userDegrees, userYear, userMonth, userDay);
    printf("ayanamsa\tlocal\toffset_s\tjd_ut\tayanamsa_deg\tsun\tmoon\tmercury\tvenus\tmars\tjupiter\tsaturn"
           "\trahu_mean\trahu_true\tascendant\n");
    for (size_t a = 0; a < sizeof ayanamsas / sizeof *ayanamsas; ++a) {
        for (size_t i = 0; i < sizeof moments / sizeof *moments; ++i) {
            int uy, um, ud, uh, umin;
            double us, aya, cusps[13], ascmc[10];
            swe_utc_time_zone(moments[i].y, moments[i].m, moments[i].d, moments[i].h, moments[i].min, 0,
                moments[i].offset / 3600.0, &uy, &um, &ud, &uh, &umin, &us);
            const double jd = swe_julday(uy, um, ud, uh + umin / 60.0 + us / 3600.0, SE_GREG_CAL);
            swe_set_sid_mode(ayanamsas[a].mode, userEpoch, userDegrees);
            if (swe_get_ayanamsa_ex_ut(jd, SEFLG_MOSEPH, &aya, err) < 0) {
                fprintf(stderr, "ayanamsa: %s\n", err);
                ++failures;
            }
            printf("%s\t%04d-%02d-%02dT%02d:%02d\t%d\t%.17g\t%.12f", ayanamsas[a].name, moments[i].y, moments[i].m,
                moments[i].d, moments[i].h, moments[i].min, moments[i].offset, jd, aya);
            for (size_t b = 0; b < sizeof bodies / sizeof *bodies; ++b) {
                double x[6];
                if (swe_calc_ut(jd, bodies[b], flags, x, err) < 0) {
                    fprintf(stderr, "body %d: %s\n", bodies[b], err);
                    ++failures;
                }
                printf("\t%.12f", x[0]);
            }
            if (swe_houses_ex(jd, flags, delhiLat, delhiLon, 'E', cusps, ascmc) < 0) {
                fprintf(stderr, "houses failed\n");
                ++failures;
            }
            printf("\t%.12f\n", ascmc[SE_ASC]);
        }
    }
    /* The user value holds at its epoch: the mean ayanamsa there is the value given. */
    swe_set_sid_mode(SE_SIDM_USER | SE_SIDBIT_USER_UT, userEpoch, userDegrees);
    fprintf(stderr, "user ayanamsa at its epoch: %.15f\n", swe_get_ayanamsa_ut(userEpoch));
    return failures != 0;
}
